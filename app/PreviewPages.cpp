// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/PreviewPages.h"

#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

#include "app/AppTexts.h"
#include "window/PreviewKinds.h"

namespace brasvel::app {
namespace {

// Below this side a swatch has no room for its index; the row and column numbers around the
// grid tell it then.
constexpr int kSmallestLabelledCell = 22;

// Black or white, whichever reads better on `colour`.
QColor inkOn(QRgb colour) {
    const int light = (299 * qRed(colour) + 587 * qGreen(colour) + 114 * qBlue(colour)) / 1000;
    return light > 140 ? Qt::black : Qt::white;
}

}  // namespace

QString PaletteGrid::swatchText(int index, QRgb colour) {
    const SwatchColour swatch{static_cast<std::uint8_t>(qRed(colour)),
                              static_cast<std::uint8_t>(qGreen(colour)),
                              static_cast<std::uint8_t>(qBlue(colour))};
    return appText(texts::kSwatchText).arg(index).arg(QString::fromStdString(colourText(swatch)));
}

// --- PaletteGrid ---

PaletteGrid::PaletteGrid(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(kColumns * 6, kColumns * 6);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setToolTip(appText(texts::kPaletteHint));
}

void PaletteGrid::setColours(const QList<QRgb>& colours) {
    colours_ = colours.mid(0, kColumns * kColumns);
    current_ = -1;
    emit currentChanged(-1);
    update();
}

QFont PaletteGrid::numberFont() const {
    QFont small = font();
    if (small.pointSizeF() > 0) {
        small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.8));
    }
    return small;
}

QSize PaletteGrid::margins() const {
    // Row numbers (0 to 240) at the left, column numbers (0 to 15) at the top.
    const QFontMetrics metrics(numberFont());
    return {metrics.horizontalAdvance(QStringLiteral("240")) + 4, metrics.height() + 2};
}

int PaletteGrid::cellSide() const {
    const QSize room = size() - margins();
    return std::max(1, std::min(room.width(), room.height()) / kColumns);
}

QPoint PaletteGrid::origin() const {
    const int side = cellSide() * kColumns;
    const QSize margin = margins();
    return {margin.width() + (width() - margin.width() - side) / 2,
            margin.height() + (height() - margin.height() - side) / 2};
}

QRect PaletteGrid::cellRect(int index) const {
    if (index < 0 || index >= colours_.size()) {
        return {};
    }
    const int side = cellSide();
    return {origin() + QPoint(index % kColumns * side, index / kColumns * side), QSize(side, side)};
}

int PaletteGrid::indexAt(const QPoint& point) const {
    const QPoint inside = point - origin();
    const int side = cellSide();
    if (inside.x() < 0 || inside.y() < 0 || inside.x() >= side * kColumns ||
        inside.y() >= side * kColumns) {
        return -1;
    }
    const int index = inside.y() / side * kColumns + inside.x() / side;
    return index < colours_.size() ? index : -1;
}

void PaletteGrid::point(int index) {
    if (index >= 0 && index != current_) {
        current_ = index;
        emit currentChanged(index);
        update();
    }
}

void PaletteGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int side = cellSide();
    painter.setFont(numberFont());
    painter.setPen(palette().color(QPalette::WindowText));
    const QPoint corner = origin();
    const QSize margin = margins();
    for (int line = 0; line < kColumns; ++line) {
        painter.drawText(
            QRect(corner.x() + line * side, corner.y() - margin.height(), side, margin.height()),
            Qt::AlignCenter, QString::number(line));
        painter.drawText(
            QRect(corner.x() - margin.width(), corner.y() + line * side, margin.width() - 3, side),
            Qt::AlignRight | Qt::AlignVCenter, QString::number(line * kColumns));
    }
    for (int index = 0; index < colours_.size(); ++index) {
        const QRect cell = cellRect(index);
        painter.fillRect(cell, QColor(colours_[index]));
        if (side >= kSmallestLabelledCell) {
            painter.setPen(inkOn(colours_[index]));
            painter.drawText(cell, Qt::AlignCenter, QString::number(index));
        }
    }
    if (current_ >= 0) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(cellRect(current_).adjusted(1, 1, -1, -1));
    }
}

void PaletteGrid::mouseMoveEvent(QMouseEvent* event) {
    point(indexAt(event->position().toPoint()));
}

void PaletteGrid::mousePressEvent(QMouseEvent* event) {
    point(indexAt(event->position().toPoint()));
}

void PaletteGrid::keyPressEvent(QKeyEvent* event) {
    const int last = static_cast<int>(colours_.size()) - 1;
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
            step = -kColumns;
            break;
        case Qt::Key_Down:
            step = kColumns;
            break;
        case Qt::Key_Home:
            point(last >= 0 ? 0 : -1);
            return;
        case Qt::Key_End:
            point(last);
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    // A step past the grid's edge stays on the swatch it started from.
    const int to = current_ + step;
    if (last >= 0 && current_ >= 0 && to >= 0 && to <= last) {
        point(to);
    }
}

// Reached by the keyboard, the grid starts at the first swatch.
void PaletteGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (current_ < 0 && !colours_.isEmpty()) {
        point(0);
    }
}

bool PaletteGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = indexAt(help->pos());
        if (index >= 0) {
            QToolTip::showText(help->globalPos(), swatchText(index, colours_[index]), this,
                               cellRect(index));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

// --- HexView ---

HexView::HexView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(1);
}

void HexView::setBytes(std::vector<std::byte> bytes) {
    bytes_ = std::move(bytes);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollRange();
    viewport()->update();
}

int HexView::rowCount() const {
    return static_cast<int>(hexRowCount(bytes_.size()));
}

QString HexView::rowText(int row) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    return QString::fromStdString(hexRow(bytes_, static_cast<std::size_t>(row) * kHexRowBytes));
}

int HexView::firstVisibleRow() const {
    return verticalScrollBar()->value();
}

int HexView::rowHeight() const {
    return fontMetrics().height();
}

void HexView::updateScrollRange() {
    const int visible = std::max(1, viewport()->height() / rowHeight());
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - visible));
    verticalScrollBar()->setPageStep(visible);
    // A full row: eight digits, two blanks, 16 × 3 hex, a gap, a blank and 16 letters.
    const int rowWidth = fontMetrics().horizontalAdvance(QString(77, QLatin1Char('0'))) + 8;
    horizontalScrollBar()->setRange(0, std::max(0, rowWidth - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void HexView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void HexView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    painter.setPen(palette().color(QPalette::Text));
    const int height = rowHeight();
    const int left = 4 - horizontalScrollBar()->value();
    int y = 0;
    for (int row = firstVisibleRow(); row < rowCount() && y < viewport()->height(); ++row) {
        painter.drawText(QPoint(left, y + fontMetrics().ascent()), rowText(row));
        y += height;
    }
}

}  // namespace brasvel::app
