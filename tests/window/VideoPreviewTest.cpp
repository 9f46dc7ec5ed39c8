// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The preview's video player, driven through the headless window: clips that FFmpeg's encoders
// make at test time, stored in a VID by our writer, shown, played on a test clock, paused,
// stepped, sought, stopped by the window, and failing in the panel when damaged.

#include <gtest/gtest.h>

#include <chrono>

#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/VideoWriters.h"
#include "video/VideoModule.h"
#include "window/VideoPreview.h"

namespace brasvel {
namespace {

using namespace std::chrono_literals;
using writers::ClipShape;
using Page = PreviewPage;

// 10 frames of 20 × 10 at 10 a second, with a second of 8 kHz mono sound.
const ClipShape kShape{20, 10, 10, 10, 8000, 1};

video::VideoOptions clipOptions() {
    video::VideoOptions options;
    options.formats.insert(options.formats.end(), writers::kClipFormats.begin(),
                           writers::kClipFormats.end());
    options.codecs.insert(options.codecs.end(), writers::kClipCodecs.begin(),
                          writers::kClipCodecs.end());
    return options;
}

const std::string& clipFile() {
    static const std::string file = writers::losslessClip(kShape);
    return file;
}

Bytes bytesOf(const std::string& file) {
    return {reinterpret_cast<const std::byte*>(file.data()), file.size()};
}

// The clip's sound from sample `first` on.
std::vector<std::int16_t> soundFrom(const ClipShape& shape, std::size_t first) {
    const std::vector<std::int16_t> whole = writers::clipSound(shape);
    return {whole.begin() + std::ptrdiff_t(std::min(first, whole.size())), whole.end()};
}

// The sample frames the stream the player holds has decoded so far.
std::int64_t decodedByStream(const FakeWavePlayer& player) {
    return dynamic_cast<const VideoSound&>(*player.stream).clipSound().decodedSampleFrames();
}

// What is left of the stream the player holds, read as a device would, in pieces.
std::vector<std::int16_t> restOfStream(FakeWavePlayer& player) {
    std::vector<std::int16_t> rest;
    std::vector<std::int16_t> piece(1000);
    while (const std::size_t count = player.stream->read(piece)) {
        rest.insert(rest.end(), piece.begin(), piece.begin() + std::ptrdiff_t(count));
    }
    return rest;
}

// The player alone, over a clock the test moves.
class VideoPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        preview.setOptions(clipOptions());
        preview.open(bytesOf(clipFile()), "INTRO.smk");
    }
    bool showsFrame(int index) const {
        return ui.videoFrame == writers::clipFramePixels(kShape, index);
    }

    HeadlessToolkit ui;
    FakeWavePlayer player;
    std::chrono::steady_clock::time_point now{};
    VideoPreview preview{ui, player, [this] { return now; }};
};

TEST_F(VideoPlayerTest, opensPausedOnTheFirstFrameWithItsFigures) {
    EXPECT_EQ(ui.previewPage, Page::Video);
    EXPECT_TRUE(showsFrame(0));
    EXPECT_EQ(ui.videoWidth, 20);
    EXPECT_EQ(ui.videoHeight, 10);
    EXPECT_EQ(ui.videoPosition, 1);
    EXPECT_EQ(ui.videoFrames, 10);
    EXPECT_EQ(ui.videoPositionText, "Klatka 1 z 10 (0:00,0 / 0:01,0)");
    EXPECT_EQ(ui.videoInfo,
              "20 × 10 pikseli, 10 kl./s, klatek: 10, czas 0:01,0; dźwięk 8000 Hz, kanały: 1");
    EXPECT_FALSE(ui.videoPlaying);
    EXPECT_TRUE(player.opened.empty());
}

TEST_F(VideoPlayerTest, playShowsTheFrameTheClockReachedWithTheSoundFromThere) {
    preview.playPause();
    EXPECT_TRUE(ui.videoPlaying);
    EXPECT_EQ(ui.videoTickMs, 50);
    ASSERT_TRUE(player.playing);
    ASSERT_TRUE(player.stream);
    EXPECT_TRUE(player.opened.empty());
    EXPECT_EQ(player.stream->rate(), 8000);
    EXPECT_EQ(player.stream->channels(), 1);
    EXPECT_LE(decodedByStream(player), 800);  // a frame of the stream, not the whole sound

    now += 150ms;
    preview.tick();
    EXPECT_EQ(preview.frame(), 2u);
    EXPECT_TRUE(showsFrame(1));
    now += 300ms;  // a late tick skips to the frame the time has reached
    preview.tick();
    EXPECT_EQ(preview.frame(), 5u);
    EXPECT_TRUE(showsFrame(4));

    preview.playPause();  // pause: picture and sound stop
    EXPECT_FALSE(ui.videoPlaying);
    EXPECT_FALSE(player.isOpen());
    now += 1s;
    preview.tick();
    EXPECT_EQ(preview.frame(), 5u);

    preview.playPause();  // on from frame 5: the sound from 0.4 s
    ASSERT_TRUE(player.playing);
    EXPECT_EQ(player.streamsOpened, 2);
    EXPECT_TRUE(restOfStream(player) == soundFrom(kShape, 3200));
    now += 200ms;
    preview.tick();
    EXPECT_EQ(preview.frame(), 7u);
}

