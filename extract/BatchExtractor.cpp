// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "extract/BatchExtractor.h"


#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>

#include "base/Platform.h"
#include "base/Text.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"

namespace brasvel {
namespace {

// Rows that may be prepared ahead of the reports, per thread: enough that no thread waits for
// another while the calling thread repaints or one row is large. A prepared row holds only an open
// file whose content is already with the system.
constexpr std::size_t kRowsAheadPerThread = 32;
// At most this many in all, whatever the number of threads: each waiting file holds a descriptor.
constexpr std::size_t kMostRowsAhead = 128;

// Rows that may wait for their report, within a quarter of the descriptors the process may open.
std::size_t rowsAhead(unsigned threads) {
    std::size_t rows = std::min(threads * kRowsAheadPerThread, kMostRowsAhead);
    if (const std::optional<std::size_t> limit = platform::openFileLimit()) {
        rows = std::min(rows, *limit / 4);
    }
    return std::max<std::size_t>(rows, 1);
}

// One row's work, up to the file waiting for its commit.
struct PreparedRow {
    ExtractedEntry outcome;
    std::optional<PendingFile> file;
};

class RowWorker {
public:
    RowWorker(const Archive& archive, const TargetFolder& folder, const ExtractOptions& options,
              const std::vector<std::size_t>& overlaps)
        : archive_(archive), folder_(folder), options_(options), overlaps_(overlaps) {}

    PreparedRow prepare(std::size_t position, std::size_t index) {
        PreparedRow prepared;
        ExtractedEntry& outcome = prepared.outcome;
        outcome.position = position;
        outcome.index = index;
        if (index >= archive_.entries().size()) {
            outcome.error = ResourceError(ErrorKind::NoSuchEntry, "entry " + std::to_string(index) +
                                                                      " is not in the archive");
            outcome.error->withEntry("entry " + std::to_string(index));
            return prepared;
        }
        outcome.entry = &archive_.entries()[index];
        try {
            prepared.file = write(outcome);
        } catch (const ResourceError& error) {
            outcome.error = error;
        } catch (const std::bad_alloc&) {
            outcome.error = ResourceError(ErrorKind::NotEnoughMemory);
        } catch (const std::exception& error) {
            outcome.error = ResourceError::withText(ErrorKind::Unexpected, error.what());
        }
        if (outcome.error) {
            outcome.error->withEntry(entryLabel(*outcome.entry, index));
        }
        return prepared;
    }

private:
    PendingFile write(ExtractedEntry& outcome) {
        const Entry& entry = *outcome.entry;
        const ArchiveFormat& format = archive_.format();
        outcome.fileName = extractedFileName(entry, format, options_);
        const std::size_t other = overlaps_[outcome.index];
        if (other != kNoOverlap) {
            throw ResourceError(ErrorKind::DamagedEntry,
                                "its stored bytes overlap those of " +
                                    entryLabel(archive_.entries()[other], other) + " in part");
        }
        if (!format.convertsToBitmap(entry, options_.convertPictures)) {
            return folder_.prepare(outcome.fileName, [&](const TargetFolder::PieceWriter& write) {
                streamEntryContent(archive_, entry, buffers_, write);
            });
        }
        const Picture picture = decodePcx(entryContent(archive_, entry, buffers_));
        outcome.picture = PictureSize{picture.width, picture.height};
        return folder_.prepare(outcome.fileName, encodePicture(picture, options_.pictureFormat));
    }

