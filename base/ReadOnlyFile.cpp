// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "base/ReadOnlyFile.h"

#include <cerrno>
#include <utility>

#include "base/Platform.h"
#include "base/ResourceError.h"

namespace brasvel {
namespace {

using platform::FileStatus;

[[noreturn]] void refuseKind(const FileStatus& status, const std::string& path) {
    if (status.kind == FileStatus::Kind::Folder) {
        throw fileError(EISDIR, path);
    }
    throw ResourceError(ErrorKind::FileAccessDenied, path + " is not a regular file");
}

}  // namespace

FileIdentity identityOf(int fd) {
    FileStatus status;
    if (platform::statusOf(fd, status) != 0) {
        return {};
    }
    return {status.device, status.index, status.size, status.modifiedNs};
}

FileIdentity ReadOnlyFile::identity() const { return {device_, inode_, size_, modifiedNs_}; }

Bytes ReadOnlyFile::bytes() const {
    std::call_once(mapOnce_, [this] {
        if (size_ == 0 || fd_ < 0 || mapping_ != nullptr) {
            return;
        }
        const void* mapping = platform::mapFile(fd_, static_cast<std::size_t>(size_));
        if (mapping == nullptr) {
            throw fileError(errno, path_);
        }
        mapping_ = mapping;
    });
    return {static_cast<const std::byte*>(mapping_), mapping_ ? static_cast<std::size_t>(size_) : 0};
}

ReadOnlyFile::ReadOnlyFile(const std::string& path) : path_(path) {
    // A FIFO is not waited on: it is refused below like any file that is not a regular one.
    fd_ = path.empty() ? (errno = ENOENT, -1) : platform::openForReading(path);
    if (fd_ < 0) {
        throw fileError(errno, path.empty() ? "''" : path);
    }
    FileStatus status;
    if (platform::statusOf(fd_, status) != 0) {
        const int error = errno;
        release();
        throw fileError(error, path);
    }
    if (status.kind != FileStatus::Kind::Regular) {
        release();
        refuseKind(status, path);
    }
    size_ = status.size;
    device_ = status.device;
    inode_ = status.index;
    modifiedNs_ = status.modifiedNs;
}

ReadOnlyFile::~ReadOnlyFile() { release(); }

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : path_(std::move(other.path_)),
      fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      device_(other.device_),
      inode_(other.inode_),
      modifiedNs_(other.modifiedNs_),
      mapping_(std::exchange(other.mapping_, nullptr)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        device_ = other.device_;
        inode_ = other.inode_;
        modifiedNs_ = other.modifiedNs_;
        mapping_ = std::exchange(other.mapping_, nullptr);
    }
    return *this;
}

void ReadOnlyFile::read(std::uint64_t offset, std::span<std::byte> out) const {
    if (offset > size_ || out.size() > size_ - offset) {
        throw readBeyondEnd(offset, out.size(), size_);
    }
    std::size_t done = 0;
    while (done < out.size()) {
        const long long got =
            platform::readAt(fd_, out.data() + done, out.size() - done, offset + done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw fileError(errno, path_);
        }
        if (got == 0) {
            throw archiveChanged(path_ + ": it ends at " + std::to_string(offset + done) +
                                 " bytes, not " + std::to_string(size_));
        }
        done += static_cast<std::size_t>(got);
    }
    // Checked after the read: a change before or during it shows in the size or the time.
    requireUnchanged();
}

void ReadOnlyFile::requireUnchanged() const {
    FileStatus status;
    if (platform::statusOf(fd_, status) != 0) {
        throw fileError(errno, path_);
    }
    if (status.size != size_) {
        throw archiveChanged(path_ + ": its size went from " + std::to_string(size_) + " to " +
                             std::to_string(status.size) + " bytes");
    }
    if (status.modifiedNs != modifiedNs_) {
        throw archiveChanged(path_ + ": it was written to");
    }
}

void ReadOnlyFile::release() noexcept {
    if (mapping_ != nullptr) {
        platform::unmapFile(mapping_, static_cast<std::size_t>(size_));
        mapping_ = nullptr;
    }
    if (fd_ >= 0) {
        platform::closeFile(fd_);
        fd_ = -1;
    }
}

}  // namespace brasvel
