// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// One kind's directory read over the input as a whole archive. After the reading, every entry
// goes through what the list and extraction ask of it first: its names, its file name and its
// stored bytes; and the type views of the window's box are built over all of them.

#include <cstdint>
#include <string_view>

#include "archive/ArchiveFormat.h"
#include "archive/Directory.h"
#include "archive/TypeItems.h"
#include "base/ResourceError.h"
#include "extract/BatchExtractor.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"
#include "fuzz/FuzzSupport.h"

namespace brasvel::fuzz {

inline bool holdsNul(std::string_view text) {
    return text.find('\0') != std::string_view::npos;
}

inline void checkEntry(const ArchiveFormat& format, const Entry& entry, std::size_t index,
                       Bytes archive, bool complete) {
    const std::size_t field = format.layout.nameFieldSize;
    FUZZ_CHECK(entry.nameField.size() == field);
    FUZZ_CHECK(entry.name.size() <= field && entry.ext.size() <= 3);
    FUZZ_CHECK(entry.caption.size() <= field + 4 && entry.fileName.size() <= field + 4);
    FUZZ_CHECK(!holdsNul(entry.caption) && !holdsNul(entry.fileName));
    if (!format.compressedEntries) {
        FUZZ_CHECK(entry.packedSize == 0);
    }
    // A video's size is derived so that it never reaches past the end of the file.
    if (format.sizesFromOffsets) {
        FUZZ_CHECK(entry.size >= 0);
    }
    (void)entryLabel(entry, index);
    for (const bool convert : {true, false}) {
        try {
            const std::string name = outputFileName(entry, format, convert);
            FUZZ_CHECK(!name.empty() && name.size() <= kLongestFileName);
            FUZZ_CHECK(name.find('/') == std::string::npos && name != "." && name != "..");
            FUZZ_CHECK(!holdsNul(name));
        } catch (const ResourceError& error) {
            FUZZ_CHECK(error.kind() == ErrorKind::UnsafeEntryName);
        }
    }
    const bool mustLieInside = format.sizesFromOffsets && complete && entry.offset >= 0 &&
                               static_cast<std::uint64_t>(entry.offset) <= archive.size();
    try {
        const Bytes stored = storedBytes(archive, entry, format);
        FUZZ_CHECK(stored.data() >= archive.data() &&
                   stored.data() + stored.size() <= archive.data() + archive.size());
    } catch (const ResourceError&) {
        FUZZ_CHECK(!mustLieInside);
    }
}

inline void runDirectoryReader(const ArchiveFormat& format, const std::uint8_t* data,
                               std::size_t size) {
    const Bytes archive = inputBytes(data, size);
    std::size_t progressCalls = 0;
    const Directory directory = readDirectory(
        format, archive, [&](std::size_t read) { FUZZ_CHECK(read == ++progressCalls); });
    const std::size_t count = directory.entries.size();
    const bool complete = !directory.error.has_value();
    FUZZ_CHECK(progressCalls == count);
    if (directory.statedCount < 0) {
        FUZZ_CHECK(!complete && count == 0);
    } else {
        FUZZ_CHECK(count <= static_cast<std::size_t>(directory.statedCount));
        FUZZ_CHECK(!complete || count == static_cast<std::size_t>(directory.statedCount));
    }
    // Every row read lies inside the file.
    FUZZ_CHECK(count == 0 ||
               format.layout.firstRow + count * format.layout.rowSize <= archive.size());
    for (std::size_t index = 0; index < count; ++index) {
        checkEntry(format, directory.entries[index], index, archive, complete);
    }
    // "*.*" keeps every entry, with the image of its extension; each other item a part of them, in
    // order, with the item's image.
    const TypeView all = viewOfType(directory.entries, typeItemIndex("*.*"));
    FUZZ_CHECK(all.entries.size() == count && all.images.size() == count);
    for (std::size_t index = 0; index < count; ++index) {
        FUZZ_CHECK(all.entries[index] == index &&
                   all.images[index] == typeImageFor(directory.entries[index].ext));
    }
    for (int item = 1; item < kTypeItemCount; ++item) {
        const TypeView view = viewOfType(directory.entries, item);
        FUZZ_CHECK(view.entries.size() == view.images.size() && view.entries.size() <= count);
        for (std::size_t k = 0; k < view.entries.size(); ++k) {
            FUZZ_CHECK(view.entries[k] < count &&
                       (k == 0 || view.entries[k - 1] < view.entries[k]));
            FUZZ_CHECK(typeItemKeeps(item, directory.entries[view.entries[k]]));
            FUZZ_CHECK(view.images[k] == kTypeItems[static_cast<std::size_t>(item)].image);
        }
    }
}

}  // namespace brasvel::fuzz
