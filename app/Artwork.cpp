// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <functional>

namespace brasvel::app {
namespace {

using Painter = std::function<void(QPainter&)>;

QPixmap paintPixmap(int width, int height, const Painter& paint) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return QPixmap::fromImage(image);
}

// A sheet of paper with a folded corner, the base of the document-like images.
void paper(QPainter& p, const QRectF& r, const QColor& fill = QColor(250, 250, 244)) {
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - 4, r.top());
    sheet.lineTo(r.right(), r.top() + 4);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(fill);
    p.drawPath(sheet);
    p.setBrush(QColor(200, 200, 190));
    p.drawPolygon(QPolygonF({QPointF(r.right() - 4, r.top()), QPointF(r.right() - 4, r.top() + 4),
                             QPointF(r.right(), r.top() + 4)}));
}

void downArrow(QPainter& p, qreal cx, qreal top, qreal bottom, const QColor& colour) {
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(colour);
    QPolygonF arrow({QPointF(cx - 1.5, top), QPointF(cx + 1.5, top), QPointF(cx + 1.5, bottom - 4),
                     QPointF(cx + 4, bottom - 4), QPointF(cx, bottom), QPointF(cx - 4, bottom - 4),
                     QPointF(cx - 1.5, bottom - 4)});
    p.drawPolygon(arrow);
}

void openImage(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(232, 190, 80));
    p.drawRect(QRectF(1.5, 4.5, 12, 9));
    p.drawRect(QRectF(1.5, 3.5, 5, 2));
    p.setBrush(QColor(252, 220, 120));
    p.drawPolygon(QPolygonF(
        {QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
}

void extractOneImage(QPainter& p) {
    paper(p, QRectF(2.5, 0.5, 9, 11));
    downArrow(p, 11, 6, 15.5, QColor(40, 170, 60));
}

void extractAllImage(QPainter& p) {
    paper(p, QRectF(4.5, 0.5, 8, 9));
    paper(p, QRectF(2.5, 2.5, 8, 9));
    paper(p, QRectF(0.5, 4.5, 8, 9));
    downArrow(p, 12, 5, 15.5, QColor(40, 170, 60));
}

void exitImage(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 30), 1));
    p.setBrush(QColor(160, 110, 60));
    p.drawRect(QRectF(1.5, 1.5, 8, 13));
    p.setBrush(QColor(240, 210, 90));
    p.drawEllipse(QPointF(7.5, 8.5), 0.9, 0.9);
    p.setPen(QPen(QColor(200, 30, 30), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(12, 5.5), QPointF(14.5, 8));
    p.drawLine(QPointF(12, 10.5), QPointF(14.5, 8));
}

void pcxImage(QPainter& p) {
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(120, 180, 240));
    p.drawRect(QRectF(0.5, 2.5, 15, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 210, 40));
    p.drawEllipse(QPointF(11.5, 6), 1.8, 1.8);
    p.setBrush(QColor(50, 150, 50));
    p.drawPolygon(QPolygonF(
        {QPointF(1, 13), QPointF(5.5, 7), QPointF(9, 11), QPointF(11, 9.5), QPointF(15, 13)}));
}

void wavImage(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(90, 90, 110));
    p.drawPolygon(QPolygonF({QPointF(1.5, 5.5), QPointF(4.5, 5.5), QPointF(8.5, 1.5),
                             QPointF(8.5, 14.5), QPointF(4.5, 10.5), QPointF(1.5, 10.5)}));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 110, 210), 1.3));
    p.drawArc(QRectF(6, 5, 6, 6), -60 * 16, 120 * 16);
    p.drawArc(QRectF(4, 2.5, 11, 11), -60 * 16, 120 * 16);
}

void filmStrip(QPainter& p, const QColor& frames) {
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(45, 45, 45));
    p.drawRect(QRectF(0.5, 1.5, 15, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 230));
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(1.5 + i * 4, 2.5, 2, 1.5));
        p.drawRect(QRectF(1.5 + i * 4, 12, 2, 1.5));
    }
    p.setBrush(frames);
    p.drawRect(QRectF(1.5, 5, 6, 6));
    p.drawRect(QRectF(8.5, 5, 6, 6));
}

