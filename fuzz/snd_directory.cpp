// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: the SND directory reader over any bytes.

#include "fuzz/DirectoryTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brasvel::fuzz::runDirectoryReader(brasvel::kSndFormat, data, size);
    return 0;
}
