// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/DefSprite.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "imaging/Bmp.h"

// Layout of a sprite collection, all numbers little-endian:
//
//   0    type (signed)          12   block count, low 8 bits used
//   4    width W of every frame 16   palette, 256 × (R, G, B)
//   8    height H               784  the first block
//
// A block: a 16-byte header (identifier, frame count n, two unused words), n names of 13 bytes,
// n 32-bit frame offsets; the next block follows. Frames are numbered from 1 over all blocks.
//
// A frame at its offset: a 32-bit unused word, the compression type, two unused words, the sprite
// width sw, height sh, left margin L and top margin T (all signed 32-bit); the data D follows, and
// every row offset counts from D:
//
//   type 0  W × H bytes: the whole picture from the top
//   type 1  32-bit row offsets; each row is pairs (c, m): m + 1 pixels of index c, or for c = 0xFF
//           m + 1 literal bytes; rows follow one another from the first offset on
//   type 2  16-bit row offsets, one per row; each row is segment codes
//   type 3  16-bit offsets, sw div 32 per row (one per 32 columns); each row is segment codes
//
// A segment code b holds a kind (b >> 5) and a count ((b & 31) + 1): kinds 0 to 6 are runs of that
// index, kind 7 is followed by count literal bytes.

namespace brasvel {
namespace {

constexpr std::uint64_t kDefHeaderSize = 784;
constexpr std::uint64_t kPaletteOffset = 16;
constexpr std::uint64_t kPaletteSize = 768;
constexpr std::uint64_t kFrameNameSize = 13;
constexpr std::uint64_t kFrameOffsetSize = 4;
constexpr std::uint64_t kFrameHeaderSize = 32;
constexpr int kOffsetSearchCandidates = 256;
constexpr std::int32_t kCphxBlockCount = 10;
// The type-153 placement reads a frame's data 8 bytes before where the row table points.
constexpr std::uint64_t kFullPictureDataShift = 8;

std::string_view fileNamePart(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Frame data is read leniently, as a stream that ends quietly: past the end of the file a read
// yields nothing and the byte last read keeps its value. Nothing outside the buffer is touched.
// Runs of bytes that lie wholly inside the file are handed out at once; only a read that reaches
// past the end goes byte by byte.
class FrameStream {
public:
    explicit FrameStream(Bytes data)
        : data_(reinterpret_cast<const std::uint8_t*>(data.data())), size_(data.size()) {}

    void seek(std::uint64_t position) { position_ = position; }

    std::uint8_t byte() {
        if (position_ < size_) [[likely]] {
            last_ = data_[position_];
            ++position_;
        }
        return last_;
    }
    std::uint16_t u16() {
        const unsigned low = byte();
        return static_cast<std::uint16_t>(low | static_cast<unsigned>(byte()) << 8);
    }
    std::uint32_t u32() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            value |= static_cast<std::uint32_t>(byte()) << shift;
        }
        return value;
    }

    // The next `count` (at least 1) bytes, moved past, when all of them are in the file; null
    // otherwise, and the position stays.
    const std::uint8_t* take(std::size_t count) {
        if (position_ > size_ || size_ - position_ < count) [[unlikely]] {
            return nullptr;
        }
        const std::uint8_t* bytes = data_ + position_;
        position_ += count;
        last_ = bytes[count - 1];
        return bytes;
    }

