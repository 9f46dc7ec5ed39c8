// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The preview panel and the frame scroll bar, driven through the headless window.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "tests/support/TestPlatform.h"
#include "tests/window/FakeWavePlayer.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "toolkit/HeadlessToolkit.h"
#include "window/MainForm.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using namespace writers;

std::string greyPalette() {
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        palette += std::string(3, static_cast<char>(i));
    }
    return palette;
}

// A frame whose every sprite pixel holds `index`, so the BMP shows which frame was rendered.
DefFrame solidFrame(std::uint8_t index, std::int32_t compression = 1) {
    DefFrame frame;
    frame.name = "F" + std::to_string(index);
    frame.compression = compression;
    frame.sprite = PixelGrid(4, 3, index);
    frame.left = 1;
    frame.top = 1;
    return frame;
}

// A 6 × 5 sprite of two blocks (3 and 5 frames); frame n is filled with index 10 + n.
std::string twoBlockSprite(std::int32_t type = 0x42) {
    DefWriter writer(type, 6, 5, greyPalette());
    DefBlock first;
    DefBlock second;
    for (std::uint8_t n = 1; n <= 3; ++n) {
        first.frames.push_back(solidFrame(static_cast<std::uint8_t>(10 + n)));
    }
    for (std::uint8_t n = 4; n <= 8; ++n) {
        second.frames.push_back(solidFrame(static_cast<std::uint8_t>(10 + n), n % 3));
    }
    return writer.block(first).block(second).build();
}

// The palette index of the picture's centre pixel in a BMP the preview loaded.
int centreIndex(const std::vector<std::byte>& bmp) {
    const auto width = static_cast<std::int32_t>(loadU32(bmp.data() + 18));
    const auto height = static_cast<std::int32_t>(loadU32(bmp.data() + 22));
    const std::uint32_t offBits = loadU32(bmp.data() + 10);
    const std::int32_t stride = (width + 3) / 4 * 4;
    const std::int32_t bottomUpRow = height - 1 - height / 2;
    return static_cast<int>(bmp.at(offBits + static_cast<std::size_t>(bottomUpRow * stride + width / 2)));
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder / "out");
        std::ofstream(folder / "out" / "temp.bmp") << "the user's own file";
        archive = (folder / "pictures.lod").string();
        std::ofstream(archive, std::ios::binary) << LodWriter()
                                                        .add("HERO.DEF", twoBlockSprite(), true)
                                                        .add("MAP.PCX", gamePcx8(PixelGrid(8, 4, 77), greyPalette()), true)
                                                        .add("BOOM.wav", "RIFFboom")
                                                        .add("ODD.Pcx", gamePcx8(PixelGrid(2, 2, 5), greyPalette()))
                                                        .add("ODD.Def", twoBlockSprite())
                                                        .add("CASTLE.def", twoBlockSprite(0x43))
                                                        .build();
        ui.openReplies.push_back(OpenChoice{archive, 1});
        form.ToolButton1Click();
        ui.folderReplies.push_back((folder / "out").string());
        form.SetPathForExtract1Click();
    }

    std::set<std::string> filesIn(const fs::path& where) const {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(where)) {
            names.insert(item.path().filename().string());
        }
        return names;
    }

    // Gone after the window, which may hold an archive in it open.
    testing::ScratchFolder scratch{"brasvel-preview"};
    const fs::path folder = scratch.path();
    std::string archive;
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form{ui, player};
};

TEST_F(PreviewTest, selectingShowsTheSizesWithoutRenderingWhileThePreviewIsOff) {
    form.numitem(1, true);
    EXPECT_EQ(ui.statusTexts[1], "FileSize: 812");
    EXPECT_NE(ui.statusTexts[3], "Archive : 0") << "a compressed entry states its stored size";
    EXPECT_EQ(ui.pictureLoads, 0);
}

TEST_F(PreviewTest, switchingOnWithASpriteSelectedShowsFrameOneAndTheFrameRange) {
    form.BitBtn3Click();
    EXPECT_TRUE(form.PreviewOn());
    EXPECT_TRUE(ui.previewVisible);
    EXPECT_TRUE(ui.scrollVisible);
    EXPECT_EQ(ui.scrollPosition, 1);
    EXPECT_EQ(ui.scrollMaximum, 8);
    EXPECT_EQ(centreIndex(ui.picture), 11);
    EXPECT_EQ(ui.previewHint, "HERO");
    EXPECT_EQ(ui.statusTexts[4], "X: 6");
    EXPECT_EQ(ui.statusTexts[5], "Y: 5");
    EXPECT_EQ(ui.typeBoxText, "42");
}

