// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/QtWavePlayer.h"

#include <QAudioOutput>
#include <QFile>
#include <QMediaPlayer>
#include <QUrl>

#include "app/AppTexts.h"
#include "base/ResourceError.h"
#include "imaging/WaveSound.h"
#include <QAudioDevice>
#include <QMediaDevices>

namespace brasvel::app {
namespace {

std::string shown(const char* text) { return appText(text).toStdString(); }

}  // namespace

QtWavePlayer::QtWavePlayer()
    : output_(std::make_unique<QAudioOutput>()), player_(std::make_unique<QMediaPlayer>()) {
    player_->setAudioOutput(output_.get());
    QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, player_.get(),
                     [this](QMediaPlayer::Error, const QString& text) {
                         error_ = text;
                         if (onError) {
                             onError(text);
                         }
                     });
}

QtWavePlayer::~QtWavePlayer() {
    close();
}

void QtWavePlayer::open(Bytes wav) {
    close();
    if (!looksLikeWave(wav)) {
        throw ResourceError::worded(shown(texts::kNotAWave), shown(texts::kNotAWaveDetail));
    }
    if (!folder_.isValid()) {
        throw ResourceError::worded(appText(texts::kCannotCreate).arg(folder_.path()).toStdString(),
                                    folder_.errorString().toStdString());
    }
    // Each sound gets a file of its own, so the back end never plays a file being rewritten.
    const QString path = folder_.filePath(QStringLiteral("sound%1.wav").arg(++files_));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw ResourceError::worded(appText(texts::kCannotCreate).arg(path).toStdString(),
                                    file.errorString().toStdString());
    }
    const auto size = static_cast<qint64>(wav.size());
    if (file.write(reinterpret_cast<const char*>(wav.data()), size) != size || !file.flush()) {
        file.close();
        QFile::remove(path);
        throw ResourceError::worded(shown(texts::kDiskFull), file.errorString().toStdString());
    }
    file.close();
    file_ = path;
    error_.clear();
    player_->setSource(QUrl::fromLocalFile(path));
    if (player_->error() != QMediaPlayer::NoError) {
        const QString text = player_->errorString();
        close();
        throw ResourceError::worded(text.isEmpty() ? shown(texts::kCannotPlay)
                                                   : text.toStdString());
    }
    open_ = true;
}

void QtWavePlayer::close() {
    if (player_) {
        player_->stop();
        player_->setSource(QUrl());
    }
    if (!file_.isEmpty()) {
        QFile::remove(file_);
        file_.clear();
    }
    open_ = false;
}

void QtWavePlayer::stop() {
    requireOpen();
    player_->stop();
}

bool QtWavePlayer::hasOutput() const { return !QMediaDevices::audioOutputs().isEmpty(); }

void QtWavePlayer::play() {
    requireOpen();
    if (QMediaDevices::audioOutputs().isEmpty()) {
        throw ResourceError::worded(shown(texts::kNoSoundDevice));
    }
    if (!error_.isEmpty()) {
        throw ResourceError::worded(error_.toStdString());
    }
    player_->play();
}

std::optional<std::chrono::milliseconds> QtWavePlayer::playedTime() const {
    // The back end reports 0 from play() until the sound reaches the device (about 165 ms with
    // PulseAudio here), then the position.
    if (!open_ || player_->playbackState() != QMediaPlayer::PlayingState ||
        player_->position() <= 0) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(player_->position());
}

void QtWavePlayer::requireOpen() const {
    if (!open_) {
        throw ResourceError::worded(shown(texts::kNoDevice));
    }
}

}  // namespace brasvel::app
