// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Writers of LOD, SND and VID archives, for tests, the demo archives and the benchmarks. Entries
// added with content are laid out after the directory in the order added; raw entries keep the
// numbers they are given, so damaged and unusual directories can be made as easily as good ones.
// The byte layouts are the readers' own (archive/Layouts.h), so the two cannot drift apart.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brasvel::writers {

inline std::span<const std::byte> asBytes(std::string_view text) {
    return {reinterpret_cast<const std::byte*>(text.data()), text.size()};
}

// One zlib stream (RFC 1950) of `content`.
std::string zlibCompress(std::string_view content, int level = 6);

// A name field of `width` bytes: `name` cut or NUL-filled to that width.
std::string nameField(std::string_view name, std::size_t width);

class LodWriter {
public:
    // An entry whose content is stored plain, or as one zlib stream when `compress` is set.
    LodWriter& add(std::string_view name, std::string_view content, bool compress = false);
    // An entry with already stored bytes and the sizes to state for it.
    LodWriter& addStored(std::string_view name, std::string_view stored, std::int32_t size,
                         std::int32_t packedSize);
    // A directory entry with numbers verbatim and no data of its own.
    LodWriter& addRaw(std::string_view name, std::int32_t offset, std::int32_t size,
                      std::int32_t packedSize);
    // The type word (+24) of the entry added last; 1 unless set. The readers keep it as read.
    LodWriter& typeWord(std::int32_t word);
    // States another count in the header than the number of entries added.
    LodWriter& statedCount(std::int32_t count);
    std::string build() const;

private:
    struct Item {
        std::string nameField;
        std::string stored;
        std::int32_t size = 0;
        std::int32_t packedSize = 0;
        std::optional<std::int32_t> offset;  // set for raw entries
        std::int32_t type = 1;
    };
    std::vector<Item> items_;
    std::optional<std::int32_t> count_;
};

class SndWriter {
public:
    SndWriter& add(std::string_view name, std::string_view content);
    SndWriter& addRaw(std::string_view name, std::int32_t offset, std::int32_t size);
    SndWriter& statedCount(std::int32_t count);
    std::string build() const;

private:
    struct Item {
        std::string nameField;
        std::string content;
        std::optional<std::int32_t> offset;
        std::int32_t size = 0;
    };
    std::vector<Item> items_;
    std::optional<std::int32_t> count_;
};

class VidWriter {
public:
    VidWriter& add(std::string_view name, std::string_view content);
    // A directory entry at a given offset; `padTo` makes the archive at least that long.
    VidWriter& addRaw(std::string_view name, std::int32_t offset);
    VidWriter& statedCount(std::int32_t count);
    VidWriter& padTo(std::size_t length);
    std::string build() const;

private:
    struct Item {
        std::string nameField;
        std::string content;
        std::optional<std::int32_t> offset;
    };
    std::vector<Item> items_;
    std::optional<std::int32_t> count_;
    std::size_t length_ = 0;
};

// Little-endian appenders shared by the writers.
void putU16(std::string& out, std::uint16_t value);
void putU32(std::string& out, std::uint32_t value);
inline void putI32(std::string& out, std::int32_t value) {
    putU32(out, static_cast<std::uint32_t>(value));
}

}  // namespace brasvel::writers
