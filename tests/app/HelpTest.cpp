// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include "app/Help.h"

using brasvel::app::Thelp;

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void theWindowHasItsCaptionSizeAndThreePages() {
        Thelp help;
        QCOMPARE(help.windowTitle(), QStringLiteral("Pomoc"));
        QCOMPARE(help.size(), QSize(528, 321));
        QCOMPARE(help.minimumSize(), help.maximumSize());
        QCOMPARE(help.TabbedNotebook1->count(), 3);
        QCOMPARE(help.TabbedNotebook1->tabText(0), QStringLiteral("Ogólnie"));
        QCOMPARE(help.TabbedNotebook1->tabText(1), QStringLiteral("Resource Editor"));
        QCOMPARE(help.TabbedNotebook1->tabText(2), QStringLiteral("Historia"));
    }

    void everyShowingOpensOnTheHistoryPage() {
        {
            Thelp help;
            QCOMPARE(help.TabbedNotebook1->currentIndex(), 2);
            help.TabbedNotebook1->setCurrentIndex(0);
        }
        Thelp again;
        QCOMPARE(again.TabbedNotebook1->currentIndex(), 2);
    }

    void thePagesAreReadOnlyOnTheToolTipColour() {
        Thelp help;
        for (QPlainTextEdit* page : {help.RichEdit1, help.RichEdit2, help.RichEdit4}) {
            QVERIFY(page->isReadOnly());
            QVERIFY(!page->toPlainText().isEmpty());
            QCOMPARE(page->palette().color(QPalette::Base),
                     page->palette().color(QPalette::ToolTipBase));
        }
    }

    void theHistoryRunsFromTheFirstBetaToVersionOneSixty() {
        Thelp help;
        const QString history = help.RichEdit4->toPlainText();
        QVERIFY(history.contains(QStringLiteral("Wersja 1.0 Beta")));
        QVERIFY(history.contains(QStringLiteral("Wersja 1.60")));
        QVERIFY(history.indexOf(QStringLiteral("Wersja 1.0 Beta")) <
                history.indexOf(QStringLiteral("Wersja 1.60")));
    }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
