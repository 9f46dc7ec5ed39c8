// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brasvel {

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

// The questions, choosers and reports the window's logic puts to the user; each returns the
// user's answer.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box with the buttons OK and Cancel; true when OK was pressed.
    virtual bool askOkCancel(std::string_view caption, std::string_view text) = 0;
    // Asks before `fileName` in `folder` is written over; `several` offers the answers for all.
    virtual OverwriteAnswer askOverwrite(std::string_view fileName, std::string_view folder,
                                         bool several) = 0;
    // An error that ended a handler; the program goes on.
    virtual void reportError(std::string_view text) = 0;
    // A notice that is not an error (an archive longer than the list can show, say).
    virtual void reportNotice(std::string_view text) = 0;

    // The save dialog for a picture: starts at `suggestedPath` (a folder and a file name), asks
    // before replacing a file; the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> askSavePath(std::string_view caption,
                                                   std::string_view suggestedPath) = 0;
    // The open dialog: starts in initialDirectory and offers `filters`; nothing when the user
    // cancels.
    virtual std::optional<OpenChoice> runOpenDialog(std::string_view initialDirectory,
                                                    std::span<const OpenFilter> filters) = 0;
    // The folder chooser, starting in `initialDirectory` (empty: where the system starts): the
    // chosen folder's full path, or nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(std::string_view caption,
                                                    std::string_view initialDirectory) = 0;

    // "Save the changes?" with the buttons Save, Discard and Cancel (also the window's close).
    virtual SaveAnswer askSaveChanges(std::string_view caption, std::string_view text) = 0;
    // The archive changed on disk: the buttons Reload, Save as..., Save anyway and Cancel.
    virtual ChangedOnDiskAnswer askChangedOnDisk(std::string_view caption,
                                                 std::string_view text) = 0;
    // Before an archive with damaged entries is saved, with the buttons Keep, Leave out and Cancel.
    virtual DamagedAnswer askDamagedEntries(std::string_view caption, std::string_view text) = 0;
    // A question answered by one of `buttons` (their texts in the user's language, in order, the
    // first the default); the last is the one Escape and closing the box press. The index of the
    // button pressed.
    virtual std::size_t askChoice(std::string_view caption, std::string_view text,
                                  std::span<const std::string> buttons) = 0;
    // A dialog asking for a name, starting with `initial`: `check` runs on every change and its
    // reason shows at once, OK staying disabled while there is one. Nothing when cancelled.
    virtual std::optional<std::string> askName(std::string_view caption, std::string_view label,
                                               std::string_view initial,
                                               const NameCheck& check) = 0;
    // The file chooser for existing files: one, or as many as the user picks when `many`; none
    // when cancelled. Paths in the file system's encoding.
    virtual std::vector<std::string> chooseFiles(std::string_view caption,
                                                 std::string_view initialDirectory, bool many) = 0;
    // A list the user puts in order with the buttons Up and Down: `items` (UTF-8) in the order
    // given, the first at the top. The positions of `items` in the order chosen, or nothing when
    // cancelled.
    virtual std::optional<std::vector<std::size_t>> arrangeList(
        std::string_view caption, std::string_view text, std::span<const std::string> items) = 0;
    // The save dialog: a path for a new file, starting at `initialPath`; the user confirms
    // replacing a file there. Nothing when cancelled.
    virtual std::optional<std::string> chooseSavePath(std::string_view caption,
                                                      std::string_view initialPath,
                                                      const OpenFilter& filter) = 0;
};

}  // namespace brasvel
