// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The editors' lock of an archive, held for the whole of an edit: from before its directory is
// read to after the new archive took its place. Every editor takes it — the command line for the
// whole command, the window while it saves — so two edits never run at once and neither's work is
// lost. It is advisory: readers are never kept out.
//
// The lock is on the archive's file, and the file at the path is replaced by a rename: an editor
// that waited on the old file finds the path leading elsewhere once it has the lock, and locks the
// new file. A program that does not take the lock is caught by the check of the file's identity
// just before the new archive replaces the old one (see ArchiveEdit::save).

#include <chrono>
#include <optional>
#include <string>

#include "base/ReadOnlyFile.h"
#include "edit/EditRefusals.h"

namespace brasvel {

// How long an editor waits for another to finish before it is refused.
inline constexpr std::chrono::milliseconds kArchiveLockWait{2000};

class ArchiveLock {
public:
    // Locks the file that `path` leads to, waiting up to `wait` while another editor holds it.
    // Throws ArchiveBusy when the wait ran out, ResourceError when the file cannot be opened. A
    // path that leads to no file, or to one that is not a regular file, gives a lock that holds
    // nothing: a new archive's name is taken exclusively when it is saved, and anything else is
    // refused by the writer. On a file system that keeps no locks it holds nothing either.
    static ArchiveLock take(const std::string& path,
                            std::chrono::milliseconds wait = kArchiveLockWait);

    ArchiveLock() = default;
    ~ArchiveLock();
    ArchiveLock(ArchiveLock&& other) noexcept;
    ArchiveLock& operator=(ArchiveLock&& other) noexcept;
    ArchiveLock(const ArchiveLock&) = delete;
    ArchiveLock& operator=(const ArchiveLock&) = delete;

    // Whether a file is locked.
    bool holdsFile() const { return fd_ >= 0; }
    // The locked file as it was when the lock was taken.
    const std::optional<FileIdentity>& identity() const { return identity_; }

private:
    void release() noexcept;

    int fd_ = -1;
    std::optional<FileIdentity> identity_;
};

}  // namespace brasvel
