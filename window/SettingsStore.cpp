// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/SettingsStore.h"

#include <algorithm>
#include <iterator>

namespace brasvel {
namespace {

// The keys the sort column is remembered by, in the order of ListColumn.
constexpr const char* kColumnKeys[] = {"name", "type", "size", "storedSize", "ratio", "offset"};
static_assert(std::size(kColumnKeys) == kListColumnCount);

std::string recentKey(std::size_t place) {
    return settings::kRecentPrefix + std::to_string(place);
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

}  // namespace brasvel
