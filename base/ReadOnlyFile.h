#pragma once

// An archive opened for reading only and mapped into memory. Nothing is ever written to it; a
// file on a read-only medium or in a folder the user may not write opens like any other.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/ByteReader.h"

namespace brasvel {

// Which file a path led to and how it looked: a file replaced or written to since shows another.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file open as `fd`.
FileIdentity identityOf(int fd);

class ReadOnlyFile {
public:
    // Fails with the file error texts ("File not found", "File access denied", ...).
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;

    Bytes bytes() const { return {static_cast<const std::byte*>(data_), size_}; }
    std::size_t size() const { return size_; }
    const std::string& path() const { return path_; }
    // The file as it was when opened.
    const FileIdentity& identity() const { return identity_; }

private:
    void release() noexcept;

    std::string path_;
    const void* data_ = nullptr;
    std::size_t size_ = 0;
    FileIdentity identity_;
};

}  // namespace brasvel
