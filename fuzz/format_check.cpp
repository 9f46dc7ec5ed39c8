// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: the check whether any bytes look like each kind of archive. It must never read
// outside the bytes, and a kind it names must be one the bytes look like.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "archive/FormatCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = std::as_bytes(std::span(data, size));
    const brasvel::ArchiveFormat* likely = brasvel::likelyFormat(bytes);
    if (likely != nullptr && !brasvel::looksLike(bytes, *likely)) {
        std::abort();
    }
    return 0;
}
