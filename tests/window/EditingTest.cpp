// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The window's "Edycja" commands: edits pending until saved and shown meanwhile, names refused at
// once in the user's words, the "Zapisać zmiany?" question wherever edits would be lost, and saves
// that leave the archive on disk as it was when they fail, are cancelled or would lose a change
// made on disk.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "archive/Archive.h"
#include "base/Platform.h"
#include "edit/ArchiveLock.h"
#include "extract/EntryContent.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"
#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using namespace writers;

ssize_t diskFull(int /*fd*/, const void* /*data*/, std::size_t /*count*/) {
    errno = ENOSPC;
    return -1;
}

std::string greyPalette() {
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        palette += std::string(3, static_cast<char>(i));
    }
    return palette;
}

class EditingTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        original = LodWriter()
                       .add("ALPHA.TXT", "alpha", true)
                       .add("BETA.TXT", "beta")
                       .add("GAMMA.TXT", "gamma")
                       .build();
        archivePath = write("game.lod", original);
        open(archivePath, 1);
    }

    void open(const std::string& path, int filter) {
        ui.openReplies.push_back(OpenChoice{path, filter});
        form.ToolButton1Click();
    }

    void select(int row) { form.numitem(row, true); }

    // Another program puts `bytes` in the archive's place under a new name moved over it, as an
    // editor does: on Windows as our own command line does, since a file open in the window
    // cannot simply be moved over there (under wine).
    void replaceByAnotherProgram(const std::string& bytes) {
        write("theirs.tmp", bytes);
        ASSERT_EQ(platform::replaceFile((folder / "theirs.tmp").string(), archivePath), 0);
    }


    // Each entry's name and content in the archive at `path`, through our own reader.
    std::vector<std::pair<std::string, std::string>> onDisk(const std::string& path) const {
        const Archive archive = Archive::open(path, kLodFormat);
        std::vector<std::pair<std::string, std::string>> result;
        for (const Entry& entry : archive.entries()) {
            const std::vector<std::byte> content = entryContent(archive, entry);
            result.emplace_back(entry.caption,
                                std::string(reinterpret_cast<const char*>(content.data()),
                                            content.size()));
        }
        return result;
    }

    // Adds a new entry, so that there is something unsaved.
    void addNote() {
        ui.fileReplies.push_back({write("NOTE.TXT", "a note")});
        form.AddFiles1Click();
    }

    std::string original;
    std::string archivePath;
};

TEST_F(EditingTest, commandsAreEnabledOnlyWhereTheyMakeSense) {
    HeadlessToolkit freshUi;
    MainForm fresh(freshUi, player);
    EXPECT_EQ(freshUi.commands.edit,
              (EditCommandState{.undoText = "Cofnij", .redoText = "Ponów"}))
        << "no archive";

    EXPECT_EQ(ui.commands.edit, (EditCommandState{.archiveEditable = true,
                                                 .entrySelected = true,
                                                 .spritesEditable = true,
                                                 .spriteSelected = false,
                                                 .changed = false,
                                                 .archiveOpen = true,
                                                 .undoText = "Cofnij",
                                                 .redoText = "Ponów"}));
    form.searchEdited("nothing like it");
    EXPECT_FALSE(ui.commands.edit.entrySelected);
    form.searchEdited("");
    addNote();
    EXPECT_TRUE(ui.commands.edit.changed);
    EXPECT_EQ(ui.archiveTitle, "*game.lod");

    // An archive whose directory ends early cannot be written back.
    open(write("short.lod", original.substr(0, 92 + 32 + 5)), 1);
    ui.saveAnswers.push_back(SaveAnswer::Discard);
    open(write("short.lod", original.substr(0, 92 + 32 + 5)), 1);
    EXPECT_FALSE(ui.commands.edit.archiveEditable);
    EXPECT_FALSE(ui.commands.edit.entrySelected);
    EXPECT_FALSE(ui.commands.edit.spritesEditable);
    EXPECT_TRUE(ui.commands.edit.archiveOpen);
}