    const Archive& archive_;
    const TargetFolder& folder_;
    const ExtractOptions& options_;
    const std::vector<std::size_t>& overlaps_;
    ContentBuffers buffers_;  // stored and inflated bytes, reused from entry to entry
};

// The file names a batch has written so far. Two entries whose names differ only in case, or
// not at all, would be one file on many file systems: the later one fails instead of replacing
// the earlier one's file, whatever the file system, so a batch gives the same files everywhere.
class NamesWritten {
public:
    // The entry that already wrote a file of this name in this batch, if any.
    const ExtractedEntry* holder(const std::string& fileName) const {
        const auto found = holders_.find(caseFolded(fileName));
        return found == holders_.end() ? nullptr : &found->second;
    }
    void add(const ExtractedEntry& outcome) {
        holders_.emplace(caseFolded(outcome.fileName), outcome);
    }

private:
    std::unordered_map<std::string, ExtractedEntry> holders_;
};

// Puts the row's file in place; a failure to do so becomes the row's failure.
void commit(PreparedRow& prepared, NamesWritten& names) {
    if (!prepared.file) {
        return;
    }
    ExtractedEntry& outcome = prepared.outcome;
    try {
        if (const ExtractedEntry* earlier = names.holder(outcome.fileName)) {
            prepared.file->discard();
            throw ResourceError(ErrorKind::NameWrittenInRun,
                                entryLabel(*outcome.entry, outcome.index) + " would replace " +
                                    earlier->fileName + ", written for " +
                                    entryLabel(*earlier->entry, earlier->index) + " in this run");
        }
        prepared.file->commit();
        names.add(outcome);
    } catch (const ResourceError& error) {
        outcome.error = error;
        outcome.error->withEntry(entryLabel(*outcome.entry, outcome.index));
    }
}

class Tally {
public:
    // Counts the row; false when the batch ends with it.
    bool count(const ExtractedEntry& outcome, bool goOn, const ExtractOptions& options) {
        if (outcome.done()) {
            ++summary.done;
        } else {
            ++summary.failed;
        }
        // An error of the whole task (the archive changed: nothing read after it can be trusted)
        // ends the batch there.
        const bool taskFailed = !outcome.done() && outcome.error->scope() == ErrorScope::Task;
        return goOn && !taskFailed && (outcome.done() || !options.stopAtFirstFailure);
    }
    BatchSummary summary;
};

BatchSummary extractInline(const Archive& archive, std::span<const std::size_t> rows,
                           const TargetFolder& folder, const ExtractOptions& options,
                           const std::vector<std::size_t>& overlaps, const EntryReport& report) {
    RowWorker worker(archive, folder, options, overlaps);
    Tally tally;
    NamesWritten names;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PreparedRow prepared = worker.prepare(i, rows[i]);
        commit(prepared, names);
        if (!tally.count(prepared.outcome, report(prepared.outcome), options)) {
            tally.summary.stopped = i + 1 < rows.size();
            break;
        }
    }
    return tally.summary;
}

// Rows are claimed in order by the helper threads and by the calling thread, and left in a ring
// of slots. Only the calling thread commits and reports, strictly in row order; while the next
// row is not ready it prepares a later one itself instead of waiting. A thread is woken only when
// it waits for what was just done.
class ParallelBatch {
public:
    ParallelBatch(const Archive& archive, std::span<const std::size_t> rows,
                  const TargetFolder& folder, const ExtractOptions& options,
                  const std::vector<std::size_t>& overlaps)
        : archive_(archive),
          rows_(rows),
          folder_(folder),
          options_(options),
          overlaps_(overlaps),
          ahead_(rowsAhead(options.threads)),
          slots_(ahead_),
          limit_(rows.size()) {}

    BatchSummary run(const EntryReport& report) {
        std::vector<std::thread> threads;
        // Stops and joins the helpers however the reporting ends, a throwing report included.
        struct Joiner {
            ParallelBatch& batch;
            std::vector<std::thread>& threads;
            ~Joiner() {
                batch.stopAfter(0);
                for (std::thread& thread : threads) {
                    thread.join();
                }
            }
        } joiner{*this, threads};
        for (unsigned i = 1; i < options_.threads; ++i) {
            threads.emplace_back([this] { help(); });
        }
        RowWorker worker(archive_, folder_, options_, overlaps_);
        Tally tally;
        NamesWritten names;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            std::optional<PreparedRow> prepared = take(i, worker);
            if (!prepared) {
                break;
            }
            commit(*prepared, names);
            if (!tally.count(prepared->outcome, report(prepared->outcome), options_)) {
                stopAfter(i + 1);
                tally.summary.stopped = i + 1 < rows_.size();
                break;
            }
        }
        return tally.summary;
    }

private:
    struct Slot {
        std::optional<PreparedRow> row;
    };

    // Under the lock: whether a row may be claimed now.
    bool claimable() const { return claimed_ < limit_ && claimed_ < reported_ + ahead_; }

    // Prepares row `index` and leaves it in its slot.
    void prepareInto(std::size_t index, RowWorker& worker) {
        PreparedRow prepared = worker.prepare(index, rows_[index]);
        const bool failed = !prepared.outcome.done();
        bool wake = false;
        {
            std::lock_guard lock(mutex_);
            slots_[index % ahead_].row = std::move(prepared);
            if (failed && options_.stopAtFirstFailure) {
                limit_ = std::min(limit_, index + 1);
            }
            wake = reporterWaiting_;
        }
        if (wake) {
            reporterWake_.notify_one();
        }
    }

