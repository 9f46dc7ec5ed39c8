// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A picture or sprite entry of the archive named on the command line, read into memory; shared
// by the commands that convert and export entries.


#include <optional>
#include <string>
#include <vector>

#include "base/Text.h"
#include "archive/Entry.h"
#include "cli/Arguments.h"

namespace brasvel::cli {

struct PictureEntry {
    Entry entry;
    std::vector<std::byte> content;
    std::uint64_t archiveDevice = 0;  // the archive file, never to be written over
    std::uint64_t archiveInode = 0;

    bool isPcx() const { return isPicture(entry); }
    bool isDef() const { return isSprite(entry); }
    // The name the sprite rules look at: Name + ".def", as the preview passes it.
    std::string defFileName() const { return std::string(untilNul(entry.name)) + ".def"; }
};

// The entry named by the second positional argument of the archive named by the first.
// nullopt after reporting an entry that is not in the archive. Throws ResourceError (with the
// entry set when the entry, not the archive, is at fault) and UsageError.
std::optional<PictureEntry> loadEntry(const Arguments& arguments, const std::string& command);

}  // namespace brasvel::cli
