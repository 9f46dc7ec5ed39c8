// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/Archive.h"

#include <algorithm>
#include <utility>

#include "archive/FormatCheck.h"
#include "base/ResourceError.h"

namespace brasvel {

Archive::Archive(std::string path, const ArchiveFormat& format)
    : path_(std::move(path)), format_(&format) {}

Archive Archive::open(const std::string& path, const ArchiveFormat& format,
                      const EntryProgress& progress) {
    return open(std::make_shared<const ReadOnlyFile>(path), path, format, progress);
}

Archive Archive::open(std::shared_ptr<const ReadOnlyFile> file, const std::string& path,
                      const ArchiveFormat& format, const EntryProgress& progress) {
    Archive archive(path, format);
    archive.file_ = std::move(file);
    const std::vector<std::byte> head = archive.directoryBytes();
    if (kindProblem(format, head, archive.size())) {
        throw notOfKind(format, archive.file_->bytes());
    }
    archive.directory_ = readDirectory(format, head, archive.size(), progress);
    return archive;
}

Archive Archive::fromBytes(std::vector<std::byte> bytes, const ArchiveFormat& format,
                           std::string path) {
    Archive archive(std::move(path), format);
    archive.memory_ = std::make_shared<const std::vector<std::byte>>(std::move(bytes));
    archive.directory_ = readDirectory(format, *archive.memory_);
    return archive;
}

std::vector<std::byte> Archive::directoryBytes() const {
    // The header up to the first row, then as many rows as it states and the file holds.
    const DirectoryLayout& layout = format_->layout;
    const std::uint64_t fileSize = size();
    std::vector<std::byte> head(static_cast<std::size_t>(std::min(fileSize, layout.firstRow)));
    read(0, head);
    if (head.size() < layout.countOffset + 4 || head.size() < layout.firstRow) {
        return head;
    }
    ByteReader reader(head);
    reader.seek(layout.countOffset);
    const std::int32_t count = reader.i32();
    if (count <= 0) {
        return head;
    }
    // As many bytes as the longest rows of a kind counted at the same place need, so that the
    // kind check can tell whether they fit that kind better.
    std::uint64_t rowSize = layout.rowSize;
    for (const ArchiveFormat* other : archiveFormats()) {
        if (other->layout.countOffset == layout.countOffset &&
            other->layout.firstRow == layout.firstRow) {
            rowSize = std::max(rowSize, other->layout.rowSize);
        }
    }
    const std::uint64_t rows = static_cast<std::uint64_t>(count) * rowSize;
    const std::uint64_t length = std::min(fileSize, layout.firstRow + rows);
    head.resize(static_cast<std::size_t>(length));
    read(layout.firstRow,
         std::span(head).subspan(static_cast<std::size_t>(layout.firstRow)));
    return head;
}

Bytes Archive::bytes() const {
    if (file_) {
        return file_->bytes();
    }
    return memory_ ? Bytes(*memory_) : Bytes();
}

std::uint64_t Archive::size() const {
    if (file_) {
        return file_->size();
    }
    return memory_ ? memory_->size() : 0;
}

void Archive::read(std::uint64_t offset, std::span<std::byte> out) const {
    if (file_) {
        file_->read(offset, out);
        return;
    }
    const std::uint64_t available = size();
    if (offset > available || out.size() > available - offset) {
        throw readBeyondEnd(offset, out.size(), available);
    }
    std::copy_n(memory_->begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

void Archive::requireUnchanged() const {
    if (file_) {
        file_->requireUnchanged();
    }
}

}  // namespace brasvel
