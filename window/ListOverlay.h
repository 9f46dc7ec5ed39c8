// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What a comparison or a search inside entries lays over the entry list: which of the open
// archive's entries stay listed, a note for each in the list's note column, and rows after them
// for entries of another archive that the open one lacks. Those rows show no entry of the open
// archive: selecting one selects nothing.

#include <cstddef>
#include <string>
#include <vector>

#include "archive/Entry.h"

namespace brasvel {

class ListOverlay {
public:
    virtual ~ListOverlay() = default;
    // The note column's title (translated).
    virtual std::string noteHeader() const = 0;
    // Whether entry `index` of the open archive stays listed.
    virtual bool keeps(std::size_t index) const = 0;
    virtual std::string note(std::size_t index) const = 0;
    // Entries listed after the open archive's, with their notes; the type box and the search box
    // narrow them as they narrow the others.
    virtual const std::vector<Entry>& extraEntries() const = 0;
    virtual std::string extraNote(std::size_t extra) const = 0;
};

}  // namespace brasvel
