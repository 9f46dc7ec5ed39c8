// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <string>

#include "imaging/BitFont.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

using writers::asBytes;

// A font of `count` glyphs of width × height, glyph g's row r holding the byte g + r.
std::string font(int width, int height, int count) {
    std::string bytes = "FNT";
    bytes += static_cast<char>(width);
    bytes += static_cast<char>(height);
    const int rowBytes = (width + 7) / 8;
    for (int glyph = 0; glyph < count; ++glyph) {
        for (int row = 0; row < height * rowBytes; ++row) {
            bytes += static_cast<char>(glyph + row);
        }
    }
    return bytes;
}

std::string mask(int width, int height, std::string layers) {
    std::string bytes;
    bytes += static_cast<char>(width);
    bytes += static_cast<char>(height);
    return bytes + layers;
}

// Fonts and masks are read only where their bytes fit exactly: a byte short or past, a size of 0
// or past the largest, more glyphs or layers than allowed are no font or mask.
TEST(BitFont, readsOnlyBytesThatFitTheLayoutExactly) {
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t glyphs;  // 0: no font
    };
    const std::string eightByEight = font(8, 8, 96);
    const Case cases[] = {
        {"96 glyphs of 8 x 8", eightByEight, 96},
        {"one byte short", eightByEight.substr(0, eightByEight.size() - 1), 0},
        {"one byte past", eightByEight + '\0', 0},
        {"a glyph of 9 pixels takes two bytes a row", font(9, 4, 3), 3},
        {"one glyph", font(1, 1, 1), 1},
        {"the most glyphs", font(8, 1, 256), 256},
        {"a glyph past the most", font(8, 1, 257), 0},
        {"the widest glyph", font(64, 2, 1), 1},
        {"too wide", font(65, 1, 1), 0},
        {"no width", font(0, 8, 1), 0},
        {"no height", font(8, 0, 0), 0},
        {"no glyph", font(8, 8, 0), 0},
        {"no header", "FNT\x08", 0},
        {"another tag", "FNX" + eightByEight.substr(3), 0},
    };
    for (const Case& c : cases) {
        const std::optional<BitFont> read = readBitFont(asBytes(c.bytes));
        EXPECT_EQ(read ? read->count : 0, c.glyphs) << c.what;
    }
    EXPECT_EQ(readBitFont(asBytes(font(8, 1, 224)))->firstCharacter, 32u);
    EXPECT_EQ(readBitFont(asBytes(font(8, 1, 225)))->firstCharacter, 0u);
}

TEST(CellMask, readsOnlyBytesThatFitTheLayoutExactly) {
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t layers;  // 0: no mask
    };
    const Case cases[] = {
        {"2 x 2 cells, five layers", mask(2, 2, std::string(10, '\0')), 5},
        {"one byte short", mask(2, 2, std::string(9, '\0')), 0},
        {"one byte past", mask(8, 6, std::string(7, '\0')), 0},
        {"9 cells take two bytes a row", mask(9, 1, std::string(2, '\xFF')), 1},
        {"the most layers", mask(8, 1, std::string(8, '\0')), 8},
        {"a layer past the most", mask(8, 1, std::string(9, '\0')), 0},
        {"too wide", mask(65, 1, std::string(9, '\0')), 0},
        {"no cells", mask(0, 0, ""), 0},
        {"no layer", mask(3, 3, ""), 0},
        {"a header byte short", std::string(1, '\x02'), 0},
    };
    for (const Case& c : cases) {
        const std::optional<CellMask> read = readCellMask(asBytes(c.bytes));
        EXPECT_EQ(read ? read->layers : 0, c.layers) << c.what;
    }
}

// The drawn sheet and grid put each bit where it stands: the leftmost pixel in the highest bit.
TEST(BitFont, drawsEveryGlyphAndLayerWhereItsBitsStand) {
    std::string bytes = "FNT";
    bytes += "\x03\x02";                       // 3 x 2 pixels
    bytes += std::string("\x80\x20", 2);       // glyph 0: top left, bottom right
    bytes += std::string("\x40\x00", 2);       // glyph 1: top middle
    const BitFont read = *readBitFont(asBytes(bytes));
    const Picture sheet = fontSheet(read);
    // Two glyphs of 3 + 3 wide, 2 + 3 high, and the closing frame line.
    ASSERT_EQ(sheet.width, 13);
    ASSERT_EQ(sheet.height, 6);
    const auto ink = [&](int x, int y) { return sheet.row(y)[x] == 2; };
    EXPECT_TRUE(ink(2, 2));
    EXPECT_TRUE(ink(4, 3));
    EXPECT_TRUE(ink(6 + 3, 2));
    int inked = 0;
    for (std::uint8_t pixel : sheet.pixels) {
        inked += pixel == 2;
    }
    EXPECT_EQ(inked, 3);

    const std::string maskBytes = mask(2, 1, std::string("\x40\x80", 2));
    const CellMask cells = *readCellMask(asBytes(maskBytes));
    const Picture grid = maskPicture(cells);
    ASSERT_EQ(grid.height, 13);
    const auto filled = [&](int layerLeft, int cell) {
        return grid.row(6)[layerLeft + cell * 12 + 6] == 2;
    };
    EXPECT_FALSE(filled(0, 0));
    EXPECT_TRUE(filled(0, 1));
    const int secondLayer = 2 * 12 + 1 + 12;
    EXPECT_TRUE(filled(secondLayer, 0));
    EXPECT_FALSE(filled(secondLayer, 1));
    EXPECT_EQ(grid.width, secondLayer + 2 * 12 + 1);
}

}  // namespace
}  // namespace brasvel
