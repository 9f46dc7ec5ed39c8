// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Shell patterns over entry names: our own matcher, which Windows needs (it has no fnmatch), must
// answer as fnmatch does on Linux with no flags, byte for byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/NamePattern.h"

#ifndef _WIN32
#include <fnmatch.h>
#endif

namespace brasvel {
namespace {

struct Case {
    std::string pattern;
    std::string name;
    bool matches;
};

const std::vector<Case> kCases = {
    {"*.def", "HERO.def", true},
    {"*.def", "HERO.DEF", false},  // case counts, as in the shell
    {"*", "", true},
    {"*", ".hidden", true},  // a leading dot is a byte like any other
    {"*", "a/b", true},      // so is '/'
    {"?", "", false},
    {"?", "\xA5", true},       // one byte of Windows-1250, or of UTF-8
    {"?", "\xC4\x84", false},  // two bytes
    {"A?C", "ABC", true},
    {"A*C*E", "ABCDE", true},
    {"A*C*E", "ABCDF", false},
    {"***X", "X", true},
    {"[AB]*", "BOX", true},
    {"[!AB]*", "BOX", false},
    {"[^AB]*", "COX", true},
    {"[a-c]x", "bx", true},
    {"[a-c]x", "dx", false},
    {"[]]", "]", true},  // ']' first is a member
    {"[!]]", "a", true},
    {"[a-]", "-", true},  // '-' last is a member
    {"[[:digit:]]*", "7UP", true},
    {"[[:digit:]]*", "UP7", false},
    {"[[:upper:][:digit:]]", "Q", true},
    {"[[:nonsense:]]", "n", false},
    {"[", "[", true},  // no closing ']': an ordinary '['
    {"[ab", "[ab", true},
    {"\\*", "*", true},  // a backslash takes the next byte as it is
    {"\\*", "x", false},
    {"[\\]]", "]", true},
    {"a\\", "a\\", false},  // a lone backslash at the end: a broken pattern
    {"*.[pP][cC][xX]", "Map.pCx", true},
    {"SOUND?", "SOUND", false},
    {"\xA3\xF3*",
     "\xA3\xF3"
     "d\x9F",
     true},
};

TEST(NamePattern, MatchesAsTheShellDoesByteForByte) {
    for (const Case& c : kCases) {
        EXPECT_EQ(matchesPattern(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
#ifndef _WIN32
        EXPECT_EQ(::fnmatch(c.pattern.c_str(), c.name.c_str(), 0) == 0, c.matches)
            << "fnmatch: " << c.pattern << " / " << c.name;
#endif
    }
}

#ifndef _WIN32
// Every pattern of up to three symbols against every name of up to three bytes, from an alphabet
// that holds the special characters: the same answers as fnmatch.
TEST(NamePattern, AgreesWithFnmatchOnEveryShortPattern) {
    const std::string symbols = "a*?[]!-\\";
    const std::string bytes = "a-]!\\";
    std::vector<std::string> patterns{""};
    std::vector<std::string> names{""};
    for (int length = 0; length < 3; ++length) {
        const std::size_t count = patterns.size();
        for (std::size_t k = 0; k < count; ++k) {
            for (char c : symbols) {
                patterns.push_back(patterns[k] + c);
            }
        }
    }
    for (int length = 0; length < 3; ++length) {
        const std::size_t count = names.size();
        for (std::size_t k = 0; k < count; ++k) {
            for (char c : bytes) {
                names.push_back(names[k] + c);
            }
        }
    }
    int differences = 0;
    for (const std::string& pattern : patterns) {
        for (const std::string& name : names) {
            const bool expected = ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
            if (matchesPattern(pattern, name) != expected && ++differences <= 10) {
                ADD_FAILURE() << "'" << pattern << "' / '" << name << "': fnmatch says "
                              << expected;
            }
        }
    }
    EXPECT_EQ(differences, 0);
}
#endif

}  // namespace
}  // namespace brasvel
