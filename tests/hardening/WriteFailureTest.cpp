// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Writes that fail half-way: a full disk, a read-only folder, a folder removed while a batch
// runs, a folder where a file should go (also in the window's batch: see window/). After each, a
// file of the failing entry's name is the older one untouched (or the complete new one), no
// temporary ".NAME.XXXXXX.extracting" is left, and the error names the entry.
//
// Failures come through the folder's write function, always, and from real file systems where
// the test may mount a small tmpfs (as root); where it may not, those tests say so and skip.

#include <sys/mount.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/Text.h"
#include "extract/BatchExtractor.h"
#include "tests/hardening/HardeningArchives.h"
#include "tests/hardening/HardeningSupport.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel::hardening {
namespace {

using writers::LodWriter;

// What became of each entry of a batch, with the entry's file name (UTF-8).
struct BatchResult {
    std::vector<ExtractedEntry> outcomes;  // their entry pointers are not kept valid
    std::vector<std::string> names;
    const ExtractedEntry* outcome(const std::string& fileName) const {
        for (std::size_t i = 0; i < outcomes.size(); ++i) {
            if (names[i] == fileName) {
                return &outcomes[i];
            }
        }
        return nullptr;
    }
};

BatchResult extractAll(const std::string& archive, const fs::path& folder,
                       WriteFunction write = nullptr, unsigned threads = 2) {
    const Archive lod = archiveOf(archive, kLodFormat);
    const TargetFolder target(folder.string(), write);
    ExtractOptions options;
    options.threads = threads;
    BatchResult result;
    extractEntries(lod, everyIndex(lod), target, options, [&](const ExtractedEntry& outcome) {
        result.outcomes.push_back(outcome);
        result.names.push_back(decodeWindows1250(outcome.entry->fileName));
        return true;
    });
    return result;
}

// --- Write functions that fail. Plain functions: the folder takes a function pointer. ---

std::atomic<long> bytesLeftOnDisk{0};

ssize_t writeUntilDiskFull(int fd, const void* data, std::size_t count) {
    const long left = bytesLeftOnDisk.load();
    if (left <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const std::size_t taken = std::min<std::size_t>(count, static_cast<std::size_t>(left));
    const ssize_t written = ::write(fd, data, taken);
    if (written > 0) {
        bytesLeftOnDisk -= written;
    }
    return written;
}

ssize_t writeSevenBytesAtATime(int fd, const void* data, std::size_t count) {
    return ::write(fd, data, std::min<std::size_t>(count, 7));
}

ssize_t writeNothing(int, const void*, std::size_t) {
    return 0;
}

ssize_t writeOnReadOnlyMedium(int, const void*, std::size_t) {
    errno = EROFS;
    return -1;
}

fs::path folderToRemove;
std::atomic<bool> folderRemoved{false};

ssize_t writeAfterRemovingTheFolder(int fd, const void* data, std::size_t count) {
    if (!folderRemoved.exchange(true)) {
        // Another worker may be adding its temporary meanwhile; once the folder itself is gone
        // nothing more can be made in it.
        std::error_code busy;
        while (fs::exists(folderToRemove)) {
            fs::remove_all(folderToRemove, busy);
        }
    }
    return ::write(fd, data, count);
}

void expectFailureNamingEntry(const ExtractedEntry* outcome, const std::string& entry,
                              const std::string& text) {
    ASSERT_NE(outcome, nullptr) << entry << " was reported";
    ASSERT_FALSE(outcome->done()) << entry << " was written";
    EXPECT_EQ(outcome->error->text(), text) << outcome->error->describe();
    EXPECT_EQ(outcome->error->entry(), entry);
}

// --- A full disk ---

TEST(AFullDisk, LeavesTheOlderFileIntactAndNoTemporaryAndNamesTheEntry) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "BIG.TXT", kOldContent);
    bytesLeftOnDisk = 4096;

    const BatchResult result = extractAll(entries.archive, area.root(), writeUntilDiskFull, 1);

