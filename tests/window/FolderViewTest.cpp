// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// A game folder's archives in one list: shadowing, the order archives win in and its memory, reads
// through each entry's own archive, and editing one archive at a time.

#include <chrono>

#include "tests/window/WindowFolderTest.h"
#include "window/FolderSession.h"
#include "window/SettingsStore.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

using namespace writers;
namespace fs = std::filesystem;

class FolderViewTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        fs::create_directories(game);
        // README.TXT is in both LODs, in another case in one; b.lod changed last, so it wins.
        make("a.lod", LodWriter().add("README.TXT", "from a").add("ONLYA.TXT", "a only").build(),
             100);
        make("b.lod", LodWriter().add("readme.txt", "from b").add("ONLYB.TXT", "b only").build(),
             200);
        make("c.snd", SndWriter().add("BOOM", "RIFFboom").build(), 50);
        make("d.vid", VidWriter().add("INTRO.SMK", "SMK2clip").build(), 50);
        make("notes.txt", "no archive, passed over", 300);
        make("bad.lod", "no archive at all, but named as one", 300);
    }

    // An archive of `bytes` in the game folder, last changed `seconds` after an hour ago.
    std::string make(const std::string& name, const std::string& bytes, int seconds) {
        const fs::path path = game / name;
        std::ofstream(path, std::ios::binary) << bytes;
        fs::last_write_time(path, epoch + std::chrono::seconds(seconds));
        return path.string();
    }

    void openGame(MainForm& window, HeadlessToolkit& shown) {
        shown.folderReplies.push_back(game.string());
        window.commandChosen(WindowCommand::OpenFolder);
    }

    // Each row as "caption@archive", with "+N" for the copies it shadows, "~" when shadowed.
    std::vector<std::string> stackRows(const HeadlessToolkit& shown) const {
        std::vector<std::string> rows;
        for (const HeadlessRow& row : shown.rows) {
            rows.push_back(row.shownCaption() + "@" + row.archive +
                           (row.shadows > 0 ? "+" + std::to_string(row.shadows) : "") +
                           (row.shadowed ? "~" : ""));
        }
        return rows;
    }

    const fs::path game = folder / "game";
    const fs::file_time_type epoch = fs::file_time_type::clock::now() - std::chrono::hours(1);
};

TEST_F(FolderViewTest, listsEveryArchiveOfTheFolderWithTheWinningCopies) {
    openGame(form, ui);
    EXPECT_EQ(ui.folderDirectories.back(), "data") << "the game's data folder first";
    EXPECT_EQ(stackRows(ui), (std::vector<std::string>{"readme.txt@b.lod+1", "ONLYB.TXT@b.lod",
                                                       "ONLYA.TXT@a.lod", "BOOM.Wav@c.snd",
                                                       "INTRO.SMK@d.vid"}));
    EXPECT_TRUE(ui.folderColumnsShown);
    EXPECT_EQ(form.archive(), nullptr) << "no archive is open for editing";
    // The unreadable archive is named and passed over; the file of no kind is not.
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("bad.lod"), std::string::npos);
    EXPECT_EQ(ui.errors[0].find("notes.txt"), std::string::npos);
    EXPECT_EQ(ui.archiveTitle, "game (archiwa: 4, pliki: 5)");
    EXPECT_EQ(ui.statusTexts[0], "Total Files: 5");
    EXPECT_EQ(ui.statusTexts[2], "Folder: " + fs::absolute(game).lexically_normal().string() +
                                     " (archiwa: 4, zasłonięte kopie: 1)");
    // The shadowed copy listed too, under its winner; the type box and search narrow all.
    form.commandChosen(WindowCommand::ToggleShadowed);
    EXPECT_TRUE(form.commandState().edit.shadowedShown);
    EXPECT_EQ(stackRows(ui),
              (std::vector<std::string>{"readme.txt@b.lod+1", "README.TXT@a.lod~", "ONLYB.TXT@b.lod",
                                        "ONLYA.TXT@a.lod", "BOOM.Wav@c.snd", "INTRO.SMK@d.vid"}));
    form.searchEdited("readme");
    EXPECT_EQ(stackRows(ui), (std::vector<std::string>{"readme.txt@b.lod+1", "README.TXT@a.lod~"}));
    form.searchEdited("");
    ui.typeIndex = typeItemIndex("smk");
    form.ViewLod();
    EXPECT_EQ(stackRows(ui), (std::vector<std::string>{"INTRO.SMK@d.vid"}));
}

