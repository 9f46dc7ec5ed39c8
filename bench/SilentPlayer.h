// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A sound device that plays nothing, for the window's benchmarks: they time the window, not
// the sound.

#include "window/WavePlayer.h"

namespace brasvel::bench {

class SilentPlayer : public WavePlayer {
public:
    void open(Bytes) override { open_ = true; }
    void openStream(std::unique_ptr<SoundStream>) override { open_ = true; }
    void close() override { open_ = false; }
    void stop() override {}
    void play() override {}
    bool isOpen() const override { return open_; }

private:
    bool open_ = false;
};

}  // namespace brasvel::bench