TEST_F(EditingTest, addedFilesAreListedAsChangedPreviewedAndSavedWhole) {
    const std::string picture = gamePcx8(PixelGrid(6, 3, 9), greyPalette());
    ui.fileReplies.push_back({write("NEW.PCX", picture), write("NOTE.TXT", "a note")});
    form.AddFiles1Click();
    EXPECT_EQ(captions(), (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT",
                                                    "NEW.PCX *", "NOTE.TXT *"}));
    EXPECT_EQ(ui.selectedRow, 4) << "the last file added is selected";
    EXPECT_EQ(ui.statusTexts[0], "Total Files: 5");

    // The preview decodes the file that is not in the archive yet.
    select(3);
    form.QuickView1Click();
    EXPECT_EQ(ui.statusTexts[4], "X: 6");
    EXPECT_FALSE(ui.picture.empty());

    form.SaveArchive1Click();
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(ui.backgroundCaptions, (std::vector<std::string>{"Zapisywanie game.lod..."}));
    EXPECT_EQ(ui.backgroundDone, 5u);
    EXPECT_EQ(onDisk(archivePath), (std::vector<std::pair<std::string, std::string>>{
                                       {"ALPHA.TXT", "alpha"},
                                       {"BETA.TXT", "beta"},
                                       {"GAMMA.TXT", "gamma"},
                                       {"NEW.PCX", picture},
                                       {"NOTE.TXT", "a note"}}));
    // Reopened from disk: nothing marked, the selection kept on its entry.
    EXPECT_EQ(ui.archiveTitle, "game.lod");
    EXPECT_EQ(captions(), (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT",
                                                    "NEW.PCX", "NOTE.TXT"}));
    EXPECT_EQ(ui.selectedRow, 3);
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_FALSE(ui.commands.edit.changed);
}

TEST_F(EditingTest, addingAnEntrysNameAsksBeforeReplacingAndARefusedNameIsAskedAgain) {
    ui.answers.push_back(false);  // keep BETA.TXT
    ui.nameReplies.push_back(std::string("LONG.TXT"));
    ui.fileReplies.push_back({write("beta.txt", "other beta"),
                              write("a_very_long_name.txt", "long")});
    form.AddFiles1Click();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "Archiwum ma już plik BETA.TXT. Zastąpić jego zawartość?");
    ASSERT_EQ(ui.nameDialogs.size(), 1u);
    EXPECT_EQ(ui.nameDialogs[0].initial, "a_very_long_name.txt");
    EXPECT_EQ(captions(), (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT",
                                                    "LONG.TXT *"}));

    ui.answers.push_back(true);
    ui.fileReplies.push_back({write("beta.txt", "other beta")});
    form.AddFiles1Click();
    EXPECT_EQ(captions(), (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT *", "GAMMA.TXT",
                                                    "LONG.TXT *"}));
}

