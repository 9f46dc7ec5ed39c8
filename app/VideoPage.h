// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The preview panel's video page: the clip's frame (drawn as pictures are: proportions kept,
// pixels sharp, fitted or zoomed), its figures, Play/Pause, a step back and forward, and a
// position slider with the position in words. It holds no logic: its signals go to the window's
// video handlers, and its timer ticks while the logic says the clip plays.

#include <QWidget>

class QLabel;
class QSlider;
class QTimer;
class QToolButton;

namespace brasvel::app {

class PictureView;

class VideoPage : public QWidget {
    Q_OBJECT
public:
    explicit VideoPage(QWidget* parent = nullptr);

    void showFrame(const QImage& frame);
    // The slider at `frame` of `frames`; moving it there raises no seekRequested.
    void setPosition(int frame, int frames, const QString& text);
    void setPlaying(bool playing, int tickMs);
    void setInfo(const QString& text);
    bool isPlaying() const { return playing_; }

    PictureView* frameView = nullptr;
    QToolButton* playPause = nullptr;
    QToolButton* stepBack = nullptr;
    QToolButton* stepForward = nullptr;
    QSlider* slider = nullptr;
    QLabel* position = nullptr;
    QLabel* info = nullptr;
    QTimer* timer = nullptr;

signals:
    void playPauseClicked();
    void stepClicked(int delta);
    void seekRequested(int frame);
    void ticked();

private:
    bool playing_ = false;
};

}  // namespace brasvel::app
