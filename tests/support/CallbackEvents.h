// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The user's events as a test sees them: each one a callback, unset ones ignored. A selection
// change also reaches onRowSelection row by row (those that lost it first), for tests that look
// at rows one at a time.

#include <functional>
#include <string>
#include <vector>

#include "toolkit/WindowEvents.h"

namespace brasvel::testing {

struct CallbackEvents : WindowEvents {
    void commandChosen(WindowCommand command) override { call(onCommand, command); }
    void selectionChanged(const std::vector<int>& deselected, const std::vector<int>& selected,
                          int current) override {
        call(onSelectionChange, deselected, selected, current);
        for (const int row : deselected) {
            call(onRowSelection, row, false);
        }
        for (const int row : selected) {
            call(onRowSelection, row, true);
        }
    }
    void sortChosen(ListColumn column, bool ascending) override {
        call(onSortChosen, column, ascending);
    }
    void typeChosen() override { call(onTypeChosen); }
    void recentChosen(std::size_t position) override { call(onRecentChosen, position); }
    void previewResized(int width, int height) override { call(onPreviewResize, width, height); }
    void frameScrollChanged() override { call(onFrameScrollChange); }
    void frameTimerTicked() override { call(onFrameTimer); }
    void watchTimerTicked() override { call(onWatchTimer); }

    std::function<void(WindowCommand)> onCommand;
    std::function<void(const std::vector<int>& deselected, const std::vector<int>& selected,
                       int current)>
        onSelectionChange;
    std::function<void(int row, bool selected)> onRowSelection;
    std::function<void(ListColumn column, bool ascending)> onSortChosen;
    std::function<void()> onTypeChosen;
    std::function<void(std::size_t position)> onRecentChosen;
    std::function<void(int width, int height)> onPreviewResize;
    std::function<void()> onFrameScrollChange;
    std::function<void()> onFrameTimer;
    std::function<void()> onWatchTimer;

private:
    template <typename Callback, typename... Arguments>
    static void call(const Callback& callback, Arguments&&... arguments) {
        if (callback) {
            callback(std::forward<Arguments>(arguments)...);
        }
    }
};

}  // namespace brasvel::testing
