// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The game's sprite collections: a palette, one picture size, and blocks of frames stored in one
// of four encodings. DefSprite walks the directory once; any frame can then be decoded to an
// indexed Picture with the sprite's palette, as often as needed, without reading the file again.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/Picture.h"

namespace brasvel {

struct DefHeaderInfo {
    std::int32_t type = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const DefHeaderInfo&, const DefHeaderInfo&) = default;
};

// The sprite's own header figures. Throws ResourceError when the file ends inside the header.
DefHeaderInfo readDefHeader(Bytes def);

// The 32 bytes in front of every frame's data.
struct DefFrameHeader {
    std::int32_t compression = 0;  // 0 to 3
    std::int32_t spriteWidth = 0;
    std::int32_t spriteHeight = 0;
    std::int32_t left = 0;  // picture column of the sprite's left edge
    std::int32_t top = 0;   // picture row of the sprite's top edge
    friend bool operator==(const DefFrameHeader&, const DefFrameHeader&) = default;
};

// The type whose type-1 frames are placed over the whole picture, and the two files that have it
// whatever their header says.
inline constexpr std::int32_t kFullPictureType = 153;

// The type a sprite of `headerType` is shown and decoded as when its file is named `defFileName`:
// 153 for the two files with reserved names, else the header's.
std::int32_t defShownType(std::int32_t headerType, std::string_view defFileName);

// A block of the directory: its identifier and the names of its frames as stored (13 bytes each,
// NUL bytes included). Its frames are numbered firstFrame to firstFrame + names.size() - 1.
struct DefBlockInfo {
    std::int32_t identifier = 0;
    std::uint32_t firstFrame = 1;
    std::vector<std::string> frameNames;
    friend bool operator==(const DefBlockInfo&, const DefBlockInfo&) = default;
};

class DefSprite {
public:
    // Walks the directory of `def`. `defFileName` (the entry's Name + ".def") selects the rules of
    // the files with reserved names ("Cphx.def", "SGTWMTA.def", "SGTWMTB.def"). `def` must outlive
    // the sprite. Throws ResourceError.
    static DefSprite walk(Bytes def, std::string_view defFileName);

    // The type shown in the type box: the header's, or 153 for the two files with reserved names.
    std::int32_t type() const { return type_; }
    // The type as the header states it.
    std::int32_t headerType() const { return headerType_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // Frames over all blocks, numbered from 1.
    std::uint32_t frameTotal() const { return static_cast<std::uint32_t>(frameOffsets_.size()); }
    // Where frame `frame` (1 to frameTotal) starts in the file.
    std::uint32_t frameOffset(std::uint32_t frame) const;

    // The header of frame `frame` (1 to frameTotal). Throws ResourceError.
    DefFrameHeader frameHeader(std::uint32_t frame) const;
    // Frame `frame` (1 to frameTotal): W × H palette indices with the sprite's palette.
    // Throws ResourceError.
    Picture decodeFrame(std::uint32_t frame) const;
    // The sprite's palette, as stored after the header.
    Palette palette() const;
    // The blocks that hold frames, in the order of the directory (blocks without frames are
    // listed too).
    const std::vector<DefBlockInfo>& blocks() const { return blocks_; }

private:
    Bytes def_;
    std::int32_t type_ = 0;
    std::int32_t headerType_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<std::uint32_t> frameOffsets_;
    std::vector<DefBlockInfo> blocks_;
};

// The type in upper-case hexadecimal, at least two digits ("99" for 153).
std::string defTypeText(std::int32_t type);

}  // namespace brasvel
