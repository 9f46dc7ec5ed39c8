// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <string>

#include "imaging/DefSprite.h"
#include "imaging/PictureFormats.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace brasvel {
namespace {

using writers::asBytes;
using writers::DefBlock;
using writers::DefFrame;
using writers::DefWriter;
using writers::PixelGrid;
using writers::putI32;

std::string palette() {
    std::string rgb;
    for (int i = 0; i < 768; ++i) {
        rgb += static_cast<char>(i * 7);
    }
    return rgb;
}

// Shadows of every index from 1 to 7, runs longer than one code holds, zero stretches and literals
// that include index 0xFF and index 7.
PixelGrid busySprite(std::int32_t width, std::int32_t height) {
    PixelGrid grid(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint8_t index = 0;
            if (x < 40) {
                index = static_cast<std::uint8_t>(y % 7 + 1);  // long run of a shadow index
            } else if (x < 45) {
                index = 0;
            } else if ((x + y) % 3 == 0) {
                index = static_cast<std::uint8_t>(x * 5 + y);  // literal stretch
            } else if (x % 11 == 0) {
                index = 0xFF;
            } else {
                index = static_cast<std::uint8_t>(200 + y);
            }
            grid.set(x, y, index);
        }
    }
    return grid;
}

PixelGrid placed(const PixelGrid& sprite, std::int32_t width, std::int32_t height,
                 std::int32_t left, std::int32_t top) {
    PixelGrid picture(width, height);
    for (std::int32_t y = 0; y < sprite.height; ++y) {
        for (std::int32_t x = 0; x < sprite.width; ++x) {
            picture.set(left + x, top + y, sprite.at(x, y));
        }
    }
    return picture;
}

PixelGrid asGrid(const Picture& picture) {
    PixelGrid grid(picture.width, picture.height);
    grid.pixels = picture.pixels;
    return grid;
}

DefFrame frame(std::int32_t compression, PixelGrid sprite, std::int32_t left = 0,
               std::int32_t top = 0) {
    return defFrame(compression, std::move(sprite), left, top);
}

DefBlock blockOf(std::vector<DefFrame> frames, std::int32_t identifier = 0) {
    return defBlock(std::move(frames), identifier);
}

// A frame stated byte by byte: its header and the data after it.
DefFrame rawFrame(std::int32_t compression, std::int32_t sw, std::int32_t sh, std::int32_t left,
                  std::int32_t top, const std::string& data) {
    std::string bytes;
    putI32(bytes, static_cast<std::int32_t>(data.size()));
    putI32(bytes, compression);
    putI32(bytes, 0);
    putI32(bytes, 0);
    putI32(bytes, sw);
    putI32(bytes, sh);
    putI32(bytes, left);
    putI32(bytes, top);
    DefFrame f;
    f.name = "raw";
    f.raw = bytes + data;
    return f;
}

std::string oneFrameDef(std::int32_t width, std::int32_t height, DefFrame f,
                        std::int32_t type = 0x42) {
    return DefWriter(type, width, height, palette()).block(blockOf({std::move(f)})).build();
}

Picture decodeOnly(const std::string& def, std::string_view name = "test.def") {
    return DefSprite::walk(asBytes(def), name).decodeFrame(1);
}

std::string pixelsOf(const Picture& picture) {
    return {picture.pixels.begin(), picture.pixels.end()};
}

void expectDamaged(const std::string& def, std::string_view detailPart) {
    try {
        decodeOnly(def);
        FAIL() << "no error";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Damaged sprite");
        EXPECT_NE(error.detail().find(detailPart), std::string::npos) << error.detail();
    }
}

// --- Encodings ---

TEST(DefSprite, EveryEncodingRoundTripsAnPicture) {
    const PixelGrid sprite = busySprite(70, 14);
    for (std::int32_t compression : {1, 2, 3, 0}) {
        const std::string def = oneFrameDef(80, 20, frame(compression, sprite, 6, 3));
        EXPECT_EQ(asGrid(decodeOnly(def)), placed(sprite, 80, 20, 6, 3)) << compression;
    }
}

