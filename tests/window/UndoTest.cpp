// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Undo and redo of the window's edits: each edit one step, named in the menu, back to the archive
// as opened or saved and forward again; the unsaved mark, the selection and the preview follow.

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/EditHistory.h"

namespace brasvel {
namespace {

using namespace writers;

class UndoTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        archivePath = write("game.lod", LodWriter()
                                            .add("ALPHA.TXT", "alpha", true)
                                            .add("BETA.TXT", "beta")
                                            .add("GAMMA.TXT", "gamma")
                                            .build());
        open(ui, form);
    }

    void open(HeadlessToolkit& toolkit, MainForm& window) {
        toolkit.openReplies.push_back(OpenChoice{archivePath, 1});
        window.ToolButton1Click();
    }

    static std::vector<std::string> captionsOf(const HeadlessToolkit& toolkit) {
        std::vector<std::string> shown;
        for (const HeadlessRow& row : toolkit.rows) {
            shown.push_back(row.shownCaption() + (row.changed ? " *" : ""));
        }
        return shown;
    }
    std::vector<std::string> captions() const { return captionsOf(ui); }

    static std::string selectedOf(const HeadlessToolkit& toolkit) {
        return toolkit.selectedRow >= 0 ? toolkit.rows.at(toolkit.selectedRow).shownCaption()
                                        : std::string("(none)");
    }

    void addFiles(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) {
            paths.push_back(write(name, "content of " + name));
        }
        ui.fileReplies.push_back(paths);
        form.AddFiles1Click();
    }

    std::string archivePath;
};

using Edit = std::function<void(HeadlessToolkit&, MainForm&)>;

// Each kind of edit marks the archive unsaved: the title, Save, and the question on closing.
// Undoing it leaves nothing unsaved and the list as opened, with the entry it brings back
// selected; redoing it marks the archive again.
TEST_F(UndoTest, everyEditMarksTheArchiveUnsavedAndUndoingItLeavesNothingUnsaved) {
    struct EditCase {
        const char* what;
        Edit edit;
        std::string step;          // as the menu names it
        std::string selectUndone;  // selected once undone
        std::string selectRedone;  // and once redone
    };
    const auto addFiles = [this](std::vector<std::string> names) {
        return [this, names](HeadlessToolkit& toolkit, MainForm& window) {
            std::vector<std::string> paths;
            for (const std::string& name : names) {
                paths.push_back(write(name, "new " + name));
            }
            toolkit.fileReplies.push_back(paths);
            window.AddFiles1Click();
        };
    };
    const std::vector<EditCase> cases = {
        {"add", addFiles({"NOTE.TXT"}), "dodaj NOTE.TXT", "BETA.TXT", "NOTE.TXT"},
        {"add several", addFiles({"D1.TXT", "D2.TXT", "D3.TXT"}), "dodaj 3 pliki", "BETA.TXT",
         "D3.TXT"},
        {"add over an entry", addFiles({"gamma.txt"}), "zastąp GAMMA.TXT", "BETA.TXT", "GAMMA.TXT"},
        {"drop",
         [this](HeadlessToolkit&, MainForm& window) {
             window.filesDropped({write("DROP.TXT", "dropped")});
         },
         "dodaj DROP.TXT", "BETA.TXT", "DROP.TXT"},
        {"replace",
         [this](HeadlessToolkit& toolkit, MainForm& window) {
             toolkit.fileReplies.push_back({write("swap.bin", "new beta")});
             window.ReplaceEntry1Click();
         },
         "zastąp BETA.TXT", "BETA.TXT", "BETA.TXT"},
        {"remove", [](HeadlessToolkit&, MainForm& window) { window.RemoveEntry1Click(); },
         "usuń BETA.TXT", "BETA.TXT", "GAMMA.TXT"},
        {"rename",
         [](HeadlessToolkit& toolkit, MainForm& window) {
             toolkit.nameReplies.push_back(std::string("DELTA.TXT"));
             window.RenameEntry1Click();
         },
         "zmień nazwę BETA.TXT na DELTA.TXT", "BETA.TXT", "DELTA.TXT"},
    };
    const std::vector<std::string> opened = {"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT"};
    for (const EditCase& each : cases) {
        SCOPED_TRACE(each.what);
        HeadlessToolkit toolkit;
        MainForm window(toolkit, player);
        open(toolkit, window);
        window.numitem(1, true);  // BETA.TXT
        const auto expectUnsaved = [&](bool unsaved) {
            EXPECT_EQ(toolkit.archiveTitle, unsaved ? "*game.lod" : "game.lod");
            EXPECT_EQ(toolkit.commands.edit.changed, unsaved) << "Save and Revert";
            EXPECT_EQ(window.hasUnsavedChanges(), unsaved);
            toolkit.saveQuestions.clear();
            toolkit.saveAnswers.push_back(SaveAnswer::Cancel);
            EXPECT_EQ(window.FormCloseQuery(), !unsaved) << "closing asks only when unsaved";
            EXPECT_EQ(toolkit.saveQuestions.size(), unsaved ? 1u : 0u);
            toolkit.saveAnswers.clear();
        };

        each.edit(toolkit, window);
        ASSERT_TRUE(toolkit.errors.empty()) << toolkit.errors.front();
        const std::vector<std::string> edited = captionsOf(toolkit);
        EXPECT_NE(edited, opened);
        expectUnsaved(true);
        EXPECT_TRUE(toolkit.commands.edit.canUndo);
        EXPECT_EQ(toolkit.commands.edit.undoText, "Cofnij: " + each.step);
        EXPECT_FALSE(toolkit.commands.edit.canRedo);
        EXPECT_EQ(toolkit.commands.edit.redoText, "Ponów");

        window.UndoEdit1Click();
        EXPECT_EQ(captionsOf(toolkit), opened);
        expectUnsaved(false);
        EXPECT_EQ(selectedOf(toolkit), each.selectUndone);
        EXPECT_FALSE(toolkit.commands.edit.canUndo);
        EXPECT_EQ(toolkit.commands.edit.undoText, "Cofnij");
        EXPECT_TRUE(toolkit.commands.edit.canRedo);
        EXPECT_EQ(toolkit.commands.edit.redoText, "Ponów: " + each.step);

        window.RedoEdit1Click();
        EXPECT_EQ(captionsOf(toolkit), edited);
        expectUnsaved(true);
        EXPECT_EQ(selectedOf(toolkit), each.selectRedone);
        EXPECT_EQ(toolkit.commands.edit.undoText, "Cofnij: " + each.step);
        EXPECT_FALSE(toolkit.commands.edit.canRedo);
    }
}

