// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "edit/ArchiveLock.h"

#include <cerrno>
#include <thread>
#include <utility>

#include "base/Platform.h"

namespace brasvel {
namespace {

// How often a waiting editor tries again.
constexpr std::chrono::milliseconds kRetryEvery{20};

bool sameFile(const platform::FileStatus& a, const platform::FileStatus& b) {
    return a.device == b.device && a.index == b.index;
}

}  // namespace

ArchiveBusy::ArchiveBusy(const std::string& path)
    : EditRefusal(ErrorKind::ArchiveInUse,
                  path + " is being changed by another program; try again when it is done") {}

ArchiveChangedOnDisk::ArchiveChangedOnDisk(const std::string& path)
    : EditRefusal(ErrorKind::ArchiveChangedOnDisk,
                  path + " was replaced or written to since it was opened") {}

ArchiveProtected::ArchiveProtected(const std::string& path, Why why, std::uint64_t links)
    : EditRefusal(ErrorKind::ArchiveProtected,
                  why == Why::HardLinked
                      ? path + " has " + std::to_string(links) +
                            " names (hard links); saving would give this name a new file and "
                            "leave the others the old one"
                      : path + " is write-protected"),
      why_(why),
      links_(links) {}

ArchiveIsItsOwnInput::ArchiveIsItsOwnInput(const std::string& input)
    : EditRefusal(ErrorKind::OwnInput, input + " is the archive itself"), input_(input) {}

ArchiveLock ArchiveLock::take(const std::string& path, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        ArchiveLock lock;
        lock.fd_ = platform::openForReading(path);
        if (lock.fd_ < 0) {
            if (errno == ENOENT) {
                return ArchiveLock();
            }
            throw fileError(errno, path);
        }
        platform::FileStatus locked;
        if (platform::statusOf(lock.fd_, locked) != 0 ||
            locked.kind != platform::FileStatus::Kind::Regular) {
            return ArchiveLock();
        }
        if (platform::tryLockForEditing(lock.fd_) == 0) {
            // While this editor waited, another may have put a new archive in the old one's
            // place: the lock counts only on the file the path leads to now.
            platform::FileStatus now;
            if (platform::statusOfTarget(path, now) == 0 && sameFile(now, locked)) {
                lock.identity_ = identityOf(lock.fd_);
                return lock;
            }
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EAGAIN) {
            return ArchiveLock();  // no locks here; the identity check before replacing remains
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw ArchiveBusy(path);
        }
        lock.release();
        std::this_thread::sleep_for(kRetryEvery);
    }
}

ArchiveLock::~ArchiveLock() {
    release();
}

ArchiveLock::ArchiveLock(ArchiveLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), identity_(std::move(other.identity_)) {}

ArchiveLock& ArchiveLock::operator=(ArchiveLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        identity_ = std::move(other.identity_);
    }
    return *this;
}

void ArchiveLock::release() noexcept {
    if (fd_ >= 0) {
        platform::closeFile(std::exchange(fd_, -1));
    }
}

}  // namespace brasvel