// Rows wider than the picture would each cover most of it again, so a tall sprite of them could
// keep the decoder busy for hours; they are refused for every run-length encoding.
TEST(DefSprite, ASpriteWiderThanThePictureIsRefused) {
    for (std::int32_t compression : {1, 2, 3}) {
        writers::DefFrame frame;
        frame.name = "wide";
        frame.compression = compression;
        frame.sprite = writers::PixelGrid(40, 2, 9);
        writers::DefBlock block;
        block.frames.push_back(frame);
        const std::string file = writers::DefWriter(0, 32, 4, palette()).block(block).build();
        const DefSprite sprite = DefSprite::walk(writers::asBytes(file), "wide.def");
        try {
            sprite.decodeFrame(1);
            ADD_FAILURE() << "type " << compression << " drew a sprite wider than its picture";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), "Damaged sprite") << compression;
            EXPECT_NE(error.detail().find("wider than the 32-pixel picture"), std::string::npos)
                << error.detail();
        }
    }
}

TEST(DefSprite, TypeOneRunsLongerThanOneSegmentRoundTrip) {
    PixelGrid sprite(900, 2, 9);
    sprite.set(899, 1, 0xFF);
    const std::string def = oneFrameDef(900, 2, frame(1, sprite));
    EXPECT_EQ(asGrid(decodeOnly(def)), sprite);
}

TEST(DefSprite, TypeThreeCode25WritesSixPixelsOfIndexOne) {
    std::string data;
    writers::putU16(data, 2);  // one group of 32 columns, one row
    data += "\x25\x19";        // 6 of index 1, 26 of index 0
    const Picture picture = decodeOnly(oneFrameDef(32, 1, rawFrame(3, 32, 1, 0, 0, data)));
    EXPECT_EQ(pixelsOf(picture), std::string(6, '\1') + std::string(26, '\0'));
}

TEST(DefSprite, TypeTwoRunsWriteTheirKindsOwnIndex) {
    std::string data;
    writers::putU16(data, 2);
    data += "\x25\x41\x61\x81\xA1\xC1";  // 6 × 1, then 2 each of 2 to 6
    const Picture picture = decodeOnly(oneFrameDef(16, 1, rawFrame(2, 16, 1, 0, 0, data)));
    EXPECT_EQ(pixelsOf(picture), std::string(6, '\1') + "\2\2\3\3\4\4\5\5\6\6");
}

TEST(DefSprite, TypeTwoAndThreeLiteralCodesCarryTheirBytes) {
    std::string data;
    writers::putU16(data, 2);
    data += "\xE2\x09\x08\x07\x20";  // 3 literals, then 1 × index 1
    const Picture picture = decodeOnly(oneFrameDef(4, 1, rawFrame(2, 4, 1, 0, 0, data)));
    EXPECT_EQ(pixelsOf(picture), "\x09\x08\x07\x01");
}

TEST(DefSprite, TypeOneCodeFFWithLengthTwoIsFollowedByThreeLiterals) {
    std::string data;
    writers::putU32(data, 4);
    data += "\xFF\x02\x0A\x0B\x0C\x07\x01";  // 3 literals, then 2 × index 7
    const Picture picture = decodeOnly(oneFrameDef(5, 1, rawFrame(1, 5, 1, 0, 0, data)));
    EXPECT_EQ(pixelsOf(picture), "\x0A\x0B\x0C\x07\x07");
}

TEST(DefSprite, TypeOneRowsFollowOneAnotherFromTheFirstOffset) {
    std::string data;
    writers::putU32(data, 8);
    writers::putU32(data, 999);  // later row offsets are not consulted
    data += std::string("\x05\x01") + "\x06\x01";
    const Picture picture = decodeOnly(oneFrameDef(2, 2, rawFrame(1, 2, 2, 0, 0, data)));
    EXPECT_EQ(pixelsOf(picture), "\5\5\6\6");
}

