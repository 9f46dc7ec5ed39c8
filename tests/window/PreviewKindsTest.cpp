// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Choosing the preview's page and the Qt-free forms of what the pages show.

#include <gtest/gtest.h>

#include <string>

#include "window/PreviewKinds.h"

namespace brasvel {
namespace {

Bytes bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::byte*>(text.data()), text.size()};
}

TEST(PreviewKinds, theExtensionDecidesFirstThenTheContent) {
    const std::string palette(kPaletteBytes, '\x07');
    // A wave of one 16-bit mono frame, a font of one 8 x 2 glyph, a mask of 2 x 2 cells.
    const std::string wave("RIFF\x26\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0"
                           "\x80\x3e\0\0\x02\0\x10\0data\x02\0\0\0\x01\x02",
                           46);
    const std::string font("FNT\x08\x02\x18\x18", 7);
    const std::string mask("\x02\x02\x40\x80", 4);
    struct Case {
        std::string ext;
        std::string content;
        PreviewKind kind;
    };
    const Case cases[] = {
        {"pcx", "anything", PreviewKind::GamePicture},
        {"DEF", "", PreviewKind::Sprite},
        {"Pcx", "", PreviewKind::Text},  // only exact lower or upper case names a kind
        {"pal", palette, PreviewKind::Colours},
        {"PAL", palette + "x", PreviewKind::Hex},
        {"pal", "plain words", PreviewKind::Hex},  // a palette is never text
        {"txt", "Za\xBF\xF3\xB3\xE6\r\n\tg\x1A", PreviewKind::Text},
        {"txt", std::string("a\0b", 3), PreviewKind::Hex},
        {"txt", "a\x81z", PreviewKind::Hex},  // undefined in Windows-1250
        {"msg", "Wiadomo\x9C\xE6", PreviewKind::Text},
        {"wav", "RIFF plain letters", PreviewKind::Hex},
        {"wav", wave, PreviewKind::Sound},
        {"WAV", wave.substr(0, 43), PreviewKind::Hex},  // the data chunk's size cut short
        {"txt", wave, PreviewKind::Hex},                // a sound only by its extension
        {"fnt", font, PreviewKind::Font},
        {"FNT", font + "\x01", PreviewKind::Hex},  // a byte past the last glyph
        {"fnt", font.substr(0, 6), PreviewKind::Hex},
        {"msk", mask, PreviewKind::Mask},
        {"MSK", mask.substr(0, 3), PreviewKind::Hex},
        {"msk", "plain", PreviewKind::Hex},  // 'p' x 'l' cells would take far more
        {"", "", PreviewKind::Text},
        {"xyz", std::string(100, 'a') + "\x01\x02", PreviewKind::Hex},  // over 1 % control bytes
        {"xyz", std::string(100, 'a') + "\x01", PreviewKind::Text},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(previewKindOf(c.ext, bytesOf(c.content)), c.kind) << c.ext << " " << c.content;
    }
    // Only the first 4 KB are looked at.
    EXPECT_TRUE(looksLikeText(bytesOf(std::string(4096, 'a') + std::string(1, '\0'))));
}

TEST(PreviewKinds, textEndsLinesWithNewlinesAndShowsControlBytesAsReplacements) {
    EXPECT_EQ(previewText(bytesOf("a\r\nb\rc\nd\t\x01\x7F")),
              "a\nb\nc\nd\t\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(previewText(bytesOf("\xA3\xF3\x64\xBC"), 3), "Łód");
    EXPECT_EQ(previewText(bytesOf("ab\r\ncd"), 3), "ab\n") << "a cut between CR and LF";
}

TEST(PreviewKinds, hexRowsKeepTheirColumnsAtTheEnd) {
    const std::string content("Zaj\xB9\x63 \x01\x00\xFFxyz0123456789", 22);
    const std::string first = hexRow(bytesOf(content), 0);
    EXPECT_EQ(first,
              "00000000  5a 61 6a b9 63 20 01 00  ff 78 79 7a 30 31 32 33  Zają"
              "c ..˙xyz0123");
    const std::string last = hexRow(bytesOf(content), 16);
    EXPECT_EQ(last, "00000010  34 35 36 37 38 39" + std::string(3 * 10 + 1, ' ') + "  456789");
    EXPECT_EQ(hexRowCount(0), 0u);
    EXPECT_EQ(hexRowCount(16), 1u);
    EXPECT_EQ(hexRowCount(17), 2u);
}

TEST(PreviewKinds, paletteColoursAndTheirText) {
    const std::string bytes("\x0C\x22\x38\xFF\x00\x80", 6);
    const std::vector<SwatchColour> colours = paletteColours(bytesOf(bytes));
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[1], (SwatchColour{255, 0, 128}));
    EXPECT_EQ(colourText(colours[0]), "#0C2238 (12, 34, 56)");
}

TEST(PreviewKinds, playbackLoopsWithinTheBlockOfTheFrame) {
    // Block 1 has no frames; frames 1-3 are block 0's, 4-5 block 2's.
    const std::vector<DefBlockInfo> blocks = {
        {0, 1, {"a", "b", "c"}}, {5, 4, {}}, {7, 4, {"d", "e"}}};
    EXPECT_EQ(blockOfFrame(blocks, 2), (FrameBlock{0, 1, 3}));
    EXPECT_EQ(blockOfFrame(blocks, 4), (FrameBlock{2, 4, 5}));
    EXPECT_EQ(blockOfFrame(blocks, 9), (FrameBlock{3, 9, 9})) << "outside every block";
    EXPECT_EQ(nextPlaybackFrame({0, 1, 3}, 2), 3u);
    EXPECT_EQ(nextPlaybackFrame({0, 1, 3}, 3), 1u);
    EXPECT_EQ(nextPlaybackFrame({2, 4, 5}, 9), 4u);
    EXPECT_EQ(playbackInterval(10), 100);
    EXPECT_EQ(playbackInterval(0), 1000);
    EXPECT_EQ(playbackInterval(1000), 1000 / kFastestPlayback);
}

}  // namespace
}  // namespace brasvel
