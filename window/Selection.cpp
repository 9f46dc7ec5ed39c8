// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/Selection.h"

#include <algorithm>

namespace brasvel {

void Selection::reset(std::size_t entryCount) {
    marked_.assign(entryCount, 0);
    markedCount_ = 0;
    focused_.reset();
}

void Selection::keepOnly(std::size_t entryCount, std::optional<std::size_t> kept) {
    reset(entryCount);
    focused_ = kept;
    if (kept) {
        mark(*kept, true);
    }
}

void Selection::mark(std::size_t index, bool selected) {
    if (index >= marked_.size()) {
        return;
    }
    char& mark = marked_[index];
    if (mark != static_cast<char>(selected)) {
        mark = static_cast<char>(selected);
        selected ? ++markedCount_ : --markedCount_;
    }
}

void Selection::unmarkAll() {
    std::fill(marked_.begin(), marked_.end(), 0);
    markedCount_ = 0;
}

std::vector<int> Selection::keepListed(std::span<const std::size_t> listed) {
    std::vector<int> rows;
    std::vector<char> shown(marked_.size(), 0);
    for (std::size_t row = 0; row < listed.size(); ++row) {
        if (isMarked(listed[row])) {
            rows.push_back(static_cast<int>(row));
            shown[listed[row]] = 1;
        }
    }
    marked_ = std::move(shown);
    markedCount_ = rows.size();
    if (focused_ && !isMarked(*focused_)) {
        focused_.reset();
    }
    return rows;
}

std::vector<std::size_t> Selection::selectedOf(std::span<const std::size_t> listed) const {
    std::vector<std::size_t> chosen;
    if (markedCount_ == 0) {
        return chosen;
    }
    for (const std::size_t index : listed) {
        if (isMarked(index)) {
            chosen.push_back(index);
        }
    }
    return chosen;
}

}  // namespace brasvel
