// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "extract/EntryContent.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "base/ObjectPool.h"
#include "base/Platform.h"

namespace brasvel {
namespace {

// Deflate codes at best 258 bytes in 2 bits, so a stream of n bytes can never inflate to more
// than 1032 × n bytes. A larger stated Size is damage, found before any memory is asked for it.
constexpr std::uint64_t kMostInflatedPerByte = 1032;

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* decompressor) const {
        libdeflate_free_decompressor(decompressor);
    }
};

// Decompressors are not safe to share, and cheap to keep: each thread borrows one at a time.
using DecompressorPool = ObjectPool<libdeflate_decompressor, DecompressorDeleter>;

DecompressorPool::Lease borrowDecompressor() {
    static DecompressorPool pool;
    return pool.lend(0, [] { return libdeflate_alloc_decompressor(); });
}

ResourceError damagedEntry(std::string detail) {
    return ResourceError(ErrorKind::DamagedEntry, std::move(detail));
}

void requireNotNegative(std::int32_t value, const char* what) {
    if (value < 0) {
        throw damagedEntry(std::string("states a negative ") + what + " " + std::to_string(value));
    }
}

void requireInflatable(std::uint64_t streamSize, std::int32_t size) {
    if (streamSize * kMostInflatedPerByte < static_cast<std::uint64_t>(size)) {
        throw damagedEntry("states a size of " + std::to_string(size) + " bytes, more than " +
                           std::to_string(streamSize) + " compressed bytes can hold");
    }
}

// Inflates a whole stream at once into `buffer`, sized to the stated size (at most
// kWholeContentLimit here).
void inflateWhole(Bytes stream, std::int32_t size, std::vector<std::byte>& buffer) {
    requireInflatable(stream.size(), size);
    const auto wanted = static_cast<std::size_t>(size);
    if (buffer.size() < wanted) {
        buffer.resize(wanted);
    }
    std::size_t produced = 0;
    const libdeflate_result result = libdeflate_zlib_decompress(
        borrowDecompressor().get(), stream.data(), stream.size(), buffer.data(), wanted, &produced);
    switch (result) {
        case LIBDEFLATE_SUCCESS:
            if (produced != wanted) {
                throw damagedEntry("inflates to " + std::to_string(produced) + " bytes, not " +
                                   std::to_string(size));
            }
            return;
        case LIBDEFLATE_INSUFFICIENT_SPACE:
            throw damagedEntry("inflates past its size " + std::to_string(size));
        case LIBDEFLATE_BAD_DATA:
        default:
            throw damagedEntry("is not a valid zlib stream");
    }
}

struct InflateStream {
    z_stream stream{};
    InflateStream() {
        if (inflateInit(&stream) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    ~InflateStream() { inflateEnd(&stream); }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
};

// Inflates a stream read piece by piece through `nextInput` (an empty piece: no more), handing
// each piece of output to `sink`: memory stays at a piece whatever the stated size. Fails past
// `limit` bytes; returns the number of bytes the stream holds.
std::uint64_t inflatePieces(const std::function<Bytes()>& nextInput, std::uint64_t limit,
                            std::vector<std::byte>& output, const ContentSink& sink) {
    InflateStream inflater;
    z_stream& z = inflater.stream;
    output.resize(kContentPiece);
    std::uint64_t produced = 0;
    for (;;) {
        if (z.avail_in == 0) {
            const Bytes input = nextInput();
            if (input.empty()) {
                throw damagedEntry("its zlib stream is cut short after " +
                                   std::to_string(produced) + " bytes");
            }
            z.next_in = reinterpret_cast<Bytef*>(const_cast<std::byte*>(input.data()));
            z.avail_in = static_cast<uInt>(input.size());
        }
        z.next_out = reinterpret_cast<Bytef*>(output.data());
        z.avail_out = static_cast<uInt>(output.size());
        const int result = ::inflate(&z, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
            throw damagedEntry("is not a valid zlib stream");
        }
        const std::size_t piece = output.size() - z.avail_out;
        produced += piece;
        if (produced > limit) {
            throw damagedEntry("inflates past its size " + std::to_string(limit));
        }
        if (piece > 0) {
            sink(Bytes(output).first(piece));
        }
        if (result == Z_STREAM_END) {
            return produced;
        }
    }
}

// The same, for a stream that must hold exactly `size` bytes.
void inflateExactly(const std::function<Bytes()>& nextInput, std::int32_t size,
                    std::vector<std::byte>& output, const ContentSink& sink) {
    const std::uint64_t produced =
        inflatePieces(nextInput, static_cast<std::uint64_t>(size), output, sink);
    if (produced != static_cast<std::uint64_t>(size)) {
        throw damagedEntry("inflates to " + std::to_string(produced) + " bytes, not " +
                           std::to_string(size));
    }
}

// Reads a stored range of an open archive a piece at a time.
class PieceReader {
public:
    PieceReader(const Archive& archive, StoredRange range, std::vector<std::byte>& buffer)
        : archive_(archive), range_(range), buffer_(buffer) {}

    // The next piece; empty at the end.
    Bytes next() {
        const std::uint64_t left = range_.length - done_;
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, kContentPiece));
        if (piece == 0) {
            return {};
        }
        buffer_.resize(std::max(buffer_.size(), piece));
        const std::span<std::byte> into = std::span(buffer_).first(piece);
        archive_.read(range_.offset + done_, into);
        done_ += piece;
        return into;
    }

private:
    const Archive& archive_;
    StoredRange range_;
    std::vector<std::byte>& buffer_;
    std::uint64_t done_ = 0;
};

