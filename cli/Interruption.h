// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Ctrl-C (SIGINT) and SIGTERM during a batch: the handler only notes the signal, and the batch
// stops at its next entry, so a file being put in place is put there whole and every file not yet
// in place is removed by its own clean-up. A second signal ends the program at once, as it would
// without the handler (a temporary it leaves is removed by the next run into the folder).

namespace brasvel::cli {

class InterruptWatch {
public:
    InterruptWatch();   // installs the handlers
    ~InterruptWatch();  // puts the previous ones back
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // The signal received so far, 0 when none.
    static int received();

    // The first thing main does: from then on an interrupt is noted (received()) rather than
    // ending the process in the middle of its set-up, until a command takes interrupts over (an
    // InterruptWatch, the edit commands) or hands them back.
    static void noteFromStart();
    // For a command that never asks received(): the system's handling again, so an interrupt ends
    // it at once. Returns the exit code of a signal noted so far, 0 when none.
    static int handBack();
    // The exit code for signal `signal`: 128 + its number (130 for SIGINT, 143 for SIGTERM).
    static int exitCode(int signal) { return 128 + signal; }
};

}  // namespace brasvel::cli
