// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFrame>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>
#include <utility>
#include <vector>

#include "app/EntryListModel.h"
#include "app/ManyArchivesWidgets.h"
#include "app/QtToolkit.h"
#include "app/MainWindow.h"
#include "app/PictureView.h"
#include "base/ResourceError.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/CallbackEvents.h"
#include "toolkit/HeadlessToolkit.h"

using brasvel::PanelId;
using brasvel::WindowCommand;
using brasvel::WindowEvents;
using brasvel::ProgressBarId;
using brasvel::app::TForm1;
using brasvel::app::testing::RecordingToolkit;

Q_DECLARE_METATYPE(ProgressBarId)
Q_DECLARE_METATYPE(brasvel::OverwriteAnswer)

namespace {

const std::vector<brasvel::OpenFilter> kArchiveFilters = {
    {"Pliki zaosbów LOD", "*.Lod"},
    {"Pliki zasobów dźwiękowych", "*.SND"},
    {"Pliki zaosbów video Files", "*.Vid"}};

std::string_view bytesOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

class QtToolkitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TForm1> window;
    std::unique_ptr<RecordingToolkit> ui;
    brasvel::testing::CallbackEvents events;

    void fillRows(int count) {
        ui->beginListUpdate();
        for (int i = 0; i < count; ++i) {
            ui->setRowCaption(ui->appendRow(), "ROW.PCX");
        }
        ui->endListUpdate();
        ui->setListVisible(true);
    }

private slots:
    void init() {
        window = std::make_unique<TForm1>();
        ui = std::make_unique<RecordingToolkit>(*window);
        events = brasvel::testing::CallbackEvents{};
        ui->setEvents(&events);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        ui.reset();
        window.reset();
    }

    // --- A comparison's and a search's widgets ---

    void theNoteColumnShowsOnlyWhileItHasATitleAndTheFilterRaisesNothingWhenFilled() {
        fillRows(2);
        window->showListLook(brasvel::ListLook::Details);
        const int column = brasvel::app::EntryListModel::kNoteColumn;
        QVERIFY(window->DetailsView->isColumnHidden(column));
        ui->setNoteColumn("Porównanie");
        ui->setRowNote(1, "zmienione");
        QVERIFY(!window->DetailsView->isColumnHidden(column));
        QCOMPARE(window->DetailsView->header()->visualIndex(column), 1);  // after the names
        QCOMPARE(window->listModel->index(1, column).data().toString(),
                 QStringLiteral("zmienione"));
        ui->setNoteColumn("");
        QVERIFY(window->DetailsView->isColumnHidden(column));

        QVERIFY(!window->StatusFilterAction->isVisible());
        QSignalSpy chosen(window->StatusFilter, &QComboBox::currentIndexChanged);
        const std::vector<std::string> items{"wszystkie (3)", "nowe (1)"};
        ui->showStatusFilter(items);
        QVERIFY(window->StatusFilterAction->isVisible());
        QCOMPARE(window->StatusFilter->count(), 2);
        QCOMPARE(window->StatusFilter->currentText(), QStringLiteral("wszystkie (3)"));
        QCOMPARE(chosen.count(), 0);
        ui->showStatusFilter({});
        QVERIFY(!window->StatusFilterAction->isVisible());
    }

    void theSideBySidePageShowsAPictureOrATextOnEachSide() {
        QImage red(4, 3, QImage::Format_RGB888);
        red.fill(Qt::red);
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        red.save(&buffer, "BMP");
        brasvel::ComparedView old{"Stare: a.lod", {}, brasvel::PictureKind::Picture, {}};
        old.bmpFile.assign(reinterpret_cast<const std::byte*>(bmp.constData()),
                           reinterpret_cast<const std::byte*>(bmp.constData()) + bmp.size());
        brasvel::ComparedView now = old;
        now.title = "Nowe: b.lod";
        ui->showSideBySide(old, now);
        QCOMPARE(window->PreviewPages->currentWidget(), static_cast<QWidget*>(window->SideBySide));
        QCOMPARE(window->SideBySide->oldSide.title->text(), QStringLiteral("Stare: a.lod"));
        QCOMPARE(window->SideBySide->newSide.picture->picture().size(), QSize(4, 3));

        const brasvel::ComparedView oldText{
            "Stare: a.lod", {}, brasvel::PictureKind::Picture, "stary wiersz"};
        brasvel::ComparedView newText = oldText;
        newText.text = "nowy wiersz";
        ui->showSideBySide(oldText, newText);
        QCOMPARE(window->SideBySide->newSide.pages->currentWidget(),
                 static_cast<QWidget*>(window->SideBySide->newSide.text));
        QCOMPARE(window->SideBySide->newSide.text->toPlainText(), QStringLiteral("nowy wiersz"));

        brasvel::ComparedView broken = old;
        broken.bmpFile.resize(10);
        QVERIFY_THROWS_EXCEPTION(brasvel::ResourceError, ui->showSideBySide(broken, now));
    }

    // --- The list ---

