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

}  // namespace brasvel::platform
