// The program never changes an archive: after every command of the command line (list, extract,
// verify) and every action of the window (open, preview, play, extract), the archive's bytes,
// its modification time and the file itself (its inode) are what they were.

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "base/ResourceError.h"
#include "extract/AtomicFile.h"
#include "tests/hardening/HardeningSupport.h"
#include "tests/window/FakeWavePlayer.h"
#include "toolkit/HeadlessToolkit.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "window/MainForm.h"

namespace brasvel::hardening {
namespace {

using writers::DefBlock;
using writers::DefFrame;
using writers::DefWriter;
using writers::LodWriter;
using writers::PixelGrid;
using writers::SndWriter;
using writers::VidWriter;

// A time long past, so that any write would show.
constexpr std::int64_t kOldTime = 1'000'000'000;

struct Fingerprint {
    std::string bytes;
    std::int64_t modifiedNs = 0;
    ino_t inode = 0;
    friend bool operator==(const Fingerprint&, const Fingerprint&) = default;
    friend void PrintTo(const Fingerprint& print, std::ostream* out) {
        *out << print.bytes.size() << " bytes, modified at " << print.modifiedNs << " ns, inode "
             << print.inode;
    }
};

Fingerprint fingerprintOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return {readFile(path), modifiedNs(path), status.st_ino};
}

void makeOld(const fs::path& path) {
    const timespec times[2] = {{kOldTime, 0}, {kOldTime, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::string palette() {
    std::string rgb;
    for (int i = 0; i < 768; ++i) {
        rgb += static_cast<char>(i % 251);
    }
    return rgb;
}

std::string sprite() {
    DefBlock block;
    for (int i = 0; i < 2; ++i) {
        DefFrame frame;
        frame.name = "frame" + std::to_string(i);
        frame.compression = 1;
        frame.sprite = PixelGrid(4, 3, static_cast<std::uint8_t>(5 + i));
        block.frames.push_back(frame);
    }
    return DefWriter(0x42, 6, 5, palette()).block(block).build();
}

std::string lodArchive(const std::string& selfName = {}) {
    LodWriter writer;
    writer.add("README.TXT", "a text entry", true)
        .add("PIC.PCX", writers::gamePcx8(PixelGrid(5, 4, 9), palette()), true)
        .add("HERO.DEF", sprite(), true)
        .addRaw("BAD.TXT", 1 << 30, 10, 0);
    if (!selfName.empty()) {
        writer.add(selfName, "an entry named like its own archive");
    }
    return writer.build();
}

// The archives of each kind, made old, in a folder of their own.
class ArchiveUntouched : public ::testing::Test {
protected:
    void SetUp() override {
        place = area.root() / "place";
        fs::create_directories(place);
        put("game.lod", lodArchive());
        put("game.snd", SndWriter().add("CHIME", "RIFF chime").add("BELL", "RIFF bell").build());
        put("game.vid",
            VidWriter().add("INTRO.SMK", "SMK2 intro").add("OUTRO.BIK", "BIKi").build());
    }

    fs::path put(const std::string& name, const std::string& bytes) {
        writeFile(place / name, bytes);
        makeOld(place / name);
        return place / name;
    }

    // Runs `action` and expects every archive as it was.
    void expectUntouchedBy(const std::string& what, const std::function<void()>& action) {
        std::vector<std::pair<fs::path, Fingerprint>> before;
        for (const char* name : {"game.lod", "game.snd", "game.vid", "self.lod"}) {
            if (fs::exists(place / name)) {
                before.emplace_back(place / name, fingerprintOf(place / name));
            }
        }
        action();
        for (const auto& [path, print] : before) {
            EXPECT_EQ(fingerprintOf(path), print) << path.filename() << " after " << what;
        }
    }

    void command(const std::vector<std::string>& arguments) {
        std::string what;
        for (const std::string& argument : arguments) {
            what += argument + " ";
        }
        expectUntouchedBy(what, [&] { runProgram(arguments, area.root() / "logs"); });
    }

    int rowOf(const HeadlessToolkit& ui, const std::string& caption) const {
        for (std::size_t row = 0; row < ui.rows.size(); ++row) {
            if (ui.rows[row].shownCaption() == caption) {
                return static_cast<int>(row);
            }
        }
        ADD_FAILURE() << "no row " << caption;
        return 0;
    }

    ScratchArea area;
    fs::path place;
};

TEST_F(ArchiveUntouched, ByEveryCommandOfTheCommandLine) {
    const fs::path out = area.root() / "out";
    for (const char* name : {"game.lod", "game.snd", "game.vid"}) {
        const std::string archive = (place / name).string();
        command({"list", archive});
        command({"list", archive, "--json"});
        command({"list", archive, "--type", "*.*"});
        command({"extract", archive, "-o", out.string()});
        command({"extract", archive, "-o", out.string(), "--raw", "--threads", "1"});
        command({"extract", archive, "-o", out.string(), "*.PCX"});
        command({"verify", archive});
    }
    command({"extract", (place / "game.lod").string(), "-o", place.string()});
    const std::string lod = (place / "game.lod").string();
    command({"convert", lod, "PIC.PCX", "-o", (out / "pic.bmp").string()});
    command({"convert", lod, "HERO.DEF", "--frame", "2", "-o", (out / "hero.bmp").string()});
    command({"info", lod, "HERO.DEF", "--json"});
    command({"info", lod, "PIC.PCX"});
    const std::string vid = (place / "game.vid").string();
    command({"convert", vid, "INTRO.SMK", "--frame", "2", "-o", (out / "intro.bmp").string()});
    command({"info", vid, "OUTRO.BIK", "--json"});
}

TEST_F(ArchiveUntouched, ByOpeningPreviewingAndExtractingInTheWindow) {
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

TEST_F(ArchiveUntouched, ByPlayingAndExtractingSoundsAndVideosInTheWindow) {
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
TEST_F(ArchiveUntouched, WhenAnEntryBesideItCarriesItsOwnName) {
    put("self.lod", lodArchive("self.lod"));
    command({"extract", (place / "self.lod").string(), "-o", place.string()});

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

TEST(ATargetFolder, NeverReplacesTheKeptFileByAnyNameThatLeadsToIt) {
    const ScratchArea area;
    writeFile(area.root() / "game.lod", "the archive");
    fs::create_hard_link(area.root() / "game.lod", area.root() / "link.lod");
    fs::create_symlink("game.lod", area.root() / "symlink.lod");
    TargetFolder folder(area.root().string());
    folder.keepIntact((area.root() / "game.lod").string());

    for (const char* name : {"game.lod", "link.lod"}) {
        try {
            folder.writeFile(name, asBytes("an entry"));
            ADD_FAILURE() << name << " replaced the archive";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), "File access denied");
            EXPECT_NE(error.detail().find("archive being read"), std::string::npos);
        }
    }
    // A symbolic link is a name of its own: replacing it leaves the archive alone.
    folder.writeFile("symlink.lod", asBytes("an entry"));

    EXPECT_EQ(readFile(area.root() / "game.lod"), "the archive");
    EXPECT_EQ(readFile(area.root() / "link.lod"), "the archive");
    EXPECT_EQ(readFile(area.root() / "symlink.lod"), "an entry");
    EXPECT_FALSE(holdsTemporary(area.root()));
}

}  // namespace
}  // namespace brasvel::hardening
