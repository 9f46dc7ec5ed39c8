// Compressed entries whose stream inflates far past the size their directory entry states. The
// inflation must stop at the stated size and call the entry damaged, without ever holding more
// than that size in memory, whatever the stream would produce.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/DirectoryReaders.h"
#include "extract/BatchExtractor.h"
#include "extract/EntryContent.h"
#include "tests/hardening/HardeningSupport.h"
#include "tests/window/FakeWavePlayer.h"
#include "toolkit/HeadlessToolkit.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/MainForm.h"

namespace brasvel::hardening {
namespace {

using writers::LodWriter;

// Deflate bits go out least significant first; Huffman codes most significant bit first.
class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bit((value >> i) & 1U);
        }
    }
    void code(std::uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i) {
            bit((code >> i) & 1U);
        }
    }
    std::string finish() {
        if (used_ > 0) {
            out_ += static_cast<char>(current_);
        }
        current_ = 0;
        used_ = 0;
        return std::move(out_);
    }

private:
    void bit(std::uint32_t value) {
        current_ |= static_cast<unsigned>(value << used_);
        if (++used_ == 8) {
            out_ += static_cast<char>(current_);
            current_ = 0;
            used_ = 0;
        }
    }
    std::string out_;
    unsigned current_ = 0;
    int used_ = 0;
};

// A zlib stream that inflates to `count` zero bytes: one block of fixed codes holding a literal
// zero and then copies of 258 bytes at distance 1, about 13 bits per 258 bytes. It is made
// directly, since compressing a gigabyte of zeros would need the gigabyte first.
std::string zlibOfZeros(std::uint64_t count) {
    std::string stream = "\x78\x01";  // deflate, 32 KiB window, no dictionary, fastest
    BitWriter writer;
    writer.bits(1, 1);  // the final block
    writer.bits(1, 2);  // fixed Huffman codes
    std::uint64_t left = count;
    if (left > 0) {
        writer.code(0x30, 8);  // literal 0
        --left;
    }
    for (; left >= 258; left -= 258) {
        writer.code(0xC5, 8);  // length code 285: 258 bytes
        writer.code(0, 5);     // distance code 0: distance 1
    }
    for (; left > 0; --left) {
        writer.code(0x30, 8);
    }
    writer.code(0, 7);  // end of block
    stream += writer.finish();
    // Adler-32 of zeros: the first sum stays 1, the second adds 1 per byte.
    const auto adler = static_cast<std::uint32_t>((count % 65521) << 16 | 1);
    for (int shift = 24; shift >= 0; shift -= 8) {
        stream += static_cast<char>((adler >> shift) & 0xFF);
    }
    return stream;
}

constexpr std::uint64_t kGigabyte = std::uint64_t{1} << 30;

// A gigabyte of zeros, made once for all the tests.
const std::string& gigabyteBomb() {
    static const std::string bomb = zlibOfZeros(kGigabyte);
    return bomb;
}

CatalogueEntry compressedEntry(const std::string& stream, std::int32_t size) {
    CatalogueEntry entry;
    entry.Name = "BOMB";
    entry.Ext = "TXT";
    entry.Offset = 0;
    entry.Size = size;
    entry.PackedSize = static_cast<std::int32_t>(stream.size());
    return entry;
}

TEST(AZeroStream, InflatesToExactlyItsLengthOfZeros) {
    // Shows that the bombs below are well-formed streams, refused for their size alone.
    for (const std::uint64_t count : {0ULL, 1ULL, 2ULL, 258ULL, 259ULL, 100'000ULL}) {
        const std::string stream = zlibOfZeros(count);
        const auto content =
            entryContent(asBytes(stream), compressedEntry(stream, static_cast<std::int32_t>(count)),
                         ArchiveKind::Lod);
        EXPECT_EQ(content, std::vector<std::byte>(count)) << count << " zeros";
    }
}

TEST(ADecompressionBomb, StopsAtTheStatedSizeAndIsReportedDamaged) {
    const std::string& bomb = gigabyteBomb();
    std::vector<std::byte> buffer;
    try {
        entryContent(asBytes(bomb), compressedEntry(bomb, 1000), ArchiveKind::Lod, buffer);
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
    EXPECT_THROW(entryContent(asBytes(bomb), compressedEntry(bomb, size), ArchiveKind::Lod, buffer),
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
    const auto model = CatalogueModel::create();
    HeadlessToolkit ui;
    readLodDirectory(*model, ui, asBytes(archive));
    const TargetFolder folder(area.root().string());
    std::vector<ExtractedRow> rows;
    extractView(ExtractSource{asBytes(archive), *model, ArchiveKind::Lod}, folder, ExtractOptions{},
                [&](const ExtractedRow& row) {
                    rows.push_back(row);
                    return true;
                });

    ASSERT_EQ(rows.size(), 2U);
    ASSERT_FALSE(rows[0].done());
    EXPECT_EQ(rows[0].error->text(), kDamagedEntry);
    EXPECT_EQ(rows[0].error->entry(), "BOMB.TXT");
    EXPECT_TRUE(rows[1].done());
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

TEST(ADecompressionBomb, InTheWindowsPreviewIsReportedAndShowsNothing) {
    const ScratchArea area;
    const std::string& bomb = gigabyteBomb();
    writeFile(area.root() / "bomb.lod",
              LodWriter()
                  .addStored("BOMB.PCX", bomb, 1000, static_cast<std::int32_t>(bomb.size()))
                  .build());
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form(ui, player);
    form.FormCreate("", (area.root() / "bomb.lod").string());
    form.BitBtn3Click();

    ASSERT_EQ(ui.errors.size(), 1U);
    EXPECT_NE(ui.errors[0].find(kDamagedEntry), std::string::npos) << ui.errors[0];
    EXPECT_EQ(ui.pictureLoads, 0);
}

TEST(AStatedSizeNoStreamCanReach, IsRefusedBeforeAnyMemoryIsTakenForIt) {
    const std::string stream = zlibOfZeros(1000);
    std::vector<std::byte> buffer;
    EXPECT_THROW(
        entryContent(asBytes(stream), compressedEntry(stream, INT32_MAX), ArchiveKind::Lod, buffer),
        ResourceError);
    EXPECT_EQ(buffer.capacity(), 0U);
}

}  // namespace
}  // namespace brasvel::hardening
