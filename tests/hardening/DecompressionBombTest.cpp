// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Compressed entries whose stream inflates far past the size their directory entry states. The
// inflation must stop at the stated size and call the entry damaged, without ever holding more
// than that size in memory, whatever the stream would produce. The window's preview of one is
// checked in window/.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "archive/Layouts.h"
#include "extract/BatchExtractor.h"
#include "extract/EntryContent.h"
#include "tests/hardening/HardeningArchives.h"
#include "tests/hardening/HardeningSupport.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel::hardening {
namespace {

using writers::LodWriter;

Entry compressedEntry(const std::string& stream, std::int32_t size) {
    Entry entry;
    entry.nameField = writers::nameField("BOMB.TXT", layout::kLodNameField);
    entry.offset = 0;
    entry.size = size;
    entry.packedSize = static_cast<std::int32_t>(stream.size());
    kLodFormat.describe(entry);
    return entry;
}

TEST(AZeroStream, InflatesToExactlyItsLengthOfZeros) {
    // Shows that the bombs below are well-formed streams, refused for their size alone.
    for (const std::uint64_t count : {0ULL, 1ULL, 2ULL, 258ULL, 259ULL, 100'000ULL}) {
        const std::string stream = zlibOfZeros(count);
        const auto content = entryContent(
            asBytes(stream), compressedEntry(stream, static_cast<std::int32_t>(count)), kLodFormat);
        EXPECT_EQ(content, std::vector<std::byte>(count)) << count << " zeros";
    }
}

TEST(ADecompressionBomb, StopsAtTheStatedSizeAndIsReportedDamaged) {
    const std::string& bomb = gigabyteBomb();
    std::vector<std::byte> buffer;
    try {
        entryContent(asBytes(bomb), compressedEntry(bomb, 1000), kLodFormat, buffer);
        FAIL() << "a gigabyte of zeros was taken as an entry of 1000 bytes";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), kDamagedEntry);
        EXPECT_NE(error.detail().find("past its size"), std::string::npos) << error.detail();
    }
    EXPECT_LE(buffer.size(), 1000U) << "memory held for the entry stays within its stated size";
}

TEST(ADecompressionBomb, ThatStatesAFewMegabytesHoldsNoMoreThanThose) {
    const std::string& bomb = gigabyteBomb();
    std::vector<std::byte> buffer;
    const std::int32_t size = 4 << 20;
    EXPECT_THROW(entryContent(asBytes(bomb), compressedEntry(bomb, size), kLodFormat, buffer),
                 ResourceError);
    EXPECT_LE(buffer.size(), static_cast<std::size_t>(size));
}

TEST(ADecompressionBomb, IsNotWrittenByTheBatchAndTheErrorNamesIt) {
    const ScratchArea area;
    const std::string& bomb = gigabyteBomb();
    const std::string archive =
        LodWriter()
            .addStored("BOMB.TXT", bomb, 1000, static_cast<std::int32_t>(bomb.size()))
            .add("AFTER.TXT", "after the bomb", true)
            .build();
    const Archive lod = archiveOf(archive, kLodFormat);
    const TargetFolder folder(area.root().string());
    std::vector<ExtractedEntry> outcomes;
    extractEntries(lod, everyIndex(lod), folder, ExtractOptions{},
                   [&](const ExtractedEntry& outcome) {
                       outcomes.push_back(outcome);
                       return true;
                   });

    ASSERT_EQ(outcomes.size(), 2U);
    ASSERT_FALSE(outcomes[0].done());
    EXPECT_EQ(outcomes[0].error->text(), kDamagedEntry);
    EXPECT_EQ(outcomes[0].error->entry(), "BOMB.TXT");
    EXPECT_TRUE(outcomes[1].done());
    EXPECT_EQ(namesIn(area.root()), std::vector<std::string>{"AFTER.TXT"});
}

TEST(ADecompressionBomb, IsListedAsDamagedByTheVerifyCommand) {
    const ScratchArea area;
    const std::string& bomb = gigabyteBomb();
    writeFile(area.root() / "bomb.lod",
              LodWriter()
                  .addStored("BOMB.TXT", bomb, 1000, static_cast<std::int32_t>(bomb.size()))
                  .build());

    const ProgramRun run =
        runProgram({"verify", (area.root() / "bomb.lod").string()}, area.root() / "logs");

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("BOMB.TXT: Damaged entry"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 entries checked, 1 damaged"), std::string::npos) << run.out;
}

TEST(AStatedSizeNoStreamCanReach, IsRefusedBeforeAnyMemoryIsTakenForIt) {
    const std::string stream = zlibOfZeros(1000);
    std::vector<std::byte> buffer;
    EXPECT_THROW(
        entryContent(asBytes(stream), compressedEntry(stream, INT32_MAX), kLodFormat, buffer),
        ResourceError);
    EXPECT_EQ(buffer.capacity(), 0U);
}

}  // namespace
}  // namespace brasvel::hardening
