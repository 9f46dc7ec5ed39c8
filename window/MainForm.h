// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The main window's logic: its state and the handlers of its menus, tool bar, list, type box,
// preview panel and player. It talks to the widgets only through WindowToolkit and to the sound
// device only through WavePlayer, so every handler runs the same under Qt and in tests.
// Handlers catch the core's errors and show them through the toolkit's error report.
//
// The open archive is opened once and kept open until another is opened: listing, preview,
// sound and extraction all read it through the session (ArchiveSession), edits included, never
// by its path again. The list
// shows a view of it: the rows, each naming an entry and its icon, of at most the first 15011
// entries; the command line has no such limit.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "archive/TypeItems.h"
#include "base/ByteReader.h"
#include "extract/BatchExtractor.h"
#include "toolkit/WindowToolkit.h"
#include "video/VideoClip.h"
#include "window/ArchiveEditing.h"
#include "window/ArchiveSession.h"
#include "window/EntryListView.h"
#include "window/PreviewKinds.h"
#include "window/Selection.h"
#include "window/WavePlayer.h"
#include "window/WindowKinds.h"
#include "window/ExternalEdits.h"
#include "window/SettingsStore.h"
#include "window/WindowSettings.h"

namespace brasvel {

struct Picture;
class PreviewController;
class VideoPreview;

// The list shows at most this many entries of an archive.
inline constexpr std::size_t kListedEntries = 15011;

class MainForm : public WindowEvents {
public:
    // Settings kept in memory only, for this run.
    MainForm(WindowToolkit& ui, WavePlayer& player);
    // Reads the remembered settings (extraction folder, list look and order, recent archives)
    // and keeps them up to date in `settings`, which outlives the form.
    MainForm(WindowToolkit& ui, WavePlayer& player, WindowSettings& settings);
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Start-up. `appPath` is the game's "AppPath" setting (empty when missing); `argument` the
    // first command-line argument (empty when none).
    void FormCreate(const std::string& appPath, const std::string& argument);

    // "Plik": open an archive (tool bar and menu), extract the selected entry, extract every
    // shown entry (tool bar and menu variants), exit.
    void ToolButton1Click();
    void LoadResurceFile1Click();
    void ToolButton2Click();
    void SaveSingleFile1Click();
    void ToolButton5Click();
    void SaveSingleFile2Click();
    void ToolButton4Click();
    void Exittheprogram1Click();
    // The window closes: scratch data is released.
    void FormClose();

    // The type box's item was chosen by the user.
    void ViewLod();
    // The search box's text changed (UTF-8): the list narrows to the names that hold it, within
    // the type box's choice.
    void searchEdited(const std::string& search) override;
    const std::string& searchText() const { return list_.search(); }

