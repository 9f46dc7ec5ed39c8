// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/MainWindow.h"

#include <QAction>
#include <algorithm>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QFontDatabase>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMenuBar>
#include <QMimeData>
#include <QTreeView>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "app/Artwork.h"
#include "app/EntryListModel.h"
#include "app/LocalPath.h"
#include "app/PictureView.h"
#include "app/PreviewPages.h"
#include "app/QtToolkit.h"
#include "app/VideoPage.h"
#include "archive/TypeItems.h"
#include "window/MainForm.h"
#include "window/PreviewKinds.h"
#include "window/WavePlayer.h"

namespace brasvel::app {
namespace {

constexpr int kSeparatorWidth = 8;
constexpr QSize kPreviewStartSize(360, 300);

QAction* makeAction(QObject* parent, const QString& text, int image, const QKeySequence& keys) {
    auto* action = new QAction(text, parent);
    if (image >= 0) {
        action->setIcon(listIcon(image));
    }
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
    }
    return action;
}

// A status panel that never draws over its neighbours: it may shrink to a few letters, and a
// text too long for it is cut in the middle ("/home/…/data/h3sprite.lod"), whole in its tool tip.
class ElidedLabel : public QLabel {
public:
    using QLabel::QLabel;
    // The file name panel gives way first; the others keep room for their short texts.
    QSize minimumSizeHint() const override {
        const int height = QLabel::minimumSizeHint().height();
        if (property("givesWay").toBool()) {
            return {24, height};
        }
        return {std::min(QLabel::sizeHint().width(), sizeHint().width()), height};
    }
    // The width asked for by the window's logic (the "preferredWidth" property), else the text's.
    QSize sizeHint() const override {
        const QVariant preferred = property("preferredWidth");
        QSize hint = QLabel::sizeHint();
        if (preferred.isValid()) {
            hint.setWidth(preferred.toInt());
        }
        return hint;
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        const QString whole = text();
        const QRect inside = contentsRect();
        const QString shown = fontMetrics().elidedText(whole, Qt::ElideMiddle, inside.width());
        setToolTip(shown == whole ? QString() : whole);
        QFrame::paintEvent(event);
        QPainter painter(this);
        painter.drawText(inside, Qt::AlignLeft | Qt::AlignVCenter, shown);
    }
};

// The sprite's frame slider: besides Page Up and Page Down, the arrow keys step one frame, as
// they do on every other slider (a scroll bar leaves them to the view it scrolls).
class FrameScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Right:
            case Qt::Key_Down:
                triggerAction(SliderSingleStepAdd);
                return;
            case Qt::Key_Left:
            case Qt::Key_Up:
                triggerAction(SliderSingleStepSub);
                return;
            default:
                QScrollBar::keyPressEvent(event);
        }
    }
};

QWidget* spacer(int width) {
    auto* gap = new QWidget;
    gap->setFixedWidth(width);
    return gap;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(appText(texts::kWindowCaption));
    setWindowIcon(programIcon());
    resize(650, 537);
    setMinimumSize(650, 210);
    setDockOptions(AnimatedDocks | AllowTabbedDocks);
    buildMenus();
    buildToolBar();
    buildCentre();
    buildPreview();
    buildManyArchivesWidgets();
    buildStatusBar();
    PlayButton->setEnabled(false);  // until a sound is ready
    StopButton->setEnabled(false);
}

TForm1::~TForm1() = default;

