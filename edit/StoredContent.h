// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The stored form of new entries' content, made on several threads while the archive is written:
// a LOD entry compressed where that makes it smaller, any other stored as it is. Content is held
// whole in memory only up to kStreamedAbove bytes, and only as many bytes at once as the
// pipeline's budget allows; a larger file is streamed into the archive in bounded pieces.

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
#include "edit/ReplacementFile.h"

namespace brasvel {

struct StoredContent {
    std::vector<std::byte> bytes;  // what the archive holds
    std::int32_t size = 0;         // the content's length
    std::int32_t packedSize = 0;   // the zlib stream's length; 0 when stored plain
    bool streamed = false;         // left to streamFileContent: `bytes` is empty
};

// Files larger than this are not read whole but streamed (streamFileContent).
inline constexpr std::uint64_t kStreamedAbove = std::uint64_t{8} << 20;
// The bytes that the content being made on all threads may hold at once; an item larger than
// this is made alone.
inline constexpr std::uint64_t kBytesInFlight = std::uint64_t{96} << 20;
// The piece a streamed file is read and compressed in.
inline constexpr std::size_t kStreamPiece = std::size_t{1} << 20;

// Compresses `content` at `level` (1 to 12) when `compress` is set and the format stores
// compressed entries, keeping the result only when it is smaller. Throws ResourceError for content
// too large for an archive.
StoredContent storeContent(std::vector<std::byte> content, const ArchiveFormat& format,
                           bool compress, int level);

// A file's whole content. Throws ResourceError naming the file.
std::vector<std::byte> readWholeFile(const std::string& path);
// The same, or nullopt for a file of more than `most` bytes (then, or once it has grown).
std::optional<std::vector<std::byte>> readFileUpTo(const std::string& path, std::uint64_t most);

// Writes the content of the file at `path` to `out` at its position, piece by piece: compressed
// (zlib at `level`, capped at zlib's 9) when `compress` is set, the format compresses entries and
// the stream comes out shorter, else as it is. Returns the sizes, with `bytes` empty. Throws
// ResourceError naming the file when it cannot be read, is too large, or changes its size while
// it is read; `out` then holds part of the entry, and its save must fail.
StoredContent streamFileContent(const std::string& path, ReplacementFile& out,
                                const ArchiveFormat& format, bool compress, int level);

// Makes item 0, 1, ... of `count` on worker threads, each at most `ahead` items past the one the
// caller takes next, and together holding at most `budget` bytes by `cost` (an item beyond the
// budget is made when no other is held); take() hands them out in order. A failure of `make` is
// thrown by the take() of its item. Destruction stops the workers.
class ContentPipeline {
public:
    using Make = std::function<StoredContent(std::size_t item)>;
    // The bytes item `item` holds from its making to its take().
    using Cost = std::function<std::uint64_t(std::size_t item)>;
    ContentPipeline(std::size_t count, unsigned threads, Make make, Cost cost = {},
                    std::uint64_t budget = kBytesInFlight);
    ~ContentPipeline();
    ContentPipeline(const ContentPipeline&) = delete;
    ContentPipeline& operator=(const ContentPipeline&) = delete;

    // Waits for item `item`, which must be the next one not yet taken.
    StoredContent take(std::size_t item);
    // The most bytes, by cost, held at once so far.
    std::uint64_t mostHeld();

private:
    struct Slot {
        std::optional<StoredContent> content;
        std::exception_ptr failure;
        std::uint64_t cost = 0;
        bool done = false;
    };
    void work();

    std::size_t count_;
    std::size_t ahead_;
    Make make_;
    Cost cost_;
    std::uint64_t budget_;
    std::uint64_t held_ = 0;  // the cost of the items made or being made and not yet taken
    std::uint64_t heldMost_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Slot> slots_;
    std::size_t next_ = 0;   // the next item a worker starts
    std::size_t taken_ = 0;  // the next item the caller takes
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace brasvel
