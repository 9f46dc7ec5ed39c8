// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/PictureView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/SpriteColours.h"

namespace brasvel::app {
namespace {

constexpr std::array<double, 10> kZoomSteps = {0.25, 0.5, 1, 2, 3, 4, 6, 8, 12, 16};
constexpr int kCheckerSquare = 8;

QBrush checkerboard() {
    QPixmap tile(2 * kCheckerSquare, 2 * kCheckerSquare);
    tile.fill(QColor(0xcc, 0xcc, 0xcc));
    QPainter painter(&tile);
    painter.fillRect(0, 0, kCheckerSquare, kCheckerSquare, QColor(0x99, 0x99, 0x99));
    painter.fillRect(kCheckerSquare, kCheckerSquare, kCheckerSquare, kCheckerSquare,
                     QColor(0x99, 0x99, 0x99));
    return QBrush(tile);
}

}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

// The markers as the exported PNG shows them: one table, imaging's, for both.
QImage PictureView::withSpriteMarkers(QImage indexed) {
    if (indexed.format() != QImage::Format_Indexed8 || indexed.colorCount() < 8) {
        return indexed;
    }
    QList<QRgb> colours = indexed.colorTable();
    Palette palette{};
    for (qsizetype i = 0; i < colours.size() && i < qsizetype(palette.size()); ++i) {
        palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(qRed(colours[i])),
                                                static_cast<std::uint8_t>(qGreen(colours[i])),
                                                static_cast<std::uint8_t>(qBlue(colours[i]))};
    }
    const SpriteColours marked = spriteColours(palette, false);
    for (std::size_t i = 0; i < kSpriteMarkerCount; ++i) {
        const Colour& colour = marked.palette[i];
        colours[static_cast<qsizetype>(i)] =
            qRgba(colour.red, colour.green, colour.blue, marked.alpha[i]);
    }
    indexed.setColorTable(colours);
    return indexed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void PictureView::setPicture(const QImage& picture) {
    picture_ = picture;
    message_.clear();
    update();
}

void PictureView::setMessage(const QString& text) {
    picture_ = QImage();
    message_ = text;
    update();
}

double PictureView::scale() const {
    if (!fit_) {
        return zoom_;
    }
    if (picture_.isNull() || width() <= 0 || height() <= 0) {
        return 1.0;
    }
    const double fits = std::min(static_cast<double>(width()) / picture_.width(),
                                 static_cast<double>(height()) / picture_.height());
    // A small picture grows by whole steps so every pixel stays the same size.
    return fits >= 1.0 ? std::floor(fits) : fits;
}

void PictureView::zoomIn() {
    const double now = scale();
    const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), now + 1e-9);
    zoom_ = next == kZoomSteps.end() ? kZoomSteps.back() : *next;
    fit_ = false;
    update();
}

void PictureView::zoomOut() {
    const double now = scale();
    auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), now - 1e-9);
    zoom_ = below == kZoomSteps.begin() ? kZoomSteps.front() : *(below - 1);
    fit_ = false;
    update();
}

void PictureView::showActualSize() {
    zoom_ = 1.0;
    fit_ = false;
    update();
}

void PictureView::fitToWindow() {
    fit_ = true;
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (picture_.isNull()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         message_);
        return;
    }
    const double factor = scale();
    const QSizeF size(picture_.width() * factor, picture_.height() * factor);
    const QRectF target(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2),
                        size);
    painter.fillRect(target, checkerboard());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, picture_);
}

void PictureView::wheelEvent(QWheelEvent* event) {
    if (event->angleDelta().y() > 0) {
        zoomIn();
    } else if (event->angleDelta().y() < 0) {
        zoomOut();
    }
    event->accept();
}

void PictureView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    case Qt::Key_1:
        showActualSize();
        break;
    case Qt::Key_0:
        fitToWindow();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

}  // namespace brasvel::app