    // Reads `count` (at least 1) bytes into `target`.
    void read(std::uint8_t* target, std::size_t count) {
        if (const std::uint8_t* bytes = take(count)) [[likely]] {
            std::memcpy(target, bytes, count);
            return;
        }
        for (std::size_t i = 0; i < count; ++i) {
            target[i] = byte();
        }
    }

private:
    const std::uint8_t* data_;
    std::uint64_t size_;
    std::uint64_t position_ = 0;
    std::uint8_t last_ = 0;
};

[[noreturn]] void damagedSprite(std::uint32_t frame, const std::string& what) {
    throw ResourceError(ErrorKind::DamagedSprite, "frame " + std::to_string(frame) + ": " + what);
}

// A sprite row wider than the whole picture cannot lie inside it; refusing it keeps every row's
// pixels apart, so decoding never writes more than the picture holds, however many rows it has.
void checkSpriteWidth(std::uint32_t frame, std::int64_t spriteWidth, const Picture& picture) {
    if (spriteWidth > picture.width) {
        damagedSprite(frame, "the sprite is " + std::to_string(spriteWidth) +
                                 " pixels wide, wider than the " + std::to_string(picture.width) +
                                 "-pixel picture");
    }
}

[[noreturn]] [[gnu::noinline]] void runOutside(const Picture& picture, std::uint32_t frame,
                                               std::int64_t row, std::int64_t column,
                                               std::uint32_t count) {
    damagedSprite(frame, "row " + std::to_string(row) + ", column " + std::to_string(column) +
                             ": " + std::to_string(count) + " pixels would lie outside the " +
                             std::to_string(picture.width) + " x " +
                             std::to_string(picture.height) + " picture");
}

// Writes the sprite's pixels into the picture. A sprite pixel at (row, column) lands at
// (row + T) × W + L + column of the picture, counted row after row; every run is checked whole
// before any of it is written.
class SpritePainter {
public:
    SpritePainter(Picture& picture, std::uint32_t frame, std::int64_t left, std::int64_t top)
        : picture_(picture),
          pixels_(picture.pixels.data()),
          size_(static_cast<std::int64_t>(picture.pixels.size())),
          frame_(frame),
          left_(left),
          top_(top) {}

    void run(std::int64_t row, std::int64_t column, std::uint32_t count, std::uint8_t index) {
        std::memset(place(row, column, count), index, count);
    }

    void literal(std::int64_t row, std::int64_t column, std::uint32_t count, FrameStream& stream) {
        stream.read(place(row, column, count), count);
    }

private:
    std::uint8_t* place(std::int64_t row, std::int64_t column, std::uint32_t count) const {
        const std::int64_t start = (row + top_) * picture_.width + left_ + column;
        if (start < 0 || start + count > size_) [[unlikely]] {
            runOutside(picture_, frame_, row, column, count);
        }
        return pixels_ + start;
    }

    const Picture& picture_;
    std::uint8_t* pixels_;
    std::int64_t size_;
    std::uint32_t frame_;
    std::int64_t left_;
    std::int64_t top_;
};

// One row of segment codes (types 2 and 3): runs of the kind's own index, or literals.
void decodeSegmentRow(SpritePainter& painter, FrameStream& stream, std::int64_t row,
                      std::int64_t spriteWidth) {
    for (std::int64_t column = 0; column < spriteWidth;) {
        const std::uint8_t code = stream.byte();
        const auto kind = static_cast<std::uint8_t>(code >> 5);
        const std::uint32_t count = (code & 0x1FU) + 1;
        if (kind == 7) {
            painter.literal(row, column, count, stream);
        } else {
            painter.run(row, column, count, kind);
        }
        column += count;
    }
}

struct FrameContext {
    std::uint32_t frame;
    std::uint64_t offset;  // of the frame header
    std::uint64_t data;    // D, where the frame's data and its row table begin
    DefFrameHeader header;
};

void decodeType1(const FrameContext& f, bool fullPicture, Picture& picture,
                 FrameStream& stream) {
    std::int64_t spriteWidth = f.header.spriteWidth;
    std::int64_t spriteHeight = f.header.spriteHeight;
    std::int64_t left = f.header.left;
    std::int64_t top = f.header.top;
    std::uint64_t dataBase = f.data;
    if (fullPicture) {
        left = 0;
        top = 0;
        spriteWidth = picture.width;
        spriteHeight = static_cast<std::int64_t>(picture.height) - 3;
        dataBase -= kFullPictureDataShift;
    }
    if (spriteWidth <= 0) {
        return;  // rows without columns hold nothing
    }
    checkSpriteWidth(f.frame, spriteWidth, picture);
    // Only the first row offset is used: the rows follow one another in the data.
    stream.seek(f.data);
    const std::uint32_t firstRow = stream.u32();
    stream.seek(dataBase + firstRow);
    SpritePainter painter(picture, f.frame, left, top);
    for (std::int64_t row = 0; row < spriteHeight; ++row) {
        for (std::int64_t column = 0; column < spriteWidth;) {
            std::uint8_t code = 0;
            std::uint32_t count = 0;
            if (const std::uint8_t* pair = stream.take(2)) [[likely]] {
                code = pair[0];
                count = pair[1] + 1U;
            } else {
                code = stream.byte();
                count = stream.byte() + 1U;
            }
            if (code == 0xFF) {
                painter.literal(row, column, count, stream);
            } else {
                painter.run(row, column, count, code);
            }
            column += count;
        }
    }
}

// Types 2 and 3: a row table of 16-bit offsets, `perRow` entries per row of which the first one
// locates the row.
void decodeSegmentRows(const FrameContext& f, std::uint64_t perRow, Picture& picture,
                       FrameStream& stream) {
    const std::int64_t spriteWidth = f.header.spriteWidth;
    if (spriteWidth <= 0) {
        return;
    }
    checkSpriteWidth(f.frame, spriteWidth, picture);
    SpritePainter painter(picture, f.frame, f.header.left, f.header.top);
    for (std::int64_t row = 0; row < f.header.spriteHeight; ++row) {
        // The table holds entries for the picture's H rows.
        if (row >= picture.height) {
            damagedSprite(f.frame, "row " + std::to_string(row) + " of " +
                                       std::to_string(f.header.spriteHeight) +
                                       " has no offset; the row table holds " +
                                       std::to_string(picture.height) + " rows");
        }
        stream.seek(f.data + 2 * perRow * static_cast<std::uint64_t>(row));
        const std::uint16_t rowOffset = stream.u16();
        stream.seek(f.data + rowOffset);
        decodeSegmentRow(painter, stream, row, spriteWidth);
    }
}

void decodeType3(const FrameContext& f, Picture& picture, FrameStream& stream) {
    const std::int32_t groups = f.header.spriteWidth / 32;
    if (f.header.spriteWidth > 0 && f.header.spriteHeight > 0 && groups == 0) {
        damagedSprite(f.frame, "a type-3 sprite " + std::to_string(f.header.spriteWidth) +
                                   " pixels wide has no row offsets (one per 32 columns)");
    }
    decodeSegmentRows(f, static_cast<std::uint64_t>(std::max(groups, 0)), picture, stream);
}

// Type 0: the whole picture, W × H bytes from the top.
void decodeType0(const FrameContext& f, Picture& picture, FrameStream& stream) {
    stream.seek(f.data);
    for (std::uint8_t& pixel : picture.pixels) {
        pixel = stream.byte();
    }
}

}  // namespace