    void help() {
        RowWorker worker(archive_, folder_, options_, overlaps_);
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                ++helpersWaiting_;
                helperWake_.wait(lock, [&] { return claimed_ >= limit_ || claimable(); });
                --helpersWaiting_;
                if (claimed_ >= limit_) {
                    return;
                }
                index = claimed_++;
            }
            prepareInto(index, worker);
        }
    }

    // Row `index` once it is prepared, by a helper or here; none when the batch was stopped
    // before it.
    std::optional<PreparedRow> take(std::size_t index, RowWorker& worker) {
        std::optional<PreparedRow> prepared;
        bool wakeHelpers = false;
        {
            std::unique_lock lock(mutex_);
            Slot& slot = slots_[index % ahead_];
            while (!slot.row && index < limit_) {
                if (claimable()) {
                    const std::size_t claim = claimed_++;
                    lock.unlock();
                    prepareInto(claim, worker);
                    lock.lock();
                    continue;
                }
                reporterWaiting_ = true;
                reporterWake_.wait(lock);
                reporterWaiting_ = false;
            }
            if (!slot.row) {
                return std::nullopt;
            }
            prepared = std::move(slot.row);
            slot.row.reset();
            reported_ = index + 1;
            wakeHelpers = helpersWaiting_ > 0 && claimable();
        }
        if (wakeHelpers) {
            helperWake_.notify_all();
        }
        return prepared;
    }

    // No row from `count` on is started any more.
    void stopAfter(std::size_t count) {
        {
            std::lock_guard lock(mutex_);
            limit_ = std::min(limit_, count);
        }
        helperWake_.notify_all();
        reporterWake_.notify_all();
    }

    const Archive& archive_;
    std::span<const std::size_t> rows_;
    const TargetFolder& folder_;
    const ExtractOptions& options_;
    const std::vector<std::size_t>& overlaps_;
    const std::size_t ahead_;

    std::mutex mutex_;
    std::condition_variable helperWake_;
    std::condition_variable reporterWake_;
    std::vector<Slot> slots_;       // row i waits in slot i mod ahead_
    std::size_t claimed_ = 0;       // rows handed out for preparing
    std::size_t reported_ = 0;      // rows taken out by the calling thread
    std::size_t limit_;             // rows from here on are not started
    bool reporterWaiting_ = false;  // the calling thread waits for a row
    int helpersWaiting_ = 0;
};

}  // namespace

unsigned defaultThreadCount() {
    return std::clamp(std::thread::hardware_concurrency(), 1U, 2U);
}

std::string entryLabel(const Entry& entry, std::size_t index) {
    const std::string name = shownText(entry.fileName);
    if (name.empty()) {
        return "entry " + std::to_string(index);
    }
    return escapedControls(name);
}

// What the entries' files take at most: their stated sizes, as far as the stored bytes can hold
// them (an entry outside the archive, or a size no stream of its length reaches, fails alone).
static std::uint64_t batchNeeds(const Archive& archive, std::span<const std::size_t> indices) {
    constexpr std::uint64_t kMostInflatedPerByte = 1032;
    std::uint64_t need = 0;
    for (std::size_t index : indices) {
        if (index >= archive.entries().size()) {
            continue;
        }
        const Entry& entry = archive.entries()[index];
        try {
            const StoredRange range = storedRange(entry, archive.format(), archive.size());
            const auto size = static_cast<std::uint64_t>(entry.size);
            need += isCompressed(entry, archive.format())
                        ? std::min(size, range.length * kMostInflatedPerByte)
                        : size;
        } catch (const ResourceError&) {
            // fails on its own
        }
    }
    return need;
}

static void requireRoomFor(const Archive& archive, std::span<const std::size_t> indices,
                    const TargetFolder& folder) {
    const std::optional<std::uint64_t> free = folder.freeSpace();
    const std::uint64_t need = batchNeeds(archive, indices);
    if (free && need > *free) {
        throw ResourceError(ErrorKind::DiskFull, "the entries need " + std::to_string(need) +
                                                     " bytes, " + folder.pathOf("") + " has " +
                                                     std::to_string(*free) + " bytes free");
    }
}

std::string extractedName(const Entry& entry, const ArchiveFormat& format,
                          const ExtractOptions& options) {
    std::string name = format.outputName(entry, options.convertPictures);
    const std::string_view bitmap = pictureFormatInfo(PictureFormat::Bmp).suffix;
    if (options.pictureFormat != PictureFormat::Bmp &&
        format.convertsToBitmap(entry, options.convertPictures) && name.ends_with(bitmap)) {
        name.replace(name.size() - bitmap.size(), bitmap.size(),
                     pictureFormatInfo(options.pictureFormat).suffix);
    }
    return name;
}

std::string extractedFileName(const Entry& entry, const ArchiveFormat& format,
                              const ExtractOptions& options) {
    return safeFileName(extractedName(entry, format, options));
}

BatchSummary extractEntries(const Archive& archive, std::span<const std::size_t> indices,
                            const TargetFolder& folder, const ExtractOptions& options,
                            const EntryReport& report) {
    requireRoomFor(archive, indices, folder);
    const std::vector<std::size_t> overlaps = partialOverlaps(archive);
    if (options.threads <= 1 || indices.size() <= 1) {
        return extractInline(archive, indices, folder, options, overlaps, report);
    }
    ExtractOptions used = options;
    used.threads = static_cast<unsigned>(std::min<std::size_t>(options.threads, indices.size()));
    ParallelBatch batch(archive, indices, folder, used, overlaps);
    return batch.run(report);
}

ExtractedEntry extractEntry(const Archive& archive, std::size_t index, const TargetFolder& folder,
                            const ExtractOptions& options) {
    const std::size_t indices[] = {index};
    requireRoomFor(archive, indices, folder);
    const std::vector<std::size_t> overlaps = partialOverlaps(archive);
    RowWorker worker(archive, folder, options, overlaps);
    PreparedRow prepared = worker.prepare(0, index);
    NamesWritten names;
    commit(prepared, names);
    return std::move(prepared.outcome);
}

}  // namespace brasvel
