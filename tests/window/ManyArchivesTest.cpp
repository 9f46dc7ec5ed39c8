// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The window over two archives and inside entries: the comparison's statuses, its filter and its
// side-by-side preview; the patch it exports and the merge it is undone by; merge's questions;
// the search inside entries as a job.

#include <gtest/gtest.h>

#include <algorithm>

#include "archive/EntryNames.h"
#include "base/Text.h"
#include "extract/EntryContent.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"
#include "tests/window/WindowFolderTest.h"

namespace brasvel {
namespace {

using namespace writers;

std::string pcx(std::uint8_t fill) {
    return gamePcx8(PixelGrid(4, 3, fill), rampPalette());
}

Bytes asBytes(const std::string& bytes) {
    return {reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()};
}

std::string cp1250(std::string_view utf8) {
    return *encodeWindows1250(utf8);
}

class ManyArchivesTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        // The open archive, the old one: CHANGED's content differs in the new one, PACKED's is
        // the same stored otherwise, GONE is not in the new one, NEW only there.
        openPath = write("old.lod", LodWriter()
                                        .add("CHANGED.TXT", "old line")
                                        .add("GONE.TXT", "gone")
                                        .add("PACKED.TXT", "the same words, the same words", true)
                                        .add("PIC.PCX", pcx(30))
                                        .add("SAME.TXT", "same")
                                        .build());
        otherPath = write("new.lod", LodWriter()
                                         .add("CHANGED.TXT", "new line")
                                         .add("NEW.TXT", "new")
                                         .add("PACKED.TXT", "the same words, the same words")
                                         .add("PIC.PCX", pcx(40))
                                         .add("SAME.TXT", "same")
                                         .build());
        ui.openReplies.push_back(OpenChoice{openPath, 1});
        form.ToolButton1Click();
        ASSERT_TRUE(ui.errors.empty());
    }

    void compareWith(const std::string& path) {
        ui.fileReplies.push_back({path});
        form.CompareWithClick();
    }

    void mergeFrom(const std::string& path) {
        ui.fileReplies.push_back({path});
        form.MergeWithClick();
    }

    // Each row's caption and note.
    std::vector<std::pair<std::string, std::string>> noted() const {
        std::vector<std::pair<std::string, std::string>> shown;
        for (const HeadlessRow& row : ui.rows) {
            shown.emplace_back(row.shownCaption(), row.note);
        }
        return shown;
    }

    std::string contentOf(const std::string& name) {
        const std::optional<std::size_t> index = form.session().find(name);
        if (!index) {
            return "(none)";
        }
        const std::vector<std::byte> content = form.session().content(*index);
        return {reinterpret_cast<const char*>(content.data()), content.size()};
    }

    std::string openPath;
    std::string otherPath;
};

using Noted = std::vector<std::pair<std::string, std::string>>;

TEST_F(ManyArchivesTest, EveryEntryGetsItsStatusAndTheNewOnesFollow) {
    compareWith(otherPath);
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_TRUE(form.comparing());
    EXPECT_EQ(ui.noteHeader, "Porównanie");
    EXPECT_EQ(ui.listLook, ListLook::Details);
    EXPECT_EQ(noted(), (Noted{{"CHANGED.TXT", "zmienione"},
                              {"GONE.TXT", "usunięte"},
                              {"PACKED.TXT", "bez zmian"},  // stored compressed in one only
                              {"PIC.PCX", "zmienione"},
                              {"SAME.TXT", "bez zmian"},
                              {"NEW.TXT", "nowe"}}));
    EXPECT_EQ(ui.statusFilterItems,
              (std::vector<std::string>{"wszystkie (6)", "nowe (1)", "usunięte (1)",
                                        "zmienione (2)", "bez zmian (2)"}));
    EXPECT_TRUE(ui.commands.comparing);
    // A row of the new archive's own shows no entry of the open one.
    form.numitem(5, true);
    EXPECT_EQ(form.SelectedRow(), -1);
}

TEST_F(ManyArchivesTest, PendingEditsAreTheOldSide) {
    form.session().edit().put("CHANGED.TXT",
                              {std::byte{'n'}, std::byte{'e'}, std::byte{'w'}, std::byte{' '},
                               std::byte{'l'}, std::byte{'i'}, std::byte{'n'}, std::byte{'e'}});
    form.session().edit().remove(*form.session().find("GONE.TXT"));
    compareWith(otherPath);
    EXPECT_EQ(noted(), (Noted{{"CHANGED.TXT", "bez zmian"},
                              {"PACKED.TXT", "bez zmian"},
                              {"PIC.PCX", "zmienione"},
                              {"SAME.TXT", "bez zmian"},
                              {"NEW.TXT", "nowe"}}));
}

