#include "catalogue/DirectoryReaders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/writers/ArchiveWriters.h"
#include "toolkit/HeadlessToolkit.h"

namespace brasvel {
namespace {

using writers::asBytes;
using writers::LodWriter;
using writers::SndWriter;
using writers::VidWriter;

struct Listing {
    std::unique_ptr<CatalogueModel> model = CatalogueModel::create();
    HeadlessToolkit ui;
    ListingReport report;

    const CatalogueEntry& entry(int k) const { return model->Catalogue[static_cast<std::size_t>(k)]; }
    std::string caption(int row) const { return ui.rows.at(static_cast<std::size_t>(row)).shownCaption(); }
    int image(int row) const { return ui.rows.at(static_cast<std::size_t>(row)).image; }
};

std::unique_ptr<Listing> listLod(const std::string& archive) {
    auto listing = std::make_unique<Listing>();
    listing->report = readLodDirectory(*listing->model, listing->ui, asBytes(archive));
    return listing;
}

std::unique_ptr<Listing> listSnd(const std::string& archive) {
    auto listing = std::make_unique<Listing>();
    listing->report = readSndDirectory(*listing->model, listing->ui, asBytes(archive));
    return listing;
}

std::unique_ptr<Listing> listVid(const std::string& archive) {
    auto listing = std::make_unique<Listing>();
    listing->report = readVidDirectory(*listing->model, listing->ui, asBytes(archive));
    return listing;
}

// --- LOD ---

TEST(LodReader, splitsATwelveByteNameAndGivesItsIcon) {
    auto listing = listLod(LodWriter().add("ABCDEFGH.PCX", "pixels").build());
    EXPECT_EQ(listing->entry(0).Name, "ABCDEFGH");
    EXPECT_EQ(listing->entry(0).Ext, "PCX");
    EXPECT_EQ(listing->caption(0), "ABCDEFGH.PCX");
    EXPECT_EQ(listing->image(0), kImagePcx);
    EXPECT_EQ(listing->model->EntryCount, 1);
    EXPECT_EQ(listing->model->VisibleCount, 1);
    EXPECT_EQ(listing->ui.statusTexts[0], "Total Files: 1");
    EXPECT_TRUE(listing->ui.listVisible);
}

TEST(LodReader, storesOffsetsAndSizesFromTheDirectory) {
    auto listing = listLod(LodWriter().addRaw("A.DEF", 1000, 5000, 1200).build());
    EXPECT_EQ(listing->entry(0), (CatalogueEntry{"A", "DEF", 1000, 5000, 1200}));
    EXPECT_EQ(listing->model->ViewOrder[0], 0);
}

TEST(LodReader, givesIconsOnlyToExactLowerOrUpperCaseOfItsEightKinds) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"panel.h3c", kImageH3c}, {"PANEL.H3C", kImageH3c}, {"Panel.H3c", 0},
        {"a.def", kImageDef},     {"a.msk", kImageMsk},     {"a.TXT", kImageTxt},
        {"a.fnt", kImageFnt},     {"a.PAL", kImagePal},     {"a.xmi", kImageXmi},
        {"TEXT.MSG", 0},          {"a.wav", 0},             {"a.smk", 0},
        {"a.Pcx", 0},             {"noext", 0},             {"a.b", 0}};
    LodWriter writer;
    for (const auto& [name, image] : cases) {
        writer.add(name, "x");
    }
    auto listing = listLod(writer.build());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(listing->image(static_cast<int>(i)), cases[i].second) << cases[i].first;
    }
}

TEST(LodReader, splitsTheNameAtTheFirstDotInEveryPosition) {
    // A dot at position p (1-based) of the 12-byte window: Name is the p-1 bytes before it and
    // Ext the three bytes after it, taken from the 16-byte field beyond the window if need be.
    const std::string letters = "ABCDEFGHIJKLMNOP";
    for (std::size_t p = 1; p <= 12; ++p) {
        std::string field = letters.substr(0, p - 1) + "." + "xyz";
        field += letters.substr(0, 16 - std::min<std::size_t>(16, field.size()));
        auto listing = listLod(LodWriter().add(field, "").build());
        EXPECT_EQ(listing->entry(0).Name.view(), letters.substr(0, p - 1)) << p;
        EXPECT_EQ(listing->entry(0).Ext.view(), "xyz") << p;
    }
}

