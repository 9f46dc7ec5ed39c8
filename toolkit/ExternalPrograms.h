// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <string>

namespace brasvel {

// Other programs the user edits entries with, and the timer that watches their files.
class ExternalPrograms {
public:
    virtual ~ExternalPrograms() = default;

    // Opens `path` (a file, or a folder) in another program: the command line $BRASVEL_EDITOR
    // when it is set, else `program` when it is not empty (the path its last argument in both),
    // else the program the desktop associates with the file's type. False when none started.
    virtual bool openExternally(const std::string& path, const std::string& program) = 0;
    // Every `intervalMs` milliseconds the event watchTimerTicked (never within another handler,
    // a dialog's included); 0 stops it.
    virtual void setWatchTimer(int intervalMs) = 0;
};

}  // namespace brasvel
