#include "cli/OpenedArchive.h"

#include <ostream>

#include "base/Text.h"
#include "catalogue/TypeFilter.h"

namespace brasvel::cli {

ArchiveKind chooseKind(const std::string& path, const std::optional<std::string>& kindOption) {
    if (kindOption) {
        const ArchiveKind kind = kindFromPath(*kindOption);
        if (kind == ArchiveKind::None || kindOption->size() != 3) {
            throw UsageError("--kind must be lod, snd or vid, not " + *kindOption);
        }
        return kind;
    }
    const ArchiveKind kind = kindFromPath(path);
    if (kind == ArchiveKind::None) {
        throw UsageError("cannot tell the kind of " + path +
                         " from its name; give --kind lod, snd or vid");
    }
    return kind;
}

int chooseTypeItem(const std::string& item) {
    const int index = typeItemIndex(item);
    if (index < 0) {
        throw UsageError("unknown type " + item +
                         "; use one of *.*, *.Smk, *.Bik, *.Pcx, *.H3c, *.Txt, *.Def, *.Pal, "
                         "*.Wav, *.Msk, *.Xmi, *.Fnt, *.Msg");
    }
    return index;
}

void openArchiveView(OpenedArchive& archive, ArchiveKind kind, std::optional<int> typeItem,
                     std::ostream& errors) {
    archive.model->Kind = kind;
    archive.report = openArchive(kind, *archive.model, archive.window, archive.path);
    if (archive.report.cutToCapacity()) {
        errors << archive.path << ": the archive states " << archive.report.headerCount
               << " entries; only the first " << kCatalogueCapacity << " are listed\n";
    }
    if (typeItem) {
        archive.window.typeIndex = *typeItem;
        ViewLod(*archive.model, archive.window);
    }
}

std::optional<std::uint16_t> findEntryByCaption(const OpenedArchive& archive,
                                                const std::string& fileName) {
    for (std::size_t row = 0; row < archive.window.rows.size(); ++row) {
        if (decodeWindows1250(archive.window.rows[row].shownCaption()) == fileName) {
            return archive.model->ViewOrder[row];
        }
    }
    return std::nullopt;
}

}  // namespace brasvel::cli