    // "Edycja" (and the list's context menu): add files (through the file chooser, or dropped
    // onto the list: filesDropped), replace the selected entry's content from a file, remove it, rename it
    // (Ctrl+R), save (Ctrl+S), save as (Ctrl+Shift+S), drop every unsaved edit, undo the latest
    // edit (Alt+Backspace) and redo it (Ctrl+Y). Edits stay pending until saved: the list, the
    // preview and extraction show them meanwhile. Each edit is one step to undo, back to the
    // archive as opened or saved; a revert is one too.
    void AddFiles1Click();
    void ReplaceEntry1Click();
    void RemoveEntry1Click();
    void RenameEntry1Click();
    // A sprite from an export's folder, in place of the selected sprite or as a new entry; the
    // frame shown (the first when none is) of the selected sprite from a picture file. Each one
    // step, nothing changed when the pictures do not fit.
    void ImportSpriteClick();
    void ReplaceFrameClick();
    // "Edytuj w innym programie...": the selected entry written for another program and opened
    // there; its file watched, and each complete save offered as one step. The watch timer's
    // tick; "Opcje" > the program edits open with (empty: the desktop's choice).
    void EditExternallyClick();
    // "Plik" > "Nowe archiwum...": its kind and name asked, an empty archive of that kind
    // written there (never over a file) and opened, for files to be added and saved.
    void NewArchiveClick();
    void ExternalWatchTick();
    void ExternalProgramClick();
    // Pending edits outlive a crash: after each edit they are journalled into the recovery folder
    // (the user's state folder's brasvel-resedit/recovery), and the journal goes with a save,
    // revert or discard. At the start, each journal left by a window that no longer runs is
    // offered back: restored as unsaved edits when the archive is as it was, else kept.
    void offerRecovery();
    // The recovery folder; empty: none (no state folder). Tests put one of their own.
    void setRecoveryFolder(std::string folder) { recoveryFolder_ = std::move(folder); }
    const std::string& recoveryFolder() const { return recoveryFolder_; }
    // How many entries are out in other programs.
    std::size_t externalEditCount() const { return externalEdits_.size(); }
    void SaveArchive1Click();
    void SaveArchiveAs1Click();
    void RevertChanges1Click();
    void UndoEdit1Click();
    void RedoEdit1Click();
    // The window is about to close (its close box or the exit commands): unsaved edits are
    // saved or discarded as the user says. False keeps the window open.
    bool FormCloseQuery();
    bool hasUnsavedChanges() const { return session_.hasChanges(); }
    // The editing questions and the open archive, open to tests (their injected save failures,
    // edits dropped).
    ArchiveEditing& editing() { return editing_; }
    ArchiveSession& session() { return session_; }
    // "Plik" > "Otwórz folder...": every archive directly inside a folder the user chooses (the
    // game's data folder first) in one list, each name once, as the copy that wins, with the
    // archive that holds it and how many copies it shadows. The list, type box, search, sort,
    // preview, sound, video and extraction work across the archives, each entry read through its
    // own archive; editing is not: "Edytuj to archiwum" opens the selected entry's archive alone,
    // with that entry selected. "Kolejność archiwów..." arranges which archive wins, remembered
    // per folder (most recently changed first by default); "Pokaż zasłonięte" lists the copies
    // shadowed too, under their winners.
    void OpenFolderClick();
    void ArchiveOrderClick();
    void ShowShadowedClick();
    void EditThisArchiveClick();
    // Opens `folder` as OpenFolderClick does once it is chosen.
    void openFolder(const std::string& folder);
    bool shadowedShown() const { return list_.shadowedShown(); }
    // "Plik": a recent archive chosen, by its place in recentArchives().
    void openRecent(std::size_t position);
    // Files dropped onto the window (local paths): one archive file opens; others go to
    // the editing commands' adding while an archive is open.
    void filesDropped(const std::vector<std::string>& paths) override;
    // Entries dragged out of the list at `rows`: extracted into `folder` as the extract command
    // would; returns the paths of the files written, in list order. A failure is reported and
    // leaves its entry out.
    std::vector<std::string> dragOut(const std::vector<int>& rows, const std::string& folder);

    // "Plik" > "Porównaj z...": the open archive, pending edits included, compared with another
    // of its kind as `diff` compares them (the open one old, the other new): a status per entry in
    // the list's note column, the other's new entries listed after them, a status filter, a
    // changed picture, sprite or text side by side in the preview. "Zamknij porównanie" and any
    // edit end it. "Eksportuj różnice...": the comparison's patch (`diff --export`) to a new
    // archive. "Scal z...": another archive's entries merged in as one step to undo, each
    // conflict asked about.
    void CompareWithClick();
    void CloseComparisonClick();
    void ExportDifferencesClick();
    void MergeWithClick();
    // The status filter's item chosen: 0 every status, then kFilteredStatuses' order.
    void statusFilterChosen(int item) override;
    // The search box's "w treści" ticked or not, and Enter pressed in the box: while ticked,
    // Enter searches inside the entries as a job and the list shows what holds the text;
    // clearing the box or unticking goes back to the names.
    void contentSearchToggled(bool on) override;
    void searchSubmitted();
    bool comparing() const;

    // The list: a column's header clicked (the order the header shows), the tool bar's switch
    // between icons and details.
    void sortList(ListColumn column, bool ascending);
    void toggleListLook();

    // "Opcje": the extraction folder.
    void SetPathForExtract1Click();

