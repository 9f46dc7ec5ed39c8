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

#include "catalogue/DirectoryReaders.h"
#include "extract/BatchExtractor.h"
#include "extract/SafeName.h"
#include "tests/hardening/HardeningSupport.h"
#include "toolkit/HeadlessToolkit.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace brasvel::hardening {
namespace {

using writers::LodWriter;
using writers::SndWriter;
using writers::VidWriter;

struct HostileName {
    const char* label;  // the test's name
    ArchiveKind kind;
    std::string field;                     // the directory's name field, NUL-filled to its width
    std::optional<std::string> writtenAs;  // the UTF-8 file name, or none when refused
    bool picture = false;                  // the entry holds a game picture (LOD, Ext PCX)

    friend void PrintTo(const HostileName& name, std::ostream* out) { *out << name.label; }
};

using namespace std::string_literals;
const std::optional<std::string> kRefused = std::nullopt;

// Every kind reads names its own way: LOD scans 12 bytes for the dot and keeps 3 bytes after it,
// SND keeps 12 bytes before the first NUL and writes Name.wav, VID scans 15 bytes for the dot.
const std::vector<HostileName> kHostileNames = {
    // Paths that climb out of the folder or start from the root.
    {"LodDotDotSlash", ArchiveKind::Lod, "../UP.TXT", kRefused},
    {"LodDotDotBackslash", ArchiveKind::Lod, "..\\UP.TXT", kRefused},
    {"LodSlashInside", ArchiveKind::Lod, "A/B.TXT", kRefused},
    {"LodBackslashInside", ArchiveKind::Lod, "A\\B.TXT", kRefused},
    {"LodAbsolutePath", ArchiveKind::Lod, "/ETC.TXT", kRefused},
    {"LodAbsoluteTmpPath", ArchiveKind::Lod, "/tmp/ABS.TXT", kRefused},
    {"LodRootBackslash", ArchiveKind::Lod, "\\WIN.TXT", kRefused},
    {"LodSlashInExtension", ArchiveKind::Lod, "A.T/X", kRefused},
    {"LodBackslashInExtension", ArchiveKind::Lod, "A.T\\X", kRefused},
    {"LodPictureWithSlash", ArchiveKind::Lod, "A/B.PCX", kRefused, true},
    // Drive letters and alternate data streams.
    {"LodDriveAndBackslash", ArchiveKind::Lod, "C:\\W.TXT", kRefused},
    {"LodDriveRelative", ArchiveKind::Lod, "C:W.TXT", kRefused},
    {"LodStreamInName", ArchiveKind::Lod, "A:ADS.TXT", kRefused},
    {"LodColonInExtension", ArchiveKind::Lod, "A.T:X", kRefused},
    {"LodStreamPastExtension", ArchiveKind::Lod, "B.TXT:ADS", "B.TXT"s},
    // The folder itself, its parent, and nothing at all.
    {"LodDot", ArchiveKind::Lod, ".", kRefused},
    {"LodDotDot", ArchiveKind::Lod, "..", kRefused},
    {"LodEmpty", ArchiveKind::Lod, "", kRefused},
    {"LodNulFirst", ArchiveKind::Lod, "\0ABC.TXT"s, kRefused},
    {"LodThreeDots", ArchiveKind::Lod, "...", "..."s},
    {"LodExtensionOnly", ArchiveKind::Lod, ".TXT", ".TXT"s},
    // Control bytes.
    {"LodControlByteFirst", ArchiveKind::Lod,
     "\x01"
     "A.TXT",
     kRefused},
    {"LodUnitSeparator", ArchiveKind::Lod, "A\x1F.TXT", kRefused},
    {"LodDelete", ArchiveKind::Lod, "A\x7F.TXT", kRefused},
    {"LodTab", ArchiveKind::Lod, "\tTAB.TXT", kRefused},
    {"LodNewline", ArchiveKind::Lod, "A\nB.TXT", kRefused},
    {"LodControlInExtension", ArchiveKind::Lod, "A.\x01XY", kRefused},
    // A NUL in the middle ends the name there.
    {"LodNulInside", ArchiveKind::Lod, "AB\0CD.TXT"s, "AB"s},
    {"LodNulInExtension", ArchiveKind::Lod, "EF.T\0T"s, "EF.T"s},
    // Trailing dots and blanks.
    {"LodTrailingDot", ArchiveKind::Lod, "TD.", "TD."s},
    {"LodTrailingDots", ArchiveKind::Lod, "NAME...", "NAME..."s},
    {"LodTrailingBlankInExtension", ArchiveKind::Lod, "NAME.TX ", "NAME.TX "s},
    {"LodTrailingBlankWithoutDot", ArchiveKind::Lod, "BLANK ", "BLANK "s},
    {"LodDotThenBlanks", ArchiveKind::Lod, "DB.  ", "DB.  "s},
    // Windows device names, with and without extensions: ordinary names here.
    {"LodCon", ArchiveKind::Lod, "CON", "CON"s},
    {"LodConWithExtension", ArchiveKind::Lod, "CON.TXT", "CON.TXT"s},
    {"LodNul", ArchiveKind::Lod, "NUL", "NUL"s},
    {"LodNulWithExtension", ArchiveKind::Lod, "NUL.H3C", "NUL.H3C"s},
    {"LodCom1", ArchiveKind::Lod, "COM1", "COM1"s},
    {"LodCom1WithExtension", ArchiveKind::Lod, "COM1.DEF", "COM1.DEF"s},
    {"LodLpt1", ArchiveKind::Lod, "LPT1", "LPT1"s},
    {"LodLpt1WithExtension", ArchiveKind::Lod, "LPT1.MSK", "LPT1.MSK"s},
    {"LodLowerCaseAux", ArchiveKind::Lod, "aux.txt", "aux.txt"s},
    {"LodDevicePicture", ArchiveKind::Lod, "PRN.PCX", "PRN.bmp"s, true},
    // The longest names an entry can hold.
    {"LodSixteenBytesWithoutDot", ArchiveKind::Lod, "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKL."s},
    {"LodDotAtTwelfthByte", ArchiveKind::Lod, "ABCDEFGHIJK.TXT", "ABCDEFGHIJK.TXT"s},
    {"LodTwelveHighBytes", ArchiveKind::Lod, std::string(12, '\xA5'),
     "\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84\xC4\x84"
     "\xC4\x84."s},
    // Bytes above 0x7F are Windows-1250 text; none of them decodes to a separator.
    {"LodPolishLetters", ArchiveKind::Lod, "\xA5\xB9\x8A\x9A.TXT",
     "\xC4\x84\xC4\x85\xC5\xA0\xC5\xA1.TXT"s},
    {"LodUndefinedCodePoint", ArchiveKind::Lod, "U\x81.TXT", "U\xEF\xBF\xBD.TXT"s},
    {"LodByteFF", ArchiveKind::Lod, "\xFF.TXT", "\xCB\x99.TXT"s},
    {"LodOverlongSlashBytes", ArchiveKind::Lod, "\xC0\xAF.TXT", "\xC5\x94\xC5\xBB.TXT"s},
    {"LodDivisionSlashBytes", ArchiveKind::Lod, "\xE2\x88\x95.TXT",
     "\xC3\xA2\xEF\xBF\xBD\xE2\x80\xA2.TXT"s},
    {"LodTrailingNoBreakSpace", ArchiveKind::Lod, "NB\xA0.TXT", "NB\xC2\xA0.TXT"s},

    // SND: no dot is looked for, every name gets ".wav".
    {"SndDotDotSlash", ArchiveKind::Snd, "../../../etc", kRefused},
    {"SndBackslash", ArchiveKind::Snd, "..\\SOUND", kRefused},
    {"SndAbsolute", ArchiveKind::Snd, "/tmp/SOUND", kRefused},
    {"SndDrive", ArchiveKind::Snd, "C:SOUND", kRefused},
    {"SndControlByte", ArchiveKind::Snd, "S\x05", kRefused},
    {"SndDot", ArchiveKind::Snd, ".", "..wav"s},
    {"SndDotDot", ArchiveKind::Snd, "..", "...wav"s},
    {"SndEmpty", ArchiveKind::Snd, "", ".wav"s},
    {"SndDevice", ArchiveKind::Snd, "CON", "CON.wav"s},
    {"SndFortyBytesWithoutNul", ArchiveKind::Snd, std::string(40, 'X'), "XXXXXXXXXXXX.wav"s},
    {"SndSlashPastTwelveBytes", ArchiveKind::Snd, "TWELVEBYTES_/../../x", "TWELVEBYTES_.wav"s},
    {"SndNulInside", ArchiveKind::Snd, "AB\0/../CD"s, "AB.wav"s},
    {"SndPolishName", ArchiveKind::Snd,
     "\xA3\xF3"
     "d\x9F",
     "\xC5\x81\xC3\xB3"
     "d\xC5\xBA.wav"s},
    {"SndTrailingBlank", ArchiveKind::Snd, "SOUND ", "SOUND .wav"s},

    // VID: the dot is looked for in 15 bytes, the name cut to 12.
    {"VidDotDotSlash", ArchiveKind::Vid, "../../X.SMK", kRefused},
    {"VidSlashInside", ArchiveKind::Vid, "A/B.BIK", kRefused},
    {"VidDriveAndBackslash", ArchiveKind::Vid, "X:\\V.SMK", kRefused},
    {"VidEmpty", ArchiveKind::Vid, "", kRefused},
    {"VidDevice", ArchiveKind::Vid, "CON.SMK", "CON.SMK"s},
    {"VidDotAtFifteenthByte", ArchiveKind::Vid, "ABCDEFGHIJKLMN.SMK", "ABCDEFGHIJKL.SMK"s},
    {"VidDotPastTheScan", ArchiveKind::Vid, "ABCDEFGHIJKLMNO.SMK", "ABCDEFGHIJKL."s},
    {"VidControlInExtension", ArchiveKind::Vid, "V.S\x1BK", kRefused},
};

std::string contentOf(const HostileName& name) {
    if (name.picture) {
        writers::PixelGrid grid(3, 2, 7);
        return writers::gamePcx8(grid, std::string(768, '\x20'));
    }
    return "content of " + std::string(name.label);
}

// The archive that holds the given names, and "OK" (an ordinary entry) when asked.
std::string archiveOf(ArchiveKind kind, const std::vector<const HostileName*>& names, bool withOk) {
    switch (kind) {
        case ArchiveKind::Lod: {
            LodWriter writer;
            for (const HostileName* name : names) {
                writer.add(name->field, contentOf(*name), !name->picture);
            }
            if (withOk) {
                writer.add("OK.TXT", "ordinary");
            }
            return writer.build();
        }
        case ArchiveKind::Snd: {
            SndWriter writer;
            for (const HostileName* name : names) {
                writer.add(name->field, contentOf(*name));
            }
            if (withOk) {
                writer.add("OK", "ordinary");
            }
            return writer.build();
        }
        default: {
            VidWriter writer;
            for (const HostileName* name : names) {
                writer.add(name->field, contentOf(*name));
            }
            if (withOk) {
                writer.add("OK.SMK", "ordinary");
            }
            return writer.build();
        }
    }
}

std::string okFileName(ArchiveKind kind) {
    return kind == ArchiveKind::Lod ? "OK.TXT" : kind == ArchiveKind::Snd ? "OK.wav" : "OK.SMK";
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

ListingReport readDirectory(ArchiveKind kind, CatalogueModel& model, Bytes archive) {
    HeadlessToolkit ui;
    model.Kind = kind;
    switch (kind) {
        case ArchiveKind::Lod:
            return readLodDirectory(model, ui, archive);
        case ArchiveKind::Snd:
            return readSndDirectory(model, ui, archive);
        default:
            return readVidDirectory(model, ui, archive);
    }
}

// Extracts the whole view of `archive` into `folder` with the batch engine; the outcome of row 0.
Outcome extractThroughBatch(const HostileName& name, const std::string& archive,
                            const fs::path& folder) {
    const auto model = CatalogueModel::create();
    readDirectory(name.kind, *model, asBytes(archive));
    const TargetFolder target(folder.string());
    std::vector<ExtractedRow> rows;
    extractView(ExtractSource{asBytes(archive), *model, name.kind}, target, ExtractOptions{},
                [&](const ExtractedRow& row) {
                    rows.push_back(row);
                    return true;
                });
    Outcome outcome;
    EXPECT_EQ(rows.size(), 2U);
    if (rows.size() != 2) {
        return outcome;
    }
    EXPECT_TRUE(rows[1].done()) << "the ordinary entry beside the hostile one is written";
    const ExtractedRow& row = rows[0];
    outcome.done = row.done();
    outcome.fileName = row.fileName;
    if (row.error) {
        outcome.errorText = row.error->text();
        outcome.errorEntry = row.error->entry();
        outcome.errorDetail = row.error->detail();
    }
    outcome.folderNames = namesIn(folder);
    return outcome;
}

class AHostileEntryName : public ::testing::TestWithParam<HostileName> {};

TEST_P(AHostileEntryName, IsRefusedOrWrittenUnderOneSafeNameInsideTheFolderEveryTime) {
    const HostileName& name = GetParam();
    const ScratchArea area;
    const HostilePlace place(area);
    const std::string archive = archiveOf(name.kind, {&name}, true);
    writeFile(place.path() / "archive", archive);
    const fs::path folder = place.freshFolder("out");
    const auto before = snapshot(place.path(), {folder});
    const bool absoluteExisted = fs::exists("/tmp/ABS.TXT") || fs::exists("/tmp/SOUND.wav");

    const Outcome first = extractThroughBatch(name, archive, folder);

    EXPECT_EQ(snapshot(place.path(), {folder}), before) << "nothing outside the folder changes";
    if (!absoluteExisted) {
        EXPECT_FALSE(fs::exists("/tmp/ABS.TXT") || fs::exists("/tmp/SOUND.wav"));
    }
    std::set<std::string> expectedNames = {okFileName(name.kind)};
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

class TheExtractCommand : public ::testing::TestWithParam<ArchiveKind> {};

TEST_P(TheExtractCommand, WritesOnlySafeNamesInsideTheFolderAndNamesEachRefusedEntry) {
    const ArchiveKind kind = GetParam();
    std::vector<const HostileName*> names;
    std::set<std::string> expectedNames;
    std::size_t refused = 0;
    for (const HostileName& name : kHostileNames) {
        if (name.kind != kind) {
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
    const fs::path archive = place.path() / ("hostile." + std::string(kindName(kind)));
    writeFile(archive, archiveOf(kind, names, false));
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

std::string kindTestName(const ::testing::TestParamInfo<ArchiveKind>& kind) {
    return std::string(kindName(kind.param));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, TheExtractCommand,
                         ::testing::Values(ArchiveKind::Lod, ArchiveKind::Snd, ArchiveKind::Vid),
                         kindTestName);

// Entry names hold at most 12 bytes, so only the name check itself can meet a long name: a name
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
