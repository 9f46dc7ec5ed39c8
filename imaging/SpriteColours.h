// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The first eight palette entries of a sprite are markers, not colours:
//
//   0  transparent                    4  shadow: black, half opaque
//   1  the shadow's faint edge: black, a quarter opaque
//   2  transparent                    5  selection outline: transparent, or its palette colour
//   3  transparent                       when the selection is drawn
//                                     6  shadow under the outline (as 4)
//                                     7  shadow edge under the outline (as 1)
//
// Entries 8 to 255 are opaque colours.

#include "imaging/Picture.h"
#include "imaging/Png.h"

namespace brasvel {

inline constexpr std::size_t kSpriteMarkerCount = 8;

struct SpriteColours {
    Palette palette;
    PaletteAlpha alpha;
};

// The palette with the markers recoloured as above, and each entry's opacity.
SpriteColours spriteColours(const Palette& palette, bool drawSelection);

}  // namespace brasvel