TEST(DefSprite, SpriteSmallerThanThePictureLeavesIndexZeroAround) {
    const PixelGrid sprite(2, 2, 9);
    const Picture picture = decodeOnly(oneFrameDef(4, 4, frame(1, sprite, 1, 1)));
    EXPECT_EQ(pixelsOf(picture), std::string("\0\0\0\0\0\x09\x09\0\0\x09\x09\0\0\0\0\0", 16));
}

TEST(DefSprite, TypeZeroFramesOfAnySizeReadWidthTimesHeightBytes) {
    const PixelGrid sprite = busySprite(50, 40);  // 2000 pixels
    EXPECT_EQ(asGrid(decodeOnly(oneFrameDef(50, 40, frame(0, sprite)))), sprite);
}

TEST(DefSprite, FrameDataPastTheEndRepeatsTheLastByteRead) {
    const std::string def = oneFrameDef(4, 2, rawFrame(0, 4, 2, 0, 0, "abcdefgh"));
    const std::string cut = def.substr(0, def.size() - 3);
    EXPECT_EQ(pixelsOf(decodeOnly(cut)), "abcdeeee");
}

// --- The BMP ---

TEST(DefSprite, FiveWidePictureGivesRowsOfEightBytesBottomUp) {
    PixelGrid sprite(5, 2);
    sprite.pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::string def = oneFrameDef(5, 2, frame(0, sprite));
    const std::vector<std::byte> file =
        encodePicture(DefSprite::walk(asBytes(def), "x.def").decodeFrame(1), PictureFormat::Bmp,
                      {.role = PictureRole::SpriteFrame});
    ASSERT_EQ(file.size(), 1078U + 16);
    EXPECT_EQ(loadU32(file.data() + 2), 1078U + 16);
    EXPECT_EQ(loadU32(file.data() + 34), 0U);
    const std::string rows(reinterpret_cast<const char*>(file.data()) + 1078, 16);
    EXPECT_EQ(rows, std::string("\6\7\x08\x09\x0A\0\0\0\1\2\3\4\5\0\0\0", 16));
    // Palette entry 1: blue, green, red of the sprite's red, green, blue.
    EXPECT_EQ(static_cast<int>(file[58]), (5 * 7) & 0xFF);
    EXPECT_EQ(static_cast<int>(file[60]), (3 * 7) & 0xFF);
}

// --- The directory ---

TEST(DefSprite, HeadersReadAsStored) {
    const std::string def = oneFrameDef(6, 5, frame(2, PixelGrid(3, 2, 9), 1, 2), 0x42);
    EXPECT_EQ(readDefHeader(asBytes(def)), (DefHeaderInfo{0x42, 6, 5}));
    const DefSprite sprite = DefSprite::walk(asBytes(def), "x.def");
    EXPECT_EQ(sprite.frameHeader(1), (DefFrameHeader{2, 3, 2, 1, 2}));
    EXPECT_THROW(readDefHeader(asBytes(def).first(783)), ResourceError);
}

TEST(DefSprite, BlocksOfThreeAndFiveMakeEightFramesAndFrameFourOpensTheSecond) {
    std::vector<DefFrame> first, second;
    for (std::uint8_t i = 0; i < 3; ++i)
        first.push_back(frame(0, PixelGrid(2, 2, i)));
    for (std::uint8_t i = 10; i < 15; ++i)
        second.push_back(frame(0, PixelGrid(2, 2, i)));
    const std::string def =
        DefWriter(0x42, 2, 2, palette()).block(blockOf(first, 0)).block(blockOf(second, 1)).build();
    const DefSprite sprite = DefSprite::walk(asBytes(def), "walk.def");
    EXPECT_EQ(sprite.frameTotal(), 8U);
    EXPECT_EQ(pixelsOf(sprite.decodeFrame(4)), std::string(4, '\x0A'));
    EXPECT_EQ(pixelsOf(sprite.decodeFrame(8)), std::string(4, '\x0E'));
}

