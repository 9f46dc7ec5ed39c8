// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/WindowsWavePlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>

#include "app/AppTexts.h"
#include "base/ResourceError.h"
#include "imaging/WaveSound.h"

namespace brasvel::app {
namespace {

std::string shown(const char* text) { return appText(text).toStdString(); }

void silence() {
    ::PlaySoundW(nullptr, nullptr, 0);
}

}  // namespace

// A stream on the wave output. The device starts paused with every buffer queued; the feeding
// thread waits for the device's event (set whenever a buffer is done), fills each finished
// buffer with the stream's next samples and queues it again, until the stream ends or the output
// is closed.
class WindowsWavePlayer::StreamOutput {
public:
    explicit StreamOutput(std::unique_ptr<SoundStream> stream) : stream_(std::move(stream)) {
        const auto channels = static_cast<WORD>(stream_->channels());
        const auto rate = static_cast<DWORD>(stream_->rate());
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = channels;
        format.nSamplesPerSec = rate;
        format.wBitsPerSample = 16;
        format.nBlockAlign = static_cast<WORD>(channels * 2);
        format.nAvgBytesPerSec = rate * format.nBlockAlign;
        event_ = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (event_ == nullptr) {
            throw ResourceError::worded(shown(texts::kCannotPlay));
        }
        if (::waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(event_), 0,
                          CALLBACK_EVENT) != MMSYSERR_NOERROR) {
            ::CloseHandle(event_);
            throw ResourceError::worded(shown(texts::kCannotPlay));
        }
        ::waveOutPause(device_);
        rate_ = rate;
        // A tenth of a second a buffer.
        for (Buffer& buffer : buffers_) {
            buffer.samples.resize(std::max<std::size_t>(1, rate / 10) * channels);
        }
        try {
            feeder_ = std::thread([this] { feed(); });
        } catch (const std::system_error&) {
            ::waveOutClose(device_);
            ::CloseHandle(event_);
            throw ResourceError::worded(shown(texts::kCannotPlay));
        }
    }

    ~StreamOutput() {
        stopping_ = true;
        ::SetEvent(event_);
        feeder_.join();
        ::waveOutReset(device_);  // every queued buffer comes back done
        for (Buffer& buffer : buffers_) {
            if (buffer.prepared) {
                ::waveOutUnprepareHeader(device_, &buffer.header, sizeof(WAVEHDR));
            }
        }
        ::waveOutClose(device_);
        ::CloseHandle(event_);
    }

    StreamOutput(const StreamOutput&) = delete;
    StreamOutput& operator=(const StreamOutput&) = delete;

    void play() { ::waveOutRestart(device_); }
    void pause() { ::waveOutPause(device_); }

    std::optional<std::chrono::milliseconds> playedTime() const {
        MMTIME time{};
        time.wType = TIME_SAMPLES;
        if (::waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR ||
            time.wType != TIME_SAMPLES || time.u.sample == 0) {
            return std::nullopt;
        }
        return std::chrono::milliseconds(std::uint64_t{time.u.sample} * 1000 / rate_);
    }

private:
    struct Buffer {
        std::vector<std::int16_t> samples;
        WAVEHDR header{};
        bool prepared = false;
    };

    void feed() {
        bool ended = false;
        while (!stopping_) {
            for (Buffer& buffer : buffers_) {
                if (ended || stopping_) {
                    break;
                }
                // The device sets WHDR_DONE from its own thread: read through volatile.
                const DWORD flags = static_cast<volatile DWORD&>(buffer.header.dwFlags);
                if (buffer.prepared && (flags & WHDR_DONE) == 0) {
                    continue;  // still queued
                }
                ended = !refill(buffer);
            }
            ::WaitForSingleObject(event_, 100);
        }
    }

    // Fills `buffer` with the stream's next samples and queues it; false at the stream's end or
    // on a failure of it (the sound then ends there).
    bool refill(Buffer& buffer) {
        if (buffer.prepared) {
            ::waveOutUnprepareHeader(device_, &buffer.header, sizeof(WAVEHDR));
            buffer.prepared = false;
        }
        std::size_t count = 0;
        try {
            count = stream_->read(buffer.samples);
        } catch (const ResourceError&) {
            return false;
        }
        if (count == 0) {
            return false;
        }
        buffer.header = WAVEHDR{};
        buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
        buffer.header.dwBufferLength = static_cast<DWORD>(count * 2);
        if (::waveOutPrepareHeader(device_, &buffer.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
            return false;
        }
        buffer.prepared = true;
        return ::waveOutWrite(device_, &buffer.header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
    }

    std::unique_ptr<SoundStream> stream_;
    HWAVEOUT device_ = nullptr;
    HANDLE event_ = nullptr;
    DWORD rate_ = 1;
    std::array<Buffer, 4> buffers_;
    std::atomic<bool> stopping_{false};
    std::thread feeder_;
};

WindowsWavePlayer::~WindowsWavePlayer() {
    close();
}

void WindowsWavePlayer::openStream(std::unique_ptr<SoundStream> stream) {
    close();
    if (!stream || stream->rate() < 1 || stream->channels() < 1 || stream->channels() > 8) {
        throw ResourceError::worded(shown(texts::kCannotPlay));
    }
    if (!hasOutput()) {
        throw ResourceError::worded(shown(texts::kNoSoundDevice));
    }
    output_ = std::make_unique<StreamOutput>(std::move(stream));
}

void WindowsWavePlayer::open(Bytes wav) {
    close();
    if (!looksLikeWave(wav)) {
        throw ResourceError::worded(shown(texts::kNotAWave), shown(texts::kNotAWaveDetail));
    }
    sound_.assign(wav.begin(), wav.end());
}

void WindowsWavePlayer::close() {
    // Stopped before the sound it reads is released.
    if (!sound_.empty()) {
        silence();
    }
    sound_.clear();
    started_.reset();
    output_.reset();
}

void WindowsWavePlayer::stop() {
    requireOpen();
    if (output_) {
        output_->pause();
        return;
    }
    silence();
    started_.reset();
}

// Without a device PlaySound still answers that it plays: the devices are counted first.
bool WindowsWavePlayer::hasOutput() const {
    return ::waveOutGetNumDevs() > 0;
}

void WindowsWavePlayer::play() {
    requireOpen();
    if (!hasOutput()) {
        throw ResourceError::worded(shown(texts::kNoSoundDevice));
    }
    if (output_) {
        output_->play();
        return;
    }
    silence();
    if (!::PlaySoundW(reinterpret_cast<LPCWSTR>(sound_.data()), nullptr,
                      SND_MEMORY | SND_ASYNC | SND_NODEFAULT)) {
        throw ResourceError::worded(shown(texts::kCannotPlay));
    }
    started_ = std::chrono::steady_clock::now();
}

std::optional<std::chrono::milliseconds> WindowsWavePlayer::playedTime() const {
    if (output_) {
        return output_->playedTime();
    }
    if (!started_) {
        return std::nullopt;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - *started_);
}

void WindowsWavePlayer::requireOpen() const {
    if (!isOpen()) {
        throw ResourceError::worded(shown(texts::kNoDevice));
    }
}

}  // namespace brasvel::app
