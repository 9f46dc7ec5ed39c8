// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: the input read as a bitmap font and as a cell mask, and each drawn when it fits.

#include "fuzz/FuzzSupport.h"
#include "imaging/BitFont.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    const Bytes input = fuzz::inputBytes(data, size);
    if (const std::optional<BitFont> font = readBitFont(input)) {
        // A font fits exactly: its header and whole glyphs, nothing more.
        FUZZ_CHECK(font->count >= 1 && font->count <= kMostGlyphs);
        FUZZ_CHECK(5 + font->count * font->glyphs.bytes() == size);
        const Picture sheet = fontSheet(*font);
        FUZZ_CHECK(sheet.pixels.size() ==
                   static_cast<std::size_t>(sheet.width) * static_cast<std::size_t>(sheet.height));
    }
    if (const std::optional<CellMask> mask = readCellMask(input)) {
        FUZZ_CHECK(mask->layers >= 1 && mask->layers <= kMostMaskLayers);
        FUZZ_CHECK(2 + mask->layers * mask->cells.bytes() == size);
        const Picture drawn = maskPicture(*mask);
        FUZZ_CHECK(drawn.pixels.size() ==
                   static_cast<std::size_t>(drawn.width) * static_cast<std::size_t>(drawn.height));
    }
    return 0;
}
