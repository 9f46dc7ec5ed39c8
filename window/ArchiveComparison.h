// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The open archive compared with another of its kind, as `diff A B` compares them: the open
// archive, pending edits included, is the old one (A), the other the new one (B). Each entry of
// the open archive is "usunięte" (B lacks it), "zmienione" or "bez zmian"; B's entries that the
// open archive lacks are listed after them as "nowe". The list can be narrowed to one status. A
// changed picture, sprite or text is shown old | new side by side. No widget here: MainForm lays
// the comparison over the list and shows what it gives.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "extract/ArchiveDiff.h"
#include "toolkit/Jobs.h"
#include "toolkit/PreviewWidgets.h"
#include "window/ListOverlay.h"

namespace brasvel {

class ArchiveSession;

enum class ComparedStatus { New, Removed, Changed, Same, Unreadable };

// The status filter's items, in order: every status first.
inline constexpr ComparedStatus kFilteredStatuses[] = {
    ComparedStatus::New, ComparedStatus::Removed, ComparedStatus::Changed, ComparedStatus::Same};

// The archive at `path` as another archive to compare with or merge from: of the open archive's
// kind (`format`), its directory read whole. Throws ResourceError worded for the user through
// `translate` when it is not.
std::shared_ptr<const Archive> openOtherArchive(
    const std::string& path, const ArchiveFormat& format,
    const std::function<std::string(const char*)>& translate);

// The entries of the session as it is now: its pending edit's, else the saved archive's.
std::unique_ptr<ComparedEntries> sessionEntries(const ArchiveSession& session);

class ArchiveComparison : public ListOverlay {
public:
    using Translate = std::function<std::string(const char*)>;

    // Compares the session as it is now with `other` as a job shown with `caption` (the count and
    // the entry at hand; Cancel honoured between entries). Null when cancelled. Entries that
    // cannot be read go to `troubles` and show as unreadable.
    static std::unique_ptr<ArchiveComparison> run(JobRunner& jobs, const std::string& caption,
                                                  const ArchiveSession& session,
                                                  std::shared_ptr<const Archive> other,
                                                  Translate translate,
                                                  std::vector<SearchTrouble>& troubles);

    const Archive& other() const { return *other_; }
    const std::shared_ptr<const Archive>& otherShared() const { return other_; }
    const ArchiveDifference& difference() const { return difference_; }
    // The status of the open archive's entry `index`.
    ComparedStatus statusOf(std::size_t index) const { return statuses_.at(index); }
    // The entry of the other archive paired with the open archive's `index`, when one is.
    std::optional<std::size_t> pairOf(std::size_t index) const;
    std::size_t count(ComparedStatus status) const;

    // Only entries of `status` listed; none: every entry.
    void setFilter(std::optional<ComparedStatus> status) { filter_ = status; }
    std::optional<ComparedStatus> filter() const { return filter_; }

    // The old and new sides of the open archive's entry `index` when it changed and is a
    // picture, a sprite (its first frame) or a text; nothing otherwise, or when either side
    // cannot be shown. `old` is its content in the open archive now.
    std::optional<std::pair<ComparedView, ComparedView>> sideBySide(
        std::size_t index, const Entry& entry, const std::vector<std::byte>& old,
        const std::string& oldTitle) const;

    // The sides of the other archive's new entry `extra` (of extraEntries()): the old one says
    // it is `absent`; nothing when the new one is no picture, sprite or text, or cannot be shown.
    std::optional<std::pair<ComparedView, ComparedView>> newEntrySides(
        std::size_t extra, const std::string& oldTitle, const std::string& absent) const;

    std::string noteHeader() const override;
    bool keeps(std::size_t index) const override;
    std::string note(std::size_t index) const override;
    // The new entries, while the filter lets them be listed.
    const std::vector<Entry>& extraEntries() const override {
        return !filter_ || *filter_ == ComparedStatus::New ? newEntries_ : noEntries_;
    }
    std::string extraNote(std::size_t extra) const override;

private:
    // `unreadable`: the file names of the open archive's entries that could not be read.
    ArchiveComparison(const std::vector<Entry>& entries, std::shared_ptr<const Archive> other,
                      Translate translate, ArchiveDifference difference,
                      const std::set<std::string>& unreadable);
    std::string statusText(ComparedStatus status) const;

    std::shared_ptr<const Archive> other_;
    Translate translate_;
    ArchiveDifference difference_;
    std::vector<ComparedStatus> statuses_;           // by the open archive's index
    std::vector<std::optional<std::size_t>> pairs_;  // the same
    std::vector<Entry> newEntries_;                  // the other's entries the open one lacks
    std::vector<Entry> noEntries_;
    std::optional<ComparedStatus> filter_;
};

// The status filter's item `item` (0: every status).
std::optional<ComparedStatus> filterOfItem(int item);

}  // namespace brasvel
