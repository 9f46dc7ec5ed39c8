// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The kinds of file an archive holds, by extension: the type items a listing is narrowed to (by
// --type, or the window's type box), and the number of each kind's image, as `list --json` prints
// it. Both programs list entries through this one table.

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/Entry.h"

namespace brasvel {

// The type images, numbered as `list --json` prints them; the window's image list holds their
// icons in this order.
enum TypeImage : int {
    kImageNone = 0,
    kImagePcx = 4,
    kImageWav = 5,
    kImageSmk = 6,
    kImageDef = 7,
    kImageH3c = 8,
    kImageMsk = 9,
    kImageTxt = 10,
    kImageFnt = 11,
    kImagePal = 12,
    kImageBik = 13,
    kImageXmi = 14,
    kImageMsg = 15,
};

// The image that the whole icon table gives an extension (exact lower or upper case), or none.
int typeImageFor(std::string_view ext);

// The image of the entry's row in a listing of every entry (what `list --json` calls its image):
// a LOD's eight kinds of file but "msg" (which gets one from the type box only), every sound, a
// VID's videos.
int listedImage(const ArchiveFormat& format, const Entry& entry);

// The items of the type box: text, the extension they keep (lower case; empty for "*.*") and the
// image of a kept row.
struct TypeItem {
    std::string_view text;
    std::string_view ext;
    int image;
};
inline constexpr int kTypeItemCount = 13;
extern const std::array<TypeItem, kTypeItemCount> kTypeItems;

// The item index for "*.Pcx", "pcx", "PCX", ".pcx" or "*.*", case-insensitively; -1 when none.
int typeItemIndex(std::string_view item);

// Whether the item with index `item` keeps the entry: every entry for "*.*", else the entries whose
// extension is exactly the lower- or upper-case form of the item's.
bool typeItemKeeps(int item, const Entry& entry);

// What a row of the entry shows under type item `item`: its caption under "*.*"; under any other
// item the name, "." and the extension as stored (a sound's "NAME.WAV"), its file name in every
// kind.
const std::string& captionUnder(const Entry& entry, int item);

// A list narrowed to one type item: the entries kept, in directory order, with their row images.
struct TypeView {
    std::vector<std::size_t> entries;  // indices into the archive's entries
    std::vector<int> images;           // the row image of each
    int item = 0;                      // the type item it was narrowed to
    friend bool operator==(const TypeView&, const TypeView&) = default;
};

// The view of the first `limit` entries that item `item` keeps. With "*.*" each row shows its
// entry's own image, otherwise the item's. An item outside the table keeps nothing.
TypeView viewOfType(std::span<const Entry> entries, int item, std::size_t limit = SIZE_MAX);

}  // namespace brasvel
