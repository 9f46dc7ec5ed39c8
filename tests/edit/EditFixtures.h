// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Shared by the writing tests: a scratch folder, files read and written whole, archives built
// and read back through our own readers.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "edit/ArchiveEdit.h"
#include "extract/EntryContent.h"
#include "tests/support/TestPlatform.h"

namespace brasvel::testing {

namespace fs = std::filesystem;

inline std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeText(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::byte> contentOf(const std::string& text) {
    const auto* begin = reinterpret_cast<const std::byte*>(text.data());
    return {begin, begin + text.size()};
}

inline std::string textOfBytes(const std::vector<std::byte>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A folder of the test's own, removed at the end.
class Scratch {
public:
    Scratch() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "-" + test->name();
        for (char& c : name) {
            c = c == '/' ? '-' : c;
        }
        root_ = fs::temp_directory_path() /
                ("brasvel-edit-" + std::to_string(testProcessId()) + "-" + name);
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    fs::path operator/(const std::string& name) const { return root_ / name; }
    const fs::path& root() const { return root_; }
    // The names in the folder: shows a temporary left behind.
    std::set<std::string> names() const {
        std::set<std::string> result;
        for (const auto& item : fs::directory_iterator(root_)) {
            result.insert(item.path().filename().string());
        }
        return result;
    }

private:
    fs::path root_;
};

// Each entry's edit name and content, in directory order, as our readers give them back.
inline std::vector<std::pair<std::string, std::string>> readBack(const fs::path& path,
                                                                 const ArchiveFormat& format) {
    const Archive archive = Archive::open(path.string(), format);
    EXPECT_FALSE(archive.directoryError().has_value());
    std::vector<std::pair<std::string, std::string>> result;
    for (const Entry& entry : archive.entries()) {
        result.emplace_back(editName(entry), textOfBytes(entryContent(archive, entry)));
    }
    return result;
}

}  // namespace brasvel::testing
