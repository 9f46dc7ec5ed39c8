// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Runs the built brasvel-res on archives made by the writers and checks files, output and exit
// codes of the list, extract and verify commands.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "tests/support/TestPlatform.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace {

namespace fs = std::filesystem;
using brasvel::writers::LodWriter;
using brasvel::writers::SndWriter;
using brasvel::writers::VidWriter;
using namespace std::string_literals;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A scratch folder with an empty "out" folder, and a runner of the program.
class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = brasvel::testing::makeScratchFolder("brasvel-cli");
        fs::create_directory(out());
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path out() const { return root_ / "out"; }

    fs::path put(const std::string& name, const std::string& bytes) const {
        std::ofstream(root_ / name, std::ios::binary) << bytes;
        return root_ / name;
    }

    // Runs brasvel-res with `arguments` (shell words); returns the exit code.
    int run(const std::string& arguments) {
        const std::string command = std::string(BRASVEL_RES) + " " + arguments + " > " +
                                    (root_ / "stdout").string() + " 2> " +
                                    (root_ / "stderr").string();
        const int code = brasvel::testing::shellExitCode(command);
        stdout_ = readFile(root_ / "stdout");
        stderr_ = readFile(root_ / "stderr");
        return code;
    }

    std::set<std::string> written() const {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(out())) {
            names.insert(item.path().filename().string());
        }
        return names;
    }

    fs::path root_;
    std::string stdout_;
    std::string stderr_;
};

class ExtractCommand : public CommandLine {
protected:
    void SetUp() override {
        CommandLine::SetUp();
        std::ofstream(archive(), std::ios::binary)
            << LodWriter()
                   .add("README.TXT", "read me", true)
                   .add("HERO.DEF", std::string(5000, 'h'), true)
                   .addStored("BAD.def", "no zlib here", 100, 12)
                   .add("notes.txt", "notes")
                   .add("Map.PCX", "raw picture bytes")
                   .build();
    }

    fs::path archive() const { return root_ / "game.lod"; }
};

TEST_F(ExtractCommand, ExtractsEveryRowAndNamesTheFailingEntry) {
    EXPECT_EQ(run("extract " + archive().string() + " --raw -o " + out().string()), 1);
    EXPECT_EQ(written(), (std::set<std::string>{"README.TXT", "HERO.DEF", "notes.txt", "Map.PCX"}));
    EXPECT_EQ(readFile(out() / "HERO.DEF"), std::string(5000, 'h'));
    EXPECT_EQ(stderr_, "brasvel-res: " + archive().string() +
                           ": BAD.def: Damaged entry (is not a valid zlib stream)\n");
    EXPECT_EQ(stdout_, "4 of 5 entries extracted into " + out().string() + "; 1 failed\n");
}

TEST_F(ExtractCommand, PngWritesPicturesAsNameDotPngAndIsPickedByThatName) {
    brasvel::writers::PixelGrid grid(3, 2, 9);
    std::ofstream(archive(), std::ios::binary)
        << LodWriter()
               .add("Map.PCX", brasvel::writers::gamePcx8(grid, std::string(768, 'p')), true)
               .add("CUT.pcx", "raw picture bytes")
               .add("notes.txt", "notes")
               .build();
    EXPECT_EQ(run("extract " + archive().string() + " --png -o " + out().string()), 1);
    EXPECT_EQ(written(), (std::set<std::string>{"Map.png", "notes.txt"}));
    EXPECT_EQ(readFile(out() / "Map.png").substr(1, 3), "PNG");
    EXPECT_EQ(stderr_.rfind("brasvel-res: " + archive().string() + ": CUT.pcx: ", 0), 0U)
        << stderr_;
    fs::remove(out() / "Map.png");
    EXPECT_EQ(run("extract " + archive().string() + " --png -o " + out().string() + " Map.png"), 0);
    EXPECT_TRUE(fs::exists(out() / "Map.png"));
    EXPECT_EQ(run("extract " + archive().string() + " --png --raw -o " + out().string()), 2);
    EXPECT_NE(stderr_.find("--png"), std::string::npos);
}

TEST_F(ExtractCommand, TypeAndNamesPickRowsExactlyOrByPattern) {
    EXPECT_EQ(run("extract " + archive().string() + " --type '*.Txt' -o " + out().string()), 0);
    EXPECT_EQ(written(), (std::set<std::string>{"README.TXT", "notes.txt"}));
    fs::remove(out() / "README.TXT");
    fs::remove(out() / "notes.txt");
    EXPECT_EQ(run("extract " + archive().string() + " -o " + out().string() + " HERO.DEF '*.txt'"),
              0);
    EXPECT_EQ(written(), (std::set<std::string>{"HERO.DEF", "notes.txt"}));
}

TEST_F(ExtractCommand, ANameThatPicksNoRowWritesNothing) {
    EXPECT_EQ(
        run("extract " + archive().string() + " -o " + out().string() + " HERO.DEF MISSING.DEF"),
        2);
    EXPECT_TRUE(written().empty());
    EXPECT_NE(stderr_.find("MISSING.DEF"), std::string::npos) << stderr_;
}