// A PNG or BMP added to a LOD goes in as the game's picture, as given, or not at all, by buttons
// that say so; one that cannot be decoded fails alone, named; one of 257 colours becomes a 24-bit
// picture and the user is told, one of 256 stays 8-bit.
TEST_F(EditingTest, aPngOrBmpAddedToALodIsStoredAsAPictureOrAsGivenAsTheUserChooses) {
    Picture rgb = Picture::blank(5, 4, PixelFormat::Rgb24);
    for (std::size_t k = 0; k < rgb.pixels.size(); ++k) {
        rgb.pixels[k] = static_cast<std::uint8_t>(k * 7);  // 20 colours: it fits 8 bits
    }
    const auto asText = [](const std::vector<std::byte>& bytes) {
        return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    };
    const std::string png = asText(encodePicture(rgb, PictureFormat::Png));
    const std::string bmp = asText(encodePicture(rgb, PictureFormat::Bmp));
    const auto coloured = [&](int colours) {
        Picture many = Picture::blank(colours, 1, PixelFormat::Rgb24);
        for (int k = 0; k < colours; ++k) {
            many.pixels[static_cast<std::size_t>(k) * 3] = static_cast<std::uint8_t>(k);
            many.pixels[static_cast<std::size_t>(k) * 3 + 1] = static_cast<std::uint8_t>(k >> 8);
        }
        return asText(encodePicture(many, PictureFormat::Png));
    };
    ui.choiceAnswers = {0, 1, 0, 2, 0, 0};
    ui.fileReplies.push_back({write("LOGO.PNG", png), write("flag.bmp", bmp),
                              write("BROKEN.PNG", "not a png"), write("SKIP.PNG", png),
                              write("FULL.png", coloured(256)), write("WIDE.png", coloured(257)),
                              write("NOTE.TXT", "a note")});
    form.AddFiles1Click();
    ASSERT_EQ(ui.choiceQuestions.size(), 6u);
    EXPECT_EQ(ui.choiceQuestions[0].text,
              "LOGO.PNG to obraz PNG/BMP. Zapisać go w archiwum jako obraz gry LOGO.PCX, czy bez "
              "zmian?");
    EXPECT_EQ(ui.choiceQuestions[0].buttons,
              (std::vector<std::string>{"Jako obraz gry (.pcx)", "Bez zmian (.png)", "Anuluj"}));
    EXPECT_EQ(ui.choiceQuestions[1].buttons[1], "Bez zmian (.bmp)");
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind("BROKEN.PNG: ", 0), 0u) << ui.errors[0];
    EXPECT_EQ(ui.notices, (std::vector<std::string>{
                              "WIDE.png ma więcej niż 256 kolorów: zapisano go jako 24-bitowy "
                              "obraz gry WIDE.pcx (bez palety)."}));
    EXPECT_EQ(captions(),
              (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT", "flag.bmp *", "FULL.pcx *",
                                        "GAMMA.TXT", "LOGO.PCX *", "NOTE.TXT *", "WIDE.pcx *"}));

    form.SaveArchive1Click();
    const Archive saved = Archive::open(archivePath, kLodFormat);
    for (const Entry& entry : saved.entries()) {
        const std::vector<std::byte> content = entryContent(saved, entry);
        if (entry.caption == "LOGO.PCX") {
            const Picture back = decodePcx(content);
            ASSERT_EQ(back.format, PixelFormat::Indexed8);
            ASSERT_EQ(back.pixels.size(), 20u);
            for (std::size_t k = 0; k < back.pixels.size(); ++k) {
                const Colour colour = back.palette[back.pixels[k]];
                EXPECT_EQ(colour, (Colour{rgb.pixels[3 * k], rgb.pixels[3 * k + 1],
                                          rgb.pixels[3 * k + 2]}));
            }
        } else if (entry.caption == "FULL.pcx" || entry.caption == "WIDE.pcx") {
            EXPECT_EQ(decodePcx(content).format, entry.caption == "FULL.pcx"
                                                     ? PixelFormat::Indexed8
                                                     : PixelFormat::Rgb24);
        } else if (entry.caption == "flag.bmp") {
            EXPECT_EQ(asText(content), bmp) << "stored as given";
        }
    }
}

// A new archive: its kind and name asked, an empty one written and opened, never over a file;
// files added to it are saved into it.
TEST_F(EditingTest, aNewArchiveIsMadeEmptyOpenedAndSavedWithWhatIsAdded) {
    ui.choiceAnswers = {3};  // Anuluj
    form.NewArchiveClick();
    ASSERT_EQ(ui.choiceQuestions.size(), 1u);
    EXPECT_EQ(ui.choiceQuestions[0].buttons.size(), 4u) << "LOD, SND, VID and Anuluj";
    EXPECT_TRUE(ui.savePathStarts.empty());

    const std::string taken = write("taken.snd", "mine");
    ui.choiceAnswers = {1};
    ui.savePathReplies.push_back(taken);
    form.NewArchiveClick();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("już istnieje"), std::string::npos) << ui.errors[0];
    EXPECT_EQ(read(taken), "mine");

    ui.choiceAnswers = {1};
    ui.savePathReplies.push_back((folder / "fresh").string());
    form.NewArchiveClick();
    EXPECT_EQ(ui.errors.size(), 1u) << ui.errors.back();
    const std::string fresh = (folder / "fresh.snd").string();
    EXPECT_TRUE(std::filesystem::exists(fresh));
    EXPECT_TRUE(captions().empty());
    EXPECT_EQ(read(archivePath), original) << "the archive open before is untouched";

    ui.fileReplies.push_back({write("beep.wav", "RIFF beep")});
    form.AddFiles1Click();
    EXPECT_EQ(captions(), (std::vector<std::string>{"beep.Wav *"}));
    form.SaveArchive1Click();
    const Archive saved = Archive::open(fresh, kSndFormat);
    ASSERT_EQ(saved.entries().size(), 1u);
    const std::vector<std::byte> content = entryContent(saved, saved.entries()[0]);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(content.data()), content.size()),
              "RIFF beep");
}

