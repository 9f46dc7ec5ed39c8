// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The operations that the window's logic (listing, extraction, preview) needs from the window
// toolkit. The Qt window implements them in app/; HeadlessToolkit records them for tests. Texts
// are UTF-8 unless a parameter says it takes entry bytes (Windows-1250, shown up to the first NUL
// byte).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Jobs.h"

namespace brasvel {

enum class ProgressBarId { Toolbar, Batch };  // ProgressBar1 on the tool bar, ProgressBar3 on `extra`
enum class PanelId { Extra, Preview };        // `extra` (batch progress) and Panel1 ("Obraz")
enum class PictureKind { Picture, SpriteFrame };

// A colour of a palette shown in the preview.
struct SwatchColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const SwatchColour&, const SwatchColour&) = default;
};

inline constexpr int kProgressMaximum = 100;
inline constexpr int kStatusPanelCount = 6;

// The columns of the details list, in the order shown.
enum class ListColumn { Name, Type, Size, StoredSize, Ratio, Offset };
inline constexpr int kListColumnCount = 6;

// How the list shows its rows: icons with names only, or one line per entry with its figures.
enum class ListLook { Icons, Details };

// The figures a row shows in the details list besides its caption.
struct RowDetails {
    std::string_view type;        // the extension, as stored (Windows-1250 bytes)
    std::int64_t size = 0;        // the content's length
    std::int64_t storedSize = 0;  // its length in the archive
    std::int64_t offset = 0;

    // The stored size in per cent of the size (100 for an empty entry), rounded down.
    std::int64_t ratioPercent() const { return size <= 0 ? 100 : storedSize * 100 / size; }
};

// The user's answer before a file in the target folder is written over.
enum class OverwriteAnswer { Overwrite, Skip, OverwriteAll, SkipAll, Cancel };

// One filter of the open dialog: what it is called and the names it shows ("*.Lod"), matched in
// any case.
struct OpenFilter {
    std::string text;
    std::string pattern;
    friend bool operator==(const OpenFilter&, const OpenFilter&) = default;
};

// What the open dialog returns when a file was chosen.
struct OpenChoice {
    std::string path;
    int filterIndex = 1;  // the filter chosen, from 1 in the order given: 1 LOD, 2 SND, 3 VID
};

// Which editing commands make sense now: the window enables and disables them from this alone.
struct EditCommandState {
    bool archiveEditable = false;  // an archive is open and can be written back
    bool entrySelected = false;    // Replace, Remove, Rename
    bool changed = false;          // Save, Revert
    bool archiveOpen = false;      // Save as
    // Undo and redo: usable or not, and their menu items' texts, which name the step.
    bool canUndo = false;
    bool canRedo = false;
    std::string undoText;
    std::string redoText;
    friend bool operator==(const EditCommandState&, const EditCommandState&) = default;
};

// The answer to "save the changes?".
enum class SaveAnswer { Save, Discard, Cancel };

// What to do when the archive changed on disk since it was opened and the edits are to be saved
// over it: read it again (the unsaved edits dropped), save the edits under another name, write
// over the change, or nothing.
enum class ChangedOnDiskAnswer { Reload, SaveAs, Overwrite, Cancel };
// What a save does with the archive's damaged entries: keeps their bytes as stored, leaves them
// out, or does not happen.
enum class DamagedAnswer { Keep, Drop, Cancel };

// Why a name the user types cannot be taken (in the user's language), or nothing when it can.
using NameCheck = std::function<std::optional<std::string>(const std::string& name)>;

class WindowToolkit : public JobRunner {
public:
    ~WindowToolkit() override = default;

    // The entry list (ListView1). A hidden list receives no focus.
    virtual void setListVisible(bool visible) = 0;
    virtual bool isListVisible() const = 0;
    virtual void focusList() = 0;
    // Rows changed inside the bracket are drawn once, at its end.
    virtual void beginListUpdate() = 0;
    virtual void endListUpdate() = 0;
    virtual void clearRows() = 0;
    // Appends a row showing image 0 and returns its index; rows keep their order.
    virtual int appendRow() = 0;
    virtual int rowCount() const = 0;
    // entryBytes: Windows-1250 bytes, shown up to the first NUL byte.
    virtual void setRowCaption(int row, std::string_view entryBytes) = 0;
    virtual void setRowImage(int row, int image) = 0;
    virtual void setRowDetails(int row, const RowDetails& details) = 0;
    // Selects only `row`, or nothing when it is -1, and shows it; raises no selection
    // notification (the logic already knows).
    virtual void selectRow(int row) = 0;
    // Selects exactly `rows` and makes `current` (-1: none) the row with the focus, shown; raises
    // no selection notification.
    virtual void selectRows(std::span<const int> rows, int current) = 0;
    // Icons or details; the sort order's arrow over `column` (none: the directory's order).
    virtual void setListLook(ListLook look) = 0;
    virtual void showSortOrder(std::optional<ListColumn> column, bool ascending) = 0;
    // The commands that act on the selected entry (extract it, Play) are usable or not.
    virtual void setEntryCommandsEnabled(bool enabled) = 0;

