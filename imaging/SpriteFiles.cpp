// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/SpriteFiles.h"

#include <algorithm>

#include "base/ReadOnlyFile.h"
#include "base/ResourceError.h"
#include "base/Utf8Path.h"
#include "imaging/Bmp.h"
#include "imaging/FrameColours.h"
#include "imaging/PictureFormats.h"
#include "imaging/Png.h"
#include "imaging/SpriteColours.h"

namespace brasvel {
namespace {

// Every frame is held decoded at once (for the sheet, or for the encoder): a sprite claiming more
// pixels over all its frames than this is refused rather than exhausting memory.
constexpr std::uint64_t kMostExportedPixels = std::uint64_t{1} << 28;

void checkExportedPixels(std::uint64_t frames, std::int32_t width, std::int32_t height) {
    const std::uint64_t pixels = frames * static_cast<std::uint64_t>(std::max(width, 0)) *
                                 static_cast<std::uint64_t>(std::max(height, 0));
    if (pixels > kMostExportedPixels) {
        throw ResourceError(ErrorKind::SpriteTooLarge,
                            std::to_string(frames) + " frames of " + std::to_string(width) + " x " +
                                std::to_string(height) + " pixels; at most " +
                                std::to_string(kMostExportedPixels) + " pixels in all");
    }
}

// One row per block, one column per frame; cells of blocks with fewer frames stay transparent.
Picture sheetOf(const std::vector<std::vector<Picture>>& blocks, std::int32_t width,
                std::int32_t height, const Palette& palette) {
    std::size_t columns = 0;
    for (const std::vector<Picture>& frames : blocks) {
        columns = std::max(columns, frames.size());
    }
    const std::uint64_t sheetWidth = columns * static_cast<std::uint64_t>(width);
    const std::uint64_t sheetHeight = blocks.size() * static_cast<std::uint64_t>(height);
    if (sheetWidth > static_cast<std::uint64_t>(kMaxPictureSide) ||
        sheetHeight > static_cast<std::uint64_t>(kMaxPictureSide)) {
        checkPictureSize(kMaxPictureSide + 1, 1, ErrorKind::DamagedPicture);
    }
    checkPictureSize(static_cast<std::int32_t>(sheetWidth), static_cast<std::int32_t>(sheetHeight),
                     ErrorKind::DamagedPicture);
    Picture sheet = Picture::blank(static_cast<std::int32_t>(sheetWidth),
                                   static_cast<std::int32_t>(sheetHeight), PixelFormat::Indexed8);
    sheet.palette = palette;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        for (std::size_t f = 0; f < blocks[b].size(); ++f) {
            const Picture& frame = blocks[b][f];
            for (std::int32_t y = 0; y < height; ++y) {
                const auto sheetY =
                    static_cast<std::int32_t>(b * static_cast<std::size_t>(height)) + y;
                std::copy_n(frame.row(y), frame.rowBytes(),
                            sheet.row(sheetY) + f * static_cast<std::size_t>(width));
            }
        }
    }
    return sheet;
}

// Whether each used index beyond the markers has the sprite's colour: the frame is then taken
// index for index.
bool keepsColours(const Picture& frame, const Palette& palette) {
    std::array<bool, 256> used{};
    for (const std::uint8_t index : frame.pixels) {
        used[index] = true;
    }
    for (std::size_t i = kSpriteMarkerCount; i < used.size(); ++i) {
        if (used[i] && frame.palette[i] != palette[i]) {
            return false;
        }
    }
    return true;
}

// An indexed frame in the sprite's palette is taken as it is; any other (RGB, RGBA, or a palette
// that an image editor rewrote) through its colours, each of which must be one of the sprite's.
Picture readFrame(const ListedFrame& listed, const SpriteListing& listing,
                  const FolderReader& read) {
    const std::optional<PictureFormat> format = formatOfPath(listed.file);
    if (!format) {
        throw ResourceError(ErrorKind::UnsupportedPictureFormat,
                            listed.file + ": frames are read as .png or .bmp files");
    }
    return readSpriteFrame(read(listed.file), *format, listed.file, listing.width, listing.height,
                           listing.palette);
}

}  // namespace

Picture readSpriteFrame(Bytes file, PictureFormat format, const std::string& name,
                        std::int32_t width, std::int32_t height, const Palette& palette) {
    Picture frame;
    try {
        frame = decodePicture(file, format);
    } catch (ResourceError& error) {
        error.withEntry(name);
        throw;
    }
    if (frame.width != width || frame.height != height) {
        throw ResourceError(ErrorKind::FrameSizeMismatch,
                            name + " is " + std::to_string(frame.width) + " x " +
                                std::to_string(frame.height) + "; the sprite's frames are " +
                                std::to_string(width) + " x " + std::to_string(height));
    }
    if (frame.format == PixelFormat::Indexed8 && keepsColours(frame, palette)) {
        frame.palette = palette;
        return frame;
    }
    return spriteFrameFromColours(decodePictureRgba(file, format), palette, name);
}

std::string animationFileName(std::size_t block) {
    return "block-" + std::to_string(block) + ".png";
}

