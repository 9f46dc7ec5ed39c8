// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// How the window lists an archive it opened: the rows, "Total Files", the notice for a list cut to
// 15011 entries, the tool bar's progress, the open dialog's filters, the texts through the
// toolkit's translation, and an archive that is read once, whatever happens to its file later.

#include <gtest/gtest.h>

#include <limits>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <set>

#include "tests/window/FakeWavePlayer.h"
#include "tests/window/WindowFolderTest.h"
#include "toolkit/HeadlessToolkit.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "window/EntryFilter.h"
#include "window/MainForm.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using namespace writers;

constexpr int kListed = static_cast<int>(kListedEntries);

std::string greyPalette() {
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        palette += std::string(3, static_cast<char>(i));
    }
    return palette;
}

LodWriter textsLod(int count) {
    LodWriter writer;
    for (int i = 0; i < count; ++i) {
        writer.add("E" + std::to_string(i) + ".TXT", "");
    }
    return writer;
}

class ListingTest : public WindowFolderTest {
protected:
    static void open(HeadlessToolkit& ui, MainForm& form, const std::string& path, int filter) {
        ui.openReplies.push_back(OpenChoice{path, filter});
        form.ToolButton1Click();
    }
};

// --- What a directory lists ---

struct DirectoryCase {
    const char* what;
    std::function<std::string()> archive;
    int filter;
    std::string total;  // status panel 0 afterwards; empty when it keeps its text
    std::size_t rows;
    std::string error;   // the start of the error shown; empty when none
    std::string notice;  // empty when none
};

TEST_F(ListingTest, eachDirectoryListsItsRowsItsTotalAndWhatWentWrong) {
    const std::vector<DirectoryCase> cases = {
        {"whole", [] { return LodWriter().add("A.TXT", "a").add("B.PCX", "b").build(); }, 1,
         "Total Files: 2", 2, "", ""},
        {"empty", [] { return LodWriter().build(); }, 1, "Total Files: 0", 0, "", ""},
        {"ending early",
         [] {
             return LodWriter().add("A.TXT", "a").add("B.TXT", "b").build().substr(0, 92 + 32 + 5);
         },
         1, "Total Files: 2", 1, "Read beyond end of file", ""},
        // No SND can state a negative count: refused before any listing.
        {"a negative count", [] { return SndWriter().add("A", "RIFF").statedCount(-3).build(); }, 2,
         "", 0, "Not an SND archive (its entry count -3 is negative)", ""},
        {"too short for its count", [] { return std::string("LOD\0", 4); }, 1, "", 0,
         "Read beyond end of file", ""},
        {"longer than the list", [] { return textsLod(kListed + 1).build(); }, 1,
         "Total Files: 15011", kListedEntries, "",
         "Archiwum zawiera 15012 plików; lista pokazuje pierwsze 15011."},
        {"longer than the list, ending past what it shows",
         [] { return textsLod(kListed).statedCount(15500).build(); }, 1, "Total Files: 15011",
         kListedEntries, "", "Archiwum zawiera 15500 plików; lista pokazuje pierwsze 15011."},
        {"longer than the list, ending inside it",
         [] { return textsLod(100).statedCount(20000).build(); }, 1, "Total Files: 15011", 100,
         "Read beyond end of file", ""},
    };
    for (const DirectoryCase& each : cases) {
        SCOPED_TRACE(each.what);
        HeadlessToolkit freshUi;
        FakeWavePlayer freshPlayer;
        MainForm fresh(freshUi, freshPlayer);
        open(freshUi, fresh, write("case.lod", each.archive()), each.filter);
        EXPECT_TRUE(freshUi.listVisible);
        EXPECT_EQ(freshUi.statusTexts[0], each.total);
        EXPECT_EQ(freshUi.rows.size(), each.rows);
        EXPECT_EQ(fresh.view().entries.size(), each.rows);
        if (each.error.empty()) {
            EXPECT_TRUE(freshUi.errors.empty()) << freshUi.errors.front();
            EXPECT_EQ(freshUi.toolbarProgress, 0) << "the bar goes back once the list is filled";
        } else {
            ASSERT_EQ(freshUi.errors.size(), 1u);
            EXPECT_EQ(freshUi.errors[0].rfind(each.error, 0), 0u) << freshUi.errors[0];
        }
        EXPECT_EQ(freshUi.notices,
                  each.notice.empty() ? std::vector<std::string>{}
                                      : std::vector<std::string>{each.notice});
    }
}

