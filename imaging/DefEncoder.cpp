#include "imaging/DefEncoder.h"

#include <algorithm>
#include <cstring>

#include "base/ResourceError.h"
#include "imaging/Bmp.h"
#include "imaging/DefSprite.h"

// The layout written is the one DefSprite reads (see DefSprite.cpp): a 16-byte header, the
// palette, per block a 16-byte header, the frame names (13 bytes each) and the frame offsets,
// then the frames, each a 32-byte header and its data. Rows are cut into runs and literals:
//
//   type 1  pairs (index, count - 1); index 0xFF starts count literal bytes; at most 256
//   types 2 and 3  one byte (kind << 5 | count - 1): kinds 0 to 6 run that index, kind 7 is
//           count literal bytes; at most 32. Type 3 cuts each row into groups of 32 columns
//           (the last takes the rest) and gives each group its own offset.

namespace brasvel {
namespace {

constexpr std::size_t kNameSize = 13;
constexpr std::size_t kMostBlocks = 255;
// After the last block the reader expects one more block header's worth of bytes.
constexpr std::size_t kTrailingHeaderSize = 16;
// The full-picture placement reads type-1 data 8 bytes before the first row offset's target
// and stores three rows fewer than the picture has.
constexpr std::uint32_t kFullPictureShift = 8;
constexpr std::int32_t kFullPictureRowsLeftOut = 3;

using Out = std::vector<std::byte>;

[[noreturn]] void cannotWrite(const std::string& what) {
    throw ResourceError("Cannot write sprite", what);
}

void put32(Out& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::byte>((value >> shift) & 0xFF));
    }
}

void putI32(Out& out, std::int32_t value) {
    put32(out, static_cast<std::uint32_t>(value));
}

void set32(Out& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<std::size_t>(i)] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
    }
}

void set16(Out& out, std::size_t at, std::size_t value, const std::string& frame) {
    if (value > 0xFFFF) {
        cannotWrite(frame + ": its rows reach beyond the 16-bit offsets of types 2 and 3 (" +
                    std::to_string(value) + " bytes); store it as type 1");
    }
    out[at] = static_cast<std::byte>(value & 0xFF);
    out[at + 1] = static_cast<std::byte>(value >> 8);
}

std::size_t runLength(const std::uint8_t* row, std::size_t from, std::size_t end,
                      std::size_t limit) {
    std::size_t length = 1;
    while (from + length < end && length < limit && row[from + length] == row[from]) {
        ++length;
    }
    return length;
}

// Type 1: runs of two or more pixels (and single transparent ones) are pairs; the rest, and
// every pixel of index 0xFF, literals.
void putRowType1(Out& out, const std::uint8_t* row, std::size_t width) {
    constexpr std::size_t kLongest = 256;
    std::size_t at = 0;
    const auto startsRun = [&](std::size_t x) {
        return row[x] != 0xFF && (row[x] == 0 || runLength(row, x, width, 2) >= 2);
    };
    while (at < width) {
        if (startsRun(at)) {
            const std::size_t run = runLength(row, at, width, kLongest);
            out.push_back(std::byte{row[at]});
            out.push_back(static_cast<std::byte>(run - 1));
            at += run;
            continue;
        }
        std::size_t count = 1;
        while (at + count < width && count < kLongest && !startsRun(at + count)) {
            ++count;
        }
        out.push_back(std::byte{0xFF});
        out.push_back(static_cast<std::byte>(count - 1));
        for (std::size_t i = 0; i < count; ++i) {
            out.push_back(std::byte{row[at + i]});
        }
        at += count;
    }
}

// Types 2 and 3: indices 0 to 6 run (a single pixel costs one byte too); others are literals.
void putRowCodes(Out& out, const std::uint8_t* row, std::size_t from, std::size_t end) {
    constexpr std::size_t kLongest = 32;
    constexpr std::uint8_t kLastRunKind = 6;
    std::size_t at = from;
    while (at < end) {
        if (row[at] <= kLastRunKind) {
            const std::size_t run = runLength(row, at, end, kLongest);
            out.push_back(static_cast<std::byte>(row[at] << 5 | (run - 1)));
            at += run;
            continue;
        }
        std::size_t count = 1;
        while (at + count < end && count < kLongest && row[at + count] > kLastRunKind) {
            ++count;
        }
        out.push_back(static_cast<std::byte>(7U << 5 | (count - 1)));
        for (std::size_t i = 0; i < count; ++i) {
            out.push_back(std::byte{row[at + i]});
        }
        at += count;
    }
}

