// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The wave player on Windows, over the system's own PlaySound from memory (winmm, which Qt links
// anyway): Qt Multimedia's Windows back end needs Media Foundation, which the MinGW cross build
// here does not have. The sound is kept in memory for as long as it may play, as PlaySound
// reads it while it plays. Playback's progress is told by the clock from the moment play()
// handed the sound over, which is what the video's picture follows.
//
// A stream plays through the wave output (waveOut): a few buffers queued on the device, which a
// thread of the player's own refills from the stream as the device finishes each (it alone reads
// the stream). Stop pauses the device, play restarts it; its position tells the time played.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "window/WavePlayer.h"

namespace brasvel::app {

class WindowsWavePlayer : public WavePlayer {
public:
    WindowsWavePlayer() = default;
    ~WindowsWavePlayer() override;
    WindowsWavePlayer(const WindowsWavePlayer&) = delete;
    WindowsWavePlayer& operator=(const WindowsWavePlayer&) = delete;

    void open(Bytes wav) override;
    void openStream(std::unique_ptr<SoundStream> stream) override;
    void close() override;
    void stop() override;
    void play() override;
    bool isOpen() const override { return !sound_.empty() || output_ != nullptr; }
    bool hasOutput() const override;
    std::optional<std::chrono::milliseconds> playedTime() const override;

private:
    class StreamOutput;
    void requireOpen() const;

    std::vector<std::byte> sound_;
    std::unique_ptr<StreamOutput> output_;  // the stream playing, if any
    std::optional<std::chrono::steady_clock::time_point> started_;
};

}  // namespace brasvel::app
