// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Saving an ArchiveEdit: the layout of the result, the data written in their order (unchanged
// runs copied by the kernel, new content compressed on worker threads), then the header and the
// directory, and the file put in place in one step.

#include <algorithm>
#include <climits>
#include <filesystem>

#include "base/Platform.h"
#include "base/Text.h"
#include "base/Utf8Path.h"
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

// What the path leads to now, its links followed; nullopt when nothing.
std::optional<FileIdentity> identityAt(const std::string& path) {
    platform::FileStatus status;
    if (platform::statusOfTarget(path, status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{status.device, status.index, status.size, status.modifiedNs};
}

// Whether the archive's open file still holds what it held when opened (not written to in place).
bool opensUnchanged(const Archive& archive) {
    try {
        archive.requireUnchanged();
        return true;
    } catch (const ResourceError&) {
        return false;
    }
}

// Whether saving to `path` writes over the name the archive was opened by.
bool savesOverName(const std::string& path, const std::string& opened) {
    if (path == opened) {
        return true;
    }
    std::error_code targetError;
    std::error_code sourceError;
    const auto target =
        std::filesystem::weakly_canonical(platform::fileSystemPath(path), targetError);
    const auto source =
        std::filesystem::weakly_canonical(platform::fileSystemPath(opened), sourceError);
    return !targetError && !sourceError && target == source;
}

// Replacing a file with other names would split it from them; a write-protected one says no.
void refuseProtected(const std::string& path, const SaveOptions& options) {
    platform::FileStatus status;
    if (options.replaceProtected || options.existing != ExistingFile::Replace ||
        platform::statusOfTarget(path, status) != 0 ||
        status.kind != platform::FileStatus::Kind::Regular) {
        return;
    }
    if (status.links > 1) {
        throw ArchiveProtected(path, ArchiveProtected::Why::HardLinked, status.links);
    }
    if (status.writeProtected) {
        throw ArchiveProtected(path, ArchiveProtected::Why::WriteProtected);
    }
}

// What of an entry's stored bytes lies inside the archive: all of them when they are in it, the
// part there is of bytes that reach past its end, none for a negative offset or length.
Bytes bytesInside(Bytes archive, const Entry& entry, const ArchiveFormat& format) {
    const std::int64_t length = isCompressed(entry, format) ? entry.packedSize : entry.size;
    if (entry.offset < 0 || length <= 0 ||
        static_cast<std::uint64_t>(entry.offset) >= archive.size()) {
        return archive.subspan(archive.size(), 0);
    }
    const auto offset = static_cast<std::size_t>(entry.offset);
    return archive.subspan(offset,
                           std::min(static_cast<std::size_t>(length), archive.size() - offset));
}

ResourceError tooLarge(std::uint64_t size) {
    return ResourceError(ErrorKind::ArchiveTooLarge, "it would hold " + std::to_string(size) +
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

void ArchiveEdit::refuseOwnInputs(const std::string& path) const {
    const std::optional<FileIdentity> target = identityAt(path);
    const std::optional<FileIdentity> opened = archive_ ? archive_->identity() : std::nullopt;
    const auto same = [](const std::optional<FileIdentity>& a, const FileIdentity& b) {
        return a && a->device == b.device && a->inode == b.inode;
    };
    for (const Source& source : sources_) {
        if (source.path.empty()) {
            continue;
        }
        const std::optional<FileIdentity> input = identityAt(source.path);
        if (input && (same(target, *input) || same(opened, *input))) {
            throw ArchiveIsItsOwnInput(source.path);
        }
    }
}

bool ArchiveEdit::save(const std::string& path, const SaveOptions& options,
                       const SaveProgress& progress, const std::atomic<bool>* cancel) const {
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->load(); };
    if (options.level < 1 || options.level > kMostCompressionLevel) {
        throw ResourceError(ErrorKind::InvalidCompressionLevel,
                            std::to_string(options.level) + ", not from 1 to " +
                                std::to_string(kMostCompressionLevel));
    }
    // Damaged entries are written only as the options say: never silently.
    if (const std::vector<std::size_t> damaged = damagedEntries(); !damaged.empty()) {
        if (options.damaged == DamagedEntries::Refuse) {
            std::vector<std::string> names;
            for (const std::size_t k : damaged) {
                names.push_back(editName(entries_[k]));
            }
            throw DamagedEntriesRefused(std::move(names));
        }
        if (options.damaged == DamagedEntries::Drop) {
            ArchiveEdit trimmed = *this;
            for (auto k = damaged.rbegin(); k != damaged.rend(); ++k) {
                trimmed.remove(*k);
            }
            return trimmed.save(path, options, progress, cancel);
        }
    }
    const DirectoryLayout& layout = format_->layout;
    const WritingRules& rules = format_->writing;
    const Bytes archiveBytes = archive_ ? archive_->bytes() : Bytes();

    // Everything that can be refused is refused before a file is made.
    std::vector<Bytes> kept(entries_.size());
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        if (sources_[k].original) {
            try {
                kept[k] = sources_[k].damage ? bytesInside(archiveBytes, entries_[k], *format_)
                                             : storedBytes(archiveBytes, entries_[k], *format_);
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
                throw ResourceError(ErrorKind::EmptyEntry,
                                    "an empty entry can only be the last of a " +
                                        std::string(format_->name) + " archive")
                    .withEntry(editName(entries_[k]));
            }
        }
    }
    // The archive is this editor's alone from here until the new one has replaced it.
    ArchiveLock ownLock;
    if (options.lock == nullptr) {
        ownLock = ArchiveLock::take(path, options.lockWait);
    }
    refuseProtected(path, options);
    refuseOwnInputs(path);
    const std::optional<FileIdentity> targetBefore = identityAt(path);
    FileDescriptor source;
    if (archive_ && archive_->identity()) {
        source.reset(platform::openForReading(archive_->path()));
        if (source.get() < 0 || identityOf(source.get()) != *archive_->identity()) {
            source.reset();  // the bytes come from the mapping of the file that was opened
            // Written to in place, the opened file no longer holds what the edit keeps of it;
            // replaced by another, it still does, and only saving over its name would lose the
            // other program's work.
            if (!options.overwriteChangedArchive &&
                (!opensUnchanged(*archive_) || savesOverName(path, archive_->path()))) {
                throw ArchiveChangedOnDisk(archive_->path());
            }
            archive_->requireUnchanged();
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
    ReplacementFile file(path, options.existing, options.write, options.temporaries,
                         options.sync);
    const bool compress = options.compress;
    const int level = options.level;
    const auto make = [&](std::size_t item) {
        const Source& from = sources_[fresh[item]];
        try {
            if (from.storedIn) {
                return keptStoredContent(*from.storedIn, from.storedEntry);
            }
            if (from.bytes) {
                return storeContent(*from.bytes, *format_, compress, level);
            }
            std::optional<std::vector<std::byte>> content = readFileUpTo(from.path, kStreamedAbove);
            if (!content) {
                StoredContent streamed;
                streamed.streamed = true;  // written by the loop below, piece by piece
                return streamed;
            }
            return storeContent(std::move(*content), *format_, compress, level);
        } catch (ResourceError& error) {
            throw error.withEntry(editName(entries_[fresh[item]]));
        }
    };
    // While it is made an item holds its content and up to as much again of compressed stream.
    const auto cost = [&](std::size_t item) -> std::uint64_t {
        const auto size = static_cast<std::uint64_t>(std::max(0, entries_[fresh[item]].size));
        return sources_[fresh[item]].bytes || size <= kStreamedAbove ? 2 * size : 0;
    };
    ContentPipeline pipeline(fresh.size(), options.threads, make, cost);

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
            StoredContent stored = pipeline.take(freshTaken++);
            std::uint64_t length = stored.bytes.size();
            try {
                if (stored.streamed) {
                    stored = streamFileContent(sources_[k].path, file, *format_, compress, level);
                    length = stored.packedSize > 0 ? static_cast<std::uint64_t>(stored.packedSize)
                                                   : static_cast<std::uint64_t>(stored.size);
                } else if (end + length <= kLargestArchive) {
                    file.write(stored.bytes);
                }
            } catch (ResourceError& error) {
                throw error.withEntry(editName(row));
            }
            if (end + length > kLargestArchive) {
                throw tooLarge(end + length);
            }
            row.offset = static_cast<std::int32_t>(end);
            row.size = stored.size;
            row.packedSize = stored.packedSize;
            end += length;
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
    file.commit([&] {
        if (options.beforeReplacing) {
            options.beforeReplacing();
        }
        // A program that does not take the lock may have written meanwhile: that is not lost.
        if (!options.overwriteChangedArchive && identityAt(path) != targetBefore) {
            throw ArchiveChangedOnDisk(path);
        }
    });
    return true;
}

}  // namespace brasvel
