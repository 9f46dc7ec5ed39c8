// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The list's details and order, several entries selected at once, the question before a file is
// written over, the remembered settings with the recent archives, and files dragged in and out.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/Utf8Path.h"
#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using writers::LodWriter;

// Sizes 10, 2000 and 9: as text "10" < "2000" < "9", as numbers not. B2.MSK is stored
// compressed, the others plain; offsets follow the order added.
std::string threeEntries() {
    return LodWriter()
        .add("b10.TXT", std::string(10, 'b'))
        .add("B2.MSK", std::string(2000, 'x'), true)
        .add("a.TXT", std::string(9, 'a'))
        .build();
}

class ListDetailsTest : public WindowFolderTest {
protected:
    void open(MainForm& into, HeadlessToolkit& through, const std::string& path) {
        through.openReplies.push_back(OpenChoice{path, 1});
        into.ToolButton1Click();
    }
    void openThree() { open(form, ui, write("three.lod", threeEntries())); }
    void extractInto(const fs::path& where) {
        ui.folderReplies.push_back(where.string());
        form.SetPathForExtract1Click();
    }
    std::vector<std::string> shownNames() const {
        std::vector<std::string> names;
        for (const HeadlessRow& row : ui.rows) {
            names.push_back(row.shownCaption());
        }
        return names;
    }
    int rowOf(const std::string& name) const {
        for (std::size_t row = 0; row < ui.rows.size(); ++row) {
            if (ui.rows[row].shownCaption() == name) {
                return static_cast<int>(row);
            }
        }
        return -1;
    }
    void selectAll() {
        std::vector<int> rows;
        for (std::size_t row = 0; row < ui.rows.size(); ++row) {
            rows.push_back(static_cast<int>(row));
        }
        form.selectionChanged({}, rows, 0);
    }
};

TEST_F(ListDetailsTest, rowsShowTheirFiguresAndEveryColumnSortsNumbersAsNumbers) {
    openThree();
    const HeadlessRow& packed = ui.rows[1];
    EXPECT_EQ(packed.shownCaption(), "B2.MSK");
    EXPECT_EQ(packed.type, "MSK");
    EXPECT_EQ(packed.size, 2000);
    EXPECT_GT(packed.storedSize, 0);
    EXPECT_LT(packed.storedSize, 100);
    EXPECT_EQ(ui.rows[0].storedSize, 10);  // stored plain: its size
    EXPECT_LT(ui.rows[0].offset, packed.offset);

    struct Case {
        ListColumn column;
        bool ascending;
        std::vector<std::string> order;
    };
    const std::vector<Case> cases = {
        {ListColumn::Name, true, {"a.TXT", "b10.TXT", "B2.MSK"}},
        {ListColumn::Name, false, {"B2.MSK", "b10.TXT", "a.TXT"}},
        {ListColumn::Type, true, {"B2.MSK", "a.TXT", "b10.TXT"}},
        {ListColumn::Size, true, {"a.TXT", "b10.TXT", "B2.MSK"}},
        {ListColumn::Size, false, {"B2.MSK", "b10.TXT", "a.TXT"}},
        {ListColumn::StoredSize, true, {"a.TXT", "b10.TXT", "B2.MSK"}},
        {ListColumn::Ratio, true, {"B2.MSK", "a.TXT", "b10.TXT"}},  // equal ratios: by name
        {ListColumn::Offset, false, {"a.TXT", "B2.MSK", "b10.TXT"}},
    };
    for (const Case& sorted : cases) {
        SCOPED_TRACE(static_cast<int>(sorted.column) * 2 + (sorted.ascending ? 0 : 1));
        form.sortList(sorted.column, sorted.ascending);
        EXPECT_EQ(shownNames(), sorted.order);
        EXPECT_EQ(ui.sortIndicator, sorted.column);
        EXPECT_EQ(ui.sortIndicatorAscending, sorted.ascending);
        EXPECT_EQ(ui.rows[static_cast<std::size_t>(rowOf("B2.MSK"))].size, 2000);
    }
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ListDetailsTest, theSelectionFollowsItsEntriesThroughSortsSearchesAndANewArchive) {
    openThree();
    form.selectionChanged({}, {rowOf("b10.TXT"), rowOf("a.TXT")}, rowOf("a.TXT"));
    form.sortList(ListColumn::Size, false);  // B2, b10, a
    EXPECT_EQ(ui.selectedRows, (std::vector<int>{1, 2}));
    EXPECT_EQ(ui.selectedRow, 2);
    EXPECT_EQ(form.SelectedRow(), 2);
    EXPECT_EQ(form.selectedEntries(), (std::vector<std::size_t>{0, 2}));

    // The search hides the focused entry: the other stays selected, the preview has none.
    form.searchEdited("b");
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"B2.MSK", "b10.TXT"}));
    EXPECT_EQ(ui.selectedRows, (std::vector<int>{1}));
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_EQ(form.selectedEntries(), (std::vector<std::size_t>{0}));
    EXPECT_TRUE(ui.commands.entryCommands);
    // Shown again, a hidden entry is not selected again.
    form.searchEdited("");
    EXPECT_EQ(form.selectedEntries(), (std::vector<std::size_t>{0}));

    // Another row taking the focus becomes the one the preview and the sizes follow.
    form.selectionChanged({}, {rowOf("B2.MSK")}, rowOf("B2.MSK"));
    EXPECT_EQ(form.SelectedRow(), rowOf("B2.MSK"));
    EXPECT_EQ(ui.statusTexts[1], "FileSize: 2000");
    // The last selected row deselected: no entry command is left.
    form.selectionChanged({rowOf("B2.MSK"), rowOf("b10.TXT")}, {}, -1);
    EXPECT_TRUE(form.selectedEntries().empty());
    EXPECT_FALSE(ui.commands.entryCommands);

    // The order stays for the next archive.
    openThree();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"B2.MSK", "b10.TXT", "a.TXT"}));
    EXPECT_EQ(form.selectedEntries(), (std::vector<std::size_t>{1}));  // its first row
}

