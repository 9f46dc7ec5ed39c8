// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/EntryListView.h"

#include <algorithm>
#include <numeric>

#include "base/Text.h"
#include "window/ArchiveSession.h"
#include "window/EntryFilter.h"
#include "window/FolderSession.h"
#include "window/ListOverlay.h"

namespace brasvel {
namespace {

std::int64_t storedSizeOf(const Entry& entry) {
    // A LOD entry stored plain states no packed size.
    return entry.packedSize > 0 ? entry.packedSize : entry.size;
}

RowDetails detailsOf(const Entry& entry) {
    return {untilNul(entry.ext), entry.size, storedSizeOf(entry), entry.offset};
}

// Whether `a` comes before `b` when the list is sorted by `column` upwards. Numbers sort as
// numbers; equal keys fall back to the name, so the order never depends on the one before.
bool sortsBefore(const Entry& a, const Entry& b, ListColumn column) {
    const auto byName = [&] {
        return compareIgnoringAsciiCase(untilNul(a.caption), untilNul(b.caption)) < 0;
    };
    const auto byNumber = [&](std::int64_t x, std::int64_t y) { return x != y ? x < y : byName(); };
    switch (column) {
        case ListColumn::Name:
            return byName();
        case ListColumn::Type: {
            const int order = compareIgnoringAsciiCase(untilNul(a.ext), untilNul(b.ext));
            return order != 0 ? order < 0 : byName();
        }
        case ListColumn::Size:
            return byNumber(a.size, b.size);
        case ListColumn::StoredSize:
            return byNumber(storedSizeOf(a), storedSizeOf(b));
        case ListColumn::Ratio:
            return byNumber(detailsOf(a).ratioPercent(), detailsOf(b).ratioPercent());
        case ListColumn::Offset:
            return byNumber(a.offset, b.offset);
        case ListColumn::Archive:
        case ListColumn::Shadows:
            break;  // a folder's columns: see folderSortsBefore
    }
    return byName();
}

// The same for a folder's rows by their winning copies (entries `a` and `b` of the stack): its
// own columns besides those of the entry.
bool folderSortsBefore(const FolderSession& folder, std::size_t a, std::size_t b,
                       ListColumn column) {
    const std::vector<Entry>& entries = folder.entries();
    if (column == ListColumn::Archive) {
        const int order = compareIgnoringCase(folder.archiveName(a), folder.archiveName(b));
        return order != 0 ? order < 0 : sortsBefore(entries[a], entries[b], ListColumn::Name);
    }
    if (column == ListColumn::Shadows) {
        const std::size_t x = folder.stacked(a).shadows;
        const std::size_t y = folder.stacked(b).shadows;
        return x != y ? x < y : sortsBefore(entries[a], entries[b], ListColumn::Name);
    }
    return sortsBefore(entries[a], entries[b], column);
}

// Ends the list's bulk update on every way out.
class ListUpdate {
public:
    explicit ListUpdate(ListWidgets& widgets) : widgets_(widgets) { widgets_.beginListUpdate(); }
    ~ListUpdate() { widgets_.endListUpdate(); }
    ListUpdate(const ListUpdate&) = delete;
    ListUpdate& operator=(const ListUpdate&) = delete;

private:
    ListWidgets& widgets_;
};

}  // namespace

EntryListView::EntryListView(ListWidgets& widgets, const ArchiveSession& session)
    : widgets_(widgets), session_(session) {}

void EntryListView::listArchive(const ArchiveFormat& format, std::size_t limit) {
    const std::vector<Entry>& entries = session_.entries();
    TypeView every;
    const std::size_t listed = std::min(entries.size(), limit);
    every.entries.reserve(listed);
    every.images.reserve(listed);
    for (std::size_t index = 0; index < listed; ++index) {
        every.entries.push_back(index);
        every.images.push_back(listedImage(format, entries[index]));
    }
    finish(std::move(every));
}

void EntryListView::listType(int item, std::size_t limit) {
    extraView_ = {};
    if (overlay_ != nullptr) {
        const std::vector<Entry>& extra = overlay_->extraEntries();
        extraView_ = narrowByName(extra, viewOfType(extra, item, limit), search_);
    }
    if (session_.folder() != nullptr && item == 0) {
        // Every entry, with the image its own archive's listing gives it.
        const std::vector<Entry>& entries = session_.entries();
        TypeView every;
        for (std::size_t index = 0; index < std::min(entries.size(), limit); ++index) {
            every.entries.push_back(index);
            every.images.push_back(listedImage(session_.formatOf(index), entries[index]));
        }
        finish(std::move(every));
        return;
    }
    finish(viewOfType(session_.entries(), item, limit));
}

void EntryListView::clear() {
    view_ = {};
    extraView_ = {};
    rowOfEntry_.clear();
}

void EntryListView::finish(TypeView built) {
    if (const FolderSession* folder = session_.folder(); folder != nullptr && !showShadowed_) {
        TypeView winners;
        winners.item = built.item;
        for (std::size_t i = 0; i < built.entries.size(); ++i) {
            if (!folder->stacked(built.entries[i]).shadowed) {
                winners.entries.push_back(built.entries[i]);
                winners.images.push_back(built.images[i]);
            }
        }
        built = std::move(winners);
    }
    view_ = narrowByName(session_.entries(), built, search_);
    if (overlay_ != nullptr) {
        TypeView kept;
        kept.item = view_.item;
        for (std::size_t row = 0; row < view_.entries.size(); ++row) {
            if (overlay_->keeps(view_.entries[row])) {
                kept.entries.push_back(view_.entries[row]);
                kept.images.push_back(view_.images[row]);
            }
        }
        view_ = std::move(kept);
    }
    sort();
}

void EntryListView::setOverlay(const ListOverlay* overlay) {
    overlay_ = overlay;
    widgets_.setNoteColumn(overlay_ != nullptr ? overlay_->noteHeader() : std::string());
}

void EntryListView::sort() {
    if (sortColumn_) {
        const std::vector<Entry>& entries = session_.entries();
        std::vector<std::size_t> order(view_.entries.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        const ListColumn column = *sortColumn_;
        const bool ascending = sortAscending_;
        if (const FolderSession* folder = session_.folder()) {
            // A shadowed copy stays under its winner, which sorts for both.
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                const std::size_t first = view_.entries[a];
                const std::size_t second = view_.entries[b];
                const std::size_t winnerA = folder->stacked(first).winner;
                const std::size_t winnerB = folder->stacked(second).winner;
                if (winnerA == winnerB) {
                    return first < second;
                }
                const auto before = [&](std::size_t x, std::size_t y) {
                    return ascending ? folderSortsBefore(*folder, x, y, column)
                                     : folderSortsBefore(*folder, y, x, column);
                };
                if (before(winnerA, winnerB) || before(winnerB, winnerA)) {
                    return before(winnerA, winnerB);
                }
                return winnerA < winnerB;
            });
        } else {
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                const Entry& first = entries[view_.entries[a]];
                const Entry& second = entries[view_.entries[b]];
                return ascending ? sortsBefore(first, second, column)
                                 : sortsBefore(second, first, column);
            });
        }
        TypeView sorted;
        sorted.item = view_.item;
        sorted.entries.reserve(order.size());
        sorted.images.reserve(order.size());
        for (const std::size_t i : order) {
            sorted.entries.push_back(view_.entries[i]);
            sorted.images.push_back(view_.images[i]);
        }
        view_ = std::move(sorted);
    }
    rowOfEntry_.assign(session_.entries().size(), -1);
    for (std::size_t row = 0; row < view_.entries.size(); ++row) {
        rowOfEntry_[view_.entries[row]] = static_cast<int>(row);
    }
}

