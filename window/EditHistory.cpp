// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/EditHistory.h"

#include <utility>

namespace brasvel {

std::size_t EditHistory::rowsOf(const EditState& state) {
    // A state with no edit still counts, so that the number of steps is bounded too.
    return state ? state->entries().size() + 1 : 1;
}

void EditHistory::record(EditState before, EditStep step) {
    for (const Kept& kept : undone_) {
        keptRows_ -= rowsOf(kept.state);
    }
    undone_.clear();
    keptRows_ += rowsOf(before);
    done_.push_back({std::move(before), std::move(step)});
    dropOldest();
}

void EditHistory::dropOldest() {
    while (done_.size() > bounds_.steps || (keptRows_ > bounds_.rows && done_.size() > 1)) {
        keptRows_ -= rowsOf(done_.front().state);
        done_.pop_front();
    }
}

std::optional<EditStep> EditHistory::travel(std::deque<Kept>& from, std::deque<Kept>& to,
                                            EditState& state) {
    if (from.empty()) {
        return std::nullopt;
    }
    Kept kept = std::move(from.back());
    from.pop_back();
    keptRows_ = keptRows_ - rowsOf(kept.state) + rowsOf(state);
    std::swap(state, kept.state);
    to.push_back({std::move(kept.state), kept.step});
    return std::move(kept.step);
}

void EditHistory::clear() {
    done_.clear();
    undone_.clear();
    keptRows_ = 0;
}

}  // namespace brasvel
