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

namespace brasvel {

enum class ProgressBarId { Toolbar, Batch };  // ProgressBar1 on the tool bar, ProgressBar3 on `extra`
enum class PanelId { Extra, Preview };        // `extra` (batch progress) and Panel1 ("Obraz")
enum class PictureKind { Picture, SpriteFrame };

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

class WindowToolkit {
public:
    virtual ~WindowToolkit() = default;

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

    // Lets the window handle the user's input during a batch: true once its Cancel button was
    // pressed since the batch panel was last shown.
    virtual bool batchCancelRequested() = 0;
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
