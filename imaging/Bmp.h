// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The one BMP layout every picture of the program is written in:
//
//   0  bfType "BM"          14  biSize 40          34  biSizeImage
//   2  bfSize (file length) 18  biWidth            38  biXPelsPerMeter
//   6  bfReserved1, 2 = 0   22  biHeight (> 0:     42  biYPelsPerMeter
//  10  bfOffBits                rows bottom-up)    46  biClrUsed
//                           26  biPlanes 1         50  biClrImportant 0
//                           28  biBitCount 8 / 24  54  palette, 8-bit only: 256 × (B, G, R, 0)
//                           30  biCompression 0    bfOffBits: the rows, bottom row first, each
//                                                  padded with zero bytes to a multiple of 4
//
// Pictures and sprites differ only in a few header values, which BmpFields holds.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/Picture.h"

namespace brasvel {

struct BmpFields {
    std::uint16_t bitCount = 8;   // 8 (paletted) or 24
    bool statesImageSize = true;  // biSizeImage = stride × height, else 0
    std::int32_t pelsPerMeterX = 0;
    std::int32_t pelsPerMeterY = 0;
    std::uint32_t colorsUsed = 0;  // biClrUsed
};

// Converted pictures: 800 × 600 pels whatever the size, biSizeImage stated.
inline constexpr BmpFields kPictureBmp8{8, true, 800, 600, 0};
inline constexpr BmpFields kPictureBmp24{24, true, 800, 600, 0};
// Rendered sprite frames: biSizeImage 0, 65536 pels, all 256 colours used.
inline constexpr BmpFields kSpriteBmp{8, false, 65536, 65536, 256};

// Limits on what a picture may claim before anything is allocated for it.
inline constexpr std::int32_t kMaxPictureSide = 32768;
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{64} << 20;

// Throws ResourceError `damagedKind` (DamagedPicture or DamagedSprite) for a negative side,
// "Picture too large" for a side or a pixel count above the limits (the detail names the limit).
void checkPictureSize(std::int32_t width, std::int32_t height, ErrorKind damagedKind);
// Throws ResourceError "Empty picture" when a side is 0: a picture read in must have pixels.
void checkPictureNotEmpty(std::int32_t width, std::int32_t height);

inline constexpr std::uint32_t kBmpHeadersSize = 54;
inline constexpr std::uint32_t kBmpPaletteSize = 1024;

// A row's length in the pixel array: width pixels rounded up to a multiple of 4 bytes.
std::uint64_t bmpStride(std::uint16_t bitCount, std::int32_t width);

// A BMP file whose headers (and for 8 bits the palette) are written and whose rows are all zero;
// the caller fills the rows through bmpRow. `palette` is ignored for 24 bits. Width and height
// must be non-negative and already checked against the limits.
std::vector<std::byte> startBmp(const BmpFields& fields, std::int32_t width, std::int32_t height,
                                const Palette& palette);

// Row `bottomUpRow` (0 = the picture's bottom row) of a file made by startBmp, padding excluded.
std::span<std::byte> bmpRow(std::vector<std::byte>& bmp, const BmpFields& fields,
                            std::int32_t width, std::int32_t height, std::int32_t bottomUpRow);

// The BMP file of a picture, with the header values of `fields`; the bit count follows the
// picture's pixel format, whatever `fields` says. The picture's size must pass checkPictureSize.
std::vector<std::byte> encodeBmp(const Picture& picture, const BmpFields& fields);

// A BMP file read back: 8-bit paletted (at most 256 colours) or 24-bit, uncompressed, rows
// bottom-up (positive height) or top-down (negative height), any info header of 40 bytes or more.
// The size is checked against the limits and the file before anything is allocated. Throws
// ResourceError ("Damaged BMP file", "Unsupported BMP file", "Picture too large").
Picture decodeBmp(Bytes bmp);

}  // namespace brasvel
