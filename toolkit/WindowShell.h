// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace brasvel {

// Which editing commands make sense now: the window enables and disables them from this alone.
struct EditCommandState {
    bool archiveEditable = false;  // an archive is open and can be written back
    bool entrySelected = false;    // Replace, Remove, Rename
    bool spritesEditable = false;  // Import sprite: a LOD that can be written back
    bool spriteSelected = false;   // Replace frame
    bool changed = false;          // Save, Revert
    bool archiveOpen = false;      // Save as, Compare with, Export differences
    bool comparing = false;        // Close comparison
    // Undo and redo: usable or not, and their menu items' texts, which name the step.
    bool canUndo = false;
    bool canRedo = false;
    std::string undoText;
    std::string redoText;
    friend bool operator==(const EditCommandState&, const EditCommandState&) = default;
};

// The window around the parts: its title, menus' state, recent archives, translation, repaint,
// closing and its two dialogs of its own.
class WindowShell {
public:
    virtual ~WindowShell() = default;

    // The commands that act on the selected entry (extract it, Play) are usable or not.
    virtual void setEntryCommandsEnabled(bool enabled) = 0;
    // The text of the command that extracts the selected entries ("Wypakuj pojedynczy plik..."):
    // `text` while several are selected, its own when empty.
    virtual void setExtractItemText(std::string_view text) = 0;
    // The editing commands, Undo and Redo with the steps they name, follow `state`.
    virtual void setEditCommandsEnabled(const EditCommandState& state) = 0;

    // A text of window/WindowTexts.h as the user reads it: its translation when one is installed,
    // else the text itself (UTF-8).
    virtual std::string translate(const char* text) const { return text; }

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
