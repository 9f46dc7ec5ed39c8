// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "ExtractFixtures.h"
#include "base/Platform.h"
#include "base/ReadOnlyFile.h"
#include "extract/BatchExtractor.h"
#include "imaging/PictureFormats.h"
#include "imaging/Png.h"
#include "tools/writers/PictureWriters.h"

namespace brasvel {
namespace {

using testing::listArchive;
using testing::patterned;
using testing::pcx8;
using testing::ScratchFolder;
using writers::LodWriter;
using writers::SndWriter;
using writers::VidWriter;
using writers::zlibCompress;

struct Outcomes {
    std::vector<ExtractedEntry> rows;
    BatchSummary summary;

    std::vector<std::size_t> order() const {
        std::vector<std::size_t> result;
        for (const ExtractedEntry& row : rows) {
            result.push_back(row.position);
        }
        return result;
    }
};

Outcomes extractAll(const testing::ListedArchive& archive, const TargetFolder& folder,
                    ExtractOptions options = {}) {
    Outcomes outcomes;
    outcomes.summary = testing::extractView(archive, folder, options, [&](const ExtractedEntry& row) {
        outcomes.rows.push_back(row);
        return true;
    });
    return outcomes;
}

ExtractOptions threads(unsigned count, bool stopAtFirstFailure = false) {
    ExtractOptions options;
    options.threads = count;
    options.stopAtFirstFailure = stopAtFirstFailure;
    return options;
}

TEST(BatchExtractor, EveryRowOfALodIsWrittenInflatedUnderItsStoredName) {
    const std::string text = std::string(100'000, 'T');
    const std::string def = patterned(9000);
    auto archive = listArchive(kLodFormat, LodWriter()
                                                     .add("README.txt", text, true)
                                                     .add("Hero.DEF", def, true)
                                                     .add("plain.PAL", "palette")
                                                     .add("EMPTY.MSK", "")
                                                     .build());
    ScratchFolder scratch;
    const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()));
    EXPECT_EQ(outcomes.summary.done, 4);
    EXPECT_EQ(outcomes.order(), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(scratch.read("README.txt"), text);
    EXPECT_EQ(scratch.read("Hero.DEF"), def);
    EXPECT_EQ(scratch.read("plain.PAL"), "palette");
    EXPECT_EQ(scratch.read("EMPTY.MSK"), "");
    EXPECT_EQ(scratch.names(),
              (std::set<std::string>{"README.txt", "Hero.DEF", "plain.PAL", "EMPTY.MSK"}));
    EXPECT_EQ(outcomes.rows[1].fileName, "Hero.DEF");
}

TEST(BatchExtractor, SoundsBecomeNameDotWavAndVideosKeepTheirNames) {
    ScratchFolder scratch;
    const TargetFolder folder(scratch.str());
    auto sounds = listArchive(kSndFormat,
                              SndWriter().add("horn", "RIFFhorn").add("Bell", "RIFFbell").build());
    extractAll(*sounds, folder);
    auto videos = listArchive(kVidFormat, VidWriter().add("INTRO.smk", "SMK2data").build());
    extractAll(*videos, folder);
    EXPECT_EQ(scratch.read("horn.wav"), "RIFFhorn");
    EXPECT_EQ(scratch.read("Bell.wav"), "RIFFbell");
    EXPECT_EQ(scratch.read("INTRO.smk"), "SMK2data");
    EXPECT_EQ(scratch.names().size(), 3U);
}

TEST(BatchExtractor, AFilteredViewWritesExactlyItsRowsInRowOrder) {
    LodWriter writer;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "E" + std::to_string(i) + (i % 3 == 0 ? ".txt" : ".def");
        writer.add(name, patterned(static_cast<std::size_t>(100 + i), static_cast<unsigned>(i)),
                   i % 2 == 0);
    }
    auto archive = listArchive(kLodFormat, writer.build());
    archive->filter("*.Txt");
    ScratchFolder scratch;
    const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()), threads(2));
    ASSERT_EQ(outcomes.rows.size(), 14U);
    std::set<std::string> expected;
    for (std::size_t r = 0; r < outcomes.rows.size(); ++r) {
        const int entry = static_cast<int>(r) * 3;
        EXPECT_EQ(outcomes.rows[r].position, r);
        EXPECT_EQ(outcomes.rows[r].index, static_cast<std::size_t>(entry));
        const std::string name = "E" + std::to_string(entry) + ".txt";
        EXPECT_EQ(scratch.read(name),
                  patterned(static_cast<std::size_t>(100 + entry), static_cast<unsigned>(entry)));
        expected.insert(name);
    }
    EXPECT_EQ(scratch.names(), expected);
}

