// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
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
    return {
        type, width, height, testing::rampPalette(), std::move(blocks), type == kFullPictureType};
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

// Frames with what the row encoders must tell apart: runs of every length (past 32, 64 and
// 256), single pixels, the run indices 0 to 7, index 0xFF, other indices, transparent margins
// of any width and wholly transparent frames. Only the generator's raw numbers are used, so
// the frames are the same with every standard library.
Picture mixedFrame(std::int32_t width, std::int32_t height, std::mt19937& random) {
    Picture picture = Picture::blank(width, height, PixelFormat::Indexed8);
    picture.palette = testing::rampPalette();
    const auto below = [&](std::uint32_t bound) {
        return static_cast<std::uint32_t>(random() % bound);
    };
    if (below(8) == 0) {
        return picture;
    }
    const auto margin = [&](std::int32_t side) {
        return below(2) == 0
                   ? 0
                   : static_cast<std::int32_t>(below(static_cast<std::uint32_t>(side / 2 + 1)));
    };
    const std::int32_t left = margin(width);
    const std::int32_t right = width - margin(width);
    const std::int32_t top = margin(height);
    const std::int32_t bottom = height - margin(height);
    for (std::int32_t y = top; y < bottom; ++y) {
        std::int32_t x = left;
        while (x < right) {
            const std::uint32_t kind = below(10);
            const std::uint32_t scale = below(4);
            const std::uint32_t longest = scale == 0 ? 2 : scale == 1 ? 40 : scale == 2 ? 70 : 300;
            const auto run = 1 + static_cast<std::int32_t>(below(longest));
            const auto index = static_cast<std::uint8_t>(kind < 3   ? 0
                                                         : kind < 5 ? 1 + below(7)
                                                         : kind < 6 ? 0xFF
                                                                    : 8 + below(247));
            const bool noisy = below(3) == 0;
            for (std::int32_t k = 0; k < run && x < right; ++k, ++x) {
                picture.row(y)[x] = noisy ? static_cast<std::uint8_t>(index + below(3)) : index;
            }
        }
    }
    return picture;
}

std::uint64_t fingerprint(const std::vector<std::byte>& bytes) {
    std::uint64_t hash = 0xCBF29CE484222325U;  // FNV-1a
    for (const std::byte b : bytes) {
        hash = (hash ^ static_cast<std::uint8_t>(b)) * 0x100000001B3U;
    }
    return hash;
}