    // Shows `row` as changed and not yet saved (new content or a new name), or as saved.
    virtual void setRowChanged(int row, bool changed) = 0;
    // Shows `row` as damaged: its entry's stored bytes are not all there, or not a valid content.
    virtual void setRowDamaged(int row, bool damaged) = 0;
    virtual void setEditCommandsEnabled(const EditCommandState& state) = 0;

    // The status bar (StatusBar1), panels 0 to 5. Texts stay until replaced.
    virtual void setStatusText(int panel, std::string_view text) = 0;
    virtual void setStatusWidth(int panel, int width) = 0;

    // Progress bars, range 0 to 100: a position above 100 shows full and reads back as 100.
    virtual int progressPosition(ProgressBarId bar) const = 0;
    virtual void setProgressPosition(ProgressBarId bar, int position) = 0;

    // The type box (ComboBox1). With no item selected the index lies outside 0 to 12.
    virtual int selectedTypeIndex() const = 0;
    // Changes only the text shown; raises no change event.
    virtual void setTypeBoxText(std::string_view text) = 0;

    // Panels. The preview panel can also be undocked and docked by the user.
    virtual void setPanelVisible(PanelId panel, bool visible) = 0;
    virtual bool isPanelVisible(PanelId panel) const = 0;
    virtual void setPanelHint(PanelId panel, std::string_view entryBytes) = 0;

    // The preview picture (Image), drawn as it is: proportions kept, pixels sharp, fitted to the
    // panel until the user zooms. A sprite frame's palette indices 0-7 are markers: 0, 2, 3 and 5
    // are transparent (a checkerboard shows behind them), 1, 4, 6 and 7 a translucent shadow.
    virtual void showPicture(std::span<const std::byte> bmpFile, PictureKind kind) = 0;
    // The preview shows `text` instead of a picture (no picture, or why it could not be shown).
    virtual void showPreviewMessage(std::string_view text) = 0;
    virtual void setImageBounds(int left, int top, int width, int height) = 0;
    virtual void repaintImage() = 0;

    // The preview's other pages. Each call shows its page in place of the others; showPicture and
    // showPreviewMessage show the picture page again. `note`, when not empty, says above the page
    // why it shows only part of the entry.
    // Text (UTF-8), read-only, in a monospace font.
    virtual void showPreviewText(std::string_view text, std::string_view note) = 0;
    // A palette: a 16 × 16 grid of swatches, each with its index; a colour's value on demand.
    virtual void showPalette(std::span<const SwatchColour> colours) = 0;
    // Bytes as hex rows of 16: offset, the bytes in hex, the bytes as Windows-1250 letters.
    virtual void showHexView(std::span<const std::byte> bytes, std::string_view note) = 0;

