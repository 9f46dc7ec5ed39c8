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

    void theWindowIconAndAboutPictureHaveTheirSizes() {
        QVERIFY(app::programIcon().availableSizes().contains(QSize(64, 64)));
        QCOMPARE(app::aboutPicture().size(), QSize(250, 332));
    }
};

QTEST_MAIN(ArtworkTest)
#include "ArtworkTest.moc"
