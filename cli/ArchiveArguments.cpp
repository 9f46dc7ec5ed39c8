#include "cli/ArchiveArguments.h"

#include "base/Text.h"

namespace brasvel::cli {

const ArchiveFormat& chooseFormat(const std::string& path,
                                  const std::optional<std::string>& kindOption) {
    if (kindOption) {
        const ArchiveFormat* format = formatNamed(*kindOption);
        if (format == nullptr) {
            throw UsageError("--kind must be lod, snd or vid, not " + *kindOption);
        }
        return *format;
    }
    const ArchiveFormat* format = formatFromPath(path);
    if (format == nullptr) {
        throw UsageError("cannot tell the kind of " + path +
                         " from its name; give --kind lod, snd or vid");
    }
    return *format;
}

int chooseTypeItem(const std::optional<std::string>& item) {
    const int index = typeItemIndex(item.value_or("*.*"));
    if (index < 0) {
        throw UsageError("unknown type " + *item +
                         "; use one of *.*, *.Smk, *.Bik, *.Pcx, *.H3c, *.Txt, *.Def, *.Pal, "
                         "*.Wav, *.Msk, *.Xmi, *.Fnt, *.Msg");
    }
    return index;
}

std::optional<std::size_t> findEntryByCaption(const Archive& archive, const std::string& name) {
    const std::vector<Entry>& entries = archive.entries();
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (decodeWindows1250(entries[index].caption) == name) {
            return index;
        }
    }
    return std::nullopt;
}

}  // namespace brasvel::cli
