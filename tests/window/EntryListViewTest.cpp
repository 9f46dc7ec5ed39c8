// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The list's rows and its selection without the window: the sort order with ties and names in
// other cases, and the selection following its entries through every rebuild of the list.

#include <gtest/gtest.h>

#include <functional>

#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/EntryListView.h"
#include "window/Selection.h"

namespace brasvel {
namespace {

// Three entries of size 3 tie on size; "A.PCX" sorts before "a2.TXT" whatever their case.
class EntryListViewTest : public WindowFolderTest {
protected:
    void SetUp() override {
        WindowFolderTest::SetUp();
        const std::string path = write("four.lod", writers::LodWriter()
                                                       .add("b.TXT", "bbb")
                                                       .add("A.PCX", "aaa")
                                                       .add("a2.TXT", "aaaaa")
                                                       .add("C.TXT", "ccc")
                                                       .build());
        ASSERT_TRUE(session.open(path, kLodFormat, {}, [](const ArchiveFormat&) { return false; }));
        list.listArchive(kLodFormat, kListedEntries);
        list.show();
        selection.reset(session.entries().size());
    }
    std::vector<std::string> captions(std::span<const std::size_t> indices) const {
        std::vector<std::string> names;
        for (const std::size_t index : indices) {
            names.push_back(editName(session.entries()[index]));
        }
        return names;
    }
    void select(const std::string& name) { selection.mark(*session.find(name), true); }

    ArchiveSession session;
    EntryListView list{ui, session};
    Selection selection;
};

TEST_F(EntryListViewTest, equalKeysFallBackToTheNameIgnoringCase) {
    struct Case {
        std::optional<ListColumn> column;
        bool ascending;
        std::vector<std::string> rows;
    } cases[] = {
        {std::nullopt, true, {"b.TXT", "A.PCX", "a2.TXT", "C.TXT"}},
        {ListColumn::Name, true, {"A.PCX", "a2.TXT", "b.TXT", "C.TXT"}},
        {ListColumn::Size, true, {"A.PCX", "b.TXT", "C.TXT", "a2.TXT"}},
        {ListColumn::Size, false, {"a2.TXT", "C.TXT", "b.TXT", "A.PCX"}},
        {ListColumn::Type, true, {"A.PCX", "a2.TXT", "b.TXT", "C.TXT"}},
    };
    for (const Case& c : cases) {
        list.setOrder(c.column, c.ascending);
        list.listArchive(kLodFormat, kListedEntries);
        list.show();
        EXPECT_EQ(captions(list.listedEntries()), c.rows);
        EXPECT_EQ(ui.rows.back().shownCaption(), c.rows.back());
        EXPECT_EQ(ui.sortIndicator, c.column);
    }
}

TEST_F(EntryListViewTest, theSelectionKeepsOnlyListedEntriesAndTheFocusFollowsItsEntry) {
    select("A.PCX");
    select("b.TXT");
    select("C.TXT");
    selection.focus(session.find("b.TXT"));
    const auto removeFocused = [&] {
        session.edit().remove(*selection.focused());
        selection.keepOnly(session.entries().size(), session.find("C.TXT"));
    };
    const auto sortByName = [&] { list.setOrder(ListColumn::Name, true); };
    const int all = typeItemIndex("*.*");
    const int txt = typeItemIndex("txt");
    struct Step {
        std::function<void()> change;
        int item;
        const char* search;
        std::vector<std::string> rows, selected;
        int focusedRow;
    } steps[] = {
        {sortByName,
         all,
         "",
         {"A.PCX", "a2.TXT", "b.TXT", "C.TXT"},
         {"A.PCX", "b.TXT", "C.TXT"},
         2},
        {{}, all, "B.", {"b.TXT"}, {"b.TXT"}, 0},
        {{}, txt, "", {"a2.TXT", "b.TXT", "C.TXT"}, {"b.TXT"}, 1},
        {removeFocused, txt, "", {"a2.TXT", "C.TXT"}, {"C.TXT"}, 1},
        {{}, typeItemIndex("pcx"), "", {"A.PCX"}, {}, -1},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& step = steps[i];
        if (step.change) {
            step.change();
        }
        list.setSearch(step.search);
        list.listType(step.item, kListedEntries);
        const std::vector<int> rows = selection.keepListed(list.listedEntries());
        const std::string at = "step " + std::to_string(i);
        EXPECT_EQ(captions(list.listedEntries()), step.rows) << at;
        EXPECT_EQ(captions(selection.selectedOf(list.listedEntries())), step.selected) << at;
        EXPECT_EQ(list.rowOf(selection.focused()), step.focusedRow) << at;
        EXPECT_EQ(selection.focused().has_value(), step.focusedRow >= 0) << at;
    }
}

}  // namespace
}  // namespace brasvel
