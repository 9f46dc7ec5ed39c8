#include "edit/StoredContent.h"

#include <libdeflate.h>

#include <cerrno>
#include <climits>
#include <memory>
#include <new>

#include "base/ObjectPool.h"
#include "base/Platform.h"
#include "base/ResourceError.h"

namespace brasvel {
namespace {

struct CompressorDeleter {
    void operator()(libdeflate_compressor* compressor) const {
        libdeflate_free_compressor(compressor);
    }
};

// Compressors are not safe to share, and costly to make per entry: each thread borrows one of
// its level at a time.
using CompressorPool = ObjectPool<libdeflate_compressor, CompressorDeleter>;

CompressorPool::Lease borrowCompressor(int level) {
    static CompressorPool pool;
    return pool.lend(level, [level] { return libdeflate_alloc_compressor(level); });
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            platform::closeFile(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

StoredContent storeContent(std::vector<std::byte> content, const ArchiveFormat& format,
                           bool compress, int level) {
    if (content.size() > static_cast<std::size_t>(INT32_MAX)) {
        throw ResourceError("File too large", std::to_string(content.size()) +
                                                  " bytes, an entry holds at most " +
                                                  std::to_string(INT32_MAX));
    }
    StoredContent stored;
    stored.size = static_cast<std::int32_t>(content.size());
    if (compress && format.compressedEntries && !content.empty()) {
        const CompressorPool::Lease compressor = borrowCompressor(level);
        // Only a stream shorter than the content is worth keeping: no room for a longer one.
        std::vector<std::byte> stream(content.size() - 1);
        const std::size_t length = libdeflate_zlib_compress(compressor.get(), content.data(),
                                                            content.size(), stream.data(),
                                                            stream.size());
        if (length > 0) {
            stream.resize(length);
            stored.packedSize = static_cast<std::int32_t>(length);
            stored.bytes = std::move(stream);
            return stored;
        }
    }
    stored.bytes = std::move(content);
    return stored;
}

std::vector<std::byte> readWholeFile(const std::string& path) {
    const FileDescriptor file(platform::openForReading(path));
    if (file.get() < 0) {
        throw fileError(errno, path);
    }
    platform::FileStatus status;
    if (platform::statusOf(file.get(), status) != 0) {
        throw fileError(errno, path);
    }
    if (status.kind != platform::FileStatus::Kind::Regular) {
        throw ResourceError(fileFailureText(FileFailure::AccessDenied),
                            path + " is not a regular file");
    }
    if (status.size > INT32_MAX) {
        throw ResourceError("File too large", path + " has " + std::to_string(status.size) +
                                                  " bytes, an entry holds at most " +
                                                  std::to_string(INT32_MAX));
    }
    std::vector<std::byte> content(static_cast<std::size_t>(status.size));
    std::size_t filled = 0;
    while (true) {
        if (filled == content.size()) {
            // The file may have grown since; read on until it ends.
            content.resize(content.size() + 4096);
        }
        const std::ptrdiff_t got =
            platform::readSome(file.get(), content.data() + filled, content.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw fileError(errno, path);
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
        if (filled > static_cast<std::size_t>(INT32_MAX)) {
            throw ResourceError("File too large", path);
        }
    }
    content.resize(filled);
    return content;
}

ContentPipeline::ContentPipeline(std::size_t count, unsigned threads, Make make)
    : count_(count), ahead_(2 * std::max(1u, threads)), make_(std::move(make)), slots_(count) {
    const std::size_t workers = std::min<std::size_t>(std::max(1u, threads), count);
    workers_.reserve(workers);
    for (std::size_t k = 0; k < workers; ++k) {
        workers_.emplace_back([this] { work(); });
    }
}

ContentPipeline::~ContentPipeline() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void ContentPipeline::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] {
            return stopping_ || next_ >= count_ || next_ < taken_ + ahead_;
        });
        if (stopping_ || next_ >= count_) {
            return;
        }
        const std::size_t item = next_++;
        lock.unlock();
        Slot made;
        try {
            made.content = make_(item);
        } catch (...) {
            made.failure = std::current_exception();
        }
        made.done = true;
        lock.lock();
        slots_[item] = std::move(made);
        changed_.notify_all();
    }
}

StoredContent ContentPipeline::take(std::size_t item) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return slots_[item].done; });
    Slot slot = std::move(slots_[item]);
    slots_[item] = Slot{};
    taken_ = item + 1;
    lock.unlock();
    changed_.notify_all();
    if (slot.failure) {
        std::rethrow_exception(slot.failure);
    }
    return std::move(*slot.content);
}

}  // namespace brasvel
