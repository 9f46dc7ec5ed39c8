// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/EntryListModel.h"

#include <QColor>
#include <QFont>
#include <QCoreApplication>
#include <QMimeData>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "app/AppTexts.h"
#include "app/Artwork.h"
#include "base/Text.h"
#include "toolkit/WindowToolkit.h"
#include "window/WindowTexts.h"

namespace brasvel::app {
namespace {

constexpr const char* kColumnTitles[kListColumnCount] = {
    texts::kNameColumn,       texts::kTypeColumn,  texts::kSizeColumn,
    texts::kStoredSizeColumn, texts::kRatioColumn, texts::kOffsetColumn,
    texts::kArchiveColumn,    texts::kShadowsColumn,
};

bool isFigure(int column) {
    return column >= static_cast<int>(ListColumn::Size) &&
           column <= static_cast<int>(ListColumn::Offset);
}

QString windowText(const char* source) {
    return QCoreApplication::translate(brasvel::texts::kContext, source);
}

}  // namespace

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int EntryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kNoteColumn + 1;
}

void EntryListModel::setNoteHeader(const QString& header) {
    noteHeader_ = header;
    emit headerDataChanged(Qt::Horizontal, kNoteColumn, kNoteColumn);
}

void EntryListModel::setNote(int row, std::string_view note) {
    at(row).note = note;
    showRow(row);
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(shown_.size())) {
        return {};
    }
    const Row& row = shown_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            if (column == kNoteColumn) {
                return QString::fromStdString(row.note);
            }
            return column == 0 ? QVariant(QString::fromStdString(shownText(row.caption)))
                               : shownFigure(row, column);
        case Qt::ToolTipRole: {
            if (column != 0) {
                return {};
            }
            // A folder's row says its archive and what it shadows in both looks.
            QString tip = QString::fromStdString(shownText(row.caption));
            if (!row.archive.empty()) {
                tip += QStringLiteral("\n") + QString::fromStdString(row.archive);
                const QVariant mark = shownFigure(row, static_cast<int>(ListColumn::Shadows));
                if (!mark.toString().isEmpty()) {
                    tip += QStringLiteral(", ") + mark.toString();
                }
            }
            return tip;
        }
        case Qt::DecorationRole:
            return column == 0 ? QVariant(listIcon(row.image)) : QVariant();
        case Qt::TextAlignmentRole:
            return isFigure(column) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        case ChangedRole:
            return row.changed;
        case Qt::FontRole:
            if (row.changed) {
                QFont font;
                font.setItalic(true);
                return font;
            }
            return {};
        case Qt::ForegroundRole:
            // Damage outweighs an unsaved change: it decides what a save asks.
            if (row.damaged) {
                return QVariant(QColor(0xb0, 0x00, 0x00));
            }
            if (row.shadowed) {
                return QVariant(QColor(0x80, 0x80, 0x80));
            }
            return row.changed ? QVariant(QColor(0x1a, 0x5f, 0xb4)) : QVariant();
        default:
            return {};
    }
}

// Every figure in the window's one number format: its language's separator of thousands.
QVariant EntryListModel::shownFigure(const Row& row, int column) const {
    const std::string separator =
        QCoreApplication::translate(brasvel::texts::kContext, brasvel::texts::kThousandsSeparator)
            .toStdString();
    const auto figure = [&](std::int64_t value) {
        return QString::fromStdString(brasvel::texts::groupedNumber(value, separator));
    };
    switch (static_cast<ListColumn>(column)) {
        case ListColumn::Type:
            return QString::fromStdString(shownText(row.type)).toUpper();
        case ListColumn::Size:
            return figure(row.size);
        case ListColumn::StoredSize:
            return figure(row.storedSize);
        case ListColumn::Ratio: {
            const RowDetails details{{}, row.size, row.storedSize, row.offset};
            return QString::fromStdString(brasvel::texts::fillIn(
                QCoreApplication::translate(brasvel::texts::kContext, brasvel::texts::kPercent)
                    .toStdString(),
                {figure(details.ratioPercent()).toStdString()}));
        }
        case ListColumn::Offset:
            return figure(row.offset);
        case ListColumn::Archive:
            return QString::fromStdString(row.archive);
        case ListColumn::Shadows:
            if (row.shadowed) {
                return windowText(brasvel::texts::kShadowedMark);
            }
            return row.shadows > 0 ? windowText(brasvel::texts::kShadowsMark)
                                         .arg(figure(row.shadows))
                                   : QString();
        case ListColumn::Name:
            break;
    }
    return {};
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section == kNoteColumn && role == Qt::DisplayRole) {
        return noteHeader_;
    }
    if (orientation != Qt::Horizontal || section < 0 || section >= kListColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return appText(kColumnTitles[section]);
    }
    if (role == Qt::TextAlignmentRole && isFigure(section)) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags EntryListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren |
           Qt::ItemIsDragEnabled;
}

