// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Merging archives and exporting a difference: what is added, what conflicts and who wins, the
// stored bytes kept, damage refused before anything is written, and export then merge giving B.

#include <gtest/gtest.h>

#include "base/Text.h"
#include "edit/ArchiveMerge.h"
#include "tests/edit/EditFixtures.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel::testing {
namespace {

using writers::LodWriter;
using writers::SndWriter;

using Contents = std::vector<std::pair<std::string, std::string>>;
using Archives = std::vector<std::shared_ptr<const Archive>>;

std::shared_ptr<const Archive> shared(const std::string& bytes, const std::string& path,
                                      const ArchiveFormat& format = kLodFormat) {
    return std::make_shared<const Archive>(Archive::fromBytes(contentOf(bytes), format, path));
}

std::string storedOf(const Archive& archive, std::size_t index) {
    const Bytes all = archive.bytes();
    const Bytes stored = storedBytes(all, archive.entries()[index], archive.format());
    return {reinterpret_cast<const char*>(stored.data()), stored.size()};
}

std::vector<std::string> troubleTexts(std::vector<SearchTrouble>& troubles) {
    std::vector<std::string> texts;
    for (const SearchTrouble& t : troubles) {
        texts.push_back(t.archive + ": " + t.entry);
    }
    return texts;
}

struct WinnerCase {
    MergeWinner winner;
    bool refused;
    Contents result;  // INTO after the merge; unchanged when refused
};

TEST(ArchiveMerge, AddsNewEntriesAndSettlesConflictsOnlyWithAWinner) {
    const auto into = shared(LodWriter()
                                 .add("KEEP.TXT", "keep")
                                 .add("BOTH.TXT", "into's")
                                 .add("SAME.TXT", std::string(500, 's'), false)
                                 .build(),
                             "into.lod");
    const Archives froms = {
        shared(LodWriter()
                   .add("both.txt", "first's")
                   .add("SAME.TXT", std::string(500, 's'), true)  // same content, packed
                   .add("NEW.DEF", std::string(800, 'n'), true)
                   .build(),
               "first.lod"),
        shared(
            LodWriter().add("BOTH.TXT", "second's").add("new.def", std::string(800, 'n')).build(),
            "second.lod")};
    const std::vector<WinnerCase> cases = {
        {MergeWinner::None, true, {}},
        {MergeWinner::Into,
         false,
         {{"KEEP.TXT", "keep"},
          {"BOTH.TXT", "into's"},
          {"SAME.TXT", std::string(500, 's')},
          {"NEW.DEF", std::string(800, 'n')}}},
        {MergeWinner::From,
         false,
         {{"KEEP.TXT", "keep"},
          {"BOTH.TXT", "second's"},
          {"SAME.TXT", std::string(500, 's')},
          {"NEW.DEF", std::string(800, 'n')}}},
    };
    for (const WinnerCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.winner));
        std::vector<SearchTrouble> troubles;
        const MergePlan plan = planMerge(*into, froms, c.winner,
                                         [&](const SearchTrouble& t) { troubles.push_back(t); });
        EXPECT_TRUE(troubles.empty());
        EXPECT_EQ(plan.refused(), c.refused);
        EXPECT_EQ(plan.count(MergeStep::Kind::Add), 1U);
        // The second NEW.DEF holds what the first brought in: the same, not a conflict.
        EXPECT_EQ(plan.same, 2U);
        const MergeStep::Kind settled = c.winner == MergeWinner::None   ? MergeStep::Kind::Conflict
                                        : c.winner == MergeWinner::Into ? MergeStep::Kind::KeepInto
                                                                        : MergeStep::Kind::Replace;
        EXPECT_EQ(plan.count(settled), 2U);
        if (c.refused) {
            continue;
        }
        Scratch scratch;
        const ArchiveEdit edit = mergeEdit(*into, froms, plan);
        ASSERT_TRUE(edit.save((scratch / "merged.lod").string()));
        EXPECT_EQ(readBack(scratch / "merged.lod", kLodFormat), c.result);
        // The new entry's stored bytes are the first FROM's zlib stream, not a recompression.
        const Archive merged = Archive::open((scratch / "merged.lod").string(), kLodFormat);
        EXPECT_EQ(storedOf(merged, 3), storedOf(*froms[0], 2));
        EXPECT_EQ(merged.entries()[3].packedSize, froms[0]->entries()[2].packedSize);
    }
}

