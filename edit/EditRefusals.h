// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The edits the writer refuses before it writes anything, each with a type of its own so that the
// command line and the window can word them, ask the user or exit with the code of a refusal.
// Every one leaves the archive as it was.

#include <cstdint>
#include <string>

#include "base/ResourceError.h"

namespace brasvel {

// An edit refused as it stands: saying so again, or --force, or another name may get it done.
class EditRefusal : public ResourceError {
public:
    using ResourceError::ResourceError;
};

// Another editor (this program, the window or another process) holds the archive's lock.
class ArchiveBusy : public EditRefusal {
public:
    explicit ArchiveBusy(const std::string& path);
};

// The archive on disk was replaced or changed since it was opened: saving would lose that change.
class ArchiveChangedOnDisk : public EditRefusal {
public:
    explicit ArchiveChangedOnDisk(const std::string& path);
};

// An archive that replacing would split from its other names, or that its permissions protect.
// Replaced only when the user says so (SaveOptions::replaceProtected).
class ArchiveProtected : public EditRefusal {
public:
    enum class Why { HardLinked, WriteProtected };
    ArchiveProtected(const std::string& path, Why why, std::uint64_t links = 1);
    Why why() const { return why_; }
    std::uint64_t links() const { return links_; }

private:
    Why why_;
    std::uint64_t links_;
};

// A file to put into the archive that is the archive itself, by any name that leads to it.
class ArchiveIsItsOwnInput : public EditRefusal {
public:
    explicit ArchiveIsItsOwnInput(const std::string& input);
    // The input's path, as given.
    const std::string& input() const { return input_; }

private:
    std::string input_;
};

}  // namespace brasvel