TEST(DefSprite, FramesBeyondThreeHundredAreKept) {
    std::vector<DefFrame> frames;
    for (int i = 0; i < 310; ++i) {
        frames.push_back(frame(0, PixelGrid(1, 1, static_cast<std::uint8_t>(i))));
    }
    const std::string def = DefWriter(0, 1, 1, palette()).block(blockOf(frames)).build();
    const DefSprite sprite = DefSprite::walk(asBytes(def), "many.def");
    EXPECT_EQ(sprite.frameTotal(), 310U);
    EXPECT_EQ(pixelsOf(sprite.decodeFrame(310)), std::string(1, static_cast<char>(309 & 0xFF)));
}

TEST(DefSprite, BlockWithoutFramesHoldsNoNamesOrOffsets) {
    const std::string def = DefWriter(0, 1, 1, palette())
                                .block(blockOf({frame(0, PixelGrid(1, 1, 1))}))
                                .block(blockOf({}))
                                .block(blockOf({frame(0, PixelGrid(1, 1, 3))}))
                                .build();
    const DefSprite sprite = DefSprite::walk(asBytes(def), "gap.def");
    EXPECT_EQ(sprite.frameTotal(), 2U);
    EXPECT_EQ(pixelsOf(sprite.decodeFrame(2)), "\3");
}

TEST(DefSprite, OffsetSearchPassesOverBytesThatPointAtNoFrame) {
    DefBlock block = blockOf({frame(0, PixelGrid(40, 1, 4))});
    block.beforeOffsets = std::string(4, '\0') + std::string(7, '\xFF');  // 0 points at W = 40
    const std::string def = DefWriter(0, 40, 1, palette()).block(block).build();
    EXPECT_EQ(pixelsOf(decodeOnly(def)), std::string(40, '\4'));
}

TEST(DefSprite, OffsetSearchGivesUpAfterTwoHundredFiftySixCandidates) {
    DefBlock block = blockOf({frame(0, PixelGrid(1, 1, 4))});
    block.beforeOffsets = std::string(256, '\xFF');
    const std::string def = DefWriter(0, 1, 1, palette()).block(block).build();
    try {
        DefSprite::walk(asBytes(def), "lost.def");
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Damaged sprite");
        EXPECT_NE(error.detail().find("block 1"), std::string::npos);
    }
    block.beforeOffsets.resize(255);
    EXPECT_EQ(DefSprite::walk(asBytes(DefWriter(0, 1, 1, palette()).block(block).build()), "x.def")
                  .frameTotal(),
              1U);
}

TEST(DefSprite, CphxIsWalkedAsTenBlocksWhateverItsHeaderSays) {
    DefWriter writer(0, 1, 1, palette());
    for (std::uint8_t i = 0; i < 10; ++i) {
        writer.block(blockOf({frame(0, PixelGrid(1, 1, i))}));
    }
    const std::string def = writer.statedBlockCount(1).build();
    EXPECT_EQ(DefSprite::walk(asBytes(def), "Cphx.def").frameTotal(), 10U);
    EXPECT_EQ(DefSprite::walk(asBytes(def), "some/folder/Cphx.def").frameTotal(), 10U);
    EXPECT_EQ(DefSprite::walk(asBytes(def), "cphx.def").frameTotal(), 1U);
    EXPECT_EQ(DefSprite::walk(asBytes(def), "Other.def").frameTotal(), 1U);
}

TEST(DefSprite, BlockCountUsesItsLowEightBitsOnly) {
    const std::string def = DefWriter(0, 1, 1, palette())
                                .block(blockOf({frame(0, PixelGrid(1, 1, 1))}))
                                .statedBlockCount(0x101)
                                .build();
    EXPECT_EQ(DefSprite::walk(asBytes(def), "x.def").frameTotal(), 1U);
}

// --- The full-picture placement of type 153 ---

