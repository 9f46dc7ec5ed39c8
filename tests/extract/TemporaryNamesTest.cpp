// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <string>

#include "base/Platform.h"
#include "extract/TemporaryNames.h"

namespace brasvel {
namespace {

TEST(TemporaryNames, savingNameCarriesTheNameAndThisProcess) {
    const std::string temporary = savingTemporaryName("a.lod");
    EXPECT_EQ(temporary.size(), std::string(".a.lod.").size() +
                                    std::to_string(platform::currentProcess()).size() +
                                    std::string(".XXXXXX.saving").size());
    EXPECT_EQ(savingTemporaryWriter(temporary, "a.lod"), platform::currentProcess());
    EXPECT_EQ(savingTemporaryWriter(temporary, "b.lod"), 0);
}

TEST(TemporaryNames, savingWriterIsReadOnlyFromOurNames) {
    const struct {
        const char* entry;
        long writer;
    } cases[] = {
        {".a.lod.4194304.abcdef.saving", 4194304},
        {".a.lod.999999999.abcdef.saving", 999999999},
        {".a.lod.1234567890.abcdef.saving", 0},  // more digits than a PID of ours has
        {".a.lod..abcdef.saving", 0},
        {".a.lod.12x.abcdef.saving", 0},
        {".a.lod.12.abcde.saving", 0},
        {".a.lod.12.abcdefg.saving", 0},
        {".a.lod.12.abcdef.extracting", 0},
        {"a.lod.12.abcdef.saving", 0},
        {".b.lod.12.abcdef.saving", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(savingTemporaryWriter(c.entry, "a.lod"), c.writer) << c.entry;
    }
}

}  // namespace
}  // namespace brasvel
