#include "extract/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <random>
#include <thread>
#include <utility>

#include "catalogue/ResourceError.h"

namespace brasvel {
namespace {

constexpr const char* kTemporarySuffix = ".extracting";
constexpr int kNameAttempts = 100;
// One write call moves at most this much; Linux moves no more than about 2 GiB per call anyway.
constexpr std::size_t kLargestWrite = std::size_t{1} << 30;

std::string randomTag() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator([] {
        std::random_device device;
        return static_cast<std::mt19937::result_type>(
            device() ^ std::hash<std::thread::id>{}(std::this_thread::get_id()));
    }());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string tag(6, '\0');
    for (char& c : tag) {
        c = kLetters[pick(generator)];
    }
    return tag;
}

std::string temporaryName(std::string_view name) {
    std::string temporary = "." + std::string(name) + "." + randomTag() + kTemporarySuffix;
    if (temporary.size() > 255) {
        temporary = ".brasvel." + randomTag() + kTemporarySuffix;
    }
    return temporary;
}

// Closes the descriptor and removes the temporary unless released.
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
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    std::string release() { return std::move(name_); }

private:
    int folder_;
    std::string name_;
    int fd_;
};

}  // namespace

TargetFolder::TargetFolder(const std::string& path, WriteFunction write)
    : path_(path), write_(write != nullptr ? write : &::write) {
    fd_ = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        if (errno == ENOTDIR) {
            throw ResourceError(fileErrorText(fileErrorCode(ENOTDIR)), path + " is not a folder");
        }
        throw fileError(errno, path.empty() ? "." : path);
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
    return std::find(kept_.begin(), kept_.end(), std::pair(status.st_dev, status.st_ino)) !=
           kept_.end();
}

PendingFile TargetFolder::prepare(std::string_view name, Bytes content) const {
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
    const std::byte* next = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = write_(file.fd(), next, std::min(left, kLargestWrite));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            throw fileError(written == 0 ? ENOSPC : errno, pathOf(name));
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    if (!file.close()) {
        throw fileError(errno, pathOf(name));
    }
    return PendingFile(*this, std::string(name), file.release());
}

void TargetFolder::writeFile(std::string_view name, Bytes content) const {
    prepare(name, content).commit();
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : folder_(other.folder_),
      name_(std::move(other.name_)),
      temporary_(std::exchange(other.temporary_, {})) {}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
    if (this != &other) {
        discard();
        folder_ = other.folder_;
        name_ = std::move(other.name_);
        temporary_ = std::exchange(other.temporary_, {});
    }
    return *this;
}

PendingFile::~PendingFile() {
    discard();
}

void PendingFile::discard() noexcept {
    if (!temporary_.empty()) {
        ::unlinkat(folder_->fd_, temporary_.c_str(), 0);
        temporary_.clear();
    }
}

void PendingFile::commit() {
    if (temporary_.empty()) {
        return;
    }
    if (folder_->isKeptIntact(name_)) {
        discard();
        throw ResourceError(fileErrorText(fileErrorCode(EACCES)),
                            folder_->pathOf(name_) + " is the archive being read");
    }
    if (::renameat(folder_->fd_, temporary_.c_str(), folder_->fd_, name_.c_str()) != 0) {
        const int error = errno;
        discard();
        const std::string path = folder_->pathOf(name_);
        if (error == EISDIR || error == ENOTEMPTY || error == EEXIST) {
            throw ResourceError(fileErrorText(fileErrorCode(EISDIR)), path + " is a folder");
        }
        throw fileError(error, path);
    }
    temporary_.clear();
}

}  // namespace brasvel
