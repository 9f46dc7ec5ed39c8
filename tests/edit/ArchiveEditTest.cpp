// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// ArchiveEdit: which names are taken, where entries go, what each edit keeps, and round trips of
// every kind through our own readers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "archive/Layouts.h"
#include "base/Text.h"
#include "edit/ArchiveEdit.h"
#include "edit/StoredContent.h"
#include "tests/edit/EditFixtures.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel::testing {
namespace {

using Contents = std::vector<std::pair<std::string, std::string>>;

std::string repeated(std::string_view text, int times) {
    std::string result;
    for (int k = 0; k < times; ++k) {
        result += text;
    }
    return result;
}

Archive saved(const ArchiveEdit& edit, const fs::path& path) {
    EXPECT_TRUE(edit.save(path.string()));
    return Archive::open(path.string(), edit.format());
}

struct NameCase {
    const ArchiveFormat* format;
    std::string name;
    std::string reason;  // empty: accepted
};

TEST(ArchiveEditNames, AreAcceptedOnlyWhenTheyReadBackWholeAndSafe) {
    const std::string ogonek = "\xC5\xBC";  // ż, in Windows-1250 0xBF
    const NameCase cases[] = {
        {&kLodFormat, "ABCDEFGHIJK.PCX", ""},
        {&kLodFormat, "ABCDEFGHIJKL.PCX", "name before the extension too long: 12 bytes, at most 11"},
        {&kLodFormat, "ABCDEFGHIJK", ""},
        {&kLodFormat, "ABCDEFGHIJKL", "name too long: 12 bytes, at most 11"},
        {&kLodFormat, "A.PCXX", "extension too long: 4 bytes, at most 3"},
        {&kLodFormat, "A.B.C", ""},
        {&kLodFormat, ogonek + "ABA.TXT", ""},
        {&kLodFormat, "\xE6\x97\xA5.TXT", "has a character that Windows-1250 cannot write"},
        {&kLodFormat, "\xFF.TXT", "has a character that Windows-1250 cannot write"},
        {&kLodFormat, "", "the name is empty"},
        {&kLodFormat, "..", "names a folder"},
        {&kLodFormat, "A/B.TXT", "contains '/'"},
        {&kLodFormat, "A:B.TXT", "contains ':'"},
        {&kLodFormat, "A\tB.TXT", "control byte 0x09"},
        {&kLodFormat, std::string("A\0B", 3), "control byte 0x00"},
        {&kLodFormat, "taken.txt", "is taken: an entry is named \"TAKEN.TXT\""},
        {&kSndFormat, "ABCDEFGHIJKL", ""},
        {&kSndFormat, "ABCDEFGHIJKLM", "name too long: 13 bytes, at most 12"},
        {&kSndFormat, "TAKEN.TXT", "is taken"},
        {&kVidFormat, std::string(36, 'V') + ".SMK", ""},
        {&kVidFormat, std::string(37, 'V') + ".SMK", "name too long: 41 bytes, at most 40"},
        {&kVidFormat, "\\INTRO.SMK", "contains '\\'"},
    };
    for (const NameCase& test : cases) {
        ArchiveEdit edit(*test.format);
        edit.put("TAKEN.TXT", contentOf("x"));
        const std::optional<NameRefusal> refusal = edit.checkName(test.name);
        const std::optional<std::string> reason =
            refusal ? std::optional(nameRefusalText(*refusal)) : std::nullopt;
        if (test.reason.empty()) {
            EXPECT_EQ(reason, std::nullopt) << test.format->name << " " << test.name;
        } else {
            ASSERT_TRUE(reason) << test.format->name << " " << test.name;
            EXPECT_NE(reason->find(test.reason), std::string::npos) << *reason;
            if (reason->find("is taken") == std::string::npos) {  // put() replaces that one
                EXPECT_THROW(edit.put(test.name, contentOf("y")), ResourceError) << test.name;
            }
            EXPECT_EQ(edit.entries().size(), 1u);
        }
    }
}

// The refusal as data, at the limits' edges, and the sentence the command line prints for it.
TEST(ArchiveEditNames, AreRefusedWithTheReasonItsFiguresAndTheSentence) {
    using Reason = NameRefusalReason;
    struct RefusalCase {
        const ArchiveFormat* format;
        std::string name;
        Reason reason;
        std::size_t length;
        std::size_t most;
        std::string other;
        std::string sentence;
    };
    const RefusalCase cases[] = {
        {&kLodFormat, "", Reason::Empty, 0, 0, "", "the name is empty"},
        {&kLodFormat, "ABCDEFGHIJKL", Reason::TooLong, 12, 11, "",
         "name too long: 12 bytes, at most 11"},
        {&kLodFormat, "ABCDEFGHIJKL.P", Reason::StemTooLong, 12, 11, "",
         "name before the extension too long: 12 bytes, at most 11"},
        {&kLodFormat, "A.PCXX", Reason::ExtensionTooLong, 4, 3, "",
         "extension too long: 4 bytes, at most 3"},
        {&kSndFormat, "ABCDEFGHIJKLM", Reason::TooLong, 13, 12, "",
         "name too long: 13 bytes, at most 12"},
        {&kVidFormat, std::string(37, 'V') + ".SMK", Reason::TooLong, 41, 40, "",
         "name too long: 41 bytes, at most 40"},
        {&kLodFormat, "\xE6\x97\xA5.TXT", Reason::NotWindows1250, 0, 0, "",
         "\"\xE6\x97\xA5.TXT\" has a character that Windows-1250 cannot write"},
        {&kLodFormat, std::string("A\0B", 3), Reason::HasNul, 0, 0, "",
         "the name contains the control byte 0x00"},
        {&kLodFormat, "taken.TXT", Reason::Taken, 0, 0, "TAKEN.TXT",
         "\"taken.TXT\" is taken: an entry is named \"TAKEN.TXT\""},
        {&kLodFormat, "A/B.TXT", Reason::UnsafeFileName, 0, 0, "", "A/B.TXT contains '/'"},
    };
    for (const RefusalCase& test : cases) {
        ArchiveEdit edit(*test.format);
        edit.put("TAKEN.TXT", contentOf("x"));
        const std::optional<NameRefusal> refusal = edit.checkName(test.name);
        ASSERT_TRUE(refusal) << test.name;
        EXPECT_EQ(refusal->reason, test.reason) << test.name;
        EXPECT_EQ(refusal->name, test.name);
        EXPECT_EQ(refusal->length, test.length) << test.name;
        EXPECT_EQ(refusal->most, test.most) << test.name;
        EXPECT_EQ(refusal->other, test.other) << test.name;
        EXPECT_EQ(nameRefusalText(*refusal), test.sentence);
        if (test.reason != Reason::Taken) {  // put() replaces that one
            try {
                edit.put(test.name, contentOf("y"));
                ADD_FAILURE() << test.name;
            } catch (const ResourceError& error) {
                EXPECT_EQ(error.kind(), ErrorKind::NameRefused);
                EXPECT_EQ(error.detail(), test.sentence);
            }
        }
    }
    // One byte under each limit passes.
    EXPECT_EQ(ArchiveEdit(kLodFormat).checkName("ABCDEFGHIJK.PCX"), std::nullopt);
    EXPECT_EQ(ArchiveEdit(kSndFormat).checkName("ABCDEFGHIJKL"), std::nullopt);
}

TEST(ArchiveEditNames, CollideCaseInsensitivelyAlsoInAccentedLetters) {
    ArchiveEdit edit(kLodFormat);
    edit.put("\xC5\xBB" "ABA.TXT", contentOf("upper"));  // Żaba
    EXPECT_TRUE(edit.checkName("\xC5\xBC" "aba.txt"));
    // Putting under the other case replaces the entry, which keeps its own name.
    edit.put("\xC5\xBC" "aba.txt", contentOf("lower"));
    ASSERT_EQ(edit.entries().size(), 1u);
    EXPECT_EQ(editName(edit.entries()[0]), "\xC5\xBB" "ABA.TXT");
    // A rename to its own name in another case is no collision.
    EXPECT_EQ(edit.checkName("\xC5\xBC" "ABA.txt", 0), std::nullopt);
}

// An archive may hold names that differ only in case (our writer refuses to make one, others
// did not): the exact name wins, one entry in another case is found, several are refused by name.
TEST(ArchiveEditNames, AnExactMatchWinsAndSeveralInOtherCasesAreAmbiguous) {
    const Archive archive = Archive::fromBytes(contentOf(writers::LodWriter()
                                                             .add("A.TXT", "upper")
                                                             .add("a.txt", "lower")
                                                             .add("a.Txt", "mixed")
                                                             .add("B.TXT", "bee")
                                                             .build()),
                                               kLodFormat);
    struct Case {
        std::string name;
        std::optional<std::size_t> found;
        std::string ambiguity;  // empty: no refusal
    };
    const Case cases[] = {
        {"A.TXT", 0, ""},
        {"a.txt", 1, ""},
        {"a.Txt", 2, ""},
        {"b.txt", 3, ""},
        {"B.TXT", 3, ""},
        {"A.txt", std::nullopt,
         "\"A.txt\" names \"A.TXT\", \"a.txt\" and \"a.Txt\", which differ only in case"},
        {"C.TXT", std::nullopt, ""},
    };
    ArchiveEdit edit(archive);
    for (const Case& c : cases) {
        if (c.ambiguity.empty()) {
            EXPECT_EQ(edit.find(c.name), c.found) << c.name;
            continue;
        }
        try {
            (void)edit.find(c.name);
            ADD_FAILURE() << c.name << " was not refused";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), kAmbiguousName) << c.name;
            EXPECT_EQ(error.detail(), c.ambiguity);
            EXPECT_EQ(error.entry(), c.name);
        }
        // Adding under it is refused too, and changes nothing.
        EXPECT_THROW(edit.put(c.name, contentOf("new")), ResourceError) << c.name;
        EXPECT_FALSE(edit.hasChanges()) << c.name;
    }
    // Putting under an exact name replaces that entry alone.
    edit.put("a.txt", contentOf("replaced"));
    EXPECT_EQ(textOfBytes(edit.content(1)), "replaced");
    EXPECT_EQ(textOfBytes(edit.content(0)), "upper");
    EXPECT_EQ(textOfBytes(edit.content(2)), "mixed");
}

