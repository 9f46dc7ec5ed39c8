// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// One descriptor per kind of archive: what it is called, how its directory is laid out, how an
// entry's names derive from its row, and how its entries are stored and named on extraction. A
// new kind of archive is a new descriptor here.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "archive/Entry.h"
#include "archive/NameRefusal.h"
#include "base/ByteReader.h"

namespace brasvel {

// Where the directory lies. The count is an i32; rows follow one another from `firstRow`.
struct DirectoryLayout {
    std::uint64_t countOffset;
    std::uint64_t firstRow;
    std::uint64_t rowSize;
    std::size_t nameFieldSize;
};

// What writing an archive of the kind needs beyond its directory layout.
struct WritingRules {
    // The header, the bytes before the first row, of a new archive with no entries.
    std::string (*newHeader)();
    // A new archive leaves room for this many rows before the first entry's data (zero-filled).
    std::uint64_t reservedRows;
    // A new archive's directory is sorted by name, case-insensitively.
    bool sortedByName;
    // The entries' data lie one after another in directory order (the sizes depend on it).
    bool dataInDirectoryOrder;
    // A new name field carries, after its NUL, the bytes that all the archive's fields share there.
    bool followsFieldPattern;
    // The suffix of the files entries come from, which the entry's name leaves out: ".wav"; empty
    // when an entry is named as its file.
    std::string_view fileSuffix;
    // Why a name (archive bytes, no NUL) cannot be read back whole from a row, a reason of length;
    // nullopt when it can.
    std::optional<NameRefusal> (*nameProblem)(std::string_view name);
    // Encodes an entry's row: layout.rowSize bytes from `row`.
    void (*writeRow)(const Entry& entry, std::byte* row);
};

struct ArchiveFormat {
    std::string_view name;           // "lod", also the --kind value
    std::string_view suffix;         // ".lod"
    DirectoryLayout layout;
    bool compressedEntries;  // entries may be stored as zlib streams (packedSize)
    bool sizesFromOffsets;   // sizes are not stored: each reaches to the next entry's data

    // Reads one directory row: the stored fields, then the derived names.
    Entry (*readRow)(ByteReader& row);
    // Sets an entry's derived names from its name field.
    void (*describe)(Entry& entry);
    // The name the entry is written under on extraction, in archive bytes, cut at its first NUL.
    std::string (*outputName)(const Entry& entry, bool convertPictures);
    // Whether extraction turns the entry into a BMP picture.
    bool (*convertsToBitmap)(const Entry& entry, bool convertPictures);

    WritingRules writing;
};

extern const ArchiveFormat kLodFormat;
extern const ArchiveFormat kSndFormat;
extern const ArchiveFormat kVidFormat;

// A name field for `name` (archive bytes, shorter than the field): the name, a NUL, then the
// bytes of `tail` at the positions that follow, zeros where `tail` is shorter.
std::string makeNameField(const ArchiveFormat& format, std::string_view name,
                          std::string_view tail = {});

// The bytes that every field of `entries` holds after its first NUL, position by position, where
// they all agree; zeros where none has a byte after its NUL. Empty when two fields disagree.
std::string sharedFieldTail(const ArchiveFormat& format, std::span<const Entry> entries);

// The name that identifies an entry when it is edited: its name field up to the first NUL.
std::string_view storedName(const Entry& entry);

// Every kind, in the order the open dialog's filters and --kind's words list them.
std::span<const ArchiveFormat* const> archiveFormats();

// The kind named "lod", "snd" or "vid" (case-insensitively); null when none.
const ArchiveFormat* formatNamed(std::string_view name);

// How the letters of a path's last three characters must be written to name a kind.
enum class LetterCase {
    Any,     // "lod", "LOD", "Lod"
    Single,  // all in lower or all in upper case: "lod", "LOD"; not "Lod"
};

// The kind that a path's last three characters name; null when none.
const ArchiveFormat* formatFromPath(std::string_view path, LetterCase letters = LetterCase::Any);

}  // namespace brasvel
