// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A window without a screen: it keeps the state that the operations set, records what the user
// would have seen, and answers questions and dialogs from scripted replies. Tests drive the window
// logic through it.

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/WindowToolkit.h"

namespace brasvel {

// The page of the preview panel last shown.
enum class PreviewPage { Image, Text, Colours, Hex, Video, SideBySide };

struct HeadlessRow {
    std::string caption;  // the bytes as set, NUL bytes included
    int image = 0;
    bool changed = false;  // drawn as not yet saved
    bool damaged = false;  // drawn as damaged
    std::string note;      // the note column's text
    std::string type;     // the details' figures as set
    std::int64_t size = 0;
    std::int64_t storedSize = 0;
    std::int64_t offset = 0;
    std::string archive;  // a folder's row: its archive, what it shadows, whether it is shadowed
    std::int64_t shadows = 0;
    bool shadowed = false;

    // The caption as the list shows it: up to its first NUL byte.
    std::string shownCaption() const { return caption.substr(0, caption.find('\0')); }
};

class HeadlessToolkit : public WindowToolkit {
public:
    void setListVisible(bool visible) override { listVisible = visible; }
    bool isListVisible() const override { return listVisible; }
    void focusList() override;
    void beginListUpdate() override { ++updateDepth; }
    void endListUpdate() override;
    void clearRows() override { rows.clear(); }
    int appendRow() override;
    int rowCount() const { return static_cast<int>(rows.size()); }
    void setRowCaption(int row, std::string_view entryBytes) override;
    void setRowImage(int row, int image) override;
    void setRowDetails(int row, const RowDetails& details) override;
    void selectRow(int row) override;
    void selectRows(std::span<const int> rows, int current) override;
    void setListLook(ListLook look) override { listLook = look; }
    void showSortOrder(std::optional<ListColumn> column, bool ascending) override {
        sortIndicator = column;
        sortIndicatorAscending = ascending;
    }
    void setFolderColumnsShown(bool shown) override { folderColumnsShown = shown; }
    void setRowChanged(int row, bool changed) override;
    void setRowDamaged(int row, bool damaged) override;
    void setNoteColumn(std::string_view header) override { noteHeader = header; }
    void setRowNote(int row, std::string_view note) override;
    void setCommandState(const CommandState& state) override;

    void setStatusText(int panel, std::string_view text) override;
    void setStatusWidth(int panel, int width) override;

    int progressPosition(ProgressBarId bar) const override;
    void setProgressPosition(ProgressBarId bar, int position) override;

    int selectedTypeIndex() const override { return typeIndex; }
    void setTypeBoxText(std::string_view text) override { typeBoxText = text; }
    void showStatusFilter(std::span<const std::string> items) override {
        statusFilterItems.assign(items.begin(), items.end());
    }

    void setPanelVisible(PanelId panel, bool visible) override;
    bool isPanelVisible(PanelId panel) const;
    void setPanelHint(PanelId panel, std::string_view entryBytes) override;

    void showPicture(std::span<const std::byte> bmpFile, PictureKind kind) override;
    void showPreviewMessage(std::string_view text) override;
    void repaintImage() override { ++imageRepaints; }

    void showPreviewText(std::string_view text, std::string_view note) override;
    void showPalette(std::span<const SwatchColour> colours) override;
    void showHexView(std::span<const std::byte> bytes, std::string_view note) override;
    void showDrawing(std::span<const std::byte> bmpFile, std::string_view figures) override;
    void showSideBySide(const ComparedView& old, const ComparedView& now) override;
    std::optional<std::string> askSavePath(std::string_view caption,
                                           std::string_view suggestedPath) override;
    void showVideoFrame(std::span<const std::uint8_t> rgb, int width, int height) override;
    void setVideoPosition(int frame, int frames, std::string_view text) override;
    void setVideoPlaying(bool playing, int tickMs) override;
    void setVideoInfo(std::string_view text) override { videoInfo = text; }

    void setFrameScrollMinimum(int minimum);
    void setFrameScrollMaximum(int maximum) override;
    int frameScrollMaximum() const { return scrollMaximum; }
    void setFrameScrollPosition(int position) override;
    int frameScrollPosition() const override { return scrollPosition; }
    void setFrameScrollVisible(bool visible) override { scrollVisible = visible; }
    bool isFrameScrollVisible() const override { return scrollVisible; }
    void setFrameCaption(std::string_view text) override { frameCaption = text; }
    void setFrameTimer(int intervalMs) override { frameTimerInterval = intervalMs; }
    bool openExternally(const std::string& path, const std::string& program) override {
        externalOpens.push_back({path, program});
        return externalOpenWorks;
    }
    void setWatchTimer(int intervalMs) override { watchTimerInterval = intervalMs; }

