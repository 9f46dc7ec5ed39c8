// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The preview's video player: the clip of the selected video entry, the frame shown, and whether
// it plays. It shows frames, the position and the figures through PreviewWidgets and the sound
// through the same WavePlayer as a sound archive's entries, so headless tests drive it whole.
//
// While it plays, the window's timer calls tick(); each tick shows the frame that the time since
// Play has reached (frames are skipped when decoding falls behind). The sound starts at the same
// position, and its device takes a while to begin: the picture waits for it (at most
// kSoundStartWait) and then counts its time from the moment the player says the sound began, so
// picture and sound stay in step. The sound is a stream of the clip's sound from that position
// on (VideoSound), decoded as the player reads it, opened and played when Play is pressed (after
// a seek too) and stopped and closed on pause: nothing of it is decoded whole.
//
// A failure of the picture closes the player and is thrown to the caller (the window shows it in
// the preview); a failure of the sound only silences it and says so beside the figures.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/ByteReader.h"
#include "toolkit/WindowToolkit.h"
#include "video/VideoClip.h"
#include "window/WavePlayer.h"

namespace brasvel {

// A clip that does not state its frame rate, or states one above kMaxVideoFrameRate, plays at
// kDefaultVideoFrameRate frames a second.
inline constexpr double kDefaultVideoFrameRate = 15.0;
inline constexpr double kMaxVideoFrameRate = 120.0;
// How long the picture waits for the sound's device to begin before it plays on alone.
inline constexpr std::chrono::milliseconds kSoundStartWait{500};

// A clip's sound as the wave player reads it: the video module's reader of its own, which the
// player may use on another thread than the clip's.
class VideoSound final : public SoundStream {
public:
    explicit VideoSound(video::ClipSound sound) : sound_(std::move(sound)) {}
    std::int32_t rate() const override { return sound_.rate(); }
    std::int32_t channels() const override { return sound_.channels(); }
    std::size_t read(std::span<std::int16_t> samples) override { return sound_.read(samples); }
    const video::ClipSound& clipSound() const { return sound_; }

private:
    video::ClipSound sound_;
};

class VideoPreview {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    VideoPreview(PreviewWidgets& pages, WindowShell& shell, WavePlayer& player,
                 Clock clock = [] { return std::chrono::steady_clock::now(); });
    VideoPreview(WindowToolkit& ui, WavePlayer& player,
                 Clock clock = [] { return std::chrono::steady_clock::now(); })
        : VideoPreview(ui, ui, player, std::move(clock)) {}
    ~VideoPreview();
    VideoPreview(const VideoPreview&) = delete;
    VideoPreview& operator=(const VideoPreview&) = delete;

    // Which demuxers and decoders may read a clip (the game's by default); for clips opened next.
    void setOptions(video::VideoOptions options) { options_ = std::move(options); }

    // Opens `content` (copied) as the clip of entry `entryName` and shows its first frame, paused,
    // with its figures. Throws ResourceError naming the entry; nothing is open then.
    void open(Bytes content, const std::string& entryName);
    // Stops picture and sound and forgets the clip; nothing when none is open.
    void close();

    bool isOpen() const { return clip_.has_value(); }
    bool isPlaying() const { return playing_; }
    // The frame shown (from 1); 0 when no clip is open.
    std::uint32_t frame() const { return frame_; }
    std::uint32_t frameCount() const { return frames_; }
    const video::VideoInfo* info() const { return clip_ ? &clip_->info() : nullptr; }

    // Play/Pause: plays from the frame shown (from the start once the last was reached), or
    // pauses on the frame shown.
    void playPause();
    void pause();
    // Pauses and shows the frame `delta` frames away, kept within the clip.
    void step(int delta);
    // The slider was moved to `frame`: shown at once; a playing clip plays on from there.
    void seek(int frame);
    // The window's timer: shows the frame the clock has reached; at the end, pauses on the last.
    void tick();

private:
    // Runs a step of the player; a failure closes it and goes on to the caller.
    template <typename Body>
    void closingOnError(Body&& body);
    void show(std::uint32_t frame);
    void startPlaying();
    void startSound();
    void stopSound();
    // Counts the picture's time from when the sound began, once the player says it has; false
    // while the picture should still wait for it.
    bool followSound();
    void showFigures();
    std::string rateText() const;
    std::string timeText(std::uint32_t frame) const;
    std::string text(const char* source) const { return shell_.translate(source); }

    PreviewWidgets& pages_;
    WindowShell& shell_;
    WavePlayer& player_;
    Clock clock_;
    video::VideoOptions options_;
    std::optional<video::VideoClip> clip_;
    std::string soundProblem_;  // why the clip plays silent; empty when it need not
    double frameRate_ = kDefaultVideoFrameRate;
    std::uint32_t frames_ = 0;
    std::uint32_t frame_ = 0;
    bool playing_ = false;
    std::uint32_t playedFrom_ = 0;  // the frame shown when Play was pressed
    std::chrono::steady_clock::time_point playedAt_;
    bool waitingForSound_ = false;
};

}  // namespace brasvel
