// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The inputs of one edit and the entry names they give: two files that would become entries of
// one name (in any case, as names are compared) cannot both go in, whichever front end adds them.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace brasvel {

class InputNames {
public:
    // Notes that `input` gives the entry named `name` (UTF-8). The input noted before that gives
    // the same name, in any case, when one does; `input` is not noted then.
    std::optional<std::string> claim(std::string_view name, const std::string& input);

private:
    std::map<std::string, std::string> inputs_;  // folded entry name → the input that gives it
};

}  // namespace brasvel
