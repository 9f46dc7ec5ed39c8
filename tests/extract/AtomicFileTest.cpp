// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "ExtractFixtures.h"
#include "base/Platform.h"
#include "extract/AtomicFile.h"

namespace brasvel {
namespace {

using testing::bytesOf;
using testing::patterned;
using testing::ScratchFolder;

// Writes at most 7 bytes per call, as a pipe or a busy file system may.
ssize_t dribble(int fd, const void* data, std::size_t count) {
    return ::write(fd, data, static_cast<unsigned>(count < 7 ? count : 7));
}

// Writes part of the bytes, then finds the disk full.
ssize_t fillsUp(int fd, const void* data, std::size_t count) {
    static thread_local int calls = 0;
    if (++calls % 2 == 0) {
        errno = ENOSPC;
        return -1;
    }
    return ::write(fd, data, static_cast<unsigned>(count / 2));
}

ssize_t writesNothing(int, const void*, std::size_t) {
    return 0;
}

ResourceError failureOf(const auto& action) {
    try {
        action();
    } catch (const ResourceError& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return ResourceError::worded("none");
}

TEST(TargetFolder, WritesTheWholeContentAndLeavesNoTemporary) {
    ScratchFolder scratch;
    const TargetFolder folder(scratch.str());
    const std::string content = patterned(100'000);
    folder.writeFile("DATA.BIN", bytesOf(content));
    folder.writeFile("EMPTY.TXT", {});
    EXPECT_EQ(scratch.read("DATA.BIN"), content);
    EXPECT_EQ(scratch.read("EMPTY.TXT"), "");
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"DATA.BIN", "EMPTY.TXT"}));
}

TEST(TargetFolder, AnExistingFileIsReplaced) {
    ScratchFolder scratch;
    scratch.write("OLD.TXT", "an older and longer content");
    TargetFolder(scratch.str()).writeFile("OLD.TXT", bytesOf("new"));
    EXPECT_EQ(scratch.read("OLD.TXT"), "new");
}

TEST(TargetFolder, ALinkOfTheSameNameIsReplacedAndItsTargetOutsideIsNotWritten) {
    if (testing::kOnWindows) {
        GTEST_SKIP() << testing::kLinuxOnly << ": symbolic links (wine makes none)";
    }
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch / "out");
    scratch.write("outside.txt", "outside");
    std::filesystem::create_symlink(scratch / "outside.txt", scratch / "out" / "LINK.TXT");
    TargetFolder((scratch / "out").string()).writeFile("LINK.TXT", bytesOf("entry"));
    EXPECT_EQ(scratch.read("outside.txt"), "outside");
    EXPECT_FALSE(std::filesystem::is_symlink(scratch / "out" / "LINK.TXT"));
    EXPECT_EQ(scratch.read("out/LINK.TXT"), "entry");
}

TEST(TargetFolder, ShortWritesAreCarriedOnUntilAllIsWritten) {
    ScratchFolder scratch;
    const std::string content = patterned(1000);
    TargetFolder(scratch.str(), dribble).writeFile("SLOW.BIN", bytesOf(content));
    EXPECT_EQ(scratch.read("SLOW.BIN"), content);
}

TEST(TargetFolder, AFailingWriteLeavesTheOlderFileIntactAndNoTemporary) {
    ScratchFolder scratch;
    scratch.write("KEEP.TXT", "older");
    for (WriteFunction write : {fillsUp, writesNothing}) {
        const TargetFolder folder(scratch.str(), write);
        const ResourceError error =
            failureOf([&] { folder.writeFile("KEEP.TXT", bytesOf(patterned(5000))); });
        EXPECT_EQ(error.text(), "Disk full");
        EXPECT_EQ(error.detail(), (scratch / "KEEP.TXT").string());
        EXPECT_EQ(scratch.read("KEEP.TXT"), "older");
        EXPECT_EQ(scratch.names(), std::set<std::string>{"KEEP.TXT"});
    }
}

TEST(TargetFolder, ANameHeldByAFolderFailsAndTheFolderStays) {
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch / "BUSY.DEF");
    scratch.write("BUSY.DEF/inside", "kept");
    const ResourceError error =
        failureOf([&] { TargetFolder(scratch.str()).writeFile("BUSY.DEF", bytesOf("content")); });
    EXPECT_EQ(error.text(), "File access denied");
    EXPECT_EQ(error.detail(), (scratch / "BUSY.DEF").string() + " is a folder");
    EXPECT_EQ(scratch.read("BUSY.DEF/inside"), "kept");
    EXPECT_EQ(scratch.names(), std::set<std::string>{"BUSY.DEF"});
}

TEST(TargetFolder, AMissingFolderOrAFileInItsPlaceIsNotFound) {
    ScratchFolder scratch;
    EXPECT_EQ(failureOf([&] { TargetFolder((scratch / "gone").string()); }).text(),
              "File not found");
    scratch.write("plain", "x");
    const ResourceError error = failureOf([&] { TargetFolder((scratch / "plain").string()); });
    EXPECT_EQ(error.text(), "File not found");
    EXPECT_EQ(error.detail(), (scratch / "plain").string() + " is not a folder");
}

TEST(TargetFolder, AFolderRemovedAfterOpeningFailsEachWriteCleanly) {
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch / "gone");
    const TargetFolder folder((scratch / "gone").string());
    std::filesystem::remove(scratch / "gone");
    EXPECT_EQ(failureOf([&] { folder.writeFile("A.TXT", bytesOf("a")); }).text(), "File not found");
}

