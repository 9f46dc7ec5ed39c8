// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/FrameColours.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>

#include "base/ResourceError.h"
#include "imaging/Png.h"
#include "imaging/SpriteColours.h"

namespace brasvel {
namespace {

constexpr std::uint8_t kShadowEdgeIndex = 1;
constexpr std::uint8_t kShadowIndex = 4;

std::uint32_t key(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 | blue;
}

std::string pixelText(std::int32_t x, std::int32_t y, const std::uint8_t* rgba) {
    char text[64];
    if (rgba[3] == 255) {
        std::snprintf(text, sizeof text, "pixel (%d, %d) is #%02X%02X%02X", x, y, rgba[0], rgba[1],
                      rgba[2]);
    } else {
        std::snprintf(text, sizeof text, "pixel (%d, %d) is #%02X%02X%02X at opacity %d", x, y,
                      rgba[0], rgba[1], rgba[2], rgba[3]);
    }
    return text;
}

}  // namespace

RgbaPicture rgbaOf(const Picture& picture) {
    RgbaPicture out{picture.width, picture.height, {}};
    const std::size_t pixels =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    out.rgba.resize(pixels * 4);
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint8_t* to = out.rgba.data() + i * 4;
        if (picture.format == PixelFormat::Indexed8) {
            const Colour& c = picture.palette[picture.pixels[i]];
            to[0] = c.red;
            to[1] = c.green;
            to[2] = c.blue;
        } else {
            std::copy_n(picture.pixels.data() + i * 3, 3, to);
        }
        to[3] = 255;
    }
    return out;
}

RgbaPicture decodePictureRgba(Bytes file, PictureFormat format) {
    if (format == PictureFormat::Png) {
        return decodePngRgba(file);
    }
    return rgbaOf(decodePicture(file, format));
}

Picture spriteFrameFromColours(const RgbaPicture& frame, const Palette& palette,
                               std::string_view file) {
    std::unordered_map<std::uint32_t, std::uint8_t> indices;
    // Markers first, so that a colour among the colours proper (8 to 255) takes their index.
    for (std::size_t i = 0; i < kSpriteMarkerCount; ++i) {
        indices.emplace(key(palette[i].red, palette[i].green, palette[i].blue),
                        static_cast<std::uint8_t>(i));
    }
    for (std::size_t i = palette.size(); i-- > kSpriteMarkerCount;) {
        indices[key(palette[i].red, palette[i].green, palette[i].blue)] =
            static_cast<std::uint8_t>(i);
    }
    const PaletteAlpha& markerAlpha = spriteColours(palette, false).alpha;
    Picture out = Picture::blank(frame.width, frame.height, PixelFormat::Indexed8);
    out.palette = palette;
    for (std::int32_t y = 0; y < frame.height; ++y) {
        for (std::int32_t x = 0; x < frame.width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) +
                                   static_cast<std::size_t>(x);
            const std::uint8_t* p = frame.rgba.data() + at * 4;
            const bool black = p[0] == 0 && p[1] == 0 && p[2] == 0;
            std::optional<std::uint8_t> index;
            if (p[3] == 0) {
                index = 0;
            } else if (p[3] == 255) {
                const auto found = indices.find(key(p[0], p[1], p[2]));
                if (found != indices.end()) {
                    index = found->second;
                }
            } else if (black && p[3] == markerAlpha[kShadowEdgeIndex]) {
                index = kShadowEdgeIndex;
            } else if (black && p[3] == markerAlpha[kShadowIndex]) {
                index = kShadowIndex;
            }
            if (!index) {
                throw ResourceError(ErrorKind::PaletteMismatch,
                                    std::string(file) + ": " + pixelText(x, y, p) +
                                        ", which is none of the sprite's colours");
            }
            out.pixels[at] = *index;
        }
    }
    return out;
}

}  // namespace brasvel
