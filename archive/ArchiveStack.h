// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Many archives of one folder read as one, as the game reads its data folder: a name held by
// several archives (its file name folded by foldedText, the game's rule) is the copy of the
// archive that comes first in the winning order; the others are shadowed by it. The winning
// order is the user's to arrange; by default the archive changed most recently wins.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "archive/Entry.h"

namespace brasvel {

// An archive of the stack as its order is decided: its file name and when it last changed.
struct StackedArchive {
    std::string name;         // the file name, without its folder
    std::int64_t modifiedNs = 0;
};

// The default winning order, as positions in `archives`: the most recently changed first,
// archives changed at the same time by name.
std::vector<std::size_t> newestFirst(std::span<const StackedArchive> archives);

// The winning order a user arranged, by file names (`arranged`, the first wins), over the
// archives there are now: names of no archive, and repeated ones, are passed over; archives the
// names leave out (new to the folder) come first, in the default order.
std::vector<std::size_t> arrangedOrder(std::span<const StackedArchive> archives,
                                       std::span<const std::string> arranged);

// One copy of an entry in the stack.
struct StackedEntry {
    std::size_t archive = 0;  // the archive's position in the winning order
    std::size_t entry = 0;    // its directory index in that archive
    std::size_t shadows = 0;  // for a winning copy: how many copies it shadows
    bool shadowed = false;    // a copy that another archive's wins over
    std::size_t winner = 0;   // the position in the stack of the copy that wins for its name
};

// Every entry of `archives` (their entries, in the winning order): each winning copy, in the
// order the names are first met, followed by the copies it shadows, in the winning order. A name
// held twice within one archive shadows its later copy too.
std::vector<StackedEntry> stackEntries(std::span<const std::vector<Entry>* const> archives);

}  // namespace brasvel
