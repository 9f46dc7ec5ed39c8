// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// How responsive the window stays while it saves a big archive: the archive given (the
// benchmark's big.lod, thousands of entries) is opened in the real window, one file is added, and
// "Zapisz" saves it over a copy. A timer on the window's thread ticks every 5 ms meanwhile; the
// longest gap between two ticks is the longest the window could not answer. The save runs off the
// window's thread; reopening the saved archive and refilling the list runs on it, and is timed
// apart, and so are the edit commands before it (adding a file, removing an entry), which run on
// it too. Prints milliseconds; run offscreen or on a screen.
//
// usage: bench-edit-save ARCHIVE.lod [ROUNDS]

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/QtToolkit.h"
#include "bench/SilentPlayer.h"
#include "window/MainForm.h"

namespace {

using brasvel::bench::SilentPlayer;

double ms(qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench-edit-save ARCHIVE.lod [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    QTemporaryDir folder;
    const std::string copy = folder.filePath(QStringLiteral("big.lod")).toStdString();
    std::filesystem::copy_file(argv[1], copy);

    brasvel::app::TForm1 window;
    brasvel::app::QtToolkit ui(window);
    SilentPlayer player;
    brasvel::MainForm form(ui, player);
    window.attach(ui);
    window.resize(1024, 700);
    window.show();
    form.FormCreate("", copy);
    QCoreApplication::processEvents();
    std::printf("entries: %zu, archive %.1f MB\n", form.archive()->entries().size(),
                static_cast<double>(std::filesystem::file_size(copy)) / 1e6);

    for (int round = 0; round < rounds; ++round) {
        const std::string added =
            folder.filePath(QStringLiteral("ADDED%1.TXT").arg(round)).toStdString();
        std::ofstream(added, std::ios::binary) << std::string(100000, 'a');
        QElapsedTimer command;
        command.start();
        form.filesDropped({added});
        const double addMs = ms(command.nsecsElapsed());
        form.numitem(0, true);
        command.restart();
        form.RemoveEntry1Click();
        const double removeMs = ms(command.nsecsElapsed());
        std::printf("round %d: add one file %.1f ms, remove one entry %.1f ms (list rebuilt)\n",
                    round + 1, addMs, removeMs);
        QElapsedTimer clock;
        std::vector<qint64> ticks;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] { ticks.push_back(clock.nsecsElapsed()); });
        clock.start();
        ticker.start();
        qint64 saved = 0;
        // The save starts from the event loop, as a menu command does.
        QTimer::singleShot(0, [&] {
            form.SaveArchive1Click();
            saved = clock.nsecsElapsed();
            QTimer::singleShot(20, [] { QCoreApplication::exit(0); });
        });
        QApplication::exec();
        ticker.stop();
        // Ticks while the save ran, and the first after the command returned.
        qint64 longest = 0;
        qint64 lastDuringSave = 0;
        for (std::size_t k = 1; k < ticks.size() && ticks[k] <= saved; ++k) {
            longest = std::max(longest, ticks[k] - ticks[k - 1]);
            lastDuringSave = ticks[k];
        }
        std::printf(
            "round %d: save command %.1f ms; window thread's longest gap while saving %.1f ms "
            "(%zu ticks); reopen and relist after the save %.1f ms; unsaved left: %s\n",
            round + 1, ms(saved), ms(longest), ticks.size(), ms(saved - lastDuringSave),
            form.hasUnsavedChanges() ? "yes" : "no");
    }
    return 0;
}