DefFrame fullPictureFrame() {
    PixelGrid sprite(6, 2);  // W × (H − 3)
    for (std::size_t i = 0; i < sprite.pixels.size(); ++i) {
        sprite.pixels[i] = static_cast<std::uint8_t>(20 + i);
    }
    DefFrame f = frame(1, sprite, 3, 2);  // margins the placement ignores
    f.firstRowBias = 8;
    return f;
}

std::string fullPictureRows() {
    std::string rows;
    for (char i = 20; i < 32; ++i)
        rows += i;
    return rows + std::string(18, '\0');
}

TEST(DefSprite, ReservedNamesGetTypeOneHundredFiftyThreeAndItsPlacement) {
    const std::string def = oneFrameDef(6, 5, fullPictureFrame(), 0x42);
    for (const char* name : {"SGTWMTA.def", "SGTWMTB.def"}) {
        const DefSprite sprite = DefSprite::walk(asBytes(def), name);
        EXPECT_EQ(sprite.type(), 153);
        EXPECT_EQ(defTypeText(sprite.type()), "99");
        EXPECT_EQ(pixelsOf(sprite.decodeFrame(1)), fullPictureRows()) << name;
    }
}

TEST(DefSprite, HeaderTypeOneHundredFiftyThreeGetsThePlacementWhateverTheName) {
    const std::string def = oneFrameDef(6, 5, fullPictureFrame(), 153);
    EXPECT_EQ(pixelsOf(decodeOnly(def, "Plain.def")), fullPictureRows());
}

TEST(DefSprite, ReservedNamesInLowerCaseAreNotReserved) {
    const std::string def = oneFrameDef(6, 5, frame(1, PixelGrid(6, 2, 9), 0, 1), 0x42);
    const DefSprite sprite = DefSprite::walk(asBytes(def), "sgtwmta.def");
    EXPECT_EQ(sprite.type(), 0x42);
    EXPECT_EQ(pixelsOf(sprite.decodeFrame(1)),
              std::string(6, '\0') + std::string(12, '\x09') + std::string(12, '\0'));
}

TEST(DefSprite, TypeTextIsUpperCaseHexOfAtLeastTwoDigits) {
    EXPECT_EQ(defTypeText(0x42), "42");
    EXPECT_EQ(defTypeText(5), "05");
    EXPECT_EQ(defTypeText(0x1AB), "1AB");
    EXPECT_EQ(defTypeText(-1), "FFFFFFFF");
}

// --- Damaged sprites ---

TEST(DefSprite, FrameOutsideOneToFrameTotalIsRefused) {
    const DefSprite sprite =
        DefSprite::walk(asBytes(oneFrameDef(1, 1, frame(0, PixelGrid(1, 1)))), "x.def");
    for (std::uint32_t bad : {0U, 2U}) {
        try {
            sprite.decodeFrame(bad);
            FAIL();
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), "No such frame");
        }
    }
}

TEST(DefSprite, RunsThatWouldLeaveThePictureEndTheFrame) {
    std::string table1;
    writers::putU32(table1, 4);
    std::string table2;
    writers::putU16(table2, 2);
    expectDamaged(oneFrameDef(4, 1, rawFrame(1, 4, 1, 0, 0, table1 + "\x05\x04")), "row 0");
    expectDamaged(oneFrameDef(4, 1, rawFrame(1, 4, 1, 0, 0, table1 + "\xFF\x04" + "abcde")),
                  "frame 1");
    for (const char* code : {"\x04", "\x24", "\x44", "\xC4",
                             "\xE4"
                             "abcde"}) {
        expectDamaged(oneFrameDef(4, 1, rawFrame(2, 4, 1, 0, 0, table2 + code)), "outside");
    }
    for (const char* code : {"\x1F", "\x3F", "\xFF"}) {
        const std::string data = table2 + code + std::string(32, 'x');
        expectDamaged(oneFrameDef(32, 1, rawFrame(3, 32, 1, 1, 0, data)), "outside");
    }
    expectDamaged(oneFrameDef(4, 1, rawFrame(1, 4, 1, -1, 0, table1 + std::string("\x05\x00", 2))),
                  "outside");
}