struct KindCase {
    const ArchiveFormat* format;
    Contents entries;  // in the order put
    std::vector<std::string> directory;  // the order they read back in
};

TEST(ArchiveEditRoundTrip, GivesBackEveryEntryAndRewritesIdentically) {
    Scratch scratch;
    const std::string text = repeated("a line of text that compresses well\n", 200);
    const KindCase cases[] = {
        {&kLodFormat,
         {{"zeta.txt", text}, {"Alpha.PCX", "short"}, {"EMPTY.DEF", ""}, {"beta.msk", text + "x"}},
         {"Alpha.PCX", "beta.msk", "EMPTY.DEF", "zeta.txt"}},
        {&kSndFormat,
         {{"ZETA", text}, {"alpha", "RIFF"}, {"EMPTY", ""}},
         {"ZETA", "alpha", "EMPTY"}},
        {&kVidFormat,
         {{"ZETA.SMK", text}, {std::string(36, 'L') + ".BIK", "bik"}, {"LAST.SMK", ""}},
         {"ZETA.SMK", std::string(36, 'L') + ".BIK", "LAST.SMK"}},
    };
    for (const KindCase& test : cases) {
        SCOPED_TRACE(test.format->name);
        ArchiveEdit edit(*test.format);
        for (const auto& [name, content] : test.entries) {
            edit.put(name, contentOf(content));
        }
        const fs::path first = scratch / ("first" + std::string(test.format->suffix));
        const fs::path second = scratch / ("second" + std::string(test.format->suffix));
        ASSERT_TRUE(edit.save(first.string()));
        const Contents back = readBack(first, *test.format);
        ASSERT_EQ(back.size(), test.directory.size());
        for (std::size_t k = 0; k < back.size(); ++k) {
            EXPECT_EQ(back[k].first, test.directory[k]);
            const auto put = std::find_if(test.entries.begin(), test.entries.end(),
                                          [&](const auto& e) { return e.first == back[k].first; });
            EXPECT_EQ(back[k].second, put->second) << back[k].first;
        }
        const Archive archive = Archive::open(first.string(), *test.format);
        ASSERT_TRUE(ArchiveEdit(archive).save(second.string()));
        EXPECT_EQ(readText(first), readText(second));
    }
}