TEST_F(VideoPlayerTest, thePictureWaitsForTheSoundsDeviceToBegin) {
    player.silentStart = true;
    preview.playPause();
    now += 300ms;
    preview.tick();
    EXPECT_EQ(preview.frame(), 1u);
    player.silentStart = false;  // begun 20 ms ago
    player.heardFor = 20ms;
    preview.tick();
    EXPECT_EQ(preview.frame(), 1u);
    now += 80ms;
    preview.tick();
    EXPECT_EQ(preview.frame(), 2u);

    player.silentStart = true;
    preview.seek(5);  // the sound starts again from there: so does the wait
    now += kSoundStartWait;
    preview.tick();
    EXPECT_EQ(preview.frame(), 5u);
    now += 100ms;  // the device never says: the picture goes on alone from the end of the wait
    preview.tick();
    EXPECT_EQ(preview.frame(), 6u);
}

TEST_F(VideoPlayerTest, theEndPausesOnTheLastFrameAndPlayStartsAgain) {
    preview.playPause();
    now += 950ms;  // the last frame's time: it shows, and the sound plays on
    preview.tick();
    EXPECT_EQ(preview.frame(), 10u);
    EXPECT_TRUE(preview.isPlaying());
    EXPECT_TRUE(player.playing);
    now += 100ms;
    preview.tick();
    EXPECT_EQ(preview.frame(), 10u);
    EXPECT_TRUE(showsFrame(9));
    EXPECT_FALSE(preview.isPlaying());
    EXPECT_FALSE(ui.videoPlaying);
    EXPECT_FALSE(player.isOpen());

    preview.playPause();
    EXPECT_EQ(preview.frame(), 1u);
    EXPECT_TRUE(preview.isPlaying());
}

TEST_F(VideoPlayerTest, stepsAndSeeksStayWithinTheClip) {
    struct Case {
        const char* what;
        std::function<void()> action;
        std::uint32_t frame;
    };
    const Case cases[] = {
        {"step back at the start", [&] { preview.step(-1); }, 1},
        {"step on", [&] { preview.step(1); }, 2},
        {"seek", [&] { preview.seek(9); }, 9},
        {"step past the end", [&] { preview.step(5); }, 10},
        {"seek before the start", [&] { preview.seek(-3); }, 1},
        {"seek past the end", [&] { preview.seek(11); }, 10},
    };
    for (const Case& c : cases) {
        c.action();
        EXPECT_EQ(preview.frame(), c.frame) << c.what;
        EXPECT_TRUE(showsFrame(static_cast<int>(c.frame) - 1)) << c.what;
        EXPECT_EQ(ui.videoPosition, static_cast<int>(c.frame)) << c.what;
    }
}

TEST_F(VideoPlayerTest, aStepWhilePlayingPausesAndASeekPlaysOnFromTheNewFrame) {
    preview.playPause();
    preview.seek(6);
    EXPECT_TRUE(preview.isPlaying());
    EXPECT_TRUE(player.playing);
    EXPECT_TRUE(restOfStream(player) == soundFrom(kShape, 4000));
    now += 100ms;
    preview.tick();
    EXPECT_EQ(preview.frame(), 7u);

    preview.step(-1);
    EXPECT_FALSE(preview.isPlaying());
    EXPECT_FALSE(player.isOpen());
    EXPECT_EQ(preview.frame(), 6u);
}

