// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Pictures and sprites for the imaging tests, made in code.

#include <cstdint>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/Picture.h"
#include "tools/writers/PictureWriters.h"

namespace brasvel::testing {

inline Palette rampPalette() {
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i),
                      static_cast<std::uint8_t>(i * 13)};
    }
    return palette;
}

inline std::string paletteBytes(const Palette& palette) {
    std::string rgb;
    for (const Colour& c : palette) {
        rgb += {static_cast<char>(c.red), static_cast<char>(c.green), static_cast<char>(c.blue)};
    }
    return rgb;
}

// Every index somewhere, runs of the markers, literals and zero stretches.
inline Picture patternedIndices(std::int32_t width, std::int32_t height) {
    Picture picture = Picture::blank(width, height, PixelFormat::Indexed8);
    picture.palette = rampPalette();
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const int band = (x / 9 + y / 5) % 4;
            picture.row(y)[x] = static_cast<std::uint8_t>(band == 0   ? 0
                                                          : band == 1 ? 1 + y % 7
                                                          : band == 2 ? (x * 31 + y * 17) & 0xFF
                                                                      : 0xFF);
        }
    }
    return picture;
}

inline Picture patternedRgb(std::int32_t width, std::int32_t height) {
    Picture picture = Picture::blank(width, height, PixelFormat::Rgb24);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] = static_cast<std::uint8_t>(i * 37 + i / 5);
    }
    return picture;
}

inline writers::PixelGrid gridOf(const Picture& picture) {
    writers::PixelGrid grid(picture.width, picture.height);
    grid.pixels = picture.pixels;
    return grid;
}

inline Bytes bytesOf(const std::vector<std::byte>& bytes) {
    return bytes;
}

}  // namespace brasvel::testing
