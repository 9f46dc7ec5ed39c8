// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What the window's tests share: a toolkit over a real TForm1 whose message boxes and dialogs
// are recorded instead of shown, and a wave player that only records.

#include <memory>
#include <string>
#include <vector>

#include "app/QtToolkit.h"
#include "app/MainWindow.h"
#include "window/WavePlayer.h"

namespace brasvel::app::testing {

class RecordingToolkit : public QtToolkit {
public:
    using QtToolkit::QtToolkit;

    bool askOkCancel(std::string_view caption, std::string_view text) override {
        questions.emplace_back(std::string(caption) + "|" + std::string(text));
        return true;
    }
    void reportError(std::string_view text) override { errors.emplace_back(text); }
    void reportNotice(std::string_view text) override { notices.emplace_back(text); }
    void showAboutBox() override { ++aboutShown; }
    void showHelp() override { ++helpShown; }
    // The open dialog is cancelled at once; its name filters are kept.
    std::optional<OpenChoice> runOpenDialog(std::string_view,
                                            std::span<const OpenFilter> filters) override {
        offeredFilters = nameFilters(filters);
        return std::nullopt;
    }

    std::vector<std::string> questions;
    std::vector<std::string> errors;
    std::vector<std::string> notices;
    int aboutShown = 0;
    int helpShown = 0;
    QStringList offeredFilters;
};

class FakePlayer : public WavePlayer {
public:
    void open(Bytes) override { opened = true; }
    void openStream(std::unique_ptr<SoundStream> opening) override {
        opened = true;
        stream = std::move(opening);
    }
    void close() override {
        opened = false;
        stream.reset();
    }
    void stop() override { calls.push_back("stop"); }
    void play() override { calls.push_back("play"); }
    bool isOpen() const override { return opened; }

    bool opened = false;
    std::unique_ptr<SoundStream> stream;
    std::vector<std::string> calls;
};

}  // namespace brasvel::app::testing
