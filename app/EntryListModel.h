// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The rows of the entry list, shown as icons (column 0 only) or as details: name, type, size,
// stored size, ratio and offset; for a folder's list, the archive and what the copy shadows. A caption is decoded from the entry's Windows-1250 bytes, cut
// at the first NUL; the figures are turned into text only when a view asks for them. Inside a
// bulk update the rows change out of the views' sight; they see them all at once when it ends.
//
// The model does not order its rows: the window's logic does. A view's request to sort (a
// header clicked) comes out as sortRequested. Dragging rows out asks dragFiles for the files
// that hold them, and hands those over as file URLs.

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/ListWidgets.h"

namespace brasvel::app {

class EntryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override {
        return QAbstractTableModel::index(row, column, parent);
    }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order) override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    void beginUpdate();
    void endUpdate();
    bool inUpdate() const { return updateDepth_ > 0; }

    void clear();
    // Appends a row showing image 0; returns its index.
    int append();
    // The rows as changed so far, inside an update too.
    int size() const { return static_cast<int>(rows_.size()); }
    void setCaption(int row, std::string_view entryBytes);
    void setImage(int row, int image);
    // A row with unsaved edits is drawn apart (ChangedRole, italic, another colour).
    void setChanged(int row, bool changed);
    void setDamaged(int row, bool damaged);
    bool isChanged(int row) const;
    static constexpr int ChangedRole = Qt::UserRole + 1;
    void setDetails(int row, std::string_view type, std::int64_t size, std::int64_t storedSize,
                    std::int64_t offset);
    // The note column after the details (a comparison's status, a line found), titled `header`.
    static constexpr int kNoteColumn = kListColumnCount;
    void setNoteHeader(const QString& header);
    void setNote(int row, std::string_view note);
    // A folder's row: its archive's file name (UTF-8), the copies it shadows, whether it is
    // shadowed (drawn grey).
    void setStack(int row, std::string_view archive, std::int64_t shadows, bool shadowed);
    QString caption(int row) const;
    // The caption's length in the archive's bytes: a letter each.
    std::size_t captionBytes(int row) const;
    int image(int row) const;

    // The files holding the entries of the rows given (dragged out); none: no drag.
    std::function<QList<QUrl>(const std::vector<int>& rows)> dragFiles;

signals:
    void sortRequested(int column, Qt::SortOrder order);

private:
    // Bytes as the archive gives them; turned into text only for the rows a view shows.
    struct Row {
        std::string caption;  // cut at its first NUL
        int image = 0;
        bool changed = false;
        bool damaged = false;
        std::string type;
        std::int64_t size = 0;
        std::int64_t storedSize = 0;
        std::int64_t offset = 0;
        std::string note;  // UTF-8
        std::string archive;
        std::int64_t shadows = 0;
        bool shadowed = false;
    };
    const Row& at(int row) const;
    Row& at(int row);
    void showRow(int row);
    QVariant shownFigure(const Row& row, int column) const;

    std::vector<Row> rows_;   // what the program has set
    std::vector<Row> shown_;  // what the views see; equal to rows_ outside an update
    int updateDepth_ = 0;
    QString noteHeader_;
};

}  // namespace brasvel::app