struct Bounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

Bounds opaqueBounds(const Picture& picture) {
    std::int32_t left = picture.width;
    std::int32_t right = -1;
    std::int32_t top = -1;
    std::int32_t bottom = -1;
    const auto visible = [](std::uint8_t index) { return index != 0; };
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = picture.row(y);
        const std::uint8_t* end = row + picture.width;
        const std::uint8_t* first = std::find_if(row, end, visible);
        if (first == end) {
            continue;
        }
        const auto last = std::find_if(std::reverse_iterator(end), std::reverse_iterator(first),
                                       visible);
        left = std::min(left, static_cast<std::int32_t>(first - row));
        right = std::max(right, static_cast<std::int32_t>(last.base() - row) - 1);
        top = top < 0 ? y : top;
        bottom = y;
    }
    if (right < 0) {
        return {};
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

// The data of a frame stored as `compression`, placed at `box` in the picture.
Out encodeRows(const Picture& picture, std::int32_t compression, const Bounds& box,
               const std::string& label) {
    Out data;
    const auto rowAt = [&](std::int32_t y) { return picture.row(box.top + y) + box.left; };
    const auto width = static_cast<std::size_t>(box.width);
    const auto height = static_cast<std::size_t>(std::max(box.height, 0));
    // Room for the pixels, the codes of their literals and the row table, which is what most
    // frames take: the data then grows in place.
    data.reserve(width * height + (width / 32 + 2) * height + 8 * height);
    switch (compression) {
        case 1: {
            data.resize(4 * height);
            for (std::size_t y = 0; y < height; ++y) {
                set32(data, 4 * y, static_cast<std::uint32_t>(data.size()));
                putRowType1(data, rowAt(static_cast<std::int32_t>(y)), width);
            }
            break;
        }
        case 2: {
            data.resize(2 * height);
            for (std::size_t y = 0; y < height; ++y) {
                set16(data, 2 * y, data.size(), label);
                putRowCodes(data, rowAt(static_cast<std::int32_t>(y)), 0, width);
            }
            break;
        }
        case 3: {
            const std::size_t groups = width / 32;
            data.resize(2 * groups * height);
            for (std::size_t y = 0; y < height; ++y) {
                for (std::size_t g = 0; g < groups; ++g) {
                    set16(data, 2 * (y * groups + g), data.size(), label);
                    const std::size_t end = g + 1 == groups ? width : 32 * (g + 1);
                    putRowCodes(data, rowAt(static_cast<std::int32_t>(y)), 32 * g, end);
                }
            }
            break;
        }
        default:
            break;
    }
    return data;
}

void putFrame(Out& out, const DefSource& source, const DefFrameSource& frame,
              const std::string& label) {
    const Picture& picture = frame.picture;
    Bounds box;
    Out data;
    if (frame.compression == 0) {
        box = {0, 0, source.width, source.height};
        data.resize(picture.pixels.size());
        std::memcpy(data.data(), picture.pixels.data(), picture.pixels.size());
    } else if (frame.compression == 1 && source.fullPicture) {
        const std::int32_t rows = std::max(source.height - kFullPictureRowsLeftOut, 0);
        for (std::int32_t y = rows; y < source.height; ++y) {
            const std::uint8_t* row = picture.row(y);
            if (std::any_of(row, row + source.width, [](std::uint8_t i) { return i != 0; })) {
                cannotWrite(label + ": a full-picture sprite (type " +
                            std::to_string(kFullPictureType) +
                            ") stores no pixels in its last three rows with compression 1");
            }
        }
        box = {0, 0, source.width, rows};
        data = encodeRows(picture, 1, box, label);
        if (!data.empty()) {
            set32(
                data, 0,
                static_cast<std::uint32_t>(4 * static_cast<std::size_t>(rows)) + kFullPictureShift);
        }
    } else {
        box = opaqueBounds(picture);
        if (frame.compression == 3 && box.width > 0 && box.width < 32) {
            // Type 3 has one offset per 32 columns, so a row needs 32 of them at least.
            if (source.width < 32) {
                cannotWrite(label +
                            ": type 3 needs sprites at least 32 pixels wide; the picture is " +
                            std::to_string(source.width));
            }
            const std::int32_t right = std::min(box.left + 32, source.width);
            box.left = right - 32;
            box.width = 32;
        }
        data = encodeRows(picture, frame.compression, box, label);
    }
    put32(out, static_cast<std::uint32_t>(data.size()));
    putI32(out, frame.compression);
    putI32(out, source.width);
    putI32(out, source.height);
    putI32(out, box.width);
    putI32(out, box.height);
    putI32(out, box.left);
    putI32(out, box.top);
    out.insert(out.end(), data.begin(), data.end());
}

void checkSource(const DefSource& source) {
    checkPictureSize(source.width, source.height, "sprite");
    if (source.blocks.size() > kMostBlocks) {
        cannotWrite(std::to_string(source.blocks.size()) + " blocks; a sprite holds at most " +
                    std::to_string(kMostBlocks));
    }
    for (std::size_t b = 0; b < source.blocks.size(); ++b) {
        for (std::size_t f = 0; f < source.blocks[b].frames.size(); ++f) {
            const DefFrameSource& frame = source.blocks[b].frames[f];
            const std::string label = "frame " + std::to_string(b) + "-" + std::to_string(f);
            if (frame.picture.format != PixelFormat::Indexed8 ||
                frame.picture.width != source.width || frame.picture.height != source.height ||
                frame.picture.pixels.size() !=
                    frame.picture.rowBytes() * static_cast<std::size_t>(source.height)) {
                cannotWrite(label + " is not an indexed picture of " +
                            std::to_string(source.width) + " x " + std::to_string(source.height) +
                            " pixels");
            }
            if (frame.name.size() > kNameSize) {
                cannotWrite(label + ": the name " + frame.name + " is longer than " +
                            std::to_string(kNameSize) + " bytes");
            }
            if (frame.compression < 0 || frame.compression > 3) {
                cannotWrite(label + ": compression type " + std::to_string(frame.compression) +
                            " is none of 0 to 3");
            }
        }
    }
}

}  // namespace

