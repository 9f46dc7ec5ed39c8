// Saving an ArchiveEdit: the layout of the result, the data written in their order (unchanged
// runs copied by the kernel, new content compressed on worker threads), then the header and the
// directory, and the file put in place in one step.

#include <algorithm>
#include <climits>

#include "base/Platform.h"
#include "base/Text.h"
#include "edit/ArchiveEdit.h"
#include "edit/StoredContent.h"
#include "extract/EntryContent.h"

namespace brasvel {
namespace {

constexpr std::uint64_t kLargestArchive = INT32_MAX;  // offsets are i32
constexpr std::size_t kFallbackChunk = std::size_t{4} << 20;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            platform::closeFile(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1) {
        if (fd_ >= 0) {
            platform::closeFile(fd_);
        }
        fd_ = fd;
    }

private:
    int fd_;
};

void putI32At(std::vector<std::byte>& bytes, std::uint64_t at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int k = 0; k < 4; ++k) {
        bytes[at + static_cast<std::uint64_t>(k)] = static_cast<std::byte>((bits >> (8 * k)) & 0xFF);
    }
}

ResourceError tooLarge(std::uint64_t size) {
    return ResourceError("Archive too large", "it would hold " + std::to_string(size) +
                                                  " bytes, an archive at most " +
                                                  std::to_string(kLargestArchive));
}

// Unchanged entries' bytes, gathered into runs that lie one after another in the old archive and
// written as one: by the kernel where it can copy between the files, else from the mapping.
class RunCopier {
public:
    RunCopier(ReplacementFile& file, Bytes archive, int source, bool mapped)
        : file_(file), archive_(archive), source_(source), mapped_(mapped) {}

    // Adds bytes `begin` to `begin + length` of the old archive after those added before.
    void add(std::uint64_t begin, std::uint64_t length) {
        if (length == 0) {
            return;
        }
        if (runLength_ > 0 && runBegin_ + runLength_ == begin) {
            runLength_ += length;
            return;
        }
        flush();
        runBegin_ = begin;
        runLength_ = length;
    }

    void flush() {
        if (runLength_ == 0) {
            return;
        }
        if (source_ < 0 || !file_.copyFrom(source_, runBegin_, runLength_)) {
            for (std::uint64_t at = runBegin_; at < runBegin_ + runLength_; at += kFallbackChunk) {
                const std::uint64_t length =
                    std::min<std::uint64_t>(kFallbackChunk, runBegin_ + runLength_ - at);
                file_.write(archive_.subspan(at, length));
                if (mapped_) {
                    releasePages(archive_, at, at + length);
                }
            }
        }
        runLength_ = 0;
    }

private:
    ReplacementFile& file_;
    Bytes archive_;
    int source_;
    bool mapped_;
    std::uint64_t runBegin_ = 0;
    std::uint64_t runLength_ = 0;
};

// Another archive's entry as it is stored there, with the sizes its row states.
StoredContent keptStoredContent(const Archive& archive, const Entry& entry) {
    const StoredRange range = storedRange(entry, archive.format(), archive.size());
    StoredContent stored;
    stored.bytes.resize(range.length);
    archive.read(range.offset, stored.bytes);
    const bool compressed = isCompressed(entry, archive.format());
    stored.size = compressed ? entry.size : static_cast<std::int32_t>(range.length);
    stored.packedSize = compressed ? entry.packedSize : 0;
    return stored;
}

}  // namespace

