// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// An open archive: the file, opened read-only once, its format and its entries, for as long as
// the window or a command works on it. Nothing is ever written to the file. Its bytes are read
// on demand with positioned reads (see ReadOnlyFile): another process that truncates or rewrites
// the file makes the reads after it fail with "The archive changed while it was read".

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/Directory.h"
#include "base/ReadOnlyFile.h"

namespace brasvel {

class Archive {
public:
    // Opens `path` and reads its directory. Throws ResourceError when the file cannot be opened
    // or cannot be an archive of `format` (see kindProblem: "Not a LOD archive"); a directory that
    // cannot be read whole keeps the entries read so far and directoryError().
    static Archive open(const std::string& path, const ArchiveFormat& format,
                        const EntryProgress& progress = {});
    // The same over a file already mapped (to look at its bytes before choosing its format).
    static Archive open(std::shared_ptr<const ReadOnlyFile> file, const std::string& path,
                        const ArchiveFormat& format, const EntryProgress& progress = {});
    // An archive held in memory (tests, fuzzing); `path` only names it.
    static Archive fromBytes(std::vector<std::byte> bytes, const ArchiveFormat& format,
                             std::string path = {});

    const std::string& path() const { return path_; }
    const ArchiveFormat& format() const { return *format_; }
    const std::vector<Entry>& entries() const { return directory_.entries; }
    std::int32_t statedCount() const { return directory_.statedCount; }
    const std::optional<ResourceError>& directoryError() const { return directory_.error; }

    // The archive's size in bytes (for a file, when it was opened).
    std::uint64_t size() const;
    // Fills `out` with the archive's bytes at `offset`. Throws "Read beyond end of file" past the
    // end, "The archive changed while it was read" when the file moved since it was opened.
    void read(std::uint64_t offset, std::span<std::byte> out) const;
    // Throws "The archive changed while it was read" when the file moved since it was opened.
    void requireUnchanged() const;
    // The open file; null for an archive held in memory.
    const ReadOnlyFile* file() const { return file_.get(); }
    // The file as it was when opened; nullopt for an archive held in memory.
    std::optional<FileIdentity> identity() const {
        return file_ ? std::optional(file_->identity()) : std::nullopt;
    }
    // The archive's bytes: a mapping of the file made on first use (see ReadOnlyFile::bytes), or
    // the bytes in memory. Only the archive writer copies from it; readers use read().
    Bytes bytes() const;
    // Whether bytes() is a read-only file mapping, whose pages may be given back.
    bool isMapped() const { return file_ != nullptr; }

private:
    Archive(std::string path, const ArchiveFormat& format);
    // The bytes from the start of the file to the end of its directory's rows.
    std::vector<std::byte> directoryBytes() const;

    std::string path_;
    const ArchiveFormat* format_;
    std::shared_ptr<const ReadOnlyFile> file_;  // shared: an Archive is cheap to copy
    std::shared_ptr<const std::vector<std::byte>> memory_;
    Directory directory_;
};

}  // namespace brasvel
