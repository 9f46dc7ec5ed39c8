// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/Directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "archive/Archive.h"
#include "archive/FormatCheck.h"
#include "archive/TypeItems.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

using writers::asBytes;
using writers::LodWriter;
using writers::SndWriter;
using writers::VidWriter;

Directory read(const ArchiveFormat& format, const std::string& archive) {
    return readDirectory(format, asBytes(archive));
}

struct NameCase {
    const ArchiveFormat* format;
    std::string field;     // the stored name
    std::string name;      // derived
    std::string ext;
    std::string caption;   // as shown, up to the first NUL
    std::string fileName;
    int image;
};

std::string built(const NameCase& c) {
    if (c.format == &kLodFormat) {
        return LodWriter().add(c.field, "x").build();
    }
    if (c.format == &kSndFormat) {
        return SndWriter().add(c.field, "x").build();
    }
    return VidWriter().add(c.field, "x").build();
}

TEST(Directory, derivesNamesCaptionsAndIconsFromTheNameField) {
    using namespace std::string_literals;
    const NameCase cases[] = {
        {&kLodFormat, "ABCDEFGH.PCX", "ABCDEFGH", "PCX", "ABCDEFGH.PCX", "ABCDEFGH.PCX", kImagePcx},
        {&kLodFormat, "panel.h3c", "panel", "h3c", "panel.h3c", "panel.h3c", kImageH3c},
        {&kLodFormat, "Panel.H3c", "Panel", "H3c", "Panel.H3c", "Panel.H3c", kImageNone},
        {&kLodFormat, "TEXT.MSG", "TEXT", "MSG", "TEXT.MSG", "TEXT.MSG", kImageNone},
        {&kLodFormat, "a.wav", "a", "wav", "a.wav", "a.wav", kImageNone},
        {&kLodFormat, "A.B", "A", "B\0\0"s, "A.B", "A.B", kImageNone},
        {&kLodFormat, "NODOT", "NODOT\0\0\0\0\0\0\0"s, "", "NODOT", "NODOT", kImageNone},
        // Bytes 12 to 15 of the field never reach the name.
        {&kLodFormat, "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKL", "", "ABCDEFGHIJKL.", "ABCDEFGHIJKL.",
         kImageNone},
        {&kLodFormat, ".PCX", "", "PCX", ".PCX", ".PCX", kImagePcx},
        {&kSndFormat, "SOUND1", "SOUND1", "WAV", "SOUND1.Wav", "SOUND1.WAV", kImageWav},
        {&kSndFormat, "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKL", "WAV", "ABCDEFGHIJKL.Wav",
         "ABCDEFGHIJKL.WAV", kImageWav},
        {&kSndFormat, "\0LATE"s, "", "WAV", ".Wav", ".WAV", kImageWav},
        {&kSndFormat, "a.b\0hidden"s, "a.b", "WAV", "a.b.Wav", "a.b.WAV", kImageWav},
        {&kVidFormat, "VIDEO1.SMK", "VIDEO1", "SMK", "VIDEO1.SMK", "VIDEO1.SMK", kImageSmk},
        {&kVidFormat, "ABCDEFGHIJKL.bik", "ABCDEFGHIJKL", "bik", "ABCDEFGHIJKL.bik",
         "ABCDEFGHIJKL.bik", kImageBik},
        // A video is shown and written under its whole stored name, and takes its extension from
        // it however far the dot lies.
        {&kVidFormat, "ABCDEFGHIJKLMN.bik", "ABCDEFGHIJKLMN", "bik", "ABCDEFGHIJKLMN.bik",
         "ABCDEFGHIJKLMN.bik", kImageBik},
        {&kVidFormat, "ABCDEFGHIJKLMNOP.SMK", "ABCDEFGHIJKLMNOP", "SMK", "ABCDEFGHIJKLMNOP.SMK",
         "ABCDEFGHIJKLMNOP.SMK", kImageSmk},
        {&kVidFormat, "CASTLE_SIEGE_CINEMATIC.smk", "CASTLE_SIEGE_CINEMATIC", "smk",
         "CASTLE_SIEGE_CINEMATIC.smk", "CASTLE_SIEGE_CINEMATIC.smk", kImageSmk},
        // The dot as the name field's last byte: no byte is left for the extension.
        {&kVidFormat, std::string(39, 'V') + ".", std::string(39, 'V'), "",
         std::string(39, 'V') + ".", std::string(39, 'V') + ".", kImageNone},
        {&kVidFormat, std::string(36, 'V') + ".bik", std::string(36, 'V'), "bik",
         std::string(36, 'V') + ".bik", std::string(36, 'V') + ".bik", kImageBik},
        // A dot after the stored name's NUL is not part of the name.
        {&kVidFormat, "AB\0.smk"s, "AB\0.smk"s + std::string(33, '\0'), "", "AB", "AB", kImageNone},
    };
    for (const NameCase& c : cases) {
        const Directory directory = read(*c.format, built(c));
        ASSERT_EQ(directory.entries.size(), 1u) << c.field;
        const Entry& entry = directory.entries[0];
        EXPECT_EQ(entry.name, c.name) << c.field;
        EXPECT_EQ(entry.ext, c.ext) << c.field;
        EXPECT_EQ(entry.caption, c.caption) << c.field;
        EXPECT_EQ(entry.fileName, c.fileName) << c.field;
        EXPECT_EQ(listedImage(*c.format, entry), c.image) << c.field;
        EXPECT_EQ(entry.nameField.size(), c.format->layout.nameFieldSize) << c.field;
        EXPECT_EQ(entry.nameField.substr(0, c.field.size()), c.field.substr(0, entry.nameField.size()));
    }
}

