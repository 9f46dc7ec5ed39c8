// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "imaging/WaveSound.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/SoundWriters.h"

namespace brasvel {
namespace {

using writers::asBytes;
using writers::putU16;
using writers::putU32;

std::string chunk(const std::string& tag, const std::string& body, std::uint32_t stated) {
    std::string out = tag;
    putU32(out, stated);
    return out + body;
}

std::string format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                   std::uint16_t bits) {
    std::string body;
    putU16(body, tag);
    putU16(body, channels);
    putU32(body, rate);
    putU32(body, rate * channels * bits / 8);
    putU16(body, static_cast<std::uint16_t>(channels * bits / 8));
    putU16(body, bits);
    return chunk("fmt ", body, 16);
}

std::string riff(const std::string& chunks) {
    std::string out = "RIFF";
    putU32(out, static_cast<std::uint32_t>(4 + chunks.size()));
    return out + "WAVE" + chunks;
}

TEST(WaveSound, readsTheFiguresAWaveStates) {
    const std::string wave = writers::pcmWave(0.5, 22050, [](double t) { return std::sin(t); });
    const std::optional<WaveSound> sound = readWave(asBytes(wave));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->format, kWavePcm);
    EXPECT_EQ(sound->channels, 1);
    EXPECT_EQ(sound->rate, 22050u);
    EXPECT_EQ(sound->bits, 16);
    EXPECT_EQ(sound->frames(), 11025u);
    EXPECT_EQ(sound->milliseconds(), 500u);
    EXPECT_TRUE(sound->drawable());
}

// Whatever a file states, no chunk is read past its end.
// What a player asks before it hands a sound over: the twelve bytes of the header, no fewer.
TEST(WaveSound, looksLikeAWaveByItsTwelveHeaderBytes) {
    using namespace std::string_literals;
    EXPECT_TRUE(looksLikeWave(asBytes("RIFF\0\0\0\0WAVE"s)));
    EXPECT_FALSE(looksLikeWave(asBytes("RIFF\0\0\0\0WAV"s)));
    EXPECT_FALSE(looksLikeWave(asBytes("RIFX\0\0\0\0WAVE"s)));
    EXPECT_FALSE(looksLikeWave(asBytes("RIFF\0\0\0\0AVI "s)));
}

TEST(WaveSound, boundsEveryChunkByTheFile) {
    const std::string stereo = format(kWavePcm, 2, 8000, 16);
    struct Case {
        const char* what;
        std::string bytes;
        std::optional<std::uint64_t> frames;  // nothing: no sound
    };
    const Case cases[] = {
        {"whole", riff(stereo + chunk("data", std::string(16, '\1'), 16)), 4},
        {"data states more than the file holds",
         riff(stereo + chunk("data", std::string(16, '\1'), 0xFFFFFFFF)), 4},
        {"a part frame at the end", riff(stereo + chunk("data", std::string(15, '\1'), 15)), 3},
        {"an odd chunk padded before data",
         riff(stereo + chunk("LIST", "abc", 3) + '\0' + chunk("data", std::string(4, '\0'), 4)),
         1},
        {"a chunk past the end", riff(stereo + chunk("LIST", "abc", 0xFFFFFFF0)), std::nullopt},
        {"data before fmt", riff(chunk("data", "abcd", 4) + stereo), std::nullopt},
        {"fmt a byte short", riff(stereo.substr(0, stereo.size() - 1)), std::nullopt},
        {"fmt stating less than its fields", riff(chunk("fmt ", stereo.substr(8), 15)),
         std::nullopt},
        {"no channels", riff(format(kWavePcm, 0, 8000, 16) + chunk("data", "", 0)), std::nullopt},
        {"no data", riff(stereo), std::nullopt},
        {"not RIFF", "RIFX" + riff(stereo).substr(4), std::nullopt},
        {"eleven bytes", riff("").substr(0, 11), std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<WaveSound> sound = readWave(asBytes(c.bytes));
        ASSERT_EQ(sound.has_value(), c.frames.has_value()) << c.what;
        if (sound) {
            EXPECT_EQ(sound->frames(), *c.frames) << c.what;
        }
    }
}

// Every column of the waveform holds the extremes of its part, 8-bit samples scaled to 16.
TEST(WaveSound, drawsThePeaksOfEachPartOverAMidline) {
    std::string data;
    for (const int sample : {128, 255, 0, 128}) {
        data += static_cast<char>(sample);
    }
    // The sound is a view of the bytes it was read from: they outlive it.
    const std::string file = riff(format(kWavePcm, 1, 8000, 8) + chunk("data", data, 4));
    const std::optional<WaveSound> sound = readWave(asBytes(file));
    ASSERT_TRUE(sound);
    const std::vector<WavePeak> peaks = wavePeaks(*sound, 2);
    ASSERT_EQ(peaks.size(), 2u);
    EXPECT_EQ(peaks[0], (WavePeak{0, 127 * 256}));
    EXPECT_EQ(peaks[1], (WavePeak{-128 * 256, 0}));
    // More columns than frames: each column still holds one frame.
    EXPECT_EQ(wavePeaks(*sound, 8).size(), 8u);
    const Picture drawn = waveformPicture(peaks, 9);
    EXPECT_EQ(drawn.width, 2);
    EXPECT_EQ(drawn.height, 9);
    EXPECT_EQ(drawn.row(0)[0], 2) << "the loudest sample reaches the top";
    EXPECT_EQ(drawn.row(4)[0], 1) << "below the wave, the midline";
    EXPECT_EQ(drawn.row(8)[0], 0);
    EXPECT_EQ(drawn.row(8)[1], 2) << "the quietest reaches the bottom";
    // A sound that is no PCM gives no waveform, only figures.
    const std::string otherFile = riff(format(2, 1, 8000, 8) + chunk("data", "ab", 2));
    const std::optional<WaveSound> other = readWave(asBytes(otherFile));
    ASSERT_TRUE(other);
    EXPECT_FALSE(other->drawable());
    EXPECT_TRUE(wavePeaks(*other, 4).empty());
}

}  // namespace
}  // namespace brasvel
