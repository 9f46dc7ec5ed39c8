// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/Entry.h"

#include <algorithm>
#include <cctype>

#include "base/Text.h"

namespace brasvel {

std::ostream& operator<<(std::ostream& out, const Entry& entry) {
    return out << "{\"" << shownText(entry.caption) << "\" offset " << entry.offset << " size "
               << entry.size << " packedSize " << entry.packedSize << " type " << entry.type
               << "}";
}

bool extIs(std::string_view ext, std::string_view lower) {
    if (ext == lower) {
        return true;
    }
    if (ext.size() != lower.size()) {
        return false;
    }
    return std::equal(ext.begin(), ext.end(), lower.begin(), [](char e, char l) {
        return e == static_cast<char>(std::toupper(static_cast<unsigned char>(l)));
    });
}

}  // namespace brasvel
