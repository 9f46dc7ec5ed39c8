// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "edit/ReplacementFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "base/Platform.h"
#include "base/ResourceError.h"
#include "extract/TemporaryNames.h"

namespace brasvel {
namespace {

constexpr int kNameAttempts = kTemporaryNameAttempts;
// Bytes copied per call.
constexpr std::uint64_t kCopyStretch = std::uint64_t{8} << 20;

// `path` with its symbolic links followed: itself when it names no link.
std::string followLinks(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        // A link to a file that does not exist yet: its target is created.
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
        if (length <= 0) {
            throw fileError(errno, path);
        }
        std::string link(target, static_cast<std::size_t>(length));
        if (link.front() != '/') {
            const std::size_t slash = path.rfind('/');
            link = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + link;
        }
        return link;
    }
    std::string result(resolved);
    std::free(resolved);
    return result;
}

void splitPath(const std::string& path, std::string& folder, std::string& name) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& path, ExistingFile existing,
                                 WriteFunction writeFunction, Temporaries temporaries,
                                 SyncFunction syncFunction)
    : path_(path),
      target_(followLinks(path)),
      existing_(existing),
      write_(writeFunction != nullptr ? writeFunction : &::write),
      sync_(syncFunction != nullptr ? syncFunction : &::fsync) {
    std::string folder;
    splitPath(target_, folder, name_);
    if (name_.empty() || name_ == "." || name_ == "..") {
        throw ResourceError(ErrorKind::InvalidFileName, path + " names a folder");
    }
    struct stat status {};
    if (::stat(target_.c_str(), &status) == 0) {
        if (existing_ == ExistingFile::Refuse) {
            throw ResourceError(ErrorKind::FileExists, path);
        }
        if (!S_ISREG(status.st_mode)) {
            throw ResourceError(
                ErrorKind::FileAccessDenied,
                path + (S_ISDIR(status.st_mode) ? " is a folder" : " is not a regular file"));
        }
    }
    folder_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0) {
        throw fileError(errno, folder);
    }
    removeStaleTemporaries(target_);
    if (temporaries == Temporaries::Unnamed) {
        fd_ = ::openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    }
    if (fd_ < 0) {
        for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
            temporary_ = savingTemporaryName(name_);
            fd_ = ::openat(folder_, temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC,
                           0666);
            if (fd_ < 0 && errno != EEXIST) {
                const int error = errno;
                temporary_.clear();
                ::close(folder_);
                throw fileError(error, path);
            }
        }
        if (fd_ < 0) {
            temporary_.clear();
            ::close(folder_);
            throw fileError(EEXIST, path);
        }
    }
}

ReplacementFile::~ReplacementFile() {
    discard();
    if (folder_ >= 0) {
        ::close(folder_);
    }
}

void ReplacementFile::discard() noexcept {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    if (!temporary_.empty()) {
        ::unlinkat(folder_, temporary_.c_str(), 0);
        temporary_.clear();
    }
}

std::string ReplacementFile::folderPath() const {
    std::string folder;
    std::string name;
    splitPath(target_, folder, name);
    return folder;
}

bool ReplacementFile::copyFrom(int source, std::uint64_t offset, std::uint64_t length) {
    // A test's write function must see every byte, so the kernel's copy is left out then.
    if (!copyWorks_ || write_ != &::write) {
        return false;
    }
    auto from = static_cast<off64_t>(offset);
    std::uint64_t left = length;
    while (left > 0) {
        const ssize_t copied = ::copy_file_range(source, &from, fd_, nullptr,
                                                 std::min(left, kCopyStretch), 0);
        if (copied < 0 && errno == EINTR) {
            continue;
        }
        if (copied < 0 && left == length &&
            (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
             errno == EBADF)) {
            copyWorks_ = false;
            return false;
        }
        if (copied < 0) {
            writeFailed_ = true;
            throw fileError(errno, path_);
        }
        if (copied == 0) {
            writeFailed_ = true;
            throw ResourceError(ErrorKind::ReadBeyondEnd,
                                "the archive being read ended at offset " + std::to_string(from));
        }
        // Writing back each stretch while the next is copied: the sync before the commit then
        // waits for the last stretch, not for the whole file (errors show in that sync).
        ::sync_file_range(fd_, static_cast<off64_t>(position_), copied, SYNC_FILE_RANGE_WRITE);
        left -= static_cast<std::uint64_t>(copied);
        position_ += static_cast<std::uint64_t>(copied);
    }
    return true;
}

void ReplacementFile::seek(std::uint64_t position) {
    if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0) {
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
    // The old file's permissions and owner carry over; an owner this user may not give stays his.
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) {
        if (::fchmod(fd_, old.st_mode & 07777) != 0) {
            throw fileError(errno, path_);
        }
        if (::fchown(fd_, old.st_uid, old.st_gid) != 0 && errno != EPERM) {
            throw fileError(errno, path_);
        }
    }
    if (sync_(fd_) != 0) {
        throw fileError(errno, path_);
    }
    if (beforePlacing) {
        beforePlacing();
    }
    if (temporary_.empty()) {
        char source[32];
        std::snprintf(source, sizeof source, "/proc/self/fd/%d", fd_);
        if (existing_ == ExistingFile::Refuse) {
            // Linked straight under its name: a file that appeared meanwhile is not replaced.
            if (::linkat(AT_FDCWD, source, folder_, name_.c_str(), AT_SYMLINK_FOLLOW) != 0) {
                throw errno == EEXIST ? ResourceError(ErrorKind::FileExists, path_)
                                      : fileError(errno, path_);
            }
        } else {
            for (int attempt = 0; attempt < kNameAttempts && temporary_.empty(); ++attempt) {
                const std::string name = savingTemporaryName(name_);
                if (::linkat(AT_FDCWD, source, folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                    temporary_ = name;
                } else if (errno != EEXIST) {
                    throw fileError(errno, path_);
                }
            }
            if (temporary_.empty()) {
                throw fileError(EEXIST, path_);
            }
        }
    }
    if (!temporary_.empty()) {
        const unsigned flags = existing_ == ExistingFile::Refuse ? RENAME_NOREPLACE : 0;
        if (::renameat2(folder_, temporary_.c_str(), folder_, name_.c_str(), flags) != 0) {
            throw errno == EEXIST ? ResourceError(ErrorKind::FileExists, path_)
                                  : fileError(errno, path_);
        }
        temporary_.clear();
    }
    ::close(std::exchange(fd_, -1));
    // The new name is on disk only once the folder is. Should that sync fail, the file is in
    // place already and only its durability is in doubt.
    if (sync_(folder_) != 0) {
        throw fileError(errno, folderPath());
    }
}

int removeStaleTemporaries(const std::string& path) {
    std::string folder;
    std::string name;
    splitPath(path, folder, name);
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return 0;
    }
    int removed = 0;
    const int folderFd = ::dirfd(listing);
    while (const dirent* item = ::readdir(listing)) {
        const long writer = savingTemporaryWriter(item->d_name, name);
        if (writer <= 0 || writer == platform::currentProcess() || platform::processRuns(writer)) {
            continue;
        }
        struct stat status {};
        if (::fstatat(folderFd, item->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
            ::unlinkat(folderFd, item->d_name, 0) == 0) {
            ++removed;
        }
    }
    ::closedir(listing);
    return removed;
}

}  // namespace brasvel
