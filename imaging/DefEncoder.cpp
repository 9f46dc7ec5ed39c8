// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/DefEncoder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

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
//
// Speed: rows are scanned eight pixels at a time (whole words, tested bytewise without a branch
// per pixel; sixteen with SSE2), type 1 is built from the stretches of equal pixels that those
// scans find, and each frame is written into room made once for the most it can take, so the
// encoders write without a check per byte. The bytes written are those of the plain
// pixel-by-pixel rules above, which the tests pin.

namespace brasvel {
namespace {

constexpr std::size_t kNameSize = 13;
constexpr std::size_t kMostBlocks = 255;
// After the last block the reader expects one more block header's worth of bytes.
constexpr std::size_t kTrailingHeaderSize = 16;
constexpr std::size_t kFrameHeaderSize = 32;
// The full-picture placement reads type-1 data 8 bytes before the first row offset's target
// and stores three rows fewer than the picture has.
constexpr std::uint32_t kFullPictureShift = 8;
constexpr std::int32_t kFullPictureRowsLeftOut = 3;

using Out = std::vector<std::byte>;

[[noreturn]] void cannotWrite(const std::string& what) {
    throw ResourceError(ErrorKind::CannotWriteSprite, what);
}

// Which frame is written, spelled out only when a refusal names it.
struct FrameLabel {
    std::size_t block = 0;
    std::size_t frame = 0;

    std::string text() const {
        return "frame " + std::to_string(block) + "-" + std::to_string(frame);
    }
};

void put32(Out& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::byte>((value >> shift) & 0xFF));
    }
}

void putI32(Out& out, std::int32_t value) {
    put32(out, static_cast<std::uint32_t>(value));
}

void set32(std::byte* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
    }
}

void set16(std::byte* at, std::size_t value, const FrameLabel& frame) {
    if (value > 0xFFFF) {
        cannotWrite(frame.text() + ": its rows reach beyond the 16-bit offsets of types 2 and 3 (" +
                    std::to_string(value) + " bytes); store it as type 1");
    }
    at[0] = static_cast<std::byte>(value & 0xFF);
    at[1] = static_cast<std::byte>(value >> 8);
}

// Eight pixels as one little-endian word: pixel i is byte i. The tests below mark the pixels
// they find with a bit in that pixel's byte, exactly (no carry crosses from one byte into the
// next), so the first pixel found is the lowest marked byte.
constexpr std::size_t kWord = 8;
constexpr std::uint64_t kOnes = 0x0101010101010101U;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FU;
constexpr std::uint64_t kHigh = 0x8080808080808080U;

std::uint64_t load(const std::uint8_t* pixels) {
    std::uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&word, pixels, kWord);
    } else {
        for (std::size_t i = 0; i < kWord; ++i) {
            word |= std::uint64_t{pixels[i]} << (8 * i);
        }
    }
    return word;
}

