// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "base/ResourceError.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"
#include "tests/window/FakeWavePlayer.h"
#include "tests/window/WindowFolderTest.h"
#include "toolkit/HeadlessToolkit.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/MainForm.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using writers::LodWriter;
using writers::SndWriter;
using writers::VidWriter;

std::string wav(const std::string& tag) { return "RIFF" + tag; }

class MainFormTest : public WindowFolderTest {
protected:
    // Opens `path` through the dialog with the filter `filterIndex`.
    void openThroughDialog(const std::string& path, int filterIndex) {
        ui.openReplies.push_back(OpenChoice{path, filterIndex});
        form.ToolButton1Click();
    }

    void chooseFolder(const fs::path& chosen) {
        ui.folderReplies.push_back(chosen.string());
        form.SetPathForExtract1Click();
    }

    std::string lodOfTexts(int count) {
        LodWriter writer;
        for (int i = 0; i < count; ++i) {
            writer.add("F" + std::to_string(i) + ".TXT", "text " + std::to_string(i), i % 2 == 0);
        }
        return write("many.lod", writer.build());
    }
};

// --- Start-up ---

TEST_F(MainFormTest, startsWithTheDataFolderAndNoArchive) {
    form.FormCreate("", "");
    EXPECT_EQ(form.StartDir(), "data");
    EXPECT_FALSE(ui.listVisible);
    EXPECT_EQ(ui.statusWidths[0], 100);
    EXPECT_EQ(ui.statusWidths[2], 300);
    EXPECT_EQ(ui.statusWidths[3], 100);
    ui.openReplies.push_back(std::nullopt);
    form.ToolButton1Click();
    EXPECT_EQ(ui.openDialogDirectories.back(), "data");
}

TEST_F(MainFormTest, theGamesFolderSettingLeadsTheOpenDialog) {
    form.FormCreate("/games/brasvel/", "");
    EXPECT_EQ(form.StartDir(), "/games/brasvel/data");
}

TEST_F(MainFormTest, opensTheCommandLinesArchiveByItsExactCaseExtension) {
    const std::string snd = write("sounds.snd", SndWriter().add("BOOM", wav("boom")).build());
    form.FormCreate("", snd);
    EXPECT_EQ(ui.statusTexts[2], "File Name : " + snd);
    ASSERT_NE(form.archive(), nullptr);
    EXPECT_EQ(&form.archive()->format(), &kSndFormat);
    EXPECT_EQ(ui.rows.size(), 1u);
    EXPECT_TRUE(player.isOpen()) << "the first sound is ready to play";
    EXPECT_EQ(player.lastOpened(), wav("boom"));
}

TEST_F(MainFormTest, aMixedCaseExtensionOnTheCommandLineOpensNothing) {
    const std::string path = write("movies.Vid", VidWriter().add("A.SMK", "x").build());
    form.FormCreate("", path);
    EXPECT_EQ(ui.statusTexts[2], "File Name : " + path);
    EXPECT_FALSE(ui.listVisible);
    EXPECT_TRUE(ui.rows.empty());
    EXPECT_EQ(form.archive(), nullptr);
}

TEST_F(MainFormTest, theDialogsFilterNotTheExtensionDecidesTheReader) {
    // A sound archive read with the LOD filter is read as a LOD archive.
    const std::string path = write("odd.snd", LodWriter().add("A.DEF", "d").add("B.PCX", "p").build());
    openThroughDialog(path, 1);
    ASSERT_NE(form.archive(), nullptr);
    EXPECT_EQ(&form.archive()->format(), &kLodFormat);
    ASSERT_EQ(ui.rows.size(), 2u);
    EXPECT_EQ(ui.rows[0].shownCaption(), "A.DEF");
    EXPECT_EQ(ui.statusTexts[2], "File Name : " + path);
}

TEST_F(MainFormTest, cancellingTheOpenDialogKeepsEverything) {
    const std::string snd = write("sounds.snd", SndWriter().add("BOOM", wav("boom")).build());
    openThroughDialog(snd, 2);
    ui.openReplies.push_back(std::nullopt);
    form.LoadResurceFile1Click();
    EXPECT_EQ(ui.rows.size(), 1u);
    EXPECT_TRUE(player.isOpen());
    EXPECT_EQ(form.archivePath(), snd);
}

