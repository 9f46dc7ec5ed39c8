// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "extract/EntryCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

// Every entry is checked and each damaged one told as found, with what the directory or the
// content shows.
TEST(Verification, ChecksEveryEntryAndTellsEachDamagedOne) {
    const std::string bytes = writers::LodWriter()
                                  .add("GOOD.TXT", "fine", true)
                                  .addStored("BAD.TXT", "no zlib", 100, 7)
                                  .addRaw("GONE.TXT", 1 << 20, 10, 0)
                                  .add("PLAIN.TXT", "plain")
                                  .build();
    const auto view = writers::asBytes(bytes);
    const Archive archive = Archive::fromBytes({view.begin(), view.end()}, kLodFormat);
    std::vector<std::pair<std::size_t, std::string>> told;
    const Verification found =
        verifyArchive(archive, [&](std::size_t index, const std::string& what) {
            told.emplace_back(index, what);
        });
    EXPECT_EQ(found.checked, 4u);
    EXPECT_EQ(found.damaged, 2u);
    EXPECT_FALSE(found.failure);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].first, 1u);
    EXPECT_EQ(told[0].second, "Damaged entry (is not a valid zlib stream)");
    EXPECT_EQ(told[1].first, 2u);
    EXPECT_NE(told[1].second.find("Read beyond end of file"), std::string::npos) << told[1].second;
}

}  // namespace
}  // namespace brasvel
