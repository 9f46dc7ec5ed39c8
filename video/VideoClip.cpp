// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// VideoClip over the video module: the clip itself is the module's; what needs no FFmpeg (the WAV
// file, the figures' text) is done here.

#include "video/VideoClip.h"

#include "base/ResourceError.h"
#include "video/VideoDecoding.h"
#include "video/VideoModule.h"

namespace brasvel::video {

struct VideoClip::State {
    std::unique_ptr<DecodedClip> clip;
    std::string entry;
};

VideoClip VideoClip::open(Bytes content, std::string entryName, const VideoOptions& options) {
    auto state = std::make_unique<State>();
    try {
        state->clip = videoDecoding().open(content, entryName, options);
    } catch (ResourceError& error) {
        if (error.entry().empty()) {
            error.withEntry(entryName);
        }
        throw;
    }
    state->entry = std::move(entryName);
    return VideoClip(std::move(state));
}

VideoClip::VideoClip(std::unique_ptr<State> state) : state_(std::move(state)) {}
VideoClip::VideoClip(VideoClip&&) noexcept = default;
VideoClip& VideoClip::operator=(VideoClip&&) noexcept = default;
VideoClip::~VideoClip() = default;

const VideoInfo& VideoClip::info() const {
    return state_->clip->info();
}
const std::string& VideoClip::entryName() const {
    return state_->entry;
}
Picture VideoClip::frame(std::uint32_t number) {
    return state_->clip->frame(number);
}
Pcm VideoClip::sound() const {
    return state_->clip->sound();
}

ClipSound VideoClip::soundFrom(double seconds) const {
    return ClipSound(state_->clip->soundFrom(seconds));
}
std::uint64_t VideoClip::framesDecoded() const {
    return state_->clip->framesDecoded();
}

ClipSound::ClipSound(std::unique_ptr<DecodedSound> sound) : sound_(std::move(sound)) {}
ClipSound::ClipSound(ClipSound&&) noexcept = default;
ClipSound& ClipSound::operator=(ClipSound&&) noexcept = default;
ClipSound::~ClipSound() = default;

std::int32_t ClipSound::rate() const {
    return sound_->rate();
}
std::int32_t ClipSound::channels() const {
    return sound_->channels();
}
std::size_t ClipSound::read(std::span<std::int16_t> samples) {
    return sound_->read(samples);
}
bool ClipSound::atEnd() const {
    return sound_->atEnd();
}
std::int64_t ClipSound::decodedSampleFrames() const {
    return sound_->decodedSampleFrames();
}

std::vector<std::byte> wavFile(const Pcm& pcm) {
    // RIFF header, "fmt " chunk of 16 bytes (PCM, channels, rate, byte rate, block align, 16 bits),
    // then the "data" chunk.
    const auto dataSize = static_cast<std::uint32_t>(pcm.samples.size() * 2);
    const auto channels = static_cast<std::uint32_t>(pcm.channels);
    const auto rate = static_cast<std::uint32_t>(pcm.rate);
    std::vector<std::byte> out;
    out.reserve(44 + dataSize);
    auto text = [&](const char* four) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::byte>(four[i]));
        }
    };
    auto u16 = [&](std::uint32_t value) {
        out.push_back(static_cast<std::byte>(value & 0xFF));
        out.push_back(static_cast<std::byte>((value >> 8) & 0xFF));
    };
    auto u32 = [&](std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    };
    text("RIFF");
    u32(36 + dataSize);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * channels * 2);
    u16(channels * 2);
    u16(16);
    text("data");
    u32(dataSize);
    for (const std::int16_t sample : pcm.samples) {
        u16(static_cast<std::uint16_t>(sample));
    }
    return out;
}

std::ostream& operator<<(std::ostream& out, const VideoInfo& info) {
    out << info.codec << ' ' << info.width << 'x' << info.height << ' ' << info.frameRate
        << " fps, " << info.frameCount << " frames, " << info.durationSeconds << " s";
    if (info.sound) {
        out << ", sound " << info.sound->codec << ' ' << info.sound->rate << " Hz "
            << info.sound->channels << " ch";
    }
    return out;
}

bool canDecodeSmacker() {
    try {
        return videoDecoding().canDecodeSmacker();
    } catch (const ResourceError&) {
        return false;
    }
}

bool canDecodeBink() {
    try {
        return videoDecoding().canDecodeBink();
    } catch (const ResourceError&) {
        return false;
    }
}

}  // namespace brasvel::video
