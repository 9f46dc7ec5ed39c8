#include "archive/FormatCheck.h"

#include <algorithm>
#include <cstring>

#include "archive/Layouts.h"

namespace brasvel {
namespace {

bool startsWithLodSignature(Bytes archive) {
    return archive.size() >= sizeof layout::kLodSignature &&
           std::memcmp(archive.data(), layout::kLodSignature, sizeof layout::kLodSignature) == 0;
}

// The rows of a count-first directory (SND, VID) fit the file and point into it. `sizeField` is
// the row's offset of a stored size, or 0 when sizes are not stored.
bool rowsPointInside(Bytes archive, const DirectoryLayout& directory, std::uint64_t sizeField) {
    if (startsWithLodSignature(archive)) {
        return false;
    }
    ByteReader reader(archive, directory.countOffset);
    if (!reader.canRead(4)) {
        return false;
    }
    const std::int32_t count = reader.i32();
    const std::uint64_t fileSize = archive.size();
    const std::uint64_t directoryEnd =
        directory.firstRow + static_cast<std::uint64_t>(std::max(count, 0)) * directory.rowSize;
    if (count < 0 || directoryEnd > fileSize) {
        return false;
    }
    for (std::int32_t row = 0; row < count; ++row) {
        ByteReader fields(archive, directory.firstRow + static_cast<std::uint64_t>(row) *
                                                            directory.rowSize +
                                       directory.nameFieldSize);
        const std::int32_t offset = fields.i32();
        const std::int32_t size = sizeField != 0 ? fields.i32() : 0;
        if (offset < 0 || size < 0 || static_cast<std::uint64_t>(offset) < directoryEnd ||
            static_cast<std::uint64_t>(offset) + static_cast<std::uint64_t>(size) > fileSize) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool looksLike(Bytes archive, const ArchiveFormat& format) {
    if (&format == &kLodFormat) {
        return startsWithLodSignature(archive);
    }
    return rowsPointInside(archive, format.layout, format.sizesFromOffsets ? 0 : 4);
}

const ArchiveFormat* likelyFormat(Bytes archive) {
    const auto formats = archiveFormats();
    const auto found = std::find_if(formats.begin(), formats.end(), [&](const ArchiveFormat* format) {
        return looksLike(archive, *format);
    });
    return found == formats.end() ? nullptr : *found;
}

}  // namespace brasvel
