// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Writers of the game's pictures and sprite collections, for tests and the demo archives. They
// make well-formed files from palette-index pictures, and let a caller state other numbers than
// the true ones (a block count, a compression type, filler before an offset table) so that
// damaged and unusual files are as easy to make as good ones.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brasvel::writers {

// W × H palette indices, row after row from the top-left pixel.
struct PixelGrid {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;

    PixelGrid() = default;
    PixelGrid(std::int32_t w, std::int32_t h, std::uint8_t fill = 0)
        : width(w),
          height(h),
          pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}
    std::uint8_t at(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    void set(std::int32_t x, std::int32_t y, std::uint8_t index) {
        pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x)] = index;
    }
    friend bool operator==(const PixelGrid&, const PixelGrid&) = default;
};

// --- Pictures: size, width, height (32-bit), the pixel block, then whatever follows. ---

// A picture with every number stated as given.
std::string gamePcx(std::int32_t size, std::int32_t width, std::int32_t height,
                    std::string_view pixelBlock, std::string_view after = {});
// An 8-bit picture: the indices and a 768-byte palette of (R, G, B).
std::string gamePcx8(const PixelGrid& picture, std::string_view rgbPalette);
// A 24-bit picture: 3 bytes per pixel, rows from the top, stored as given.
std::string gamePcx24(std::int32_t width, std::int32_t height, std::string_view pixels);

// --- Sprite collections. ---

struct DefFrame {
    std::string name;
    std::int32_t compression = 1;  // 0 to 3: the encoding the writer uses
    PixelGrid sprite;              // sw × sh
    std::int32_t left = 0;         // L and T: where the sprite lies in the picture
    std::int32_t top = 0;
    // Written in the header instead of `compression`.
    std::optional<std::int32_t> statedCompression;
    // Type 1: added to the first row offset (the full-picture placement reads 8 bytes earlier).
    std::uint32_t firstRowBias = 0;
    // The frame's bytes verbatim, header included; replaces the encoding.
    std::optional<std::string> raw;
};

struct DefBlock {
    std::int32_t identifier = 0;
    std::vector<DefFrame> frames;
    std::optional<std::int32_t> statedFrameCount;
    // Bytes between the names and the offset table.
    std::string beforeOffsets;
};

// A frame of `sprite` in encoding `compression`, placed at (left, top), named after its encoding.
DefFrame defFrame(std::int32_t compression, PixelGrid sprite, std::int32_t left = 0,
                  std::int32_t top = 0);
// A block holding `frames`.
DefBlock defBlock(std::vector<DefFrame> frames, std::int32_t identifier = 0);

// The frame's header and data for a picture of `pictureWidth` × `pictureHeight`. Type 0 stores
// the whole picture with the sprite placed at (left, top) on index 0.
std::string encodeDefFrame(const DefFrame& frame, std::int32_t pictureWidth,
                           std::int32_t pictureHeight);

class DefWriter {
public:
    // `rgbPalette` is cut or zero-filled to 768 bytes.
    DefWriter(std::int32_t type, std::int32_t width, std::int32_t height,
              std::string_view rgbPalette);
    DefWriter& block(DefBlock block);
    // States another block count than the number of blocks added.
    DefWriter& statedBlockCount(std::uint32_t count);
    std::string build() const;

private:
    std::int32_t type_;
    std::int32_t width_;
    std::int32_t height_;
    std::string palette_;
    std::vector<DefBlock> blocks_;
    std::optional<std::uint32_t> blockCount_;
};

}  // namespace brasvel::writers
