// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The window's remembered settings: a few named texts kept between runs in the program's own
// settings (never the game's). The Qt window keeps them with QSettings; tests use MemorySettings.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace brasvel {

class WindowSettings {
public:
    virtual ~WindowSettings() = default;
    virtual std::optional<std::string> value(std::string_view key) const = 0;
    // An empty value removes the key.
    virtual void setValue(std::string_view key, std::string_view value) = 0;
};

class MemorySettings : public WindowSettings {
public:
    std::optional<std::string> value(std::string_view key) const override {
        const auto found = values.find(key);
        if (found == values.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    void setValue(std::string_view key, std::string_view value) override {
        if (value.empty()) {
            values.erase(std::string(key));
        } else {
            values[std::string(key)] = value;
        }
    }

    std::map<std::string, std::string, std::less<>> values;
};

namespace settings {
inline constexpr const char* kExtractFolder = "extractFolder";
inline constexpr const char* kExternalProgram = "externalProgram";  // a command line, or none
inline constexpr const char* kListLook = "listLook";        // "icons" or "details"
inline constexpr const char* kSortColumn = "sortColumn";    // a column's key, see MainForm
inline constexpr const char* kSortOrder = "sortOrder";      // "ascending" or "descending"
inline constexpr const char* kRecentPrefix = "recent/";     // recent/1 (the latest) to recent/8
inline constexpr std::size_t kRecentArchives = 8;
// folderOrder/1 (the latest) to folderOrder/8: a folder's path, then the file names of its
// archives in the order they win, a line each.
inline constexpr const char* kFolderOrderPrefix = "folderOrder/";
inline constexpr std::size_t kRememberedFolders = 8;
}  // namespace settings

}  // namespace brasvel