TEST_F(EditingTest, replacedContentIsWhatThePreviewAndExtractionShow) {
    select(1);
    ui.fileReplies.push_back({write("swap.bin", "new beta content")});
    form.ReplaceEntry1Click();
    EXPECT_EQ(ui.fileCaptions.back(), "Zamień zawartość BETA.TXT plikiem");
    EXPECT_EQ(captions()[1], "BETA.TXT *");
    EXPECT_EQ(ui.statusTexts[1], "FileSize: 16");

    ui.folderReplies.push_back((folder / "out").string());
    form.SetPathForExtract1Click();
    form.SaveSingleFile1Click();
    EXPECT_EQ(read(folder / "out" / "BETA.TXT"), "new beta content");
    form.ToolButton5Click();
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(read(folder / "out" / "ALPHA.TXT"), "alpha") << "inflated from the archive";
    EXPECT_EQ(read(folder / "out" / "BETA.TXT"), "new beta content");
    EXPECT_EQ(read(archivePath), original) << "nothing saved yet";
}

TEST_F(EditingTest, removedEntriesLeaveTheListAndTheSelectionMovesOn) {
    select(1);
    form.RemoveEntry1Click();
    EXPECT_EQ(captions(), (std::vector<std::string>{"ALPHA.TXT", "GAMMA.TXT"}));
    EXPECT_EQ(ui.selectedRow, 1) << "the row below";
    form.RemoveEntry1Click();
    EXPECT_EQ(ui.selectedRow, 0) << "the row above at the end";
    EXPECT_EQ(ui.archiveTitle, "*game.lod");

    ui.folderReplies.push_back((folder / "out").string());
    form.SetPathForExtract1Click();
    form.ToolButton5Click();
    EXPECT_EQ(filesIn(folder / "out"), (std::set<std::string>{"ALPHA.TXT"}));

    form.SaveArchive1Click();
    EXPECT_EQ(onDisk(archivePath),
              (std::vector<std::pair<std::string, std::string>>{{"ALPHA.TXT", "alpha"}}));
}

TEST_F(EditingTest, rowsDraggedOutWithUnsavedEditsAreWrittenAsTheListShowsThem) {
    select(0);
    form.RemoveEntry1Click();  // BETA.TXT is now the first row, its entry number that of ALPHA
    select(1);
    ui.fileReplies.push_back({write("swap.bin", "new gamma")});
    form.ReplaceEntry1Click();
    const std::filesystem::path drag = folder / "drag";
    std::filesystem::create_directory(drag);
    const std::vector<std::string> files = form.dragOut({0, 1}, drag.string());
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(files.size(), 2U);
    EXPECT_EQ(filesIn(drag), (std::set<std::string>{"BETA.TXT", "GAMMA.TXT"}));
    EXPECT_EQ(read(drag / "BETA.TXT"), "beta");
    EXPECT_EQ(read(drag / "GAMMA.TXT"), "new gamma");
}