TEST(ArchiveEditLod, LaysOutANewArchiveAsTheGameDoes) {
    Scratch scratch;
    const std::string text = repeated("sprite rows ", 500);
    ArchiveEdit edit(kLodFormat);
    edit.put("B.TXT", contentOf(text));
    edit.put("a.txt", contentOf("tiny"));
    const Archive archive = saved(edit, scratch / "new.lod");
    const std::string bytes = readText(scratch / "new.lod");
    EXPECT_EQ(bytes.substr(0, 4), std::string("LOD\0", 4));
    EXPECT_EQ(loadU32(archive.bytes().data() + 4), 200u);
    const std::uint64_t room = layout::kLodFirstRow + layout::kLodReservedRows * layout::kLodRowSize;
    EXPECT_EQ(bytes.find_first_not_of('\0', layout::kLodFirstRow + 2 * layout::kLodRowSize), room);
    ASSERT_EQ(archive.entries().size(), 2u);
    const Entry& small = archive.entries()[0];
    const Entry& big = archive.entries()[1];
    EXPECT_EQ(small.caption, "a.txt");
    EXPECT_EQ(small.packedSize, 0);  // compressing would not make it smaller
    EXPECT_EQ(static_cast<std::uint64_t>(small.offset), room);
    EXPECT_GT(big.packedSize, 0);
    EXPECT_LT(big.packedSize, big.size);

    SaveOptions store;
    store.compress = false;
    ASSERT_TRUE(ArchiveEdit(archive).save((scratch / "kept.lod").string(), store));
    // Unchanged entries keep their stored bytes: the compressed one stays compressed.
    const Archive kept = Archive::open((scratch / "kept.lod").string(), kLodFormat);
    EXPECT_EQ(kept.entries()[1].packedSize, big.packedSize);
    ArchiveEdit plain(kLodFormat);
    plain.put("B.TXT", contentOf(text));
    ASSERT_TRUE(plain.save((scratch / "plain.lod").string(), store));
    EXPECT_EQ(Archive::open((scratch / "plain.lod").string(), kLodFormat).entries()[0].packedSize,
              0);
}

