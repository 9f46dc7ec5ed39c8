// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// What a replacement file does the same on every system; the rest is in ReplacementFile.cpp
// and ReplacementFileWindows.cpp.

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "base/ResourceError.h"
#include "edit/ReplacementFile.h"

namespace brasvel {
namespace {

constexpr std::size_t kLargestWrite = std::size_t{1} << 30;

}  // namespace

void ReplacementFile::write(Bytes bytes) {
    const std::byte* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = write_(fd_, next, std::min(left, kLargestWrite));
        if (written < 0 && errno == EINTR) {  // broken off by a signal (Linux only)
            continue;
        }
        if (written <= 0) {
            writeFailed_ = true;
            throw fileError(written == 0 ? ENOSPC : errno, path_);
        }
        next += written;
        left -= static_cast<std::size_t>(written);
        position_ += static_cast<std::uint64_t>(written);
    }
}

}  // namespace brasvel
