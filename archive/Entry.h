// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// One entry of an archive's directory. It keeps every field of its directory row as stored, so
// that an archive can be written back without losing a byte, and the names derived from the row
// by the archive's format: what the list shows and what the entry is called as a file.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace brasvel {

struct Entry {
    // The directory row as stored.
    std::string nameField;        // the whole name field, NUL bytes and what follows them included
    std::int32_t offset = 0;      // where the stored bytes start
    std::int32_t size = 0;        // the content's length; for videos derived from the offsets
    std::int32_t packedSize = 0;  // LOD: the zlib stream's length, 0 when stored plain
    std::int32_t type = 0;        // LOD: the word at +24 of the row, kept as read

    // Derived from the name field (archive bytes, Windows-1250).
    std::string name;      // before the extension's dot, as the listing keeps it
    std::string ext;       // the extension: at most three bytes
    std::string caption;   // what the list shows, up to its first NUL byte
    std::string fileName;  // what the entry is called as a file, up to its first NUL byte

    friend bool operator==(const Entry&, const Entry&) = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& entry);

// `ext` is exactly the lower-case or the upper-case form of `lower` (a lower-case literal).
bool extIs(std::string_view ext, std::string_view lower);

// What an entry holds, by its extension (extIs): a game picture (PCX), a sprite (DEF), a video
// (SMK, BIK).
bool isPicture(const Entry& entry);
bool isSprite(const Entry& entry);
bool isVideo(const Entry& entry);

// Whether a name as the user gives it ends in .smk or .bik, all in lower or all in upper case: a
// video's, where the name is all there is.
bool namesVideo(std::string_view name);

}  // namespace brasvel
