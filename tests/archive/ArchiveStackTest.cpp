// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/ArchiveStack.h"

#include <gtest/gtest.h>

namespace brasvel {
namespace {

std::vector<Entry> named(std::initializer_list<const char*> names) {
    std::vector<Entry> entries;
    for (const char* name : names) {
        Entry entry;
        entry.fileName = name;
        entries.push_back(entry);
    }
    return entries;
}

TEST(ArchiveStackTest, theWinningOrder) {
    const std::vector<StackedArchive> archives{
        {"b.lod", 200}, {"a.lod", 100}, {"c.snd", 200}, {"d.vid", 300}};
    EXPECT_EQ(newestFirst(archives), (std::vector<std::size_t>{3, 0, 2, 1}))
        << "the latest first; b.lod and c.snd, of one time, by name";
    const struct {
        const char* what;
        std::vector<std::string> arranged;
        std::vector<std::size_t> order;
    } cases[] = {
        {"none remembered", {}, {3, 0, 2, 1}},
        {"every archive", {"a.lod", "c.snd", "b.lod", "d.vid"}, {1, 2, 0, 3}},
        {"new ones first", {"a.lod", "b.lod"}, {3, 2, 1, 0}},
        {"gone, repeated and in another case",
         {"gone.lod", "a.lod", "a.lod", "B.LOD", "b.lod", "c.snd", "d.vid"},
         {1, 0, 2, 3}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(arrangedOrder(archives, test.arranged), test.order) << test.what;
    }
}

// Names are one in any case of the code page's letters ("\xA3" Ł, "\xB3" ł); each winner is
// followed by the copies it shadows, in the winning order.
TEST(ArchiveStackTest, aNameHeldTwiceIsTheFirstArchivesCopy) {
    const std::vector<Entry> first = named({"\xA3UK.TXT", "ONE.PCX"});
    const std::vector<Entry> second = named({"TWO.PCX", "\xB3uk.txt", "one.pcx"});
    const std::vector<Entry> third = named({"\xB3UK.txt", "two.pcx"});
    const std::vector<const std::vector<Entry>*> archives{&first, &second, &third};
    const std::vector<StackedEntry> stack = stackEntries(archives);
    struct Row {
        std::size_t archive, entry, shadows;
        bool shadowed;
        std::size_t winner;
    };
    const std::vector<Row> expected{
        {0, 0, 2, false, 0}, {1, 1, 0, true, 0}, {2, 0, 0, true, 0},  // łuk.txt
        {0, 1, 1, false, 3}, {1, 2, 0, true, 3},                       // one.pcx
        {1, 0, 1, false, 5}, {2, 1, 0, true, 5},                       // two.pcx
    };
    ASSERT_EQ(stack.size(), expected.size());
    for (std::size_t i = 0; i < stack.size(); ++i) {
        EXPECT_EQ(stack[i].archive, expected[i].archive) << i;
        EXPECT_EQ(stack[i].entry, expected[i].entry) << i;
        EXPECT_EQ(stack[i].shadows, expected[i].shadows) << i;
        EXPECT_EQ(stack[i].shadowed, expected[i].shadowed) << i;
        EXPECT_EQ(stack[i].winner, expected[i].winner) << i;
    }
    EXPECT_TRUE(stackEntries({}).empty());
}

}  // namespace
}  // namespace brasvel
