// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/FormatCheck.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

using writers::asBytes;

std::string lod() { return writers::LodWriter().add("A.TXT", "abc").add("B.PCX", "x").build(); }
std::string snd() { return writers::SndWriter().add("WAVE", "RIFF....").add("Two", "zz").build(); }
std::string vid() { return writers::VidWriter().add("INTRO.SMK", "video").add("B.BIK", "v").build(); }

// An SND whose second row's offset (at 4 + 48 + 40) points past the end of the file.
std::string sndWithOffsetOutside() {
    std::string bytes = snd();
    bytes[4 + 48 + 40 + 3] = '\x10';
    return bytes;
}

std::string i32(std::int32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xff);
    }
    return bytes;
}

TEST(FormatCheck, eachKindIsRecognisedAndTheWrongOnesRefused) {
    struct Case {
        const char* what;
        std::string bytes;
        bool lod, snd, vid;
        const ArchiveFormat* likely;
    };
    const Case cases[] = {
        {"a LOD", lod(), true, false, false, &kLodFormat},
        {"an SND", snd(), false, true, false, &kSndFormat},
        {"a VID", vid(), false, false, true, &kVidFormat},
        {"an empty SND or VID", i32(0), false, true, true, &kSndFormat},
        {"a LOD with no entries", writers::LodWriter().build(), true, false, false, &kLodFormat},
        {"an SND row outside the file", sndWithOffsetOutside(), false, false, false, nullptr},
        {"a negative count", i32(-1), false, false, false, nullptr},
        {"a count whose rows do not fit", i32(3) + std::string(100, '\0'), false, false, false,
         nullptr},
        {"fewer bytes than a count", std::string(3, '\0'), false, false, false, nullptr},
        {"nothing", std::string(), false, false, false, nullptr},
        {"text", std::string("Hello, this is not an archive at all."), false, false, false,
         nullptr},
    };
    for (const Case& c : cases) {
        const auto bytes = asBytes(c.bytes);
        EXPECT_EQ(looksLike(bytes, kLodFormat), c.lod) << c.what;
        EXPECT_EQ(looksLike(bytes, kSndFormat), c.snd) << c.what;
        EXPECT_EQ(looksLike(bytes, kVidFormat), c.vid) << c.what;
        EXPECT_EQ(likelyFormat(bytes), c.likely) << c.what;
    }
}

TEST(FormatCheck, noTruncationOfAnSndLooksLikeOne) {
    const std::string whole = snd();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        EXPECT_FALSE(looksLike(asBytes(whole.substr(0, length)), kSndFormat)) << length;
    }
}

// Random-looking bytes: what a file of no kind at all holds.
std::string noise(std::size_t length) {
    std::string bytes(length, '\0');
    std::uint32_t state = 2463534242u;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state & 0xff);
    }
    return bytes;
}

// What may be listed as which kind: damaged archives of a kind stay that kind, other kinds and
// noise are refused, with the directory's fit checked to the byte.
TEST(FormatCheck, anArchiveIsListedOnlyAsAKindItCanBe) {
    struct Case {
        const char* what;
        std::string bytes;
        bool lod, snd, vid;  // may be listed as that kind
    };
    // One SND row at the very end: its data (offset 52, 0 bytes) ends where the file ends.
    const std::string sndRowAtEnd = writers::SndWriter().addRaw("EMPTY", 52, 0).build();
    const Case cases[] = {
        {"a LOD", lod(), true, false, false},
        {"an SND", snd(), false, true, false},
        {"a VID", vid(), false, false, true},
        {"an empty SND or VID", i32(0), false, true, true},
        {"a LOD whose directory ends early",
         writers::LodWriter().add("A.TXT", "a").statedCount(3).build(), true, false, false},
        {"a LOD signature alone", "LOD" + std::string(1, '\0'), true, false, false},
        // Damaged, it may as well be a damaged VID: only what cannot be the kind is refused.
        {"an SND with one row outside the file", sndWithOffsetOutside(), false, true, true},
        {"an SND whose rows all lie outside",
         writers::SndWriter().addRaw("A", 5000, 1).addRaw("B", -1, 1).build(), false, false, false},
        {"an SND row whose data ends at the end of the file", sndRowAtEnd, false, true, true},
        {"the same, one byte short", sndRowAtEnd.substr(0, 51), false, false, false},
        {"an SND cut inside its directory", snd().substr(0, 4 + 48 + 47), false, false, false},
        {"a negative count", i32(-1) + std::string(100, '\0'), false, false, false},
        {"a count whose rows do not fit", i32(3) + std::string(100, '\0'), false, false, false},
        {"three bytes", std::string(3, '\0'), false, false, false},
        {"an empty file", std::string(), false, false, false},
        {"noise", noise(100000), false, false, false},
        {"noise after a small count", i32(2) + noise(400), false, false, false},
    };
    for (const Case& c : cases) {
        const auto bytes = asBytes(c.bytes);
        EXPECT_EQ(!kindProblem(kLodFormat, bytes, bytes.size()), c.lod) << c.what;
        EXPECT_EQ(!kindProblem(kSndFormat, bytes, bytes.size()), c.snd) << c.what;
        EXPECT_EQ(!kindProblem(kVidFormat, bytes, bytes.size()), c.vid) << c.what;
    }
}

TEST(FormatCheck, aRefusalSaysWhatTheFileLooksLikeElseWhy) {
    struct Case {
        const ArchiveFormat* asked;
        std::string bytes;
        const char* text;
        const char* detail;
    };
    const Case cases[] = {
        {&kLodFormat, snd(), "Not a LOD archive", "it looks like an SND archive"},
        {&kLodFormat, sndWithOffsetOutside(), "Not a LOD archive", "it looks like an SND archive"},
        {&kSndFormat, lod(), "Not an SND archive", "it looks like a LOD archive"},
        {&kVidFormat, lod(), "Not a VID archive", "it looks like a LOD archive"},
        {&kLodFormat, std::string(), "Not a LOD archive", "it is empty"},
        {&kLodFormat, "Hello", "Not a LOD archive", "it has no LOD signature"},
        {&kSndFormat, i32(-7), "Not an SND archive", "its entry count -7 is negative"},
        {&kSndFormat, i32(2) + std::string(10, '\0'), "Not an SND archive",
         "its directory of 2 entries needs 100 bytes; the file has 14"},
    };
    for (const Case& c : cases) {
        const ResourceError error = notOfKind(*c.asked, asBytes(c.bytes));
        EXPECT_EQ(error.text(), c.text) << c.detail;
        EXPECT_EQ(error.detail(), c.detail);
    }
}

}  // namespace
}  // namespace brasvel