bool ArchiveEdit::save(const std::string& path, const SaveOptions& options,
                       const SaveProgress& progress, const std::atomic<bool>* cancel) const {
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->load(); };
    if (options.level < 1 || options.level > kMostCompressionLevel) {
        throw ResourceError("Invalid compression level",
                            std::to_string(options.level) + ", not from 1 to " +
                                std::to_string(kMostCompressionLevel));
    }
    const DirectoryLayout& layout = format_->layout;
    const WritingRules& rules = format_->writing;
    const Bytes archiveBytes = archive_ ? archive_->bytes() : Bytes();

    // Everything that can be refused is refused before a file is made.
    std::vector<Bytes> kept(entries_.size());
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        if (sources_[k].original) {
            try {
                kept[k] = storedBytes(archiveBytes, entries_[k], *format_);
            } catch (ResourceError& error) {
                throw error.withEntry(editName(entries_[k]));
            }
        }
    }
    if (rules.dataInDirectoryOrder) {
        // Sizes derive from the next entry's offset: an empty entry would take the next one's.
        for (std::size_t k = 0; k + 1 < entries_.size(); ++k) {
            const bool empty = sources_[k].original ? kept[k].empty() : entries_[k].size == 0;
            if (empty) {
                throw ResourceError("Empty entry", "an empty entry can only be the last of a " +
                                                       std::string(format_->name) + " archive")
                    .withEntry(editName(entries_[k]));
            }
        }
    }
    FileDescriptor source;
    if (archive_ && archive_->identity()) {
        source.reset(platform::openForReading(archive_->path()));
        if (source.get() < 0 || identityOf(source.get()) != *archive_->identity()) {
            if (!options.overwriteChangedArchive) {
                throw ArchiveChangedOnDisk(archive_->path());
            }
            source.reset();  // the bytes come from the mapping of the file that was opened
        }
    }

    // The layout: header, rows, the room reserved for more rows, then the data.
    const std::uint64_t rowsEnd = layout.firstRow + entries_.size() * layout.rowSize;
    std::uint64_t roomEnd = layout.firstRow + rules.reservedRows * layout.rowSize;
    if (archive_ && rules.reservedRows > 0) {
        roomEnd = std::clamp<std::uint64_t>(archiveBytes.size(), layout.firstRow, roomEnd);
        for (const Entry& entry : archive_->entries()) {
            if (entry.offset >= 0) {
                roomEnd = std::min<std::uint64_t>(roomEnd, static_cast<std::uint64_t>(entry.offset));
            }
        }
    }
    const std::uint64_t dataStart = std::max(rowsEnd, roomEnd);
    if (dataStart > kLargestArchive) {
        throw tooLarge(dataStart);
    }

    // The data's order: unchanged entries as they lay, then new ones in directory order.
    std::vector<std::size_t> order(entries_.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        order[k] = k;
    }
    if (!rules.dataInDirectoryOrder) {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const bool keptA = sources_[a].original.has_value();
            const bool keptB = sources_[b].original.has_value();
            if (keptA != keptB) {
                return keptA;
            }
            return keptA && kept[a].data() < kept[b].data();
        });
    }
    std::vector<std::size_t> fresh;
    for (const std::size_t k : order) {
        if (!sources_[k].original) {
            fresh.push_back(k);
        }
    }
    ReplacementFile file(path, options.existing, options.write, options.temporaries);
    const bool compress = options.compress;
    const int level = options.level;
    ContentPipeline pipeline(fresh.size(), options.threads, [&](std::size_t item) {
        const Source& from = sources_[fresh[item]];
        try {
            if (from.storedIn) {
                return keptStoredContent(*from.storedIn, from.storedEntry);
            }
            std::vector<std::byte> content =
                from.bytes ? *from.bytes : readWholeFile(from.path);
            return storeContent(std::move(content), *format_, compress, level);
        } catch (ResourceError& error) {
            throw error.withEntry(editName(entries_[fresh[item]]));
        }
    });

    std::vector<Entry> rows = entries_;
    RunCopier copier(file, archiveBytes, source.get(), archive_ && archive_->isMapped());
    file.seek(dataStart);
    std::uint64_t end = dataStart;
    std::size_t freshTaken = 0;
    const Bytes* previous = nullptr;
    for (std::size_t position = 0; position < order.size(); ++position) {
        if (cancelled()) {
            return false;
        }
        const std::size_t k = order[position];
        Entry& row = rows[k];
        if (sources_[k].original) {
            const Bytes& bytes = kept[k];
            // Rows that shared their bytes still share them.
            if (previous != nullptr && !rules.dataInDirectoryOrder &&
                previous->data() == bytes.data() && previous->size() == bytes.size()) {
                row.offset = rows[order[position - 1]].offset;
            } else {
                if (end + bytes.size() > kLargestArchive) {
                    throw tooLarge(end + bytes.size());
                }
                row.offset = static_cast<std::int32_t>(end);
                copier.add(static_cast<std::uint64_t>(bytes.data() - archiveBytes.data()),
                           bytes.size());
                end += bytes.size();
            }
            previous = &bytes;
        } else {
            copier.flush();
            previous = nullptr;
            const StoredContent stored = pipeline.take(freshTaken++);
            if (end + stored.bytes.size() > kLargestArchive) {
                throw tooLarge(end + stored.bytes.size());
            }
            row.offset = static_cast<std::int32_t>(end);
            row.size = stored.size;
            row.packedSize = stored.packedSize;
            try {
                file.write(stored.bytes);
            } catch (ResourceError& error) {
                throw error.withEntry(editName(row));
            }
            end += stored.bytes.size();
        }
        if (progress) {
            progress(position + 1, order.size());
        }
    }
    copier.flush();

    // The header and the directory, zero-filled to the data.
    std::vector<std::byte> head(dataStart, std::byte{0});
    if (archive_) {
        const std::size_t header = std::min<std::size_t>(archiveBytes.size(), layout.firstRow);
        std::copy_n(archiveBytes.begin(), header, head.begin());
    } else {
        const std::string header = rules.newHeader();
        std::transform(header.begin(), header.end(), head.begin(),
                       [](char c) { return static_cast<std::byte>(c); });
    }
    putI32At(head, layout.countOffset, static_cast<std::int32_t>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        rules.writeRow(rows[k], head.data() + layout.firstRow + k * layout.rowSize);
    }
    file.seek(0);
    file.write(head);
    if (cancelled()) {
        return false;
    }
    file.commit();
    return true;
}

}  // namespace brasvel
