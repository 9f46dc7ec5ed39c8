#pragma once

// The game's pictures: a 12-byte header (size of the pixel block, width, height), the pixels row
// after row from the top, and for the 8-bit kind a 768-byte palette after them. The file's length
// alone tells the kind. Conv turns one into a BMP file in memory.

#include <cstdint>
#include <vector>

#include "base/ByteReader.h"

namespace brasvel {

// A picture converted to a BMP file, with the figures the status bar shows.
struct ConvertedPicture {
    std::vector<std::byte> bmp;  // the whole BMP file
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const ConvertedPicture&, const ConvertedPicture&) = default;
};

struct PcxInfo {
    int bits = 8;  // 8 (paletted) or 24
    std::int32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PcxInfo&, const PcxInfo&) = default;
};

// The header and kind of a picture. Throws ResourceError when the file is neither kind.
PcxInfo readPcxInfo(Bytes pcx);

// The BMP file of a picture. Throws ResourceError for a damaged or absurd picture.
ConvertedPicture Conv(Bytes pcx);

}  // namespace brasvel
