// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Runs the built brasvel-res's find, grep, diff and merge over folders and archives the writers
// make: the output lines and JSON scripts read, the exit codes, troubles said and gone past, and
// refused merges that leave INTO byte for byte as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/Text.h"
#include "tests/support/TestPlatform.h"
#include "tools/writers/ArchiveWriters.h"

namespace {

namespace fs = std::filesystem;
using brasvel::writers::LodWriter;
using brasvel::writers::SndWriter;
using brasvel::writers::VidWriter;

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string cp1250(std::string_view utf8) {
    return brasvel::encodeWindows1250(utf8).value();
}

class ManyArchives : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = brasvel::testing::makeScratchFolder("brasvel-many-cli");
        fs::create_directories(root_ / "game");
        put("game/h3.lod",
            LodWriter()
                .add(cp1250("ŻÓŁW.TXT"), cp1250("Pierwsza\r\nZażółć gęślą\r\n"), true)
                .add("HERO.DEF", "\x01hero\x02", true)
                .add("bad\x1b[1m.txt", "escaped")
                .build());
        put("game/sounds.snd", SndWriter().add("hero", "RIFF hero").build());
        put("game/intro.vid", VidWriter().add("intro.smk", "SMK2 data").build());
        put("game/readme", "not an archive");
    }
    void TearDown() override { fs::remove_all(root_); }

    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(root_ / name, std::ios::binary) << bytes;
    }

    // Runs brasvel-res in the scratch folder with `arguments` (shell words); the exit code.
    int run(const std::string& arguments) {
        const std::string command = "cd '" + root_.string() + "' && " + BRASVEL_RES + " " +
                                    arguments + " > stdout 2> stderr";
        const int code = brasvel::testing::shellExitCode(command);
        stdout_ = readWhole(root_ / "stdout");
        stderr_ = readWhole(root_ / "stderr");
        return code;
    }

    fs::path root_;
    std::string stdout_;
    std::string stderr_;
};

struct CommandCase {
    std::string arguments;
    int exit;
    std::string out;
};

TEST_F(ManyArchives, FindAndGrepPrintTheirLinesAndJson) {
    const std::vector<CommandCase> cases = {
        {"find 'żółw*' game", 0, "game/h3.lod: ŻÓŁW.TXT\n"},
        {"find 'HERO*' game", 0, "game/h3.lod: HERO.DEF\ngame/sounds.snd: hero.WAV\n"},
        {"find '*.SMK' game/intro.vid", 0, "game/intro.vid: intro.smk\n"},
        {"find 'bad*' game", 0, "game/h3.lod: bad\\x1B[1m.txt\n"},
        {"find '*.pcx' game", 1, ""},
        {"find '*.pcx' game --json", 1, "[]\n"},
        {"find 'h*.def' game --json", 0,
         "[{\"archive\": \"game/h3.lod\", \"entry\": \"HERO.DEF\", \"size\": 6}]\n"},
        {"grep 'ZAŻÓŁĆ' game", 0, "game/h3.lod: ŻÓŁW.TXT:2: Zażółć gęślą\n"},
        {"grep hero game", 0,
         "game/h3.lod: HERO.DEF: binary entry matches\n"
         "game/sounds.snd: hero.WAV: binary entry matches\n"},
        {"grep HERO game", 1, ""},
        {"grep pierwsza game/h3.lod --json", 0,
         "[{\"archive\": \"game/h3.lod\", \"entry\": \"ŻÓŁW.TXT\", \"line\": 1, \"text\": "
         "\"Pierwsza\"}]\n"},
        {"grep SMK2 game --json", 0,
         "[{\"archive\": \"game/intro.vid\", \"entry\": \"intro.smk\", \"line\": 0, \"text\": "
         "\"\"}]\n"},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(run(c.arguments), c.exit) << stderr_;
        EXPECT_EQ(stdout_, c.out);
        EXPECT_EQ(stderr_, "");
    }
}

TEST_F(ManyArchives, TroublesAreSaidAndPassedOverAndEndInExitTwo) {
    put("game/broken.lod", LodWriter().add("HERO.PCX", "x").statedCount(2).build());
    put("game/damaged.lod", LodWriter().addStored("HERO.TXT", "not zlib", 4, 8).build());
    EXPECT_EQ(run("grep hero game missing.lod game/readme"), 2);
    EXPECT_EQ(stdout_,
              "game/h3.lod: HERO.DEF: binary entry matches\n"
              "game/sounds.snd: hero.WAV: binary entry matches\n");
    EXPECT_NE(stderr_.find("brasvel-res: game/broken.lod: Read beyond end of file"),
              std::string::npos)
        << stderr_;
    EXPECT_NE(stderr_.find("brasvel-res: game/damaged.lod: HERO.TXT: Damaged entry"),
              std::string::npos)
        << stderr_;
    EXPECT_NE(stderr_.find("brasvel-res: missing.lod: File not found"), std::string::npos);
    EXPECT_NE(stderr_.find("brasvel-res: game/readme: not an archive"), std::string::npos);
    // The broken archive's entries read before the damage are still searched.
    EXPECT_EQ(run("find 'hero.pcx' game"), 2);
    EXPECT_EQ(stdout_, "game/broken.lod: HERO.PCX\n");
    EXPECT_EQ(run("grep '日本' game"), 2);
    EXPECT_NE(stderr_.find("Windows-1250"), std::string::npos);
    EXPECT_EQ(run("find"), 2);
}

