#include "extract/EntryContent.h"

#include <libdeflate.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>

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

// One decompressor per thread: it is not safe to share, and cheap to keep.
libdeflate_decompressor& threadDecompressor() {
    thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor) {
        throw std::bad_alloc();
    }
    return *decompressor;
}

ResourceError damagedEntry(std::string detail) {
    return ResourceError(kDamagedEntry, std::move(detail));
}

void requireNotNegative(std::int32_t value, const char* what) {
    if (value < 0) {
        throw damagedEntry(std::string("states a negative ") + what + " " + std::to_string(value));
    }
}

void inflateInto(Bytes stream, std::int32_t size, std::vector<std::byte>& buffer) {
    const auto wanted = static_cast<std::size_t>(size);
    if (static_cast<std::uint64_t>(stream.size()) * kMostInflatedPerByte < wanted) {
        throw damagedEntry("states a size of " + std::to_string(size) + " bytes, more than " +
                           std::to_string(stream.size()) + " compressed bytes can hold");
    }
    if (buffer.size() < wanted) {
        buffer.resize(wanted);
    }
    std::size_t produced = 0;
    const libdeflate_result result = libdeflate_zlib_decompress(
        &threadDecompressor(), stream.data(), stream.size(), buffer.data(), wanted, &produced);
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

}  // namespace

bool isCompressed(const Entry& entry, const ArchiveFormat& format) {
    return format.compressedEntries && entry.packedSize != 0;
}

Bytes storedBytes(Bytes archive, const Entry& entry, const ArchiveFormat& format) {
    requireNotNegative(entry.offset, "offset");
    requireNotNegative(entry.size, "size");
    std::int32_t length = entry.size;
    if (isCompressed(entry, format)) {
        requireNotNegative(entry.packedSize, "packed size");
        length = entry.packedSize;
    }
    const auto offset = static_cast<std::uint64_t>(entry.offset);
    const auto count = static_cast<std::uint64_t>(length);
    if (offset > archive.size() || count > archive.size() - offset) {
        throw readBeyondEnd(offset, count, archive.size());
    }
    return archive.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
}

Bytes entryContent(Bytes archive, const Entry& entry, const ArchiveFormat& format,
                   std::vector<std::byte>& buffer) {
    const Bytes stored = storedBytes(archive, entry, format);
    if (!isCompressed(entry, format)) {
        return stored;
    }
    inflateInto(stored, entry.size, buffer);
    return Bytes(buffer).first(static_cast<std::size_t>(entry.size));
}

void releaseStoredPages(Bytes archive, const Entry& entry, const ArchiveFormat& format) noexcept {
    try {
        const Bytes stored = storedBytes(archive, entry, format);
        const auto begin = static_cast<std::size_t>(stored.data() - archive.data());
        releasePages(archive, begin, begin + stored.size());
    } catch (const ResourceError&) {
        // never read
    }
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
    static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(archive.data());
    const std::uintptr_t first = (start + begin) & ~(page - 1);
    const std::uintptr_t last = (start + end + page - 1) & ~(page - 1);
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
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

std::vector<std::byte> entryContent(const Archive& archive, const Entry& entry) {
    return entryContent(archive.bytes(), entry, archive.format());
}

}  // namespace brasvel
