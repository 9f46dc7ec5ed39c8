// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Archives that more than one hardening test builds: compressed streams of zeros that inflate far
// past what they state (made bit by bit, without the zeros), and three entries of which the middle
// one is big.

#include <cstdint>
#include <string>
#include <utility>

#include "tools/writers/ArchiveWriters.h"

namespace brasvel::hardening {

// Deflate bits go out least significant first; Huffman codes most significant bit first.
class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bit((value >> i) & 1U);
        }
    }
    void code(std::uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i) {
            bit((code >> i) & 1U);
        }
    }
    std::string finish() {
        if (used_ > 0) {
            out_ += static_cast<char>(current_);
        }
        current_ = 0;
        used_ = 0;
        return std::move(out_);
    }

private:
    void bit(std::uint32_t value) {
        current_ |= static_cast<unsigned>(value << used_);
        if (++used_ == 8) {
            out_ += static_cast<char>(current_);
            current_ = 0;
            used_ = 0;
        }
    }
    std::string out_;
    unsigned current_ = 0;
    int used_ = 0;
};

// A zlib stream that inflates to `count` zero bytes: one block of fixed codes holding a literal
// zero and then copies of 258 bytes at distance 1, about 13 bits per 258 bytes. It is made
// directly, since compressing a gigabyte of zeros would need the gigabyte first.
inline std::string zlibOfZeros(std::uint64_t count) {
    std::string stream = "\x78\x01";  // deflate, 32 KiB window, no dictionary, fastest
    BitWriter writer;
    writer.bits(1, 1);  // the final block
    writer.bits(1, 2);  // fixed Huffman codes
    std::uint64_t left = count;
    if (left > 0) {
        writer.code(0x30, 8);  // literal 0
        --left;
    }
    for (; left >= 258; left -= 258) {
        writer.code(0xC5, 8);  // length code 285: 258 bytes
        writer.code(0, 5);     // distance code 0: distance 1
    }
    for (; left > 0; --left) {
        writer.code(0x30, 8);
    }
    writer.code(0, 7);  // end of block
    stream += writer.finish();
    // Adler-32 of zeros: the first sum stays 1, the second adds 1 per byte.
    const auto adler = static_cast<std::uint32_t>((count % 65521) << 16 | 1);
    for (int shift = 24; shift >= 0; shift -= 8) {
        stream += static_cast<char>((adler >> shift) & 0xFF);
    }
    return stream;
}

inline constexpr std::uint64_t kGigabyte = std::uint64_t{1} << 30;

// A gigabyte of zeros, made once for all the tests.
inline const std::string& gigabyteBomb() {
    static const std::string bomb = zlibOfZeros(kGigabyte);
    return bomb;
}

inline const std::string kOldContent = "the older file of this name";

inline std::string textOf(std::size_t length, char seed) {
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = static_cast<char>('a' + (static_cast<std::size_t>(seed) * 7 + i * 13) % 26);
    }
    return text;
}

// Three entries: a small one, a big one (compressed) and a small one after it.
struct ThreeEntries {
    std::string small = textOf(1000, 's');
    std::string big = textOf(256 * 1024, 'b');
    std::string after = textOf(1000, 'a');
    std::string archive = writers::LodWriter()
                              .add("SMALL.TXT", small)
                              .add("BIG.TXT", big, true)
                              .add("AFTER.TXT", after)
                              .build();
};

}  // namespace brasvel::hardening
