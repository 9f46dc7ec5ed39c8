// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/PcxImage.h"

#include <algorithm>
#include <string>

#include "imaging/Bmp.h"
#include "imaging/Picture.h"

// Layout of a picture, all numbers little-endian and signed:
//
//   0   size     length of the pixel block in bytes
//   4   width
//   8   height
//  12   pixel block: rows from the top, 1 byte (palette index) or 3 bytes per pixel
//  12 + size     palette, 8-bit kind only: 256 × (R, G, B); anything after it is ignored
//
// The kind comes from the file's length L alone: L > 12 + size is 8-bit, L = 12 + size is 24-bit,
// and a shorter file is neither.

namespace brasvel {
namespace {

constexpr std::uint64_t kPcxHeaderSize = 12;
constexpr std::uint64_t kPaletteSize = 768;

Picture decode8(Bytes pcx, const PcxInfo& info) {
    const std::uint64_t blockSize = static_cast<std::uint64_t>(info.size);
    ByteReader reader(pcx, kPcxHeaderSize);
    const Bytes block = reader.bytes(blockSize);
    const Bytes palette = reader.bytes(kPaletteSize);
    // The rows come from the last width × height bytes of the block; a block shorter than that
    // would leave the upper rows without pixels.
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(info.width) * static_cast<std::uint64_t>(info.height);
    if (pixels > blockSize) {
        throw ResourceError(ErrorKind::DamagedPicture,
                            "the pixel block holds " + std::to_string(blockSize) + " bytes; " +
                                std::to_string(info.width) + " x " + std::to_string(info.height) +
                                " pixels need " + std::to_string(pixels));
    }
    Picture picture = Picture::blank(info.width, info.height, PixelFormat::Indexed8);
    for (std::size_t i = 0; i < picture.palette.size(); ++i) {
        picture.palette[i] = {static_cast<std::uint8_t>(palette[3 * i]),
                              static_cast<std::uint8_t>(palette[3 * i + 1]),
                              static_cast<std::uint8_t>(palette[3 * i + 2])};
    }
    const Bytes rows = block.subspan(static_cast<std::size_t>(blockSize - pixels));
    std::ranges::transform(rows, picture.pixels.begin(),
                           [](std::byte b) { return static_cast<std::uint8_t>(b); });
    return picture;
}

// The pixels are stored as (B, G, R), from the top row.
Picture decode24(Bytes pcx, const PcxInfo& info) {
    const std::uint64_t rowBytes = 3 * static_cast<std::uint64_t>(info.width);
    const auto height = static_cast<std::uint64_t>(info.height);
    // The bottom row is the one stored last: check it before making anything.
    if (height > 0) {
        ByteReader(pcx, kPcxHeaderSize + rowBytes * (height - 1)).require(rowBytes);
    }
    Picture picture = Picture::blank(info.width, info.height, PixelFormat::Rgb24);
    const std::byte* source = pcx.data() + kPcxHeaderSize;
    std::uint8_t* target = picture.pixels.data();
    for (std::size_t i = 0; i < picture.pixels.size(); i += 3) {
        target[i] = static_cast<std::uint8_t>(source[i + 2]);
        target[i + 1] = static_cast<std::uint8_t>(source[i + 1]);
        target[i + 2] = static_cast<std::uint8_t>(source[i]);
    }
    return picture;
}

void putI32(std::vector<std::byte>& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::byte>((bits >> shift) & 0xFF));
    }
}

}  // namespace

PcxInfo readPcxInfo(Bytes pcx) {
    ByteReader reader(pcx);
    PcxInfo info;
    info.size = reader.i32();
    info.width = reader.i32();
    info.height = reader.i32();
    if (info.size < 0) {
        throw ResourceError(ErrorKind::DamagedPicture,
                            "negative pixel block size " + std::to_string(info.size));
    }
    const std::uint64_t blockEnd = kPcxHeaderSize + static_cast<std::uint64_t>(info.size);
    if (pcx.size() < blockEnd) {
        // Neither kind: the pixel block itself runs past the end.
        throw readBeyondEnd(kPcxHeaderSize, static_cast<std::uint64_t>(info.size), pcx.size());
    }
    info.bits = pcx.size() > blockEnd ? 8 : 24;
    return info;
}

