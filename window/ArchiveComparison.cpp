// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/ArchiveComparison.h"

#include <algorithm>

#include "base/Text.h"
#include "base/Utf8Path.h"
#include "edit/ArchiveMerge.h"
#include "imaging/DefSprite.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"
#include "window/ArchiveSession.h"
#include "window/ManyArchivesTexts.h"
#include "window/PreviewKinds.h"

namespace brasvel {
namespace {

std::string kindName(const ArchiveFormat& format) {
    return asciiUpperText(format.name);
}

// One side of a changed entry as the preview shows it; nothing when it cannot be shown.
std::optional<ComparedView> viewOf(const Entry& entry, Bytes content, std::string title) {
    ComparedView view;
    view.title = std::move(title);
    try {
        if (isPicture(entry)) {
            view.bmpFile = encodePicture(decodePcx(content), PictureFormat::Bmp);
            return view;
        }
        if (isSprite(entry)) {
            const DefSprite sprite =
                DefSprite::walk(content, std::string(untilNul(entry.name)) + ".def");
            if (sprite.frameTotal() == 0) {
                return std::nullopt;
            }
            view.bmpFile = encodePicture(sprite.decodeFrame(1), PictureFormat::Bmp,
                                         {.role = PictureRole::SpriteFrame});
            view.kind = PictureKind::SpriteFrame;
            return view;
        }
        if (previewKindOf(untilNul(entry.ext), content) == PreviewKind::Text) {
            view.text = previewText(content);
            return view;
        }
    } catch (const ResourceError&) {
        // A side that cannot be decoded leaves the entry to the usual preview, which says why.
    }
    return std::nullopt;
}

}  // namespace

std::shared_ptr<const Archive> openOtherArchive(
    const std::string& path, const ArchiveFormat& format,
    const std::function<std::string(const char*)>& translate) {
    auto other = std::make_shared<const Archive>(openArchiveOfAnyKind(path));
    const std::string name = platform::fileNameOfPath(path);
    if (&other->format() != &format) {
        throw ResourceError::worded(
            texts::fillIn(translate(texts::kOtherKindRefused),
                          {name, kindName(other->format()), kindName(format)}));
    }
    if (const auto& error = other->directoryError()) {
        throw ResourceError::worded(
            texts::fillIn(translate(texts::kOtherDamaged), {name, error->describe()}));
    }
    return other;
}

std::unique_ptr<ComparedEntries> sessionEntries(const ArchiveSession& session) {
    if (const ArchiveEdit* edit = session.pending()) {
        return std::make_unique<EditedEntries>(*edit, session.path());
    }
    return std::make_unique<SavedEntries>(*session.archive());
}

std::unique_ptr<ArchiveComparison> ArchiveComparison::run(JobRunner& jobs,
                                                          const std::string& caption,
                                                          const ArchiveSession& session,
                                                          std::shared_ptr<const Archive> other,
                                                          Translate translate,
                                                          std::vector<SearchTrouble>& troubles) {
    const std::unique_ptr<ComparedEntries> open = sessionEntries(session);
    const std::vector<Entry>& entries = open->entries();
    BackgroundTask task;
    task.total = entries.size();
    ArchiveDifference difference;
    std::set<std::string> unreadable;
    // The work alone writes these until the job has ended.
    const auto work = [&] {
        difference = compareEntries(
            *open, SavedEntries(*other),
            [&](const SearchTrouble& problem) {
                unreadable.insert(problem.entry);
                troubles.push_back(problem);
            },
            [&](std::size_t index, std::size_t /*total*/) {
                task.done = index;
                task.setCurrent(shownText(entries[index].fileName));
                return task.goOn();
            });
        if (!difference.stopped) {
            task.done = entries.size();
        }
    };
    jobs.runJob(Job{JobDisplay::Dialog, caption, work, {}}, task);
    if (difference.stopped) {
        return nullptr;
    }
    return std::unique_ptr<ArchiveComparison>(new ArchiveComparison(
        entries, std::move(other), std::move(translate), std::move(difference), unreadable));
}

ArchiveComparison::ArchiveComparison(const std::vector<Entry>& entries,
                                     std::shared_ptr<const Archive> other, Translate translate,
                                     ArchiveDifference difference,
                                     const std::set<std::string>& unreadable)
    : other_(std::move(other)),
      translate_(std::move(translate)),
      difference_(std::move(difference)) {
    statuses_.assign(entries.size(), ComparedStatus::Same);
    pairs_.assign(entries.size(), std::nullopt);
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (unreadable.count(shownText(entries[index].fileName)) > 0) {
            statuses_[index] = ComparedStatus::Unreadable;
        }
    }
    for (const std::size_t index : difference_.onlyInA) {
        statuses_[index] = ComparedStatus::Removed;
    }
    for (const auto& [inA, inB] : difference_.changed) {
        statuses_[inA] = ComparedStatus::Changed;
        pairs_[inA] = inB;
    }
    for (const std::size_t index : difference_.onlyInB) {
        newEntries_.push_back(other_->entries()[index]);
    }
}

