// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "edit/ArchiveMerge.h"

#include <algorithm>
#include <unordered_map>

#include "base/Text.h"

namespace brasvel {
namespace {

// Where the copy of a name that INTO would hold at this point of the merge lies.
struct Holder {
    const ComparedEntries* side;
    std::size_t entry;
};

void requireSameKind(const ComparedEntries& into, const Archive& from) {
    if (&into.format() != &from.format()) {
        throw ResourceError(ErrorKind::OtherKindOfArchive,
                            from.path() + " is a " + std::string(from.format().name) +
                                " archive, " + into.path() + " a " +
                                std::string(into.format().name) + " one");
    }
}

}  // namespace

std::size_t MergePlan::count(MergeStep::Kind kind) const {
    return static_cast<std::size_t>(std::count_if(
        steps.begin(), steps.end(), [kind](const MergeStep& step) { return step.kind == kind; }));
}

MergePlan planMerge(const Archive& into, const std::vector<std::shared_ptr<const Archive>>& froms,
                    MergeWinner winner, const TroubleSink& trouble) {
    return planMerge(SavedEntries(into), froms, winner, trouble);
}

MergePlan planMerge(const ComparedEntries& into,
                    const std::vector<std::shared_ptr<const Archive>>& froms, MergeWinner winner,
                    const TroubleSink& trouble) {
    for (const auto& from : froms) {
        requireSameKind(into, *from);
    }
    std::vector<SavedEntries> fromSides;
    fromSides.reserve(froms.size());
    for (const auto& from : froms) {
        fromSides.emplace_back(*from);
    }
    std::unordered_map<std::string, Holder> holders;
    for (std::size_t index = 0; index < into.entries().size(); ++index) {
        holders.try_emplace(foldedText(storedName(into.entries()[index])), Holder{&into, index});
    }
    MergePlan plan;
    ContentBuffers held;
    ContentBuffers given;
    for (std::size_t f = 0; f < froms.size(); ++f) {
        const Archive& from = *froms[f];
        for (std::size_t index = 0; index < from.entries().size(); ++index) {
            const Entry& entry = from.entries()[index];
            MergeStep step{MergeStep::Kind::Add, f, index, shownText(entry.fileName)};
            const std::string key = foldedText(storedName(entry));
            const auto holder = holders.find(key);
            try {
                if (holder != holders.end()) {
                    const Holder& at = holder->second;
                    if (sameContent(*at.side, at.entry, fromSides[f], index, held, given)) {
                        ++plan.same;
                        continue;
                    }
                    step.kind = winner == MergeWinner::From   ? MergeStep::Kind::Replace
                                : winner == MergeWinner::Into ? MergeStep::Kind::KeepInto
                                                              : MergeStep::Kind::Conflict;
                }
                if (step.kind == MergeStep::Kind::Add || step.kind == MergeStep::Kind::Replace) {
                    entryContent(from, entry, given);  // damage is refused now, not saved
                }
            } catch (const ResourceError& error) {
                ++plan.unreadable;
                trouble({from.path(), step.name, error.describe()});
                continue;
            }
            if (step.kind == MergeStep::Kind::Add || step.kind == MergeStep::Kind::Replace) {
                holders.insert_or_assign(key, Holder{&fromSides[f], index});
            }
            plan.steps.push_back(std::move(step));
        }
    }
    return plan;
}

bool settleConflicts(MergePlan& plan, const std::vector<std::shared_ptr<const Archive>>& froms,
                     const ConflictDecision& decide, const TroubleSink& trouble) {
    ContentBuffers given;
    for (MergeStep& step : plan.steps) {
        if (step.kind != MergeStep::Kind::Conflict) {
            continue;
        }
        const MergeWinner winner = decide(step);
        if (winner == MergeWinner::None) {
            return false;
        }
        if (winner == MergeWinner::Into) {
            step.kind = MergeStep::Kind::KeepInto;
            continue;
        }
        const Archive& from = *froms.at(step.from);
        try {
            entryContent(from, from.entries()[step.entry], given);
            step.kind = MergeStep::Kind::Replace;
        } catch (const ResourceError& error) {
            ++plan.unreadable;
            trouble({from.path(), step.name, error.describe()});
        }
    }
    return true;
}

void applyMerge(ArchiveEdit& edit, const std::vector<std::shared_ptr<const Archive>>& froms,
                const MergePlan& plan) {
    for (const MergeStep& step : plan.steps) {
        if (step.kind == MergeStep::Kind::Add || step.kind == MergeStep::Kind::Replace) {
            edit.putStored(froms.at(step.from), step.entry);
        }
    }
}

ArchiveEdit mergeEdit(const Archive& into, const std::vector<std::shared_ptr<const Archive>>& froms,
                      const MergePlan& plan) {
    ArchiveEdit edit(into);
    applyMerge(edit, froms, plan);
    return edit;
}

ArchiveEdit patchEdit(const std::shared_ptr<const Archive>& b,
                      const ArchiveDifference& difference) {
    std::vector<std::size_t> carried = difference.onlyInB;
    for (const auto& [inA, inB] : difference.changed) {
        carried.push_back(inB);
    }
    std::sort(carried.begin(), carried.end());
    ArchiveEdit edit(b->format());
    ContentBuffers buffers;
    for (const std::size_t index : carried) {
        const Entry& entry = b->entries()[index];
        try {
            entryContent(*b, entry, buffers);
        } catch (ResourceError& error) {
            throw error.withEntry(shownText(entry.fileName));
        }
        edit.putStored(b, index);
    }
    return edit;
}

}  // namespace brasvel
