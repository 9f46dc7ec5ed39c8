// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The preview's pages beside the picture, sprite playback, and saving what the preview shows,
// driven through the headless window.


#include "imaging/Bmp.h"
#include "imaging/PictureFormats.h"
#include "imaging/SpriteListing.h"
#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "tools/writers/SoundWriters.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using namespace writers;



// One block of three frames whose second frame states an encoding that does not exist.
std::string spriteWithABadFrame() {
    DefWriter writer(0x42, 5, 4, rampPalette());
    DefBlock block;
    for (int n = 1; n <= 3; ++n) {
        DefFrame frame;
        frame.name = "B" + std::to_string(n);
        frame.sprite = PixelGrid(3, 2, 30);
        if (n == 2) {
            frame.statedCompression = 9;
        }
        block.frames.push_back(frame);
    }
    return writer.block(block).build();
}

// Rows of the archive below, in directory order.
enum Row {
    kSprite,
    kPicture,
    kText,
    kPalette,
    kShortPalette,
    kSound,
    kLongText,
    kBinaryTxt,
    kDamagedText,
    kBadSprite,
    kTone,
    kFont,
    kMask,
    kOddFont
};

// A font of two 8 x 2 glyphs: the header, then each glyph's two rows.
const std::string kTwoGlyphs("FNT\x08\x02\x81\x42\xFF\x00", 9);

class PreviewPagesTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        archive = write("pages.lod",
                        LodWriter()
                            .add("HERO.DEF", fiveFrameSprite(), true)
                            .add("MAP.PCX", gamePcx8(PixelGrid(6, 3, 9), rampPalette()), true)
                            .add("NOTE.txt", "Za\xBF\xF3\xB3\x63\r\ndruga linia\r\n")
                            .add("GAME.PAL", rampPalette())
                            .add("HALF.PAL", rampPalette().substr(0, 300))
                            .add("BOOM.wav", "RIFFboom plain letters")
                            .add("LONG.msg", std::string(300 * 1024, 'a'), true)
                            .add("ODD.TXT", std::string("\x01\x00\x02zz", 5))
                            .addStored("BROKEN.TXT", "no zlib stream", 4096, 14)
                            .add("BAD.DEF", spriteWithABadFrame(), true)
                            .add("TONE.wav", pcmWave(1.5, 8000, [](double t) { return t - 1; }))
                            .add("SMALL.FNT", kTwoGlyphs, true)
                            .add("BALL.MSK", std::string("\x02\x02\x40\x80\xC0\x00", 6))
                            .add("ODD.FNT", kTwoGlyphs.substr(0, 8))
                            .build());
        ui.openReplies.push_back(OpenChoice{archive, 1});
        form.ToolButton1Click();
        form.BitBtn3Click();
    }

    std::string archive;
};

TEST_F(PreviewPagesTest, eachEntryChoosesItsPage) {
    struct Case {
        Row row;
        PreviewPage page;
    };
    const Case cases[] = {
        {kText, PreviewPage::Text},        {kPalette, PreviewPage::Colours},
        {kShortPalette, PreviewPage::Hex}, {kSound, PreviewPage::Hex},
        {kBinaryTxt, PreviewPage::Hex},    {kLongText, PreviewPage::Text},
        {kPicture, PreviewPage::Image},    {kSprite, PreviewPage::Image},
        {kTone, PreviewPage::Image},       {kFont, PreviewPage::Image},
        {kMask, PreviewPage::Image},       {kOddFont, PreviewPage::Hex},
    };
    for (const Case& c : cases) {
        form.numitem(c.row, true);
        EXPECT_EQ(ui.previewPage, c.page) << "row " << c.row;
    }
    EXPECT_TRUE(ui.errors.empty());
}

