#include <gtest/gtest.h>

#include "ExtractFixtures.h"
#include "base/ReadOnlyFile.h"
#include "extract/EntryContent.h"

namespace brasvel {
namespace {

using testing::bytesOf;
using testing::patterned;
using testing::textOf;
using writers::LodWriter;
using writers::zlibCompress;

Entry lodEntry(std::int32_t offset, std::int32_t size, std::int32_t packedSize = 0) {
    Entry entry;
    entry.name = "ENTRY";
    entry.ext = "DEF";
    entry.fileName = "ENTRY.DEF";
    entry.offset = offset;
    entry.size = size;
    entry.packedSize = packedSize;
    return entry;
}

std::string contentOf(const std::string& archive, const Entry& entry, const ArchiveFormat& kind) {
    const std::vector<std::byte> content = entryContent(bytesOf(archive), entry, kind);
    return textOf(content);
}

ResourceError failureOf(const std::string& archive, const Entry& entry,
                        const ArchiveFormat& kind = kLodFormat) {
    try {
        entryContent(bytesOf(archive), entry, kind);
    } catch (const ResourceError& error) {
        return error;
    }
    ADD_FAILURE() << "no error for " << entry;
    return ResourceError("none");
}

class PlainSizes : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(PlainSizes, AnEntryStoredPlainComesOutWholeInEveryKind) {
    const std::int32_t size = GetParam();
    const std::string content = patterned(static_cast<std::size_t>(size));
    const std::string archive = "header--" + content + "trailer";
    for (const ArchiveFormat* kind : archiveFormats()) {
        EXPECT_EQ(contentOf(archive, lodEntry(8, size), *kind), content) << kind->name;
    }
}

TEST_P(PlainSizes, ACompressedEntryInflatesToExactlyItsSize) {
    const std::int32_t size = GetParam();
    const std::string content = patterned(static_cast<std::size_t>(size));
    const std::string stream = zlibCompress(content);
    const std::string archive = "xx" + stream;
    EXPECT_EQ(contentOf(archive, lodEntry(2, size, static_cast<std::int32_t>(stream.size())),
                        kLodFormat),
              content);
}

INSTANTIATE_TEST_SUITE_P(SizesAroundOldBlocks, PlainSizes,
                         ::testing::Values(0, 1, 2096, 2097, 4192, 8192, 8292, 10000));

TEST(EntryContent, AnEntryThatCompressesFarBetterThanAssumedComesOutWhole) {
    const std::string zeros(1 << 20, '\0');
    const std::string text = [] {
        std::string line;
        while (line.size() < 100 * 1024) {
            line += "Brasvel ";
        }
        return line;
    }();
    for (const std::string* content : {&zeros, &text}) {
        const std::string stream = zlibCompress(*content, 9);
        ASSERT_LT(stream.size(), content->size() / 200);
        Entry entry = lodEntry(0, static_cast<std::int32_t>(content->size()),
                                        static_cast<std::int32_t>(stream.size()));
        entry.ext = "txt";
        EXPECT_EQ(contentOf(stream, entry, kLodFormat), *content);
    }
}

TEST(EntryContent, AStreamLongerThanItsSizeIsDamaged) {
    const std::string stream = zlibCompress(patterned(5000));
    const ResourceError error =
        failureOf(stream, lodEntry(0, 4999, static_cast<std::int32_t>(stream.size())));
    EXPECT_EQ(error.text(), "Damaged entry");
    EXPECT_EQ(error.detail(), "inflates past its size 4999");
}

TEST(EntryContent, AStreamShorterThanItsSizeIsDamaged) {
    const std::string stream = zlibCompress(patterned(100));
    const ResourceError error =
        failureOf(stream, lodEntry(0, 1234, static_cast<std::int32_t>(stream.size())));
    EXPECT_EQ(error.text(), "Damaged entry");
    EXPECT_EQ(error.detail(), "inflates to 100 bytes, not 1234");
}

TEST(EntryContent, BytesThatAreNoZlibStreamAreDamaged) {
    const std::string stored = patterned(300, 3);
    const ResourceError error = failureOf(stored, lodEntry(0, 1000, 300));
    EXPECT_EQ(error.text(), "Damaged entry");
    EXPECT_EQ(error.detail(), "is not a valid zlib stream");
}

TEST(EntryContent, AStreamCutAtAnyLengthIsDamagedNeverACrash) {
    const std::string content = patterned(3000) + std::string(3000, 'a');
    const std::string stream = zlibCompress(content);
    // Length 0 would be an entry stored plain.
    for (std::size_t length = 1; length < stream.size(); ++length) {
        const std::string cut = stream.substr(0, length);
        const ResourceError error =
            failureOf(cut, lodEntry(0, static_cast<std::int32_t>(content.size()),
                                    static_cast<std::int32_t>(length)));
        EXPECT_EQ(error.text(), "Damaged entry") << "cut at " << length;
    }
}

TEST(EntryContent, AStreamWithAnyByteFlippedFailsCleanlyOrStillInflatesToItsSize) {
    const std::string content = patterned(2000) + std::string(2000, 'b');
    const std::string stream = zlibCompress(content);
    for (std::size_t at = 0; at < stream.size(); ++at) {
        std::string damagedStream = stream;
        damagedStream[at] = static_cast<char>(damagedStream[at] ^ 0x5A);
        const Entry entry = lodEntry(0, static_cast<std::int32_t>(content.size()),
                                              static_cast<std::int32_t>(stream.size()));
        try {
            EXPECT_EQ(contentOf(damagedStream, entry, kLodFormat).size(), content.size());
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), "Damaged entry") << "byte " << at;
        }
    }
}

