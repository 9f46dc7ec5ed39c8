#include <gtest/gtest.h>

#include <string>

#include "ImagingFixtures.h"
#include "imaging/DefEncoder.h"
#include "imaging/DefSprite.h"

namespace brasvel {
namespace {

using testing::patternedIndices;

// A frame of `width` × `height` whose pixels lie in the box (left, top, w, h), zero around it.
Picture boxed(std::int32_t width, std::int32_t height, std::int32_t left, std::int32_t top,
              std::int32_t w, std::int32_t h) {
    const Picture inside = patternedIndices(w, h);
    Picture picture = Picture::blank(width, height, PixelFormat::Indexed8);
    picture.palette = testing::rampPalette();
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            // Index 0 inside would shrink the box: make the box's corners non-zero.
            const std::uint8_t index = inside.row(y)[x];
            picture.row(top + y)[left + x] = index == 0 ? 9 : index;
        }
    }
    return picture;
}

DefSource sourceOf(std::int32_t type, std::int32_t width, std::int32_t height,
                   std::vector<DefBlockSource> blocks) {
    return {type, width, height, testing::rampPalette(), std::move(blocks),
            type == kFullPictureType};
}

// Every frame of the encoded sprite decodes to the source's frame.
void expectRoundTrip(const DefSource& source, std::string_view fileName = "made.def") {
    const std::vector<std::byte> file = encodeDef(source);
    const DefSprite sprite = DefSprite::walk(file, fileName);
    EXPECT_EQ(sprite.width(), source.width);
    EXPECT_EQ(sprite.height(), source.height);
    EXPECT_EQ(sprite.palette(), source.palette);
    ASSERT_EQ(sprite.blocks().size(), source.blocks.size());
    for (std::size_t b = 0; b < source.blocks.size(); ++b) {
        const DefBlockInfo& block = sprite.blocks()[b];
        EXPECT_EQ(block.identifier, source.blocks[b].identifier);
        ASSERT_EQ(block.frameNames.size(), source.blocks[b].frames.size());
        for (std::size_t f = 0; f < block.frameNames.size(); ++f) {
            const DefFrameSource& expected = source.blocks[b].frames[f];
            const auto number = block.firstFrame + static_cast<std::uint32_t>(f);
            EXPECT_EQ(sprite.frameHeader(number).compression, expected.compression);
            EXPECT_EQ(block.frameNames[f].substr(0, expected.name.size()), expected.name);
            EXPECT_EQ(sprite.decodeFrame(number), expected.picture)
                << "block " << b << " frame " << f << " compression " << expected.compression;
        }
    }
}

TEST(DefEncoder, EveryCompressionDecodesToTheSameIndices) {
    for (std::int32_t compression : {0, 1, 2, 3}) {
        DefBlockSource first{7, {}};
        first.frames.push_back({"a.pcx", compression, boxed(80, 30, 5, 3, 64, 20)});
        first.frames.push_back({"whole.pcx", compression, patternedIndices(80, 30)});
        DefBlockSource second{-2, {}};
        second.frames.push_back({"empty.pcx", compression, boxed(80, 30, 0, 0, 0, 0)});
        second.frames.push_back({"1234567890123", compression, boxed(80, 30, 40, 29, 40, 1)});
        expectRoundTrip(sourceOf(0x42, 80, 30, {first, {3, {}}, second}));
    }
}

TEST(DefEncoder, FramesAreCroppedToTheirVisiblePixels) {
    DefBlockSource block{0, {}};
    block.frames.push_back({"one", 1, boxed(50, 40, 6, 7, 10, 12)});
    block.frames.push_back({"three", 3, boxed(50, 40, 30, 2, 5, 4)});  // widened to 32 columns
    const std::vector<std::byte> file = encodeDef(sourceOf(1, 50, 40, {block}));
    const DefSprite sprite = DefSprite::walk(file, "x.def");
    EXPECT_EQ(sprite.frameHeader(1), (DefFrameHeader{1, 10, 12, 6, 7}));
    EXPECT_EQ(sprite.frameHeader(2), (DefFrameHeader{3, 32, 4, 18, 2}));
    expectRoundTrip(sourceOf(1, 50, 40, {block}));
}

TEST(DefEncoder, FullPictureSpritesRoundTripWithTheirOwnPlacement) {
    Picture frame = boxed(40, 12, 0, 0, 40, 9);
    DefBlockSource block{0, {{"full", 1, frame}, {"two", 2, frame}}};
    expectRoundTrip(sourceOf(kFullPictureType, 40, 12, {block}));
    frame.row(11)[3] = 8;  // the placement stores no pixels in the last three rows
    block.frames[0].picture = frame;
    EXPECT_THROW(encodeDef(sourceOf(kFullPictureType, 40, 12, {block})), ResourceError);
}

TEST(DefEncoder, WhatCannotBeStoredIsRefusedWithItsReason) {
    const auto refusal = [](const DefSource& source) {
        try {
            encodeDef(source);
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), "Cannot write sprite");
            return error.detail();
        }
        return std::string("written");
    };
    const auto oneFrame = [](std::int32_t w, std::int32_t h, DefFrameSource frame) {
        return sourceOf(0, w, h, {{0, {std::move(frame)}}});
    };
    EXPECT_NE(refusal(oneFrame(20, 5, {"narrow", 3, boxed(20, 5, 1, 1, 3, 3)})).find("32 pixels"),
              std::string::npos);
    EXPECT_NE(refusal(oneFrame(20, 5, {"1234567890abcd", 1, boxed(20, 5, 1, 1, 3, 3)}))
                  .find("longer than 13"),
              std::string::npos);
    EXPECT_NE(refusal(oneFrame(20, 5, {"odd", 4, boxed(20, 5, 1, 1, 3, 3)})).find("none of 0"),
              std::string::npos);
    EXPECT_NE(refusal(oneFrame(20, 6, {"size", 1, boxed(20, 5, 1, 1, 3, 3)})).find("20 x 6"),
              std::string::npos);
    // Literal rows of 2000 columns pass the 16-bit offsets of type 2 within 33 rows.
    Picture noisy = Picture::blank(2000, 40, PixelFormat::Indexed8);
    for (std::size_t i = 0; i < noisy.pixels.size(); ++i) {
        noisy.pixels[i] = static_cast<std::uint8_t>(8 + i % 200);
    }
    EXPECT_NE(refusal(oneFrame(2000, 40, {"big", 2, noisy})).find("type 1"), std::string::npos);
    DefSource many = sourceOf(0, 1, 1, std::vector<DefBlockSource>(256));
    EXPECT_NE(refusal(many).find("255"), std::string::npos);
}

TEST(DefEncoder, ASpriteWithoutFramesStillWalks) {
    const std::vector<std::byte> file = encodeDef(sourceOf(0, 8, 8, {{1, {}}, {2, {}}}));
    const DefSprite sprite = DefSprite::walk(file, "x.def");
    EXPECT_EQ(sprite.frameTotal(), 0U);
    EXPECT_EQ(sprite.blocks().size(), 2U);
}

}  // namespace
}  // namespace brasvel
