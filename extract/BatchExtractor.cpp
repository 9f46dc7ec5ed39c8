#include "extract/BatchExtractor.h"

#include <sys/resource.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <new>
#include <thread>

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
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        rows = std::min(rows, static_cast<std::size_t>(limit.rlim_cur / 4));
    }
    return std::max<std::size_t>(rows, 1);
}

// Pages of a mapped archive are given back in runs of at least this many stored bytes: one
// release per entry costs a system call and, with several threads, a flush of every core's
// address cache.
constexpr std::size_t kReleaseRun = std::size_t{2} << 20;

// One row's work, up to the file waiting for its commit.
struct PreparedRow {
    ExtractedEntry outcome;
    std::optional<PendingFile> file;
};

// Gives back the mapped pages that the entries read so far lie on, in runs: the span from the
// lowest to the highest stored byte read since the last release. A page another thread still reads
// is simply mapped again.
class PageReleaser {
public:
    explicit PageReleaser(const Archive& archive) : archive_(archive) {}
    ~PageReleaser() { release(); }
    PageReleaser(const PageReleaser&) = delete;
    PageReleaser& operator=(const PageReleaser&) = delete;

    void read(const Entry& entry) {
        if (!archive_.isMapped()) {
            return;
        }
        Bytes stored;
        try {
            stored = storedBytes(archive_.bytes(), entry, archive_.format());
        } catch (const ResourceError&) {
            return;  // never read
        }
        if (stored.empty()) {
            return;
        }
        const std::size_t begin = static_cast<std::size_t>(stored.data() - archive_.bytes().data());
        low_ = std::min(low_, begin);
        high_ = std::max(high_, begin + stored.size());
        pending_ += stored.size();
        if (pending_ >= kReleaseRun) {
            release();
        }
    }

    void release() noexcept {
        if (low_ < high_) {
            releasePages(archive_.bytes(), low_, high_);
        }
        low_ = SIZE_MAX;
        high_ = 0;
        pending_ = 0;
    }

private:
    const Archive& archive_;
    std::size_t low_ = SIZE_MAX;
    std::size_t high_ = 0;
    std::size_t pending_ = 0;
};

class RowWorker {
public:
    RowWorker(const Archive& archive, const TargetFolder& folder, const ExtractOptions& options)
        : archive_(archive), folder_(folder), options_(options), pages_(archive) {}

    PreparedRow prepare(std::size_t position, std::size_t index) {
        PreparedRow prepared;
        ExtractedEntry& outcome = prepared.outcome;
        outcome.position = position;
        outcome.index = index;
        if (index >= archive_.entries().size()) {
            outcome.error = ResourceError("No such entry", "entry " + std::to_string(index) +
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
            outcome.error = ResourceError("Not enough memory");
        } catch (const std::exception& error) {
            outcome.error = ResourceError(error.what());
        }
        if (outcome.error) {
            outcome.error->withEntry(entryLabel(*outcome.entry, index));
        }
        pages_.read(*outcome.entry);
        return prepared;
    }

private:
    PendingFile write(ExtractedEntry& outcome) {
        const Entry& entry = *outcome.entry;
        const ArchiveFormat& format = archive_.format();
        outcome.fileName = outputFileName(entry, format, options_.convertPictures);
        const Bytes content = entryContent(archive_.bytes(), entry, format, buffer_);
        if (!format.convertsToBitmap(entry, options_.convertPictures)) {
            return folder_.prepare(outcome.fileName, content);
        }
        const Picture picture = decodePcx(content);
        outcome.picture = PictureSize{picture.width, picture.height};
        return folder_.prepare(outcome.fileName, encodePicture(picture, PictureFormat::Bmp));
    }

    const Archive& archive_;
    const TargetFolder& folder_;
    const ExtractOptions& options_;
    std::vector<std::byte> buffer_;  // inflated content, reused from entry to entry
    PageReleaser pages_;
};

// Puts the row's file in place; a failure to do so becomes the row's failure.
void commit(PreparedRow& prepared) {
    if (!prepared.file) {
        return;
    }
    try {
        prepared.file->commit();
    } catch (const ResourceError& error) {
        ExtractedEntry& outcome = prepared.outcome;
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
        return goOn && (outcome.done() || !options.stopAtFirstFailure);
    }
    BatchSummary summary;
};

BatchSummary extractInline(const Archive& archive, std::span<const std::size_t> rows,
                           const TargetFolder& folder, const ExtractOptions& options,
                           const EntryReport& report) {
    RowWorker worker(archive, folder, options);
    Tally tally;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PreparedRow prepared = worker.prepare(i, rows[i]);
        commit(prepared);
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
                  const TargetFolder& folder, const ExtractOptions& options)
        : archive_(archive),
          rows_(rows),
          folder_(folder),
          options_(options),
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
        RowWorker worker(archive_, folder_, options_);
        Tally tally;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            std::optional<PreparedRow> prepared = take(i, worker);
            if (!prepared) {
                break;
            }
            commit(*prepared);
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
        RowWorker worker(archive_, folder_, options_);
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
    static const char* const hex = "0123456789ABCDEF";
    const std::string name = shownText(entry.fileName);
    if (name.empty()) {
        return "entry " + std::to_string(index);
    }
    std::string label;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            label += "\\x";
            label += hex[byte >> 4];
            label += hex[byte & 0xF];
        } else {
            label += c;
        }
    }
    return label;
}

BatchSummary extractEntries(const Archive& archive, std::span<const std::size_t> indices,
                            const TargetFolder& folder, const ExtractOptions& options,
                            const EntryReport& report) {
    if (options.threads <= 1 || indices.size() <= 1) {
        return extractInline(archive, indices, folder, options, report);
    }
    ExtractOptions used = options;
    used.threads = static_cast<unsigned>(std::min<std::size_t>(options.threads, indices.size()));
    ParallelBatch batch(archive, indices, folder, used);
    return batch.run(report);
}

ExtractedEntry extractEntry(const Archive& archive, std::size_t index, const TargetFolder& folder,
                            const ExtractOptions& options) {
    RowWorker worker(archive, folder, options);
    PreparedRow prepared = worker.prepare(0, index);
    commit(prepared);
    return std::move(prepared.outcome);
}

}  // namespace brasvel