TEST_F(ManyArchivesTest, TheFilterNarrowsToOneStatusAndClosingEndsTheComparison) {
    compareWith(otherPath);
    const std::vector<std::pair<int, Noted>> cases{
        {3, {{"CHANGED.TXT", "zmienione"}, {"PIC.PCX", "zmienione"}}},
        {1, {{"NEW.TXT", "nowe"}}},
        {2, {{"GONE.TXT", "usunięte"}}},
        {4, {{"PACKED.TXT", "bez zmian"}, {"SAME.TXT", "bez zmian"}}},
    };
    for (const auto& [item, rows] : cases) {
        form.statusFilterChosen(item);
        EXPECT_EQ(noted(), rows) << item;
    }
    // The search box narrows within the status.
    form.statusFilterChosen(4);
    form.searchEdited("sam");
    EXPECT_EQ(noted(), (Noted{{"SAME.TXT", "bez zmian"}}));
    form.searchEdited("");
    form.statusFilterChosen(0);
    EXPECT_EQ(ui.rowCount(), 6);

    form.CloseComparisonClick();
    EXPECT_FALSE(form.comparing());
    EXPECT_EQ(ui.noteHeader, "");
    EXPECT_TRUE(ui.statusFilterItems.empty());
    EXPECT_EQ(captions(), (std::vector<std::string>{"CHANGED.TXT", "GONE.TXT", "PACKED.TXT",
                                                    "PIC.PCX", "SAME.TXT"}));
}

TEST_F(ManyArchivesTest, OnlyAnArchiveOfTheSameKindCompares) {
    const std::string sounds = write("other.snd", SndWriter().add("CHANGED.TXT", "x").build());
    compareWith(sounds);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors.front().find("other.snd jest archiwum SND, a otwarte archiwum LOD"),
              std::string::npos)
        << ui.errors.front();
    EXPECT_FALSE(form.comparing());
    EXPECT_EQ(ui.noteHeader, "");
}

TEST_F(ManyArchivesTest, AChangedPictureAndTextShowSideBySide) {
    form.BitBtn3Click();  // the preview on
    compareWith(otherPath);
    select("PIC.PCX");
    ASSERT_EQ(ui.previewPage, PreviewPage::SideBySide);
    EXPECT_EQ(ui.sideOld.title, "Stare: old.lod");
    EXPECT_EQ(ui.sideNew.title, "Nowe: new.lod");
    EXPECT_EQ(ui.sideOld.bmpFile, encodePicture(decodePcx(asBytes(pcx(30))), PictureFormat::Bmp));
    EXPECT_EQ(ui.sideNew.bmpFile, encodePicture(decodePcx(asBytes(pcx(40))), PictureFormat::Bmp));

    select("CHANGED.TXT");
    ASSERT_EQ(ui.previewPage, PreviewPage::SideBySide);
    EXPECT_TRUE(ui.sideOld.bmpFile.empty());
    EXPECT_EQ(ui.sideOld.text, "old line");
    EXPECT_EQ(ui.sideNew.text, "new line");

    select("SAME.TXT");  // unchanged: the usual preview
    EXPECT_EQ(ui.previewPage, PreviewPage::Text);
    EXPECT_EQ(ui.previewText, "same");

    select("NEW.TXT");  // only in the new archive: beside an empty old side
    ASSERT_EQ(ui.previewPage, PreviewPage::SideBySide);
    EXPECT_EQ(ui.sideOld.text, "(nie ma go w tym archiwum)");
    EXPECT_EQ(ui.sideNew.text, "new");
    EXPECT_EQ(form.SelectedRow(), -1);  // no entry of the open archive
    select("SAME.TXT");
    form.selectionChanged({4}, {5}, 5);  // the list's own selection moving to NEW.TXT
    EXPECT_EQ(ui.previewPage, PreviewPage::SideBySide);
    EXPECT_EQ(ui.sideNew.text, "new");
}