TEST_F(ListDetailsTest, f2WritesSeveralSelectedEntriesThroughTheBatchAndOneAlone) {
    openThree();
    extractInto(folder / "out");
    // Opening selected the first row; a click and a Ctrl+click select two others.
    form.selectionChanged({0}, {rowOf("a.TXT"), rowOf("B2.MSK")}, rowOf("a.TXT"));
    form.SaveSingleFile1Click();
    EXPECT_EQ(filesIn(folder / "out"), (std::set<std::string>{"B2.MSK", "a.TXT"}));
    EXPECT_EQ(read(folder / "out" / "B2.MSK"), std::string(2000, 'x'));
    EXPECT_TRUE(ui.questions.empty());  // no "long operation" question for a selection
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0], "Wypakowano 2 z 2 plików do " + (folder / "out").string() + "/");
    EXPECT_FALSE(ui.extraVisible);

    fs::remove_all(folder / "out");
    fs::create_directory(folder / "out");
    form.numitem(rowOf("b10.TXT"), true);  // a click: this row alone
    form.ToolButton2Click();
    EXPECT_EQ(filesIn(folder / "out"), (std::set<std::string>{"b10.TXT"}));
    EXPECT_EQ(ui.notices.size(), 1u);  // one file needs no summary
}

// The question before writing over comes in a folder of any name: on Windows the window once
// looked for the file under the name's letters read in the system's code page, found none and
// wrote over it unasked.
TEST_F(ListDetailsTest, anExistingFileInAFolderOfPolishNameIsWrittenOverOnlyWhenTheUserSaysSo) {
    const std::string out = platform::joinedPath(platform::utf8Path(folder), "Żółw gęślą");
    fs::create_directories(platform::fileSystemPath(out));
    std::ofstream(platform::fileSystemPath(platform::joinedPath(out, "b10.TXT"))) << "old";
    openThree();
    ui.folderReplies.push_back(out);
    form.SetPathForExtract1Click();
    ui.overwriteAnswers.assign({OverwriteAnswer::Skip});
    form.numitem(rowOf("b10.TXT"), true);
    form.SaveSingleFile1Click();
    ASSERT_EQ(ui.overwriteQuestions.size(), 1u);
    EXPECT_EQ(ui.overwriteQuestions[0].fileName, "b10.TXT");
    std::ifstream kept(platform::fileSystemPath(platform::joinedPath(out, "b10.TXT")));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
}

