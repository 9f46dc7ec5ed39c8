// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Files written whole or not at all, on Windows: there are no unnamed files and no folder
// descriptors there, so every file is written under its temporary name in the target folder and
// put in place with one MoveFileExW, which replaces an older file of the name in one step. The
// folder is named by its path; every call goes through the platform layer.

#include <algorithm>
#include <cerrno>
#include <utility>

#include "base/Platform.h"
#include "base/ResourceError.h"
#include "extract/AtomicFile.h"
#include "extract/TemporaryNames.h"

namespace brasvel {
namespace {

constexpr std::size_t kLargestWrite = std::size_t{1} << 30;

using platform::FileStatus;

}  // namespace

TargetFolder::TargetFolder(const std::string& path, WriteFunction write,
                           Temporaries /*temporaries*/)
    : path_(path), write_(write != nullptr ? write : &platform::writeSome), unnamed_(false) {
    const std::string shown = path.empty() ? "." : path;
    FileStatus status;
    if (platform::statusOfTarget(shown, status) != 0) {
        if (errno == ENOENT) {
            throw ResourceError(ErrorKind::FileNotFound, "no such folder: " + shown);
        }
        throw fileError(errno, shown);
    }
    if (status.kind != FileStatus::Kind::Folder) {
        throw ResourceError(ErrorKind::FileNotFound, shown + " is not a folder");
    }
}

TargetFolder::~TargetFolder() = default;

std::string TargetFolder::pathOf(std::string_view name) const {
    if (path_.empty()) {
        return std::string(name);
    }
    std::string result = path_;
    if (result.back() != '/' && result.back() != '\\') {
        result += '\\';
    }
    result += name;
    return result;
}

int TargetFolder::openUnnamed() const {
    return -1;
}

void TargetFolder::writeAll(int fd, Bytes content, std::string_view name) const {
    const std::byte* next = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = write_(fd, next, std::min(left, kLargestWrite));
        if (written <= 0) {
            throw fileError(written == 0 ? ENOSPC : errno, pathOf(name));
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
}

void TargetFolder::produceInto(int fd, std::string_view name,
                               const std::function<void(const PieceWriter&)>& produce) const {
    produce([&](Bytes piece) { writeAll(fd, piece, name); });
}

void TargetFolder::keepIntact(std::uint64_t device, std::uint64_t inode) {
    kept_.emplace_back(device, inode);
}

void TargetFolder::keepIntact(const std::string& path) {
    FileStatus status;
    if (platform::statusOfPath(path, status) == 0) {
        kept_.emplace_back(status.device, status.index);
    }
}

bool TargetFolder::isKeptIntact(const std::string& name) const {
    FileStatus status;
    if (kept_.empty() || platform::statusOfPath(pathOf(name), status) != 0) {
        return false;
    }
    const std::pair<std::uint64_t, std::uint64_t> identity(status.device, status.index);
    return std::find(kept_.begin(), kept_.end(), identity) != kept_.end();
}

std::optional<std::uint64_t> TargetFolder::freeSpace() const {
    return platform::freeSpace(path_);
}

int TargetFolder::removeStaleTemporaries() const {
    int removed = 0;
    for (const std::string& name : platform::folderNames(path_)) {
        const long owner = temporaryOwner(name);
        if (owner == 0 || owner == platform::currentProcess() || platform::processRuns(owner)) {
            continue;
        }
        FileStatus status;
        const std::string path = pathOf(name);
        if (platform::statusOfPath(path, status) == 0 && status.kind == FileStatus::Kind::Regular &&
            platform::removeFile(path) == 0) {
            ++removed;
        }
    }
    return removed;
}

PendingFile TargetFolder::prepare(std::string_view name, Bytes content) const {
    return prepare(name, [&](const PieceWriter& write) { write(content); });
}

PendingFile TargetFolder::prepare(std::string_view name,
                                  const std::function<void(const PieceWriter&)>& produce) const {
    return prepareNamed(name, produce);
}

PendingFile TargetFolder::prepareNamed(
    std::string_view name, const std::function<void(const PieceWriter&)>& produce) const {
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && fd < 0; ++attempt) {
        temporary = temporaryName(name);
        fd = platform::createExclusive(pathOf(temporary));
        if (fd < 0 && errno != EEXIST) {
            throw fileError(errno, pathOf(name));
        }
    }
    if (fd < 0) {
        throw fileError(EEXIST, pathOf(name));
    }
    // Closed and removed on the way out unless handed to the pending file.
    PendingFile pending(*this, std::string(name), temporary, fd);
    produceInto(fd, name, produce);
    if (platform::closeFile(std::exchange(pending.fd_, -1)) != 0) {
        throw fileError(errno, pathOf(name));
    }
    return pending;
}

void TargetFolder::writeFile(std::string_view name, Bytes content) const {
    prepare(name, content).commit();
}

std::string TargetFolder::linkUnderTemporaryName(int /*fd*/, std::string_view name) const {
    throw fileError(EINVAL, pathOf(name));
}

void TargetFolder::renameOver(const std::string& temporary, const std::string& name) const {
    if (platform::replaceFile(pathOf(temporary), pathOf(name)) == 0) {
        return;
    }
    const int error = errno;
    platform::removeFile(pathOf(temporary));
    const std::string path = pathOf(name);
    if (error == EISDIR || error == ENOTEMPTY || error == EEXIST) {
        throw ResourceError(ErrorKind::FileAccessDenied, path + " is a folder");
    }
    throw fileError(error, path);
}

void PendingFile::discard() noexcept {
    if (fd_ >= 0) {
        platform::closeFile(std::exchange(fd_, -1));
    }
    if (!temporary_.empty()) {
        platform::removeFile(folder_->pathOf(temporary_));
        temporary_.clear();
    }
}

void PendingFile::commit() {
    if (temporary_.empty()) {
        return;
    }
    if (folder_->isKeptIntact(name_)) {
        discard();
        throw ResourceError(ErrorKind::FileAccessDenied,
                            folder_->pathOf(name_) + " is the archive being read");
    }
    folder_->renameOver(std::exchange(temporary_, {}), name_);
}

}  // namespace brasvel
