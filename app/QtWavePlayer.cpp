// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/QtWavePlayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QAudioSink>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>
#include <cstring>
#include <vector>

#include "app/AppTexts.h"
#include "base/ResourceError.h"
#include "imaging/WaveSound.h"

namespace brasvel::app {
namespace {

std::string shown(const char* text) { return appText(text).toStdString(); }

}  // namespace

// The stream as the sink reads it: each read decodes as much as the sink asks for. A failure of
// the stream ends the sound and is reported once.
class QtWavePlayer::StreamDevice : public QIODevice {
public:
    StreamDevice(std::unique_ptr<SoundStream> stream, std::function<void(const QString&)> failed)
        : stream_(std::move(stream)), failed_(std::move(failed)) {
        QIODevice::open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return ended_; }

protected:
    qint64 readData(char* data, qint64 size) override {
        const auto frameBytes = static_cast<qint64>(stream_->channels()) * 2;
        const qint64 wanted = size / frameBytes * frameBytes;
        if (ended_ || wanted <= 0) {
            return 0;
        }
        samples_.resize(static_cast<std::size_t>(wanted / 2));
        std::size_t count = 0;
        try {
            count = stream_->read(samples_);
        } catch (const ResourceError& error) {
            ended_ = true;
            failed_(QString::fromStdString(error.describe()));
            return -1;
        }
        if (count == 0) {
            ended_ = true;
            return 0;
        }
        std::memcpy(data, samples_.data(), count * 2);
        return static_cast<qint64>(count * 2);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::unique_ptr<SoundStream> stream_;
    std::function<void(const QString&)> failed_;
    std::vector<std::int16_t> samples_;
    bool ended_ = false;
};

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

void QtWavePlayer::openStream(std::unique_ptr<SoundStream> stream) {
    close();
    if (!stream || stream->rate() < 1 || stream->channels() < 1) {
        throw ResourceError::worded(shown(texts::kCannotPlay));
    }
    QAudioFormat format;
    format.setSampleRate(stream->rate());
    format.setChannelCount(stream->channels());
    format.setSampleFormat(QAudioFormat::Int16);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!device.isNull() && !device.isFormatSupported(format)) {
        throw ResourceError::worded(shown(texts::kCannotPlay));
    }
    error_.clear();
    // The device reports from whichever thread reads it; the report reaches the window on its own.
    streamDevice_ = std::make_unique<StreamDevice>(std::move(stream), [this](const QString& text) {
        QMetaObject::invokeMethod(
            player_.get(), [this, text] { reportError(text); }, Qt::QueuedConnection);
    });
    sink_ = std::make_unique<QAudioSink>(device, format);
    sinkStarted_ = false;
    open_ = true;
}

void QtWavePlayer::reportError(const QString& text) {
    error_ = text;
    if (onError) {
        onError(text);
    }
}

void QtWavePlayer::close() {
    if (sink_) {
        sink_->stop();
        sink_.reset();
    }
    streamDevice_.reset();
    sinkStarted_ = false;
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
    if (sink_) {
        sink_->suspend();
        return;
    }
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
    if (!sink_) {
        player_->play();
    } else if (!sinkStarted_) {
        sink_->start(streamDevice_.get());
        sinkStarted_ = true;
        if (sink_->error() == QAudio::OpenError || sink_->error() == QAudio::FatalError) {
            throw ResourceError::worded(shown(texts::kCannotPlay));
        }
    } else {
        sink_->resume();
    }
}

std::optional<std::chrono::milliseconds> QtWavePlayer::playedTime() const {
    if (sink_) {
        // PulseAudio's sink counts the time the server has played, its buffers' delay already
        // taken off (0 for about 60 ms after start here): what the picture follows.
        if (sink_->state() != QAudio::ActiveState && sink_->state() != QAudio::IdleState) {
            return std::nullopt;
        }
        const qint64 played = sink_->processedUSecs();
        if (played <= 0) {
            return std::nullopt;
        }
        return std::chrono::milliseconds(played / 1000);
    }
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
