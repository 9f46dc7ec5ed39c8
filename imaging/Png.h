// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// PNG files of pictures, through libpng: indexed pictures stay indexed (PLTE, and tRNS where some
// palette entries are not opaque), Rgb24 ones are written as RGB. Animated PNG (acTL, fcTL and
// fdAT chunks) is assembled here from frames that libpng encodes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/Picture.h"

namespace brasvel {

// The opacity of each palette entry, 0 (transparent) to 255.
using PaletteAlpha = std::array<std::uint8_t, 256>;
inline constexpr PaletteAlpha kOpaque = [] {
    PaletteAlpha alpha{};
    alpha.fill(255);
    return alpha;
}();

// The PNG file of a picture; `alpha` applies to Indexed8 pictures only. Throws ResourceError for
// a picture without pixels (PNG has no empty pictures) or a failure of libpng.
std::vector<std::byte> encodePng(const Picture& picture, const PaletteAlpha& alpha = kOpaque);
// The same with another palette than the picture's own (Indexed8 only).
std::vector<std::byte> encodePng(const Picture& picture, const Palette& palette,
                                 const PaletteAlpha& alpha);

// An animated PNG of equally sized Indexed8 frames that share the palette of the first one,
// shown `delayMs` milliseconds each, looping for ever. Throws ResourceError.
std::vector<std::byte> encodeAnimatedPng(std::span<const Picture> frames, const PaletteAlpha& alpha,
                                         std::uint16_t delayMs);

// A PNG file read back exactly: a paletted PNG becomes Indexed8 with its palette's bytes (entries
// it lacks are black), any other Rgb24 with the alpha dropped and 16-bit samples cut to their high
// byte. Gamma and colour-management chunks (gAMA, cHRM, iCCP, sRGB) are ignored: the samples are
// taken as stored. The size is checked before anything is allocated for the pixels. Throws
// ResourceError ("Empty picture" for a side of 0).
Picture decodePng(Bytes png);

// A PNG file as 8-bit RGBA, whatever its kind: a palette and its tRNS are expanded, a file without
// alpha is opaque. Throws ResourceError as decodePng.
RgbaPicture decodePngRgba(Bytes png);

}  // namespace brasvel
