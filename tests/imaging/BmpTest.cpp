// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <array>

#include "base/ByteReader.h"
#include "ImagingFixtures.h"
#include "imaging/Bmp.h"

namespace brasvel {
namespace {

std::uint32_t u32At(const std::vector<std::byte>& bmp, std::size_t offset) {
    return loadU32(bmp.data() + offset);
}

TEST(Bmp, StrideRoundsTheRowUpToFourBytes) {
    EXPECT_EQ(bmpStride(8, 0), 0U);
    EXPECT_EQ(bmpStride(8, 5), 8U);
    EXPECT_EQ(bmpStride(8, 8), 8U);
    EXPECT_EQ(bmpStride(24, 5), 16U);
    EXPECT_EQ(bmpStride(24, 4), 12U);
}

TEST(Bmp, SpriteHeadersStateNoImageSizeAndAllColoursUsed) {
    Palette palette{};
    palette[0] = {10, 20, 30};
    const auto bmp = startBmp(kSpriteBmp, 5, 3, palette);
    ASSERT_EQ(bmp.size(), 1078U + 8 * 3);
    EXPECT_EQ(u32At(bmp, 2), 1078U + 24);  // bfSize
    EXPECT_EQ(u32At(bmp, 10), 1078U);      // bfOffBits
    EXPECT_EQ(u32At(bmp, 34), 0U);         // biSizeImage
    EXPECT_EQ(u32At(bmp, 38), 65536U);
    EXPECT_EQ(u32At(bmp, 42), 65536U);
    EXPECT_EQ(u32At(bmp, 46), 256U);
    EXPECT_EQ(bmp[54], std::byte{30});  // blue, green, red, 0
    EXPECT_EQ(bmp[55], std::byte{20});
    EXPECT_EQ(bmp[56], std::byte{10});
    EXPECT_EQ(bmp[57], std::byte{0});
}

TEST(Bmp, TwentyFourBitHeadersHaveNoPalette) {
    const auto bmp = startBmp(kPictureBmp24, 5, 2, Palette{});
    EXPECT_EQ(bmp.size(), 54U + 32);
    EXPECT_EQ(u32At(bmp, 10), 54U);
    EXPECT_EQ(u32At(bmp, 34), 32U);
    EXPECT_EQ(u32At(bmp, 38), 800U);
    EXPECT_EQ(u32At(bmp, 42), 600U);
}

TEST(Bmp, RowsCountFromTheBottomAndExcludeThePadding) {
    std::vector<std::byte> bmp = startBmp(kPictureBmp24, 5, 2, Palette{});
    const std::span<std::byte> row = bmpRow(bmp, kPictureBmp24, 5, 2, 1);
    EXPECT_EQ(row.size(), 15U);
    EXPECT_EQ(row.data(), bmp.data() + 54 + 16);
}

TEST(Bmp, PictureSizeLimitsNameTheLimit) {
    EXPECT_NO_THROW(checkPictureSize(kMaxPictureSide, 16, ErrorKind::DamagedPicture));
    try {
        checkPictureSize(kMaxPictureSide + 1, 1, ErrorKind::DamagedPicture);
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Picture too large");
        EXPECT_NE(error.detail().find("32768"), std::string::npos);
    }
    try {
        checkPictureSize(kMaxPictureSide, kMaxPictureSide, ErrorKind::DamagedSprite);
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_NE(error.detail().find(std::to_string(kMaxPicturePixels)), std::string::npos);
    }
    try {
        checkPictureSize(-1, 4, ErrorKind::DamagedSprite);
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Damaged sprite");
    }
}

// --- Reading back ---

void put32(std::vector<std::byte>& bmp, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bmp[at + static_cast<std::size_t>(i)] = static_cast<std::byte>(value >> (8 * i));
    }
}

// The same picture stored top-down: negative height, rows in the opposite order.
std::vector<std::byte> flippedToTopDown(std::vector<std::byte> bmp, const Picture& picture) {
    const std::uint32_t offBits = loadU32(bmp.data() + 10);
    const std::uint64_t stride =
        bmpStride(picture.format == PixelFormat::Indexed8 ? 8 : 24, picture.width);
    std::vector<std::byte> rows(bmp.begin() + offBits, bmp.end());
    for (std::int32_t r = 0; r < picture.height; ++r) {
        std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<std::uint64_t>(r)),
                    stride,
                    bmp.begin() + offBits +
                        static_cast<std::ptrdiff_t>(
                            stride * static_cast<std::uint64_t>(picture.height - 1 - r)));
    }
    put32(bmp, 22, static_cast<std::uint32_t>(-picture.height));
    return bmp;
}

TEST(Bmp, EncodedPicturesReadBackBottomUpAndTopDown) {
    for (const Picture& picture : {testing::patternedIndices(7, 5), testing::patternedRgb(5, 3),
                                   testing::patternedRgb(4, 1)}) {
        const std::vector<std::byte> bmp = encodeBmp(picture, kPictureBmp8);
        EXPECT_EQ(decodeBmp(bmp), picture) << picture;
        EXPECT_EQ(decodeBmp(flippedToTopDown(bmp, picture)), picture) << picture;
    }
}

TEST(Bmp, FewerPaletteEntriesLeaveTheRestBlack) {
    Picture picture = testing::patternedIndices(4, 2);
    std::vector<std::byte> bmp = encodeBmp(picture, kPictureBmp8);
    put32(bmp, 46, 16);  // biClrUsed: the file is read with the first 16 entries only
    const Picture read = decodeBmp(bmp);
    EXPECT_EQ(read.palette[15], picture.palette[15]);
    EXPECT_EQ(read.palette[16], Colour{});
}

TEST(Bmp, HostileHeadersAreRefusedWithTheirReason) {
    const std::vector<std::byte> good = encodeBmp(testing::patternedIndices(6, 4), kPictureBmp8);
    struct Case {
        std::size_t at;
        std::uint32_t value;
        const char* text;
    };
    const Case cases[] = {
        {0, 0x4D42 ^ 0x0101, "Damaged BMP file"},  // not "BM"
        {14, 12, "Unsupported BMP file"},          // an old core header
        {28, 16, "Unsupported BMP file"},          // 16 bits per pixel
        {30, 1, "Unsupported BMP file"},           // run-length compressed
        {46, 257, "Damaged BMP file"},             // more colours than 8 bits index
        {22, 0x80000000U, "Damaged BMP file"},     // the most negative height
        {18, 40000, "Picture too large"},          // a side beyond the limit
        {18, 0xFFFFFFFFU, "Damaged picture"},      // a negative width
        {18, 0, "Empty picture"},                  // no columns
        {22, 0, "Empty picture"},                  // no rows
        {10, 0xFFFFFF00U, kReadBeyondEnd},         // rows beyond the file
        {22, 5000, kReadBeyondEnd},                // more rows than the file holds
    };
    for (const Case& c : cases) {
        std::vector<std::byte> bmp = good;
        put32(bmp, c.at, c.value);
        try {
            decodeBmp(bmp);
            ADD_FAILURE() << "offset " << c.at << " value " << c.value << " was read";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), c.text) << c.at << ": " << error.describe();
        }
    }
    // The last row may lack its 2 bytes of padding; anything shorter is refused.
    for (std::size_t length = 0; length + 2 < good.size(); ++length) {
        EXPECT_THROW(decodeBmp(Bytes(good).first(length)), ResourceError) << length;
    }
    EXPECT_NO_THROW(decodeBmp(Bytes(good).first(good.size() - 2)));
}

}  // namespace
}  // namespace brasvel
