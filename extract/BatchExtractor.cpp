#include "extract/BatchExtractor.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>
#include <numeric>
#include <thread>

#include "catalogue/Text.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"
#include "imaging/PcxImage.h"

namespace brasvel {
namespace {

// Rows that each worker may run ahead of the reports: enough to keep the threads busy while the
// calling thread repaints, few enough that only a handful of temporary files exist at once.
constexpr std::size_t kRowsAheadPerThread = 4;

// One row's work, up to the file waiting under its temporary name.
struct PreparedRow {
    ExtractedRow outcome;
    std::optional<PendingFile> file;
};

class RowWorker {
public:
    RowWorker(const ExtractSource& source, const TargetFolder& folder,
              const ExtractOptions& options)
        : source_(source), folder_(folder), options_(options) {}

    PreparedRow prepare(std::int32_t row) {
        PreparedRow prepared;
        ExtractedRow& outcome = prepared.outcome;
        outcome.row = row;
        if (!source_.model.isRow(row)) {
            outcome.error =
                ResourceError("No such row", "row " + std::to_string(row) + " is not in the list");
            outcome.error->withEntry("row " + std::to_string(row));
            return prepared;
        }
        const std::uint16_t number = source_.model.ViewOrder[static_cast<std::size_t>(row)];
        outcome.entryNumber = number;
        outcome.entry = source_.model.Catalogue[number];
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
            outcome.error->withEntry(entryLabel(outcome.entry, number));
        }
        if (source_.fileMapping) {
            releaseStoredPages(source_.archive, outcome.entry, source_.kind);
        }
        return prepared;
    }

private:
    PendingFile write(ExtractedRow& outcome) {
        const CatalogueEntry& entry = outcome.entry;
        outcome.fileName = outputFileName(entry, source_.kind, options_.convertPictures);
        const Bytes content = entryContent(source_.archive, entry, source_.kind, buffer_);
        if (!convertsToBitmap(entry, source_.kind, options_.convertPictures)) {
            return folder_.prepare(outcome.fileName, content);
        }
        const ConvertedPicture picture = Conv(content);
        outcome.picture = PictureSize{picture.width, picture.height};
        return folder_.prepare(outcome.fileName, picture.bmp);
    }

    const ExtractSource& source_;
    const TargetFolder& folder_;
    const ExtractOptions& options_;
    std::vector<std::byte> buffer_;  // inflated content, reused from entry to entry
};

// Puts the row's file in place; a failing rename becomes the row's failure.
void commit(PreparedRow& prepared) {
    if (!prepared.file) {
        return;
    }
    try {
        prepared.file->commit();
    } catch (const ResourceError& error) {
        ExtractedRow& outcome = prepared.outcome;
        outcome.error = error;
        outcome.error->withEntry(entryLabel(outcome.entry, outcome.entryNumber));
    }
}

class Tally {
public:
    // Counts the row; false when the batch ends with it.
    bool count(const ExtractedRow& outcome, bool goOn, const ExtractOptions& options) {
        if (outcome.done()) {
            ++summary.done;
        } else {
            ++summary.failed;
        }
        return goOn && (outcome.done() || !options.stopAtFirstFailure);
    }
    BatchSummary summary;
};

BatchSummary extractInline(const ExtractSource& source, std::span<const std::int32_t> rows,
                           const TargetFolder& folder, const ExtractOptions& options,
                           const RowReport& report) {
    RowWorker worker(source, folder, options);
    Tally tally;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PreparedRow prepared = worker.prepare(rows[i]);
        commit(prepared);
        if (!tally.count(prepared.outcome, report(prepared.outcome), options)) {
            tally.summary.stopped = i + 1 < rows.size();
            break;
        }
    }
    return tally.summary;
}

// Workers claim rows in order and leave them in a ring of slots; the calling thread takes them
// out in order, commits and reports them.
class ParallelBatch {
public:
    ParallelBatch(const ExtractSource& source, std::span<const std::int32_t> rows,
                  const TargetFolder& folder, const ExtractOptions& options)
        : source_(source),
          rows_(rows),
          folder_(folder),
          options_(options),
          ahead_(options.threads * kRowsAheadPerThread),
          slots_(ahead_),
          limit_(rows.size()) {}

