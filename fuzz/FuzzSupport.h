// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What every fuzz target shares: the input as bytes, a check that stops the run loudly when an
// invariant of the code under test does not hold, and small readers of the control bytes that
// some targets take from the front of their input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/ByteReader.h"

namespace brasvel::fuzz {

inline Bytes inputBytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const std::byte*>(data), size};
}

// An invariant that must hold whatever the input: a failure is a finding, like a crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

}  // namespace brasvel::fuzz
