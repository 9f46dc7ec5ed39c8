// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brasvel {

enum class PictureKind { Picture, SpriteFrame };

// A colour of a palette shown in the preview.
struct SwatchColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const SwatchColour&, const SwatchColour&) = default;
};

// The preview panel's pages (Panel1): the picture, text, palette, hex and video pages, and the
// sprite's frame row under the picture.
// One side of an entry compared in two archives: a picture (a BMP file as showPicture takes it)
// or, when `bmpFile` is empty, a text (UTF-8); `title` says which archive it is.
struct ComparedView {
    std::string title;
    std::vector<std::byte> bmpFile;
    PictureKind kind = PictureKind::Picture;
    std::string text;
};

class PreviewWidgets {
public:
    virtual ~PreviewWidgets() = default;

    // The preview picture (Image), drawn as it is: proportions kept, pixels sharp, fitted to the
    // panel until the user zooms. A sprite frame's palette indices 0-7 are markers: 0, 2, 3 and 5
    // are transparent (a checkerboard shows behind them), 1, 4, 6 and 7 a translucent shadow.
    virtual void showPicture(std::span<const std::byte> bmpFile, PictureKind kind) = 0;
    // The preview shows `text` instead of a picture (no picture, or why it could not be shown).
    virtual void showPreviewMessage(std::string_view text) = 0;
    virtual void repaintImage() = 0;

    // The preview's other pages. Each call shows its page in place of the others; showPicture and
    // showPreviewMessage show the picture page again. `note`, when not empty, says above the page
    // why it shows only part of the entry.
    // Text (UTF-8), read-only, in a monospace font.
    virtual void showPreviewText(std::string_view text, std::string_view note) = 0;
    // A palette: a 16 × 16 grid of swatches, each with its index; a colour's value on demand.
    virtual void showPalette(std::span<const SwatchColour> colours) = 0;
    // Bytes as hex rows of 16: offset, the bytes in hex, the bytes as Windows-1250 letters.
    virtual void showHexView(std::span<const std::byte> bytes, std::string_view note) = 0;

    // A picture the preview drew (a sound's waveform, a font's glyphs, a mask's cells; a BMP file
    // as showPicture takes it, drawn as it is) on the picture page under a line of its figures
    // (UTF-8); an empty picture shows the figures alone.
    virtual void showDrawing(std::span<const std::byte> bmpFile, std::string_view figures) = 0;
    // Two versions of an entry side by side, the old one on the left, on a page of their own.
    virtual void showSideBySide(const ComparedView& old, const ComparedView& now) = 0;

    // The preview's video page: a clip's frame (width × height × red, green, blue, row after row
    // from the top), where it stands, whether it plays, and its figures. Showing a frame turns the
    // preview to the video page; showPicture and showPreviewMessage turn it back to the picture.
    virtual void showVideoFrame(std::span<const std::uint8_t> rgb, int width, int height) = 0;
    // The position slider stands at `frame` of `frames` (from 1); `text` says it in words.
    virtual void setVideoPosition(int frame, int frames, std::string_view text) = 0;
    // Playing: Play/Pause shows Pause and the window's timer ticks every `tickMs` milliseconds
    // (MainForm::videoTick); paused: it shows Play and the timer stops.
    virtual void setVideoPlaying(bool playing, int tickMs) = 0;
    virtual void setVideoInfo(std::string_view text) = 0;
};

// The sprite's frame row: the frame scroll bar (scb), its caption and the playback timer.
class FrameRowWidgets {
public:
    virtual ~FrameRowWidgets() = default;

    // The frame scroll bar (scb). Lowering the maximum below the position moves the position to
    // the maximum and raises the change notification; setting the same position raises none.
    virtual void setFrameScrollMaximum(int maximum) = 0;
    virtual void setFrameScrollPosition(int position) = 0;
    virtual int frameScrollPosition() const = 0;
    virtual void setFrameScrollVisible(bool visible) = 0;
    virtual bool isFrameScrollVisible() const = 0;
    // Every change of the scroll bar's position is the event frameScrollChanged, also in the
    // middle of another handler.
    // What the sprite's frame row says beside the scroll bar ("klatka 3 / 8 ...").
    virtual void setFrameCaption(std::string_view text) = 0;
    // The playback timer: every `intervalMs` milliseconds the event frameTimerTicked, until it
    // is set to 0; the Play button shows whether it runs.
    virtual void setFrameTimer(int intervalMs) = 0;
};

}  // namespace brasvel
