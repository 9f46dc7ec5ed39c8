// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <string>

#include "ImagingFixtures.h"
#include "imaging/PcxImage.h"
#include "imaging/Png.h"
#include "imaging/PictureFormats.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace brasvel {
namespace {

using writers::asBytes;
using writers::gamePcx;

std::string sequence(std::size_t length, int first = 0) {
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) {
        bytes += static_cast<char>(first + static_cast<int>(i));
    }
    return bytes;
}

std::string palette() {
    return sequence(768, 1);
}

// A picture decoded and written as the BMP that extraction makes, with its figures.
struct PictureBmp {
    std::vector<std::byte> bmp;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

PictureBmp bmpOfPcx(Bytes pcx) {
    const Picture picture = decodePcx(pcx);
    return {encodePicture(picture, PictureFormat::Bmp), picture.width, picture.height};
}

std::uint32_t u32At(const std::vector<std::byte>& bmp, std::size_t offset) {
    return loadU32(bmp.data() + offset);
}

std::string tail(const std::vector<std::byte>& bmp, std::size_t from) {
    return {reinterpret_cast<const char*>(bmp.data()) + from, bmp.size() - from};
}

std::string expectedHeaders(std::uint32_t fileSize, std::uint32_t offBits, std::int32_t width,
                            std::int32_t height, std::uint16_t bits, std::uint32_t imageSize) {
    std::string h = "BM";
    writers::putU32(h, fileSize);
    writers::putU32(h, 0);
    writers::putU32(h, offBits);
    writers::putU32(h, 40);
    writers::putI32(h, width);
    writers::putI32(h, height);
    writers::putU16(h, 1);
    writers::putU16(h, bits);
    writers::putU32(h, 0);
    writers::putU32(h, imageSize);
    writers::putU32(h, 800);
    writers::putU32(h, 600);
    writers::putU32(h, 0);
    writers::putU32(h, 0);
    return h;
}

TEST(PcxToBmp, KindComesFromTheLengthAlone) {
    EXPECT_EQ(readPcxInfo(asBytes(gamePcx(20, 10, 2, sequence(20), palette()))),
              (PcxInfo{8, 20, 10, 2}));
    EXPECT_EQ(readPcxInfo(asBytes(gamePcx(20, 10, 2, sequence(20), "x"))), (PcxInfo{8, 20, 10, 2}));
    EXPECT_EQ(readPcxInfo(asBytes(gamePcx(20, 1, 1, sequence(20)))), (PcxInfo{24, 20, 1, 1}));
}

TEST(PcxToBmp, EightBitWorkedExampleMatchesByteForByte) {
    const std::string block = sequence(20, 100);
    const std::string pcx = gamePcx(20, 10, 2, block, palette());
    ASSERT_EQ(pcx.size(), 800U);
    const PictureBmp picture = bmpOfPcx(asBytes(pcx));
    EXPECT_EQ(picture.width, 10);
    EXPECT_EQ(picture.height, 2);
    std::string expected = expectedHeaders(1102, 1078, 10, 2, 8, 24);
    for (int i = 0; i < 256; ++i) {
        const std::string rgb = palette().substr(3 * static_cast<std::size_t>(i), 3);
        expected += {rgb[2], rgb[1], rgb[0], '\0'};
    }
    expected +=
        block.substr(10, 10) + std::string(2, '\0') + block.substr(0, 10) + std::string(2, '\0');
    EXPECT_EQ(tail(picture.bmp, 0), expected);
}

TEST(PcxToBmp, TwentyFourBitWorkedExampleMatchesByteForByte) {
    const std::string pixels = sequence(15, 1);
    const std::string pcx = gamePcx(15, 5, 1, pixels);
    ASSERT_EQ(pcx.size(), 27U);
    const PictureBmp picture = bmpOfPcx(asBytes(pcx));
    EXPECT_EQ(tail(picture.bmp, 0),
              expectedHeaders(70, 54, 5, 1, 24, 16) + pixels + std::string(1, '\0'));
}

TEST(PcxToBmp, TwentyFourBitRowsAreStoredBottomUpAndCopiedUnchanged) {
    const std::string pixels = sequence(3 * 2 * 3, 1);  // 2 wide, 3 high
    const PictureBmp picture = bmpOfPcx(asBytes(writers::gamePcx24(2, 3, pixels)));
    const std::string pad(2, '\0');
    EXPECT_EQ(tail(picture.bmp, 54),
              pixels.substr(12, 6) + pad + pixels.substr(6, 6) + pad + pixels.substr(0, 6) + pad);
}

TEST(PcxToBmp, EightBitWidthOfAMultipleOfFourHasNoPadding) {
    writers::PixelGrid grid(8, 3);
    for (std::size_t i = 0; i < grid.pixels.size(); ++i) {
        grid.pixels[i] = static_cast<std::uint8_t>(i);
    }
    const PictureBmp picture = bmpOfPcx(asBytes(writers::gamePcx8(grid, palette())));
    EXPECT_EQ(u32At(picture.bmp, 2), 1078U + 24);
    const std::string block(grid.pixels.begin(), grid.pixels.end());
    EXPECT_EQ(tail(picture.bmp, 1078),
              block.substr(16, 8) + block.substr(8, 8) + block.substr(0, 8));
}

TEST(PcxToBmp, BytesAfterThePaletteAreIgnored) {
    const std::string block = sequence(12, 7);
    const PictureBmp plain = bmpOfPcx(asBytes(gamePcx(12, 4, 3, block, palette())));
    const PictureBmp extra = bmpOfPcx(asBytes(gamePcx(12, 4, 3, block, palette() + "trailing")));
    EXPECT_EQ(plain.bmp, extra.bmp);
}

TEST(PcxToBmp, RowsComeFromTheLastPixelsOfALargerBlock) {
    const std::string block = sequence(10, 1);  // 2 × 2 picture in a 10-byte block
    const PictureBmp picture = bmpOfPcx(asBytes(gamePcx(10, 2, 2, block, palette())));
    EXPECT_EQ(tail(picture.bmp, 1078), block.substr(8, 2) + std::string(2, '\0') +
                                           block.substr(6, 2) + std::string(2, '\0'));
}

TEST(PcxToBmp, ZeroWidthOrHeightGivesTheHeadersAlone) {
    EXPECT_EQ(bmpOfPcx(asBytes(gamePcx(0, 0, 5, "", palette()))).bmp.size(), 1078U);
    EXPECT_EQ(bmpOfPcx(asBytes(gamePcx(0, 7, 0, "", palette()))).bmp.size(), 1078U);
    EXPECT_EQ(bmpOfPcx(asBytes(gamePcx(0, 0, 0, ""))).bmp.size(), 54U);  // 24-bit by its length
}

TEST(PcxToBmp, FileOfExactlyTwelvePlusSizeIsTwentyFourBitAndFailsWhenRowsRunOut) {
    const std::string pcx = gamePcx(4, 2, 2, sequence(4));
    EXPECT_EQ(readPcxInfo(asBytes(pcx)).bits, 24);
    try {
        bmpOfPcx(asBytes(pcx));
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Read beyond end of file");
        EXPECT_NE(error.detail().find("offset 18"), std::string::npos) << error.detail();
    }
}

TEST(PcxToBmp, FileShorterThanItsPixelBlockMakesNoPicture) {
    const std::string pcx = gamePcx(100, 10, 10, sequence(50));
    EXPECT_THROW(readPcxInfo(asBytes(pcx)), ResourceError);
    try {
        bmpOfPcx(asBytes(pcx));
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Read beyond end of file");
    }
}

TEST(PcxToBmp, PaletteCutShortFails) {
    const std::string pcx = gamePcx(4, 2, 2, sequence(4), palette().substr(0, 767));
    EXPECT_EQ(readPcxInfo(asBytes(pcx)).bits, 8);
    EXPECT_THROW(bmpOfPcx(asBytes(pcx)), ResourceError);
}

TEST(PcxToBmp, BlockShorterThanThePictureIsRefused) {
    try {
        bmpOfPcx(asBytes(gamePcx(3, 2, 2, sequence(3), palette())));
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Damaged picture");
    }
}

TEST(PcxToBmp, AbsurdHeadersAreRefusedBeforeAnythingIsMade) {
    EXPECT_THROW(bmpOfPcx(asBytes(gamePcx(-1, 2, 2, "", palette()))), ResourceError);
    EXPECT_THROW(bmpOfPcx(asBytes(gamePcx(4, -2, -2, sequence(4), palette()))), ResourceError);
    try {
        bmpOfPcx(asBytes(gamePcx(0, 1 << 20, 1, "", palette())));
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Picture too large");
    }
}

TEST(PcxToBmp, WidePicturesBeyondEightHundredPixelsConvert) {
    writers::PixelGrid grid(1000, 2, 9);
    const PictureBmp picture = bmpOfPcx(asBytes(writers::gamePcx8(grid, palette())));
    EXPECT_EQ(picture.bmp.size(), 1078U + 2000);
}

TEST(PcxToBmp, EveryTruncationFailsCleanly) {
    writers::PixelGrid grid(5, 3, 4);
    const std::string eightBit = writers::gamePcx8(grid, palette());
    const std::string twentyFour = writers::gamePcx24(3, 2, sequence(18));
    for (const std::string& full : {eightBit, twentyFour}) {
        ASSERT_NO_THROW(bmpOfPcx(asBytes(full)));
        for (std::size_t length = 0; length < full.size(); ++length) {
            EXPECT_THROW(bmpOfPcx(asBytes(full).first(length)), ResourceError) << length;
        }
    }
}

// --- Writing pictures ---

TEST(PcxEncode, WrittenPicturesAreTheWritersBytesAndDecodeToThemselves) {
    writers::PixelGrid grid(5, 3);
    for (std::size_t i = 0; i < grid.pixels.size(); ++i) {
        grid.pixels[i] = static_cast<std::uint8_t>(i * 9);
    }
    const std::string pcx8 = writers::gamePcx8(grid, palette());
    const std::string pcx24 = writers::gamePcx24(2, 3, sequence(18, 1));
    for (const std::string& pcx : {pcx8, pcx24}) {
        const Picture picture = decodePcx(asBytes(pcx));
        const std::vector<std::byte> written = encodePcx(picture);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(written.data()), written.size()), pcx);
    }
}

