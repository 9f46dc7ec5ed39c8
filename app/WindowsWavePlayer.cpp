// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/WindowsWavePlayer.h"

#include <windows.h>
#include <mmsystem.h>


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

WindowsWavePlayer::~WindowsWavePlayer() {
    close();
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
}

void WindowsWavePlayer::stop() {
    requireOpen();
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
    silence();
    if (!::PlaySoundW(reinterpret_cast<LPCWSTR>(sound_.data()), nullptr,
                      SND_MEMORY | SND_ASYNC | SND_NODEFAULT)) {
        throw ResourceError::worded(shown(texts::kCannotPlay));
    }
    started_ = std::chrono::steady_clock::now();
}

std::optional<std::chrono::milliseconds> WindowsWavePlayer::playedTime() const {
    if (!started_) {
        return std::nullopt;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - *started_);
}

void WindowsWavePlayer::requireOpen() const {
    if (sound_.empty()) {
        throw ResourceError::worded(shown(texts::kNoDevice));
    }
}

}  // namespace brasvel::app