TEST_F(ExtractCommand, AMissingTargetFolderOrArchiveIsUnusable) {
    EXPECT_EQ(run("extract " + archive().string() + " -o " + (root_ / "nowhere").string()), 2);
    EXPECT_NE(stderr_.find("File not found"), std::string::npos) << stderr_;
    EXPECT_EQ(run("extract " + (root_ / "none.lod").string() + " -o " + out().string()), 2);
    EXPECT_NE(stderr_.find("File not found"), std::string::npos) << stderr_;
    EXPECT_TRUE(written().empty());
}

TEST_F(ExtractCommand, VerifyListsDamagedEntriesAndWritesNothing) {
    EXPECT_EQ(run("verify " + archive().string()), 1);
    EXPECT_EQ(stdout_,
              "BAD.def: Damaged entry (is not a valid zlib stream)\n"
              "5 entries checked, 1 damaged\n");
    EXPECT_TRUE(written().empty());
    std::ofstream(root_ / "fine.lod", std::ios::binary)
        << LodWriter().add("A.TXT", "a", true).build();
    EXPECT_EQ(run("verify " + (root_ / "fine.lod").string()), 0);
    EXPECT_EQ(stdout_, "1 entries checked, 0 damaged\n");
}

using ListCommand = CommandLine;

TEST_F(ListCommand, JsonRowsCarryTheRawNameFieldAndForLodTheTypeWord) {
    const fs::path lod = put("words.lod", LodWriter()
                                              .add("NOTE.TXT\0old"s, "text")
                                              .typeWord(0x1234567)
                                              .add("PIC.PCX", "picture")
                                              .build());
    EXPECT_EQ(run("list --json " + lod.string()), 0) << stderr_;
    EXPECT_EQ(stdout_,
              "{\"kind\":\"lod\",\"total\":2,\"rows\":["
              "{\"row\":0,\"entry\":0,\"caption\":\"NOTE.TXT\",\"name\":\"NOTE\",\"ext\":\"TXT\","
              "\"offset\":156,\"size\":4,\"packed_size\":0,\"image\":10,"
              "\"name_field\":\"4e4f54452e545854006f6c6400000000\",\"type\":19088743},"
              "{\"row\":1,\"entry\":1,\"caption\":\"PIC.PCX\",\"name\":\"PIC\",\"ext\":\"PCX\","
              "\"offset\":160,\"size\":7,\"packed_size\":0,\"image\":4,"
              "\"name_field\":\"5049432e504358000000000000000000\",\"type\":1}]}\n");

    // Sounds and videos have no type word.
    const fs::path snd = put("words.snd", SndWriter().add("BELL", "RIFF").build());
    EXPECT_EQ(run("list --json " + snd.string()), 0) << stderr_;
    EXPECT_NE(stdout_.find("\"name_field\":\"42454c4c" + std::string(72, '0') + "\"}"),
              std::string::npos)
        << stdout_;
    EXPECT_EQ(stdout_.find("\"type\""), std::string::npos) << stdout_;
}

// The listing gives icons to eight LOD kinds; the type box's "*.*" gives every kind of its table
// one, as the window's list shows them.
TEST_F(ListCommand, RowImagesAreTheListingsOrTheTypeBoxs) {
    const fs::path lod = put("images.lod", LodWriter().add("NEWS.MSG", "m").build());
    EXPECT_EQ(run("list --json " + lod.string()), 0) << stderr_;
    EXPECT_NE(stdout_.find("\"image\":0,"), std::string::npos) << stdout_;
    EXPECT_EQ(run("list --json --type '*.*' " + lod.string()), 0) << stderr_;
    EXPECT_NE(stdout_.find("\"image\":15,"), std::string::npos) << stdout_;
    EXPECT_EQ(run("list --json --type msg " + lod.string()), 0) << stderr_;
    EXPECT_NE(stdout_.find("\"image\":15,"), std::string::npos) << stdout_;
}

TEST_F(ListCommand, ExtractPicksASoundByItsCaptionFileNameOrWrittenName) {
    const fs::path snd =
        put("names.snd", SndWriter().add("A", "a").add("B", "b").add("C", "c").build());
    EXPECT_EQ(run("extract " + snd.string() + " -o " + out().string() + " A.Wav B.WAV C.wav"), 0)
        << stderr_;
    EXPECT_EQ(written(), (std::set<std::string>{"A.wav", "B.wav", "C.wav"}));
}

TEST_F(ListCommand, AVideoIsListedAndExtractedUnderItsWholeStoredName) {
    const std::string longName = "OPENING_CINEMATIC.SMK";  // 21 bytes: past 12, and past 15
    const fs::path vid = put("long.vid", VidWriter().add(longName, "SMK2 data").build());
    EXPECT_EQ(run("list " + vid.string()), 0) << stderr_;
    EXPECT_EQ(stdout_, longName + "\t9\t9\t48\nTotal Files: 1\n");
    EXPECT_EQ(run("extract " + vid.string() + " -o " + out().string() + " " + longName), 0)
        << stderr_;
    EXPECT_EQ(written(), std::set<std::string>{longName});
    EXPECT_EQ(readFile(out() / longName), "SMK2 data");
}

