// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// A folder's archives as one list, each read through its own session.

#include "window/FolderSession.h"

#include <filesystem>

#include "base/Utf8Path.h"
#include "extract/AtomicFile.h"
#include "extract/SafeName.h"
#include "window/ArchiveSession.h"

namespace brasvel {
namespace {

// A folder as the settings remember it: absolute, normal, with no separator at its end.
std::string normalFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::path path =
        std::filesystem::absolute(platform::fileSystemPath(folder), error).lexically_normal();
    if (error) {
        path = platform::fileSystemPath(folder);
    }
    if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) {
        path = path.parent_path();
    }
    return platform::utf8Path(path);
}

}  // namespace

struct FolderSession::Member {
    ArchiveSession session;
    StackedArchive stamp;
};

FolderSession::FolderSession(const std::string& folder, const TroubleSink& trouble)
    : path_(normalFolder(folder)) {
    std::optional<SearchTrouble> unlisted;
    forEachArchive(
        {path_},
        [&](const Archive& archive) {
            auto member = std::make_unique<Member>();
            member->stamp.name = platform::fileNameOfPath(archive.path());
            member->stamp.modifiedNs = archive.identity() ? archive.identity()->modifiedNs : 0;
            member->session.adopt(archive);
            members_.push_back(std::move(member));
        },
        [&](const SearchTrouble& found) {
            if (found.archive == path_) {
                unlisted = found;  // the folder itself
            } else {
                trouble(found);
            }
        });
    if (unlisted) {
        if (unlisted->error) {
            throw *unlisted->error;
        }
        throw ResourceError::worded(unlisted->text);
    }
    arrange({});
}

FolderSession::~FolderSession() = default;

std::vector<std::string> FolderSession::order() const {
    std::vector<std::string> names;
    for (const std::size_t member : order_) {
        names.push_back(members_[member]->stamp.name);
    }
    return names;
}

void FolderSession::arrange(std::span<const std::string> arranged) {
    std::vector<StackedArchive> stamps;
    for (const auto& member : members_) {
        stamps.push_back(member->stamp);
    }
    order_ = arrangedOrder(stamps, arranged);
    restack();
}

void FolderSession::restack() {
    std::vector<const std::vector<Entry>*> archives;
    for (const std::size_t member : order_) {
        archives.push_back(&members_[member]->session.entries());
    }
    stack_ = stackEntries(archives);
    entries_.clear();
    entries_.reserve(stack_.size());
    for (const StackedEntry& copy : stack_) {
        entries_.push_back((*archives[copy.archive])[copy.entry]);
    }
}

std::size_t FolderSession::shadowedCount() const {
    std::size_t shadowed = 0;
    for (const StackedEntry& copy : stack_) {
        shadowed += copy.shadowed ? 1 : 0;
    }
    return shadowed;
}

const FolderSession::Member& FolderSession::holderOf(std::size_t index) const {
    return *members_[order_[stacked(index).archive]];
}

const ArchiveSession& FolderSession::holder(std::size_t index) const {
    return holderOf(index).session;
}

ArchiveSession& FolderSession::holder(std::size_t index) {
    return members_[order_[stacked(index).archive]]->session;
}

const std::string& FolderSession::archiveName(std::size_t index) const {
    return holderOf(index).stamp.name;
}

std::string FolderSession::archivePath(std::size_t index) const {
    return holder(index).path();
}

std::optional<std::size_t> FolderSession::indexOf(const std::string& archive,
                                                  std::size_t entry) const {
    for (std::size_t index = 0; index < stack_.size(); ++index) {
        if (stack_[index].entry == entry && archiveName(index) == archive) {
            return index;
        }
    }
    return std::nullopt;
}

std::vector<std::byte> FolderSession::content(std::size_t index) const {
    return holder(index).content(entryInArchive(index));
}

ExtractedEntry FolderSession::extract(std::size_t position, std::size_t index,
                                      const TargetFolder& folder,
                                      std::set<std::string>& written) const {
    const ArchiveSession& session = holder(index);
    const std::size_t entry = entryInArchive(index);
    std::string name;
    try {
        name = outputFileName(session.entries().at(entry), session.archive()->format(), true);
    } catch (const ResourceError&) {
        // The holder's extraction names the fault.
    }
    ExtractedEntry outcome;
    if (!name.empty() && written.count(caseFolded(name)) > 0) {
        outcome.position = position;
        outcome.entry = &session.entries()[entry];
        outcome.fileName = name;
        outcome.error = ResourceError(ErrorKind::NameWrittenInRun, name + " was written in this run");
        outcome.error->withEntry(entryLabel(*outcome.entry, entry));
    } else {
        outcome = session.extract(position, entry, folder, written);
    }
    outcome.index = index;
    return outcome;
}

void FolderSession::extractEach(std::span<const std::size_t> indices, const TargetFolder& folder,
                                const EntryReport& report) const {
    // One after another, so that no copy replaces one written before it in the run.
    std::set<std::string> written;
    for (std::size_t position = 0; position < indices.size(); ++position) {
        if (!report(extract(position, indices[position], folder, written))) {
            return;
        }
    }
}

void FolderSession::keepIntact(TargetFolder& target) const {
    for (const auto& member : members_) {
        target.keepIntact(member->session.path());
    }
}

}  // namespace brasvel
