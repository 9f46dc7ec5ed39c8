#include "catalogue/DirectoryReaders.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "base/Text.h"

namespace brasvel {
namespace {

// LOD: count at offset 8 of a 12-byte header; 32-byte entries from offset 92:
//   0  name[16]   "NAME.EXT", NUL-filled; bytes 0-11 are scanned for the dot
//   16 offset     i32
//   20 size       i32, unpacked
//   24 (unused)   i32
//   28 packedSize i32, 0 when stored plain
constexpr std::uint64_t kLodCountOffset = 8;
constexpr std::uint64_t kLodDirectoryOffset = 92;
constexpr std::uint64_t kLodEntrySize = 32;
constexpr std::size_t kLodNameScan = 12;

// SND: count at offset 0; 48-byte entries from offset 4:
//   0  name[40]   NUL-terminated, no extension
//   40 offset     i32
//   44 size       i32
constexpr std::uint64_t kSndEntrySize = 48;
constexpr std::size_t kSndNameField = 40;

// VID: count at offset 0; 44-byte entries from offset 4:
//   0  name[40]   "NAME.EXT", NUL-filled; bytes 0-15 are used, 0-14 scanned for the dot
//   40 offset     i32
// Sizes are not stored; they are derived from the offsets and the file size.
constexpr std::uint64_t kVidEntrySize = 44;
constexpr std::size_t kVidNameField = 40;
constexpr std::size_t kVidCaptionBytes = 16;
constexpr std::size_t kVidNameScan = 15;

// Ends the list's bulk update on every way out, a failed read included.
class ListUpdate {
public:
    explicit ListUpdate(WindowToolkit& ui) : ui_(ui) { ui_.beginListUpdate(); }
    ~ListUpdate() { ui_.endListUpdate(); }
    ListUpdate(const ListUpdate&) = delete;
    ListUpdate& operator=(const ListUpdate&) = delete;

private:
    WindowToolkit& ui_;
};

void raiseProgress(WindowToolkit& ui, int step) {
    ui.setProgressPosition(ProgressBarId::Toolbar,
                           ui.progressPosition(ProgressBarId::Toolbar) + step);
}

std::string_view asChars(Bytes bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Takes the header's count: EntryCount and VisibleCount become the number of entries that will
// be listed, and status panel 0 shows it. Returns that number.
int acceptCount(CatalogueModel& model, WindowToolkit& ui, std::int32_t headerCount,
                ListingReport& report) {
    report.headerCount = headerCount;
    if (headerCount < 0) {
        model.EntryCount = 0;
        model.VisibleCount = 0;
        ui.setStatusText(0, "Total Files: 0");
        throw damaged("the entry count " + std::to_string(headerCount) + " is negative");
    }
    const int listed = std::min(headerCount, kCatalogueCapacity);
    model.EntryCount = static_cast<std::uint16_t>(listed);
    model.VisibleCount = listed;
    ui.setStatusText(0, "Total Files: " + std::to_string(listed));
    return listed;
}

// Scans `window` bytes of a name field for the first dot: the bytes before it become Name (at
// most 12 are kept), the three bytes after it Ext, read from the field itself even where they lie
// past the scanned window. No dot: Name holds the first 12 bytes, NUL fill included.
void splitName(std::string_view field, std::size_t window, CatalogueEntry& entry) {
    entry.Name.clear();
    entry.Ext.clear();
    const std::size_t dot = field.substr(0, window).find('.');
    if (dot == std::string_view::npos) {
        entry.Name.assign(field.substr(0, 12));
        return;
    }
    entry.Name.assign(field.substr(0, dot));
    entry.Ext.assign(field.substr(dot + 1, 3));
}

int lodReaderImage(const EntryExt& ext) {
    // The LOD reader gives icons to its eight kinds only; "msg" waits for the type filter.
    for (std::string_view kind : {"def", "pcx", "h3c", "msk", "txt", "fnt", "pal", "xmi"}) {
        if (extIs(ext, kind)) {
            return typeImageFor(ext);
        }
    }
    return kImageNone;
}

int vidReaderImage(const EntryExt& ext) {
    if (extIs(ext, "smk")) {
        return kImageSmk;
    }
    return extIs(ext, "bik") ? kImageBik : kImageNone;
}

// Each entry's size reaches to the nearest greater offset of any entry, or to the end of the file
// for the greatest, and never past the end of the file.
void deriveVidSizes(CatalogueModel& model, std::uint64_t fileSize) {
    const int count = model.EntryCount;
    std::vector<std::int64_t> offsets(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        offsets[static_cast<std::size_t>(i)] = model.Catalogue[static_cast<std::size_t>(i)].Offset;
    }
    std::sort(offsets.begin(), offsets.end());
    const auto fileEnd = static_cast<std::int64_t>(fileSize);
    for (int i = 0; i < count; ++i) {
        CatalogueEntry& entry = model.Catalogue[static_cast<std::size_t>(i)];
        auto next = std::upper_bound(offsets.begin(), offsets.end(), std::int64_t{entry.Offset});
        const std::int64_t end = next == offsets.end() ? fileEnd : std::min(*next, fileEnd);
        const std::int64_t size = std::clamp<std::int64_t>(end - entry.Offset, 0, INT32_MAX);
        entry.Size = entry.Offset < 0 ? 0 : static_cast<std::int32_t>(size);
    }
}

template <typename Reader>
ListingReport openFile(CatalogueModel& model, WindowToolkit& ui, const std::string& path,
                       Reader reader) {
    ui.setListVisible(true);
    const ReadOnlyFile archive(path);
    return reader(model, ui, archive.bytes());
}


// What tells the three directories apart: where the count and the first entry lie, how long an
// entry is, how an entry becomes a catalogue record with its row's caption and image, and how
// fast the tool bar's progress bar rises.
struct DirectoryLayout {
    std::uint64_t countOffset;
    std::uint64_t firstEntry;
    std::uint64_t entrySize;
    int progressEvery;  // the bar rises at entries 0, progressEvery, 2 × progressEvery, ...
    int progressStep;
    void (*readEntry)(ByteReader& record, CatalogueEntry& entry, std::string& caption, int& image);
};

void readLodEntry(ByteReader& record, CatalogueEntry& entry, std::string& caption, int& image) {
    splitName(asChars(record.bytes(16)), kLodNameScan, entry);
    entry.Offset = record.i32();
    entry.Size = record.i32();
    /* type = */ record.skip(4);
    entry.PackedSize = record.i32();
    caption = std::string(entry.Name.view()) + '.' + std::string(entry.Ext.view());
    image = lodReaderImage(entry.Ext);
}

void readSndEntry(ByteReader& record, CatalogueEntry& entry, std::string& caption, int& image) {
    entry.Name.assign(untilNul(asChars(record.bytes(kSndNameField))).substr(0, 12));
    entry.Ext.assign("WAV");
    entry.Offset = record.i32();
    entry.Size = record.i32();
    entry.PackedSize = 0;
    caption = std::string(entry.Name.view()) + ".Wav";
    image = kImageWav;
}

void readVidEntry(ByteReader& record, CatalogueEntry& entry, std::string& caption, int& image) {
    const std::string_view field = asChars(record.bytes(kVidNameField));
    splitName(field, kVidNameScan, entry);
    entry.Offset = record.i32();
    entry.PackedSize = 0;
    // The row shows the stored name itself, up to 16 bytes, not Name and Ext joined.
    caption = field.substr(0, kVidCaptionBytes);
    image = vidReaderImage(entry.Ext);
}

constexpr DirectoryLayout kLodLayout{kLodCountOffset, kLodDirectoryOffset, kLodEntrySize, 50, 2,
                                     readLodEntry};
constexpr DirectoryLayout kSndLayout{0, 4, kSndEntrySize, 1, 1, readSndEntry};
constexpr DirectoryLayout kVidLayout{0, 4, kVidEntrySize, 1, 10, readVidEntry};

// Reads the directory into the catalogue and the list. An entry is stored and gets its row only
// when all of its record is there; a record cut short ends the reading with the rows made so far.
ListingReport readDirectory(CatalogueModel& model, WindowToolkit& ui, Bytes archive,
                            const DirectoryLayout& layout) {
    ui.setListVisible(true);
    ListingReport report;
    ByteReader reader(archive);
    reader.require(layout.countOffset + 4);
    reader.seek(layout.countOffset);
    const int count = acceptCount(model, ui, reader.i32(), report);
    reader.seek(layout.firstEntry);
    std::string caption;
    int image = kImageNone;
    ListUpdate update(ui);
    for (int k = 0; k < count; ++k) {
        CatalogueEntry& entry = model.Catalogue[static_cast<std::size_t>(k)];
        if (!reader.canRead(layout.entrySize)) {
            // The counts shrink to the entries read, so that neither the type filter nor a batch
            // reaches records this directory never filled (they may hold an earlier archive's).
            model.EntryCount = static_cast<std::uint16_t>(k);
            model.VisibleCount = k;
            reader.require(layout.entrySize);
        }
        ByteReader record(reader.bytes(layout.entrySize));
        layout.readEntry(record, entry, caption, image);
        const int row = ui.appendRow();
        ui.setRowCaption(row, caption);
        ui.setRowImage(row, image);
        model.ViewOrder[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(k);
        report.listed = k + 1;
        if (k % layout.progressEvery == 0) {
            raiseProgress(ui, layout.progressStep);
        }
    }
    return report;
}

}  // namespace

ListingReport readLodDirectory(CatalogueModel& model, WindowToolkit& ui, Bytes archive) {
    const ListingReport report = readDirectory(model, ui, archive, kLodLayout);
    ui.setProgressPosition(ProgressBarId::Toolbar, 0);
    return report;
}

ListingReport readSndDirectory(CatalogueModel& model, WindowToolkit& ui, Bytes archive) {
    const ListingReport report = readDirectory(model, ui, archive, kSndLayout);
    ui.setProgressPosition(ProgressBarId::Toolbar, 0);
    return report;
}

ListingReport readVidDirectory(CatalogueModel& model, WindowToolkit& ui, Bytes archive) {
    const ListingReport report = readDirectory(model, ui, archive, kVidLayout);
    deriveVidSizes(model, archive.size());
    ui.setProgressPosition(ProgressBarId::Toolbar, 0);
    return report;
}

ListingReport OpenLod(CatalogueModel& model, WindowToolkit& ui, const std::string& path) {
    return openFile(model, ui, path, readLodDirectory);
}

ListingReport OpenSnd(CatalogueModel& model, WindowToolkit& ui, const std::string& path) {
    return openFile(model, ui, path, readSndDirectory);
}

ListingReport OpenVid(CatalogueModel& model, WindowToolkit& ui, const std::string& path) {
    return openFile(model, ui, path, readVidDirectory);
}

ListingReport openArchive(ArchiveKind kind, CatalogueModel& model, WindowToolkit& ui,
                          const std::string& path) {
    switch (kind) {
        case ArchiveKind::Lod:
            return OpenLod(model, ui, path);
        case ArchiveKind::Snd:
            return OpenSnd(model, ui, path);
        case ArchiveKind::Vid:
            return OpenVid(model, ui, path);
        case ArchiveKind::None:
            break;
    }
    return {};
}

ArchiveKind kindFromPath(std::string_view path) {
    if (path.size() < 3) {
        return ArchiveKind::None;
    }
    std::string last(path.substr(path.size() - 3));
    for (char& c : last) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (last == "lod") {
        return ArchiveKind::Lod;
    }
    if (last == "snd") {
        return ArchiveKind::Snd;
    }
    return last == "vid" ? ArchiveKind::Vid : ArchiveKind::None;
}

}  // namespace brasvel
