// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "cli/Arguments.h"

#include <charconv>

namespace brasvel::cli {

Arguments::Arguments(const std::vector<std::string>& args, const std::set<std::string>& valued,
                     const std::set<std::string>& flags) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional_.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (valued.count(arg) != 0) {
            if (i + 1 >= args.size()) {
                throw UsageError("option " + arg + " needs a value");
            }
            values_[arg] = args[++i];
        } else if (flags.count(arg) != 0) {
            flags_.insert(arg);
        } else {
            throw UsageError("unknown option " + arg);
        }
    }
}

unsigned strictNumber(const std::string& option, const std::string& text, unsigned lowest,
                      unsigned highest) {
    unsigned number = 0;
    const char* end = text.data() + text.size();
    const bool digitsOnly =
        !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (!digitsOnly || error != std::errc{} || stop != end || number < lowest ||
        number > highest) {
        throw UsageError(option + " takes a number from " + std::to_string(lowest) + " to " +
                         std::to_string(highest) + ", not '" + text + "'");
    }
    return number;
}

std::optional<unsigned> numberOption(const Arguments& arguments, const std::string& option,
                                     unsigned lowest, unsigned highest) {
    const std::optional<std::string> text = arguments.value(option);
    if (!text) {
        return std::nullopt;
    }
    return strictNumber(option, *text, lowest, highest);
}

std::optional<std::string> Arguments::value(const std::string& option) const {
    auto found = values_.find(option);
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace brasvel::cli
