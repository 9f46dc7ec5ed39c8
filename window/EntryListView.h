// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The entry list's rows: which entry each row shows and its image, built from the session's
// entries, the type item, the search text and the sort order; the row that shows an entry; the
// list's look. It fills the rows through ListWidgets, with the session's changed and damaged
// marks, and asks nothing of any other widget.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/TypeItems.h"
#include "toolkit/ListWidgets.h"

namespace brasvel {

class ArchiveSession;
class ListOverlay;

class EntryListView {
public:
    EntryListView(ListWidgets& widgets, const ArchiveSession& session);

    // Rebuilding the rows (none shown until show()). A folder's list holds only the winning
    // copies unless setShadowedShown. Every entry of the first `limit`, each
    // with the image a listing of a `format` archive gives it: the list of an archive just opened.
    void listArchive(const ArchiveFormat& format, std::size_t limit);
    // The entries of the first `limit` that type item `item` keeps.
    void listType(int item, std::size_t limit);
    void clear();
    // The rows put in the sort order again.
    void sort();

    // The search text, UTF-8: the rows built afterwards hold it in their captions.
    void setSearch(std::string search) { search_ = std::move(search); }
    const std::string& search() const { return search_; }
    // The order the rows are built in (none: the directory's), shown over the list's header.
    void setOrder(std::optional<ListColumn> column, bool ascending);
    std::optional<ListColumn> sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }
    // A comparison's or a search's rows laid over the list (null: none), for the rows built
    // afterwards; the note column shows while there is one.
    void setOverlay(const ListOverlay* overlay);
    const ListOverlay* overlay() const { return overlay_; }
    // The rows after the entries' that the overlay adds: which of its extra entries each shows.
    std::span<const std::size_t> extraRows() const { return extraView_.entries; }
    // A folder's list: whether the copies that others shadow are listed too, each under the
    // copy that wins for its name (the rows built afterwards).
    void setShadowedShown(bool shown) { showShadowed_ = shown; }
    bool shadowedShown() const { return showShadowed_; }
    void setLook(ListLook look);
    ListLook look() const { return look_; }

    // Fills the list with the rows: captions, images, details and marks.
    void show();
    // Shows the row of entry `index`, if listed, as damaged.
    void showDamaged(std::size_t index);

    const TypeView& view() const { return view_; }
    // The directory indices the rows show, in row order.
    std::span<const std::size_t> listedEntries() const { return view_.entries; }
    // The entry row `row` shows; nothing when the row is none of the list.
    std::optional<std::size_t> entryAt(int row) const;
    // The row that shows entry `index`; -1 when the list does not.
    int rowOf(std::optional<std::size_t> index) const;

private:
    // The rows built narrowed by the search, in the sort order; `rowOfEntry_` follows them.
    void finish(TypeView built);

    ListWidgets& widgets_;
    const ArchiveSession& session_;
    TypeView view_;
    std::vector<int> rowOfEntry_;  // by directory index, -1 for an entry not listed
    std::string search_;
    std::optional<ListColumn> sortColumn_;
    bool sortAscending_ = true;
    ListLook look_ = ListLook::Icons;
    const ListOverlay* overlay_ = nullptr;
    TypeView extraView_;  // of the overlay's extra entries
    bool showShadowed_ = false;
};

}  // namespace brasvel