TEST_F(ListingTest, theToolBarsBarRisesAsEachFormatSays) {
    struct ProgressCase {
        const char* what;
        std::string archive;
        int filter;
        int every;
        int step;
        int entries;
    };
    SndWriter sounds;
    for (int i = 0; i < kListed + 1; ++i) {
        sounds.add("S", "");
    }
    VidWriter videos;
    for (int i = 0; i < 12; ++i) {
        videos.add("V.SMK", "v");
    }
    const std::vector<ProgressCase> cases = {
        {"LOD: 2 at every 50th entry", textsLod(101).build(), 1, 50, 2, 101},
        {"SND: 1 at every entry, none past the list's", sounds.build(), 2, 1, 1, kListed + 1},
        {"VID: 10 at every entry, full from the 10th", videos.build(), 3, 1, 10, 12},
    };
    for (const ProgressCase& each : cases) {
        SCOPED_TRACE(each.what);
        HeadlessToolkit freshUi;
        FakeWavePlayer freshPlayer;
        MainForm fresh(freshUi, freshPlayer);
        open(freshUi, fresh, write("case", each.archive), each.filter);
        std::vector<int> expected;
        for (int entry = 0; entry < std::min(each.entries, kListed); entry += each.every) {
            expected.push_back(std::min(100, (expected.empty() ? 0 : expected.back()) + each.step));
        }
        expected.push_back(0);
        EXPECT_EQ(freshUi.toolbarProgressHistory, expected);
    }
}

TEST_F(ListingTest, theTypeBoxNeverReachesPastTheFirst15011Entries) {
    open(ui, form, write("huge.lod", textsLod(kListed).add("LAST.PCX", "p").build()), 1);
    ui.typeIndex = 3;  // "*.Pcx"
    form.ViewLod();
    EXPECT_TRUE(ui.rows.empty());
    ui.typeIndex = 0;
    form.ViewLod();
    EXPECT_EQ(ui.rows.size(), kListedEntries);
    EXPECT_EQ(ui.rows.back().shownCaption(), "E15010.TXT");
    ASSERT_NE(form.archive(), nullptr);
    EXPECT_EQ(form.archive()->entries().size(), kListedEntries + 1) << "the archive keeps them all";
}

TEST_F(ListingTest, aVideoIsShownAndWrittenUnderItsWholeStoredName) {
    // The type comes from the whole stored name, however far its dot lies.
    const std::string longName = "the_intro_sequence_of_the_campaign.smk";  // 38 bytes
    const std::string fullField = "ENDING.bik_" + std::string(29, 'x');     // 40, no NUL
    open(ui, form,
         write("v.vid", VidWriter().add(longName, "SMK").add(fullField, "BIK").build()), 3);
    ASSERT_EQ(ui.rows.size(), 2u);
    EXPECT_EQ(ui.rows[0].shownCaption(), longName);
    EXPECT_EQ(ui.rows[0].image, kImageSmk);
    EXPECT_EQ(ui.rows[1].shownCaption(), fullField);
    EXPECT_EQ(ui.rows[1].image, kImageBik);
    ui.typeIndex = 2;  // "*.Bik"
    form.ViewLod();
    ASSERT_EQ(ui.rows.size(), 1u);
    EXPECT_EQ(ui.rows[0].shownCaption(), fullField);
    ui.typeIndex = 1;  // "*.Smk"
    form.ViewLod();
    ASSERT_EQ(ui.rows.size(), 1u);
    EXPECT_EQ(ui.rows[0].shownCaption(), longName);
    EXPECT_EQ(ui.rows[0].image, kImageSmk);

    ui.folderReplies.push_back((folder / "out").string());
    form.SetPathForExtract1Click();
    ui.typeIndex = 0;
    form.ViewLod();
    form.ToolButton5Click();
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(filesIn(folder / "out"), (std::set<std::string>{longName, fullField}));
    EXPECT_EQ(read(folder / "out" / longName), "SMK");
}

// Under its type item a sound shows its name, "." and "WAV", as the type box always built it; in
// the whole list "Name.Wav". The search and the order go by what is shown.
TEST_F(ListingTest, aSoundUnderTheWavItemShowsItsNameAndExtensionAsStored) {
    open(ui, form, write("s.snd", SndWriter().add("BOOM", "RIFFa").add("CLICK", "RIFFb").build()),
         2);
    const auto captions = [&] {
        std::vector<std::string> shown;
        for (const auto& row : ui.rows) {
            shown.push_back(row.shownCaption());
        }
        return shown;
    };
    EXPECT_EQ(captions(), (std::vector<std::string>{"BOOM.Wav", "CLICK.Wav"}));
    ui.typeIndex = 8;  // "*.Wav"
    form.ViewLod();
    EXPECT_EQ(captions(), (std::vector<std::string>{"BOOM.WAV", "CLICK.WAV"}));
    form.searchEdited("k.w");
    EXPECT_EQ(captions(), (std::vector<std::string>{"CLICK.WAV"}));
    form.searchEdited("");
    ui.typeIndex = 0;
    form.ViewLod();
    EXPECT_EQ(captions(), (std::vector<std::string>{"BOOM.Wav", "CLICK.Wav"}));
}

