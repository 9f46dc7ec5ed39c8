// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "edit/ArchiveEdit.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <map>
#include <utility>

#include "archive/Layouts.h"
#include "base/Platform.h"
#include "base/Text.h"
#include "edit/StoredContent.h"
#include "extract/EntryCheck.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"

namespace brasvel {
namespace {

// --- The texts the user reads about names ---

NameRefusal refusal(NameRefusalReason reason, std::string_view name, std::string other = {}) {
    NameRefusal refused;
    refused.reason = reason;
    refused.name = std::string(name);
    refused.other = std::move(other);
    return refused;
}

ResourceError refused(const NameRefusal& refusal) {
    return ResourceError(ErrorKind::NameRefused, nameRefusalText(refusal)).withEntry(refusal.name);
}

bool sortedIgnoringCase(const std::vector<Entry>& entries) {
    return std::is_sorted(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return compareIgnoringCase(storedName(a), storedName(b)) < 0;
    });
}

}  // namespace

DamagedEntriesRefused::DamagedEntriesRefused(std::vector<std::string> names)
    : ResourceError(ErrorKind::DamagedEntries,
                    [&] {
                        // A few names say which; an archive may hold thousands of damaged rows.
                        constexpr std::size_t kNamed = 10;
                        std::string listed;
                        for (std::size_t k = 0; k < names.size() && k < kNamed; ++k) {
                            listed += (k == 0 ? "" : ", ") + names[k];
                        }
                        if (names.size() > kNamed) {
                            listed += ", ... (" + std::to_string(names.size()) + " in all)";
                        }
                        return listed;
                    }()),
      names_(std::move(names)) {}

ArchiveEdit::ArchiveEdit(const ArchiveFormat& format)
    : format_(&format), sorted_(format.writing.sortedByName), changed_(true) {}

ArchiveEdit::ArchiveEdit(const Archive& archive)
    : format_(&archive.format()), archive_(archive), entries_(archive.entries()) {
    if (const auto& error = archive.directoryError()) {
        throw ResourceError::withText(error->kind(), error->text(),
                                      archive.path() + ": the directory cannot be read " +
                                          "whole, so the archive cannot be written back (" +
                                          error->describe() + ")");
    }
    sources_.resize(entries_.size());
    const EntryCheck check(archive);
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        sources_[k].original = k;
        sources_[k].damage = check.rowDamage(k);
    }
    if (format_->writing.followsFieldPattern) {
        fieldTail_ = sharedFieldTail(*format_, entries_);
    }
    sorted_ = format_->writing.sortedByName && sortedIgnoringCase(entries_);
    // A new entry takes the type word most entries of its extension carry; of two as common, the
    // one that reached that count first.
    std::map<std::string, std::map<std::int32_t, int>> typeCounts;
    std::map<std::string, int> bestCounts;
    for (const Entry& entry : entries_) {
        countName(entry, 1);
        if (entry.ext.empty()) {
            continue;
        }
        const std::string ext = foldedText(entry.ext);
        const int count = ++typeCounts[ext][entry.type];
        if (count > bestCounts[ext]) {
            bestCounts[ext] = count;
            typeOfExtension_[ext] = entry.type;
        }
    }
}

void ArchiveEdit::countName(const Entry& entry, int change) {
    const auto [at, fresh] = names_.try_emplace(foldedText(storedName(entry)), 0);
    at->second += change;
    if (at->second <= 0) {
        names_.erase(at);
    }
}

int ArchiveEdit::namesLike(std::string_view nameBytes) const {
    const auto found = names_.find(foldedText(nameBytes));
    return found == names_.end() ? 0 : found->second;
}

std::optional<std::size_t> ArchiveEdit::find(std::string_view name) const {
    // A name that no entry bears in any case is answered without looking at the entries.
    const std::optional<std::string> bytes = encodeWindows1250(name);
    if (!bytes || namesLike(*bytes) == 0) {
        return std::nullopt;
    }
    return findEntry(entries_, name);
}

