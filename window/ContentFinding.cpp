// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/ContentFinding.h"

#include "base/Text.h"
#include "window/ArchiveComparison.h"
#include "window/ArchiveSession.h"
#include "window/ManyArchivesTexts.h"

namespace brasvel {

ContentSearchRun searchContent(JobRunner& jobs, const ArchiveSession& session,
                               const ContentSearch& search, const std::string& caption) {
    // An archive's entries are read a piece at a time from where they are stored; a folder's
    // each whole from its own archive.
    const std::unique_ptr<ComparedEntries> side =
        session.folder() == nullptr ? sessionEntries(session) : nullptr;
    const std::vector<Entry>& entries = session.entries();
    ContentSearchRun run;
    run.total = entries.size();
    BackgroundTask task;
    task.total = entries.size();
    // The work alone writes `run` until the job has ended.
    const auto work = [&] {
        ContentBuffers buffers;
        for (std::size_t index = 0; index < entries.size(); ++index) {
            if (!task.goOn()) {
                run.cancelled = true;
                return;
            }
            const std::string name = shownText(entries[index].fileName);
            task.setCurrent(name);
            FoundEntry found{index, {}, 0};
            const auto note = [&](const ContentSearch::Match& match) {
                if (found.matches++ == 0) {
                    found.first = match;
                }
            };
            try {
                if (side) {
                    search.search(*side, index, buffers, note);
                } else {
                    search.search(entries[index], session.content(index), note);
                }
            } catch (const ResourceError& error) {
                run.troubles.push_back({session.path(), name, error.describe()});
            }
            if (found.matches > 0) {
                run.found.push_back(std::move(found));
            }
            run.searched = index + 1;
            task.done = run.searched;
        }
    };
    jobs.runJob(Job{JobDisplay::Dialog, caption, work, {}}, task);
    return run;
}

ContentFindings::ContentFindings(const ContentSearchRun& run, std::size_t entryCount,
                                 Translate translate)
    : translate_(std::move(translate)), found_(run.found), foundAt_(entryCount, -1) {
    for (std::size_t k = 0; k < found_.size(); ++k) {
        if (found_[k].index < foundAt_.size()) {
            foundAt_[found_[k].index] = static_cast<int>(k);
        }
    }
}

std::string ContentFindings::noteHeader() const {
    return translate_(texts::kFoundColumn);
}

bool ContentFindings::keeps(std::size_t index) const {
    return index < foundAt_.size() && foundAt_[index] >= 0;
}

std::string ContentFindings::note(std::size_t index) const {
    if (!keeps(index)) {
        return {};
    }
    const FoundEntry& found = found_[static_cast<std::size_t>(foundAt_[index])];
    if (found.first.line == 0) {
        return translate_(texts::kFoundBinary);
    }
    const std::string line = std::to_string(found.first.line);
    if (found.matches > 1) {
        return texts::fillIn(translate_(texts::kFoundLineMore),
                             {line, found.first.text, std::to_string(found.matches - 1)});
    }
    return texts::fillIn(translate_(texts::kFoundLine), {line, found.first.text});
}

}  // namespace brasvel
