// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
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

// A PNG written by libpng's own writer, with what our encoder never writes: 16-bit or 2-bit
// samples, grey, alpha, interlacing, and colour-space chunks that a reader must not apply.
struct PngLayout {
    std::uint32_t width = 2;
    std::uint32_t height = 1;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    std::vector<std::uint8_t> rows;  // the samples as the file holds them, row after row
    std::vector<png_color> palette;
    bool colourSpace = false;  // gAMA 1.0 (linear light) and cHRM
    bool interlaced = false;
    bool srgb = false;
};

std::vector<std::byte> writtenPng(const PngLayout& layout) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<std::byte> out;
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* bytes = static_cast<std::vector<std::byte>*>(png_get_io_ptr(p));
            const auto* from = reinterpret_cast<const std::byte*>(data);
            bytes->insert(bytes->end(), from, from + length);
        },
        nullptr);
    png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty()) {
        png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    }
    if (layout.colourSpace) {
        png_set_gAMA_fixed(png, info, PNG_GAMMA_LINEAR);
        png_set_cHRM_fixed(png, info, 31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000);
    }
    if (layout.srgb) {
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    }
    png_write_info(png, info);
    const std::size_t rowBytes = layout.rows.size() / layout.height;
    std::vector<png_bytep> rows;
    for (std::uint32_t y = 0; y < layout.height; ++y) {
        rows.push_back(const_cast<png_bytep>(layout.rows.data() + y * rowBytes));
    }
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

TEST(Png, SamplesAndPaletteBytesAreReadExactly) {
    const std::vector<png_color> palette = {{0x12, 0x80, 0xFE}, {0x01, 0x02, 0x03}, {200, 7, 99}};
    struct Case {
        const char* what;
        PngLayout layout;
        Picture expected;
    };
    const auto rgb = [](std::int32_t width, std::vector<std::uint8_t> pixels) {
        Picture picture = Picture::blank(width, 1, PixelFormat::Rgb24);
        picture.pixels = std::move(pixels);
        return picture;
    };
    Picture indexed = Picture::blank(4, 1, PixelFormat::Indexed8);
    indexed.pixels = {2, 0, 1, 3};  // 3 lies past the palette: black
    std::transform(palette.begin(), palette.end(), indexed.palette.begin(), [](png_color c) {
        return Colour{c.red, c.green, c.blue};
    });
    const Case cases[] = {
        {"16-bit grey without gamma: the high byte, not linear light",
         {2, 1, 16, PNG_COLOR_TYPE_GRAY, {0x80, 0x80, 0xFF, 0x01}, {}, false, false, false},
         rgb(2, {0x80, 0x80, 0x80, 0xFF, 0xFF, 0xFF})},
        {"16-bit RGB with a linear gamma chunk",
         {1,
          1,
          16,
          PNG_COLOR_TYPE_RGB,
          {0x40, 0xFF, 0x80, 0x00, 0xC0, 0x7F},
          {},
          true,
          false,
          false},
         rgb(1, {0x40, 0x80, 0xC0})},
        {"16-bit grey and alpha: the alpha dropped, not composed",
         {1, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, {0x33, 0x00, 0x00, 0x00}, {}, false, false, false},
         rgb(1, {0x33, 0x33, 0x33})},
        {"8-bit RGBA with an sRGB chunk",
         {1, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA, {10, 20, 30, 0}, {}, false, false, true},
         rgb(1, {10, 20, 30})},
        {"2-bit grey, interlaced",
         {3, 1, 2, PNG_COLOR_TYPE_GRAY, {0b00011011}, {}, false, true, false},
         rgb(3, {0x00, 0x00, 0x00, 0x55, 0x55, 0x55, 0xAA, 0xAA, 0xAA})},
        {"2-bit indexed with a linear gamma chunk: palette bytes as stored",
         {4, 1, 2, PNG_COLOR_TYPE_PALETTE, {0b10000111}, palette, true, false, false},
         indexed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodePng(writtenPng(c.layout)), c.expected) << c.what;
    }
}

// A PNG of `width` x `height` pixels: a 1 x 1 file with its header's sides rewritten.
std::vector<std::byte> claimingSize(std::uint32_t width, std::uint32_t height) {
    std::vector<std::byte> png = encodePng(Picture::blank(1, 1, PixelFormat::Indexed8));
    for (const auto& [at, side] : {std::pair{16U, width}, std::pair{20U, height}}) {
        for (int i = 0; i < 4; ++i) {
            png[at + static_cast<std::size_t>(i)] = static_cast<std::byte>(side >> (24 - 8 * i));
        }
    }
    const std::uint32_t crc = libdeflate_crc32(0, &png[12], 17);
    for (int i = 0; i < 4; ++i) {
        png[29 + static_cast<std::size_t>(i)] = static_cast<std::byte>(crc >> (24 - 8 * i));
    }
    return png;
}

TEST(Png, EmptyOrHugeHeadersAreRefusedByName) {
    const struct {
        std::uint32_t width, height;
        const char* text;
    } cases[] = {
        {0, 5, "Empty picture"},         {5, 0, "Empty picture"},
        {0, 0, "Empty picture"},         {40000, 40000, "Picture too large"},
        {32769, 1, "Picture too large"},
    };
    for (const auto& c : cases) {
        try {
            decodePicture(claimingSize(c.width, c.height), PictureFormat::Png);
            ADD_FAILURE() << c.width << " x " << c.height;
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), c.text) << c.width << " x " << c.height;
        }
    }
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