TEST(Directory, keepsEveryFieldOfALodRow) {
    std::string archive = LodWriter().addRaw("A.DEF", 1000, 5000, 1200).build();
    archive[92 + 24] = '\x47';  // the word at +24
    archive[92 + 14] = 'Z';     // a byte after the name's NUL
    const Directory directory = read(kLodFormat, archive);
    ASSERT_EQ(directory.entries.size(), 1u);
    const Entry& entry = directory.entries[0];
    EXPECT_EQ(entry.offset, 1000);
    EXPECT_EQ(entry.size, 5000);
    EXPECT_EQ(entry.packedSize, 1200);
    EXPECT_EQ(entry.type, 0x47);
    EXPECT_EQ(entry.nameField, archive.substr(92, 16));
    EXPECT_EQ(directory.statedCount, 1);
    EXPECT_FALSE(directory.error);
}

TEST(Directory, splitsALodNameAtTheFirstDotInEveryPosition) {
    const std::string letters = "ABCDEFGHIJKLMNOP";
    for (std::size_t p = 1; p <= 12; ++p) {
        std::string field = letters.substr(0, p - 1) + ".xyz";
        field += letters.substr(0, 16 - std::min<std::size_t>(16, field.size()));
        const Directory directory = read(kLodFormat, LodWriter().add(field, "").build());
        EXPECT_EQ(directory.entries[0].name, letters.substr(0, p - 1)) << p;
        EXPECT_EQ(directory.entries[0].ext, "xyz") << p;
    }
}

TEST(Directory, negativeAndHugeCountsReadNoEntryThatIsNotThere) {
    const Directory negative = read(kLodFormat, LodWriter().add("A.TXT", "x").statedCount(-1).build());
    ASSERT_TRUE(negative.error);
    EXPECT_EQ(negative.error->text(), "Damaged file");
    EXPECT_NE(negative.error->detail().find("-1"), std::string::npos);
    EXPECT_TRUE(negative.entries.empty());
    EXPECT_EQ(negative.statedCount, -1);

    const Directory huge = read(kLodFormat, LodWriter().add("A.TXT", "").statedCount(70000).build());
    ASSERT_TRUE(huge.error);
    EXPECT_EQ(huge.error->text(), "Read beyond end of file");
    EXPECT_EQ(huge.entries.size(), 1u);
    EXPECT_EQ(huge.statedCount, 70000);
}

