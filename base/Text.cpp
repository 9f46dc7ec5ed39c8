// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "base/Text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <map>

#include "base/Platform.h"

namespace brasvel {
namespace {

using DecodeTable = std::array<std::string, 256>;

// One byte at a time through the system's converter, once per process: single-byte decoding is
// then a table look-up.
DecodeTable buildTable() {
    DecodeTable table;
    for (int byte = 0; byte < 256; ++byte) {
        std::string& text = table[static_cast<std::size_t>(byte)];
        if (byte < 0x80) {
            text.assign(1, static_cast<char>(byte));
            continue;
        }
        text = platform::windows1250Character(static_cast<unsigned char>(byte));
        if (text.empty()) {
            text = "\xEF\xBF\xBD";  // U+FFFD: a byte the code page leaves undefined
        }
    }
    return table;
}

const DecodeTable& decodeTable() {
    static const DecodeTable table = buildTable();
    return table;
}

// Each character the code page writes, as UTF-8, with its byte.
std::map<std::string, char, std::less<>> buildEncodeTable() {
    std::map<std::string, char, std::less<>> table;
    const DecodeTable& decoded = decodeTable();
    for (int byte = 0; byte < 256; ++byte) {
        const std::string& text = decoded[static_cast<std::size_t>(byte)];
        if (text != "\xEF\xBF\xBD") {
            table.emplace(text, static_cast<char>(byte));
        }
    }
    return table;
}

// The length of the UTF-8 sequence that starts with `lead`; 0 for a byte that starts none.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Upper-case letters of the code page beyond ASCII and their lower-case partners.
constexpr std::array<std::pair<unsigned char, unsigned char>, 10> kAccentedPairs{{
    {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},
    {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE},
}};

std::array<char, 256> buildFoldTable() {
    std::array<char, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        int folded = byte;
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
            folded = byte + 0x20;
        }
        table[static_cast<std::size_t>(byte)] = static_cast<char>(folded);
    }
    for (const auto& [upper, lower] : kAccentedPairs) {
        table[upper] = static_cast<char>(lower);
    }
    return table;
}

}  // namespace

std::optional<std::string> encodeWindows1250(std::string_view utf8) {
    static const auto table = buildEncodeTable();
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t length = sequenceLength(static_cast<unsigned char>(utf8[at]));
        if (length == 0 || at + length > utf8.size()) {
            return std::nullopt;
        }
        const auto found = table.find(utf8.substr(at, length));
        if (found == table.end()) {
            return std::nullopt;
        }
        bytes += found->second;
        at += length;
    }
    return bytes;
}

char foldCase1250(char byte) {
    static const std::array<char, 256> table = buildFoldTable();
    return table[static_cast<unsigned char>(byte)];
}

namespace {

// -1, 0 or 1 as `a` sorts before, with or after `b`, byte by byte through `fold`.
int compareFolded(std::string_view a, std::string_view b, char (*fold)(char)) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t k = 0; k < common; ++k) {
        const auto x = static_cast<unsigned char>(fold(a[k]));
        const auto y = static_cast<unsigned char>(fold(b[k]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string mapped(std::string_view text, char (*map)(char)) {
    std::string result(text);
    for (char& c : result) {
        c = map(c);
    }
    return result;
}

}  // namespace

std::string foldedText(std::string_view bytes) { return mapped(bytes, foldCase1250); }

int compareIgnoringCase(std::string_view a, std::string_view b) {
    return compareFolded(a, b, foldCase1250);
}

bool holdsIgnoringCase(std::string_view bytes, std::string_view text) {
    const auto holds = [](std::string_view within, std::string_view wanted, char (*fold)(char)) {
        return std::search(within.begin(), within.end(), wanted.begin(), wanted.end(),
                           [fold](char a, char b) { return fold(a) == fold(b); }) != within.end();
    };
    const std::string_view name = untilNul(bytes);
    if (const std::optional<std::string> encoded = encodeWindows1250(text)) {
        return holds(name, *encoded, foldCase1250);
    }
    return holds(decodeWindows1250(name), text, asciiLower);
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
std::string asciiLowerText(std::string_view text) { return mapped(text, asciiLower); }
std::string asciiUpperText(std::string_view text) { return mapped(text, asciiUpper); }

int compareIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return compareFolded(a, b, asciiLower);
}

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