// A minute of sound: Play decodes a frame of it, wherever it starts, and the stream goes on from
// the frame shown after a pause, a seek or a step.
TEST(VideoPlayer, theSoundIsDecodedAsItPlaysFromTheFrameShown) {
    const ClipShape shape{4, 4, 600, 10, 8000, 1};
    HeadlessToolkit ui;
    FakeWavePlayer player;
    std::chrono::steady_clock::time_point now{};
    VideoPreview preview{ui, player, [&] { return now; }};
    preview.setOptions(clipOptions());
    preview.open(bytesOf(writers::losslessClip(shape)), "LONG.smk");

    struct Case {
        const char* what;
        std::function<void()> action;
        std::size_t firstSample;
    };
    const Case cases[] = {
        {"play", [&] { preview.playPause(); }, 0},
        {"pause after a second, play",
         [&] {
             now += 1s;
             preview.tick();
             preview.playPause();
             preview.playPause();
         },
         8000},
        {"seek while playing", [&] { preview.seek(300); }, 299 * 800},
        {"seek while paused, play",
         [&] {
             preview.playPause();
             preview.seek(42);
             EXPECT_FALSE(player.isOpen());
             preview.playPause();
         },
         41 * 800},
        {"step, play",
         [&] {
             preview.step(-1);
             preview.playPause();
         },
         40 * 800},
        {"the last but one frame, play",
         [&] {
             preview.playPause();
             preview.seek(599);
             preview.playPause();
         },
         598 * 800},
    };
    for (const Case& c : cases) {
        c.action();
        ASSERT_TRUE(player.playing) << c.what;
        // The start's frame of the stream and the two before it: nothing more before the device
        // asks for it.
        EXPECT_LE(decodedByStream(player), 3 * 800) << c.what;
        const std::vector<std::int16_t> rest = restOfStream(player);
        EXPECT_EQ(rest.size(), 480000 - c.firstSample) << c.what;
        EXPECT_TRUE(rest == soundFrom(shape, c.firstSample)) << c.what;
    }
    preview.pause();
    EXPECT_FALSE(player.isOpen());
    EXPECT_FALSE(player.stream);
}

TEST(VideoPlayer, aClipWithoutSoundOrPastItsEndPlaysSilently) {
    HeadlessToolkit ui;
    FakeWavePlayer player;
    VideoPreview preview{ui, player};
    preview.setOptions(clipOptions());
    preview.open(bytesOf(writers::losslessClip(ClipShape{8, 8, 5, 10, 0, 1})), "MUTE.smk");
    preview.playPause();
    EXPECT_TRUE(preview.isPlaying());
    EXPECT_EQ(player.streamsOpened, 0);

    // Half a second of sound under a second of pictures.
    const ClipShape shape{8, 8, 10, 10, 8000, 1};
    std::vector<std::int16_t> half = writers::clipSound(shape);
    half.resize(4000);
    preview.open(
        bytesOf(writers::losslessClip(
            shape, [&](int index) { return writers::clipFramePixels(shape, index); }, half)),
        "SHORT.smk");
    preview.seek(7);
    preview.playPause();
    EXPECT_TRUE(preview.isPlaying());
    EXPECT_EQ(player.streamsOpened, 0);
    EXPECT_NE(ui.videoInfo.find("dźwięk 8000 Hz"), std::string::npos) << ui.videoInfo;
}

TEST(VideoPlayer, aSoundThatCannotPlayLeavesThePicturePlayingAndSaysWhy) {
    HeadlessToolkit ui;
    FakeWavePlayer player;
    std::chrono::steady_clock::time_point now{};
    VideoPreview preview{ui, player, [&] { return now; }};
    video::VideoOptions options = clipOptions();
    std::erase(options.codecs, "pcm_s16le");  // the sound stream's decoder is refused
    preview.setOptions(options);
    preview.open(bytesOf(clipFile()), "INTRO.smk");

    preview.playPause();
    EXPECT_TRUE(preview.isPlaying());
    EXPECT_FALSE(player.isOpen());
    EXPECT_NE(ui.videoInfo.find("; dźwięk niedostępny: "), std::string::npos) << ui.videoInfo;
    now += 300ms;
    preview.tick();
    EXPECT_EQ(preview.frame(), 4u);
}

TEST(VideoPlayer, aFrameRateBeyondReasonPlaysAtTheDefaultRate) {
    HeadlessToolkit ui;
    FakeWavePlayer player;
    VideoPreview preview{ui, player};
    preview.setOptions(clipOptions());
    preview.open(bytesOf(writers::losslessClip(ClipShape{8, 8, 3, 2000, 0, 1})), "FAST.smk");
    EXPECT_EQ(ui.videoInfo.rfind("8 × 8 pikseli, 15 kl./s, klatek: 3, czas 0:00,2; ", 0), 0u)
        << ui.videoInfo;
    preview.playPause();
    EXPECT_EQ(ui.videoTickMs, 33);
}

// The player inside the window: a VID of a clip, a truncated clip and a text.
class VideoWindowTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        const std::string& clip = clipFile();
        form.setVideoOptions(clipOptions());
        form.FormCreate("", write("movies.vid", writers::VidWriter()
                                                    .add("INTRO.smk", clip)
                                                    .add("CUT.BIK", clip.substr(0, 300))
                                                    .add("NOTES.txt", "not a clip")
                                                    .build()));
        ASSERT_EQ(ui.rows.size(), 3u);
        form.BitBtn3Click();
    }
    const VideoPreview& video() const { return form.videoPreview(); }
};

