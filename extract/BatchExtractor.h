#pragma once

// Extraction of rows of the list into a folder: one entry or many, the same way. The rows are
// prepared in order by helper threads and by the calling thread itself: each reads its entry once
// from the archive's bytes in memory, inflates it, turns a game picture into a BMP and writes the
// file without putting it under its name yet. The calling thread alone then puts the finished
// files in place and reports them, strictly in row order, so what appears in the folder, and
// when, is what extracting the rows one after another would give: with stopAtFirstFailure,
// nothing of a row after the first failing one is ever left.
//
// Memory stays near the largest entry times the number of threads, whatever the archive's size;
// a few dozen finished files per thread may wait for their turn, held open, at any time.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "catalogue/Catalogue.h"
#include "base/ResourceError.h"
#include "extract/AtomicFile.h"

namespace brasvel {

// The archive that rows are extracted from: its bytes, its catalogue with the current view, and
// its kind. All three must stay unchanged while an extraction runs.
struct ExtractSource {
    Bytes archive;
    const CatalogueModel& model;
    ArchiveKind kind;
    // Set when `archive` is a read-only file mapping (ReadOnlyFile::bytes()): the pages entries
    // were read from are then unmapped as the batch goes on (every few megabytes), so memory does
    // not grow with the archive.
    // The file's pages stay in the system's cache. Never set it for bytes of the heap.
    bool fileMapping = false;
};

// Two threads, the calling one included: more gain little against one disk and one folder.
unsigned defaultThreadCount();

struct ExtractOptions {
    bool convertPictures = true;  // PCX entries become Name.bmp; off writes them as stored
    unsigned threads = defaultThreadCount();
    bool stopAtFirstFailure = false;
};

struct PictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// What became of one row.
struct ExtractedRow {
    std::int32_t row = 0;
    std::uint16_t entryNumber = 0;       // the entry's place in the archive's directory
    CatalogueEntry entry;                // the entry the row shows
    std::string fileName;                // the UTF-8 name written (empty if the name was refused)
    std::optional<ResourceError> error;  // set when the row failed; its entry() names the entry
    std::optional<PictureSize> picture;  // set for a converted picture

    bool done() const { return !error.has_value(); }
};

// Called on the calling thread for each row as it completes, in row order. Returning false stops
// the batch: no later row is started, and none is put in place.
using RowReport = std::function<bool(const ExtractedRow&)>;

struct BatchSummary {
    int done = 0;
    int failed = 0;
    bool stopped = false;  // ended before its last row (a failure or the report asked so)
};

// Extracts `rows` (rows of the current view, in the order given) into `folder`.
BatchSummary extractRows(const ExtractSource& source, std::span<const std::int32_t> rows,
                         const TargetFolder& folder, const ExtractOptions& options,
                         const RowReport& report);

// Every row of the current view, 0 to VisibleCount − 1.
BatchSummary extractView(const ExtractSource& source, const TargetFolder& folder,
                         const ExtractOptions& options, const RowReport& report);

// One row, on the calling thread; the outcome says whether it failed.
ExtractedRow extractRow(const ExtractSource& source, std::int32_t row, const TargetFolder& folder,
                        const ExtractOptions& options);

// The entry as error messages name it: its file name (UTF-8, control bytes shown as \xNN), or
// "entry N" for an entry whose name is empty.
std::string entryLabel(const CatalogueEntry& entry, std::uint16_t entryNumber);

}  // namespace brasvel