TEST(TargetFolder, AnEmptyPathIsTheCurrentDirectory) {
    ScratchFolder scratch;
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path());
    TargetFolder("").writeFile("HERE.TXT", bytesOf("here"));
    std::filesystem::current_path(before);
    EXPECT_EQ(scratch.read("HERE.TXT"), "here");
}

// Windows' old limit of 260 characters to a path: the platform layer adds the \\?\ prefix past it.
TEST(TargetFolder, AFolderDeeperThanWindowsOldPathLimitTakesFilesAndItsTemporariesGo) {
    ScratchFolder scratch;
    std::string relative;
    for (int depth = 0; depth < 6; ++depth) {
        relative += (depth == 0 ? "" : "/") + std::string(50, static_cast<char>('a' + depth));
    }
    std::filesystem::path deep = scratch / relative;
#ifdef _WIN32
    std::filesystem::create_directories(L"\\\\?\\" + deep.make_preferred().wstring());
#else
    std::filesystem::create_directories(deep);
#endif
    const std::string folderPath = scratch.str() + "/" + relative;
    ASSERT_GT(folderPath.size(), 300u);
    const TargetFolder folder(folderPath);
    folder.writeFile("\xC5\xBB\xC3\x93\xC5\x81W.TXT", bytesOf("deep"));  // ŻÓŁW.TXT
    folder.writeFile("\xC5\xBB\xC3\x93\xC5\x81W.TXT", bytesOf("deeper"));
    EXPECT_TRUE(folder.freeSpace().has_value());
    EXPECT_EQ(platform::folderNames(folderPath),
              std::vector<std::string>{"\xC5\xBB\xC3\x93\xC5\x81W.TXT"});
    platform::FileStatus status;
    ASSERT_EQ(platform::statusOfPath(folderPath + "/\xC5\xBB\xC3\x93\xC5\x81W.TXT", status), 0);
    EXPECT_EQ(status.size, 6u);
}

TEST(PendingFile, AFileNotCommittedIsRemovedAndTheOlderOneStays) {
    for (Temporaries kind : {Temporaries::Unnamed, Temporaries::Named}) {
        ScratchFolder scratch;
        scratch.write("A.TXT", "older");
        const TargetFolder folder(scratch.str(), nullptr, kind);
        {
            PendingFile pending = folder.prepare("A.TXT", bytesOf("newer"));
            EXPECT_EQ(scratch.read("A.TXT"), "older");
        }
        EXPECT_EQ(scratch.names(), std::set<std::string>{"A.TXT"});
        PendingFile pending = folder.prepare("A.TXT", bytesOf("newer"));
        pending.commit();
        EXPECT_EQ(scratch.read("A.TXT"), "newer");
        EXPECT_EQ(scratch.names(), std::set<std::string>{"A.TXT"});
    }
}

TEST(PendingFile, NamedTemporariesAreHiddenAndLongerThanAnyEntryName) {
    ScratchFolder scratch;
    const TargetFolder folder(scratch.str(), nullptr, Temporaries::Named);
    PendingFile pending = folder.prepare("A", bytesOf("a"));
    ASSERT_EQ(scratch.names().size(), 1U);
    const std::string temporary = *scratch.names().begin();
    EXPECT_EQ(temporary.front(), '.');
    EXPECT_GT(temporary.size(), 16U);  // 12 bytes of name, a dot and 3 of extension at most
}

TEST(PendingFile, AnUnnamedFileShowsNoNameBeforeItsCommit) {
    ScratchFolder scratch;
    const TargetFolder folder(scratch.str());
    PendingFile pending = folder.prepare("A", bytesOf("a"));
    // A file system without unnamed files shows a hidden temporary instead.
    for (const std::string& name : scratch.names()) {
        EXPECT_EQ(name.front(), '.');
    }
    pending.commit();
    EXPECT_EQ(scratch.names(), std::set<std::string>{"A"});
    EXPECT_EQ(scratch.read("A"), "a");
}

TEST(PendingFile, ReplacingWorksTheSameWithEitherKindOfTemporary) {
    for (Temporaries kind : {Temporaries::Unnamed, Temporaries::Named}) {
        ScratchFolder scratch;
        scratch.write("OLD.TXT", "an older and longer content");
        std::filesystem::create_directory(scratch / "BUSY.DEF");
        const TargetFolder folder(scratch.str(), nullptr, kind);
        folder.writeFile("OLD.TXT", bytesOf("new"));
        EXPECT_EQ(scratch.read("OLD.TXT"), "new");
        EXPECT_EQ(failureOf([&] { folder.writeFile("BUSY.DEF", bytesOf("x")); }).text(),
                  "File access denied");
        EXPECT_EQ(scratch.names(), (std::set<std::string>{"OLD.TXT", "BUSY.DEF"}));
    }
}

TEST(PendingFile, AnUnnamedFileCommittedIntoAFolderRemovedMeanwhileFailsCleanly) {
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch / "gone");
    const TargetFolder folder((scratch / "gone").string());
    PendingFile pending = folder.prepare("A.TXT", bytesOf("a"));
    if (!std::filesystem::is_empty(scratch / "gone")) {
        GTEST_SKIP() << "this file system has no unnamed files";
    }
    std::filesystem::remove(scratch / "gone");
    EXPECT_EQ(failureOf([&] { pending.commit(); }).text(), "File not found");
    EXPECT_TRUE(scratch.names().empty());
}

}  // namespace
}  // namespace brasvel