std::optional<std::size_t> ArchiveComparison::pairOf(std::size_t index) const {
    return index < pairs_.size() ? pairs_[index] : std::nullopt;
}

std::size_t ArchiveComparison::count(ComparedStatus status) const {
    if (status == ComparedStatus::New) {
        return newEntries_.size();
    }
    return static_cast<std::size_t>(std::count(statuses_.begin(), statuses_.end(), status));
}

std::optional<std::pair<ComparedView, ComparedView>> ArchiveComparison::sideBySide(
    std::size_t index, const Entry& entry, const std::vector<std::byte>& old,
    const std::string& oldTitle) const {
    const std::optional<std::size_t> paired = pairOf(index);
    if (!paired) {
        return std::nullopt;
    }
    const Entry& newEntry = other_->entries()[*paired];
    std::optional<ComparedView> oldView = viewOf(entry, old, oldTitle);
    if (!oldView) {
        return std::nullopt;
    }
    std::vector<std::byte> now;
    try {
        now = entryContent(*other_, newEntry);
    } catch (const ResourceError&) {
        return std::nullopt;
    }
    std::optional<ComparedView> newView = viewOf(
        newEntry, now,
        texts::fillIn(translate_(texts::kNewSide), {platform::fileNameOfPath(other_->path())}));
    // A picture beside a text would compare nothing.
    if (!newView || oldView->bmpFile.empty() != newView->bmpFile.empty()) {
        return std::nullopt;
    }
    return std::pair{std::move(*oldView), std::move(*newView)};
}

std::optional<std::pair<ComparedView, ComparedView>> ArchiveComparison::newEntrySides(
    std::size_t extra, const std::string& oldTitle, const std::string& absent) const {
    if (extra >= newEntries_.size()) {
        return std::nullopt;
    }
    const Entry& entry = newEntries_[extra];
    std::vector<std::byte> content;
    try {
        content = entryContent(*other_, entry);
    } catch (const ResourceError&) {
        return std::nullopt;
    }
    std::optional<ComparedView> newView = viewOf(
        entry, content,
        texts::fillIn(translate_(texts::kNewSide), {platform::fileNameOfPath(other_->path())}));
    if (!newView) {
        return std::nullopt;
    }
    return std::pair{ComparedView{oldTitle, {}, PictureKind::Picture, absent}, std::move(*newView)};
}

std::string ArchiveComparison::noteHeader() const {
    return translate_(texts::kCompareColumn);
}

bool ArchiveComparison::keeps(std::size_t index) const {
    return !filter_ || (index < statuses_.size() && statuses_[index] == *filter_);
}

std::string ArchiveComparison::note(std::size_t index) const {
    return index < statuses_.size() ? statusText(statuses_[index]) : std::string();
}

std::string ArchiveComparison::extraNote(std::size_t /*extra*/) const {
    return statusText(ComparedStatus::New);
}

std::string ArchiveComparison::statusText(ComparedStatus status) const {
    switch (status) {
        case ComparedStatus::New:
            return translate_(texts::kStatusNew);
        case ComparedStatus::Removed:
            return translate_(texts::kStatusRemoved);
        case ComparedStatus::Changed:
            return translate_(texts::kStatusChanged);
        case ComparedStatus::Same:
            return translate_(texts::kStatusSame);
        case ComparedStatus::Unreadable:
            return translate_(texts::kStatusUnreadable);
    }
    return {};
}

std::optional<ComparedStatus> filterOfItem(int item) {
    if (item <= 0 || static_cast<std::size_t>(item) > std::size(kFilteredStatuses)) {
        return std::nullopt;
    }
    return kFilteredStatuses[static_cast<std::size_t>(item) - 1];
}

}  // namespace brasvel
