#pragma once

// A decoded picture: what the game's pictures and sprite frames (and later other formats) become
// before an encoder writes them as a file. Pixels run row after row from the top-left pixel.

#include <array>
#include <cstdint>
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
};

}  // namespace brasvel