TEST(ArchiveEditLod, KeepsWhatItDoesNotChange) {
    Scratch scratch;
    // Written by another writer: unsorted, no reserved room, type words of its own, a header
    // with bytes of its own.
    std::string original = writers::LodWriter()
                               .add("ZZ.PCX", "picture one")
                               .add("AA.TXT", repeated("text ", 100), true)
                               .add("MM.PCX", "picture two")
                               .build();
    original[40] = 'H';
    original[24 + 92] = 7;  // ZZ.PCX's type word
    original[24 + 92 + 64] = 7;  // MM.PCX's
    writeText(scratch / "old.lod", original);
    const Archive archive = Archive::open((scratch / "old.lod").string(), kLodFormat);
    ArchiveEdit edit(archive);
    edit.put("NEW.PCX", contentOf("picture three"));
    edit.put("aa.txt", contentOf("replaced"));
    edit.rename(*edit.find("MM.PCX"), "BB.PCX");
    const Archive result = saved(edit, scratch / "old.lod");

    const std::string bytes = readText(scratch / "old.lod");
    EXPECT_EQ(bytes.substr(0, 92).substr(12), original.substr(12, 80));  // header kept
    ASSERT_EQ(result.entries().size(), 4u);
    // An unsorted directory keeps its order; new entries go to the end.
    EXPECT_EQ(result.entries()[0].caption, "ZZ.PCX");
    EXPECT_EQ(result.entries()[1].caption, "AA.TXT");  // replaced: keeps its name
    EXPECT_EQ(result.entries()[2].caption, "BB.PCX");  // renamed in place
    EXPECT_EQ(result.entries()[3].caption, "NEW.PCX");
    EXPECT_EQ(result.entries()[0].type, 7);
    EXPECT_EQ(result.entries()[2].type, 7);
    EXPECT_EQ(result.entries()[3].type, 7);  // copied from the other pictures
    EXPECT_EQ(textOfBytes(entryContent(result, result.entries()[1])), "replaced");
    EXPECT_EQ(textOfBytes(entryContent(result, result.entries()[2])), "picture two");
    // No room was reserved; the rows that no longer fit move the data.
    EXPECT_EQ(result.entries()[0].offset, 92 + 4 * 32);
}

