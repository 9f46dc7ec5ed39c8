// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What the window remembers between runs, by meaning rather than by key: the extraction folder,
// the program entries are edited with, the list's look and order, the recent archives, and the
// order each game folder's archives win in. It
// reads and writes the named texts of WindowSettings (QSettings in the Qt window, memory in
// tests); a value that is not one it wrote reads as the default.

#include <optional>
#include <string>
#include <vector>

#include "toolkit/ListWidgets.h"
#include "window/WindowSettings.h"

namespace brasvel {

class SettingsStore {
public:
    explicit SettingsStore(WindowSettings& settings);

    // Empty: none chosen.
    std::string extractFolder() const;
    void setExtractFolder(const std::string& folder);
    // A command line; empty: the desktop's choice.
    std::string externalProgram() const;
    void setExternalProgram(const std::string& program);

    ListLook listLook() const;
    void setListLook(ListLook look);
    // The column the list was last sorted by (none: the archive's order) and its direction.
    std::optional<ListColumn> sortColumn() const;
    bool sortAscending() const;
    void setSortOrder(ListColumn column, bool ascending);

    // The archives opened last, the latest first, at most kRecentArchives, each once.
    const std::vector<std::string>& recentArchives() const { return recent_; }
    // `path` (made whole by the caller) goes first.
    void rememberRecent(const std::string& path);
    void forgetRecent(const std::string& path);

    // The order the archives of a game folder (a FolderSession's path) win in, by file names, the
    // winner first; nothing when none is remembered, or what is is no order (too long, an empty
    // name). Remembering puts the folder first of kRememberedFolders.
    std::optional<std::vector<std::string>> folderOrder(const std::string& folder) const;
    void rememberFolderOrder(const std::string& folder, const std::vector<std::string>& order);

private:
    void saveRecent();

    WindowSettings& settings_;
    std::vector<std::string> recent_;
};

}  // namespace brasvel
