// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/EntryFilter.h"

#include "base/Text.h"

namespace brasvel {

TypeView narrowByName(const std::vector<Entry>& entries, const TypeView& view,
                      std::string_view search) {
    if (search.empty()) {
        return view;
    }
    TypeView narrowed;
    narrowed.item = view.item;
    for (std::size_t row = 0; row < view.entries.size(); ++row) {
        if (holdsIgnoringCase(captionUnder(entries[view.entries[row]], view.item), search)) {
            narrowed.entries.push_back(view.entries[row]);
            narrowed.images.push_back(view.images[row]);
        }
    }
    return narrowed;
}

}  // namespace brasvel
