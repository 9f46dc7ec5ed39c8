// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Pending edits outlive a crash: journalled as they are made, gone with a save or an undo to
// nothing, and offered back by the next window when the archive is as it was; a changed archive
// or a damaged journal is said and the journal kept.

#include "archive/Archive.h"
#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using namespace writers;

class RecoveryTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        original = LodWriter().add("ALPHA.TXT", "alpha", true).add("BETA.TXT", "beta").build();
        archivePath = write("game.lod", original);
        state = (folder / "state").string();
        form.setRecoveryFolder(state);
        ui.openReplies.push_back(OpenChoice{archivePath, 1});
        form.ToolButton1Click();
    }

    std::vector<fs::path> journals() const {
        std::vector<fs::path> found;
        std::error_code error;
        for (const auto& item : fs::directory_iterator(state, error)) {
            found.push_back(item.path());
        }
        return found;
    }

    // Adds NOTE.TXT and renames BETA.TXT: two steps.
    void edit() {
        ui.fileReplies.push_back({write("NOTE.TXT", "a note")});
        form.AddFiles1Click();
        form.numitem(1, true);
        ui.nameReplies.push_back("GAMMA.TXT");
        form.RenameEntry1Click();
    }

    static std::vector<std::string> captions(const HeadlessToolkit& shown) {
        std::vector<std::string> result;
        for (const HeadlessRow& row : shown.rows) {
            result.push_back(row.shownCaption() + (row.changed ? " *" : ""));
        }
        return result;
    }

    std::string original;
    std::string archivePath;
    std::string state;
};

TEST_F(RecoveryTest, theEditsAreJournalledAndGoWithAnUndoToNothingOrASave) {
    EXPECT_TRUE(journals().empty());
    edit();
    ASSERT_EQ(journals().size(), 1u);
    form.UndoEdit1Click();
    EXPECT_EQ(journals().size(), 1u) << "one step is left";
    form.UndoEdit1Click();
    EXPECT_TRUE(journals().empty()) << "nothing unsaved";
    form.RedoEdit1Click();
    ASSERT_EQ(journals().size(), 1u);
    form.SaveArchive1Click();
    EXPECT_TRUE(journals().empty());
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
}

TEST_F(RecoveryTest, theNextWindowRestoresTheEditsAsUnsavedWhenTheArchiveIsAsItWas) {
    edit();
    const std::vector<std::string> edited = captions(ui);
    ASSERT_EQ(edited, (std::vector<std::string>{"ALPHA.TXT", "GAMMA.TXT *", "NOTE.TXT *"}));

    // The window is gone without saving; the next one starts.
    HeadlessToolkit nextUi;
    MainForm next(nextUi, player);
    next.setRecoveryFolder(state);
    nextUi.answers = {true};
    next.offerRecovery();
    ASSERT_EQ(nextUi.questions.size(), 1u);
    EXPECT_EQ(nextUi.questions[0].text,
              "Przywrócić niezapisane zmiany archiwum " + archivePath + "?");
    EXPECT_TRUE(nextUi.errors.empty()) << nextUi.errors.front();
    EXPECT_EQ(captions(nextUi), edited);
    EXPECT_EQ(nextUi.archiveTitle, "*game.lod");
    EXPECT_EQ(nextUi.commands.edit.undoText, "Cofnij: przywróć niezapisane zmiany");
    EXPECT_EQ(read(archivePath), original) << "restored as unsaved edits only";
    EXPECT_EQ(journals().size(), 1u);
    next.SaveArchive1Click();
    EXPECT_TRUE(journals().empty());
    const Archive saved = Archive::open(archivePath, kLodFormat);
    EXPECT_EQ(saved.entries().size(), 3u);
}

TEST_F(RecoveryTest, aChangedArchiveOrADamagedJournalIsSaidAndTheJournalKept) {
    edit();
    ASSERT_EQ(journals().size(), 1u);
    const fs::path journal = journals().front();
    const std::string whole = read(journal);

    // The archive changed on disk since: nothing restored.
    write("game.lod", LodWriter().add("OTHER.TXT", "other").build());
    {
        HeadlessToolkit nextUi;
        MainForm next(nextUi, player);
        next.setRecoveryFolder(state);
        nextUi.answers = {true};
        next.offerRecovery();
        ASSERT_EQ(nextUi.errors.size(), 1u);
        EXPECT_NE(nextUi.errors[0].find("zmieniło się"), std::string::npos) << nextUi.errors[0];
        EXPECT_FALSE(nextUi.commands.edit.changed);
        EXPECT_EQ(read(journal), whole);
    }
    // Cut one byte short, as a crash while writing might: refused, kept, nothing asked.
    write("game.lod", original);
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << whole.substr(0, whole.size() - 1);
    {
        HeadlessToolkit nextUi;
        MainForm next(nextUi, player);
        next.setRecoveryFolder(state);
        next.offerRecovery();
        EXPECT_TRUE(nextUi.questions.empty());
        ASSERT_EQ(nextUi.errors.size(), 1u);
        EXPECT_NE(nextUi.errors[0].find("uszkodzony"), std::string::npos) << nextUi.errors[0];
        EXPECT_TRUE(fs::exists(journal));
    }
    // Whole again, and declined: the journal goes.
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << whole;
    {
        HeadlessToolkit nextUi;
        MainForm next(nextUi, player);
        next.setRecoveryFolder(state);
        nextUi.answers = {false};
        next.offerRecovery();
        EXPECT_EQ(nextUi.questions.size(), 1u);
        EXPECT_FALSE(fs::exists(journal));
        EXPECT_FALSE(nextUi.commands.edit.changed);
    }
}

}  // namespace
}  // namespace brasvel
