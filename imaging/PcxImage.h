// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The game's pictures: a 12-byte header (size of the pixel block, width, height), the pixels row
// after row from the top, and for the 8-bit kind a 768-byte palette after them. The file's length
// alone tells the kind. decodePcx turns one into a Picture; encodePcx makes one of a Picture.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/Picture.h"

namespace brasvel {

struct PcxInfo {
    int bits = 8;  // 8 (paletted) or 24
    std::int32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PcxInfo&, const PcxInfo&) = default;
};

// The header and kind of a picture. Throws ResourceError when the file is neither kind.
PcxInfo readPcxInfo(Bytes pcx);

// The pixels of a picture: Indexed8 with its palette, or Rgb24. Throws ResourceError for a
// damaged or absurd picture.
Picture decodePcx(Bytes pcx);

// A picture file of the kind the picture's pixel format names: 8-bit with its palette, or
// 24-bit. The picture's size must pass checkPictureSize.
std::vector<std::byte> encodePcx(const Picture& picture);

// `picture` made ready for encodePcx at `bits` (8 or 24; none: 8 where that is exact, else
// refused). An indexed picture keeps its palette; an RGB one becomes 8-bit exactly when it has
// at most 256 colours (the palette in order of first appearance). Never quantises: more colours
// than 8 bits hold throw ResourceError "Too many colours" saying how many and what to do.
Picture pcxPixels(const Picture& picture, std::optional<int> bits);

}  // namespace brasvel