class ComparedArchives : public ManyArchives {
protected:
    void SetUp() override {
        ManyArchives::SetUp();
        put("a.lod", LodWriter()
                         .add("SAME.TXT", "same", true)
                         .add("STORED.TXT", std::string(400, 's'), false)
                         .add("CHANGED.TXT", "old")
                         .add("GONE.DEF", "gone")
                         .build());
        put("b.lod", LodWriter()
                         .add("same.txt", "same", false)
                         .add("STORED.TXT", std::string(400, 's'), true)
                         .add("CHANGED.TXT", "new!")
                         .add("NEW.PCX", "new")
                         .build());
    }
};

TEST_F(ComparedArchives, DiffSaysWhatDiffersAndExitsAsCmpDoes) {
    const std::vector<CommandCase> cases = {
        {"diff a.lod b.lod", 1,
         "only in a.lod: GONE.DEF\nonly in b.lod: NEW.PCX\nchanged: CHANGED.TXT\n"},
        {"diff a.lod b.lod --json", 1,
         "{\"only_in_a\": [\"GONE.DEF\"], \"only_in_b\": [\"NEW.PCX\"], \"changed\": "
         "[\"CHANGED.TXT\"], \"same\": 2}\n"},
        {"diff a.lod a.lod", 0, ""},
        {"diff a.lod a.lod --json", 0,
         "{\"only_in_a\": [], \"only_in_b\": [], \"changed\": [], \"same\": 4}\n"},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(run(c.arguments), c.exit) << stderr_;
        EXPECT_EQ(stdout_, c.out);
    }
    EXPECT_EQ(run("diff a.lod game/sounds.snd"), 2);
    EXPECT_NE(stderr_.find("only archives of one kind compare"), std::string::npos) << stderr_;
    EXPECT_EQ(run("diff a.lod missing.lod"), 2);
    EXPECT_EQ(run("diff a.lod"), 2);
}

TEST_F(ComparedArchives, AnExportedPatchMergedIntoAGivesB) {
    const std::string a = readWhole(root_ / "a.lod");
    EXPECT_EQ(run("diff a.lod b.lod --export patch.lod"), 1) << stderr_;
    EXPECT_EQ(stdout_,
              "only in a.lod: GONE.DEF\nonly in b.lod: NEW.PCX\nchanged: CHANGED.TXT\n"
              "exported patch.lod: 2 entries\nnot removed by patch.lod: GONE.DEF\n");
    EXPECT_EQ(run("merge a.lod patch.lod"), 1);  // CHANGED.TXT conflicts
    EXPECT_EQ(stdout_,
              "conflict: CHANGED.TXT (patch.lod holds other content)\n"
              "add: NEW.PCX (from patch.lod)\n");
    EXPECT_EQ(readWhole(root_ / "a.lod"), a);
    EXPECT_EQ(run("merge a.lod patch.lod --prefer from --dry-run"), 0);
    EXPECT_EQ(stdout_,
              "replace: CHANGED.TXT (from patch.lod)\nadd: NEW.PCX (from patch.lod)\n"
              "a.lod: would add 1 entry, replace 1 entry; nothing was written\n");
    EXPECT_EQ(readWhole(root_ / "a.lod"), a);
    EXPECT_EQ(run("merge a.lod patch.lod --prefer from"), 0) << stderr_;
    EXPECT_EQ(run("diff a.lod b.lod"), 1);
    EXPECT_EQ(stdout_, "only in a.lod: GONE.DEF\n");
    // Merged again: nothing left to do, and nothing written.
    const std::string merged = readWhole(root_ / "a.lod");
    EXPECT_EQ(run("merge a.lod patch.lod"), 0);
    EXPECT_EQ(stdout_, "a.lod: nothing to merge\n");
    EXPECT_EQ(readWhole(root_ / "a.lod"), merged);
    // The patch is never written over an archive compared.
    EXPECT_EQ(run("diff a.lod b.lod --export b.lod"), 2);
    EXPECT_NE(stderr_.find("cannot be written over"), std::string::npos);
}

TEST_F(ComparedArchives, RefusedMergesLeaveIntoAsItWas) {
    put("damaged.lod", LodWriter().addStored("X.TXT", "not zlib", 4, 8).build());
    const std::string a = readWhole(root_ / "a.lod");
    const std::vector<CommandCase> cases = {
        {"merge a.lod b.lod --prefer into", 0, ""},  // written: only adds
        {"merge a.lod damaged.lod --prefer from", 2, ""},
        {"merge a.lod game/sounds.snd", 2, ""},
        {"merge a.lod b.lod --prefer both", 2, ""},
        {"merge a.lod missing.lod", 2, ""},
        {"merge a.lod", 2, ""},
    };
    for (auto c = cases.rbegin(); c != cases.rend(); ++c) {
        SCOPED_TRACE(c->arguments);
        EXPECT_EQ(run(c->arguments), c->exit) << stderr_;
        if (c->exit != 0) {
            EXPECT_EQ(readWhole(root_ / "a.lod"), a);
        }
    }
    EXPECT_NE(readWhole(root_ / "a.lod"), a);
    EXPECT_EQ(run("find '*' a.lod"), 0);
    EXPECT_EQ(stdout_,
              "a.lod: SAME.TXT\na.lod: STORED.TXT\na.lod: CHANGED.TXT\na.lod: GONE.DEF\n"
              "a.lod: NEW.PCX\n");
    EXPECT_EQ(run("grep old a.lod"), 0);  // INTO's CHANGED.TXT kept
}

}  // namespace
