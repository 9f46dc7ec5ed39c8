// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/StartupArchive.h"

#include <algorithm>
#include <cctype>

namespace brasvel::app {

const ArchiveFormat* mixedCaseFormat(const std::string& path) {
    const ArchiveFormat* format = formatFromPath(path);
    if (format == nullptr) {
        return nullptr;
    }
    const std::string last = path.substr(path.size() - 3);
    const auto isLower = [](unsigned char c) { return std::islower(c) != 0; };
    const auto isUpper = [](unsigned char c) { return std::isupper(c) != 0; };
    const bool oneCase = std::all_of(last.begin(), last.end(), isLower) ||
                         std::all_of(last.begin(), last.end(), isUpper);
    return oneCase ? nullptr : format;
}

int filterIndexOf(const ArchiveFormat& format) {
    const auto formats = archiveFormats();
    const auto found = std::find(formats.begin(), formats.end(), &format);
    return static_cast<int>(found - formats.begin()) + 1;
}

}  // namespace brasvel::app
