// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// WAV sounds as the preview shows them: their figures (format, rate, channels, length) and a
// waveform drawn as a picture. Only what a RIFF WAVE file states is read, every chunk bounded by
// the file; the samples are read for the waveform when they are PCM of 8 or 16 bits.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/Picture.h"

namespace brasvel {

inline constexpr std::uint16_t kWavePcm = 1;

struct WaveSound {
    std::uint16_t format = 0;  // the "fmt " chunk's format tag: 1 for PCM
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;  // samples a second
    std::uint16_t bits = 0;  // bits a sample
    std::uint16_t blockAlign = 0;
    Bytes data;  // the "data" chunk, cut to the file's end and to whole blocks

    // Sample frames (one sample of every channel) in `data`.
    std::uint64_t frames() const { return blockAlign == 0 ? 0 : data.size() / blockAlign; }
    // The length in milliseconds; 0 when the rate is 0.
    std::uint64_t milliseconds() const;
    // Whether the waveform can be drawn: PCM of 8 or 16 bits in 1 to 8 channels.
    bool drawable() const;
};

// Whether `bytes` begin as a wave file does: "RIFF", a 32-bit size, "WAVE". What a player asks
// before it hands a sound to the system, which reads the rest.
bool looksLikeWave(Bytes bytes);

// The sound `bytes` hold; nothing when they are no RIFF WAVE file with a "fmt " chunk before a
// "data" chunk and a channel count, rate and block size that agree.
std::optional<WaveSound> readWave(Bytes bytes);

// The loudest and quietest sample (-32768 to 32767, 8-bit samples scaled up) of every channel in
// each of `columns` equal parts of the sound; empty when it cannot be drawn or has no frames.
struct WavePeak {
    std::int16_t low = 0;
    std::int16_t high = 0;
    friend bool operator==(const WavePeak&, const WavePeak&) = default;
};
std::vector<WavePeak> wavePeaks(const WaveSound& sound, std::size_t columns);

// The peaks drawn as a picture `height` pixels high, one column each: the wave over a midline.
Picture waveformPicture(const std::vector<WavePeak>& peaks, std::int32_t height);

}  // namespace brasvel
