// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "cli/ArchiveArguments.h"

#include "archive/FormatCheck.h"
#include "base/Text.h"

namespace brasvel::cli {
namespace {

// The kind the file's name or bytes tell; null when neither does, or when it cannot be read (the
// command then says why when it opens it).
const ArchiveFormat* formatOfExistingFile(const std::string& path) {
    try {
        return formatOfFile(path, BytesFit::WholeOrDamaged);
    } catch (const ResourceError&) {
        return nullptr;
    }
}

}  // namespace

const ArchiveFormat& chooseFormat(const std::string& path,
                                  const std::optional<std::string>& kindOption) {
    if (kindOption) {
        const ArchiveFormat* format = formatNamed(*kindOption);
        if (format == nullptr) {
            throw UsageError("--kind must be lod, snd or vid, not " + *kindOption);
        }
        return *format;
    }
    const ArchiveFormat* format = formatOfExistingFile(path);
    if (format == nullptr) {
        throw UsageError("cannot tell the kind of " + escapedControls(path) +
                         " from its name or its bytes; give --kind lod, snd or vid");
    }
    return *format;
}

Archive openArchive(const std::string& path, const ArchiveFormat& format) {
    try {
        return Archive::open(path, format);
    } catch (const ResourceError& error) {
        throw ArchiveUnusable{path, error};
    }
}

std::optional<int> chooseTypeItem(const std::optional<std::string>& item) {
    if (!item) {
        return std::nullopt;
    }
    const int index = typeItemIndex(*item);
    if (index < 0) {
        throw UsageError("unknown type " + *item +
                         "; use one of *.*, *.Smk, *.Bik, *.Pcx, *.H3c, *.Txt, *.Def, *.Pal, "
                         "*.Wav, *.Msk, *.Xmi, *.Fnt, *.Msg");
    }
    return index;
}

TypeView listedEntries(const ArchiveFormat& format, std::span<const Entry> entries,
                       std::optional<int> typeItem) {
    if (typeItem) {
        return viewOfType(entries, *typeItem);
    }
    TypeView view;
    view.entries.reserve(entries.size());
    view.images.reserve(entries.size());
    for (std::size_t index = 0; index < entries.size(); ++index) {
        view.entries.push_back(index);
        view.images.push_back(listedImage(format, entries[index]));
    }
    return view;
}

}  // namespace brasvel::cli