TEST_F(ManyArchivesTest, AChangedSpriteShowsItsFirstFrameOnEachSide) {
    const auto sprite = [](std::uint8_t fill) {
        DefBlock block;
        DefFrame frame;
        frame.name = "F1";
        frame.sprite = PixelGrid(3, 2, fill);
        block.frames.push_back(frame);
        return DefWriter(0x42, 5, 4, rampPalette()).block(block).build();
    };
    const std::string older =
        write("sprites-old.lod", LodWriter().add("BALL.DEF", sprite(21)).build());
    const std::string newer =
        write("sprites-new.lod", LodWriter().add("BALL.DEF", sprite(22)).build());
    ui.openReplies.push_back(OpenChoice{older, 1});
    form.ToolButton1Click();
    form.BitBtn3Click();
    compareWith(newer);
    select("BALL.DEF");
    ASSERT_EQ(ui.previewPage, PreviewPage::SideBySide);
    EXPECT_EQ(ui.sideOld.kind, PictureKind::SpriteFrame);
    EXPECT_EQ(ui.sideNew.kind, PictureKind::SpriteFrame);
    EXPECT_FALSE(ui.sideOld.bmpFile.empty());
    EXPECT_NE(ui.sideOld.bmpFile, ui.sideNew.bmpFile);
}

TEST_F(ManyArchivesTest, ThePatchMergedIntoTheOldArchiveGivesTheNewOnesContent) {
    compareWith(otherPath);
    const std::string patch = (folder / "out" / "patch.lod").string();
    ui.savePathReplies.push_back(patch);
    form.ExportDifferencesClick();
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_NE(ui.notices.front().find("Zapisano patch.lod: plików 3."), std::string::npos);
    EXPECT_NE(ui.notices.front().find("\nGONE.TXT"), std::string::npos) << ui.notices.front();
    EXPECT_EQ(ui.savePathStarts.back(), (folder / "old-patch.lod").string());

    ui.choiceAnswers.push_back(3);  // take all
    mergeFrom(patch);
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_FALSE(form.comparing());  // an edit ends it
    EXPECT_EQ(ui.choiceQuestions.size(), 1u);
    for (const char* name : {"CHANGED.TXT", "NEW.TXT", "PACKED.TXT", "PIC.PCX", "SAME.TXT"}) {
        const Archive other = Archive::open(otherPath, kLodFormat);
        const Entry& entry = other.entries()[*findEntry(other.entries(), name)];
        const std::vector<std::byte> content = entryContent(other, entry);
        EXPECT_EQ(contentOf(name),
                  std::string(reinterpret_cast<const char*>(content.data()), content.size()))
            << name;
    }
    EXPECT_EQ(contentOf("GONE.TXT"), "gone");  // a patch removes nothing
}

TEST_F(ManyArchivesTest, AnEntryThatCannotBeReadIsSaidAndNoPatchIsWritten) {
    const std::string damaged = write(
        "damaged.lod",
        LodWriter().add("CHANGED.TXT", "old line").addStored("SAME.TXT", "not zlib", 4, 8).build());
    compareWith(damaged);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("damaged.lod: SAME.TXT"), std::string::npos) << ui.errors[0];
    EXPECT_EQ(ui.rows[4].note, "nieczytelne");
    ui.savePathReplies.push_back((folder / "out" / "patch.lod").string());
    form.ExportDifferencesClick();
    ASSERT_EQ(ui.errors.size(), 2u);
    EXPECT_NE(ui.errors[1].find("SAME.TXT: nieczytelne"), std::string::npos) << ui.errors[1];
    EXPECT_FALSE(std::filesystem::exists(folder / "out" / "patch.lod"));
    EXPECT_TRUE(ui.savePathStarts.empty());  // refused before a path was asked for
}

TEST_F(ManyArchivesTest, ComparingAndReadingAMergeAreJobsThatCancelChangesNothing) {
    ui.cancelAfterFiles = 2;
    compareWith(otherPath);
    EXPECT_EQ(ui.backgroundCaptions, std::vector<std::string>{"Porównywanie z new.lod..."});
    EXPECT_EQ(ui.backgroundDone, 2u);  // stopped before the third entry
    EXPECT_FALSE(form.comparing());
    EXPECT_EQ(ui.noteHeader, "");
    EXPECT_EQ(ui.notices, std::vector<std::string>{"Przerwano porównanie."});

    ui.cancelAfterFiles = -1;
    ui.cancelBackground = true;
    mergeFrom(otherPath);
    EXPECT_EQ(ui.backgroundCaptions.back(), "Czytanie new.lod...");
    EXPECT_TRUE(ui.choiceQuestions.empty());
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_EQ(ui.notices.back(), "Przerwano scalanie: niczego nie zmieniono.");
    EXPECT_EQ(ui.offThreadCalls, 0);
}