TEST(Directory, readsEveryEntryOfALargeArchive) {
    LodWriter writer;
    for (int i = 0; i < 15011 + 5; ++i) {
        writer.add("E.DEF", "");
    }
    std::size_t reported = 0;
    const std::string archive = writer.build();
    const Directory directory =
        readDirectory(kLodFormat, asBytes(archive), [&](std::size_t read) { reported = read; });
    EXPECT_EQ(directory.entries.size(), 15016u);
    EXPECT_EQ(reported, 15016u);
    EXPECT_FALSE(directory.error);
}

TEST(Directory, truncatedAtEveryLengthKeepsTheEntriesWhoseRowsAreWhole) {
    const struct {
        const ArchiveFormat* format;
        std::string archive;
    } archives[] = {
        {&kLodFormat,
         LodWriter().add("A.PCX", "abc").add("B.DEF", "def", true).add("C.TXT", "").build()},
        {&kSndFormat, SndWriter().add("ONE", "1111").add("TWO", "22").build()},
        {&kVidFormat, VidWriter().add("A.SMK", "aaaa").add("B.BIK", "bbbb").build()},
    };
    for (const auto& [format, archive] : archives) {
        const DirectoryLayout& layout = format->layout;
        const std::size_t rows = format == &kLodFormat ? 3 : 2;
        for (std::size_t length = 0; length < layout.firstRow + rows * layout.rowSize; ++length) {
            const Directory directory = read(*format, archive.substr(0, length));
            EXPECT_TRUE(directory.error) << format->name << " " << length;
            const std::size_t whole =
                length < layout.firstRow ? 0 : (length - layout.firstRow) / layout.rowSize;
            EXPECT_EQ(directory.entries.size(), std::min(whole, rows)) << format->name << " " << length;
            for (const Entry& entry : directory.entries) {
                EXPECT_GE(entry.size, 0);
            }
        }
    }
}

TEST(Directory, videoSizesReachToTheNextOffsetButNeverPastTheEndOfTheFile) {
    const struct {
        VidWriter writer;
        std::vector<std::int32_t> sizes;
    } cases[] = {
        {VidWriter().addRaw("A.SMK", 200).addRaw("B.SMK", 15000).addRaw("C.BIK", 30000).padTo(40000),
         {14800, 15000, 10000}},
        {VidWriter()
             .addRaw("LAST.SMK", 30000)
             .addRaw("FIRST.SMK", 200)
             .addRaw("MIDDLE.BIK", 15000)
             .addRaw("TWIN.BIK", 15000)
             .padTo(40000),
         {10000, 14800, 15000, 15000}},
        {VidWriter().addRaw("A.SMK", 200).addRaw("B.SMK", 9000).padTo(12000), {8800, 3000}},
        {VidWriter().addRaw("A.SMK", 48).addRaw("B.SMK", 50000).padTo(1048), {1000, 0}},
        {VidWriter().addRaw("A.SMK", -5).padTo(100), {0}},
        {VidWriter().addRaw("ONLY.SMK", 48).padTo(1048), {1000}},
    };
    for (const auto& c : cases) {
        const Directory directory = read(kVidFormat, c.writer.build());
        std::vector<std::int32_t> sizes;
        for (const Entry& entry : directory.entries) {
            sizes.push_back(entry.size);
        }
        EXPECT_EQ(sizes, c.sizes);
    }
}

