// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/TypeItems.h"

#include <gtest/gtest.h>

#include <cctype>

#include "archive/Directory.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

using writers::asBytes;

std::vector<Entry> entriesOf(const ArchiveFormat& format, const std::string& archive) {
    return readDirectory(format, asBytes(archive)).entries;
}

TEST(TypeView, everyItemKeepsItsExactLowerAndUpperCaseExtensionInDirectoryOrder) {
    writers::LodWriter writer;
    for (int item = 1; item < kTypeItemCount; ++item) {
        const std::string ext(kTypeItems[static_cast<std::size_t>(item)].ext);
        std::string upper = ext;
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        writer.add("a." + ext, "").add("B." + upper, "").add("c." + upper.substr(0, 1) + ext.substr(1), "");
    }
    writer.add("NODOT", "");
    const std::vector<Entry> entries = entriesOf(kLodFormat, writer.build());
    for (int item = 1; item < kTypeItemCount; ++item) {
        const TypeView view = viewOfType(entries, item);
        const std::size_t first = static_cast<std::size_t>(item - 1) * 3;
        EXPECT_EQ(view.entries, (std::vector<std::size_t>{first, first + 1})) << item;
        const int image = kTypeItems[static_cast<std::size_t>(item)].image;
        EXPECT_EQ(view.images, (std::vector<int>{image, image})) << item;
    }
    const TypeView all = viewOfType(entries, 0);
    EXPECT_EQ(all.entries.size(), entries.size());
    // "*.*" gives every extension its icon, msg included, and mixed case none.
    EXPECT_EQ(all.images[33], kImageMsg);
    EXPECT_EQ(all.images[35], kImageNone);
    EXPECT_EQ(all.images.back(), kImageNone);
    EXPECT_TRUE(viewOfType(entries, -1).entries.empty());
    EXPECT_TRUE(viewOfType(entries, kTypeItemCount).entries.empty());
}

TEST(TypeView, keepsSoundsAndVideosOfTheChosenKindAndStopsAtTheLimit) {
    const auto sounds = entriesOf(kSndFormat, writers::SndWriter().add("BOOM", "").add("CLICK", "").build());
    EXPECT_EQ(viewOfType(sounds, typeItemIndex("wav")).entries.size(), 2u);
    EXPECT_TRUE(viewOfType(sounds, typeItemIndex("def")).entries.empty());
    const auto videos = entriesOf(
        kVidFormat, writers::VidWriter().add("A.smk", "").add("B.BIK", "").add("C.SMK", "").build());
    EXPECT_EQ(viewOfType(videos, typeItemIndex("smk")).entries, (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(viewOfType(videos, 0, 2).entries, (std::vector<std::size_t>{0, 1}));
}

// Under "*.*" a row shows the entry's caption; under its type item the name, "." and the extension
// as stored: a sound is "NAME.Wav" in the whole list and "NAME.WAV" under "*.Wav".
TEST(TypeView, rowsShowTheNameAndExtensionAsStoredUnderATypeItem) {
    struct Case {
        const ArchiveFormat* format;
        std::string archive;
        const char* item;
        std::vector<std::string> shown;
    };
    const std::string sounds =
        writers::SndWriter().add("BOOM", "").add("ABCDEFGHIJKLMNO", "").build();
    const std::string pictures = writers::LodWriter().add("a.pcx", "").add("B.PCX", "").build();
    const std::string videos = writers::VidWriter()
                                   .add("CASTLE_SIEGE_CINEMATIC.smk", "")
                                   .add("INTRO.SMK", "")
                                   .add(std::string(36, 'L') + ".smk", "")
                                   .add("OUTRO.bik", "")
                                   .build();
    const Case cases[] = {
        {&kSndFormat, sounds, "*.*", {"BOOM.Wav", "ABCDEFGHIJKL.Wav"}},
        {&kSndFormat, sounds, "*.Wav", {"BOOM.WAV", "ABCDEFGHIJKL.WAV"}},
        {&kSndFormat, sounds, "wav", {"BOOM.WAV", "ABCDEFGHIJKL.WAV"}},
        {&kSndFormat, sounds, "*.Pcx", {}},
        {&kLodFormat, pictures, "*.*", {"a.pcx", "B.PCX"}},
        {&kLodFormat, pictures, "*.Pcx", {"a.pcx", "B.PCX"}},
        {&kVidFormat,
         videos,
         "*.*",
         {"CASTLE_SIEGE_CINEMATIC.smk", "INTRO.SMK", std::string(36, 'L') + ".smk", "OUTRO.bik"}},
        {&kVidFormat,
         videos,
         "*.Smk",
         {"CASTLE_SIEGE_CINEMATIC.smk", "INTRO.SMK", std::string(36, 'L') + ".smk"}},
        {&kVidFormat, videos, "*.Bik", {"OUTRO.bik"}},
    };
    for (const Case& c : cases) {
        const std::vector<Entry> entries = entriesOf(*c.format, c.archive);
        const TypeView view = viewOfType(entries, typeItemIndex(c.item));
        std::vector<std::string> shown;
        for (const std::size_t index : view.entries) {
            shown.push_back(captionUnder(entries[index], view.item));
        }
        EXPECT_EQ(shown, c.shown) << c.format->name << " " << c.item;
    }
}

TEST(TypeItems, areFoundByTextOrBareExtensionInAnyCase) {
    EXPECT_EQ(typeItemIndex("*.*"), 0);
    EXPECT_EQ(typeItemIndex("*.Pcx"), 3);
    EXPECT_EQ(typeItemIndex("pcx"), 3);
    EXPECT_EQ(typeItemIndex("DEF"), 6);
    EXPECT_EQ(typeItemIndex(".msg"), 12);
    EXPECT_EQ(typeItemIndex("zip"), -1);
    EXPECT_EQ(typeItemIndex(""), -1);
}

TEST(Entry, extensionsMatchOnlyTheirExactLowerAndUpperForms) {
    EXPECT_TRUE(extIs("pcx", "pcx"));
    EXPECT_TRUE(extIs("PCX", "pcx"));
    EXPECT_FALSE(extIs("Pcx", "pcx"));
    EXPECT_FALSE(extIs("pc", "pcx"));
    EXPECT_EQ(typeImageFor("msg"), kImageMsg);
    EXPECT_EQ(typeImageFor("mSG"), kImageNone);
}

}  // namespace
}  // namespace brasvel
