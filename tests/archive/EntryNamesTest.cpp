// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/EntryNames.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "archive/Archive.h"
#include "base/ResourceError.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

Archive archiveOf(const std::string& bytes, const ArchiveFormat& format) {
    const auto view = writers::asBytes(bytes);
    return Archive::fromBytes({view.begin(), view.end()}, format);
}

TEST(EntryNames, EntryNamesOfFiles) {
    EXPECT_EQ(entryNameForFile(kSndFormat, "Horse.WAV"), "Horse");
    EXPECT_EQ(entryNameForFile(kSndFormat, "Horse.mp3"), std::nullopt);
    EXPECT_EQ(entryNameForFile(kSndFormat, ".wav"), std::nullopt);
    EXPECT_EQ(entryNameForFile(kLodFormat, "Horse.def"), "Horse.def");
}

// A name the user types finds its entry in any case, and a sound also by its file's name; a name
// that only other cases of several entries match names none of them.
TEST(EntryNames, TheEntryANameGives) {
    const Archive lod = archiveOf(
        writers::LodWriter().add("A.TXT", "1").add("a.txt", "2").add("BELL.WAV", "3").build(),
        kLodFormat);
    const Archive snd = archiveOf(
        writers::SndWriter().add("BELL", "1").add("Horse", "2").add("horse", "3").build(),
        kSndFormat);
    struct Case {
        const Archive* archive;
        std::string name;
        std::optional<std::size_t> found;
        bool ambiguous = false;
    };
    const Case cases[] = {
        {&lod, "A.TXT", 0},
        {&lod, "a.txt", 1},
        {&lod, "A.txt", std::nullopt, true},
        {&lod, "bell.wav", 2},
        {&lod, "BELL", std::nullopt},  // no file suffix in a LOD
        {&lod, "\xE6\x97\xA5.TXT", std::nullopt},  // not writable in the code page
        {&snd, "BELL", 0},
        {&snd, "bell.WAV", 0},
        {&snd, "BELL.mp3", std::nullopt},
        {&snd, "horse.wav", 2},
        {&snd, "HORSE.wav", std::nullopt, true},
        {&snd, "HORSE", std::nullopt, true},
    };
    for (const Case& c : cases) {
        const auto find = [&] {
            return findEntryOrFile(c.archive->format(), c.archive->entries(), c.name);
        };
        if (!c.ambiguous) {
            EXPECT_EQ(find(), c.found) << c.name;
            continue;
        }
        try {
            (void)find();
            ADD_FAILURE() << c.name << " was not refused";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), kAmbiguousName) << c.name;
        }
    }
}

TEST(EntryNames, AnEntryByItsCaptionAsShown) {
    const Archive snd = archiveOf(writers::SndWriter().add("\xAF" "ABA", "1").build(), kSndFormat);
    EXPECT_EQ(findEntryByCaption(snd.entries(), "\xC5\xBB" "ABA.Wav"), 0u);  // Żaba, decoded
    EXPECT_EQ(findEntryByCaption(snd.entries(), "\xC5\xBB" "ABA.wav"), std::nullopt);
    EXPECT_EQ(findEntryByCaption(snd.entries(), "\xC5\xBB" "ABA"), std::nullopt);
}

}  // namespace
}  // namespace brasvel
