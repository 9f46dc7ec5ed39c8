// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Reading an archive's directory: a pure function of the archive's bytes. It knows nothing of
// rows or panels; the window and the command line build what they show from the entries.
//
// An entry is kept only when all of its row is there. A directory that ends early keeps the
// entries read so far, and its error says so ("Read beyond end of file"); a negative count is
// damage found before any entry is read.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/Entry.h"
#include "base/ByteReader.h"
#include "base/ResourceError.h"

namespace brasvel {

struct Directory {
    std::vector<Entry> entries;
    std::int32_t statedCount = 0;               // the count the archive's header states
    std::optional<ResourceError> error;         // set when the directory could not be read whole
};

// Called after each entry read, with the number read so far.
using EntryProgress = std::function<void(std::size_t entriesRead)>;

Directory readDirectory(const ArchiveFormat& format, Bytes archive,
                        const EntryProgress& progress = {});

// The same from the archive's first bytes, at least up to the end of its rows, when the whole
// archive is `archiveSize` bytes long.
Directory readDirectory(const ArchiveFormat& format, Bytes head, std::uint64_t archiveSize,
                        const EntryProgress& progress = {});

}  // namespace brasvel
