// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/Bmp.h"

#include <cassert>
#include <climits>
#include <cstring>
#include <string>

#include "base/ByteReader.h"
#include "base/ResourceError.h"

namespace brasvel {
namespace {

void putU16(std::byte* at, std::uint16_t value) {
    at[0] = static_cast<std::byte>(value & 0xFF);
    at[1] = static_cast<std::byte>(value >> 8);
}

void putU32(std::byte* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t pixelArrayOffset(const BmpFields& fields) {
    return kBmpHeadersSize + (fields.bitCount == 8 ? kBmpPaletteSize : 0);
}

[[noreturn]] void unsupportedBmp(const std::string& what) {
    throw ResourceError(ErrorKind::UnsupportedBmp, what);
}

[[noreturn]] void damagedBmp(const std::string& what) {
    throw ResourceError(ErrorKind::DamagedBmp, what);
}

}  // namespace

void checkPictureNotEmpty(std::int32_t width, std::int32_t height) {
    if (width == 0 || height == 0) {
        throw ResourceError(ErrorKind::EmptyPicture,
                            std::to_string(width) + " x " + std::to_string(height) +
                                " pixels; a picture needs at least one pixel");
    }
}

void checkPictureSize(std::int32_t width, std::int32_t height, ErrorKind damagedKind) {
    if (width < 0 || height < 0) {
        throw ResourceError(
            damagedKind, "negative size " + std::to_string(width) + " x " + std::to_string(height));
    }
    if (width > kMaxPictureSide || height > kMaxPictureSide) {
        throw ResourceError(ErrorKind::PictureTooLarge, std::to_string(width) + " x " +
                                                            std::to_string(height) +
                                                            " pixels; each side may be at most " +
                                                            std::to_string(kMaxPictureSide));
    }
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (pixels > kMaxPicturePixels) {
        throw ResourceError(ErrorKind::PictureTooLarge,
                            std::to_string(width) + " x " + std::to_string(height) +
                                " pixels; a picture may hold at most " +
                                std::to_string(kMaxPicturePixels) + " pixels");
    }
}

std::uint64_t bmpStride(std::uint16_t bitCount, std::int32_t width) {
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(width) * (bitCount / 8U);
    return (rowBytes + 3) / 4 * 4;
}

std::vector<std::byte> startBmp(const BmpFields& fields, std::int32_t width, std::int32_t height,
                                const Palette& palette) {
    assert(width >= 0 && height >= 0);
    const std::uint64_t imageSize =
        bmpStride(fields.bitCount, width) * static_cast<std::uint64_t>(height);
    const std::uint32_t offBits = pixelArrayOffset(fields);
    std::vector<std::byte> bmp(offBits + imageSize);
    std::byte* h = bmp.data();
    h[0] = std::byte{'B'};
    h[1] = std::byte{'M'};
    putU32(h + 2, static_cast<std::uint32_t>(bmp.size()));  // bfSize
    putU32(h + 10, offBits);                                // bfOffBits
    putU32(h + 14, 40);                                     // biSize
    putU32(h + 18, static_cast<std::uint32_t>(width));
    putU32(h + 22, static_cast<std::uint32_t>(height));
    putU16(h + 26, 1);  // biPlanes
    putU16(h + 28, fields.bitCount);
    putU32(h + 34, fields.statesImageSize ? static_cast<std::uint32_t>(imageSize) : 0);
    putU32(h + 38, static_cast<std::uint32_t>(fields.pelsPerMeterX));
    putU32(h + 42, static_cast<std::uint32_t>(fields.pelsPerMeterY));
    putU32(h + 46, fields.colorsUsed);
    if (fields.bitCount == 8) {
        for (std::size_t i = 0; i < palette.size(); ++i) {
            std::byte* entry = h + kBmpHeadersSize + 4 * i;
            entry[0] = std::byte{palette[i].blue};
            entry[1] = std::byte{palette[i].green};
            entry[2] = std::byte{palette[i].red};
        }
    }
    return bmp;
}

std::span<std::byte> bmpRow(std::vector<std::byte>& bmp, const BmpFields& fields,
                            std::int32_t width, std::int32_t height, std::int32_t bottomUpRow) {
    assert(bottomUpRow >= 0 && bottomUpRow < height);
    (void)height;
    const std::uint64_t stride = bmpStride(fields.bitCount, width);
    const std::uint64_t start =
        pixelArrayOffset(fields) + stride * static_cast<std::uint64_t>(bottomUpRow);
    const std::uint64_t length = static_cast<std::uint64_t>(width) * (fields.bitCount / 8U);
    return std::span<std::byte>(bmp).subspan(static_cast<std::size_t>(start),
                                             static_cast<std::size_t>(length));
}

std::vector<std::byte> encodeBmp(const Picture& picture, const BmpFields& fields) {
    BmpFields chosen = fields;
    chosen.bitCount = picture.format == PixelFormat::Indexed8 ? 8 : 24;
    std::vector<std::byte> bmp = startBmp(chosen, picture.width, picture.height, picture.palette);
    const auto width = static_cast<std::size_t>(picture.width);
    if (width == 0) {
        return bmp;
    }
    for (std::int32_t r = 0; r < picture.height; ++r) {
        const std::span<std::byte> row = bmpRow(bmp, chosen, picture.width, picture.height, r);
        const std::uint8_t* source = picture.row(picture.height - 1 - r);
        if (chosen.bitCount == 8) {
            std::memcpy(row.data(), source, width);
            continue;
        }
        for (std::size_t x = 0; x < width; ++x) {  // (R, G, B) to (B, G, R)
            row[3 * x] = std::byte{source[3 * x + 2]};
            row[3 * x + 1] = std::byte{source[3 * x + 1]};
            row[3 * x + 2] = std::byte{source[3 * x]};
        }
    }
    return bmp;
}

Picture decodeBmp(Bytes bmp) {
    ByteReader reader(bmp);
    reader.require(kBmpHeadersSize);
    if (reader.u8() != 'B' || reader.u8() != 'M') {
        damagedBmp("the file does not start with BM");
    }
    /* fileSize = */ reader.u32();
    /* reserved = */ reader.u32();
    const std::uint32_t offBits = reader.u32();
    const std::uint32_t infoSize = reader.u32();
    const std::int32_t width = reader.i32();
    const std::int32_t statedHeight = reader.i32();
    /* planes = */ reader.u16();
    const std::uint16_t bitCount = reader.u16();
    const std::uint32_t compression = reader.u32();
    /* imageSize, pelsPerMeterX, pelsPerMeterY = */ reader.skip(12);
    std::uint32_t colorsUsed = reader.u32();
    if (infoSize < 40) {
        unsupportedBmp("an info header of " + std::to_string(infoSize) +
                       " bytes; 40 or more are read");
    }
    if (bitCount != 8 && bitCount != 24) {
        unsupportedBmp(std::to_string(bitCount) + " bits per pixel; 8 and 24 are read");
    }
    if (compression != 0) {
        unsupportedBmp("compression " + std::to_string(compression) + "; only uncompressed");
    }
    // A negative height means rows from the top; the most negative one has no positive twin.
    if (statedHeight == INT32_MIN) {
        damagedBmp("height " + std::to_string(statedHeight));
    }
    const bool topDown = statedHeight < 0;
    const std::int32_t height = topDown ? -statedHeight : statedHeight;
    checkPictureSize(width, height, ErrorKind::DamagedPicture);
    checkPictureNotEmpty(width, height);

    Picture picture{width, height,
                    bitCount == 8 ? PixelFormat::Indexed8 : PixelFormat::Rgb24, {}, {}};
    if (bitCount == 8) {
        colorsUsed = colorsUsed == 0 ? 256 : colorsUsed;
        if (colorsUsed > 256) {
            damagedBmp(std::to_string(colorsUsed) + " palette entries; 8 bits index at most 256");
        }
        ByteReader paletteReader(bmp, 14 + std::uint64_t{infoSize});
        paletteReader.require(4 * std::uint64_t{colorsUsed});
        for (std::uint32_t i = 0; i < colorsUsed; ++i) {
            const std::uint8_t blue = paletteReader.u8();
            const std::uint8_t green = paletteReader.u8();
            const std::uint8_t red = paletteReader.u8();
            /* reserved = */ paletteReader.u8();
            picture.palette[i] = {red, green, blue};
        }
    }
    const std::uint64_t stride = bmpStride(bitCount, width);
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(width) * (bitCount / 8U);
    if (height > 0) {
        // The last row may lack its padding; every row must be in the file.
        ByteReader(bmp, offBits + stride * static_cast<std::uint64_t>(height - 1)).require(rowBytes);
    }
    picture.pixels.resize(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height));
    for (std::int32_t y = 0; y < height && rowBytes > 0; ++y) {
        const std::int32_t stored = topDown ? y : height - 1 - y;
        const std::byte* source = bmp.data() + offBits + stride * static_cast<std::uint64_t>(stored);
        std::uint8_t* target = picture.row(y);
        if (bitCount == 8) {
            std::memcpy(target, source, static_cast<std::size_t>(rowBytes));
            continue;
        }
        for (std::uint64_t x = 0; x < rowBytes; x += 3) {  // (B, G, R) to (R, G, B)
            target[x] = static_cast<std::uint8_t>(source[x + 2]);
            target[x + 1] = static_cast<std::uint8_t>(source[x + 1]);
            target[x + 2] = static_cast<std::uint8_t>(source[x]);
        }
    }
    return picture;
}

}  // namespace brasvel
