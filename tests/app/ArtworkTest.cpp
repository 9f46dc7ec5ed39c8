// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QImage>
#include <QTest>

#include "app/Artwork.h"

namespace app = brasvel::app;

class ArtworkTest : public QObject {
    Q_OBJECT
private slots:
    void theImageListHoldsSixteenDistinctSmallImages() {
        const auto& images = app::imageList1();
        QCOMPARE(images.size(), 16);
        for (int i = 0; i < images.size(); ++i) {
            QCOMPARE(images[i].size(), QSize(16, 16));
            const QImage image = images[i].toImage();
            int painted = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
                }
            }
            QVERIFY2(painted > 40, qPrintable(QStringLiteral("image %1 is almost empty").arg(i)));
            for (int j = 0; j < i; ++j) {
                QVERIFY2(images[j].toImage() != image,
                         qPrintable(QStringLiteral("images %1 and %2 are alike").arg(j).arg(i)));
            }
        }
    }

    void anImageOutsideTheListShowsImageZero() {
        const QImage zero = app::listIcon(0).pixmap(16, 16).toImage();
        QCOMPARE(app::listIcon(16).pixmap(16, 16).toImage(), zero);
        QCOMPARE(app::listIcon(-1).pixmap(16, 16).toImage(), zero);
    }

    // The same painting makes the window's icon and the installed ones, at every size.
    void theProgramIconIsPaintedAtEverySize() {
        const QList<QSize> iconSizes = app::programIcon().availableSizes();
        for (const int size : app::kProgramIconSizes) {
            const QImage image = app::programIconImage(size);
            QCOMPARE(image.size(), QSize(size, size));
            QVERIFY2(qAlpha(image.pixel(0, 0)) < 64, qPrintable(QString::number(size)));
            QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
            QVERIFY(iconSizes.contains(QSize(size, size)));
        }
        // Scaled, not cropped: the chest's golden lock sits in the middle at any size.
        const QImage small = app::programIconImage(32);
        const QImage large = app::programIconImage(256);
        QCOMPARE(QColor(small.pixel(15, 19)).name(), QColor(250, 220, 90).name());
        QCOMPARE(QColor(large.pixel(120, 156)).name(), QColor(250, 220, 90).name());
    }

    void theWindowIconAndAboutPictureHaveTheirSizes() {
        QVERIFY(app::programIcon().availableSizes().contains(QSize(64, 64)));
        QCOMPARE(app::aboutPicture().size(), QSize(250, 332));
    }
};

QTEST_MAIN(ArtworkTest)
#include "ArtworkTest.moc"
