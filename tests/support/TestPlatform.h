// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What the tests need from the system, the same on Linux and on Windows (the Windows build's
// tests run under wine): scratch folders, shell commands and their exit codes, the process id.
// Tests that need what Windows lacks (FIFOs, sockets, signals sent with kill, /proc, symbolic
// links, permission bits) skip themselves there with kLinuxOnly as the reason.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

#include "base/Utf8Path.h"

#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace brasvel::testing {

#ifdef _WIN32
inline constexpr bool kOnWindows = true;
#else
inline constexpr bool kOnWindows = false;
#endif
inline constexpr const char* kLinuxOnly = "needs what only Linux has";

inline long testProcessId() {
#ifdef _WIN32
    return ::_getpid();
#else
    return ::getpid();
#endif
}

// A new, empty folder under the system's temporary folder, named "PREFIX-XXXXXX".
inline std::filesystem::path makeScratchFolder(const std::string& prefix) {
    namespace fs = std::filesystem;
#ifdef _WIN32
    std::mt19937 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder =
            fs::temp_directory_path() / (prefix + "-" + std::to_string(testProcessId()) + "-" +
                                         std::to_string(generator() % 1000000));
        if (fs::create_directory(folder)) {
            return folder;
        }
    }
    throw std::runtime_error("cannot make a scratch folder");
#else
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    return pattern;
#endif
}

// A scratch folder for as long as the object lives, removed with everything in it when it goes.
// Declared before what may hold a file in it open, it goes after that: Windows removes no folder
// with a file open in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix = "brasvel-extract")
        : path_(makeScratchFolder(prefix)) {}
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return platform::utf8Path(path_); }
    // Names are UTF-8, as the program writes them, on every system.
    std::filesystem::path operator/(const std::string& name) const {
        return path_ / platform::fileSystemPath(name);
    }

    bool has(const std::string& name) const {
        return std::filesystem::exists(std::filesystem::symlink_status(*this / name));
    }
    std::string read(const std::string& name) const {
        std::ifstream in(*this / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void write(const std::string& name, const std::string& content) const {
        std::ofstream(*this / name, std::ios::binary) << content;
    }
    // Every name in the folder, temporaries included.
    std::set<std::string> names() const {
        std::set<std::string> result;
        for (const auto& item : std::filesystem::directory_iterator(path_)) {
            result.insert(platform::utf8Path(item.path().filename()));
        }
        return result;
    }

private:
    std::filesystem::path path_;
};

// Runs a command line written for sh — words quoted with '...', "cd FOLDER && ..." — and returns
// its exit code, -1 when it did not exit. On Windows cmd runs it: quotes become "...", cd changes
// the drive too.
inline int shellExitCode(std::string command) {
#ifdef _WIN32
    for (char& c : command) {
        c = c == '\'' ? '"' : c;
    }
    if (command.starts_with("cd ")) {
        command.insert(3, "/d ");
    }
    // cmd /c takes the line's first and last quotes away when it starts with one. Under load,
    // wine's cmd now and then fails to start a program it found a moment before and answers
    // 9009, "not recognised"; no program of ours exits with that code, so it is tried again.
    constexpr int kCmdCouldNotStart = 9009;
    int code = kCmdCouldNotStart;
    for (int attempt = 0; attempt < 3 && code == kCmdCouldNotStart; ++attempt) {
        code = std::system(("\"" + command + "\"").c_str());
    }
    return code;
#else
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

}  // namespace brasvel::testing
