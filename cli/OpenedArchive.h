#pragma once

// The archive a command works on: its kind (from --kind or the path's last three characters), its
// catalogue as the directory reader fills it, and the view that --type leaves.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/DirectoryReaders.h"
#include "cli/Arguments.h"
#include "toolkit/HeadlessToolkit.h"

namespace brasvel::cli {

struct OpenedArchive {
    std::string path;
    std::unique_ptr<CatalogueModel> model = CatalogueModel::create();
    HeadlessToolkit window;
    ListingReport report;
};

// The kind named by --kind, else by the path. Throws UsageError when neither names one.
ArchiveKind chooseKind(const std::string& path, const std::optional<std::string>& kindOption);

// The type item named by --type ("*.Pcx", "pcx", ...). Throws UsageError for an unknown item.
int chooseTypeItem(const std::string& item);

// Lists the archive, then applies --type if given. Notes a capacity cut on `errors`.
// A directory that ends early throws ResourceError after the rows read so far are kept.
void openArchiveView(OpenedArchive& archive, ArchiveKind kind, std::optional<int> typeItem,
                     std::ostream& errors);

// The entry number of the row whose caption, decoded to UTF-8, is exactly `fileName`.
std::optional<std::uint16_t> findEntryByCaption(const OpenedArchive& archive,
                                                const std::string& fileName);

}  // namespace brasvel::cli
