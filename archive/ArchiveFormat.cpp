#include "archive/ArchiveFormat.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "archive/Layouts.h"
#include "archive/TypeItems.h"
#include "base/Text.h"

namespace brasvel {
namespace {

using namespace layout;

std::string_view asChars(Bytes bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Scans the first `window` bytes of a name field for the first dot: the bytes before it are the
// name, the three bytes after it the extension, read from the field itself even where they lie
// past the scanned window. No dot: the name is the first `longestName` bytes, NUL fill included.
void splitName(Entry& entry, std::size_t window, std::size_t longestName) {
    const std::string_view field = entry.nameField;
    const std::size_t dot = field.substr(0, window).find('.');
    if (dot == std::string_view::npos) {
        entry.name = field.substr(0, longestName);
        entry.ext.clear();
        return;
    }
    entry.name = field.substr(0, std::min(dot, longestName));
    entry.ext = field.substr(dot + 1, 3);
}

std::string joined(std::string_view name, std::string_view ext) {
    std::string text(name);
    text += '.';
    text += ext;
    return std::string(untilNul(text));
}

// n / d rounded to the nearest whole number, a half going to the even neighbour.
int roundHalfEven(int n, int d) {
    const int quotient = n / d;
    const int twiceRemainder = 2 * (n % d);
    if (twiceRemainder > d || (twiceRemainder == d && quotient % 2 != 0)) {
        return quotient + 1;
    }
    return quotient;
}

// --- LOD ---

void describeLod(Entry& entry) {
    splitName(entry, kLodNameScan, kListedNameBytes);
    entry.caption = joined(entry.name, entry.ext);
    entry.fileName = entry.caption;
    // The listing gives icons to these eight kinds only; "msg" gets one from the type box.
    entry.image = kImageNone;
    for (std::string_view kind : {"def", "pcx", "h3c", "msk", "txt", "fnt", "pal", "xmi"}) {
        if (extIs(entry.ext, kind)) {
            entry.image = typeImageFor(entry.ext);
        }
    }
}

Entry readLodRow(ByteReader& row) {
    Entry entry;
    entry.nameField = asChars(row.bytes(kLodNameField));
    entry.offset = row.i32();
    entry.size = row.i32();
    entry.type = row.i32();
    entry.packedSize = row.i32();
    describeLod(entry);
    return entry;
}

bool lodConvertsToBitmap(const Entry& entry, bool convertPictures) {
    return convertPictures && extIs(entry.ext, "pcx");
}

std::string lodOutputName(const Entry& entry, bool convertPictures) {
    return joined(entry.name, lodConvertsToBitmap(entry, convertPictures) ? "bmp" : entry.ext);
}

// --- SND ---

void describeSnd(Entry& entry) {
    entry.name = untilNul(entry.nameField).substr(0, kListedNameBytes);
    entry.ext = "WAV";
    entry.caption = untilNul(entry.name);
    entry.caption += ".Wav";
    entry.fileName = joined(entry.name, entry.ext);
    entry.image = kImageWav;
}

Entry readSndRow(ByteReader& row) {
    Entry entry;
    entry.nameField = asChars(row.bytes(kSndNameField));
    entry.offset = row.i32();
    entry.size = row.i32();
    describeSnd(entry);
    return entry;
}

std::string sndOutputName(const Entry& entry, bool /*convertPictures*/) {
    // A sound without a name has no file name: ".wav" alone would be a hidden file.
    if (untilNul(entry.name).empty()) {
        return {};
    }
    return joined(entry.name, "wav");
}

// --- VID ---

void describeVid(Entry& entry) {
    // The extension, for the type box, comes from the dot in the first bytes; the entry is shown
    // and written under its whole stored name.
    splitName(entry, kVidNameScan, kVidNameField);
    entry.caption = untilNul(entry.nameField);
    entry.fileName = entry.caption;
    entry.image = extIs(entry.ext, "smk") ? kImageSmk : extIs(entry.ext, "bik") ? kImageBik
                                                                                : kImageNone;
}

Entry readVidRow(ByteReader& row) {
    Entry entry;
    entry.nameField = asChars(row.bytes(kVidNameField));
    entry.offset = row.i32();
    describeVid(entry);
    return entry;
}

std::string storedNameOutput(const Entry& entry, bool /*convertPictures*/) {
    return entry.fileName;
}

bool neverConverts(const Entry& /*entry*/, bool /*convertPictures*/) { return false; }

int everyRow(int /*rows*/) { return 1; }
int tenSteps(int rows) { return std::max(1, roundHalfEven(rows, 10)); }
int hundredSteps(int rows) { return std::max(1, roundHalfEven(rows, 100)); }

}  // namespace

const ArchiveFormat kLodFormat{
    "lod", ".lod", "*.Lod",
    {kLodCountOffset, kLodFirstRow, kLodRowSize, kLodNameField},
    true, false,
    readLodRow, describeLod, lodOutputName, lodConvertsToBitmap,
    50, 2,
    {tenSteps, 10}, {hundredSteps, 1},
};

const ArchiveFormat kSndFormat{
    "snd", ".snd", "*.SND",
    {kSndCountOffset, kSndFirstRow, kSndRowSize, kSndNameField},
    false, false,
    readSndRow, describeSnd, sndOutputName, neverConverts,
    1, 1,
    {everyRow, 1}, {everyRow, 1},
};

const ArchiveFormat kVidFormat{
    "vid", ".vid", "*.Vid",
    {kVidCountOffset, kVidFirstRow, kVidRowSize, kVidNameField},
    false, true,
    readVidRow, describeVid, storedNameOutput, neverConverts,
    1, 10,
    {everyRow, 7}, {everyRow, 7},
};

std::span<const ArchiveFormat* const> archiveFormats() {
    static const ArchiveFormat* const formats[] = {&kLodFormat, &kSndFormat, &kVidFormat};
    return formats;
}

const ArchiveFormat* formatNamed(std::string_view name) {
    if (name.size() != 3) {
        return nullptr;
    }
    for (const ArchiveFormat* format : archiveFormats()) {
        if (std::equal(name.begin(), name.end(), format->name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            })) {
            return format;
        }
    }
    return nullptr;
}

const ArchiveFormat* formatFromPath(std::string_view path) {
    return path.size() < 3 ? nullptr : formatNamed(path.substr(path.size() - 3));
}

}  // namespace brasvel
