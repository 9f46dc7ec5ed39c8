// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "edit/InputNames.h"

#include <gtest/gtest.h>

namespace brasvel {
namespace {

TEST(InputNames, TwoInputsOfOneNameInAnyCaseCollide) {
    InputNames inputs;
    EXPECT_EQ(inputs.claim("A.TXT", "one/A.TXT"), std::nullopt);
    EXPECT_EQ(inputs.claim("B.TXT", "one/B.TXT"), std::nullopt);
    EXPECT_EQ(inputs.claim("a.txt", "two/a.txt"), "one/A.TXT");
    // Accented letters fold as the code page's: Ż and ż are one letter.
    EXPECT_EQ(inputs.claim("\xC5\xBB" "ABA", "one/Zaba"), std::nullopt);
    EXPECT_EQ(inputs.claim("\xC5\xBC" "aba", "two/zaba"), "one/Zaba");
    // A refused claim is not noted: the first input stays the one named.
    EXPECT_EQ(inputs.claim("A.txt", "three/A.txt"), "one/A.TXT");
}

}  // namespace
}  // namespace brasvel
