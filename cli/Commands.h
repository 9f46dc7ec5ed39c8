// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The command line's commands. Each returns the process's exit code: 0 done, 1 some entry failed,
// 2 usage error or unreadable archive.

#include <string>
#include <vector>

namespace brasvel::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitEntryFailed = 1;
inline constexpr int kExitUnusable = 2;

// Set once an edit's new archive is in place: standard output failing after that is told on
// stderr, and the exit code stays the edit's.
inline bool editCommitted = false;

int listCommand(const std::vector<std::string>& args);
int extractCommand(const std::vector<std::string>& args);
int verifyCommand(const std::vector<std::string>& args);
// A PCX entry, or one frame of a DEF entry, as a BMP file.
int convertCommand(const std::vector<std::string>& args);
// The figures of a PCX or DEF entry, as text or JSON.
int infoCommand(const std::vector<std::string>& args);
// The edits, each all or nothing (cli/EditCommands.cpp).
int createCommand(const std::vector<std::string>& args);
int addCommand(const std::vector<std::string>& args);
int removeCommand(const std::vector<std::string>& args);
int renameCommand(const std::vector<std::string>& args);
// Many archives at once (cli/ManyCommands.cpp): exit 0 found or the same, 1 nothing found, a
// difference or a conflict, 2 trouble.
int findCommand(const std::vector<std::string>& args);
int grepCommand(const std::vector<std::string>& args);
int diffCommand(const std::vector<std::string>& args);
int mergeCommand(const std::vector<std::string>& args);

}  // namespace brasvel::cli
