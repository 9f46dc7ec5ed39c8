// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include "base/ResourceError.h"
#include "base/Text.h"
#include "extract/SafeName.h"

namespace brasvel {
namespace {

Entry named(std::string_view name, std::string_view ext) {
    Entry entry;
    entry.name = name;
    entry.ext = ext;
    entry.fileName = untilNul(std::string(name) + "." + std::string(ext));
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
    EXPECT_EQ(kLodFormat.outputName(named("CASTLE", "DEF"), true), "CASTLE.DEF");
    EXPECT_EQ(kSndFormat.outputName(named("horn", "WAV"), true), "horn.wav");
    EXPECT_EQ(kVidFormat.outputName(named("INTRO", "smk"), true), "INTRO.smk");
}

TEST(OutputName, OnlyAnExtensionOfExactlyPcxOrPCXBecomesABitmap) {
    EXPECT_EQ(kLodFormat.outputName(named("Map", "PCX"), true), "Map.bmp");
    EXPECT_EQ(kLodFormat.outputName(named("Map", "pcx"), true), "Map.bmp");
    EXPECT_EQ(kLodFormat.outputName(named("Map", "Pcx"), true), "Map.Pcx");
    EXPECT_EQ(kLodFormat.outputName(named("Map", "PCX"), false), "Map.PCX");
    EXPECT_EQ(kVidFormat.outputName(named("Map", "PCX"), true), "Map.PCX");
    EXPECT_TRUE(kLodFormat.convertsToBitmap(named("Map", "pcx"), true));
    EXPECT_FALSE(kLodFormat.convertsToBitmap(named("Map", "pCX"), true));
}

TEST(OutputName, ANameWithNulBytesEndsAtTheFirstOfThem) {
    const std::string name("AB\0\0CD", 6);
    EXPECT_EQ(kLodFormat.outputName(named(name, ""), true), "AB");
    EXPECT_EQ(kLodFormat.outputName(named(name, "pcx"), true), "AB");
    EXPECT_EQ(kVidFormat.outputName(named(name, "smk"), true), "AB");
    EXPECT_EQ(kLodFormat.outputName(named("AB", std::string("t\0t", 3)), true), "AB.t");
}

TEST(OutputName, AnEntryNamedTmpIsAnOrdinaryName) {
    EXPECT_EQ(outputFileName(named("SAVE", "TMP"), kLodFormat, true), "SAVE.TMP");
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

// Names Windows cannot hold are refused on every system, so that both builds write the same files.
TEST(SafeFileName, WindowsDeviceNamesTrailingDotsAndItsForbiddenCharactersAreRefusedEverywhere) {
    const struct {
        std::string name;
        std::string why;
    } cases[] = {
        {"CON", "CON is a device's name on Windows"},
        {"nul.txt", "nul.txt is a device's name on Windows"},
        {"COM1.wav", "COM1.wav is a device's name on Windows"},
        {"LPT9", "LPT9 is a device's name on Windows"},
        {"aUx.tar.gz", "aUx.tar.gz is a device's name on Windows"},
        {"name.", "\"name.\" ends in a dot, which Windows drops"},
        {"name ", "\"name \" ends in a blank, which Windows drops"},
        {"...", "\"...\" ends in a dot, which Windows drops"},
        {"a<b", "a<b contains '<'"},
        {"a>b", "a>b contains '>'"},
        {"a\"b", "a\"b contains '\"'"},
        {"a|b", "a|b contains '|'"},
        {"a?b", "a?b contains '?'"},
        {"a*b", "a*b contains '*'"},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(refusal(item.name), item.why) << item.name;
    }
    // Names that only look like them stay ordinary.
    for (std::string name : {".a", "COM0", "COM10", "LPT", "CONSOLE.TXT", "A.CON", "NUL\xA0", "a b"}) {
        EXPECT_EQ(safeFileName(name), decodeWindows1250(name)) << name;
    }
}

TEST(SafeFileName, ANameLongerThanAFileNameCanBeIsRefused) {
    // 0x8A decodes to a two-byte character.
    EXPECT_EQ(safeFileName(std::string(127, '\x8A')).size(), 254U);
    EXPECT_EQ(refusal(std::string(128, '\x8A')), "the name is 256 bytes long; at most 255");
}

}  // namespace
}  // namespace brasvel