TEST_F(MainFormTest, aDamagedArchiveIsReportedAndTheProgramGoesOn) {
    const std::string full = LodWriter().add("A.TXT", "a").add("B.TXT", "b").build();
    const std::string path = write("cut.lod", full.substr(0, 92 + 32 + 5));
    openThroughDialog(path, 1);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("Read beyond end of file"), std::string::npos);
    EXPECT_EQ(ui.rows.size(), 1u);
    openThroughDialog((folder / "missing.lod").string(), 1);
    ASSERT_EQ(ui.errors.size(), 2u);
    EXPECT_NE(ui.errors[1].find("File not found"), std::string::npos);
}

TEST_F(MainFormTest, aDirectoryEndingEarlyNeverLetsTheFilterOrABatchReachAnEarlierArchive) {
    LodWriter earlier;
    for (int i = 0; i < 5; ++i) {
        earlier.add("OLD" + std::to_string(i) + ".TXT", "old");
    }
    openThroughDialog(write("earlier.lod", earlier.build()), 1);
    // The one whole entry keeps its data in the header's unused bytes, before the cut.
    std::string full = LodWriter().addRaw("NEW.TXT", 12, 3, 0).addRaw("LOST.TXT", 12, 3, 0).build();
    full.replace(12, 3, "new");
    openThroughDialog(write("cut.lod", full.substr(0, 92 + 32 + 5)), 1);
    EXPECT_EQ(ui.statusTexts[0], "Total Files: 2");
    ui.typeIndex = 0;
    form.ViewLod();
    ASSERT_EQ(ui.rows.size(), 1u);
    EXPECT_EQ(ui.rows[0].shownCaption(), "NEW.TXT");
    chooseFolder(folder / "out");
    form.SaveSingleFile2Click();
    EXPECT_EQ(filesIn(folder / "out"), std::set<std::string>{"NEW.TXT"});
}

// --- Extracting one entry ---

TEST_F(MainFormTest, withNoArchiveTheSingleCommandDoesNothing) {
    form.ToolButton2Click();
    form.SaveSingleFile1Click();
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_TRUE(filesIn(folder / "out").empty());
}

TEST_F(MainFormTest, extractsTheSelectedEntryBesideTheArchiveWhenNoFolderIsChosen) {
    const std::string path = write("one.lod", LodWriter()
                                                  .add("FIRST.TXT", "first", true)
                                                  .add("second.txt", "second entry", true)
                                                  .build());
    openThroughDialog(path, 1);
    form.numitem(1, true);
    form.SaveSingleFile1Click();
    EXPECT_EQ(read(folder / "second.txt"), "second entry");
    EXPECT_FALSE(fs::exists(folder / "FIRST.TXT"));
    EXPECT_EQ(ui.focusCount, 1);
}

TEST_F(MainFormTest, aSelectionLeftFromALongerListExtractsNothing) {
    openThroughDialog(lodOfTexts(5), 1);
    chooseFolder(folder / "out");
    form.numitem(4, true);
    ui.typeIndex = 3;  // "*.Pcx": no rows
    form.ViewLod();
    form.ToolButton2Click();
    EXPECT_TRUE(filesIn(folder / "out").empty());
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(MainFormTest, aSoundIsExtractedAsNameDotWavAndAVideoUnderItsOwnName) {
    openThroughDialog(write("s.snd", SndWriter().add("BOOM", wav("1")).build()), 2);
    chooseFolder(folder / "out");
    form.ToolButton2Click();
    EXPECT_EQ(read(folder / "out" / "BOOM.wav"), wav("1"));
    openThroughDialog(write("v.vid", VidWriter().add("intro.smk", "SMK").build()), 3);
    form.ToolButton2Click();
    EXPECT_EQ(read(folder / "out" / "intro.smk"), "SMK");
}

// The core's error texts pass through the translation like the window's own; a text the table
// lacks, and where the error happened, are shown as the core says them.
TEST_F(MainFormTest, coreErrorsAreShownInTheWindowsLanguage) {
    ui.translations["Read beyond end of file"] = "Odczyt poza końcem pliku";
    ui.translations["%1 (%2)"] = "%1 [%2]";
    ui.translations["%1: %2"] = "%1 -> %2";
    const std::string full = LodWriter().add("A.TXT", "a").add("B.TXT", "b").build();
    openThroughDialog(write("cut.lod", full.substr(0, 92 + 32 + 5)), 1);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind("Odczyt poza końcem pliku [needed ", 0), 0u) << ui.errors[0];
    EXPECT_EQ(ui.errors[0].back(), ']') << ui.errors[0];

    const std::string bad =
        write("bad.lod", LodWriter().addStored("BROKEN.TXT", "not zlib at all", 50, 15).build());
    openThroughDialog(bad, 1);
    form.ToolButton2Click();
    ASSERT_EQ(ui.errors.size(), 2u);
    EXPECT_EQ(ui.errors[1].rfind("BROKEN.TXT -> Damaged entry [", 0), 0u) << ui.errors[1];
}