void TForm1::buildMenus() {
    QMenu* file = menuBar()->addMenu(appText(texts::kFileMenu));
    LoadResurceFile1 = makeAction(this, appText(texts::kOpenItem), 0, Qt::Key_F3);
    SaveSingleFile1 = makeAction(this, appText(texts::kExtractOneItem), 1, Qt::Key_F2);
    SaveSingleFile2 = makeAction(this, appText(texts::kExtractAllItem), 2,
                                 QKeySequence(Qt::CTRL | Qt::Key_F2));
    Exittheprogram1 = makeAction(this, appText(texts::kExitItem), 3, Qt::Key_F12);
    NewArchive1 = makeAction(this, appText(texts::kNewArchiveItem), -1, {});
    file->addAction(NewArchive1);
    file->addAction(LoadResurceFile1);
    OpenFolder1 = makeAction(this, appText(texts::kOpenFolderItem), -1, {});
    ArchiveOrder1 = makeAction(this, appText(texts::kArchiveOrderItem), -1, {});
    ShowShadowed1 = makeAction(this, appText(texts::kShowShadowedItem), -1, {});
    ShowShadowed1->setCheckable(true);
    for (QAction* action : {OpenFolder1, ArchiveOrder1, ShowShadowed1}) {
        file->addAction(action);
    }
    ArchiveOrder1->setEnabled(false);
    ShowShadowed1->setEnabled(false);
    RecentMenu = file->addMenu(appText(texts::kRecentMenu));
    RecentMenu->setObjectName(QStringLiteral("RecentMenu"));
    RecentMenu->setEnabled(false);
    file->addAction(SaveSingleFile1);
    file->addAction(SaveSingleFile2);
    SavePng = makeAction(this, appText(texts::kSavePngItem), kImagePcx,
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    ExportSprite = makeAction(this, appText(texts::kExportSpriteItem), kImageDef, {});
    file->addAction(SavePng);
    file->addAction(ExportSprite);
    buildManyArchivesItems(file);
    file->addAction(Exittheprogram1);

    buildEditMenu();
    buildListMenu();

    QMenu* options = menuBar()->addMenu(appText(texts::kOptionsMenu));
    QuickView1 = makeAction(this, appText(texts::kPreviewItem), kImagePal,
                            QKeySequence(Qt::CTRL | Qt::Key_Z));
    SetPathForExtract1 =
        makeAction(this, appText(texts::kFolderItem), -1, QKeySequence(Qt::CTRL | Qt::Key_F));
    options->addAction(QuickView1);
    options->addAction(SetPathForExtract1);
    ExternalProgram1 = makeAction(this, appText(texts::kExternalProgramItem), -1, {});
    options->addAction(ExternalProgram1);

    QMenu* help = menuBar()->addMenu(appText(texts::kHelpMenu));
    GeneralHelp1 = makeAction(this, appText(texts::kHelpItem), kImageTxt, {});
    About2 = makeAction(this, appText(texts::kAboutItem), -1, {});
    help->addAction(GeneralHelp1);
    help->addAction(About2);
}

// "Edycja", also the list's context menu. The window's logic enables the items.
void TForm1::buildEditMenu() {
    QMenu* edit = menuBar()->addMenu(appText(texts::kEditMenu));
    // Their texts name the step, from the window's logic. Ctrl+Z is the preview's.
    UndoEdit1 = makeAction(this, QString(), -1, QKeySequence(Qt::ALT | Qt::Key_Backspace));
    RedoEdit1 = makeAction(this, QString(), -1, QKeySequence(Qt::CTRL | Qt::Key_Y));
    for (QAction* action : {UndoEdit1, RedoEdit1}) {
        edit->addAction(action);
        action->setEnabled(false);
    }
    edit->addSeparator();
    AddFiles1 = makeAction(this, appText(texts::kAddFilesItem), -1, QKeySequence(Qt::Key_Insert));
    ReplaceEntry1 = makeAction(this, appText(texts::kReplaceItem), -1, {});
    RemoveEntry1 = makeAction(this, appText(texts::kRemoveItem), -1, QKeySequence::Delete);
    RenameEntry1 =
        makeAction(this, appText(texts::kRenameItem), -1, QKeySequence(Qt::CTRL | Qt::Key_R));
    SaveArchive1 = makeAction(this, appText(texts::kSaveItem), -1, QKeySequence::Save);
    SaveArchiveAs1 = makeAction(this, appText(texts::kSaveAsItem), -1,
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    RevertChanges1 = makeAction(this, appText(texts::kRevertItem), -1, {});
    for (QAction* action : {AddFiles1, ReplaceEntry1, RemoveEntry1, RenameEntry1}) {
        edit->addAction(action);
    }
    buildSpriteItems(edit);
    // A folder's list: the selected entry's archive opened alone, to be edited.
    EditThisArchive1 = makeAction(this, appText(texts::kEditThisArchiveItem), -1, {});
    edit->addAction(EditThisArchive1);
    EditThisArchive1->setEnabled(false);
    EditThisArchive1->setVisible(false);
    edit->addSeparator();
    for (QAction* action : {SaveArchive1, SaveArchiveAs1, RevertChanges1}) {
        edit->addAction(action);
        action->setEnabled(false);
    }
    for (QAction* action : {AddFiles1, ReplaceEntry1, RemoveEntry1, RenameEntry1}) {
        action->setEnabled(false);
    }
    editMenu_ = edit;
}

// The list's context menu: the commands for the selected rows, in both looks. Its items are the
// menus' own actions, enabled by the window's logic as there.
void TForm1::buildListMenu() {
    ShowInPreview1 = makeAction(this, appText(texts::kShowInPreviewItem), kImagePcx,
                                QKeySequence(Qt::Key_Enter));
    // Enter reaches the list as a key (its activation), not as this item's shortcut.
    ShowInPreview1->setShortcutContext(Qt::WidgetShortcut);
    ShowInPreview1->setEnabled(false);
    listMenu_ = new QMenu(this);
    listMenu_->setObjectName(QStringLiteral("ListMenu"));
    listMenu_->addAction(ShowInPreview1);
    listMenu_->addSeparator();
    listMenu_->addAction(SaveSingleFile1);
    listMenu_->addSeparator();
    listMenu_->addAction(EditThisArchive1);
    for (QAction* action : {ReplaceEntry1, RenameEntry1, RemoveEntry1}) {
        listMenu_->addAction(action);
    }
    listMenu_->addSeparator();
    listMenu_->addAction(SavePng);
    listMenu_->addAction(ExportSprite);
    for (QAction* action : {EditExternally1, ImportSprite1, ReplaceFrame1}) {
        listMenu_->addAction(action);
    }
    listMenu_->addSeparator();
    listMenu_->addAction(AddFiles1);
}

// "Importuj sprite...", "Zastąp klatkę..." in the Edycja menu.
void TForm1::buildSpriteItems(QMenu* edit) {
    ImportSprite1 = makeAction(this, appText(texts::kImportSpriteItem), -1, {});
    ReplaceFrame1 = makeAction(this, appText(texts::kReplaceFrameItem), -1, {});
    EditExternally1 = makeAction(this, appText(texts::kEditExternallyItem), -1,
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    for (QAction* action : {ImportSprite1, ReplaceFrame1, EditExternally1}) {
        edit->addAction(action);
        action->setEnabled(false);
    }
}

void TForm1::buildToolBar() {
    auto* bar = addToolBar(appText(texts::kToolBarTitle));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(kImageListSize, kImageListSize));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->addWidget(spacer(5));

    auto button = [&](const char* hint, int image) {
        auto* action = new QAction(listIcon(image), appText(hint), this);
        action->setToolTip(appText(hint));
        bar->addAction(action);
        return action;
    };
    ToolButton1 = button(texts::kOpenHint, 0);
    ToolButton2 = button(texts::kExtractOneHint, 1);
    ToolButton5 = button(texts::kExtractAllHint, 2);
    ToolButton4 = button(texts::kExitHint, 3);
    bar->addWidget(spacer(kSeparatorWidth));
    bar->addSeparator();

    DetailsToggle = new QAction(detailsIcon(), appText(texts::kDetailsToggle), this);
    DetailsToggle->setObjectName(QStringLiteral("DetailsToggle"));
    DetailsToggle->setCheckable(true);
    DetailsToggle->setToolTip(appText(texts::kDetailsHint));
    bar->addAction(DetailsToggle);
    bar->addWidget(spacer(4));

    BitBtn1 = new QPushButton(appText(texts::kPreviewButton));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(listIcon(kImagePcx));
    BitBtn1->setMinimumSize(68, 22);
    BitBtn1->setToolTip(appText(texts::kPreviewHint));
    bar->addWidget(BitBtn1);
    bar->addWidget(spacer(kSeparatorWidth));
    bar->addSeparator();

    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(kTypeItemCount);
    for (const TypeItem& item : kTypeItems) {
        ComboBox1->addItem(QString::fromUtf8(item.text.data(), static_cast<int>(item.text.size())));
    }
    ComboBox1->setCurrentIndex(0);
    ComboBox1->setEditText(QStringLiteral("*.*"));
    ComboBox1->setFixedWidth(
        std::max(65, ComboBox1->fontMetrics().horizontalAdvance(QStringLiteral("*.Smk")) + 40));
    ComboBox1->setToolTip(appText(texts::kTypeBoxHint));
    bar->addWidget(ComboBox1);
    bar->addWidget(spacer(kSeparatorWidth));
    bar->addSeparator();

    SearchBox = new QLineEdit;
    SearchBox->setObjectName(QStringLiteral("SearchBox"));
    SearchBox->setPlaceholderText(appText(texts::kSearchPlaceholder));
    SearchBox->setToolTip(appText(texts::kSearchHint));
    SearchBox->setClearButtonEnabled(true);
    // Narrow enough that the whole tool bar fits the window's least width.
    SearchBox->setFixedWidth(104);
    bar->addWidget(SearchBox);
    auto* findName = new QAction(this);
    findName->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(findName, &QAction::triggered, SearchBox, [this] {
        SearchBox->setFocus(Qt::ShortcutFocusReason);
        SearchBox->selectAll();
    });
    addAction(findName);
    bar->addWidget(spacer(kSeparatorWidth));
    bar->addSeparator();

    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedSize(87, 22);
    ProgressBar1->setToolTip(appText(texts::kProgressHint));
    bar->addWidget(ProgressBar1);
    bar->addWidget(spacer(4));

    auto* player = new QWidget;
    player->setObjectName(QStringLiteral("MediaPlayer1"));
    auto* row = new QHBoxLayout(player);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    PlayButton = new QToolButton;
    PlayButton->setIcon(playIcon());
    PlayButton->setToolTip(appText(texts::kPlayHint));
    PlayButton->setAutoRaise(false);
    PlayButton->setFixedSize(28, 22);
    StopButton = new QToolButton;
    StopButton->setIcon(stopIcon());
    StopButton->setToolTip(appText(texts::kStopHint));
    StopButton->setAutoRaise(false);
    StopButton->setFixedSize(28, 22);
    row->addWidget(PlayButton);
    row->addWidget(StopButton);
    bar->addWidget(player);
}

void TForm1::buildCentre() {
    centre_ = new QWidget;
    auto* layout = new QVBoxLayout(centre_);
    layout->setContentsMargins(0, 0, 0, 0);

    listModel = new EntryListModel(this);
    ListView1 = new QListView;
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(listModel);
    ListView1->setViewMode(QListView::ListMode);
    ListView1->setFlow(QListView::TopToBottom);
    ListView1->setWrapping(true);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setUniformItemSizes(true);
    ListView1->setLayoutMode(QListView::SinglePass);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setDragDropMode(QAbstractItemView::DragOnly);
    ListView1->setDefaultDropAction(Qt::CopyAction);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setIconSize(QSize(kImageListSize, kImageListSize));
    ListView1->setTextElideMode(Qt::ElideRight);
    ListView1->setMovement(QListView::Static);
    fitColumns();
    connect(listModel, &QAbstractItemModel::modelReset, this, &TForm1::fitColumns);
    ListView1->hide();
    layout->addWidget(ListView1);

    DetailsView = new QTreeView;
    DetailsView->setObjectName(QStringLiteral("DetailsView"));
    DetailsView->setModel(listModel);
    // One selection for both views: switching keeps what is selected.
    QItemSelectionModel* own = DetailsView->selectionModel();
    DetailsView->setSelectionModel(ListView1->selectionModel());
    delete own;
    DetailsView->setRootIsDecorated(false);
    DetailsView->setItemsExpandable(false);
    DetailsView->setUniformRowHeights(true);
    DetailsView->setAllColumnsShowFocus(true);
    DetailsView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DetailsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    DetailsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DetailsView->setDragDropMode(QAbstractItemView::DragOnly);
    DetailsView->setDefaultDropAction(Qt::CopyAction);
    DetailsView->setIconSize(QSize(kImageListSize, kImageListSize));
    DetailsView->setSortingEnabled(true);
    QHeaderView* header = DetailsView->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setStretchLastSection(false);
    header->resizeSection(0, ListView1->fontMetrics().horizontalAdvance(
                                 QStringLiteral("WWWWWWWWWWWW.WWW")));
    for (int column = 1; column < kListColumnCount; ++column) {
        header->resizeSection(column, std::max(header->sectionSizeHint(column),
                                               ListView1->fontMetrics().horizontalAdvance(
                                                   QStringLiteral("0 000 000 000"))));
    }
    // A folder's columns, shown while a folder is open.
    for (const ListColumn column : {ListColumn::Archive, ListColumn::Shadows}) {
        DetailsView->setColumnHidden(static_cast<int>(column), true);
    }
    DetailsView->hide();
    layout->addWidget(DetailsView);
    // Both looks: the commands for the selection on the right button (or the menu key), and Enter
    // (or a double click) shows the row in the preview.
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(ListView1),
                                    static_cast<QAbstractItemView*>(DetailsView)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
            listMenu_->popup(view->viewport()->mapToGlobal(at));
        });
        connect(view, &QAbstractItemView::activated, this, [this, view](const QModelIndex& row) {
            if (ui_ == nullptr) {
                return;
            }
            // The row Enter is pressed on is the one shown, selected or only focused.
            if (!view->selectionModel()->isRowSelected(row.row(), {})) {
                view->selectionModel()->setCurrentIndex(
                    row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            }
            sendCommand(WindowCommand::ShowInPreview);
        });
    }
    listModel->dragFiles = [this](const std::vector<int>& rows) { return dragOut(rows); };
    setAcceptDrops(true);

    extra = new QFrame(centre_);
    extra->setObjectName(QStringLiteral("extra"));
    extra->setFrameShape(QFrame::Panel);
    extra->setFrameShadow(QFrame::Raised);
    extra->setLineWidth(2);
    extra->setAutoFillBackground(true);
    extra->setFixedSize(361, 73);
    extra->setToolTip(appText(texts::kBatchPanelHint));
    ProgressBar3 = new QProgressBar(extra);
    ProgressBar3->setObjectName(QStringLiteral("ProgressBar3"));
    ProgressBar3->setRange(0, 100);
    ProgressBar3->setValue(0);
    ProgressBar3->setTextVisible(false);
    ProgressBar3->setGeometry(20, 24, 321, 25);
    ProgressBar3->setToolTip(appText(texts::kBatchBarHint));
    ProgressBar3->setGeometry(20, 24, 241, 25);
    CancelBatch = new QPushButton(appText(texts::kCancelButton), extra);
    CancelBatch->setObjectName(QStringLiteral("CancelBatch"));
    CancelBatch->setGeometry(271, 22, 70, 29);
    extra->hide();
    extra->installEventFilter(this);
    centre_->installEventFilter(this);

    setCentralWidget(centre_);
}

