// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// WindowToolkit over the widgets of TForm1. The user's actions on the controls (a row selected,
// a type chosen, the preview panel resized, the frame scroll bar moved) come out through the
// hooks below, each run inside run(), which turns an escaping error into an error box.

#include <QFileDialog>
#include <QList>
#include <QMetaObject>
#include <QStringList>

#include <exception>
#include <functional>
#include <vector>

#include "toolkit/WindowToolkit.h"

class QFileDialog;
class QWidget;
class QItemSelection;
class QTimer;

namespace brasvel::app {

class TForm1;

// The file dialogs: the system's on Windows, as its users know them; Qt's own elsewhere, which
// shows archive names in any case under one filter and can be driven in tests.
#ifdef _WIN32
inline constexpr QFileDialog::Options kFileDialogOptions{};
#else
inline constexpr QFileDialog::Options kFileDialogOptions{QFileDialog::DontUseNativeDialog};
#endif

class QtToolkit : public WindowToolkit {
public:
    explicit QtToolkit(TForm1& window);
    ~QtToolkit() override;
    QtToolkit(const QtToolkit&) = delete;
    QtToolkit& operator=(const QtToolkit&) = delete;

    void setListVisible(bool visible) override;
    bool isListVisible() const override;
    void focusList() override;
    void beginListUpdate() override;
    void endListUpdate() override;
    void clearRows() override;
    int appendRow() override;
    int rowCount() const;
    void setRowCaption(int row, std::string_view entryBytes) override;
    void setRowImage(int row, int image) override;
    void setRowDetails(int row, const RowDetails& details) override;
    void selectRow(int row) override;
    void selectRows(std::span<const int> rows, int current) override;
    void setListLook(ListLook look) override;
    void showSortOrder(std::optional<ListColumn> column, bool ascending) override;
    void setFolderColumnsShown(bool shown) override;
    void setRowChanged(int row, bool changed) override;
    void setRowDamaged(int row, bool damaged) override;
    void setCommandState(const CommandState& state) override;

    void setStatusText(int panel, std::string_view text) override;
    void setStatusWidth(int panel, int width) override;

    int progressPosition(ProgressBarId bar) const override;
    void setProgressPosition(ProgressBarId bar, int position) override;

    int selectedTypeIndex() const override;
    void setTypeBoxText(std::string_view text) override;

    void setPanelVisible(PanelId panel, bool visible) override;
    bool isPanelVisible(PanelId panel) const;
    void setPanelHint(PanelId panel, std::string_view entryBytes) override;

    void showPicture(std::span<const std::byte> bmpFile, PictureKind kind) override;
    void showPreviewMessage(std::string_view text) override;
    void repaintImage() override;

    void showPreviewText(std::string_view text, std::string_view note) override;
    void showPalette(std::span<const SwatchColour> colours) override;
    void showHexView(std::span<const std::byte> bytes, std::string_view note) override;
    void showDrawing(std::span<const std::byte> bmpFile, std::string_view figures) override;
    void showSideBySide(const ComparedView& old, const ComparedView& now) override;
    void setNoteColumn(std::string_view header) override;
    void setRowNote(int row, std::string_view note) override;
    void showStatusFilter(std::span<const std::string> items) override;
    std::optional<std::string> askSavePath(std::string_view caption,
                                           std::string_view suggestedPath) override;
    void setFrameCaption(std::string_view text) override;
    void setFrameTimer(int intervalMs) override;
    bool openExternally(const std::string& path, const std::string& program) override;
    void setWatchTimer(int intervalMs) override;
    void showVideoFrame(std::span<const std::uint8_t> rgb, int width, int height) override;
    void setVideoPosition(int frame, int frames, std::string_view text) override;
    void setVideoPlaying(bool playing, int tickMs) override;
    void setVideoInfo(std::string_view text) override;

    void setFrameScrollMinimum(int minimum);
    void setFrameScrollMaximum(int maximum) override;
    int frameScrollMaximum() const { return scrollMaximum_; }
    void setFrameScrollPosition(int position) override;
    int frameScrollPosition() const override;
    void setFrameScrollVisible(bool visible) override;
    bool isFrameScrollVisible() const override;