void smkImage(QPainter& p) {
    filmStrip(p, QColor(220, 60, 50));
}

void defImage(QPainter& p) {
    // Three frames of a sprite, one behind the other.
    p.setPen(QPen(QColor(80, 40, 110), 1));
    p.setBrush(QColor(200, 170, 230));
    p.drawRect(QRectF(5.5, 0.5, 10, 10));
    p.setBrush(QColor(170, 130, 215));
    p.drawRect(QRectF(3, 3, 10, 10));
    p.setBrush(QColor(245, 235, 255));
    p.drawRect(QRectF(0.5, 5.5, 10, 10));
    p.setPen(QPen(QColor(120, 30, 150), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(120, 30, 150));
    p.drawEllipse(QPointF(5.5, 8), 1.2, 1.2);
    p.drawLine(QPointF(5.5, 9.5), QPointF(5.5, 12));
    p.drawLine(QPointF(3.5, 10.5), QPointF(7.5, 10.5));
    p.drawLine(QPointF(5.5, 12), QPointF(4, 14.5));
    p.drawLine(QPointF(5.5, 12), QPointF(7, 14.5));
}

void h3cImage(QPainter& p) {
    // A campaign map: a parchment with a route to a cross.
    p.setPen(QPen(QColor(140, 100, 40), 1));
    p.setBrush(QColor(238, 214, 160));
    p.drawRect(QRectF(0.5, 2.5, 15, 11));
    p.setPen(QPen(QColor(180, 40, 30), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    QPainterPath route;
    route.moveTo(2.5, 11.5);
    route.cubicTo(5, 4, 8, 13, 11, 6);
    p.drawPath(route);
    p.setPen(QPen(QColor(180, 40, 30), 1.4));
    p.drawLine(QPointF(11, 4), QPointF(14, 7));
    p.drawLine(QPointF(14, 4), QPointF(11, 7));
}

void mskImage(QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            p.setBrush((x + y) % 2 == 0 ? QColor(20, 20, 20) : QColor(245, 245, 245));
            p.drawRect(QRectF(x * 4, y * 4, 4, 4));
        }
    }
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
}

void txtImage(QPainter& p) {
    paper(p, QRectF(2.5, 0.5, 11, 15));
    p.setPen(QPen(QColor(60, 60, 160), 1));
    for (int i = 0; i < 5; ++i) {
        const qreal y = 4.5 + i * 2;
        p.drawLine(QPointF(4.5, y), QPointF(i == 4 ? 8.5 : 11.5, y));
    }
}

void fntImage(QPainter& p) {
    p.setPen(QPen(QColor(100, 100, 100), 1));
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(QColor(20, 20, 120), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawLine(QPointF(3, 14), QPointF(8, 2.5));
    p.drawLine(QPointF(8, 2.5), QPointF(13, 14));
    p.drawLine(QPointF(5, 10), QPointF(11, 10));
}

void palImage(QPainter& p) {
    static const std::array<QColor, 16> colours = {
        QColor(0, 0, 0),       QColor(128, 0, 0),   QColor(0, 128, 0),   QColor(128, 128, 0),
        QColor(0, 0, 128),     QColor(128, 0, 128), QColor(0, 128, 128), QColor(192, 192, 192),
        QColor(128, 128, 128), QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),
        QColor(0, 0, 255),     QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 255, 255)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 16; ++i) {
        p.setBrush(colours[static_cast<std::size_t>(i)]);
        p.drawRect(QRectF((i % 4) * 4, (i / 4) * 4, 4, 4));
    }
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
}

void bikImage(QPainter& p) {
    // A clapperboard.
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(QColor(40, 40, 60));
    p.drawRect(QRectF(0.5, 6.5, 15, 9));
    p.save();
    p.translate(0.5, 6.5);
    p.rotate(-18);
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(QRectF(0, -4, 15, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 20));
    for (int i = 0; i < 4; ++i) {
        p.drawPolygon(QPolygonF({QPointF(1 + i * 4, -4), QPointF(3 + i * 4, -4),
                                 QPointF(2 + i * 4, 0), QPointF(0 + i * 4, 0)}));
    }
    p.restore();
    p.setPen(QPen(QColor(90, 200, 255), 1));
    p.drawLine(QPointF(3, 10.5), QPointF(13, 10.5));
    p.drawLine(QPointF(3, 12.5), QPointF(10, 12.5));
}

