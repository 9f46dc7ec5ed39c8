// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Entry names come from the archive and are not trusted. Each name below is put in an archive
// beside an ordinary entry, in a folder beside a sentinel file, and extracted through the batch
// engine and through `brasvel-res extract`: nothing outside the target folder may be created or
// changed, and each hostile entry is either refused with a clear error naming it, or written
// under one safe name directly inside the folder, the same on every run.

#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "extract/BatchExtractor.h"
#include "extract/SafeName.h"
#include "tests/hardening/HardeningSupport.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace brasvel::hardening {
namespace {

using writers::LodWriter;
using writers::SndWriter;
using writers::VidWriter;

struct HostileName {
    const char* label;  // the test's name
    const ArchiveFormat* format;
    std::string field;                     // the directory's name field, NUL-filled to its width
    std::optional<std::string> writtenAs;  // the UTF-8 file name, or none when refused
    bool picture = false;                  // the entry holds a game picture (LOD, Ext PCX)
    // The Windows column: why Windows could hold no file of this name, which the refusal says on
    // every system (extracted folders copy to Windows whole, and both builds write the same files).
    const char* windowsCannot = nullptr;

    friend void PrintTo(const HostileName& name, std::ostream* out) { *out << name.label; }
};

using namespace std::string_literals;
const std::optional<std::string> kRefused = std::nullopt;
constexpr const char* kDevice = "is a device's name on Windows";

// Every kind reads names its own way: LOD scans 12 bytes for the dot and keeps 3 bytes after it,
// SND keeps 12 bytes before the first NUL and writes Name.wav, VID writes its whole stored name.
const std::vector<HostileName> kHostileNames = {
    // Paths that climb out of the folder or start from the root.
    {"LodDotDotSlash", &kLodFormat, "../UP.TXT", kRefused},
    {"LodDotDotBackslash", &kLodFormat, "..\\UP.TXT", kRefused},
    {"LodSlashInside", &kLodFormat, "A/B.TXT", kRefused},
    {"LodBackslashInside", &kLodFormat, "A\\B.TXT", kRefused},
    {"LodAbsolutePath", &kLodFormat, "/ETC.TXT", kRefused},
    {"LodAbsoluteTmpPath", &kLodFormat, "/tmp/ABS.TXT", kRefused},
    {"LodRootBackslash", &kLodFormat, "\\WIN.TXT", kRefused},
    {"LodSlashInExtension", &kLodFormat, "A.T/X", kRefused},
    {"LodBackslashInExtension", &kLodFormat, "A.T\\X", kRefused},
    {"LodPictureWithSlash", &kLodFormat, "A/B.PCX", kRefused, true},
    // Drive letters and alternate data streams.
    {"LodDriveAndBackslash", &kLodFormat, "C:\\W.TXT", kRefused},
    {"LodDriveRelative", &kLodFormat, "C:W.TXT", kRefused},
    {"LodStreamInName", &kLodFormat, "A:ADS.TXT", kRefused},
    {"LodColonInExtension", &kLodFormat, "A.T:X", kRefused},
    {"LodStreamPastExtension", &kLodFormat, "B.TXT:ADS", "B.TXT"s},
    // The folder itself, its parent, and nothing at all.
    {"LodDot", &kLodFormat, ".", kRefused},
    {"LodDotDot", &kLodFormat, "..", kRefused},
    {"LodEmpty", &kLodFormat, "", kRefused},
    {"LodNulFirst", &kLodFormat, "\0ABC.TXT"s, kRefused},
    {"LodThreeDots", &kLodFormat, "...", kRefused, false, "ends in a dot"},
    {"LodExtensionOnly", &kLodFormat, ".TXT", ".TXT"s},
    // Control bytes.
    {"LodControlByteFirst", &kLodFormat,
     "\x01"
     "A.TXT",
     kRefused},
    {"LodUnitSeparator", &kLodFormat, "A\x1F.TXT", kRefused},
    {"LodDelete", &kLodFormat, "A\x7F.TXT", kRefused},
    {"LodTab", &kLodFormat, "\tTAB.TXT", kRefused},
    {"LodNewline", &kLodFormat, "A\nB.TXT", kRefused},
    {"LodControlInExtension", &kLodFormat, "A.\x01XY", kRefused},
    // The characters Windows refuses in a name.
    {"LodLessThan", &kLodFormat, "A<B.TXT", kRefused, false, "contains '<'"},
    {"LodGreaterThan", &kLodFormat, "A>B.TXT", kRefused, false, "contains '>'"},
    {"LodQuote", &kLodFormat, "A\"B.TXT", kRefused, false, "contains '\"'"},
    {"LodBar", &kLodFormat, "A|B.TXT", kRefused, false, "contains '|'"},
    {"LodQuestionMark", &kLodFormat, "WHAT?.TXT", kRefused, false, "contains '?'"},
    {"LodStar", &kLodFormat, "*.TXT", kRefused, false, "contains '*'"},
    {"SndStar", &kSndFormat, "S*", kRefused, false, "contains '*'"},
    {"VidQuestionMark", &kVidFormat, "V?.SMK", kRefused, false, "contains '?'"},
    // A NUL in the middle ends the name there.
    {"LodNulInside", &kLodFormat, "AB\0CD.TXT"s, "AB"s},
    {"LodNulInExtension", &kLodFormat, "EF.T\0T"s, "EF.T"s},
    // Trailing dots and blanks, which Windows drops from a name.
    {"LodTrailingDot", &kLodFormat, "TD.", kRefused, false, "ends in a dot"},
    {"LodTrailingDots", &kLodFormat, "NAME...", kRefused, false, "ends in a dot"},
    {"LodTrailingBlankInExtension", &kLodFormat, "NAME.TX ", kRefused, false, "ends in a blank"},
    {"LodTrailingBlankWithoutDot", &kLodFormat, "BLANK ", kRefused, false, "ends in a blank"},
    {"LodDotThenBlanks", &kLodFormat, "DB.  ", kRefused, false, "ends in a blank"},
    // Windows device names, in any case, with and without extensions; names that only look alike.
    {"LodCon", &kLodFormat, "CON", kRefused, false, kDevice},
    {"LodConWithExtension", &kLodFormat, "CON.TXT", kRefused, false, kDevice},
    {"LodNul", &kLodFormat, "NUL", kRefused, false, kDevice},
    {"LodNulWithExtension", &kLodFormat, "NUL.H3C", kRefused, false, kDevice},
    {"LodCom1", &kLodFormat, "COM1", kRefused, false, kDevice},
    {"LodCom1WithExtension", &kLodFormat, "COM1.DEF", kRefused, false, kDevice},
    {"LodLpt1", &kLodFormat, "LPT1", kRefused, false, kDevice},
    {"LodLpt1WithExtension", &kLodFormat, "LPT1.MSK", kRefused, false, kDevice},
    {"LodCom9", &kLodFormat, "com9.txt", kRefused, false, kDevice},
    {"LodLpt9", &kLodFormat, "Lpt9", kRefused, false, kDevice},
    {"LodPrn", &kLodFormat, "PRN.X", kRefused, false, kDevice},
    {"LodCom0IsNoDevice", &kLodFormat, "COM0.TXT", "COM0.TXT"s},
    {"LodConsoleIsNoDevice", &kLodFormat, "CONSOLE.TXT", "CONSOLE.TXT"s},
    {"LodConInTheExtension", &kLodFormat, "A.CON", "A.CON"s},
    {"LodLowerCaseAux", &kLodFormat, "aux.txt", kRefused, false, kDevice},
    {"LodDevicePicture", &kLodFormat, "PRN.PCX", kRefused, true, kDevice},
    // The longest names an entry can hold.
    {"LodSixteenBytesWithoutDot", &kLodFormat, "ABCDEFGHIJKLMNOP", kRefused, false, "ends in a dot"},
    {"LodDotAtTwelfthByte", &kLodFormat, "ABCDEFGHIJK.TXT", "ABCDEFGHIJK.TXT"s},
    {"LodTwelveHighBytes", &kLodFormat, std::string(12, '\xA5'), kRefused, false, "ends in a dot"},
    {"LodElevenHighBytes", &kLodFormat, std::string(11, '\xA5') + ".T",
     "\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84.T"s},
    // Bytes above 0x7F are Windows-1250 text; none of them decodes to a separator.
    {"LodPolishLetters", &kLodFormat, "\xA5\xB9\x8A\x9A.TXT",
     "\xC4\x84\xC4\x85\xC5\xA0\xC5\xA1.TXT"s},
    {"LodUndefinedCodePoint", &kLodFormat, "U\x81.TXT", "U\xEF\xBF\xBD.TXT"s},
    {"LodByteFF", &kLodFormat, "\xFF.TXT", "\xCB\x99.TXT"s},
    {"LodOverlongSlashBytes", &kLodFormat, "\xC0\xAF.TXT", "\xC5\x94\xC5\xBB.TXT"s},
    {"LodDivisionSlashBytes", &kLodFormat, "\xE2\x88\x95.TXT",
     "\xC3\xA2\xEF\xBF\xBD\xE2\x80\xA2.TXT"s},
    {"LodTrailingNoBreakSpace", &kLodFormat, "NB\xA0.TXT", "NB\xC2\xA0.TXT"s},

    // SND: no dot is looked for, every name gets ".wav".
    {"SndDotDotSlash", &kSndFormat, "../../../etc", kRefused},
    {"SndBackslash", &kSndFormat, "..\\SOUND", kRefused},
    {"SndAbsolute", &kSndFormat, "/tmp/SOUND", kRefused},
    {"SndDrive", &kSndFormat, "C:SOUND", kRefused},
    {"SndControlByte", &kSndFormat, "S\x05", kRefused},
    {"SndDot", &kSndFormat, ".", "..wav"s},
    {"SndDotDot", &kSndFormat, "..", "...wav"s},
    {"SndEmpty", &kSndFormat, "", kRefused},  // ".wav" alone would be a hidden file
    {"SndDevice", &kSndFormat, "CON", kRefused, false, kDevice},
    {"SndFortyBytesWithoutNul", &kSndFormat, std::string(40, 'X'), "XXXXXXXXXXXX.wav"s},
    {"SndSlashPastTwelveBytes", &kSndFormat, "TWELVEBYTES_/../../x", "TWELVEBYTES_.wav"s},
    {"SndNulInside", &kSndFormat, "AB\0/../CD"s, "AB.wav"s},
    {"SndPolishName", &kSndFormat,
     "\xA3\xF3"
     "d\x9F",
     "\xC5\x81\xC3\xB3"
     "d\xC5\xBA.wav"s},
    {"SndTrailingBlank", &kSndFormat, "SOUND ", "SOUND .wav"s},  // Windows keeps inner blanks

    // VID: the whole stored name, up to its first NUL, whatever its dot.
    {"VidDotDotSlash", &kVidFormat, "../../X.SMK", kRefused},
    {"VidSlashInside", &kVidFormat, "A/B.BIK", kRefused},
    {"VidDriveAndBackslash", &kVidFormat, "X:\\V.SMK", kRefused},
    {"VidEmpty", &kVidFormat, "", kRefused},
    {"VidDevice", &kVidFormat, "CON.SMK", kRefused, false, kDevice},
    {"VidDotAtFifteenthByte", &kVidFormat, "ABCDEFGHIJKLMN.SMK", "ABCDEFGHIJKLMN.SMK"s},
    {"VidDotPastTheScan", &kVidFormat, "ABCDEFGHIJKLMNO.SMK", "ABCDEFGHIJKLMNO.SMK"s},
    {"VidFortyBytesWithoutNul", &kVidFormat, std::string(36, 'V') + ".SMK",
     std::string(36, 'V') + ".SMK"},
    {"VidSlashPastTheScan", &kVidFormat, "ABCDEFGHIJKLMNOP/../X.SMK", kRefused},
    {"VidNulInside", &kVidFormat, "AB\0/../CD.SMK"s, "AB"s},
    {"VidControlInExtension", &kVidFormat, "V.S\x1BK", kRefused},
};

std::string contentOf(const HostileName& name) {
    if (name.picture) {
        writers::PixelGrid grid(3, 2, 7);
        return writers::gamePcx8(grid, std::string(768, '\x20'));
    }
    return "content of " + std::string(name.label);
}

// The archive that holds the given names, and "OK" (an ordinary entry) when asked.
std::string archiveBytes(const ArchiveFormat& format, const std::vector<const HostileName*>& names,
                         bool withOk) {
    if (&format == &kLodFormat) {
        LodWriter writer;
        for (const HostileName* name : names) {
            writer.add(name->field, contentOf(*name), !name->picture);
        }
        if (withOk) {
            writer.add("OK.TXT", "ordinary");
        }
        return writer.build();
    }
    if (&format == &kSndFormat) {
        SndWriter writer;
        for (const HostileName* name : names) {
            writer.add(name->field, contentOf(*name));
        }
        if (withOk) {
            writer.add("OK", "ordinary");
        }
        return writer.build();
    }
    VidWriter writer;
    for (const HostileName* name : names) {
        writer.add(name->field, contentOf(*name));
    }
    if (withOk) {
        writer.add("OK.SMK", "ordinary");
    }
    return writer.build();
}

std::string okFileName(const ArchiveFormat& format) {
    return &format == &kLodFormat ? "OK.TXT" : &format == &kSndFormat ? "OK.wav" : "OK.SMK";
}

// What one extraction of the hostile entry came to.
struct Outcome {
    bool done = false;
    std::string fileName;
    std::string errorText;
    std::string errorEntry;
    std::string errorDetail;
    std::vector<std::string> folderNames;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// A folder with a sentinel file, the archive, and the target folder "out" beside them.
class HostilePlace {
public:
    explicit HostilePlace(const ScratchArea& area) : place_(area.root() / "place") {
        fs::create_directories(place_);
        writeFile(place_ / "sentinel.txt", "sentinel");
        writeFile(place_ / "UP.TXT", "an older file beside the target folder");
        writeFile(place_ / "SOUND.wav", "another");
    }
    const fs::path& path() const { return place_; }
    fs::path freshFolder(const std::string& name) const {
        fs::remove_all(place_ / name);
        fs::create_directories(place_ / name);
        return place_ / name;
    }

private:
    fs::path place_;
};

// Extracts every entry of `archive` into `folder` with the batch engine; the outcome of the first.
Outcome extractThroughBatch(const HostileName& name, const std::string& archive,
                            const fs::path& folder) {
    const Archive opened = archiveOf(archive, *name.format);
    const TargetFolder target(folder.string());
    std::vector<ExtractedEntry> entries;
    extractEntries(opened, everyIndex(opened), target, ExtractOptions{},
                   [&](const ExtractedEntry& entry) {
                       entries.push_back(entry);
                       return true;
                   });
    Outcome outcome;
    EXPECT_EQ(entries.size(), 2U);
    if (entries.size() != 2) {
        return outcome;
    }
    EXPECT_TRUE(entries[1].done()) << "the ordinary entry beside the hostile one is written";
    const ExtractedEntry& first = entries[0];
    outcome.done = first.done();
    outcome.fileName = first.fileName;
    if (first.error) {
        outcome.errorText = first.error->text();
        outcome.errorEntry = first.error->entry();
        outcome.errorDetail = first.error->detail();
    }
    outcome.folderNames = namesIn(folder);
    return outcome;
}

class AHostileEntryName : public ::testing::TestWithParam<HostileName> {};

TEST_P(AHostileEntryName, IsRefusedOrWrittenUnderOneSafeNameInsideTheFolderEveryTime) {
    const HostileName& name = GetParam();
    const ScratchArea area;
    const HostilePlace place(area);
    const std::string archive = archiveBytes(*name.format, {&name}, true);
    writeFile(place.path() / "archive", archive);
    const fs::path folder = place.freshFolder("out");
    const auto before = snapshot(place.path(), {folder});
    const bool absoluteExisted = fs::exists("/tmp/ABS.TXT") || fs::exists("/tmp/SOUND.wav");

    const Outcome first = extractThroughBatch(name, archive, folder);

    EXPECT_EQ(snapshot(place.path(), {folder}), before) << "nothing outside the folder changes";
    if (!absoluteExisted) {
        EXPECT_FALSE(fs::exists("/tmp/ABS.TXT") || fs::exists("/tmp/SOUND.wav"));
    }
    std::set<std::string> expectedNames = {okFileName(*name.format)};
    if (name.writtenAs) {
        ASSERT_TRUE(first.done) << first.errorText << ": " << first.errorDetail;
        EXPECT_EQ(first.fileName, *name.writtenAs);
        expectedNames.insert(*name.writtenAs);
        const std::string written = readFile(folder / *name.writtenAs);
        if (name.picture) {
            EXPECT_TRUE(written.starts_with("BM"));
        } else {
            EXPECT_EQ(written, contentOf(name));
        }
    } else {
        ASSERT_FALSE(first.done) << "written as " << first.fileName;
        EXPECT_EQ(first.errorText, kUnsafeEntryName);
        EXPECT_FALSE(first.errorEntry.empty()) << "the error names the entry";
        EXPECT_FALSE(first.errorDetail.empty()) << "the error says why";
        if (name.windowsCannot != nullptr) {
            EXPECT_NE(first.errorDetail.find(name.windowsCannot), std::string::npos)
                << first.errorDetail;
        }
    }
    EXPECT_EQ(first.folderNames,
              std::vector<std::string>(expectedNames.begin(), expectedNames.end()));

    const Outcome second = extractThroughBatch(name, archive, place.freshFolder("out"));
    EXPECT_EQ(second, first) << "the same outcome on every run";
}

std::string testName(const ::testing::TestParamInfo<HostileName>& info) {
    return info.param.label;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, AHostileEntryName, ::testing::ValuesIn(kHostileNames),
                         testName);

// --- The same names through the command line, one archive per kind holding all of them. ---

class TheExtractCommand : public ::testing::TestWithParam<const ArchiveFormat*> {};

TEST_P(TheExtractCommand, WritesOnlySafeNamesInsideTheFolderAndNamesEachRefusedEntry) {
    const ArchiveFormat& format = *GetParam();
    std::vector<const HostileName*> names;
    std::set<std::string> expectedNames;
    std::size_t refused = 0;
    for (const HostileName& name : kHostileNames) {
        if (name.format != &format) {
            continue;
        }
        names.push_back(&name);
        if (name.writtenAs) {
            ASSERT_TRUE(expectedNames.insert(*name.writtenAs).second)
                << *name.writtenAs << " twice in the table";
        } else {
            ++refused;
        }
    }
    const ScratchArea area;
    const HostilePlace place(area);
    const fs::path archive = place.path() / ("hostile." + std::string(format.name));
    writeFile(archive, archiveBytes(format, names, false));
    const fs::path firstFolder = place.freshFolder("first");
    const fs::path secondFolder = place.freshFolder("second");
    const auto outside = snapshot(place.path(), {firstFolder, secondFolder});

    const ProgramRun first = runProgram({"extract", archive.string(), "-o", firstFolder.string()},
                                        area.root() / "logs-first");
    const ProgramRun second = runProgram({"extract", archive.string(), "-o", secondFolder.string()},
                                         area.root() / "logs-second");

    EXPECT_EQ(snapshot(place.path(), {firstFolder, secondFolder}), outside)
        << "nothing outside the folders changes";
    EXPECT_EQ(first.exitCode, refused > 0 ? 1 : 0) << first.errors;
    const std::vector<std::string> written = namesIn(firstFolder);
    EXPECT_EQ(written, std::vector<std::string>(expectedNames.begin(), expectedNames.end()));
    EXPECT_EQ(namesIn(secondFolder), written) << "the same files on every run";
    EXPECT_EQ(second.errors, first.errors) << "the same errors on every run";

    std::size_t refusals = 0;
    const std::string prefix = "brasvel-res: " + archive.string() + ": ";
    std::istringstream lines(first.errors);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find(std::string(": ") + kUnsafeEntryName);
        if (at == std::string::npos) {
            continue;
        }
        ++refusals;
        EXPECT_TRUE(line.starts_with(prefix)) << line;
        EXPECT_GT(at, prefix.size()) << "the line names the entry: " << line;
    }
    EXPECT_EQ(refusals, refused) << first.errors;
}

std::string kindTestName(const ::testing::TestParamInfo<const ArchiveFormat*>& format) {
    return std::string(format.param->name);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, TheExtractCommand, ::testing::ValuesIn(archiveFormats()),
                         kindTestName);

// Entry names hold at most 40 bytes, so only the name check itself can meet a long name: a name
// of more than 255 bytes once decoded is refused, one of 255 is kept.
TEST(ALongName, IsRefusedPastTheLongestFileNameEvenWhenDecodingLengthensIt) {
    EXPECT_EQ(safeFileName(std::string(255, 'A')), std::string(255, 'A'));
    EXPECT_THROW(safeFileName(std::string(256, 'A')), ResourceError);
    // Each 0xA5 decodes to two bytes: 127 of them make 254 bytes, 128 make 256.
    EXPECT_EQ(safeFileName(std::string(127, '\xA5')).size(), 254U);
    EXPECT_THROW(safeFileName(std::string(128, '\xA5')), ResourceError);
}

}  // namespace
}  // namespace brasvel::hardening