// What the window lists and previews before saving: each entry's content as it will be saved,
// and whether it differs from the archive as opened.
TEST(ArchiveEditPending, GivesEachEntrysContentAndWhetherItChangedBeforeSaving) {
    Scratch scratch;
    writeText(scratch / "old.lod", writers::LodWriter()
                                       .add("KEPT.TXT", repeated("kept ", 50), true)
                                       .add("NAMED.TXT", "renamed")
                                       .add("SWAP.TXT", "old content")
                                       .build());
    writeText(scratch / "in.txt", "from a file");
    const Archive archive = Archive::open((scratch / "old.lod").string(), kLodFormat);
    ArchiveEdit edit(archive);
    edit.rename(*edit.find("NAMED.TXT"), "OTHER.TXT");
    edit.put("SWAP.TXT", contentOf("new content"));
    edit.putFile("FILE.TXT", (scratch / "in.txt").string());

    struct Expected {
        const char* name;
        std::string content;
        bool changed;
    };
    const Expected expected[] = {
        {"KEPT.TXT", repeated("kept ", 50), false},  // inflated from the archive
        {"OTHER.TXT", "renamed", true},
        {"SWAP.TXT", "new content", true},
        {"FILE.TXT", "from a file", true},
    };
    for (const Expected& entry : expected) {
        SCOPED_TRACE(entry.name);
        const std::size_t index = *edit.find(entry.name);
        EXPECT_EQ(textOfBytes(edit.content(index)), entry.content);
        EXPECT_EQ(edit.isChanged(index), entry.changed);
    }
    // A file that went away is named when its content is asked for.
    fs::remove(scratch / "in.txt");
    try {
        edit.content(*edit.find("FILE.TXT"));
        FAIL() << "read a file that is gone";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.entry(), "FILE.TXT");
    }
    EXPECT_THROW(edit.content(99), ResourceError);
    EXPECT_FALSE(edit.isChanged(99));
}

TEST(ArchiveEditLod, KeepsASortedDirectorySortedAndItsRoom) {
    Scratch scratch;
    ArchiveEdit first(kLodFormat);
    for (const char* name : {"b.def", "D.DEF", "f.def"}) {
        first.put(name, contentOf(name));
    }
    const Archive archive = saved(first, scratch / "s.lod");
    ArchiveEdit edit(archive);
    edit.put("C.DEF", contentOf("c"));
    edit.put("a.def", contentOf("a"));
    edit.rename(*edit.find("f.def"), "0.def");
    edit.remove(*edit.find("D.DEF"));
    std::vector<std::string> names;
    for (const Entry& entry : edit.entries()) {
        names.push_back(editName(entry));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"0.def", "a.def", "b.def", "C.DEF"}));
    const Archive result = saved(edit, scratch / "s.lod");
    // The room stays: the data start where they started.
    const auto firstData = [](const Archive& a) {
        return std::min_element(a.entries().begin(), a.entries().end(),
                                [](const Entry& x, const Entry& y) { return x.offset < y.offset; })
            ->offset;
    };
    EXPECT_EQ(firstData(result), firstData(archive));
    EXPECT_EQ(readBack(scratch / "s.lod", kLodFormat),
              (Contents{{"0.def", "f.def"}, {"a.def", "a"}, {"b.def", "b.def"}, {"C.DEF", "c"}}));
}

TEST(ArchiveEditSnd, NewFieldsFollowTheFieldsPattern) {
    Scratch scratch;
    // Fields that carry 0xCD after their NUL.
    const auto field = [](std::string_view name) {
        return std::string(name) + '\0' + std::string(39 - name.size(), '\xCD');
    };
    std::string original = writers::SndWriter().add("ONE", "1111").add("THREE", "333").build();
    original.replace(4, 40, field("ONE"));
    original.replace(4 + 48, 40, field("THREE"));
    writeText(scratch / "s.snd", original);
    ArchiveEdit edit(Archive::open((scratch / "s.snd").string(), kSndFormat));
    edit.put("TWO", contentOf("22"));
    const Archive result = saved(edit, scratch / "s.snd");
    ASSERT_EQ(result.entries().size(), 3u);
    EXPECT_EQ(result.entries()[0].nameField, field("ONE"));
    EXPECT_EQ(result.entries()[2].nameField, field("TWO"));

    // Fields that disagree after their NUL give new fields of zeros.
    original.replace(4 + 48 + 30, 1, "X");
    writeText(scratch / "d.snd", original);
    ArchiveEdit mixed(Archive::open((scratch / "d.snd").string(), kSndFormat));
    mixed.put("TWO", contentOf("22"));
    EXPECT_EQ(saved(mixed, scratch / "d.snd").entries()[2].nameField, std::string("TWO") +
                                                                          std::string(37, '\0'));
}

