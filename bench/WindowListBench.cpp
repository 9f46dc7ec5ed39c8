// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// How long the window takes to show a full list: 15011 rows filled through the toolkit inside one
// bulk update and painted, and the same through the main window's start-up on a LOD archive of
// 15011 entries, then sorted by size in the details list and narrowed by searches typed into the
// search box; then how soon Cancel stops an extraction of those entries. Prints milliseconds; run
// offscreen or on a screen.

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <algorithm>
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

// The main window's toolkit with the questions answered OK and the summary kept, not shown.
class AnsweringToolkit : public brasvel::app::QtToolkit {
public:
    using QtToolkit::QtToolkit;
    bool askOkCancel(std::string_view, std::string_view) override { return true; }
    void reportNotice(std::string_view text) override {
        answeredAt = clock.nsecsElapsed();
        summary = text;
    }
    void reportError(std::string_view text) override { reportNotice(text); }
    // Counts the files the work finished once Cancel was pressed, and when it first saw it.
    void runJob(const brasvel::Job& job, brasvel::BackgroundTask& task) override {
        task.onBetweenFiles([this](brasvel::BackgroundTask& running) {
            if (running.cancel) {
                ++finishedAfterCancel;
                if (seenAt == 0) {
                    seenAt = clock.nsecsElapsed();
                }
            }
        });
        QtToolkit::runJob(job, task);
    }
    int finishedAfterCancel = 0;
    qint64 seenAt = 0;

    QElapsedTimer clock;
    qint64 answeredAt = 0;
    std::string summary;
};

// The files of `folder` but the archives.
qint64 filesIn(const QString& folder) {
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    return std::count_if(files.begin(), files.end(), [](const QString& name) {
        return !name.endsWith(QStringLiteral(".lod"));
    });
}

// Cancel clicked while the batch writes the archive's entries into a fresh folder: the time
// until the batch has ended (its summary), and the files finished after the click.
void cancelOfABatch(const std::string& archive, const QString& folder) {
    brasvel::app::TForm1 window;
    AnsweringToolkit ui(window);
    SilentPlayer player;
    brasvel::MainForm form(ui, player);
    window.attach(ui);
    window.resize(1280, 800);
    window.show();
    ui.run([&] { form.FormCreate("", archive); });
    const QString out = folder;  // where the window extracts when no folder was chosen
    qint64 clickedAt = 0;
    QTimer::singleShot(300, [&] {
        clickedAt = ui.clock.nsecsElapsed();
        window.CancelBatch->click();
    });
    ui.clock.start();
    window.ToolButton5->trigger();
    std::printf("cancel: a batch of %d entries saw Cancel %.2f ms after the click and ended "
                "%.1f ms after it; files finished after the click: %d (%lld written): %s\n",
                kRows, static_cast<double>(ui.seenAt - clickedAt) / 1e6,
                static_cast<double>(ui.answeredAt - clickedAt) / 1e6, ui.finishedAfterCancel,
                static_cast<long long>(filesIn(out)), ui.summary.c_str());
}

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
    window.attach(ui);
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
    // Texts of a few kilobytes each, written as they are.
    brasvel::writers::LodWriter texts;
    for (int i = 0; i < kRows; ++i) {
        texts.add("T" + std::to_string(i) + ".TXT", std::string(2000 + i % 4000, 't'), i % 2 == 0);
    }
    const std::string textsPath = folder.filePath(QStringLiteral("texts.lod")).toStdString();
    const std::string textBytes = texts.build();
    std::ofstream(textsPath, std::ios::binary)
        .write(textBytes.data(), std::streamsize(textBytes.size()));
    cancelOfABatch(textsPath, folder.path());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    throughToolkit();
    throughStartUp();
    return 0;
}
