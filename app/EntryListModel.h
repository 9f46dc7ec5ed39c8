#pragma once

// The rows of ListView1: a caption (decoded from the entry's Windows-1250 bytes, cut at the first
// NUL) and an image of ImageList1. Inside a bulk update the rows change out of the view's sight;
// the view sees them all at once when the update ends.

#include <QAbstractListModel>
#include <QString>
#include <string_view>
#include <vector>

namespace brasvel::app {

class EntryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

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
    bool isChanged(int row) const;
    static constexpr int ChangedRole = Qt::UserRole + 1;
    QString caption(int row) const;
    int image(int row) const;

private:
    struct Row {
        QString caption;
        int image = 0;
        bool changed = false;
    };
    const Row& at(int row) const;
    Row& at(int row);
    void showRow(int row);

    std::vector<Row> rows_;   // what the program has set
    std::vector<Row> shown_;  // what the view sees; equal to rows_ outside an update
    int updateDepth_ = 0;
};

}  // namespace brasvel::app
