// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/SettingsStore.h"

#include <algorithm>
#include <iterator>

namespace brasvel {
namespace {

// The keys the sort column is remembered by, in the order of ListColumn.
constexpr const char* kColumnKeys[] = {"name",  "type",   "size",    "storedSize",
                                       "ratio", "offset", "archive", "shadows"};
static_assert(std::size(kColumnKeys) == kListColumnCount);

std::string recentKey(std::size_t place) {
    return settings::kRecentPrefix + std::to_string(place);
}

std::string folderOrderKey(std::size_t place) {
    return settings::kFolderOrderPrefix + std::to_string(place);
}

// What a remembered order may be: longer ones, or more names, are no order this window wrote.
constexpr std::size_t kRememberedOrderBytes = 64 * 1024;
constexpr std::size_t kRememberedNames = 1000;

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    while (true) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            return lines;
        }
        text.remove_prefix(end + 1);
    }
}

// The folder and the names a remembered order holds, a line each; nothing when it is no order.
std::optional<std::vector<std::string>> parsedOrder(const std::optional<std::string>& value) {
    if (!value || value->empty() || value->size() > kRememberedOrderBytes) {
        return std::nullopt;
    }
    std::vector<std::string> lines = linesOf(*value);
    if (lines.size() > kRememberedNames + 1) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i].find_first_of("/\\") != std::string::npos) {
            return std::nullopt;
        }
    }
    return lines;
}

}  // namespace

SettingsStore::SettingsStore(WindowSettings& settings) : settings_(settings) {
    for (std::size_t place = 1; place <= settings::kRecentArchives; ++place) {
        std::optional<std::string> path = settings_.value(recentKey(place));
        if (path && !path->empty() && std::ranges::find(recent_, *path) == recent_.end()) {
            recent_.push_back(std::move(*path));
        }
    }
}

std::string SettingsStore::extractFolder() const {
    return settings_.value(settings::kExtractFolder).value_or("");
}

void SettingsStore::setExtractFolder(const std::string& folder) {
    settings_.setValue(settings::kExtractFolder, folder);
}

std::string SettingsStore::externalProgram() const {
    return settings_.value(settings::kExternalProgram).value_or("");
}

void SettingsStore::setExternalProgram(const std::string& program) {
    settings_.setValue(settings::kExternalProgram, program);
}

ListLook SettingsStore::listLook() const {
    return settings_.value(settings::kListLook) == "details" ? ListLook::Details : ListLook::Icons;
}

void SettingsStore::setListLook(ListLook look) {
    settings_.setValue(settings::kListLook, look == ListLook::Details ? "details" : "icons");
}

std::optional<ListColumn> SettingsStore::sortColumn() const {
    const std::optional<std::string> key = settings_.value(settings::kSortColumn);
    for (std::size_t column = 0; column < std::size(kColumnKeys); ++column) {
        if (key == kColumnKeys[column]) {
            return static_cast<ListColumn>(column);
        }
    }
    return std::nullopt;
}

bool SettingsStore::sortAscending() const {
    return settings_.value(settings::kSortOrder) != "descending";
}

void SettingsStore::setSortOrder(ListColumn column, bool ascending) {
    settings_.setValue(settings::kSortColumn, kColumnKeys[static_cast<std::size_t>(column)]);
    settings_.setValue(settings::kSortOrder, ascending ? "ascending" : "descending");
}

void SettingsStore::rememberRecent(const std::string& path) {
    std::erase(recent_, path);
    recent_.insert(recent_.begin(), path);
    if (recent_.size() > settings::kRecentArchives) {
        recent_.resize(settings::kRecentArchives);
    }
    saveRecent();
}

void SettingsStore::forgetRecent(const std::string& path) {
    std::erase(recent_, path);
    saveRecent();
}

void SettingsStore::saveRecent() {
    for (std::size_t place = 1; place <= settings::kRecentArchives; ++place) {
        settings_.setValue(recentKey(place), place <= recent_.size() ? recent_[place - 1] : "");
    }
}

std::optional<std::vector<std::string>> SettingsStore::folderOrder(
    const std::string& folder) const {
    for (std::size_t place = 1; place <= settings::kRememberedFolders; ++place) {
        std::optional<std::vector<std::string>> lines =
            parsedOrder(settings_.value(folderOrderKey(place)));
        if (lines && lines->front() == folder) {
            lines->erase(lines->begin());
            return lines;
        }
    }
    return std::nullopt;
}

void SettingsStore::rememberFolderOrder(const std::string& folder,
                                        const std::vector<std::string>& order) {
    std::string value = folder;
    for (const std::string& name : order) {
        // A name of several lines would read back as other names: it goes unremembered (new).
        if (name.find_first_of("\r\n") == std::string::npos) {
            value += '\n' + name;
        }
    }
    std::vector<std::string> kept{value};
    for (std::size_t place = 1; place <= settings::kRememberedFolders; ++place) {
        const std::optional<std::string> other = settings_.value(folderOrderKey(place));
        const std::optional<std::vector<std::string>> lines = parsedOrder(other);
        if (lines && lines->front() != folder && kept.size() < settings::kRememberedFolders) {
            kept.push_back(*other);
        }
    }
    for (std::size_t place = 1; place <= settings::kRememberedFolders; ++place) {
        settings_.setValue(folderOrderKey(place),
                           place <= kept.size() ? kept[place - 1] : std::string());
    }
}

}  // namespace brasvel
