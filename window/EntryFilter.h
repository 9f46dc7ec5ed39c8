// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The search box's narrowing of the list: of the rows a type item keeps, those whose caption (as
// shown) holds the searched text (UTF-8), every letter of the names' code page in any case, as
// base/Text.h's holdsIgnoringCase has it.
// Rows keep their order and their icons.

#include <string_view>
#include <vector>

#include "archive/Entry.h"
#include "archive/TypeItems.h"

namespace brasvel {

TypeView narrowByName(const std::vector<Entry>& entries, const TypeView& view,
                      std::string_view search);

}  // namespace brasvel
