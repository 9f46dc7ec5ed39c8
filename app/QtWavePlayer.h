// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The wave player over Qt Multimedia. The sound is written to a private temporary folder (never
// to the user's extraction folder) and played from there; the folder goes when the player does.

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "window/WavePlayer.h"

class QAudioOutput;
class QMediaPlayer;

namespace brasvel::app {

class QtWavePlayer : public WavePlayer {
public:
    QtWavePlayer();
    ~QtWavePlayer() override;

    void open(Bytes wav) override;
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
    void requireOpen() const;

    QTemporaryDir folder_;
    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
    QString file_;
    QString error_;
    int files_ = 0;
    bool open_ = false;
};

}  // namespace brasvel::app
