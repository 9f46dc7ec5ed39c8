// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/WindowTexts.h"

namespace brasvel::texts {

std::string groupedNumber(std::int64_t value, std::string_view separator) {
    // From the unsigned magnitude, so that the lowest value has its digits too.
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                        : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += separator;
        }
        grouped += digits[i];
    }
    return value < 0 ? "-" + grouped : grouped;
}

std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto number = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (number < arguments.size()) {
                text += arguments.begin()[number];
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}

const char* errorText(ErrorKind kind) {
    for (const ErrorText& known : kErrorTexts) {
        if (known.kind == kind) {
            return known.text;
        }
    }
    return nullptr;
}

std::string describeError(const ResourceError& error,
                          const std::function<std::string(const char*)>& translate) {
    const char* known = errorText(error.kind());
    std::string shown = known == nullptr             ? error.text()
                        : hasFixedText(error.kind()) ? translate(known)
                                                     : fillIn(translate(known), {error.text()});
    if (error.detail().empty()) {
        return shown;
    }
    return fillIn(translate(kErrorWithDetail), {shown, error.detail()});
}

}  // namespace brasvel::texts