void TForm1::showListLook(ListLook look) {
    const bool hadFocus = shownList()->hasFocus();
    look_ = look;
    DetailsToggle->setChecked(look == ListLook::Details);
    setListShown(listShown_);
    if (hadFocus) {
        shownList()->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::setListShown(bool shown) {
    listShown_ = shown;
    ListView1->setVisible(shown && look_ == ListLook::Icons);
    DetailsView->setVisible(shown && look_ == ListLook::Details);
}

QAbstractItemView* TForm1::shownList() const {
    return look_ == ListLook::Details ? static_cast<QAbstractItemView*>(DetailsView)
                                      : static_cast<QAbstractItemView*>(ListView1);
}

QList<QUrl> TForm1::dragOut(const std::vector<int>& rows) {
    QList<QUrl> urls;
    if (ui_ == nullptr || ui_->events() == nullptr) {
        return urls;
    }
    auto folder = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                  QStringLiteral("/brasvel-resedit-drag-XXXXXX"));
    if (!folder->isValid()) {
        ui_->reportError(folder->errorString().toStdString());
        return urls;
    }
    std::vector<std::string> files;
    const std::string path = localPath(folder->path());
    ui_->send([&](WindowEvents& events) { files = events.entriesDraggedOut(rows, path); });
    for (const std::string& file : files) {
        urls << QUrl::fromLocalFile(fromLocalPath(file));
    }
    dragFolders_.push_back(std::move(folder));
    return urls;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    const bool local = !urls.isEmpty() && std::all_of(urls.begin(), urls.end(),
                                                      [](const QUrl& url) { return url.isLocalFile(); });
    // The list's own rows dragged back onto it are no files to add; nothing is taken while a
    // handler runs (a batch lets the window handle input between its files).
    if (local && event->source() == nullptr && ui_ != nullptr && !ui_->busy()) {
        event->acceptProposedAction();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(localPath(url.toLocalFile()));
        }
    }
    if (paths.empty() || ui_ == nullptr || ui_->busy()) {
        return;
    }
    event->acceptProposedAction();
    ui_->send([&](WindowEvents& events) { events.filesDropped(paths); });
}