void xmiImage(QPainter& p) {
    // Two beamed notes.
    p.setPen(QPen(QColor(20, 60, 140), 1.4));
    p.setBrush(QColor(20, 60, 140));
    p.drawEllipse(QPointF(4, 12.5), 2.4, 1.8);
    p.drawEllipse(QPointF(12, 11), 2.4, 1.8);
    p.drawLine(QPointF(6.2, 12), QPointF(6.2, 2.5));
    p.drawLine(QPointF(14.2, 10.5), QPointF(14.2, 1));
    p.setPen(QPen(QColor(20, 60, 140), 2.4));
    p.drawLine(QPointF(6.2, 3), QPointF(14.2, 1.5));
}

void msgImage(QPainter& p) {
    // A speech bubble.
    p.setPen(QPen(QColor(40, 110, 60), 1));
    p.setBrush(QColor(220, 250, 220));
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(0.5, 1.5, 15, 10), 3, 3);
    QPainterPath tail;
    tail.moveTo(4, 11);
    tail.lineTo(3, 15.5);
    tail.lineTo(8, 11);
    p.drawPath(bubble.united(tail));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 60));
    for (int i = 0; i < 3; ++i) {
        p.drawEllipse(QPointF(4.5 + i * 3.5, 6.5), 1, 1);
    }
}

// The program's icon on a 64 x 64 grid: the window's icon and the installed icons at every size.
void paintProgramIcon(QPainter& p) {
    QLinearGradient back(0, 0, 0, 64);
    back.setColorAt(0, QColor(40, 60, 120));
    back.setColorAt(1, QColor(15, 20, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 10, 10);
    // A chest of resources with a golden band and lock.
    p.setPen(QPen(QColor(70, 40, 15), 2));
    p.setBrush(QColor(150, 90, 40));
    p.drawRoundedRect(QRectF(10, 26, 44, 28), 3, 3);
    QPainterPath lid;
    lid.moveTo(10, 28);
    lid.cubicTo(10, 12, 54, 12, 54, 28);
    lid.closeSubpath();
    p.setBrush(QColor(175, 110, 50));
    p.drawPath(lid);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 190, 60));
    p.drawRect(QRectF(10, 28, 44, 5));
    p.drawRect(QRectF(18, 17, 5, 37));
    p.drawRect(QRectF(41, 17, 5, 37));
    p.setBrush(QColor(250, 220, 90));
    p.drawRoundedRect(QRectF(28, 31, 8, 10), 2, 2);
    p.setBrush(QColor(60, 40, 10));
    p.drawEllipse(QPointF(32, 35), 1.5, 1.5);
    // A green arrow: things come out of it.
    p.setPen(QPen(QColor(20, 90, 30), 1.5));
    p.setBrush(QColor(60, 200, 80));
    p.drawPolygon(QPolygonF({QPointF(46, 38), QPointF(52, 38), QPointF(52, 48), QPointF(58, 48),
                             QPointF(49, 60), QPointF(40, 48), QPointF(46, 48)}));
}

}  // namespace

const QVector<QPixmap>& imageList1() {
    static const QVector<QPixmap> images = [] {
        const std::array<Painter, kImageCount> painters = {
            openImage, extractOneImage, extractAllImage, exitImage, pcxImage, wavImage,
            smkImage,  defImage,        h3cImage,        mskImage,  txtImage, fntImage,
            palImage,  bikImage,        xmiImage,        msgImage};
        QVector<QPixmap> list;
        for (const auto& paint : painters) {
            list.push_back(paintPixmap(kImageListSize, kImageListSize, paint));
        }
        return list;
    }();
    return images;
}

QIcon listIcon(int image) {
    static const QVector<QIcon> icons = [] {
        QVector<QIcon> list;
        for (const QPixmap& pixmap : imageList1()) {
            list.push_back(QIcon(pixmap));
        }
        return list;
    }();
    if (image < 0 || image >= icons.size()) {
        image = 0;
    }
    return icons[image];
}

