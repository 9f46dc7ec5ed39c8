// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Video clips made at test time with FFmpeg's lossless encoder, decoded back through VideoClip:
// figures, exact frames, sound, and damaged or refused input failing with the entry named.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "base/ResourceError.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/VideoWriters.h"
#include "video/VideoClip.h"

namespace {

using namespace brasvel;
using namespace brasvel::video;
using brasvel::writers::ClipShape;

VideoOptions testOptions() {
    VideoOptions options;
    for (const std::string& format : writers::kClipFormats) {
        options.formats.push_back(format);
    }
    for (const std::string& codec : writers::kClipCodecs) {
        options.codecs.push_back(codec);
    }
    return options;
}

Bytes bytesOf(const std::string& file) {
    return {reinterpret_cast<const std::byte*>(file.data()), file.size()};
}

VideoClip openClip(const std::string& file, bool demuxerSeek = true) {
    VideoOptions options = testOptions();
    options.demuxerSeek = demuxerSeek;
    return VideoClip::open(bytesOf(file), "INTRO.smk", options);
}

// The clip's jumps with the container's own seek and, as for the game's containers whose seek
// only rewinds, by reading on to the key frame: the same pictures from the same decoding.
class KeyFrameJumps : public testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(VideoClip, KeyFrameJumps, testing::Values(true, false),
                         [](const auto& demuxerSeek) {
                             return demuxerSeek.param ? "DemuxerSeek" : "ReadOn";
                         });

// Runs `action`, which must throw ResourceError with `text` for entry INTRO.smk.
template <typename Action>
void expectFailure(Action action, const char* text) {
    try {
        action();
        ADD_FAILURE() << "no error, expected " << text;
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), text) << error.describe();
        EXPECT_EQ(error.entry(), "INTRO.smk");
    }
}

TEST(VideoCapability, TheInstalledFfmpegDecodesSmackerAndBink) {
    EXPECT_TRUE(canDecodeSmacker());
    EXPECT_TRUE(canDecodeBink());
}

TEST(VideoClip, InfoGivesTheEncodedFigures) {
    struct Case {
        ClipShape shape;
        std::optional<SoundInfo> sound;
    };
    const Case cases[] = {
        {{32, 24, 5, 15, 0, 1}, std::nullopt},
        {{64, 48, 12, 25, 22050, 2}, SoundInfo{"pcm_s16le", 22050, 2}},
        {{1, 1, 1, 10, 11025, 1}, SoundInfo{"pcm_s16le", 11025, 1}},
    };
    for (const Case& c : cases) {
        const VideoClip clip = openClip(writers::losslessClip(c.shape));
        const VideoInfo& info = clip.info();
        SCOPED_TRACE(::testing::PrintToString(info));
        EXPECT_EQ(info.codec, "ffv1");
        EXPECT_EQ(info.width, c.shape.width);
        EXPECT_EQ(info.height, c.shape.height);
        EXPECT_DOUBLE_EQ(info.frameRate, c.shape.frameRate);
        EXPECT_EQ(info.frameCount, c.shape.frames);
        EXPECT_NEAR(info.durationSeconds, double(c.shape.frames) / c.shape.frameRate, 1e-6);
        EXPECT_EQ(info.sound, c.sound);
    }
}

TEST(VideoClip, EveryFrameDecodesToTheEncodedPixelsInAnyOrder) {
    const ClipShape shape{40, 30, 8, 15, 0, 1};
    VideoClip clip = openClip(writers::losslessClip(shape));
    // Forward, the same frame again, backward (a restart), and a jump ahead.
    for (const std::uint32_t number : {1u, 2u, 2u, 5u, 3u, 8u, 1u}) {
        const Picture picture = clip.frame(number);
        EXPECT_EQ(picture.format, PixelFormat::Rgb24);
        EXPECT_EQ(picture.width, shape.width);
        EXPECT_EQ(picture.height, shape.height);
        EXPECT_TRUE(picture.pixels == writers::clipFramePixels(shape, int(number) - 1))
            << "frame " << number;
    }
}

