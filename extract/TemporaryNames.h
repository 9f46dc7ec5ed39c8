#pragma once

// The names of the files that extraction writes before putting them in place:
// ".NAME.PID-XXXXXX.extracting", PID the writing process's and X random. Shared by the Linux and
// the Windows ways of writing them.

#include <string>
#include <string_view>

namespace brasvel {

inline constexpr int kTemporaryNameAttempts = 100;

// A fresh temporary name for a file to be called `name`; ".brasvel.PID-XXXXXX.extracting" when
// the other would pass 255 bytes.
std::string temporaryName(std::string_view name);

// The process that made the temporary `name`; 0 when the name is not one of ours.
long temporaryOwner(std::string_view name);

}  // namespace brasvel
