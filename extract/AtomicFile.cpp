// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "extract/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <utility>

#include "base/Platform.h"
#include "base/ResourceError.h"
#include "extract/TemporaryNames.h"

namespace brasvel {
namespace {

constexpr int kNameAttempts = kTemporaryNameAttempts;
// One write call moves at most this much; Linux moves no more than about 2 GiB per call anyway.
constexpr std::size_t kLargestWrite = std::size_t{1} << 30;

// An unnamed file is linked through its entry in /proc unless the descriptor itself can be linked
// (AT_EMPTY_PATH), which older kernels allow only to a privileged process; that way skips a walk
// through /proc for every file.
bool processFilesVisible() {
    static const bool visible = ::access("/proc/self/fd", X_OK) == 0;
    return visible;
}

std::atomic<bool> linkDescriptors{true};  // cleared once linking a descriptor is refused

// Links the unnamed file `fd` as `name` in `folder`; -1 with errno set when that fails.
int linkUnnamed(int fd, int folder, const char* name) {
    const bool direct = linkDescriptors.load(std::memory_order_relaxed);
    if (direct) {
        if (::linkat(fd, "", folder, name, AT_EMPTY_PATH) == 0) {
            return 0;
        }
        if (errno != ENOENT && errno != EPERM) {
            return -1;
        }
    }
    char source[32];
    std::snprintf(source, sizeof source, "/proc/self/fd/%d", fd);
    const int result = ::linkat(AT_FDCWD, source, folder, name, AT_SYMLINK_FOLLOW);
    if (result == 0 && direct) {
        linkDescriptors.store(false, std::memory_order_relaxed);
    }
    return result;
}

// Closes the descriptor and removes the named temporary, unless released.
class TemporaryFile {
public:
    TemporaryFile(int folder, std::string name, int fd)
        : folder_(folder), name_(std::move(name)), fd_(fd) {}
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!name_.empty()) {
            ::unlinkat(folder_, name_.c_str(), 0);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    // Closes the file; false with errno set when the close reports a failed write.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }
    int releaseDescriptor() { return std::exchange(fd_, -1); }
    std::string releaseName() { return std::move(name_); }

private:
    int folder_;
    std::string name_;
    int fd_;
};

}  // namespace

TargetFolder::TargetFolder(const std::string& path, WriteFunction write, Temporaries temporaries)
    : path_(path),
      write_(write != nullptr ? write : &::write),
      unnamed_(temporaries == Temporaries::Unnamed && processFilesVisible()) {
    fd_ = ::open(path.empty() ? "." : path.c_str(),
                 O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        const std::string shown = path.empty() ? "." : path;
        if (errno == ENOTDIR) {
            throw ResourceError(ErrorKind::FileNotFound, shown + " is not a folder");
        }
        if (errno == ENOENT) {
            throw ResourceError(ErrorKind::FileNotFound, "no such folder: " + shown);
        }
        throw fileError(errno, shown);
    }
}

TargetFolder::~TargetFolder() {
    ::close(fd_);
}

std::string TargetFolder::pathOf(std::string_view name) const {
    if (path_.empty()) {
        return std::string(name);
    }
    std::string result = path_;
    if (result.back() != '/') {
        result += '/';
    }
    result += name;
    return result;
}

int TargetFolder::openUnnamed() const {
    if (!unnamed_.load(std::memory_order_relaxed)) {
        return -1;
    }
    const int fd = ::openat(fd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        unnamed_.store(false, std::memory_order_relaxed);  // this file system has no unnamed files
    }
    // Any other failure is met again, and reported, on the way with a name.
    return fd;
}

void TargetFolder::writeAll(int fd, Bytes content, std::string_view name) const {
    const std::byte* next = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = write_(fd, next, std::min(left, kLargestWrite));
        if (written < 0 && errno == EINTR) {
            continue;
        }
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

void TargetFolder::keepIntact(std::uint64_t device, std::uint64_t inode) { kept_.emplace_back(device, inode); }

std::optional<std::uint64_t> TargetFolder::freeSpace() const {
    struct statvfs status {};
    if (::fstatvfs(fd_, &status) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.f_bavail) * status.f_frsize;
}

int TargetFolder::removeStaleTemporaries() const {
    const int listing = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return 0;
    }
    DIR* folder = ::fdopendir(listing);
    if (folder == nullptr) {
        ::close(listing);
        return 0;
    }
    int removed = 0;
    while (const dirent* item = ::readdir(folder)) {
        const long owner = temporaryOwner(item->d_name);
        // A process that still runs (or one of another user's, which kill() may not probe) may
        // still be writing it: only the temporaries of processes that are gone are stale.
        if (owner == 0 || owner == platform::currentProcess() || platform::processRuns(owner)) {
            continue;
        }
        struct stat status {};
        if (::fstatat(fd_, item->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
            ::unlinkat(fd_, item->d_name, 0) == 0) {
            ++removed;
        }
    }
    ::closedir(folder);
    return removed;
}

void TargetFolder::keepIntact(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        kept_.emplace_back(status.st_dev, status.st_ino);
    }
}

bool TargetFolder::isKeptIntact(const std::string& name) const {
    struct stat status {};
    if (kept_.empty() || ::fstatat(fd_, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return false;
    }
    const std::pair<std::uint64_t, std::uint64_t> identity(status.st_dev, status.st_ino);
    return std::find(kept_.begin(), kept_.end(), identity) !=
           kept_.end();
}

PendingFile TargetFolder::prepare(std::string_view name, Bytes content) const {
    return prepare(name, [&](const PieceWriter& write) { write(content); });
}

PendingFile TargetFolder::prepare(std::string_view name,
                                  const std::function<void(const PieceWriter&)>& produce) const {
    const int fd = openUnnamed();
    if (fd < 0) {
        return prepareNamed(name, produce);
    }
    TemporaryFile file(fd_, {}, fd);
    produceInto(file.fd(), name, produce);
    // Kept open: closing an unnamed file removes it.
    return PendingFile(*this, std::string(name), {}, file.releaseDescriptor());
}

PendingFile TargetFolder::prepareNamed(std::string_view name,
                                       const std::function<void(const PieceWriter&)>& produce) const {
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        temporary = temporaryName(name);
        fd = ::openat(fd_, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            throw fileError(errno, pathOf(name));
        }
    }
    if (fd < 0) {
        throw fileError(EEXIST, pathOf(name));
    }
    TemporaryFile file(fd_, temporary, fd);
    produceInto(file.fd(), name, produce);
    if (!file.close()) {
        throw fileError(errno, pathOf(name));
    }
    return PendingFile(*this, std::string(name), file.releaseName(), -1);
}

void TargetFolder::writeFile(std::string_view name, Bytes content) const {
    prepare(name, content).commit();
}

std::string TargetFolder::linkUnderTemporaryName(int fd, std::string_view name) const {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string temporary = temporaryName(name);
        if (linkUnnamed(fd, fd_, temporary.c_str()) == 0) {
            return temporary;
        }
        if (errno != EEXIST) {
            throw fileError(errno, pathOf(name));
        }
    }
    throw fileError(EEXIST, pathOf(name));
}