TEST(WindowTextsTest, everyKindTheCoreRaisesHasOneTextInTheTable) {
    for (const brasvel::ErrorKind kind : brasvel::kErrorKinds) {
        const auto entries = std::count_if(
            std::begin(brasvel::texts::kErrorTexts), std::end(brasvel::texts::kErrorTexts),
            [&](const brasvel::texts::ErrorText& known) { return known.kind == kind; });
        const bool worded = kind == brasvel::ErrorKind::Worded;
        EXPECT_EQ(entries, worded ? 0 : 1) << brasvel::errorKindText(kind);
        if (!worded) {
            EXPECT_STRNE(brasvel::texts::errorText(kind), "") << brasvel::errorKindText(kind);
        }
    }
}

// The window's words come from the kind, not from the text raised: the text is the system's or
// the window's own only where the kind says so.
TEST(WindowTextsTest, anErrorIsWordedByItsKind) {
    using brasvel::ErrorKind;
    using brasvel::ResourceError;
    const auto marked = [](const char* source) { return std::string("<") + source + ">"; };
    struct Case {
        ResourceError error;
        std::string shown;
    };
    const Case cases[] = {
        {ResourceError(ErrorKind::ReadBeyondEnd), "<Read beyond end of file>"},
        {ResourceError(ErrorKind::ArchiveChanged), "<Archiwum zmieniło się podczas odczytu>"},
        // The pattern is translated, then the raised text filled in.
        {ResourceError::withText(ErrorKind::Unexpected, "bad %2 cast"),
         "<Nieoczekiwany błąd: bad %2 cast>"},
        {ResourceError::worded("Brak urządzenia"), "Brak urządzenia"},
        // A kind's own text raised by the window itself is worded by its kind all the same.
        {ResourceError::withText(ErrorKind::DiskFull, "whatever the words"), "<Disk full>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(brasvel::texts::describeError(c.error, marked), c.shown) << c.error.text();
    }
    const auto asWritten = [](const char* source) { return std::string(source); };
    EXPECT_EQ(
        brasvel::texts::describeError(ResourceError(ErrorKind::ArchiveChanged, "a.lod"), asWritten),
        "Archiwum zmieniło się podczas odczytu (a.lod)");
    EXPECT_EQ(
        brasvel::texts::describeError(
            ResourceError::withText(ErrorKind::FileFailure, "I/O error 5", "a.lod"), asWritten),
        "Błąd pliku: I/O error 5 (a.lod)");
}

TEST_F(MainFormTest, aFailedEntryIsReportedByName) {
    const std::string path =
        write("bad.lod", LodWriter().addStored("BROKEN.TXT", "not zlib at all", 50, 15).build());
    openThroughDialog(path, 1);
    form.ToolButton2Click();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind("BROKEN.TXT: ", 0), 0u) << ui.errors[0];
    EXPECT_FALSE(fs::exists(folder / "BROKEN.TXT"));
}

// --- Extracting every shown entry ---

struct BatchCase {
    int rows;
    bool toolbar;
    std::vector<int> addedAt;  // rows after which the bar moves
    int advance;
};

