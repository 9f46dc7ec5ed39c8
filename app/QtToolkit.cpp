// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/QtToolkit.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QListView>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QTreeView>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QMessageBox>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QPixmap>
#include <QProgressBar>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "app/About.h"
#include "app/AppTexts.h"
#include "app/EntryListModel.h"
#include "app/Help.h"
#include "app/LocalPath.h"
#include "app/MainWindow.h"
#include "app/PictureView.h"
#include "app/VideoPage.h"
#include "base/ResourceError.h"
#include "base/Text.h"
#include "window/WindowTexts.h"

namespace brasvel::app {
namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Undo's and Redo's texts name the step ("Cofnij: usuń A&B.TXT"): their first letter is their
// access key (C and P, U and R in English), and an '&' of a name shows as written.
QString withLeadingAccessKey(std::string_view text) {
    return QLatin1Char('&') + fromUtf8(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString fromEntryBytes(std::string_view bytes) {
    return QString::fromStdString(shownText(bytes));
}

}  // namespace

QtToolkit::QtToolkit(TForm1& window) : window_(window) {
    connections_ << QObject::connect(
        window_.ListView1->selectionModel(), &QItemSelectionModel::selectionChanged,
        window_.ListView1,
        [this](const QItemSelection& selected, const QItemSelection& deselected) {
            selectionMoved(selected, deselected);
        });
    connections_ << QObject::connect(
        window_.ListView1->selectionModel(), &QItemSelectionModel::currentChanged,
        window_.ListView1, [this](const QModelIndex& current, const QModelIndex& previous) {
            if (current.row() == previous.row() || programmaticSelection_ > 0) {
                return;
            }
            send([&](WindowEvents& events) { events.selectionChanged({}, {}, current.row()); });
        });
    connections_ << QObject::connect(
        window_.listModel, &EntryListModel::sortRequested, window_.listModel,
        [this](int column, Qt::SortOrder order) {
            if (programmaticSort_ > 0) {
                return;
            }
            send([&](WindowEvents& events) {
                events.sortChosen(static_cast<ListColumn>(column), order == Qt::AscendingOrder);
            });
        });
    connections_ << QObject::connect(window_.ComboBox1, &QComboBox::activated, window_.ComboBox1,
                                     [this](int) {
                                         typedText_ = false;
                                         send(&WindowEvents::typeChosen);
                                     });
    connections_ << QObject::connect(window_.ComboBox1->lineEdit(), &QLineEdit::textEdited,
                                     window_.ComboBox1, [this](const QString&) {
                                         typedText_ = true;
                                         send(&WindowEvents::typeChosen);
                                     });
    connections_ << QObject::connect(&window_, &TForm1::previewResized, &window_,
                                     [this](int width, int height) {
                                         send([&](WindowEvents& events) {
                                             events.previewResized(width, height);
                                         });
                                     });
    connections_ << QObject::connect(window_.scb, &QScrollBar::valueChanged, window_.scb,
                                     [this](int) { frameScrollMoved(); });
    watchTimer_ = new QTimer(&window_);
    watchTimer_->setObjectName(QStringLiteral("WatchTimer"));
    connections_ << QObject::connect(watchTimer_, &QTimer::timeout, watchTimer_, [this] {
        if (!busy()) {
            send(&WindowEvents::watchTimerTicked);
        }
    });
    connections_ << QObject::connect(window_.FrameTimer, &QTimer::timeout, window_.FrameTimer,
                                     [this] {
                                         // A tick during another handler (a batch, a dialog)
                                         // waits for the next one.
                                         if (!busy()) {
                                             send(&WindowEvents::frameTimerTicked);
                                         }
                                     });
}

namespace {

// The rows a selection covers, each once (a details row is selected in every column), upwards.
std::vector<int> rowsOf(const QItemSelection& selection) {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

}  // namespace

void QtToolkit::selectionMoved(const QItemSelection& selected, const QItemSelection& deselected) {
    if (programmaticSelection_ > 0) {
        return;
    }
    // The rows that lose the selection are reported before those that gain it.
    run([&] {
        std::vector<int> lost = rowsOf(deselected);
        const std::vector<int> gained = rowsOf(selected);
        // A row that keeps some of its cells selected did not lose the selection.
        const QItemSelectionModel* selection = window_.ListView1->selectionModel();
        std::erase_if(lost, [&](int row) {
            return selection->isRowSelected(row, QModelIndex()) ||
                   selection->isSelected(window_.listModel->index(row, 0));
        });
        if (events() != nullptr) {
            events()->selectionChanged(lost, gained, selection->currentIndex().row());
        }
    });
}

QtToolkit::~QtToolkit() {
    // The window may outlive the toolkit; its signals must not reach a toolkit that is gone.
    for (const QMetaObject::Connection& connection : connections_) {
        QObject::disconnect(connection);
    }
}

// --- The entry list ---

void QtToolkit::setListVisible(bool visible) {
    window_.setListShown(visible);
}

bool QtToolkit::isListVisible() const {
    return window_.isListShown();
}

void QtToolkit::focusList() {
    if (isListVisible()) {
        window_.shownList()->setFocus(Qt::OtherFocusReason);
    }
}

void QtToolkit::beginListUpdate() {
    window_.listModel->beginUpdate();
}

void QtToolkit::endListUpdate() {
    window_.listModel->endUpdate();
    window_.fitNoteColumn();
}

void QtToolkit::clearRows() {
    window_.listModel->clear();
}

int QtToolkit::appendRow() {
    return window_.listModel->append();
}

int QtToolkit::rowCount() const {
    return window_.listModel->size();
}

void QtToolkit::setRowCaption(int row, std::string_view entryBytes) {
    window_.listModel->setCaption(row, entryBytes);
}

void QtToolkit::setRowImage(int row, int image) {
    window_.listModel->setImage(row, image);
}

void QtToolkit::setRowDetails(int row, const RowDetails& details) {
    window_.listModel->setDetails(row, details.type, details.size, details.storedSize,
                                  details.offset);
    if (!details.archive.empty() || details.shadows > 0 || details.shadowed) {
        window_.listModel->setStack(row, details.archive, details.shadows, details.shadowed);
    }
}

void QtToolkit::setFolderColumnsShown(bool shown) {
    for (const ListColumn column : {ListColumn::Archive, ListColumn::Shadows}) {
        window_.DetailsView->setColumnHidden(static_cast<int>(column), !shown);
    }
}

void QtToolkit::selectRow(int row) {
    const int rows[] = {row};
    selectRows(row < 0 ? std::span<const int>() : std::span<const int>(rows), row);
}

void QtToolkit::selectRows(std::span<const int> rows, int current) {
    QItemSelectionModel* selection = window_.ListView1->selectionModel();
    EntryListModel* model = window_.listModel;
    const int lastColumn = model->columnCount() - 1;
    ++programmaticSelection_;
    // Runs of neighbouring rows become one range each, so selecting thousands stays quick.
    QItemSelection chosen;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t end = i + 1;
        while (end < rows.size() && rows[end] == rows[end - 1] + 1) {
            ++end;
        }
        if (rows[i] >= 0 && rows[end - 1] < rowCount()) {
            chosen.select(model->index(rows[i], 0), model->index(rows[end - 1], lastColumn));
        }
        i = end;
    }
    selection->select(chosen, QItemSelectionModel::ClearAndSelect);
    if (current < 0 || current >= rowCount()) {
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        const QModelIndex index = model->index(current, 0);
        selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        window_.shownList()->scrollTo(index);
    }
    --programmaticSelection_;
}

void QtToolkit::setListLook(ListLook look) {
    window_.showListLook(look);
}

void QtToolkit::showSortOrder(std::optional<ListColumn> column, bool ascending) {
    ++programmaticSort_;
    window_.DetailsView->header()->setSortIndicator(column ? static_cast<int>(*column) : -1,
                                                    ascending ? Qt::AscendingOrder
                                                              : Qt::DescendingOrder);
    --programmaticSort_;
}

void QtToolkit::setRowChanged(int row, bool changed) {
    window_.listModel->setChanged(row, changed);
}

void QtToolkit::setRowDamaged(int row, bool damaged) {
    window_.listModel->setDamaged(row, damaged);
}

void QtToolkit::setCommandState(const CommandState& state) {
    for (QAction* action : {window_.ToolButton2, window_.SaveSingleFile1, window_.ShowInPreview1}) {
        action->setEnabled(state.entryCommands);
    }
    const std::string& extractText = state.extractItemText;
    const QString shown =
        extractText.empty() ? appText(texts::kExtractOneItem) : fromUtf8(extractText);
    window_.SaveSingleFile1->setText(shown);
    // The tool bar's button tells the same, without the menu's access key.
    window_.ToolButton2->setToolTip(extractText.empty() ? appText(texts::kExtractOneHint)
                                                        : QString(shown).remove(QLatin1Char('&')));
    window_.SavePng->setEnabled(state.savePicture);
    window_.ExportSprite->setEnabled(state.exportSprite);
    window_.PlayButton->setEnabled(state.playerButtons);
    window_.StopButton->setEnabled(state.playerButtons);
    window_.CloseComparison1->setEnabled(state.comparing);
    showEditCommands(state.edit);
}

void QtToolkit::showEditCommands(const EditCommandState& state) {
    window_.AddFiles1->setEnabled(state.archiveEditable);
    for (QAction* action : {window_.ReplaceEntry1, window_.RemoveEntry1, window_.RenameEntry1}) {
        action->setEnabled(state.entrySelected);
    }
    window_.ImportSprite1->setEnabled(state.spritesEditable);
    window_.ReplaceFrame1->setEnabled(state.spriteSelected);
    window_.EditExternally1->setEnabled(state.entrySelected);
    window_.ArchiveOrder1->setEnabled(state.folderOpen);
    window_.ShowShadowed1->setEnabled(state.folderOpen);
    window_.ShowShadowed1->setChecked(state.shadowedShown);
    window_.EditThisArchive1->setEnabled(state.folderEntrySelected);
    window_.EditThisArchive1->setVisible(state.folderOpen);
    window_.SaveArchive1->setEnabled(state.archiveEditable && state.changed);
    window_.RevertChanges1->setEnabled(state.changed);
    window_.SaveArchiveAs1->setEnabled(state.archiveEditable && state.archiveOpen);
    window_.CompareWith1->setEnabled(state.archiveOpen);
    window_.ExportDifferences1->setEnabled(state.archiveOpen);
    window_.MergeWith1->setEnabled(state.archiveEditable);
    window_.UndoEdit1->setText(withLeadingAccessKey(state.undoText));
    window_.UndoEdit1->setEnabled(state.canUndo);
    window_.RedoEdit1->setText(withLeadingAccessKey(state.redoText));
    window_.RedoEdit1->setEnabled(state.canRedo);
}

void QtToolkit::setArchiveTitle(std::string_view fileName) {
    window_.showArchiveTitle(fromUtf8(fileName));
}

void QtToolkit::setRecentArchives(std::span<const std::string> paths) {
    QMenu* menu = window_.RecentMenu;
    // The item chosen may be the one whose handler runs now: it goes once that has ended.
    for (QAction* item : menu->actions()) {
        menu->removeAction(item);
        item->deleteLater();
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const QString path = fromLocalPath(paths[i]);
        QAction* item = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        QObject::connect(item, &QAction::triggered, menu, [this, i] {
            send([i](WindowEvents& events) { events.recentChosen(i); });
        });
    }
    menu->setEnabled(!paths.empty());
}

// --- Status bar ---

void QtToolkit::setStatusText(int panel, std::string_view text) {
    window_.StatusPanels.at(static_cast<std::size_t>(panel))->setText(fromUtf8(text));
}

void QtToolkit::setStatusWidth(int panel, int width) {
    // The widths are given for a font of about five pixels per average character; a wider font
    // widens the panels alike so their texts still fit.
    QLabel* label = window_.StatusPanels.at(static_cast<std::size_t>(panel));
    const double scale = std::max(1.0, label->fontMetrics().averageCharWidth() / 5.0);
    // It is the width the panel asks for: a narrow window shrinks the panels (their texts cut in
    // the middle) rather than drawing them over one another.
    label->setProperty("preferredWidth", static_cast<int>(std::lround(width * scale)));
    label->updateGeometry();
}

// --- Progress bars ---

int QtToolkit::progressPosition(ProgressBarId bar) const {
    return (bar == ProgressBarId::Toolbar ? window_.ProgressBar1 : window_.ProgressBar3)->value();
}

void QtToolkit::setProgressPosition(ProgressBarId bar, int position) {
    QProgressBar* target =
        bar == ProgressBarId::Toolbar ? window_.ProgressBar1 : window_.ProgressBar3;
    target->setValue(std::clamp(position, 0, kProgressMaximum));
}

// --- Type box ---

int QtToolkit::selectedTypeIndex() const {
    QComboBox* box = window_.ComboBox1;
    if (typedText_) {
        // Typed text selects the item it spells exactly, or none.
        return box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    }
    return box->currentIndex();
}

void QtToolkit::setTypeBoxText(std::string_view text) {
    window_.ComboBox1->setEditText(fromUtf8(text));
}

// --- Panels ---

void QtToolkit::setPanelVisible(PanelId panel, bool visible) {
    if (panel == PanelId::Extra) {
        window_.extra->setVisible(visible);
        // While a batch runs only its Cancel button takes input.
        window_.menuBar()->setEnabled(!visible);
        window_.ListView1->setEnabled(!visible);
        window_.DetailsView->setEnabled(!visible);
        for (QToolBar* bar : window_.findChildren<QToolBar*>()) {
            bar->setEnabled(!visible);
        }
        if (visible) {
            window_.extra->raise();
        }
    } else {
        window_.Panel1->setVisible(visible);
    }
}

bool QtToolkit::isPanelVisible(PanelId panel) const {
    return panel == PanelId::Extra ? !window_.extra->isHidden() : !window_.Panel1->isHidden();
}

void QtToolkit::setPanelHint(PanelId panel, std::string_view entryBytes) {
    const QString hint = fromEntryBytes(entryBytes);
    if (panel == PanelId::Extra) {
        window_.extra->setToolTip(hint);
    } else {
        window_.Panel1->setToolTip(hint);
        window_.Image->setToolTip(hint);
    }
}

// --- Picture ---

void QtToolkit::showPicture(std::span<const std::byte> bmpFile, PictureKind kind) {
    QImage picture;
    const auto* data = reinterpret_cast<const uchar*>(bmpFile.data());
    if (!picture.loadFromData(data, static_cast<int>(bmpFile.size()), "BMP")) {
        throw ResourceError::worded(
            appText(texts::kNotABitmap).toStdString(),
            appText(texts::kNotABitmapDetail).arg(bmpFile.size()).toStdString());
    }
    window_.Image->setPicture(kind == PictureKind::SpriteFrame
                                  ? PictureView::withSpriteMarkers(std::move(picture))
                                  : picture);
    showPage(window_.PicturePage, {});
}

void QtToolkit::showPreviewMessage(std::string_view text) {
    window_.Image->setMessage(fromUtf8(text));
    showPage(window_.PicturePage, {});
}

// --- Video page ---

void QtToolkit::showVideoFrame(std::span<const std::uint8_t> rgb, int width, int height) {
    // The image reads the logic's pixels only until the copy is made.
    const QImage frame(rgb.data(), width, height, 3 * width, QImage::Format_RGB888);
    window_.Video->showFrame(frame.copy());
    showPage(window_.Video, {});
}

void QtToolkit::setVideoPosition(int frame, int frames, std::string_view text) {
    window_.Video->setPosition(frame, frames, fromUtf8(text));
}

void QtToolkit::setVideoPlaying(bool playing, int tickMs) {
    window_.Video->setPlaying(playing, tickMs);
}

void QtToolkit::setVideoInfo(std::string_view text) { window_.Video->setInfo(fromUtf8(text)); }

void QtToolkit::repaintImage() {
    window_.Image->update();
}

// --- Frame scroll bar ---

void QtToolkit::setFrameScrollMinimum(int minimum) {
    changeFrameScroll([&] {
        scrollMinimum_ = minimum;
        applyFrameScrollRange();
    });
}

void QtToolkit::setFrameScrollMaximum(int maximum) {
    changeFrameScroll([&] {
        scrollMaximum_ = maximum;
        applyFrameScrollRange();
    });
}

void QtToolkit::setFrameScrollPosition(int position) {
    changeFrameScroll([&] { window_.scb->setValue(position); });
}

int QtToolkit::frameScrollPosition() const {
    return window_.scb->value();
}

void QtToolkit::setFrameScrollVisible(bool visible) {
    window_.scb->setVisible(visible);
    window_.FrameRow->setVisible(visible);
}

bool QtToolkit::isFrameScrollVisible() const {
    return !window_.scb->isHidden();
}

void QtToolkit::applyFrameScrollRange() {
    // A maximum below the minimum leaves the scroll bar at the minimum; the minimum itself stays.
    window_.scb->setRange(scrollMinimum_, std::max(scrollMinimum_, scrollMaximum_));
}

void QtToolkit::changeFrameScroll(const std::function<void()>& change) {
    // Each change collects the error of its own notification, so a change made inside a
    // notification fails in the handler that made it, as a direct call would.
    std::exception_ptr outer = std::exchange(scrollError_, nullptr);
    ++programmaticScroll_;
    try {
        change();
    } catch (...) {
        --programmaticScroll_;
        scrollError_ = outer;
        throw;
    }
    --programmaticScroll_;
    if (std::exception_ptr error = std::exchange(scrollError_, outer)) {
        std::rethrow_exception(error);
    }
}

void QtToolkit::frameScrollMoved() {
    if (events() == nullptr) {
        return;
    }
    if (programmaticScroll_ > 0) {
        // Inside the program's own change: the notification runs now, and its error goes to the
        // code that changed the scroll bar, not through Qt.
        if (scrollError_) {
            return;
        }
        try {
            events()->frameScrollChanged();
        } catch (...) {
            scrollError_ = std::current_exception();
        }
        return;
    }
    send(&WindowEvents::frameScrollChanged);
}

// --- Questions, reports and dialogs ---

bool QtToolkit::askOkCancel(std::string_view caption, std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, fromUtf8(caption), fromUtf8(text),
                    QMessageBox::Ok | QMessageBox::Cancel, &window_);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

OverwriteAnswer QtToolkit::askOverwrite(std::string_view fileName, std::string_view folder,
                                        bool several) {
    QMessageBox box(QMessageBox::Question, appText(texts::kOverwriteCaption),
                    appText(texts::kOverwriteQuestion)
                        .arg(fromUtf8(fileName), fromLocalPath(folder)),
                    QMessageBox::NoButton, &window_);
    QPushButton* overwrite = box.addButton(appText(texts::kOverwriteButton),
                                           QMessageBox::AcceptRole);
    QPushButton* skip = box.addButton(appText(texts::kSkipButton), QMessageBox::RejectRole);
    QPushButton* overwriteAll = nullptr;
    QPushButton* skipAll = nullptr;
    if (several) {
        overwriteAll = box.addButton(appText(texts::kOverwriteAllButton),
                                     QMessageBox::AcceptRole);
        skipAll = box.addButton(appText(texts::kSkipAllButton), QMessageBox::RejectRole);
    }
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(skip);
    box.setEscapeButton(cancel);
    box.exec();
    const QAbstractButton* pressed = box.clickedButton();
    if (pressed == overwrite) {
        return OverwriteAnswer::Overwrite;
    }
    if (pressed == skip) {
        return OverwriteAnswer::Skip;
    }
    if (pressed != nullptr && pressed == overwriteAll) {
        return OverwriteAnswer::OverwriteAll;
    }
    if (pressed != nullptr && pressed == skipAll) {
        return OverwriteAnswer::SkipAll;
    }
    return OverwriteAnswer::Cancel;
}

void QtToolkit::reportError(std::string_view text) {
    QMessageBox box(QMessageBox::Critical, appText(texts::kMessageCaption), fromUtf8(text),
                    QMessageBox::Ok,
                    &window_);
    box.exec();
}

void QtToolkit::reportNotice(std::string_view text) {
    QMessageBox box(QMessageBox::Information, appText(texts::kMessageCaption), fromUtf8(text),
                    QMessageBox::Ok,
                    &window_);
    box.exec();
}

std::string QtToolkit::translate(const char* text) const {
    return QCoreApplication::translate(brasvel::texts::kContext, text).toStdString();
}

QStringList QtToolkit::nameFilters(std::span<const OpenFilter> filters) {
    QStringList names;
    for (const OpenFilter& filter : filters) {
        names << QStringLiteral("%1 (%2)").arg(fromUtf8(filter.text), fromUtf8(filter.pattern));
    }
    return names;
}

void QtToolkit::prepareOpenDialog(QFileDialog& dialog, const QString& initialDirectory,
                                  std::span<const OpenFilter> filters) {
    dialog.setOptions(kFileDialogOptions);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Archive names come in any case: demo.lod, DEMO.LOD and Demo.Lod all show under "*.Lod".
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setNameFilters(nameFilters(filters));
    if (!initialDirectory.isEmpty() && QFileInfo(initialDirectory).isDir()) {
        dialog.setDirectory(initialDirectory);
    }
}

std::optional<OpenChoice> QtToolkit::runOpenDialog(std::string_view initialDirectory,
                                                   std::span<const OpenFilter> filters) {
    QFileDialog dialog(&window_);
    prepareOpenDialog(dialog,
                      fromLocalPath(initialDirectory),
                      filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    const auto filter = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    // Like the platform's open dialog, choosing a file makes its folder the current one.
    QDir::setCurrent(QFileInfo(path).absolutePath());
    return OpenChoice{localPath(path), filter < 0 ? 1 : static_cast<int>(filter) + 1};
}

std::optional<std::string> QtToolkit::chooseFolder(std::string_view caption,
                                                   std::string_view initialDirectory) {
    const QString start = fromLocalPath(initialDirectory);
    const QString folder = QFileDialog::getExistingDirectory(
        &window_, fromUtf8(caption), QFileInfo(start).isDir() ? start : QString(),
        QFileDialog::ShowDirsOnly | kFileDialogOptions);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return localPath(QDir::toNativeSeparators(folder));
}

SaveAnswer QtToolkit::askSaveChanges(std::string_view caption, std::string_view text) {
    QMessageBox box(QMessageBox::Question, fromUtf8(caption), fromUtf8(text), QMessageBox::NoButton,
                    &window_);
    QPushButton* save = box.addButton(appText(texts::kSaveButton), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(appText(texts::kDiscardButton),
                                         QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(appText(texts::kCancelButton), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) {
        return SaveAnswer::Save;
    }
    return box.clickedButton() == discard ? SaveAnswer::Discard : SaveAnswer::Cancel;
}

ChangedOnDiskAnswer QtToolkit::askChangedOnDisk(std::string_view caption, std::string_view text) {
    QMessageBox box(QMessageBox::Warning, fromUtf8(caption), fromUtf8(text), QMessageBox::NoButton,
                    &window_);
    QPushButton* reload = box.addButton(appText(texts::kReloadButton), QMessageBox::ResetRole);
    QPushButton* saveAs = box.addButton(appText(texts::kSaveAsButton), QMessageBox::AcceptRole);
    QPushButton* overwrite =
        box.addButton(appText(texts::kSaveAnywayButton), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(appText(texts::kCancelButton), QMessageBox::RejectRole);
    // Nothing is lost by the default: the edits go to another file.
    box.setDefaultButton(saveAs);
    box.setEscapeButton(cancel);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == reload) {
        return ChangedOnDiskAnswer::Reload;
    }
    if (clicked == saveAs) {
        return ChangedOnDiskAnswer::SaveAs;
    }
    return clicked == overwrite ? ChangedOnDiskAnswer::Overwrite : ChangedOnDiskAnswer::Cancel;
}

std::optional<std::vector<std::size_t>> QtToolkit::arrangeList(
    std::string_view caption, std::string_view text, std::span<const std::string> items) {
    QDialog dialog(&window_);
    dialog.setObjectName(QStringLiteral("ArrangeDialog"));
    dialog.setWindowTitle(fromUtf8(caption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(fromUtf8(text));
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* row = new QHBoxLayout;
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("ArrangeList"));
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* item = new QListWidgetItem(fromUtf8(items[i]), list);
        item->setData(Qt::UserRole, static_cast<qulonglong>(i));
    }
    list->setCurrentRow(0);
    row->addWidget(list);
    auto* moves = new QVBoxLayout;
    auto* up = new QPushButton(appText(texts::kUpButton));
    auto* down = new QPushButton(appText(texts::kDownButton));
    moves->addWidget(up);
    moves->addWidget(down);
    moves->addStretch();
    row->addLayout(moves);
    layout->addLayout(row);
    const auto move = [list](int by) {
        const int from = list->currentRow();
        const int to = from + by;
        if (from < 0 || to < 0 || to >= list->count()) {
            return;
        }
        list->insertItem(to, list->takeItem(from));
        list->setCurrentRow(to);
    };
    QObject::connect(up, &QPushButton::clicked, list, [move] { move(-1); });
    QObject::connect(down, &QPushButton::clicked, list, [move] { move(1); });
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(appText(texts::kOkButton), QDialogButtonBox::AcceptRole);
    buttons->addButton(appText(texts::kCancelButton), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    std::vector<std::size_t> order;
    for (int i = 0; i < list->count(); ++i) {
        order.push_back(static_cast<std::size_t>(list->item(i)->data(Qt::UserRole).toULongLong()));
    }
    return order;
}

std::size_t QtToolkit::askChoice(std::string_view caption, std::string_view text,
                                 std::span<const std::string> buttons) {
    QMessageBox box(QMessageBox::Question, fromUtf8(caption), fromUtf8(text), QMessageBox::NoButton,
                    &window_);
    std::vector<QPushButton*> pressed;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const bool last = i + 1 == buttons.size();
        pressed.push_back(box.addButton(fromUtf8(buttons[i]), last ? QMessageBox::RejectRole
                                                                   : QMessageBox::AcceptRole));
    }
    if (pressed.empty()) {
        return 0;
    }
    box.setDefaultButton(pressed.front());
    box.setEscapeButton(pressed.back());
    box.exec();
    const auto found = std::find(pressed.begin(), pressed.end(), box.clickedButton());
    return found != pressed.end() ? static_cast<std::size_t>(found - pressed.begin())
                                  : pressed.size() - 1;
}

bool QtToolkit::openExternally(const std::string& path, const std::string& program) {
    const QString file = fromLocalPath(path);
    QString command = qEnvironmentVariable("BRASVEL_EDITOR");
    if (command.isEmpty()) {
        command = fromUtf8(program);
    }
    if (command.trimmed().isEmpty()) {
        // xdg-open on Linux, ShellExecute on Windows: the program the desktop associates.
        return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    }
    QStringList arguments = QProcess::splitCommand(command);
    if (arguments.isEmpty()) {
        return false;
    }
    const QString executable = arguments.takeFirst();
    arguments << file;
    return QProcess::startDetached(executable, arguments);
}

void QtToolkit::setWatchTimer(int intervalMs) {
    if (intervalMs > 0) {
        watchTimer_->start(intervalMs);
    } else {
        watchTimer_->stop();
    }
}

DamagedAnswer QtToolkit::askDamagedEntries(std::string_view caption, std::string_view text) {
    QMessageBox box(QMessageBox::Warning, fromUtf8(caption), fromUtf8(text), QMessageBox::NoButton,
                    &window_);
    QPushButton* keep = box.addButton(appText(texts::kKeepButton), QMessageBox::AcceptRole);
    QPushButton* drop =
        box.addButton(appText(texts::kLeaveOutButton), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(appText(texts::kCancelButton), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == keep) {
        return DamagedAnswer::Keep;
    }
    return box.clickedButton() == drop ? DamagedAnswer::Drop : DamagedAnswer::Cancel;
}

std::optional<std::string> QtToolkit::askName(std::string_view caption, std::string_view label,
                                              std::string_view initial, const NameCheck& check) {
    QDialog dialog(&window_);
    dialog.setObjectName(QStringLiteral("NameDialog"));
    dialog.setWindowTitle(fromUtf8(caption));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(fromUtf8(label)));
    auto* edit = new QLineEdit(fromUtf8(initial));
    edit->setMinimumWidth(360);
    layout->addWidget(edit);
    auto* reason = new QLabel;
    reason->setObjectName(QStringLiteral("NameRefusal"));
    reason->setStyleSheet(QStringLiteral("color: #b00000"));
    reason->setWordWrap(true);
    // Room for a reason of two lines from the start: the dialog does not jump as one is typed.
    reason->setMinimumHeight(2 * reason->fontMetrics().lineSpacing() + 4);
    reason->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(reason);
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(appText(texts::kOkButton), QDialogButtonBox::AcceptRole);
    buttons->addButton(appText(texts::kCancelButton), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const auto recheck = [&](const QString& name) {
        const std::optional<std::string> refusal = check(name.toStdString());
        reason->setText(refusal ? fromUtf8(*refusal) : QString());
        ok->setEnabled(!refusal);
    };
    QObject::connect(edit, &QLineEdit::textChanged, &dialog, recheck);
    recheck(edit->text());
    // The part before the extension is what one usually changes.
    const qsizetype dot = edit->text().lastIndexOf(QLatin1Char('.'));
    edit->setSelection(0, static_cast<int>(dot > 0 ? dot : edit->text().size()));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return edit->text().toStdString();
}

std::vector<std::string> QtToolkit::chooseFiles(std::string_view caption,
                                                std::string_view initialDirectory, bool many) {
    QFileDialog dialog(&window_, fromUtf8(caption));
    dialog.setOptions(kFileDialogOptions);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(many ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    const QString folder = fromLocalPath(initialDirectory);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        dialog.setDirectory(folder);
    }
    std::vector<std::string> paths;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& path : dialog.selectedFiles()) {
            paths.push_back(localPath(path));
        }
    }
    return paths;
}

std::optional<std::string> QtToolkit::chooseSavePath(std::string_view caption,
                                                     std::string_view initialPath,
                                                     const OpenFilter& filter) {
    QFileDialog dialog(&window_, fromUtf8(caption));
    makeSaveDialog(dialog);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setNameFilters(nameFilters(std::span<const OpenFilter>(&filter, 1)));
    dialog.selectFile(fromLocalPath(initialPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return localPath(dialog.selectedFiles().constFirst());
}

namespace {

// While a job runs, the user's input reaches only `cancel` and what lies within it (the batch
// panel's button, the progress dialog); Escape anywhere presses Cancel. The window is painted
// as ever.
class InputOnlyToCancel : public QObject {
public:
    InputOnlyToCancel(QWidget* cancel, std::function<void()> pressCancel)
        : cancel_(cancel), pressCancel_(std::move(pressCancel)) {
        qApp->installEventFilter(this);
    }
    ~InputOnlyToCancel() override { qApp->removeEventFilter(this); }
    InputOnlyToCancel(const InputOnlyToCancel&) = delete;
    InputOnlyToCancel& operator=(const InputOnlyToCancel&) = delete;

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (!isInput(event->type())) {
            return false;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            pressCancel_();
            return true;
        }
        const auto* widget = qobject_cast<const QWidget*>(target);
        if (widget == nullptr) {
            // A window takes the system's input first and hands it to the widget it is for,
            // which is judged then.
            return false;
        }
        const bool forCancel =
            cancel_ != nullptr && (widget == cancel_ || cancel_->isAncestorOf(widget));
        if (!forCancel && event->type() == QEvent::ShortcutOverride) {
            event->accept();  // taken as the widget's own key: no shortcut fires
        }
        return !forCancel;
    }

private:
    static bool isInput(QEvent::Type type) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
        }
    }

    QPointer<QWidget> cancel_;
    std::function<void()> pressCancel_;
};

constexpr int kJobProgressMs = 30;

}  // namespace

void QtToolkit::runJob(const Job& job, BackgroundTask& task) {
    const bool inDialog = job.display == JobDisplay::Dialog;
    std::optional<QProgressDialog> dialog;
    if (inDialog) {
        dialog.emplace(fromUtf8(job.caption), appText(texts::kCancelButton), 0,
                       kProgressMaximum, &window_);
        dialog->setObjectName(QStringLiteral("BackgroundProgress"));
        dialog->setWindowTitle(appText(texts::kMessageCaption));
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        dialog->setMinimumDuration(0);
        dialog->setValue(0);
    }
    // Cancel only asks the work to stop: the job's display stays, keeping the window from other
    // commands, until the work has ended.
    const auto cancel = [&] {
        task.cancel = true;
        if (dialog) {
            dialog->setLabelText(appText(texts::kCancelling));
            dialog->show();
        }
    };
    QWidget* cancelTarget = inDialog ? static_cast<QWidget*>(&*dialog) : window_.CancelBatch;
    const InputOnlyToCancel inert(cancelTarget, cancel);
    QList<QMetaObject::Connection> cancelling;
    if (dialog) {
        cancelling << QObject::connect(&*dialog, &QProgressDialog::canceled, &*dialog, cancel)
                   << QObject::connect(&*dialog, &QDialog::rejected, &*dialog, cancel);
    } else {
        cancelling << QObject::connect(window_.CancelBatch, &QPushButton::clicked,
                                       window_.CancelBatch, cancel);
    }
    jobRunning_ = true;

    QEventLoop loop;
    WorkThread worker(job.work, [&loop] {
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    const auto showProgress = [&] {
        if (job.showProgress) {
            job.showProgress();
        }
        const std::size_t total = task.total;
        if (dialog && total > 0) {
            dialog->setValue(static_cast<int>(task.done * kProgressMaximum / total));
            if (!task.cancel) {
                const std::string current = task.current();
                dialog->setLabelText(
                    current.empty()
                        ? fromUtf8(job.caption)
                        : fromUtf8(brasvel::texts::fillIn(appText(texts::kJobProgress).toStdString(),
                                                 {job.caption, std::to_string(task.done),
                                                  std::to_string(total), current})));
            }
        }
    };
    QTimer progress;
    progress.setInterval(kJobProgressMs);
    QObject::connect(&progress, &QTimer::timeout, &loop, [&] {
        showProgress();
        if (worker.finished()) {
            loop.quit();
        }
    });
    progress.start();
    if (dialog) {
        dialog->show();
    }
    if (!worker.finished()) {
        loop.exec();
    }
    const std::exception_ptr failure = worker.wait();
    progress.stop();
    for (const QMetaObject::Connection& connection : cancelling) {
        QObject::disconnect(connection);
    }
    jobRunning_ = false;
    showProgress();
    if (dialog) {
        dialog->hide();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void QtToolkit::repaintWindow() {
    // Paint what changed, but take no input: no other command can start in the middle of this
    // one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtToolkit::closeWindow() {
    window_.closeFromHandler();
}

void QtToolkit::showAboutBox() {
    TAboutBox box(&window_);
    box.exec();
}

void QtToolkit::showHelp() {
    Thelp help(&window_);
    help.exec();
}

// --- Handlers ---

void QtToolkit::run(const std::function<void()>& handler) {
    if (jobRunning_) {
        return;  // the window is inert but for Cancel until the job has ended
    }
    ++handlerDepth_;
    try {
        handler();
    } catch (const ResourceError& error) {
        reportError(brasvel::texts::describeError(
            error, [this](const char* source) { return translate(source); }));
    } catch (const std::exception& error) {
        reportError(error.what());
    } catch (...) {
        reportError(appText(texts::kUnknownError).toStdString());
    }
    --handlerDepth_;
}

void QtToolkit::send(const std::function<void(WindowEvents&)>& event) {
    run([&] {
        if (events() != nullptr) {
            event(*events());
        }
    });
}

void QtToolkit::send(void (WindowEvents::*event)()) {
    send([event](WindowEvents& events) { (events.*event)(); });
}

}  // namespace brasvel::app
