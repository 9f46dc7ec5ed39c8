// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/Entry.h"

#include <gtest/gtest.h>

#include <string>

namespace brasvel {
namespace {

// An entry's kind comes from its extension written all in lower or all in upper case, as the
// listing gives icons; "Pcx" is no picture.
TEST(EntryKinds, AreToldByExtensionsInOneCase) {
    struct Case {
        std::string ext;
        bool picture, sprite, video;
    };
    const Case cases[] = {
        {"pcx", true, false, false}, {"PCX", true, false, false}, {"Pcx", false, false, false},
        {"def", false, true, false}, {"DEF", false, true, false}, {"dEF", false, false, false},
        {"smk", false, false, true}, {"BIK", false, false, true}, {"Bik", false, false, false},
        {"txt", false, false, false}, {"", false, false, false},
    };
    for (const Case& c : cases) {
        Entry entry;
        entry.ext = c.ext;
        EXPECT_EQ(isPicture(entry), c.picture) << c.ext;
        EXPECT_EQ(isSprite(entry), c.sprite) << c.ext;
        EXPECT_EQ(isVideo(entry), c.video) << c.ext;
    }
}

TEST(EntryKinds, OnlyVideoExtensionsInOneCaseNameVideos) {
    for (const char* name : {"A.smk", "A.SMK", "A.bik", "B.C.BIK"}) {
        EXPECT_TRUE(namesVideo(name)) << name;
    }
    for (const char* name : {"A.Smk", "A.bIK", "smk", "A.pcx", "A.smk.txt", ""}) {
        EXPECT_FALSE(namesVideo(name)) << name;
    }
}

}  // namespace
}  // namespace brasvel