    BatchSummary run(const RowReport& report) {
        std::vector<std::thread> threads;
        // Stops and joins the workers however the reporting ends, a throwing report included.
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
        for (unsigned i = 0; i < options_.threads; ++i) {
            threads.emplace_back([this] { work(); });
        }
        Tally tally;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            std::optional<PreparedRow> prepared = take(i);
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

    void work() {
        RowWorker worker(source_, folder_, options_);
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                workerWake_.wait(
                    lock, [&] { return claimed_ >= limit_ || claimed_ < reported_ + ahead_; });
                if (claimed_ >= limit_) {
                    return;
                }
                index = claimed_++;
            }
            PreparedRow prepared = worker.prepare(rows_[index]);
            const bool failed = !prepared.outcome.done();
            {
                std::lock_guard lock(mutex_);
                slots_[index % ahead_].row = std::move(prepared);
                if (failed && options_.stopAtFirstFailure) {
                    limit_ = std::min(limit_, index + 1);
                }
            }
            reporterWake_.notify_one();
        }
    }

    // Row `index` once a worker has prepared it; none when the batch was stopped before it.
    std::optional<PreparedRow> take(std::size_t index) {
        std::optional<PreparedRow> prepared;
        {
            std::unique_lock lock(mutex_);
            Slot& slot = slots_[index % ahead_];
            reporterWake_.wait(lock, [&] { return slot.row.has_value() || index >= limit_; });
            if (!slot.row) {
                return std::nullopt;
            }
            prepared = std::move(slot.row);
            slot.row.reset();
            reported_ = index + 1;
        }
        workerWake_.notify_all();
        return prepared;
    }

    // No row from `count` on is started any more.
    void stopAfter(std::size_t count) {
        {
            std::lock_guard lock(mutex_);
            limit_ = std::min(limit_, count);
        }
        workerWake_.notify_all();
        reporterWake_.notify_all();
    }

    const ExtractSource& source_;
    std::span<const std::int32_t> rows_;
    const TargetFolder& folder_;
    const ExtractOptions& options_;
    const std::size_t ahead_;

    std::mutex mutex_;
    std::condition_variable workerWake_;
    std::condition_variable reporterWake_;
    std::vector<Slot> slots_;   // row i waits in slot i mod ahead_
    std::size_t claimed_ = 0;   // rows handed to workers
    std::size_t reported_ = 0;  // rows taken out by the calling thread
    std::size_t limit_;         // rows from here on are not started
};

}  // namespace

unsigned defaultThreadCount() {
    return std::clamp(std::thread::hardware_concurrency(), 1U, 2U);
}

std::string entryLabel(const CatalogueEntry& entry, std::uint16_t entryNumber) {
    static const char* const hex = "0123456789ABCDEF";
    const std::string name = shownText(entryFileName(entry));
    if (name.empty()) {
        return "entry " + std::to_string(entryNumber);
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

BatchSummary extractRows(const ExtractSource& source, std::span<const std::int32_t> rows,
                         const TargetFolder& folder, const ExtractOptions& options,
                         const RowReport& report) {
    if (options.threads <= 1 || rows.size() <= 1) {
        return extractInline(source, rows, folder, options, report);
    }
    ExtractOptions used = options;
    used.threads = static_cast<unsigned>(std::min<std::size_t>(options.threads, rows.size()));
    ParallelBatch batch(source, rows, folder, used);
    return batch.run(report);
}

BatchSummary extractView(const ExtractSource& source, const TargetFolder& folder,
                         const ExtractOptions& options, const RowReport& report) {
    std::vector<std::int32_t> rows(
        static_cast<std::size_t>(std::max(source.model.VisibleCount, 0)));
    std::iota(rows.begin(), rows.end(), 0);
    return extractRows(source, rows, folder, options, report);
}

ExtractedRow extractRow(const ExtractSource& source, std::int32_t row, const TargetFolder& folder,
                        const ExtractOptions& options) {
    RowWorker worker(source, folder, options);
    PreparedRow prepared = worker.prepare(row);
    commit(prepared);
    return std::move(prepared.outcome);
}

}  // namespace brasvel