TEST(ArchiveEditVid, LaysDataInDirectoryOrderAndRefusesAnEmptyEntryBeforeOthers) {
    Scratch scratch;
    ArchiveEdit edit(kVidFormat);
    edit.put("A.SMK", contentOf("aaaa"));
    edit.put("B.SMK", contentOf("bb"));
    const Archive archive = saved(edit, scratch / "v.vid");
    ArchiveEdit replace(archive);
    replace.put("a.smk", contentOf("a much longer video"));
    saved(replace, scratch / "v.vid");
    EXPECT_EQ(readBack(scratch / "v.vid", kVidFormat),
              (Contents{{"A.SMK", "a much longer video"}, {"B.SMK", "bb"}}));

    ArchiveEdit empty(kVidFormat);
    empty.put("E.SMK", {});
    empty.put("F.SMK", contentOf("f"));
    try {
        empty.save((scratch / "e.vid").string());
        FAIL() << "an empty entry before another was written";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.entry(), "E.SMK");
    }
    EXPECT_FALSE(fs::exists(scratch / "e.vid"));
}

TEST(ArchiveEditOpen, RefusesAnArchiveWhoseDirectoryEndsEarly) {
    const std::string cut = writers::SndWriter().add("ONE", "1").add("TWO", "2").build();
    const Archive archive =
        Archive::fromBytes(contentOf(cut.substr(0, 4 + 48 + 10)), kSndFormat, "cut.snd");
    EXPECT_THROW(ArchiveEdit{archive}, ResourceError);
}

TEST(ArchiveEditOpen, NamesTheEntryWhoseBytesLieOutsideTheArchive) {
    Scratch scratch;
    writeText(scratch / "bad.lod",
              writers::LodWriter().add("GOOD.TXT", "good").addRaw("BAD.TXT", 9999, 5, 0).build());
    const std::string before = readText(scratch / "bad.lod");
    ArchiveEdit edit(Archive::open((scratch / "bad.lod").string(), kLodFormat));
    edit.put("NEW.TXT", contentOf("new"));
    try {
        edit.save((scratch / "bad.lod").string());
        FAIL() << "saved an entry outside the archive";
    } catch (const DamagedEntriesRefused& error) {
        EXPECT_EQ(error.names(), std::vector<std::string>{"BAD.TXT"});
    }
    EXPECT_EQ(readText(scratch / "bad.lod"), before);
    // Removing the damaged entry lets the rest be saved.
    edit.remove(*edit.find("BAD.TXT"));
    saved(edit, scratch / "bad.lod");
    EXPECT_EQ(readBack(scratch / "bad.lod", kLodFormat),
              (Contents{{"GOOD.TXT", "good"}, {"NEW.TXT", "new"}}));
}