Picture decodePcx(Bytes pcx) {
    const PcxInfo info = readPcxInfo(pcx);
    checkPictureSize(info.width, info.height, ErrorKind::DamagedPicture);
    return info.bits == 8 ? decode8(pcx, info) : decode24(pcx, info);
}

std::vector<std::byte> encodePcx(const Picture& picture) {
    const bool indexed = picture.format == PixelFormat::Indexed8;
    std::vector<std::byte> out;
    out.reserve(kPcxHeaderSize + picture.pixels.size() + (indexed ? kPaletteSize : 0));
    putI32(out, static_cast<std::int32_t>(picture.pixels.size()));
    putI32(out, picture.width);
    putI32(out, picture.height);
    if (indexed) {
        for (const std::uint8_t index : picture.pixels) {
            out.push_back(std::byte{index});
        }
        for (const Colour& colour : picture.palette) {
            out.insert(out.end(), {std::byte{colour.red}, std::byte{colour.green},
                                   std::byte{colour.blue}});
        }
        return out;
    }
    for (std::size_t i = 0; i < picture.pixels.size(); i += 3) {
        out.insert(out.end(), {std::byte{picture.pixels[i + 2]}, std::byte{picture.pixels[i + 1]},
                               std::byte{picture.pixels[i]}});
    }
    return out;
}

namespace {

Picture expandToRgb(const Picture& picture) {
    Picture rgb = Picture::blank(picture.width, picture.height, PixelFormat::Rgb24);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const Colour& c = picture.palette[picture.pixels[i]];
        rgb.pixels[3 * i] = c.red;
        rgb.pixels[3 * i + 1] = c.green;
        rgb.pixels[3 * i + 2] = c.blue;
    }
    return rgb;
}

std::uint32_t colourKey(const std::uint8_t* rgb) {
    return static_cast<std::uint32_t>(rgb[0]) << 16 | static_cast<std::uint32_t>(rgb[1]) << 8 |
           rgb[2];
}

// The number of distinct colours of an RGB picture.
std::size_t countColours(const Picture& picture) {
    std::vector<bool> seen(std::size_t{1} << 24);
    std::size_t count = 0;
    for (std::size_t i = 0; i < picture.pixels.size(); i += 3) {
        const std::uint32_t key = colourKey(&picture.pixels[i]);
        if (!seen[key]) {
            seen[key] = true;
            ++count;
        }
    }
    return count;
}

// An RGB picture of at most 256 colours as indices.
Picture indexColours(const Picture& picture) {
    Picture indexed = Picture::blank(picture.width, picture.height, PixelFormat::Indexed8);
    std::vector<std::int16_t> indexOf(std::size_t{1} << 24, -1);
    std::size_t used = 0;
    for (std::size_t i = 0, p = 0; i < picture.pixels.size(); i += 3, ++p) {
        const std::uint32_t key = colourKey(&picture.pixels[i]);
        if (indexOf[key] < 0) {
            indexOf[key] = static_cast<std::int16_t>(used);
            indexed.palette[used] = {picture.pixels[i], picture.pixels[i + 1],
                                     picture.pixels[i + 2]};
            ++used;
        }
        indexed.pixels[p] = static_cast<std::uint8_t>(indexOf[key]);
    }
    return indexed;
}

}  // namespace

Picture pcxPixels(const Picture& picture, std::optional<int> bits) {
    if (bits && *bits != 8 && *bits != 24) {
        throw ResourceError(ErrorKind::UnsupportedBitDepth,
                            std::to_string(*bits) + " bits; pictures have 8 or 24");
    }
    const bool indexed = picture.format == PixelFormat::Indexed8;
    if (bits == 24) {
        return indexed ? expandToRgb(picture) : picture;
    }
    if (indexed) {
        return picture;
    }
    const std::size_t colours = countColours(picture);
    if (colours > 256) {
        throw ResourceError(ErrorKind::TooManyColours,
                            "the picture has " + std::to_string(colours) +
                                " colours and an 8-bit picture holds at most 256; write it with "
                                "--bits 24, or reduce it to 256 colours first");
    }
    return indexColours(picture);
}

}  // namespace brasvel
