#pragma once

// An archive opened for reading only and mapped into memory. Nothing is ever written to it; a
// file on a read-only medium or in a folder the user may not write opens like any other.

#include <cstddef>
#include <string>

#include "base/ByteReader.h"

namespace brasvel {

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

private:
    void release() noexcept;

    std::string path_;
    const void* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace brasvel