bool fitsWhole(const StoredRange& range, const Entry& entry) {
    return range.length <= kWholeContentLimit &&
           static_cast<std::uint64_t>(entry.size) <= kWholeContentLimit;
}

}  // namespace

bool isCompressed(const Entry& entry, const ArchiveFormat& format) {
    return format.compressedEntries && entry.packedSize != 0;
}

StoredRange storedRange(const Entry& entry, const ArchiveFormat& format,
                        std::uint64_t archiveSize) {
    requireNotNegative(entry.offset, "offset");
    requireNotNegative(entry.size, "size");
    std::int32_t length = entry.size;
    if (isCompressed(entry, format)) {
        requireNotNegative(entry.packedSize, "packed size");
        length = entry.packedSize;
    }
    const auto offset = static_cast<std::uint64_t>(entry.offset);
    const auto count = static_cast<std::uint64_t>(length);
    if (offset > archiveSize || count > archiveSize - offset) {
        throw readBeyondEnd(offset, count, archiveSize);
    }
    return {offset, count};
}

void releasePages(Bytes archive, std::size_t begin, std::size_t end) noexcept {
    // Reading a mapped page maps its neighbours too, up to 64 KB around it: pages just before
    // `begin`, given back earlier, may have come back that way, so they go again.
    constexpr std::size_t kFaultAround = std::size_t{64} << 10;
    begin = begin > kFaultAround ? begin - kFaultAround : 0;
    end = std::min(end, archive.size());
    if (begin >= end) {
        return;
    }
    platform::releaseMappedPages(archive.data() + begin, archive.data() + end);
}

std::vector<std::size_t> partialOverlaps(const Archive& archive) {
    const std::vector<Entry>& entries = archive.entries();
    std::vector<std::size_t> overlaps(entries.size(), kNoOverlap);
    struct Stored {
        StoredRange range;
        std::size_t index;
    };
    std::vector<Stored> stored;
    stored.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        try {
            const StoredRange range = storedRange(entries[i], archive.format(), archive.size());
            if (range.length > 0) {
                stored.push_back({range, i});
            }
        } catch (const ResourceError&) {
            // failed on its own when read
        }
    }
    std::sort(stored.begin(), stored.end(), [](const Stored& a, const Stored& b) {
        if (a.range.offset != b.range.offset) {
            return a.range.offset < b.range.offset;
        }
        return a.range.length != b.range.length ? a.range.length > b.range.length
                                                : a.index < b.index;
    });
    // Sweep in order of start, keeping the range that reaches furthest so far: a range that starts
    // before that end and is not the very same range overlaps it in part.
    std::size_t furthest = kNoOverlap;
    for (std::size_t k = 0; k < stored.size(); ++k) {
        const Stored& current = stored[k];
        if (furthest != kNoOverlap) {
            const Stored& reach = stored[furthest];
            if (current.range.offset < reach.range.end() && !(current.range == reach.range)) {
                overlaps[current.index] = reach.index;
                if (overlaps[reach.index] == kNoOverlap) {
                    overlaps[reach.index] = current.index;
                }
            }
        }
        if (furthest == kNoOverlap || current.range.end() > stored[furthest].range.end()) {
            furthest = k;
        }
    }
    return overlaps;
}

