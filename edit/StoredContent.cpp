// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "edit/StoredContent.h"

#include <libdeflate.h>
#include <zlib.h>

#include <cerrno>
#include <climits>
#include <memory>
#include <new>
#include <optional>

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
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

}  // namespace

StoredContent storeContent(std::vector<std::byte> content, const ArchiveFormat& format,
                           bool compress, int level) {
    if (content.size() > static_cast<std::size_t>(INT32_MAX)) {
        throw ResourceError(ErrorKind::FileTooLarge, std::to_string(content.size()) +
                                                         " bytes, an entry holds at most " +
                                                         std::to_string(INT32_MAX));
    }
    StoredContent stored;
    stored.size = static_cast<std::int32_t>(content.size());
    if (compress && format.compressedEntries && !content.empty()) {
        const CompressorPool::Lease compressor = borrowCompressor(level);
        // Only a stream shorter than the content is worth keeping: no room for a longer one. The
        // room is left unfilled, so that pages the stream never reaches are never touched.
        const std::size_t room = content.size() - 1;
        const auto stream = std::make_unique_for_overwrite<std::byte[]>(room);
        const std::size_t length = libdeflate_zlib_compress(compressor.get(), content.data(),
                                                            content.size(), stream.get(), room);
        if (length > 0) {
            stored.bytes.assign(stream.get(), stream.get() + length);
            stored.packedSize = static_cast<std::int32_t>(length);
            return stored;
        }
    }
    stored.bytes = std::move(content);
    return stored;
}

namespace {

ResourceError tooLargeFile(const std::string& path, std::uint64_t size) {
    return ResourceError(ErrorKind::FileTooLarge, path + " has " + std::to_string(size) +
                                                      " bytes, an entry holds at most " +
                                                      std::to_string(INT32_MAX));
}

ResourceError changedWhileRead(const std::string& path) {
    return ResourceError(ErrorKind::FileChanged, path + " changed its size while it was added");
}

// The file at `path`, open, checked to be a regular file no larger than an entry holds.
int openRegularFile(const std::string& path, std::uint64_t& size) {
    const int fd = platform::openForReading(path);
    if (fd < 0) {
        throw fileError(errno, path);
    }
    FileDescriptor guard(fd);
    platform::FileStatus status;
    if (platform::statusOf(fd, status) != 0) {
        throw fileError(errno, path);
    }
    if (status.kind != platform::FileStatus::Kind::Regular) {
        throw ResourceError(ErrorKind::FileAccessDenied, path + " is not a regular file");
    }
    if (status.size > INT32_MAX) {
        throw tooLargeFile(path, status.size);
    }
    size = status.size;
    return guard.release();
}

// Reads up to `count` bytes from the position; fewer only at the end of the file.
std::size_t readUpTo(int fd, const std::string& path, std::byte* data, std::size_t count) {
    std::size_t filled = 0;
    while (filled < count) {
        const std::ptrdiff_t got = platform::readSome(fd, data + filled, count - filled);
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
    }
    return filled;
}

// Reads exactly `count` bytes at `offset`, or throws: the file ended sooner than it said.
void readExactlyAt(int fd, const std::string& path, std::byte* data, std::size_t count,
                   std::uint64_t offset) {
    std::size_t filled = 0;
    while (filled < count) {
        const std::ptrdiff_t got =
            platform::readAt(fd, data + filled, count - filled, offset + filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw fileError(errno, path);
        }
        if (got == 0) {
            throw changedWhileRead(path);
        }
        filled += static_cast<std::size_t>(got);
    }
}

void checkEndsAt(int fd, const std::string& path, std::uint64_t size) {
    std::byte probe{};
    while (true) {
        const std::ptrdiff_t got = platform::readAt(fd, &probe, 1, size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw fileError(errno, path);
        }
        if (got > 0) {
            throw changedWhileRead(path);
        }
        return;
    }
}

// Writes the zlib stream of the file's `size` bytes to `out`, or returns nullopt as soon as the
// stream would not be shorter than the content.
std::optional<std::int32_t> deflateInto(int fd, const std::string& path, std::uint64_t size,
                                        ReplacementFile& out, int level) {
    z_stream stream{};
    if (deflateInit(&stream, std::min(level, Z_BEST_COMPRESSION)) != Z_OK) {
        throw std::bad_alloc();
    }
    struct End {
        z_stream& stream;
        ~End() { deflateEnd(&stream); }
    } end{stream};
    std::vector<std::byte> input(kStreamPiece);
    std::vector<std::byte> output(kStreamPiece);
    const std::uint64_t longest = size - 1;
    std::uint64_t read = 0;
    std::uint64_t written = 0;
    int flush = Z_NO_FLUSH;
    while (true) {
        if (stream.avail_in == 0 && flush == Z_NO_FLUSH) {
            const auto piece =
                static_cast<std::size_t>(std::min<std::uint64_t>(input.size(), size - read));
            readExactlyAt(fd, path, input.data(), piece, read);
            read += piece;
            stream.next_in = reinterpret_cast<Bytef*>(input.data());
            stream.avail_in = static_cast<uInt>(piece);
            if (read == size) {
                checkEndsAt(fd, path, size);
                flush = Z_FINISH;
            }
        }
        const auto room =
            static_cast<uInt>(std::min<std::uint64_t>(output.size(), longest - written));
        if (room == 0) {
            return std::nullopt;
        }
        stream.next_out = reinterpret_cast<Bytef*>(output.data());
        stream.avail_out = room;
        const int result = deflate(&stream, flush);
        if (result == Z_STREAM_ERROR) {
            throw ResourceError(ErrorKind::CannotCompress, path);
        }
        const std::size_t produced = room - stream.avail_out;
        out.write(Bytes(output.data(), produced));
        written += produced;
        if (result == Z_STREAM_END) {
            return static_cast<std::int32_t>(written);
        }
    }
}

void copyPlain(int fd, const std::string& path, std::uint64_t size, ReplacementFile& out) {
    std::vector<std::byte> piece(kStreamPiece);
    for (std::uint64_t at = 0; at < size; at += piece.size()) {
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), size - at));
        readExactlyAt(fd, path, piece.data(), length, at);
        out.write(Bytes(piece.data(), length));
    }
    checkEndsAt(fd, path, size);
}

}  // namespace