TEST_F(PreviewTest, framesAreNumberedAcrossBlocks) {
    form.BitBtn3Click();
    for (int frame = 1; frame <= 8; ++frame) {
        ui.userMovesFrameScroll(frame);
        EXPECT_EQ(centreIndex(ui.picture), 10 + frame) << frame;
    }
    ui.userMovesFrameScroll(4);
    EXPECT_EQ(centreIndex(ui.picture), 14) << "frame 4 is the first of the second block";
}

TEST_F(PreviewTest, selectingAnotherRowAfterASpriteFrameShowsItsPictureAndResetsTheFrameRow) {
    form.BitBtn3Click();
    ui.userMovesFrameScroll(3);
    const int loadsBefore = ui.pictureLoads;
    form.numitem(1, true);  // the picture
    EXPECT_EQ(ui.pictureLoads, loadsBefore + 1) << "the picture only, no frame of the sprite";
    EXPECT_EQ(centreIndex(ui.picture), 77);
    EXPECT_EQ(ui.pictureKind, PictureKind::Picture);
    EXPECT_FALSE(ui.scrollVisible);
    EXPECT_EQ(ui.scrollPosition, 1);
    EXPECT_EQ(ui.previewHint, "MAP");
    EXPECT_EQ(ui.statusTexts[4], "X: 8");
}

TEST_F(PreviewTest, anEntryWithoutPictureOrANewArchiveClearsThePreview) {
    form.BitBtn3Click();
    form.numitem(1, true);
    form.numitem(2, true);
    EXPECT_TRUE(ui.picture.empty());
    EXPECT_EQ(ui.previewPage, PreviewPage::Hex) << "a sound's bytes show as hex";
    EXPECT_EQ(ui.statusTexts[4], "X: -");
    EXPECT_EQ(ui.statusTexts[5], "Y: -");
    EXPECT_FALSE(ui.scrollVisible);
    EXPECT_EQ(ui.statusTexts[1], "FileSize: 8");
}

