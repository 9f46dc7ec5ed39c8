// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "extract/SafeName.h"

#include "base/ResourceError.h"
#include "base/Text.h"

namespace brasvel {
namespace {

[[noreturn]] void refuse(std::string why) {
    throw ResourceError(ErrorKind::UnsafeEntryName, std::move(why));
}

std::string shownByte(unsigned char byte) {
    static const char* const hex = "0123456789ABCDEF";
    return std::string("0x") + hex[byte >> 4] + hex[byte & 0xF];
}

// The lower case of the capital letters that Windows-1250 decodes to; others stay.
char32_t lowerCase(char32_t point) {
    if ((point >= U'A' && point <= U'Z') || (point >= 0xC0 && point <= 0xDE && point != 0xD7)) {
        return point + 0x20;
    }
    const bool oddCapitals = (point >= 0x139 && point <= 0x148) || (point >= 0x179 && point <= 0x17E);
    const bool evenCapitals = (point >= 0x100 && point <= 0x137) || (point >= 0x14A && point <= 0x177);
    if ((oddCapitals && point % 2 == 1) || (evenCapitals && point % 2 == 0)) {
        return point + 1;
    }
    return point;
}

void appendUtf8(std::string& text, char32_t point) {
    if (point < 0x80) {
        text += static_cast<char>(point);
    } else if (point < 0x800) {
        text += static_cast<char>(0xC0 | (point >> 6));
        text += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        text += static_cast<char>(0xE0 | (point >> 12));
        text += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (point >> 18));
        text += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9, in any case: Windows opens the device for such a
// name, whatever follows its first dot.
bool isWindowsDeviceName(std::string_view name) {
    std::string stem(name.substr(0, name.find('.')));
    for (char& c : stem) {
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") {
        return true;
    }
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::string caseFolded(std::string_view fileName) {
    std::string folded;
    folded.reserve(fileName.size());
    for (std::size_t i = 0; i < fileName.size();) {
        const auto lead = static_cast<unsigned char>(fileName[i]);
        const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (i + length > fileName.size() || length == 1) {
            folded += static_cast<char>(lead < 0x80 ? lowerCase(lead) : lead);
            ++i;
            continue;
        }
        char32_t point = lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            point = (point << 6) | (static_cast<unsigned char>(fileName[i + k]) & 0x3F);
        }
        appendUtf8(folded, lowerCase(point));
        i += length;
    }
    return folded;
}

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
        if (c == '/' || c == '\\' || c == ':' || c == '<' || c == '>' || c == '"' || c == '|' ||
            c == '?' || c == '*') {
            refuse(decodeWindows1250(name) + " contains '" + c + "'");
        }
        if (byte < 0x20 || byte == 0x7F) {
            refuse("the name contains the control byte " + shownByte(byte));
        }
    }
    std::string fileName = decodeWindows1250(name);
    if (isWindowsDeviceName(name)) {
        refuse(fileName + " is a device's name on Windows");
    }
    if (name.back() == '.' || name.back() == ' ') {
        refuse("\"" + fileName + "\" ends in " + (name.back() == '.' ? "a dot" : "a blank") +
               ", which Windows drops");
    }
    if (fileName.size() > kLongestFileName) {
        refuse("the name is " + std::to_string(fileName.size()) + " bytes long; at most " +
               std::to_string(kLongestFileName));
    }
    return fileName;
}

}  // namespace brasvel
