// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "extract/ArchiveDiff.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "base/Text.h"

namespace brasvel {
namespace {

// Fills `buffer` with the entry's stored bytes.
Bytes readStored(const Archive& archive, const Entry& entry, std::vector<std::byte>& buffer) {
    const StoredRange range = storedRange(entry, archive.format(), archive.size());
    buffer.resize(range.length);
    archive.read(range.offset, buffer);
    return buffer;
}

bool equalBytes(Bytes a, Bytes b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

// Each folded name of `entries` and the entries bearing it, in directory order.
std::unordered_map<std::string, std::deque<std::size_t>> entriesByName(
    const std::vector<Entry>& entries) {
    std::unordered_map<std::string, std::deque<std::size_t>> byName;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        byName[foldedText(storedName(entries[index]))].push_back(index);
    }
    return byName;
}

// Which of the two sides holds the entry that could not be read.
const std::string& failingSide(const ComparedEntries& a, std::size_t indexA,
                               const ComparedEntries& b) {
    try {
        a.content(indexA);
        return b.path();
    } catch (const ResourceError&) {
        return a.path();
    }
}

// Entry `index`'s content: a view of `buffers` for one stored in an archive, else of `held`.
Bytes contentOf(const ComparedEntries& side, std::size_t index, ContentBuffers& buffers,
                std::vector<std::byte>& held) {
    Entry row;
    if (const Archive* archive = side.storedIn(index, row)) {
        return entryContent(*archive, row, buffers);
    }
    held = side.content(index);
    return held;
}

}  // namespace

bool sameContent(const Archive& a, const Entry& entryA, const Archive& b, const Entry& entryB,
                 ContentBuffers& buffersA, ContentBuffers& buffersB) {
    if (entryA.size != entryB.size) {
        return false;  // a content's length is its row's size: no need to read it
    }
    const bool compressedA = isCompressed(entryA, a.format());
    const bool compressedB = isCompressed(entryB, b.format());
    if (compressedA == compressedB && (!compressedA || entryA.packedSize == entryB.packedSize) &&
        equalBytes(readStored(a, entryA, buffersA.stored),
                   readStored(b, entryB, buffersB.stored))) {
        return true;  // the same bytes are the same content, whatever they inflate to
    }
    if (!compressedA && !compressedB) {
        return false;
    }
    const Bytes contentA = entryContent(a, entryA, buffersA);
    const Bytes contentB = entryContent(b, entryB, buffersB);
    return equalBytes(contentA, contentB);
}

bool sameContent(const ComparedEntries& a, std::size_t indexA, const ComparedEntries& b,
                 std::size_t indexB, ContentBuffers& buffersA, ContentBuffers& buffersB) {
    Entry rowA;
    Entry rowB;
    const Archive* archiveA = a.storedIn(indexA, rowA);
    const Archive* archiveB = b.storedIn(indexB, rowB);
    if (archiveA != nullptr && archiveB != nullptr) {
        return sameContent(*archiveA, rowA, *archiveB, rowB, buffersA, buffersB);
    }
    if (a.entries()[indexA].size != b.entries()[indexB].size) {
        return false;
    }
    std::vector<std::byte> heldA;
    std::vector<std::byte> heldB;
    return equalBytes(contentOf(a, indexA, buffersA, heldA), contentOf(b, indexB, buffersB, heldB));
}

ArchiveDifference compareArchives(const Archive& a, const Archive& b, const TroubleSink& trouble) {
    return compareEntries(SavedEntries(a), SavedEntries(b), trouble);
}

ArchiveDifference compareEntries(const ComparedEntries& a, const ComparedEntries& b,
                                 const TroubleSink& trouble, const CompareStep& step) {
    ArchiveDifference difference;
    const std::vector<Entry>& entriesA = a.entries();
    const std::vector<Entry>& entriesB = b.entries();
    auto unpaired = entriesByName(entriesB);
    ContentBuffers buffersA;
    ContentBuffers buffersB;
    std::vector<bool> pairedInB(entriesB.size(), false);
    for (std::size_t index = 0; index < entriesA.size(); ++index) {
        if (step && !step(index, entriesA.size())) {
            difference.stopped = true;
            return difference;
        }
        const Entry& entryA = entriesA[index];
        const auto found = unpaired.find(foldedText(storedName(entryA)));
        if (found == unpaired.end() || found->second.empty()) {
            difference.onlyInA.push_back(index);
            continue;
        }
        const std::size_t other = found->second.front();
        found->second.pop_front();
        pairedInB[other] = true;
        try {
            if (sameContent(a, index, b, other, buffersA, buffersB)) {
                ++difference.same;
            } else {
                difference.changed.emplace_back(index, other);
            }
        } catch (const ResourceError& error) {
            ++difference.unreadable;
            trouble({failingSide(a, index, b), shownText(entryA.fileName), error.describe()});
        }
    }
    for (std::size_t index = 0; index < entriesB.size(); ++index) {
        if (!pairedInB[index]) {
            difference.onlyInB.push_back(index);
        }
    }
    return difference;
}

std::vector<std::byte> SavedEntries::content(std::size_t index) const {
    return entryContent(archive_, archive_.entries()[index]);
}

}  // namespace brasvel
