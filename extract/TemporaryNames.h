// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The names of the files written beside others before they are put in place, shared by the Linux
// and the Windows ways of writing them:
// - extraction's ".NAME.PID-XXXXXX.extracting",
// - saving's ".NAME.PID.XXXXXX.saving" (edit/ReplacementFile),
// PID the writing process's and X random.

#include <string>
#include <string_view>

namespace brasvel {

inline constexpr int kTemporaryNameAttempts = 100;

// A fresh temporary name for a file to be called `name`; ".brasvel.PID-XXXXXX.extracting" when
// the other would pass 255 bytes.
std::string temporaryName(std::string_view name);

// The process that made the temporary `name`; 0 when the name is not one of ours.
long temporaryOwner(std::string_view name);

// A fresh name under which a file replacing `name` is saved.
std::string savingTemporaryName(std::string_view name);

// The process that wrote `entry`, a temporary saved for `name`; 0 when `entry` is no such
// temporary.
long savingTemporaryWriter(std::string_view entry, std::string_view name);

}  // namespace brasvel
