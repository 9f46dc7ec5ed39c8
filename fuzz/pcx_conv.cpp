// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: a game picture decoded and written as a BMP file.

#include "base/ResourceError.h"
#include "fuzz/FuzzSupport.h"
#include "imaging/Bmp.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    try {
        const Picture decoded = decodePcx(fuzz::inputBytes(data, size));
        const PcxInfo info = readPcxInfo(fuzz::inputBytes(data, size));
        FUZZ_CHECK(decoded.width == info.width && decoded.height == info.height);
        const std::vector<std::byte> bmp = encodePicture(decoded, PictureFormat::Bmp);
        const auto bits = static_cast<std::uint16_t>(info.bits);
        const std::uint64_t expected =
            kBmpHeadersSize + (bits == 8 ? kBmpPaletteSize : 0) +
            bmpStride(bits, info.width) * static_cast<std::uint64_t>(info.height);
        FUZZ_CHECK(bmp.size() == expected);
        FUZZ_CHECK(loadU32(bmp.data() + 2) == bmp.size());
        if (info.width > 0 && info.height > 0) {
            // The BMP's first row is the picture's bottom row: for the 8-bit kind the last
            // `width` bytes of the pixel block, for the 24-bit kind the last stored row.
            const auto width = static_cast<std::size_t>(info.width);
            const auto height = static_cast<std::size_t>(info.height);
            const std::size_t rows =
                bits == 8 ? kBmpHeadersSize + kBmpPaletteSize : kBmpHeadersSize;
            const std::size_t bottom = bits == 8 ? 12 + static_cast<std::size_t>(info.size) - width
                                                 : 12 + 3 * width * (height - 1);
            FUZZ_CHECK(bmp[rows] == static_cast<std::byte>(data[bottom]));
        }
    } catch (const ResourceError& error) {
        FUZZ_CHECK(!error.text().empty());
    }
    return 0;
}
