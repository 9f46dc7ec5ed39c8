// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
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
    return ResourceError::worded("none");
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

TEST(EntryContent, AnOpenArchiveGivesEveryEntryWholeInOnePieceOrInPieces) {
    // Above the one-piece limit, content is read and inflated a piece at a time.
    const std::string small = patterned(30000, 9);
    const std::string big = patterned(kWholeContentLimit + 3 * kContentPiece + 17, 3);
    const std::string bytes = LodWriter()
                                  .add("SMALL.DEF", small, true)
                                  .add("PLAIN.DEF", small)
                                  .add("BIG.DEF", big, true)
                                  .add("BIGPLAIN.DEF", big)
                                  .build();
    testing::ScratchFolder scratch;
    scratch.write("game.lod", bytes);
    const Archive archive = Archive::open((scratch.path() / "game.lod").string(), kLodFormat);
    ASSERT_EQ(archive.entries().size(), 4u);
    ContentBuffers buffers;
    for (std::size_t i = 0; i < 4; ++i) {
        const Entry& entry = archive.entries()[i];
        const std::string& expected = i < 2 ? small : big;
        EXPECT_EQ(textOf(entryContent(archive, entry, buffers)), expected) << entry;
        std::string streamed;
        std::size_t largestPiece = 0;
        streamEntryContent(archive, entry, buffers, [&](Bytes piece) {
            streamed += textOf(piece);
            largestPiece = std::max(largestPiece, piece.size());
        });
        EXPECT_EQ(streamed, expected) << entry;
        EXPECT_LE(largestPiece, i < 2 ? small.size() : kContentPiece) << entry;
    }
}

TEST(EntryContent, AStreamThatStatesMoreThanItHoldsFailsAfterWhatItHolds) {
    // 3 MB of zeros compress to about 3 KB; stated as 2 GB - 1, the ratio alone cannot refuse a
    // stream of this length padded to 2.1 MB, but inflating in pieces stops at its real end.
    std::string stream = zlibCompress(std::string(3 << 20, '\0'));
    stream += std::string(2100000, 'x');  // trailing bytes, past the stream's end
    const std::string bytes = "head" + stream;
    const Archive archive = Archive::fromBytes(
        testing::byteVector(bytes), kLodFormat);
    const Entry entry = lodEntry(4, INT32_MAX, static_cast<std::int32_t>(stream.size()));
    std::size_t received = 0;
    ContentBuffers buffers;
    try {
        streamEntryContent(archive, entry, buffers, [&](Bytes piece) { received += piece.size(); });
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), kDamagedEntry);
        EXPECT_NE(error.detail().find("inflates to 3145728 bytes"), std::string::npos)
            << error.detail();
    }
    EXPECT_EQ(received, std::size_t{3} << 20);
    EXPECT_LE(buffers.content.capacity(), kContentPiece);
}

TEST(EntryContent, EntriesWhoseStoredBytesOverlapInPartAreFoundSharedOnesAreNot) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::int32_t, std::int32_t>> ranges;  // offset, size
        std::vector<std::size_t> expected;
    };
    constexpr std::size_t none = kNoOverlap;
    const Case cases[] = {
        {"apart", {{0, 10}, {10, 10}, {20, 5}}, {none, none, none}},
        {"shared whole", {{0, 10}, {0, 10}, {10, 4}}, {none, none, none}},
        {"in part", {{0, 10}, {5, 10}}, {1, 0}},
        {"inside another", {{0, 20}, {4, 2}, {30, 1}}, {1, 0, none}},
        {"empty inside another", {{0, 20}, {4, 0}}, {none, none}},
        {"outside the archive", {{0, 20}, {10, 1000}}, {none, none}},
        {"after a long one", {{0, 30}, {5, 5}, {20, 20}}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        writers::SndWriter writer;
        for (const auto& [offset, size] : c.ranges) {
            writer.addRaw("S" + std::to_string(offset), offset, size);
        }
        const Archive archive = Archive::fromBytes(
            testing::byteVector(writer.build() + std::string(200, 'b')), kSndFormat);
        EXPECT_EQ(partialOverlaps(archive), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace brasvel