void TForm1::fitColumns() {
    // Columns wide enough for a name of twelve characters, a dot and an extension, or for the
    // widest caption (a video's whole name) up to three times that. Only captions of more than
    // twelve characters are measured: a full list of short names costs nothing.
    // A measured caption gets two wide letters more, for the item's own margins.
    const QFontMetrics metrics = ListView1->fontMetrics();
    const int shortest = metrics.horizontalAdvance(QStringLiteral("WWWWWWWW.WWW"));
    const int margins = metrics.horizontalAdvance(QStringLiteral("WW"));
    int widest = shortest;
    for (int row = 0; row < listModel->size(); ++row) {
        if (listModel->captionBytes(row) > 12) {
            widest = std::max(widest, metrics.horizontalAdvance(listModel->caption(row)) + margins);
        }
    }
    const int columnWidth = kImageListSize + 12 + std::min(widest, 3 * shortest);
    ListView1->setGridSize(QSize(columnWidth, std::max(kImageListSize, metrics.height()) + 4));
}

void TForm1::buildPreview() {
    Panel1 = new QDockWidget(appText(texts::kPreviewTitle), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    Panel1->setAllowedAreas(Qt::AllDockWidgetAreas);
    auto* inside = new QWidget;
    auto* layout = new QVBoxLayout(inside);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(0);
    PageNote = new QLabel;
    PageNote->setObjectName(QStringLiteral("PageNote"));
    PageNote->setWordWrap(true);
    PageNote->hide();
    layout->addWidget(PageNote);
    PreviewPages = new QStackedWidget;
    PreviewPages->setObjectName(QStringLiteral("PreviewPages"));
    PreviewPages->addWidget(buildPicturePage());
    buildOtherPages();
    layout->addWidget(PreviewPages, 1);
    Panel1->setWidget(inside);
    addDockWidget(Qt::RightDockWidgetArea, Panel1);
    // The panel starts docked at the window's right side, beside the list rather than over it;
    // the user can float it, and dock it anywhere else.
    Panel1->resize(kPreviewStartSize);
    Panel1->hide();
    Panel1->installEventFilter(this);
    // Docked at a side, the panel keeps the width it had floating instead of a narrow strip.
    connect(Panel1, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (!floating) {
            resizeDocks({Panel1}, {kPreviewStartSize.width()}, Qt::Horizontal);
        }
    });
}

