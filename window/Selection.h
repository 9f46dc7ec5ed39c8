// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The list's selection, by directory index so that it outlives the rows: the entries marked as
// selected, and the focused one that the preview and the single-entry commands act on. It follows
// its entries through every rebuild of the list and keeps only the entry an edit names when the
// edit renumbers the entries. It touches no widget.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace brasvel {

class Selection {
public:
    // Nothing selected, of `entryCount` entries.
    void reset(std::size_t entryCount);
    // The entries were renumbered into `entryCount`: only `kept` (when there is one) stays
    // selected, and focused.
    void keepOnly(std::size_t entryCount, std::optional<std::size_t> kept);

    // Marks entry `index` as selected or not.
    void mark(std::size_t index, bool selected);
    void unmarkAll();
    bool isMarked(std::size_t index) const { return index < marked_.size() && marked_[index] != 0; }
    bool empty() const { return markedCount_ == 0; }

    // The focused entry; nothing when none is.
    std::optional<std::size_t> focused() const { return focused_; }
    void focus(std::optional<std::size_t> index) { focused_ = index; }

    // The list was rebuilt to show `listed` (directory indices in row order): the entries it no
    // longer shows are no longer selected, and the focus stays only on a listed, selected entry.
    // Returns the selected rows.
    std::vector<int> keepListed(std::span<const std::size_t> listed);
    // The selected entries of `listed`, in its order.
    std::vector<std::size_t> selectedOf(std::span<const std::size_t> listed) const;

private:
    std::vector<char> marked_;  // by directory index
    std::size_t markedCount_ = 0;
    std::optional<std::size_t> focused_;
};

}  // namespace brasvel
