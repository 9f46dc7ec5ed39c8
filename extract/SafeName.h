// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The one place that decides what name an entry is written under, and whether that name is safe
// to use as a file name inside the target folder. Entry names come from the archive and are not
// trusted: a name that could reach outside the folder, or that no file can carry, is refused.
//
// Refused, after the name is cut at its first NUL byte: an empty name, "." and "..", any '/',
// '\\' or ':', any control byte (below 0x20, or 0x7F), and a name longer than 255 bytes once
// decoded to UTF-8. Refused too, on every system, the names Windows cannot hold: its device names
// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, in any case, alone or before a dot: "nul.txt"), a
// name ending in a dot or a blank, and the characters < > " | ? *. A folder extracted on Linux is
// then one that copies whole to Windows, and both builds write the same files; such names are no
// names of the game's own archives.

#include <string>
#include <string_view>

#include "archive/ArchiveFormat.h"
#include "archive/Entry.h"
#include "base/ResourceError.h"

namespace brasvel {

inline constexpr const char* kUnsafeEntryName = errorKindText(ErrorKind::UnsafeEntryName);
inline constexpr std::size_t kLongestFileName = 255;


// `nameBytes` (Windows-1250) as a UTF-8 file name, checked as above. Throws ResourceError with
// the text "Unsafe entry name" and a detail saying why.
std::string safeFileName(std::string_view nameBytes);

// A UTF-8 file name with its letters in lower case (ASCII and the letters of Windows-1250): two
// names equal after it are one file on a file system that ignores case.
std::string caseFolded(std::string_view fileName);

// Both: the UTF-8 file name the entry is written under.
// (The name in archive bytes comes from the archive's format: ArchiveFormat::outputName.)
inline std::string outputFileName(const Entry& entry, const ArchiveFormat& format,
                                  bool convertPictures) {
    return safeFileName(format.outputName(entry, convertPictures));
}

}  // namespace brasvel
