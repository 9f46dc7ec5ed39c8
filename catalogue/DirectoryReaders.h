#pragma once

// The three directory readers. Each fills the catalogue from an archive's directory and the list
// through the toolkit: one row per entry with its caption and type icon, "Total Files: N" in
// status panel 0, and the tool bar's progress bar on the way. The caller clears the list first.
//
// A directory that ends early keeps the entries and rows read so far and then fails with "Read
// beyond end of file"; status panel 0 still shows the header's count, while EntryCount and
// VisibleCount hold the entries actually read. A negative entry count fails as a damaged archive before any row is made.
// A count above the catalogue's capacity lists the first 15011 entries; the report says so.

#include <cstdint>
#include <string>

#include "base/ByteReader.h"
#include "catalogue/Catalogue.h"
#include "toolkit/WindowToolkit.h"

namespace brasvel {

struct ListingReport {
    std::int32_t headerCount = 0;  // the count the archive's header states
    int listed = 0;                // entries stored in the catalogue
    bool cutToCapacity() const { return headerCount > kCatalogueCapacity; }
};

// The archive opened read-only from `path`.
ListingReport OpenLod(CatalogueModel& model, WindowToolkit& ui, const std::string& path);
ListingReport OpenSnd(CatalogueModel& model, WindowToolkit& ui, const std::string& path);
ListingReport OpenVid(CatalogueModel& model, WindowToolkit& ui, const std::string& path);
ListingReport openArchive(ArchiveKind kind, CatalogueModel& model, WindowToolkit& ui,
                          const std::string& path);

// The same over an archive's bytes in memory.
ListingReport readLodDirectory(CatalogueModel& model, WindowToolkit& ui, Bytes archive);
ListingReport readSndDirectory(CatalogueModel& model, WindowToolkit& ui, Bytes archive);
ListingReport readVidDirectory(CatalogueModel& model, WindowToolkit& ui, Bytes archive);

// The kind that a path's last three characters name ("lod", "snd", "vid", case-insensitively).
ArchiveKind kindFromPath(std::string_view path);

}  // namespace brasvel
