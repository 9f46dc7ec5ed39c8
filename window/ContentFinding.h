// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The search box's search inside entries ("w treści"), as `grep` searches (the core's
// ContentSearch: TXT entries as Windows-1250 lines in any case, others as bytes), over the open
// archive with its pending edits. It runs as a job, an entry at a time, Cancel honoured between
// entries; what it found narrows the list, each entry's first line found in the note column.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "extract/ArchiveSearch.h"
#include "toolkit/Jobs.h"
#include "window/ListOverlay.h"

namespace brasvel {

class ArchiveSession;

// An entry that holds the text: its first match and how many lines hold it.
struct FoundEntry {
    std::size_t index = 0;
    ContentSearch::Match first;
    std::size_t matches = 0;
};

// What one search found, and how far it got.
struct ContentSearchRun {
    std::vector<FoundEntry> found;  // in directory order
    std::size_t searched = 0;       // entries searched before it ended
    std::size_t total = 0;
    bool cancelled = false;
    std::vector<SearchTrouble> troubles;  // entries that could not be read
};

// Searches every entry of the session for `search` as a job shown with `caption`.
ContentSearchRun searchContent(JobRunner& jobs, const ArchiveSession& session,
                               const ContentSearch& search, const std::string& caption);

class ContentFindings : public ListOverlay {
public:
    using Translate = std::function<std::string(const char*)>;
    ContentFindings(const ContentSearchRun& run, std::size_t entryCount, Translate translate);

    std::size_t foundCount() const { return found_.size(); }
    std::string noteHeader() const override;
    bool keeps(std::size_t index) const override;
    std::string note(std::size_t index) const override;
    const std::vector<Entry>& extraEntries() const override { return noExtra_; }
    std::string extraNote(std::size_t /*extra*/) const override { return {}; }

private:
    Translate translate_;
    std::vector<FoundEntry> found_;
    std::vector<int> foundAt_;  // by directory index: its place in found_, -1 for none
    std::vector<Entry> noExtra_;
};

}  // namespace brasvel