std::uint64_t zeroBytes(std::uint64_t word) {
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// Bytes below `bound` (1 to 128).
std::uint64_t bytesBelow(std::uint64_t word, std::uint64_t bound) {
    return ~(((word & kLow7) + (0x80 - bound) * kOnes) | word) & kHigh;
}

std::size_t firstMarked(std::uint64_t marks) {
    return static_cast<std::size_t>(std::countr_zero(marks)) / 8;
}

// The pixels from `row` on, at most `limit`, before the first one `stops`; `marksWord(at)`
// marks those of the eight from `at` on that `stops`.
template <typename MarksWord, typename Stops>
std::size_t spanBefore(const std::uint8_t* row, std::size_t limit, MarksWord marksWord,
                       Stops stops) {
    std::size_t at = 0;
    for (; at + kWord <= limit; at += kWord) {
        if (const std::uint64_t marks = marksWord(row + at); marks != 0) {
            return at + firstMarked(marks);
        }
    }
    while (at < limit && !stops(row + at)) {
        ++at;
    }
    return at;
}

// The pixels from `row` on, at most `limit`, of the first one's index. The first sixteen are
// compared without a branch when there are as many, as most runs end within them.
std::size_t runLength(const std::uint8_t* row, std::size_t limit) {
    const std::uint8_t index = *row;
    const std::uint64_t pattern = index * kOnes;
    std::size_t run = 0;
    if (limit >= 2 * kWord) {
        const std::uint64_t first = load(row) ^ pattern;
        const std::uint64_t second = load(row + kWord) ^ pattern;
        // 64 bits alike in the first word (a shift by 6 makes that 1) add the second's.
        const auto alike = static_cast<unsigned>(std::countr_zero(first));
        const auto alikeAfter = static_cast<unsigned>(std::countr_zero(second));
        run = (alike + (alikeAfter & (0U - (alike >> 6)))) / 8;
        if (run < 2 * kWord) {
            return run;
        }
    }
    return run + spanBefore(
                     row + run, limit - run,
                     [pattern](const std::uint8_t* at) { return load(at) ^ pattern; },
                     [index](const std::uint8_t* at) { return *at != index; });
}

// Where the frame's data goes: room made beforehand for the most it can take (see
// mostDataBytes), so the row encoders write without a check per byte. They take and return
// the end of what is written.
struct Room {
    std::byte* start;
    std::byte* end;

    std::size_t size() const { return static_cast<std::size_t>(end - start); }
};

// Copies written whole need this much room past the most a frame takes.
constexpr std::size_t kCopySlack = 32;

std::byte* put(std::byte* to, std::uint8_t value) {
    *to = std::byte{value};
    return to + 1;
}

std::byte* putPair(std::byte* to, std::uint8_t first, std::uint8_t second) {
    to[0] = std::byte{first};
    to[1] = std::byte{second};
    return to + 2;
}

// `count` pixels of the `readable` at `pixels`. Short copies go as one fixed block when as
// much can be read: writing past them is harmless, the room has slack and the next code
// overwrites it.
std::byte* putPixels(std::byte* to, const std::uint8_t* pixels, std::size_t count,
                     std::size_t readable) {
    if (count <= kCopySlack && readable >= kCopySlack) {
        std::memcpy(to, pixels, kCopySlack);
    } else {
        std::memcpy(to, pixels, count);
    }
    return to + count;
}

// Bit i set where pixel i of the word differs from the pixel before it (`pixels` - 1).
std::uint64_t changes(const std::uint8_t* pixels) {
    const std::uint64_t differing = ~zeroBytes(load(pixels) ^ load(pixels - 1)) & kHigh;
    // The multiplication gathers the high bit of byte i into bit 56 + i, nothing else there.
    constexpr std::uint64_t kGather = 0x0102040810204080U;
    return ((differing >> 7) * kGather) >> 56;
}

// Calls `visit(start, length)` for each stretch of equal pixels of the row, left to right.
// Rows are compared 64 pixels at a time, and the stretches found from the bits of their
// changes, so a stretch costs a few steps whatever its length.
template <typename Visit>
void forEachStretch(const std::uint8_t* row, std::size_t width, Visit visit) {
    constexpr std::size_t kBlock = 8 * kWord;
    if (width == 0) {
        return;
    }
    std::size_t start = 0;
    // Bit i of a block stands for pixel at + i, set where a stretch starts there; the end of
    // the row counts as one.
    for (std::size_t at = 1;; at += kBlock) {
        const std::size_t compared = std::min(kBlock, width - at);
        std::uint64_t bits = 0;
        std::size_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
        // Sixteen pixels a step where every x86-64 processor can.
        for (; i + 16 <= compared; i += 16) {
            const auto* pixels = reinterpret_cast<const __m128i*>(row + at + i);
            const __m128i same =
                _mm_cmpeq_epi8(_mm_loadu_si128(pixels),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at + i - 1)));
            bits |= std::uint64_t{~static_cast<std::uint32_t>(_mm_movemask_epi8(same)) & 0xFFFFU}
                    << i;
        }
        // The rest from the sixteen pixels that end where the block does, when the row holds
        // them: the bits of those already done are shifted out.
        if (const std::size_t rest = compared - i; rest > 0 && at + compared > 16) {
            const std::uint8_t* last = row + at + compared - 16;
            const __m128i same =
                _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(last)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(last - 1)));
            const std::uint32_t differ =
                ~static_cast<std::uint32_t>(_mm_movemask_epi8(same)) & 0xFFFFU;
            bits |= std::uint64_t{differ >> (16 - rest)} << i;
            i = compared;
        }
