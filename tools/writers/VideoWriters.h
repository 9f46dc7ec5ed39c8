// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Test videos made with FFmpeg's encoders: an AVI of lossless FFV1 frames (RGB, so the
// decoded pixels equal the encoded ones exactly) with, optionally, 16-bit PCM sound. The game's own
// codecs have no encoder; the tests let the AVI container and these codecs through VideoOptions.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brasvel::writers {

struct ClipShape {
    std::int32_t width = 32;
    std::int32_t height = 24;
    int frames = 5;
    int frameRate = 15;
    std::int32_t soundRate = 0;  // 0: no sound
    int channels = 1;
    int keyFrameInterval = 12;  // a key frame every this many frames, the others coded on them
};

// The demuxer and codecs a clip of losslessClip needs, besides the game's.
inline const std::vector<std::string> kClipFormats{"avi"};
inline const std::vector<std::string> kClipCodecs{"ffv1", "pcm_s16le"};

// Frame `index` (from 0) of a clip: width × height × (R, G, B), a pattern that differs per frame.
std::vector<std::uint8_t> clipFramePixels(const ClipShape& shape, int index);

// The clip's sound, interleaved: frames / frameRate seconds of soundRate × channels samples.
std::vector<std::int16_t> clipSound(const ClipShape& shape);

// The AVI file of the clip. Throws std::runtime_error when FFmpeg cannot make it.
std::string losslessClip(const ClipShape& shape);

// The same with frames and sound of the caller's: `paint(index)` gives frame `index` as
// clipFramePixels does, `sound` the interleaved samples (ignored without soundRate).
using FramePainter = std::function<std::vector<std::uint8_t>(int index)>;
std::string losslessClip(const ClipShape& shape, const FramePainter& paint,
                         const std::vector<std::int16_t>& sound);

}  // namespace brasvel::writers
