// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/NamePattern.h"

#include <cctype>
#include <optional>
#include <string_view>

namespace brasvel {
namespace {

// The classes of "[:name:]" in the C locale.
bool inClass(std::string_view name, unsigned char byte) {
    const int c = byte;
    static constexpr struct {
        std::string_view name;
        bool (*test)(int);
    } kClasses[] = {
        {"alnum", [](int k) { return std::isalnum(k) != 0; }},
        {"alpha", [](int k) { return std::isalpha(k) != 0; }},
        {"blank", [](int k) { return k == ' ' || k == '\t'; }},
        {"cntrl", [](int k) { return std::iscntrl(k) != 0; }},
        {"digit", [](int k) { return std::isdigit(k) != 0; }},
        {"graph", [](int k) { return std::isgraph(k) != 0; }},
        {"lower", [](int k) { return std::islower(k) != 0; }},
        {"print", [](int k) { return std::isprint(k) != 0; }},
        {"punct", [](int k) { return std::ispunct(k) != 0; }},
        {"space", [](int k) { return std::isspace(k) != 0; }},
        {"upper", [](int k) { return std::isupper(k) != 0; }},
        {"xdigit", [](int k) { return std::isxdigit(k) != 0; }},
    };
    for (const auto& known : kClasses) {
        if (known.name == name) {
            return known.test(c);
        }
    }
    return false;
}

// Whether the set that starts at pattern[at] (just past '[') holds `byte`; the position past its
// ']' in `end`. None when the set has no ']' (the '[' is then an ordinary byte) or names an
// unknown class (which matches nothing, as in fnmatch).
std::optional<bool> matchSet(std::string_view pattern, std::size_t at, unsigned char byte,
                             std::size_t& end) {
    bool negated = false;
    if (at < pattern.size() && (pattern[at] == '!' || pattern[at] == '^')) {
        negated = true;
        ++at;
    }
    bool found = false;
    bool first = true;
    while (at < pattern.size()) {
        char c = pattern[at];
        if (c == ']' && !first) {
            end = at + 1;
            return found != negated;
        }
        first = false;
        if (c == '[' && at + 1 < pattern.size() && pattern[at + 1] == ':') {
            const std::size_t close = pattern.find(":]", at + 2);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            found = found || inClass(pattern.substr(at + 2, close - at - 2), byte);
            at = close + 2;
            continue;
        }
        if (c == '\\' && at + 1 < pattern.size()) {
            c = pattern[++at];
        }
        auto low = static_cast<unsigned char>(c);
        ++at;
        if (at + 1 < pattern.size() && pattern[at] == '-' && pattern[at + 1] != ']') {
            char highChar = pattern[at + 1];
            at += 2;
            if (highChar == '\\' && at < pattern.size()) {
                highChar = pattern[at++];
            }
            const auto high = static_cast<unsigned char>(highChar);
            found = found || (low <= byte && byte <= high);
        } else {
            found = found || low == byte;
        }
    }
    return std::nullopt;
}

bool matchFrom(std::string_view pattern, std::size_t p, std::string_view name, std::size_t n) {
    while (p < pattern.size()) {
        const char c = pattern[p];
        if (c == '*') {
            while (p < pattern.size() && pattern[p] == '*') {
                ++p;
            }
            if (p == pattern.size()) {
                return true;
            }
            for (std::size_t k = n; k <= name.size(); ++k) {
                if (matchFrom(pattern, p, name, k)) {
                    return true;
                }
            }
            return false;
        }
        if (n == name.size()) {
            return false;
        }
        if (c == '?') {
            ++p;
            ++n;
            continue;
        }
        if (c == '[') {
            std::size_t end = 0;
            const std::optional<bool> inSet =
                matchSet(pattern, p + 1, static_cast<unsigned char>(name[n]), end);
            if (inSet) {
                if (!*inSet) {
                    return false;
                }
                p = end;
                ++n;
                continue;
            }
        }
        char literal = c;
        if (c == '\\') {
            if (p + 1 == pattern.size()) {
                return false;  // a lone backslash at the end: a broken pattern matches nothing
            }
            literal = pattern[++p];
        }
        if (literal != name[n]) {
            return false;
        }
        ++p;
        ++n;
    }
    return n == name.size();
}

}  // namespace

bool matchesPattern(std::string_view pattern, std::string_view name) {
    return matchFrom(pattern, 0, name, 0);
}

}  // namespace brasvel
