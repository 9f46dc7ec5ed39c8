#include "catalogue/TypeFilter.h"

#include <gtest/gtest.h>

#include "catalogue/DirectoryReaders.h"
#include "tools/writers/ArchiveWriters.h"
#include "toolkit/HeadlessToolkit.h"

namespace brasvel {
namespace {

using writers::asBytes;

struct FilteredList {
    std::unique_ptr<CatalogueModel> model = CatalogueModel::create();
    HeadlessToolkit ui;

    void choose(int item) {
        ui.typeIndex = item;
        ViewLod(*model, ui);
    }
    std::vector<int> shownEntries() const {
        std::vector<int> entries;
        for (int row = 0; row < model->VisibleCount; ++row) {
            entries.push_back(model->ViewOrder[static_cast<std::size_t>(row)]);
        }
        return entries;
    }
};

TEST(TypeFilter, beforeAnyArchiveEveryItemLeavesTheListHiddenAndEmpty) {
    FilteredList list;
    for (int item = 0; item < kTypeItemCount; ++item) {
        list.choose(item);
        EXPECT_FALSE(list.ui.listVisible);
        EXPECT_TRUE(list.ui.rows.empty());
        EXPECT_EQ(list.model->VisibleCount, 0);
    }
}

TEST(TypeFilter, keepsExactLowerAndUpperCaseInDirectoryOrder) {
    writers::LodWriter writer;
    for (int i = 0; i < 10; ++i) {
        writer.add("low" + std::to_string(i) + ".pcx", "");
        if (i < 5) {
            writer.add("UP" + std::to_string(i) + ".PCX", "");
        }
        if (i < 3) {
            writer.add("Mix" + std::to_string(i) + ".Pcx", "");
        }
    }
    const std::string archive = writer.build();
    FilteredList list;
    readLodDirectory(*list.model, list.ui, asBytes(archive));
    list.choose(3);  // "*.Pcx"
    ASSERT_EQ(list.model->VisibleCount, 15);
    ASSERT_EQ(list.ui.rows.size(), 15u);
    const std::vector<int> entries = list.shownEntries();
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end()));
    for (std::size_t row = 0; row < 15; ++row) {
        EXPECT_EQ(list.ui.rows[row].image, kImagePcx);
        const CatalogueEntry& entry = list.model->Catalogue[static_cast<std::size_t>(entries[row])];
        EXPECT_TRUE(entry.Ext == "pcx" || entry.Ext == "PCX");
    }
    EXPECT_EQ(list.ui.statusTexts[0], "Total Files: 18") << "the total stays the archive's";
}

TEST(TypeFilter, everyItemKeepsItsOwnExtensionWithItsImage) {
    writers::LodWriter writer;
    for (int item = 1; item < kTypeItemCount; ++item) {
        const std::string ext(kTypeItems[static_cast<std::size_t>(item)].ext);
        std::string upper = ext;
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        writer.add("a." + ext, "").add("B." + upper, "").add("c." + upper.substr(0, 1) + ext.substr(1), "");
    }
    writer.add("NODOT", "");
    const std::string archive = writer.build();
    FilteredList list;
    readLodDirectory(*list.model, list.ui, asBytes(archive));
    for (int item = 1; item < kTypeItemCount; ++item) {
        list.choose(item);
        const int first = (item - 1) * 3;
        EXPECT_EQ(list.shownEntries(), (std::vector<int>{first, first + 1})) << item;
        for (const HeadlessRow& row : list.ui.rows) {
            EXPECT_EQ(row.image, kTypeItems[static_cast<std::size_t>(item)].image) << item;
        }
    }
    list.choose(0);
    EXPECT_EQ(list.model->VisibleCount, list.model->EntryCount);
    EXPECT_EQ(list.ui.rows.size(), static_cast<std::size_t>(list.model->EntryCount));
    // "*.*" gives every extension its icon, msg included, and mixed case none.
    EXPECT_EQ(list.ui.rows[33].image, kImageMsg);
    EXPECT_EQ(list.ui.rows[35].image, 0);
    EXPECT_EQ(list.ui.rows.back().image, 0);
    EXPECT_EQ(list.ui.rows.back().shownCaption(), "NODOT");
}