TEST_F(EditingTest, aNameIsRefusedAtOnceWithTheWritersReasonInTheUsersWords) {
    struct NameCase {
        std::string typed;
        std::string reason;
    };
    const std::vector<NameCase> cases = {
        {"", "nazwa jest pusta"},
        {"ABCDEFGHIJKLM", "nazwa za długa: 13 znaków, najwyżej 11"},
        {"ABCDEFGHIJKLM.TXT", "nazwa przed rozszerzeniem za długa: 13 znaków, najwyżej 11"},
        {"A.TEXT", "rozszerzenie za długie: 4 znaków, najwyżej 3"},
        {"gamma.txt", "nazwa zajęta: w archiwum jest już GAMMA.TXT"},
        {"名.TXT", "nazwa ma znak spoza Windows-1250: 名.TXT"},
        {std::string("A\0B.TXT", 7), "nazwa zawiera bajt 0x00"},
        {"A/B.TXT", "nazwa niebezpieczna jako nazwa pliku: A/B.TXT contains '/'"},
    };
    select(1);
    for (const NameCase& each : cases) {
        SCOPED_TRACE(each.typed);
        ui.nameReplies.push_back(each.typed);
        form.RenameEntry1Click();
        ASSERT_EQ(ui.nameDialogs.back().refusals.size(), 1u);
        EXPECT_EQ(ui.nameDialogs.back().refusals[0], each.reason);
    }
    EXPECT_EQ(ui.nameDialogs.back().caption, "Zmień nazwę");
    EXPECT_EQ(ui.nameDialogs.back().initial, "BETA.TXT");
    EXPECT_FALSE(form.hasUnsavedChanges());

    ui.nameReplies.push_back(std::string("beta.txt"));  // its own name in another case: allowed
    form.RenameEntry1Click();
    EXPECT_TRUE(ui.nameDialogs.back().refusals.empty());
    EXPECT_EQ(captions()[1], "beta.txt *");
}

TEST_F(EditingTest, aSoundArchiveTakesWavFilesAndCountsItsNameWithoutTheSuffix) {
    open(write("sounds.snd", SndWriter().add("DRUM", "RIFFdrum").build()), 2);
    ui.nameReplies.push_back(std::nullopt);
    ui.fileReplies.push_back(
        {write("note.txt", "x"), write("ABCDEFGHIJKLM.wav", "RIFF13"), write("bell.WAV", "RIFFb")});
    form.AddFiles1Click();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "note.txt: do archiwum dźwięków można dodać tylko pliki .wav");
    ASSERT_EQ(ui.nameDialogs.size(), 1u);
    ASSERT_EQ(ui.nameDialogs[0].initial, "ABCDEFGHIJKLM");
    EXPECT_EQ(captions(), (std::vector<std::string>{"DRUM.Wav", "bell.Wav *"}));
    // The checker's reason for the name offered, as the dialog shows it.
    ui.nameReplies.push_back(std::string("ABCDEFGHIJKLM"));
    form.RenameEntry1Click();
    EXPECT_EQ(ui.nameDialogs.back().refusals,
              (std::vector<std::string>{"nazwa za długa: 13 znaków, najwyżej 12"}));
    form.MediaPlayer1Click(PlayerButton::Play);
    EXPECT_EQ(player.lastOpened(), "RIFFb") << "the player plays the new sound";
}

TEST_F(EditingTest, droppedFilesAreAdded) {
    form.filesDropped({write("DROP.TXT", "dropped")});
    // A sorted directory stays sorted.
    EXPECT_EQ(captions(), (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT", "DROP.TXT *",
                                                    "GAMMA.TXT"}));
}

TEST_F(EditingTest, revertAsksThenDropsEveryUnsavedEdit) {
    addNote();
    ui.answers.push_back(false);
    form.RevertChanges1Click();
    EXPECT_TRUE(form.hasUnsavedChanges());
    ui.answers.push_back(true);
    form.RevertChanges1Click();
    EXPECT_EQ(ui.questions.back().text, "Odrzucić wszystkie niezapisane zmiany w game.lod?");
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_EQ(captions(), (std::vector<std::string>{"ALPHA.TXT", "BETA.TXT", "GAMMA.TXT"}));
    EXPECT_EQ(ui.archiveTitle, "game.lod");
}

