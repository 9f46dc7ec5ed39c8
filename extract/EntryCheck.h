// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What is wrong with an archive's entries, as `verify` finds it, the window marks it and saving
// refuses or handles it. The directory alone shows an entry whose stored bytes lie outside the
// archive or overlap another entry's in part; reading the content shows a stream that is not
// valid zlib or a content that is not its stated size.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "archive/Archive.h"
#include "extract/EntryContent.h"

namespace brasvel {

class EntryCheck {
public:
    // Finds the entries' overlaps at once; the archive must outlive the check.
    explicit EntryCheck(const Archive& archive);

    // The damage entry `index`'s row shows, in words ("Read beyond end of file (...)"); nullopt
    // when its stored bytes are wholly its own.
    std::optional<std::string> rowDamage(std::size_t index) const;

    // The row's damage, else what reading the content shows (any failure but a changed file);
    // nullopt for a sound entry. Entries that share stored bytes share the reading. Throws a
    // ResourceError of the task's scope, "The archive changed while it was read" when the file
    // moved since it was opened.
    std::optional<std::string> damage(std::size_t index);

private:
    const Archive& archive_;
    std::vector<std::size_t> overlaps_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::uint64_t> lengths_;
    ContentBuffers buffers_;
};

// What verifying an archive found: every entry checked in directory order until the end, or until
// reading failed for the archive as a whole.
struct Verification {
    std::size_t checked = 0;  // entries checked; the rest were not
    std::size_t damaged = 0;
    std::optional<ResourceError> failure;  // why checking stopped early (the file changed)
};

// Checks every entry (EntryCheck::damage), handing each damaged one to `damaged` as it is found:
// an archive may hold millions of them.
Verification verifyArchive(const Archive& archive,
                           const std::function<void(std::size_t index, const std::string& what)>&
                               damaged);

// Whether an error met while reading an entry's content shows the entry damaged: its bytes are
// not a valid content, or lie outside the archive (not a file that changed or failed).
bool isDamage(const ResourceError& error);

}  // namespace brasvel