    // "Pomoc".
    void GeneralHelp1Click();
    void About2Click();

    // The list's selection notification for `row` (selected or deselected). Selecting a row
    // selects it alone.
    void numitem(int row, bool selected);
    // The list's selection changed by `deselected` and `selected` rows; `current` is the row
    // with the focus (-1: none). The preview follows one selected row; the commands act on all.
    void selectionChanged(const std::vector<int>& deselected, const std::vector<int>& selected,
                          int current) override;
    // Enter on a row, or "Pokaż w podglądzie" on its context menu: the selected entry in the
    // preview, turned on when it was off.
    void showRowInPreview();
    // The player's Play: plays the sound prepared. Without a sound device, the first Play of a
    // run says so and the preview's figures say it afterwards.
    void playSound();
    // The preview switch: tool bar button and menu item (Ctrl+Z).
    void BitBtn3Click();
    void QuickView1Click();
    // The frame scroll bar's position changed.
    void scbChange();
    // The preview panel was resized to width × height.
    void Panel1Resize(int width, int height);

    // The sprite's Play button: starts playing the frames of the shown frame's block in a loop,
    // or stops. Playback stops too when another entry is chosen, the preview is closed, another
    // archive opens or a frame fails.
    void PlayFramesClick();
    // The playback timer: the block's next frame is shown and the scroll bar follows.
    void FrameTimerTimer();
    // The playback speed, in frames per second (kSlowestPlayback to kFastestPlayback).
    void FrameSpeedChange(int framesPerSecond);
    // "Zapisz jako PNG...": the picture or sprite frame the preview shows, to a PNG file the user
    // names (never the open archive), written whole or not at all.
    void SavePictureAsPngClick();
    // "Eksportuj sprite...": the selected sprite as `sprite export` writes it, into a folder the
    // user chooses; files that exist are replaced only when the user agrees.
    void ExportSpriteClick();

    // A player button was pressed; runs before the button's own action.
    void MediaPlayer1Click(PlayerButton button);

    // The preview's video page: Play/Pause, the step buttons (-1, +1), the position slider moved
    // by the user to `frame`, and the timer's tick while a clip plays.
    void videoPlayPause();
    void videoStep(int delta);
    void videoSeek(int frame);
    void videoTick();
    // Which demuxers and decoders may read a video entry (the game's by default).
    void setVideoOptions(video::VideoOptions options);

    // The user's events from a front end (WindowEvents), each passed to its handler above; after
    // each, every command's state is shown again (commandState).
    void commandChosen(WindowCommand command) override;
    void sortChosen(ListColumn column, bool ascending) override;
    void typeChosen() override;
    void recentChosen(std::size_t position) override;
    std::vector<std::string> entriesDraggedOut(const std::vector<int>& rows,
                                               const std::string& folder) override;
    void previewResized(int width, int height) override;
    void frameScrollChanged() override;
    void frameSpeedChanged(int framesPerSecond) override;
    void frameTimerTicked() override;
    void videoStepped(int delta) override;
    void videoSeeked(int frame) override;
    void videoTicked() override;
    // MediaPlayer1Click first; then the button's own action, while that left a sound open.
    void playerButtonPressed(PlayerButton button) override;
    void watchTimerTicked() override;
    bool closeRequested() override;
    void closed() override;

    // Whether each command is usable now and what the items that name their object say: one
    // rule for all of them, from the open archive, its edits, the selection, the preview and the
    // player. Shown after every handler.
    CommandState commandState() const;

