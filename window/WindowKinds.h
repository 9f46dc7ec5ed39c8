// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// How the window shows each kind of archive: the open dialog's pattern, and how its progress bars
// move while a directory is listed and while a batch is extracted from the tool bar or the menu.
// A new kind of archive gets its row here beside its ArchiveFormat.

#include <string_view>

#include "archive/ArchiveFormat.h"

namespace brasvel {

// How a batch over `rows` rows moves a progress bar of 0 to 100: by `advance` at every row whose
// number is a multiple of the step.
struct BatchProgress {
    int (*step)(int rows);
    int advance;
};

struct WindowKind {
    std::string_view dialogPattern;  // the open dialog's pattern, "*.Lod"
    // The listing's progress bar rises by `listingStep` at entries 0, listingEvery, 2 × ...
    int listingEvery;
    int listingStep;
    BatchProgress batchProgress;      // extract-all from the tool bar
    BatchProgress menuBatchProgress;  // extract-all from the menu
};

const WindowKind& windowKindOf(const ArchiveFormat& format);
// A game folder's list, of archives of every kind: its batches move the bars by one in a hundred.
const WindowKind& folderWindowKind();

}  // namespace brasvel
