// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Searching many archives: which archives a folder gives, entries by folded name, lines and bytes
// by content (across the pieces of a large entry), and two archives compared.

#include <gtest/gtest.h>

#include "base/Text.h"
#include "extract/ArchiveDiff.h"
#include "extract/ArchiveSearch.h"
#include "tests/edit/EditFixtures.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel::testing {
namespace {

using writers::LodWriter;
using writers::SndWriter;
using writers::VidWriter;

std::string cp1250(std::string_view utf8) {
    return encodeWindows1250(utf8).value();
}

Archive lodOf(const std::string& bytes, std::string path = "test.lod") {
    return Archive::fromBytes(contentOf(bytes), kLodFormat, std::move(path));
}

TEST(ArchiveSearchFolders, GiveEveryArchiveInsideByNameOrContentAndReportTheRest) {
    Scratch scratch;
    writeText(scratch / "a.lod", LodWriter().add("A.TXT", "a").build());
    writeText(scratch / "b.SND", SndWriter().add("shot", "RIFF").build());
    writeText(scratch / "c.vid", VidWriter().add("intro.smk", "SMK2").build());
    writeText(scratch / "d", LodWriter().add("D.DEF", "d").build());  // known by its bytes
    writeText(scratch / "notes.txt", "not an archive");               // passed over
    writeText(scratch / "tiny", "LO");                                // too short for a count
    writeText(scratch / "e.lod", LodWriter().add("E.PCX", "e").statedCount(3).build());
    fs::create_directory(scratch / "sub.lod");  // folders are passed over
    writeText(scratch / "sub.lod" / "inner.lod", LodWriter().build());

    std::vector<std::string> visited;
    std::vector<std::string> troubles;
    const auto visit = [&](const Archive& archive) {
        visited.push_back(fs::path(archive.path()).filename().string() + ":" +
                          std::string(archive.format().name) + ":" +
                          std::to_string(archive.entries().size()));
    };
    const auto trouble = [&](const SearchTrouble& found) {
        troubles.push_back(fs::path(found.archive).filename().string() + ": " + found.text);
    };
    forEachArchive({scratch.root().string(), (scratch / "notes.txt").string(),
                    (scratch / "missing.lod").string()},
                   visit, trouble);
    EXPECT_EQ(visited, (std::vector<std::string>{"a.lod:lod:1", "b.SND:snd:1", "c.vid:vid:1",
                                                 "d:lod:1", "e.lod:lod:1"}));
    ASSERT_EQ(troubles.size(), 3U);
    EXPECT_EQ(troubles[0].rfind("e.lod: Read beyond end of file", 0), 0U) << troubles[0];
    EXPECT_EQ(troubles[1], "notes.txt: not an archive of a known kind (lod, snd or vid)");
    EXPECT_EQ(troubles[2].rfind("missing.lod: File not found", 0), 0U) << troubles[2];
}

TEST(ArchiveSearchNames, AreMatchedFoldedInAsciiAndPolishLetters) {
    const Archive archive = lodOf(LodWriter()
                                      .add(cp1250("ŻÓŁW.TXT"), "t")
                                      .add("Hero.Def", "h")
                                      .add(cp1250("żółw.pcx"), "p")
                                      .build());
    const auto named = [&](std::string_view wanted) {
        return findEntries(archive, [&](std::string_view folded) {
            return folded.substr(0, wanted.size()) == wanted;
        });
    };
    EXPECT_EQ(named(foldedText(cp1250("ŻóŁw."))), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(named("hero.def"), (std::vector<std::size_t>{1}));
    EXPECT_TRUE(named("HERO").empty());  // the matcher is given folded names only
}

struct GrepCase {
    std::string what;
    std::string entryName;
    std::string content;
    bool compress;
    std::string text;                                        // UTF-8
    std::vector<std::pair<std::size_t, std::string>> found;  // line, text
};

TEST(ArchiveSearchContent, FindsLinesOfTextsAndBytesOfOtherEntries) {
    const std::string polish = cp1250("Zażółć gęślą jaźń\r\nwięcej ZAŻÓŁĆ i zażółć\r\nkoniec");
    const std::vector<GrepCase> cases = {
        {"folded Polish, one report per line, CR cut",
         "ZDANIA.TXT",
         polish,
         true,
         "ZAŻÓŁĆ",
         {{1, "Zażółć gęślą jaźń"}, {2, "więcej ZAŻÓŁĆ i zażółć"}}},
        {"the last line without its line end", "z.txt", polish, false, "KONIEC", {{3, "koniec"}}},
        {"text at the very start and end", "z.Txt", "abc\n\nxyz", false, "xyz", {{3, "xyz"}}},
        {"a text with a line end matches no line", "z.txt", "ab\ncd", false, "b\nc", {}},
        {"an empty text entry", "empty.txt", "", false, "a", {}},
        {"binary: the exact bytes", "HERO.DEF", "\x01\x02hello\x00", true, "hello", {{0, ""}}},
        {"binary: no folding", "HERO.DEF", "HELLO", false, "hello", {}},
        {"binary: a Polish text as Windows-1250 bytes",
         "snd.wav",
         cp1250("xłódźx"),
         false,
         "łódź",
         {{0, ""}}},
        {"binary: one byte short", "a.bin", "hell", false, "hello", {}},
    };
    for (const GrepCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Archive archive = lodOf(LodWriter().add(c.entryName, c.content, c.compress).build());
        const auto search = ContentSearch::forText(c.text);
        ASSERT_TRUE(search.has_value());
        std::vector<std::pair<std::size_t, std::string>> found;
        ContentBuffers buffers;
        search->search(
            archive, archive.entries()[0], buffers,
            [&](const ContentSearch::Match& match) { found.emplace_back(match.line, match.text); });
        EXPECT_EQ(found, c.found);
    }
    EXPECT_FALSE(ContentSearch::forText("").has_value());
    EXPECT_FALSE(ContentSearch::forText("日本").has_value());
}

TEST(ArchiveSearchContent, CountsLinesAndFindsBytesAcrossTheReadingPieces) {
    // Larger than an entry read in one piece: it is read a piece at a time.
    const std::size_t size = kWholeContentLimit + 2 * kContentPiece;
    const std::size_t lineLength = 1000;  // 999 bytes and a line end
    std::string text(size, 'x');
    for (std::size_t end = lineLength - 1; end < size; end += lineLength) {
        text[end] = '\n';
    }
    // A needle astride the first piece's end, on line 1049 (counted from 1).
    const std::size_t at = kContentPiece - 2;
    text.replace(at, 4, "NEED");
    const Archive archive = lodOf(LodWriter().add("BIG.TXT", text).add("BIG.BIN", text).build());
    const auto search = ContentSearch::forText("need");
    ASSERT_TRUE(search.has_value());
    std::vector<std::size_t> lines;
    ContentBuffers buffers;
    search->search(archive, archive.entries()[0], buffers,
                   [&](const ContentSearch::Match& match) { lines.push_back(match.line); });
    EXPECT_EQ(lines, (std::vector<std::size_t>{at / lineLength + 1}));
    const auto exact = ContentSearch::forText("NEED");
    lines.clear();
    exact->search(archive, archive.entries()[1], buffers,
                  [&](const ContentSearch::Match& match) { lines.push_back(match.line); });
    EXPECT_EQ(lines, (std::vector<std::size_t>{0}));
}

TEST(ArchiveDiff, PairsByFoldedNameAndComparesContentNotStorage) {
    const std::string text(3000, 't');
    const Archive a = lodOf(LodWriter()
                                .add("SAME.TXT", "same")
                                .add("STORED.TXT", text, false)  // plain here, packed in B
                                .add("CHANGED.DEF", "old")       // same size, other bytes
                                .add("LONGER.DEF", "old")
                                .add("Case.Pcx", "case")
                                .add("GONE.TXT", "gone")
                                .add("TWICE.TXT", "1")
                                .add("twice.txt", "2")
                                .build(),
                            "a.lod");
    const Archive b = lodOf(LodWriter()
                                .add("NEW.TXT", "new")
                                .add("SAME.TXT", "same")
                                .add("STORED.TXT", text, true)
                                .add("CHANGED.DEF", "new")
                                .add("LONGER.DEF", "older")
                                .add("CASE.PCX", "case")
                                .add("TWICE.TXT", "1")
                                .build(),
                            "b.lod");
    std::vector<std::string> troubles;
    const ArchiveDifference difference =
        compareArchives(a, b, [&](const SearchTrouble& t) { troubles.push_back(t.text); });
    EXPECT_EQ(difference.onlyInA, (std::vector<std::size_t>{5, 7}));
    EXPECT_EQ(difference.onlyInB, (std::vector<std::size_t>{0}));
    EXPECT_EQ(difference.changed,
              (std::vector<std::pair<std::size_t, std::size_t>>{{2, 3}, {3, 4}}));
    EXPECT_EQ(difference.same, 4U);
    EXPECT_TRUE(difference.differs());
    EXPECT_TRUE(troubles.empty());
    const ArchiveDifference none = compareArchives(a, a, [](const SearchTrouble&) {});
    EXPECT_FALSE(none.differs());
    EXPECT_EQ(none.same, a.entries().size());
}

TEST(ArchiveDiff, ReportsAnEntryThatCannotBeReadAndNamesItsArchive) {
    const Archive a = lodOf(LodWriter().add("X.TXT", "plain").build(), "a.lod");
    const Archive b = lodOf(LodWriter().addStored("X.TXT", "not zlib", 5, 8).build(), "b.lod");
    std::vector<SearchTrouble> troubles;
    const ArchiveDifference difference =
        compareArchives(a, b, [&](const SearchTrouble& t) { troubles.push_back(t); });
    EXPECT_EQ(difference.unreadable, 1U);
    EXPECT_FALSE(difference.differs());
    ASSERT_EQ(troubles.size(), 1U);
    EXPECT_EQ(troubles[0].archive, "b.lod");
    EXPECT_EQ(troubles[0].entry, "X.TXT");
}

}  // namespace
}  // namespace brasvel::testing
