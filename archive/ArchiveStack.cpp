// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/ArchiveStack.h"

#include <algorithm>
#include <map>
#include <numeric>

#include "base/Text.h"

namespace brasvel {

std::vector<std::size_t> newestFirst(std::span<const StackedArchive> archives) {
    std::vector<std::size_t> order(archives.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (archives[a].modifiedNs != archives[b].modifiedNs) {
            return archives[a].modifiedNs > archives[b].modifiedNs;
        }
        return archives[a].name < archives[b].name;
    });
    return order;
}

std::vector<std::size_t> arrangedOrder(std::span<const StackedArchive> archives,
                                       std::span<const std::string> arranged) {
    std::vector<bool> placed(archives.size(), false);
    std::vector<std::size_t> named;
    for (const std::string& name : arranged) {
        for (std::size_t i = 0; i < archives.size(); ++i) {
            if (!placed[i] && archives[i].name == name) {
                placed[i] = true;
                named.push_back(i);
                break;
            }
        }
    }
    std::vector<std::size_t> order;
    for (const std::size_t i : newestFirst(archives)) {
        if (!placed[i]) {
            order.push_back(i);
        }
    }
    order.insert(order.end(), named.begin(), named.end());
    return order;
}

std::vector<StackedEntry> stackEntries(std::span<const std::vector<Entry>* const> archives) {
    // Each name's copies, in the winning order; names in the order first met.
    std::map<std::string, std::size_t> groupOfName;
    std::vector<std::vector<StackedEntry>> groups;
    for (std::size_t archive = 0; archive < archives.size(); ++archive) {
        const std::vector<Entry>& entries = *archives[archive];
        for (std::size_t entry = 0; entry < entries.size(); ++entry) {
            const auto [found, isNew] =
                groupOfName.try_emplace(foldedText(entries[entry].fileName), groups.size());
            if (isNew) {
                groups.emplace_back();
            }
            groups[found->second].push_back({archive, entry});
        }
    }
    std::vector<StackedEntry> stack;
    for (std::vector<StackedEntry>& copies : groups) {
        const std::size_t winner = stack.size();
        for (std::size_t i = 0; i < copies.size(); ++i) {
            StackedEntry copy = copies[i];
            copy.shadowed = i > 0;
            copy.shadows = i == 0 ? copies.size() - 1 : 0;
            copy.winner = winner;
            stack.push_back(copy);
        }
    }
    return stack;
}

}  // namespace brasvel