TEST(LodReader, keepsNulBytesAfterAShortExtension) {
    auto listing = listLod(LodWriter().add("A.B", "").build());
    EXPECT_EQ(listing->entry(0).Ext.view(), std::string_view("B\0\0", 3));
    EXPECT_EQ(listing->caption(0), "A.B");
    EXPECT_EQ(listing->image(0), 0);
}

TEST(LodReader, takesAllTwelveBytesAsTheNameWhenThereIsNoDot) {
    auto listing = listLod(LodWriter().add("NODOT", "").add("ABCDEFGHIJKLMNOP", "").build());
    EXPECT_EQ(listing->entry(0).Name.view(), std::string_view("NODOT\0\0\0\0\0\0\0", 12));
    EXPECT_TRUE(listing->entry(0).Ext.empty());
    EXPECT_EQ(listing->caption(0), "NODOT");
    EXPECT_EQ(entryFileName(listing->entry(0)), "NODOT");
    // Bytes 12 to 15 of the field never reach the name.
    EXPECT_EQ(listing->entry(1).Name, "ABCDEFGHIJKL");
    EXPECT_EQ(listing->caption(1), "ABCDEFGHIJKL.");
}

TEST(LodReader, aDotInFirstPlaceGivesAnEmptyName) {
    auto listing = listLod(LodWriter().add(".PCX", "").build());
    EXPECT_TRUE(listing->entry(0).Name.empty());
    EXPECT_EQ(listing->caption(0), ".PCX");
}

TEST(LodReader, raisesTheProgressBarByTwoEveryFiftyEntriesAndEndsAtZero) {
    LodWriter writer;
    for (int i = 0; i < 120; ++i) {
        writer.add("F" + std::to_string(i) + ".TXT", "");
    }
    auto listing = listLod(writer.build());
    EXPECT_EQ(listing->ui.toolbarProgressHistory, (std::vector<int>{2, 4, 6, 0}));
}

TEST(LodReader, keepsTheProgressBarFullFromEntry2450On) {
    LodWriter writer;
    for (int i = 0; i < 2600; ++i) {
        writer.add("F.TXT", "");
    }
    auto listing = listLod(writer.build());
    const auto& history = listing->ui.toolbarProgressHistory;
    ASSERT_EQ(history.size(), 53u);  // k = 0, 50, ..., 2550, then the reset
    EXPECT_EQ(history[48], 98);      // k = 2400
    EXPECT_EQ(history[49], 100);     // k = 2450
    EXPECT_EQ(history[51], 100);     // k = 2550, above 100 reads back as 100
    EXPECT_EQ(history.back(), 0);
}

TEST(LodReader, aCountOfZeroListsNothingButShowsTheList) {
    auto listing = listLod(LodWriter().build());
    EXPECT_EQ(listing->ui.statusTexts[0], "Total Files: 0");
    EXPECT_TRUE(listing->ui.listVisible);
    EXPECT_TRUE(listing->ui.rows.empty());
    EXPECT_EQ(listing->ui.toolbarProgress, 0);
}

TEST(LodReader, refusesANegativeCountAsADamagedArchive) {
    auto listing = std::make_unique<Listing>();
    const std::string archive = LodWriter().add("A.TXT", "x").statedCount(-1).build();
    try {
        readLodDirectory(*listing->model, listing->ui, asBytes(archive));
        FAIL() << "a negative count was accepted";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Damaged file");
        EXPECT_NE(error.detail().find("-1"), std::string::npos);
    }
    EXPECT_EQ(listing->model->EntryCount, 0);
    EXPECT_EQ(listing->model->VisibleCount, 0);
    EXPECT_TRUE(listing->ui.rows.empty());
}

TEST(LodReader, listsTheFirst15011EntriesOfALargerArchiveAndSaysSo) {
    LodWriter writer;
    for (int i = 0; i < kCatalogueCapacity + 5; ++i) {
        writer.add("E.DEF", "");
    }
    auto listing = listLod(writer.build());
    EXPECT_TRUE(listing->report.cutToCapacity());
    EXPECT_EQ(listing->report.headerCount, kCatalogueCapacity + 5);
    EXPECT_EQ(listing->model->EntryCount, kCatalogueCapacity);
    EXPECT_EQ(listing->ui.rows.size(), static_cast<std::size_t>(kCatalogueCapacity));
    EXPECT_EQ(listing->model->ViewOrder[kCatalogueCapacity - 1], kCatalogueCapacity - 1);
}