// Sorted by any column, a shadowed copy stays under its winner; the archive column sorts too.
TEST_F(FolderViewTest, sortingKeepsShadowedCopiesUnderTheirWinners) {
    openGame(form, ui);
    form.commandChosen(WindowCommand::ToggleShadowed);
    form.sortList(ListColumn::Archive, false);
    EXPECT_EQ(stackRows(ui),
              (std::vector<std::string>{"INTRO.SMK@d.vid", "BOOM.Wav@c.snd", "readme.txt@b.lod+1",
                                        "README.TXT@a.lod~", "ONLYB.TXT@b.lod", "ONLYA.TXT@a.lod"}));
    form.sortList(ListColumn::Shadows, false);
    EXPECT_EQ(stackRows(ui)[0], "readme.txt@b.lod+1");
    EXPECT_EQ(stackRows(ui)[1], "README.TXT@a.lod~");
    form.sortList(ListColumn::Name, true);
    EXPECT_EQ(stackRows(ui),
              (std::vector<std::string>{"BOOM.Wav@c.snd", "INTRO.SMK@d.vid", "ONLYA.TXT@a.lod",
                                        "ONLYB.TXT@b.lod", "readme.txt@b.lod+1", "README.TXT@a.lod~"}));
}

// The winner is the archive changed last; at the same time, the first by name.
TEST_F(FolderViewTest, theDefaultOrderIsTheMostRecentlyChangedFirst) {
    fs::last_write_time(game / "a.lod", epoch + std::chrono::seconds(300));
    openGame(form, ui);
    EXPECT_EQ(stackRows(ui)[0], "README.TXT@a.lod+1");
    EXPECT_EQ(form.session().folder()->order(),
              (std::vector<std::string>{"a.lod", "b.lod", "c.snd", "d.vid"}));
    fs::last_write_time(game / "b.lod", epoch + std::chrono::seconds(300));
    openGame(form, ui);
    EXPECT_EQ(stackRows(ui)[0], "README.TXT@a.lod+1") << "ties go by name";
}

// The user's order wins over the times, is remembered for the folder, and is taken back when
// the folder opens again: new archives first, archives gone passed over.
TEST_F(FolderViewTest, theUsersOrderIsRememberedPerFolder) {
    MemorySettings settings;
    {
        HeadlessToolkit shown;
        MainForm window(shown, player, settings);
        openGame(window, shown);
        window.commandChosen(WindowCommand::ArrangeArchives);  // cancelled
        EXPECT_EQ(stackRows(shown)[0], "readme.txt@b.lod+1");
        ASSERT_EQ(shown.arrangedLists.size(), 1u);
        EXPECT_EQ(shown.arrangedLists[0],
                  (std::vector<std::string>{"b.lod", "a.lod", "c.snd", "d.vid"}));
        // Hostile answers change nothing: a position twice, one missing.
        shown.arrangeReplies.push_back(std::vector<std::size_t>{3, 3, 0, 1});
        shown.arrangeReplies.push_back(std::vector<std::size_t>{3, 0, 1});
        window.commandChosen(WindowCommand::ArrangeArchives);
        window.commandChosen(WindowCommand::ArrangeArchives);
        EXPECT_EQ(stackRows(shown)[0], "readme.txt@b.lod+1");
        EXPECT_TRUE(settings.values.empty() ||
                    !settings.value(std::string(settings::kFolderOrderPrefix) + "1"));
        // a.lod first; the entry selected stays selected.
        window.numitem(1, true);
        ASSERT_EQ(shown.rows[1].shownCaption(), "ONLYB.TXT");
        shown.arrangeReplies.push_back(std::vector<std::size_t>{1, 0, 2, 3});
        window.commandChosen(WindowCommand::ArrangeArchives);
        EXPECT_EQ(stackRows(shown)[0], "README.TXT@a.lod+1");
        EXPECT_EQ(shown.rows[static_cast<std::size_t>(window.SelectedRow())].shownCaption(),
                  "ONLYB.TXT");
    }
    // Another window: the order remembered; a.lod gone and e.lod new.
    fs::remove(game / "a.lod");
    make("e.lod", LodWriter().add("README.TXT", "from e").build(), 10);
    HeadlessToolkit shown;
    MainForm window(shown, player, settings);
    openGame(window, shown);
    EXPECT_EQ(window.session().folder()->order(),
              (std::vector<std::string>{"e.lod", "b.lod", "c.snd", "d.vid"}));
    EXPECT_EQ(stackRows(shown)[0], "README.TXT@e.lod+1");
}

