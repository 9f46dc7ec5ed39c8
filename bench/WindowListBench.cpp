// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// How long the window takes to show a full list: 15011 rows filled through the toolkit inside one
// bulk update and painted, and the same through the main window's start-up on a LOD archive of
// 15011 entries, then sorted by size in the details list and narrowed by searches typed into the
// search box. Prints milliseconds; run offscreen or on a screen.

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <string>

#include <QAction>

#include "app/EntryListModel.h"
#include "app/QtToolkit.h"
#include "app/MainWindow.h"
#include "bench/SilentPlayer.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/MainForm.h"

namespace {

using brasvel::bench::SilentPlayer;

constexpr int kRows = 15011;

// Shows the window and paints the list once.
double paintMs(brasvel::app::TForm1& window) {
    QElapsedTimer timer;
    timer.start();
    window.shownList()->viewport()->repaint();
    QCoreApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void throughToolkit() {
    brasvel::app::TForm1 window;
    brasvel::app::QtToolkit ui(window);
    window.resize(1280, 800);
    window.show();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    ui.beginListUpdate();
    ui.clearRows();
    for (int i = 0; i < kRows; ++i) {
        const int row = ui.appendRow();
        ui.setRowImage(row, 4 + i % 12);
        ui.setRowCaption(row, "E" + std::to_string(i) + ".pcx");
    }
    const double fill = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    ui.endListUpdate();
    ui.setListVisible(true);
    const double end = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const double paint = paintMs(window);
    std::printf("toolkit: %d rows filled %.1f ms, shown %.1f ms, painted %.1f ms\n",
                window.listModel->rowCount(), fill, end, paint);
}

void throughStartUp() {
    QTemporaryDir folder;
    brasvel::writers::LodWriter lod;
    for (int i = 0; i < kRows; ++i) {
        // Sizes in another order than the names, so sorting by size moves every row.
        lod.add("E" + std::to_string(i) + (i % 2 == 0 ? ".pcx" : ".def"),
                std::string(static_cast<std::size_t>((i * 7919) % 97), 'x'));
    }
    const std::string path = folder.filePath(QStringLiteral("big.lod")).toStdString();
    const std::string bytes = lod.build();
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));

    brasvel::app::TForm1 window;
    brasvel::app::QtToolkit ui(window);
    SilentPlayer player;
    brasvel::MainForm form(ui, player);
    window.attach(form, ui, player);
    window.resize(1280, 800);
    window.show();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    ui.run([&] { form.FormCreate("", path); });
    const double open = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const double paint = paintMs(window);
    std::printf("start-up: %d rows opened %.1f ms, painted %.1f ms\n",
                window.listModel->rowCount(), open, paint);

    // A click on the details list's "size" header: the logic sorts every row and lists them again.
    window.DetailsToggle->trigger();
    for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        timer.restart();
        window.listModel->sort(static_cast<int>(brasvel::ListColumn::Size), order);
        const double sorted = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        const double painted = paintMs(window);
        std::printf("sort by size %s: %d rows in %.1f ms, painted %.1f ms\n",
                    order == Qt::AscendingOrder ? "up" : "down", window.listModel->rowCount(),
                    sorted, painted);
    }

    // Typing into the search box: each keystroke narrows the whole list and paints it.
    for (const char* search : {"E1", "E12", "E123", ""}) {
        timer.restart();
        window.SearchBox->setText(QString::fromLatin1(search));
        const double narrowed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        const double painted = paintMs(window);
        std::printf("search \"%s\": %d rows in %.1f ms, painted %.1f ms\n", search,
                    window.listModel->rowCount(), narrowed, painted);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    throughToolkit();
    throughStartUp();
    return 0;
}