TEST(EntryContent, ASizeNoStreamOfThatLengthCanReachIsRefusedBeforeAnyMemoryIsTaken) {
    const std::string stream = zlibCompress("tiny");
    const ResourceError error =
        failureOf(stream, lodEntry(0, 2'000'000'000, static_cast<std::int32_t>(stream.size())));
    EXPECT_EQ(error.text(), "Damaged entry");
    EXPECT_NE(error.detail().find("2000000000"), std::string::npos) << error.detail();
}

TEST(EntryContent, DataReachingPastTheArchiveEndIsAReadBeyondTheEnd) {
    const std::string archive(100, 'x');
    for (const Entry& entry : {lodEntry(90, 11), lodEntry(101, 0), lodEntry(0, 50, 101),
                                        lodEntry(60, 0, 41), lodEntry(0x7FFFFFFF, 0x7FFFFFFF)}) {
        const ResourceError error = failureOf(archive, entry);
        EXPECT_EQ(error.text(), "Read beyond end of file") << entry;
    }
    EXPECT_EQ(failureOf(archive, lodEntry(90, 11), kVidFormat).detail(),
              "needed 11 bytes at offset 90, found 10");
    EXPECT_EQ(contentOf(archive, lodEntry(100, 0), kLodFormat), "");
}

TEST(EntryContent, NegativeNumbersAreDamage) {
    const std::string archive(100, 'x');
    EXPECT_EQ(failureOf(archive, lodEntry(-1, 10)).detail(), "states a negative offset -1");
    EXPECT_EQ(failureOf(archive, lodEntry(0, -10)).detail(), "states a negative size -10");
    EXPECT_EQ(failureOf(archive, lodEntry(0, 10, -3)).detail(), "states a negative packed size -3");
}

TEST(EntryContent, SoundsAndVideosIgnoreAPackedSize) {
    const std::string archive = "0123456789";
    EXPECT_EQ(contentOf(archive, lodEntry(2, 5, 3), kSndFormat), "23456");
    EXPECT_EQ(contentOf(archive, lodEntry(2, 5, 3), kVidFormat), "23456");
}

TEST(EntryContent, AReusedBufferGivesEachEntryExactlyItsOwnBytes) {
    const std::string big = patterned(50000, 4);
    const std::string small = "small entry";
    const std::string bigStream = zlibCompress(big);
    const std::string smallStream = zlibCompress(small);
    const std::string archive = bigStream + smallStream;
    std::vector<std::byte> buffer;
    const Entry bigEntry = lodEntry(0, static_cast<std::int32_t>(big.size()),
                                             static_cast<std::int32_t>(bigStream.size()));
    const Entry smallEntry = lodEntry(static_cast<std::int32_t>(bigStream.size()),
                                               static_cast<std::int32_t>(small.size()),
                                               static_cast<std::int32_t>(smallStream.size()));
    EXPECT_EQ(textOf(entryContent(bytesOf(archive), bigEntry, kLodFormat, buffer)), big);
    EXPECT_EQ(textOf(entryContent(bytesOf(archive), smallEntry, kLodFormat, buffer)), small);
}

TEST(EntryContent, EveryEntryOfAListedArchiveComesOutWholeAndTruncationFailsCleanly) {
    const std::string plain = patterned(700, 5);
    const std::string packed = patterned(900, 6) + std::string(900, 'z');
    const std::string archive =
        LodWriter().add("PLAIN.TXT", plain).add("PACKED.DEF", packed, true).build();
    auto listed = testing::listArchive(kLodFormat, archive);
    const std::vector<Entry>& entries = listed->archive.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(contentOf(archive, entries[0], kLodFormat), plain);
    EXPECT_EQ(contentOf(archive, entries[1], kLodFormat), packed);
    for (std::size_t length = 0; length < archive.size(); ++length) {
        const std::string cut = archive.substr(0, length);
        for (int number : {0, 1}) {
            try {
                entryContent(bytesOf(cut), entries[static_cast<std::size_t>(number)], kLodFormat);
            } catch (const ResourceError& error) {
                EXPECT_TRUE(error.text() == "Read beyond end of file" ||
                            error.text() == "Damaged entry")
                    << error.describe();
            }
        }
    }
}

TEST(EntryContent, PagesGivenBackAfterAnEntryAreReadAgainFromTheFile) {
    const std::string plain = patterned(20000, 8);
    const std::string packed = patterned(30000, 9);
    const std::string bytes =
        LodWriter().add("PLAIN.DEF", plain).add("PACKED.DEF", packed, true).build();
    testing::ScratchFolder scratch;
    scratch.write("game.lod", bytes);
    const ReadOnlyFile file((scratch / "game.lod").string());
    auto listed = testing::listArchive(kLodFormat, bytes);
    for (int round = 0; round < 2; ++round) {
        for (int number : {0, 1}) {
            const Entry& entry = listed->archive.entries()[static_cast<std::size_t>(number)];
            EXPECT_EQ(textOf(entryContent(file.bytes(), entry, kLodFormat)),
                      number == 0 ? plain : packed);
            releaseStoredPages(file.bytes(), entry, kLodFormat);
        }
    }
    releaseStoredPages(file.bytes(), lodEntry(-5, 10), kLodFormat);
    releaseStoredPages(file.bytes(), lodEntry(0, 1 << 30), kLodFormat);
    EXPECT_EQ(textOf(file.bytes()), bytes);
}

TEST(EntryContent, GivingBackPagesStaysInsideTheMappingWhateverTheRange) {
    const std::string bytes = LodWriter().add("BIG.DEF", patterned(300000, 4)).build();
    testing::ScratchFolder scratch;
    scratch.write("game.lod", bytes);
    const ReadOnlyFile file((scratch / "game.lod").string());
    releasePages(file.bytes(), 0, 1);
    releasePages(file.bytes(), 200000, 200001);
    releasePages(file.bytes(), bytes.size(), bytes.size());
    releasePages(file.bytes(), 100, std::size_t{1} << 40);
    EXPECT_EQ(textOf(file.bytes()), bytes);
}

}  // namespace
}  // namespace brasvel
