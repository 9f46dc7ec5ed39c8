// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ResourceError.h"
#include "window/WavePlayer.h"

namespace brasvel {

// A wave player that records what it was asked to do. It refuses sounds that are not RIFF files,
// with a device-like message, as a real device would. A stream it holds until closed, unread: the
// test reads it as the device would.
class FakeWavePlayer : public WavePlayer {
public:
    void open(Bytes wav) override {
        close();
        if (wav.size() < 4 || std::string(reinterpret_cast<const char*>(wav.data()), 4) != "RIFF") {
            throw ResourceError::worded(
                "The specified file cannot be played on the specified MCI device");
        }
        opened.emplace_back(wav.begin(), wav.end());
        isOpen_ = true;
        playing = false;
    }
    void openStream(std::unique_ptr<SoundStream> sound) override {
        close();
        if (!sound) {
            throw ResourceError::worded("No sound to play");
        }
        stream = std::move(sound);
        ++streamsOpened;
        isOpen_ = true;
        playing = false;
    }
    void close() override {
        isOpen_ = false;
        playing = false;
        stream.reset();
    }
    void stop() override {
        if (!isOpen_) {
            throw ResourceError::worded("No MCI device open");
        }
        playing = false;
        ++stops;
    }
    void play() override { playing = isOpen_; }
    bool isOpen() const override { return isOpen_; }
    bool hasOutput() const override { return output; }
    // Playing sounds are heard at once, `heardFor` into the sound, unless `silentStart` says the
    // device has not begun yet.
    std::optional<std::chrono::milliseconds> playedTime() const override {
        if (!playing || silentStart) {
            return std::nullopt;
        }
        return heardFor;
    }

    std::string lastOpened() const {
        return opened.empty() ? std::string()
                              : std::string(reinterpret_cast<const char*>(opened.back().data()),
                                            opened.back().size());
    }

    std::vector<std::vector<std::byte>> opened;
    std::unique_ptr<SoundStream> stream;  // the stream open, if any
    int streamsOpened = 0;
    bool playing = false;
    int stops = 0;
    bool silentStart = false;
    bool output = true;  // a sound device is there
    std::chrono::milliseconds heardFor{0};

private:
    bool isOpen_ = false;
};

}  // namespace brasvel
