// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/StartupArchive.h"

#include <algorithm>

namespace brasvel::app {

const ArchiveFormat* mixedCaseFormat(const std::string& path) {
    return formatFromPath(path, LetterCase::Single) != nullptr ? nullptr : formatFromPath(path);
}

int filterIndexOf(const ArchiveFormat& format) {
    const auto formats = archiveFormats();
    const auto found = std::find(formats.begin(), formats.end(), &format);
    return static_cast<int>(found - formats.begin()) + 1;
}

}  // namespace brasvel::app
