// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace brasvel {

// The columns of the details list, in the order shown. Archive and Shadows show only while a
// folder is open: the archive holding the row's entry, and what the row's copy shadows.
enum class ListColumn { Name, Type, Size, StoredSize, Ratio, Offset, Archive, Shadows };
inline constexpr int kListColumnCount = 8;

// How the list shows its rows: icons with names only, or one line per entry with its figures.
enum class ListLook { Icons, Details };

// The figures a row shows in the details list besides its caption.
struct RowDetails {
    std::string_view type;        // the extension, as stored (Windows-1250 bytes)
    std::int64_t size = 0;        // the content's length
    std::int64_t storedSize = 0;  // its length in the archive
    std::int64_t offset = 0;
    // A folder's rows: the archive's file name (UTF-8; empty for an archive's own list), how many
    // copies of its name this copy shadows, and whether it is itself shadowed.
    std::string_view archive = {};
    std::int64_t shadows = 0;
    bool shadowed = false;

    // The stored size in per cent of the size (100 for an empty entry), rounded down.
    std::int64_t ratioPercent() const { return size <= 0 ? 100 : storedSize * 100 / size; }
};

// The entry list (ListView1 and its details view): its rows, their marks, the selection shown,
// its look and order.
class ListWidgets {
public:
    virtual ~ListWidgets() = default;

    // The entry list (ListView1). A hidden list receives no focus.
    virtual void setListVisible(bool visible) = 0;
    virtual bool isListVisible() const = 0;
    virtual void focusList() = 0;
    // Rows changed inside the bracket are drawn once, at its end.
    virtual void beginListUpdate() = 0;
    virtual void endListUpdate() = 0;
    virtual void clearRows() = 0;
    // Appends a row showing image 0 and returns its index; rows keep their order.
    virtual int appendRow() = 0;
    // entryBytes: Windows-1250 bytes, shown up to the first NUL byte.
    virtual void setRowCaption(int row, std::string_view entryBytes) = 0;
    virtual void setRowImage(int row, int image) = 0;
    virtual void setRowDetails(int row, const RowDetails& details) = 0;
    // Selects only `row`, or nothing when it is -1, and shows it; raises no selection
    // notification (the logic already knows).
    virtual void selectRow(int row) = 0;
    // Selects exactly `rows` and makes `current` (-1: none) the row with the focus, shown; raises
    // no selection notification.
    virtual void selectRows(std::span<const int> rows, int current) = 0;
    // Icons or details; the sort order's arrow over `column` (none: the directory's order).
    virtual void setListLook(ListLook look) = 0;
    virtual void showSortOrder(std::optional<ListColumn> column, bool ascending) = 0;
    // The details list's Archive and Shadows columns shown (a folder is open) or hidden.
    virtual void setFolderColumnsShown(bool shown) = 0;
    // Shows `row` as changed and not yet saved (new content or a new name), or as saved.
    virtual void setRowChanged(int row, bool changed) = 0;
    // Shows `row` as damaged: its entry's stored bytes are not all there, or not a valid content.
    virtual void setRowDamaged(int row, bool damaged) = 0;
    // The column of notes after the details (a comparison's status, the line a search found):
    // shown titled `header`, or hidden when it is empty. Clearing the rows clears their notes.
    virtual void setNoteColumn(std::string_view header) = 0;
    virtual void setRowNote(int row, std::string_view note) = 0;
};

}  // namespace brasvel
