#pragma once

// One directory reader run over the input as a whole archive, into a catalogue that lives as
// long as the process, as the window's one catalogue does. After the reader, every listed entry
// goes through what extraction asks of it first: its file name and its stored bytes.

#include <cstdint>

#include "catalogue/Catalogue.h"
#include "catalogue/DirectoryReaders.h"
#include "base/ResourceError.h"
#include "extract/BatchExtractor.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"
#include "fuzz/FuzzSupport.h"
#include "toolkit/HeadlessToolkit.h"

namespace brasvel::fuzz {

template <typename Reader>
void runDirectoryReader(Reader reader, ArchiveKind kind, const std::uint8_t* data,
                        std::size_t size) {
    static const auto model = CatalogueModel::create();
    const Bytes archive = inputBytes(data, size);
    HeadlessToolkit ui;
    ListingReport report;
    bool complete = true;
    try {
        report = reader(*model, ui, archive);
    } catch (const ResourceError&) {
        complete = false;  // a damaged directory: the rows made so far stay and are checked below
    }
    FUZZ_CHECK(model->EntryCount <= kCatalogueCapacity);
    FUZZ_CHECK(model->VisibleCount == model->EntryCount);
    FUZZ_CHECK(ui.rowCount() <= model->VisibleCount);
    FUZZ_CHECK(report.listed <= model->VisibleCount);
    FUZZ_CHECK(ui.updateDepth == 0);
    if (complete) {
        FUZZ_CHECK(report.listed == model->EntryCount && ui.rowCount() == report.listed);
        FUZZ_CHECK(ui.statusTexts[0] == "Total Files: " + std::to_string(report.listed));
    }
    for (int row = 0; row < ui.rowCount(); ++row) {
        const CatalogueEntry& entry = model->entryAtRow(row);
        FUZZ_CHECK(model->ViewOrder[static_cast<std::size_t>(row)] == row);
        FUZZ_CHECK(entry.Name.size() <= 12 && entry.Ext.size() <= 3);
        if (kind != ArchiveKind::Lod) {
            FUZZ_CHECK(entry.PackedSize == 0);
        }
        if (kind == ArchiveKind::Vid && complete) {
            FUZZ_CHECK(entry.Size >= 0);
        }
        (void)entryLabel(entry, static_cast<std::uint16_t>(row));
        for (const bool convert : {true, false}) {
            try {
                const std::string name = outputFileName(entry, kind, convert);
                FUZZ_CHECK(!name.empty() && name.size() <= kLongestFileName);
                FUZZ_CHECK(name.find('/') == std::string::npos && name != "." && name != "..");
            } catch (const ResourceError&) {
            }
        }
        // A video's size is derived so that it never reaches past the end of the file.
        const bool mustLieInside = kind == ArchiveKind::Vid && complete && entry.Offset >= 0 &&
                                   static_cast<std::uint64_t>(entry.Offset) <= archive.size();
        try {
            const Bytes stored = storedBytes(archive, entry, kind);
            FUZZ_CHECK(stored.data() >= archive.data() &&
                       stored.data() + stored.size() <= archive.data() + archive.size());
        } catch (const ResourceError&) {
            FUZZ_CHECK(!mustLieInside);
        }
    }
}

}  // namespace brasvel::fuzz
