// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The journal of pending edits: written and read back, refused whole when cut short or changed
// anywhere, and applied to a fresh edit of the archive to give the same entries and contents.

#include <gtest/gtest.h>

#include "EditFixtures.h"
#include "archive/ArchiveFormat.h"
#include "edit/EditJournal.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

using writers::LodWriter;
using namespace testing;

struct JournalTest : ::testing::Test {
    Scratch scratch;
    std::string path = (scratch / "game.lod").string();
    void SetUp() override {
        // Not in name order: a replaced entry must keep its place, not go to the end.
        writeText(path, LodWriter()
                            .add("GAMMA.TXT", "gamma")
                            .add("ALPHA.TXT", "alpha", true)
                            .add("BETA.TXT", "beta")
                            .build());
    }
    static std::vector<std::string> contents(const ArchiveEdit& edit) {
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < edit.entries().size(); ++i) {
            shown.push_back(edit.entries()[i].caption + "=" + textOfBytes(edit.content(i)));
        }
        return shown;
    }
};

TEST_F(JournalTest, theEditsComeBackOnAFreshEditOfTheSameArchive) {
    const Archive archive = Archive::open(path, kLodFormat);
    ArchiveEdit edit(archive);
    edit.remove(*edit.find("BETA.TXT"));
    edit.rename(*edit.find("ALPHA.TXT"), "DELTA.TXT");
    edit.put("GAMMA.TXT", contentOf("gamma, rewritten"));
    edit.put("NEW.TXT", contentOf(std::string("new\0bytes", 9)));
    const EditJournal journal{path, "lod", 4242, lookOf(path, archive), journalRows(edit)};
    const std::vector<std::byte> file = writeJournal(journal);
    const EditJournal back = readJournal(file);
    EXPECT_EQ(back, journal);

    ArchiveEdit restored(archive);
    applyJournal(back.rows, restored);
    EXPECT_EQ(contents(restored), contents(edit));
    for (std::size_t i = 0; i < edit.entries().size(); ++i) {
        EXPECT_EQ(restored.entries()[i].caption, edit.entries()[i].caption) << "in its place";
        EXPECT_EQ(restored.isChanged(i), edit.isChanged(i)) << i;
        EXPECT_EQ(restored.isNew(i), edit.isNew(i)) << i;
    }
    EXPECT_TRUE(restored.hasChanges());

    // The look changes with the archive's directory, not with its entries' bytes alone.
    writeText(path, LodWriter().add("ALPHA.TXT", "alpha", true).add("BETA.TXT", "beta").build());
    EXPECT_NE(lookOf(path, Archive::open(path, kLodFormat)), journal.look);

    // A row naming an entry the archive does not have, or one twice, is refused.
    for (const std::uint32_t original : {3U, 0U}) {
        std::vector<JournalRow> rows = back.rows;
        rows.push_back({"X.TXT", original, {}});
        if (original == 0U) {
            rows.front().original = 0U;  // kept twice
        }
        ArchiveEdit again(archive);
        EXPECT_THROW(applyJournal(rows, again), ResourceError) << original;
    }
}

// A crash can leave a journal cut anywhere, or with any byte wrong: each is refused as damaged.
TEST_F(JournalTest, aJournalCutShortOrChangedAnywhereIsRefused) {
    const Archive archive = Archive::open(path, kLodFormat);
    ArchiveEdit edit(archive);
    edit.put("NEW.TXT", contentOf("some new content"));
    const std::vector<std::byte> file =
        writeJournal({path, "lod", 1, lookOf(path, archive), journalRows(edit)});
    for (std::size_t length = 0; length < file.size(); ++length) {
        try {
            readJournal(Bytes(file.data(), length));
            ADD_FAILURE() << "cut at " << length << " was read";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::DamagedFile) << length;
        }
    }
    for (std::size_t at = 0; at < file.size(); ++at) {
        std::vector<std::byte> changed = file;
        changed[at] ^= std::byte{0x01};
        EXPECT_THROW(readJournal(changed), ResourceError) << "byte " << at;
    }
    std::vector<std::byte> longer = file;
    longer.push_back(std::byte{0});
    EXPECT_THROW(readJournal(longer), ResourceError) << "one byte past the end";
}

TEST_F(JournalTest, aSyncedFileReplacesTheOldOneWhole) {
    const std::string target = (scratch / "edits.journal").string();
    writeSyncedFile(target, contentOf("first"));
    writeSyncedFile(target, contentOf("second, longer"));
    EXPECT_EQ(readText(target), "second, longer");
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"edits.journal", "game.lod"}));
}

}  // namespace
}  // namespace brasvel
