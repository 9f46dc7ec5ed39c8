// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/ArchiveFormat.h"

#include <algorithm>
#include <string>
#include <vector>

#include "archive/Layouts.h"
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

void putI32(std::byte* at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int k = 0; k < 4; ++k) {
        at[k] = static_cast<std::byte>((bits >> (8 * k)) & 0xFF);
    }
}

void putField(std::byte* at, std::string_view field, std::size_t width) {
    for (std::size_t k = 0; k < width; ++k) {
        at[k] = static_cast<std::byte>(k < field.size() ? field[k] : '\0');
    }
}

std::optional<NameRefusal> longerThan(std::string_view name, std::size_t most) {
    if (name.size() > most) {
        return NameRefusal::tooLong(NameRefusalReason::TooLong, name.size(), most);
    }
    return std::nullopt;
}

// --- LOD ---

void describeLod(Entry& entry) {
    splitName(entry, kLodNameScan, kListedNameBytes);
    entry.caption = joined(entry.name, entry.ext);
    entry.fileName = entry.caption;
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

std::string newLodHeader() {
    std::string header(kLodFirstRow, '\0');
    header.replace(0, 4, kLodSignature, 4);
    for (int k = 0; k < 4; ++k) {
        header[4 + k] = static_cast<char>((kLodVersion >> (8 * k)) & 0xFF);
    }
    return header;
}

// The listing finds the dot in bytes 0-11 and shows three bytes after it. A name of 12 bytes or
// more before its dot, or without one, would read back cut or with a dot of its own.
std::optional<NameRefusal> lodNameProblem(std::string_view name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) {
        return longerThan(name, kLodNameScan - 1);  // 12 bytes would read back with a dot
    }
    if (dot >= kLodNameScan) {
        return NameRefusal::tooLong(NameRefusalReason::StemTooLong, dot, kLodNameScan - 1);
    }
    if (name.size() - dot - 1 > 3) {
        return NameRefusal::tooLong(NameRefusalReason::ExtensionTooLong, name.size() - dot - 1, 3);
    }
    return longerThan(name, kLodNameField);
}

void writeLodRow(const Entry& entry, std::byte* row) {
    putField(row, entry.nameField, kLodNameField);
    putI32(row + kLodRowOffset, entry.offset);
    putI32(row + kLodRowSizeField, entry.size);
    putI32(row + kLodRowType, entry.type);
    putI32(row + kLodRowPackedSize, entry.packedSize);
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
}

Entry readSndRow(ByteReader& row) {
    Entry entry;
    entry.nameField = asChars(row.bytes(kSndNameField));
    entry.offset = row.i32();
    entry.size = row.i32();
    describeSnd(entry);
    return entry;
}

std::string newCountHeader() { return std::string(4, '\0'); }

std::optional<NameRefusal> sndNameProblem(std::string_view name) {
    return longerThan(name, kListedNameBytes);
}

void writeSndRow(const Entry& entry, std::byte* row) {
    putField(row, entry.nameField, kSndNameField);
    putI32(row + kSndNameField, entry.offset);
    putI32(row + kSndNameField + 4, entry.size);
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
    // A video is shown and written under its whole stored name, and its extension (type, icon,
    // type box) comes from that same name, however long it is before the dot.
    splitName(entry, storedName(entry).size(), kVidNameField);
    entry.caption = untilNul(entry.nameField);
    entry.fileName = entry.caption;
}

Entry readVidRow(ByteReader& row) {
    Entry entry;
    entry.nameField = asChars(row.bytes(kVidNameField));
    entry.offset = row.i32();
    describeVid(entry);
    return entry;
}

std::optional<NameRefusal> vidNameProblem(std::string_view name) {
    return longerThan(name, kVidNameField);
}

void writeVidRow(const Entry& entry, std::byte* row) {
    putField(row, entry.nameField, kVidNameField);
    putI32(row + kVidNameField, entry.offset);
}

std::string storedNameOutput(const Entry& entry, bool /*convertPictures*/) {
    return entry.fileName;
}

bool neverConverts(const Entry& /*entry*/, bool /*convertPictures*/) { return false; }

}  // namespace

const ArchiveFormat kLodFormat{
    "lod", ".lod",
    {kLodCountOffset, kLodFirstRow, kLodRowSize, kLodNameField},
    true, false,
    readLodRow, describeLod, lodOutputName, lodConvertsToBitmap,
    {.newHeader = newLodHeader, .reservedRows = kLodReservedRows, .sortedByName = true,
     .dataInDirectoryOrder = false, .followsFieldPattern = false, .fileSuffix = "",
     .nameProblem = lodNameProblem, .writeRow = writeLodRow},
};

const ArchiveFormat kSndFormat{
    "snd", ".snd",
    {kSndCountOffset, kSndFirstRow, kSndRowSize, kSndNameField},
    false, false,
    readSndRow, describeSnd, sndOutputName, neverConverts,
    {.newHeader = newCountHeader, .reservedRows = 0, .sortedByName = false,
     .dataInDirectoryOrder = false, .followsFieldPattern = true, .fileSuffix = ".wav",
     .nameProblem = sndNameProblem, .writeRow = writeSndRow},
};

const ArchiveFormat kVidFormat{
    "vid", ".vid",
    {kVidCountOffset, kVidFirstRow, kVidRowSize, kVidNameField},
    false, true,
    readVidRow, describeVid, storedNameOutput, neverConverts,
    {.newHeader = newCountHeader, .reservedRows = 0, .sortedByName = false,
     .dataInDirectoryOrder = true, .followsFieldPattern = false, .fileSuffix = "",
     .nameProblem = vidNameProblem, .writeRow = writeVidRow},
};

std::string makeNameField(const ArchiveFormat& format, std::string_view name,
                          std::string_view tail) {
    const std::size_t width = format.layout.nameFieldSize;
    std::string field(name.substr(0, width));
    if (field.size() < width) {
        field += '\0';
    }
    while (field.size() < width) {
        field += field.size() < tail.size() ? tail[field.size()] : '\0';
    }
    return field;
}

std::string sharedFieldTail(const ArchiveFormat& format, std::span<const Entry> entries) {
    const std::size_t width = format.layout.nameFieldSize;
    std::string tail(width, '\0');
    std::vector<bool> seen(width, false);
    for (const Entry& entry : entries) {
        const std::string_view field = entry.nameField;
        for (std::size_t k = field.find('\0') + 1; k > 0 && k < std::min(width, field.size()); ++k) {
            if (seen[k] && tail[k] != field[k]) {
                return {};
            }
            seen[k] = true;
            tail[k] = field[k];
        }
    }
    return tail;
}

std::string_view storedName(const Entry& entry) { return untilNul(entry.nameField); }

std::span<const ArchiveFormat* const> archiveFormats() {
    static const ArchiveFormat* const formats[] = {&kLodFormat, &kSndFormat, &kVidFormat};
    return formats;
}

const ArchiveFormat* formatNamed(std::string_view name) {
    for (const ArchiveFormat* format : archiveFormats()) {
        if (equalIgnoringAsciiCase(name, format->name)) {
            return format;
        }
    }
    return nullptr;
}

const ArchiveFormat* formatFromPath(std::string_view path, LetterCase letters) {
    if (path.size() < 3) {
        return nullptr;
    }
    const std::string_view last = path.substr(path.size() - 3);
    const bool singleCase = last == asciiLowerText(last) || last == asciiUpperText(last);
    return letters == LetterCase::Single && !singleCase ? nullptr : formatNamed(last);
}

}  // namespace brasvel
