// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The wave player over Qt Multimedia. A WAV sound is written to a private temporary folder (never
// to the user's extraction folder) and played from there; the folder goes when the player does.
// A stream is played by an audio sink that pulls it through a QIODevice as the device needs more
// (on the thread Qt's audio back end reads on; only there is the stream read).

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "window/WavePlayer.h"

class QAudioOutput;
class QAudioSink;
class QMediaPlayer;

namespace brasvel::app {

class QtWavePlayer : public WavePlayer {
public:
    QtWavePlayer();
    ~QtWavePlayer() override;

    void open(Bytes wav) override;
    void openStream(std::unique_ptr<SoundStream> stream) override;
    void close() override;
    void stop() override;
    void play() override;
    bool isOpen() const override { return open_; }
    bool hasOutput() const override;
    std::optional<std::chrono::milliseconds> playedTime() const override;

    // The text of the last device error since the sound was opened; empty when none.
    QString lastError() const { return error_; }
    // Called with the player's text when a sound fails while it plays (after play() returned).
    std::function<void(const QString&)> onError;
    // The Qt player underneath, for watching playback reach its end.
    QMediaPlayer* mediaPlayer() const { return player_.get(); }

private:
    class StreamDevice;
    void requireOpen() const;
    void reportError(const QString& text);

    QTemporaryDir folder_;
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
    // The stream playing, if any; the sink is stopped before its device goes.
    std::unique_ptr<StreamDevice> streamDevice_;
    std::unique_ptr<QAudioSink> sink_;
    bool sinkStarted_ = false;
    QString file_;
    QString error_;
    int files_ = 0;
    bool open_ = false;
};

}  // namespace brasvel::app
