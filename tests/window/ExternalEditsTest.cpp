// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Entries edited in another program: the rule that tells a complete save, and the window's loop
// of writing an entry out, watching it, asking, converting it back and undoing it.

#include <chrono>
#include <thread>

#include "archive/Archive.h"
#include "extract/EntryContent.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"
#include "imaging/Png.h"
#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "window/ExternalEdits.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using namespace writers;

TEST(SaveWatch, ASaveCountsOnceTwoChecksInARowSeeTheSameNewStamp) {
    const FileStamp start{true, 10, 1000, 1};
    const FileStamp grown{true, 20, 1001, 1};
    const FileStamp grownMore{true, 30, 1002, 1};
    const FileStamp touched{true, 10, 1001, 1};  // the same size, one tick later
    const FileStamp gone{};
    struct Case {
        std::string what;
        std::vector<FileStamp> checks;
        std::vector<bool> saved;
    };
    const std::vector<Case> cases = {
        {"unchanged", {start, start, start}, {false, false, false}},
        {"saved once", {grown, grown, grown}, {false, true, false}},
        {"still writing", {grown, grownMore, grownMore}, {false, false, true}},
        {"only the time", {touched, touched}, {false, true}},
        {"back as it was", {grown, start, start}, {false, false, false}},
        {"replaced through a rename", {gone, gone, grown, grown}, {false, false, false, true}},
        {"gone between two equal checks", {grown, gone, grown}, {false, false, false}},
        {"saved twice", {grown, grown, grownMore, grownMore}, {false, true, false, true}},
    };
    for (const Case& c : cases) {
        SaveWatch watch(start);
        for (std::size_t i = 0; i < c.checks.size(); ++i) {
            EXPECT_EQ(watch.check(c.checks[i]), c.saved[i]) << c.what << ", check " << i + 1;
        }
    }
}

std::string asText(const std::vector<std::byte>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string greyPalette() {
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        palette.append(3, static_cast<char>(i));
    }
    return palette;
}

// An RGB picture of `colours` different greys and blues, `width` x 2.
std::string rgbPng(int colours, int width) {
    Picture picture = Picture::blank(width, 2, PixelFormat::Rgb24);
    for (int k = 0; k < width * 2; ++k) {
        const int c = k % colours;
        picture.pixels[static_cast<std::size_t>(k) * 3] = static_cast<std::uint8_t>(c % 256);
        picture.pixels[static_cast<std::size_t>(k) * 3 + 1] = static_cast<std::uint8_t>(c % 256);
        picture.pixels[static_cast<std::size_t>(k) * 3 + 2] = static_cast<std::uint8_t>(c / 256);
    }
    return asText(encodePicture(picture, PictureFormat::Png));
}

class ExternalEditsTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        archivePath = write("game.lod", LodWriter()
                                            .add("MAP.PCX", gamePcx8(PixelGrid(6, 2, 9),
                                                                     greyPalette()), true)
                                            .add("NOTE.TXT", "first words", true)
                                            .build());
        ui.openReplies.push_back(OpenChoice{archivePath, 1});
        form.ToolButton1Click();
    }



    // What another program does: writes the file, with a later time than the last.
    void saveOutside(const std::string& path, const std::string& content) {
        const auto before = fs::exists(path) ? fs::last_write_time(path)
                                             : fs::file_time_type::clock::now();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        fs::last_write_time(path, before + std::chrono::seconds(1));
    }

    // Two ticks of the timer: the save seen, then seen again unchanged.
    void twoTicks() {
        form.ExternalWatchTick();
        form.ExternalWatchTick();
    }

    std::string saved(const std::string& name) const {
        const Archive archive = Archive::open(archivePath, kLodFormat);
        for (const Entry& entry : archive.entries()) {
            if (entry.caption == name) {
                return asText(entryContent(archive, entry));
            }
        }
        return {};
    }

    std::string archivePath;
};

