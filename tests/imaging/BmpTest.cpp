#include <gtest/gtest.h>

#include <array>

#include "base/ByteReader.h"
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
    EXPECT_NO_THROW(checkPictureSize(kMaxPictureSide, 16, "picture"));
    try {
        checkPictureSize(kMaxPictureSide + 1, 1, "picture");
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Picture too large");
        EXPECT_NE(error.detail().find("32768"), std::string::npos);
    }
    try {
        checkPictureSize(kMaxPictureSide, kMaxPictureSide, "sprite");
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_NE(error.detail().find(std::to_string(kMaxPicturePixels)), std::string::npos);
    }
    try {
        checkPictureSize(-1, 4, "sprite");
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Damaged sprite");
    }
}

}  // namespace
}  // namespace brasvel
