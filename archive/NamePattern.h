// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Shell patterns over entry names, as fnmatch(3) matches them with no flags in the C locale, byte
// by byte, on every system (Windows has no fnmatch): '*' any run of bytes, '?' one byte, "[...]"
// one byte of a set (ranges "a-z", classes "[:digit:]", "!" or "^" first for the bytes outside
// it), and '\' taking the next byte as it is (a pattern ending in a lone '\' matches nothing).
// '/' and a leading '.' are bytes like any other.

#include <string_view>

namespace brasvel {

bool matchesPattern(std::string_view pattern, std::string_view name);

}  // namespace brasvel