TEST(LodReader, aHugeCountInASmallFileEndsWithReadBeyondEndOfFile) {
    // 70000 entries would be 4464 in the low 16 bits; neither may run past the file or the table.
    const std::string archive = LodWriter().add("A.TXT", "").statedCount(70000).build();
    auto listing = std::make_unique<Listing>();
    EXPECT_THROW(readLodDirectory(*listing->model, listing->ui, asBytes(archive)), ResourceError);
    EXPECT_EQ(listing->ui.rows.size(), 1u);
    EXPECT_EQ(listing->model->EntryCount, 1);
    EXPECT_EQ(listing->ui.statusTexts[0], "Total Files: 15011");
}

TEST(LodReader, keepsTheRowsReadSoFarWhenTheDirectoryEndsEarly) {
    LodWriter writer;
    for (int i = 0; i < 40; ++i) {
        writer.add("F" + std::to_string(i) + ".PCX", "");
    }
    const std::string archive = writer.build();
    // The file ends in the middle of the 40th entry.
    const std::string cut = archive.substr(0, 92 + 39 * 32 + 10);
    auto listing = std::make_unique<Listing>();
    try {
        readLodDirectory(*listing->model, listing->ui, asBytes(cut));
        FAIL() << "a truncated directory was read";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Read beyond end of file");
    }
    EXPECT_EQ(listing->ui.rows.size(), 39u);
    EXPECT_EQ(listing->ui.statusTexts[0], "Total Files: 40");
    EXPECT_EQ(listing->model->VisibleCount, 39) << "no row beyond the entries read";
    EXPECT_EQ(listing->model->EntryCount, 39);
    EXPECT_EQ(listing->ui.updateDepth, 0) << "the bulk update must end";
}

TEST(LodReader, truncatedAtEveryLengthFailsCleanlyWithTheRowsOfWholeEntries) {
    const std::string archive =
        LodWriter().add("A.PCX", "abc").add("B.DEF", "def", true).add("C.TXT", "").build();
    const std::size_t directoryEnd = 92 + 3 * 32;
    for (std::size_t length = 0; length < directoryEnd; ++length) {
        auto listing = std::make_unique<Listing>();
        const std::string cut = archive.substr(0, length);
        EXPECT_THROW(readLodDirectory(*listing->model, listing->ui, asBytes(cut)), ResourceError)
            << length;
        const std::size_t whole = length < 92 ? 0 : (length - 92) / 32;
        EXPECT_EQ(listing->ui.rows.size(), whole) << length;
    }
}

// --- SND ---

TEST(SndReader, namesEveryEntryWavWithAMixedCaseCaption) {
    auto listing = listSnd(SndWriter().add("SOUND1", "RIFF....").build());
    EXPECT_EQ(listing->entry(0).Name, "SOUND1");
    EXPECT_EQ(listing->entry(0).Ext, "WAV");
    EXPECT_EQ(listing->entry(0).PackedSize, 0);
    EXPECT_EQ(listing->entry(0).Size, 8);
    EXPECT_EQ(listing->caption(0), "SOUND1.Wav");
    EXPECT_EQ(listing->image(0), kImageWav);
}

TEST(SndReader, cutsTheNameAtItsFirstNulAndToTwelveBytes) {
    std::string dotted = "a.b";
    dotted += '\0';
    dotted += "hidden";
    auto listing = listSnd(SndWriter()
                               .add("ABCDEFGHIJKLMNOPQRST", "")
                               .add(std::string("\0LATE", 5), "")
                               .add(dotted, "")
                               .add(std::string(40, 'Z'), "")
                               .build());
    EXPECT_EQ(listing->entry(0).Name, "ABCDEFGHIJKL");
    EXPECT_EQ(listing->caption(0), "ABCDEFGHIJKL.Wav");
    EXPECT_TRUE(listing->entry(1).Name.empty());
    EXPECT_EQ(listing->caption(1), ".Wav");
    EXPECT_EQ(listing->entry(2).Name, "a.b");
    EXPECT_EQ(listing->entry(3).Name, "ZZZZZZZZZZZZ");
}

TEST(SndReader, raisesTheProgressBarByOnePerEntryUntilFull) {
    SndWriter writer;
    for (int i = 0; i < 250; ++i) {
        writer.add("S", "");
    }
    auto listing = listSnd(writer.build());
    const auto& history = listing->ui.toolbarProgressHistory;
    ASSERT_EQ(history.size(), 251u);
    EXPECT_EQ(history[98], 99);
    EXPECT_EQ(history[99], 100);
    EXPECT_EQ(history[249], 100);
    EXPECT_EQ(history[250], 0);
}

