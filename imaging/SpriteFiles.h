// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A sprite as a folder of pictures and back. The export makes every frame a PNG of the sprite's
// full size (BLOCK-FRAME.png, both counted from 0), a sheet with one row per block (sheet.png),
// an animated PNG per block that has frames (block-B.png) and the listing (sprite.txt) that the
// import reads to put the frames back together.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/DefEncoder.h"
#include "imaging/DefSprite.h"
#include "imaging/PictureFormats.h"
#include "imaging/SpriteListing.h"

namespace brasvel {

struct NamedFile {
    std::string name;
    std::vector<std::byte> content;
};

struct SpriteExportOptions {
    bool selection = false;    // draw the selection outline (index 5)
    bool keepPalette = false;  // indices and palette as stored: what the import needs exactly
    std::uint16_t frameDelayMs = 100;  // of the animations
    std::string source;                // the sprite's name, for the listing
};

inline constexpr std::string_view kSheetName = "sheet.png";

// The name of the animation of block `block` (counted from 0).
std::string animationFileName(std::size_t block);

// Every file of the export, the listing last. Decodes every frame; throws ResourceError for a
// damaged frame or a sprite without pixels.
std::vector<NamedFile> exportSprite(const DefSprite& sprite, const SpriteExportOptions& options);

// Reads a file of the export's folder by its plain name; throws ResourceError when it cannot.
using FolderReader = std::function<std::vector<std::byte>(const std::string& name)>;

// A frame picture (the file `name`, PNG or BMP) of `width` x `height` as indices of `palette`: an
// indexed picture whose used colours (indices 8 to 255; 0 to 7 are markers) are the palette's is
// taken index for index; any other, RGB, RGBA or indexed with a rewritten palette, through its
// colours by the rule of FrameColours.h. Throws ResourceError (FrameSizeMismatch,
// PaletteMismatch naming the first pixel of another colour, or the decoder's).
Picture readSpriteFrame(Bytes file, PictureFormat format, const std::string& name,
                        std::int32_t width, std::int32_t height, const Palette& palette);

// The sprite as a source to encode again: its header type, size, palette, blocks and frames as
// stored (each frame decoded to the sprite's size, with its name and compression). `defFileName`
// decides the placement of the files with reserved names, as for importSprite. Throws
// ResourceError for a damaged frame.
DefSource spriteSource(const DefSprite& sprite, std::string_view defFileName);

// The sprite with frame `number` (counted from 1 over every block) made `frame`, an Indexed8
// picture of the sprite's size in its palette (as readSpriteFrame gives). Throws ResourceError
// (NoSuchFrame, or for a damaged frame).
DefSource withFrameReplaced(const DefSprite& sprite, std::string_view defFileName,
                            std::uint32_t number, Picture frame);

// The sprite that a listing and its frame pictures describe, each frame stored with
// `compression` when given, else with the compression the listing names. Frames are read as PNG
// or BMP by their suffix, each by readSpriteFrame. `defFileName`, the name the
// sprite will have, decides the placement rules of the files with reserved names. Throws
// ResourceError.
DefSource importSprite(const SpriteListing& listing, const FolderReader& read,
                       std::optional<std::int32_t> compression, std::string_view defFileName);

// An export's folder on disk (a UTF-8 path): its listing, and the sprite it describes, each file
// read by its plain name within the folder. Throw ResourceError naming the file.
SpriteListing readFolderListing(const std::string& folder);
DefSource importSpriteFolder(const std::string& folder, const SpriteListing& listing,
                             std::optional<std::int32_t> compression, std::string_view defFileName);

}  // namespace brasvel
