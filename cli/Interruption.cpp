// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "cli/Interruption.h"

#include <csignal>

#include "base/Platform.h"

namespace brasvel::cli {
namespace {

volatile std::sig_atomic_t receivedSignal = 0;

void noteSignal(int signal) {
    if (receivedSignal == 0) {
        receivedSignal = signal;
    }
}

}  // namespace

InterruptWatch::InterruptWatch() { platform::watchInterrupts(noteSignal); }

InterruptWatch::~InterruptWatch() { platform::stopWatchingInterrupts(); }

int InterruptWatch::received() { return receivedSignal; }

void InterruptWatch::noteFromStart() {
    platform::watchInterrupts(noteSignal);
}

int InterruptWatch::handBack() {
    platform::stopWatchingInterrupts();
    return received() == 0 ? 0 : exitCode(received());
}

}  // namespace brasvel::cli
