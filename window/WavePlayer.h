// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The wave player beside the tool bar: it opens one WAV sound, plays it from its start, stops and
// closes. Its Play and Stop buttons are usable only while a sound is open. A video's sound is
// opened as a stream instead, read as it plays. The Qt window plays through Qt Multimedia, the
// Windows one through the system's wave output; tests use a recording fake.

#include <chrono>
#include <memory>
#include <optional>

#include "base/ByteReader.h"
#include "toolkit/WindowEvents.h"  // PlayerButton
#include "window/SoundStream.h"

namespace brasvel {

class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    // Opens the device on the WAV file `wav` (an earlier sound is closed first). Throws
    // ResourceError with the device's text when it cannot, leaving the player closed.
    virtual void open(Bytes wav) = 0;
    // Opens the device on `stream` (an earlier sound is closed first), which the player owns and
    // reads as it plays until close(). Stop pauses it where it is; play goes on from there. Throws
    // ResourceError with the device's text when it cannot, leaving the player closed.
    virtual void openStream(std::unique_ptr<SoundStream> stream) = 0;
    // Releases the device and the sound; nothing when none is open.
    virtual void close() = 0;
    // Stops playback. Throws ResourceError("No MCI device open") when no sound is open.
    virtual void stop() = 0;
    // Starts playback from the current position (the start right after open); does not wait.
    virtual void play() = 0;
    virtual bool isOpen() const = 0;
    // Whether the system has a device to play sound on; play() fails without one.
    virtual bool hasOutput() const { return true; }
    // How far playback has come, once the device has begun to play the sound; nothing before,
    // or when the device cannot tell. A video's picture starts with its sound by it.
    virtual std::optional<std::chrono::milliseconds> playedTime() const { return std::nullopt; }
};

}  // namespace brasvel
