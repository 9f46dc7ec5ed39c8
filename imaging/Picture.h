// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A decoded picture: what the game's pictures and sprite frames (and later other formats) become
// before an encoder writes them as a file. Pixels run row after row from the top-left pixel.

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

namespace brasvel {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

using Palette = std::array<Colour, 256>;

enum class PixelFormat {
    Indexed8,  // one palette index per pixel
    Rgb24,     // red, green, blue per pixel
};

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    PixelFormat format = PixelFormat::Indexed8;
    std::vector<std::uint8_t> pixels;  // width × height indices, or × 3 bytes for Rgb24
    Palette palette{};                 // Indexed8 only
    friend bool operator==(const Picture&, const Picture&) = default;

    // A picture of `width` × `height` pixels, all zero. The size must already be checked.
    static Picture blank(std::int32_t width, std::int32_t height, PixelFormat format) {
        Picture picture{width, height, format, {}, {}};
        picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                              picture.bytesPerPixel());
        return picture;
    }
    std::size_t bytesPerPixel() const { return format == PixelFormat::Indexed8 ? 1 : 3; }
    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * bytesPerPixel(); }
    // Row `y` (0 = top).
    const std::uint8_t* row(std::int32_t y) const {
        return pixels.data() + static_cast<std::size_t>(y) * rowBytes();
    }
    std::uint8_t* row(std::int32_t y) {
        return pixels.data() + static_cast<std::size_t>(y) * rowBytes();
    }
};

// Pixels as red, green, blue and opacity (0 transparent, 255 opaque), four bytes each, row after
// row from the top-left pixel: a picture an image editor saved, before its colours are matched.
struct RgbaPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgba;
};

inline std::ostream& operator<<(std::ostream& out, const Picture& picture) {
    return out << (picture.format == PixelFormat::Indexed8 ? "Indexed8 " : "Rgb24 ")
               << picture.width << " x " << picture.height;
}

}  // namespace brasvel