TEST(SndReader, truncatedAtEveryLengthFailsCleanly) {
    const std::string archive = SndWriter().add("ONE", "1111").add("TWO", "22").build();
    for (std::size_t length = 0; length < 4 + 2 * 48; ++length) {
        auto listing = std::make_unique<Listing>();
        const std::string cut = archive.substr(0, length);
        EXPECT_THROW(readSndDirectory(*listing->model, listing->ui, asBytes(cut)), ResourceError);
        EXPECT_EQ(listing->ui.rows.size(), length < 4 ? 0 : (length - 4) / 48) << length;
    }
}

TEST(SndReader, refusesANegativeCount) {
    auto listing = std::make_unique<Listing>();
    const std::string archive = SndWriter().statedCount(-7).build();
    EXPECT_THROW(readSndDirectory(*listing->model, listing->ui, asBytes(archive)), ResourceError);
    EXPECT_EQ(listing->model->EntryCount, 0);
}

// --- VID ---

TEST(VidReader, captionsTheStoredNameAndSplitsIt) {
    auto listing = listVid(VidWriter().add("VIDEO1.SMK", "data").build());
    EXPECT_EQ(listing->caption(0), "VIDEO1.SMK");
    EXPECT_EQ(listing->entry(0).Name, "VIDEO1");
    EXPECT_EQ(listing->entry(0).Ext, "SMK");
    EXPECT_EQ(listing->image(0), kImageSmk);
}

TEST(VidReader, keepsTwelveLettersOfALongNameButShowsAllSixteenBytes) {
    auto listing = listVid(VidWriter().add("ABCDEFGHIJKL.bik", "").add("ABCDEFGHIJKLMN.bik", "").build());
    EXPECT_EQ(listing->entry(0).Name, "ABCDEFGHIJKL");
    EXPECT_EQ(listing->entry(0).Ext, "bik");
    EXPECT_EQ(listing->image(0), kImageBik);
    EXPECT_EQ(listing->caption(0), "ABCDEFGHIJKL.bik");
    // A dot at position 15: the extension comes from the field's bytes after the window.
    EXPECT_EQ(listing->entry(1).Name, "ABCDEFGHIJKL");
    EXPECT_EQ(listing->entry(1).Ext, "bik");
    EXPECT_EQ(listing->caption(1), "ABCDEFGHIJKLMN.b");
}

TEST(VidReader, splitsTheNameAtTheFirstDotInEveryPosition) {
    const std::string letters = "ABCDEFGHIJKLMNOP";
    for (std::size_t p = 1; p <= 15; ++p) {
        const std::string field = letters.substr(0, p - 1) + ".smk";
        auto listing = listVid(VidWriter().add(field, "").build());
        EXPECT_EQ(listing->entry(0).Name.view(), letters.substr(0, std::min<std::size_t>(p - 1, 12)))
            << p;
        EXPECT_EQ(listing->entry(0).Ext, "smk") << p;
    }
    // No dot among the 15 scanned bytes: the 16th is never looked at.
    auto listing = listVid(VidWriter().add("ABCDEFGHIJKLMNO.smk", "").build());
    EXPECT_EQ(listing->entry(0).Name, "ABCDEFGHIJKL");
    EXPECT_TRUE(listing->entry(0).Ext.empty());
    EXPECT_EQ(listing->image(0), 0);
}

TEST(VidReader, sizesReachToTheNextOffsetOrTheEndOfTheFile) {
    auto listing = listVid(VidWriter()
                               .addRaw("A.SMK", 200)
                               .addRaw("B.SMK", 15000)
                               .addRaw("C.BIK", 30000)
                               .padTo(40000)
                               .build());
    EXPECT_EQ(listing->entry(0).Size, 14800);
    EXPECT_EQ(listing->entry(1).Size, 15000);
    EXPECT_EQ(listing->entry(2).Size, 10000);
}

TEST(VidReader, sizesFollowTheOffsetsWhateverTheirOrderInTheDirectory) {
    auto listing = listVid(VidWriter()
                               .addRaw("LAST.SMK", 30000)
                               .addRaw("FIRST.SMK", 200)
                               .addRaw("MIDDLE.BIK", 15000)
                               .addRaw("TWIN.BIK", 15000)
                               .padTo(40000)
                               .build());
    EXPECT_EQ(listing->entry(0).Size, 10000);
    EXPECT_EQ(listing->entry(1).Size, 14800);
    EXPECT_EQ(listing->entry(2).Size, 15000);
    EXPECT_EQ(listing->entry(3).Size, 15000);
}

