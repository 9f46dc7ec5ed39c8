// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/Entry.h"

#include <algorithm>

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
        return e == asciiUpper(l);
    });
}

bool isPicture(const Entry& entry) { return extIs(entry.ext, "pcx"); }
bool isSprite(const Entry& entry) { return extIs(entry.ext, "def"); }
bool isVideo(const Entry& entry) { return extIs(entry.ext, "smk") || extIs(entry.ext, "bik"); }

bool namesVideo(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view extension = name.substr(dot + 1);
    return extIs(extension, "smk") || extIs(extension, "bik");
}

}  // namespace brasvel
