// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Whether each of the window's commands is usable now, and the texts of those whose item names
// what they act on. The window's logic computes it whole after every event (MainForm's
// commandState); a front end only shows it.

#include <string>

namespace brasvel {

// The editing commands.
struct EditCommandState {
    bool archiveEditable = false;  // an archive is open and can be written back
    bool entrySelected = false;    // Replace, Remove, Rename
    bool spritesEditable = false;  // Import sprite: a LOD that can be written back
    bool spriteSelected = false;   // Replace frame
    bool changed = false;          // Save, Revert
    bool archiveOpen = false;      // Save as
    // A folder is open: its archives' order, the shadowed copies shown (checked) or not.
    bool folderOpen = false;
    bool shadowedShown = false;
    bool folderEntrySelected = false;  // Edit this archive
    // Undo and redo: usable or not, and their menu items' texts, which name the step.
    bool canUndo = false;
    bool canRedo = false;
    std::string undoText;
    std::string redoText;
    friend bool operator==(const EditCommandState&, const EditCommandState&) = default;
};

struct CommandState {
    // The commands that act on the selected entries: extract them, show one in the preview.
    bool entryCommands = false;
    // The extract command's text while several entries are selected ("Wypakuj zaznaczone pliki
    // (3)..."); empty: its own.
    std::string extractItemText;
    // The preview's commands: save the picture or frame shown, export the selected sprite.
    bool savePicture = false;
    bool exportSprite = false;
    // The player's Play and Stop: a sound is ready in the player.
    bool playerButtons = false;
    // "Zamknij porównanie": a comparison is shown. "Porównaj z…" and "Eksportuj różnice…" follow
    // edit.archiveOpen, "Scal z…" edit.archiveEditable.
    bool comparing = false;
    EditCommandState edit;
    friend bool operator==(const CommandState&, const CommandState&) = default;
};

}  // namespace brasvel