TEST_P(KeyFrameJumps, AJumpDecodesFromTheKeyFrameAtOrBeforeItWithTheSamePictures) {
    // 1000 frames, a key frame every 50: frames 1, 51, ..., 951.
    const ClipShape shape{16, 12, 1000, 25, 0, 1, 50};
    VideoClip clip = openClip(writers::losslessClip(shape), GetParam());
    struct Case {
        std::uint32_t frame;
        std::uint64_t decoded;  // frames decoded to show it
    };
    const Case cases[] = {
        {900, 50},           // from key frame 851, not from the start
        {901, 1},            // the next frame
        {909, 8},            // a small jump decodes on
        {951, 1},            // a key frame
        {950, 50},           // one back: from key frame 901
        {120, 20},           // far back
        {1000, 50},          // the last
        {50, 50},            // just before a key frame
        {51, 1},    {1, 1},  // back to the start
        {10, 9},             // on from there
    };
    for (const Case& c : cases) {
        const std::uint64_t before = clip.framesDecoded();
        const Picture picture = clip.frame(c.frame);
        EXPECT_EQ(clip.framesDecoded() - before, c.decoded) << "frame " << c.frame;
        EXPECT_TRUE(picture.pixels == writers::clipFramePixels(shape, int(c.frame) - 1))
            << "frame " << c.frame;
    }
    expectFailure([&] { clip.frame(1001); }, kFrameNotFound);
    EXPECT_TRUE(clip.frame(999).pixels == writers::clipFramePixels(shape, 998));
}

// The AVI's index with every picture called a key frame: a seek lands on a frame that does not
// decode alone, and the clip decodes from the start instead, with the same pictures.
TEST_P(KeyFrameJumps, AnIndexThatLiesAboutKeyFramesFallsBackToTheStart) {
    const ClipShape shape{16, 12, 200, 25, 0, 1, 50};
    std::string file = writers::losslessClip(shape);
    const std::size_t index = file.rfind("idx1");
    ASSERT_NE(index, std::string::npos);
    // Rows of 16 bytes: chunk id, flags (0x10: a key frame), offset, size.
    for (std::size_t row = index + 8; row + 16 <= file.size(); row += 16) {
        if (file.compare(row, 2, "00") == 0) {
            file[row + 4] = static_cast<char>(file[row + 4] | 0x10);
        }
    }
    VideoClip clip = openClip(file, GetParam());
    for (const std::uint32_t number : {120u, 10u, 190u}) {
        EXPECT_TRUE(clip.frame(number).pixels == writers::clipFramePixels(shape, int(number) - 1))
            << "frame " << number;
    }
    // Once a key frame failed the index is not trusted again: 120 and 10 from the start, then on.
    EXPECT_EQ(clip.framesDecoded(), 120u + 10u + 180u);
}

TEST(VideoClip, FramesOutsideTheStreamFailAndTheClipStaysUsable) {
    const ClipShape shape{16, 16, 3, 15, 0, 1};
    VideoClip clip = openClip(writers::losslessClip(shape));
    expectFailure([&] { clip.frame(4); }, kFrameNotFound);
    expectFailure([&] { clip.frame(0); }, kFrameNotFound);
    expectFailure([&] { clip.frame(kMaxFrameNumber + 1); }, kVideoTooLarge);
    EXPECT_TRUE(clip.frame(3).pixels == writers::clipFramePixels(shape, 2));

    // Frames 1 and 2 (512 pixels) may be decoded to reach frame 3, not frame 3 to reach frame 4.
    VideoOptions options = testOptions();
    options.maxDecodedPixels = 600;
    VideoClip bounded = VideoClip::open(bytesOf(writers::losslessClip({16, 16, 5, 15, 0, 1})),
                                        "INTRO.smk", options);
    EXPECT_EQ(bounded.frame(3).width, 16);
    expectFailure([&] { bounded.frame(4); }, kVideoTooLarge);
}

TEST(VideoClip, SoundDecodesToTheEncodedSamplesAndWraps) {
    const ClipShape shape{16, 16, 6, 15, 22050, 2};
    const VideoClip clip = openClip(writers::losslessClip(shape));
    const Pcm pcm = clip.sound();
    EXPECT_EQ(pcm.rate, 22050);
    EXPECT_EQ(pcm.channels, 2);
    EXPECT_TRUE(pcm.samples == writers::clipSound(shape)) << pcm.samples.size() << " samples";

    const std::vector<std::byte> wav = wavFile(pcm);
    ASSERT_EQ(wav.size(), 44 + pcm.samples.size() * 2);
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(loadU16(wav.data() + 22), 2);       // channels
    EXPECT_EQ(loadU32(wav.data() + 24), 22050u);  // rate
    EXPECT_EQ(loadU32(wav.data() + 40), pcm.samples.size() * 2);
    std::int16_t first = 0;
    std::memcpy(&first, wav.data() + 44, 2);
    EXPECT_EQ(first, pcm.samples[0]);
}

