// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// What a pending file does the same on every system; the rest (discard, commit) is in
// AtomicFile.cpp and AtomicFileWindows.cpp.

#include <utility>

#include "extract/AtomicFile.h"

namespace brasvel {

PendingFile::PendingFile(PendingFile&& other) noexcept
    : folder_(other.folder_),
      name_(std::move(other.name_)),
      temporary_(std::exchange(other.temporary_, {})),
      fd_(std::exchange(other.fd_, -1)) {}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
    if (this != &other) {
        discard();
        folder_ = other.folder_;
        name_ = std::move(other.name_);
        temporary_ = std::exchange(other.temporary_, {});
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

PendingFile::~PendingFile() {
    discard();
}

}  // namespace brasvel
