// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Sprite collections written from decoded frames: the inverse of DefSprite. Each frame is cropped
// to the bounds of its non-zero (non-transparent) indices and stored in one of the four encodings
// that DefSprite decodes; decoding the result gives back every frame's indices.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/Picture.h"

namespace brasvel {

struct DefFrameSource {
    std::string name;              // at most 13 bytes, stored NUL-padded
    std::int32_t compression = 1;  // 0 to 3
    Picture picture;               // Indexed8, the sprite's width × height
};

struct DefBlockSource {
    std::int32_t identifier = 0;
    std::vector<DefFrameSource> frames;
};

struct DefSource {
    std::int32_t type = 0;  // as the header states it
    std::int32_t width = 0;
    std::int32_t height = 0;
    Palette palette{};
    std::vector<DefBlockSource> blocks;  // at most 255
    // Type-1 frames are stored for the full-picture placement, as the decoder reads them in a
    // sprite shown as type 153 (see defShownType).
    bool fullPicture = false;
};

// The sprite file. Throws ResourceError ("Cannot write sprite") when a frame cannot be stored as
// asked: a frame of another size than the sprite's, a name too long, a compression type beyond
// 0 to 3, a type-2 or type-3 frame whose rows lie beyond 16-bit offsets, a type-3 frame of a
// picture narrower than 32 pixels.
std::vector<std::byte> encodeDef(const DefSource& source);

}  // namespace brasvel
