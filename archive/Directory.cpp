// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/Directory.h"

#include <algorithm>
#include <string>

namespace brasvel {
namespace {

// Each entry's size reaches to the nearest greater offset of any entry, or to the end of the file
// for the greatest, and never past the end of the file.
void deriveSizesFromOffsets(std::vector<Entry>& entries, std::uint64_t fileSize) {
    std::vector<std::int64_t> offsets;
    offsets.reserve(entries.size());
    for (const Entry& entry : entries) {
        offsets.push_back(entry.offset);
    }
    std::sort(offsets.begin(), offsets.end());
    const auto fileEnd = static_cast<std::int64_t>(fileSize);
    for (Entry& entry : entries) {
        auto next = std::upper_bound(offsets.begin(), offsets.end(), std::int64_t{entry.offset});
        const std::int64_t end = next == offsets.end() ? fileEnd : std::min(*next, fileEnd);
        const std::int64_t size = std::clamp<std::int64_t>(end - entry.offset, 0, INT32_MAX);
        entry.size = entry.offset < 0 ? 0 : static_cast<std::int32_t>(size);
    }
}

void readRows(const ArchiveFormat& format, Bytes archive, const EntryProgress& progress,
              Directory& directory) {
    const DirectoryLayout& layout = format.layout;
    ByteReader reader(archive);
    reader.require(layout.countOffset + 4);
    reader.seek(layout.countOffset);
    directory.statedCount = reader.i32();
    if (directory.statedCount < 0) {
        throw damaged("the entry count " + std::to_string(directory.statedCount) +
                      " is negative");
    }
    const auto count = static_cast<std::uint64_t>(directory.statedCount);
    reader.seek(layout.firstRow);
    // Room only for the rows the file can hold: a count is not trusted before it is checked.
    directory.entries.reserve(static_cast<std::size_t>(
        std::min(count, reader.remaining() / layout.rowSize)));
    for (std::uint64_t k = 0; k < count; ++k) {
        ByteReader row(reader.bytes(layout.rowSize));
        directory.entries.push_back(format.readRow(row));
        if (progress) {
            progress(directory.entries.size());
        }
    }
}

}  // namespace

Directory readDirectory(const ArchiveFormat& format, Bytes archive, const EntryProgress& progress) {
    return readDirectory(format, archive, archive.size(), progress);
}

Directory readDirectory(const ArchiveFormat& format, Bytes head, std::uint64_t archiveSize,
                        const EntryProgress& progress) {
    Directory directory;
    try {
        readRows(format, head, progress, directory);
    } catch (const ResourceError& error) {
        directory.error = error;
    }
    if (format.sizesFromOffsets) {
        deriveSizesFromOffsets(directory.entries, archiveSize);
    }
    return directory;
}

}  // namespace brasvel
