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

// Which of the two archives holds the entry that could not be read.
const std::string& failingArchive(const Archive& a, const Entry& entryA, const Archive& b) {
    try {
        entryContent(a, entryA);
        return b.path();
    } catch (const ResourceError&) {
        return a.path();
    }
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

ArchiveDifference compareArchives(const Archive& a, const Archive& b, const TroubleSink& trouble) {
    ArchiveDifference difference;
    auto unpaired = entriesByName(b.entries());
    ContentBuffers buffersA;
    ContentBuffers buffersB;
    std::vector<bool> pairedInB(b.entries().size(), false);
    for (std::size_t index = 0; index < a.entries().size(); ++index) {
        const Entry& entryA = a.entries()[index];
        const auto found = unpaired.find(foldedText(storedName(entryA)));
        if (found == unpaired.end() || found->second.empty()) {
            difference.onlyInA.push_back(index);
            continue;
        }
        const std::size_t other = found->second.front();
        found->second.pop_front();
        pairedInB[other] = true;
        try {
            if (sameContent(a, entryA, b, b.entries()[other], buffersA, buffersB)) {
                ++difference.same;
            } else {
                difference.changed.emplace_back(index, other);
            }
        } catch (const ResourceError& error) {
            ++difference.unreadable;
            trouble({failingArchive(a, entryA, b), shownText(entryA.fileName), error.describe()});
        }
    }
    for (std::size_t index = 0; index < b.entries().size(); ++index) {
        if (!pairedInB[index]) {
            difference.onlyInB.push_back(index);
        }
    }
    return difference;
}

}  // namespace brasvel
