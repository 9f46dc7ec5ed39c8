#pragma once

// The stored form of new entries' content, made on several threads while the archive is written:
// a LOD entry compressed where that makes it smaller, any other stored as it is.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "base/ByteReader.h"

namespace brasvel {

struct StoredContent {
    std::vector<std::byte> bytes;  // what the archive holds
    std::int32_t size = 0;         // the content's length
    std::int32_t packedSize = 0;   // the zlib stream's length; 0 when stored plain
};

// Compresses `content` at `level` (1 to 12) when `compress` is set and the format stores
// compressed entries, keeping the result only when it is smaller. Throws ResourceError for content
// too large for an archive.
StoredContent storeContent(std::vector<std::byte> content, const ArchiveFormat& format,
                           bool compress, int level);

// A file's whole content. Throws ResourceError naming the file.
std::vector<std::byte> readWholeFile(const std::string& path);

// Makes item 0, 1, ... of `count` on worker threads, each at most `ahead` items past the one the
// caller takes next, so that memory holds only that many at once; take() hands them out in order.
// A failure of `make` is thrown by the take() of its item. Destruction stops the workers.
class ContentPipeline {
public:
    using Make = std::function<StoredContent(std::size_t item)>;
    ContentPipeline(std::size_t count, unsigned threads, Make make);
    ~ContentPipeline();
    ContentPipeline(const ContentPipeline&) = delete;
    ContentPipeline& operator=(const ContentPipeline&) = delete;

    // Waits for item `item`, which must be the next one not yet taken.
    StoredContent take(std::size_t item);

private:
    struct Slot {
        std::optional<StoredContent> content;
        std::exception_ptr failure;
        bool done = false;
    };
    void work();

    std::size_t count_;
    std::size_t ahead_;
    Make make_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Slot> slots_;
    std::size_t next_ = 0;   // the next item a worker starts
    std::size_t taken_ = 0;  // the next item the caller takes
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace brasvel
