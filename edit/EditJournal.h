// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The journal of an archive's pending edits, so that they outlive a crash: which archive (its
// path, kind and how it looked: size, time and a hash of its directory), and the entries the edit
// leads to, each either an entry of the archive as opened (by its index, under the name it now
// has) or content of its own, held in the journal. A journal on disk may be cut short or damaged
// by the very crash it is for: reading one checks every length against what is left and a
// checksum over the whole, and refuses it as a damaged file.
//
//   "BRASVEL-JOURNAL\n", version u32 (1)           every number little-endian
//   path: u32 length, bytes (UTF-8)                kind: u32 length, bytes ("lod")
//   writer's process u64, archive size u64, time u64 (its two's complement), directory hash u64
//   rows u32, each: tag u8 (0 kept, 1 content), name u16 length, bytes (UTF-8);
//                   kept: index u32; content: u64 length, bytes
//   checksum u64 (FNV-1a of everything before it), and nothing after it

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "base/ByteReader.h"
#include "edit/ArchiveEdit.h"

namespace brasvel {

// How the archive on disk looked when the edits were made.
struct ArchiveLook {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t directoryHash = 0;
    friend bool operator==(const ArchiveLook&, const ArchiveLook&) = default;
};

struct JournalRow {
    std::string name;
    std::optional<std::uint32_t> original;  // kept: its index in the archive as opened
    std::vector<std::byte> content;          // otherwise
    friend bool operator==(const JournalRow&, const JournalRow&) = default;
};

struct EditJournal {
    std::string archivePath;
    std::string kind;
    std::uint64_t process = 0;
    ArchiveLook look;
    std::vector<JournalRow> rows;
    friend bool operator==(const EditJournal&, const EditJournal&) = default;
};

// The archive at `path`, open as `archive`: its size and time on disk and its directory's hash.
ArchiveLook lookOf(const std::string& path, const Archive& archive);

// The rows of `edit` (contents read now: a file put in is held as it is now). Throws
// ResourceError when a content cannot be read.
std::vector<JournalRow> journalRows(const ArchiveEdit& edit);

std::vector<std::byte> writeJournal(const EditJournal& journal);
// Throws ResourceError (DamagedFile) saying what is wrong.
EditJournal readJournal(Bytes file);

// Makes `edit`, fresh from the archive the journal was made for, hold the journal's rows.
// Throws ResourceError when a row names no entry of the archive or a refused name.
void applyJournal(const std::vector<JournalRow>& rows, ArchiveEdit& edit);

// Writes `content` to `path` through a new file that is synced before it takes the name.
// Throws ResourceError.
void writeSyncedFile(const std::string& path, Bytes content);

}  // namespace brasvel