void TargetFolder::renameOver(const std::string& temporary, const std::string& name) const {
    if (::renameat(fd_, temporary.c_str(), fd_, name.c_str()) == 0) {
        return;
    }
    const int error = errno;
    ::unlinkat(fd_, temporary.c_str(), 0);
    const std::string path = pathOf(name);
    if (error == EISDIR || error == ENOTEMPTY || error == EEXIST) {
        throw ResourceError(ErrorKind::FileAccessDenied, path + " is a folder");
    }
    throw fileError(error, path);
}

void PendingFile::discard() noexcept {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    if (!temporary_.empty()) {
        ::unlinkat(folder_->fd_, temporary_.c_str(), 0);
        temporary_.clear();
    }
}

void PendingFile::commit() {
    const auto refuseKept = [this] {
        if (folder_->isKeptIntact(name_)) {
            discard();
            throw ResourceError(ErrorKind::FileAccessDenied,
                                folder_->pathOf(name_) + " is the archive being read");
        }
    };
    if (fd_ >= 0) {
        // The descriptor is closed whatever happens; once linked, the file stays.
        const TemporaryFile file(folder_->fd_, {}, std::exchange(fd_, -1));
        if (linkUnnamed(file.fd(), folder_->fd_, name_.c_str()) == 0) {
            return;
        }
        if (errno != EEXIST) {
            throw fileError(errno, folder_->pathOf(name_));
        }
        // The name is taken (an older file, a link, a folder): replace it in one step. Only then
        // can it be the archive, so only then is that looked up.
        refuseKept();
        folder_->renameOver(folder_->linkUnderTemporaryName(file.fd(), name_), name_);
        return;
    }
    if (!temporary_.empty()) {
        refuseKept();
        folder_->renameOver(std::exchange(temporary_, {}), name_);
    }
}

}  // namespace brasvel
