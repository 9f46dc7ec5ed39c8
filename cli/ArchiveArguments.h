// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What the commands share about the archive they work on: its format (from --kind, else from the
// path's last three characters, else from the bytes of an existing file) and the type item of
// --type. The command line works on every entry of the archive; the window's cap on its list does
// not apply here.

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "archive/Archive.h"
#include "archive/ArchiveFormat.h"
#include "archive/TypeItems.h"
#include "cli/Arguments.h"

namespace brasvel::cli {

// The format named by --kind, else by the path, else the one an existing file's bytes look like
// (formatOfBytes). Throws UsageError when none names one.
const ArchiveFormat& chooseFormat(const std::string& path,
                                  const std::optional<std::string>& kindOption);

// An archive that cannot be opened: what went wrong, said after its path.
struct ArchiveUnusable {
    std::string path;
    ResourceError error;
};

// Archive::open, whose errors are thrown as ArchiveUnusable with the path.
Archive openArchive(const std::string& path, const ArchiveFormat& format);

// The type item named by --type ("*.Pcx", "pcx", ...), if given. Throws UsageError for an unknown
// item.
std::optional<int> chooseTypeItem(const std::optional<std::string>& item);

// The entries a command works on, in directory order, with the images their rows show: those the
// type item keeps, as the window's type box shows them, or without one every entry with the
// image the listing gives it.
TypeView listedEntries(const ArchiveFormat& format, std::span<const Entry> entries,
                       std::optional<int> typeItem);

}  // namespace brasvel::cli
