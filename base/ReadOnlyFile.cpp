#include "base/ReadOnlyFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace brasvel {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

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

ReadOnlyFile::ReadOnlyFile(const std::string& path) : path_(path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        throw fileError(errno, path);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        throw fileError(errno, path);
    }
    if (S_ISDIR(status.st_mode)) {
        throw fileError(EISDIR, path);
    }
    if (!S_ISREG(status.st_mode)) {
        throw ResourceError("File access denied", path + " is not a regular file");
    }
    size_ = static_cast<std::size_t>(status.st_size);
    identity_ = identityOfStatus(status);
    if (size_ == 0) {
        return;  // nothing to map; every read of it is beyond the end
    }
    void* mapping = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, file.get(), 0);
    if (mapping == MAP_FAILED) {
        throw fileError(errno, path);
    }
    data_ = mapping;
}

ReadOnlyFile::~ReadOnlyFile() { release(); }

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : path_(std::move(other.path_)),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      identity_(other.identity_) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        identity_ = other.identity_;
    }
    return *this;
}

void ReadOnlyFile::release() noexcept {
    if (data_ != nullptr) {
        ::munmap(const_cast<void*>(data_), size_);
        data_ = nullptr;
    }
}

}  // namespace brasvel
