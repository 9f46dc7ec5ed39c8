// brasvel-resedit: the window of the Brasvel Resource Editor.
//
//   brasvel-resedit [ARCHIVE]
//
// ARCHIVE, when given, is opened at start by the last three letters of its name (lod, snd or
// vid, in any case). The hidden option --screenshot PATH [--preview ROW [--frame N]
// [--docked]] saves a picture of the screen once the window is shown, with the preview of row ROW
// (frame N of a sprite, the panel docked or floating), and quits.

#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <cstring>
#include <string>

#include "app/EntryListModel.h"
#include "app/QtToolkit.h"
#include "app/QtWavePlayer.h"
#include "app/MainWindow.h"
#include "app/StartupArchive.h"
#include "window/MainForm.h"

namespace {

// The game's folder, as its installer records it; empty when it does not. Only read.
std::string readAppPath() {
    const QSettings settings(QStringLiteral("Talgrove"), QStringLiteral("Brasvel"));
    return QFile::encodeName(settings.value(QStringLiteral("1.0/AppPath")).toString())
        .toStdString();
}

struct Options {
    std::string archive;
    QString screenshot;
    int previewRow = -1;
    int frame = 1;
    bool docked = false;
};

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            options.screenshot = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) {
            options.previewRow = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--frame") == 0 && i + 1 < argc) {
            options.frame = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--docked") == 0) {
            options.docked = true;
        } else if (options.archive.empty()) {
            options.archive = argv[i];
        }
    }
    return options;
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
    QApplication::setOrganizationName(QStringLiteral("Talgrove"));
    QApplication::setApplicationName(QStringLiteral("Brasvel"));
    // Ties the window to its installed .desktop file: its name and icon on the task bar.
    QGuiApplication::setDesktopFileName(QStringLiteral(BRASVEL_APP_ID));
    const Options options = parseOptions(argc, argv);

    brasvel::app::TForm1 window;
    // Its open dialog can be answered in advance, for an archive named in mixed case at start.
    brasvel::app::OpenDialogAnsweredOnce<brasvel::app::QtToolkit> ui(window);
    brasvel::app::QtWavePlayer player;
    brasvel::MainForm form(ui, player);
    window.attach(form, ui, player);
    player.onError = [&window](const QString& text) { window.showSoundError(text); };

    // The window is on the screen before start-up opens the archive, so that an error about
    // the archive shows over it.
    if (options.screenshot.isEmpty()) {
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
    ui.run([&] { brasvel::app::startUp(form, ui, readAppPath(), options.archive); });
    return QApplication::exec();
}
