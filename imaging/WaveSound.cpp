// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/WaveSound.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace brasvel {
namespace {

bool tagIs(Bytes tag, std::string_view expected) {
    return tag.size() == expected.size() &&
           std::memcmp(tag.data(), expected.data(), expected.size()) == 0;
}

std::int16_t sampleAt(const WaveSound& sound, std::uint64_t frame, std::uint16_t channel) {
    const std::size_t bytesEach = sound.bits / 8u;
    const std::size_t at = static_cast<std::size_t>(frame) * sound.blockAlign + channel * bytesEach;
    if (bytesEach == 1) {
        // 8-bit samples are unsigned around 128.
        return static_cast<std::int16_t>((static_cast<int>(sound.data[at]) - 128) * 256);
    }
    return static_cast<std::int16_t>(loadU16(sound.data.data() + at));
}

}  // namespace

std::uint64_t WaveSound::milliseconds() const {
    return rate == 0 ? 0 : frames() * 1000 / rate;
}

bool WaveSound::drawable() const {
    return format == kWavePcm && (bits == 8 || bits == 16) && channels >= 1 && channels <= 8 &&
           blockAlign == channels * (bits / 8u);
}

bool looksLikeWave(Bytes bytes) {
    if (bytes.size() < 12) {
        return false;
    }
    const auto* text = reinterpret_cast<const char*>(bytes.data());
    return std::memcmp(text, "RIFF", 4) == 0 && std::memcmp(text + 8, "WAVE", 4) == 0;
}

std::optional<WaveSound> readWave(Bytes bytes) {
    ByteReader reader(bytes);
    if (!reader.canRead(12) || !tagIs(reader.bytes(4), "RIFF")) {
        return std::nullopt;
    }
    reader.skip(4);  // the RIFF size: many writers state it wrongly, the chunks are bounded below
    if (!tagIs(reader.bytes(4), "WAVE")) {
        return std::nullopt;
    }
    std::optional<WaveSound> sound;
    while (reader.canRead(8)) {
        const Bytes tag = reader.bytes(4);
        const std::uint32_t size = reader.u32();
        if (tagIs(tag, "fmt ")) {
            if (size < 16 || !reader.canRead(16)) {
                return std::nullopt;
            }
            WaveSound figures;
            figures.format = reader.u16();
            figures.channels = reader.u16();
            figures.rate = reader.u32();
            reader.skip(4);  // bytes a second, derived
            figures.blockAlign = reader.u16();
            figures.bits = reader.u16();
            if (figures.channels == 0 || figures.blockAlign == 0) {
                return std::nullopt;
            }
            sound = figures;
            if (!reader.canRead(size - 16u)) {
                return std::nullopt;
            }
            reader.skip(size - 16u);
        } else if (tagIs(tag, "data")) {
            if (!sound) {
                return std::nullopt;
            }
            // A data chunk that states more than the file holds ends with the file.
            const std::uint64_t held = std::min<std::uint64_t>(size, reader.remaining());
            sound->data = reader.bytes(held - held % sound->blockAlign);
            return sound;
        } else {
            if (!reader.canRead(size)) {
                return std::nullopt;
            }
            reader.skip(size);
        }
        if (size % 2 != 0 && reader.canRead(1)) {
            reader.skip(1);  // chunks are padded to an even size
        }
    }
    return std::nullopt;
}

std::vector<WavePeak> wavePeaks(const WaveSound& sound, std::size_t columns) {
    const std::uint64_t frames = sound.frames();
    if (!sound.drawable() || frames == 0 || columns == 0) {
        return {};
    }
    std::vector<WavePeak> peaks;
    peaks.reserve(columns);
    for (std::size_t column = 0; column < columns; ++column) {
        const std::uint64_t first = frames * column / columns;
        const std::uint64_t end = std::max(first + 1, frames * (column + 1) / columns);
        WavePeak peak{32767, -32768};
        for (std::uint64_t frame = first; frame < end && frame < frames; ++frame) {
            for (std::uint16_t channel = 0; channel < sound.channels; ++channel) {
                const std::int16_t sample = sampleAt(sound, frame, channel);
                peak.low = std::min(peak.low, sample);
                peak.high = std::max(peak.high, sample);
            }
        }
        peaks.push_back(peak);
    }
    return peaks;
}

Picture waveformPicture(const std::vector<WavePeak>& peaks, std::int32_t height) {
    constexpr std::uint8_t kBackground = 0;
    constexpr std::uint8_t kMidline = 1;
    constexpr std::uint8_t kWave = 2;
    height = std::max(height, 3);
    Picture picture = Picture::blank(static_cast<std::int32_t>(peaks.size()), height,
                                     PixelFormat::Indexed8);
    picture.palette[kBackground] = {24, 28, 36};
    picture.palette[kMidline] = {70, 78, 92};
    picture.palette[kWave] = {96, 200, 150};
    const std::int32_t middle = height / 2;
    // A sample of `value` stands this many pixels from the top.
    const auto rowOf = [&](int value) {
        const std::int64_t fromTop =
            (std::int64_t{32767} - value) * (height - 1) / std::int64_t{65535};
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(fromTop, 0, height - 1));
    };
    for (std::int32_t x = 0; x < picture.width; ++x) {
        picture.row(middle)[x] = kMidline;
        const WavePeak& peak = peaks[static_cast<std::size_t>(x)];
        for (std::int32_t y = rowOf(peak.high); y <= rowOf(peak.low); ++y) {
            picture.row(y)[x] = kWave;
        }
    }
    return picture;
}

}  // namespace brasvel