TEST(VideoClip, SoundReadFromAnyTimeIsTheWholeSoundFromThere) {
    // 2 s of 8 kHz stereo, in frames of 1/10 s.
    const ClipShape shape{8, 8, 20, 10, 8000, 2};
    const VideoClip clip = openClip(writers::losslessClip(shape));
    const std::vector<std::int16_t> whole = writers::clipSound(shape);
    struct Case {
        double seconds;
        std::size_t firstFrame;  // the sample frame the reading starts with
        std::size_t chunk;       // samples asked for at a time
    };
    const Case cases[] = {
        {0, 0, 2},         {0.5, 4000, 4096}, {0.49995, 4000, 7}, {1.95, 15600, 1000},
        {1.99, 15920, 64}, {2, 16000, 64},    {30, 16000, 64},    {-1, 0, 100000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        ClipSound sound = clip.soundFrom(c.seconds);
        EXPECT_EQ(sound.rate(), 8000);
        EXPECT_EQ(sound.channels(), 2);
        // Opening decodes the frame of the stream that holds the start and the two before it.
        EXPECT_LE(sound.decodedSampleFrames(), 3 * 800);
        EXPECT_EQ(sound.atEnd(), c.firstFrame == 16000);
        std::vector<std::int16_t> read;
        std::vector<std::int16_t> chunk(c.chunk);
        while (const std::size_t count = sound.read(chunk)) {
            ASSERT_EQ(count % 2, 0u);
            ASSERT_LE(count, c.chunk);
            read.insert(read.end(), chunk.begin(), chunk.begin() + std::ptrdiff_t(count));
        }
        EXPECT_TRUE(read == std::vector<std::int16_t>(
                                whole.begin() + std::ptrdiff_t(c.firstFrame * 2), whole.end()))
            << read.size() << " samples";
        EXPECT_EQ(sound.read(chunk), 0u);
        EXPECT_TRUE(sound.atEnd());
    }
    // A buffer too small for one sample frame gets nothing.
    ClipSound sound = clip.soundFrom(0);
    std::int16_t one = 0;
    EXPECT_EQ(sound.read({&one, 1}), 0u);
}

// The player reads the sound on its own thread while the window decodes pictures: each has its
// own decoding, and the sound outlives the clip.
TEST(VideoClip, SoundIsReadOnAnotherThreadWhileFramesDecodeAndOutlivesTheClip) {
    const ClipShape shape{24, 16, 60, 10, 8000, 1};
    std::optional<VideoClip> clip = openClip(writers::losslessClip(shape));
    ClipSound sound = clip->soundFrom(1.0);
    std::vector<std::int16_t> read;
    std::thread player([&] {
        std::vector<std::int16_t> piece(333);
        while (const std::size_t count = sound.read(piece)) {
            read.insert(read.end(), piece.begin(), piece.begin() + std::ptrdiff_t(count));
            if (read.size() > 20000) {
                break;
            }
        }
    });
    for (const std::uint32_t number : {1u, 40u, 41u, 7u, 60u}) {
        EXPECT_TRUE(clip->frame(number).pixels == writers::clipFramePixels(shape, int(number) - 1));
    }
    player.join();
    clip.reset();
    std::vector<std::int16_t> piece(100000);
    read.insert(read.end(), piece.begin(), piece.begin() + std::ptrdiff_t(sound.read(piece)));
    const std::vector<std::int16_t> whole = writers::clipSound(shape);
    EXPECT_TRUE(read == std::vector<std::int16_t>(whole.begin() + 8000, whole.end()));
}

TEST(VideoClip, AClipWithoutSoundSaysSo) {
    const VideoClip clip = openClip(writers::losslessClip({16, 16, 2, 15, 0, 1}));
    expectFailure([&] { (void)clip.sound(); }, kNoSound);
    expectFailure([&] { (void)clip.soundFrom(0); }, kNoSound);
    // A sound stream without a single sample (found by fuzzing: it gave a PCM of no channels).
    const VideoClip silent = openClip(writers::losslessClip({16, 16, 1, 15, 1, 1}));
    ASSERT_TRUE(silent.info().sound.has_value());
    expectFailure([&] { (void)silent.sound(); }, kNoSound);
    expectFailure([&] { (void)silent.soundFrom(0); }, kNoSound);
}

TEST(VideoClip, OnlyTheGameFormatsAreReadByDefault) {
    const std::string file = writers::losslessClip({16, 16, 2, 15, 8000, 1});
    expectFailure([&] { VideoClip::open(bytesOf(file), "INTRO.smk"); }, kNotAVideo);
    // The container allowed, its codecs not.
    VideoOptions containerOnly;
    containerOnly.formats.push_back("avi");
    expectFailure([&] { VideoClip::open(bytesOf(file), "INTRO.smk", containerOnly); }, kNotAVideo);
    for (const std::string& junk : {std::string(), std::string("SMK2"), std::string(5000, 'x')}) {
        expectFailure([&] { openClip(junk); }, kNotAVideo);
    }
}

// The start of a Smacker or Bink header: signature, then 32-bit fields from offset 4, then zeros
// up to `size` bytes.
std::string header(const char* signature, std::vector<std::uint32_t> fields, std::size_t size) {
    std::string file(signature, 4);
    for (const std::uint32_t field : fields) {
        writers::putU32(file, field);
    }
    file.resize(size, '\0');
    return file;
}

TEST(VideoClip, StatedFrameCountsAndSidesAreCheckedBeforeFfmpegReadsThem) {
    struct Case {
        std::string file;
        const char* text;
        const char* detail;  // part of the detail, or "" for any
    };
    //                    Smacker: width, height, frames, rate, flags
    //                    Bink:    size, frames, largest, frames, width, height
    const Case cases[] = {
        {header("SMK2", {64, 48, 14876672, 66666, 0}, 200), kDamagedVideo, "14876672 frames"},
        {header("SMK4", {64, 48, 19, 66666, 1}, 104 + 5 * 19), kDamagedVideo, "20 frames"},
        {header("SMK2", {30720, 48, 1, 66666, 0}, 200), kVideoTooLarge, "30720 x 48"},
        {header("SMK2", {64, 48, 1, 66666, 0, 0, 0, 0, 0, 0, 0, 0, 0x2E2E2E2E}, 200), kDamagedVideo,
         "trees of 774778414 bytes"},
        {header("SMK2", {64, 0, 1, 66666, 0}, 200), kDamagedVideo, "64 x 0"},
        {header("BIKi", {192, 1000000, 10, 1000000, 64, 48}, 200), kDamagedVideo, "1000000 frames"},
        {header("KB2a", {192, 100, 10, 100, 64, 48}, 200), kDamagedVideo, "100 frames"},
        {header("BIKi", {192, 1, 10, 1, 64, 5000}, 200), kVideoTooLarge, "64 x 5000"},
    };
    for (const Case& c : cases) {
        try {
            openClip(c.file);
            ADD_FAILURE() << "opened " << c.detail;
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), c.text) << error.describe();
            EXPECT_NE(error.detail().find(c.detail), std::string::npos) << error.describe();
            EXPECT_EQ(error.entry(), "INTRO.smk");
        }
    }
}

