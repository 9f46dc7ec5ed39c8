// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// brasvel-resedit: the window of the Brasvel Resource Editor.
//
//   brasvel-resedit [--lang en|pl] [ARCHIVE]
//
// ARCHIVE, when given, is opened at start by the last three letters of its name (lod, snd or
// vid, in any case). --lang chooses the language over the environment (app/Language.h). The
// hidden option --screenshot PATH [--preview ROW [--frame N] [--docked]] saves a picture of the
// screen once the window is shown, with the preview of row ROW (frame N of a sprite, the panel
// docked or floating), and quits; --print-texts prints the menus' texts, one a line, and quits.
// The hidden option --test-videos lets the preview play the test clips that stand in for the
// game's videos in the demo archive (AVI with FFV1 pictures and PCM sound, which our writers make
// because the game's codecs have no encoder), besides Smacker and Bink. The hidden option
// --first-paint prints the wall-clock time (seconds since 1970) at which the list was first
// painted with the archive's rows, and quits: bench/run.sh times the window's start with it.

#include <QApplication>
#include <QDockWidget>
#include <QEvent>
#include <QFile>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <QTreeView>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/EntryListModel.h"
#include "app/Language.h"
#include "app/MainWindow.h"
#include "app/QtSettings.h"
#include "app/QtToolkit.h"
#include "app/LocalPath.h"
#ifdef _WIN32
#include "app/WindowsWavePlayer.h"
#else
#include "app/QtWavePlayer.h"
#endif
#include "app/StartupArchive.h"
#include "window/MainForm.h"
#include "base/Platform.h"
#include "base/Utf8Path.h"

namespace {

#ifdef _WIN32
using SystemWavePlayer = brasvel::app::WindowsWavePlayer;
#else
using SystemWavePlayer = brasvel::app::QtWavePlayer;
#endif

struct Options {
    std::string archive;
    QString screenshot;
    int previewRow = -1;
    int frame = 1;
    bool docked = false;
    bool printTexts = false;
    bool testVideos = false;
    bool firstPaint = false;
};

// Notes the first paint of a list that shows rows, then prints the time and quits once it is
// done.
class FirstListPaint : public QObject {
public:
    explicit FirstListPaint(const brasvel::app::TForm1& window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && window_.listModel->rowCount() > 0) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::printf("%.6f\n", std::chrono::duration<double>(now).count());
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const brasvel::app::TForm1& window_;
    bool seen_ = false;
};

// The game's demuxers and decoders, and those of the test clips (tools/writers/VideoWriters.h).
brasvel::video::VideoOptions withTestClips() {
    brasvel::video::VideoOptions options;
    options.formats.push_back("avi");
    options.codecs.insert(options.codecs.end(), {"ffv1", "pcm_s16le"});
    return options;
}

// `arguments` without --lang and its code (app/Language.h reads those).
Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    const std::size_t count = arguments.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--screenshot" && i + 1 < count) {
            options.screenshot = brasvel::app::fromLocalPath(arguments[++i]);
        } else if (argument == "--preview" && i + 1 < count) {
            options.previewRow = std::atoi(arguments[++i].c_str());
        } else if (argument == "--frame" && i + 1 < count) {
            options.frame = std::atoi(arguments[++i].c_str());
        } else if (argument == "--docked") {
            options.docked = true;
        } else if (argument == "--print-texts") {
            options.printTexts = true;
        } else if (argument == "--test-videos") {
            options.testVideos = true;
        } else if (argument == "--first-paint") {
            options.firstPaint = true;
        } else if (options.archive.empty()) {
            options.archive = argument;
        }
    }
    return options;
}

// The menus' titles and items, as the window shows them, for a check of the language in use.
void printTexts(const brasvel::app::TForm1& window) {
    for (const QAction* menu : window.menuBar()->actions()) {
        std::printf("%s\n", qPrintable(menu->text()));
        for (const QAction* item : menu->menu()->actions()) {
            if (!item->isSeparator()) {
                std::printf("  %s\n", qPrintable(item->text()));
            }
        }
    }
}

