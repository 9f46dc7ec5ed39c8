// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The window's side of the hardening: its actions leave every archive untouched, its preview of a
// decompression bomb shows nothing and says so, and its batch stops at a target name that is a
// folder. The same cases for the command line and the core are in the folder above.

#include <sys/stat.h>

#include <string>
#include <vector>

#include "extract/EntryContent.h"
#include "tests/hardening/ArchiveUntouched.h"
#include "tests/hardening/HardeningArchives.h"
#include "tests/hardening/HardeningSupport.h"
#include "tests/window/FakeWavePlayer.h"
#include "toolkit/HeadlessToolkit.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/MainForm.h"

namespace brasvel::hardening {
namespace {

int rowOf(const HeadlessToolkit& ui, const std::string& caption) {
    for (std::size_t row = 0; row < ui.rows.size(); ++row) {
        if (ui.rows[row].shownCaption() == caption) {
            return static_cast<int>(row);
        }
    }
    ADD_FAILURE() << "no row " << caption;
    return 0;
}

using WindowLeavesArchiveUntouched = ArchiveUntouched;

TEST_F(WindowLeavesArchiveUntouched, ByOpeningPreviewingAndExtractingInTheWindow) {
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form(ui, player);
    const std::string lod = (place / "game.lod").string();
    expectUntouchedBy("opening at start-up", [&] { form.FormCreate("", lod); });
    expectUntouchedBy("opening through the dialog", [&] {
        ui.openReplies.push_back(OpenChoice{lod, 1});
        form.ToolButton1Click();
    });
    expectUntouchedBy("switching the preview on", [&] { form.BitBtn3Click(); });
    expectUntouchedBy("previewing a picture", [&] { form.numitem(rowOf(ui, "PIC.PCX"), true); });
    expectUntouchedBy("previewing a sprite", [&] { form.numitem(rowOf(ui, "HERO.DEF"), true); });
    expectUntouchedBy("stepping to frame 2", [&] { ui.userMovesFrameScroll(2); });
    EXPECT_GT(ui.pictureLoads, 0) << "the preview showed something";
    expectUntouchedBy("extracting the selected entry beside the archive",
                      [&] { form.ToolButton2Click(); });
    expectUntouchedBy("extracting every entry beside the archive", [&] {
        ui.answers.push_back(true);
        form.ToolButton5Click();
    });
    expectUntouchedBy("extracting every entry from the menu", [&] {
        ui.answers.push_back(true);
        form.SaveSingleFile2Click();
    });
    EXPECT_TRUE(fs::exists(place / "README.TXT")) << "the extraction wrote beside the archive";
    expectUntouchedBy("closing", [&] { form.FormClose(); });
}

TEST_F(WindowLeavesArchiveUntouched, ByPlayingAndExtractingSoundsAndVideosInTheWindow) {
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form(ui, player);
    expectUntouchedBy("opening sounds", [&] {
        ui.openReplies.push_back(OpenChoice{(place / "game.snd").string(), 2});
        form.ToolButton1Click();
    });
    expectUntouchedBy("playing", [&] { form.MediaPlayer1Click(PlayerButton::Play); });
    expectUntouchedBy("selecting and playing another sound", [&] {
        form.numitem(1, true);
        form.MediaPlayer1Click(PlayerButton::Play);
    });
    EXPECT_EQ(player.lastOpened(), "RIFF bell");
    expectUntouchedBy("extracting a sound", [&] { form.ToolButton2Click(); });
    expectUntouchedBy("extracting every sound", [&] {
        ui.answers.push_back(true);
        form.ToolButton5Click();
    });
    expectUntouchedBy("opening videos", [&] {
        ui.openReplies.push_back(OpenChoice{(place / "game.vid").string(), 3});
        form.ToolButton1Click();
    });
    expectUntouchedBy("extracting every video", [&] {
        ui.answers.push_back(true);
        form.ToolButton5Click();
    });
    EXPECT_TRUE(fs::exists(place / "OUTRO.BIK"));
}

// An entry may carry the archive's own file name; extracted beside the archive it must not take
// the archive's place.
TEST_F(WindowLeavesArchiveUntouched, WhenAnEntryBesideItCarriesItsOwnName) {
    put("self.lod", lodArchive("self.lod"));
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form(ui, player);
    form.FormCreate("", (place / "self.lod").string());
    expectUntouchedBy("extracting every entry beside the archive in the window", [&] {
        ui.answers.push_back(true);
        form.ToolButton5Click();
    });
    form.numitem(rowOf(ui, "self.lod"), true);
    expectUntouchedBy("extracting the entry named like the archive in the window",
                      [&] { form.ToolButton2Click(); });
    ASSERT_FALSE(ui.errors.empty());
    EXPECT_NE(ui.errors.back().find("self.lod"), std::string::npos) << ui.errors.back();
}

TEST(ADecompressionBomb, InTheWindowsPreviewIsShownInThePanelAndShowsNoPicture) {
    const ScratchArea area;
    const std::string& bomb = gigabyteBomb();
    writeFile(area.root() / "bomb.lod",
              LodWriter()
                  .addStored("BOMB.PCX", bomb, 1000, static_cast<std::int32_t>(bomb.size()))
                  .build());
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form(ui, player);
    form.FormCreate("", (area.root() / "bomb.lod").string());
    form.BitBtn3Click();

    EXPECT_TRUE(ui.errors.empty()) << "a preview's failure is shown in the panel, not a box";
    EXPECT_NE(ui.previewMessage.find(kDamagedEntry), std::string::npos) << ui.previewMessage;
    EXPECT_EQ(ui.pictureLoads, 0);
}

TEST(ATargetNameThatIsAFolder, FailsItsEntryInTheWindowsBatchWhichGoesOn) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "three.lod", entries.archive);
    fs::create_directories(area.root() / "out" / "BIG.TXT");
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form(ui, player);
    ui.openReplies.push_back(OpenChoice{(area.root() / "three.lod").string(), 1});
    form.ToolButton1Click();
    ui.folderReplies.push_back((area.root() / "out").string());
    form.SetPathForExtract1Click();
    ui.answers.push_back(true);

