#include <gtest/gtest.h>
#include <libdeflate.h>
#include <png.h>

#include <string>

#include "ImagingFixtures.h"
#include "imaging/Bmp.h"
#include "imaging/PictureFormats.h"
#include "imaging/Png.h"

namespace brasvel {
namespace {

using testing::patternedIndices;
using testing::patternedRgb;

struct Rgba {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;  // 4 bytes a pixel
};

// What any PNG reader shows: the picture as RGBA, read by libpng on its own.
Rgba shownRgba(const std::vector<std::byte>& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_NE(png_image_begin_read_from_memory(&image, png.data(), png.size()), 0);
    image.format = PNG_FORMAT_RGBA;
    Rgba rgba{static_cast<std::int32_t>(image.width), static_cast<std::int32_t>(image.height),
              std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
    EXPECT_NE(png_image_finish_read(&image, nullptr, rgba.pixels.data(), 0, nullptr), 0);
    return rgba;
}

std::uint32_t big32(const std::byte* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

struct ChunkSeen {
    std::string type;
    std::uint32_t sequence = 0;  // fcTL and fdAT
};

// The chunks of a PNG file, each CRC checked.
std::vector<ChunkSeen> chunksOf(const std::vector<std::byte>& png) {
    std::vector<ChunkSeen> chunks;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = big32(&png[at]);
        const std::string type(reinterpret_cast<const char*>(&png[at + 4]), 4);
        EXPECT_LE(at + 12 + length, png.size());
        const std::uint32_t crc = libdeflate_crc32(0, &png[at + 4], 4 + length);
        EXPECT_EQ(big32(&png[at + 8 + length]), crc) << type;
        const bool sequenced = type == "fcTL" || type == "fdAT";
        chunks.push_back({type, sequenced ? big32(&png[at + 8]) : 0});
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

TEST(Png, IndexedAndRgbPicturesComeBackUnchanged) {
    for (const Picture& picture :
         {patternedIndices(37, 11), patternedIndices(1, 1), patternedRgb(13, 7)}) {
        EXPECT_EQ(decodePng(encodePng(picture)), picture) << picture;
    }
}

TEST(Png, SpriteMarkersBecomeTransparencyAndShadows) {
    Picture frame = Picture::blank(9, 1, PixelFormat::Indexed8);
    frame.palette = testing::rampPalette();
    for (std::uint8_t i = 0; i < 9; ++i) {
        frame.pixels[i] = i;
    }
    struct Case {
        EncodeOptions options;
        std::array<std::uint8_t, 9> alpha;
    };
    const Case cases[] = {
        {{PictureRole::SpriteFrame, false, false}, {0, 64, 0, 0, 128, 0, 128, 64, 255}},
        {{PictureRole::SpriteFrame, true, false}, {0, 64, 0, 0, 128, 255, 128, 64, 255}},
        {{PictureRole::SpriteFrame, false, true}, {255, 255, 255, 255, 255, 255, 255, 255, 255}},
        {{PictureRole::GamePicture, false, false}, {255, 255, 255, 255, 255, 255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        const std::vector<std::byte> png = encodePicture(frame, PictureFormat::Png, c.options);
        const Rgba shown = shownRgba(png);
        for (std::size_t i = 0; i < 9; ++i) {
            EXPECT_EQ(shown.pixels[4 * i + 3], c.alpha[i])
                << "index " << i << " selection " << c.options.selection;
            const bool shadow = i == 1 || i == 4 || i == 6 || i == 7;
            if (shadow && c.alpha[i] < 255) {
                EXPECT_EQ(shown.pixels[4 * i], 0);  // black
            }
        }
        // The outline, when drawn, has its palette colour; the indices always come back.
        if (c.options.selection) {
            EXPECT_EQ(shown.pixels[4 * 5], frame.palette[5].red);
            EXPECT_EQ(shown.pixels[4 * 5 + 2], frame.palette[5].blue);
        }
        EXPECT_EQ(decodePng(png).pixels, frame.pixels);
        if (c.options.keepPalette) {
            EXPECT_EQ(decodePng(png), frame);
        }
    }
}

TEST(Png, AnEmptyPictureIsRefused) {
    EXPECT_THROW(encodePng(Picture::blank(0, 5, PixelFormat::Indexed8)), ResourceError);
    EXPECT_THROW(encodePng(Picture::blank(4, 0, PixelFormat::Rgb24)), ResourceError);
}

TEST(Png, AnimationHasOneControlPerFrameInSequenceAndShowsItsFirstFrame) {
    std::vector<Picture> frames;
    for (int f = 0; f < 3; ++f) {
        Picture frame = patternedIndices(20, 10);
        frame.pixels[static_cast<std::size_t>(f)] = 9;
        frames.push_back(frame);
    }
    const std::vector<std::byte> apng = encodeAnimatedPng(frames, kOpaque, 80);
    std::vector<std::string> order;
    std::vector<std::uint32_t> sequence;
    for (const ChunkSeen& chunk : chunksOf(apng)) {
        order.push_back(chunk.type);
        if (chunk.type == "fcTL" || chunk.type == "fdAT") {
            sequence.push_back(chunk.sequence);
        }
    }
    ASSERT_GE(order.size(), 8U);
    EXPECT_EQ(order[0], "IHDR");
    EXPECT_EQ(order[1], "acTL");
    EXPECT_EQ(order.back(), "IEND");
    EXPECT_EQ(std::count(order.begin(), order.end(), "fcTL"), 3);
    EXPECT_LT(std::find(order.begin(), order.end(), "PLTE"),
              std::find(order.begin(), order.end(), "fcTL"));
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        EXPECT_EQ(sequence[i], i);
    }
    EXPECT_EQ(decodePng(apng), frames[0]);
    frames[1] = patternedIndices(21, 10);
    EXPECT_THROW(encodeAnimatedPng(frames, kOpaque, 80), ResourceError);
}

TEST(Png, DamagedOrHugeFilesAreRefusedCleanly) {
    const std::vector<std::byte> png = encodePng(patternedIndices(30, 20));
    for (std::size_t length = 0; length < png.size(); ++length) {
        try {
            decodePng(Bytes(png).first(length));
        } catch (const ResourceError& error) {
            EXPECT_FALSE(error.text().empty());
        }
    }
    // A header claiming 40000 × 40000 pixels: refused before the pixels are allocated.
    std::vector<std::byte> huge = encodePng(Picture::blank(1, 1, PixelFormat::Indexed8));
    for (const std::size_t at : {16U, 20U}) {
        huge[at] = std::byte{0};
        huge[at + 1] = std::byte{0};
        huge[at + 2] = std::byte{0x9C};
        huge[at + 3] = std::byte{0x40};
    }
    const std::uint32_t crc = libdeflate_crc32(0, &huge[12], 17);
    for (int i = 0; i < 4; ++i) {
        huge[29 + static_cast<std::size_t>(i)] = static_cast<std::byte>(crc >> (24 - 8 * i));
    }
    try {
        decodePng(huge);
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Picture too large");
    }
}

}  // namespace
}  // namespace brasvel