// `list --type` shows what the window's type box shows: a sound as "NAME.WAV" under its item, a
// long video name under "*.Smk" with its type's icon.
TEST_F(ListCommand, ATypeItemListsEachKindAsTheTypeBoxShowsIt) {
    const fs::path snd = put("s.snd", SndWriter().add("BOOM", "ab").build());
    const fs::path vid =
        put("v.vid",
            VidWriter().add("CASTLE_SIEGE_CINEMATIC.smk", "SMK2").add("B.bik", "BIKi").build());
    const fs::path lod = put("l.lod", LodWriter().add("a.pcx", "x").build());
    struct Case {
        std::string arguments;
        std::string output;
    };
    const Case cases[] = {
        {"list " + snd.string(), "BOOM.Wav\t2\t2\t52\nTotal Files: 1\n"},
        {"list --type '*.Wav' " + snd.string(), "BOOM.WAV\t2\t2\t52\nTotal Files: 1\n"},
        {"list --type '*.*' " + snd.string(), "BOOM.Wav\t2\t2\t52\nTotal Files: 1\n"},
        {"list --type '*.Smk' " + vid.string(),
         "CASTLE_SIEGE_CINEMATIC.smk\t4\t4\t92\nTotal Files: 2\n"},
        {"list --type '*.Pcx' " + lod.string(), "a.pcx\t1\t1\t"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.arguments), 0) << c.arguments << stderr_;
        EXPECT_TRUE(stdout_.starts_with(c.output)) << c.arguments << "\n" << stdout_;
    }
    EXPECT_EQ(run("list --json --type smk " + vid.string()), 0) << stderr_;
    EXPECT_NE(stdout_.find("\"caption\":\"CASTLE_SIEGE_CINEMATIC.smk\",\"name\":\"CASTLE_SIEGE_"
                           "CINEMATIC\",\"ext\":\"smk\""),
              std::string::npos)
        << stdout_;
    EXPECT_NE(stdout_.find("\"image\":6"), std::string::npos) << stdout_;
    EXPECT_EQ(run("list --json --type wav " + snd.string()), 0) << stderr_;
    EXPECT_NE(stdout_.find("\"caption\":\"BOOM.WAV\""), std::string::npos) << stdout_;
}

// The window lists the first 15011 entries only; the command line works on all of them.
TEST_F(ListCommand, ListsAndExtractsEveryEntryOfAnArchivePastTheWindowsCap) {
    constexpr int kEntries = 15011 + 90;
    SndWriter writer;
    for (int i = 0; i < kEntries; ++i) {
        const std::string number = std::to_string(100000 + i);
        writer.add("S" + number, number.substr(1));  // five bytes each
    }
    const fs::path snd = put("many.snd", writer.build());

    EXPECT_EQ(run("list " + snd.string()), 0) << stderr_;
    EXPECT_EQ(stderr_, "");
    EXPECT_TRUE(stdout_.ends_with("S115100.Wav\t5\t5\t" +
                                  std::to_string(4 + 48 * kEntries + 5 * kEntries - 5) +
                                  "\nTotal Files: " + std::to_string(kEntries) + "\n"))
        << stdout_.substr(stdout_.size() - 200);
    EXPECT_EQ(run("extract " + snd.string() + " -o " + out().string()), 0) << stderr_;
    EXPECT_EQ(stdout_, std::to_string(kEntries) + " of " + std::to_string(kEntries) +
                           " entries extracted into " + out().string() + "\n");
    EXPECT_EQ(written().size(), static_cast<std::size_t>(kEntries));
    EXPECT_EQ(readFile(out() / "S115100.wav"), "15100");
    EXPECT_EQ(run("verify " + snd.string()), 0);
    EXPECT_EQ(stdout_, std::to_string(kEntries) + " entries checked, 0 damaged\n");
}

TEST_F(ListCommand, ADirectoryThatEndsEarlyListsTheEntriesReadThenFails) {
    const fs::path lod =
        put("short.lod", LodWriter().add("A.TXT", "a").add("B.TXT", "b").statedCount(3).build());
    EXPECT_EQ(run("list " + lod.string()), 2);
    EXPECT_EQ(stdout_.substr(0, 6), "A.TXT\t");
    EXPECT_NE(stdout_.find("\nB.TXT\t"), std::string::npos) << stdout_;
    EXPECT_TRUE(stdout_.ends_with("Total Files: 2\n")) << stdout_;
    EXPECT_NE(stderr_.find("Read beyond end of file"), std::string::npos) << stderr_;
    EXPECT_EQ(run("extract " + lod.string() + " -o " + out().string()), 2);
    EXPECT_TRUE(written().empty());
}

}  // namespace
