// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A sound the wave player reads as it plays, a piece at a time, rather than a whole WAV file held
// in memory: a video's sound, decoded as it is heard.

#include <cstddef>
#include <cstdint>
#include <span>

namespace brasvel {

class SoundStream {
public:
    virtual ~SoundStream() = default;
    // Interleaved signed 16-bit samples, `channels()` a sample frame, `rate()` frames a second.
    virtual std::int32_t rate() const = 0;
    virtual std::int32_t channels() const = 0;
    // The next samples into `samples`, whole sample frames only (it holds at least one): the count
    // of samples written, 0 at the end. The player may call it on a thread of its own, never on two
    // at once. Throws ResourceError when the sound cannot be decoded.
    virtual std::size_t read(std::span<std::int16_t> samples) = 0;
};

}  // namespace brasvel
