#include "tools/writers/ArchiveWriters.h"

#include <libdeflate.h>

#include <stdexcept>

namespace brasvel::writers {

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

// --- LOD: 12-byte header (count at 8), 80 bytes unused, 32-byte entries from 92. ---

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
    items_.push_back({nameField(name, 16), std::string(stored), size, packedSize, std::nullopt});
    return *this;
}

LodWriter& LodWriter::addRaw(std::string_view name, std::int32_t offset, std::int32_t size,
                             std::int32_t packedSize) {
    items_.push_back({nameField(name, 16), {}, size, packedSize, offset});
    return *this;
}

LodWriter& LodWriter::statedCount(std::int32_t count) {
    count_ = count;
    return *this;
}

std::string LodWriter::build() const {
    std::string out = "LOD";
    out.resize(4, '\0');
    putU32(out, 200);  // a version word; the readers do not examine it
    putI32(out, count_.value_or(static_cast<std::int32_t>(items_.size())));
    out.resize(92, '\0');
    std::size_t dataOffset = 92 + 32 * items_.size();
    for (const Item& item : items_) {
        out += item.nameField;
        putI32(out, item.offset.value_or(static_cast<std::int32_t>(dataOffset)));
        putI32(out, item.size);
        putU32(out, 1);  // a type word; the readers do not examine it
        putI32(out, item.packedSize);
        dataOffset += item.stored.size();
    }
    for (const Item& item : items_) {
        out += item.stored;
    }
    return out;
}

// --- SND: count, then 48-byte entries (name[40], offset, size). ---

SndWriter& SndWriter::add(std::string_view name, std::string_view content) {
    items_.push_back({nameField(name, 40), std::string(content), std::nullopt,
                      static_cast<std::int32_t>(content.size())});
    return *this;
}

SndWriter& SndWriter::addRaw(std::string_view name, std::int32_t offset, std::int32_t size) {
    items_.push_back({nameField(name, 40), {}, offset, size});
    return *this;
}

SndWriter& SndWriter::statedCount(std::int32_t count) {
    count_ = count;
    return *this;
}

std::string SndWriter::build() const {
    std::string out;
    putI32(out, count_.value_or(static_cast<std::int32_t>(items_.size())));
    std::size_t dataOffset = 4 + 48 * items_.size();
    for (const Item& item : items_) {
        out += item.nameField;
        putI32(out, item.offset.value_or(static_cast<std::int32_t>(dataOffset)));
        putI32(out, item.size);
        dataOffset += item.content.size();
    }
    for (const Item& item : items_) {
        out += item.content;
    }
    return out;
}

// --- VID: count, then 44-byte entries (name[40], offset). ---

VidWriter& VidWriter::add(std::string_view name, std::string_view content) {
    items_.push_back({nameField(name, 40), std::string(content), std::nullopt});
    return *this;
}

VidWriter& VidWriter::addRaw(std::string_view name, std::int32_t offset) {
    items_.push_back({nameField(name, 40), {}, offset});
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
    std::string out;
    putI32(out, count_.value_or(static_cast<std::int32_t>(items_.size())));
    std::size_t dataOffset = 4 + 44 * items_.size();
    for (const Item& item : items_) {
        out += item.nameField;
        putI32(out, item.offset.value_or(static_cast<std::int32_t>(dataOffset)));
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