// PNG out, then back in: the same pixels and palette, and the same picture file.
TEST(PcxEncode, PngOutAndBackGivesTheSamePicture) {
    for (const Picture& picture : {testing::patternedIndices(17, 9), testing::patternedRgb(6, 4)}) {
        const std::vector<std::byte> pcx = encodePcx(picture);
        const std::vector<std::byte> png = encodePicture(decodePcx(pcx), PictureFormat::Png);
        // A 24-bit picture of few colours would become 8-bit without --bits 24.
        const std::optional<int> bits =
            picture.format == PixelFormat::Rgb24 ? std::optional<int>{24} : std::nullopt;
        const Picture back = pcxPixels(decodePicture(png, PictureFormat::Png), bits);
        EXPECT_EQ(back.format, picture.format);
        EXPECT_EQ(encodePcx(back), pcx);
    }
}

TEST(PcxEncode, RgbOfAtMost256ColoursBecomesExactlyIndexed) {
    const auto distinctColours = [](std::int32_t count) {
        Picture rgb = Picture::blank(count, 2, PixelFormat::Rgb24);
        for (std::size_t p = 0; p < 2 * static_cast<std::size_t>(count); ++p) {
            const std::size_t colour = p % static_cast<std::size_t>(count);
            rgb.pixels[3 * p] = static_cast<std::uint8_t>(colour);
            rgb.pixels[3 * p + 1] = static_cast<std::uint8_t>(colour >> 8);
            rgb.pixels[3 * p + 2] = 7;
        }
        return rgb;
    };
    Picture rgb = distinctColours(256);
    const Picture indexed = pcxPixels(rgb, std::nullopt);
    ASSERT_EQ(indexed.format, PixelFormat::Indexed8);
    EXPECT_EQ(pcxPixels(indexed, 24), rgb);  // expanding gives every colour back
    EXPECT_EQ(pcxPixels(rgb, 24), rgb);

    rgb = distinctColours(257);
    for (const std::optional<int> bits : {std::optional<int>{}, std::optional<int>{8}}) {
        try {
            pcxPixels(rgb, bits);
            FAIL();
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), "Too many colours");
            EXPECT_NE(error.detail().find("257 colours"), std::string::npos) << error.detail();
            EXPECT_NE(error.detail().find("--bits 24"), std::string::npos);
        }
    }
    EXPECT_THROW(pcxPixels(rgb, 16), ResourceError);
}

}  // namespace
}  // namespace brasvel