// Sounds, fonts and masks are drawn under their figures; leaving them for a picture takes the
// figures away, and none of them is a picture to save.
TEST_F(PreviewPagesTest, soundsFontsAndMasksAreDrawnUnderTheirFigures) {
    struct Case {
        Row row;
        std::string figures;
        std::int32_t width;  // of the drawing
        std::int32_t height;
    };
    const Case cases[] = {
        {kTone, "Dźwięk PCM, 8000 Hz, kanały: 1, 16 bit, czas 0:01,5", 480, 120},
        {kFont, "Czcionka: 2 znaków 8 × 2 pikseli, od kodu 32", 23, 6},
        {kMask, "Maska: 2 × 2 pól, warstwy: 2", 2 * 25 + 12, 25},
    };
    for (const Case& c : cases) {
        form.numitem(c.row, true);
        EXPECT_EQ(ui.drawingFigures, c.figures);
        const Picture drawn = decodeBmp(ui.picture);
        EXPECT_EQ(drawn.width, c.width) << c.figures;
        EXPECT_EQ(drawn.height, c.height) << c.figures;
        EXPECT_FALSE(ui.commands.savePicture);
        form.numitem(kPicture, true);
        EXPECT_EQ(ui.drawingFigures, "");
    }
    EXPECT_TRUE(ui.errors.empty());
}

// Without a sound device the first Play says so; later ones leave it to the sound's figures.
TEST_F(PreviewPagesTest, noSoundDeviceIsSaidOnceThenShownWithTheSoundsFigures) {
    const std::string sounds =
        write("tones.snd", SndWriter()
                               .add(std::string("TONE\0wav", 8),
                                    pcmWave(1.5, 8000, [](double t) { return t - 1; }))
                               .build());
    ui.openReplies.push_back(OpenChoice{sounds, 2});
    form.ToolButton1Click();
    ASSERT_TRUE(player.isOpen());
    player.output = false;
    for (int press = 0; press < 3; ++press) {
        form.MediaPlayer1Click(PlayerButton::Play);
        form.playSound();
    }
    EXPECT_FALSE(player.playing);
    EXPECT_EQ(ui.errors, std::vector<std::string>{"Brak urządzenia dźwiękowego"});
    EXPECT_EQ(ui.drawingFigures,
              "Dźwięk PCM, 8000 Hz, kanały: 1, 16 bit, czas 0:01,5 — Brak urządzenia dźwiękowego");
    player.output = true;
    form.MediaPlayer1Click(PlayerButton::Play);
    form.playSound();
    EXPECT_TRUE(player.playing);
}

TEST_F(PreviewPagesTest, textIsDecodedAndLongTextsAreCutWithANote) {
    form.numitem(kText, true);
    EXPECT_EQ(ui.previewText, "Zażółc\ndruga linia\n");
    EXPECT_EQ(ui.pageNote, "");
    EXPECT_EQ(ui.statusTexts[4], "X: -") << "no picture size for a text";

    form.numitem(kLongText, true);
    EXPECT_EQ(ui.previewText.size(), std::size_t{256} * 1024);
    EXPECT_EQ(ui.pageNote, "Pokazano pierwsze 256 KB z 300 KB.");
}

TEST_F(PreviewPagesTest, paletteShowsItsColoursAndHexIsBounded) {
    form.numitem(kPalette, true);
    ASSERT_EQ(ui.paletteShown.size(), 256u);
    EXPECT_EQ(ui.paletteShown[37], (SwatchColour{37, 218, 18}));

    form.numitem(kSound, true);
    EXPECT_EQ(ui.hexBytes.size(), 22u);
    EXPECT_EQ(ui.pageNote, "");
}

TEST_F(PreviewPagesTest, playStepsThroughTheBlockOfTheShownFrameAndTheScrollBarFollows) {
    form.numitem(kSprite, true);
    EXPECT_EQ(ui.frameCaption, "klatka 1 / 5   blok 0 (1 / 3)");
    form.PlayFramesClick();
    ASSERT_TRUE(form.Playing());
    EXPECT_EQ(ui.frameTimerInterval, 100);

    std::vector<int> positions;
    for (int tick = 0; tick < 4; ++tick) {
        ui.frameTimerFires();
        positions.push_back(ui.scrollPosition);
    }
    EXPECT_EQ(positions, (std::vector<int>{2, 3, 1, 2})) << "loops within the first block";

    ui.userMovesFrameScroll(4);
    EXPECT_EQ(ui.frameCaption, "klatka 4 / 5   blok 1 (1 / 2)");
    ui.frameTimerFires();
    ui.frameTimerFires();
    EXPECT_EQ(ui.scrollPosition, 4) << "the second block has frames 4 and 5";

    form.FrameSpeedChange(25);
    EXPECT_EQ(ui.frameTimerInterval, 40);
    form.FrameSpeedChange(1000);
    EXPECT_EQ(form.FramesPerSecond(), kFastestPlayback);

    form.PlayFramesClick();
    EXPECT_FALSE(form.Playing());
    EXPECT_EQ(ui.frameTimerInterval, 0);
}