TEST_F(UndoTest, stepsAreUndoneLatestFirstAndRedoneInTheOrderMade) {
    addFiles({"NOTE.TXT"});
    ui.nameReplies.push_back(std::string("MEMO.TXT"));
    form.RenameEntry1Click();  // the note, selected once added
    form.numitem(0, true);
    form.RemoveEntry1Click();
    const std::vector<std::string> edited = captions();
    EXPECT_EQ(edited, (std::vector<std::string>{"BETA.TXT", "GAMMA.TXT", "MEMO.TXT *"}));

    const std::vector<std::pair<std::string, std::vector<std::string>>> undone = {
        {"Cofnij: usuń ALPHA.TXT", {"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT", "MEMO.TXT *"}},
        {"Cofnij: zmień nazwę NOTE.TXT na MEMO.TXT",
         {"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT", "NOTE.TXT *"}},
        {"Cofnij: dodaj NOTE.TXT", {"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT"}},
    };
    for (const auto& [text, after] : undone) {
        EXPECT_EQ(ui.commands.edit.undoText, text);
        form.UndoEdit1Click();
        EXPECT_EQ(captions(), after);
    }
    EXPECT_FALSE(ui.commands.edit.canUndo);
    form.UndoEdit1Click();  // nothing more to undo: nothing happens
    EXPECT_EQ(captions(), undone.back().second);
    EXPECT_TRUE(ui.errors.empty());

    EXPECT_EQ(ui.commands.edit.redoText, "Ponów: dodaj NOTE.TXT");
    form.RedoEdit1Click();
    EXPECT_EQ(ui.commands.edit.redoText, "Ponów: zmień nazwę NOTE.TXT na MEMO.TXT");
    form.RedoEdit1Click();
    EXPECT_EQ(ui.commands.edit.redoText, "Ponów: usuń ALPHA.TXT");
    form.RedoEdit1Click();
    EXPECT_EQ(captions(), edited);
    EXPECT_FALSE(ui.commands.edit.canRedo);
    form.RedoEdit1Click();
    EXPECT_EQ(captions(), edited);
}

