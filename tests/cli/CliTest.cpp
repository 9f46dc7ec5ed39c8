// Runs the built brasvel-res on archives made by the writers and checks files, output and exit
// codes of the extract and verify commands.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "tools/writers/ArchiveWriters.h"

namespace {

namespace fs = std::filesystem;
using brasvel::writers::LodWriter;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ExtractCommand : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "brasvel-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directory(out());
        std::ofstream(archive(), std::ios::binary)
            << LodWriter()
                   .add("README.TXT", "read me", true)
                   .add("HERO.DEF", std::string(5000, 'h'), true)
                   .addStored("BAD.def", "no zlib here", 100, 12)
                   .add("notes.txt", "notes")
                   .add("Map.PCX", "raw picture bytes")
                   .build();
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path archive() const { return root_ / "game.lod"; }
    fs::path out() const { return root_ / "out"; }

    // Runs brasvel-res with `arguments` (shell words); returns the exit code.
    int run(const std::string& arguments) {
        const std::string command = std::string(BRASVEL_RES) + " " + arguments + " > " +
                                    (root_ / "stdout").string() + " 2> " +
                                    (root_ / "stderr").string();
        const int status = std::system(command.c_str());
        stdout_ = readFile(root_ / "stdout");
        stderr_ = readFile(root_ / "stderr");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

TEST_F(ExtractCommand, ExtractsEveryRowAndNamesTheFailingEntry) {
    EXPECT_EQ(run("extract " + archive().string() + " --raw -o " + out().string()), 1);
    EXPECT_EQ(written(), (std::set<std::string>{"README.TXT", "HERO.DEF", "notes.txt", "Map.PCX"}));
    EXPECT_EQ(readFile(out() / "HERO.DEF"), std::string(5000, 'h'));
    EXPECT_EQ(stderr_, "brasvel-res: " + archive().string() +
                           ": BAD.def: Damaged entry (is not a valid zlib stream)\n");
    EXPECT_EQ(stdout_, "4 of 5 entries extracted into " + out().string() + "; 1 failed\n");
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

}  // namespace