#endif
        for (; i + kWord <= compared; i += kWord) {
            bits |= changes(row + at + i) << i;
        }
        for (; i < compared; ++i) {
            bits |= std::uint64_t{row[at + i] != row[at + i - 1]} << i;
        }
        if (compared < kBlock) {
            bits |= std::uint64_t{1} << compared;
        }
        for (; bits != 0; bits &= bits - 1) {
            const std::size_t change = at + static_cast<std::size_t>(std::countr_zero(bits));
            visit(start, change - start);
            start = change;
        }
        if (compared < kBlock) {
            return;
        }
    }
}

// Type 1: runs of two or more pixels (and single transparent ones) are pairs; the rest, and
// every pixel of index 0xFF, literals. At most three bytes a pixel (a literal of one).
//
// Pixel by pixel that reads: a run starts at a pixel other than 0xFF that is 0 or equal to the
// next one, and takes up to 256 equal pixels; a literal takes up to 256 pixels until the next
// run starts. Over stretches of equal pixels the same codes come out as below: a stretch of
// 0xFF, or a single pixel other than 0, joins the literal; any other stretch is pairs of up to
// 256, and a single non-zero pixel left over joins the literal after them.
std::byte* putRowType1(std::byte* to, const std::uint8_t* row, std::size_t width) {
    constexpr std::size_t kLongest = 256;
    std::size_t literalStart = 0;
    std::size_t literalLength = 0;
    const auto putLiteral = [&] {
        while (literalLength > 0) {
            const std::size_t count = std::min(literalLength, kLongest);
            to = putPair(to, 0xFF, static_cast<std::uint8_t>(count - 1));
            to = putPixels(to, row + literalStart, count, width - literalStart);
            literalStart += count;
            literalLength -= count;
        }
    };
    const auto joinLiteral = [&](std::size_t start, std::size_t length) {
        if (literalLength == 0) {
            literalStart = start;
        }
        literalLength += length;
    };
    forEachStretch(row, width, [&](std::size_t start, std::size_t length) {
        const std::uint8_t index = row[start];
        // Most stretches are one pair: from 2 to 256 pixels, not 0xFF.
        if (index != 0xFF && length - 2 < kLongest - 1) {
            putLiteral();
            to = putPair(to, index, static_cast<std::uint8_t>(length - 1));
            return;
        }
        if (index == 0xFF || (index != 0 && length == 1)) {
            joinLiteral(start, length);
            return;
        }
        putLiteral();
        while (length >= 2 || (index == 0 && length == 1)) {
            const std::size_t run = std::min(length, kLongest);
            to = putPair(to, index, static_cast<std::uint8_t>(run - 1));
            start += run;
            length -= run;
        }
        if (length == 1) {
            joinLiteral(start, 1);
        }
    });
    putLiteral();
    return to;
}

// Types 2 and 3: indices 0 to 6 run (a single pixel costs one byte too); others are literals.
// At most two bytes a pixel (a literal of one). Writes the pixels `from` to `end` of a row
// `width` long.
std::byte* putRowCodes(std::byte* to, const std::uint8_t* row, std::size_t from, std::size_t end,
                       std::size_t width) {
    constexpr std::size_t kLongest = 32;
    constexpr std::uint8_t kLastRunKind = 6;
    const auto marksRunKinds = [](const std::uint8_t* at) {
        return bytesBelow(load(at), kLastRunKind + 1);
    };
    const auto isRunKind = [](const std::uint8_t* at) { return *at <= kLastRunKind; };
    std::size_t at = from;
    while (at < end) {
        const std::size_t limit = std::min(kLongest, end - at);
        if (row[at] <= kLastRunKind) {
            const std::size_t run = runLength(row + at, limit);
            to = put(to, static_cast<std::uint8_t>(row[at] << 5 | (run - 1)));
            at += run;
            continue;
        }
        const std::size_t count = 1 + spanBefore(row + at + 1, limit - 1, marksRunKinds, isRunKind);
        to = put(to, static_cast<std::uint8_t>(7U << 5 | (count - 1)));
        to = putPixels(to, row + at, count, width - at);
        at += count;
    }
    return to;
}

struct Bounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The first non-zero pixel of the row, or `width`.
std::size_t firstVisible(const std::uint8_t* row, std::size_t width) {
    return spanBefore(
        row, width, [](const std::uint8_t* at) { return load(at); },
        [](const std::uint8_t* at) { return *at != 0; });
}