TEST_F(VideoWindowTest, choosingAVideoShowsItsFirstFrameSizeAndLength) {
    EXPECT_EQ(ui.previewPage, Page::Video);
    EXPECT_EQ(ui.videoFrame, writers::clipFramePixels(kShape, 0));
    EXPECT_EQ(ui.statusTexts[4], "X: 20");
    EXPECT_EQ(ui.statusTexts[5], "Y: 10");
    EXPECT_NE(ui.videoInfo.find("klatek: 10, czas 0:01,0"), std::string::npos) << ui.videoInfo;
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(VideoWindowTest, anotherEntryTheToolBarOrClosingThePreviewStopsPlayback) {
    const std::function<void()> stoppers[] = {
        [&] { form.numitem(2, true); },
        [&] { form.MediaPlayer1Click(PlayerButton::Stop); },
        [&] { form.BitBtn3Click(); },
        [&] { form.FormClose(); },
    };
    for (const auto& stop : stoppers) {
        if (!form.PreviewOn()) {
            form.BitBtn3Click();
        }
        form.numitem(0, true);
        form.videoPlayPause();
        ASSERT_TRUE(video().isPlaying());
        ASSERT_TRUE(player.playing);
        stop();
        EXPECT_FALSE(video().isPlaying());
        EXPECT_FALSE(ui.videoPlaying);
        EXPECT_FALSE(player.playing);
        EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    }
}

TEST_F(VideoWindowTest, aTruncatedVideoSaysSoInThePanelAndTheNextEntryWorks) {
    form.videoPlayPause();
    form.numitem(1, true);
    EXPECT_FALSE(video().isOpen());
    EXPECT_EQ(ui.previewPage, Page::Image);
    EXPECT_EQ(ui.previewMessage.rfind("CUT.BIK: ", 0), 0u) << ui.previewMessage;
    EXPECT_EQ(ui.statusTexts[4], "X: -");
    form.videoPlayPause();  // the page's buttons do nothing without a clip
    form.videoTick();
    EXPECT_FALSE(player.playing);
    EXPECT_TRUE(ui.errors.empty());

    form.numitem(0, true);
    EXPECT_EQ(ui.previewPage, Page::Video);
    EXPECT_EQ(ui.videoFrame, writers::clipFramePixels(kShape, 0));
}

TEST_F(VideoWindowTest, aClipThatBreaksWhilePlayingStopsWithItsErrorInThePanel) {
    // Whole headers and the first frames, then the file ends.
    const std::string& clip = clipFile();
    form.FormCreate(
        "",
        write("cut.vid",
              writers::VidWriter().add("HALF.smk", clip.substr(0, clip.size() * 6 / 10)).build()));
    form.numitem(0, true);
    ASSERT_EQ(ui.previewPage, Page::Video) << ui.previewMessage;
    form.videoSeek(10);
    EXPECT_FALSE(video().isOpen());
    EXPECT_EQ(ui.previewMessage.rfind("HALF.smk: ", 0), 0u) << ui.previewMessage;
    EXPECT_TRUE(ui.errors.empty());
}

// Without the video module the video page says so, every other page works, and the module found
// again brings the videos back.
TEST_F(VideoWindowTest, withoutTheVideoModuleAVideoSaysDecodingIsNotAvailable) {
    if (testing::kOnWindows) {
        GTEST_SKIP() << "the Windows program has its decoding linked in: no module to miss";
    }
    const std::string missing = (folder / "no-such-module.so").string();
    ASSERT_FALSE(video::reloadVideoModule(missing));
    form.numitem(2, true);
    form.numitem(0, true);
    EXPECT_FALSE(video().isOpen());
    EXPECT_EQ(ui.previewPage, Page::Image);
    EXPECT_EQ(ui.previewMessage.rfind("INTRO.smk: Video decoding is not available (", 0), 0u)
        << ui.previewMessage;
    EXPECT_NE(ui.previewMessage.find(missing), std::string::npos) << ui.previewMessage;
    EXPECT_EQ(ui.statusTexts[4], "X: -");
    EXPECT_TRUE(ui.errors.empty());
    form.numitem(2, true);
    EXPECT_EQ(ui.previewPage, Page::Text);

    ASSERT_TRUE(video::reloadVideoModule(""));
    form.numitem(0, true);
    EXPECT_EQ(ui.previewPage, Page::Video) << ui.previewMessage;
}

}  // namespace
}  // namespace brasvel