    void theListStartsHiddenAndAHiddenListTakesNoFocus() {
        QVERIFY(!ui->isListVisible());
        ui->focusList();
        QVERIFY(!window->ListView1->hasFocus());
        ui->setListVisible(true);
        window->activateWindow();
        ui->focusList();
        QTRY_VERIFY(window->ListView1->hasFocus());
    }

    void allRowsOfAFullArchiveAppearAtTheEndOfOneBulkUpdate() {
        QSignalSpy resets(window->listModel, &QAbstractItemModel::modelReset);
        ui->beginListUpdate();
        ui->clearRows();
        for (int i = 0; i < 15011; ++i) {
            const int row = ui->appendRow();
            QCOMPARE(row, i);
            ui->setRowCaption(row, "NAME.DEF");
            ui->setRowImage(row, 7);
        }
        QCOMPARE(ui->rowCount(), 15011);
        QCOMPARE(window->ListView1->model()->rowCount(), 0);
        ui->endListUpdate();
        QCOMPARE(window->ListView1->model()->rowCount(), 15011);
        QCOMPARE(resets.count(), 1);
    }

    void captionsShowTheEntryBytesUpToTheirFirstNul_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Windows-1250") << QByteArray("\xA3\xF3\x64\x9F") << QStringLiteral("Łódź");
        QTest::newRow("name without a dot") << QByteArray("ABC\0\0\0.", 7) << QStringLiteral("ABC");
        QTest::newRow("name and extension")
            << QByteArray("TownView.pcx") << QStringLiteral("TownView.pcx");
    }
    void captionsShowTheEntryBytesUpToTheirFirstNul() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const int row = ui->appendRow();
        ui->setRowCaption(row, bytesOf(bytes));
        const QModelIndex index = window->ListView1->model()->index(row, 0);
        QCOMPARE(index.data(Qt::DisplayRole).toString(), shown);
    }

    void selectingAnotherRowReportsTheDeselectedRowBeforeTheSelectedOne() {
        fillRows(8);
        std::vector<std::pair<int, bool>> seen;
        events.onRowSelection = [&](int row, bool selected) { seen.emplace_back(row, selected); };
        auto* model = window->ListView1->model();
        auto* selection = window->ListView1->selectionModel();
        selection->setCurrentIndex(model->index(2, 0), QItemSelectionModel::ClearAndSelect);
        selection->setCurrentIndex(model->index(5, 0), QItemSelectionModel::ClearAndSelect);
        const std::vector<std::pair<int, bool>> expected = {{2, true}, {2, false}, {5, true}};
        QCOMPARE(seen, expected);
    }

    void aClickOnARowReportsIt() {
        fillRows(8);
        std::vector<std::pair<int, bool>> seen;
        events.onRowSelection = [&](int row, bool selected) { seen.emplace_back(row, selected); };
        const QRect rect = window->ListView1->visualRect(window->ListView1->model()->index(3, 0));
        QTest::mouseClick(window->ListView1->viewport(), Qt::LeftButton, {}, rect.center());
        const std::vector<std::pair<int, bool>> expected = {{3, true}};
        QCOMPARE(seen, expected);
    }

    void aShiftClickInTheDetailsReportsEachRowOnceAndTheRowWithTheFocus() {
        ui->setListLook(brasvel::ListLook::Details);
        fillRows(6);
        QVERIFY(window->DetailsView->isVisible());
        QVERIFY(window->ListView1->isHidden());
        std::vector<int> gained;
        std::vector<int> lost;
        int current = -2;
        events.onSelectionChange = [&](const std::vector<int>& deselected,
                                    const std::vector<int>& selected, int focused) {
            lost.insert(lost.end(), deselected.begin(), deselected.end());
            gained.insert(gained.end(), selected.begin(), selected.end());
            current = focused;
        };
        auto click = [&](int row, Qt::KeyboardModifiers keys) {
            const QRect rect = window->DetailsView->visualRect(window->listModel->index(row, 3));
            QTest::mouseClick(window->DetailsView->viewport(), Qt::LeftButton, keys,
                              rect.center());
        };
        click(1, {});
        click(3, Qt::ShiftModifier);
        QCOMPARE(gained, (std::vector<int>{1, 2, 3}));  // once per row, not per column
        QCOMPARE(current, 3);
        click(2, Qt::ControlModifier);
        QCOMPARE(lost, (std::vector<int>{2}));
        QCOMPARE(window->ListView1->selectionModel()->selectedRows().size(), 2);
    }

    void selectingRowsForTheLogicMarksWholeRowsAndRaisesNothing() {
        fillRows(6);
        int notifications = 0;
        events.onSelectionChange = [&](const std::vector<int>&, const std::vector<int>&, int) {
            ++notifications;
        };
        const int rows[] = {1, 2, 4};
        ui->selectRows(rows, 2);
        const QItemSelectionModel* selection = window->ListView1->selectionModel();
        QCOMPARE(selection->selectedRows().size(), 3);
        for (const int row : rows) {
            QVERIFY(selection->isRowSelected(row, QModelIndex()));
        }
        QCOMPARE(selection->currentIndex().row(), 2);
        ui->selectRows({}, -1);
        QVERIFY(!selection->hasSelection());
        QCOMPARE(notifications, 0);
    }

    void aHeaderClickAsksTheLogicToSortAndTheLogicsOrderRaisesNothing() {
        ui->setListLook(brasvel::ListLook::Details);
        fillRows(3);
        std::vector<std::pair<brasvel::ListColumn, bool>> asked;
        events.onSortChosen = [&](brasvel::ListColumn column, bool ascending) {
            asked.emplace_back(column, ascending);
        };
        ui->showSortOrder(brasvel::ListColumn::Offset, false);
        QHeaderView* header = window->DetailsView->header();
        QCOMPARE(header->sortIndicatorSection(), 5);
        auto clickHeader = [&](int section) {
            const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        };
        clickHeader(2);
        clickHeader(2);
        const std::vector<std::pair<brasvel::ListColumn, bool>> expected = {
            {brasvel::ListColumn::Size, true}, {brasvel::ListColumn::Size, false}};
        QCOMPARE(asked, expected);
        ui->showSortOrder(std::nullopt, true);
        QCOMPARE(header->sortIndicatorSection(), -1);
        QCOMPARE(asked.size(), std::size_t{2});
    }

    void theOverwriteQuestionOffersAnswersForAllOnlyForSeveral_data() {
        QTest::addColumn<bool>("several");
        QTest::addColumn<QString>("press");  // a button's text; empty: Escape
        QTest::addColumn<int>("buttons");
        QTest::addColumn<brasvel::OverwriteAnswer>("answer");
        using brasvel::OverwriteAnswer;
        QTest::newRow("one, replace") << false << QStringLiteral("Zastąp") << 3
                                      << OverwriteAnswer::Overwrite;
        QTest::newRow("one, skip") << false << QStringLiteral("Pomiń") << 3
                                   << OverwriteAnswer::Skip;
        QTest::newRow("several, replace all")
            << true << QStringLiteral("Zastąp wszystkie") << 5 << OverwriteAnswer::OverwriteAll;
        QTest::newRow("several, skip all")
            << true << QStringLiteral("Pomiń wszystkie") << 5 << OverwriteAnswer::SkipAll;
        QTest::newRow("escape") << true << QString() << 5 << OverwriteAnswer::Cancel;
    }
    void theOverwriteQuestionOffersAnswersForAllOnlyForSeveral() {
        QFETCH(bool, several);
        QFETCH(QString, press);
        QFETCH(int, buttons);
        QFETCH(brasvel::OverwriteAnswer, answer);
        int offered = -1;
        QString question;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            offered = static_cast<int>(box->buttons().size());
            question = box->text();
            if (press.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == press) {
                    button->click();
                }
            }
        });
        QCOMPARE(ui->askOverwrite("SUN.bmp", "/tmp/out", several), answer);
        QCOMPARE(offered, buttons);
        QVERIFY(question.contains(QStringLiteral("SUN.bmp")));
        QVERIFY(question.contains(QStringLiteral("/tmp/out")));
    }

    void clearingTheListReportsNoSelection() {
        fillRows(4);
        int notifications = 0;
        auto* selection = window->ListView1->selectionModel();
        selection->select(window->ListView1->model()->index(1, 0),
                          QItemSelectionModel::ClearAndSelect);
        events.onRowSelection = [&](int, bool) { ++notifications; };
        ui->beginListUpdate();
        ui->clearRows();
        ui->endListUpdate();
        ui->clearRows();
        QCOMPARE(notifications, 0);
    }

    void anErrorInASelectionHandlerIsReportedAndTheWindowGoesOn() {
        fillRows(4);
        events.onRowSelection = [](int, bool) {
            throw brasvel::ResourceError(brasvel::ErrorKind::FileNotFound);
        };
        window->ListView1->selectionModel()->select(window->ListView1->model()->index(1, 0),
                                                    QItemSelectionModel::ClearAndSelect);
        QCOMPARE(ui->errors.size(), std::size_t{1});
        QCOMPARE(ui->errors[0], std::string("File not found"));
        QVERIFY(!ui->busy());
    }

    // --- Status bar ---

    void theStatusPanelsStartWithTheirOwnTexts() {
        const QStringList expected = {"Brak",  "Brak", "Nazwa pliku : brak",
                                      "Ilość", "X: 0", "Y: 0"};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(window->StatusPanels[static_cast<std::size_t>(i)]->text(), expected[i]);
        }
    }

    void statusTextsAndWidthsStayAsSet() {
        ui->setStatusText(2, "File Name : /tmp/Łódź.lod");
        ui->setStatusWidth(2, 300);
        QCOMPARE(window->StatusPanels[2]->text(), QStringLiteral("File Name : /tmp/Łódź.lod"));
        QVERIFY(window->StatusPanels[2]->sizeHint().width() >= 300);
        // A narrow window shrinks the panels instead of drawing them over one another.
        window->resize(300, 300);
        window->show();
        QCoreApplication::processEvents();
        for (std::size_t i = 0; i + 1 < window->StatusPanels.size(); ++i) {
            QVERIFY(window->StatusPanels[i]->geometry().right() <
                    window->StatusPanels[i + 1]->geometry().left());
        }
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, ui->setStatusText(6, "x"));
    }

    // --- Progress bars ---

    void progressReadsBackWithinZeroToHundred_data() {
        QTest::addColumn<ProgressBarId>("bar");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("shown");
        for (const auto& [name, bar] : {std::pair{"tool bar", ProgressBarId::Toolbar},
                                        std::pair{"batch", ProgressBarId::Batch}}) {
            QTest::addRow("%s 0", name) << bar << 0 << 0;
            QTest::addRow("%s 40", name) << bar << 40 << 40;
            QTest::addRow("%s 100", name) << bar << 100 << 100;
            QTest::addRow("%s 150", name) << bar << 150 << 100;
            QTest::addRow("%s -5", name) << bar << -5 << 0;
        }
    }
    void progressReadsBackWithinZeroToHundred() {
        QFETCH(ProgressBarId, bar);
        QFETCH(int, position);
        QFETCH(int, shown);
        ui->setProgressPosition(bar, 30);
        ui->setProgressPosition(bar, position);
        QCOMPARE(ui->progressPosition(bar), shown);
    }

    // --- Type box ---

    void theTypeBoxHoldsTheThirteenTypesAndStartsOnAll() {
        QComboBox* box = window->ComboBox1;
        QCOMPARE(box->count(), 13);
        QCOMPARE(box->itemText(0), QStringLiteral("*.*"));
        QCOMPARE(box->itemText(12), QStringLiteral("*.Msg"));
        QCOMPARE(box->currentText(), QStringLiteral("*.*"));
        QVERIFY(box->isEditable());
        QCOMPARE(ui->selectedTypeIndex(), 0);
    }

    void theProgramsOwnTextRunsNoRebuild() {
        int rebuilds = 0;
        events.onTypeChosen = [&] { ++rebuilds; };
        ui->setTypeBoxText("65");
        QCOMPARE(window->ComboBox1->currentText(), QStringLiteral("65"));
        QCOMPARE(rebuilds, 0);
        QCOMPARE(ui->selectedTypeIndex(), 0);
    }

    void theUsersChoiceRunsOneRebuildWithTheChosenIndex() {
        std::vector<int> indices;
        events.onTypeChosen = [&] { indices.push_back(ui->selectedTypeIndex()); };
        QTest::keyClick(window->ComboBox1, Qt::Key_Down);
        QCOMPARE(indices, std::vector<int>{1});
        QCOMPARE(window->ComboBox1->currentText(), QStringLiteral("*.Smk"));
    }

    void typedTextSelectsTheItemItSpellsOrNone_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("index");
        QTest::newRow("an item") << QStringLiteral("*.Def") << 6;
        QTest::newRow("no item") << QStringLiteral("xyz") << -1;
        QTest::newRow("another case") << QStringLiteral("*.DEF") << -1;
    }
    void typedTextSelectsTheItemItSpellsOrNone() {
        QFETCH(QString, typed);
        QFETCH(int, index);
        int rebuilds = 0;
        events.onTypeChosen = [&] { ++rebuilds; };
        QLineEdit* edit = window->ComboBox1->lineEdit();
        edit->selectAll();
        edit->setCompleter(nullptr);
        QTest::keyClicks(edit, typed);
        QCOMPARE(rebuilds, typed.size());
        QCOMPARE(ui->selectedTypeIndex(), index);
    }

    // --- Panels and picture ---

    void panelsStartHiddenAndFollowTheProgram() {
        QVERIFY(!ui->isPanelVisible(PanelId::Extra));
        QVERIFY(!ui->isPanelVisible(PanelId::Preview));
        ui->setPanelVisible(PanelId::Extra, true);
        ui->setPanelVisible(PanelId::Preview, true);
        QVERIFY(ui->isPanelVisible(PanelId::Extra));
        QVERIFY(ui->isPanelVisible(PanelId::Preview));
        ui->setPanelHint(PanelId::Preview, bytesOf(QByteArray("\xA3\xF3\x64\x9F\0X", 6)));
        QCOMPARE(window->Panel1->toolTip(), QStringLiteral("Łódź"));
    }

    void thePreviewPanelReportsItsNewSize() {
        std::vector<std::pair<int, int>> sizes;
        events.onPreviewResize = [&](int width, int height) { sizes.emplace_back(width, height); };
        ui->setPanelVisible(PanelId::Preview, true);
        window->Panel1->setFloating(true);
        window->Panel1->resize(300, 220);
        QTRY_VERIFY(!sizes.empty());
        QCOMPARE(sizes.back(), std::make_pair(window->Panel1->width(), window->Panel1->height()));
    }

    void aBmpFileBecomesThePicture() {
        QImage picture(7, 5, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QByteArray file;
        QBuffer buffer(&file);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(picture.save(&buffer, "BMP"));
        ui->showPicture(std::as_bytes(std::span(file.constData(), file.size())),
                        brasvel::PictureKind::Picture);
        QCOMPARE(window->Image->picture().size(), QSize(7, 5));
        QVERIFY(window->Image->fitting());
        ui->showPreviewMessage("Nie wybrano pliku.");
        QVERIFY(window->Image->picture().isNull());
        QCOMPARE(window->Image->message(), QStringLiteral("Nie wybrano pliku."));
    }

    void bytesThatAreNoBmpFileAreAnError() {
        const QByteArray junk("BMnot a picture");
        QVERIFY_THROWS_EXCEPTION(
            brasvel::ResourceError,
            ui->showPicture(std::as_bytes(std::span(junk.constData(), junk.size())), brasvel::PictureKind::Picture));
    }

    // --- Frame scroll bar ---

    void theFrameScrollBarStartsHiddenAtOneOfOne() {
        QVERIFY(!ui->isFrameScrollVisible());
        QCOMPARE(window->scb->minimum(), 1);
        QCOMPARE(ui->frameScrollMaximum(), 1);
        QCOMPARE(ui->frameScrollPosition(), 1);
    }

    void loweringTheMaximumBelowThePositionMovesItAndNotifiesOnce() {
        int changes = 0;
        events.onFrameScrollChange = [&] { ++changes; };
        ui->setFrameScrollMaximum(5);
        ui->setFrameScrollPosition(4);
        QCOMPARE(changes, 1);
        ui->setFrameScrollMaximum(2);
        QCOMPARE(changes, 2);
        QCOMPARE(ui->frameScrollPosition(), 2);
        QCOMPARE(ui->frameScrollMaximum(), 2);
    }

    void settingTheSamePositionNotifiesNothing() {
        int changes = 0;
        events.onFrameScrollChange = [&] { ++changes; };
        ui->setFrameScrollMaximum(3);
        ui->setFrameScrollPosition(1);
        ui->setFrameScrollMaximum(1);
        QCOMPARE(changes, 0);
    }

    void aMaximumBelowTheMinimumReadsBackAsSetAndKeepsTheMinimum() {
        ui->setFrameScrollMaximum(0);
        QCOMPARE(ui->frameScrollMaximum(), 0);
        QCOMPARE(window->scb->minimum(), 1);
        QCOMPARE(ui->frameScrollPosition(), 1);
    }

    void theUsersStepsAreReportedOneByOne() {
        std::vector<int> positions;
        events.onFrameScrollChange = [&] { positions.push_back(ui->frameScrollPosition()); };
        ui->setFrameScrollMaximum(4);
        ui->setFrameScrollVisible(true);
        ui->setPanelVisible(PanelId::Preview, true);
        // The arrows, the trough and the thumb all move the scroll bar through its actions.
        window->scb->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        window->scb->triggerAction(QAbstractSlider::SliderPageStepAdd);
        window->scb->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(positions, (std::vector<int>{2, 3, 4}));
    }

    void aChangeHandlerMayChangeTheScrollBarAgain() {
        std::vector<int> positions;
        events.onFrameScrollChange = [&] {
            positions.push_back(ui->frameScrollPosition());
            if (ui->frameScrollPosition() == 4) {
                ui->setFrameScrollMaximum(2);  // as a frame pass that finds fewer frames does
            }
        };
        ui->setFrameScrollMaximum(6);
        ui->setFrameScrollPosition(4);
        QCOMPARE(positions, (std::vector<int>{4, 2}));
        QCOMPARE(ui->frameScrollPosition(), 2);
    }

    void anErrorOfTheChangeHandlerEndsTheHandlerThatMovedTheScrollBar() {
        ui->setFrameScrollMaximum(5);
        ui->setFrameScrollPosition(3);
        events.onFrameScrollChange = [] {
            throw brasvel::ResourceError(brasvel::ErrorKind::FileNotFound);
        };
        QVERIFY_THROWS_EXCEPTION(brasvel::ResourceError, ui->setFrameScrollMaximum(1));
        QCOMPARE(ui->frameScrollPosition(), 1);
        QVERIFY(ui->errors.empty());
        // The scroll bar is consistent again: the next change goes through.
        int changes = 0;
        events.onFrameScrollChange = [&] { ++changes; };
        ui->setFrameScrollMaximum(2);
        ui->setFrameScrollPosition(2);
        QCOMPARE(changes, 1);
    }

    void anErrorOfANestedNotificationReachesTheHandlerThatMadeTheNestedChange() {
        std::vector<std::string> caught;
        events.onFrameScrollChange = [&] {
            if (ui->frameScrollPosition() == 4) {
                try {
                    ui->setFrameScrollMaximum(2);
                } catch (const brasvel::ResourceError& error) {
                    caught.push_back(error.text());
                }
                return;
            }
            throw brasvel::ResourceError(brasvel::ErrorKind::ReadBeyondEnd);
        };
        ui->setFrameScrollMaximum(6);
        ui->setFrameScrollPosition(4);
        QCOMPARE(caught, std::vector<std::string>{"Read beyond end of file"});
        QCOMPARE(ui->frameScrollPosition(), 2);
    }

    void anErrorOfTheChangeHandlerOnTheUsersMoveIsReported() {
        ui->setFrameScrollMaximum(3);
        ui->setFrameScrollVisible(true);
        ui->setPanelVisible(PanelId::Preview, true);
        events.onFrameScrollChange = [] {
            throw brasvel::ResourceError(brasvel::ErrorKind::ReadBeyondEnd);
        };
        window->scb->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(ui->errors, std::vector<std::string>{"Read beyond end of file"});
    }

    // The scroll bar behaves as the headless toolkit does, step by step: position, maximum and
    // the number of change notifications.
    void theFrameScrollBarMatchesTheHeadlessToolkit_data() {
        QTest::addColumn<QString>("steps");  // "x5" maximum 5, "n2" minimum 2, "p3" position 3
        QTest::newRow("reset after a high frame") << "x8 p6 x1 p1";
        QTest::newRow("maximum below minimum") << "x0 p5 x3 p3 p9";
        QTest::newRow("minimum above position") << "x9 p2 n4 n1 p1";
        QTest::newRow("same position twice") << "x4 p4 p4 x4 p0";
    }
    void theFrameScrollBarMatchesTheHeadlessToolkit() {
        QFETCH(QString, steps);
        brasvel::HeadlessToolkit headless;
        int qtChanges = 0;
        int headlessChanges = 0;
        events.onFrameScrollChange = [&] { ++qtChanges; };
        brasvel::testing::CallbackEvents headlessEvents;
        headlessEvents.onFrameScrollChange = [&] { ++headlessChanges; };
        headless.setEvents(&headlessEvents);
        for (const QString& step : steps.split(' ')) {
            const int value = step.mid(1).toInt();
            if (step[0] == 'n') {
                // Not the logic's: both toolkits keep it for their own use.
                ui->setFrameScrollMinimum(value);
                headless.setFrameScrollMinimum(value);
            } else {
                for (brasvel::FrameRowWidgets* row :
                     {static_cast<brasvel::FrameRowWidgets*>(ui.get()),
                      static_cast<brasvel::FrameRowWidgets*>(&headless)}) {
                    step[0] == 'x' ? row->setFrameScrollMaximum(value)
                                   : row->setFrameScrollPosition(value);
                }
            }
            QCOMPARE(ui->frameScrollPosition(), headless.frameScrollPosition());
            QCOMPARE(ui->frameScrollMaximum(), headless.frameScrollMaximum());
            QCOMPARE(qtChanges, headlessChanges);
        }
    }

    // --- Handlers and dialogs ---

    void anEventReachesTheEventsSetAndAnEscapingErrorIsShown() {
        std::vector<WindowCommand> chosen;
        events.onCommand = [&](WindowCommand command) {
            chosen.push_back(command);
            throw std::runtime_error("boom");
        };
        ui->send([](WindowEvents& to) { to.commandChosen(WindowCommand::Help); });
        ui->setEvents(nullptr);
        ui->send([](WindowEvents& to) { to.commandChosen(WindowCommand::About); });
        QCOMPARE(chosen, std::vector<WindowCommand>{WindowCommand::Help});
        QCOMPARE(ui->errors, std::vector<std::string>{"boom"});
        QVERIFY(!ui->busy());
    }

    // --- Editing ---

    void aChangedRowIsDrawnApartUntilItIsSavedAgain() {
        fillRows(2);
        ui->setRowChanged(1, true);
        const QModelIndex changed = window->listModel->index(1);
        QVERIFY(changed.data(brasvel::app::EntryListModel::ChangedRole).toBool());
        QVERIFY(changed.data(Qt::FontRole).value<QFont>().italic());
        QVERIFY(changed.data(Qt::ForegroundRole).isValid());
        QVERIFY(!window->listModel->index(0).data(Qt::FontRole).isValid());
        ui->setRowChanged(1, false);
        QVERIFY(!changed.data(Qt::FontRole).isValid());
    }

    // The extract command names how many it writes; its tool bar button too, without the key.
    void theExtractCommandTakesTheLogicsTextForSeveralRows() {
        ui->setCommandState({.extractItemText = "Wy&pakuj zaznaczone pliki (3)..."});
        QCOMPARE(window->SaveSingleFile1->text(), QStringLiteral("Wy&pakuj zaznaczone pliki (3)..."));
        QCOMPARE(window->ToolButton2->toolTip(), QStringLiteral("Wypakuj zaznaczone pliki (3)..."));
        ui->setCommandState({});
        QCOMPARE(window->SaveSingleFile1->text(), QStringLiteral("Wypakuj &pojedynczy plik..."));
        QCOMPARE(window->ToolButton2->toolTip(), QStringLiteral("Wypakuj pojedynczy plik"));
    }

    void editCommandsFollowTheState() {
        QVERIFY(!window->SaveArchive1->isEnabled());
        ui->setCommandState({.edit = {.archiveEditable = true, .entrySelected = true,
                                    .changed = false, .archiveOpen = true,
                                    .undoText = "Cofnij", .redoText = "Ponów"}});
        QVERIFY(window->AddFiles1->isEnabled());
        QVERIFY(window->RenameEntry1->isEnabled());
        QVERIFY(!window->SaveArchive1->isEnabled());
        QVERIFY(!window->RevertChanges1->isEnabled());
        QVERIFY(window->SaveArchiveAs1->isEnabled());
        ui->setCommandState({.edit = {.archiveEditable = true, .entrySelected = false,
                                    .changed = true, .archiveOpen = true,
                                    .undoText = "Cofnij", .redoText = "Ponów"}});
        QVERIFY(!window->RemoveEntry1->isEnabled());
        QVERIFY(window->SaveArchive1->isEnabled());
        QVERIFY(window->RevertChanges1->isEnabled());
        QVERIFY(!window->UndoEdit1->isEnabled());
        ui->setCommandState({.edit = {.canUndo = true, .undoText = "Cofnij: usuń B&B.TXT",
                                    .redoText = "Ponów"}});
        QVERIFY(window->UndoEdit1->isEnabled());
        // The first letter is the access key; a name's '&' shows as written.
        QCOMPARE(window->UndoEdit1->text(), QStringLiteral("&Cofnij: usuń B&&B.TXT"));
        QVERIFY(!window->RedoEdit1->isEnabled());
        QCOMPARE(window->RedoEdit1->text(), QStringLiteral("&Ponów"));
        // Ctrl+Z stays the preview's.
        QCOMPARE(window->UndoEdit1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));
        QCOMPARE(window->RedoEdit1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    }

    // The reason shows as the name is typed, and OK is usable only without one.
    void theNameDialogShowsTheReasonAtOnce() {
        std::optional<std::string> result;
        QTimer::singleShot(0, [&] {
            auto* dialog = window->findChild<QDialog*>(QStringLiteral("NameDialog"));
            QVERIFY(dialog != nullptr);
            auto* edit = dialog->findChild<QLineEdit*>();
            auto* reason = dialog->findChild<QLabel*>(QStringLiteral("NameRefusal"));
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            QAbstractButton* ok = nullptr;
            for (QAbstractButton* button : buttons->buttons()) {
                if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
                    ok = button;
                }
            }
            QVERIFY(ok != nullptr);
            QCOMPARE(reason->text(), QString());
            QVERIFY(ok->isEnabled());
            edit->setText(QStringLiteral("ABCDEFGHIJKLM"));
            QCOMPARE(reason->text(), QStringLiteral("za długa"));
            QVERIFY(!ok->isEnabled());
            edit->setText(QStringLiteral("NEW.TXT"));
            QVERIFY(ok->isEnabled());
            ok->click();
        });
        result = ui->askName("Zmień nazwę", "Nowa nazwa:", "OLD.TXT",
                             [](const std::string& name) -> std::optional<std::string> {
                                 if (name.size() > 12) {
                                     return std::string("za długa");
                                 }
                                 return std::nullopt;
                             });
        QCOMPARE(result, std::optional<std::string>("NEW.TXT"));
    }

    // The list put in order: Up and Down move the chosen item, past neither end; Cancel gives
    // nothing.
    void theArrangeDialogMovesTheChosenItem() {
        const std::vector<std::string> items{"a.lod", "b.lod", "c.snd"};
        const auto press = [&](std::vector<int> moves, bool accept) {
            QTimer::singleShot(0, [&, moves, accept] {
                auto* dialog = window->findChild<QDialog*>(QStringLiteral("ArrangeDialog"));
                QVERIFY(dialog != nullptr);
                auto* list = dialog->findChild<QListWidget*>(QStringLiteral("ArrangeList"));
                QPushButton* up = nullptr;
                QPushButton* down = nullptr;
                for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                    if (button->text() == QStringLiteral("W &górę")) {
                        up = button;
                    } else if (button->text() == QStringLiteral("W &dół")) {
                        down = button;
                    }
                }
                QVERIFY(list != nullptr && up != nullptr && down != nullptr);
                list->setCurrentRow(2);
                for (const int move : moves) {
                    (move < 0 ? up : down)->click();
                }
                if (accept) {
                    dialog->accept();
                } else {
                    dialog->reject();
                }
            });
        };
        press({-1, -1, -1, +1}, true);  // c.snd to the top, past it, then one down
        QCOMPARE(ui->arrangeList("Kolejność", "", items),
                 std::optional<std::vector<std::size_t>>(std::vector<std::size_t>{0, 2, 1}));
        press({+1}, false);
        QCOMPARE(ui->arrangeList("Kolejność", "", items), std::nullopt);
    }

    // The work runs on another thread while the window's thread goes on; its error reaches the
    // caller, and Cancel reaches the work.
    void backgroundWorkRunsOffTheWindowsThreadAndReportsItsEnd() {
        brasvel::BackgroundTask task;
        std::thread::id workedOn;
        std::atomic<int> ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(5);
        // The work waits for the window's thread to tick, however loaded the machine is; a
        // window's thread blocked by the work would never tick, and the deadline ends the wait.
        ui->runInBackground("Zapisywanie", task, [&] {
            workedOn = std::this_thread::get_id();
            task.total = 10;
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            for (int k = 0; k < 10; ++k) {
                while (ticks < (k + 1) / 2 && std::chrono::steady_clock::now() < deadline) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                }
                task.done = k + 1;
            }
        });
        QVERIFY(workedOn != std::this_thread::get_id());
        QVERIFY2(ticks >= 5, "the window's thread kept running");

        QVERIFY_THROWS_EXCEPTION(brasvel::ResourceError,
                                 ui->runInBackground("Zapisywanie", task, [] {
                                     throw brasvel::ResourceError(brasvel::ErrorKind::DiskFull);
                                 }));

        brasvel::BackgroundTask cancelled;
        QTimer::singleShot(30, [&] {
            auto* dialog = window->findChild<QProgressDialog*>(QStringLiteral("BackgroundProgress"));
            QVERIFY(dialog != nullptr);
            dialog->findChild<QPushButton*>()->click();  // its only button: Anuluj
        });
        ui->runInBackground("Zapisywanie", cancelled, [&] {
            while (!cancelled.cancel) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        QVERIFY(cancelled.cancel);
    }

    // While a job shows itself in the batch panel, handlers do not run and typing goes nowhere;
    // the panel's Cancel button, or Escape anywhere, reaches the work at once.
    void duringABatchPanelJobOnlyCancelTakesInput() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (const bool byEscape : {false, true}) {
            ui->setPanelVisible(PanelId::Extra, true);
            brasvel::BackgroundTask task;
            bool handlerRan = false;
            bool pressed = false;
            const auto pressKeysAndCancel = [&] {
                if (pressed) {
                    return;
                }
                pressed = true;
                ui->run([&] { handlerRan = true; });
                // Input as the system gives it: to the window, which hands it on.
                QWindow* screen = window->windowHandle();
                window->SearchBox->setFocus();
                for (const Qt::Key key : {Qt::Key_A, Qt::Key_B, Qt::Key_C}) {
                    QTest::keyClick(screen, key);
                }
                QTest::keyClick(screen, Qt::Key_O, Qt::ControlModifier);  // "Otwórz"
                if (byEscape) {
                    QTest::keyClick(screen, Qt::Key_Escape);
                } else {
                    const QWidget* button = window->CancelBatch;
                    QTest::mouseClick(screen, Qt::LeftButton, {},
                                      button->mapTo(window.get(), button->rect().center()));
                }
            };
            QElapsedTimer waited;
            waited.start();
            ui->runJob(brasvel::Job{brasvel::JobDisplay::BatchPanel, {},
                                    [&] {
                                        while (task.goOn() && waited.elapsed() < 5000) {
                                            std::this_thread::sleep_for(
                                                std::chrono::milliseconds(1));
                                        }
                                    },
                                    pressKeysAndCancel},
                       task);
            ui->setPanelVisible(PanelId::Extra, false);
            QVERIFY(task.cancel);
            QVERIFY2(waited.elapsed() < 5000, "Cancel did not reach the work");
            QVERIFY(!handlerRan);
            QCOMPARE(window->SearchBox->text(), QString());
            QVERIFY(!ui->jobRunning());
            bool ranAfter = false;
            ui->run([&] { ranAfter = true; });
            QVERIFY2(ranAfter, "handlers run again once the job has ended");
        }
    }

    void theOpenDialogNamesEachFilterWithItsPattern() {
        QCOMPARE(RecordingToolkit::nameFilters(kArchiveFilters),
                 (QStringList{QStringLiteral("Pliki zaosbów LOD (*.Lod)"),
                              QStringLiteral("Pliki zasobów dźwiękowych (*.SND)"),
                              QStringLiteral("Pliki zaosbów video Files (*.Vid)")}));
    }

    void theOpenDialogShowsArchivesWhateverTheCaseOfTheirNames_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        const QStringList filters = RecordingToolkit::nameFilters(kArchiveFilters);
        QTest::newRow("LOD") << filters[0] << QStringList{"Mixed.Lod", "UPPER.LOD", "demo.lod"};
        QTest::newRow("SND") << filters[1] << QStringList{"sounds.snd"};
        QTest::newRow("VID") << filters[2] << QStringList{"VIDEO.VID"};
    }
    void theOpenDialogShowsArchivesWhateverTheCaseOfTheirNames() {
#ifdef _WIN32
        QSKIP("Windows shows the system's dialog, which matches names in any case itself");
#endif
        QFETCH(QString, filter);
        QFETCH(QStringList, shown);
        QTemporaryDir folder;
        for (const char* name :
             {"demo.lod", "UPPER.LOD", "Mixed.Lod", "sounds.snd", "VIDEO.VID", "notes.txt"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFileDialog dialog;
        RecordingToolkit::prepareOpenDialog(dialog, folder.path(), kArchiveFilters);
        dialog.selectNameFilter(filter);
        auto* files = dialog.findChild<QFileSystemModel*>();
        QVERIFY(files != nullptr);
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        QVERIFY(list != nullptr);
        QStringList names;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                names.clear();
                const QModelIndex root = list->rootIndex();
                for (int row = 0; row < list->model()->rowCount(root); ++row) {
                    names << list->model()->index(row, 0, root).data().toString();
                }
                names.sort();
                return names == shown;
            }(),
            5000);
    }
};

QTEST_MAIN(QtToolkitTest)
#include "QtToolkitTest.moc"