    bool askOkCancel(std::string_view caption, std::string_view text) override;
    OverwriteAnswer askOverwrite(std::string_view fileName, std::string_view folder,
                                 bool several) override;
    void reportError(std::string_view text) override {
        noteThread();
        errors.emplace_back(text);
        extraVisibleAtReport = extraVisible;
    }
    void reportNotice(std::string_view text) override {
        noteThread();
        notices.emplace_back(text);
        extraVisibleAtReport = extraVisible;
    }
    std::string translate(const char* text) const override;

    std::optional<OpenChoice> runOpenDialog(std::string_view initialDirectory,
                                            std::span<const OpenFilter> filters) override;
    std::optional<std::string> chooseFolder(std::string_view caption,
                                            std::string_view initialDirectory) override;

    SaveAnswer askSaveChanges(std::string_view caption, std::string_view text) override;
    ChangedOnDiskAnswer askChangedOnDisk(std::string_view caption, std::string_view text) override;
    DamagedAnswer askDamagedEntries(std::string_view caption, std::string_view text) override;
    std::size_t askChoice(std::string_view caption, std::string_view text,
                          std::span<const std::string> buttons) override;
    // Each scripted name is checked as the dialog would; a refused one is recorded with its
    // reason and the dialog ends as cancelled (OK stays disabled under a reason).
    std::optional<std::string> askName(std::string_view caption, std::string_view label,
                                       std::string_view initial, const NameCheck& check) override;
    std::vector<std::string> chooseFiles(std::string_view caption,
                                         std::string_view initialDirectory, bool many) override;
    std::optional<std::string> chooseSavePath(std::string_view caption,
                                              std::string_view initialPath,
                                              const OpenFilter& filter) override;
    std::optional<std::vector<std::size_t>> arrangeList(
        std::string_view caption, std::string_view text,
        std::span<const std::string> items) override;
    // Runs the work on a thread of its own and waits for it, then shows its progress once.
    // Cancel is pressed before it starts when cancelBackground is set, or between two files
    // once cancelAfterFiles of them are done.
    void runJob(const Job& job, BackgroundTask& task) override;
    void setArchiveTitle(std::string_view fileName) override { archiveTitle = fileName; }
    void setRecentArchives(std::span<const std::string> paths) override {
        recentMenu.assign(paths.begin(), paths.end());
    }

    void repaintWindow() override {
        noteThread();
        ++windowRepaints;
    }
    void closeWindow() override { closed = true; }
    void showAboutBox() override { ++aboutShown; }
    void showHelp() override { ++helpShown; }

    // The user moves the scroll bar's thumb: the position changes and the notification follows.
    void userMovesFrameScroll(int position);
    // The playback timer fires once, when it runs.
    void frameTimerFires();

