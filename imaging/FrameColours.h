// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A sprite frame that an image editor saved in colours rather than indices (RGB or RGBA, or
// indexed with a palette of its own) mapped back to the sprite's palette indices: the one rule of
// the command line's sprite import, the window's and its frame replacement.
//
//   opacity 0                          index 0 (transparent), whatever its colour
//   black at the shadow edge's opacity index 1, black at the shadow's opacity index 4 (the
//                                      opacities the export gives those markers)
//   opaque                             the first of indices 8 to 255 of exactly that colour, else
//                                      the first of the markers 0 to 7 of exactly that colour (a
//                                      frame exported with the palette kept)
//
// Anything else is refused, naming the first such pixel.

#include <string_view>

#include "base/ByteReader.h"
#include "imaging/Picture.h"
#include "imaging/PictureFormats.h"

namespace brasvel {

// The picture's pixels as RGBA: an indexed one through its own palette, all opaque.
RgbaPicture rgbaOf(const Picture& picture);

// A picture file as RGBA: a PNG with its transparency (tRNS or alpha), anything else opaque.
// Throws ResourceError as decodePicture.
RgbaPicture decodePictureRgba(Bytes file, PictureFormat format);

// The frame as indices into `palette` (the returned picture carries that palette). Throws
// ResourceError (PaletteMismatch) naming `file`, the first pixel (x, y) whose colour is none of
// the sprite's, and that colour.
Picture spriteFrameFromColours(const RgbaPicture& frame, const Palette& palette,
                               std::string_view file);

}  // namespace brasvel