// The bytes written are pinned: faster encoders must store every frame exactly as this one
// did, byte for byte, not merely something that decodes to the same indices.
TEST(DefEncoder, StoresEveryFrameAsPinned) {
    struct Case {
        std::int32_t compression;  // -1: each frame its own, 0 to 3 in turn
        std::int32_t width;
        std::int32_t height;
        std::int32_t type;
        std::size_t size;
        std::uint64_t fingerprint;
    };
    const Case cases[] = {
        {0, 1, 1, 0x42, 2032, 0x8643ED825E512FF3U},
        {0, 7, 5, 0x42, 2848, 0xAA2E22979048A776U},
        {0, 31, 9, 0x42, 8704, 0x6551F21914B8ADD2U},
        {0, 32, 12, 0x42, 11224, 0x3D8060C160B173D5U},
        {0, 33, 8, 0x42, 8344, 0x4DC48AA96FD1BDF5U},
        {0, 65, 17, 0x42, 28528, 0x1C0F0FCF9B4D0D2DU},
        {0, 130, 40, 0x42, 126808, 0x25633F169B0A0DC2U},
        {0, 320, 64, 0x42, 493528, 0x87132E3779111A63U},
        {0, 700, 6, 0x42, 102808, 0xAFB4194650125238U},
        {1, 1, 1, 0x42, 2120, 0x87A20A7182774A3BU},
        {1, 7, 5, 0x42, 2663, 0x6B2AC7BB0F767027U},
        {1, 31, 9, 0x42, 4525, 0xFABBC25B8AC089DEU},
        {1, 32, 12, 0x42, 5630, 0xDBD8FC713BCB3AE7U},
        {1, 33, 8, 0x42, 4351, 0xEDFCF0A911F35878U},
        {1, 65, 17, 0x42, 11635, 0xB37D0868FEF643F7U},
        {1, 130, 40, 0x42, 37639, 0xCE298C444F128D86U},
        {1, 320, 64, 0x42, 134212, 0xCC81A69BB4D13F8AU},
        {1, 700, 6, 0x42, 29033, 0x380BA306B479A595U},
        {2, 1, 1, 0x42, 2069, 0x249B8E80E7904D18U},
        {2, 7, 5, 0x42, 2507, 0x6C086D75E96AD36CU},
        {2, 31, 9, 0x42, 4547, 0x7D268C8A0B69D88CU},
        {2, 32, 12, 0x42, 5713, 0x286004938C7788DAU},
        {2, 33, 8, 0x42, 4198, 0x081214D4DDF60597U},
        {2, 65, 17, 0x42, 12581, 0x2C911C64BE6D5ABCU},
        {2, 130, 40, 0x42, 42873, 0x24F9A501A79E7E96U},
        {2, 320, 64, 0x42, 160827, 0x355A6D28D6199DA3U},
        {3, 32, 12, 0x42, 5819, 0xE3F360661BA7DDD0U},
        {3, 33, 8, 0x42, 4285, 0xD36A794AC15BA890U},
        {3, 65, 17, 0x42, 12691, 0x03C4D3951A2D523CU},
        {3, 130, 40, 0x42, 45031, 0x82689C5B0155562BU},
        {3, 320, 64, 0x42, 173550, 0xEA26C635230F6AFBU},
        {-1, 32, 12, 0x42, 6854, 0xF04D05D02FB1E19BU},
        {-1, 33, 8, 0x42, 5181, 0xCBA88321B0015102U},
        {-1, 65, 17, 0x42, 17108, 0xD3D2BE353C71AF66U},
        {-1, 130, 40, 0x42, 61925, 0x79D8D4181B6718A9U},
        {-1, 320, 64, 0x42, 247380, 0xDFC806B2061B0E73U},
        {1, 40, 12, kFullPictureType, 5615, 0xA7E61BEFB1E52891U},
        {-1, 96, 30, kFullPictureType, 37211, 0x4B3E7726A2923448U},
        {1, 700, 6, kFullPictureType, 15003, 0x03A469D64155FA6AU},
    };
    for (const Case& pinned : cases) {
        std::mt19937 random(static_cast<std::uint32_t>(pinned.width * 1000 + pinned.height));
        std::vector<DefBlockSource> blocks(3);
        for (std::int32_t f = 0; f < 24; ++f) {
            const std::int32_t compression = pinned.compression >= 0 ? pinned.compression : f % 4;
            blocks[static_cast<std::size_t>(f % 3)].frames.push_back(
                {"f" + std::to_string(f), compression,
                 mixedFrame(pinned.width, pinned.height, random)});
        }
        if (pinned.type == kFullPictureType) {
            for (DefBlockSource& block : blocks) {
                for (DefFrameSource& frame : block.frames) {
                    std::fill(frame.picture.pixels.end() - 3 * pinned.width,
                              frame.picture.pixels.end(), std::uint8_t{0});
                }
            }
        }
        const DefSource source = sourceOf(pinned.type, pinned.width, pinned.height, blocks);
        const std::vector<std::byte> file = encodeDef(source);
        EXPECT_EQ(file.size(), pinned.size) << "compression " << pinned.compression << ", "
                                            << pinned.width << " x " << pinned.height;
        EXPECT_EQ(fingerprint(file), pinned.fingerprint)
            << "compression " << pinned.compression << ", " << pinned.width << " x "
            << pinned.height;
        expectRoundTrip(source);
    }
}

TEST(DefEncoder, ASpriteWithoutFramesStillWalks) {
    const std::vector<std::byte> file = encodeDef(sourceOf(0, 8, 8, {{1, {}}, {2, {}}}));
    const DefSprite sprite = DefSprite::walk(file, "x.def");
    EXPECT_EQ(sprite.frameTotal(), 0U);
    EXPECT_EQ(sprite.blocks().size(), 2U);
}

}  // namespace
}  // namespace brasvel