Bytes storedBytes(Bytes archive, const Entry& entry, const ArchiveFormat& format) {
    const StoredRange range = storedRange(entry, format, archive.size());
    return archive.subspan(static_cast<std::size_t>(range.offset),
                           static_cast<std::size_t>(range.length));
}

Bytes entryContent(Bytes archive, const Entry& entry, const ArchiveFormat& format,
                   std::vector<std::byte>& buffer) {
    const Bytes stored = storedBytes(archive, entry, format);
    if (!isCompressed(entry, format)) {
        return stored;
    }
    if (fitsWhole({0, stored.size()}, entry)) {
        inflateWhole(stored, entry.size, buffer);
        return Bytes(buffer).first(static_cast<std::size_t>(entry.size));
    }
    requireInflatable(stored.size(), entry.size);
    std::vector<std::byte> content;
    std::vector<std::byte> piece;
    bool given = false;
    inflateExactly([&] { return std::exchange(given, true) ? Bytes() : stored; }, entry.size, piece,
                  [&](Bytes part) { content.insert(content.end(), part.begin(), part.end()); });
    buffer = std::move(content);
    return buffer;
}

std::vector<std::byte> entryContent(Bytes archive, const Entry& entry, const ArchiveFormat& format) {
    std::vector<std::byte> buffer;
    const Bytes content = entryContent(archive, entry, format, buffer);
    if (content.data() == buffer.data()) {
        buffer.resize(content.size());
        return buffer;
    }
    return {content.begin(), content.end()};
}

Bytes entryContent(const Archive& archive, const Entry& entry, ContentBuffers& buffers) {
    const StoredRange range = storedRange(entry, archive.format(), archive.size());
    if (fitsWhole(range, entry)) {
        buffers.stored.resize(std::max(buffers.stored.size(), static_cast<std::size_t>(range.length)));
        const std::span<std::byte> stored =
            std::span(buffers.stored).first(static_cast<std::size_t>(range.length));
        archive.read(range.offset, stored);
        if (!isCompressed(entry, archive.format())) {
            return stored;
        }
        inflateWhole(stored, entry.size, buffers.content);
        return Bytes(buffers.content).first(static_cast<std::size_t>(entry.size));
    }
    // Larger than the one-piece limit: grows with what the entry really holds, piece by piece.
    std::vector<std::byte> content;
    streamEntryContent(archive, entry, buffers, [&](Bytes piece) {
        content.insert(content.end(), piece.begin(), piece.end());
    });
    buffers.content = std::move(content);
    return buffers.content;
}

std::vector<std::byte> entryContent(const Archive& archive, const Entry& entry) {
    ContentBuffers buffers;
    const Bytes content = entryContent(archive, entry, buffers);
    return {content.begin(), content.end()};
}

void streamEntryContent(const Archive& archive, const Entry& entry, ContentBuffers& buffers,
                        const ContentSink& sink) {
    const StoredRange range = storedRange(entry, archive.format(), archive.size());
    const bool compressed = isCompressed(entry, archive.format());
    if (fitsWhole(range, entry)) {
        sink(entryContent(archive, entry, buffers));
        return;
    }
    PieceReader reader(archive, range, buffers.stored);
    if (!compressed) {
        for (Bytes piece = reader.next(); !piece.empty(); piece = reader.next()) {
            sink(piece);
        }
        return;
    }
    requireInflatable(range.length, entry.size);
    inflateExactly([&] { return reader.next(); }, entry.size, buffers.content, sink);
}

std::uint64_t storedContentSize(const Archive& archive, const Entry& entry,
                                ContentBuffers& buffers) {
    const StoredRange range = storedRange(entry, archive.format(), archive.size());
    PieceReader reader(archive, range, buffers.stored);
    if (!isCompressed(entry, archive.format())) {
        for (Bytes piece = reader.next(); !piece.empty(); piece = reader.next()) {
        }
        return range.length;
    }
    return inflatePieces([&] { return reader.next(); }, range.length * kMostInflatedPerByte,
                         buffers.content, [](Bytes) {});
}

}  // namespace brasvel