TEST_F(ListDetailsTest, anExistingFileIsWrittenOverOnlyWhenTheUserSaysSo) {
    struct Case {
        const char* what;
        std::vector<OverwriteAnswer> answers;
        std::size_t questions;
        bool b10New;
        bool aNew;
        bool b2Written;
        std::string summaryEnd;  // empty: no summary
    };
    const std::vector<Case> cases = {
        {"overwrite, then skip", {OverwriteAnswer::Overwrite, OverwriteAnswer::Skip}, 2, true,
         false, true, "Pominięto istniejące pliki: 1."},
        {"skip, then overwrite", {OverwriteAnswer::Skip, OverwriteAnswer::Overwrite}, 2, false,
         true, true, "Pominięto istniejące pliki: 1."},
        {"overwrite all", {OverwriteAnswer::OverwriteAll}, 1, true, true, true, "/"},
        {"skip all", {OverwriteAnswer::SkipAll}, 1, false, false, true,
         "Pominięto istniejące pliki: 2."},
        {"cancel at the second", {OverwriteAnswer::Overwrite, OverwriteAnswer::Cancel}, 2, false,
         false, false, ""},
    };
    openThree();
    extractInto(folder / "out");
    for (const Case& run : cases) {
        SCOPED_TRACE(run.what);
        fs::remove_all(folder / "out");
        fs::create_directory(folder / "out");
        write("out/b10.TXT", "old");
        write("out/a.TXT", "old");
        ui.overwriteQuestions.clear();
        ui.notices.clear();
        ui.overwriteAnswers.assign(run.answers.begin(), run.answers.end());
        selectAll();
        form.SaveSingleFile1Click();
        ASSERT_EQ(ui.overwriteQuestions.size(), run.questions);
        EXPECT_EQ(ui.overwriteQuestions[0].fileName, "b10.TXT");  // in the list's order
        EXPECT_TRUE(ui.overwriteQuestions[0].several);
        EXPECT_EQ(read(folder / "out" / "b10.TXT") != "old", run.b10New);
        EXPECT_EQ(read(folder / "out" / "a.TXT") != "old", run.aNew);
        EXPECT_EQ(fs::exists(folder / "out" / "B2.MSK"), run.b2Written);
        if (run.summaryEnd.empty()) {
            EXPECT_TRUE(ui.notices.empty());
        } else {
            ASSERT_EQ(ui.notices.size(), 1u);
            EXPECT_TRUE(ui.notices[0].starts_with(
                std::string("Wypakowano ") + (run.b2Written ? "" : "0")));
            EXPECT_TRUE(ui.notices[0].ends_with(run.summaryEnd)) << ui.notices[0];
        }
        EXPECT_TRUE(ui.errors.empty());
    }

    // One entry: no answers for all; skipping keeps the file.
    write("out/a.TXT", "old");
    ui.overwriteQuestions.clear();
    ui.overwriteAnswers = {OverwriteAnswer::Skip};
    form.numitem(rowOf("a.TXT"), true);
    form.SaveSingleFile1Click();
    ASSERT_EQ(ui.overwriteQuestions.size(), 1u);
    EXPECT_FALSE(ui.overwriteQuestions[0].several);
    EXPECT_EQ(read(folder / "out" / "a.TXT"), "old");
}