TEST_F(ManyArchivesTest, ThePatchIsNeverWrittenOverAnArchiveCompared) {
    const std::string before = read(openPath);
    compareWith(otherPath);
    for (const std::string& target : {openPath, otherPath}) {
        ui.savePathReplies.push_back(target);
        form.ExportDifferencesClick();
    }
    ASSERT_EQ(ui.errors.size(), 2u);
    EXPECT_NE(ui.errors[0].find("old.lod"), std::string::npos);
    EXPECT_EQ(read(openPath), before);
    EXPECT_TRUE(ui.notices.empty());
}

TEST_F(ManyArchivesTest, EachAnswerToAConflictDecidesItsEntry) {
    enum { Keep, Take, KeepAll, TakeAll, Cancel };
    struct Case {
        std::vector<std::size_t> answers;
        std::size_t questions;
        std::string changed;  // CHANGED.TXT's content afterwards
        std::string picture;  // PIC.PCX's
    };
    const std::vector<Case> cases{
        {{Keep, Take}, 2, "old line", pcx(40)},   {{Take, Keep}, 2, "new line", pcx(30)},
        {{KeepAll}, 1, "old line", pcx(30)},      {{TakeAll}, 1, "new line", pcx(40)},
        {{Take, Cancel}, 2, "old line", pcx(30)},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.questions * 10 + test.answers.back());
        ui.choiceQuestions.clear();
        ui.choiceAnswers.assign(test.answers.begin(), test.answers.end());
        mergeFrom(otherPath);
        ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
        EXPECT_EQ(ui.choiceQuestions.size(), test.questions);
        EXPECT_EQ(ui.choiceQuestions.front().buttons,
                  (std::vector<std::string>{"Zostaw", "Weź", "Zostaw wszystkie", "Weź wszystkie",
                                            "Anuluj"}));
        EXPECT_EQ(contentOf("CHANGED.TXT"), test.changed);
        EXPECT_EQ(contentOf("PIC.PCX"), test.picture);
        const bool cancelled = test.answers.back() == Cancel;
        EXPECT_EQ(form.hasUnsavedChanges(), !cancelled);
        EXPECT_EQ(contentOf("NEW.TXT"), cancelled ? "(none)" : "new");
        form.UndoEdit1Click();  // back to the archive as opened for the next case
        EXPECT_FALSE(form.hasUnsavedChanges());
    }
}

TEST_F(ManyArchivesTest, AMergeIsOneStepToUndoAndRedo) {
    ui.choiceAnswers.push_back(3);
    mergeFrom(otherPath);
    EXPECT_TRUE(form.hasUnsavedChanges());
    EXPECT_EQ(ui.archiveTitle, "*old.lod");
    EXPECT_EQ(ui.commands.edit.undoText, "Cofnij: scal z new.lod");
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices.front(), "Scalono z new.lod: dodano 1, zastąpiono 2 (do zapisania).");
    EXPECT_EQ(captions(), (std::vector<std::string>{"CHANGED.TXT *", "GONE.TXT", "NEW.TXT *",
                                                    "PACKED.TXT", "PIC.PCX *", "SAME.TXT"}));

    form.UndoEdit1Click();
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_EQ(ui.archiveTitle, "old.lod");
    EXPECT_EQ(captions(), (std::vector<std::string>{"CHANGED.TXT", "GONE.TXT", "PACKED.TXT",
                                                    "PIC.PCX", "SAME.TXT"}));
    form.RedoEdit1Click();
    EXPECT_TRUE(form.hasUnsavedChanges());
    EXPECT_EQ(contentOf("NEW.TXT"), "new");

    form.SaveArchive1Click();
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_FALSE(form.hasUnsavedChanges());
    const Archive saved = Archive::open(openPath, kLodFormat);
    EXPECT_EQ(saved.entries().size(), 6u);
}

TEST_F(ManyArchivesTest, NothingNewToMergeChangesNothing) {
    mergeFrom(openPath);
    EXPECT_FALSE(form.hasUnsavedChanges());
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_NE(ui.notices.front().find("nie wnosi nic nowego"), std::string::npos);
}

class ContentSearchTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        path = write("texts.lod",
                     LodWriter()
                         .add("A.TXT", cp1250("pierwsza linia\nŻÓŁW i jeż\nżółw znów\n"), true)
                         .add("B.TXT", cp1250("nic tu nie ma"))
                         .add("C.BIN", cp1250("\x01\x02żółw\x03"), true)
                         .add("D.TXT", cp1250("Żółw"))
                         .build());
        ui.openReplies.push_back(OpenChoice{path, 1});
        form.ToolButton1Click();
    }

    void searchInside(const std::string& text) {
        form.contentSearchToggled(true);
        form.searchEdited(text);
        form.searchSubmitted();
    }

    Noted noted() const {
        Noted shown;
        for (const HeadlessRow& row : ui.rows) {
            shown.emplace_back(row.shownCaption(), row.note);
        }
        return shown;
    }

    std::string path;
};

TEST_F(ContentSearchTest, FindsPolishTextInAnyCaseInCompressedEntries) {
    searchInside("żółw");
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(ui.backgroundCaptions,
              (std::vector<std::string>{"Szukanie „żółw” w treści plików..."}));
    EXPECT_EQ(ui.offThreadCalls, 0);
    EXPECT_EQ(ui.backgroundDone, 4u);
    EXPECT_EQ(ui.noteHeader, "Znalezione");
    EXPECT_EQ(noted(), (Noted{{"A.TXT", "2: ŻÓŁW i jeż   (i 1 więcej)"},
                              {"C.BIN", "dane binarne zawierają tekst"},
                              {"D.TXT", "1: Żółw"}}));
}

TEST_F(ContentSearchTest, TypingWaitsForEnterAndClearingOrUntickingGoesBackToNames) {
    form.contentSearchToggled(true);
    form.searchEdited("jeż");
    EXPECT_EQ(ui.rowCount(), 4);  // not yet searched
    EXPECT_TRUE(ui.backgroundCaptions.empty());
    form.searchSubmitted();
    EXPECT_EQ(noted(), (Noted{{"A.TXT", "2: ŻÓŁW i jeż"}}));

    form.searchEdited("");
    EXPECT_EQ(ui.rowCount(), 4);
    EXPECT_EQ(ui.noteHeader, "");

    form.searchEdited("b.t");
    form.searchSubmitted();  // no content holds it
    form.contentSearchToggled(false);
    EXPECT_EQ(ui.noteHeader, "");
    EXPECT_EQ(captions(), (std::vector<std::string>{"B.TXT"}));  // the name search again
}

TEST_F(ContentSearchTest, SearchesPendingEditsToo) {
    form.session().edit().put("E.TXT", {std::byte{'z'}, std::byte{'o'}, std::byte{'o'}});
    searchInside("ZOO");
    EXPECT_EQ(noted(), (Noted{{"E.TXT", "1: zoo"}}));
}

TEST_F(ContentSearchTest, SearchesEveryArchiveOfAGameFolder) {
    std::filesystem::create_directories(folder / "game");
    write("game/texts.lod", LodWriter().add("A.TXT", cp1250("stary żółw"), true).build());
    write("game/more.lod",
          LodWriter().add("Z.TXT", cp1250("Żółw drugi")).add("Q.TXT", "q").build());
    ui.folderReplies.push_back((folder / "game").string());
    form.OpenFolderClick();
    ASSERT_NE(form.session().folder(), nullptr);
    searchInside("ŻÓŁW");
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
    Noted found = noted();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Noted{{"A.TXT", "1: stary żółw"}, {"Z.TXT", "1: Żółw drugi"}}));
}

TEST_F(ContentSearchTest, CancelStopsBetweenEntries) {
    ui.cancelAfterFiles = 1;
    searchInside("ż");
    EXPECT_EQ(ui.backgroundDone, 1u);
    EXPECT_EQ(noted(), (Noted{{"A.TXT", "2: ŻÓŁW i jeż   (i 1 więcej)"}}));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices.front(), "Przerwano szukanie „ż”: przeszukano 1 z 4 plików.");
}

TEST_F(ContentSearchTest, ATextOutsideTheCodePageIsRefused) {
    searchInside("日本");
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(ui.backgroundCaptions.empty());
    EXPECT_EQ(ui.rowCount(), 4);
}

}  // namespace
}  // namespace brasvel
