// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The editors' lock and the writer's refusals, on Linux and on Windows alike: one editor at a
// time, readers never kept out, and a write-protected archive or the archive as its own input
// refused with the file as it was.

#include <chrono>
#include <set>
#include <string>

#include "edit/ArchiveLock.h"
#include "tests/edit/EditFixtures.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel::testing {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kNoWait{0};

struct LockedArchive {
    Scratch scratch;
    fs::path path = scratch / "a.lod";
    std::string before = writers::LodWriter().add("OLD.TXT", "old").build();
    LockedArchive() { writeText(path, before); }
    ArchiveEdit adding(const std::string& name) const {
        ArchiveEdit edit(Archive::open(path.string(), kLodFormat));
        edit.put(name, contentOf(name));
        return edit;
    }
};

TEST(ArchiveLock, HoldsOffEveryOtherEditorButNoReader) {
    const LockedArchive archive;
    {
        const ArchiveLock held = ArchiveLock::take(archive.path.string(), kNoWait);
        ASSERT_TRUE(held.holdsFile());
        EXPECT_EQ(held.identity()->size, archive.before.size());
        EXPECT_THROW(ArchiveLock::take(archive.path.string(), kNoWait), ArchiveBusy);
        // A save that takes its own lock waits, then is refused.
        SaveOptions own;
        own.lockWait = milliseconds(50);
        EXPECT_THROW(archive.adding("OWN.TXT").save(archive.path.string(), own), ArchiveBusy);
        EXPECT_EQ(readText(archive.path), archive.before);
        // Reading goes on under the lock, on Windows too, where locks are mandatory.
        EXPECT_EQ(readBack(archive.path, kLodFormat).size(), 1u);
        // The holder's own save, under the lock it holds.
        SaveOptions underLock;
        underLock.lock = &held;
        EXPECT_TRUE(archive.adding("HELD.TXT").save(archive.path.string(), underLock));
    }
    // Released with the holder: the next editor gets it.
    EXPECT_TRUE(ArchiveLock::take(archive.path.string(), kNoWait).holdsFile());
    EXPECT_TRUE(archive.adding("NEXT.TXT").save(archive.path.string()));
    EXPECT_EQ(readBack(archive.path, kLodFormat).size(), 3u);
    // No file yet: nothing to hold, and a new archive may be made.
    EXPECT_FALSE(ArchiveLock::take((archive.scratch / "none.lod").string()).holdsFile());
}

TEST(ArchiveSave, RefusesAWriteProtectedArchiveAndTheArchiveAsItsOwnInput) {
    const LockedArchive archive;
    const std::string path = archive.path.string();
    {
        ArchiveEdit self(Archive::open(path, kLodFormat));
        EXPECT_THROW(self.putFile("SELF.LOD", path), ArchiveIsItsOwnInput);
        ArchiveEdit fresh(kLodFormat);
        fresh.putFile("SELF.LOD", path);
        EXPECT_THROW(fresh.save(path), ArchiveIsItsOwnInput);
        EXPECT_EQ(readText(archive.path), archive.before);
    }
    fs::permissions(archive.path,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        archive.adding("NEW.TXT").save(path);
        ADD_FAILURE() << "a write-protected archive was replaced";
    } catch (const ArchiveProtected& refusal) {
        EXPECT_EQ(refusal.why(), ArchiveProtected::Why::WriteProtected);
    }
    EXPECT_EQ(readText(archive.path), archive.before);
    // Replaced when the user says so (on Windows, over the read-only attribute), leaving nothing
    // else in the folder.
    SaveOptions forced;
    forced.replaceProtected = true;
    EXPECT_TRUE(archive.adding("FORCED.TXT").save(path, forced));
    EXPECT_EQ(readBack(archive.path, kLodFormat).size(), 2u);
    EXPECT_EQ(archive.scratch.names(), std::set<std::string>{"a.lod"});
    fs::permissions(archive.path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(archive.adding("NEW.TXT").save(path)) << "one write bit is enough";
}

}  // namespace
}  // namespace brasvel::testing