TEST(ArchiveMerge, RefusesAnotherKindAndCountsDamagedEntries) {
    const auto into = shared(LodWriter().add("A.TXT", "a").build(), "into.lod");
    const auto sounds = shared(SndWriter().add("a", "RIFF").build(), "s.snd", kSndFormat);
    EXPECT_THROW(planMerge(*into, {sounds}, MergeWinner::From, [](const SearchTrouble&) {}),
                 ResourceError);

    const auto damaged = shared(LodWriter()
                                    .addStored("A.TXT", "not zlib", 1, 8)  // against INTO's
                                    .addStored("B.TXT", "not zlib", 9, 8)  // new
                                    .addRaw("C.TXT", 1 << 20, 4, 0)        // outside
                                    .add("D.TXT", "fine")
                                    .build(),
                                "bad.lod");
    std::vector<SearchTrouble> troubles;
    const MergePlan plan = planMerge(*into, {damaged}, MergeWinner::From,
                                     [&](const SearchTrouble& t) { troubles.push_back(t); });
    EXPECT_EQ(troubleTexts(troubles),
              (std::vector<std::string>{"bad.lod: A.TXT", "bad.lod: B.TXT", "bad.lod: C.TXT"}));
    EXPECT_EQ(plan.unreadable, 3U);
    EXPECT_TRUE(plan.refused());
    EXPECT_EQ(plan.count(MergeStep::Kind::Add), 1U);
}

TEST(ArchivePatch, CarriesNewAndChangedEntriesSoThatMergingItGivesB) {
    const auto a = shared(LodWriter()
                              .add("SAME.TXT", "same")
                              .add("CHANGED.TXT", "old", true)
                              .add("GONE.TXT", "gone")
                              .add("RESTORED.TXT", std::string(900, 'r'), false)
                              .build(),
                          "a.lod");
    const auto b = shared(LodWriter()
                              .add("ADDED.DEF", std::string(700, 'a'), true)
                              .add("CHANGED.TXT", "new content", true)
                              .add("RESTORED.TXT", std::string(900, 'r'), true)
                              .add("SAME.TXT", "same")
                              .build(),
                          "b.lod");
    const ArchiveDifference difference = compareArchives(*a, *b, [](const SearchTrouble&) {});
    Scratch scratch;
    ASSERT_TRUE(patchEdit(b, difference).save((scratch / "patch.lod").string()));
    const auto patch = std::make_shared<const Archive>(
        Archive::open((scratch / "patch.lod").string(), kLodFormat));
    EXPECT_EQ(readBack(scratch / "patch.lod", kLodFormat),
              (Contents{{"ADDED.DEF", std::string(700, 'a')}, {"CHANGED.TXT", "new content"}}));
    EXPECT_EQ(storedOf(*patch, 0), storedOf(*b, 0));

    const MergePlan plan = planMerge(*a, {patch}, MergeWinner::From, [](const SearchTrouble&) {});
    ASSERT_FALSE(plan.refused());
    ASSERT_TRUE(mergeEdit(*a, {patch}, plan).save((scratch / "a2.lod").string()));
    // B's content, and A's entry that B removed, which a patch cannot carry.
    EXPECT_EQ(readBack(scratch / "a2.lod", kLodFormat),
              (Contents{{"SAME.TXT", "same"},
                        {"CHANGED.TXT", "new content"},
                        {"GONE.TXT", "gone"},
                        {"RESTORED.TXT", std::string(900, 'r')},
                        {"ADDED.DEF", std::string(700, 'a')}}));

    const auto damaged = shared(LodWriter().addStored("X.TXT", "not zlib", 3, 8).build(), "d.lod");
    const ArchiveDifference toDamaged = compareArchives(*a, *damaged, [](const SearchTrouble&) {});
    EXPECT_THROW(patchEdit(damaged, toDamaged), ResourceError);
}