    expectFailureNamingEntry(result.outcome("BIG.TXT"), "BIG.TXT", "Disk full");
    EXPECT_EQ(readFile(area.root() / "BIG.TXT"), kOldContent);
    EXPECT_EQ(readFile(area.root() / "SMALL.TXT"), entries.small)
        << "written before the disk filled";
    EXPECT_FALSE(holdsTemporary(area.root()));
}

TEST(AFullDisk, OfARealFileSystemTooSmallForTheBatchFailsItBeforeAnythingIsWritten) {
    const ScratchArea area;
    SmallFileSystem small(area.root() / "small", "64k");
    SKIP_UNLESS_MOUNTED(small);
    const ThreeEntries entries;
    writeFile(area.root() / "small" / "BIG.TXT", kOldContent);

    try {
        extractAll(entries.archive, area.root() / "small");
        FAIL() << "the batch started";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Disk full");
        EXPECT_NE(error.detail().find("bytes free"), std::string::npos) << error.detail();
    }
    EXPECT_EQ(namesIn(area.root() / "small"), std::vector<std::string>{"BIG.TXT"});
    EXPECT_EQ(readFile(area.root() / "small" / "BIG.TXT"), kOldContent);
}

TEST(AFullDisk, OfARealFileSystemMakesTheExtractCommandSayWhatIsNeededAndWriteNothing) {
    const ScratchArea area;
    SmallFileSystem small(area.root() / "small", "64k");
    SKIP_UNLESS_MOUNTED(small);
    const ThreeEntries entries;
    writeFile(area.root() / "full.lod", entries.archive);
    writeFile(area.root() / "small" / "BIG.TXT", kOldContent);

    const ProgramRun run = runProgram(
        {"extract", (area.root() / "full.lod").string(), "-o", (area.root() / "small").string()},
        area.root() / "logs");

    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find("brasvel-res: target folder: Disk full (the entries need "),
              std::string::npos) << run.errors;
    EXPECT_EQ(namesIn(area.root() / "small"), std::vector<std::string>{"BIG.TXT"});
    EXPECT_EQ(readFile(area.root() / "small" / "BIG.TXT"), kOldContent);
}

// --- Short writes ---

TEST(ShortWrites, StillWriteTheWholeFile) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "BIG.TXT", kOldContent);

    const BatchResult result = extractAll(entries.archive, area.root(), writeSevenBytesAtATime);

    ASSERT_EQ(result.outcomes.size(), 3U);
    for (const ExtractedEntry& outcome : result.outcomes) {
        EXPECT_TRUE(outcome.done()) << outcome.error->describe();
    }
    EXPECT_EQ(readFile(area.root() / "BIG.TXT"), entries.big);
    EXPECT_FALSE(holdsTemporary(area.root()));
}

TEST(ShortWrites, ThatWriteNothingAreAFullDiskAndChangeNoFile) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "BIG.TXT", kOldContent);

    const BatchResult result = extractAll(entries.archive, area.root(), writeNothing);

    expectFailureNamingEntry(result.outcome("BIG.TXT"), "BIG.TXT", "Disk full");
    expectFailureNamingEntry(result.outcome("SMALL.TXT"), "SMALL.TXT", "Disk full");
    EXPECT_EQ(namesIn(area.root()), std::vector<std::string>{"BIG.TXT"});
    EXPECT_EQ(readFile(area.root() / "BIG.TXT"), kOldContent);
}

// --- A read-only folder ---

TEST(AReadOnlyFolder, RefusesEveryEntryByNameAndKeepsTheOlderFile) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "BIG.TXT", kOldContent);

    const BatchResult result = extractAll(entries.archive, area.root(), writeOnReadOnlyMedium);

    for (const char* name : {"SMALL.TXT", "BIG.TXT", "AFTER.TXT"}) {
        expectFailureNamingEntry(result.outcome(name), name, "File access denied");
    }
    EXPECT_EQ(namesIn(area.root()), std::vector<std::string>{"BIG.TXT"});
    EXPECT_EQ(readFile(area.root() / "BIG.TXT"), kOldContent);
}

