// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A small parser for "command ARCHIVE [options] [names...]": options take their value from the
// next argument ("-o DIR", "--kind lod") unless they are flags.

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace brasvel::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// `text` as a whole number from `lowest` to `highest`: digits only, no sign, no blanks. Throws
// UsageError naming `option` otherwise ("--threads -4294967295" is refused, never wrapped).
unsigned strictNumber(const std::string& option, const std::string& text, unsigned lowest,
                      unsigned highest);

class Arguments;

// The value of `option` read by strictNumber; nullopt when the option is not given. Every numeric
// option of every command is read here.
std::optional<unsigned> numberOption(const Arguments& arguments, const std::string& option,
                                     unsigned lowest, unsigned highest);

class Arguments {
public:
    // `valued`: options that take a value; `flags`: options that do not.
    Arguments(const std::vector<std::string>& args, const std::set<std::string>& valued,
              const std::set<std::string>& flags);

    bool has(const std::string& flag) const { return flags_.count(flag) != 0; }
    std::optional<std::string> value(const std::string& option) const;
    const std::vector<std::string>& positional() const { return positional_; }

private:
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::vector<std::string> positional_;
};

}  // namespace brasvel::cli
