// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The entries of an archive as a comparison, a merge or a search inside entries reads them: an
// archive as saved (SavedEntries), or one with edits pending (edit/ArchiveMerge.h's
// EditedEntries), so that the window compares, merges into and searches what it shows.

#include <cstddef>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "archive/ArchiveFormat.h"
#include "archive/Entry.h"

namespace brasvel {

class ComparedEntries {
public:
    virtual ~ComparedEntries() = default;
    virtual const ArchiveFormat& format() const = 0;
    // The archive's path, as troubles name it.
    virtual const std::string& path() const = 0;
    virtual const std::vector<Entry>& entries() const = 0;
    // The archive that holds entry `index`'s stored bytes, `row` set to the entry's row there;
    // null for content held elsewhere (bytes or a file not yet saved), which content() gives.
    virtual const Archive* storedIn(std::size_t index, Entry& row) const = 0;
    // Entry `index`'s content. Throws ResourceError when it cannot be read.
    virtual std::vector<std::byte> content(std::size_t index) const = 0;
};

// An archive as saved.
class SavedEntries : public ComparedEntries {
public:
    explicit SavedEntries(const Archive& archive) : archive_(archive) {}
    const ArchiveFormat& format() const override { return archive_.format(); }
    const std::string& path() const override { return archive_.path(); }
    const std::vector<Entry>& entries() const override { return archive_.entries(); }
    const Archive* storedIn(std::size_t index, Entry& row) const override {
        row = archive_.entries()[index];
        return &archive_;
    }
    std::vector<std::byte> content(std::size_t index) const override;

private:
    const Archive& archive_;
};

}  // namespace brasvel