TEST(AReadOnlyFolder, OfARealFileSystemRefusesEveryEntryByNameAndKeepsTheOlderFile) {
    const ScratchArea area;
    SmallFileSystem readOnly(area.root() / "ro", "1m");
    SKIP_UNLESS_MOUNTED(readOnly);
    writeFile(area.root() / "ro" / "BIG.TXT", kOldContent);
    if (!readOnly.makeReadOnly()) {
        GTEST_SKIP() << "cannot make the tmpfs read-only (" << readOnly.why() << ")";
    }
    const ThreeEntries entries;
    const auto before = snapshot(area.root() / "ro");

    const BatchResult result = extractAll(entries.archive, area.root() / "ro");

    for (const char* name : {"SMALL.TXT", "BIG.TXT", "AFTER.TXT"}) {
        expectFailureNamingEntry(result.outcome(name), name, "File access denied");
    }
    EXPECT_EQ(snapshot(area.root() / "ro"), before);
}

// --- A folder removed while the batch runs ---

TEST(AFolderRemovedDuringTheBatch, FailsEveryLaterEntryByNameAndLeavesNothingBehind) {
    const ScratchArea area;
    LodWriter writer;
    for (int i = 0; i < 12; ++i) {
        writer.add("F" + std::to_string(i) + ".TXT", textOf(5000, static_cast<char>(i)), i % 2);
    }
    const std::string archive = writer.build();
    folderToRemove = area.root() / "out";
    fs::create_directories(folderToRemove);
    folderRemoved = false;
    const auto before = snapshot(area.root(), {folderToRemove});

    const BatchResult result = extractAll(archive, folderToRemove, writeAfterRemovingTheFolder);

    ASSERT_EQ(result.outcomes.size(), 12U);
    for (std::size_t i = 0; i < result.outcomes.size(); ++i) {
        const ExtractedEntry& outcome = result.outcomes[i];
        const std::string& name = result.names[i];
        ASSERT_FALSE(outcome.done()) << name << " was reported written into a removed folder";
        EXPECT_EQ(outcome.error->text(), "File not found") << outcome.error->describe();
        EXPECT_EQ(outcome.error->entry(), name);
    }
    EXPECT_FALSE(fs::exists(folderToRemove));
    EXPECT_EQ(snapshot(area.root()), before) << "nothing appears outside the removed folder";
}

// --- A folder where the file should go ---

TEST(ATargetNameThatIsAFolder, FailsThatEntryByNameAndKeepsTheFolderAndItsFiles) {
    const ScratchArea area;
    const ThreeEntries entries;
    fs::create_directories(area.root() / "BIG.TXT");
    writeFile(area.root() / "BIG.TXT" / "inside.txt", kOldContent);

    const BatchResult result = extractAll(entries.archive, area.root());

    expectFailureNamingEntry(result.outcome("BIG.TXT"), "BIG.TXT", "File access denied");
    EXPECT_NE(result.outcome("BIG.TXT")->error->detail().find("is a folder"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(area.root() / "BIG.TXT"));
    EXPECT_EQ(readFile(area.root() / "BIG.TXT" / "inside.txt"), kOldContent);
    EXPECT_EQ(readFile(area.root() / "AFTER.TXT"), entries.after) << "the batch goes on";
    EXPECT_FALSE(holdsTemporary(area.root()));
}

TEST(ATargetNameThatIsAFolder, FailsEvenWhenTheFolderIsEmpty) {
    const ScratchArea area;
    const ThreeEntries entries;
    fs::create_directories(area.root() / "SMALL.TXT");

    const BatchResult result = extractAll(entries.archive, area.root());

    expectFailureNamingEntry(result.outcome("SMALL.TXT"), "SMALL.TXT", "File access denied");
    EXPECT_TRUE(fs::is_directory(area.root() / "SMALL.TXT"));
    EXPECT_FALSE(holdsTemporary(area.root()));
}

}  // namespace
}  // namespace brasvel::hardening