TEST_F(UndoTest, aNewEditAfterAnUndoDropsTheStepsUndone) {
    addFiles({"NOTE.TXT"});
    form.numitem(0, true);
    form.RemoveEntry1Click();
    form.UndoEdit1Click();
    EXPECT_EQ(selectedOf(ui), "ALPHA.TXT") << "the entry the undo brings back";
    form.numitem(2, true);
    form.RemoveEntry1Click();  // GAMMA.TXT
    EXPECT_FALSE(ui.commands.edit.canRedo);
    EXPECT_EQ(ui.commands.edit.redoText, "Ponów");
    form.RedoEdit1Click();
    EXPECT_EQ(captions(), (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT", "NOTE.TXT *"}));
    form.UndoEdit1Click();
    EXPECT_EQ(captions(),
              (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT", "NOTE.TXT *"}));
    EXPECT_EQ(ui.commands.edit.undoText, "Cofnij: dodaj NOTE.TXT");
}

// A cancelled or refused edit is no step.
TEST_F(UndoTest, anEditThatChangedNothingIsNoStep) {
    form.numitem(1, true);
    ui.nameReplies.push_back(std::nullopt);
    form.RenameEntry1Click();
    ui.nameReplies.push_back(std::string("BETA.TXT"));
    form.RenameEntry1Click();
    ui.fileReplies.push_back({});
    form.ReplaceEntry1Click();
    ui.answers.push_back(false);  // not over GAMMA.TXT
    ui.fileReplies.push_back({write("gamma.txt", "other")});
    form.AddFiles1Click();
    EXPECT_FALSE(ui.commands.edit.canUndo);
    EXPECT_FALSE(form.hasUnsavedChanges());
}

TEST_F(UndoTest, severalFilesAddedAreCountedInThePluralTheirNumberTakes) {
    const std::vector<std::pair<std::size_t, std::string>> cases = {
        {2, "dodaj 2 pliki"},    {4, "dodaj 4 pliki"},    {5, "dodaj 5 plików"},
        {12, "dodaj 12 plików"}, {14, "dodaj 14 plików"}, {22, "dodaj 22 pliki"},
    };
    for (const auto& [count, step] : cases) {
        std::vector<std::string> names;
        for (std::size_t k = 0; k < count; ++k) {
            names.push_back("F" + std::to_string(k) + ".TXT");
        }
        addFiles(names);
        EXPECT_EQ(ui.commands.edit.undoText, "Cofnij: " + step);
        form.UndoEdit1Click();
        EXPECT_EQ(ui.rows.size(), 3u);
    }
}

// The preview caches what it read: after an undo it shows the content as it is again.
TEST_F(UndoTest, thePreviewShowsTheContentOfTheStateUndoneTo) {
    form.numitem(1, true);
    form.QuickView1Click();
    ui.fileReplies.push_back({write("swap.bin", "new beta content")});
    form.ReplaceEntry1Click();
    EXPECT_EQ(ui.previewText, "new beta content");
    EXPECT_EQ(ui.statusTexts[1], "FileSize: 16");
    form.UndoEdit1Click();
    EXPECT_EQ(ui.previewText, "beta");
    EXPECT_EQ(ui.statusTexts[1], "FileSize: 4");
    form.RedoEdit1Click();
    EXPECT_EQ(ui.previewText, "new beta content");
}

// Saving makes the saved archive the base: its steps are gone, and later ones undo back to it.
// A save that failed keeps them.
TEST_F(UndoTest, aSavedArchiveIsTheNewStateToUndoBackTo) {
    addFiles({"NOTE.TXT"});
    form.editing().saveOptions.write = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    form.SaveArchive1Click();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.commands.edit.undoText, "Cofnij: dodaj NOTE.TXT");

    form.editing().saveOptions.write = nullptr;
    form.SaveArchive1Click();
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_FALSE(ui.commands.edit.canUndo);
    EXPECT_FALSE(ui.commands.edit.canRedo);
    form.UndoEdit1Click();
    const std::vector<std::string> saved = {"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT", "NOTE.TXT"};
    EXPECT_EQ(captions(), saved);

    form.numitem(3, true);
    form.RemoveEntry1Click();
    form.UndoEdit1Click();
    EXPECT_EQ(captions(), saved);
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_EQ(ui.archiveTitle, "game.lod");
    EXPECT_EQ(selectedOf(ui), "NOTE.TXT");
}

// "Cofnij zmiany" drops every edit as one step: undo brings them all back.
TEST_F(UndoTest, aRevertIsOneStepThatUndoTakesBack) {
    addFiles({"NOTE.TXT"});
    form.numitem(0, true);
    form.RemoveEntry1Click();
    const std::vector<std::string> edited = captions();
    ui.answers.push_back(true);
    form.RevertChanges1Click();
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_EQ(ui.commands.edit.undoText, "Cofnij: odrzuć zmiany");
    form.UndoEdit1Click();
    EXPECT_EQ(captions(), edited);
    EXPECT_TRUE(form.hasUnsavedChanges());
    EXPECT_EQ(ui.commands.edit.undoText, "Cofnij: usuń ALPHA.TXT");
    form.RedoEdit1Click();
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_EQ(captions(), (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT"}));
}

// Damage found in an entry's content while an edit was pending stays known in the state an undo
// brings back, which was kept from before it was found.
TEST_F(UndoTest, damageFoundDuringAnEditIsKeptByTheStatesUndoneTo) {
    archivePath = write("bad.lod", LodWriter()
                                       .add("ALPHA.TXT", "alpha")
                                       .addStored("BROKEN.TXT", "not zlib at all", 50, 15)
                                       .build());
    open(ui, form);
    form.numitem(0, true);
    form.RemoveEntry1Click();  // BROKEN.TXT is now entry 0 of the edit, 1 of the archive
    addFiles({"NOTE.TXT"});
    form.QuickView1Click();
    form.numitem(0, true);  // BROKEN.TXT, read now
    ASSERT_TRUE(ui.rows.at(0).damaged);
    form.QuickView1Click();  // nothing is read again
    form.UndoEdit1Click();
    EXPECT_EQ(captions(), (std::vector<std::string>{"BROKEN.TXT"}));
    EXPECT_TRUE(ui.rows.at(0).damaged);
    form.UndoEdit1Click();
    EXPECT_TRUE(ui.rows.at(1).damaged);
    EXPECT_NE(ui.statusTexts[2].find("(uszkodzone pliki: 1)"), std::string::npos)
        << ui.statusTexts[2];
}

// Another archive opened, or the same read again, starts with nothing to undo.
TEST_F(UndoTest, openingAnArchiveForgetsTheSteps) {
    addFiles({"NOTE.TXT"});
    ui.saveAnswers.push_back(SaveAnswer::Discard);
    open(ui, form);
    EXPECT_FALSE(ui.commands.edit.canUndo);
    EXPECT_EQ(ui.commands.edit.undoText, "Cofnij");
}

// The history keeps its newest steps within its bounds, a step costing its state's rows and one.
TEST(EditHistoryTest, theOldestStepsGoBeyondTheBounds) {
    const auto withRows = [](std::size_t rows) {
        ArchiveEdit edit(kLodFormat);
        for (std::size_t k = 0; k < rows; ++k) {
            edit.put("E" + std::to_string(k) + ".TXT", {});
        }
        return edit;
    };
    const auto undoAll = [](EditHistory& history) {
        std::vector<std::string> labels;
        EditState state;
        while (const std::optional<EditStep> step = history.undo(state)) {
            labels.push_back(step->label);
        }
        return labels;
    };
    EditHistory history({.steps = 5, .rows = 20});
    for (int k = 1; k <= 6; ++k) {
        history.record(std::nullopt, {std::to_string(k), {}, {}});
    }
    EXPECT_EQ(undoAll(history), (std::vector<std::string>{"6", "5", "4", "3", "2"}));

    history.clear();
    for (int k = 1; k <= 5; ++k) {
        history.record(withRows(4), {std::to_string(k), {}, {}});
    }
    EXPECT_EQ(undoAll(history), (std::vector<std::string>{"5", "4", "3", "2"}))
        << "20 rows kept, the bound itself";

    history.clear();
    history.record(withRows(30), {"large", {}, {}});
    EditState state;
    ASSERT_TRUE(history.undo(state)) << "the latest step stays, however large";
    EXPECT_EQ(state->entries().size(), 30u);
    EXPECT_TRUE(history.redo(state));
    EXPECT_FALSE(state.has_value());
}

}  // namespace
}  // namespace brasvel