std::vector<std::byte> encodeDef(const DefSource& source) {
    checkSource(source);
    Out out;
    putI32(out, source.type);
    putI32(out, source.width);
    putI32(out, source.height);
    put32(out, static_cast<std::uint32_t>(source.blocks.size()));
    for (const Colour& colour : source.palette) {
        out.insert(out.end(),
                   {std::byte{colour.red}, std::byte{colour.green}, std::byte{colour.blue}});
    }
    // The directory first, with room for the offsets; the frames after it.
    std::vector<std::size_t> offsetSlots;
    for (const DefBlockSource& block : source.blocks) {
        putI32(out, block.identifier);
        putI32(out, static_cast<std::int32_t>(block.frames.size()));
        put32(out, 0);
        put32(out, 0);
        for (const DefFrameSource& frame : block.frames) {
            std::string name = frame.name;
            name.resize(kNameSize, '\0');
            for (const char c : name) {
                out.push_back(static_cast<std::byte>(c));
            }
        }
        for (std::size_t f = 0; f < block.frames.size(); ++f) {
            offsetSlots.push_back(out.size());
            put32(out, 0);
        }
    }
    const std::size_t framesStart = out.size();
    std::size_t slot = 0;
    for (std::size_t b = 0; b < source.blocks.size(); ++b) {
        for (std::size_t f = 0; f < source.blocks[b].frames.size(); ++f) {
            if (out.size() > 0xFFFFFFFFU) {
                cannotWrite("the sprite grows beyond 4 GB");
            }
            set32(out, offsetSlots[slot++], static_cast<std::uint32_t>(out.size()));
            putFrame(out, source, source.blocks[b].frames[f],
                     "frame " + std::to_string(b) + "-" + std::to_string(f));
        }
    }
    if (out.size() - framesStart < kTrailingHeaderSize) {
        out.resize(framesStart + kTrailingHeaderSize);
    }
    return out;
}

}  // namespace brasvel
