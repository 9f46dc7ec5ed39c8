// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "tools/writers/ArchiveWriters.h"

#include <libdeflate.h>

#include <stdexcept>

#include "archive/Layouts.h"

namespace brasvel::writers {

using namespace brasvel::layout;

namespace {

// Puts `value` little-endian at `at` of `out`, which already holds those four bytes.
void setI32(std::string& out, std::uint64_t at, std::int32_t value) {
    std::string bytes;
    putI32(bytes, value);
    out.replace(static_cast<std::size_t>(at), bytes.size(), bytes);
}

// SND and VID rows hold their numbers right after the name field.
constexpr std::uint64_t kSndRowOffset = kSndNameField;
constexpr std::uint64_t kSndRowSizeField = kSndNameField + 4;
constexpr std::uint64_t kVidRowOffset = kVidNameField;

// The count of a directory: stated, or the number of entries.
template <typename Items>
std::int32_t countOf(const std::optional<std::int32_t>& stated, const Items& items) {
    return stated.value_or(static_cast<std::int32_t>(items.size()));
}

}  // namespace

void putU16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void putU32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

std::string zlibCompress(std::string_view content, int level) {
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
    if (compressor == nullptr) {
        throw std::runtime_error("cannot make a zlib compressor");
    }
    std::string stream(libdeflate_zlib_compress_bound(compressor, content.size()), '\0');
    const std::size_t length = libdeflate_zlib_compress(compressor, content.data(), content.size(),
                                                        stream.data(), stream.size());
    libdeflate_free_compressor(compressor);
    stream.resize(length);
    return stream;
}

std::string nameField(std::string_view name, std::size_t width) {
    std::string field(name.substr(0, width));
    field.resize(width, '\0');
    return field;
}

// --- LOD: the layout of archive/Layouts.h; entries' data follows the rows directly. ---

LodWriter& LodWriter::add(std::string_view name, std::string_view content, bool compress) {
    const auto size = static_cast<std::int32_t>(content.size());
    if (!compress) {
        return addStored(name, content, size, 0);
    }
    const std::string stream = zlibCompress(content);
    return addStored(name, stream, size, static_cast<std::int32_t>(stream.size()));
}

LodWriter& LodWriter::addStored(std::string_view name, std::string_view stored, std::int32_t size,
                                std::int32_t packedSize) {
    items_.push_back(
        {nameField(name, kLodNameField), std::string(stored), size, packedSize, std::nullopt});
    return *this;
}

LodWriter& LodWriter::addRaw(std::string_view name, std::int32_t offset, std::int32_t size,
                             std::int32_t packedSize) {
    items_.push_back({nameField(name, kLodNameField), {}, size, packedSize, offset});
    return *this;
}

LodWriter& LodWriter::typeWord(std::int32_t word) {
    if (items_.empty()) {
        throw std::logic_error("typeWord needs an entry added before it");
    }
    items_.back().type = word;
    return *this;
}

LodWriter& LodWriter::statedCount(std::int32_t count) {
    count_ = count;
    return *this;
}

std::string LodWriter::build() const {
    std::string out(kLodSignature, sizeof kLodSignature);
    putU32(out, kLodVersion);  // the readers do not examine it
    out.resize(kLodFirstRow, '\0');
    setI32(out, kLodCountOffset, countOf(count_, items_));
    std::size_t dataOffset = kLodFirstRow + kLodRowSize * items_.size();
    for (const Item& item : items_) {
        std::string row = item.nameField;
        row.resize(kLodRowSize, '\0');
        setI32(row, kLodRowOffset, item.offset.value_or(static_cast<std::int32_t>(dataOffset)));
        setI32(row, kLodRowSizeField, item.size);
        setI32(row, kLodRowType, item.type);
        setI32(row, kLodRowPackedSize, item.packedSize);
        out += row;
        dataOffset += item.stored.size();
    }
    for (const Item& item : items_) {
        out += item.stored;
    }
    return out;
}

// --- SND: count, then rows of a name field, the offset and the size. ---

SndWriter& SndWriter::add(std::string_view name, std::string_view content) {
    items_.push_back({nameField(name, kSndNameField), std::string(content), std::nullopt,
                      static_cast<std::int32_t>(content.size())});
    return *this;
}

SndWriter& SndWriter::addRaw(std::string_view name, std::int32_t offset, std::int32_t size) {
    items_.push_back({nameField(name, kSndNameField), {}, offset, size});
    return *this;
}

SndWriter& SndWriter::statedCount(std::int32_t count) {
    count_ = count;
    return *this;
}

std::string SndWriter::build() const {
    std::string out(kSndFirstRow, '\0');
    setI32(out, kSndCountOffset, countOf(count_, items_));
    std::size_t dataOffset = kSndFirstRow + kSndRowSize * items_.size();
    for (const Item& item : items_) {
        std::string row = item.nameField;
        row.resize(kSndRowSize, '\0');
        setI32(row, kSndRowOffset, item.offset.value_or(static_cast<std::int32_t>(dataOffset)));
        setI32(row, kSndRowSizeField, item.size);
        out += row;
        dataOffset += item.content.size();
    }
    for (const Item& item : items_) {
        out += item.content;
    }
    return out;
}

// --- VID: count, then rows of a name field and the offset; sizes follow from the offsets. ---

VidWriter& VidWriter::add(std::string_view name, std::string_view content) {
    items_.push_back({nameField(name, kVidNameField), std::string(content), std::nullopt});
    return *this;
}

VidWriter& VidWriter::addRaw(std::string_view name, std::int32_t offset) {
    items_.push_back({nameField(name, kVidNameField), {}, offset});
    return *this;
}

VidWriter& VidWriter::statedCount(std::int32_t count) {
    count_ = count;
    return *this;
}

VidWriter& VidWriter::padTo(std::size_t length) {
    length_ = length;
    return *this;
}

std::string VidWriter::build() const {
    std::string out(kVidFirstRow, '\0');
    setI32(out, kVidCountOffset, countOf(count_, items_));
    std::size_t dataOffset = kVidFirstRow + kVidRowSize * items_.size();
    for (const Item& item : items_) {
        std::string row = item.nameField;
        row.resize(kVidRowSize, '\0');
        setI32(row, kVidRowOffset, item.offset.value_or(static_cast<std::int32_t>(dataOffset)));
        out += row;
        dataOffset += item.content.size();
    }
    for (const Item& item : items_) {
        out += item.content;
    }
    if (out.size() < length_) {
        out.resize(length_, '\0');
    }
    return out;
}

}  // namespace brasvel::writers