TEST(BatchExtractor, ManyRowsOnTwoThreadsAreReportedInRowOrder) {
    LodWriter writer;
    for (int i = 0; i < 300; ++i) {
        writer.add("F" + std::to_string(i) + ".def",
                   patterned(static_cast<std::size_t>((i * 37) % 5000), static_cast<unsigned>(i)),
                   true);
    }
    auto archive = listArchive(kLodFormat, writer.build());
    ScratchFolder scratch;
    const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()), threads(2));
    ASSERT_EQ(outcomes.rows.size(), 300U);
    for (std::size_t r = 0; r < 300; ++r) {
        EXPECT_EQ(outcomes.rows[r].position, r);
    }
    EXPECT_EQ(scratch.names().size(), 300U);
    EXPECT_EQ(scratch.read("F299.def"), patterned((299 * 37) % 5000, 299));
}

// Rows 0 to 29; row 10's stream is damaged.
std::string archiveFailingAtRow10() {
    LodWriter writer;
    for (int i = 0; i < 30; ++i) {
        const std::string name = "R" + std::to_string(i) + ".def";
        if (i == 10) {
            writer.addStored(name, "not a zlib stream", 500, 17);
        } else {
            writer.add(name, patterned(2000, static_cast<unsigned>(i)), true);
        }
    }
    return writer.build();
}

TEST(BatchExtractor, StoppingAtTheFirstFailureLeavesNothingOfTheRowsAfterIt) {
    auto archive = listArchive(kLodFormat, archiveFailingAtRow10());
    for (unsigned count : {1U, 2U, 4U}) {
        ScratchFolder scratch;
        const Outcomes outcomes =
            extractAll(*archive, TargetFolder(scratch.str()), threads(count, true));
        ASSERT_EQ(outcomes.rows.size(), 11U) << count << " threads";
        EXPECT_TRUE(outcomes.summary.stopped);
        EXPECT_EQ(outcomes.summary.done, 10);
        EXPECT_EQ(outcomes.summary.failed, 1);
        const ExtractedEntry& failed = outcomes.rows.back();
        ASSERT_FALSE(failed.done());
        EXPECT_EQ(failed.error->text(), "Damaged entry");
        EXPECT_EQ(failed.error->entry(), "R10.def");
        std::set<std::string> expected;
        for (int i = 0; i < 10; ++i) {
            expected.insert("R" + std::to_string(i) + ".def");
        }
        EXPECT_EQ(scratch.names(), expected) << count << " threads";
    }
}

TEST(BatchExtractor, WithoutStoppingAFailingRowIsReportedAndTheRestIsWritten) {
    auto archive = listArchive(kLodFormat, archiveFailingAtRow10());
    ScratchFolder scratch;
    scratch.write("R10.def", "older");
    const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()), threads(2));
    EXPECT_EQ(outcomes.rows.size(), 30U);
    EXPECT_FALSE(outcomes.summary.stopped);
    EXPECT_EQ(outcomes.summary.failed, 1);
    EXPECT_FALSE(outcomes.rows[10].done());
    EXPECT_EQ(scratch.read("R10.def"), "older");
    EXPECT_EQ(scratch.read("R29.def"), patterned(2000, 29));
    EXPECT_EQ(scratch.names().size(), 30U);
}

TEST(BatchExtractor, AReportThatSaysStopEndsTheBatchThere) {
    auto archive = listArchive(kLodFormat, archiveFailingAtRow10());
    ScratchFolder scratch;
    int reported = 0;
    const BatchSummary summary =
        testing::extractView(*archive, TargetFolder(scratch.str()), threads(2),
                    [&](const ExtractedEntry&) { return ++reported < 3; });
    EXPECT_EQ(reported, 3);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"R0.def", "R1.def", "R2.def"}));
}