    // --- What the window shows, open for tests to read and script. ---
    bool listVisible = false;
    int focusCount = 0;
    int updateDepth = 0;
    int finishedUpdates = 0;
    std::vector<HeadlessRow> rows;
    int selectedRow = -1;  // as the logic last selected it: the focused row
    std::vector<int> selectedRows;  // every row the logic last selected
    ListLook listLook = ListLook::Icons;
    std::optional<ListColumn> sortIndicator;
    bool sortIndicatorAscending = true;
    CommandState commands{.entryCommands = true};  // as the logic last set them
    int commandStateChanges = 0;
    std::array<std::string, kStatusPanelCount> statusTexts{};
    std::array<int, kStatusPanelCount> statusWidths{};
    int toolbarProgress = 0;
    int batchProgress = 0;
    std::vector<int> toolbarProgressHistory;  // every position set on ProgressBar1, as read back
    std::vector<int> batchProgressHistory;    // the same for ProgressBar3
    int typeIndex = 0;
    std::string typeBoxText = "*.*";
    bool extraVisible = false;
    bool previewVisible = false;
    std::string previewHint;
    std::vector<std::byte> picture;  // the BMP file last loaded into Image; empty under a message
                                   // or another page
    PictureKind pictureKind = PictureKind::Picture;
    std::string previewMessage;  // what the preview shows instead of a picture
    int pictureLoads = 0;
    int imageRepaints = 0;
    PreviewPage previewPage = PreviewPage::Image;
    std::string previewText;                // the text page's text
    std::vector<SwatchColour> paletteShown;  // the palette page's colours
    std::vector<std::byte> hexBytes;         // the hex page's bytes
    std::string pageNote;                    // the note above the text or hex page
    std::string drawingFigures;              // the figures above a drawing (showDrawing)
    ComparedView sideOld;                    // the side-by-side page's two sides
    ComparedView sideNew;
    std::string noteHeader;                  // the list's note column; empty: hidden
    std::vector<std::string> statusFilterItems;  // the status filter's items; empty: hidden
    std::deque<std::optional<std::string>> saveReplies;  // scripted save dialog results
    std::vector<std::string> saveSuggestions;            // the paths the save dialog started at
    std::string frameCaption;
    int frameTimerInterval = 0;  // 0: the timer is stopped
    std::vector<std::uint8_t> videoFrame;  // the RGB pixels last shown on the video page
    int videoWidth = 0;
    int videoHeight = 0;
    int videoFrameShows = 0;
    int videoPosition = 0;
    int videoFrames = 0;
    std::string videoPositionText;
    bool videoPlaying = false;
    int videoTickMs = 0;
    std::string videoInfo;
    int scrollMinimum = 1;
    int scrollMaximum = 1;
    int scrollPosition = 1;
    bool scrollVisible = false;
    struct Question {
        std::string caption;
        std::string text;
    };
    std::vector<Question> questions;
    std::vector<Question> damagedQuestions;
    std::deque<DamagedAnswer> damagedAnswers;  // scripted; Cancel when none is left
    std::deque<bool> answers;  // scripted replies to askOkCancel; OK when none is left
    struct ExternalOpen {
        std::string path;
        std::string program;
    };
    std::vector<ExternalOpen> externalOpens;
    bool externalOpenWorks = true;
    int watchTimerInterval = 0;
    struct ChoiceQuestion {
        std::string caption;
        std::string text;
        std::vector<std::string> buttons;
    };
    std::vector<ChoiceQuestion> choiceQuestions;
    std::deque<std::size_t> choiceAnswers;  // scripted; the last button (Escape) when none is left
    struct OverwriteQuestion {
        std::string fileName;
        std::string folder;
        bool several = false;
    };
    std::vector<OverwriteQuestion> overwriteQuestions;
    std::deque<OverwriteAnswer> overwriteAnswers;  // scripted; Overwrite when none is left
    std::vector<std::string> errors;
    bool extraVisibleAtReport = false;  // whether the batch panel showed under the last message
    std::vector<std::string> notices;
    std::map<std::string, std::string> translations;  // a test's translation; none by default
    std::deque<std::optional<OpenChoice>> openReplies;  // scripted open dialog results
    std::vector<std::string> openDialogDirectories;
    std::vector<OpenFilter> openDialogFilters;  // the filters the open dialog last offered
    std::deque<std::optional<std::string>> folderReplies;  // scripted folder chooser results
    std::vector<std::string> folderCaptions;
    std::vector<std::string> folderDirectories;  // where each folder chooser started
    std::vector<Question> saveQuestions;
    std::deque<SaveAnswer> saveAnswers;  // scripted; Cancel when none is left
    std::vector<Question> changedOnDiskQuestions;
    std::deque<ChangedOnDiskAnswer> changedOnDiskAnswers;  // scripted; Cancel when none is left
    struct NameDialog {
        std::string caption;
        std::string initial;
        std::vector<std::string> refusals;  // the reasons shown for the names tried
    };
    std::vector<NameDialog> nameDialogs;
    std::deque<std::optional<std::string>> nameReplies;  // scripted names typed, then OK
    std::deque<std::vector<std::string>> fileReplies;    // scripted file chooser results
    std::vector<std::string> fileCaptions;
    std::deque<std::optional<std::string>> savePathReplies;  // scripted save dialog results
    std::vector<std::string> savePathStarts;                 // where each save dialog started
    bool folderColumnsShown = false;
    std::vector<std::vector<std::string>> arrangedLists;  // the items each arrangeList offered
    // Scripted: the order chosen, as positions of the items offered; cancelled when none is left.
    std::deque<std::optional<std::vector<std::size_t>>> arrangeReplies;
    std::vector<std::string> backgroundCaptions;
    bool cancelBackground = false;
    std::size_t backgroundDone = 0;  // the last background work's progress at its end
    std::size_t backgroundTotal = 0;
    int cancelAfterFiles = -1;  // never when negative
    std::vector<JobDisplay> jobDisplays;  // of every job run
    // Calls that change or read the window from another thread than the one that made it: a
    // job's work may not make any.
    mutable std::atomic<int> offThreadCalls{0};
    std::string archiveTitle;
    std::vector<std::string> recentMenu;
    int windowRepaints = 0;
    bool closed = false;
    int aboutShown = 0;
    int helpShown = 0;

private:
    void noteThread() const;
    std::thread::id windowThread_ = std::this_thread::get_id();
};

}  // namespace brasvel