TEST(TypeFilter, aNameWithoutADotShowsOnlyUnderAllWithACaptionEndingInADot) {
    const std::string archive = writers::VidWriter().add("ABCDEFGHIJKLMNOPQ", "").build();
    FilteredList list;
    readVidDirectory(*list.model, list.ui, asBytes(archive));
    list.choose(0);
    EXPECT_EQ(list.ui.rows.at(0).shownCaption(), "ABCDEFGHIJKL.");
    for (int item = 1; item < kTypeItemCount; ++item) {
        list.choose(item);
        EXPECT_TRUE(list.ui.rows.empty());
    }
}

TEST(TypeFilter, recaptionsSoundsWithTheirStoredUpperCaseExtension) {
    const std::string archive = writers::SndWriter().add("BOOM", "").add("CLICK", "").build();
    FilteredList list;
    readSndDirectory(*list.model, list.ui, asBytes(archive));
    list.choose(8);  // "*.Wav"
    ASSERT_EQ(list.ui.rows.size(), 2u);
    EXPECT_EQ(list.ui.rows[0].shownCaption(), "BOOM.WAV");
    EXPECT_EQ(list.ui.rows[1].image, kImageWav);
    list.choose(6);  // "*.Def"
    EXPECT_TRUE(list.ui.rows.empty());
    EXPECT_EQ(list.model->VisibleCount, 0);
    EXPECT_EQ(list.ui.statusTexts[0], "Total Files: 2");
}

TEST(TypeFilter, videosKeepOnlyTheChosenKind) {
    const std::string archive =
        writers::VidWriter().add("A.smk", "").add("B.BIK", "").add("C.SMK", "").build();
    FilteredList list;
    readVidDirectory(*list.model, list.ui, asBytes(archive));
    list.choose(1);  // "*.Smk"
    EXPECT_EQ(list.shownEntries(), (std::vector<int>{0, 2}));
}

TEST(TypeFilter, reachesNoFurtherThanTheOpenArchive) {
    writers::LodWriter big;
    for (int i = 0; i < 3000; ++i) {
        big.add("OLD.PCX", "");
    }
    const std::string first = big.build();
    const std::string second = writers::SndWriter().add("NEW", "").build();
    FilteredList list;
    readLodDirectory(*list.model, list.ui, asBytes(first));
    list.ui.clearRows();
    readSndDirectory(*list.model, list.ui, asBytes(second));
    list.choose(0);
    EXPECT_EQ(list.model->VisibleCount, 1);
    list.choose(3);
    EXPECT_EQ(list.model->VisibleCount, 0) << "old entries above the count must stay unseen";
}

TEST(TypeFilter, noSelectedItemMakesNoRows) {
    const std::string archive = writers::LodWriter().add("A.TXT", "").build();
    FilteredList list;
    readLodDirectory(*list.model, list.ui, asBytes(archive));
    list.choose(-1);
    EXPECT_TRUE(list.ui.rows.empty());
    EXPECT_EQ(list.model->VisibleCount, 0);
    EXPECT_EQ(list.ui.updateDepth, 0);
}

TEST(TypeItems, areFoundByTextOrBareExtensionInAnyCase) {
    EXPECT_EQ(typeItemIndex("*.*"), 0);
    EXPECT_EQ(typeItemIndex("*.Pcx"), 3);
    EXPECT_EQ(typeItemIndex("pcx"), 3);
    EXPECT_EQ(typeItemIndex("DEF"), 6);
    EXPECT_EQ(typeItemIndex(".msg"), 12);
    EXPECT_EQ(typeItemIndex("zip"), -1);
    EXPECT_EQ(typeItemIndex(""), -1);
}

}  // namespace
}  // namespace brasvel
