// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "toolkit/HeadlessToolkit.h"

#include <gtest/gtest.h>

#include "tests/support/CallbackEvents.h"

namespace brasvel {
namespace {

TEST(HeadlessToolkit, progressAboveTheMaximumReadsBackAsFull) {
    HeadlessToolkit ui;
    ui.setProgressPosition(ProgressBarId::Batch, 150);
    EXPECT_EQ(ui.progressPosition(ProgressBarId::Batch), 100);
    EXPECT_EQ(ui.progressPosition(ProgressBarId::Toolbar), 0);
}

TEST(HeadlessToolkit, captionsShowUpToTheirFirstNul) {
    HeadlessToolkit ui;
    const int row = ui.appendRow();
    ui.setRowCaption(row, std::string_view("AB\0CD", 5));
    EXPECT_EQ(ui.rows[0].shownCaption(), "AB");
    EXPECT_EQ(ui.rows[0].image, 0);
}

TEST(HeadlessToolkit, lowersTheScrollPositionWithTheMaximumAndNotifiesOnlyOnChange) {
    HeadlessToolkit ui;
    testing::CallbackEvents events;
    ui.setEvents(&events);
    int changes = 0;
    events.onFrameScrollChange = [&] { ++changes; };
    ui.setFrameScrollMaximum(8);
    ui.userMovesFrameScroll(5);
    EXPECT_EQ(changes, 1);
    ui.setFrameScrollPosition(5);
    EXPECT_EQ(changes, 1);
    ui.setFrameScrollMaximum(1);
    EXPECT_EQ(ui.frameScrollPosition(), 1);
    EXPECT_EQ(changes, 2);
}

TEST(HeadlessToolkit, aHiddenListTakesNoFocus) {
    HeadlessToolkit ui;
    ui.focusList();
    EXPECT_EQ(ui.focusCount, 0);
    ui.setListVisible(true);
    ui.focusList();
    EXPECT_EQ(ui.focusCount, 1);
}

}  // namespace
}  // namespace brasvel
