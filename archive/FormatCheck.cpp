// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/FormatCheck.h"

#include <algorithm>
#include <cstring>

#include "archive/Layouts.h"
#include "base/Text.h"

namespace brasvel {
namespace {

bool startsWithLodSignature(Bytes archive) {
    return archive.size() >= sizeof layout::kLodSignature &&
           std::memcmp(archive.data(), layout::kLodSignature, sizeof layout::kLodSignature) == 0;
}

// Whether row `row` of a count-first directory (SND, VID) has its data inside the file, after the
// directory. `sizeField` is the row's offset of a stored size, or 0 when sizes are not stored.
bool rowDataInside(Bytes head, const DirectoryLayout& directory, std::uint64_t sizeField,
                   std::uint64_t row, std::uint64_t directoryEnd, std::uint64_t fileSize) {
    ByteReader fields(head, directory.firstRow + row * directory.rowSize + directory.nameFieldSize);
    if (!fields.canRead(sizeField + 4)) {
        return false;
    }
    const std::int32_t offset = fields.i32();
    const std::int32_t size = sizeField != 0 ? fields.i32() : 0;
    return offset >= 0 && size >= 0 && static_cast<std::uint64_t>(offset) >= directoryEnd &&
           static_cast<std::uint64_t>(offset) + static_cast<std::uint64_t>(size) <= fileSize;
}

std::uint64_t sizeFieldOf(const ArchiveFormat& format) {
    return format.sizesFromOffsets ? 0 : 4;
}

// The rows of a count-first directory fit the file of `fileSize` bytes, whose first bytes `archive`
// holds, and every one points into it.
bool rowsPointInside(Bytes archive, std::uint64_t fileSize, const ArchiveFormat& format) {
    const DirectoryLayout& directory = format.layout;
    if (startsWithLodSignature(archive)) {
        return false;
    }
    ByteReader reader(archive, directory.countOffset);
    if (!reader.canRead(4)) {
        return false;
    }
    const std::int32_t count = reader.i32();
    const std::uint64_t directoryEnd =
        directory.firstRow + static_cast<std::uint64_t>(std::max(count, 0)) * directory.rowSize;
    if (count < 0 || directoryEnd > fileSize) {
        return false;
    }
    for (std::int32_t row = 0; row < count; ++row) {
        if (!rowDataInside(archive, directory, sizeFieldOf(format), static_cast<std::uint64_t>(row),
                           directoryEnd, fileSize)) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> countFirstProblem(const ArchiveFormat& format, Bytes head,
                                             std::uint64_t archiveSize) {
    const DirectoryLayout& directory = format.layout;
    ByteReader reader(head, directory.countOffset);
    if (!reader.canRead(4)) {
        return "it is shorter than an entry count";
    }
    const std::int32_t count = reader.i32();
    if (count < 0) {
        return "its entry count " + std::to_string(count) + " is negative";
    }
    const auto rows = static_cast<std::uint64_t>(count);
    const std::uint64_t directoryEnd = directory.firstRow + rows * directory.rowSize;
    if (directoryEnd > archiveSize) {
        return "its directory of " + std::to_string(rows) + " entries needs " +
               std::to_string(directoryEnd) + " bytes; the file has " + std::to_string(archiveSize);
    }
    for (std::uint64_t row = 0; row < rows; ++row) {
        if (rowDataInside(head, directory, sizeFieldOf(format), row, directoryEnd, archiveSize)) {
            return std::nullopt;
        }
    }
    if (rows == 0) {
        return std::nullopt;
    }
    return "none of its " + std::to_string(rows) + " entries lies inside the file";
}

}  // namespace

bool looksLike(Bytes head, std::uint64_t archiveSize, const ArchiveFormat& format) {
    if (&format == &kLodFormat) {
        return startsWithLodSignature(head);
    }
    return rowsPointInside(head, archiveSize, format);
}

bool looksLike(Bytes archive, const ArchiveFormat& format) {
    if (&format == &kLodFormat) {
        return startsWithLodSignature(archive);
    }
    return rowsPointInside(archive, archive.size(), format);
}

const ArchiveFormat* likelyFormat(Bytes archive) {
    const auto formats = archiveFormats();
    const auto found = std::find_if(formats.begin(), formats.end(), [&](const ArchiveFormat* format) {
        return looksLike(archive, *format);
    });
    return found == formats.end() ? nullptr : *found;
}

std::optional<std::string> kindProblem(const ArchiveFormat& format, Bytes head,
                                       std::uint64_t archiveSize) {
    if (archiveSize == 0) {
        return "it is empty";
    }
    const bool lodSignature = startsWithLodSignature(head);
    if (&format == &kLodFormat) {
        return lodSignature ? std::nullopt : std::optional<std::string>("it has no LOD signature");
    }
    if (lodSignature) {
        return "it starts with a LOD signature";
    }
    if (auto problem = countFirstProblem(format, head, archiveSize)) {
        return problem;
    }
    // Bytes that may be a damaged archive of this kind but fit another whole are of that kind.
    for (const ArchiveFormat* other : archiveFormats()) {
        if (other != &format && other != &kLodFormat && !looksLike(head, archiveSize, format) &&
            rowsPointInside(head, archiveSize, *other)) {
            return "it fits " + kindInWords(*other) + " whole";
        }
    }
    return std::nullopt;
}

const ArchiveFormat* formatOfBytes(Bytes archive) {
    if (const ArchiveFormat* whole = likelyFormat(archive)) {
        return whole;
    }
    for (const ArchiveFormat* format : archiveFormats()) {
        if (!kindProblem(*format, archive, archive.size())) {
            return format;
        }
    }
    return nullptr;
}

const ArchiveFormat* formatOfFile(const std::string& path, const ReadOnlyFile& file, BytesFit fit) {
    if (const ArchiveFormat* named = formatFromPath(path)) {
        return named;
    }
    // Nothing shorter than a count can be an archive; an empty file cannot be mapped.
    if (file.size() < 4) {
        return nullptr;
    }
    return fit == BytesFit::Whole ? likelyFormat(file.bytes()) : formatOfBytes(file.bytes());
}

const ArchiveFormat* formatOfFile(const std::string& path, BytesFit fit) {
    const ArchiveFormat* named = formatFromPath(path);
    return named != nullptr ? named : formatOfFile(path, ReadOnlyFile(path), fit);
}

ResourceError notOfKind(const ArchiveFormat& format, Bytes archive) {
    // What it looks like instead; nothing when it looks like no kind, or like this one after all.
    const ArchiveFormat* other = formatOfBytes(archive);
    if (other == &format) {
        other = nullptr;
    }
    const std::string detail = other != nullptr
                                   ? "it looks like " + kindInWords(*other)
                                   : kindProblem(format, archive, archive.size()).value_or("");
    return ResourceError(notOfKindError(format), detail);
}

ErrorKind notOfKindError(const ArchiveFormat& format) {
    if (&format == &kSndFormat) {
        return ErrorKind::NotSndArchive;
    }
    return &format == &kVidFormat ? ErrorKind::NotVidArchive : ErrorKind::NotLodArchive;
}

std::string kindInWords(const ArchiveFormat& format) {
    const std::string name = asciiUpperText(format.name);
    // Said letter by letter: "an SND", "a LOD".
    const bool vowelSound = name.starts_with('S') || name.starts_with('A') ||
                            name.starts_with('E') || name.starts_with('F');
    return (vowelSound ? "an " : "a ") + name + " archive";
}

}  // namespace brasvel