// --- An archive read once ---

TEST_F(ListingTest, previewAndExtractionReadTheArchiveOpenedEvenAfterItsFileIsGone) {
    const std::string path = write(
        "gone.lod", LodWriter()
                        .add("NOTE.TXT", "kept in memory", true)
                        .add("MAP.PCX", gamePcx8(PixelGrid(8, 4, 77), greyPalette()), true)
                        .build());
    open(ui, form, path, 1);
    fs::remove(path);
    ui.folderReplies.push_back((folder / "out").string());
    form.SetPathForExtract1Click();

    form.numitem(1, true);
    form.QuickView1Click();
    EXPECT_EQ(ui.pictureLoads, 1);
    EXPECT_EQ(ui.statusTexts[4], "X: 8");
    form.numitem(0, true);
    form.ToolButton2Click();
    EXPECT_EQ(read(folder / "out" / "NOTE.TXT"), "kept in memory");
    form.SaveSingleFile2Click();
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(filesIn(folder / "out"), (std::set<std::string>{"NOTE.TXT", "MAP.bmp"}));
}

TEST_F(ListingTest, aSoundPlaysFromTheArchiveOpenedAfterAnotherFileTakesItsName) {
    const std::string path =
        write("s.snd", SndWriter().add("ONE", "RIFFone").add("TWO", "RIFFtwo").build());
    open(ui, form, path, 2);
    fs::rename(path, folder / "moved.snd");
    write("s.snd", SndWriter().add("OTHER", "RIFFother").build());
    form.numitem(1, true);
    form.MediaPlayer1Click(PlayerButton::Play);
    EXPECT_EQ(player.lastOpened(), "RIFFtwo");
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
}

// --- The open dialog ---

TEST_F(ListingTest, theOpenDialogOffersEveryFormatAndItsFilterDecidesTheReader) {
    const std::string path = write("any.bin", SndWriter().add("BOOM", "RIFFboom").build());
    open(ui, form, path, 2);
    const std::vector<OpenFilter> expected = {{"Pliki zaosbów LOD", "*.Lod"},
                                              {"Pliki zasobów dźwiękowych", "*.SND"},
                                              {"Pliki zaosbów video Files", "*.Vid"}};
    EXPECT_EQ(ui.openDialogFilters, expected);
    ASSERT_NE(form.archive(), nullptr);
    EXPECT_EQ(&form.archive()->format(), &kSndFormat);
    for (int outside : {0, 4, -1}) {
        open(ui, form, path, outside);
        EXPECT_EQ(form.archive(), nullptr) << outside;
        EXPECT_TRUE(ui.rows.empty());
        EXPECT_EQ(form.archivePath(), path);
    }
}

TEST_F(ListingTest, startUpPicksTheFormatByTheExactCaseOfTheLastThreeLetters) {
    const std::string snd = SndWriter().add("A", "RIFFa").build();
    const std::vector<std::pair<std::string, const ArchiveFormat*>> cases = {
        {"a.snd", &kSndFormat},
        {"a.SND", &kSndFormat},
        {"a.Snd", nullptr},
        {"a.sNd", nullptr},
        {"snd", &kSndFormat},
        // A name without a known extension: its bytes tell, as for a dropped file.
        {"nd", &kSndFormat},
        // Chosen as a LOD, the SND is offered (and taken) as the SND it looks like; its one row
        // fits a VID's layout too, so it is read as one.
        {"a.lod", &kSndFormat},
        {"a.VID", &kVidFormat},
    };
    for (const auto& [name, format] : cases) {
        SCOPED_TRACE(name);
        HeadlessToolkit freshUi;
        FakeWavePlayer freshPlayer;
        MainForm fresh(freshUi, freshPlayer);
        fresh.FormCreate("", write(name, snd));
        EXPECT_EQ(fresh.archive() == nullptr ? nullptr : &fresh.archive()->format(), format);
    }
}

// --- Texts ---

