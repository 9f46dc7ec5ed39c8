// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Runs the built brasvel-res's create, add, remove and rename: round trips through extract and
// verify for every kind, and refusals that leave the archive byte for byte as it was.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "base/Utf8Path.h"
#include "tests/support/TestPlatform.h"

namespace {

namespace fs = std::filesystem;

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string textOfLength(std::size_t length, char seed) {
    std::string text(length, ' ');
    for (std::size_t k = 0; k < length; ++k) {
        text[k] = static_cast<char>('a' + (static_cast<std::size_t>(seed) * 7 + k * k / 50) % 26);
    }
    return text;
}

class EditCommands : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = brasvel::testing::makeScratchFolder("brasvel-edit-cli");
        fs::create_directories(root_ / "in");
        fs::create_directories(root_ / "out");
    }
    void TearDown() override { fs::remove_all(root_); }

    // `name` is UTF-8 on every system.
    fs::path input(const std::string& name, const std::string& bytes) const {
        const fs::path path = root_ / "in" / brasvel::platform::fileSystemPath(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Runs brasvel-res in the scratch folder with `arguments` (shell words); the exit code.
    int run(const std::string& arguments) {
        const std::string command = "cd '" + root_.string() + "' && " + BRASVEL_RES + " " +
                                    arguments + " > stdout 2> stderr";
        const int code = brasvel::testing::shellExitCode(command);
        stdout_ = readWhole(root_ / "stdout");
        stderr_ = readWhole(root_ / "stderr");
        fs::remove(root_ / "stdout");
        fs::remove(root_ / "stderr");
        return code;
    }

    std::set<std::string> namesIn(const fs::path& folder) const {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(folder)) {
            names.insert(brasvel::platform::utf8Path(item.path().filename()));
        }
        return names;
    }

    fs::path root_;
    std::string stdout_;
    std::string stderr_;
};

struct KindFiles {
    std::string archive;
    std::map<std::string, std::string> files;  // input file name → content
};

TEST_F(EditCommands, CreateGivesBackEveryFileThroughExtractAndVerifyPasses) {
    const KindFiles kinds[] = {
        {"a.lod",
         {{"HERO.DEF", textOfLength(30000, 'h')},
          {"\xC5\xBC" "aba.txt", "zielona \xC5\xBC" "aba"},  // żaba: a Windows-1250 name
          {"EMPTY.PCX", ""},
          {"noise.msk", textOfLength(300, 'n')}}},
        {"a.snd", {{"HORSE.wav", textOfLength(5000, 'w')}, {"quiet.WAV", ""}}},
        {"a.vid", {{"INTRO.SMK", textOfLength(9000, 'v')},
                   {"a much longer video name.bik", "bik"}}},
    };
    for (const KindFiles& kind : kinds) {
        SCOPED_TRACE(kind.archive);
        fs::remove_all(root_ / "in");
        fs::remove_all(root_ / "out");
        fs::create_directories(root_ / "in");
        fs::create_directories(root_ / "out");
        for (const auto& [name, content] : kind.files) {
            input(name, content);
        }
        ASSERT_EQ(run("create " + kind.archive + " in"), 0) << stderr_;
        EXPECT_EQ(run("verify " + kind.archive), 0) << stdout_ << stderr_;
        ASSERT_EQ(run("extract " + kind.archive + " --raw -o out"), 0) << stderr_;
        std::set<std::string> expected;
        for (const auto& [name, content] : kind.files) {
            // A sound comes back as NAME.wav, whatever the case of its suffix was.
            std::string back = name;
            if (kind.archive.ends_with(".snd")) {
                back = name.substr(0, name.size() - 4) + ".wav";
            }
            expected.insert(back);
            EXPECT_EQ(readWhole(root_ / "out" / brasvel::platform::fileSystemPath(back)), content)
                << back;
        }
        EXPECT_EQ(namesIn(root_ / "out"), expected);
        // Rebuilt from its own extraction, byte for byte.
        ASSERT_EQ(run("create again" + kind.archive.substr(1) + " out"), 0) << stderr_;
        EXPECT_EQ(readWhole(root_ / ("again" + kind.archive.substr(1))),
                  readWhole(root_ / kind.archive));
    }
}