TEST_F(PreviewTest, mixedCaseExtensionsAreNeverRendered) {
    form.BitBtn3Click();
    const int loads = ui.pictureLoads;
    form.numitem(3, true);
    form.numitem(4, true);
    EXPECT_EQ(ui.pictureLoads, loads);
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(PreviewTest, aLowerCaseSpriteRendersWithItsOwnType) {
    form.BitBtn3Click();
    form.numitem(5, true);
    EXPECT_EQ(ui.typeBoxText, "43");
    EXPECT_EQ(ui.previewHint, "CASTLE");
}

TEST_F(PreviewTest, theButtonClearsThePictureSizeWhenSwitchingOffButTheMenuDoesNot) {
    form.BitBtn3Click();
    form.BitBtn3Click();
    EXPECT_FALSE(form.PreviewOn());
    EXPECT_FALSE(ui.previewVisible);
    EXPECT_EQ(ui.statusTexts[4], "X: 0");
    EXPECT_EQ(ui.statusTexts[5], "Y: 0");
    form.QuickView1Click();
    form.QuickView1Click();
    EXPECT_FALSE(ui.previewVisible);
    EXPECT_EQ(ui.statusTexts[4], "X: 6");
}

// The preview stays on and shows the new archive's selected entry: nothing of the sprite shown
// before stays (its frame row, its type in the type box, its sizes).
TEST_F(PreviewTest, openingAnotherArchiveWithThePreviewOnShowsItsSelectedEntry) {
    form.BitBtn3Click();
    ui.userMovesFrameScroll(5);
    ASSERT_EQ(ui.typeBoxText, "42");
    const std::string pictures = (folder / "map.lod").string();
    std::ofstream(pictures, std::ios::binary)
        << LodWriter().add("SEA.PCX", gamePcx8(PixelGrid(3, 2, 99), greyPalette())).build();
    for (const bool throughMenu : {false, true}) {
        ui.openReplies.push_back(OpenChoice{pictures, 1});
        throughMenu ? form.LoadResurceFile1Click() : form.ToolButton1Click();
        EXPECT_TRUE(form.PreviewOn());
        EXPECT_TRUE(ui.previewVisible);
        EXPECT_EQ(form.SelectedRow(), 0);
        ASSERT_FALSE(ui.picture.empty()) << ui.previewMessage;
        EXPECT_EQ(centreIndex(ui.picture), 99) << "the new archive's picture, not a message";
        EXPECT_EQ(ui.statusTexts[4], "X: 3");
        EXPECT_EQ(ui.statusTexts[5], "Y: 2");
        EXPECT_FALSE(ui.scrollVisible);
        EXPECT_EQ(ui.scrollPosition, 1);
        EXPECT_EQ(ui.typeBoxText, "*.*");
    }
    // An empty archive: no entry, no sizes of the former one.
    const std::string empty = (folder / "empty.lod").string();
    std::ofstream(empty, std::ios::binary) << LodWriter().build();
    ui.openReplies.push_back(OpenChoice{empty, 1});
    form.ToolButton1Click();
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_EQ(ui.statusTexts[1], "");
    EXPECT_EQ(ui.statusTexts[3], "");
    EXPECT_EQ(ui.previewMessage, "Nie wybrano pliku.");
}

TEST_F(PreviewTest, renderingLeavesTheExtractionFolderAsItWas) {
    const std::set<std::string> before = filesIn(folder / "out");
    form.BitBtn3Click();
    for (int frame = 1; frame <= 8; ++frame) {
        ui.userMovesFrameScroll(frame);
    }
    form.numitem(1, true);
    EXPECT_EQ(filesIn(folder / "out"), before);
    std::ifstream in(folder / "out" / "temp.bmp");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the user's own file");
}

TEST_F(PreviewTest, theScrollBarRendersNothingForAnEntryThatIsNoSprite) {
    form.BitBtn3Click();
    ui.userMovesFrameScroll(5);
    // A batch moves the selection to row 0 without touching the scroll bar; row 0 is the sprite,
    // so filter the list to make row 0 a picture.
    ui.typeIndex = 3;
    form.ViewLod();
    const int loads = ui.pictureLoads;
    ui.userMovesFrameScroll(2);
    EXPECT_EQ(ui.pictureLoads, loads);
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
}

TEST_F(PreviewTest, switchingOnBeforeAnyArchiveShowsAnEmptyPanel) {
    HeadlessToolkit freshUi;
    FakeWavePlayer freshPlayer;
    MainForm fresh(freshUi, freshPlayer);
    fresh.BitBtn3Click();
    EXPECT_TRUE(freshUi.previewVisible);
    EXPECT_EQ(freshUi.pictureLoads, 0);
    EXPECT_TRUE(freshUi.errors.empty());
}

TEST_F(PreviewTest, eachDamagedSpriteIsReportedOnceInThePreviewForTheEntryChosen) {
    const std::string damaged = (folder / "damaged.lod").string();
    std::string sprite = twoBlockSprite();
    std::ofstream(damaged, std::ios::binary)
        << LodWriter()
               .add("CUT.DEF", sprite.substr(0, 800))
               .add("CUT2.DEF", sprite.substr(0, 600))
               .add("CUT3.DEF", sprite.substr(0, 40))
               .add("OK.PCX", gamePcx8(PixelGrid(2, 2, 9), greyPalette()))
               .build();
    ui.openReplies.push_back(OpenChoice{damaged, 1});
    form.ToolButton1Click();
    form.QuickView1Click();
    EXPECT_TRUE(ui.errors.empty()) << "no message box for a preview";
    EXPECT_EQ(ui.previewMessage.rfind("CUT.DEF: Damaged sprite", 0), 0u) << ui.previewMessage;
    EXPECT_EQ(ui.pictureLoads, 0);
    // From one damaged sprite to another: the new one's failure only, never the previous one's.
    std::vector<std::string> shown;
    for (int row : {1, 2, 1}) {
        form.numitem(row, true);
        shown.push_back(ui.previewMessage);
    }
    EXPECT_EQ(shown[0].rfind("CUT2.DEF: ", 0), 0u) << shown[0];
    EXPECT_EQ(shown[1].rfind("CUT3.DEF: ", 0), 0u) << shown[1];
    EXPECT_EQ(shown[2].rfind("CUT2.DEF: ", 0), 0u) << shown[2];
    EXPECT_EQ(ui.pictureLoads, 0);
    EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
}  // namespace brasvel
