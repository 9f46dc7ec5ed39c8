#include "catalogue/Catalogue.h"

#include <gtest/gtest.h>

#include "catalogue/ByteReader.h"
#include "catalogue/Text.h"

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

TEST(ByteReader, readsLittleEndianAndRefusesToPassTheEnd) {
    const std::byte data[] = {std::byte{0x01}, std::byte{0x02}, std::byte{0x03},
                              std::byte{0x04}, std::byte{0xFF}, std::byte{0xFF}};
    ByteReader reader(data);
    EXPECT_EQ(reader.u32(), 0x04030201u);
    EXPECT_EQ(reader.remaining(), 2u);
    try {
        reader.i32();
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Read beyond end of file");
        EXPECT_EQ(error.detail(), "needed 4 bytes at offset 4, found 2");
    }
    EXPECT_EQ(reader.u16(), 0xFFFF);
    reader.seek(1000);
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_THROW(reader.u8(), ResourceError);
    ByteReader negative(data);
    negative.seek(4);
    EXPECT_EQ(static_cast<std::int16_t>(negative.u16()), -1);
}

TEST(Text, decodesWindows1250AndEndsAtTheFirstNul) {
    EXPECT_EQ(decodeWindows1250("\xA3\xF3\x64\x9F"), "Łódź");
    EXPECT_EQ(decodeWindows1250("\x8C\x9C\xAF\xBF"), "ŚśŻż");
    EXPECT_EQ(shownText(std::string_view("Zaj\xEA\x63ie\0junk", 11)), "Zajęcie");
    EXPECT_EQ(decodeWindows1250("\x81"), "\xEF\xBF\xBD") << "an undefined byte";
}

TEST(FileErrors, speakTheProgramsTexts) {
    EXPECT_EQ(fileErrorText(2), "File not found");
    EXPECT_EQ(fileErrorText(5), "File access denied");
    EXPECT_EQ(fileErrorText(100), "Read beyond end of file");
    EXPECT_EQ(fileErrorText(101), "Disk full");
    EXPECT_EQ(fileErrorText(32), "I/O error 32");
    EXPECT_EQ(fileError(ENOSPC, "/x").text(), "Disk full");
    EXPECT_EQ(fileError(EROFS, "/x").text(), "File access denied");
    EXPECT_EQ(fileError(ENOENT, "/x").describe(), "File not found (/x)");
}

}  // namespace
}  // namespace brasvel