QWidget* TForm1::buildPicturePage() {
    PicturePage = new QWidget;
    PicturePage->setObjectName(QStringLiteral("PicturePage"));
    auto* layout = new QVBoxLayout(PicturePage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Image = new PictureView;
    Image->setObjectName(QStringLiteral("Image"));
    Image->setMinimumSize(16, 16);
    Image->setFocusPolicy(Qt::StrongFocus);  // Tab reaches it, for its zoom keys
    // The picture's own commands, on its context menu as in "Plik".
    Image->setContextMenuPolicy(Qt::ActionsContextMenu);
    Image->addAction(SavePng);
    Image->addAction(ExportSprite);
    layout->addWidget(Image, 1);
    buildFrameRow(layout);
    auto* zoomRow = new QHBoxLayout;
    zoomRow->setContentsMargins(0, 4, 0, 0);
    auto zoomButton = [&](const QString& caption, const char* hint, void (PictureView::*step)()) {
        auto* button = new QToolButton;
        button->setFocusPolicy(Qt::StrongFocus);
        button->setText(caption);
        button->setToolTip(appText(hint));
        connect(button, &QToolButton::clicked, Image, step);
        zoomRow->addWidget(button);
    };
    zoomButton(appText(texts::kFitButton), texts::kFitHint, &PictureView::fitToWindow);
    zoomButton(appText(texts::kActualSizeButton), texts::kActualSizeHint,
               &PictureView::showActualSize);
    zoomButton(QStringLiteral("−"), texts::kZoomOutHint, &PictureView::zoomOut);
    zoomButton(QStringLiteral("+"), texts::kZoomInHint, &PictureView::zoomIn);
    zoomRow->addStretch(1);
    layout->addLayout(zoomRow);
    return PicturePage;
}

void TForm1::buildFrameRow(QVBoxLayout* page) {
    scb = new FrameScrollBar(Qt::Horizontal);
    scb->setObjectName(QStringLiteral("scb"));
    scb->setRange(1, 1);
    scb->setValue(1);
    scb->setSingleStep(1);
    scb->setPageStep(1);
    scb->setTracking(true);
    scb->setFocusPolicy(Qt::StrongFocus);  // Tab reaches the frame slider; arrows step frames
    scb->hide();
    page->addWidget(scb);

    FrameRow = new QWidget;
    FrameRow->setObjectName(QStringLiteral("FrameRow"));
    auto* row = new QHBoxLayout(FrameRow);
    row->setContentsMargins(0, 4, 0, 0);
    PlayFrames = new QToolButton;
    PlayFrames->setObjectName(QStringLiteral("PlayFrames"));
    PlayFrames->setIcon(playIcon());
    PlayFrames->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    PlayFrames->setFocusPolicy(Qt::StrongFocus);
    PlayFrames->setToolTip(appText(texts::kPlayFramesHint));
    // As wide as its longer caption, so the row does not shift when playback starts or stops.
    int widest = 0;
    for (const char* caption : {texts::kStopHint, texts::kPlayHint}) {
        PlayFrames->setText(appText(caption));
        widest = std::max(widest, PlayFrames->sizeHint().width());
    }
    PlayFrames->setMinimumWidth(widest);
    FrameSpeed = new QSpinBox;
    FrameSpeed->setObjectName(QStringLiteral("FrameSpeed"));
    FrameSpeed->setRange(kSlowestPlayback, kFastestPlayback);
    FrameSpeed->setValue(kDefaultPlayback);
    FrameSpeed->setSuffix(appText(texts::kSpeedSuffix));
    FrameSpeed->setToolTip(appText(texts::kSpeedHint));
    FrameCaption = new QLabel;
    FrameCaption->setObjectName(QStringLiteral("FrameCaption"));
    row->addWidget(PlayFrames);
    row->addWidget(FrameSpeed);
    row->addWidget(FrameCaption, 1);
    FrameRow->hide();
    page->addWidget(FrameRow);
    FrameTimer = new QTimer(this);
    FrameTimer->setObjectName(QStringLiteral("FrameTimer"));
}

void TForm1::buildOtherPages() {
    PreviewText = new QPlainTextEdit;
    PreviewText->setObjectName(QStringLiteral("PreviewText"));
    PreviewText->setReadOnly(true);
    PreviewText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    PreviewPages->addWidget(PreviewText);

    PalettePage = new QWidget;
    PalettePage->setObjectName(QStringLiteral("PalettePage"));
    auto* palette = new QVBoxLayout(PalettePage);
    palette->setContentsMargins(0, 0, 0, 0);
    PaletteView = new PaletteGrid;
    PaletteView->setObjectName(QStringLiteral("PaletteView"));
    SwatchValue = new QLabel(appText(texts::kPaletteHint));
    SwatchValue->setObjectName(QStringLiteral("SwatchValue"));
    SwatchValue->setTextInteractionFlags(Qt::TextSelectableByMouse);
    palette->addWidget(PaletteView, 1);
    palette->addWidget(SwatchValue);
    connect(PaletteView, &PaletteGrid::currentChanged, SwatchValue, [this](int index) {
        SwatchValue->setText(index < 0 ? appText(texts::kPaletteHint)
                                       : PaletteGrid::swatchText(index,
                                                                 PaletteView->colours()[index]));
    });
    PreviewPages->addWidget(PalettePage);

    HexDump = new HexView;
    HexDump->setObjectName(QStringLiteral("HexDump"));
    PreviewPages->addWidget(HexDump);

    Video = new VideoPage;
    Video->setObjectName(QStringLiteral("Video"));
    PreviewPages->addWidget(Video);
}

void TForm1::buildStatusBar() {
    static const char* const firstTexts[] = {texts::kStatusNone,        texts::kStatusNone,
                                             texts::kStatusNoFile,      texts::kStatusStoredSize,
                                             texts::kStatusWidth,       texts::kStatusHeight};
    auto* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new ElidedLabel(appText(firstTexts[i]));
        panel->setProperty("givesWay", i == 2);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(2, 0, 2, 0);
        panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        StatusPanels[i] = panel;
        bar->addWidget(panel, i + 1 == StatusPanels.size() ? 1 : 0);
    }
}