TEST_F(ListingTest, everyTextIsTranslatedBeforeNumbersAndNamesAreFilledIn) {
    ui.translations = {
        {texts::kTotalFiles, "Plików razem: %1"},
        {texts::kFileName, "[%1]"},
        {texts::kFileSize, "%1 B"},
        {texts::kQuestionCaption, "Na pewno?"},
        {texts::kToolbarBatchQuestion, "Długo to potrwa"},
        {texts::kEntryError, "%2 <- %1"},
        {texts::kBatchSummary, "%1/%2 -> %3"},
        {texts::kBatchFailures, "Błędy: %2 (%1)"},
        {texts::kFolderCaption, "Wybierz folder"},
        {texts::kOpenFilters[0].text, "LOD"},
    };
    const std::string path = write(
        "t.lod", LodWriter().add("A.TXT", "abc").addStored("%2%1.TXT", "junk", 50, 4).build());
    open(ui, form, path, 1);
    EXPECT_EQ(ui.openDialogFilters[0], (OpenFilter{"LOD", "*.Lod"}));
    EXPECT_EQ(ui.statusTexts[0], "Plików razem: 2");
    EXPECT_EQ(ui.statusTexts[2], "[" + path + "]");
    form.numitem(0, true);
    EXPECT_EQ(ui.statusTexts[1], "3 B");
    ui.folderReplies.push_back((folder / "out").string());
    form.SetPathForExtract1Click();
    EXPECT_EQ(ui.folderCaptions.back(), "Wybierz folder");
    form.ToolButton5Click();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].caption, "Na pewno?");
    EXPECT_EQ(ui.questions[0].text, "Długo to potrwa");
    ASSERT_EQ(ui.errors.size(), 1u);
    // The entry's own "%2%1" is a name, not a place for the summary's numbers.
    EXPECT_EQ(ui.errors[0], "1/2 -> " + (folder / "out").string() + "/\nBłędy: Damaged entry (is not a valid zlib stream) <- %2%1.TXT (1)");
}

TEST(WindowTexts, fillInReplacesEachNumberOnceAndLeavesTheRest) {
    using texts::fillIn;
    EXPECT_EQ(fillIn("Total Files: %1", {"7"}), "Total Files: 7");
    EXPECT_EQ(fillIn("%2 before %1", {"a", "b"}), "b before a");
    EXPECT_EQ(fillIn("%1: %2", {"%2", "%1"}), "%2: %1") << "arguments are not patterns";
    EXPECT_EQ(fillIn("%3 has no argument", {"a"}), "%3 has no argument");
    EXPECT_EQ(fillIn("100% sure, %", {}), "100% sure, %");
    EXPECT_EQ(fillIn("%0 and %%1", {"x"}), "%0 and %x");
}

TEST(WindowTexts, groupedNumbersPartEveryThreeDigitsFromTheRight) {
    struct Case {
        std::int64_t value;
        const char* shown;
    };
    const Case cases[] = {
        {0, "0"},          {999, "999"},           {1000, "1 000"},
        {-999, "-999"},    {-1000, "-1 000"},      {1234567, "1 234 567"},
        {std::numeric_limits<std::int64_t>::min(), "-9 223 372 036 854 775 808"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(texts::groupedNumber(c.value, " "), c.shown);
    }
    EXPECT_EQ(texts::groupedNumber(12345, ","), "12,345");
}

}  // namespace
}  // namespace brasvel

namespace brasvel {
namespace {

TEST(EntryFilter, theSearchNarrowsTheTypeBoxsRowsByNameIgnoringTheCaseOfPolishLettersToo) {
    const Archive archive = Archive::fromBytes(
        [] {
            const std::string bytes = writers::LodWriter()
                                          .add("Torch.def", "")
                                          .add("TORCHES.TXT", "")
                                          .add("ARROW.DEF", "")
                                          .add("\xA3" "ODZ.TXT", "")  // Ł in Windows-1250
                                          .add("\xAF\xD3\xA3W.TXT", "")  // ŻÓŁW
                                          .build();
            const auto span = writers::asBytes(bytes);
            return std::vector<std::byte>(span.begin(), span.end());
        }(),
        kLodFormat);
    const TypeView all = viewOfType(archive.entries(), 0);
    struct Case {
        std::string search;
        int item;
        std::vector<std::size_t> rows;
    };
    const Case cases[] = {
        {"", 0, {0, 1, 2, 3, 4}},
        {"torch", 0, {0, 1}},
        {"TORCH", 0, {0, 1}},
        {"torch", typeItemIndex("def"), {0}},  // both boxes apply
        {".def", typeItemIndex("def"), {0, 2}},
        {"łodz", 0, {3}},  // Polish letters fold as in the names' rules
        {"Łodz", 0, {3}},
        {"łw", 0, {4}},
        {"żółw.txt", typeItemIndex("txt"), {4}},
        {"lw", 0, {}},  // no letter stands for another
        {"€", 0, {}},   // in the code page, in no name
        {"好", 0, {}},  // outside the code page
        {"nothing", 0, {}},
    };
    for (const Case& c : cases) {
        const TypeView view = viewOfType(archive.entries(), c.item);
        EXPECT_EQ(narrowByName(archive.entries(), view, c.search).entries, c.rows) << c.search;
    }
    EXPECT_EQ(narrowByName(archive.entries(), all, "").images, all.images);
}

}  // namespace
}  // namespace brasvel