std::vector<NamedFile> exportSprite(const DefSprite& sprite, const SpriteExportOptions& options) {
    checkExportedPixels(sprite.frameTotal(), sprite.width(), sprite.height());
    const Palette palette = sprite.palette();
    const SpriteColours shown = options.keepPalette ? SpriteColours{palette, kOpaque}
                                                    : spriteColours(palette, options.selection);
    SpriteListing listing{options.source,
                          sprite.headerType(),
                          sprite.width(),
                          sprite.height(),
                          options.keepPalette,
                          palette,
                          {}};
    std::vector<NamedFile> files;
    std::vector<std::vector<Picture>> blocks;
    for (std::size_t b = 0; b < sprite.blocks().size(); ++b) {
        const DefBlockInfo& block = sprite.blocks()[b];
        ListedBlock& listed = listing.blocks.emplace_back();
        listed.identifier = block.identifier;
        std::vector<Picture>& frames = blocks.emplace_back();
        for (std::size_t f = 0; f < block.frameNames.size(); ++f) {
            const auto number = block.firstFrame + static_cast<std::uint32_t>(f);
            const DefFrameHeader header = sprite.frameHeader(number);
            frames.push_back(sprite.decodeFrame(number));
            const std::string file = frameFileName(b, f);
            const std::string& stored = block.frameNames[f];
            listed.frames.push_back({file, stored.substr(0, stored.find('\0')), header.compression,
                                     header.left, header.top, header.spriteWidth,
                                     header.spriteHeight});
            files.push_back({file, encodePng(frames.back(), shown.palette, shown.alpha)});
        }
        if (!frames.empty()) {
            files.push_back({animationFileName(b),
                             encodeAnimatedPng(frames, shown.alpha, options.frameDelayMs)});
            files.back().content.shrink_to_fit();
        }
    }
    std::string note;
    if (sprite.frameTotal() > 0) {
        try {
            files.push_back({std::string(kSheetName),
                             encodePng(sheetOf(blocks, sprite.width(), sprite.height(), palette),
                                       shown.palette, shown.alpha)});
        } catch (const ResourceError& error) {
            // A block of hundreds of frames makes a sheet beyond the picture limits; the frames
            // and the animations are what matter, so the sheet alone is left out.
            note = "# sheet.png left out: " + error.describe() + "\n";
        }
    }
    const std::string text = writeSpriteListing(listing) + note;
    const auto* bytes = reinterpret_cast<const std::byte*>(text.data());
    files.push_back({std::string(kSpriteListingName), {bytes, bytes + text.size()}});
    return files;
}

namespace {

std::vector<std::byte> readInFolder(const std::string& folder, const std::string& name) {
    const ReadOnlyFile file(
        platform::utf8Path(platform::fileSystemPath(folder) / platform::fileSystemPath(name)));
    std::vector<std::byte> bytes(static_cast<std::size_t>(file.size()));
    file.read(0, bytes);
    return bytes;
}

}  // namespace

SpriteListing readFolderListing(const std::string& folder) {
    const std::vector<std::byte> text = readInFolder(folder, std::string(kSpriteListingName));
    return readSpriteListing({reinterpret_cast<const char*>(text.data()), text.size()});
}

DefSource importSpriteFolder(const std::string& folder, const SpriteListing& listing,
                             std::optional<std::int32_t> compression,
                             std::string_view defFileName) {
    return importSprite(
        listing, [&](const std::string& name) { return readInFolder(folder, name); }, compression,
        defFileName);
}

DefSource spriteSource(const DefSprite& sprite, std::string_view defFileName) {
    checkExportedPixels(sprite.frameTotal(), sprite.width(), sprite.height());
    DefSource source{sprite.headerType(), sprite.width(), sprite.height(), sprite.palette(), {}};
    source.fullPicture = defShownType(sprite.headerType(), defFileName) == kFullPictureType;
    for (const DefBlockInfo& block : sprite.blocks()) {
        DefBlockSource& target = source.blocks.emplace_back();
        target.identifier = block.identifier;
        for (std::size_t f = 0; f < block.frameNames.size(); ++f) {
            const auto number = block.firstFrame + static_cast<std::uint32_t>(f);
            const std::string& stored = block.frameNames[f];
            target.frames.push_back({stored.substr(0, stored.find('\0')),
                                     sprite.frameHeader(number).compression,
                                     sprite.decodeFrame(number)});
        }
    }
    return source;
}

DefSource withFrameReplaced(const DefSprite& sprite, std::string_view defFileName,
                            std::uint32_t number, Picture frame) {
    if (number < 1 || number > sprite.frameTotal()) {
        throw ResourceError(ErrorKind::NoSuchFrame,
                            "frame " + std::to_string(number) + " of " +
                                std::to_string(sprite.frameTotal()));
    }
    DefSource source = spriteSource(sprite, defFileName);
    std::uint32_t counted = 0;
    for (DefBlockSource& block : source.blocks) {
        for (DefFrameSource& stored : block.frames) {
            if (++counted == number) {
                frame.palette = source.palette;
                stored.picture = std::move(frame);
            }
        }
    }
    return source;
}

DefSource importSprite(const SpriteListing& listing, const FolderReader& read,
                       std::optional<std::int32_t> compression, std::string_view defFileName) {
    checkPictureSize(listing.width, listing.height, ErrorKind::DamagedSprite);
    std::uint64_t frames = 0;
    for (const ListedBlock& block : listing.blocks) {
        frames += block.frames.size();
    }
    checkExportedPixels(frames, listing.width, listing.height);
    DefSource source{listing.type, listing.width, listing.height, listing.palette, {}};
    source.fullPicture = defShownType(listing.type, defFileName) == kFullPictureType;
    for (const ListedBlock& block : listing.blocks) {
        DefBlockSource& target = source.blocks.emplace_back();
        target.identifier = block.identifier;
        for (const ListedFrame& listed : block.frames) {
            Picture frame = readFrame(listed, listing, read);
            target.frames.push_back(
                {listed.name, compression.value_or(listed.compression), std::move(frame)});
        }
    }
    return source;
}

}  // namespace brasvel
