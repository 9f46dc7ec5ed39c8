// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Saving all or nothing: every failure, cancel and kill leaves the archive byte for byte as it was
// and no temporary beside it; a save keeps the archive's permissions and its symbolic link.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "base/Platform.h"
#include "edit/ArchiveEdit.h"
#include "edit/ReplacementFile.h"
#include "tests/edit/EditFixtures.h"

namespace brasvel::testing {
namespace {

std::atomic<long> bytesLeft{0};

// Writes until bytesLeft runs out, then fails as a full disk does.
ssize_t writeUntilFull(int fd, const void* data, std::size_t count) {
    const long left = bytesLeft.load();
    if (left <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const std::size_t now = std::min<std::size_t>(count, static_cast<std::size_t>(left));
    bytesLeft -= static_cast<long>(now);
    return ::write(fd, data, static_cast<unsigned>(now));
}

#ifndef _WIN32  // for the test that kills a save, which forks
ssize_t slowWrite(int fd, const void* data, std::size_t count) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return ::write(fd, data, static_cast<unsigned>(std::min<std::size_t>(count, 4096)));
}
#endif

// What the archive held on disk at each sync of a save, and whether the sync is made to fail.
std::string syncedArchive;
std::vector<std::string> onDiskAtSync;
bool failSync = false;

int recordingSync(int fd) {
    onDiskAtSync.push_back(readText(syncedArchive));
    if (failSync) {
        errno = EIO;
        return -1;
    }
    return platform::syncFile(fd);
}

// An archive of three entries saved at `path`, and an edit of it that adds a fourth.
std::string makeArchive(const fs::path& path) {
    ArchiveEdit edit(kSndFormat);
    edit.put("ONE", contentOf(std::string(5000, '1')));
    edit.put("TWO", contentOf(std::string(7000, '2')));
    edit.put("THREE", contentOf(std::string(3000, '3')));
    EXPECT_TRUE(edit.save(path.string()));
    return readText(path);
}

ArchiveEdit addingOne(const Archive& archive) {
    ArchiveEdit edit(archive);
    edit.put("FOUR", contentOf(std::string(20000, '4')));
    edit.rename(0, "UNO");
    return edit;
}

TEST(ArchiveSave, AFailedWriteAnywhereLeavesTheArchiveAsItWas) {
    Scratch scratch;
    const fs::path path = scratch / "a.snd";
    const std::string before = makeArchive(path);
    const Archive archive = Archive::open(path.string(), kSndFormat);
    const ArchiveEdit edit = addingOne(archive);
    for (const Temporaries temporaries : {Temporaries::Unnamed, Temporaries::Named}) {
        for (long budget : {0L, 1L, 4096L, 15000L, 30000L, 35190L}) {
            bytesLeft = budget;
            SaveOptions options;
            options.write = writeUntilFull;
            options.temporaries = temporaries;
            try {
                edit.save(path.string(), options);
                FAIL() << "saved with " << budget << " bytes of room";
            } catch (const ResourceError& error) {
                EXPECT_EQ(error.text(), "Disk full");
                EXPECT_NE(error.describe().find(path.string()), std::string::npos);
            }
            EXPECT_EQ(readText(path), before) << budget;
            EXPECT_EQ(scratch.names(), (std::set<std::string>{"a.snd"})) << budget;
        }
    }
    bytesLeft = 1L << 30;
    SaveOptions roomy;
    roomy.write = writeUntilFull;
    EXPECT_TRUE(edit.save(path.string(), roomy));
    EXPECT_EQ(readBack(path, kSndFormat).size(), 4u);
}

// The new archive is synced before it takes the old one's place (on Linux its folder after):
// a crash in between leaves the old archive or the whole new one, never a new one half on disk.
TEST(ArchiveSave, TheNewArchiveIsSyncedBeforeItTakesTheOldOnesPlace) {
    Scratch scratch;
    const fs::path path = scratch / "a.snd";
    const std::string before = makeArchive(path);
    const ArchiveEdit edit = addingOne(Archive::open(path.string(), kSndFormat));
    syncedArchive = path.string();
    SaveOptions options;
    options.sync = recordingSync;
    for (const bool fails : {true, false}) {
        failSync = fails;
        onDiskAtSync.clear();
        if (fails) {
            EXPECT_THROW(edit.save(path.string(), options), ResourceError);
            EXPECT_EQ(readText(path), before);
            EXPECT_EQ(scratch.names(), (std::set<std::string>{"a.snd"}));
            EXPECT_EQ(onDiskAtSync, std::vector<std::string>{before});
        } else {
            EXPECT_TRUE(edit.save(path.string(), options));
            const std::string after = readText(path);
            ASSERT_NE(after, before);
            ASSERT_FALSE(onDiskAtSync.empty());
            EXPECT_EQ(onDiskAtSync.front(), before) << "synced only after it took the name";
            if (!kOnWindows) {
                EXPECT_EQ(onDiskAtSync, (std::vector<std::string>{before, after}))
                    << "the folder is synced once the new name is in it";
            }
        }
    }
}

TEST(ArchiveSave, ACancelLeavesTheArchiveAsItWas) {
    Scratch scratch;
    const fs::path path = scratch / "a.snd";
    const std::string before = makeArchive(path);
    const ArchiveEdit edit = addingOne(Archive::open(path.string(), kSndFormat));
    std::atomic<bool> cancel{false};
    std::vector<std::size_t> seen;
    const bool saved = edit.save(path.string(), {}, [&](std::size_t done, std::size_t total) {
        seen.push_back(done);
        EXPECT_EQ(total, 4u);
        cancel = done == 2;
    }, &cancel);
    EXPECT_FALSE(saved);
    EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(readText(path), before);
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"a.snd"}));
}

