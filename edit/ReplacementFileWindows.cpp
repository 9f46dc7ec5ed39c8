// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// A file put in place of another in one step, on Windows: written under the temporary name
// ".NAME.PID.XXXXXX.saving" beside the file it replaces, flushed to disk (FlushFileBuffers, where
// Linux calls fsync), then moved over it with MoveFileExW, write-through, which is on disk when it
// returns (where Linux syncs the folder). Every call goes through the platform layer.
//
// What the Linux build does beyond this is left out: symbolic links are not followed (a link is
// replaced itself), owner and permissions are those a new file gets, and the kernel's copy
// (copyFrom) is never used.

#include <cerrno>
#include <utility>

#include "base/Platform.h"
#include "base/ResourceError.h"
#include "edit/ReplacementFile.h"
#include "extract/TemporaryNames.h"

namespace brasvel {
namespace {

using platform::FileStatus;

constexpr int kNameAttempts = kTemporaryNameAttempts;

void splitPath(const std::string& path, std::string& folder, std::string& name) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "." ? name : folder + "\\" + name;
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& path, ExistingFile existing,
                                 WriteFunction writeFunction, Temporaries /*temporaries*/,
                                 SyncFunction syncFunction)
    : path_(path),
      target_(path),
      existing_(existing),
      write_(writeFunction != nullptr ? writeFunction : &platform::writeSome),
      sync_(syncFunction != nullptr ? syncFunction : &platform::syncFile) {
    std::string folder;
    splitPath(target_, folder, name_);
    if (name_.empty() || name_ == "." || name_ == "..") {
        throw ResourceError(ErrorKind::InvalidFileName, path + " names a folder");
    }
    FileStatus status;
    if (platform::statusOfPath(target_, status) == 0) {
        if (existing_ == ExistingFile::Refuse) {
            throw ResourceError(ErrorKind::FileExists, path);
        }
        if (status.kind != FileStatus::Kind::Regular) {
            throw ResourceError(
                ErrorKind::FileAccessDenied,
                path + (status.kind == FileStatus::Kind::Folder ? " is a folder"
                                                                : " is not a regular file"));
        }
    }
    FileStatus folderStatus;
    if (platform::statusOfPath(folder, folderStatus) != 0) {
        throw fileError(errno, folder);
    }
    removeStaleTemporaries(target_);
    for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
        temporary_ = savingTemporaryName(name_);
        fd_ = platform::createExclusive(joined(folder, temporary_));
        if (fd_ < 0 && errno != EEXIST) {
            const int error = errno;
            temporary_.clear();
            throw fileError(error, path);
        }
    }
    if (fd_ < 0) {
        temporary_.clear();
        throw fileError(EEXIST, path);
    }
}

ReplacementFile::~ReplacementFile() {
    discard();
}

void ReplacementFile::discard() noexcept {
    if (fd_ >= 0) {
        platform::closeFile(std::exchange(fd_, -1));
    }
    if (!temporary_.empty()) {
        platform::removeFile(joined(folderPath(), temporary_));
        temporary_.clear();
    }
}

std::string ReplacementFile::folderPath() const {
    std::string folder;
    std::string name;
    splitPath(target_, folder, name);
    return folder;
}

bool ReplacementFile::copyFrom(int /*source*/, std::uint64_t /*offset*/, std::uint64_t /*length*/) {
    copyWorks_ = false;
    return false;
}

void ReplacementFile::seek(std::uint64_t position) {
    if (platform::seekTo(fd_, position) != 0) {
        throw fileError(errno, path_);
    }
    position_ = position;
}

void ReplacementFile::commit(const std::function<void()>& beforePlacing) {
    if (fd_ < 0 || writeFailed_) {
        throw ResourceError::withText(ErrorKind::FileFailure,
                                      fileFailureText(FileFailure::Other, EIO),
                                      path_ + " was not written");
    }
    if (sync_(fd_) != 0) {
        throw fileError(errno, path_);
    }
    if (beforePlacing) {
        beforePlacing();
    }
    // Closed before the move: Windows moves a file that no handle of this process holds.
    if (platform::closeFile(std::exchange(fd_, -1)) != 0) {
        throw fileError(errno, path_);
    }
    const std::string temporary = joined(folderPath(), temporary_);
    const int moved = existing_ == ExistingFile::Refuse
                          ? platform::moveToNewName(temporary, target_)
                          : platform::replaceFile(temporary, target_);
    if (moved != 0) {
        throw errno == EEXIST ? ResourceError(ErrorKind::FileExists, path_)
                              : fileError(errno, path_);
    }
    temporary_.clear();
}

int removeStaleTemporaries(const std::string& path) {
    std::string folder;
    std::string name;
    splitPath(path, folder, name);
    int removed = 0;
    for (const std::string& item : platform::folderNames(folder)) {
        const long writer = savingTemporaryWriter(item, name);
        if (writer <= 0 || writer == platform::currentProcess() || platform::processRuns(writer)) {
            continue;
        }
        FileStatus status;
        const std::string itemPath = joined(folder, item);
        if (platform::statusOfPath(itemPath, status) == 0 &&
            status.kind == FileStatus::Kind::Regular && platform::removeFile(itemPath) == 0) {
            ++removed;
        }
    }
    return removed;
}

}  // namespace brasvel
