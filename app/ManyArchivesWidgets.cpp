// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The window's widgets for comparison, merge and the search inside entries: their menu items,
// the status filter and the "w treści" box on the tool bar, the side-by-side preview page, and
// the toolkit's operations over them.

#include "app/ManyArchivesWidgets.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AppTexts.h"
#include "app/Artwork.h"
#include "app/EntryListModel.h"
#include "app/MainWindow.h"
#include "app/PictureView.h"
#include "app/QtToolkit.h"
#include "archive/TypeItems.h"
#include "base/ResourceError.h"
#include "toolkit/PreviewWidgets.h"

namespace brasvel::app {
namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

SideBySidePage::SideBySidePage(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    oldSide = buildSide(this, QStringLiteral("Old"));
    newSide = buildSide(this, QStringLiteral("New"));
    for (const Side* side : {&oldSide, &newSide}) {
        auto* column = new QVBoxLayout;
        column->addWidget(side->title);
        column->addWidget(side->pages, 1);
        layout->addLayout(column, 1);
    }
}

SideBySidePage::Side SideBySidePage::buildSide(QWidget* parent, const QString& name) {
    Side side;
    side.title = new QLabel(parent);
    side.title->setObjectName(QStringLiteral("SideTitle") + name);
    side.title->setAlignment(Qt::AlignCenter);
    side.pages = new QStackedWidget(parent);
    side.picture = new PictureView;
    side.picture->setObjectName(QStringLiteral("SidePicture") + name);
    side.text = new QPlainTextEdit;
    side.text->setObjectName(QStringLiteral("SideText") + name);
    side.text->setReadOnly(true);
    side.text->setLineWrapMode(QPlainTextEdit::NoWrap);
    side.text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    side.pages->addWidget(side.picture);
    side.pages->addWidget(side.text);
    return side;
}

void SideBySidePage::showSides(const ComparedView& old, const ComparedView& now) {
    showSide(oldSide, old);
    showSide(newSide, now);
}

void SideBySidePage::showSide(Side& side, const ComparedView& view) {
    side.title->setText(fromUtf8(view.title));
    if (view.bmpFile.empty()) {
        side.text->setPlainText(fromUtf8(view.text));
        side.pages->setCurrentWidget(side.text);
        return;
    }
    QImage picture;
    const auto* data = reinterpret_cast<const uchar*>(view.bmpFile.data());
    if (!picture.loadFromData(data, static_cast<int>(view.bmpFile.size()), "BMP")) {
        throw ResourceError::worded(
            appText(texts::kNotABitmap).toStdString(),
            appText(texts::kNotABitmapDetail).arg(view.bmpFile.size()).toStdString());
    }
    side.picture->setPicture(view.kind == PictureKind::SpriteFrame
                                 ? PictureView::withSpriteMarkers(std::move(picture))
                                 : picture);
    side.pages->setCurrentWidget(side.picture);
}

// "Plik": the commands over two archives, before Exit.
void TForm1::buildManyArchivesItems(QMenu* file) {
    CompareWith1 = new QAction(appText(texts::kCompareWithItem), this);
    CloseComparison1 = new QAction(appText(texts::kCloseComparisonItem), this);
    ExportDifferences1 = new QAction(appText(texts::kExportDifferencesItem), this);
    MergeWith1 = new QAction(appText(texts::kMergeWithItem), this);
    CompareWith1->setObjectName(QStringLiteral("CompareWith1"));
    CloseComparison1->setObjectName(QStringLiteral("CloseComparison1"));
    ExportDifferences1->setObjectName(QStringLiteral("ExportDifferences1"));
    MergeWith1->setObjectName(QStringLiteral("MergeWith1"));
    file->addSeparator();
    for (QAction* action : {CompareWith1, CloseComparison1, ExportDifferences1, MergeWith1}) {
        file->addAction(action);
        action->setEnabled(false);
    }
    file->addSeparator();
}

// The status filter and "w treści" after the search box; the side-by-side preview page.
void TForm1::buildManyArchivesWidgets() {
    auto* bar = findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    QAction* afterSearch = nullptr;
    const QList<QAction*> actions = bar->actions();
    for (qsizetype k = 0; k + 1 < actions.size(); ++k) {
        if (bar->widgetForAction(actions[k]) == SearchBox) {
            afterSearch = actions[k + 1];
        }
    }
    // A toggle inside the search box, which keeps the tool bar within the window's least width;
    // the box's placeholder says which search it makes.
    // Greyed while names are searched, in colour while contents are.
    const QIcon page = listIcon(kImageTxt);
    const QSize size = page.availableSizes().value(0, QSize(16, 16));
    const QIcon greyed(page.pixmap(size, QIcon::Disabled));
    ContentSearch = new QAction(greyed, appText(texts::kContentSearchBox), this);
    ContentSearch->setObjectName(QStringLiteral("ContentSearch"));
    ContentSearch->setCheckable(true);
    ContentSearch->setToolTip(appText(texts::kContentSearchHint));
    SearchBox->addAction(ContentSearch, QLineEdit::TrailingPosition);
    connect(ContentSearch, &QAction::toggled, SearchBox, [this, page, greyed](bool on) {
        ContentSearch->setIcon(on ? page : greyed);
        SearchBox->setPlaceholderText(
            appText(on ? texts::kContentSearchPlaceholder : texts::kSearchPlaceholder));
    });
    StatusFilter = new QComboBox;
    StatusFilter->setObjectName(QStringLiteral("StatusFilter"));
    StatusFilter->setToolTip(appText(texts::kStatusFilterHint));
    StatusFilterAction = bar->insertWidget(afterSearch, StatusFilter);
    StatusFilterAction->setVisible(false);

    // The note column, hidden until a comparison or a search fills it, comes right after the
    // names, where it is seen without scrolling.
    DetailsView->header()->moveSection(EntryListModel::kNoteColumn, 1);
    DetailsView->setColumnHidden(EntryListModel::kNoteColumn, true);

    SideBySide = new SideBySidePage;
    SideBySide->setObjectName(QStringLiteral("SideBySide"));
    PreviewPages->addWidget(SideBySide);
}

void TForm1::fitNoteColumn() {
    constexpr int kWidestNote = 420;
    const int column = EntryListModel::kNoteColumn;
    if (DetailsView->isColumnHidden(column)) {
        return;
    }
    DetailsView->resizeColumnToContents(column);
    DetailsView->setColumnWidth(column, std::min(DetailsView->columnWidth(column), kWidestNote));
}

// --- The toolkit's operations ---

void QtToolkit::setNoteColumn(std::string_view header) {
    window_.listModel->setNoteHeader(fromUtf8(header));
    window_.DetailsView->setColumnHidden(EntryListModel::kNoteColumn, header.empty());
    window_.fitNoteColumn();
}

void QtToolkit::setRowNote(int row, std::string_view note) {
    window_.listModel->setNote(row, note);
}

void QtToolkit::showStatusFilter(std::span<const std::string> items) {
    QComboBox* filter = window_.StatusFilter;
    const QSignalBlocker quiet(filter);  // the logic chose the first item itself
    filter->clear();
    for (const std::string& item : items) {
        filter->addItem(fromUtf8(item));
    }
    filter->setCurrentIndex(0);
    window_.StatusFilterAction->setVisible(!items.empty());
}

void QtToolkit::showSideBySide(const ComparedView& old, const ComparedView& now) {
    window_.SideBySide->showSides(old, now);
    showPage(window_.SideBySide, {});
}

}  // namespace brasvel::app
