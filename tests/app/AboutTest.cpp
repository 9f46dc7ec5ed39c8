// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/About.h"

using brasvel::app::TAboutBox;

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void theBoxHasItsCaptionFixedSizeAndLabels() {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("O programie..."));
        QCOMPARE(box.size(), QSize(247, 252));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QCOMPARE(box.Label2->text(), QStringLiteral("EDYTOR"));
        QCOMPARE(box.Label3->text(), QStringLiteral("Stworzony przez "));
        QVERIFY(!box.Label1->text().isEmpty());
        QVERIFY(box.Label4->text().startsWith(QStringLiteral("Wersja 1.90")));
        QCOMPARE(box.Image1->pixmap().size(), QSize(250, 332));
    }

    void okIsTheDefaultButton() {
        TAboutBox box;
        QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
        QVERIFY(box.OKButton->isDefault());
        QCOMPARE(box.OKButton->geometry(), QRect(168, 225, 75, 25));
    }

    void enterEscapeAndOkAllCloseTheBoxWithOk_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("enter") << int(Qt::Key_Return);
        QTest::newRow("escape") << int(Qt::Key_Escape);
        QTest::newRow("button") << 0;
    }
    void enterEscapeAndOkAllCloseTheBoxWithOk() {
        QFETCH(int, key);
        TAboutBox box;
        QTimer::singleShot(0, &box, [&] {
            if (key == 0) {
                box.OKButton->click();
            } else {
                QTest::keyClick(&box, static_cast<Qt::Key>(key));
            }
        });
        QCOMPARE(box.exec(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(AboutTest)
#include "AboutTest.moc"
