// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What the hardening tests share: a scratch area per test, a snapshot of a folder tree that shows
// any file created, removed or changed in it, and a runner of the brasvel-res program.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "base/ByteReader.h"

namespace brasvel::hardening {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes asBytes(const std::string& bytes) {
    return {reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()};
}

// An archive held in memory, as the commands open one.
inline Archive archiveOf(const std::string& bytes, const ArchiveFormat& format) {
    const Bytes view = asBytes(bytes);
    return Archive::fromBytes(std::vector<std::byte>(view.begin(), view.end()), format);
}

// The directory indices of every entry, in order: what an extract-all works on.
inline std::vector<std::size_t> everyIndex(const Archive& archive) {
    std::vector<std::size_t> indices(archive.entries().size());
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = i;
    }
    return indices;
}

// A folder of its own for the running test, removed at the end.
class ScratchArea {
public:
    ScratchArea() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "-" + test->name();
        for (char& c : name) {
            if (c == '/') {
                c = '-';
            }
        }
        root_ = fs::temp_directory_path() /
                ("brasvel-hardening-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~ScratchArea() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    ScratchArea(const ScratchArea&) = delete;
    ScratchArea& operator=(const ScratchArea&) = delete;

    const fs::path& root() const { return root_; }

private:
    fs::path root_;
};

// Everything observable about one file or folder of a tree.
struct FileState {
    fs::file_type type = fs::file_type::none;
    std::string content;  // regular files only
    std::int64_t modifiedNs = 0;
    friend bool operator==(const FileState&, const FileState&) = default;
    friend void PrintTo(const FileState& state, std::ostream* out) {
        *out << (state.type == fs::file_type::directory ? "folder" : "file") << " of "
             << state.content.size() << " bytes, modified at " << state.modifiedNs << " ns";
    }
};

inline std::int64_t modifiedNs(const fs::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
           status.st_mtim.tv_nsec;
}

// Every file and folder under `root` (by path relative to it), except the folders `skipped`
// and what they hold.
inline std::map<std::string, FileState> snapshot(const fs::path& root,
                                                 const std::vector<fs::path>& skipped = {}) {
    std::map<std::string, FileState> states;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path& path = it->path();
        if (std::find(skipped.begin(), skipped.end(), path) != skipped.end()) {
            it.disable_recursion_pending();
            continue;
        }
        FileState state;
        state.type = it->symlink_status().type();
        if (state.type == fs::file_type::regular) {
            state.content = readFile(path);
            state.modifiedNs = modifiedNs(path);
        }
        states[fs::relative(path, root).string()] = state;
    }
    return states;
}

// The names in a folder, temporaries included.
inline std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Whether any name in `folder` is a temporary of an unfinished file.
inline bool holdsTemporary(const fs::path& folder) {
    for (const std::string& name : namesIn(folder)) {
        if (name.ends_with(".extracting")) {
            return true;
        }
    }
    return false;
}

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string errors;
};

inline std::string quoted(const std::string& argument) {
    std::string result = "'";
    for (char c : argument) {
        if (c == '\'') {
            result += "'\\''";
        } else {
            result += c;
        }
    }
    return result + "'";
}

// Runs brasvel-res with `arguments`; its output goes through files in `logFolder`.
inline ProgramRun runProgram(const std::vector<std::string>& arguments, const fs::path& logFolder) {
    fs::create_directories(logFolder);
    const fs::path out = logFolder / "stdout";
    const fs::path errors = logFolder / "stderr";
    std::string command = quoted(BRASVEL_RES_PROGRAM);
    for (const std::string& argument : arguments) {
        command += " " + quoted(argument);
    }
    command += " >" + quoted(out.string()) + " 2>" + quoted(errors.string()) + " </dev/null";
    const int status = std::system(command.c_str());
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(out);
    run.errors = readFile(errors);
    return run;
}

// A tmpfs of `size` mounted over a fresh folder for the test's length.
class SmallFileSystem {
public:
    SmallFileSystem(const fs::path& where, const std::string& size) : where_(where) {
        fs::create_directories(where);
        const std::string options = "size=" + size + ",mode=0755";
        if (::mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) == 0) {
            mounted_ = true;
        } else {
            why_ = std::strerror(errno);
        }
    }
    ~SmallFileSystem() {
        if (mounted_) {
            ::umount2(where_.c_str(), MNT_DETACH);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }
    // Makes it read-only; false (and why() says why) when the system refuses.
    bool makeReadOnly() {
        if (::mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            why_ = std::strerror(errno);
            return false;
        }
        return true;
    }

private:
    fs::path where_;
    bool mounted_ = false;
    std::string why_;
};

#define SKIP_UNLESS_MOUNTED(fileSystem)                                     \
    if (!(fileSystem).mounted()) {                                          \
        GTEST_SKIP() << "cannot mount a tmpfs here (" << (fileSystem).why() \
                     << "); the write function's failures cover this case"; \
    }

}  // namespace brasvel::hardening
