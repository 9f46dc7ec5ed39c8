// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A bounded little-endian reader over bytes in memory. Every read checks the bytes left first and
// fails with "Read beyond end of file" naming the offset; values are built from bytes, never by
// casting a struct onto file data.

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/ResourceError.h"

namespace brasvel {

using Bytes = std::span<const std::byte>;

inline std::uint32_t loadU32(const std::byte* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::uint16_t loadU16(const std::byte* p) {
    return static_cast<std::uint16_t>(static_cast<unsigned>(p[0]) |
                                      static_cast<unsigned>(p[1]) << 8);
}

class ByteReader {
public:
    explicit ByteReader(Bytes data, std::uint64_t start = 0) : data_(data), position_(start) {}

    std::uint64_t position() const { return position_; }
    std::uint64_t size() const { return data_.size(); }
    std::uint64_t remaining() const { return position_ < size() ? size() - position_ : 0; }
    bool canRead(std::uint64_t count) const { return count <= remaining(); }

    // Moving past the end is allowed, as with a file; the next read fails.
    void seek(std::uint64_t position) { position_ = position; }
    void skip(std::uint64_t count) {
        require(count);
        position_ += count;
    }

    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)[0]); }
    std::uint16_t u16() { return loadU16(take(2).data()); }
    std::uint32_t u32() { return loadU32(take(4).data()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    Bytes bytes(std::uint64_t count) { return take(count); }

    // Fails unless `count` more bytes can be read.
    void require(std::uint64_t count) const {
        if (!canRead(count)) {
            throw readBeyondEnd(position_, count, size());
        }
    }

private:
    Bytes take(std::uint64_t count) {
        require(count);
        Bytes result = data_.subspan(static_cast<std::size_t>(position_),
                                     static_cast<std::size_t>(count));
        position_ += count;
        return result;
    }

    Bytes data_;
    std::uint64_t position_;
};

}  // namespace brasvel