class LodBatchProgress : public MainFormTest, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(LodBatchProgress, movesTheBarInRoundedSteps) {
    const BatchCase& batch = GetParam();
    openThroughDialog(lodOfTexts(batch.rows), 1);
    chooseFolder(folder / "out");
    batch.toolbar ? form.ToolButton5Click() : form.SaveSingleFile2Click();
    std::vector<int> expected;
    int position = 0;
    for (std::size_t i = 0; i < batch.addedAt.size(); ++i) {
        position = std::min(100, position + batch.advance);
        expected.push_back(position);
    }
    expected.push_back(0);  // the reset at the end
    EXPECT_EQ(ui.batchProgressHistory, expected);
    EXPECT_EQ(filesIn(folder / "out").size(), static_cast<std::size_t>(batch.rows));
    EXPECT_FALSE(ui.extraVisible);
    EXPECT_EQ(form.SelectedRow(), 0);
}

std::vector<int> everyNth(int rows, int step) {
    std::vector<int> at;
    for (int i = 0; i < rows; i += step) {
        at.push_back(i);
    }
    return at;
}

INSTANTIATE_TEST_SUITE_P(
    RoundingHalfToEven, LodBatchProgress,
    ::testing::Values(BatchCase{250, false, everyNth(250, 2), 1},   // 2.5 rounds to 2
                      BatchCase{250, true, everyNth(250, 25), 10},  // 25
                      BatchCase{4, false, everyNth(4, 1), 1},       // 0.04 rounds to 0, then 1
                      BatchCase{4, true, everyNth(4, 1), 10},       // 0.4 rounds to 0, then 1
                      BatchCase{150, false, everyNth(150, 2), 1},   // 1.5 rounds to 2
                      BatchCase{35, true, everyNth(35, 4), 10}));   // 3.5 rounds to 4

TEST_F(MainFormTest, theMenuBatchOf250IsFullFromRow198) {
    openThroughDialog(lodOfTexts(250), 1);
    chooseFolder(folder / "out");
    form.SaveSingleFile2Click();
    EXPECT_EQ(ui.batchProgressHistory[98], 99);   // after row 196
    EXPECT_EQ(ui.batchProgressHistory[99], 100);  // after row 198
}

TEST_F(MainFormTest, cancelWritesNothing) {
    openThroughDialog(lodOfTexts(3), 1);
    chooseFolder(folder / "out");
    form.numitem(2, true);
    ui.answers = {false, false};
    form.ToolButton5Click();
    form.SaveSingleFile2Click();
    EXPECT_TRUE(filesIn(folder / "out").empty());
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].caption, "Are you sure?");
    EXPECT_EQ(ui.questions[0].text, "Extract may be long operation  !");
    EXPECT_EQ(ui.questions[1].text, "It may be long operation :)");
    EXPECT_EQ(form.SelectedRow(), 2) << "the selection stays";
    EXPECT_FALSE(ui.extraVisible);
}

TEST_F(MainFormTest, withNoArchiveTheBatchCommandsDoNothing) {
    form.ToolButton5Click();
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_FALSE(ui.extraVisible);
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_FALSE(ui.commands.entryCommands);
}

TEST_F(MainFormTest, aFilteredBatchWritesExactlyItsRows) {
    const std::string path = write("mixed.lod", LodWriter()
                                                    .add("A.TXT", "a")
                                                    .add("B.DEF", "b")
                                                    .add("C.txt", "c", true)
                                                    .add("D.Txt", "d")
                                                    .build());
    openThroughDialog(path, 1);
    chooseFolder(folder / "out");
    ui.typeIndex = 5;  // "*.Txt"
    form.ViewLod();
    form.SaveSingleFile2Click();
    EXPECT_EQ(filesIn(folder / "out"), (std::set<std::string>{"A.TXT", "C.txt"}));
    EXPECT_EQ(read(folder / "out" / "C.txt"), "c");
}

