#include "base/Text.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace brasvel {
namespace {

using DecodeTable = std::array<std::string, 256>;

// One byte at a time through iconv, once per process: single-byte decoding is then a table look-up.
DecodeTable buildTable() {
    DecodeTable table;
    iconv_t converter = iconv_open("UTF-8", "WINDOWS-1250");
    for (int byte = 0; byte < 256; ++byte) {
        std::string& text = table[static_cast<std::size_t>(byte)];
        if (byte < 0x80 || converter == reinterpret_cast<iconv_t>(-1)) {
            text.assign(1, static_cast<char>(byte < 0x80 ? byte : '?'));
            continue;
        }
        char in = static_cast<char>(byte);
        char out[8];
        char* inPointer = &in;
        char* outPointer = out;
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<std::size_t>(-1)) {
            text = "\xEF\xBF\xBD";  // U+FFFD: a byte the code page leaves undefined
        } else {
            text.assign(out, static_cast<std::size_t>(outPointer - out));
        }
    }
    if (converter != reinterpret_cast<iconv_t>(-1)) {
        iconv_close(converter);
    }
    return table;
}

const DecodeTable& decodeTable() {
    static const DecodeTable table = buildTable();
    return table;
}

}  // namespace

std::string_view untilNul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string decodeWindows1250(std::string_view bytes) {
    const DecodeTable& table = decodeTable();
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        text += table[static_cast<unsigned char>(c)];
    }
    return text;
}

}  // namespace brasvel

namespace brasvel {

std::string escapedControls(std::string_view text) {
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace brasvel