TEST_F(ExternalEditsTest, aSavedTextIsAskedAboutTakenInAsOneStepAndUndone) {
    select("NOTE.TXT");
    form.EditExternallyClick();
    ASSERT_EQ(ui.externalOpens.size(), 1u);
    const std::string path = ui.externalOpens[0].path;
    EXPECT_EQ(fs::path(path).filename(), "NOTE.TXT");
    EXPECT_EQ(read(path), "first words") << "inflated";
    EXPECT_GT(ui.watchTimerInterval, 0);

    saveOutside(path, "second words");
    form.ExternalWatchTick();
    EXPECT_TRUE(ui.choiceQuestions.empty()) << "one check is not enough";
    ui.choiceAnswers = {0};
    form.ExternalWatchTick();
    ASSERT_EQ(ui.choiceQuestions.size(), 1u);
    EXPECT_EQ(ui.choiceQuestions[0].text, "Plik NOTE.TXT został zmieniony. Uaktualnić archiwum?");
    EXPECT_EQ(ui.choiceQuestions[0].buttons,
              (std::vector<std::string>{"Tak", "Tak, zawsze dla tego pliku", "Nie"}));
    EXPECT_EQ(captions(), (std::vector<std::string>{"MAP.PCX", "NOTE.TXT *"}));
    EXPECT_EQ(ui.commands.edit.undoText, "Cofnij: zmiana NOTE.TXT w innym programie");
    form.UndoEdit1Click();
    EXPECT_EQ(captions(), (std::vector<std::string>{"MAP.PCX", "NOTE.TXT"}));

    // "Nie" leaves the archive; "Tak, zawsze" takes this save and the next without asking.
    saveOutside(path, "third");
    ui.choiceAnswers = {2};
    twoTicks();
    EXPECT_EQ(captions(), (std::vector<std::string>{"MAP.PCX", "NOTE.TXT"}));
    saveOutside(path, "fourth");
    ui.choiceAnswers = {1};
    twoTicks();
    saveOutside(path, "fifth, last");
    twoTicks();
    EXPECT_EQ(ui.choiceQuestions.size(), 3u);
    EXPECT_EQ(captions(), (std::vector<std::string>{"MAP.PCX", "NOTE.TXT *"}));
    form.SaveArchive1Click();
    EXPECT_EQ(saved("NOTE.TXT"), "fifth, last");
    EXPECT_EQ(ui.errors, std::vector<std::string>{});
}

TEST_F(ExternalEditsTest, aPictureComesBackAtItsBitsOrSaysWhyAndChangesNothing) {
    select("MAP.PCX");
    form.EditExternallyClick();
    const std::string path = ui.externalOpens.at(0).path;
    EXPECT_EQ(fs::path(path).filename(), "MAP.png");
    const std::string png = read(path);
    const Picture out = decodePng({reinterpret_cast<const std::byte*>(png.data()), png.size()});
    EXPECT_EQ(out.format, PixelFormat::Indexed8) << "indexed with its palette";

    // 257 colours cannot be an 8-bit picture: refused, named; 256 can.
    ui.choiceAnswers = {0, 0};
    saveOutside(path, rgbPng(257, 300));
    twoTicks();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind("Nie uaktualniono archiwum plikiem MAP.png: ", 0), 0u)
        << ui.errors[0];
    EXPECT_EQ(captions(), (std::vector<std::string>{"MAP.PCX", "NOTE.TXT"}));
    EXPECT_FALSE(ui.commands.edit.canUndo);
    saveOutside(path, rgbPng(256, 300));
    twoTicks();
    EXPECT_EQ(captions(), (std::vector<std::string>{"MAP.PCX *", "NOTE.TXT"}));
    form.SaveArchive1Click();
    const std::string pcx = saved("MAP.PCX");
    const Picture back = decodePcx({reinterpret_cast<const std::byte*>(pcx.data()), pcx.size()});
    EXPECT_EQ(back.format, PixelFormat::Indexed8);
    EXPECT_EQ(back.width, 300);
}

