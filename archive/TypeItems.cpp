// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/TypeItems.h"

#include <string>

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

int typeImageFor(std::string_view ext) {
    for (const TypeItem& item : kTypeItems) {
        if (!item.ext.empty() && extIs(ext, item.ext)) {
            return item.image;
        }
    }
    return kImageNone;
}

int listedImage(const ArchiveFormat& format, const Entry& entry) {
    if (&format == &kSndFormat) {
        return kImageWav;
    }
    if (&format == &kVidFormat) {
        return isVideo(entry) ? typeImageFor(entry.ext) : kImageNone;
    }
    for (std::string_view kind : {"def", "pcx", "h3c", "msk", "txt", "fnt", "pal", "xmi"}) {
        if (extIs(entry.ext, kind)) {
            return typeImageFor(entry.ext);
        }
    }
    return kImageNone;
}

int typeItemIndex(std::string_view item) {
    std::string wanted = asciiLowerText(item);
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

bool typeItemKeeps(int item, const Entry& entry) {
    if (item == 0) {
        return true;
    }
    if (item < 0 || item >= kTypeItemCount) {
        return false;
    }
    return extIs(entry.ext, kTypeItems[static_cast<std::size_t>(item)].ext);
}

const std::string& captionUnder(const Entry& entry, int item) {
    return item == 0 ? entry.caption : entry.fileName;
}

TypeView viewOfType(std::span<const Entry> entries, int item, std::size_t limit) {
    TypeView view;
    view.item = item;
    if (item < 0 || item >= kTypeItemCount) {
        return view;
    }
    const std::size_t count = std::min(entries.size(), limit);
    for (std::size_t index = 0; index < count; ++index) {
        const Entry& entry = entries[index];
        if (!typeItemKeeps(item, entry)) {
            continue;
        }
        view.entries.push_back(index);
        view.images.push_back(item == 0 ? typeImageFor(entry.ext)
                                        : kTypeItems[static_cast<std::size_t>(item)].image);
    }
    return view;
}

}  // namespace brasvel