TEST(VidReader, sizesNeverReachPastTheEndOfTheFile) {
    auto listing = listVid(VidWriter().addRaw("A.SMK", 200).addRaw("B.SMK", 9000).padTo(12000).build());
    EXPECT_EQ(listing->entry(0).Size, 8800);
    EXPECT_EQ(listing->entry(1).Size, 3000);
    auto beyond = listVid(VidWriter().addRaw("A.SMK", 48).addRaw("B.SMK", 50000).padTo(1048).build());
    EXPECT_EQ(beyond->entry(0).Size, 1000);
    EXPECT_EQ(beyond->entry(1).Size, 0);
    auto negative = listVid(VidWriter().addRaw("A.SMK", -5).padTo(100).build());
    EXPECT_EQ(negative->entry(0).Size, 0);
}

TEST(VidReader, aSingleEntryReachesToTheEndOfTheFile) {
    auto listing = listVid(VidWriter().addRaw("ONLY.SMK", 48).padTo(1048).build());
    EXPECT_EQ(listing->entry(0).Size, 1000);
}

TEST(VidReader, raisesTheProgressBarByTenPerEntry) {
    VidWriter writer;
    for (int i = 0; i < 12; ++i) {
        writer.add("V.SMK", "");
    }
    auto listing = listVid(writer.build());
    EXPECT_EQ(listing->ui.toolbarProgressHistory,
              (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100, 100, 0}));
}

TEST(VidReader, truncatedAtEveryLengthFailsCleanlyBeforeAnySizeIsDerived) {
    const std::string archive = VidWriter().add("A.SMK", "aaaa").add("B.BIK", "bbbb").build();
    for (std::size_t length = 0; length < 4 + 2 * 44; ++length) {
        auto listing = std::make_unique<Listing>();
        const std::string cut = archive.substr(0, length);
        EXPECT_THROW(readVidDirectory(*listing->model, listing->ui, asBytes(cut)), ResourceError);
        EXPECT_EQ(listing->ui.rows.size(), length < 4 ? 0 : (length - 4) / 44) << length;
        EXPECT_EQ(listing->entry(0).Size, 0) << length;
    }
}

// --- Opening files ---

class ArchiveOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("brasvel-readers-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string write(const std::string& name, const std::string& bytes) {
        const auto path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    std::filesystem::path folder;
};

TEST_F(ArchiveOnDisk, aMissingFileIsFileNotFoundAndStillShowsTheList) {
    Listing listing;
    try {
        OpenLod(*listing.model, listing.ui, (folder / "missing.lod").string());
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "File not found");
    }
    EXPECT_TRUE(listing.ui.listVisible);
}

TEST_F(ArchiveOnDisk, aReadOnlyArchiveOpensAndStaysUnchanged) {
    const std::string bytes = LodWriter().add("A.TXT", "hello").build();
    const std::string path = write("ro.lod", bytes);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    const auto modified = std::filesystem::last_write_time(path);
    Listing listing;
    OpenLod(*listing.model, listing.ui, path);
    EXPECT_EQ(listing.ui.rows.size(), 1u);
    std::ifstream in(path, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, bytes);
    EXPECT_EQ(std::filesystem::last_write_time(path), modified);
}

TEST_F(ArchiveOnDisk, anEmptyFileEndsBeforeTheHeader) {
    const std::string path = write("empty.snd", "");
    Listing listing;
    try {
        OpenSnd(*listing.model, listing.ui, path);
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Read beyond end of file");
    }
}

TEST_F(ArchiveOnDisk, aFolderIsNotAnArchive) {
    Listing listing;
    EXPECT_THROW(OpenVid(*listing.model, listing.ui, folder.string()), ResourceError);
}

TEST(ArchiveKindFromPath, readsTheLastThreeCharactersInAnyCase) {
    EXPECT_EQ(kindFromPath("sprites.lod"), ArchiveKind::Lod);
    EXPECT_EQ(kindFromPath("Sounds.SND"), ArchiveKind::Snd);
    EXPECT_EQ(kindFromPath("video.Vid"), ArchiveKind::Vid);
    EXPECT_EQ(kindFromPath("archive.zip"), ArchiveKind::None);
    EXPECT_EQ(kindFromPath("od"), ArchiveKind::None);
}

}  // namespace
}  // namespace brasvel
