// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <filesystem>
#include <string>

namespace brasvel::platform {

// A UTF-8 path as the standard library's path, and back: on Windows a std::string would be taken
// in the system's code page, losing every letter outside it.
inline std::filesystem::path fileSystemPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The parts of a UTF-8 path, and a name joined to a folder, as UTF-8 again.
inline std::string fileNameOfPath(const std::string& utf8) {
    return utf8Path(fileSystemPath(utf8).filename());
}
inline std::string folderOfPath(const std::string& utf8) {
    return utf8Path(fileSystemPath(utf8).parent_path());
}
inline std::string joinedPath(const std::string& folder, const std::string& name) {
    return utf8Path(fileSystemPath(folder) / fileSystemPath(name));
}

}  // namespace brasvel::platform
