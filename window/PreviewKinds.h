// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What the preview panel shows for an entry, and the Qt-free forms of what it shows: text
// decoded and bounded, a palette's colours, hex rows, a sprite frame's caption and the stepping
// of sprite playback.
//
// The page follows the entry's extension first (pictures, sprites, 768-byte palettes, and sounds,
// fonts and masks whose bytes read as such, drawn by imaging/), then
// its content: an entry whose first bytes read as Windows-1250 text is shown as text whatever its
// extension, except kinds known to be binary; everything else as hex.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/DefSprite.h"
#include "toolkit/WindowToolkit.h"

namespace brasvel {

enum class PreviewKind { GamePicture, Sprite, Text, Colours, Sound, Font, Mask, Hex };

// A palette entry: 256 colours of red, green and blue bytes.
inline constexpr std::size_t kPaletteBytes = 768;
// The text page shows at most this much of an entry, the hex page this much.
inline constexpr std::size_t kTextPreviewLimit = std::size_t{256} << 10;
inline constexpr std::size_t kHexPreviewLimit = std::size_t{64} << 10;
// Bytes of one hex row.
inline constexpr std::size_t kHexRowBytes = 16;

// The page for an entry with extension `ext` (as stored, any case) and content `content`.
PreviewKind previewKindOf(std::string_view ext, Bytes content);

// Whether `content` reads as text: no NUL byte and hardly any other control byte in its first
// 4 KB, nor a byte Windows-1250 leaves undefined.
bool looksLikeText(Bytes content);

// The first `limit` bytes of `content` decoded from Windows-1250, line ends as "\n", control
// bytes other than tabs shown as U+FFFD.
std::string previewText(Bytes content, std::size_t limit = kTextPreviewLimit);

// The 256 colours of a palette entry (kPaletteBytes long).
std::vector<SwatchColour> paletteColours(Bytes content);

// "#RRGGBB (R, G, B)" for a swatch.
std::string colourText(SwatchColour colour);

// The hex row of `content` starting at `offset`: the offset in eight hex digits, up to sixteen
// bytes in hex (a wider gap after the eighth), then the bytes as Windows-1250 letters ('.' for
// control bytes), padded so every row's letter column starts at the same place.
std::string hexRow(Bytes content, std::size_t offset);
// How many hex rows `size` bytes take.
std::size_t hexRowCount(std::size_t size);

// The block of a sprite that holds frame `frame` (from 1): its position among the sprite's
// blocks (from 0, as the sprite export numbers its files), and the first and last frame of that
// block. A frame outside every block gives a block of that frame alone.
struct FrameBlock {
    std::size_t block = 0;
    std::uint32_t first = 1;
    std::uint32_t last = 1;
    friend bool operator==(const FrameBlock&, const FrameBlock&) = default;
};
FrameBlock blockOfFrame(const std::vector<DefBlockInfo>& blocks, std::uint32_t frame);

// The frame after `frame` in playback: the next one of its block, back to the block's first
// after its last.
std::uint32_t nextPlaybackFrame(const FrameBlock& block, std::uint32_t frame);

// The playback speeds offered, in frames per second, and the timer interval of one.
inline constexpr int kSlowestPlayback = 1;
inline constexpr int kFastestPlayback = 30;
inline constexpr int kDefaultPlayback = 10;
int playbackInterval(int framesPerSecond);

}  // namespace brasvel
