// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The archive the window has open and what it knows of it: the file, its kind and path, why
// entries are damaged, and the pending edit with its undo history. Every read of an entry (the
// list, the preview, sound, video, extraction one by one, in a batch or dragged out) goes through
// it, so the entries are the pending edit's while there is one and the saved archive's otherwise,
// whoever asks. It asks the user nothing and touches no widget: MainForm and ArchiveEditing do.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "edit/ArchiveEdit.h"
#include "extract/ArchiveSearch.h"
#include "extract/AtomicFile.h"
#include "extract/BatchExtractor.h"
#include "window/EditHistory.h"

namespace brasvel {

class FolderSession;

class ArchiveSession {
public:
    ArchiveSession();
    ~ArchiveSession();
    ArchiveSession(const ArchiveSession&) = delete;
    ArchiveSession& operator=(const ArchiveSession&) = delete;

    // Asked when a file does not look like the kind chosen but like `likely`: true opens it as
    // `likely`, false opens nothing.
    using OtherKindQuestion = std::function<bool(const ArchiveFormat& likely)>;

    // The kind a path opens as when the user chose none: its name's, else its bytes', damaged
    // ones too. Null when it looks like no archive.
    static const ArchiveFormat* kindOf(const std::string& path);

    // Closes what was open and opens `path` as `format`. A file that looks like another kind is
    // opened as that one when `otherKind` agrees (false: nothing opened); one that looks like none
    // is read as `format`, so a damaged archive shows what it can. Throws ResourceError when it
    // cannot be opened; either way `path` is the one named afterwards.
    bool open(const std::string& path, const ArchiveFormat& format, const EntryProgress& progress,
              const OtherKindQuestion& otherKind);
    // Closes what was open and takes `archive`, opened already, as the open archive.
    void adopt(Archive archive);
    // Closes what was open and opens the game folder `folder`: every archive directly inside it,
    // read as one list (FolderSession), whose entries every read below goes to. `path()` names
    // the folder; archive() is null, so nothing is edited. An archive that cannot be read is
    // told to `trouble` and left out. Throws ResourceError when the folder cannot be listed.
    void openFolder(const std::string& folder, const TroubleSink& trouble);
    // The folder open; null while an archive, or nothing, is.
    const FolderSession* folder() const { return folder_.get(); }
    FolderSession* folder() { return folder_.get(); }
    // An archive or a folder is open: there are entries to read.
    bool isOpen() const { return archive_ || folder_; }
    // Drops the archive or folder, its damage and its edits; the path named stays.
    void close();
    // No archive open, and `path` the one named: chosen but not opened (empty: none).
    void nameUnopened(std::string path);

    // The open archive, as saved; null when none is open.
    const Archive* archive() const { return archive_ ? &*archive_ : nullptr; }
    const std::string& path() const { return path_; }
    // An archive is open and its directory was read whole, so it can be written back.
    bool editable() const { return archive_ && !archive_->directoryError(); }

    // Reading entries, unsaved edits included. The entries by directory index: the pending
    // edit's while one was begun, else the archive's; empty when none is open.
    const std::vector<Entry>& entries() const;
    // The entry named `name` exactly; nothing when there is none.
    std::optional<std::size_t> find(const std::string& name) const;
    // The content entry `index` has now. Throws ResourceError when it cannot be read.
    std::vector<std::byte> content(std::size_t index) const;
    // What extraction writes for entry `index` into `folder`, as the `position`-th of a run that
    // wrote the folded names in `written` (never written over; the name is added once written).
    // Without changes it is the saved archive's extraction, with them the content as it now is.
    ExtractedEntry extract(std::size_t position, std::size_t index, const TargetFolder& folder,
                           std::set<std::string>& written) const;
    // The same for each of `indices`, reported in order until `report` returns false; the saved
    // archive's on several threads. Throws ResourceError "Disk full" before writing anything
    // when the saved entries cannot fit.
    void extractEach(std::span<const std::size_t> indices, const TargetFolder& folder,
                     const EntryReport& report) const;

    // Why entry `index` is damaged (its row, or its content when read); nothing when it is not
    // known to be.
    std::optional<std::string> damage(std::size_t index) const;
    std::size_t damagedCount() const;
    // The kind of the archive that holds entry `index`.
    const ArchiveFormat& formatOf(std::size_t index) const;
    // The open archive, or every archive of the open folder, is never written over in `target`.
    void keepIntact(TargetFolder& target) const;
    // Damage found reading entry `index`'s content. False when it is none of the archive's: the
    // entry's content is a file given for it, which failed.
    bool noteDamage(std::size_t index, const std::string& what);
    // Whether entry `index` differs from the saved archive's; any entry does, once edited.
    bool isChanged(std::size_t index) const { return edit_ && edit_->isChanged(index); }
    bool hasChanges() const { return edit_ && edit_->hasChanges(); }

    // Editing. The pending edit, begun on first use with the damage known so far. Throws
    // ResourceError when the archive cannot be written back (its directory was not read whole),
    // or when no archive is open (none, or a folder).
    ArchiveEdit& edit();
    // The pending edit; null when none was begun.
    const ArchiveEdit* pending() const { return edit_ ? &*edit_ : nullptr; }
    // Drops every unsaved edit and the steps to undo and redo (a save, a reload, a discard).
    void dropEdits();

    // Undo and redo. The edit state as it is now, for an edit about to be made from it.
    EditState state() const { return edit_; }
    // An edit was made from `before` (an earlier state()): `step` takes it back.
    void record(EditState before, EditStep step) {
        history_.record(std::move(before), std::move(step));
    }
    // Drops every unsaved edit as one step that undo takes back.
    void revert(EditStep step);
    const EditStep* nextUndo() const { return history_.nextUndo(); }
    const EditStep* nextRedo() const { return history_.nextRedo(); }
    // The step taken back or done again; nothing when there was none.
    std::optional<EditStep> undo();
    std::optional<EditStep> redo();

private:
    // The damage known of the archive's entries goes to the pending edit, which may have been
    // kept from before it was found (an undone step).
    void carryDamage();
    ExtractedEntry extractEdited(std::size_t position, std::size_t index,
                                 const TargetFolder& folder, std::set<std::string>& written) const;

    std::optional<Archive> archive_;
    std::string path_;
    // By directory index of the archive as opened. A pending edit keeps its own
    // (ArchiveEdit::damage); what is found in it is noted here too, for the edit states that undo
    // and redo bring back.
    std::vector<std::optional<std::string>> damage_;
    std::optional<ArchiveEdit> edit_;
    EditHistory history_;
    std::unique_ptr<FolderSession> folder_;
};

}  // namespace brasvel
