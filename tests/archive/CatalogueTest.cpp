#include "catalogue/Catalogue.h"

#include <gtest/gtest.h>


namespace brasvel {
namespace {

TEST(Catalogue, startsEmptyAndNamesNoEntryBeforeAnArchiveIsOpened) {
    auto model = CatalogueModel::create();
    EXPECT_EQ(model->EntryCount, 0);
    EXPECT_EQ(model->VisibleCount, 0);
    EXPECT_EQ(model->SelectedRow, 0);
    EXPECT_EQ(model->selectedEntry(), nullptr);
    EXPECT_EQ(model->entryAtRow(0), CatalogueEntry{});
}

TEST(Catalogue, aSelectionLeftFromALongerListNamesNoEntry) {
    auto model = CatalogueModel::create();
    model->VisibleCount = 10;
    model->SelectedRow = 9;
    EXPECT_NE(model->selectedEntry(), nullptr);
    model->VisibleCount = 9;
    EXPECT_EQ(model->selectedEntry(), nullptr);
}

TEST(Catalogue, fileNamesEndAtTheFirstNul) {
    EXPECT_EQ(entryFileName({"ABC", "PCX"}), "ABC.PCX");
    EXPECT_EQ(entryFileName({std::string_view("AB\0\0", 4), ""}), "AB");
    EXPECT_EQ(entryFileName({"A", std::string_view("B\0\0", 3)}), "A.B");
    EXPECT_EQ(entryFileName({"", "def"}), ".def");
}

TEST(Catalogue, extensionsMatchOnlyTheirExactLowerAndUpperForms) {
    EXPECT_TRUE(extIs("pcx", "pcx"));
    EXPECT_TRUE(extIs("PCX", "pcx"));
    EXPECT_FALSE(extIs("Pcx", "pcx"));
    EXPECT_FALSE(extIs("pc", "pcx"));
    EXPECT_EQ(typeImageFor("msg"), kImageMsg);
    EXPECT_EQ(typeImageFor("mSG"), kImageNone);
}

TEST(ByteString, keepsAtMostItsCapacity) {
    EntryName name;
    for (char c : std::string("ABCDEFGHIJKLMNOP")) {
        name.append(c);
    }
    EXPECT_EQ(name, "ABCDEFGHIJKL");
    name.assign(std::string_view("X\0Y", 3));
    EXPECT_EQ(name.size(), 3u);
}

}  // namespace
}  // namespace brasvel
