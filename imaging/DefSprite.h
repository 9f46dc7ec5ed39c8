#pragma once

// The game's sprite collections: a palette, one picture size, and blocks of frames stored in one
// of four encodings. DefSprite walks the directory once; any frame can then be rendered to an
// 8-bit BMP file in memory, as often as needed, without reading the file again.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ByteReader.h"
#include "imaging/PcxImage.h"

namespace brasvel {

struct DefHeaderInfo {
    std::int32_t type = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The sprite's own header figures. Throws ResourceError when the file ends inside the header.
DefHeaderInfo readDefHeader(Bytes def);

class DefSprite {
public:
    // Walks the directory of `def`. `defFileName` (the entry's Name + ".def") selects the rules of
    // the special files. `def` must outlive the sprite. Throws ResourceError.
    static DefSprite walk(Bytes def, std::string_view defFileName);

    // The type shown in the type box: the header's, or 153 for the two special files.
    std::int32_t type() const { return type_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // Frames over all blocks, numbered from 1.
    std::uint32_t frameTotal() const { return static_cast<std::uint32_t>(frameOffsets_.size()); }

    // Frame `frame` (1 to frameTotal) as a BMP file. Throws ResourceError.
    ConvertedPicture renderFrame(std::uint32_t frame) const;

private:
    Bytes def_;
    std::int32_t type_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<std::uint32_t> frameOffsets_;
};

// The type in upper-case hexadecimal, at least two digits ("99" for 153).
std::string defTypeText(std::int32_t type);

}  // namespace brasvel
