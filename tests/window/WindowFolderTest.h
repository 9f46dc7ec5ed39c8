// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A scratch folder per window test, with an "out" folder inside, removed afterwards; and the
// window's logic over a headless toolkit and a fake player.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "tests/support/TestPlatform.h"
#include "tests/window/FakeWavePlayer.h"
#include "toolkit/HeadlessToolkit.h"
#include "window/MainForm.h"

namespace brasvel {

class WindowFolderTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(folder / "out"); }

    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    }

    std::set<std::string> filesIn(const std::filesystem::path& where) const {
        std::set<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(where)) {
            names.insert(item.path().filename().string());
        }
        return names;
    }

    std::string read(const std::filesystem::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Gone after the window, which may hold an archive in it open.
    testing::ScratchFolder scratch{"brasvel-window"};
    const std::filesystem::path folder = scratch.path();
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form{ui, player};
};

}  // namespace brasvel