TEST(BatchExtractor, AReportThatThrowsLeavesNoTemporaryBehind) {
    auto archive = listArchive(kLodFormat, archiveFailingAtRow10());
    ScratchFolder scratch;
    EXPECT_THROW(testing::extractView(*archive, TargetFolder(scratch.str()), threads(2),
                             [&](const ExtractedEntry& row) -> bool {
                                 if (row.position == 4) {
                                     throw std::runtime_error("window closed");
                                 }
                                 return true;
                             }),
                 std::runtime_error);
    EXPECT_EQ(scratch.names().size(), 5U);
}

TEST(BatchExtractor, ADamagedEntryLeavesTheOlderFileAsItWas) {
    const std::string stream = zlibCompress(patterned(3000));
    auto archive = listArchive(
        kLodFormat,
        LodWriter()
            .addStored("LONG.def", stream, 2999, static_cast<std::int32_t>(stream.size()))
            .addStored("SHORT.def", stream, 3001, static_cast<std::int32_t>(stream.size()))
            .build());
    ScratchFolder scratch;
    scratch.write("LONG.def", "older long");
    const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()));
    EXPECT_EQ(outcomes.summary.failed, 2);
    EXPECT_EQ(outcomes.rows[0].error->detail(), "inflates past its size 2999");
    EXPECT_EQ(outcomes.rows[1].error->detail(), "inflates to 3000 bytes, not 3001");
    EXPECT_EQ(scratch.read("LONG.def"), "older long");
    EXPECT_EQ(scratch.names(), std::set<std::string>{"LONG.def"});
}

TEST(BatchExtractor, UnsafeNamesAreRefusedAndNothingIsWrittenOutsideTheFolder) {
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch / "target");
    // A LOD name is split at its first dot: "../x" is an empty Name and the extension "./x".
    auto archive = listArchive(kLodFormat, LodWriter()
                                                     .add("../x", "escape")
                                                     .add("a/b.txt", "slash")
                                                     .add("a\\b.txt", "backslash")
                                                     .add("C:x.txt", "drive")
                                                     .add(std::string("\0\0.txt", 6), "empty")
                                                     .add("bell\a.txt", "control")
                                                     .add("fine.txt", "fine")
                                                     .build());
    const Outcomes outcomes = extractAll(*archive, TargetFolder((scratch / "target").string()));
    EXPECT_EQ(outcomes.summary.failed, 6);
    for (std::size_t r = 0; r < 6; ++r) {
        EXPECT_EQ(outcomes.rows[r].error->text(), "Unsafe entry name") << r;
        EXPECT_FALSE(outcomes.rows[r].error->entry().empty()) << r;
    }
    EXPECT_EQ(outcomes.rows[4].error->entry(), "entry 4");
    EXPECT_EQ(outcomes.rows[5].error->entry(), "bell\\x07.txt");
    EXPECT_EQ(scratch.names(), std::set<std::string>{"target"});
    EXPECT_EQ(std::set<std::string>{"fine.txt"}, [&] {
        std::set<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(scratch / "target")) {
            names.insert(item.path().filename().string());
        }
        return names;
    }());
}

TEST(BatchExtractor, ANameWithNulBytesIsWrittenUpToTheFirstOfThem) {
    // No dot among the first 12 bytes: the LOD name keeps its NUL fill.
    auto archive = listArchive(kLodFormat, LodWriter().add("NODOT", "content").build());
    ScratchFolder scratch;
    extractAll(*archive, TargetFolder(scratch.str()));
    EXPECT_EQ(scratch.names(), std::set<std::string>{"NODOT"});
    EXPECT_EQ(scratch.read("NODOT"), "content");
}

