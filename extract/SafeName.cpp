#include "extract/SafeName.h"

#include "base/ResourceError.h"
#include "base/Text.h"

namespace brasvel {
namespace {

[[noreturn]] void refuse(std::string why) {
    throw ResourceError(kUnsafeEntryName, std::move(why));
}

std::string shownByte(unsigned char byte) {
    static const char* const hex = "0123456789ABCDEF";
    return std::string("0x") + hex[byte >> 4] + hex[byte & 0xF];
}

}  // namespace

std::string safeFileName(std::string_view nameBytes) {
    const std::string_view name = untilNul(nameBytes);
    if (name.empty()) {
        refuse("the name is empty");
    }
    if (name == "." || name == "..") {
        refuse("\"" + std::string(name) + "\" names a folder");
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == ':') {
            refuse(decodeWindows1250(name) + " contains '" + c + "'");
        }
        if (byte < 0x20 || byte == 0x7F) {
            refuse("the name contains the control byte " + shownByte(byte));
        }
    }
    std::string fileName = decodeWindows1250(name);
    if (fileName.size() > kLongestFileName) {
        refuse("the name is " + std::to_string(fileName.size()) + " bytes long; at most " +
               std::to_string(kLongestFileName));
    }
    return fileName;
}

}  // namespace brasvel