    // State, open to the window and to tests.
    // The open archive; null when none is (none chosen yet, or it could not be opened).
    const Archive* archive() const { return session_.archive(); }
    // The entries the list is built from: the pending edit's while one was begun, else the
    // archive's. Empty when no archive is open.
    const std::vector<Entry>& entries() const { return session_.entries(); }
    // The list's rows: the entry each shows and its icon.
    const TypeView& view() const { return list_.view(); }
    // The row that single-entry commands act on: the one the user sees selected, -1 when none.
    int SelectedRow() const { return list_.rowOf(selection_.focused()); }
    const std::string& archivePath() const { return session_.path(); }
    const std::string& ExtractDir() const { return extractDir_; }
    const std::string& StartDir() const { return startDir_; }
    bool PreviewOn() const;
    bool Playing() const;
    int FramesPerSecond() const;
    const VideoPreview& videoPreview() const;
    // The directory indices of the selected entries, in the list's order.
    std::vector<std::size_t> selectedEntries() const;
    ListLook listLook() const { return list_.look(); }
    std::optional<ListColumn> sortColumn() const { return list_.sortColumn(); }
    bool sortAscending() const { return list_.sortAscending(); }
    // The latest first.
    const std::vector<std::string>& recentArchives() const { return settings_.recentArchives(); }

private:
    enum class BatchVariant { Toolbar, Menu };
    struct Impl;

    template <typename Body>
    void guarded(Body&& body);
    std::string text(const char* source) const { return ui_.translate(source); }
    std::string messageOf(const ResourceError& error) const;
    std::string describe(const ResourceError& error) const;

    void connectToolkit();
    void loadSettings();
    void rememberRecent(const std::string& path);
    void openThroughDialog();
    // Opens `path` as the kind its extension names, else as the kind its bytes look like.
    void openByKind(const std::string& path);
    void openAs(const std::string& path, const ArchiveFormat& format);
    std::vector<OpenFilter> openFilters() const;
    void closeArchive();
    void showTypeItemText();
    // Opens `path` as `format` (asking before another kind it looks like) and lists it.
    void readArchive(const std::string& path, const ArchiveFormat& format);
    void showTotal(std::int32_t statedCount);
    // The count panel: the archive's total, and while the list is narrowed, how many it lists.
    void showListedCount();
    // The selected entry's sizes in the status panels.
    void showSizes(const Entry& entry);
    void forgetRecent(const std::string& path);
    // Every command's state shown as commandState() says.
    void refreshCommands();
    bool isLod() const;
    // The entry that row `row` shows; null when the row is not one of the list.
    const Entry* entryAtRow(int row) const;
    const Entry* selectedEntry() const { return entryAtRow(SelectedRow()); }
    // Selects `row` of the list (-1: none) for the user and for the single-entry commands.
    void selectListedRow(int row);
    // Marks the entry at `row` as selected or not; false when the row shows none.
    bool markRow(int row, bool selected);
    bool isMarkedRow(int row) const;
    // The focused entry becomes the one at `row`, or none.
    void focusRow(int row);
    // The selected row became `row`: its sizes and preview are shown.
    void showSelectedRow(int row);
    void restoreSelection();
    void clearPreview(const std::string& message);
    // The preview, told the entry selected now.
    PreviewController& preview();
    void prepareSound();
    template <typename Body>
    void videoHandler(Body&& body);
    // Rebuilds the list from the type box and the search box; the selection follows its entry.
    void relist();

    std::string targetFolder() const;
    void showPictureSize(std::int32_t width, std::int32_t height);
    void extractSelected();
    void extractAll(BatchVariant variant);
    void runBatch(BatchVariant variant);
    // Extracts the entries with directory indices `indices` with progress, Cancel and a summary.
    void extractBatch(const std::vector<std::size_t>& indices, const BatchProgress& progress);
    // Of `indices`, those the user lets be written where a file of their name is in `folder`;
    // nothing when the user cancelled. `skipped` counts those left out.
    std::optional<std::vector<std::size_t>> confirmOverwrites(
        const std::vector<std::size_t>& indices, const std::string& folder,
        std::size_t& skipped);
    std::string batchSummary(std::size_t done, std::size_t chosen, std::size_t skipped,
                             const std::string& folder, const std::vector<std::string>& failed,
                             bool cancelled) const;

    // A folder open. How its batches move the progress bars, as an archive's kind says for it.
    const WindowKind& shownKind() const;
    // Lists the open folder anew (opened, or its order changed): `focused`, an entry of the
    // stack, selected when given.
    void showFolder(std::optional<std::size_t> focused);
    std::string folderTitle() const;
    std::string folderStatus() const;