TEST(ArchiveFormats, areFoundByNameAndByPathInAnyCaseOrInOneCase) {
    struct Case {
        std::string path;
        const ArchiveFormat* any;
        const ArchiveFormat* single;  // all lower or all upper case only
    };
    const Case cases[] = {
        {"sprites.lod", &kLodFormat, &kLodFormat},
        {"Sounds.SND", &kSndFormat, &kSndFormat},
        {"video.Vid", &kVidFormat, nullptr},
        {"x.sNd", &kSndFormat, nullptr},
        {"xlod", &kLodFormat, &kLodFormat},  // the last three characters, dot or not
        {"archive.zip", nullptr, nullptr},
        {"LOD.txt", nullptr, nullptr},
        {"od", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatFromPath(c.path), c.any) << c.path;
        EXPECT_EQ(formatFromPath(c.path, LetterCase::Single), c.single) << c.path;
    }
    EXPECT_EQ(formatNamed("LOD"), &kLodFormat);
    EXPECT_EQ(formatNamed("sNd"), &kSndFormat);
    EXPECT_EQ(formatNamed("lodx"), nullptr);
    ASSERT_EQ(archiveFormats().size(), 3u);
    EXPECT_EQ(archiveFormats()[1], &kSndFormat);
}

// --- Opening files ---

class ArchiveOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("brasvel-archive-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
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

// A file's name tells its kind before its bytes are read; else its bytes do, as a damaged archive
// only when asked.
TEST_F(ArchiveOnDisk, aFileIsOfTheKindItsNameElseItsBytesTell) {
    const std::string damagedSnd =
        writers::SndWriter().add("A", "x").addRaw("B", 5000, 1).build();
    struct Case {
        std::string name;
        std::string bytes;
        const ArchiveFormat* whole;
        const ArchiveFormat* wholeOrDamaged;
    };
    const Case cases[] = {
        {"noise.lod", "not an archive", &kLodFormat, &kLodFormat},
        {"sounds", SndWriter().add("A", "x").build(), &kSndFormat, &kSndFormat},
        {"videos.bin", VidWriter().add("A.SMK", "x").build(), &kVidFormat, &kVidFormat},
        {"damaged", damagedSnd, nullptr, &kSndFormat},
        {"short", "LOD", nullptr, nullptr},
        {"empty", "", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const std::string path = write(c.name, c.bytes);
        EXPECT_EQ(formatOfFile(path, BytesFit::Whole), c.whole) << c.name;
        EXPECT_EQ(formatOfFile(path, BytesFit::WholeOrDamaged), c.wholeOrDamaged) << c.name;
        EXPECT_EQ(formatOfFile(path, ReadOnlyFile(path), BytesFit::Whole), c.whole) << c.name;
    }
    EXPECT_EQ(formatOfFile((folder / "missing.snd").string(), BytesFit::Whole), &kSndFormat);
    EXPECT_THROW(formatOfFile((folder / "missing").string(), BytesFit::Whole), ResourceError);
}

TEST_F(ArchiveOnDisk, refusesWhatCannotBeOpenedWithTheFileErrorTexts) {
    try {
        Archive::open((folder / "missing.lod").string(), kLodFormat);
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "File not found");
    }
    EXPECT_THROW(Archive::open(folder.string(), kVidFormat), ResourceError);
    // An empty file is no archive of any kind: refused before any listing.
    try {
        Archive::open(write("empty.snd", ""), kSndFormat);
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Not an SND archive");
        EXPECT_EQ(error.detail(), "it is empty");
    }
}

TEST_F(ArchiveOnDisk, aReadOnlyArchiveOpensStaysUnchangedAndServesItsBytesAfterItIsRemoved) {
    const std::string bytes = LodWriter().add("A.TXT", "hello").build();
    const std::string path = write("ro.lod", bytes);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    const auto modified = std::filesystem::last_write_time(path);
    const Archive archive = Archive::open(path, kLodFormat);
    EXPECT_EQ(archive.entries().size(), 1u);
    EXPECT_NE(archive.file(), nullptr);
    std::ifstream in(path, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, bytes);
    EXPECT_EQ(std::filesystem::last_write_time(path), modified);
    in.close();
#ifdef _WIN32
    // Windows removes no file marked read-only.
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
#endif
    std::filesystem::remove(path);
    std::string read(bytes.size(), '\0');
    archive.read(0, std::as_writable_bytes(std::span(read)));
    EXPECT_EQ(read, bytes) << "the archive stays open once opened";
}

}  // namespace
}  // namespace brasvel
