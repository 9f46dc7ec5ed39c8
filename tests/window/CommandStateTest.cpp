// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Every command's state, computed in one place and shown after each of the user's events as a
// front end sends them; and what the window remembers between runs.

#include <gtest/gtest.h>

#include "tests/window/WindowFolderTest.h"
#include "window/SettingsStore.h"

namespace brasvel {
namespace {

using namespace writers;

class CommandStateTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        archive = write("game.lod", LodWriter()
                                        .add("A.PCX", gamePcx8(PixelGrid(2, 2, 7), rampPalette()))
                                        .add("B.DEF", fiveFrameSprite())
                                        .add("C.TXT", "text")
                                        .build());
    }

    void send(WindowCommand command) { ui.events()->commandChosen(command); }
    // The user selects `rows` alone, the last one focused.
    void selectRows(const std::vector<int>& rows) {
        ui.events()->selectionChanged({0, 1, 2}, rows, rows.empty() ? -1 : rows.back());
    }
    // What the front end shows is what the rule says, after every event.
    void expectShown() const { EXPECT_EQ(ui.commands, form.commandState()); }

    std::string archive;
};

TEST_F(CommandStateTest, eachEventLeavesEveryCommandAsTheStateAllowsIt) {
    ASSERT_EQ(ui.events(), &form);
    EXPECT_FALSE(ui.commands.entryCommands) << "nothing open";
    EXPECT_FALSE(ui.commands.edit.archiveOpen);
    EXPECT_FALSE(ui.commands.playerButtons);

    ui.openReplies.push_back(OpenChoice{archive, 1});
    send(WindowCommand::OpenArchive);
    expectShown();
    EXPECT_TRUE(ui.commands.edit.archiveEditable);
    EXPECT_TRUE(ui.commands.edit.spritesEditable);

    struct Step {
        const char* what;
        std::vector<int> rows;
        bool entryCommands;
        std::string extractItemText;
        bool spriteSelected;
    };
    const std::vector<Step> steps = {
        {"one picture", {0}, true, "", false},
        {"two rows: the item counts them", {1, 0}, true, "Wy&pakuj zaznaczone pliki (2)...",
         false},
        {"the sprite alone", {1}, true, "", true},
        {"three rows", {0, 1, 2}, true, "Wy&pakuj zaznaczone pliki (3)...", false},
        {"none", {}, false, "", false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        selectRows(step.rows);
        expectShown();
        EXPECT_EQ(ui.commands.entryCommands, step.entryCommands);
        EXPECT_EQ(ui.commands.extractItemText, step.extractItemText);
        EXPECT_EQ(ui.commands.edit.entrySelected, step.entryCommands);
        EXPECT_EQ(ui.commands.edit.spriteSelected, step.spriteSelected);
    }

    // The preview's commands follow what it shows.
    selectRows({0});
    send(WindowCommand::TogglePreview);
    expectShown();
    EXPECT_TRUE(ui.commands.savePicture);
    EXPECT_FALSE(ui.commands.exportSprite);
    selectRows({1});
    EXPECT_TRUE(ui.commands.savePicture) << "a frame is shown";
    EXPECT_TRUE(ui.commands.exportSprite);
    selectRows({2});
    EXPECT_FALSE(ui.commands.savePicture) << "a text is no picture";

    // An edit and its undo, as the menu's items send them.
    send(WindowCommand::RemoveEntry);
    expectShown();
    EXPECT_TRUE(ui.commands.edit.changed);
    EXPECT_TRUE(ui.commands.edit.canUndo);
    send(WindowCommand::Undo);
    expectShown();
    EXPECT_FALSE(ui.commands.edit.changed);
    EXPECT_TRUE(ui.commands.edit.canRedo);
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
}

TEST_F(CommandStateTest, thePlayerButtonsFollowTheSoundAndAPressPlaysOnlyAnOpenOne) {
    const std::string sounds = write("s.snd", SndWriter().add("BOOM", "RIFFa").build());
    ui.openReplies.push_back(OpenChoice{sounds, 2});
    send(WindowCommand::OpenArchive);
    EXPECT_TRUE(ui.commands.playerButtons) << "the first row's sound is ready";
    ui.events()->playerButtonPressed(PlayerButton::Play);
    EXPECT_TRUE(player.playing);
    selectRows({});
    ui.events()->playerButtonPressed(PlayerButton::Play);
    EXPECT_FALSE(ui.commands.playerButtons) << "no row, no sound";
    EXPECT_FALSE(player.playing);
}

// A value the window did not write reads as the default; the recent archives keep their order,
// each once, at most eight.
TEST(SettingsStore, readsWhatItWroteAndTheDefaultForAnythingElse) {
    struct Case {
        std::map<std::string, std::string, std::less<>> stored;
        ListLook look;
        std::optional<ListColumn> column;
        bool ascending;
        std::vector<std::string> recent;
    };
    const std::vector<Case> cases = {
        {{}, ListLook::Icons, std::nullopt, true, {}},
        {{{"listLook", "details"}, {"sortColumn", "storedSize"}, {"sortOrder", "descending"}},
         ListLook::Details, ListColumn::StoredSize, false, {}},
        {{{"listLook", "Details"}, {"sortColumn", "size "}, {"sortOrder", "down"}},
         ListLook::Icons, std::nullopt, true, {}},
        {{{"recent/1", "/a.lod"}, {"recent/2", ""}, {"recent/3", "/a.lod"}, {"recent/4", "/b.snd"},
          {"recent/9", "/c.vid"}},
         ListLook::Icons, std::nullopt, true, {"/a.lod", "/b.snd"}},
    };
    for (const Case& each : cases) {
        MemorySettings settings;
        settings.values = each.stored;
        const SettingsStore store(settings);
        EXPECT_EQ(store.listLook(), each.look);
        EXPECT_EQ(store.sortColumn(), each.column);
        EXPECT_EQ(store.sortAscending(), each.ascending);
        EXPECT_EQ(store.recentArchives(), each.recent);
    }

    MemorySettings settings;
    SettingsStore store(settings);
    for (int i = 1; i <= 9; ++i) {
        store.rememberRecent("/" + std::to_string(i) + ".lod");
    }
    store.rememberRecent("/5.lod");
    EXPECT_EQ(store.recentArchives().front(), "/5.lod");
    EXPECT_EQ(store.recentArchives().size(), 8u);
    EXPECT_EQ(store.recentArchives().back(), "/2.lod") << "the oldest beyond eight went";
    store.forgetRecent("/9.lod");
    EXPECT_EQ(SettingsStore(settings).recentArchives(), store.recentArchives());
    EXPECT_EQ(settings.value("recent/8"), std::nullopt);
}

}  // namespace
}  // namespace brasvel