// Closing, opening another archive and quitting each ask; Cancel keeps everything as it was.
TEST_F(EditingTest, unsavedEditsAreSavedDiscardedOrKeptAsTheUserAnswers) {
    enum class Way { Close, Open, Quit };
    struct PromptCase {
        Way way;
        SaveAnswer answer;
        bool goesOn;
        bool saved;
    };
    const std::vector<PromptCase> cases = {
        {Way::Close, SaveAnswer::Save, true, true},   {Way::Close, SaveAnswer::Discard, true, false},
        {Way::Close, SaveAnswer::Cancel, false, false}, {Way::Open, SaveAnswer::Save, true, true},
        {Way::Open, SaveAnswer::Discard, true, false}, {Way::Open, SaveAnswer::Cancel, false, false},
        {Way::Quit, SaveAnswer::Save, true, true},    {Way::Quit, SaveAnswer::Discard, true, false},
        {Way::Quit, SaveAnswer::Cancel, false, false},
    };
    const std::string other = write("other.lod", LodWriter().add("X.TXT", "x").build());
    for (const PromptCase& each : cases) {
        SCOPED_TRACE(static_cast<int>(each.way) * 3 + static_cast<int>(each.answer));
        write("game.lod", original);
        HeadlessToolkit freshUi;
        MainForm fresh(freshUi, player);
        freshUi.openReplies.push_back(OpenChoice{archivePath, 1});
        fresh.ToolButton1Click();
        freshUi.fileReplies.push_back({write("NOTE.TXT", "a note")});
        fresh.AddFiles1Click();
        freshUi.saveAnswers.push_back(each.answer);
        bool wentOn = false;
        switch (each.way) {
            case Way::Close:
                wentOn = fresh.FormCloseQuery();
                break;
            case Way::Open:
                freshUi.openReplies.push_back(OpenChoice{other, 1});
                fresh.ToolButton1Click();
                wentOn = fresh.archivePath() == other;
                break;
            case Way::Quit:
                fresh.Exittheprogram1Click();
                wentOn = freshUi.closed;
                break;
        }
        ASSERT_EQ(freshUi.saveQuestions.size(), 1u);
        EXPECT_EQ(freshUi.saveQuestions[0].caption, "Zapisać zmiany?");
        EXPECT_EQ(freshUi.saveQuestions[0].text,
                  "Archiwum game.lod ma niezapisane zmiany. Zapisać je?");
        EXPECT_EQ(wentOn, each.goesOn);
        EXPECT_EQ(onDisk(archivePath).size(), each.saved ? 4u : 3u);
        EXPECT_EQ(fresh.hasUnsavedChanges(), !each.goesOn) << "kept only when cancelled";
    }
    // Nothing unsaved: no question.
    HeadlessToolkit freshUi;
    MainForm fresh(freshUi, player);
    EXPECT_TRUE(fresh.FormCloseQuery());
    EXPECT_TRUE(freshUi.saveQuestions.empty());
}

TEST_F(EditingTest, aFailedSaveLeavesTheArchiveByteIdenticalAndKeepsTheEdits) {
    addNote();
    form.editing().saveOptions.write = diskFull;
    form.SaveArchive1Click();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind("Nie zapisano " + archivePath + ": Disk full", 0), 0u)
        << ui.errors[0];
    EXPECT_EQ(read(archivePath), original);
    EXPECT_EQ(filesIn(folder), (std::set<std::string>{"game.lod", "NOTE.TXT", "out"}));
    EXPECT_TRUE(form.hasUnsavedChanges());
    EXPECT_EQ(captions().back(), "NOTE.TXT *");
    EXPECT_EQ(ui.archiveTitle, "*game.lod");

    // The edits are still there to retry, or to save elsewhere.
    form.editing().saveOptions.write = nullptr;
    const std::string copy = (folder / "copy.lod").string();
    ui.savePathReplies.push_back(copy);
    form.SaveArchiveAs1Click();
    EXPECT_EQ(ui.savePathStarts, (std::vector<std::string>{archivePath}));
    EXPECT_EQ(onDisk(copy).size(), 4u);
    EXPECT_EQ(read(archivePath), original);
    EXPECT_EQ(form.archivePath(), copy) << "the window goes on with the copy";
    EXPECT_EQ(ui.archiveTitle, "copy.lod");
}

