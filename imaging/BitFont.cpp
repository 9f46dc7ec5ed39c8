// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/BitFont.h"

#include <algorithm>
#include <cstring>

namespace brasvel {
namespace {

constexpr std::uint8_t kPaper = 0;
constexpr std::uint8_t kFrame = 1;
constexpr std::uint8_t kInk = 2;
constexpr std::size_t kGlyphsARow = 16;
constexpr int kCellPixels = 12;  // a mask's cell, its frame line included

// The grid's size from its two header bytes at `at`, and how many whole grids the rest holds;
// nothing unless it holds between 1 and `most` of them exactly.
std::optional<std::pair<BitGrid, std::size_t>> gridsAfter(Bytes bytes, std::size_t at,
                                                          std::uint8_t mostSide,
                                                          std::size_t most) {
    ByteReader reader(bytes, at);
    if (!reader.canRead(2)) {
        return std::nullopt;
    }
    BitGrid grid;
    grid.width = reader.u8();
    grid.height = reader.u8();
    if (grid.width == 0 || grid.height == 0 || grid.width > mostSide || grid.height > mostSide) {
        return std::nullopt;
    }
    const std::uint64_t rest = reader.remaining();
    const std::size_t each = grid.bytes();
    if (rest == 0 || rest % each != 0 || rest / each > most) {
        return std::nullopt;
    }
    grid.bits = reader.bytes(rest);
    return std::pair{grid, static_cast<std::size_t>(rest / each)};
}

}  // namespace

bool BitGrid::at(std::size_t offset, int x, int y) const {
    const std::size_t byte = offset + static_cast<std::size_t>(y) * rowBytes() +
                             static_cast<std::size_t>(x) / 8u;
    return (static_cast<unsigned>(bits[byte]) >> (7u - static_cast<unsigned>(x) % 8u) & 1u) != 0;
}

std::optional<BitFont> readBitFont(Bytes bytes) {
    if (bytes.size() < 3 || std::memcmp(bytes.data(), "FNT", 3) != 0) {
        return std::nullopt;
    }
    const auto grids = gridsAfter(bytes, 3, kMostGlyphPixels, kMostGlyphs);
    if (!grids) {
        return std::nullopt;
    }
    BitFont font{grids->first, grids->second, grids->second > 224 ? 0u : 32u};
    return font;
}

std::optional<CellMask> readCellMask(Bytes bytes) {
    const auto grids = gridsAfter(bytes, 0, kMostMaskCells, kMostMaskLayers);
    if (!grids) {
        return std::nullopt;
    }
    return CellMask{grids->first, grids->second};
}

Picture fontSheet(const BitFont& font) {
    const BitGrid& glyph = font.glyphs;
    const std::size_t columns = std::min(font.count, kGlyphsARow);
    const std::size_t rows = (font.count + kGlyphsARow - 1) / kGlyphsARow;
    // Each glyph with a pixel of paper around it and a frame line after it.
    const int cellWidth = glyph.width + 3;
    const int cellHeight = glyph.height + 3;
    Picture sheet = Picture::blank(static_cast<std::int32_t>(columns) * cellWidth + 1,
                                   static_cast<std::int32_t>(rows) * cellHeight + 1,
                                   PixelFormat::Indexed8);
    sheet.palette[kPaper] = {250, 248, 240};
    sheet.palette[kFrame] = {200, 196, 186};
    sheet.palette[kInk] = {20, 20, 28};
    for (std::int32_t y = 0; y < sheet.height; ++y) {
        for (std::int32_t x = 0; x < sheet.width; ++x) {
            if (x % cellWidth == 0 || y % cellHeight == 0) {
                sheet.row(y)[x] = kFrame;
            }
        }
    }
    for (std::size_t index = 0; index < font.count; ++index) {
        const int left = static_cast<int>(index % kGlyphsARow) * cellWidth + 2;
        const int top = static_cast<int>(index / kGlyphsARow) * cellHeight + 2;
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                if (glyph.at(index * glyph.bytes(), x, y)) {
                    sheet.row(top + y)[left + x] = kInk;
                }
            }
        }
    }
    return sheet;
}

Picture maskPicture(const CellMask& mask) {
    const BitGrid& grid = mask.cells;
    const int layerWidth = grid.width * kCellPixels + 1;
    const int gap = kCellPixels;
    Picture picture =
        Picture::blank(static_cast<std::int32_t>(mask.layers) * (layerWidth + gap) - gap,
                       grid.height * kCellPixels + 1, PixelFormat::Indexed8);
    picture.palette[kPaper] = {250, 248, 240};
    picture.palette[kFrame] = {120, 120, 130};
    picture.palette[kInk] = {200, 60, 50};
    for (std::size_t layer = 0; layer < mask.layers; ++layer) {
        const int left = static_cast<int>(layer) * (layerWidth + gap);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < layerWidth; ++x) {
                const int cellX = x / kCellPixels;
                const int cellY = y / kCellPixels;
                std::uint8_t colour = kPaper;
                if (x % kCellPixels == 0 || y % kCellPixels == 0) {
                    colour = kFrame;
                } else if (grid.at(layer * grid.bytes(), cellX, cellY)) {
                    colour = kInk;
                }
                picture.row(y)[left + x] = colour;
            }
        }
    }
    return picture;
}

}  // namespace brasvel
