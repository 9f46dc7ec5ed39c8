// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QTreeView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStackedWidget>
#include <QTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTranslator>
#include <fstream>

#include "app/EntryListModel.h"
#include "app/MainWindow.h"
#include "app/PictureView.h"
#include "app/VideoPage.h"
#include "base/ResourceError.h"
#include "tests/app/AppTestSupport.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "tools/writers/VideoWriters.h"
#include "window/MainForm.h"
#include "window/VideoPreview.h"

using brasvel::MainForm;
using brasvel::app::TForm1;
using brasvel::app::testing::FakePlayer;
using brasvel::app::testing::RecordingToolkit;

namespace {

namespace writers = brasvel::writers;

std::string palette() {
    std::string rgb;
    for (int i = 0; i < 256; ++i) {
        rgb += {char(i), char(255 - i), char(i / 2)};
    }
    return rgb;
}

// A LOD of five entries: two pictures, a sprite of three frames, a text and a palette.
std::string lodOfPictures() {
    writers::PixelGrid field(8, 5, 10);
    writers::PixelGrid sky(4, 4, 200);
    writers::DefBlock block;
    for (int frame = 0; frame < 3; ++frame) {
        writers::DefFrame each;
        each.name = "run" + std::to_string(frame) + ".pcx";
        each.sprite = writers::PixelGrid(6, 4, static_cast<std::uint8_t>(40 * (frame + 1)));
        block.frames.push_back(each);
    }
    const std::string sprite = writers::DefWriter(0x42, 6, 4, palette()).block(block).build();
    return writers::LodWriter()
        .add("FIELD.pcx", writers::gamePcx8(field, palette()), true)
        .add("SKY.PCX", writers::gamePcx8(sky, palette()))
        .add("RUNNER.def", sprite, true)
        .add("NOTES.txt", "Notatki.\n")
        .add("SKY.pal", palette())
        .build();
}

void writeArchive(const QTemporaryDir& folder, const char* name, const std::string& bytes) {
    std::ofstream(folder.filePath(QString::fromLatin1(name)).toStdString(), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A translation of a few texts of both tables, as lrelease would make it.
class TableTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                      int /*n*/) const override {
        const QString key = QString::fromUtf8(context) + '|' + QString::fromUtf8(source);
        if (key == QStringLiteral("AppTexts|&Plik")) {
            return QStringLiteral("&File");
        }
        if (key == QStringLiteral("WindowTexts|Total Files: %1")) {
            return QStringLiteral("Files: %1");
        }
        if (key == QStringLiteral("WindowTexts|Pliki zaosbów LOD")) {
            return QStringLiteral("LOD archives");
        }
        return {};
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TForm1> window;
    std::unique_ptr<RecordingToolkit> ui;
    std::unique_ptr<FakePlayer> player;
    std::unique_ptr<MainForm> form;

private slots:
    void init() {
        window = std::make_unique<TForm1>();
        ui = std::make_unique<RecordingToolkit>(*window);
        player = std::make_unique<FakePlayer>();
        form = std::make_unique<MainForm>(*ui, *player);
        window->attach(*ui);
    }
    void cleanup() {
        form.reset();
        player.reset();
        ui.reset();
        window.reset();
    }

    void theWindowHasItsCaptionSizesAndHiddenControls() {
        QCOMPARE(window->windowTitle(), QStringLiteral("Brasvel Resource Editor  Wersja 1.90 PL"));
        QCOMPARE(window->minimumSize(), QSize(650, 210));
        QVERIFY(!window->windowIcon().isNull());
        QVERIFY(window->ListView1->isHidden());
        QVERIFY(window->extra->isHidden());
        QVERIFY(window->Panel1->isHidden());
        QVERIFY(window->scb->isHidden());
        QCOMPARE(window->extra->size(), QSize(361, 73));
        QCOMPARE(window->ProgressBar3->size(), QSize(241, 25));  // beside the Cancel button
        QCOMPARE(window->ProgressBar1->size(), QSize(87, 22));
        QCOMPARE(window->Panel1->windowTitle(), QStringLiteral("Obraz"));
        QVERIFY(window->Panel1->features().testFlag(QDockWidget::DockWidgetFloatable));
        QVERIFY(!window->Panel1->features().testFlag(QDockWidget::DockWidgetClosable));
    }

    void theMenusHoldTheirItemsWithShortcuts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("open") << QStringLiteral("Otwórz plik zasobów...") << QKeySequence("F3");
        QTest::newRow("one") << QStringLiteral("Wypakuj pojedynczy plik...") << QKeySequence("F2");
        QTest::newRow("all") << QStringLiteral("Wypakuj wszystkie widoczne pliki...")
                             << QKeySequence("Ctrl+F2");
        QTest::newRow("exit") << QStringLiteral("Wyjdź z programu") << QKeySequence("F12");
        QTest::newRow("preview") << QStringLiteral("Podgląd obrazu") << QKeySequence("Ctrl+Z");
        QTest::newRow("folder") << QStringLiteral("Wybierz ścieżkę do wypakowania plików...")
                                << QKeySequence("Ctrl+F");
        QTest::newRow("help") << QStringLiteral("Ogólna pomoc") << QKeySequence();
        QTest::newRow("about") << QStringLiteral("O programie") << QKeySequence();
    }
    void theMenusHoldTheirItemsWithShortcuts() {
        QFETCH(QString, text);
        QFETCH(QKeySequence, keys);
        QAction* found = nullptr;
        for (QAction* menu : window->menuBar()->actions()) {
            for (QAction* item : menu->menu()->actions()) {
                if (QString(item->text()).remove(QLatin1Char('&')) == text) {
                    found = item;
                }
            }
        }
        QVERIFY(found != nullptr);
        QCOMPARE(found->shortcut(), keys);
    }

    void theShortcutsWorkWhileTheListHasTheFocus_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("F2") << QKeySequence("F2");
        QTest::newRow("Ctrl+F2") << QKeySequence("Ctrl+F2");
        QTest::newRow("Ctrl+Z") << QKeySequence("Ctrl+Z");
    }
    void theShortcutsWorkWhileTheListHasTheFocus() {
        QFETCH(QKeySequence, keys);
        QTemporaryDir folder;
        writeArchive(folder, "mixed.lod", lodOfPictures());
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        ui->run([&] { form->FormCreate("", folder.filePath("mixed.lod").toStdString()); });
        window->ListView1->setFocus();
        QAction* action = nullptr;
        for (QAction* each :
             {window->SaveSingleFile1, window->SaveSingleFile2, window->QuickView1}) {
            if (each->shortcut() == keys) {
                action = each;
            }
        }
        QSignalSpy triggered(action, &QAction::triggered);
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path());
        QTest::keySequence(window->ListView1, keys);
        QDir::setCurrent(before);
        QCOMPARE(triggered.count(), 1);
    }

    void theOpenDialogOffersEveryArchiveFormatInOrder() {
        window->ToolButton1->trigger();
        QCOMPARE(ui->offeredFilters,
                 (QStringList{QStringLiteral("Pliki zaosbów LOD (*.Lod)"),
                              QStringLiteral("Pliki zasobów dźwiękowych (*.SND)"),
                              QStringLiteral("Pliki zaosbów video Files (*.Vid)")}));
        QVERIFY(ui->errors.empty());
    }

    void anInstalledTranslationReachesTheWindowAndItsLogic() {
        TableTranslator translator;
        QCoreApplication::installTranslator(&translator);
        TForm1 translated;
        RecordingToolkit translatedUi(translated);
        MainForm translatedForm(translatedUi, *player);
        translated.attach(translatedUi);
        QTemporaryDir folder;
        writeArchive(folder, "mixed.lod", lodOfPictures());
        translatedUi.run(
            [&] { translatedForm.FormCreate("", folder.filePath("mixed.lod").toStdString()); });
        translated.ToolButton1->trigger();
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(translated.menuBar()->actions().first()->text(), QStringLiteral("&File"));
        QCOMPARE(translated.StatusPanels[0]->text(), QStringLiteral("Files: 5"));
        QCOMPARE(translatedUi.offeredFilters.first(), QStringLiteral("LOD archives (*.Lod)"));
        QCOMPARE(translated.Panel1->windowTitle(), QStringLiteral("Obraz"));  // not translated
    }

    void theMenuTitlesArePolish() {
        QStringList titles;
        for (QAction* menu : window->menuBar()->actions()) {
            titles << menu->text();
        }
        // Alt+P, Alt+E, Alt+O and Alt+M open them.
        QCOMPARE(titles, (QStringList{"&Plik", "&Edycja", "&Opcje", "Po&moc"}));
    }

    // Every item of every menu, the list's context menu too, has an access key of its own there.
    void everyMenuItemHasAnAccessKeyUniqueInItsMenu() {
        QList<QMenu*> menus;
        for (QAction* menu : window->menuBar()->actions()) {
            menus << menu->menu();
        }
        menus << window->findChild<QMenu*>(QStringLiteral("ListMenu"));
        for (QMenu* menu : menus) {
            QVERIFY(menu != nullptr);
            QSet<QChar> keys;
            for (QAction* item : menu->actions()) {
                if (item->isSeparator()) {
                    continue;
                }
                const QString text = item->text();
                const qsizetype mark = text.indexOf(QLatin1Char('&'));
                QVERIFY2(mark >= 0 && mark + 1 < text.size(), qPrintable(text));
                const QChar key = text.at(mark + 1).toLower();
                QVERIFY2(!keys.contains(key), qPrintable(menu->title() + ": " + text));
                keys.insert(key);
            }
        }
    }

    // The list's context menu holds the commands for the selection, in both looks.
    void bothListLooksOfferTheSelectionsCommandsOnTheRightButton() {
        QMenu* menu = window->findChild<QMenu*>(QStringLiteral("ListMenu"));
        QVERIFY(menu != nullptr);
        for (QAction* command : {window->ShowInPreview1, window->SaveSingleFile1,
                                 window->ReplaceEntry1, window->RenameEntry1, window->RemoveEntry1,
                                 window->SavePng, window->ExportSprite}) {
            QVERIFY2(menu->actions().contains(command), qPrintable(command->text()));
        }
        QCOMPARE(window->ListView1->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(window->DetailsView->contextMenuPolicy(), Qt::CustomContextMenu);
    }

    // Enter on a row shows it in the preview, which opens docked beside the list; Tab reaches
    // the frame slider and the picture.
    void enterOnARowOpensThePreviewDocked() {
        QTemporaryDir folder;
        writeArchive(folder, "mixed.lod", lodOfPictures());
        ui->run([&] { form->FormCreate("", folder.filePath("mixed.lod").toStdString()); });
        QVERIFY(window->ShowInPreview1->isEnabled());
        for (QAbstractItemView* view :
             {static_cast<QAbstractItemView*>(window->ListView1),
              static_cast<QAbstractItemView*>(window->DetailsView)}) {
            if (form->PreviewOn()) {
                form->BitBtn3Click();
            }
            if (!view->isVisible()) {
                window->DetailsToggle->trigger();
            }
            // Focused, not selected: Enter selects it too.
            view->selectionModel()->setCurrentIndex(window->listModel->index(2, 0),
                                                    QItemSelectionModel::Clear);
            QTest::keyClick(view, Qt::Key_Return);
            QCOMPARE(form->SelectedRow(), 2);
            QVERIFY(form->PreviewOn());
            QVERIFY(!window->Panel1->isHidden());
            QVERIFY(!window->Panel1->isFloating());
            QVERIFY(!window->scb->isHidden());  // the sprite's frame row
        }
        // Tab goes from the picture to the frame slider, whose arrow keys step the frames.
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->Image->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(window->Image, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window->scb);
        QTest::keyClick(window->scb, Qt::Key_Right);
        QCOMPARE(window->scb->value(), 2);
        QCOMPARE(ui->frameScrollPosition(), 2);
        QTest::keyClick(window->scb, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window->PlayFrames);
        QVERIFY(ui->errors.empty());
    }

    void everyControlHasAHint() {
        QCOMPARE(window->ToolButton1->toolTip(), QStringLiteral("Otwórz plik zasobów"));
        QCOMPARE(window->ToolButton2->toolTip(), QStringLiteral("Wypakuj pojedynczy plik"));
        QCOMPARE(window->ToolButton5->toolTip(),
                 QStringLiteral("Wypakuj wszystkie widoczne pliki"));
        QCOMPARE(window->ToolButton4->toolTip(), QStringLiteral("Wyjdź z programu"));
        QCOMPARE(window->BitBtn1->toolTip(), QStringLiteral("Podgląd Obrazu (plików pcx i def)"));
        QCOMPARE(window->ComboBox1->toolTip(), QStringLiteral("Typy zasobów"));
        QCOMPARE(window->ProgressBar1->toolTip(), QStringLiteral("Postęp"));
        QCOMPARE(window->extra->toolTip(), QStringLiteral("Panel z paskiem postępu :)"));
        QCOMPARE(window->ProgressBar3->toolTip(), QStringLiteral("Pasek postępu :)"));
    }

    void thePlayerButtonsAreUsableOnlyWhileASoundIsOpen() {
        QVERIFY(!window->PlayButton->isEnabled());
        QVERIFY(!window->StopButton->isEnabled());
        ui->setCommandState({.playerButtons = true});
        QVERIFY(window->PlayButton->isEnabled());
        QVERIFY(window->StopButton->isEnabled());
        ui->setCommandState({});
        QVERIFY(!window->PlayButton->isEnabled());
    }

    void aPlayerButtonsOwnActionFollowsOnlyWhenTheNotificationLeftASoundOpen() {
        // With no archive open the notification stops and closes the device and opens nothing,
        // so the button's own play does not follow and the buttons become unusable.
        player->opened = true;
        ui->setCommandState({.playerButtons = true});
        window->PlayButton->click();
        QCOMPARE(player->calls, std::vector<std::string>{"stop"});
        QVERIFY(!window->PlayButton->isEnabled());
        QVERIFY(ui->errors.empty());
    }

    void withASoundArchiveEachButtonActsOnTheSoundTheNotificationReopened_data() {
        QTest::addColumn<bool>("play");
        QTest::addColumn<QString>("action");
        QTest::newRow("play") << true << "play";
        QTest::newRow("stop") << false << "stop";
    }
    void withASoundArchiveEachButtonActsOnTheSoundTheNotificationReopened() {
        QFETCH(bool, play);
        QFETCH(QString, action);
        QTemporaryDir folder;
        const std::string path = folder.filePath(QStringLiteral("sounds.snd")).toStdString();
        const std::string archive =
            brasvel::writers::SndWriter().add("CHIME", "RIFF\x04\0\0\0WAVE").build();
        std::ofstream(path, std::ios::binary)
            .write(archive.data(), static_cast<std::streamsize>(archive.size()));
        ui->run([&] { form->FormCreate("", path); });
        QVERIFY(ui->errors.empty());
        QVERIFY(window->PlayButton->isEnabled());
        (play ? window->PlayButton : window->StopButton)->click();
        QCOMPARE(player->calls, (std::vector<std::string>{"stop", action.toStdString()}));
        QVERIFY(window->StopButton->isEnabled());
    }

    void aFullArchiveOf15011EntriesFillsTheList() {
        writers::LodWriter lod;
        for (int i = 0; i < 15011; ++i) {
            lod.add("E" + std::to_string(i) + ".txt", "");
        }
        QTemporaryDir folder;
        writeArchive(folder, "full.lod", lod.build());
        ui->run([&] { form->FormCreate("", folder.filePath("full.lod").toStdString()); });
        QVERIFY(ui->errors.empty());
        QCOMPARE(window->listModel->rowCount(), 15011);
        QCOMPARE(window->listModel->caption(15010), QStringLiteral("E15010.txt"));
        QVERIFY(!window->ListView1->isHidden());
        QCOMPARE(window->StatusPanels[0]->text(), QStringLiteral("Total Files: 15011"));
    }

    void theColumnsWidenForAVideosWholeNameAndNarrowAgain() {
        QTemporaryDir folder;
        writeArchive(folder, "mixed.lod", lodOfPictures());
        writeArchive(folder, "long.vid",
                     writers::VidWriter()
                         .add("INTRO.SMK", "v")
                         .add("the_intro_sequence_of_the_campaign.smk", "v")
                         .build());
        ui->run([&] { form->FormCreate("", folder.filePath("mixed.lod").toStdString()); });
        const int shortNames = window->ListView1->gridSize().width();
        ui->run([&] { form->FormCreate("", folder.filePath("long.vid").toStdString()); });
        const QFontMetrics metrics = window->ListView1->fontMetrics();
        QVERIFY(window->ListView1->gridSize().width() >=
                metrics.horizontalAdvance(QStringLiteral("the_intro_sequence_of_the_campaign.smk")));
        ui->run([&] { form->FormCreate("", folder.filePath("mixed.lod").toStdString()); });
        QCOMPARE(window->ListView1->gridSize().width(), shortNames);
        QVERIFY(ui->errors.empty());
    }

    // A click on the position slider seeks where it is made, once; one on the handle seeks nowhere.
    void aClickOnTheVideoSliderSeeksWhereItIsMade() {
        brasvel::app::VideoPage page;
        page.resize(420, 120);
        page.setPosition(1, 101, QString());
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QSignalSpy seeks(&page, &brasvel::app::VideoPage::seekRequested);
        QSlider* slider = page.slider;
        QTest::mouseClick(slider, Qt::LeftButton, {},
                          QPoint(slider->width() * 3 / 4, slider->height() / 2));
        QCOMPARE(seeks.count(), 1);
        const int frame = seeks.first().first().toInt();
        QVERIFY2(frame > 60 && frame < 90, qPrintable(QString::number(frame)));
        QCOMPARE(slider->value(), frame);
        QTest::mouseClick(slider, Qt::LeftButton, {},
                          QPoint(slider->width() * 3 / 4, slider->height() / 2));
        QCOMPARE(seeks.count(), 1);  // on the handle now: nothing to seek
    }

    void theVideoPageShowsAClipAndItsControlsReachTheLogic() {
        const writers::ClipShape shape{24, 16, 30, 30, 0, 1};  // a second, without sound
        QTemporaryDir folder;
        writeArchive(folder, "clips.vid",
                     writers::VidWriter()
                         .add("INTRO.smk", writers::losslessClip(shape))
                         .add("NOTES.txt", "no clip")
                         .build());
        brasvel::video::VideoOptions options;
        options.formats.insert(options.formats.end(), writers::kClipFormats.begin(),
                               writers::kClipFormats.end());
        options.codecs.insert(options.codecs.end(), writers::kClipCodecs.begin(),
                              writers::kClipCodecs.end());
        form->setVideoOptions(options);
        ui->run([&] { form->FormCreate("", folder.filePath("clips.vid").toStdString()); });
        window->BitBtn1->click();
        brasvel::app::VideoPage& page = *window->Video;
        QCOMPARE(window->PreviewPages->currentWidget(), &page);
        QCOMPARE(page.frameView->picture().size(), QSize(24, 16));
        QCOMPARE(page.slider->maximum(), 30);

        // The slider moved by the user seeks; the logic setting it raises nothing more.
        QTest::keyClick(page.slider, Qt::Key_End);
        QCOMPARE(form->videoPreview().frame(), 30u);
        QTest::mouseClick(page.stepBack, Qt::LeftButton);
        QCOMPARE(form->videoPreview().frame(), 29u);
        QCOMPARE(page.slider->value(), 29);

        QTest::keyClick(page.slider, Qt::Key_Home);
        QTest::mouseClick(page.playPause, Qt::LeftButton);
        QVERIFY(page.timer->isActive());
        QTRY_VERIFY(form->videoPreview().frame() > 3);
        window->ListView1->setCurrentIndex(window->listModel->index(1));  // another entry
        QVERIFY(!page.timer->isActive());
        QVERIFY(!form->videoPreview().isOpen());
        QVERIFY(window->PreviewPages->currentWidget() != &page);
        QVERIFY(ui->errors.empty());
    }

    void choosingATypeInTheBoxNarrowsTheList() {
        QTemporaryDir folder;
        writeArchive(folder, "mixed.lod", lodOfPictures());
        ui->run([&] { form->FormCreate("", folder.filePath("mixed.lod").toStdString()); });
        QCOMPARE(window->listModel->rowCount(), 5);
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(window->ComboBox1, Qt::Key_Down);  // "*.Smk", "*.Bik", "*.Pcx"
        }
        QCOMPARE(window->ComboBox1->currentText(), QStringLiteral("*.Pcx"));
        QCOMPARE(window->listModel->rowCount(), 2);
        QCOMPARE(window->listModel->caption(1), QStringLiteral("SKY.PCX"));
        QVERIFY(ui->errors.empty());
    }

    void theDetailsSwitchKeepsRowsAndSelectionAndAHeaderClickSortsThroughTheLogic() {
        QTemporaryDir folder;
        writeArchive(folder, "mixed.lod", lodOfPictures());
        window->show();
        ui->run([&] { form->FormCreate("", folder.filePath("mixed.lod").toStdString()); });
        window->ListView1->setCurrentIndex(window->listModel->index(2));  // RUNNER.def
        window->DetailsToggle->trigger();
        QCOMPARE(form->listLook(), brasvel::ListLook::Details);
        QVERIFY(window->DetailsToggle->isChecked());
        QVERIFY(window->ListView1->isHidden());
        QVERIFY(!window->DetailsView->isHidden());
        QVERIFY(window->DetailsView->selectionModel()->isSelected(window->listModel->index(2)));

        QHeaderView* header = window->DetailsView->header();
        const int size = static_cast<int>(brasvel::ListColumn::Size);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(size) + 5, header->height() / 2));
        QCOMPARE(form->sortColumn(), brasvel::ListColumn::Size);
        qint64 previous = -1;
        for (int row = 0; row < window->listModel->rowCount(); ++row) {
            const QString shown = window->listModel->index(row, size).data().toString();
            const qint64 value = QString(shown).remove(QLatin1Char(' ')).toLongLong();
            QVERIFY2(value >= previous, qPrintable(shown));
            previous = value;
        }
        // The selection followed its entry to its new row, in the view and in the logic.
        QCOMPARE(window->listModel->caption(form->SelectedRow()), QStringLiteral("RUNNER.def"));
        QVERIFY(window->DetailsView->selectionModel()->isRowSelected(form->SelectedRow(), {}));

        window->DetailsView->setFocus();
        QTest::keySequence(window->DetailsView, QKeySequence::SelectAll);
        QCOMPARE(form->selectedEntries().size(), std::size_t(window->listModel->rowCount()));
        window->DetailsToggle->trigger();
        QVERIFY(!window->ListView1->isHidden());
        QVERIFY(ui->errors.empty());
    }

    void steppingTheFrameScrollBarShowsEachFrameOfTheSelectedSprite() {
        QTemporaryDir folder;
        writeArchive(folder, "mixed.lod", lodOfPictures());
        ui->run([&] { form->FormCreate("", folder.filePath("mixed.lod").toStdString()); });
        window->ListView1->setCurrentIndex(window->listModel->index(2));  // RUNNER.def
        window->BitBtn1->click();
        QVERIFY(ui->errors.empty());
        QVERIFY(!window->Panel1->isHidden());
        QVERIFY(!window->scb->isHidden());
        QCOMPARE(window->scb->maximum(), 3);
        QCOMPARE(window->ComboBox1->currentText(),
                 QStringLiteral("42"));                  // the type, in hexadecimal
        QCOMPARE(window->ComboBox1->currentIndex(), 0);  // the text is shown, not chosen
        std::vector<qint64> pictures{window->Image->picture().cacheKey()};
        for (int frame = 2; frame <= 3; ++frame) {
            window->scb->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            QCOMPARE(window->scb->value(), frame);
            pictures.push_back(window->Image->picture().cacheKey());
        }
        QVERIFY(ui->errors.empty());
        QVERIFY(pictures[0] != pictures[1] && pictures[1] != pictures[2]);
        QCOMPARE(window->Image->picture().size(), QSize(6, 4));
    }

    void aBatchExtractionWritesEveryShownRowAndPutsItsPanelAway() {
        QTemporaryDir folder;
        writeArchive(folder, "mixed.lod", lodOfPictures());
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path());
        ui->run([&] { form->FormCreate("", "mixed.lod"); });
        window->ToolButton5->trigger();
        QDir::setCurrent(before);
        QVERIFY2(ui->errors.empty(), ui->errors.empty() ? "" : ui->errors[0].c_str());
        QCOMPARE(ui->questions.size(), std::size_t{1});
        for (const char* name : {"FIELD.bmp", "SKY.bmp", "RUNNER.def", "NOTES.txt", "SKY.pal"}) {
            QVERIFY2(QFile::exists(folder.filePath(QString::fromLatin1(name))), name);
        }
        QVERIFY(window->extra->isHidden());
        QCOMPARE(window->ProgressBar3->value(), 0);
    }

    // The batch panel keeps its Cancel button clear of a floating preview where there is room.
    void theBatchPanelGoesWhereTheFloatingPreviewLeavesItInSight_data() {
        QTest::addColumn<QRect>("preview");
        QTest::addColumn<QPoint>("place");
        // In an area of 600 × 400 a panel of 361 × 73: its middle is (119, 163).
        QTest::newRow("no preview") << QRect() << QPoint(119, 163);
        QTest::newRow("a preview away from the middle") << QRect(500, 0, 100, 100) << QPoint(119, 163);
        QTest::newRow("over the middle, just room below") << QRect(260, 20, 340, 299) << QPoint(119, 327);
        QTest::newRow("one pixel short of room below") << QRect(260, 20, 340, 300) << QPoint(119, 163);
        QTest::newRow("over the bottom half") << QRect(0, 150, 600, 250) << QPoint(119, 69);
        QTest::newRow("the right side, room left of it") << QRect(380, 0, 220, 400) << QPoint(11, 163);
        QTest::newRow("everywhere") << QRect(0, 0, 600, 400) << QPoint(119, 163);
    }
    void theBatchPanelGoesWhereTheFloatingPreviewLeavesItInSight() {
        QFETCH(QRect, preview);
        QFETCH(QPoint, place);
        QCOMPARE(brasvel::app::clearOfPreview(QRect(0, 0, 600, 400), QSize(361, 73), preview), place);
    }

    // Cancel pressed while 15011 entries are being written: the batch ends between two files,
    // every file it reports is whole and nothing else is in the folder.
    void cancelStopsALongBatchSoonAndLeavesOnlyWholeFiles() {
        QTemporaryDir folder;
        writers::LodWriter lod;
        constexpr int kEntries = 15011;
        for (int i = 0; i < kEntries; ++i) {
            lod.add("E" + std::to_string(i) + ".TXT", "entry " + std::to_string(i));
        }
        writeArchive(folder, "big.lod", lod.build());
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path());
        ui->run([&] { form->FormCreate("", "big.lod"); });
        QDir(folder.path()).mkpath(QStringLiteral("out"));
        QDir::setCurrent(folder.filePath(QStringLiteral("out")));
        // Cancel once the bar has moved: the batch is well under way.
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (window->ProgressBar3->value() > 0) {
                poll.stop();
                QTest::mouseClick(window->CancelBatch, Qt::LeftButton);
            }
        });
        poll.start();
        window->ToolButton5->trigger();
        QDir::setCurrent(before);
        QVERIFY2(ui->errors.empty(), ui->errors.empty() ? "" : ui->errors[0].c_str());
        QCOMPARE(ui->notices.size(), std::size_t{1});
        const QString notice = QString::fromStdString(ui->notices[0]);
        QVERIFY2(notice.contains(QStringLiteral("Przerwano")), qPrintable(notice));
        const int written = notice.section(QLatin1Char(' '), 1, 1).toInt();
        const QStringList files = QDir(folder.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files.size(), written);
        QVERIFY2(written > 0 && written < kEntries, qPrintable(notice));
        for (const QString& name : files) {
            QFile file(folder.filePath(QStringLiteral("out/") + name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("entry ") + name.mid(1).chopped(4).toLatin1());
        }
        QVERIFY(window->extra->isHidden());
    }

    void aCloseRequestFromOutsideWaitsUntilTheRunningHandlerEnds() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        ui->run([&] { QVERIFY(!window->close()); });
        QVERIFY(window->isVisible());
    }

    void theExitCommandsCloseTheWindowFromInsideTheirHandler() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        ui->run([&] { ui->closeWindow(); });
        QVERIFY(!window->isVisible());
    }

    void theAboutAndHelpItemsOpenTheirDialogs() {
        window->About2->trigger();
        window->GeneralHelp1->trigger();
        // The form asks the toolkit for them; a form without those handlers yet shows none.
        QVERIFY(ui->aboutShown <= 1);
        QVERIFY(ui->helpShown <= 1);
        QVERIFY(ui->errors.empty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