// An archive with damaged entries is saved only as the user chooses: refused by default, nothing
// written; the damaged ones kept as stored or left out, the good ones always whole.
TEST(ArchiveEditDamaged, AreRefusedKeptAsStoredOrLeftOut) {
    Scratch scratch;
    // TAIL.TXT will reach 3 bytes past the end of the file; NEG.TXT has a negative offset; ZIP.TXT
    // is a stream that is not zlib (found only when read, and marked then).
    const std::string original = writers::LodWriter()
                                     .add("GOOD.TXT", "good")
                                     .addStored("ZIP.TXT", "not zlib", 50, 8)
                                     .addRaw("NEG.TXT", -4, 5, 0)
                                     .add("TAIL.TXT", "tail")
                                     .build();
    struct Case {
        DamagedEntries damaged;
        bool saved;
        Contents readable;               // entries that read back whole
        std::vector<std::string> names;  // every entry's name, in order
    };
    const Case cases[] = {
        {DamagedEntries::Refuse, false, {}, {}},
        {DamagedEntries::Drop,
         true,
         {{"GOOD.TXT", "good"}, {"NEW.TXT", "new"}},
         {"GOOD.TXT", "NEW.TXT"}},
        {DamagedEntries::Keep,
         true,
         {{"GOOD.TXT", "good"}, {"NEW.TXT", "new"}},
         {"GOOD.TXT", "NEG.TXT", "NEW.TXT", "TAIL.TXT", "ZIP.TXT"}},
    };
    for (const Case& c : cases) {
        std::string damaged = original;
        // TAIL.TXT's size (row 3, +20) from 4 to 7: its bytes reach past the end of the file.
        damaged[92 + 3 * 32 + 20] = '\x07';
        writeText(scratch / "d.lod", damaged);
        const Archive archive = Archive::open((scratch / "d.lod").string(), kLodFormat);
        ArchiveEdit edit(archive);
        ASSERT_EQ(edit.damagedEntries(), (std::vector<std::size_t>{2, 3})) << "rows NEG, TAIL";
        edit.markDamaged(1, "Damaged entry (not zlib)");
        edit.put("GOOD.TXT", contentOf("good"));  // new content: no longer damaged
        EXPECT_EQ(edit.damage(0), std::nullopt);
        edit.put("NEW.TXT", contentOf("new"));
        EXPECT_EQ(edit.damagedEntries().size(), 3u);
        SaveOptions options;
        options.damaged = c.damaged;
        if (!c.saved) {
            try {
                edit.save((scratch / "d.lod").string(), options);
                ADD_FAILURE() << "saved without being told what to do with damaged entries";
            } catch (const DamagedEntriesRefused& error) {
                EXPECT_EQ(error.names(),
                          (std::vector<std::string>{"ZIP.TXT", "NEG.TXT", "TAIL.TXT"}));
                EXPECT_EQ(error.detail(), "ZIP.TXT, NEG.TXT, TAIL.TXT");
            }
            EXPECT_EQ(readText(scratch / "d.lod"), damaged);
            continue;
        }
        ASSERT_TRUE(edit.save((scratch / "d.lod").string(), options));
        const Archive back = Archive::open((scratch / "d.lod").string(), kLodFormat);
        std::vector<std::string> names;
        for (const Entry& entry : back.entries()) {
            names.push_back(editName(entry));
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.names);
        for (const auto& [name, content] : c.readable) {
            const auto found = std::find_if(back.entries().begin(), back.entries().end(),
                                            [&](const Entry& e) { return editName(e) == name; });
            ASSERT_NE(found, back.entries().end()) << name;
            EXPECT_EQ(textOfBytes(entryContent(back, *found)), content) << name;
        }
        if (c.damaged == DamagedEntries::Keep) {
            // Kept as stored: the stream's bytes and the rows' stated sizes, the bytes that were
            // there of TAIL.TXT.
            for (const Entry& entry : back.entries()) {
                if (editName(entry) == "ZIP.TXT") {
                    EXPECT_EQ(entry.packedSize, 8);
                    EXPECT_EQ(entry.size, 50);
                    EXPECT_EQ(textOfBytes(
                                  std::vector<std::byte>(back.bytes().begin() + entry.offset,
                                                         back.bytes().begin() + entry.offset + 8)),
                              "not zlib");
                }
                if (editName(entry) == "TAIL.TXT") {
                    EXPECT_EQ(entry.size, 7);
                }
            }
        }
    }
}

TEST(ArchiveEditFiles, ReadsFilesWhenSavingAndNamesAMissingOne) {
    Scratch scratch;
    writeText(scratch / "in.txt", "from a file");
    ArchiveEdit edit(kLodFormat);
    EXPECT_THROW(edit.putFile("MISSING.TXT", (scratch / "missing.txt").string()), ResourceError);
    EXPECT_THROW(edit.putFile("FOLDER.TXT", scratch.root().string()), ResourceError);
    edit.putFile("IN.TXT", (scratch / "in.txt").string());
    EXPECT_EQ(edit.entries()[0].size, 11);
    EXPECT_TRUE(edit.isNew(0));
    fs::remove(scratch / "in.txt");
    try {
        edit.save((scratch / "f.lod").string());
        FAIL() << "saved without its input";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.entry(), "IN.TXT");
        EXPECT_NE(error.describe().find("in.txt"), std::string::npos);
    }
    EXPECT_EQ(scratch.names(), (std::set<std::string>{}));
}

// Compressed on four threads, written in order; a file that fails in the middle is named.
TEST(ArchiveEditFiles, ManyEntriesOnSeveralThreadsComeBackInOrder) {
    Scratch scratch;
    ArchiveEdit edit(kLodFormat);
    Contents expected;
    for (int k = 0; k < 300; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "E%04d.TXT", k);
        const std::string content = repeated(name, k % 50);
        writeText(scratch / name, content);
        edit.putFile(name, (scratch / name).string());
        expected.emplace_back(name, content);
    }
    SaveOptions options;
    options.threads = 4;
    ASSERT_TRUE(edit.save((scratch / "many.lod").string(), options));
    EXPECT_EQ(readBack(scratch / "many.lod", kLodFormat), expected);

    fs::remove(scratch / "E0150.TXT");
    try {
        edit.save((scratch / "many.lod").string(), options);
        FAIL() << "saved without an input";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.entry(), "E0150.TXT");
    }
    EXPECT_EQ(readBack(scratch / "many.lod", kLodFormat), expected);
}