// What the settings hold for a folder may be anything: what is no order is passed over.
TEST_F(FolderViewTest, aHostileRememberedOrderIsIgnored) {
    const std::string key = std::string(settings::kFolderOrderPrefix) + "1";
    const std::string path = fs::absolute(game).lexically_normal().string();
    const struct {
        const char* what;
        std::string value;
    } cases[] = {
        {"an empty name", path + "\na.lod\n\nb.lod"},
        {"a name with a separator", path + "\n../a.lod"},
        {"too long", path + "\na.lod\n" + std::string(70000, 'x')},
        {"too many names", [&] {
             std::string many = path + "\na.lod";
             for (int i = 0; i < 1001; ++i) {
                 many += "\nn" + std::to_string(i);
             }
             return many;
         }()},
        {"another folder", path + "x\na.lod"},
    };
    for (const auto& hostile : cases) {
        MemorySettings settings;
        settings.setValue(key, hostile.value);
        HeadlessToolkit shown;
        MainForm window(shown, player, settings);
        openGame(window, shown);
        EXPECT_EQ(stackRows(shown)[0], "readme.txt@b.lod+1") << hostile.what;
    }
    // Remembering keeps eight folders, the latest first, and drops what is no order.
    MemorySettings settings;
    settings.setValue(std::string(settings::kFolderOrderPrefix) + "2", "\n\n");
    SettingsStore store(settings);
    for (int i = 0; i < 10; ++i) {
        store.rememberFolderOrder("/f" + std::to_string(i), {"x.lod"});
    }
    store.rememberFolderOrder("/f5", {"y.lod", "two\nlines.lod"});
    EXPECT_EQ(settings.values.size(), settings::kRememberedFolders);
    EXPECT_EQ(settings.value(key), "/f5\ny.lod");
    EXPECT_EQ(store.folderOrder("/f9"), std::vector<std::string>{"x.lod"});
    EXPECT_EQ(store.folderOrder("/f1"), std::nullopt);
}

