// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/VideoPreview.h"

#include <algorithm>
#include <cmath>

#include "base/ResourceError.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

std::string number(std::int64_t value) { return std::to_string(value); }

// The frame count a clip plays: the stated one, kept within what the decoder allows.
std::uint32_t playableFrames(const video::VideoInfo& info) {
    return static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(info.frameCount, 1, video::kMaxFrameNumber));
}

}  // namespace

VideoPreview::VideoPreview(PreviewWidgets& pages, WindowShell& shell, WavePlayer& player,
                           Clock clock)
    : pages_(pages), shell_(shell), player_(player), clock_(std::move(clock)) {}

VideoPreview::~VideoPreview() {
    try {
        close();
    } catch (...) {
        // The window is going: a device that fails to stop cannot be told about any more.
    }
}

template <typename Body>
void VideoPreview::closingOnError(Body&& body) {
    try {
        body();
    } catch (...) {
        close();
        throw;
    }
}

void VideoPreview::open(Bytes content, const std::string& entryName) {
    close();
    closingOnError([&] {
        clip_.emplace(video::VideoClip::open(content, entryName, options_));
        const video::VideoInfo& figures = clip_->info();
        const bool statedRate = figures.frameRate > 0 && figures.frameRate <= kMaxVideoFrameRate;
        frameRate_ = statedRate ? figures.frameRate : kDefaultVideoFrameRate;
        frames_ = playableFrames(figures);
        show(1);
        showFigures();
        pages_.setVideoPlaying(false, 0);
    });
}

void VideoPreview::close() {
    const bool wasOpen = clip_.has_value();
    playing_ = false;
    clip_.reset();
    soundProblem_.clear();
    frames_ = 0;
    frame_ = 0;
    if (wasOpen) {
        pages_.setVideoPlaying(false, 0);
        stopSound();
    }
}

void VideoPreview::playPause() {
    if (!clip_) {
        return;
    }
    if (playing_) {
        pause();
        return;
    }
    closingOnError([&] {
        if (frame_ >= frames_) {
            show(1);
        }
        startPlaying();
    });
}

void VideoPreview::pause() {
    if (!playing_) {
        return;
    }
    playing_ = false;
    pages_.setVideoPlaying(false, 0);
    stopSound();
}

void VideoPreview::step(int delta) {
    if (!clip_) {
        return;
    }
    pause();
    const std::int64_t target = std::clamp<std::int64_t>(std::int64_t{frame_} + delta, 1, frames_);
    closingOnError([&] { show(static_cast<std::uint32_t>(target)); });
}

void VideoPreview::seek(int frame) {
    if (!clip_) {
        return;
    }
    const auto target =
        static_cast<std::uint32_t>(std::clamp<std::int64_t>(frame, 1, frames_));
    if (target == frame_) {
        return;  // the slider echoing the position the player set
    }
    closingOnError([&] {
        const bool wasPlaying = playing_;
        if (wasPlaying) {
            playing_ = false;
            stopSound();
        }
        show(target);
        if (wasPlaying) {
            startPlaying();
        }
    });
}

void VideoPreview::tick() {
    if (!clip_ || !playing_) {
        return;
    }
    if (!followSound()) {
        return;
    }
    const std::chrono::duration<double> played = clock_() - playedAt_;
    const double reached = playedFrom_ + std::floor(std::max(0.0, played.count()) * frameRate_);
    // The last frame stays for its whole time, as the sound's end does, before the clip pauses.
    const bool ended = reached > frames_;
    const auto target = static_cast<std::uint32_t>(std::min<double>(reached, frames_));
    closingOnError([&] {
        if (target != frame_) {
            show(target);
        }
        if (ended) {
            pause();
        }
    });
}

void VideoPreview::show(std::uint32_t frame) {
    const Picture picture = clip_->frame(frame);
    frame_ = frame;
    pages_.showVideoFrame(picture.pixels, picture.width, picture.height);
    pages_.setVideoPosition(static_cast<int>(frame), static_cast<int>(frames_),
                         texts::fillIn(text(texts::kVideoPosition),
                                       {number(frame), number(frames_), timeText(frame - 1),
                                        timeText(frames_)}));
}

void VideoPreview::startPlaying() {
    playing_ = true;
    playedFrom_ = frame_;
    playedAt_ = clock_();
    waitingForSound_ = false;
    // Ticks twice a frame, so a tick late by the timer's jitter still shows each frame.
    pages_.setVideoPlaying(true, std::max(1, static_cast<int>(std::lround(500 / frameRate_))));
    startSound();
}

// The clip's sound from the frame shown on. A sound that cannot be played leaves the picture
// playing alone and says why beside the figures.
void VideoPreview::startSound() {
    if (!clip_->info().sound || !soundProblem_.empty()) {
        return;
    }
    try {
        video::ClipSound sound = clip_->soundFrom((frame_ - 1) / frameRate_);
        if (sound.atEnd()) {
            return;  // the sound ended before this frame: the picture plays on alone
        }
        player_.openStream(std::make_unique<VideoSound>(std::move(sound)));
        player_.play();
        waitingForSound_ = true;
        followSound();
    } catch (const ResourceError& error) {
        soundProblem_ = texts::describeError(error, [this](const char* source) {
            return text(source);
        });
        stopSound();
        showFigures();
    }
}

bool VideoPreview::followSound() {
    if (!waitingForSound_) {
        return true;
    }
    const auto now = clock_();
    if (const auto heard = player_.playedTime()) {
        playedAt_ = now - *heard;
        waitingForSound_ = false;
        return true;
    }
    if (now - playedAt_ < kSoundStartWait) {
        return false;
    }
    // The device does not say: the picture plays on alone, from now, without a jump.
    playedAt_ = now;
    waitingForSound_ = false;
    return true;
}

void VideoPreview::stopSound() {
    if (player_.isOpen()) {
        player_.stop();
        player_.close();
    }
}

void VideoPreview::showFigures() {
    const video::VideoInfo& figures = clip_->info();
    std::string shown =
        texts::fillIn(text(texts::kVideoFigures),
                      {number(figures.width), number(figures.height), rateText(),
                       number(frames_), timeText(frames_)});
    if (!soundProblem_.empty()) {
        shown += "; " + texts::fillIn(text(texts::kVideoSoundFailed), {soundProblem_});
    } else if (figures.sound) {
        shown += "; " + texts::fillIn(text(texts::kVideoSound),
                                      {number(figures.sound->rate), number(figures.sound->channels)});
    } else {
        shown += "; " + text(texts::kVideoSilent);
    }
    pages_.setVideoInfo(shown);
}

// "15" or "12,5": a frame rate to a tenth, the tenth only when there is one.
std::string VideoPreview::rateText() const {
    const std::int64_t tenths = std::llround(frameRate_ * 10);
    if (tenths % 10 == 0) {
        return number(tenths / 10);
    }
    return texts::fillIn(text(texts::kDecimal), {number(tenths / 10), number(tenths % 10)});
}

// The time at which `frames` frames have played: "0:02,0".
std::string VideoPreview::timeText(std::uint32_t frames) const {
    const auto tenths = static_cast<std::int64_t>(std::floor(frames / frameRate_ * 10));
    const std::int64_t seconds = tenths / 10 % 60;
    return texts::fillIn(text(texts::kVideoTime),
                         {number(tenths / 600), (seconds < 10 ? "0" : "") + number(seconds),
                          number(tenths % 10)});
}

}  // namespace brasvel