StoredContent streamFileContent(const std::string& path, ReplacementFile& out,
                                const ArchiveFormat& format, bool compress, int level) {
    std::uint64_t size = 0;
    const FileDescriptor file(openRegularFile(path, size));
    StoredContent stored;
    stored.size = static_cast<std::int32_t>(size);
    stored.streamed = true;
    const std::uint64_t start = out.position();
    if (compress && format.compressedEntries && size > 0) {
        if (const auto packed = deflateInto(file.get(), path, size, out, level)) {
            stored.packedSize = *packed;
            return stored;
        }
        // The stream, shorter than the content, is written over by it.
        out.seek(start);
    }
    copyPlain(file.get(), path, size, out);
    return stored;
}

std::vector<std::byte> readWholeFile(const std::string& path) {
    std::optional<std::vector<std::byte>> content = readFileUpTo(path, INT32_MAX);
    if (!content) {
        throw tooLargeFile(path, static_cast<std::uint64_t>(INT32_MAX) + 1);
    }
    return std::move(*content);
}

std::optional<std::vector<std::byte>> readFileUpTo(const std::string& path, std::uint64_t most) {
    std::uint64_t size = 0;
    const FileDescriptor file(openRegularFile(path, size));
    if (size > most) {
        return std::nullopt;
    }
    std::vector<std::byte> content(static_cast<std::size_t>(size));
    std::size_t filled = readUpTo(file.get(), path, content.data(), content.size());
    content.resize(filled);
    // The file may have grown since; read on until it ends, in pieces, not by doubling.
    std::vector<std::byte> more(std::min<std::size_t>(kStreamPiece, 64 << 10));
    while (filled == content.size()) {
        const std::size_t got = readUpTo(file.get(), path, more.data(), more.size());
        if (got == 0) {
            break;
        }
        if (content.size() + got > most) {
            return std::nullopt;
        }
        content.insert(content.end(), more.begin(),
                       more.begin() + static_cast<std::ptrdiff_t>(got));
        filled = content.size();
    }
    return content;
}

ContentPipeline::ContentPipeline(std::size_t count, unsigned threads, Make make, Cost cost,
                                 std::uint64_t budget)
    : count_(count),
      ahead_(2 * std::max(1u, threads)),
      make_(std::move(make)),
      cost_(std::move(cost)),
      budget_(budget),
      slots_(count) {
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
        std::uint64_t cost = 0;
        changed_.wait(lock, [&] {
            if (stopping_ || next_ >= count_) {
                return true;
            }
            cost = cost_ ? cost_(next_) : 0;
            // An item beyond the budget is made alone, so that every item is made at last.
            return next_ < taken_ + ahead_ && (held_ == 0 || held_ + cost <= budget_);
        });
        if (stopping_ || next_ >= count_) {
            return;
        }
        const std::size_t item = next_++;
        held_ += cost;
        heldMost_ = std::max(heldMost_, held_);
        lock.unlock();
        Slot made;
        made.cost = cost;
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
    held_ -= slot.cost;
    lock.unlock();
    changed_.notify_all();
    if (slot.failure) {
        std::rethrow_exception(slot.failure);
    }
    return std::move(*slot.content);
}

std::uint64_t ContentPipeline::mostHeld() {
    const std::lock_guard lock(mutex_);
    return heldMost_;
}

}  // namespace brasvel