    bool askOkCancel(std::string_view caption, std::string_view text) override;
    OverwriteAnswer askOverwrite(std::string_view fileName, std::string_view folder,
                                 bool several) override;
    void reportError(std::string_view text) override;
    void reportNotice(std::string_view text) override;
    // The window's texts under the context "WindowTexts" of the installed translation.
    std::string translate(const char* text) const override;

    std::optional<OpenChoice> runOpenDialog(std::string_view initialDirectory,
                                            std::span<const OpenFilter> filters) override;
    std::optional<std::string> chooseFolder(std::string_view caption,
                                            std::string_view initialDirectory) override;

    SaveAnswer askSaveChanges(std::string_view caption, std::string_view text) override;
    ChangedOnDiskAnswer askChangedOnDisk(std::string_view caption, std::string_view text) override;
    DamagedAnswer askDamagedEntries(std::string_view caption, std::string_view text) override;
    std::optional<std::vector<std::size_t>> arrangeList(
        std::string_view caption, std::string_view text,
        std::span<const std::string> items) override;
    std::size_t askChoice(std::string_view caption, std::string_view text,
                          std::span<const std::string> buttons) override;
    std::optional<std::string> askName(std::string_view caption, std::string_view label,
                                       std::string_view initial, const NameCheck& check) override;
    std::vector<std::string> chooseFiles(std::string_view caption,
                                         std::string_view initialDirectory, bool many) override;
    std::optional<std::string> chooseSavePath(std::string_view caption,
                                              std::string_view initialPath,
                                              const OpenFilter& filter) override;
    // The work on a thread of its own; the window's thread paints, shows the progress every
    // 30 ms, and passes no input but to Cancel: the batch panel's button, or a window-modal
    // progress dialog's (its button, Escape, its close box). Escape anywhere cancels too.
    // Handlers asked for meanwhile (a timer's tick, say) do not run.
    void runJob(const Job& job, BackgroundTask& task) override;
    // Whether a job runs.
    bool jobRunning() const { return jobRunning_; }
    void setArchiveTitle(std::string_view fileName) override;
    void setRecentArchives(std::span<const std::string> paths) override;

    void repaintWindow() override;
    void closeWindow() override;
    void showAboutBox() override;
    void showHelp() override;

    // Runs one handler of the window: an error that escapes it is shown by reportError.
    void run(const std::function<void()>& handler);
    // Passes one of the user's events to the window's logic (events()), through run().
    void send(const std::function<void(WindowEvents&)>& event);
    void send(void (WindowEvents::*event)());
    // Whether a handler is running.
    bool busy() const { return handlerDepth_ > 0; }

    // Sets up the save dialog of a PNG picture, starting at `suggestedPath`.
    static void prepareSaveDialog(QFileDialog& dialog, const QString& suggestedPath);
    // Our own (not the desktop's) dialog that names a file to write, any file, asking before it
    // replaces one.
    static void makeSaveDialog(QFileDialog& dialog);

    // The open dialog's name filters: "text (pattern)", in the order given.
    static QStringList nameFilters(std::span<const OpenFilter> filters);
    // Sets up the open dialog: `filters`, matched in any case, starting in `initialDirectory`
    // when it exists.
    static void prepareOpenDialog(QFileDialog& dialog, const QString& initialDirectory,
                                  std::span<const OpenFilter> filters);

private:
    // Shows `page` of the preview's stack, with `note` above it when not empty.
    void showPage(QWidget* page, std::string_view note);
    void frameScrollMoved();
    void showEditCommands(const EditCommandState& state);
    void selectionMoved(const QItemSelection& selected, const QItemSelection& deselected);
    // Applies a change to the scroll bar; a change notification that fails inside it is thrown
    // to the caller once the scroll bar is consistent again.
    void changeFrameScroll(const std::function<void()>& change);
    void applyFrameScrollRange();

    TForm1& window_;
    QList<QMetaObject::Connection> connections_;
    QTimer* watchTimer_ = nullptr;
    int scrollMinimum_ = 1;
    int scrollMaximum_ = 1;
    int programmaticScroll_ = 0;
    std::exception_ptr scrollError_;
    bool typedText_ = false;
    int handlerDepth_ = 0;
    bool jobRunning_ = false;
    int programmaticSelection_ = 0;
    int programmaticSort_ = 0;
};

}  // namespace brasvel::app
