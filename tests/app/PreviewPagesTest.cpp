// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The preview's pages beside the picture: the palette grid, the hex rows, and the toolkit that
// switches between them and runs the sprite's playback timer.

#include <QDockWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "app/PictureView.h"
#include "app/PreviewPages.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/CallbackEvents.h"

using namespace brasvel;
using namespace brasvel::app;

class PreviewPagesTest : public QObject {
    Q_OBJECT
private slots:
    void eachSwatchIsFoundWhereItIsDrawn() {
        PaletteGrid grid;
        grid.resize(330, 200);  // cells of 12 pixels, centred
        QList<QRgb> colours;
        for (int i = 0; i < 256; ++i) {
            colours << qRgb(i, 255 - i, 7);
        }
        grid.setColours(colours);
        const QRect first = grid.cellRect(0);
        QVERIFY(first.width() >= 10 && first.width() == first.height());
        QCOMPARE(grid.cellRect(17), first.translated(first.width(), first.height()));
        QVERIFY(grid.rect().contains(grid.cellRect(255)));
        for (int index : {0, 15, 16, 37, 255}) {
            QCOMPARE(grid.indexAt(grid.cellRect(index).center()), index);
        }
        QCOMPARE(grid.indexAt(QPoint(2, 2)), -1);
        QVERIFY(grid.cellRect(256).isEmpty());

        const QImage drawn = grid.grab().toImage();
        QCOMPARE(drawn.pixel(grid.cellRect(37).topLeft() + QPoint(1, 1)), colours[37]);
    }

    void pointingAtASwatchTellsItsIndexAndValue() {
        PaletteGrid grid;
        grid.resize(320, 320);
        grid.setColours(QList<QRgb>(256, qRgb(12, 34, 56)));
        QSignalSpy current(&grid, &PaletteGrid::currentChanged);
        QTest::mouseMove(&grid, grid.cellRect(37).center());
        QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(37).center());  // no repeat
        QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(200).center());
        QCOMPARE(current.count(), 2);
        QCOMPARE(current.at(0).at(0).toInt(), 37);
        QCOMPARE(grid.current(), 200);
        QCOMPARE(PaletteGrid::swatchText(37, qRgb(12, 34, 56)),
                 QStringLiteral("Kolor 37: #0C2238 (12, 34, 56)"));
    }

    // The keyboard moves the current swatch as pointing does, and never off the grid.
    void theArrowKeysMoveTheCurrentSwatch() {
        PaletteGrid grid;
        grid.resize(320, 320);
        grid.setColours(QList<QRgb>(256, qRgb(1, 2, 3)));
        QCOMPARE(grid.focusPolicy(), Qt::StrongFocus);
        QTest::keyClick(&grid, Qt::Key_Home);
        QCOMPARE(grid.current(), 0);
        QTest::keyClick(&grid, Qt::Key_Left);  // the first swatch has none before it
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(grid.current(), 0);
        QTest::keyClick(&grid, Qt::Key_Down);
        QTest::keyClick(&grid, Qt::Key_Right);
        QCOMPARE(grid.current(), 17);
        QTest::keyClick(&grid, Qt::Key_End);
        QCOMPARE(grid.current(), 255);
        QTest::keyClick(&grid, Qt::Key_Down);  // the last row has none below it
        QTest::keyClick(&grid, Qt::Key_Right);
        QCOMPARE(grid.current(), 255);
    }

    void hexRowsCoverEveryByteAndScrollByRows() {
        HexView view;
        view.resize(400, 10 * view.fontMetrics().height() + 10);
        std::vector<std::byte> bytes(1000);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<std::byte>(i);
        }
        view.setBytes(bytes);
        QCOMPARE(view.rowCount(), 63);  // 62 full rows and one of 8 bytes
        QVERIFY(view.rowText(1).startsWith(QStringLiteral("00000010  10 11 12")));
        QVERIFY(view.rowText(62).startsWith(QStringLiteral("000003e0  e0 e1")));
        QCOMPARE(view.rowText(63), QString());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.verticalScrollBar()->maximum() >= 50);
        view.verticalScrollBar()->setValue(20);
        QCOMPARE(view.firstVisibleRow(), 20);
        view.setBytes({});
        QCOMPARE(view.rowCount(), 0);
        QCOMPARE(view.firstVisibleRow(), 0);
    }

    void theToolkitShowsOnePageAtATimeWithItsNote() {
        TForm1 window;
        app::testing::RecordingToolkit ui(window);
        window.Panel1->show();
        ui.showPreviewText("Zażółć", "Pokazano pierwsze 256 KB z 300 KB.");
        QCOMPARE(window.PreviewPages->currentWidget(), window.PreviewText);
        QVERIFY(!window.PageNote->isHidden());

        const SwatchColour colours[] = {{1, 2, 3}, {4, 5, 6}};
        ui.showPalette(colours);
        QCOMPARE(window.PreviewPages->currentWidget(), window.PalettePage);
        QCOMPARE(window.PaletteView->colours().at(1), qRgb(4, 5, 6));
        QVERIFY(window.PageNote->isHidden());

        const std::byte bytes[20] = {};
        ui.showHexView(bytes, "");
        QCOMPARE(window.PreviewPages->currentWidget(), window.HexDump);
        QCOMPARE(window.HexDump->rowCount(), 2);

        ui.showPreviewMessage("Nie wybrano pliku.");
        QCOMPARE(window.PreviewPages->currentWidget(), window.PicturePage);
        QCOMPARE(window.Image->message(), QStringLiteral("Nie wybrano pliku."));
    }

    void theFrameRowFollowsTheScrollBarAndTheTimerCallsTheLogic() {
        TForm1 window;
        app::testing::RecordingToolkit ui(window);
        brasvel::testing::CallbackEvents events;
        ui.setEvents(&events);
        int ticks = 0;
        events.onFrameTimer = [&] { ++ticks; };
        ui.setFrameScrollVisible(true);
        QVERIFY(!window.FrameRow->isHidden());
        ui.setFrameCaption("klatka 2 / 8");
        QCOMPARE(window.FrameCaption->text(), QStringLiteral("klatka 2 / 8"));

        ui.setFrameTimer(20);
        QVERIFY(window.FrameTimer->isActive());
        QCOMPARE(window.PlayFrames->text(), QStringLiteral("Zatrzymaj"));
        QTRY_VERIFY(ticks >= 2);
        ui.setFrameTimer(0);
        QVERIFY(!window.FrameTimer->isActive());
        QCOMPARE(window.PlayFrames->text(), QStringLiteral("Odtwórz"));
        ui.setFrameScrollVisible(false);
        QVERIFY(window.FrameRow->isHidden());
    }

    void theCommandsFollowTheLogic() {
        TForm1 window;
        app::testing::RecordingToolkit ui(window);
        ui.setCommandState({.savePicture = true, .exportSprite = false});
        QVERIFY(window.SavePng->isEnabled());
        QVERIFY(!window.ExportSprite->isEnabled());
        QVERIFY(window.Image->actions().contains(window.SavePng));
    }
};

QTEST_MAIN(PreviewPagesTest)
#include "PreviewPagesTest.moc"
