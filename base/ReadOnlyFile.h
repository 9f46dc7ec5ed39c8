// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// An archive opened for reading only. Nothing is ever written to it; a file on a read-only medium
// or in a folder the user may not write opens like any other.
//
// It is read with positioned reads, not mapped: another process may truncate or rewrite the file
// while it is read, and a mapping would then kill the process (SIGBUS) on the first page past the
// new end. A read that comes up short, or a file whose size or modification time moved since it
// was opened, fails with "The archive changed while it was read" instead; what was read before
// stays good. On the extraction benchmark positioned reads cost a few per cent of processor time
// over the mapping, and take less memory.
//
// Only regular files open: a FIFO, socket, device or folder is refused at once, never waited on.
//
// bytes() maps the file on first use, for the archive writer's copying of kept entries, which
// checks the file's identity before it saves; everything else reads with read().

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "base/ByteReader.h"

namespace brasvel {

// Which file a path led to and how it looked: a file replaced or written to since shows another.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;  // the file's index within its device
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file open as `fd`.
FileIdentity identityOf(int fd);

class ReadOnlyFile {
public:
    // Fails with the file error texts ("File not found", "File access denied (X: is a folder)",
    // "File access denied (X is not a regular file)", ...).
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;

    // The size the file had when it was opened.
    std::uint64_t size() const { return size_; }
    const std::string& path() const { return path_; }
    // The file's identity, to tell whether another path leads to it.
    std::uint64_t device() const { return device_; }
    std::uint64_t inode() const { return inode_; }
    // The file as it was when opened.
    FileIdentity identity() const;

    // The whole file, mapped read-only on first use and kept until the file is closed. A file cut
    // short meanwhile kills the process on a page past its new end: only for the writer's copy.
    Bytes bytes() const;

    // Fills `out` with the bytes at `offset`. Throws "Read beyond end of file" for bytes past the
    // size at opening, and "The archive changed while it was read" when the file no longer holds
    // them or was written to since it was opened.
    void read(std::uint64_t offset, std::span<std::byte> out) const;

    // Throws "The archive changed while it was read" when the file's size or modification time
    // are no longer those it had when it was opened.
    void requireUnchanged() const;

private:
    void release() noexcept;

    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    std::int64_t modifiedNs_ = 0;
    mutable std::once_flag mapOnce_;
    mutable const void* mapping_ = nullptr;
};

}  // namespace brasvel
