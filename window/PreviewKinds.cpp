// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/PreviewKinds.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "archive/Entry.h"
#include "base/Text.h"
#include "imaging/BitFont.h"
#include "imaging/WaveSound.h"

namespace brasvel {
namespace {

// Bytes looked at to tell text from binary content.
constexpr std::size_t kTextSample = 4096;

// Kinds whose content is binary whatever its first bytes look like.
constexpr std::array<std::string_view, 8> kBinaryKinds = {"wav", "smk", "bik", "fnt",
                                                          "msk", "xmi", "h3c", "pal"};

// Bytes that Windows-1250 leaves without a character.
bool isUndefined1250(std::uint8_t byte) {
    return byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
}

// Control bytes that plain text holds: tab, line ends, form feed and the old end-of-file mark.
bool isTextControl(std::uint8_t byte) {
    return byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f' || byte == 0x1A;
}

bool isControl(std::uint8_t byte) {
    return byte < 0x20 || byte == 0x7F;
}

std::uint8_t at(Bytes content, std::size_t i) {
    return static_cast<std::uint8_t>(content[i]);
}

}  // namespace

bool looksLikeText(Bytes content) {
    const std::size_t sample = std::min(content.size(), kTextSample);
    std::size_t oddBytes = 0;
    for (std::size_t i = 0; i < sample; ++i) {
        const std::uint8_t byte = at(content, i);
        if (byte == 0 || isUndefined1250(byte)) {
            return false;
        }
        if (isControl(byte) && !isTextControl(byte)) {
            ++oddBytes;
        }
    }
    return oddBytes * 100 <= sample;
}

PreviewKind previewKindOf(std::string_view ext, Bytes content) {
    if (extIs(ext, "pcx")) {
        return PreviewKind::GamePicture;
    }
    if (extIs(ext, "def")) {
        return PreviewKind::Sprite;
    }
    if (extIs(ext, "pal") && content.size() == kPaletteBytes) {
        return PreviewKind::Colours;
    }
    if (extIs(ext, "wav") && readWave(content)) {
        return PreviewKind::Sound;
    }
    if (extIs(ext, "fnt") && readBitFont(content)) {
        return PreviewKind::Font;
    }
    if (extIs(ext, "msk") && readCellMask(content)) {
        return PreviewKind::Mask;
    }
    const bool binary = std::any_of(kBinaryKinds.begin(), kBinaryKinds.end(),
                                    [&](std::string_view kind) { return extIs(ext, kind); });
    return !binary && looksLikeText(content) ? PreviewKind::Text : PreviewKind::Hex;
}

std::string previewText(Bytes content, std::size_t limit) {
    const std::size_t shown = std::min(content.size(), limit);
    // Control bytes become an undefined byte first, which the decoder turns into U+FFFD.
    std::string bytes;
    bytes.reserve(shown);
    for (std::size_t i = 0; i < shown; ++i) {
        const std::uint8_t byte = at(content, i);
        if (byte == '\r') {
            bytes += '\n';
            if (i + 1 < shown && at(content, i + 1) == '\n') {
                ++i;
            }
        } else if (isControl(byte) && byte != '\t' && byte != '\n') {
            bytes += '\x81';
        } else {
            bytes += static_cast<char>(byte);
        }
    }
    return decodeWindows1250(bytes);
}

std::vector<SwatchColour> paletteColours(Bytes content) {
    std::vector<SwatchColour> colours;
    colours.reserve(content.size() / 3);
    for (std::size_t i = 0; i + 3 <= content.size(); i += 3) {
        colours.push_back({at(content, i), at(content, i + 1), at(content, i + 2)});
    }
    return colours;
}

std::string colourText(SwatchColour colour) {
    char text[32];
    std::snprintf(text, sizeof text, "#%02X%02X%02X (%d, %d, %d)", colour.red, colour.green,
                  colour.blue, colour.red, colour.green, colour.blue);
    return text;
}

std::size_t hexRowCount(std::size_t size) {
    return (size + kHexRowBytes - 1) / kHexRowBytes;
}

std::string hexRow(Bytes content, std::size_t offset) {
    static constexpr char kDigits[] = "0123456789abcdef";
    const std::size_t end = std::min(content.size(), offset + kHexRowBytes);
    char head[16];
    std::snprintf(head, sizeof head, "%08zx  ", offset);
    std::string row = head;
    std::string letters;
    for (std::size_t i = offset; i < offset + kHexRowBytes; ++i) {
        if (i == offset + kHexRowBytes / 2) {
            row += ' ';
        }
        if (i >= end) {
            row += "   ";
            continue;
        }
        const std::uint8_t byte = at(content, i);
        row += kDigits[byte >> 4];
        row += kDigits[byte & 0xF];
        row += ' ';
        const bool blank = isControl(byte) || isUndefined1250(byte) || byte == 0xA0 || byte == 0xAD;
        letters += blank ? '.' : static_cast<char>(byte);
    }
    return row + ' ' + decodeWindows1250(letters);
}

FrameBlock blockOfFrame(const std::vector<DefBlockInfo>& blocks, std::uint32_t frame) {
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const DefBlockInfo& block = blocks[b];
        const auto count = static_cast<std::uint32_t>(block.frameNames.size());
        if (count > 0 && frame >= block.firstFrame && frame - block.firstFrame < count) {
            return {b, block.firstFrame, block.firstFrame + count - 1};
        }
    }
    return {blocks.size(), frame, frame};
}

std::uint32_t nextPlaybackFrame(const FrameBlock& block, std::uint32_t frame) {
    return frame >= block.last || frame < block.first ? block.first : frame + 1;
}

int playbackInterval(int framesPerSecond) {
    return 1000 / std::clamp(framesPerSecond, kSlowestPlayback, kFastestPlayback);
}

}  // namespace brasvel
