// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The preview panel's pages beside the picture: a palette as a grid of swatches, and bytes as
// hex rows. (Text is shown in a read-only QPlainTextEdit.)

#include <QAbstractScrollArea>
#include <QFont>
#include <QList>
#include <QRgb>
#include <QWidget>
#include <cstddef>
#include <vector>

namespace brasvel::app {

// 256 colours as a 16 × 16 grid of square swatches, with the row's first index at the left and
// the column at the top, and each swatch's index written in it when it is large enough. Pointing at
// a swatch (or clicking it) makes it the current one and tells its index; so do the arrow keys,
// Home and End once Tab has reached the grid.
class PaletteGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 16;

    explicit PaletteGrid(QWidget* parent = nullptr);
    // "Kolor 37: #0C2238 (12, 34, 56)".
    static QString swatchText(int index, QRgb colour);

    void setColours(const QList<QRgb>& colours);
    const QList<QRgb>& colours() const { return colours_; }
    // The swatch of `index`, in widget coordinates; empty when there is none.
    QRect cellRect(int index) const;
    // The index of the swatch under `point`; -1 when there is none.
    int indexAt(const QPoint& point) const;
    // The swatch last pointed at or clicked; -1 when none.
    int current() const { return current_; }

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    QFont numberFont() const;
    QSize margins() const;
    int cellSide() const;
    QPoint origin() const;
    void point(int index);

    QList<QRgb> colours_;
    int current_ = -1;
};

// Bytes as rows of sixteen: offset, hex, letters. Only the rows in sight are formatted and
// drawn, so a long dump scrolls as fast as a short one.
class HexView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit HexView(QWidget* parent = nullptr);

    void setBytes(std::vector<std::byte> bytes);
    int rowCount() const;
    // Row `row` as it is drawn.
    QString rowText(int row) const;
    // The first row in sight.
    int firstVisibleRow() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int rowHeight() const;
    void updateScrollRange();

    std::vector<std::byte> bytes_;
};

}  // namespace brasvel::app