TEST_F(MainFormTest, soundAndVideoBatchesAdvanceByOneAndSeven) {
    SndWriter sounds;
    for (int i = 0; i < 3; ++i) {
        sounds.add("S" + std::to_string(i), wav(std::to_string(i)));
    }
    openThroughDialog(write("s.snd", sounds.build()), 2);
    chooseFolder(folder / "out");
    form.SaveSingleFile2Click();
    EXPECT_EQ(ui.questions.back().text, "It Is long operation :)");
    EXPECT_EQ(ui.batchProgressHistory, (std::vector<int>{1, 2, 3, 0}));

    VidWriter videos;
    for (int i = 0; i < 20; ++i) {
        videos.add("V" + std::to_string(i) + ".SMK", "v");
    }
    ui.batchProgressHistory.clear();
    openThroughDialog(write("v.vid", videos.build()), 3);
    form.ToolButton5Click();
    ASSERT_EQ(ui.batchProgressHistory.size(), 21u);
    EXPECT_EQ(ui.batchProgressHistory[13], 98);   // the 14th video
    EXPECT_EQ(ui.batchProgressHistory[14], 100);  // full from the 15th
    EXPECT_EQ(ui.batchProgressHistory[19], 100);
    EXPECT_EQ(filesIn(folder / "out").size(), 23u);
}

TEST_F(MainFormTest, aBatchGoesOnPastADamagedEntryAndEndsWithOneSummary) {
    const std::string path = write("bad.lod", LodWriter()
                                                  .add("GOOD1.TXT", "1")
                                                  .add("GOOD2.TXT", "2", true)
                                                  .addStored("BAD.TXT", "garbage", 99, 7)
                                                  .add("LATER.TXT", "4")
                                                  .build());
    openThroughDialog(path, 1);
    chooseFolder(folder / "out");
    form.SaveSingleFile2Click();
    const std::set<std::string> written = filesIn(folder / "out");
    EXPECT_TRUE(written.count("GOOD1.TXT") && written.count("GOOD2.TXT"));
    EXPECT_FALSE(written.count("BAD.TXT"));
    EXPECT_TRUE(written.count("LATER.TXT"));
    EXPECT_EQ(written.size(), 3u) << "no part file is left";
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "Wypakowano 3 z 4 plików do " + (folder / "out").string() +
                                "/\nNie udało się wypakować (1): BAD.TXT: Damaged entry (is not a valid zlib stream)");
    EXPECT_FALSE(ui.extraVisible) << "the progress panel always closes";
    EXPECT_FALSE(ui.extraVisibleAtReport) << "and before the summary shows";
    EXPECT_EQ(ui.batchProgress, 0);
}

TEST_F(MainFormTest, cancelStopsABatchBetweenFilesAndKeepsThoseFinished) {
    openThroughDialog(lodOfTexts(10), 1);
    chooseFolder(folder / "out");
    ui.cancelAfterFiles = 3;
    form.ToolButton5Click();
    EXPECT_EQ(filesIn(folder / "out"), (std::set<std::string>{"F0.TXT", "F1.TXT", "F2.TXT", "F3.TXT"}));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0], "Wypakowano 4 z 10 plików do " + (folder / "out").string() +
                                 "/\nPrzerwano na życzenie użytkownika.");
    EXPECT_FALSE(ui.extraVisible);
}

TEST_F(MainFormTest, theSummaryNamesTheFolderBesideAnArchiveOpenedByARelativePath) {
    lodOfTexts(2);
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    openThroughDialog("many.lod", 1);
    form.ToolButton5Click();
    fs::current_path(before);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0], "Wypakowano 2 z 2 plików do " + (folder / "").lexically_normal().string());
}

TEST_F(MainFormTest, aBatchIntoAMissingFolderClosesItsPanelAndSaysWhy) {
    openThroughDialog(lodOfTexts(2), 1);
    chooseFolder(folder / "gone");
    form.ToolButton5Click();
    EXPECT_FALSE(ui.extraVisible);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(ui.notices.empty());
}