QImage programIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 64 x 64 grid, scaled to the size asked for.
    painter.scale(size / 64.0, size / 64.0);
    paintProgramIcon(painter);
    painter.end();
    return image;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : kProgramIconSizes) {
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    }
    return icon;
}

QIcon playIcon() {
    return QIcon(paintPixmap(16, 16, [](QPainter& p) {
        p.setPen(QPen(QColor(20, 100, 30), 1));
        p.setBrush(QColor(50, 180, 60));
        p.drawPolygon(QPolygonF({QPointF(4, 2.5), QPointF(13.5, 8), QPointF(4, 13.5)}));
    }));
}

QIcon stopIcon() {
    return QIcon(paintPixmap(16, 16, [](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.setBrush(QColor(70, 70, 90));
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
    }));
}

QIcon detailsIcon() {
    // Lines of a table under a header: the details list.
    return QIcon(paintPixmap(16, 16, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 80, 140));
        p.drawRect(QRectF(1, 2, 14, 3));
        p.setBrush(QColor(70, 70, 70));
        for (int line = 0; line < 4; ++line) {
            p.drawRect(QRectF(1, 6.5 + 2.5 * line, 4, 1.5));
            p.drawRect(QRectF(7, 6.5 + 2.5 * line, 8, 1.5));
        }
    }));
}

QPixmap aboutPicture() {
    return paintPixmap(250, 332, [](QPainter& p) {
        // A night over a keep: the sky, stars, the moon, hills and the keep's silhouette.
        QLinearGradient sky(0, 0, 0, 332);
        sky.setColorAt(0, QColor(8, 12, 45));
        sky.setColorAt(0.55, QColor(50, 40, 110));
        sky.setColorAt(0.75, QColor(150, 70, 90));
        sky.setColorAt(1, QColor(40, 20, 30));
        p.fillRect(QRect(0, 0, 250, 332), sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 230));
        const int stars[][2] = {{20, 92},  {55, 120}, {90, 100}, {130, 84}, {160, 112}, {236, 118},
                                {228, 52}, {15, 140}, {110, 96}, {150, 60}, {70, 88},   {176, 130}};
        for (const auto& star : stars) {
            p.drawEllipse(QPointF(star[0], star[1]), 1.1, 1.1);
        }
        QRadialGradient glow(QPointF(198, 84), 30);
        glow.setColorAt(0, QColor(255, 250, 210, 120));
        glow.setColorAt(1, QColor(255, 250, 210, 0));
        p.setBrush(glow);
        p.drawEllipse(QPointF(198, 84), 30, 30);
        p.setBrush(QColor(250, 245, 210));
        p.drawEllipse(QPointF(198, 84), 13, 13);
        // The land sits high, so that the text along the bottom lies on dark ground.
        p.translate(0, -50);
        p.setBrush(QColor(30, 25, 70));
        QPainterPath hills;
        hills.moveTo(0, 210);
        hills.cubicTo(60, 175, 110, 215, 160, 190);
        hills.cubicTo(200, 172, 230, 190, 250, 182);
        hills.lineTo(250, 332);
        hills.lineTo(0, 332);
        p.drawPath(hills);
        // The keep.
        p.setBrush(QColor(12, 10, 28));
        p.drawRect(QRectF(40, 160, 26, 80));
        p.drawRect(QRectF(66, 185, 60, 55));
        p.drawRect(QRectF(126, 150, 22, 90));
        for (int i = 0; i < 3; ++i) {
            p.drawRect(QRectF(40 + i * 10, 152, 6, 8));
            p.drawRect(QRectF(126 + i * 8, 142, 5, 8));
        }
        for (int i = 0; i < 6; ++i) {
            p.drawRect(QRectF(66 + i * 10, 179, 6, 6));
        }
        p.setBrush(QColor(255, 200, 80));
        p.drawRect(QRectF(50, 180, 4, 6));
        p.drawRect(QRectF(134, 170, 4, 6));
        p.drawRect(QRectF(92, 200, 5, 7));
        p.setBrush(QColor(18, 14, 36));
        QPainterPath ground;
        ground.moveTo(0, 240);
        ground.cubicTo(80, 228, 170, 250, 250, 232);
        ground.lineTo(250, 332);
        ground.lineTo(0, 332);
        p.drawPath(ground);
    });
}

}  // namespace brasvel::app