// Opening, decoding every frame and the sound of the clip either works or throws ResourceError
// naming the entry; nothing else may happen.
void decodeAllOrFailCleanly(const std::string& file) {
    try {
        VideoClip clip = openClip(file);
        const auto frames =
            static_cast<std::uint32_t>(std::min<std::int64_t>(clip.info().frameCount + 1, 20));
        for (std::uint32_t number = 1; number <= frames; ++number) {
            try {
                clip.frame(number);
            } catch (const ResourceError& error) {
                EXPECT_EQ(error.entry(), "INTRO.smk") << error.describe();
            }
        }
        if (clip.info().sound) {
            clip.sound();
        }
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.entry(), "INTRO.smk") << error.describe();
        EXPECT_FALSE(error.text().empty());
    }
}

TEST(VideoClip, TruncatedClipsFailCleanlyWithTheEntryNamed) {
    const ClipShape shape{24, 16, 4, 15, 8000, 1};
    const std::string file = writers::losslessClip(shape);
    for (std::size_t length = 0; length < file.size(); length += 1 + length / 16) {
        SCOPED_TRACE("length " + std::to_string(length));
        decodeAllOrFailCleanly(file.substr(0, length));
    }
    // Cut inside the last frame: the frames before it still decode.
    VideoClip clip = openClip(file.substr(0, file.size() - 200));
    EXPECT_TRUE(clip.frame(1).pixels == writers::clipFramePixels(shape, 0));
}

TEST(VideoClip, CorruptedClipsFailCleanlyWithTheEntryNamed) {
    const std::string file = writers::losslessClip({24, 16, 4, 15, 8000, 1});
    std::uint32_t random = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string damaged = file;
        for (int k = 0; k < 1 + round % 8; ++k) {
            random = random * 1103515245 + 12345;
            damaged[(random >> 8) % damaged.size()] = static_cast<char>(random >> 24);
        }
        SCOPED_TRACE("round " + std::to_string(round));
        decodeAllOrFailCleanly(damaged);
    }
}

}  // namespace