// Selects a row, switches the preview on, grabs the window into `path` and quits.
void takeScreenshot(brasvel::app::TForm1& window, brasvel::app::QtToolkit& ui,
                    const Options& options) {
    if (options.previewRow >= 0 && options.previewRow < ui.rowCount()) {
        window.ListView1->setCurrentIndex(window.listModel->index(options.previewRow));
        window.BitBtn1->click();
        if (options.docked) {
            window.Panel1->setFloating(false);
        }
        if (options.frame > 1) {
            window.scb->setValue(options.frame);  // as the user drags the thumb there
        }
    }
    QTimer::singleShot(700, &window, [&window, path = options.screenshot] {
        // The whole screen, so that a floating preview panel is in the picture too.
        const bool saved = window.screen()->grabWindow(0).save(path);
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QString::fromUtf8(brasvel::app::kSettingsOrganisation));
    QApplication::setApplicationName(QString::fromUtf8(brasvel::app::kSettingsApplication));
    // Ties the window to its installed .desktop file: its name and icon on the task bar.
    QGuiApplication::setDesktopFileName(QStringLiteral(BRASVEL_APP_ID));
    const std::vector<std::string> arguments = brasvel::app::programArguments(argc, argv);
    brasvel::app::Language language = brasvel::app::Language::Polish;
    try {
        language = brasvel::app::chooseLanguage(arguments);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "brasvel-resedit: %s\n", error.what());
        return 2;
    }
    // Before the first widget, so that every text is looked up in it.
    const brasvel::app::InstalledLanguage installed(language);
    if (!installed.complete()) {
        std::fprintf(stderr,
                     "brasvel-resedit: no English translation in %s; the window stays Polish\n",
                     qPrintable(brasvel::app::translationsDirectory()));
    }
    const Options options = parseOptions(brasvel::app::withoutLanguageOption(arguments));

    brasvel::app::TForm1 window;
    if (options.printTexts) {
        printTexts(window);
        return 0;
    }
    // Its open dialog can be answered in advance, for an archive named in mixed case at start.
    brasvel::app::OpenDialogAnsweredOnce<brasvel::app::QtToolkit> ui(window);
    SystemWavePlayer player;
    brasvel::app::QtSettings settings;
    brasvel::MainForm form(ui, player, settings);
    window.attach(ui);
    if (options.testVideos) {
        form.setVideoOptions(withTestClips());
    }
#ifndef _WIN32
    player.onError = [&window](const QString& text) { window.showSoundError(text); };
#endif

    // The window is on the screen before start-up opens the archive, so that an error about
    // the archive shows over it.
    if (options.screenshot.isEmpty() && settings.hasWindow()) {
        if (settings.restoreWindow(window)) {
            window.keepPreviewPlace();
        }
        window.show();
    } else if (options.screenshot.isEmpty()) {
        window.showMaximized();
    } else {
        // A screen without a window manager does not maximise; fill it instead.
        window.setGeometry(window.screen()->availableGeometry());
        window.show();
    }
    if (!options.screenshot.isEmpty()) {
        // Set before start-up, so that an error box it raises is in the picture too.
        QTimer::singleShot(300, &window, [&] { takeScreenshot(window, ui, options); });
    }
    FirstListPaint firstPaint(window);
    if (options.firstPaint) {
        window.ListView1->viewport()->installEventFilter(&firstPaint);
        window.DetailsView->viewport()->installEventFilter(&firstPaint);
    }
    if (options.screenshot.isEmpty() && !options.firstPaint) {
        window.beforeClose = [&] { settings.saveWindow(window); };
    }
    // Pending edits are journalled under the user's state folder; journals a crash left are
    // offered back once start-up is done (not in the screenshot and benchmark runs).
    const std::string stateFolder = brasvel::platform::userStateFolder();
    const bool recovers = options.screenshot.isEmpty() && !options.firstPaint && !stateFolder.empty();
    if (recovers) {
        form.setRecoveryFolder(brasvel::platform::utf8Path(
            brasvel::platform::fileSystemPath(stateFolder) / "brasvel-resedit" / "recovery"));
    }
    ui.run([&] { brasvel::app::startUp(form, ui, brasvel::app::installedGameFolder(), options.archive); });
    if (recovers) {
        QTimer::singleShot(0, &window, [&] { ui.run([&] { form.offerRecovery(); }); });
    }
    return QApplication::exec();
}
