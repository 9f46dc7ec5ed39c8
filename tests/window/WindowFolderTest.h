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
#include <vector>

#include "tests/support/TestPlatform.h"
#include "tests/window/FakeWavePlayer.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "toolkit/HeadlessToolkit.h"
#include "window/MainForm.h"

namespace brasvel {

// A palette of 256 distinct colours, for pictures and sprites made in the window's tests.
inline std::string rampPalette() {
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        palette += static_cast<char>(i);
        palette += static_cast<char>(255 - i);
        palette += static_cast<char>(i / 2);
    }
    return palette;
}

// A sprite of 5 x 4 in two blocks of 3 and 2 frames; frame n (from 1) is filled with index 20 + n.
inline std::string fiveFrameSprite() {
    writers::DefWriter writer(0x42, 5, 4, rampPalette());
    writers::DefBlock first;
    writers::DefBlock second;
    second.identifier = 2;
    for (int n = 1; n <= 5; ++n) {
        writers::DefFrame frame;
        frame.name = "F" + std::to_string(n);
        frame.sprite = writers::PixelGrid(3, 2, static_cast<std::uint8_t>(20 + n));
        frame.left = 1;
        frame.top = 1;
        (n <= 3 ? first : second).frames.push_back(frame);
    }
    return writer.block(first).block(second).build();
}

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

    // The captions the list shows, a changed row's marked " *".
    std::vector<std::string> captions() const {
        std::vector<std::string> shown;
        for (const HeadlessRow& row : ui.rows) {
            shown.push_back(row.shownCaption() + (row.changed ? " *" : ""));
        }
        return shown;
    }

    // A click on the row showing `caption`.
    void select(const std::string& caption) {
        for (std::size_t row = 0; row < ui.rows.size(); ++row) {
            if (ui.rows[row].shownCaption() == caption) {
                form.numitem(static_cast<int>(row), true);
                return;
            }
        }
        ADD_FAILURE() << caption << " not listed";
    }

    // Gone after the window, which may hold an archive in it open.
    testing::ScratchFolder scratch{"brasvel-window"};
    const std::filesystem::path folder = scratch.path();
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form{ui, player};
};

}  // namespace brasvel