TEST(DefSprite, RowsBeyondTheRowTableAreRefused) {
    std::string data;
    writers::putU16(data, 4);
    writers::putU16(data, 5);
    data += "\x00\x00";
    expectDamaged(oneFrameDef(1, 1, rawFrame(2, 1, 2, 0, 0, data)), "row 1");
}

TEST(DefSprite, HugeSpriteHeightWithoutColumnsEndsAtOnce) {
    for (std::int32_t compression : {1, 2, 3}) {
        const std::string def = oneFrameDef(2, 2, rawFrame(compression, 0, 0x7FFFFFFF, 0, 0, ""));
        EXPECT_EQ(pixelsOf(decodeOnly(def)), std::string(4, '\0'));
    }
    const std::string def =
        oneFrameDef(1, 2, rawFrame(1, 1, 0x7FFFFFFF, 0, 0, std::string("\4\0\0\0", 4)));
    expectDamaged(def, "row 2");
}

TEST(DefSprite, TypeThreeNarrowerThanThirtyTwoColumnsIsRefused) {
    expectDamaged(oneFrameDef(8, 1, rawFrame(3, 8, 1, 0, 0, "\x07")), "32");
}

TEST(DefSprite, UnknownCompressionTypesAreRefused) {
    for (std::int32_t stated : {7, -1}) {
        DefFrame bad = frame(0, PixelGrid(1, 1));
        bad.statedCompression = stated;
        const std::string def =
            DefWriter(0, 1, 1, palette()).block(blockOf({frame(0, PixelGrid(1, 1)), bad})).build();
        const DefSprite sprite = DefSprite::walk(asBytes(def), "x.def");
        EXPECT_NO_THROW(sprite.decodeFrame(1));
        try {
            sprite.decodeFrame(2);
            FAIL();
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), "Damaged sprite");
            EXPECT_NE(error.detail().find("compression type " + std::to_string(stated)),
                      std::string::npos);
        }
    }
}

TEST(DefSprite, AbsurdCountsAndSizesAreRefusedWithTheLimit) {
    DefBlock negative = blockOf({frame(0, PixelGrid(1, 1))});
    negative.statedFrameCount = -2;
    EXPECT_THROW(
        DefSprite::walk(asBytes(DefWriter(0, 1, 1, palette()).block(negative).build()), "x.def"),
        ResourceError);
    DefBlock many = blockOf({frame(0, PixelGrid(1, 1))});
    many.statedFrameCount = 1 << 30;
    try {
        DefSprite::walk(asBytes(DefWriter(0, 1, 1, palette()).block(many).build()), "x.def");
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_NE(error.detail().find("can hold at most"), std::string::npos);
    }
    const std::string wide = oneFrameDef(100000, 1, rawFrame(1, 0, 0, 0, 0, ""));
    try {
        decodeOnly(wide);
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Picture too large");
    }
}

TEST(DefSprite, EveryTruncationFailsCleanlyOrRenders) {
    const PixelGrid sprite = busySprite(64, 6);
    const std::string def =
        DefWriter(0x42, 64, 8, palette())
            .block(blockOf({frame(0, sprite), frame(1, sprite, 0, 1)}))
            .block(blockOf({frame(2, sprite, 0, 2), frame(3, sprite), frame(1, PixelGrid())}))
            .build();
    ASSERT_EQ(DefSprite::walk(asBytes(def), "x.def").frameTotal(), 5U);
    for (std::size_t length = 0; length <= def.size(); ++length) {
        try {
            const DefSprite cut = DefSprite::walk(asBytes(def).first(length), "x.def");
            for (std::uint32_t f = 1; f <= cut.frameTotal(); ++f) {
                try {
                    cut.decodeFrame(f);
                } catch (const ResourceError&) {
                }
            }
        } catch (const ResourceError&) {
        }
    }
}

}  // namespace
}  // namespace brasvel