TEST_F(ListDetailsTest, settingsAndRecentArchivesAreRememberedAndAVanishedOneIsDropped) {
    MemorySettings settings;
    std::vector<std::string> paths;
    {
        HeadlessToolkit first;
        FakeWavePlayer sound;
        MainForm window(first, sound, settings);
        for (int i = 0; i < 10; ++i) {
            paths.push_back(write("a" + std::to_string(i) + ".lod", threeEntries()));
            open(window, first, paths.back());
        }
        open(window, first, paths[3]);  // opened again: first, once
        first.folderReplies.push_back((folder / "out").string());
        window.SetPathForExtract1Click();
        window.toggleListLook();
        window.sortList(ListColumn::Offset, false);
        EXPECT_EQ(first.recentMenu.size(), settings::kRecentArchives);
        EXPECT_EQ(first.recentMenu[0], paths[3]);
        EXPECT_EQ(first.recentMenu[1], paths[9]);
        EXPECT_EQ(first.recentMenu.back(), paths[2]);
    }

    fs::remove(paths[9]);
    HeadlessToolkit next;
    FakeWavePlayer sound;
    MainForm window(next, sound, settings);
    EXPECT_EQ(window.ExtractDir(), (folder / "out").string() + "/");
    EXPECT_EQ(next.listLook, ListLook::Details);
    EXPECT_EQ(next.sortIndicator, ListColumn::Offset);
    EXPECT_FALSE(next.sortIndicatorAscending);
    EXPECT_EQ(next.recentMenu, window.recentArchives());
    ASSERT_EQ(window.recentArchives().size(), settings::kRecentArchives);

    window.openRecent(1);  // the vanished one
    ASSERT_EQ(next.errors.size(), 1u);
    EXPECT_NE(next.errors[0].find(paths[9]), std::string::npos);
    EXPECT_EQ(window.archive(), nullptr);
    EXPECT_EQ(next.recentMenu.size(), settings::kRecentArchives - 1);
    EXPECT_EQ(settings.value("recent/8"), std::nullopt);
    EXPECT_EQ(settings.value("recent/2"), paths[8]);

    window.openRecent(1);
    ASSERT_NE(window.archive(), nullptr);
    EXPECT_EQ(window.archivePath(), paths[8]);
    EXPECT_EQ(next.recentMenu[0], paths[8]);
    // Sorted as remembered: by offset downwards.
    EXPECT_EQ(next.rows[0].shownCaption(), "a.TXT");
}

TEST_F(ListDetailsTest, aDroppedArchiveOpensByItsExtensionElseByItsContent) {
    struct Case {
        const char* what;
        std::vector<std::string> files;  // name, written with an archive unless it ends .txt
        bool opens;
        std::string error;  // the start of the error shown; empty when none
    };
    const std::vector<Case> cases = {
        {"an archive in capitals", {"DROP.LOD"}, true, ""},
        {"an archive without its extension", {"archive.bin"}, true, ""},
        {"a text", {"notes.txt"}, false, "notes.txt nie jest archiwum"},
        {"two archives", {"one.lod", "two.lod"}, false, "Upuść jeden plik archiwum"},
    };
    for (const Case& drop : cases) {
        SCOPED_TRACE(drop.what);
        HeadlessToolkit screen;
        FakeWavePlayer sound;
        MainForm window(screen, sound);
        std::vector<std::string> paths;
        for (const std::string& name : drop.files) {
            paths.push_back(write(name, name.ends_with(".txt") ? "hello" : threeEntries()));
        }
        window.filesDropped(paths);
        EXPECT_EQ(window.archive() != nullptr, drop.opens);
        if (drop.opens) {
            EXPECT_EQ(screen.rows.size(), 3u);
            EXPECT_EQ(screen.recentMenu.front(), paths.front());
        }
        if (drop.error.empty()) {
            EXPECT_TRUE(screen.errors.empty());
        } else {
            ASSERT_EQ(screen.errors.size(), 1u);
            EXPECT_NE(screen.errors[0].find(drop.error), std::string::npos) << screen.errors[0];
        }
    }

    // Onto an open archive, anything but one archive is added to it.
    openThree();
    const std::string text = write("notes.txt", "hello");
    form.filesDropped({text});
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(ui.rows.size(), 4u);
    EXPECT_TRUE(form.hasUnsavedChanges());
    EXPECT_EQ(form.archivePath(), (folder / "three.lod").string());
}

TEST_F(ListDetailsTest, draggedRowsAreExtractedIntoTheDragsFolderInListOrder) {
    openThree();
    form.sortList(ListColumn::Name, true);  // a.TXT, b10.TXT, B2.MSK
    const fs::path drag = folder / "drag";
    fs::create_directory(drag);
    const std::vector<std::string> files = form.dragOut({2, 0, 7}, drag.string());
    EXPECT_EQ(files, (std::vector<std::string>{(drag / "B2.MSK").string(),
                                               (drag / "a.TXT").string()}));
    EXPECT_EQ(read(drag / "a.TXT"), std::string(9, 'a'));
    EXPECT_EQ(filesIn(drag), (std::set<std::string>{"B2.MSK", "a.TXT"}));
    EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
}  // namespace brasvel
