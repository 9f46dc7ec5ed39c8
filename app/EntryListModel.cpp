#include "app/EntryListModel.h"

#include <QColor>
#include <QFont>
#include <stdexcept>
#include <string>

#include "app/Artwork.h"
#include "base/Text.h"

namespace brasvel::app {

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(shown_.size())) {
        return {};
    }
    const Row& row = shown_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return row.caption;
        case Qt::DecorationRole:
            return listIcon(row.image);
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
            return row.changed ? QVariant(QColor(0x1a, 0x5f, 0xb4)) : QVariant();
        default:
            return {};
    }
}

Qt::ItemFlags EntryListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
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
    at(row).caption = QString::fromStdString(shownText(entryBytes));
    showRow(row);
}

void EntryListModel::setImage(int row, int image) {
    at(row).image = image;
    showRow(row);
}

void EntryListModel::setChanged(int row, bool changed) {
    at(row).changed = changed;
    showRow(row);
}

bool EntryListModel::isChanged(int row) const {
    return at(row).changed;
}

QString EntryListModel::caption(int row) const {
    return at(row).caption;
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
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed);
}

}  // namespace brasvel::app
