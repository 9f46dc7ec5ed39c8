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

}  // namespace
}  // namespace brasvel
