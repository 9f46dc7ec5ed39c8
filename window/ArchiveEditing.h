// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The questions the window's "Edycja" commands ask about the session's pending edit, and its
// saving. It talks to the user only through WindowToolkit: the names the user types are checked
// with the writer's rules and refused in the user's words, saving runs off the window's thread
// with progress and Cancel, holding the archive's lock, and a save over an archive that changed
// on disk, or that is hard-linked or write-protected, asks first. The edit itself and its undo
// history are the session's (ArchiveSession).

#include <optional>
#include <string>

#include "edit/ArchiveEdit.h"
#include "toolkit/WindowToolkit.h"
#include "window/ArchiveSession.h"

namespace brasvel {

// The writer's refusal of a name (ArchiveEdit::checkName), in the window's words through
// `translate`: "nazwa za długa: 13 znaków, najwyżej 12". An unsafe file name keeps the file-name
// rule's words for why.
std::string nameRefusal(const NameRefusal& refusal,
                        const std::function<std::string(const char*)>& translate);

// How a save ended.
enum class SaveOutcome {
    Saved,     // written (perhaps under another name the user chose)
    NotSaved,  // cancelled or failed (shown): the file is as it was and the edits stay
    Reload,    // the archive changed on disk and the user chose to read it again: edits dropped
};

class ArchiveEditing {
public:
    ArchiveEditing(WindowToolkit& ui, ArchiveSession& session);

    // Asks for an entry name, starting at `initial`, refused at once with the reason while the
    // writer would refuse it; `renamed` is the entry that would carry it. Needs a pending edit.
    std::optional<std::string> askName(const std::string& caption, const std::string& label,
                                       const std::string& initial,
                                       std::optional<std::size_t> renamed);

    // Writes the edits to `path` off the window's thread. When the archive changed on disk since
    // it was opened, the user chooses: reload it, save under another name (asked through
    // chooseOtherPath; `path` then holds it), save over the change, or cancel. A hard-linked or
    // write-protected file is replaced only once the user confirms; an archive another editor
    // holds is refused. Needs a pending edit.
    SaveOutcome save(std::string& path);

    // Asks for another name to save under (the window's save dialog); nothing when cancelled.
    std::function<std::optional<std::string>()> chooseOtherPath;

    // Before unsaved edits would be lost (closing, opening another archive, quitting): asks
    // "Zapisać zmiany?" and saves to `path` when asked. True when the caller may go on: nothing
    // was unsaved, the user discarded the edits, or they were saved (or dropped for a reload).
    bool settleUnsaved(const std::string& path);

    // How saves are made; tests inject a failing write here.
    SaveOptions saveOptions;

private:
    std::string text(const char* source) const { return ui_.translate(source); }
    // One run of the writer; throws what it throws. False when cancelled.
    bool saveOnce(const std::string& path, const SaveOptions& options);
    // The user's answer to a refusal that a question can lift: true to try again with `options`
    // changed as answered; false with `outcome` set otherwise.
    bool answerChangedOnDisk(std::string& path, SaveOptions& options, SaveOutcome& outcome);
    bool confirmProtected(const ArchiveProtected& refusal, const std::string& path,
                          SaveOptions& options);
    // Asks what to do with the damaged entries, if any; false when the user cancelled.
    bool chooseDamaged(const std::string& path, SaveOptions& options);

    WindowToolkit& ui_;
    ArchiveSession& session_;
};

}  // namespace brasvel
