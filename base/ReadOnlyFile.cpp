#include "base/ReadOnlyFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "base/ResourceError.h"

namespace brasvel {
namespace {

[[noreturn]] void refuseKind(const struct stat& status, const std::string& path) {
    if (S_ISDIR(status.st_mode)) {
        throw fileError(EISDIR, path);
    }
    throw ResourceError("File access denied", path + " is not a regular file");
}

FileIdentity identityOfStatus(const struct stat& status) {
    return {status.st_dev, status.st_ino, static_cast<std::uint64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                status.st_mtim.tv_nsec};
}

}  // namespace

FileIdentity identityOf(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return {};
    }
    return identityOfStatus(status);
}

FileIdentity ReadOnlyFile::identity() const {
    return {device_, inode_, size_,
            static_cast<std::int64_t>(modified_.tv_sec) * 1'000'000'000 + modified_.tv_nsec};
}

Bytes ReadOnlyFile::bytes() const {
    std::call_once(mapOnce_, [this] {
        if (size_ == 0 || fd_ < 0 || mapping_ != nullptr) {
            return;
        }
        void* mapping = ::mmap(nullptr, static_cast<std::size_t>(size_), PROT_READ, MAP_PRIVATE,
                               fd_, 0);
        if (mapping == MAP_FAILED) {
            throw fileError(errno, path_);
        }
        mapping_ = mapping;
    });
    return {static_cast<const std::byte*>(mapping_), mapping_ ? static_cast<std::size_t>(size_) : 0};
}

ReadOnlyFile::ReadOnlyFile(const std::string& path) : path_(path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below like any file
    // that is not a regular one.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) {
        throw fileError(errno, path.empty() ? "''" : path);
    }
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
        const int error = errno;
        release();
        throw fileError(error, path);
    }
    if (!S_ISREG(status.st_mode)) {
        release();
        refuseKind(status, path);
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
    device_ = status.st_dev;
    inode_ = status.st_ino;
    modified_ = status.st_mtim;
}

ReadOnlyFile::~ReadOnlyFile() { release(); }

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : path_(std::move(other.path_)),
      fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      device_(other.device_),
      inode_(other.inode_),
      modified_(other.modified_),
      mapping_(std::exchange(other.mapping_, nullptr)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        device_ = other.device_;
        inode_ = other.inode_;
        modified_ = other.modified_;
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
        const ssize_t got = ::pread(fd_, out.data() + done, out.size() - done,
                                    static_cast<off_t>(offset + done));
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
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
        throw fileError(errno, path_);
    }
    if (static_cast<std::uint64_t>(status.st_size) != size_) {
        throw archiveChanged(path_ + ": its size went from " + std::to_string(size_) + " to " +
                             std::to_string(status.st_size) + " bytes");
    }
    if (status.st_mtim.tv_sec != modified_.tv_sec || status.st_mtim.tv_nsec != modified_.tv_nsec) {
        throw archiveChanged(path_ + ": it was written to");
    }
}

void ReadOnlyFile::release() noexcept {
    if (mapping_ != nullptr) {
        ::munmap(const_cast<void*>(mapping_), static_cast<std::size_t>(size_));
        mapping_ = nullptr;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace brasvel