// "Zapisz jako..." with a name without an extension writes it with the kind's; a file already of
// that name is replaced only when the user says so (the dialog asked about the name typed).
TEST_F(EditingTest, savingAsANameWithoutAnExtensionAddsTheKindsExtension) {
    struct Case {
        std::string typed;
        std::string written;
        bool existing;
        bool replace;  // the answer when it exists
    };
    const Case cases[] = {
        {"demo2", "demo2.lod", false, true},
        {"demo3.bak", "demo3.bak", false, true},
        {"demo4", "demo4.lod", true, false},
        {"demo5", "demo5.lod", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        open(archivePath, 1);
        addNote();
        const std::string kept = "someone else's file";
        if (c.existing) {
            write(c.written, kept);
        }
        ui.questions.clear();
        ui.answers.push_back(c.replace);
        ui.savePathReplies.push_back((folder / c.typed).string());
        form.SaveArchiveAs1Click();
        EXPECT_EQ(ui.questions.size(), c.existing ? 1u : 0u);
        if (c.existing && !c.replace) {
            EXPECT_EQ(read((folder / c.written).string()), kept);
            EXPECT_TRUE(form.hasUnsavedChanges());
            EXPECT_EQ(form.archivePath(), archivePath);
            ui.answers.clear();
            form.session().dropEdits();
            continue;
        }
        ui.answers.clear();
        EXPECT_FALSE(fs::exists(folder / c.typed) && c.typed != c.written);
        EXPECT_EQ(onDisk((folder / c.written).string()).size(), 4u);
        EXPECT_EQ(form.archivePath(), (folder / c.written).string());
        EXPECT_EQ(read(archivePath), original);
    }
}

TEST_F(EditingTest, aCancelledSaveLeavesTheArchiveAsItWas) {
    addNote();
    ui.cancelBackground = true;
    form.SaveArchive1Click();
    EXPECT_EQ(read(archivePath), original);
    EXPECT_EQ(ui.notices, (std::vector<std::string>{
                              "Zapisywanie przerwane: archiwum na dysku jest bez zmian."}));
    EXPECT_TRUE(form.hasUnsavedChanges());
}

TEST_F(EditingTest, savingOverAnArchiveChangedOnDiskAsksFirst) {
    addNote();
    const std::string theirs = LodWriter().add("THEIRS.TXT", "theirs").build();
    replaceByAnotherProgram(theirs);

    ui.changedOnDiskAnswers.push_back(ChangedOnDiskAnswer::Cancel);
    form.SaveArchive1Click();
    ASSERT_EQ(ui.changedOnDiskQuestions.size(), 1u);
    EXPECT_EQ(ui.changedOnDiskQuestions[0].caption, "Archiwum zmienione na dysku");
    EXPECT_EQ(read(archivePath), theirs);
    EXPECT_TRUE(form.hasUnsavedChanges());

    ui.changedOnDiskAnswers.push_back(ChangedOnDiskAnswer::Overwrite);
    form.SaveArchive1Click();
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(onDisk(archivePath).size(), 4u) << "our archive with the note";
    EXPECT_FALSE(form.hasUnsavedChanges());
}

TEST_F(EditingTest, anArchiveChangedOnDiskCanBeReloadedOrTheEditsSavedUnderAnotherName) {
    const std::string theirs = LodWriter().add("THEIRS.TXT", "theirs").build();
    const auto replaceOnDisk = [&] { replaceByAnotherProgram(theirs); };
    // Under another name: both the change on disk and the edits are kept.
    addNote();
    replaceOnDisk();
    const std::string other = (folder / "mine.lod").string();
    ui.changedOnDiskAnswers.push_back(ChangedOnDiskAnswer::SaveAs);
    ui.savePathReplies.push_back(other);
    form.SaveArchive1Click();
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(read(archivePath), theirs);
    EXPECT_EQ(onDisk(other).size(), 4u);
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_EQ(ui.archiveTitle, "mine.lod") << "the window shows what it saved";

    // Reloaded: the edits go and the list is the archive on disk, nothing of the old one left.
    open(archivePath, 1);
    addNote();
    const std::string newest = LodWriter().add("NEWEST.TXT", "n").add("ZETA.TXT", "z").build();
    replaceByAnotherProgram(newest);
    ui.changedOnDiskAnswers.push_back(ChangedOnDiskAnswer::Reload);
    form.SaveArchive1Click();
    EXPECT_EQ(read(archivePath), newest);
    EXPECT_FALSE(form.hasUnsavedChanges());
    EXPECT_EQ(captions(), (std::vector<std::string>{"NEWEST.TXT", "ZETA.TXT"}));
    EXPECT_EQ(ui.archiveTitle, "game.lod");

    // Save as, then cancelled in the save dialog: nothing written, the edits stay.
    addNote();
    replaceOnDisk();
    ui.changedOnDiskAnswers.push_back(ChangedOnDiskAnswer::SaveAs);
    ui.savePathReplies.push_back(std::nullopt);
    form.SaveArchive1Click();
    EXPECT_EQ(read(archivePath), theirs);
    EXPECT_TRUE(form.hasUnsavedChanges());
}

TEST_F(EditingTest, aHardLinkedOrWriteProtectedArchiveIsReplacedOnlyOnceConfirmed) {
    struct Case {
        const char* what;
        std::function<void()> protect;
        const char* question;
    };
    const fs::path otherName = folder / "other.lod";
    const std::vector<Case> cases = {
        {"hard-linked", [&] { fs::create_hard_link(archivePath, otherName); },
         "game.lod ma 2 nazwy"},
        {"write-protected", [&] { fs::permissions(archivePath, fs::perms(0444)); },
         "game.lod jest chronione przed zapisem"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        fs::remove(otherName);
        fs::permissions(archivePath, fs::perms(0644));
        write("game.lod", original);
        open(archivePath, 1);
        test.protect();
        addNote();
        ui.questions.clear();
        ui.answers.push_back(false);
        form.SaveArchive1Click();
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0].caption, "Archiwum chronione");
        EXPECT_EQ(ui.questions[0].text.rfind(test.question, 0), 0u) << ui.questions[0].text;
        EXPECT_EQ(read(archivePath), original);
        EXPECT_TRUE(form.hasUnsavedChanges());

        ui.answers.push_back(true);
        form.SaveArchive1Click();
        EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
        EXPECT_EQ(onDisk(archivePath).size(), 4u);
        EXPECT_FALSE(form.hasUnsavedChanges());
        if (fs::exists(otherName)) {
            EXPECT_EQ(read(otherName), original) << "the other name keeps the old archive";
        }
    }
}

TEST_F(EditingTest, aSaveWhileAnotherEditorHoldsTheArchiveIsRefusedAndKeepsTheEdits) {
    addNote();
    form.editing().saveOptions.lockWait = std::chrono::milliseconds(0);
    {
        const ArchiveLock other = ArchiveLock::take(archivePath);
        form.SaveArchive1Click();
        ASSERT_EQ(ui.errors.size(), 1u);
        EXPECT_NE(ui.errors[0].find("game.lod jest właśnie zmieniane przez inny program"),
                  std::string::npos)
            << ui.errors[0];
        EXPECT_EQ(read(archivePath), original);
        EXPECT_TRUE(form.hasUnsavedChanges());
    }
    form.SaveArchive1Click();
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(onDisk(archivePath).size(), 4u);
}

TEST_F(EditingTest, theArchiveAddedToItselfIsRefusedInTheWindowsWords) {
    ui.fileReplies.push_back({archivePath});
    form.AddFiles1Click();
    form.SaveArchive1Click();
    ASSERT_FALSE(ui.errors.empty());
    EXPECT_NE(ui.errors.back().find("to samo archiwum"), std::string::npos) << ui.errors.back();
    EXPECT_EQ(read(archivePath), original);
}

}  // namespace
}  // namespace brasvel