TEST_F(EditCommands, AddReplacesRemoveAndRenameEditInPlace) {
    input("ONE.TXT", "one");
    input("TWO.TXT", textOfLength(4000, 't'));
    ASSERT_EQ(run("create a.lod --level 9 --threads 2 in"), 0) << stderr_;
    fs::remove_all(root_ / "in");
    fs::create_directories(root_ / "in");
    input("one.txt", "replaced");
    input("THREE.TXT", "three");
    ASSERT_EQ(run("add a.lod in/one.txt in/THREE.TXT"), 0) << stderr_;
    EXPECT_NE(stdout_.find("added 1 entry, replaced 1 entry"), std::string::npos) << stdout_;
    ASSERT_EQ(run("rename a.lod two.txt ZWEI.TXT"), 0) << stderr_;
    ASSERT_EQ(run("remove a.lod 'T*.TXT'"), 0) << stderr_;
    ASSERT_EQ(run("list a.lod"), 0);
    EXPECT_NE(stdout_.find("ONE.TXT\t8\t"), std::string::npos) << stdout_;
    EXPECT_NE(stdout_.find("ZWEI.TXT\t4000\t"), std::string::npos) << stdout_;
    EXPECT_EQ(stdout_.find("THREE"), std::string::npos) << stdout_;
    EXPECT_EQ(run("verify a.lod"), 0);
    EXPECT_EQ(namesIn(root_), (std::set<std::string>{"a.lod", "in", "out"}));
}

struct Refusal {
    std::string arguments;
    int exitCode;
    std::string message;
};

TEST_F(EditCommands, EveryRefusalLeavesTheArchiveByteForByteAsItWas) {
    input("ONE.TXT", "one");
    input("HORSE.wav", "neigh");
    ASSERT_EQ(run("create a.lod in/ONE.TXT"), 0) << stderr_;
    ASSERT_EQ(run("create a.snd in/HORSE.wav"), 0) << stderr_;
    input("ABCDEFGHIJKLM.wav", "too long");
    input("ABCDEFGHIJKL.TXT", "too long");
    input("one.TXT", "one");
    fs::create_directories(root_ / "twins");
    std::ofstream(root_ / "twins" / "x.txt") << "x";
    std::ofstream(root_ / "twins" / "X.TXT") << "X";
    const Refusal refusals[] = {
        {"create a.lod in/ONE.TXT", 1, "the archive exists; --force replaces it"},
        {"add a.snd in/ABCDEFGHIJKLM.wav", 1, "name too long: 13 bytes, at most 12"},
        {"add a.lod in/ABCDEFGHIJKL.TXT", 1, "at most 11"},
        {"add a.snd in/ONE.TXT", 1, "not a .wav file"},
        {"add a.lod twins", 1, "give one entry name"},
        {"add a.lod in/missing.txt", 2, "File not found"},
        {"add a.lod --level 13 in/ONE.TXT", 2, "--level takes a number from 1 to 12"},
        {"remove a.lod NOTHING.TXT", 1, "No such entry"},
        {"rename a.lod ONE.TXT 'A/B.TXT'", 1, "contains '/'"},
        {"rename a.lod ONE.TXT ''", 1, "the name is empty"},
        {"rename a.lod MISSING.TXT NEW.TXT", 1, "No such entry"},
        {"add a.lod a.lod", 1, "a.lod is the archive itself"},
    };
    const std::string lod = readWhole(root_ / "a.lod");
    const std::string snd = readWhole(root_ / "a.snd");
    const std::set<std::string> names = namesIn(root_);
    for (const Refusal& refusal : refusals) {
        if (brasvel::testing::kOnWindows && refusal.arguments == "add a.lod twins") {
            continue;  // names that differ only in case are one file there
        }
        EXPECT_EQ(run(refusal.arguments), refusal.exitCode) << refusal.arguments << ": " << stderr_;
        EXPECT_NE(stderr_.find(refusal.message), std::string::npos)
            << refusal.arguments << ": " << stderr_;
        EXPECT_EQ(readWhole(root_ / "a.lod"), lod) << refusal.arguments;
        EXPECT_EQ(readWhole(root_ / "a.snd"), snd) << refusal.arguments;
        EXPECT_EQ(namesIn(root_), names) << refusal.arguments;
    }
}

