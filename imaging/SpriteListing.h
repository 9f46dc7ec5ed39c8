// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The text file that a sprite export writes beside its pictures and that the import reads back:
// the sprite's type, size and palette, and each block's frames with the picture file that holds
// each one. One record a line, words separated by spaces:
//
//   brasvel-sprite 1
//   source Hero.def                  where the sprite came from (shown, not used)
//   type 66                          the header's type, in decimal (not the one a reserved
//                                    file name imposes)
//   size 64 48                       width and height of every frame
//   colours transparent              or "kept": the frames' palettes are the sprite's as stored
//   # a comment                      lines starting with # are skipped
//   palette 0 RRGGBB ... (16 entries a line, the first entry's number first)
//   block 0 identifier 3             a block: its position and identifier
//   frame 0-0.png name walk001.pcx compression 1 left 3 top 4 width 20 height 30
//
// A frame line belongs to the block above it; left, top, width and height say where the stored
// sprite lay in the picture. Names are percent-encoded: bytes outside '!' to '~', and '%'
// itself, are written %XX. Frame files are numbered BLOCK-FRAME, both from 0.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Picture.h"

namespace brasvel {

struct ListedFrame {
    std::string file;  // a plain file name in the listing's folder
    std::string name;  // the frame's name as stored, up to its first NUL byte
    std::int32_t compression = 1;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const ListedFrame&, const ListedFrame&) = default;
};

struct ListedBlock {
    std::int32_t identifier = 0;
    std::vector<ListedFrame> frames;
    friend bool operator==(const ListedBlock&, const ListedBlock&) = default;
};

struct SpriteListing {
    std::string source;
    std::int32_t type = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool paletteKept = false;  // the frames carry the markers' stored colours
    Palette palette{};
    std::vector<ListedBlock> blocks;
    friend bool operator==(const SpriteListing&, const SpriteListing&) = default;
};

inline constexpr std::string_view kSpriteListingName = "sprite.txt";

std::string writeSpriteListing(const SpriteListing& listing);

// Throws ResourceError "Damaged sprite listing" naming the line for anything it cannot read, and
// for a frame file that is not a plain name (no folders, no leading dot, no control bytes).
SpriteListing readSpriteListing(std::string_view text);

// The file name of frame `frame` of block `block`, both counted from 0: "0-0.png".
std::string frameFileName(std::size_t block, std::size_t frame);

}  // namespace brasvel
