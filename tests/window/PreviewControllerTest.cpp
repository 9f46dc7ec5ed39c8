// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The preview part on its own: what drops its kept content, and what stops a sprite's playback.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/support/CallbackEvents.h"
#include "tests/support/TestPlatform.h"
#include "tests/window/FakeWavePlayer.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "toolkit/HeadlessToolkit.h"
#include "window/PreviewController.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using namespace writers;

constexpr std::size_t kSprite = 0;
constexpr std::size_t kNote = 1;

std::string sprite() {
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        palette += std::string(3, static_cast<char>(i));
    }
    DefBlock block;
    for (std::uint8_t n = 1; n <= 3; ++n) {
        DefFrame frame;
        frame.name = "F" + std::to_string(n);
        frame.compression = 1;
        frame.sprite = PixelGrid(4, 3, static_cast<std::uint8_t>(10 + n));
        block.frames.push_back(frame);
    }
    return DefWriter(0x42, 6, 5, palette).block(block).build();
}

std::vector<std::byte> bytesOf(std::string_view text) {
    const auto* first = reinterpret_cast<const std::byte*>(text.data());
    return {first, first + text.size()};
}

class PreviewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder);
        open("first.lod", "first note");
        events.onFrameScrollChange = [this] { preview.frameScrollChanged(); };
        ui.setEvents(&events);
    }

    void open(const std::string& name, const std::string& note) {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary)
            << LodWriter().add("HERO.DEF", sprite(), true).add("NOTE.TXT", note).build();
        session.open(path, kLodFormat, [](std::size_t) {},
                     [](const ArchiveFormat&) { return true; });
    }

    void showNote() {
        preview.select(kNote);
        preview.showSelected();
    }

    // Gone after the window, which may hold an archive in it open.
    testing::ScratchFolder scratch{"brasvel-preview-part"};
    const fs::path folder = scratch.path();
    testing::CallbackEvents events;
    HeadlessToolkit ui;
    FakeWavePlayer player;
    ArchiveSession session;
    PreviewController preview{ui, player, session};
};

TEST_F(PreviewControllerTest, whatItIsToldChangedIsReadAgain) {
    const std::vector<std::pair<const char*, std::function<void()>>> changes{
        {"an edit of the entry", [this] { session.edit().put("NOTE.TXT", bytesOf("second note")); }},
        {"another archive", [this] { open("second.lod", "second note"); }},
    };
    for (const auto& [change, make] : changes) {
        SCOPED_TRACE(change);
        open("first.lod", "first note");
        preview.listChanged();
        if (!preview.isOn()) {
            preview.toggle(false);
        }
        showNote();
        ASSERT_EQ(ui.previewText, "first note");
        make();
        preview.listChanged();
        showNote();
        EXPECT_EQ(ui.previewText, "second note");
    }
}

TEST_F(PreviewControllerTest, playbackStopsOnEachOfItsStops) {
    const std::vector<std::pair<const char*, std::function<void(PreviewController&)>>> stops{
        {"Play pressed again", [](PreviewController& part) { part.playFrames(); }},
        {"the preview closed", [](PreviewController& part) { part.toggle(false); }},
        {"no entry selected", [](PreviewController& part) {
             part.select(std::nullopt);
             part.frameTimerTick();
         }},
        {"another entry selected", [](PreviewController& part) {
             part.select(kNote);
             part.frameTimerTick();
         }},
        {"the list changed", [](PreviewController& part) {
             part.listChanged();
             part.frameTimerTick();
         }},
    };
    for (const auto& [stop, make] : stops) {
        SCOPED_TRACE(stop);
        preview.resetFrameScroll();
        preview.select(kSprite);
        if (!preview.isOn()) {
            preview.toggle(false);
        }
        preview.showSelected();
        preview.playFrames();
        preview.frameTimerTick();
        ASSERT_TRUE(preview.isPlaying());
        ASSERT_EQ(ui.frameScrollPosition(), 2);
        ASSERT_GT(ui.frameTimerInterval, 0);
        make(preview);
        EXPECT_FALSE(preview.isPlaying());
        EXPECT_EQ(ui.frameTimerInterval, 0);
    }
}

}  // namespace
}  // namespace brasvel
