// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What the user does to the window, as the window's logic takes it: the one way in from a
// front end. A front end turns its widgets' signals into these calls and decides nothing
// itself; MainForm implements them. Every call has a body that does nothing, so that a test of
// one part of a front end answers only the events it looks at.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/ListWidgets.h"

namespace brasvel {

// The menus' items and the tool bar's and preview's buttons that take no argument.
enum class WindowCommand : std::uint8_t {
    OpenArchive,          // the tool bar's Open
    OpenArchiveFromMenu,  // "Plik" > "Otwórz plik zasobów..."
    ExtractSelected,      // the tool bar's Extract
    ExtractSelectedFromMenu,
    ExtractShown,  // every entry the list shows, from the tool bar
    ExtractShownFromMenu,
    ExitFromToolbar,
    Exit,
    NewArchive,
    AddFiles,
    ReplaceEntry,
    RemoveEntry,
    RenameEntry,
    ImportSprite,
    ReplaceFrame,
    EditExternally,
    SaveArchive,
    SaveArchiveAs,
    RevertChanges,
    Undo,
    Redo,
    ChooseExtractFolder,
    ChooseExternalProgram,
    Help,
    About,
    TogglePreviewFromMenu,  // "Podgląd" in the menu (Ctrl+Z)
    TogglePreview,          // the preview's own button
    ToggleListLook,
    ShowInPreview,  // Enter on a row, or its context menu's item
    SavePictureAsPng,
    ExportSprite,
    PlayFrames,      // the sprite's Play
    VideoPlayPause,  // the video page's Play/Pause
    OpenFolder,       // "Plik" > "Otwórz folder...": a game folder's archives in one list
    ArrangeArchives,  // "Plik" > "Kolejność archiwów..."
    ToggleShadowed,   // "Plik" > "Pokaż zasłonięte"
    EditThisArchive,  // "Edytuj to archiwum": the selected entry's archive alone
    CompareWith,     // "Plik" > "Porównaj z…"
    CloseComparison,
    ExportDifferences,
    MergeWith,
    SearchInContent,  // Enter in the search box
};

enum class PlayerButton { Play, Stop };

class WindowEvents {
public:
    virtual ~WindowEvents() = default;

    virtual void commandChosen(WindowCommand /*command*/) {}

    // The list: its selection changed by `deselected` and `selected` rows, `current` the focused
    // row (-1: none); a column's header clicked; the type box's item chosen or typed; the search
    // box's text (UTF-8); a recent archive chosen by its place; files dropped onto the window;
    // rows dragged out into `folder`, answered with the files written there.
    virtual void selectionChanged(const std::vector<int>& /*deselected*/,
                                  const std::vector<int>& /*selected*/, int /*current*/) {}
    virtual void sortChosen(ListColumn /*column*/, bool /*ascending*/) {}
    virtual void typeChosen() {}
    virtual void searchEdited(const std::string& /*search*/) {}
    // A comparison's status filter: item chosen (0: every status); the search box's "w treści".
    virtual void statusFilterChosen(int /*item*/) {}
    virtual void contentSearchToggled(bool /*on*/) {}
    virtual void recentChosen(std::size_t /*position*/) {}
    virtual void filesDropped(const std::vector<std::string>& /*paths*/) {}
    virtual std::vector<std::string> entriesDraggedOut(const std::vector<int>& /*rows*/,
                                                       const std::string& /*folder*/) {
        return {};
    }

    // The preview: its panel resized; the sprite's frame scroll bar moved (also in the middle of
    // another handler), its speed changed, its playback timer's tick; the video page's step
    // buttons (-1, +1), its slider moved to `frame`, its timer's tick; the sound player's buttons.
    virtual void previewResized(int /*width*/, int /*height*/) {}
    virtual void frameScrollChanged() {}
    virtual void frameSpeedChanged(int /*framesPerSecond*/) {}
    virtual void frameTimerTicked() {}
    virtual void videoStepped(int /*delta*/) {}
    virtual void videoSeeked(int /*frame*/) {}
    virtual void videoTicked() {}
    virtual void playerButtonPressed(PlayerButton /*button*/) {}

    // The timer that watches files out in other programs.
    virtual void watchTimerTicked() {}

    // The window's close box: whether it may close (asked first); then it closes.
    virtual bool closeRequested() { return true; }
    virtual void closed() {}
};

}  // namespace brasvel
