// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: a BMP file read back into a picture. What is read must write and read again to
// the same picture.

#include "base/ResourceError.h"
#include "fuzz/FuzzSupport.h"
#include "imaging/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    try {
        const Picture picture = decodeBmp(fuzz::inputBytes(data, size));
        FUZZ_CHECK(picture.pixels.size() ==
                   picture.rowBytes() * static_cast<std::size_t>(picture.height));
        // Every row was in the file, so the picture cannot hold more bytes than the file.
        FUZZ_CHECK(picture.pixels.size() <= size || picture.format == PixelFormat::Rgb24);
        const std::vector<std::byte> again = encodeBmp(picture, kPictureBmp8);
        FUZZ_CHECK(decodeBmp(again) == picture);
    } catch (const ResourceError& error) {
        FUZZ_CHECK(!error.text().empty());
    }
    return 0;
}
