// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A game folder open in the window: every archive directly inside it (found by the core's rule,
// forEachArchive), each one read through an ArchiveSession of its own, and all their entries in
// one index, stacked as the game reads them (archive/ArchiveStack.h): each name's winning copy
// followed by the copies it shadows. An entry of the folder is read by the session of the
// archive that holds it, so the folder adds no read rule of its own. Nothing in it is edited.

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "archive/ArchiveStack.h"
#include "extract/ArchiveSearch.h"
#include "extract/BatchExtractor.h"

namespace brasvel {

class ArchiveSession;
class TargetFolder;

class FolderSession {
public:
    // Opens every archive directly inside `folder`, winning in the default order (newestFirst).
    // An archive that cannot be read is told to `trouble` and left out; one whose directory ends
    // early is told and kept with the entries read. Throws ResourceError when the folder cannot
    // be listed.
    FolderSession(const std::string& folder, const TroubleSink& trouble);
    ~FolderSession();
    FolderSession(const FolderSession&) = delete;
    FolderSession& operator=(const FolderSession&) = delete;

    // The folder's path, made absolute, without a separator at its end.
    const std::string& path() const { return path_; }
    std::size_t archiveCount() const { return members_.size(); }
    // The archives' file names, in the order they win.
    std::vector<std::string> order() const;
    // The archives win in the order `arranged` names them (arrangedOrder: new ones first, names
    // of none passed over). The stack's indices change.
    void arrange(std::span<const std::string> arranged);

    // The stack's entries, one per copy, and what each copy is.
    const std::vector<Entry>& entries() const { return entries_; }
    const StackedEntry& stacked(std::size_t index) const { return stack_.at(index); }
    // How many copies the winning ones shadow.
    std::size_t shadowedCount() const;
    // The archive that holds entry `index`: its session, file name and path; the entry's index there.
    const ArchiveSession& holder(std::size_t index) const;
    ArchiveSession& holder(std::size_t index);
    const std::string& archiveName(std::size_t index) const;
    std::string archivePath(std::size_t index) const;
    std::size_t entryInArchive(std::size_t index) const { return stacked(index).entry; }
    // The stack's index of entry `entry` of the archive named `archive`; nothing when none.
    std::optional<std::size_t> indexOf(const std::string& archive, std::size_t entry) const;

    // Reading, through the holder's session.
    std::vector<std::byte> content(std::size_t index) const;
    // As ArchiveSession::extract; a copy whose file this run wrote already (a shadowed copy after
    // its winner) fails rather than replacing it.
    ExtractedEntry extract(std::size_t position, std::size_t index, const TargetFolder& folder,
                           std::set<std::string>& written) const;
    void extractEach(std::span<const std::size_t> indices, const TargetFolder& folder,
                     const EntryReport& report) const;
    // Every archive of the folder is kept intact in `target`.
    void keepIntact(TargetFolder& target) const;

private:
    struct Member;
    void restack();
    const Member& holderOf(std::size_t index) const;

    std::string path_;
    std::vector<std::unique_ptr<Member>> members_;  // as found, by file name
    std::vector<std::size_t> order_;               // members_' positions, the winner first
    std::vector<StackedEntry> stack_;
    std::vector<Entry> entries_;
};

}  // namespace brasvel