// The fault once seen: POWITANIE.txt selected, *.Def chosen, F2 wrote TORCH.DEF.
TEST_F(MainFormTest, theSelectionFollowsItsEntryThroughTheTypeBoxOrIsGone) {
    const std::string path = write("mixed.lod", LodWriter()
                                                    .add("TORCH.DEF", "d")
                                                    .add("ARROW.DEF", "d")
                                                    .add("POWITANIE.txt", "hej")
                                                    .add("SIGN.TXT", "s")
                                                    .build());
    openThroughDialog(path, 1);
    chooseFolder(folder / "out");
    form.numitem(2, true);
    ui.typeIndex = typeItemIndex("txt");
    form.ViewLod();
    EXPECT_EQ(form.SelectedRow(), 0) << "POWITANIE.txt is the first text";
    EXPECT_EQ(ui.selectedRow, 0);
    EXPECT_TRUE(ui.commands.entryCommands);
    ui.typeIndex = typeItemIndex("def");
    form.ViewLod();
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_EQ(ui.selectedRow, -1);
    EXPECT_FALSE(ui.commands.entryCommands);
    form.ToolButton2Click();
    EXPECT_TRUE(filesIn(folder / "out").empty()) << "F2 writes nothing with nothing selected";
    ui.typeIndex = 0;
    form.ViewLod();
    EXPECT_EQ(form.SelectedRow(), -1) << "a lost selection does not come back";
    form.numitem(1, true);
    form.numitem(1, false);  // a click beside the rows clears the selection
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_FALSE(ui.commands.entryCommands);
}

TEST_F(MainFormTest, theSearchBoxNarrowsTheListAndTheSelectionFollowsItsEntry) {
    openThroughDialog(lodOfTexts(12), 1);  // F0.TXT ... F11.TXT
    form.numitem(11, true);
    form.searchEdited("f1");
    EXPECT_EQ(ui.rows.size(), 3u);  // F1, F10, F11
    EXPECT_EQ(ui.rows[2].shownCaption(), "F11.TXT");
    EXPECT_EQ(form.SelectedRow(), 2);
    EXPECT_EQ(ui.selectedRow, 2);
    form.searchEdited("f2");
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_FALSE(ui.commands.entryCommands);
    openThroughDialog(lodOfTexts(30), 1);
    EXPECT_EQ(ui.rows.size(), 11u) << "a new archive is listed through the search too";
}

TEST_F(MainFormTest, aFileChosenAsTheWrongKindIsOfferedAsTheKindItLooksLike) {
    const std::string path = write("data.snd", LodWriter().add("A.TXT", "abc").build());
    ui.answers = {false};
    openThroughDialog(path, 2);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text,
              "data.snd nie wygląda na archiwum SND, lecz na archiwum LOD. Otworzyć je jako "
              "archiwum LOD?");
    EXPECT_EQ(form.archive(), nullptr);
    EXPECT_TRUE(ui.rows.empty());
    openThroughDialog(path, 2);  // OK this time
    ASSERT_NE(form.archive(), nullptr);
    EXPECT_EQ(&form.archive()->format(), &kLodFormat);
    EXPECT_EQ(ui.rows.size(), 1u);
    EXPECT_EQ(ui.archiveTitle, "data.snd");
}

TEST_F(MainFormTest, aBatchRunsAsAJobShownInTheBatchPanel) {
    openThroughDialog(lodOfTexts(20), 1);
    chooseFolder(folder / "out");
    form.ToolButton5Click();
    EXPECT_EQ(ui.jobDisplays, std::vector<JobDisplay>{JobDisplay::BatchPanel});
    EXPECT_EQ(ui.offThreadCalls, 0) << "the work touched the widgets";
}

// --- The extraction folder ---

TEST_F(MainFormTest, aChosenFolderGetsASeparatorAndCancelEmptiesIt) {
    chooseFolder(folder / "out");
    EXPECT_EQ(form.ExtractDir(), (folder / "out").string() + "/");
    chooseFolder("/");
    EXPECT_EQ(form.ExtractDir(), "/");
    ui.folderReplies.push_back(std::nullopt);
    form.SetPathForExtract1Click();
    EXPECT_EQ(form.ExtractDir(), "");
    EXPECT_EQ(ui.folderCaptions.back(), "Select Directory");
}