// Bytes that no compressor shortens, the same on every run.
std::string noise(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1664525U + 1013904223U;
        c = static_cast<char>(seed >> 24);
    }
    return bytes;
}

TEST(ArchiveEditFiles, LargeFilesAreStreamedWholeWithNothingAfterTheirBytes) {
    Scratch scratch;
    const std::size_t limit = kStreamedAbove;
    const struct {
        const char* what;
        std::string content;
        bool compress;
        const ArchiveFormat& format;
        bool packed;  // whether the entry comes out compressed
    } cases[] = {
        {"text at the limit, read whole", std::string(limit, 'y'), true, kLodFormat, true},
        {"text one past the limit, streamed", std::string(limit + 1, 'x'), true, kLodFormat, true},
        {"noise one past the limit: the stream is no shorter", noise(limit + 1, 7), true,
         kLodFormat, false},
        {"noise at the limit, read whole", noise(limit, 3), true, kLodFormat, false},
        {"text one past the limit, stored", std::string(limit + 1, 'z'), false, kLodFormat, false},
        {"a sound one past the limit", noise(limit + 1, 9), true, kSndFormat, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool sound = &c.format == &kSndFormat;
        writeText(scratch / "BIG.TXT", c.content);
        ArchiveEdit edit(c.format);
        const std::string big = sound ? "BIG" : "BIG.TXT";
        const std::string after = sound ? "ZZ" : "ZZ.TXT";
        edit.putFile(big, (scratch / "BIG.TXT").string());
        edit.put(after, contentOf("after"));
        SaveOptions options;
        options.compress = c.compress;
        options.threads = 2;
        const fs::path archive = scratch / "big.archive";
        ASSERT_TRUE(edit.save(archive.string(), options));
        EXPECT_EQ(readBack(archive, c.format), (Contents{{big, c.content}, {after, "after"}}));
        const Archive reopened = Archive::open(archive.string(), c.format);
        std::uint64_t dataEnd = 0;
        for (const Entry& entry : reopened.entries()) {
            const auto stored = entry.packedSize > 0 ? entry.packedSize : entry.size;
            dataEnd = std::max<std::uint64_t>(dataEnd, static_cast<std::uint64_t>(entry.offset) +
                                                           static_cast<std::uint64_t>(stored));
        }
        EXPECT_EQ(reopened.entries()[0].packedSize > 0, c.packed);
        EXPECT_EQ(fs::file_size(archive), dataEnd);
    }
}

TEST(ContentPipeline, HoldsNoMoreThanItsBudgetAndMakesALargerItemAlone) {
    const struct {
        std::vector<std::uint64_t> costs;
        std::uint64_t budget;
        std::uint64_t mostHeld;
        bool exactly;  // an item beyond the budget: held alone, so the most is exactly its cost
    } cases[] = {
        {{10, 10, 10, 10, 10, 10, 10, 10}, 30, 30, false},
        {{10, 50, 10, 200, 10, 10}, 60, 200, true},
        {{5, 5, 5}, 0, 5, true},  // no budget: one at a time, and still every one made
        {{}, 10, 0, true},
    };
    for (const auto& c : cases) {
        ContentPipeline pipeline(
            c.costs.size(), 4,
            [](std::size_t item) {
                StoredContent made;
                made.size = static_cast<std::int32_t>(item);
                return made;
            },
            [&](std::size_t item) { return c.costs[item]; }, c.budget);
        for (std::size_t item = 0; item < c.costs.size(); ++item) {
            EXPECT_EQ(pipeline.take(item).size, static_cast<std::int32_t>(item));
        }
        if (c.exactly) {
            EXPECT_EQ(pipeline.mostHeld(), c.mostHeld) << c.budget;
        } else {
            EXPECT_LE(pipeline.mostHeld(), c.mostHeld) << c.budget;
        }
    }
}

}  // namespace
}  // namespace brasvel::testing
