// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The file formats a decoded picture can be written in (and, for some, read back from): one
// table, so that a new format is one line here and its encoder.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/Picture.h"

namespace brasvel {

enum class PictureFormat { Bmp, Png };

// Where a picture comes from: the BMP header values differ, and a sprite frame's first palette
// entries are markers (see SpriteColours.h) rather than colours.
enum class PictureRole { GamePicture, SpriteFrame };

struct EncodeOptions {
    PictureRole role = PictureRole::GamePicture;
    // Sprite frames: draw the selection outline (index 5) in its palette colour.
    bool selection = false;
    // Sprite frames: write the indices and the palette as they are, markers included.
    bool keepPalette = false;
};

using PictureEncoder = std::vector<std::byte> (*)(const Picture&, const EncodeOptions&);
using PictureDecoder = Picture (*)(Bytes);

struct PictureFormatInfo {
    PictureFormat format;
    std::string_view name;    // as --format takes it: "png"
    std::string_view suffix;  // ".png"
    PictureEncoder encode;
    PictureDecoder decode;  // null where the format is not read back
};

std::span<const PictureFormatInfo> pictureFormats();
const PictureFormatInfo& pictureFormatInfo(PictureFormat format);
// The format of that name ("png", in any case), if any.
std::optional<PictureFormat> pictureFormatNamed(std::string_view name);
// The format a path's suffix names (".png", in any case), if any.
std::optional<PictureFormat> formatOfPath(std::string_view path);

// The file of `picture` in `format`. The picture's size must pass checkPictureSize.
std::vector<std::byte> encodePicture(const Picture& picture, PictureFormat format,
                                     const EncodeOptions& options = {});

// A picture file read back into a Picture. Throws ResourceError for a damaged file or a format
// that is not read back.
Picture decodePicture(Bytes file, PictureFormat format);

}  // namespace brasvel