TEST(BatchExtractor, AnEntryNeverReplacesTheFileOfAnEarlierEntryOfTheSameRun) {
    struct Case {
        const char* what;
        std::string archive;
        const ArchiveFormat& format;
        std::string fileName;  // the one file written, by the first entry
    };
    const std::string picture = pcx8(4, 2);
    const Case cases[] = {
        {"the same name twice", LodWriter().add("SAME.txt", "first").add("SAME.txt", "second").build(),
         kLodFormat, "SAME.txt"},
        {"names that differ in case", LodWriter().add("Same.txt", "first").add("sAME.TXT", "x").build(),
         kLodFormat, "Same.txt"},
        {"accented capitals", LodWriter().add("\xA3\xD3\x44\x8F.txt", "first").add("\xB3\xF3\x64\x9F.txt", "x").build(),
         kLodFormat, "ŁÓDŹ.txt"},
        {"undefined bytes", LodWriter().add("A\x81.txt", "first").add("A\x83.txt", "x").build(),
         kLodFormat, "A\xEF\xBF\xBD.txt"},
        {"two pictures, one BMP", LodWriter().add("PIC.pcx", picture).add("PIC.PCX", picture).build(),
         kLodFormat, "PIC.bmp"},
        {"the 12-byte cut", SndWriter().add("LONGSOUNDNAME1", "first").add("LONGSOUNDNAME2", "x").build(),
         kSndFormat, "LONGSOUNDNAM.wav"},
    };
    for (const Case& c : cases) {
        for (unsigned count : {1U, 2U}) {
            auto archive = listArchive(c.format, c.archive);
            ScratchFolder scratch;
            const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()), threads(count));
            EXPECT_EQ(scratch.names(), std::set<std::string>{c.fileName}) << c.what;
            ASSERT_EQ(outcomes.rows.size(), 2u) << c.what;
            EXPECT_TRUE(outcomes.rows[0].done()) << c.what;
            ASSERT_FALSE(outcomes.rows[1].done()) << c.what;
            const ResourceError& error = *outcomes.rows[1].error;
            EXPECT_EQ(error.text(), kNameTaken) << c.what;
            EXPECT_NE(error.detail().find(entryLabel(archive->archive.entries()[0], 0)),
                      std::string::npos) << c.what << ": " << error.detail();
            EXPECT_EQ(outcomes.summary.failed, 1) << c.what;
            if (c.format.name == "lod" && c.fileName != "PIC.bmp") {
                EXPECT_EQ(scratch.read(c.fileName), "first") << c.what;
            }
        }
    }
}

TEST(BatchExtractor, ABatchThatCannotFitFailsBeforeWritingAnything) {
    // A thousand entries share one stream padded to a megabyte, each stating a gigabyte: a
    // terabyte in all, more than the scratch folder's disk holds.
    const std::string stream = zlibCompress("x") + std::string(1 << 20, '\0');
    const auto packed = static_cast<std::int32_t>(stream.size());
    LodWriter writer;
    writer.addStored("FIRST.TXT", stream, 1'000'000'000, packed);
    for (int i = 1; i < 1000; ++i) {
        writer.addRaw("E" + std::to_string(i) + ".TXT", 92 + 32 * 1000, 1'000'000'000, packed);
    }
    auto archive = listArchive(kLodFormat, writer.build());
    ScratchFolder scratch;
    try {
        extractAll(*archive, TargetFolder(scratch.str()), threads(2));
        FAIL() << "a terabyte was started";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Disk full");
        EXPECT_NE(error.detail().find("need 1000000000000 bytes"), std::string::npos)
            << error.detail();
    }
    EXPECT_TRUE(scratch.names().empty());
}

TEST(BatchExtractor, AnArchiveCutShortWhileItIsReadEndsTheBatchWithTheFilesBeforeItWhole) {
    const std::string first = patterned(5000, 1);
    const std::string bytes = LodWriter()
                                  .add("ONE.TXT", first, true)
                                  .add("TWO.TXT", patterned(5000, 2), true)
                                  .add("THREE.TXT", patterned(5000, 3))
                                  .build();
    ScratchFolder scratch;
    scratch.write("game.lod", bytes);
    const std::string path = (scratch / "game.lod").string();
    const Archive archive = Archive::open(path, kLodFormat);
    std::filesystem::create_directory(scratch / "out");
    const TargetFolder folder((scratch / "out").string());
    std::vector<ExtractedEntry> rows;
    const std::size_t all[] = {0, 1, 2};
    const BatchSummary summary = extractEntries(archive, all, folder, threads(1),
                                                [&](const ExtractedEntry& row) {
        rows.push_back(row);
        std::filesystem::resize_file(path, 200);
        return true;
    });
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].done());
    ASSERT_FALSE(rows[1].done());
    EXPECT_EQ(rows[1].error->text(), kArchiveChanged);
    EXPECT_NE(rows[1].error->detail().find(path), std::string::npos);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(scratch.read("out/ONE.TXT"), first);
    EXPECT_FALSE(scratch.has("out/TWO.TXT"));
}

