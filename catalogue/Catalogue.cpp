#include "catalogue/Catalogue.h"

#include <algorithm>
#include <cctype>

#include "base/Text.h"

namespace brasvel {

const std::array<TypeItem, kTypeItemCount> kTypeItems{{
    {"*.*", "", kImageNone},
    {"*.Smk", "smk", kImageSmk},
    {"*.Bik", "bik", kImageBik},
    {"*.Pcx", "pcx", kImagePcx},
    {"*.H3c", "h3c", kImageH3c},
    {"*.Txt", "txt", kImageTxt},
    {"*.Def", "def", kImageDef},
    {"*.Pal", "pal", kImagePal},
    {"*.Wav", "wav", kImageWav},
    {"*.Msk", "msk", kImageMsk},
    {"*.Xmi", "xmi", kImageXmi},
    {"*.Fnt", "fnt", kImageFnt},
    {"*.Msg", "msg", kImageMsg},
}};

std::ostream& operator<<(std::ostream& out, const CatalogueEntry& entry) {
    return out << "{Name \"" << shownText(entry.Name.view()) << "\" Ext \""
               << shownText(entry.Ext.view()) << "\" Offset " << entry.Offset << " Size "
               << entry.Size << " PackedSize " << entry.PackedSize << "}";
}

std::string_view kindName(ArchiveKind kind) {
    switch (kind) {
        case ArchiveKind::Lod:
            return "lod";
        case ArchiveKind::Snd:
            return "snd";
        case ArchiveKind::Vid:
            return "vid";
        case ArchiveKind::None:
            break;
    }
    return "";
}

std::string entryFileName(const CatalogueEntry& entry) {
    std::string name(entry.Name.view());
    name += '.';
    name += entry.Ext.view();
    return std::string(untilNul(name));
}

bool extIs(const EntryExt& ext, std::string_view lower) {
    if (ext.view() == lower) {
        return true;
    }
    std::string upper(lower);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return ext.view() == upper;
}

int typeImageFor(const EntryExt& ext) {
    for (const TypeItem& item : kTypeItems) {
        if (!item.ext.empty() && extIs(ext, item.ext)) {
            return item.image;
        }
    }
    return kImageNone;
}

int typeItemIndex(std::string_view item) {
    std::string wanted;
    for (char c : item) {
        wanted += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (wanted.starts_with("*.")) {
        wanted.erase(0, 2);
    } else if (wanted.starts_with(".")) {
        wanted.erase(0, 1);
    }
    if (wanted == "*") {
        return 0;
    }
    for (int index = 1; index < kTypeItemCount; ++index) {
        if (kTypeItems[static_cast<std::size_t>(index)].ext == wanted) {
            return index;
        }
    }
    return -1;
}

}  // namespace brasvel
