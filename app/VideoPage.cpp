// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/VideoPage.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "app/PictureView.h"

namespace brasvel::app {
namespace {

QToolButton* controlButton(QStyle::StandardPixmap icon, const char* hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(appText(hint));
    button->setAutoRaise(false);
    return button;
}

// The position slider: a click beside the handle seeks to where it was clicked, rather than a page
// step towards it; the handle is then under the pointer, to be dragged on from there.
class PositionSlider : public QSlider {
public:
    using QSlider::QSlider;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && maximum() > minimum()) {
            QStyleOptionSlider option;
            initStyleOption(&option);
            const QRect handle =
                style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
            const QPoint at = event->position().toPoint();
            if (!handle.contains(at)) {
                const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option,
                                                             QStyle::SC_SliderGroove, this);
                const int span = std::max(1, groove.width() - handle.width());
                const int x = std::clamp(at.x() - groove.x() - handle.width() / 2, 0, span);
                setValue(QStyle::sliderValueFromPosition(minimum(), maximum(), x, span,
                                                         option.upsideDown));
            }
        }
        QSlider::mousePressEvent(event);
    }
};

}  // namespace

VideoPage::VideoPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("VideoPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    frameView = new PictureView;
    frameView->setObjectName(QStringLiteral("VideoFrame"));
    frameView->setMinimumSize(16, 16);
    layout->addWidget(frameView, 1);

    info = new QLabel;
    info->setObjectName(QStringLiteral("VideoInfo"));
    info->setWordWrap(true);
    layout->addWidget(info);

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(0, 0, 0, 0);
    stepBack = controlButton(QStyle::SP_MediaSkipBackward, texts::kVideoBackHint, this);
    playPause = controlButton(QStyle::SP_MediaPlay, texts::kVideoPlayHint, this);
    stepForward = controlButton(QStyle::SP_MediaSkipForward, texts::kVideoForwardHint, this);
    slider = new PositionSlider(Qt::Horizontal);
    slider->setObjectName(QStringLiteral("VideoSlider"));
    slider->setToolTip(appText(texts::kVideoSliderHint));
    slider->setRange(1, 1);
    // A drag seeks once, where it is let go: a seek back decodes the clip again from its start. A
    // click seeks where it is made.
    slider->setTracking(false);
    position = new QLabel;
    position->setObjectName(QStringLiteral("VideoPosition"));
    controls->addWidget(stepBack);
    controls->addWidget(playPause);
    controls->addWidget(stepForward);
    controls->addWidget(slider, 1);
    layout->addLayout(controls);
    layout->addWidget(position);

    timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);

    connect(playPause, &QToolButton::clicked, this, &VideoPage::playPauseClicked);
    connect(stepBack, &QToolButton::clicked, this, [this] { emit stepClicked(-1); });
    connect(stepForward, &QToolButton::clicked, this, [this] { emit stepClicked(1); });
    connect(slider, &QSlider::valueChanged, this, &VideoPage::seekRequested);
    connect(timer, &QTimer::timeout, this, &VideoPage::ticked);
    // Keys while the page has the focus: space plays or pauses, comma and full stop step.
    auto key = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, this, action);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    };
    key(QKeySequence(Qt::Key_Space), [this] { emit playPauseClicked(); });
    key(QKeySequence(Qt::Key_Comma), [this] { emit stepClicked(-1); });
    key(QKeySequence(Qt::Key_Period), [this] { emit stepClicked(1); });
}

void VideoPage::showFrame(const QImage& frame) { frameView->setPicture(frame); }

void VideoPage::setPosition(int frame, int frames, const QString& text) {
    const QSignalBlocker quiet(slider);
    slider->setRange(1, std::max(1, frames));
    slider->setValue(frame);
    position->setText(text);
}

void VideoPage::setPlaying(bool playing, int tickMs) {
    playing_ = playing;
    playPause->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause
                                                     : QStyle::SP_MediaPlay));
    if (playing) {
        timer->start(tickMs);
    } else {
        timer->stop();
    }
}

void VideoPage::setInfo(const QString& text) { info->setText(text); }

}  // namespace brasvel::app
