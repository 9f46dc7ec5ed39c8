// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The preview's picture, drawn as it is: proportions kept, pixels sharp (nearest neighbour), fitted
// to the widget until the user picks 1:1 or a zoom step, a checkerboard behind transparent pixels.
// Without a picture it shows a message (no picture for the entry, or why it could not be shown).

#include <QImage>
#include <QString>
#include <QWidget>

namespace brasvel::app {

class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    // A sprite frame's palette indices 0-7 are markers: 0, 2, 3 and 5 become transparent, 1 and 4
    // a 25 % black shadow, 6 and 7 a 50 % one.
    static QImage withSpriteMarkers(QImage indexed);

    void setPicture(const QImage& picture);
    void setMessage(const QString& text);
    const QImage& picture() const { return picture_; }
    const QString& message() const { return message_; }

    // The scale the picture is drawn at: the largest that fits when fitting (never above 1 for a
    // picture larger than the widget, whole steps when it is smaller), else the chosen zoom.
    double scale() const;
    bool fitting() const { return fit_; }
    void zoomIn();
    void zoomOut();
    void showActualSize();
    void fitToWindow();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage picture_;
    QString message_;
    bool fit_ = true;
    double zoom_ = 1.0;
};

}  // namespace brasvel::app