    // The preview's commands: save the picture or frame shown, export the selected sprite.
    virtual void setPreviewCommandsEnabled(bool savePicture, bool exportSprite) = 0;
    // The save dialog for a picture: starts at `suggestedPath` (a folder and a file name), asks
    // before replacing a file; the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> askSavePath(std::string_view caption,
                                                   std::string_view suggestedPath) = 0;
    // The preview's video page: a clip's frame (width × height × red, green, blue, row after row
    // from the top), where it stands, whether it plays, and its figures. Showing a frame turns the
    // preview to the video page; showPicture and showPreviewMessage turn it back to the picture.
    virtual void showVideoFrame(std::span<const std::uint8_t> rgb, int width, int height) = 0;
    // The position slider stands at `frame` of `frames` (from 1); `text` says it in words.
    virtual void setVideoPosition(int frame, int frames, std::string_view text) = 0;
    // Playing: Play/Pause shows Pause and the window's timer ticks every `tickMs` milliseconds
    // (MainForm::videoTick); paused: it shows Play and the timer stops.
    virtual void setVideoPlaying(bool playing, int tickMs) = 0;
    virtual void setVideoInfo(std::string_view text) = 0;

    // The frame scroll bar (scb). Lowering the maximum below the position moves the position to
    // the maximum and raises the change notification; setting the same position raises none.
    virtual void setFrameScrollMinimum(int minimum) = 0;
    virtual void setFrameScrollMaximum(int maximum) = 0;
    virtual int frameScrollMaximum() const = 0;
    virtual void setFrameScrollPosition(int position) = 0;
    virtual int frameScrollPosition() const = 0;
    virtual void setFrameScrollVisible(bool visible) = 0;
    virtual bool isFrameScrollVisible() const = 0;
    // Called on every change of the scroll bar's position, also in the middle of another handler.
    std::function<void()> onFrameScrollChange;
    // What the sprite's frame row says beside the scroll bar ("klatka 3 / 8 ...").
    virtual void setFrameCaption(std::string_view text) = 0;
    // The playback timer: every `intervalMs` milliseconds it calls onFrameTimer, until it is set
    // to 0; the Play button shows whether it runs.
    virtual void setFrameTimer(int intervalMs) = 0;
    std::function<void()> onFrameTimer;

    // A message box with the buttons OK and Cancel; true when OK was pressed.
    virtual bool askOkCancel(std::string_view caption, std::string_view text) = 0;
    // Asks before `fileName` in `folder` is written over; `several` offers the answers for all.
    virtual OverwriteAnswer askOverwrite(std::string_view fileName, std::string_view folder,
                                         bool several) = 0;
    // An error that ended a handler; the program goes on.
    virtual void reportError(std::string_view text) = 0;
    // A notice that is not an error (an archive longer than the list can show, say).
    virtual void reportNotice(std::string_view text) = 0;

    // A text of window/WindowTexts.h as the user reads it: its translation when one is installed,
    // else the text itself (UTF-8).
    virtual std::string translate(const char* text) const { return text; }

    // The open dialog: starts in initialDirectory and offers `filters`; nothing when the user
    // cancels.
    virtual std::optional<OpenChoice> runOpenDialog(std::string_view initialDirectory,
                                                    std::span<const OpenFilter> filters) = 0;
    // The folder chooser: the chosen folder's full path, or nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(std::string_view caption) = 0;

    // "Save the changes?" with the buttons Save, Discard and Cancel (also the window's close).
    virtual SaveAnswer askSaveChanges(std::string_view caption, std::string_view text) = 0;
    // The archive changed on disk: the buttons Reload, Save as..., Save anyway and Cancel.
    virtual ChangedOnDiskAnswer askChangedOnDisk(std::string_view caption,
                                                 std::string_view text) = 0;
    // Before an archive with damaged entries is saved, with the buttons Keep, Leave out and Cancel.
    virtual DamagedAnswer askDamagedEntries(std::string_view caption, std::string_view text) = 0;
    // A dialog asking for a name, starting with `initial`: `check` runs on every change and its
    // reason shows at once, OK staying disabled while there is one. Nothing when cancelled.
    virtual std::optional<std::string> askName(std::string_view caption, std::string_view label,
                                               std::string_view initial,
                                               const NameCheck& check) = 0;
    // The file chooser for existing files: one, or as many as the user picks when `many`; none
    // when cancelled. Paths in the file system's encoding.
    virtual std::vector<std::string> chooseFiles(std::string_view caption,
                                                 std::string_view initialDirectory, bool many) = 0;
    // The save dialog: a path for a new file, starting at `initialPath`; the user confirms
    // replacing a file there. Nothing when cancelled.
    virtual std::optional<std::string> chooseSavePath(std::string_view caption,
                                                      std::string_view initialPath,
                                                      const OpenFilter& filter) = 0;
    // The recent archives under "Plik", the latest first.
    virtual void setRecentArchives(std::span<const std::string> paths) = 0;
    // The open archive's file name, for the window's title; empty when none is open.
    virtual void setArchiveTitle(std::string_view fileName) = 0;

    // The window: repaint it now (a long handler uses this to keep its progress visible), close
    // it (which ends the program), and show the two dialogs modally.
    virtual void repaintWindow() = 0;
    virtual void closeWindow() = 0;
    virtual void showAboutBox() = 0;
    virtual void showHelp() = 0;
};

}  // namespace brasvel