void TForm1::attach(QtToolkit& ui) {
    ui_ = &ui;
    const std::pair<QAction*, WindowCommand> commands[] = {
        {ToolButton1, WindowCommand::OpenArchive},
        {LoadResurceFile1, WindowCommand::OpenArchiveFromMenu},
        {ToolButton2, WindowCommand::ExtractSelected},
        {SaveSingleFile1, WindowCommand::ExtractSelectedFromMenu},
        {ToolButton5, WindowCommand::ExtractShown},
        {SaveSingleFile2, WindowCommand::ExtractShownFromMenu},
        {ToolButton4, WindowCommand::ExitFromToolbar},
        {Exittheprogram1, WindowCommand::Exit},
        {QuickView1, WindowCommand::TogglePreviewFromMenu},
        {AddFiles1, WindowCommand::AddFiles},
        {ReplaceEntry1, WindowCommand::ReplaceEntry},
        {RemoveEntry1, WindowCommand::RemoveEntry},
        {RenameEntry1, WindowCommand::RenameEntry},
        {ImportSprite1, WindowCommand::ImportSprite},
        {ReplaceFrame1, WindowCommand::ReplaceFrame},
        {EditExternally1, WindowCommand::EditExternally},
        {NewArchive1, WindowCommand::NewArchive},
        {ExternalProgram1, WindowCommand::ChooseExternalProgram},
        {SaveArchive1, WindowCommand::SaveArchive},
        {SaveArchiveAs1, WindowCommand::SaveArchiveAs},
        {RevertChanges1, WindowCommand::RevertChanges},
        {UndoEdit1, WindowCommand::Undo},
        {RedoEdit1, WindowCommand::Redo},
        {SetPathForExtract1, WindowCommand::ChooseExtractFolder},
        {GeneralHelp1, WindowCommand::Help},
        {About2, WindowCommand::About},
        {DetailsToggle, WindowCommand::ToggleListLook},
        {ShowInPreview1, WindowCommand::ShowInPreview},
        {SavePng, WindowCommand::SavePictureAsPng},
        {ExportSprite, WindowCommand::ExportSprite},
        {OpenFolder1, WindowCommand::OpenFolder},
        {ArchiveOrder1, WindowCommand::ArrangeArchives},
        {ShowShadowed1, WindowCommand::ToggleShadowed},
        {EditThisArchive1, WindowCommand::EditThisArchive},
        {CompareWith1, WindowCommand::CompareWith},
        {CloseComparison1, WindowCommand::CloseComparison},
        {ExportDifferences1, WindowCommand::ExportDifferences},
        {MergeWith1, WindowCommand::MergeWith},
    };
    for (const auto& [action, command] : commands) {
        connect(action, &QAction::triggered, this, [this, command] { sendCommand(command); });
    }
    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { sendCommand(WindowCommand::TogglePreview); });
    connect(PlayFrames, &QToolButton::clicked, this,
            [this] { sendCommand(WindowCommand::PlayFrames); });
    connect(Video, &VideoPage::playPauseClicked, this,
            [this] { sendCommand(WindowCommand::VideoPlayPause); });

    connect(FrameSpeed, &QSpinBox::valueChanged, this, [this](int framesPerSecond) {
        ui_->send([=](WindowEvents& events) { events.frameSpeedChanged(framesPerSecond); });
    });
    connect(SearchBox, &QLineEdit::textChanged, this, [this](const QString& search) {
        ui_->send([&](WindowEvents& events) { events.searchEdited(search.toStdString()); });
    });
    connect(SearchBox, &QLineEdit::returnPressed, this,
            [this] { sendCommand(WindowCommand::SearchInContent); });
    connect(ContentSearch, &QAction::toggled, this, [this](bool on) {
        ui_->send([=](WindowEvents& events) { events.contentSearchToggled(on); });
    });
    connect(StatusFilter, &QComboBox::activated, this, [this](int item) {
        ui_->send([=](WindowEvents& events) { events.statusFilterChosen(item); });
    });
    connect(Video, &VideoPage::stepClicked, this, [this](int delta) {
        ui_->send([=](WindowEvents& events) { events.videoStepped(delta); });
    });
    connect(Video, &VideoPage::seekRequested, this, [this](int frame) {
        ui_->send([=](WindowEvents& events) { events.videoSeeked(frame); });
    });
    connect(Video, &VideoPage::ticked, this, [this] { ui_->send(&WindowEvents::videoTicked); });
    for (const auto& [button, which] :
         {std::pair{PlayButton, PlayerButton::Play}, std::pair{StopButton, PlayerButton::Stop}}) {
        connect(button, &QToolButton::clicked, this, [this, which] {
            ui_->send([=](WindowEvents& events) { events.playerButtonPressed(which); });
        });
    }
}