std::int32_t defShownType(std::int32_t headerType, std::string_view defFileName) {
    if (defFileName == "SGTWMTA.def" || defFileName == "SGTWMTB.def") {
        return kFullPictureType;
    }
    return headerType;
}

DefHeaderInfo readDefHeader(Bytes def) {
    ByteReader reader(def);
    reader.require(kDefHeaderSize);
    DefHeaderInfo info;
    info.type = reader.i32();
    info.width = reader.i32();
    info.height = reader.i32();
    return info;
}

DefSprite DefSprite::walk(Bytes def, std::string_view defFileName) {
    DefSprite sprite;
    sprite.def_ = def;
    const DefHeaderInfo header = readDefHeader(def);
    sprite.headerType_ = header.type;
    sprite.type_ = defShownType(header.type, defFileName);
    sprite.width_ = header.width;
    sprite.height_ = header.height;

    ByteReader reader(def, 12);
    int blockCount = static_cast<int>(reader.u32() & 0xFF);
    if (fileNamePart(defFileName) == "Cphx.def") {
        blockCount = kCphxBlockCount;
    }
    reader.seek(kDefHeaderSize);
    const std::uint64_t fileLength = def.size();
    for (int block = 1;; ++block) {
        const std::int32_t blockIdentifier = reader.i32();
        const std::int32_t frameCount = reader.i32();
        /* unused = */ reader.u32();
        /* unused = */ reader.u32();
        if (block > blockCount) {
            break;  // the header after the last block must still be there
        }
        if (frameCount < 0) {
            throw ResourceError(ErrorKind::DamagedSprite,
                                "block " + std::to_string(block) + " states " +
                                    std::to_string(frameCount) + " frames");
        }
        DefBlockInfo& info = sprite.blocks_.emplace_back();
        info.identifier = blockIdentifier;
        info.firstFrame = sprite.frameTotal() + 1;
        if (frameCount == 0) {
            continue;  // no names, no offsets
        }
        const auto count = static_cast<std::uint64_t>(frameCount);
        const std::uint64_t perFrame = kFrameNameSize + kFrameOffsetSize;
        if (count > reader.remaining() / perFrame) {
            throw ResourceError(ErrorKind::DamagedSprite,
                                "block " + std::to_string(block) + " states " +
                                    std::to_string(count) + " frames; the " +
                                    std::to_string(reader.remaining()) +
                                    " bytes left can hold at most " +
                                    std::to_string(reader.remaining() / perFrame));
        }
        reader.require(count * kFrameNameSize);
        for (std::uint64_t i = 0; i < count; ++i) {
            const Bytes name = reader.bytes(kFrameNameSize);
            info.frameNames.emplace_back(reinterpret_cast<const char*>(name.data()), name.size());
        }

        // The offsets normally follow the names. Search forward for the first position whose
        // value points at a frame header of a known compression type.
        const std::uint64_t searchStart = reader.position();
        reader.require(8);
        std::optional<std::uint64_t> found;
        for (int k = 0; k < kOffsetSearchCandidates && !found; ++k) {
            reader.seek(searchStart + static_cast<std::uint64_t>(k));
            const std::uint32_t candidate = reader.u32();
            if (candidate >= fileLength || fileLength - candidate < 8) {
                continue;  // points at no frame header
            }
            const auto compression = static_cast<std::int32_t>(loadU32(&def[candidate + 4]));
            if (compression <= 3) {
                found = searchStart + static_cast<std::uint64_t>(k);
            }
        }
        if (!found) {
            throw ResourceError(ErrorKind::DamagedSprite,
                                "no frame offsets found within " +
                                    std::to_string(kOffsetSearchCandidates) +
                                    " bytes after the "
                                    "names of block " +
                                    std::to_string(block));
        }
        reader.seek(*found);
        reader.require(count * kFrameOffsetSize);
        for (std::uint64_t i = 0; i < count; ++i) {
            sprite.frameOffsets_.push_back(reader.u32());
        }
    }
    return sprite;
}

