// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Extraction of entries of an archive into a folder: one entry or many, the same way. The entries
// are prepared in the order given by helper threads and by the calling thread itself: each reads
// its entry once from the archive's bytes in memory, inflates it, turns a game picture into a BMP
// and writes the file without putting it under its name yet. The calling thread alone then puts
// the finished files in place and reports them, strictly in the order given, so what appears in
// the folder, and when, is what extracting them one after another would give: with
// stopAtFirstFailure, nothing of an entry after the first failing one is ever left.
//
// Before anything is written, the entries' stated sizes together must fit in the free space of
// the folder's file system, else the batch fails at once with "Disk full". An entry whose stored
// bytes overlap another's in part is damaged and fails. Two entries whose file names are equal
// but for case fail from the second on, naming the first ("Name already written in this run"):
// no entry's file ever replaces another's of the same batch, on any file system. When the
// archive changes while it is read, the entry that finds it fails and the batch ends there.
//
// Memory stays near the largest entry times the number of threads (entries above 16 MB go
// through in pieces of 1 MB), whatever the archive's size or the sizes its entries state; a few
// dozen finished files per thread may wait for their turn, held open, at any time.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "archive/Entry.h"
#include "base/ResourceError.h"
#include "extract/AtomicFile.h"
#include "imaging/PictureFormats.h"

namespace brasvel {

// The failure of an entry whose file name an earlier entry of the same batch wrote, exactly or
// but for the case of its letters: it is not written over that file.
inline constexpr const char* kNameTaken = errorKindText(ErrorKind::NameWrittenInRun);

// Two threads, the calling one included: more gain little against one disk and one folder.
unsigned defaultThreadCount();

struct ExtractOptions {
    bool convertPictures = true;  // PCX entries become pictures; off writes them as stored
    unsigned threads = defaultThreadCount();
    bool stopAtFirstFailure = false;
    // What converted pictures become: Name.bmp, or Name.png (8-bit ones indexed with their
    // palette, 24-bit ones RGB).
    PictureFormat pictureFormat = PictureFormat::Bmp;
};

struct PictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// What became of one entry of a batch.
struct ExtractedEntry {
    std::size_t position = 0;            // its place in the batch's list, from 0
    std::size_t index = 0;               // its place in the archive's directory
    const Entry* entry = nullptr;        // the archive's entry; null for an index out of range
    std::string fileName;                // the UTF-8 name written (empty if the name was refused)
    std::optional<ResourceError> error;  // set when it failed; its entry() names the entry
    std::optional<PictureSize> picture;  // set for a converted picture

    bool done() const { return !error.has_value(); }
};

// Called on the calling thread for each entry as it completes, in the order given. Returning false
// stops the batch: no later entry is started, and none is put in place.
using EntryReport = std::function<bool(const ExtractedEntry&)>;

struct BatchSummary {
    int done = 0;
    int failed = 0;
    bool stopped = false;  // ended before its last entry (a failure or the report asked so)
};

// The name the entry is written under, in archive bytes: the archive format's output name, a
// converted picture's ".bmp" turned into the suffix of options.pictureFormat.
std::string extractedName(const Entry& entry, const ArchiveFormat& format,
                          const ExtractOptions& options);
// The same as a UTF-8 file name, checked by safeFileName (which throws "Unsafe entry name").
std::string extractedFileName(const Entry& entry, const ArchiveFormat& format,
                              const ExtractOptions& options);

// Extracts the entries with the directory indices `indices`, in that order, into `folder`.
// Throws ResourceError "Disk full" before writing anything when they cannot fit.
BatchSummary extractEntries(const Archive& archive, std::span<const std::size_t> indices,
                            const TargetFolder& folder, const ExtractOptions& options,
                            const EntryReport& report);

// One entry, on the calling thread; the outcome says whether it failed.
ExtractedEntry extractEntry(const Archive& archive, std::size_t index, const TargetFolder& folder,
                            const ExtractOptions& options);

// The entry as error messages name it: its file name (UTF-8, control bytes shown as \xNN), or
// "entry N" for an entry whose name is empty.
std::string entryLabel(const Entry& entry, std::size_t index);

}  // namespace brasvel