TEST(ArchiveSave, RefusesAnExistingFileWhenAskedAndAnArchiveChangedOnDisk) {
    Scratch scratch;
    const fs::path path = scratch / "a.snd";
    const std::string before = makeArchive(path);
    ArchiveEdit fresh(kSndFormat);
    fresh.put("NEW", contentOf("new"));
    SaveOptions refuse;
    refuse.existing = ExistingFile::Refuse;
    EXPECT_THROW(fresh.save(path.string(), refuse), ResourceError);
    EXPECT_EQ(readText(path), before);

    const ArchiveEdit edit = addingOne(Archive::open(path.string(), kSndFormat));
    makeArchive(scratch / "other.snd");
    if (kOnWindows) {
        // wine moves no file over one that is open, even to allow it: the open one goes aside.
        fs::rename(path, scratch / "aside.snd");
    }
    fs::rename(scratch / "other.snd", path);  // replaced by another program meanwhile
    const std::string replaced = readText(path);
    EXPECT_THROW(edit.save(path.string()), ArchiveChangedOnDisk);
    EXPECT_EQ(readText(path), replaced);
    SaveOptions overwrite;
    overwrite.overwriteChangedArchive = true;
    EXPECT_TRUE(edit.save(path.string(), overwrite));
    EXPECT_EQ(readBack(path, kSndFormat).size(), 4u);
}

TEST(ArchiveSave, KeepsPermissionsAndReplacesALinksTarget) {
#ifdef _WIN32
    GTEST_SKIP() << kLinuxOnly << ": permission bits and symbolic links";
#else
    Scratch scratch;
    fs::create_directories(scratch / "data");
    const fs::path target = scratch / "data" / "a.snd";
    makeArchive(target);
    ::chmod(target.c_str(), 0640);
    fs::create_symlink("data/a.snd", scratch / "link.snd");
    const Archive archive = Archive::open((scratch / "link.snd").string(), kSndFormat);
    ASSERT_TRUE(addingOne(archive).save((scratch / "link.snd").string()));
    EXPECT_TRUE(fs::is_symlink(scratch / "link.snd"));
    EXPECT_EQ(readBack(target, kSndFormat).size(), 4u);
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"data", "link.snd"}));
#endif
}

// A child saves slowly and is killed half-way: the archive stays whole. A named temporary that it
// leaves is removed by the next save, which can tell it from its dead writer.
TEST(ArchiveSave, AKilledSaveLeavesTheArchiveWholeAndItsTemporaryIsCleanedNextTime) {
#ifdef _WIN32
    GTEST_SKIP() << kLinuxOnly << ": fork and SIGKILL";
#else
    for (const Temporaries temporaries : {Temporaries::Unnamed, Temporaries::Named}) {
        Scratch scratch;
        const fs::path path = scratch / "a.snd";
        const std::string before = makeArchive(path);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const ArchiveEdit edit = addingOne(Archive::open(path.string(), kSndFormat));
            SaveOptions options;
            options.write = slowWrite;
            options.temporaries = temporaries;
            try {
                edit.save(path.string(), options);
            } catch (...) {
            }
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(readText(path), before);
        if (temporaries == Temporaries::Named) {
            EXPECT_EQ(scratch.names().size(), 2u);  // the archive and the dead child's temporary
            EXPECT_EQ(removeStaleTemporaries(path.string()), 1);
        }
        EXPECT_EQ(scratch.names(), (std::set<std::string>{"a.snd"}));
    }
#endif
}

// A real full file system, where this test may mount one (as root).
TEST(ArchiveSave, AFullFileSystemLeavesTheArchiveAsItWas) {
#ifdef _WIN32
    GTEST_SKIP() << kLinuxOnly << ": mounting a small tmpfs";
#else
    Scratch scratch;
    const fs::path mount = scratch / "small";
    fs::create_directories(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
    }
    struct Unmount {
        const fs::path& at;
        ~Unmount() { ::umount(at.c_str()); }
    } unmount{mount};
    const fs::path path = mount / "a.snd";
    const std::string before = makeArchive(path);
    ArchiveEdit edit(Archive::open(path.string(), kSndFormat));
    edit.put("BIG", contentOf(std::string(400 * 1024, 'b')));
    try {
        edit.save(path.string());
        ADD_FAILURE() << "saved more than the file system holds";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Disk full");
    }
    EXPECT_EQ(readText(path), before);
    std::set<std::string> names;
    for (const auto& item : fs::directory_iterator(mount)) {
        names.insert(item.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"a.snd"}));
#endif
}

TEST(ReplacementFile, TellsItsOwnStaleTemporariesFromOthers) {
    Scratch scratch;
    const fs::path path = scratch / "a.lod";
    writeText(path, "archive");
    // No process has the largest pid (of Linux; Windows' are multiples of 4); this one runs; the
    // others are not our temporaries.
    writeText(scratch / ".a.lod.4194304.abcdef.saving", "stale");
    writeText(scratch / (".a.lod." + std::to_string(testProcessId()) + ".abcdef.saving"), "ours");
    writeText(scratch / ".a.lod.1x.abcdef.saving", "not ours");
    writeText(scratch / ".b.lod.4194304.abcdef.saving", "another archive's");
    EXPECT_EQ(removeStaleTemporaries(path.string()), 1);
    EXPECT_FALSE(fs::exists(scratch / ".a.lod.4194304.abcdef.saving"));
    EXPECT_EQ(scratch.names().size(), 4u);
}

}  // namespace
}  // namespace brasvel::testing