TEST(TargetFolder, RemovesOnlyTheTemporariesOfProcessesThatAreGone) {
    ScratchFolder scratch;
    long gone = 4'000'001;
    while (platform::processRuns(gone)) {
        ++gone;
    }
    const std::string mine = std::to_string(testing::testProcessId());
    const std::string stale = ".A.txt." + std::to_string(gone) + "-abcDE1.extracting";
    std::set<std::string> kept = {
        ".A.txt." + mine + "-abcDE1.extracting",  // this process: still writing
        "." + std::to_string(gone) + "-abcDE1.extracting",         // no name before the PID
        ".A.txt." + std::to_string(gone) + "-abc.extracting",      // not one of ours
        "A.txt." + std::to_string(gone) + "-abcDE1.extracting",    // no leading dot
        "plain.txt",
    };
    if (platform::processRuns(1)) {
        kept.insert(".A.txt.1-abcDE1.extracting");  // a process that runs (Linux's first)
    }
    scratch.write(stale, "left by a killed run");
    for (const std::string& name : kept) {
        scratch.write(name, "kept");
    }
    std::filesystem::create_directory(scratch / ("." + std::to_string(gone) + "-folder.extracting"));
    const TargetFolder folder(scratch.str());
    EXPECT_EQ(folder.removeStaleTemporaries(), 1);
    EXPECT_FALSE(scratch.has(stale));
    for (const std::string& name : kept) {
        EXPECT_TRUE(scratch.has(name)) << name;
    }
}

TEST(BatchExtractor, AMixedCasePcxIsWrittenAsStored) {
    const std::string picture = pcx8(4, 2);
    auto archive = listArchive(kLodFormat, LodWriter().add("Map.Pcx", picture).build());
    ScratchFolder scratch;
    const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()));
    EXPECT_EQ(scratch.read("Map.Pcx"), picture);
    EXPECT_FALSE(outcomes.rows[0].picture.has_value());
}

TEST(BatchExtractor, RawExtractionKeepsPicturesAsStored) {
    const std::string picture = pcx8(4, 2);
    auto archive = listArchive(kLodFormat, LodWriter().add("MAP.PCX", picture, true).build());
    ScratchFolder scratch;
    ExtractOptions options;
    options.convertPictures = false;
    extractAll(*archive, TargetFolder(scratch.str()), options);
    EXPECT_EQ(scratch.names(), std::set<std::string>{"MAP.PCX"});
    EXPECT_EQ(scratch.read("MAP.PCX"), picture);
}

TEST(BatchExtractor, APictureBecomesNameDotBmpAndNoPcxIsLeft) {
    SKIP_WITHOUT_PICTURE_CONVERTER();
    const std::string picture = pcx8(10, 3);
    auto archive =
        listArchive(kLodFormat,
                    LodWriter().add("Map.PCX", picture, true).add("tile.pcx", pcx8(4, 4)).build());
    ScratchFolder scratch;
    const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()));
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"Map.bmp", "tile.bmp"}));
    const std::vector<std::byte> expected =
        encodePicture(decodePcx(testing::bytesOf(picture)), PictureFormat::Bmp);
    EXPECT_EQ(scratch.read("Map.bmp"), testing::textOf(expected));
    EXPECT_EQ(outcomes.rows[0].picture, (PictureSize{10, 3}));
    EXPECT_EQ(outcomes.rows[1].picture, (PictureSize{4, 4}));
}