    // Editing.
    ArchiveEdit& beginEdit();
    // The entries' indices or contents changed: what the preview kept belongs to the list before.
    void forgetListedContent();
    void addFiles(const std::vector<std::string>& paths);
    std::optional<std::string> addFile(ArchiveEdit& edit, const std::string& path);
    // A PNG or BMP added to a LOD: as the game's picture (its PCX file), as it is, or not at all.
    struct OfferedPicture {
        bool cancelled = false;
        std::optional<std::vector<std::byte>> pcx;  // nothing: as the file is
    };
    OfferedPicture offerPicture(const std::string& path, std::string& name);
    // After an edit: the list rebuilt, the entry named `selectName` selected if it is listed.
    void showEdited(const std::optional<std::string>& selectName);
    // The title's mark of unsaved edits, and the journal gone with the last of them.
    void showEditState();
    EditCommandState editCommandState() const;
    std::optional<std::string> selectedName() const;
    void saveTo(const std::string& path);
    // The save dialog with this archive's filter; nothing when cancelled.
    std::optional<std::string> askSaveAsPath();
    // The archive just saved at `path`, opened again and listed, `selectName` selected.
    void reopenSaved(const std::string& path, const std::optional<std::string>& selectName);

    void resetFrameScroll();
    // Records damage found in an entry's content when it was read, and shows it.
    void noteDamage(std::size_t index, const std::string& what);
    // The file name panel, with the count of damaged entries when there are any.
    void showDamageCount();

    WindowToolkit& ui_;
    WavePlayer& player_;
    int handlerDepth_ = 0;                       // guarded handlers running, one in another
    std::unique_ptr<MemorySettings> ownSettings_;
    SettingsStore settings_;
    std::string extractDir_;
    std::string startDir_ = "data";
    std::string totalText_;  // "Total Files: N" of the open archive; empty when none is
    bool noDeviceSaid_ = false;
    bool countWidened_ = false;  // the count panel is wide for the narrowed list's count
    ArchiveSession session_;
    ArchiveEditing editing_{ui_, session_};
    EntryListView list_{ui_, session_};
    Selection selection_;
    std::unique_ptr<Impl> impl_;
    std::vector<ExternalEdit> externalEdits_;
    std::string recoveryFolder_;
    std::string journalled_;     // the journal this window wrote last, until it is removed
    bool journalFailed_ = false;  // said once
    std::string journalPathOf(const std::string& archivePath) const;
    // The pending edits to the journal, or the journal removed when there are none.
    void journalEdits();
    std::unique_ptr<WorkFolder> workFolder_;
    // The comparison and the search inside entries (MainFormMany.cpp).
    struct ManyArchives;
    std::shared_ptr<ManyArchives> many_;
    ManyArchives& many();
    // The comparison's or the search's rows dropped: the entries they describe changed.
    void dropListOverlays();
    // Shows the focused entry's two sides when the comparison found it changed; false when it
    // does not apply.
    bool showComparedSides();
    // Row `row`, one of the other archive's new entries that a comparison lists, shown alone
    // beside an empty old side; false when the row is none of those or cannot be shown.
    bool showNewEntry(int row);
    // The search box's text while "w treści" is ticked; false when it is not.
    bool contentSearchEdited(const std::string& search);
    void runContentSearch();
    std::shared_ptr<const Archive> chooseOtherArchive(const char* caption);
    // With entries still out in other programs: asks before the archive or the window closes;
    // true when it may, the watches then ended and their files gone.
    bool settleExternalEdits();
    void takeExternalEdit(const std::string& entryName);
};

// Runs a handler's body; an error ends it and is shown, and the program goes on.
// The outermost one shows the commands' state as it left them.
template <typename Body>
void MainForm::guarded(Body&& body) {
    ++handlerDepth_;
    try {
        body();
    } catch (const ResourceError& error) {
        ui_.reportError(messageOf(error));
    } catch (const std::exception& error) {
        ui_.reportError(error.what());
    }
    if (--handlerDepth_ == 0) {
        refreshCommands();
    }
}

}  // namespace brasvel