    form.ToolButton5Click();

    ASSERT_EQ(ui.errors.size(), 1U);
    EXPECT_NE(ui.errors[0].find("BIG.TXT: File access denied"), std::string::npos) << ui.errors[0];
    EXPECT_EQ(namesIn(area.root() / "out"),
              (std::vector<std::string>{"AFTER.TXT", "BIG.TXT", "SMALL.TXT"}))
        << "the window's batch goes on past a failure";
    EXPECT_TRUE(fs::is_directory(area.root() / "out" / "BIG.TXT"));
}

TEST(AFifoChosenAsTheArchive, IsReportedAtOnceByTheWindowWithoutWaitingForAWriter) {
    const ScratchArea area;
    const fs::path fifo = area.root() / "pipe.lod";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form(ui, player);
    ui.openReplies.push_back(OpenChoice{fifo.string(), 1});

    form.ToolButton1Click();  // a hang here fails the test by its time limit

    ASSERT_EQ(ui.errors.size(), 1U);
    EXPECT_NE(ui.errors[0].find("is not a regular file"), std::string::npos) << ui.errors[0];
    EXPECT_TRUE(ui.rows.empty());
}

TEST(TwoEntriesOfOneName, FailTheSecondInTheWindowsBatchWithTheFirstsFileKept) {
    const ScratchArea area;
    writeFile(area.root() / "twice.lod",
              LodWriter().add("Same.txt", "first").add("SAME.TXT", "second").build());
    fs::create_directories(area.root() / "out");
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form(ui, player);
    ui.openReplies.push_back(OpenChoice{(area.root() / "twice.lod").string(), 1});
    form.ToolButton1Click();
    ui.folderReplies.push_back((area.root() / "out").string());
    form.SetPathForExtract1Click();
    ui.answers.push_back(true);

    form.ToolButton5Click();

    ASSERT_EQ(ui.errors.size(), 1U);
    // The Polish window's words for it (the command line's are "Name already written in this run").
    EXPECT_NE(ui.errors[0].find("SAME.TXT: Plik o tej nazwie już zapisano w tym wypakowaniu"),
              std::string::npos)
        << ui.errors[0];
    EXPECT_NE(ui.errors[0].find("Same.txt"), std::string::npos) << ui.errors[0];
    EXPECT_EQ(namesIn(area.root() / "out"), std::vector<std::string>{"Same.txt"});
    EXPECT_EQ(readFile(area.root() / "out" / "Same.txt"), "first");
}

}  // namespace
}  // namespace brasvel::hardening