ExtractOptions asPng(unsigned count = 1) {
    ExtractOptions options = threads(count);
    options.pictureFormat = PictureFormat::Png;
    return options;
}

TEST(BatchExtractor, PicturesAsPngKeepTheirPixelsAndPalette) {
    SKIP_WITHOUT_PICTURE_CONVERTER();
    writers::PixelGrid grid(7, 5);
    for (std::size_t i = 0; i < grid.pixels.size(); ++i) {
        grid.pixels[i] = static_cast<std::uint8_t>(i * 37);
    }
    struct Case {
        const char* entry;
        std::string picture;
        bool compressed;
        const char* fileName;
        PixelFormat format;
    };
    const Case cases[] = {
        {"Map.PCX", pcx8(10, 3), true, "Map.png", PixelFormat::Indexed8},
        {"tile.pcx", writers::gamePcx8(grid, patterned(768, 4)), false, "tile.png",
         PixelFormat::Indexed8},
        {"SKY.pcx", writers::gamePcx24(6, 4, patterned(6 * 4 * 3, 5)), true, "SKY.png",
         PixelFormat::Rgb24},
        {"NOTE.txt", "not a picture", false, "NOTE.txt", PixelFormat::Indexed8},
    };
    LodWriter writer;
    for (const Case& c : cases) {
        writer.add(c.entry, c.picture, c.compressed);
    }
    for (unsigned count : {1U, 2U}) {
        auto archive = listArchive(kLodFormat, writer.build());
        ScratchFolder scratch;
        const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()), asPng(count));
        EXPECT_EQ(outcomes.summary.done, 4);
        EXPECT_EQ(scratch.names().size(), 4U);
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const Case& c = cases[i];
            EXPECT_EQ(outcomes.rows[i].fileName, c.fileName);
            if (std::string_view(c.entry).ends_with("txt")) {
                EXPECT_EQ(scratch.read(c.fileName), c.picture);
                continue;
            }
            const Picture expected = decodePcx(testing::bytesOf(c.picture));
            const Picture written = decodePng(testing::bytesOf(scratch.read(c.fileName)));
            EXPECT_EQ(written.format, c.format) << c.entry;
            EXPECT_EQ(written, expected) << c.entry;
            if (c.format == PixelFormat::Indexed8) {
                EXPECT_EQ(written.palette, expected.palette) << c.entry;
            }
            EXPECT_EQ(outcomes.rows[i].picture, (PictureSize{expected.width, expected.height}));
        }
    }
}

TEST(BatchExtractor, ADamagedPictureFailsAloneAsPng) {
    SKIP_WITHOUT_PICTURE_CONVERTER();
    auto archive = listArchive(kLodFormat, LodWriter()
                                               .add("A.pcx", pcx8(4, 2))
                                               .add("CUT.pcx", pcx8(40, 40).substr(0, 300), true)
                                               .add("B.pcx", pcx8(3, 3))
                                               .build());
    for (unsigned count : {1U, 2U}) {
        ScratchFolder scratch;
        const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()), asPng(count));
        EXPECT_EQ(outcomes.summary.done, 2);
        ASSERT_FALSE(outcomes.rows[1].done());
        EXPECT_EQ(outcomes.rows[1].error->entry(), "CUT.pcx");
        EXPECT_EQ(scratch.names(), (std::set<std::string>{"A.png", "B.png"}));
    }
}

