// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Merging archives of one kind into another, and the difference of two archives as a patch
// archive. Both copy entries' stored bytes as they are (no recompression) through one ArchiveEdit,
// saved all or nothing.
//
// A merge takes the FROM archives in order. An entry whose name (case-insensitively) INTO does not
// bear yet is added; one whose content is the same as INTO's copy changes nothing; one whose
// content differs is a conflict, which only a winner settles: INTO keeps its copy, or FROM's
// replaces it. An entry an earlier FROM brought in counts as INTO's for the FROMs after it.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "edit/ArchiveEdit.h"
#include "extract/ArchiveDiff.h"
#include "extract/ArchiveSearch.h"

namespace brasvel {

// An archive with edits pending, as comparisons and merges read it.
class EditedEntries : public ComparedEntries {
public:
    // `path`: the archive's, as troubles name it.
    EditedEntries(const ArchiveEdit& edit, std::string path)
        : edit_(edit), path_(std::move(path)) {}
    const ArchiveFormat& format() const override { return edit_.format(); }
    const std::string& path() const override { return path_; }
    const std::vector<Entry>& entries() const override { return edit_.entries(); }
    const Archive* storedIn(std::size_t index, Entry& row) const override {
        return edit_.storedIn(index, row);
    }
    std::vector<std::byte> content(std::size_t index) const override {
        return edit_.content(index);
    }

private:
    const ArchiveEdit& edit_;
    std::string path_;
};

enum class MergeWinner { None, Into, From };

struct MergeStep {
    enum class Kind { Add, Replace, KeepInto, Conflict };
    Kind kind = Kind::Add;
    std::size_t from = 0;   // which FROM archive
    std::size_t entry = 0;  // its entry
    std::string name;       // the entry's file name, UTF-8
};

struct MergePlan {
    std::vector<MergeStep> steps;  // in the order of the FROMs and their entries
    std::size_t same = 0;          // entries INTO already holds with that content
    std::size_t unreadable = 0;    // entries reported to the trouble sink: nothing may be merged

    std::size_t count(MergeStep::Kind kind) const;
    // Whether the merge must not be written: a conflict without a winner, or an unreadable entry.
    bool refused() const { return unreadable > 0 || count(MergeStep::Kind::Conflict) > 0; }
    bool changesInto() const {
        return count(MergeStep::Kind::Add) + count(MergeStep::Kind::Replace) > 0;
    }
};

// What merging `froms` into `into` does. Every entry that would be added or would replace one is
// read whole (inflated) first, so that a damaged one is refused before anything is written; an
// entry that cannot be read is reported to `trouble` and counted. Throws ResourceError when a
// FROM is another kind of archive than INTO.
MergePlan planMerge(const Archive& into, const std::vector<std::shared_ptr<const Archive>>& froms,
                    MergeWinner winner, const TroubleSink& trouble);
// The same into an archive as saved or with edits pending.
MergePlan planMerge(const ComparedEntries& into,
                    const std::vector<std::shared_ptr<const Archive>>& froms, MergeWinner winner,
                    const TroubleSink& trouble);

// Settles the plan's conflicts one by one as `decide` says: Into keeps INTO's copy, From takes
// FROM's (read whole first, as planMerge reads what it adds: an entry that cannot be read is
// reported and counted), None stops. False when `decide` said None; the plan is then unsettled.
using ConflictDecision = std::function<MergeWinner(const MergeStep& conflict)>;
bool settleConflicts(MergePlan& plan, const std::vector<std::shared_ptr<const Archive>>& froms,
                     const ConflictDecision& decide, const TroubleSink& trouble);

// Carries out `plan` in `edit`, an edit of INTO (its pending one, say).
void applyMerge(ArchiveEdit& edit, const std::vector<std::shared_ptr<const Archive>>& froms,
                const MergePlan& plan);

// The edit of `into` that carries out `plan`. Throws ResourceError "Name refused" when INTO's
// writer refuses a name a FROM bears.
ArchiveEdit mergeEdit(const Archive& into, const std::vector<std::shared_ptr<const Archive>>& froms,
                      const MergePlan& plan);

// A new archive of B's entries that `difference` (of A and B) finds new or changed: merged into
// A, it gives B's content except for A's entries that B lacks. Every entry is read whole first.
// Throws ResourceError naming an entry that cannot be read.
ArchiveEdit patchEdit(const std::shared_ptr<const Archive>& b, const ArchiveDifference& difference);

}  // namespace brasvel
