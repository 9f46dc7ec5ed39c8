// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/SpriteColours.h"

namespace brasvel {
namespace {

constexpr std::uint8_t kTransparent = 0;
constexpr std::uint8_t kShadowEdge = 64;   // about 25% opaque
constexpr std::uint8_t kShadowBody = 128;  // about 50% opaque
constexpr std::uint8_t kOpaqueAlpha = 255;

}  // namespace

SpriteColours spriteColours(const Palette& palette, bool drawSelection) {
    SpriteColours colours{palette, kOpaque};
    const std::array<std::uint8_t, kSpriteMarkerCount> markerAlpha{
        kTransparent, kShadowEdge,  kTransparent, kTransparent,
        kShadowBody,  kTransparent, kShadowBody,  kShadowEdge,
    };
    for (std::size_t i = 0; i < kSpriteMarkerCount; ++i) {
        colours.palette[i] = Colour{};
        colours.alpha[i] = markerAlpha[i];
    }
    if (drawSelection) {
        colours.palette[5] = palette[5];
        colours.alpha[5] = kOpaqueAlpha;
    }
    return colours;
}

}  // namespace brasvel
