// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <string>
#include <string_view>

namespace brasvel::cli {

// `text` (UTF-8) as a JSON string literal, quotes included.
inline std::string jsonString(std::string_view text) {
    static const char* const hex = "0123456789abcdef";
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

}  // namespace brasvel::cli