std::uint32_t DefSprite::frameOffset(std::uint32_t frame) const {
    if (frame < 1 || frame > frameTotal()) {
        throw ResourceError(ErrorKind::NoSuchFrame, "frame " + std::to_string(frame) +
                                                        "; the sprite has frames 1 to " +
                                                        std::to_string(frameTotal()));
    }
    return frameOffsets_[frame - 1];
}

DefFrameHeader DefSprite::frameHeader(std::uint32_t frame) const {
    ByteReader reader(def_, frameOffset(frame));
    reader.require(kFrameHeaderSize);
    DefFrameHeader header;
    /* unused = */ reader.u32();
    header.compression = reader.i32();
    /* unused = */ reader.u32();
    /* unused = */ reader.u32();
    header.spriteWidth = reader.i32();
    header.spriteHeight = reader.i32();
    header.left = reader.i32();
    header.top = reader.i32();
    return header;
}

Picture DefSprite::decodeFrame(std::uint32_t frame) const {
    const FrameContext context{frame, frameOffset(frame), frameOffset(frame) + kFrameHeaderSize,
                               frameHeader(frame)};
    checkPictureSize(width_, height_, ErrorKind::DamagedSprite);
    Picture picture = Picture::blank(width_, height_, PixelFormat::Indexed8);
    picture.palette = palette();
    FrameStream stream(def_);
    switch (context.header.compression) {
        case 1:
            decodeType1(context, type_ == kFullPictureType, picture, stream);
            break;
        case 3:
            decodeType3(context, picture, stream);
            break;
        case 2:
            decodeSegmentRows(context, 1, picture, stream);
            break;
        case 0:
            decodeType0(context, picture, stream);
            break;
        default:
            damagedSprite(frame, "compression type " + std::to_string(context.header.compression) +
                                     " is none of 0 to 3");
    }
    return picture;
}

Palette DefSprite::palette() const {
    const Bytes stored = ByteReader(def_, kPaletteOffset).bytes(kPaletteSize);
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {static_cast<std::uint8_t>(stored[3 * i]),
                      static_cast<std::uint8_t>(stored[3 * i + 1]),
                      static_cast<std::uint8_t>(stored[3 * i + 2])};
    }
    return palette;
}

std::string defTypeText(std::int32_t type) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X",
                  static_cast<unsigned>(static_cast<std::uint32_t>(type)));
    return text;
}

}  // namespace brasvel
