// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The main window, TForm1: menus, tool bar, entry list, the batch progress panel `extra`, the
// dockable preview panel Panel1 and the status bar. It holds no program logic: attach() sends
// every menu item's, button's and control's event to the window's logic as WindowEvents,
// through QtToolkit's guard so that no error escapes into Qt.

#include <QMainWindow>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "toolkit/WindowToolkit.h"

class QAction;
class QComboBox;
class QDockWidget;
class QFrame;
class QLabel;
class QLineEdit;
class QAbstractItemView;
class QListView;
class QPlainTextEdit;
class QSpinBox;
class QStackedWidget;
class QTimer;
class QMenu;
class QTreeView;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QToolButton;
class QVBoxLayout;

namespace brasvel::app {

class EntryListModel;
class HexView;
class PaletteGrid;
class PictureView;
class SideBySidePage;
class QtToolkit;
class VideoPage;

// Where a panel of size `panel` goes in `area`: its middle, else the first place within `area`
// that `preview` leaves clear (below, above, left or right of it, then the bottom left and top
// left corners); the middle when there is none.
QPoint clearOfPreview(const QRect& area, const QSize& panel, const QRect& preview);

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Sends every menu item's, button's and control's event to `ui`'s events (the window's
    // logic); `ui` is the toolkit over this window and outlives its use.
    void attach(QtToolkit& ui);

    // The title names the open archive's file; empty: none is open.
    void showArchiveTitle(const QString& fileName);
    // Shows an error of the sound player that came while it played.
    void showSoundError(const QString& text);

    // The preview panel was put where the user left it: its first showing keeps that place.
    void keepPreviewPlace() { previewPlaced_ = true; }
    // Runs when the window closes, while it is still shown (its size and panels are kept then).
    std::function<void()> beforeClose;

    // Closes the window even from inside a handler (the exit commands).
    void closeFromHandler();

    // The entry list shows icons (ListView1) or details (DetailsView); both show the same rows
    // and share one selection. Hidden, neither shows.
    void showListLook(ListLook look);
    void setListShown(bool shown);
    bool isListShown() const { return listShown_; }
    // The view the list shows now.
    QAbstractItemView* shownList() const;

    // The controls, under the names the window logic knows them by.
    EntryListModel* listModel = nullptr;
    QListView* ListView1 = nullptr;
    QTreeView* DetailsView = nullptr;
    QFrame* extra = nullptr;
    QProgressBar* ProgressBar3 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* SearchBox = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QToolButton* PlayButton = nullptr;
    QToolButton* StopButton = nullptr;
    QDockWidget* Panel1 = nullptr;
    // The preview's pages: the picture (with the sprite's frame row), text, palette, hex and video.
    QStackedWidget* PreviewPages = nullptr;
    QWidget* PicturePage = nullptr;
    QLabel* PageNote = nullptr;  // above the text and hex pages: why only part is shown
    QPlainTextEdit* PreviewText = nullptr;
    QWidget* PalettePage = nullptr;
    PaletteGrid* PaletteView = nullptr;
    QLabel* SwatchValue = nullptr;
    HexView* HexDump = nullptr;
    PictureView* Image = nullptr;
    // The sprite's frame row under the picture: the scroll bar, Play, the speed and the caption.
    QWidget* FrameRow = nullptr;
    QToolButton* PlayFrames = nullptr;
    QSpinBox* FrameSpeed = nullptr;
    QLabel* FrameCaption = nullptr;
    QTimer* FrameTimer = nullptr;
    VideoPage* Video = nullptr;
    QPushButton* CancelBatch = nullptr;
    QScrollBar* scb = nullptr;
    std::array<QLabel*, 6> StatusPanels{};

    // Tool bar buttons and menu items.
    QAction* ToolButton1 = nullptr;
    QAction* ToolButton2 = nullptr;
    QAction* ToolButton5 = nullptr;
    QAction* ToolButton4 = nullptr;
    QAction* LoadResurceFile1 = nullptr;
    QAction* SaveSingleFile1 = nullptr;
    QAction* SaveSingleFile2 = nullptr;
    QAction* SavePng = nullptr;
    QAction* ExportSprite = nullptr;
    QAction* Exittheprogram1 = nullptr;
    QAction* AddFiles1 = nullptr;
    QAction* ReplaceEntry1 = nullptr;
    QAction* RemoveEntry1 = nullptr;
    QAction* RenameEntry1 = nullptr;
    QAction* ImportSprite1 = nullptr;
    QAction* ReplaceFrame1 = nullptr;
    QAction* EditExternally1 = nullptr;
    QAction* NewArchive1 = nullptr;
    QAction* ExternalProgram1 = nullptr;
    QAction* SaveArchive1 = nullptr;
    QAction* SaveArchiveAs1 = nullptr;
    QAction* RevertChanges1 = nullptr;
    QAction* UndoEdit1 = nullptr;
    QAction* RedoEdit1 = nullptr;
    QAction* QuickView1 = nullptr;
    QAction* SetPathForExtract1 = nullptr;
    QAction* GeneralHelp1 = nullptr;
    QAction* About2 = nullptr;
    QAction* DetailsToggle = nullptr;
    QAction* ShowInPreview1 = nullptr;  // the list's context menu: the row in the preview
    QAction* OpenFolder1 = nullptr;      // a game folder's archives in one list
    QAction* ArchiveOrder1 = nullptr;
    QAction* ShowShadowed1 = nullptr;
    QAction* EditThisArchive1 = nullptr;
    QMenu* RecentMenu = nullptr;
    // Comparison, merge and the search inside entries (ManyArchivesWidgets.cpp).
    QAction* CompareWith1 = nullptr;
    QAction* CloseComparison1 = nullptr;
    QAction* ExportDifferences1 = nullptr;
    QAction* MergeWith1 = nullptr;
    QAction* ContentSearch = nullptr;  // "w treści", inside the search box
    QComboBox* StatusFilter = nullptr;
    QAction* StatusFilterAction = nullptr;  // shows and hides it on the tool bar
    SideBySidePage* SideBySide = nullptr;
    // The note column as wide as its notes, within bounds, while it shows.
    void fitNoteColumn();

signals:
    // Panel1 took a new size.
    void previewResized(int width, int height);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Local files dragged onto the window: an archive to open, or files for the open one.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildEditMenu();
    void buildListMenu();
    void buildSpriteItems(QMenu* edit);
    void buildToolBar();
    void buildCentre();
    void buildPreview();
    QWidget* buildPicturePage();
    void buildFrameRow(QVBoxLayout* page);
    void buildOtherPages();
    void buildStatusBar();
    void buildManyArchivesItems(QMenu* file);
    void buildManyArchivesWidgets();
    // The batch panel goes in the middle of the list, or where the floating preview leaves its
    // Cancel button in sight.
    void centreExtra();
    // The floating preview's frame in `area`'s coordinates; empty when it is docked or hidden.
    QRect floatingPreviewIn(const QWidget* area) const;
    // Widens the list's columns to its captions, after every refill.
    void fitColumns();
    void placePreview();
    // Writes the rows' entries into a new folder of their own and gives their files' URLs.
    QList<QUrl> dragOut(const std::vector<int>& rows);

    void sendCommand(WindowCommand command);

    QtToolkit* ui_ = nullptr;
    QWidget* centre_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* listMenu_ = nullptr;
    bool closing_ = false;
    bool previewPlaced_ = false;
    bool listShown_ = false;
    ListLook look_ = ListLook::Icons;
    // Folders of the files dragged out, kept until the window goes: a file manager may still
    // be copying from one after the drop.
    std::vector<std::unique_ptr<QTemporaryDir>> dragFolders_;
};

}  // namespace brasvel::app
