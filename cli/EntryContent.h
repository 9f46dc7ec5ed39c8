#pragma once

// The content of one archive entry as a file of its own, read from the archive's bytes: LOD
// entries stored compressed are inflated to exactly their Size. The command line reads pictures
// and sprites through this until the extraction library offers the same.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/ByteReader.h"
#include "catalogue/Catalogue.h"
#include "cli/OpenedArchive.h"

namespace brasvel::cli {

// Every number is checked against the archive before use. Throws ResourceError.
std::vector<std::byte> localEntryContent(Bytes archive, ArchiveKind kind,
                                         const CatalogueEntry& entry);

// The entry number of the row whose caption, decoded to UTF-8, is exactly `fileName`.
std::optional<std::uint16_t> findEntryByCaption(const OpenedArchive& archive,
                                                const std::string& fileName);

// Writes `bytes` to `path` through a temporary name in the same folder, then renames it.
// Throws ResourceError.
void writeOutputFile(const std::string& path, const std::vector<std::byte>& bytes);

}  // namespace brasvel::cli
