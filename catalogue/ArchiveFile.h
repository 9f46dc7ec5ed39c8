#pragma once

// An archive opened for reading only and mapped into memory. Nothing is ever written to it; a
// file on a read-only medium or in a folder the user may not write opens like any other.

#include <cstddef>
#include <string>

#include "catalogue/ByteReader.h"

namespace brasvel {

class ArchiveFile {
public:
    // Fails with the file error texts ("File not found", "File access denied", ...).
    explicit ArchiveFile(const std::string& path);
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;
    ArchiveFile(ArchiveFile&& other) noexcept;
    ArchiveFile& operator=(ArchiveFile&& other) noexcept;

    Bytes bytes() const { return {static_cast<const std::byte*>(data_), size_}; }
    std::size_t size() const { return size_; }
    const std::string& path() const { return path_; }

private:
    void release() noexcept;

    std::string path_;
    const void* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace brasvel