void TForm1::sendCommand(WindowCommand command) {
    if (ui_ != nullptr) {
        ui_->send([=](WindowEvents& events) { events.commandChosen(command); });
    }
}

void TForm1::showArchiveTitle(const QString& fileName) {
    const QString caption = appText(texts::kWindowCaption);
    setWindowTitle(fileName.isEmpty() ? caption
                                      : appText(texts::kTitleWithArchive).arg(fileName, caption));
}

void TForm1::showSoundError(const QString& text) {
    QMessageBox::warning(this, appText(texts::kMessageCaption),
                         appText(texts::kSoundFailed).arg(text));
}

void TForm1::closeFromHandler() {
    closing_ = true;
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A running handler (a batch that keeps the window painted) cannot be interrupted by the
    // window manager's close; the exit commands close through closeFromHandler.
    if (ui_ != nullptr && ui_->busy() && !closing_) {
        event->ignore();
        return;
    }
    // The exit commands asked about unsaved edits already; the window's close box asks here.
    if (ui_ != nullptr && !closing_) {
        bool mayClose = false;
        ui_->send([&](WindowEvents& events) { mayClose = events.closeRequested(); });
        if (!mayClose) {
            event->ignore();
            return;
        }
    }
    if (beforeClose) {
        beforeClose();
    }
    if (ui_ != nullptr) {
        ui_->send(&WindowEvents::closed);
        ui_ = nullptr;
    }
    event->accept();
    QCoreApplication::quit();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == centre_) {
            centreExtra();
        } else if (watched == Panel1) {
            emit previewResized(Panel1->width(), Panel1->height());
        }
    } else if (event->type() == QEvent::Show && watched == Panel1 && !previewPlaced_) {
        placePreview();
    } else if (event->type() == QEvent::Show && watched == extra) {
        centreExtra();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::placePreview() {
    // The first showing puts the floating panel over the top right corner of the list.
    previewPlaced_ = true;
    if (!Panel1->isFloating()) {
        // Docked, it first takes about a picture's width rather than a narrow strip.
        resizeDocks({Panel1}, {kPreviewStartSize.width()}, Qt::Horizontal);
        return;
    }
    const QPoint corner = centre_->mapToGlobal(QPoint(centre_->width(), 0));
    Panel1->move(corner.x() - Panel1->width() - 24, corner.y() + 24);
}

void TForm1::centreExtra() {
    extra->move(clearOfPreview(QRect(QPoint(), centre_->size()), extra->size(),
                               floatingPreviewIn(centre_)));
}

QRect TForm1::floatingPreviewIn(const QWidget* area) const {
    if (!Panel1->isFloating() || Panel1->isHidden()) {
        return {};
    }
    const QRect frame = Panel1->frameGeometry();
    return {area->mapFromGlobal(frame.topLeft()), frame.size()};
}

QPoint clearOfPreview(const QRect& area, const QSize& panel, const QRect& preview) {
    constexpr int kMargin = 8;
    const int centreX = area.left() + (area.width() - panel.width()) / 2;
    const int centreY = area.top() + (area.height() - panel.height()) / 2;
    const QPoint middle(centreX, centreY);
    const QPoint candidates[] = {
        middle,
        {centreX, preview.bottom() + 1 + kMargin},                 // below the preview
        {centreX, preview.top() - kMargin - panel.height()},       // above it
        {preview.left() - kMargin - panel.width(), centreY},       // left of it
        {preview.right() + 1 + kMargin, centreY},                  // right of it
        {area.left() + kMargin, area.bottom() + 1 - kMargin - panel.height()},
        {area.left() + kMargin, area.top() + kMargin},
    };
    for (const QPoint& place : candidates) {
        const QRect placed(place, panel);
        if (area.contains(placed) && !placed.intersects(preview)) {
            return place;
        }
    }
    return middle;  // no room: Escape still cancels
}

}  // namespace brasvel::app
