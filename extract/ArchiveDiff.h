// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Two archives of one kind compared: entries paired by name, case-insensitively (foldCase1250),
// and paired entries by content, inflated. The same content stored differently (compressed in
// one, plain or at another level in the other) is the same entry. When a name is borne by several
// entries of an archive, they pair in directory order.

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "archive/Archive.h"
#include "extract/ArchiveSearch.h"
#include "extract/ComparedEntries.h"
#include "extract/EntryContent.h"

namespace brasvel {

// Whether two entries, of `a` and of `b`, hold the same content. Stored bytes alike are compared
// as they are; anything else is inflated. Throws ResourceError as entryContent does.
bool sameContent(const Archive& a, const Entry& entryA, const Archive& b, const Entry& entryB,
                 ContentBuffers& buffersA, ContentBuffers& buffersB);

struct ArchiveDifference {
    std::vector<std::size_t> onlyInA;                          // entries of A, in A's order
    std::vector<std::size_t> onlyInB;                          // entries of B, in B's order
    std::vector<std::pair<std::size_t, std::size_t>> changed;  // (A's, B's), in A's order
    std::size_t same = 0;
    // Paired entries whose content could not be read: neither the same nor changed.
    std::size_t unreadable = 0;
    // The comparison was stopped before A's last entry: what it found is incomplete.
    bool stopped = false;

    bool differs() const { return !onlyInA.empty() || !onlyInB.empty() || !changed.empty(); }
};

// The same for entries of two sides, each an archive as saved or with edits pending: content
// held outside an archive is compared whole.
bool sameContent(const ComparedEntries& a, std::size_t indexA, const ComparedEntries& b,
                 std::size_t indexB, ContentBuffers& buffersA, ContentBuffers& buffersB);

// The difference between `a` and `b`. A paired entry that cannot be read is reported to
// `trouble` and counted as unreadable.
ArchiveDifference compareArchives(const Archive& a, const Archive& b, const TroubleSink& trouble);
// Called before A's entry `index` (of `total`) is compared; false stops the comparison there.
using CompareStep = std::function<bool(std::size_t index, std::size_t total)>;

// The same between two sides; `a` with edits pending, say.
ArchiveDifference compareEntries(const ComparedEntries& a, const ComparedEntries& b,
                                 const TroubleSink& trouble, const CompareStep& step = {});

}  // namespace brasvel
