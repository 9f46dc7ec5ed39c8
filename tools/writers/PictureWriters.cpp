// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "tools/writers/PictureWriters.h"

#include <stdexcept>

#include "tools/writers/ArchiveWriters.h"

namespace brasvel::writers {

std::string gamePcx(std::int32_t size, std::int32_t width, std::int32_t height,
                    std::string_view pixelBlock, std::string_view after) {
    std::string out;
    putI32(out, size);
    putI32(out, width);
    putI32(out, height);
    out += pixelBlock;
    out += after;
    return out;
}

std::string gamePcx8(const PixelGrid& picture, std::string_view rgbPalette) {
    const std::string block(picture.pixels.begin(), picture.pixels.end());
    std::string palette(rgbPalette.substr(0, 768));
    palette.resize(768, '\0');
    return gamePcx(static_cast<std::int32_t>(block.size()), picture.width, picture.height, block,
                   palette);
}

std::string gamePcx24(std::int32_t width, std::int32_t height, std::string_view pixels) {
    return gamePcx(static_cast<std::int32_t>(pixels.size()), width, height, pixels);
}

namespace {

// A row cut into runs of one index and stretches of literal pixels.
struct Segment {
    bool literal = false;
    std::uint8_t index = 0;
    std::size_t start = 0;
    std::size_t count = 0;
};

std::size_t runLength(const std::vector<std::uint8_t>& row, std::size_t from, std::size_t limit) {
    std::size_t length = 1;
    while (from + length < row.size() && length < limit && row[from + length] == row[from]) {
        ++length;
    }
    return length;
}

// Runs of at least two pixels become run segments where `canRun` allows the index; the rest are
// literals. No segment is longer than `maxCount`.
template <typename CanRun>
std::vector<Segment> segmentRow(const std::vector<std::uint8_t>& row, std::size_t maxCount,
                                CanRun canRun) {
    std::vector<Segment> segments;
    std::size_t at = 0;
    while (at < row.size()) {
        const std::size_t run = runLength(row, at, maxCount);
        if (canRun(row[at]) && (run >= 2 || row[at] <= 7)) {
            segments.push_back({false, row[at], at, run});
            at += run;
            continue;
        }
        Segment literal{true, 0, at, 0};
        while (at < row.size() && literal.count < maxCount) {
            const std::size_t next = runLength(row, at, maxCount);
            if (literal.count > 0 && canRun(row[at]) && (next >= 3 || row[at] <= 7)) {
                break;
            }
            ++literal.count;
            ++at;
        }
        segments.push_back(literal);
    }
    return segments;
}

std::vector<std::uint8_t> spriteRow(const PixelGrid& sprite, std::int32_t y, std::int32_t from,
                                    std::int32_t to) {
    std::vector<std::uint8_t> row;
    for (std::int32_t x = from; x < to; ++x) {
        row.push_back(sprite.at(x, y));
    }
    return row;
}

void putRowType1(std::string& out, const std::vector<std::uint8_t>& row) {
    for (const Segment& s : segmentRow(row, 256, [](std::uint8_t i) { return i != 0xFF; })) {
        out += static_cast<char>(s.literal ? 0xFF : s.index);
        out += static_cast<char>(s.count - 1);
        if (s.literal) {
            out.append(reinterpret_cast<const char*>(row.data() + s.start), s.count);
        }
    }
}

void putRowCodes(std::string& out, const std::vector<std::uint8_t>& row) {
    for (const Segment& s : segmentRow(row, 32, [](std::uint8_t i) { return i <= 6; })) {
        const unsigned kind = s.literal ? 7U : s.index;
        out += static_cast<char>(kind << 5 | static_cast<unsigned>(s.count - 1));
        if (s.literal) {
            out.append(reinterpret_cast<const char*>(row.data() + s.start), s.count);
        }
    }
}

void putU16Offset(std::string& out, std::size_t offset) {
    if (offset > 0xFFFF) {
        throw std::invalid_argument("sprite row offset beyond 16 bits");
    }
    putU16(out, static_cast<std::uint16_t>(offset));
}

std::string encodeData(const DefFrame& frame, std::int32_t pictureWidth,
                       std::int32_t pictureHeight) {
    const PixelGrid& sprite = frame.sprite;
    std::string table;
    std::string rows;
    switch (frame.compression) {
        case 0: {
            PixelGrid picture(pictureWidth, pictureHeight);
            for (std::int32_t y = 0; y < sprite.height; ++y) {
                for (std::int32_t x = 0; x < sprite.width; ++x) {
                    picture.set(frame.left + x, frame.top + y, sprite.at(x, y));
                }
            }
            return std::string(picture.pixels.begin(), picture.pixels.end());
        }
        case 1: {
            const std::size_t tableSize = 4 * static_cast<std::size_t>(sprite.height);
            for (std::int32_t y = 0; y < sprite.height; ++y) {
                const auto bias = y == 0 ? frame.firstRowBias : 0U;
                putU32(table, static_cast<std::uint32_t>(tableSize + rows.size()) + bias);
                putRowType1(rows, spriteRow(sprite, y, 0, sprite.width));
            }
            break;
        }
        case 2: {
            const std::size_t tableSize = 2 * static_cast<std::size_t>(sprite.height);
            for (std::int32_t y = 0; y < sprite.height; ++y) {
                putU16Offset(table, tableSize + rows.size());
                putRowCodes(rows, spriteRow(sprite, y, 0, sprite.width));
            }
            break;
        }
        case 3: {
            // One offset per 32 columns; the last group takes the columns left over.
            const std::int32_t groups = sprite.width / 32;
            const std::size_t tableSize =
                2 * static_cast<std::size_t>(groups) * static_cast<std::size_t>(sprite.height);
            for (std::int32_t y = 0; y < sprite.height; ++y) {
                if (groups == 0) {
                    putRowCodes(rows, spriteRow(sprite, y, 0, sprite.width));
                }
                for (std::int32_t g = 0; g < groups; ++g) {
                    putU16Offset(table, tableSize + rows.size());
                    const std::int32_t end = g + 1 == groups ? sprite.width : 32 * (g + 1);
                    putRowCodes(rows, spriteRow(sprite, y, 32 * g, end));
                }
            }
            break;
        }
        default:
            throw std::invalid_argument("the writer encodes compression types 0 to 3");
    }
    return table + rows;
}

}  // namespace

std::string encodeDefFrame(const DefFrame& frame, std::int32_t pictureWidth,
                           std::int32_t pictureHeight) {
    if (frame.raw) {
        return *frame.raw;
    }
    std::string out;
    putU32(out, 0);  // unused by the decoder; the data's length in the game's own files
    putI32(out, frame.statedCompression.value_or(frame.compression));
    putI32(out, pictureWidth);
    putI32(out, pictureHeight);
    putI32(out, frame.sprite.width);
    putI32(out, frame.sprite.height);
    putI32(out, frame.left);
    putI32(out, frame.top);
    const std::string data = encodeData(frame, pictureWidth, pictureHeight);
    std::string size;
    putU32(size, static_cast<std::uint32_t>(data.size()));
    out.replace(0, 4, size);
    return out + data;
}

DefWriter::DefWriter(std::int32_t type, std::int32_t width, std::int32_t height,
                     std::string_view rgbPalette)
    : type_(type), width_(width), height_(height), palette_(rgbPalette.substr(0, 768)) {
    palette_.resize(768, '\0');
}

DefWriter& DefWriter::block(DefBlock block) {
    blocks_.push_back(std::move(block));
    return *this;
}

DefWriter& DefWriter::statedBlockCount(std::uint32_t count) {
    blockCount_ = count;
    return *this;
}

std::string DefWriter::build() const {
    std::string out;
    putI32(out, type_);
    putI32(out, width_);
    putI32(out, height_);
    putU32(out, blockCount_.value_or(static_cast<std::uint32_t>(blocks_.size())));
    out += palette_;

    std::size_t directorySize = 0;
    for (const DefBlock& block : blocks_) {
        directorySize += 16 + 17 * block.frames.size() + block.beforeOffsets.size();
    }
    std::size_t frameOffset = out.size() + directorySize;
    std::string frames;
    for (const DefBlock& block : blocks_) {
        putI32(out, block.identifier);
        putI32(out,
               block.statedFrameCount.value_or(static_cast<std::int32_t>(block.frames.size())));
        putU32(out, 0);
        putU32(out, 0);
        for (const DefFrame& frame : block.frames) {
            out += nameField(frame.name, 13);
        }
        out += block.beforeOffsets;
        for (const DefFrame& frame : block.frames) {
            putU32(out, static_cast<std::uint32_t>(frameOffset + frames.size()));
            frames += encodeDefFrame(frame, width_, height_);
        }
    }
    return out + frames;
}

DefFrame defFrame(std::int32_t compression, PixelGrid sprite, std::int32_t left,
                  std::int32_t top) {
    DefFrame frame;
    frame.name = "frame" + std::to_string(compression) + ".pcx";
    frame.compression = compression;
    frame.sprite = std::move(sprite);
    frame.left = left;
    frame.top = top;
    return frame;
}

DefBlock defBlock(std::vector<DefFrame> frames, std::int32_t identifier) {
    DefBlock block;
    block.identifier = identifier;
    block.frames = std::move(frames);
    return block;
}

}  // namespace brasvel::writers