TEST_F(PreviewPagesTest, playbackStopsWhenTheSpriteIsNoLongerShown) {
    const std::function<void()> leaves[] = {
        [&] { form.numitem(kPicture, true); },
        [&] { form.BitBtn3Click(); },  // the preview closes
        [&] {
            ui.openReplies.push_back(OpenChoice{archive, 1});
            form.ToolButton1Click();
        },
        [&] { form.searchEdited("MAP"); },
    };
    for (const auto& leave : leaves) {
        form.searchEdited("");
        if (!form.PreviewOn()) {
            form.BitBtn3Click();
        }
        form.numitem(kSprite, true);
        form.PlayFramesClick();
        ASSERT_TRUE(form.Playing());
        leave();
        EXPECT_FALSE(form.Playing());
        EXPECT_EQ(ui.frameTimerInterval, 0);
        const int position = ui.scrollPosition;
        form.FrameTimerTimer();  // a tick already queued changes nothing
        EXPECT_EQ(ui.scrollPosition, position);
    }
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(PreviewPagesTest, aDamagedEntryOrFrameShowsItsErrorInThePanelAndEndsPlayback) {
    form.numitem(kDamagedText, true);
    EXPECT_EQ(ui.previewPage, PreviewPage::Image);
    EXPECT_NE(ui.previewMessage.find("Damaged entry"), std::string::npos) << ui.previewMessage;

    form.numitem(kBadSprite, true);
    form.PlayFramesClick();
    ASSERT_TRUE(form.Playing());
    ui.frameTimerFires();
    EXPECT_FALSE(form.Playing());
    EXPECT_EQ(ui.frameTimerInterval, 0);
    EXPECT_NE(ui.previewMessage.find("BAD.DEF"), std::string::npos) << ui.previewMessage;
    EXPECT_FALSE(ui.commands.savePicture) << "nothing shown to save";
    EXPECT_TRUE(ui.errors.empty()) << "shown in the panel, not in a box";
}

TEST_F(PreviewPagesTest, playNeedsAShownFrame) {
    form.numitem(kPicture, true);
    form.PlayFramesClick();
    EXPECT_FALSE(form.Playing());
    EXPECT_EQ(ui.frameTimerInterval, 0);
}

TEST_F(PreviewPagesTest, savesTheShownFrameAsPngWithTransparency) {
    form.numitem(kSprite, true);
    ui.userMovesFrameScroll(3);
    EXPECT_TRUE(ui.commands.savePicture);
    EXPECT_TRUE(ui.commands.exportSprite);
    ui.saveReplies.push_back((folder / "out" / "frame.png").string());
    ui.saveReplies.push_back((folder / "out" / "frame.BMP").string());
    form.SavePictureAsPngClick();
    form.SavePictureAsPngClick();

    ASSERT_EQ(ui.saveSuggestions.size(), 2u);
    EXPECT_EQ(fs::path(ui.saveSuggestions[0]).filename(), "HERO-3.png");
    ASSERT_TRUE(ui.errors.empty()) << ui.errors[0];
    const std::string png = read(folder / "out" / "frame.png");
    const Picture saved = decodePicture(
        {reinterpret_cast<const std::byte*>(png.data()), png.size()}, PictureFormat::Png);
    EXPECT_EQ(saved.width, 5);
    EXPECT_EQ(saved.height, 4);
    EXPECT_EQ(saved.pixels[0], 0) << "outside the sprite";
    EXPECT_EQ(saved.pixels[6], 23) << "frame 3's colour";
    EXPECT_NE(png.find("tRNS"), std::string::npos) << "index 0 is transparent";
    EXPECT_EQ(read(folder / "out" / "frame.BMP").substr(0, 2), "BM") << "the suffix decides";
    EXPECT_EQ(ui.notices.size(), 2u);
}

TEST_F(PreviewPagesTest, aCancelledDialogOrTheArchiveItselfWritesNothing) {
    form.numitem(kPicture, true);
    ui.saveReplies.push_back(std::nullopt);
    form.SavePictureAsPngClick();
    EXPECT_TRUE(filesIn(folder / "out").empty());

    const std::string before = read(archive);
    std::vector<std::string> targets{archive};
    std::set<std::string> left;
    if (!testing::kOnWindows) {  // a symbolic link to it too, where links are made freely
        fs::create_symlink(archive, folder / "out" / "link.png");
        targets.push_back((folder / "out" / "link.png").string());
        left.insert("link.png");
    }
    for (const std::string& target : targets) {
        ui.saveReplies.push_back(target);
        form.SavePictureAsPngClick();
    }
    EXPECT_EQ(read(archive), before);
    ASSERT_EQ(ui.errors.size(), targets.size());
    EXPECT_NE(ui.errors[0].find("otwarte archiwum"), std::string::npos) << ui.errors[0];
    EXPECT_EQ(filesIn(folder / "out"), left);
    EXPECT_TRUE(ui.notices.empty());

    ui.saveReplies.push_back((folder / "missing" / "x.png").string());
    form.SavePictureAsPngClick();
    EXPECT_EQ(ui.errors.size(), targets.size() + 1);
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

TEST_F(PreviewPagesTest, nothingToSaveWithoutAShownPicture) {
    form.numitem(kText, true);
    EXPECT_FALSE(ui.commands.savePicture);
    EXPECT_FALSE(ui.commands.exportSprite);
    ui.saveReplies.push_back((folder / "out" / "x.png").string());
    form.SavePictureAsPngClick();
    EXPECT_TRUE(ui.saveSuggestions.empty());
    EXPECT_TRUE(filesIn(folder / "out").empty());
}

TEST_F(PreviewPagesTest, exportsTheSelectedSpriteAsTheCommandLineDoes) {
    form.numitem(kSprite, true);
    ui.folderReplies.push_back((folder / "out").string());
    ui.choiceAnswers = {0, 0, 2, 1};
    form.ExportSpriteClick();
    ASSERT_TRUE(ui.errors.empty()) << ui.errors[0];
    EXPECT_EQ(ui.choiceQuestions[0].buttons,
              (std::vector<std::string>{"Przezroczyste", "Z paletą bez zmian", "Anuluj"}));
    const std::set<std::string> expected = {
        "0-0.png",     "0-1.png",   "0-2.png",
        "1-0.png",     "1-1.png",   "block-0.png",
        "block-1.png", "sheet.png", std::string(kSpriteListingName)};
    EXPECT_EQ(filesIn(folder / "out"), expected);
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_NE(ui.notices[0].find("Zapisano 9 plików sprite'a HERO.DEF"), std::string::npos)
        << ui.notices[0];

    // Again: the files exist, and the user keeps them.
    fs::resize_file(folder / "out" / "sheet.png", 1);
    ui.answers.push_back(false);
    ui.folderReplies.push_back((folder / "out").string());
    form.ExportSpriteClick();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions[0].text.find("9 z 9"), std::string::npos) << ui.questions[0].text;
    EXPECT_EQ(fs::file_size(folder / "out" / "sheet.png"), 1u);

    // A cancelled folder chooser, or a cancelled choice of the palette, writes nothing.
    form.ExportSpriteClick();
    fs::create_directory(folder / "none");
    ui.folderReplies.push_back((folder / "none").string());
    form.ExportSpriteClick();
    EXPECT_EQ(ui.notices.size(), 1u);
    EXPECT_TRUE(filesIn(folder / "none").empty());

    // With the palette kept, the frames hold the markers' own colours, opaque, as the command
    // line's --keep-palette writes them.
    fs::create_directory(folder / "kept");
    ui.folderReplies.push_back((folder / "kept").string());
    form.ExportSpriteClick();
    ASSERT_EQ(ui.notices.size(), 2u) << (ui.errors.empty() ? "" : ui.errors.back());
    const std::string listing = read(folder / "kept" / std::string(kSpriteListingName));
    EXPECT_NE(listing.find("colours kept"), std::string::npos) << listing;
    const std::string shown = read(folder / "out" / std::string(kSpriteListingName));
    EXPECT_NE(shown.find("colours transparent"), std::string::npos) << shown;
}

}  // namespace
}  // namespace brasvel
