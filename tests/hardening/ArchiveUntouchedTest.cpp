// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The program never changes an archive: after every command of the command line (list, extract,
// verify, convert, info, find, grep, diff, and merges that write nothing) the archive's bytes, its modification time and the file itself (its
// inode) are what they were. The window's actions are checked in window/.

#include <string>
#include <vector>

#include "base/ResourceError.h"
#include "extract/AtomicFile.h"
#include "tests/hardening/ArchiveUntouched.h"

namespace brasvel::hardening {
namespace {

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
        command({"find", "*", archive, "--json"});
        command({"grep", "a", archive});
        command({"diff", archive, archive, "--export", (out / name).string()});
    }
    // Searches over the folder, and merges that write nothing: a dry run, one with nothing new.
    command({"find", "*.PCX", place.string()});
    command({"grep", "HERO", place.string(), "--json"});
    command({"merge", (place / "game.lod").string(), (place / "game.lod").string()});
    command({"merge", (place / "game.snd").string(), (place / "game.lod").string()});
    command({"merge", (place / "game.vid").string(), (place / "game.vid").string(), "--dry-run"});
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

// An entry may carry the archive's own file name; extracted beside the archive it must not take
// the archive's place.
TEST_F(ArchiveUntouched, WhenAnEntryBesideItCarriesItsOwnName) {
    put("self.lod", lodArchive("self.lod"));
    command({"extract", (place / "self.lod").string(), "-o", place.string()});
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