TEST_F(EditCommands, AnInterruptedCreateLeavesNothingAndAnInterruptedAddTheArchive) {
#ifdef _WIN32
    GTEST_SKIP() << brasvel::testing::kLinuxOnly << ": fork, SIGINT by kill and /proc";
#else
    for (int k = 0; k < 40; ++k) {
        input("F" + std::to_string(k) + ".TXT", textOfLength(400000, static_cast<char>(k)));
    }
    input("A.TXT", "a");
    ASSERT_EQ(run("create a.lod in/A.TXT"), 0);
    const std::string before = readWhole(root_ / "a.lod");
    for (const std::string arguments : {"create b.lod --level 12 --threads 1 in",
                                         "add a.lod --level 12 --threads 1 in"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::string command = std::string("cd '") + root_.string() + "' && exec " +
                                        BRASVEL_RES + " " + arguments + " >/dev/null 2>&1";
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Interrupted once the new archive is being written: an unnamed file the process holds.
        const fs::path descriptors = "/proc/" + std::to_string(child) + "/fd";
        bool writing = false;
        for (int wait = 0; wait < 1000 && !writing; ++wait) {
            ::usleep(5000);
            std::error_code error;
            for (const auto& fd : fs::directory_iterator(descriptors, error)) {
                const std::string target = fs::read_symlink(fd.path(), error).string();
                writing = writing || (target.starts_with(root_.string()) &&
                                      target.find("(deleted)") != std::string::npos);
            }
        }
        ASSERT_TRUE(writing) << arguments;
        ::kill(child, SIGINT);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << arguments << " " << status;
        EXPECT_EQ(readWhole(root_ / "a.lod"), before) << arguments;
        EXPECT_EQ(namesIn(root_), (std::set<std::string>{"a.lod", "in", "out"})) << arguments;
    }
#endif
}

// The demo archives, made by our writers, rebuilt from their extracted files: the rebuilt
// archive passes verify and extracts to the same files.
TEST_F(EditCommands, TheDemoArchivesAreRebuiltFromTheirExtractedFiles) {
    for (const std::string kind : {"lod", "snd", "vid"}) {
        SCOPED_TRACE(kind);
        const fs::path demo = fs::path(BRASVEL_DEMO_DIR) / ("demo." + kind);
        ASSERT_TRUE(fs::exists(demo));
        const fs::path first = root_ / ("first-" + kind);
        const fs::path second = root_ / ("second-" + kind);
        fs::create_directories(first);
        fs::create_directories(second);
        ASSERT_EQ(run("extract --raw -o " + first.string() + " " + demo.string()), 0) << stderr_;
        ASSERT_EQ(run("create rebuilt." + kind + " " + first.string()), 0) << stderr_;
        EXPECT_EQ(run("verify rebuilt." + kind), 0) << stdout_;
        ASSERT_EQ(run("extract --raw -o " + second.string() + " rebuilt." + kind), 0) << stderr_;
        const std::set<std::string> names = namesIn(first);
        EXPECT_EQ(namesIn(second), names);
        for (const std::string& name : names) {
            EXPECT_EQ(readWhole(second / name), readWhole(first / name)) << name;
        }
    }
}

}  // namespace
