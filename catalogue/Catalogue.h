#pragma once

// The in-memory directory of the open archive: a table of fixed capacity that every reader
// overwrites in place, the row-to-entry map of the list, and the counts and selection that the
// commands act on.

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace brasvel {

inline constexpr int kCatalogueCapacity = 15011;

// Raw archive bytes of at most N bytes, NUL bytes included.
template <std::size_t N>
class ByteString {
public:
    ByteString() = default;
    ByteString(std::string_view bytes) { assign(bytes); }  // NOLINT: implicit, like a string
    ByteString(const char* bytes) : ByteString(std::string_view(bytes)) {}  // NOLINT

    void clear() { length_ = 0; }
    void assign(std::string_view bytes) {
        length_ = static_cast<std::uint8_t>(bytes.size() < N ? bytes.size() : N);
        bytes.copy(bytes_.data(), length_);
    }
    // Drops the byte when full, as a name that keeps at most N bytes does.
    void append(char byte) {
        if (length_ < N) {
            bytes_[length_++] = byte;
        }
    }
    std::string_view view() const { return {bytes_.data(), length_}; }
    std::size_t size() const { return length_; }
    bool empty() const { return length_ == 0; }

    friend bool operator==(const ByteString& a, const ByteString& b) { return a.view() == b.view(); }
    friend bool operator==(const ByteString& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const ByteString& a, const char* b) { return a.view() == b; }

private:
    std::array<char, N> bytes_{};
    std::uint8_t length_ = 0;
};

using EntryName = ByteString<12>;
using EntryExt = ByteString<3>;

struct CatalogueEntry {
    EntryName Name;
    EntryExt Ext;
    std::int32_t Offset = 0;
    std::int32_t Size = 0;
    std::int32_t PackedSize = 0;  // LOD only; 0 means stored plain

    friend bool operator==(const CatalogueEntry&, const CatalogueEntry&) = default;
};

std::ostream& operator<<(std::ostream& out, const CatalogueEntry& entry);

enum class ArchiveKind : int { None = 0, Lod = 1, Snd = 2, Vid = 3 };

// "lod", "snd", "vid" (or "" for None).
std::string_view kindName(ArchiveKind kind);

// Name, "." and Ext joined, up to the first NUL byte: the entry's file name in archive bytes.
std::string entryFileName(const CatalogueEntry& entry);

// Ext is exactly the lower-case or the upper-case form of `lower` (a three-letter literal).
bool extIs(const EntryExt& ext, std::string_view lower);

struct CatalogueModel {
    std::array<CatalogueEntry, kCatalogueCapacity> Catalogue{};
    std::array<std::uint16_t, kCatalogueCapacity> ViewOrder{};
    std::uint16_t EntryCount = 0;
    std::int32_t VisibleCount = 0;
    std::int32_t SelectedRow = 0;
    ArchiveKind Kind = ArchiveKind::None;

    // The table is large: one allocation for the whole run, reused for every archive.
    static std::unique_ptr<CatalogueModel> create() { return std::make_unique<CatalogueModel>(); }

    bool isRow(std::int32_t row) const { return row >= 0 && row < VisibleCount; }
    // The entry shown in row `row`; the row must be one of the view.
    const CatalogueEntry& entryAtRow(std::int32_t row) const {
        return Catalogue[ViewOrder[static_cast<std::size_t>(row)]];
    }
    // The entry that single-entry commands act on; none when SelectedRow is not a row of the
    // current view (a row left over from an earlier, longer list names no entry of this archive).
    const CatalogueEntry* selectedEntry() const {
        return isRow(SelectedRow) ? &entryAtRow(SelectedRow) : nullptr;
    }
};

// The type icons of ImageList1 by extension.
enum TypeImage : int {
    kImageNone = 0,
    kImageOpen = 0,
    kImageExtractOne = 1,
    kImageExtractAll = 2,
    kImageExit = 3,
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

// The image that the whole icon table gives an extension (exact lower or upper case), or 0.
int typeImageFor(const EntryExt& ext);

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

}  // namespace brasvel
