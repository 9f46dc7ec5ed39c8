#include <gtest/gtest.h>

#include "base/ResourceError.h"
#include "extract/SafeName.h"

namespace brasvel {
namespace {

CatalogueEntry named(std::string_view name, std::string_view ext) {
    CatalogueEntry entry;
    entry.Name.assign(name);
    entry.Ext.assign(ext);
    return entry;
}

std::string refusal(std::string_view nameBytes) {
    try {
        const std::string accepted = safeFileName(nameBytes);
        ADD_FAILURE() << "accepted as " << accepted;
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Unsafe entry name");
        return error.detail();
    }
    return {};
}

TEST(OutputName, EachKindWritesItsEntryUnderTheNameOfItsTable) {
    EXPECT_EQ(outputNameBytes(named("CASTLE", "DEF"), ArchiveKind::Lod, true), "CASTLE.DEF");
    EXPECT_EQ(outputNameBytes(named("horn", "WAV"), ArchiveKind::Snd, true), "horn.wav");
    EXPECT_EQ(outputNameBytes(named("INTRO", "smk"), ArchiveKind::Vid, true), "INTRO.smk");
}

TEST(OutputName, OnlyAnExtensionOfExactlyPcxOrPCXBecomesABitmap) {
    EXPECT_EQ(outputNameBytes(named("Map", "PCX"), ArchiveKind::Lod, true), "Map.bmp");
    EXPECT_EQ(outputNameBytes(named("Map", "pcx"), ArchiveKind::Lod, true), "Map.bmp");
    EXPECT_EQ(outputNameBytes(named("Map", "Pcx"), ArchiveKind::Lod, true), "Map.Pcx");
    EXPECT_EQ(outputNameBytes(named("Map", "PCX"), ArchiveKind::Lod, false), "Map.PCX");
    EXPECT_EQ(outputNameBytes(named("Map", "PCX"), ArchiveKind::Vid, true), "Map.PCX");
    EXPECT_TRUE(convertsToBitmap(named("Map", "pcx"), ArchiveKind::Lod, true));
    EXPECT_FALSE(convertsToBitmap(named("Map", "pCX"), ArchiveKind::Lod, true));
}

TEST(OutputName, ANameWithNulBytesEndsAtTheFirstOfThem) {
    const std::string name("AB\0\0CD", 6);
    EXPECT_EQ(outputNameBytes(named(name, ""), ArchiveKind::Lod, true), "AB");
    EXPECT_EQ(outputNameBytes(named(name, "pcx"), ArchiveKind::Lod, true), "AB");
    EXPECT_EQ(outputNameBytes(named(name, "smk"), ArchiveKind::Vid, true), "AB");
    EXPECT_EQ(outputNameBytes(named("AB", std::string("t\0t", 3)), ArchiveKind::Lod, true), "AB.t");
}

TEST(OutputName, AnEntryNamedTmpIsAnOrdinaryName) {
    EXPECT_EQ(outputFileName(named("SAVE", "TMP"), ArchiveKind::Lod, true), "SAVE.TMP");
}

TEST(SafeFileName, NamesThatCouldLeaveTheFolderOrNameNoFileAreRefused) {
    const struct {
        std::string name;
        std::string why;
    } cases[] = {
        {"../x", "../x contains '/'"},
        {"a/b", "a/b contains '/'"},
        {"a\\b", "a\\b contains '\\'"},
        {"C:x", "C:x contains ':'"},
        {"/etc", "/etc contains '/'"},
        {".", "\".\" names a folder"},
        {"..", "\"..\" names a folder"},
        {"", "the name is empty"},
        {std::string("\0abc", 4), "the name is empty"},
        {"a\nb", "the name contains the control byte 0x0A"},
        {"tab\t", "the name contains the control byte 0x09"},
        {"\x1b[2J", "the name contains the control byte 0x1B"},
        {"del\x7f", "the name contains the control byte 0x7F"},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(refusal(item.name), item.why) << item.name;
    }
}

TEST(SafeFileName, WindowsNamesAreDecodedToUtf8) {
    EXPECT_EQ(safeFileName("\xA3\xF3\x64\x9F.txt"), "Łódź.txt");
    EXPECT_EQ(safeFileName(std::string_view("ok.txt\0junk", 11)), "ok.txt");
}

TEST(SafeFileName, WindowsDeviceNamesAndTrailingDotsAreOrdinaryNamesHere) {
    for (std::string name : {"CON", "nul.txt", "COM1.wav", "LPT9", "name.", "name ", "...", ".a"}) {
        EXPECT_EQ(safeFileName(name), name);
    }
}

TEST(SafeFileName, ANameLongerThanAFileNameCanBeIsRefused) {
    // 0x8A decodes to a two-byte character.
    EXPECT_EQ(safeFileName(std::string(127, '\x8A')).size(), 254U);
    EXPECT_EQ(refusal(std::string(128, '\x8A')), "the name is 256 bytes long, more than 255");
}

}  // namespace
}  // namespace brasvel