// A sprite goes out as its export's folder, palette kept; a frame saved at another size is
// refused, named, and changes nothing; the folder put right comes back as the sprite.
TEST_F(ExternalEditsTest, aSpriteGoesOutAsAFolderAndComesBackThroughTheImport) {
    DefBlock block;
    for (int n = 1; n <= 2; ++n) {
        DefFrame frame;
        frame.name = "F" + std::to_string(n);
        frame.sprite = PixelGrid(3, 2, static_cast<std::uint8_t>(20 + n));
        block.frames.push_back(frame);
    }
    const std::string sprites =
        write("sprites.lod",
              LodWriter().add("HERO.DEF", DefWriter(0x42, 5, 4, greyPalette()).block(block).build())
                  .build());
    ui.openReplies.push_back(OpenChoice{sprites, 1});
    form.ToolButton1Click();
    select("HERO.DEF");
    form.EditExternallyClick();
    const fs::path out = ui.externalOpens.at(0).path;
    EXPECT_EQ(out.filename(), "HERO");
    EXPECT_TRUE(fs::is_directory(out));
    EXPECT_TRUE(fs::exists(out / "sprite.txt"));
    const std::string frame = read(out / "0-1.png");

    ui.choiceAnswers = {0, 0};
    saveOutside((out / "0-1.png").string(), rgbPng(4, 5));  // 5 x 2, the sprite is 5 x 4
    twoTicks();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("0-1.png"), std::string::npos) << ui.errors[0];
    EXPECT_EQ(captions(), (std::vector<std::string>{"HERO.DEF"}));

    saveOutside((out / "0-1.png").string(), frame);
    saveOutside((out / "0-0.png").string(), frame);  // frame 1 drawn as frame 2
    twoTicks();
    EXPECT_EQ(ui.errors.size(), 1u) << ui.errors.back();
    EXPECT_EQ(captions(), (std::vector<std::string>{"HERO.DEF *"}));
}

TEST_F(ExternalEditsTest, closingWithEntriesStillOutAsksFirstAndSeveralAreWatchedAtOnce) {
    select("MAP.PCX");
    form.EditExternallyClick();
    select("NOTE.TXT");
    form.EditExternallyClick();
    form.EditExternallyClick();  // already out: opened again, not written again
    ASSERT_EQ(ui.externalOpens.size(), 3u);
    EXPECT_EQ(ui.externalOpens[2].path, ui.externalOpens[1].path);
    EXPECT_EQ(form.externalEditCount(), 2u);

    ui.answers = {false};
    EXPECT_FALSE(form.FormCloseQuery());
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions[0].text.find("MAP.png, NOTE.TXT"), std::string::npos)
        << ui.questions[0].text;
    const fs::path work = fs::path(ui.externalOpens[0].path).parent_path().parent_path();
    EXPECT_TRUE(fs::exists(work));
    EXPECT_TRUE(form.FormCloseQuery());
    EXPECT_FALSE(fs::exists(work)) << "the working folder goes with the watches";
    EXPECT_EQ(ui.watchTimerInterval, 0);

    // The program set in "Opcje" goes with each opening; an empty one is the desktop's choice.
    ui.nameReplies.push_back("gimp --new-instance");
    form.ExternalProgramClick();
    EXPECT_EQ(ui.nameDialogs.back().initial, "");
    form.EditExternallyClick();
    EXPECT_EQ(ui.externalOpens.back().program, "gimp --new-instance");
    EXPECT_EQ(form.externalEditCount(), 1u);
    ui.answers = {true};
    EXPECT_TRUE(form.FormCloseQuery());

    ui.externalOpenWorks = false;
    form.EditExternallyClick();
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("w innym programie"), std::string::npos) << ui.errors[0];
}

}  // namespace
}  // namespace brasvel