TEST_F(MainFormTest, afterCancellingTheChooserFilesGoBesideTheArchiveAgain) {
    const std::string path = write("a.lod", LodWriter().add("HELLO.TXT", "hi").build());
    openThroughDialog(path, 1);
    chooseFolder(folder / "out");
    ui.folderReplies.push_back(std::nullopt);
    form.SetPathForExtract1Click();
    form.ToolButton2Click();
    EXPECT_EQ(read(folder / "HELLO.TXT"), "hi");
    EXPECT_TRUE(filesIn(folder / "out").empty());
}

TEST_F(MainFormTest, aRemovedFolderFailsTheWriteWithAFileError) {
    openThroughDialog(write("a.lod", LodWriter().add("HELLO.TXT", "hi").build()), 1);
    chooseFolder(folder / "gone");
    form.ToolButton2Click();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("File not found"), std::string::npos);
}

// --- Leaving, dialogs ---

TEST_F(MainFormTest, bothExitCommandsCloseTheWindow) {
    form.ToolButton4Click();
    EXPECT_TRUE(ui.closed);
    ui.closed = false;
    form.Exittheprogram1Click();
    EXPECT_TRUE(ui.closed);
}

TEST_F(MainFormTest, closingReleasesThePlayer) {
    openThroughDialog(write("s.snd", SndWriter().add("A", wav("a")).build()), 2);
    form.FormClose();
    EXPECT_FALSE(player.isOpen());
}

TEST_F(MainFormTest, theHelpMenuShowsBothDialogs) {
    form.GeneralHelp1Click();
    form.About2Click();
    EXPECT_EQ(ui.helpShown, 1);
    EXPECT_EQ(ui.aboutShown, 1);
}

// --- Sound ---

TEST_F(MainFormTest, playAfterANewSelectionPlaysTheNewSound) {
    openThroughDialog(write("s.snd", SndWriter().add("ONE", wav("1")).add("TWO", wav("2")).build()), 2);
    EXPECT_EQ(player.lastOpened(), wav("1"));
    form.numitem(1, true);
    form.MediaPlayer1Click(PlayerButton::Play);
    player.play();
    EXPECT_EQ(player.lastOpened(), wav("2"));
    EXPECT_TRUE(player.playing);
}

TEST_F(MainFormTest, stopDuringPlaybackStopsAndKeepsTheSoundReady) {
    openThroughDialog(write("s.snd", SndWriter().add("ONE", wav("1")).build()), 2);
    player.play();
    form.MediaPlayer1Click(PlayerButton::Stop);
    player.stop();
    EXPECT_FALSE(player.playing);
    EXPECT_TRUE(player.isOpen());
}

TEST_F(MainFormTest, openingALodOrVidClosesThePlayer) {
    openThroughDialog(write("s.snd", SndWriter().add("ONE", wav("1")).build()), 2);
    ASSERT_TRUE(player.isOpen());
    openThroughDialog(write("a.lod", LodWriter().add("A.TXT", "a").build()), 1);
    EXPECT_FALSE(player.isOpen());
    openThroughDialog(write("s2.snd", SndWriter().add("ONE", wav("1")).build()), 2);
    openThroughDialog(write("v.vid", VidWriter().add("A.SMK", "a").build()), 3);
    EXPECT_FALSE(player.isOpen());
}

TEST_F(MainFormTest, aSoundTheDeviceCannotOpenIsReportedAfterTheListIsFilled) {
    openThroughDialog(write("s.snd", SndWriter().add("NOISE", "not a wave").build()), 2);
    EXPECT_EQ(ui.rows.size(), 1u);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("cannot be played"), std::string::npos);
    EXPECT_FALSE(player.isOpen());
}

TEST_F(MainFormTest, aNewArchiveSelectsItsFirstRowAndPreparesItsSound) {
    SndWriter many;
    for (int i = 0; i < 5; ++i) {
        many.add("S" + std::to_string(i), wav(std::to_string(i)));
    }
    openThroughDialog(write("many.snd", many.build()), 2);
    form.numitem(4, true);
    openThroughDialog(write("one.snd", SndWriter().add("ONLY", wav("x")).build()), 2);
    EXPECT_EQ(form.SelectedRow(), 0);
    EXPECT_EQ(ui.selectedRow, 0);
    EXPECT_TRUE(player.isOpen());
    EXPECT_EQ(player.lastOpened(), wav("x"));
    EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
}  // namespace brasvel