void EntryListView::setOrder(std::optional<ListColumn> column, bool ascending) {
    sortColumn_ = column;
    sortAscending_ = ascending;
    widgets_.showSortOrder(sortColumn_, sortAscending_);
}

void EntryListView::setLook(ListLook look) {
    look_ = look;
    widgets_.setListLook(look_);
}

void EntryListView::show() {
    ListUpdate update(widgets_);
    widgets_.clearRows();
    const FolderSession* folder = session_.folder();
    widgets_.setFolderColumnsShown(folder != nullptr);
    const std::vector<Entry>& entries = session_.entries();
    for (std::size_t i = 0; i < view_.entries.size(); ++i) {
        const int row = widgets_.appendRow();
        const std::size_t index = view_.entries[i];
        const Entry& entry = entries[index];
        widgets_.setRowCaption(row, captionUnder(entry, view_.item));
        widgets_.setRowImage(row, view_.images[i]);
        RowDetails details = detailsOf(entry);
        if (folder != nullptr) {
            details.archive = folder->archiveName(index);
            details.shadows = static_cast<std::int64_t>(folder->stacked(index).shadows);
            details.shadowed = folder->stacked(index).shadowed;
        }
        widgets_.setRowDetails(row, details);
        if (session_.isChanged(index)) {
            widgets_.setRowChanged(row, true);
        }
        if (session_.damage(index)) {
            widgets_.setRowDamaged(row, true);
        }
        if (overlay_ != nullptr) {
            widgets_.setRowNote(row, overlay_->note(index));
        }
    }
    if (overlay_ == nullptr) {
        return;
    }
    const std::vector<Entry>& extra = overlay_->extraEntries();
    for (std::size_t i = 0; i < extraView_.entries.size(); ++i) {
        const int row = widgets_.appendRow();
        const Entry& entry = extra[extraView_.entries[i]];
        widgets_.setRowCaption(row, captionUnder(entry, extraView_.item));
        widgets_.setRowImage(row, extraView_.images[i]);
        widgets_.setRowDetails(row, detailsOf(entry));
        widgets_.setRowNote(row, overlay_->extraNote(extraView_.entries[i]));
    }
}

void EntryListView::showDamaged(std::size_t index) {
    const int row = rowOf(index);
    if (row >= 0) {
        widgets_.setRowDamaged(row, true);
    }
}

std::optional<std::size_t> EntryListView::entryAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= view_.entries.size()) {
        return std::nullopt;
    }
    return view_.entries[static_cast<std::size_t>(row)];
}

int EntryListView::rowOf(std::optional<std::size_t> index) const {
    return index && *index < rowOfEntry_.size() ? rowOfEntry_[*index] : -1;
}

}  // namespace brasvel