std::optional<NameRefusal> ArchiveEdit::refusalOf(std::string_view name,
                                                  std::optional<std::size_t> renamed,
                                                  std::string& bytes) const {
    if (name.empty()) {
        return refusal(NameRefusalReason::Empty, name);
    }
    std::optional<std::string> encoded = encodeWindows1250(name);
    if (!encoded) {
        return refusal(NameRefusalReason::NotWindows1250, name);
    }
    bytes = std::move(*encoded);
    if (bytes.find('\0') != std::string::npos) {
        return refusal(NameRefusalReason::HasNul, name);
    }
    if (std::optional<NameRefusal> problem = format_->writing.nameProblem(bytes)) {
        problem->name = std::string(name);
        return problem;
    }
    // The reader is the judge: the row must give back the name whole, and a safe file name.
    Entry entry;
    entry.nameField = makeNameField(*format_, bytes, fieldTail_);
    format_->describe(entry);
    const std::string output = format_->outputName(entry, false);
    if (output != bytes + std::string(format_->writing.fileSuffix) || storedName(entry) != bytes) {
        return refusal(NameRefusalReason::ReadsBackOtherwise, name, shownText(output));
    }
    try {
        safeFileName(output);
    } catch (const ResourceError& error) {
        NameRefusal unsafe = refusal(NameRefusalReason::UnsafeFileName, name);
        unsafe.why = error.detail();
        return unsafe;
    }
    // Only a name that is taken is looked for among the entries.
    if (namesLike(bytes) > 0) {
        for (std::size_t k = 0; k < entries_.size(); ++k) {
            if (k != renamed && equalIgnoringCase(storedName(entries_[k]), bytes)) {
                return refusal(NameRefusalReason::Taken, name, shownText(storedName(entries_[k])));
            }
        }
    }
    return std::nullopt;
}

std::string ArchiveEdit::acceptedName(std::string_view name,
                                      std::optional<std::size_t> renamed) const {
    std::string bytes;
    if (const std::optional<NameRefusal> refusal = refusalOf(name, renamed, bytes)) {
        throw refused(*refusal);
    }
    return bytes;
}

std::optional<NameRefusal> ArchiveEdit::checkName(std::string_view name,
                                                  std::optional<std::size_t> renamed) const {
    std::string bytes;
    return refusalOf(name, renamed, bytes);
}

std::size_t ArchiveEdit::placeFor(std::string_view nameBytes) const {
    if (!sorted_) {
        return entries_.size();
    }
    const auto place = std::upper_bound(entries_.begin(), entries_.end(), nameBytes,
                                        [](std::string_view name, const Entry& entry) {
                                            return compareIgnoringCase(name, storedName(entry)) < 0;
                                        });
    return static_cast<std::size_t>(place - entries_.begin());
}

void ArchiveEdit::insert(std::size_t index, Entry entry, Source source) {
    countName(entry, 1);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
    sources_.insert(sources_.begin() + static_cast<std::ptrdiff_t>(index), std::move(source));
}

std::size_t ArchiveEdit::putSource(std::string_view name, Source source, std::int32_t size) {
    // A refused name (ambiguous, or not acceptable) changes nothing, not even hasChanges().
    if (const std::optional<std::size_t> existing = find(name)) {
        changed_ = true;
        // The name field and the type word stay; the content and its sizes change.
        entries_[*existing].size = size;
        entries_[*existing].packedSize = 0;
        entries_[*existing].offset = 0;
        sources_[*existing] = std::move(source);
        return *existing;
    }
    const std::string bytes = acceptedName(name, std::nullopt);
    changed_ = true;
    Entry entry;
    entry.nameField = makeNameField(*format_, bytes, fieldTail_);
    format_->describe(entry);
    entry.size = size;
    if (const auto type = typeOfExtension_.find(foldedText(entry.ext)); type != typeOfExtension_.end()) {
        entry.type = type->second;
    }
    const std::size_t index = placeFor(bytes);
    insert(index, std::move(entry), std::move(source));
    return index;
}

std::size_t ArchiveEdit::put(std::string_view name, std::vector<std::byte> content) {
    if (content.size() > static_cast<std::size_t>(INT32_MAX)) {
        throw ResourceError(ErrorKind::FileTooLarge, std::to_string(content.size()) + " bytes")
            .withEntry(std::string(name));
    }
    const auto size = static_cast<std::int32_t>(content.size());
    Source source;
    source.bytes = std::make_shared<const std::vector<std::byte>>(std::move(content));
    return putSource(name, std::move(source), size);
}

std::size_t ArchiveEdit::putFile(std::string_view name, const std::string& path) {
    platform::FileStatus status;
    if (platform::statusOfTarget(path, status) != 0) {
        throw fileError(errno, path);
    }
    if (status.kind != platform::FileStatus::Kind::Regular) {
        throw ResourceError(ErrorKind::FileAccessDenied, path + " is not a regular file");
    }
    if (!platform::readable(path)) {
        throw fileError(errno, path);
    }
    if (archive_ && archive_->identity() && archive_->identity()->device == status.device &&
        archive_->identity()->inode == status.index) {
        throw ArchiveIsItsOwnInput(path);
    }
    if (status.size > INT32_MAX) {
        throw ResourceError(ErrorKind::FileTooLarge, path + " has " + std::to_string(status.size) +
                                                         " bytes, an entry holds at most " +
                                                         std::to_string(INT32_MAX));
    }
    Source source;
    source.path = path;
    return putSource(name, std::move(source), static_cast<std::int32_t>(status.size));
}

