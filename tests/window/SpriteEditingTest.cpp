// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The window's sprite edits: a sprite imported from an export's folder, in place of the selected
// one or as a new entry, and one frame replaced from a picture; each a pending step that undo
// takes back, and nothing changed when a picture does not fit.

#include "archive/Archive.h"
#include "extract/EntryContent.h"
#include "imaging/DefSprite.h"
#include "imaging/PictureFormats.h"
#include "imaging/SpriteFiles.h"
#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using namespace writers;



Colour rampColour(int index) {
    return {static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(255 - index),
            static_cast<std::uint8_t>(index / 2)};
}

// A 5 x 4 RGB picture of ramp colour `index` everywhere, `odd` at (4, 3).
std::string rgbFrame(int index, Colour odd, int height = 4) {
    Picture picture = Picture::blank(5, height, PixelFormat::Rgb24);
    for (std::size_t k = 0; k < picture.pixels.size() / 3; ++k) {
        const Colour c = k + 1 == picture.pixels.size() / 3 ? odd : rampColour(index);
        picture.pixels[k * 3] = c.red;
        picture.pixels[k * 3 + 1] = c.green;
        picture.pixels[k * 3 + 2] = c.blue;
    }
    const std::vector<std::byte> png = encodePicture(picture, PictureFormat::Png);
    return {reinterpret_cast<const char*>(png.data()), png.size()};
}

class SpriteEditingTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        original = LodWriter().add("HERO.DEF", fiveFrameSprite(), true).add("NOTE.TXT", "n").build();
        archivePath = write("game.lod", original);
        ui.openReplies.push_back(OpenChoice{archivePath, 1});
        form.ToolButton1Click();
        form.BitBtn3Click();
        select("HERO.DEF");
    }



    // Frame `frame` of the sprite `name` as the archive on disk holds it.
    Picture savedFrame(const std::string& name, std::uint32_t frame) const {
        const Archive archive = Archive::open(archivePath, kLodFormat);
        for (const Entry& entry : archive.entries()) {
            if (entry.caption == name) {
                const std::vector<std::byte> content = entryContent(archive, entry);
                return DefSprite::walk(content, name).decodeFrame(frame);
            }
        }
        ADD_FAILURE() << name << " not in the archive";
        return {};
    }

    std::string original;
    std::string archivePath;
};

TEST_F(SpriteEditingTest, anExportEditedInColoursComesBackInPlaceOrAsANewSprite) {
    EXPECT_TRUE(ui.commands.edit.spritesEditable);
    EXPECT_TRUE(ui.commands.edit.spriteSelected);
    const fs::path exported = folder / "hero";
    fs::create_directory(exported);
    ui.folderReplies.push_back(exported.string());
    ui.choiceAnswers.push_back(1);  // the palette kept
    form.ExportSpriteClick();
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
    // Frame 2 redrawn in an image editor, saved as RGB, one pixel in colour 40.
    write("hero/0-1.png", rgbFrame(22, rampColour(40)));

    ui.folderReplies.push_back(exported.string());
    ui.choiceAnswers.push_back(0);  // in place of HERO.DEF
    form.ImportSpriteClick();
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(ui.choiceQuestions.back().buttons,
              (std::vector<std::string>{"Zastąp HERO.DEF", "Dodaj jako nowy", "Anuluj"}));
    EXPECT_EQ(captions(), (std::vector<std::string>{"HERO.DEF *", "NOTE.TXT"}));
    EXPECT_EQ(ui.commands.edit.undoText, "Cofnij: importuj sprite HERO.DEF");
    form.UndoEdit1Click();
    EXPECT_EQ(captions(), (std::vector<std::string>{"HERO.DEF", "NOTE.TXT"}));
    EXPECT_FALSE(ui.commands.edit.changed);
    form.RedoEdit1Click();

    // Again as a new sprite, named by the user; a cancelled choice changes nothing.
    ui.folderReplies.push_back(exported.string());
    ui.choiceAnswers.push_back(2);
    form.ImportSpriteClick();
    select("HERO.DEF");
    ui.folderReplies.push_back(exported.string());
    ui.choiceAnswers.push_back(1);
    ui.nameReplies.push_back("COPY.DEF");
    form.ImportSpriteClick();
    EXPECT_EQ(ui.nameDialogs.back().initial, "HERO.DEF");
    EXPECT_EQ(captions(), (std::vector<std::string>{"COPY.DEF *", "HERO.DEF *", "NOTE.TXT"}));

    form.SaveArchive1Click();
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
    for (const std::string name : {"HERO.DEF", "COPY.DEF"}) {
        const Picture frame = savedFrame(name, 2);
        EXPECT_EQ(frame.pixels.back(), 40) << name;
        EXPECT_EQ(frame.pixels.front(), 22) << name;
        EXPECT_EQ(savedFrame(name, 1).pixels.back(), 0) << name << ": frame 1 as it was";
    }
}

TEST_F(SpriteEditingTest, oneFrameIsReplacedFromAPictureOrNothingChanges) {
    ui.userMovesFrameScroll(4);
    // Refused, each saying why, the archive and the list unchanged: a row short, a row too many,
    // a colour that is not the sprite's, not a picture.
    const Colour outside{1, 2, 3};
    const std::vector<std::pair<std::string, std::string>> refused = {
        {write("short.png", rgbFrame(30, rampColour(30), 3)), "5 x 3"},
        {write("tall.png", rgbFrame(30, rampColour(30), 5)), "5 x 5"},
        {write("odd.png", rgbFrame(30, outside)), "pixel (4, 3) is #010203"},
        {write("frame.txt", "text"), "tylko obrazem .png lub .bmp"},
    };
    for (const auto& [path, said] : refused) {
        ui.fileReplies.push_back({path});
        form.ReplaceFrameClick();
        ASSERT_FALSE(ui.errors.empty()) << path;
        EXPECT_NE(ui.errors.back().find(said), std::string::npos) << ui.errors.back();
        EXPECT_EQ(captions(), (std::vector<std::string>{"HERO.DEF", "NOTE.TXT"})) << path;
        EXPECT_FALSE(ui.commands.edit.canUndo) << path;
    }
    EXPECT_EQ(ui.fileCaptions.back(), "Obraz (PNG, BMP) na klatkę 4 sprite'a HERO.DEF");

    const std::size_t errors = ui.errors.size();
    ui.fileReplies.push_back({write("good.png", rgbFrame(30, rampColour(31)))});
    form.ReplaceFrameClick();
    EXPECT_EQ(ui.errors.size(), errors) << ui.errors.back();
    EXPECT_EQ(captions(), (std::vector<std::string>{"HERO.DEF *", "NOTE.TXT"}));
    EXPECT_EQ(ui.commands.edit.undoText, "Cofnij: zastąp klatkę 4 w HERO.DEF");
    form.SaveArchive1Click();
    const Picture frame = savedFrame("HERO.DEF", 4);
    EXPECT_EQ(frame.pixels.front(), 30);
    EXPECT_EQ(frame.pixels.back(), 31);
    EXPECT_EQ(savedFrame("HERO.DEF", 3).pixels[5 + 1], 23) << "frame 3 as it was";

    select("NOTE.TXT");
    EXPECT_FALSE(ui.commands.edit.spriteSelected);
}

}  // namespace
}  // namespace brasvel