// An archive with edits pending, read as the window reads it: compared, merged into and searched
// as its edits make it, new content (held nowhere but in the edit) included.
TEST(EditedEntries, AreComparedMergedIntoAndSearchedAsTheEditMakesThem) {
    const auto opened = shared(LodWriter()
                                   .add("KEPT.TXT", "kept", true)
                                   .add("OLD.TXT", "old name")
                                   .add("PUT.TXT", "before")
                                   .build(),
                               "open.lod");
    ArchiveEdit edit(*opened);
    edit.put("PUT.TXT", contentOf("after"));
    edit.rename(*edit.find("OLD.TXT"), "RENAMED.TXT");
    const std::string fresh = *encodeWindows1250("line one\nfresh ŻÓŁW");
    edit.put("FRESH.TXT", contentOf(fresh));
    const EditedEntries side(edit, "open.lod");
    const auto other = shared(LodWriter()
                                  .add("FRESH.TXT", fresh)
                                  .add("KEPT.TXT", "kept")
                                  .add("PUT.TXT", "before")
                                  .add("RENAMED.TXT", "old name", true)
                                  .build(),
                              "other.lod");

    const ArchiveDifference difference =
        compareEntries(side, SavedEntries(*other), [](const SearchTrouble&) {});
    EXPECT_TRUE(difference.onlyInA.empty());
    EXPECT_TRUE(difference.onlyInB.empty());
    ASSERT_EQ(difference.changed.size(), 1U);
    EXPECT_EQ(edit.entries()[difference.changed[0].first].caption, "PUT.TXT");
    EXPECT_EQ(difference.same, 3U);  // kept, renamed (stored otherwise) and new content

    // Each conflict asked in turn; None stops with the plan unsettled.
    MergePlan plan = planMerge(side, {other}, MergeWinner::None, [](const SearchTrouble&) {});
    ASSERT_EQ(plan.count(MergeStep::Kind::Conflict), 1U);
    std::vector<std::string> asked;
    EXPECT_FALSE(settleConflicts(
        plan, {other},
        [&](const MergeStep& step) {
            asked.push_back(step.name);
            return MergeWinner::None;
        },
        [](const SearchTrouble&) {}));
    EXPECT_EQ(asked, std::vector<std::string>{"PUT.TXT"});
    EXPECT_EQ(plan.count(MergeStep::Kind::Conflict), 1U);
    ASSERT_TRUE(settleConflicts(
        plan, {other}, [](const MergeStep&) { return MergeWinner::From; },
        [](const SearchTrouble&) {}));
    EXPECT_FALSE(plan.refused());
    applyMerge(edit, {other}, plan);
    EXPECT_EQ(textOfBytes(edit.content(*edit.find("PUT.TXT"))), "before");
    EXPECT_EQ(textOfBytes(edit.content(*edit.find("RENAMED.TXT"))), "old name");

    // The text found in content held only by the edit, by the name it has there.
    const auto search = ContentSearch::forText("żółw");
    ASSERT_TRUE(search);
    std::vector<ContentSearch::Match> found;
    ContentBuffers buffers;
    for (std::size_t index = 0; index < side.entries().size(); ++index) {
        search->search(side, index, buffers,
                       [&](const ContentSearch::Match& match) { found.push_back(match); });
    }
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].line, 2U);
    EXPECT_EQ(found[0].text, "fresh ŻÓŁW");
}

// A conflict taken from a FROM whose entry cannot be read is counted, not applied.
TEST(ArchiveMerge, SettlingAConflictReadsWhatIsTaken) {
    const auto into = shared(LodWriter().add("A.TXT", "into's").build(), "into.lod");
    const auto damaged =
        shared(LodWriter().addStored("A.TXT", "not zlib", 9, 8).build(), "bad.lod");
    MergePlan plan = planMerge(*into, {damaged}, MergeWinner::None, [](const SearchTrouble&) {});
    ASSERT_EQ(plan.count(MergeStep::Kind::Conflict), 1U);
    std::vector<SearchTrouble> troubles;
    EXPECT_TRUE(settleConflicts(
        plan, {damaged}, [](const MergeStep&) { return MergeWinner::From; },
        [&](const SearchTrouble& t) { troubles.push_back(t); }));
    EXPECT_EQ(troubleTexts(troubles), std::vector<std::string>{"bad.lod: A.TXT"});
    EXPECT_TRUE(plan.refused());
    EXPECT_EQ(plan.count(MergeStep::Kind::Replace), 0U);
}

}  // namespace
}  // namespace brasvel::testing