void EntryListModel::sort(int column, Qt::SortOrder order) {
    if (column >= 0 && column < kListColumnCount) {
        emit sortRequested(column, order);
    }
}

QStringList EntryListModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* EntryListModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && index.row() < rowCount()) {
            rows.push_back(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty() || !dragFiles) {
        return nullptr;
    }
    const QList<QUrl> files = dragFiles(rows);
    if (files.isEmpty()) {
        return nullptr;
    }
    auto* data = new QMimeData;
    data->setUrls(files);
    return data;
}

Qt::DropActions EntryListModel::supportedDragActions() const {
    return Qt::CopyAction;
}

void EntryListModel::beginUpdate() {
    ++updateDepth_;
}

void EntryListModel::endUpdate() {
    if (updateDepth_ == 0) {
        return;
    }
    if (--updateDepth_ == 0) {
        beginResetModel();
        shown_ = rows_;
        endResetModel();
    }
}

void EntryListModel::clear() {
    rows_.clear();
    if (!inUpdate()) {
        beginResetModel();
        shown_.clear();
        endResetModel();
    }
}

int EntryListModel::append() {
    const int row = size();
    rows_.emplace_back();
    if (!inUpdate()) {
        beginInsertRows({}, row, row);
        shown_.emplace_back();
        endInsertRows();
    }
    return row;
}

void EntryListModel::setCaption(int row, std::string_view entryBytes) {
    at(row).caption = untilNul(entryBytes);
    showRow(row);
}

void EntryListModel::setImage(int row, int image) {
    at(row).image = image;
    showRow(row);
}

void EntryListModel::setDamaged(int row, bool damaged) {
    at(row).damaged = damaged;
    showRow(row);
}

void EntryListModel::setChanged(int row, bool changed) {
    at(row).changed = changed;
    showRow(row);
}

bool EntryListModel::isChanged(int row) const {
    return at(row).changed;
}

void EntryListModel::setDetails(int row, std::string_view type, std::int64_t size,
                                std::int64_t storedSize, std::int64_t offset) {
    Row& changed = at(row);
    changed.type = untilNul(type);
    changed.size = size;
    changed.storedSize = storedSize;
    changed.offset = offset;
    showRow(row);
}

void EntryListModel::setStack(int row, std::string_view archive, std::int64_t shadows,
                              bool shadowed) {
    Row& changed = at(row);
    changed.archive = archive;
    changed.shadows = shadows;
    changed.shadowed = shadowed;
    showRow(row);
}

QString EntryListModel::caption(int row) const {
    return QString::fromStdString(shownText(at(row).caption));
}

std::size_t EntryListModel::captionBytes(int row) const {
    return at(row).caption.size();
}

int EntryListModel::image(int row) const {
    return at(row).image;
}

const EntryListModel::Row& EntryListModel::at(int row) const {
    if (row < 0 || row >= size()) {
        throw std::out_of_range("no list row " + std::to_string(row));
    }
    return rows_[static_cast<std::size_t>(row)];
}

EntryListModel::Row& EntryListModel::at(int row) {
    return const_cast<Row&>(static_cast<const EntryListModel*>(this)->at(row));
}

void EntryListModel::showRow(int row) {
    if (inUpdate()) {
        return;
    }
    shown_[static_cast<std::size_t>(row)] = rows_[static_cast<std::size_t>(row)];
    emit dataChanged(index(row, 0), index(row, kNoteColumn));
}

}  // namespace brasvel::app