// One past the last non-zero pixel of the row; `from` when none lies at or after it.
std::size_t endOfVisible(const std::uint8_t* row, std::size_t from, std::size_t width) {
    std::size_t end = width;
    for (; end >= from + kWord; end -= kWord) {
        if (const std::uint64_t word = load(row + end - kWord); word != 0) {
            return end - static_cast<std::size_t>(std::countl_zero(word)) / 8;
        }
    }
    while (end > from && row[end - 1] == 0) {
        --end;
    }
    return end;
}

Bounds opaqueBounds(const Picture& picture) {
    const auto width = static_cast<std::size_t>(picture.width);
    std::size_t left = width;
    std::size_t right = 0;  // one past
    std::int32_t top = -1;
    std::int32_t bottom = -1;
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = picture.row(y);
        const std::size_t first = firstVisible(row, width);
        if (first == width) {
            continue;
        }
        left = std::min(left, first);
        // Only pixels beyond the right edge found so far can move it.
        right = std::max(right, endOfVisible(row, std::max(first, right), width));
        top = top < 0 ? y : top;
        bottom = y;
    }
    if (top < 0) {
        return {};
    }
    return {static_cast<std::int32_t>(left), top, static_cast<std::int32_t>(right - left),
            bottom - top + 1};
}

// The most bytes the data of a frame stored as `compression` in `box` can take: the row
// table, and for each pixel three bytes (type 1) or two (types 2 and 3).
std::size_t mostDataBytes(std::int32_t compression, const Bounds& box) {
    const auto width = static_cast<std::size_t>(box.width);
    const auto height = static_cast<std::size_t>(box.height);
    switch (compression) {
        case 1:
            return (4 + 3 * width) * height;
        case 2:
            return (2 + 2 * width) * height;
        case 3:
            return (2 * (width / 32) + 2 * width) * height;
        default:
            return width * height;
    }
}

// The data of a frame stored as `compression`, placed at `box` in the picture, written into
// `out`, which has room for mostDataBytes.
void encodeRows(Room& out, const Picture& picture, std::int32_t compression, const Bounds& box,
                const FrameLabel& label) {
    const auto rowAt = [&](std::size_t y) {
        return picture.row(box.top + static_cast<std::int32_t>(y)) + box.left;
    };
    const auto width = static_cast<std::size_t>(box.width);
    const auto height = static_cast<std::size_t>(box.height);
    switch (compression) {
        case 1: {
            out.end += 4 * height;
            for (std::size_t y = 0; y < height; ++y) {
                set32(out.start + 4 * y, static_cast<std::uint32_t>(out.size()));
                out.end = putRowType1(out.end, rowAt(y), width);
            }
            break;
        }
        case 2: {
            out.end += 2 * height;
            for (std::size_t y = 0; y < height; ++y) {
                set16(out.start + 2 * y, out.size(), label);
                out.end = putRowCodes(out.end, rowAt(y), 0, width, width);
            }
            break;
        }
        case 3: {
            const std::size_t groups = width / 32;
            out.end += 2 * groups * height;
            for (std::size_t y = 0; y < height; ++y) {
                for (std::size_t g = 0; g < groups; ++g) {
                    set16(out.start + 2 * (y * groups + g), out.size(), label);
                    const std::size_t end = g + 1 == groups ? width : 32 * (g + 1);
                    out.end = putRowCodes(out.end, rowAt(y), 32 * g, end, width);
                }
            }
            break;
        }
        default:
            for (std::size_t y = 0; y < height; ++y) {
                std::memcpy(out.end, rowAt(y), width);
                out.end += width;
            }
            break;
    }
}

// Where and how a frame is stored.
struct FramePlan {
    Bounds box;
    std::int32_t compression = 0;
    bool fullPicture = false;
};

