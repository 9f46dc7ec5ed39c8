// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QImage>
#include <QTest>

#include "app/PictureView.h"
#include "imaging/SpriteColours.h"

using brasvel::Colour;
using brasvel::Palette;
using brasvel::SpriteColours;
using brasvel::spriteColours;
using brasvel::app::PictureView;

class PictureViewTest : public QObject {
    Q_OBJECT
private slots:
    void aSmallPictureGrowsByWholeStepsAndALargeOneShrinksToFit_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<double>("scale");
        QTest::newRow("4x smaller") << QSize(10, 8) << QSize(45, 40) << 4.0;
        QTest::newRow("height bounds") << QSize(10, 20) << QSize(100, 50) << 2.0;
        QTest::newRow("just fits") << QSize(50, 50) << QSize(50, 70) << 1.0;
        QTest::newRow("twice too wide") << QSize(200, 10) << QSize(100, 100) << 0.5;
    }
    void aSmallPictureGrowsByWholeStepsAndALargeOneShrinksToFit() {
        QFETCH(QSize, picture);
        QFETCH(QSize, view);
        QFETCH(double, scale);
        PictureView shown;
        shown.resize(view);
        QImage image(picture, QImage::Format_RGB32);
        image.fill(Qt::blue);
        shown.setPicture(image);
        QCOMPARE(shown.scale(), scale);
    }

    void zoomStepsFrom1To1AndBackToFitting() {
        PictureView shown;
        shown.resize(100, 100);
        QImage image(10, 10, QImage::Format_RGB32);
        shown.setPicture(image);
        shown.showActualSize();
        QCOMPARE(shown.scale(), 1.0);
        shown.zoomIn();
        shown.zoomIn();
        QCOMPARE(shown.scale(), 3.0);
        shown.zoomOut();
        QCOMPARE(shown.scale(), 2.0);
        for (int i = 0; i < 20; ++i) {
            shown.zoomIn();
        }
        QCOMPARE(shown.scale(), 16.0);
        shown.fitToWindow();
        QVERIFY(shown.fitting());
        QCOMPARE(shown.scale(), 10.0);
    }

    // Pixels are drawn sharp (no smoothing) on a checkerboard where the sprite is transparent.
    void aSpriteIsDrawnSharpWithItsMarkersOnACheckerboard() {
        QImage frame(2, 1, QImage::Format_Indexed8);
        QList<QRgb> colours(256, qRgb(0, 0, 0));
        colours[9] = qRgb(255, 0, 0);
        frame.setColorTable(colours);
        frame.setPixel(0, 0, 0);  // transparent
        frame.setPixel(1, 0, 9);  // red
        const QImage marked = PictureView::withSpriteMarkers(frame);
        QCOMPARE(qAlpha(marked.pixel(0, 0)), 0);
        QCOMPARE(marked.pixel(1, 0), qRgb(255, 0, 0));

        PictureView shown;
        shown.resize(64, 32);
        shown.setPicture(marked);
        const QImage drawn = shown.grab().toImage();
        // At 32x: the red half is pure red to its edge, the other half the checkerboard's greys.
        QCOMPARE(drawn.pixel(33, 16), qRgb(255, 0, 0));
        QCOMPARE(drawn.pixel(63, 0), qRgb(255, 0, 0));
        QVERIFY(drawn.pixel(1, 1) != drawn.pixel(9, 1));
        QVERIFY(qRed(drawn.pixel(1, 1)) == qGreen(drawn.pixel(1, 1)));
    }

    void theMarkersOfASpriteFrame() {
        QImage frame(8, 1, QImage::Format_Indexed8);
        QList<QRgb> colours(256, qRgb(200, 200, 200));
        frame.setColorTable(colours);
        for (int i = 0; i < 8; ++i) {
            frame.setPixel(i, 0, static_cast<uint>(i));
        }
        // The preview shows each marker as the exported PNG does.
        const QImage marked = PictureView::withSpriteMarkers(frame);
        Palette palette{};
        palette.fill(Colour{200, 200, 200});
        const SpriteColours exported = spriteColours(palette, false);
        for (int i = 0; i < 8; ++i) {
            const auto k = static_cast<std::size_t>(i);
            QCOMPARE(qAlpha(marked.pixel(i, 0)), int(exported.alpha[k]));
        }
        QCOMPARE(qAlpha(marked.pixel(4, 0)), 128);  // the shadow's body
        QCOMPARE(qAlpha(marked.pixel(7, 0)), 64);   // the edge under the outline
    }
};

QTEST_MAIN(PictureViewTest)
#include "PictureViewTest.moc"
