// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A writer of WAV sounds, for the demo archives and the sound tests.

#include <cstdint>
#include <functional>
#include <string>

namespace brasvel::writers {

// A 16-bit mono PCM wave file of `seconds` at `rate` samples a second; `sample` gives the signal
// at a time in seconds, from -1 to 1 (values beyond are clipped).
std::string pcmWave(double seconds, std::uint32_t rate,
                    const std::function<double(double)>& sample);

}  // namespace brasvel::writers