// Name.pcx becomes Name.png, and is then one file with an entry Name.png (in any case): the
// first of the two is written, the second fails, as for any two entries of one name.
TEST(BatchExtractor, APngNameTakenInTheSameRunFailsTheLaterEntry) {
    SKIP_WITHOUT_PICTURE_CONVERTER();
    const std::string picture = pcx8(4, 2);
    struct Case {
        const char* what;
        std::string archive;
        const char* fileName;
        bool pictureFirst;
    };
    const Case cases[] = {
        {"picture, then a PNG entry",
         LodWriter().add("PIC.pcx", picture).add("PIC.png", "x").build(), "PIC.png", true},
        {"a PNG entry, then the picture",
         LodWriter().add("Pic.PNG", "x").add("PIC.pcx", picture).build(), "Pic.PNG", false},
        {"two pictures, one PNG",
         LodWriter().add("PIC.pcx", picture).add("PIC.PCX", picture).build(), "PIC.png", true},
    };
    for (const Case& c : cases) {
        auto archive = listArchive(kLodFormat, c.archive);
        ScratchFolder scratch;
        const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()), asPng(2));
        EXPECT_EQ(scratch.names(), std::set<std::string>{c.fileName}) << c.what;
        ASSERT_EQ(outcomes.rows.size(), 2U) << c.what;
        EXPECT_TRUE(outcomes.rows[0].done()) << c.what;
        ASSERT_FALSE(outcomes.rows[1].done()) << c.what;
        EXPECT_EQ(outcomes.rows[1].error->text(), kNameTaken) << c.what;
        if (c.pictureFirst) {
            EXPECT_EQ(decodePng(testing::bytesOf(scratch.read(c.fileName))),
                      decodePcx(testing::bytesOf(picture)))
                << c.what;
        } else {
            EXPECT_EQ(scratch.read(c.fileName), "x") << c.what;
        }
    }
}

TEST(BatchExtractor, APictureShorterThanItsPixelsMakesNoFile) {
    SKIP_WITHOUT_PICTURE_CONVERTER();
    std::string picture;
    writers::putI32(picture, 100);
    writers::putI32(picture, 10);
    writers::putI32(picture, 10);
    picture += std::string(50, 'p');
    auto archive = listArchive(kLodFormat, LodWriter().add("CUT.pcx", picture).build());
    ScratchFolder scratch;
    const Outcomes outcomes = extractAll(*archive, TargetFolder(scratch.str()));
    EXPECT_EQ(outcomes.summary.failed, 1);
    EXPECT_EQ(outcomes.rows[0].error->entry(), "CUT.pcx");
    EXPECT_TRUE(scratch.names().empty());
}

TEST(BatchExtractor, TheArchiveFileIsLeftByteForByteAndUntouched) {
    ScratchFolder scratch;
    const std::string bytes =
        LodWriter().add("A.txt", patterned(5000), true).add("B.def", "plain").build();
    const std::string path = (scratch / "game.lod").string();
    scratch.write("game.lod", bytes);
    platform::FileStatus before;
    ASSERT_EQ(platform::statusOfPath(path, before), 0);
    std::filesystem::create_directory(scratch / "out");
    {
        const Archive archive = Archive::open(path, kLodFormat);
        const std::vector<std::size_t> all{0, 1};
        extractEntries(archive, all, TargetFolder((scratch / "out").string()), threads(2),
                       [](const ExtractedEntry& row) { return row.done(); });
    }
    platform::FileStatus after;
    ASSERT_EQ(platform::statusOfPath(path, after), 0);
    EXPECT_EQ(scratch.read("game.lod"), bytes);
    EXPECT_EQ(after.modifiedNs, before.modifiedNs);
    EXPECT_EQ(scratch.read("out/A.txt"), patterned(5000));
}

TEST(ExtractRow, OneRowIsExtractedAsInABatch) {
    auto archive = listArchive(
        kLodFormat, LodWriter().add("ONE.txt", "one").add("TWO.txt", "two", true).build());
    ScratchFolder scratch;
    const TargetFolder folder(scratch.str());
    const ExtractedEntry row = extractEntry(archive->archive, 1, folder, {});
    EXPECT_TRUE(row.done());
    EXPECT_EQ(row.fileName, "TWO.txt");
    EXPECT_EQ(scratch.names(), std::set<std::string>{"TWO.txt"});
    EXPECT_EQ(scratch.read("TWO.txt"), "two");
}

TEST(ExtractRow, AnIndexOutsideTheArchiveIsNoEntry) {
    auto archive = listArchive(kLodFormat, LodWriter().add("ONE.txt", "one").build());
    ScratchFolder scratch;
    const ExtractedEntry row = extractEntry(archive->archive, 1, TargetFolder(scratch.str()), {});
    ASSERT_FALSE(row.done());
    EXPECT_EQ(row.error->text(), "No such entry");
    EXPECT_TRUE(scratch.names().empty());
}

}  // namespace
}  // namespace brasvel
