// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// What the window tells of its list and selection: the counts while the list is narrowed, the
// sizes of the row highlighted, the extract command's count, the recent archives that open, the
// open dialog's folder and Enter on a row.

#include "archive/TypeItems.h"
#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

using namespace writers;

class ListCountsTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        archive = write("five.lod", LodWriter()
                                        .add("ALPHA.TXT", std::string(1500, 'a'))
                                        .add("BETA.TXT", "bb")
                                        .add("GAMMA.TXT", "ccc")
                                        .add("\xAF\xD3\xA3W.TXT", "dddd")  // ŻÓŁW
                                        .add("DELTA.MSG", "eeeee")
                                        .build());
        open(archive);
    }

    void open(const std::string& path) {
        ui.openReplies.push_back(OpenChoice{path, 1});
        form.ToolButton1Click();
    }

    std::string archive;
};

TEST_F(ListCountsTest, theCountPanelAddsHowManyAreListedWhileTheListIsNarrowed) {
    struct Step {
        int typeItem;
        const char* search;
        const char* count;
    };
    const Step steps[] = {
        {0, "", "Total Files: 5"},
        {typeItemIndex("txt"), "", "Total Files: 5   (na liście 4 z 5)"},
        {typeItemIndex("txt"), "łw", "Total Files: 5   (na liście 1 z 5)"},
        {0, "a", "Total Files: 5   (na liście 4 z 5)"},
        {0, "nothing", "Total Files: 5   (na liście 0 z 5)"},
        {0, "", "Total Files: 5"},
    };
    for (const Step& step : steps) {
        ui.typeIndex = step.typeItem;
        form.ViewLod();
        form.searchEdited(step.search);
        EXPECT_EQ(ui.statusTexts[0], step.count) << step.search;
        EXPECT_EQ(ui.statusWidths[0] == 250, step.typeItem != 0 || *step.search != '\0')
            << "the panel has room for the longer text";
    }
    // An edit counts again: one of the texts removed, one of the entries gone.
    ui.typeIndex = typeItemIndex("txt");
    form.ViewLod();
    form.numitem(0, true);
    form.RemoveEntry1Click();
    EXPECT_EQ(ui.statusTexts[0], "Total Files: 4   (na liście 3 z 4)");
    form.UndoEdit1Click();
    EXPECT_EQ(ui.statusTexts[0], "Total Files: 5   (na liście 4 z 5)");
    ui.typeIndex = 0;
    // Another archive opened while narrowed is counted through the same narrowing.
    form.searchEdited("beta");
    open(archive);
    EXPECT_EQ(ui.statusTexts[0], "Total Files: 5   (na liście 1 z 5)");
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ListCountsTest, theStatusPanelsDescribeTheRowHighlightedWhenAnArchiveOpens) {
    ASSERT_FALSE(form.PreviewOn());
    EXPECT_EQ(ui.selectedRow, 0);
    EXPECT_EQ(ui.statusTexts[1], "FileSize: 1500");
    EXPECT_NE(ui.statusTexts[3], "") << "the stored size too";
    // A search that hides the selected row leaves no sizes of it behind.
    form.searchEdited("beta");
    EXPECT_EQ(ui.statusTexts[1], "");
    EXPECT_EQ(ui.statusTexts[3], "");
}

// "Wypakuj pojedynczy plik..." says how many files it writes while more than one is selected.
TEST_F(ListCountsTest, theExtractCommandCountsTheSelectedRows) {
    EXPECT_EQ(ui.commands.extractItemText, "");
    form.selectionChanged({}, {1, 2}, 2);
    EXPECT_EQ(ui.commands.extractItemText, "Wy&pakuj zaznaczone pliki (3)...");
    form.selectionChanged({0, 1}, {}, 2);
    EXPECT_EQ(ui.commands.extractItemText, "");
    form.selectionChanged({2}, {}, -1);
    EXPECT_FALSE(ui.commands.entryCommands);
    EXPECT_EQ(ui.commands.extractItemText, "");
}

// The file dialogs start beside the open archive; the open dialog with none in the game's data
// folder.
TEST_F(ListCountsTest, theOpenDialogStartsBesideTheOpenArchive) {
    ASSERT_EQ(ui.openDialogDirectories.size(), 1u);
    EXPECT_EQ(ui.openDialogDirectories[0], "data");
    form.ToolButton1Click();  // cancelled
    EXPECT_EQ(ui.openDialogDirectories.back(), folder.string());
    // The extraction folder's chooser: beside the archive, then at the folder chosen.
    ui.folderReplies.push_back((folder / "out").string());
    form.SetPathForExtract1Click();
    EXPECT_EQ(ui.folderDirectories.back(), folder.string());
    form.SetPathForExtract1Click();  // cancelled
    EXPECT_EQ(ui.folderDirectories.back(), (folder / "out").string() + "/");
}

// A recent archive that no longer opens leaves the list; the others stay.
TEST_F(ListCountsTest, theRecentArchivesKeepOnlyArchivesThatOpen) {
    const std::string other = write("other.lod", LodWriter().add("A.TXT", "a").build());
    open(other);
    ASSERT_EQ(form.recentArchives().size(), 2u);
    write("five.lod", "no archive at all");
    form.openRecent(1);
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(form.recentArchives(), std::vector<std::string>{other});
    EXPECT_EQ(ui.recentMenu, form.recentArchives());
    form.openRecent(0);
    EXPECT_EQ(form.recentArchives(), std::vector<std::string>{other});
}

// Enter on a row shows it in the preview, turning the preview on when it was off.
TEST_F(ListCountsTest, enterShowsTheRowInThePreview) {
    form.numitem(2, true);
    form.showRowInPreview();
    EXPECT_TRUE(form.PreviewOn());
    EXPECT_TRUE(ui.previewVisible);
    EXPECT_EQ(ui.previewText, "ccc");
    form.numitem(1, true);
    form.showRowInPreview();
    EXPECT_TRUE(form.PreviewOn()) << "Enter never turns the preview off";
    EXPECT_EQ(ui.previewText, "bb");
    form.searchEdited("nothing");
    form.showRowInPreview();
    EXPECT_TRUE(form.PreviewOn());
    EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
}  // namespace brasvel
