// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The game's bitmap fonts (.fnt) and cell masks (.msk), read for the preview where their bytes fit
// the layouts below exactly, and drawn as pictures. Anything else is no font or mask: the preview
// shows its bytes instead.
//
// A font: "FNT", the glyphs' width and height in pixels (one byte each, 1 to 64), then the glyphs
// one after another, each `height` rows of whole bytes, the leftmost pixel in a byte's highest bit.
// Every glyph is the same size; the entry ends with its last glyph. Up to 224 glyphs stand for
// the characters from the space on, more (up to 256) for the characters from 0.
//
// A mask: the object's width and height in cells (one byte each, 1 to 64), then one to 8 layers
// of that grid, each `height` rows of whole bytes, the leftmost cell in a byte's highest bit;
// the entry ends with its last layer.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/Picture.h"

namespace brasvel {

inline constexpr std::uint8_t kMostGlyphPixels = 64;
inline constexpr std::size_t kMostGlyphs = 256;
inline constexpr std::uint8_t kMostMaskCells = 64;
inline constexpr std::size_t kMostMaskLayers = 8;

// A grid of bits, `rows` rows of whole bytes of `width` bits.
struct BitGrid {
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    Bytes bits;
    std::size_t rowBytes() const { return (width + 7u) / 8u; }
    std::size_t bytes() const { return rowBytes() * height; }
    // Whether the bit at column `x` of row `y` of the grid starting at `offset` is set.
    bool at(std::size_t offset, int x, int y) const;
};

struct BitFont {
    BitGrid glyphs;  // width and height of one glyph; bits: every glyph
    std::size_t count = 0;
    unsigned firstCharacter = 32;
};

struct CellMask {
    BitGrid cells;  // width and height in cells; bits: every layer
    std::size_t layers = 0;
};

std::optional<BitFont> readBitFont(Bytes bytes);
std::optional<CellMask> readCellMask(Bytes bytes);

// The glyphs in rows of 16, each in a frame, dark on light.
Picture fontSheet(const BitFont& font);
// The layers side by side, each cell a square in a frame, set cells filled.
Picture maskPicture(const CellMask& mask);

}  // namespace brasvel