std::size_t ArchiveEdit::putStored(const std::shared_ptr<const Archive>& shared,
                                   std::size_t index) {
    const Archive& from = *shared;
    if (&from.format() != format_) {
        throw ResourceError(ErrorKind::OtherKindOfArchive,
                            from.path() + " is a " + std::string(from.format().name) +
                                " archive, not a " + std::string(format_->name) + " one");
    }
    if (index >= from.entries().size()) {
        throw ResourceError(ErrorKind::NoSuchEntry, "entry " + std::to_string(index));
    }
    const Entry& entry = from.entries()[index];
    const std::string name = editName(entry);
    try {
        storedRange(entry, *format_, from.size());
    } catch (ResourceError& error) {
        throw error.withEntry(name);
    }
    const bool fresh = !find(name).has_value();
    Source source;
    source.storedIn = shared;
    source.storedEntry = entry;
    const std::size_t put = putSource(name, std::move(source), entry.size);
    if (fresh) {
        entries_[put].type = entry.type;
    }
    return put;
}

void ArchiveEdit::remove(std::size_t index) {
    if (index >= entries_.size()) {
        throw ResourceError(ErrorKind::NoSuchEntry, "entry " + std::to_string(index));
    }
    countName(entries_[index], -1);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    sources_.erase(sources_.begin() + static_cast<std::ptrdiff_t>(index));
    changed_ = true;
}

void ArchiveEdit::rename(std::size_t index, std::string_view newName) {
    if (index >= entries_.size()) {
        throw ResourceError(ErrorKind::NoSuchEntry, "entry " + std::to_string(index));
    }
    const std::string bytes = acceptedName(newName, index);
    Entry entry = entries_[index];
    entry.nameField = makeNameField(*format_, bytes, fieldTail_);
    format_->describe(entry);
    Source source = sources_[index];
    countName(entries_[index], -1);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    sources_.erase(sources_.begin() + static_cast<std::ptrdiff_t>(index));
    insert(sorted_ ? placeFor(bytes) : index, std::move(entry), std::move(source));
    changed_ = true;
}

std::optional<std::string> ArchiveEdit::damage(std::size_t index) const {
    return index < sources_.size() ? sources_[index].damage : std::nullopt;
}

void ArchiveEdit::markDamaged(std::size_t index, std::string what) {
    if (index < sources_.size() && sources_[index].original) {
        sources_[index].damage = std::move(what);
    }
}

std::vector<std::size_t> ArchiveEdit::damagedEntries() const {
    std::vector<std::size_t> damaged;
    for (std::size_t k = 0; k < sources_.size(); ++k) {
        if (sources_[k].damage) {
            damaged.push_back(k);
        }
    }
    return damaged;
}

bool ArchiveEdit::isNew(std::size_t index) const {
    return index < sources_.size() && !sources_[index].original;
}

bool ArchiveEdit::isChanged(std::size_t index) const {
    if (index >= sources_.size()) {
        return false;
    }
    const std::optional<std::size_t> original = sources_[index].original;
    return !original || archive_->entries()[*original].nameField != entries_[index].nameField;
}

const Archive* ArchiveEdit::storedIn(std::size_t index, Entry& row) const {
    const Source& source = sources_.at(index);
    if (source.original) {
        row = archive_->entries()[*source.original];
        return &*archive_;
    }
    if (source.storedIn) {
        row = source.storedEntry;
        return source.storedIn.get();
    }
    return nullptr;
}

std::vector<std::byte> ArchiveEdit::content(std::size_t index) const {
    if (index >= entries_.size()) {
        throw ResourceError(ErrorKind::NoSuchEntry, "entry " + std::to_string(index));
    }
    const Source& source = sources_[index];
    try {
        if (source.original) {
            return entryContent(*archive_, archive_->entries()[*source.original]);
        }
        if (source.storedIn) {
            return entryContent(*source.storedIn, source.storedEntry);
        }
        return source.bytes ? *source.bytes : readWholeFile(source.path);
    } catch (ResourceError& error) {
        if (error.entry().empty()) {
            error.withEntry(editName(entries_[index]));
        }
        throw;
    }
}

}  // namespace brasvel
