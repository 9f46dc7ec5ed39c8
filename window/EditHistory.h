// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The undo and redo of the window's edits: every edit since the archive was opened or saved is
// a step, kept as the whole edit state it started from. A state holds the directory's rows and
// where each entry's content comes from (bytes shared between states, files by path, the archive's
// stored bytes by place), never a copy of the content, so a step costs about its rows. The oldest
// steps go when too many rows are kept.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "edit/ArchiveEdit.h"

namespace brasvel {

// The edit state between steps; nothing: no edit, the archive as opened.
using EditState = std::optional<ArchiveEdit>;

// One step the user can take back and do again.
struct EditStep {
    std::string label;                        // the menu's words: "usuń BETA.TXT"
    std::optional<std::string> selectUndone;  // the entry selected once it is undone
    std::optional<std::string> selectRedone;  // and once it is done again
};

// How much the history keeps: at most `steps` steps, of at most `rows` rows in all, but always
// the latest step. A state costs about 800 bytes a row (measured over 8000 entries), so the rows
// come to some 120 MB: ten steps of an archive as large as the list shows, a hundred of one of a
// thousand entries.
struct HistoryBounds {
    std::size_t steps = 100;
    std::size_t rows = 150000;
};

class EditHistory {
public:
    explicit EditHistory(HistoryBounds bounds = {}) : bounds_(bounds) {}

    // An edit was made from `before`: it is the step to undo next, and the steps undone before
    // it can no longer be done again.
    void record(EditState before, EditStep step);
    // The step undo would take back, the one redo would do again; null when there is none.
    const EditStep* nextUndo() const { return done_.empty() ? nullptr : &done_.back().step; }
    const EditStep* nextRedo() const { return undone_.empty() ? nullptr : &undone_.back().step; }
    // Takes back the latest step: `state`, the state now, becomes the one before it, and redo
    // brings it back. The step taken back; nothing, `state` as it was, when there was none.
    std::optional<EditStep> undo(EditState& state) { return travel(done_, undone_, state); }
    // Does the latest step undone again: `state` becomes the one after it.
    std::optional<EditStep> redo(EditState& state) { return travel(undone_, done_, state); }
    void clear();

private:
    struct Kept {
        EditState state;  // before the step on the undo side, after it on the redo side
        EditStep step;
    };
    static std::size_t rowsOf(const EditState& state);
    void dropOldest();
    // Moves the latest step of `from` to `to`, exchanging `state` for the one kept with it.
    std::optional<EditStep> travel(std::deque<Kept>& from, std::deque<Kept>& to, EditState& state);

    HistoryBounds bounds_;
    std::deque<Kept> done_;    // oldest first
    std::deque<Kept> undone_;  // the next to redo last
    std::size_t keptRows_ = 0;
};

}  // namespace brasvel
