// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: a PNG file read back into a picture through libpng. What is read must write and
// read again to the same picture; read as RGBA, its colours are matched to a sprite's palette.
// Every whole chunk's CRC is set right before reading, so that mutations reach the decoder
// instead of stopping at the checksum.

#include <array>
#include <vector>

#include "base/ResourceError.h"
#include "fuzz/FuzzSupport.h"
#include "imaging/Bmp.h"
#include "imaging/FrameColours.h"
#include "imaging/Png.h"

namespace {

// Pictures within the limits but larger than this are left alone: they run the same code as
// small ones, only longer. Those beyond the limits are still read, as they must be refused early.
constexpr std::uint64_t kMostDecodedPixels = std::uint64_t{1} << 20;

std::uint32_t big32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFU;
    for (std::size_t i = 0; i < size; ++i) {
        c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFU;
}

void fixCrcs(std::vector<std::uint8_t>& png) {
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint64_t length = big32(&png[at]);
        if (at + 12 + length > png.size()) {
            return;
        }
        const std::uint32_t crc = crc32(&png[at + 4], 4 + static_cast<std::size_t>(length));
        const std::size_t crcAt = at + 8 + static_cast<std::size_t>(length);
        for (int i = 0; i < 4; ++i) {
            png[crcAt + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        at = crcAt + 4;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    if (size >= 24) {
        const std::uint64_t width = big32(data + 16);
        const std::uint64_t height = big32(data + 20);
        const bool withinLimits = width <= kMaxPictureSide && height <= kMaxPictureSide &&
                                  width * height <= kMaxPicturePixels;
        if (withinLimits && width * height > kMostDecodedPixels) {
            return 0;
        }
    }
    std::vector<std::uint8_t> png(data, data + size);
    fixCrcs(png);
    try {
        const Picture picture = decodePng(fuzz::inputBytes(png.data(), png.size()));
        FUZZ_CHECK(picture.width > 0 && picture.height > 0);
        FUZZ_CHECK(picture.pixels.size() ==
                   picture.rowBytes() * static_cast<std::size_t>(picture.height));
        const std::vector<std::byte> again = encodePng(picture);
        FUZZ_CHECK(decodePng(again) == picture);
    } catch (const ResourceError& error) {
        FUZZ_CHECK(!error.text().empty());
    }
    // The same file as RGBA, and its colours matched to a palette, as a sprite frame's import
    // does: the size agrees with the indexed reading, a refusal names a pixel.
    try {
        const RgbaPicture rgba = decodePngRgba(fuzz::inputBytes(png.data(), png.size()));
        FUZZ_CHECK(rgba.rgba.size() ==
                   static_cast<std::size_t>(rgba.width) * static_cast<std::size_t>(rgba.height) * 4);
        Palette palette{};
        for (std::size_t i = 0; i < palette.size(); ++i) {
            palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), 0};
        }
        const Picture indices = spriteFrameFromColours(rgba, palette, "frame.png");
        FUZZ_CHECK(indices.pixels.size() == rgba.rgba.size() / 4);
    } catch (const ResourceError& error) {
        FUZZ_CHECK(!error.text().empty());
    }
    return 0;
}
