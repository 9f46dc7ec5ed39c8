// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "extract/EntryCheck.h"

#include "extract/BatchExtractor.h"

namespace brasvel {

EntryCheck::EntryCheck(const Archive& archive)
    : archive_(archive), overlaps_(partialOverlaps(archive)) {}

std::optional<std::string> EntryCheck::rowDamage(std::size_t index) const {
    const std::vector<Entry>& entries = archive_.entries();
    if (overlaps_[index] != kNoOverlap) {
        return std::string(kDamagedEntry) + " (its stored bytes overlap those of " +
               entryLabel(entries[overlaps_[index]], overlaps_[index]) + " in part)";
    }
    try {
        (void)storedRange(entries[index], archive_.format(), archive_.size());
    } catch (const ResourceError& error) {
        return error.describe();
    }
    return std::nullopt;
}

std::optional<std::string> EntryCheck::damage(std::size_t index) {
    if (auto row = rowDamage(index)) {
        return row;
    }
    const Entry& entry = archive_.entries()[index];
    try {
        const StoredRange range = storedRange(entry, archive_.format(), archive_.size());
        const auto key = std::pair(range.offset, range.length);
        auto known = lengths_.find(key);
        if (known == lengths_.end()) {
            known = lengths_.emplace(key, storedContentSize(archive_, entry, buffers_)).first;
        }
        const auto size = static_cast<std::uint64_t>(entry.size);
        if (known->second != size) {
            return std::string(kDamagedEntry) + " (" +
                   (isCompressed(entry, archive_.format()) ? "inflates to " : "holds ") +
                   std::to_string(known->second) + " bytes, not " + std::to_string(size) + ")";
        }
    } catch (const ResourceError& error) {
        if (error.scope() == ErrorScope::Task) {
            throw;
        }
        return error.describe();
    }
    return std::nullopt;
}

Verification verifyArchive(const Archive& archive,
                           const std::function<void(std::size_t index, const std::string& what)>&
                               damaged) {
    Verification result;
    EntryCheck check(archive);
    for (; result.checked < archive.entries().size(); ++result.checked) {
        try {
            if (const std::optional<std::string> what = check.damage(result.checked)) {
                ++result.damaged;
                damaged(result.checked, *what);
            }
        } catch (const ResourceError& error) {
            result.failure = error;
            break;
        }
    }
    return result;
}

bool isDamage(const ResourceError& error) {
    return error.kind() == ErrorKind::DamagedEntry || error.kind() == ErrorKind::ReadBeyondEnd;
}

}  // namespace brasvel