// The preview, sound and extraction read each entry through its own archive: the winner's
// bytes for a name held twice.
TEST_F(FolderViewTest, previewAndExtractionReadTheWinnersBytes) {
    ui.folderReplies.push_back((folder / "out").string());
    form.SetPathForExtract1Click();
    openGame(form, ui);
    select("readme.txt");
    form.QuickView1Click();
    EXPECT_EQ(ui.previewText, "from b");
    form.SaveSingleFile1Click();
    EXPECT_EQ(read(folder / "out" / "readme.txt"), "from b");
    select("BOOM.Wav");
    form.MediaPlayer1Click(PlayerButton::Play);
    EXPECT_EQ(player.lastOpened(), "RIFFboom");
    // Every row shown, the shadowed copy too: it never replaces its winner's file.
    fs::remove(folder / "out" / "readme.txt");
    form.commandChosen(WindowCommand::ToggleShadowed);
    select("README.TXT");
    EXPECT_EQ(ui.previewText, "from a");
    form.SaveSingleFile2Click();
    EXPECT_EQ(filesIn(folder / "out"), (std::set<std::string>{"readme.txt", "ONLYA.TXT",
                                                               "ONLYB.TXT", "BOOM.wav",
                                                               "INTRO.SMK"}));
    EXPECT_EQ(read(folder / "out" / "readme.txt"), "from b");
    ASSERT_FALSE(ui.errors.empty());
    EXPECT_NE(ui.errors.back().find("README.TXT"), std::string::npos);
    // Dragged out: the same.
    const fs::path drag = folder / "drag";
    fs::create_directories(drag);
    const std::vector<std::string> written = form.dragOut({0, 1}, drag.string());
    EXPECT_EQ(written.size(), 1u);
    EXPECT_EQ(read(drag / "readme.txt"), "from b");
}

// Editing acts on one archive: in the folder's list only "Edytuj to archiwum" is on, and it
// opens the selected entry's archive with that entry selected.
TEST_F(FolderViewTest, editingOpensTheEntrysOwnArchive) {
    openGame(form, ui);
    select("ONLYA.TXT");
    EXPECT_TRUE(form.commandState().edit.folderOpen);
    EXPECT_TRUE(form.commandState().edit.folderEntrySelected);
    EXPECT_FALSE(form.commandState().edit.archiveEditable);
    EXPECT_FALSE(form.commandState().edit.entrySelected);
    EXPECT_FALSE(form.commandState().edit.archiveOpen);
    EXPECT_FALSE(form.commandState().edit.spritesEditable);
    const std::string before = read(game / "a.lod");
    form.RemoveEntry1Click();
    ui.fileReplies.push_back({write("new.txt", "new")});
    form.AddFiles1Click();
    form.filesDropped({(folder / "new.txt").string(), (folder / "new.txt").string()});
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_EQ(read(game / "a.lod"), before);
    EXPECT_EQ(ui.rows.size(), 5u);
    ASSERT_EQ(ui.errors.size(), 3u) << "bad.lod, the removal, the two files dropped";
    EXPECT_EQ(ui.errors[1], texts::kFolderNotEditable);

    form.commandChosen(WindowCommand::EditThisArchive);
    EXPECT_EQ(ui.commands, form.commandState());
    EXPECT_EQ(form.archivePath(), (game / "a.lod").string());
    ASSERT_NE(form.archive(), nullptr);
    EXPECT_FALSE(ui.folderColumnsShown);
    EXPECT_EQ(captions(), (std::vector<std::string>{"README.TXT", "ONLYA.TXT"}));
    EXPECT_EQ(form.SelectedRow(), 1);
    EXPECT_EQ(ui.selectedRow, 1);
    EXPECT_TRUE(form.commandState().edit.archiveEditable);
    EXPECT_TRUE(form.commandState().edit.entrySelected);
    EXPECT_FALSE(form.commandState().edit.folderOpen);
    EXPECT_EQ(ui.archiveTitle, "a.lod");
}

// A folder that cannot be listed is reported and nothing is open; an empty one lists nothing.
TEST_F(FolderViewTest, aFolderThatCannotBeListed) {
    ui.folderReplies.push_back((folder / "missing").string());
    form.OpenFolderClick();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(form.session().folder(), nullptr);
    EXPECT_TRUE(ui.rows.empty());
    fs::create_directories(folder / "empty");
    ui.folderReplies.push_back((folder / "empty").string());
    form.OpenFolderClick();
    EXPECT_EQ(ui.errors.size(), 1u);
    ASSERT_NE(form.session().folder(), nullptr);
    EXPECT_TRUE(ui.rows.empty());
    EXPECT_EQ(ui.archiveTitle, "empty (archiwa: 0, pliki: 0)");
}

}  // namespace
}  // namespace brasvel