FramePlan planFrame(const DefSource& source, const DefFrameSource& frame, const FrameLabel& label) {
    const Picture& picture = frame.picture;
    if (frame.compression == 0) {
        return {{0, 0, source.width, source.height}, 0, false};
    }
    if (frame.compression == 1 && source.fullPicture) {
        const std::int32_t rows = std::max(source.height - kFullPictureRowsLeftOut, 0);
        for (std::int32_t y = rows; y < source.height; ++y) {
            const std::uint8_t* row = picture.row(y);
            if (firstVisible(row, static_cast<std::size_t>(source.width)) !=
                static_cast<std::size_t>(source.width)) {
                cannotWrite(label.text() + ": a full-picture sprite (type " +
                            std::to_string(kFullPictureType) +
                            ") stores no pixels in its last three rows with compression 1");
            }
        }
        return {{0, 0, source.width, rows}, 1, true};
    }
    Bounds box = opaqueBounds(picture);
    if (frame.compression == 3 && box.width > 0 && box.width < 32) {
        // Type 3 has one offset per 32 columns, so a row needs 32 of them at least.
        if (source.width < 32) {
            cannotWrite(label.text() +
                        ": type 3 needs sprites at least 32 pixels wide; the picture is " +
                        std::to_string(source.width));
        }
        const std::int32_t right = std::min(box.left + 32, source.width);
        box.left = right - 32;
        box.width = 32;
    }
    return {box, frame.compression, false};
}

// The frame's header and data, encoded in `scratch` (grown as needed and kept for the next
// frame, so that its room is made once) and appended to `out`.
void putFrame(Out& out, std::vector<std::byte>& scratch, const DefSource& source,
              const DefFrameSource& frame, const FramePlan& plan, const FrameLabel& label) {
    const std::size_t most =
        kFrameHeaderSize + mostDataBytes(plan.compression, plan.box) + kCopySlack;
    if (scratch.size() < most) {
        scratch.resize(most);
    }
    Room data{scratch.data() + kFrameHeaderSize, scratch.data() + kFrameHeaderSize};
    encodeRows(data, frame.picture, plan.compression, plan.box, label);
    if (plan.fullPicture && data.size() > 0) {
        set32(data.start,
              static_cast<std::uint32_t>(4 * static_cast<std::size_t>(plan.box.height)) +
                  kFullPictureShift);
    }
    const std::int32_t header[] = {static_cast<std::int32_t>(data.size()),
                                   plan.compression,
                                   source.width,
                                   source.height,
                                   plan.box.width,
                                   plan.box.height,
                                   plan.box.left,
                                   plan.box.top};
    for (std::size_t i = 0; i < std::size(header); ++i) {
        set32(scratch.data() + 4 * i, static_cast<std::uint32_t>(header[i]));
    }
    out.insert(out.end(), scratch.data(), data.end);
}

void checkSource(const DefSource& source) {
    checkPictureSize(source.width, source.height, ErrorKind::DamagedSprite);
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
    // Every frame's place first: room for what frames usually take (a byte a pixel and their
    // codes), so that most sprites are written without moving.
    std::vector<FramePlan> plans;
    plans.reserve(offsetSlots.size());
    std::size_t usual = framesStart + kTrailingHeaderSize;
    for (std::size_t b = 0; b < source.blocks.size(); ++b) {
        for (std::size_t f = 0; f < source.blocks[b].frames.size(); ++f) {
            const FramePlan& plan =
                plans.emplace_back(planFrame(source, source.blocks[b].frames[f], {b, f}));
            const auto pixels = static_cast<std::size_t>(plan.box.width) *
                                static_cast<std::size_t>(plan.box.height);
            usual += kFrameHeaderSize + pixels + pixels / 32 +
                     4 * static_cast<std::size_t>(plan.box.height);
        }
    }
    out.reserve(usual);
    std::vector<std::byte> scratch;
    std::size_t slot = 0;
    for (std::size_t b = 0; b < source.blocks.size(); ++b) {
        for (std::size_t f = 0; f < source.blocks[b].frames.size(); ++f) {
            if (out.size() > 0xFFFFFFFFU) {
                cannotWrite("the sprite grows beyond 4 GB");
            }
            set32(out.data() + offsetSlots[slot], static_cast<std::uint32_t>(out.size()));
            putFrame(out, scratch, source, source.blocks[b].frames[f], plans[slot], {b, f});
            ++slot;
        }
    }
    if (out.size() - framesStart < kTrailingHeaderSize) {
        out.resize(framesStart + kTrailingHeaderSize);
    }
    return out;
}

}  // namespace brasvel
