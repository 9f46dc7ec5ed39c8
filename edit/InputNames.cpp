// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "edit/InputNames.h"

#include "base/Text.h"

namespace brasvel {

std::optional<std::string> InputNames::claim(std::string_view name, const std::string& input) {
    // A name Windows-1250 cannot write is folded as it is: the writer refuses it later anyway.
    const std::string bytes = encodeWindows1250(name).value_or(std::string(name));
    if (const auto [at, fresh] = inputs_.emplace(foldedText(bytes), input); !fresh) {
        return at->second;
    }
    return std::nullopt;
}

}  // namespace brasvel
