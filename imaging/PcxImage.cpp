#include "imaging/PcxImage.h"

#include <algorithm>
#include <string>

#include "imaging/Bmp.h"

// Layout of a picture, all numbers little-endian and signed:
//
//   0   size     length of the pixel block in bytes
//   4   width
//   8   height
//  12   pixel block: rows from the top, 1 byte (palette index) or 3 bytes per pixel
//  12 + size     palette, 8-bit kind only: 256 × (R, G, B); anything after it is ignored
//
// The kind comes from the file's length L alone: L > 12 + size is 8-bit, L = 12 + size is 24-bit,
// and a shorter file is neither.

namespace brasvel {
namespace {

constexpr std::uint64_t kPcxHeaderSize = 12;
constexpr std::uint64_t kPaletteSize = 768;

ConvertedPicture convert8(Bytes pcx, const PcxInfo& info) {
    const std::uint64_t blockSize = static_cast<std::uint64_t>(info.size);
    ByteReader reader(pcx, kPcxHeaderSize);
    const Bytes block = reader.bytes(blockSize);
    const Bytes palette = reader.bytes(kPaletteSize);
    // The rows come from the last width × height bytes of the block; a block shorter than that
    // would leave the upper rows without pixels.
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(info.width) * static_cast<std::uint64_t>(info.height);
    if (pixels > blockSize) {
        throw ResourceError("Damaged picture",
                            "the pixel block holds " + std::to_string(blockSize) + " bytes; " +
                                std::to_string(info.width) + " x " + std::to_string(info.height) +
                                " pixels need " + std::to_string(pixels));
    }
    ConvertedPicture picture{startBmp(kPictureBmp8, info.width, info.height, palette), info.width,
                             info.height};
    const auto width = static_cast<std::uint64_t>(info.width);
    for (std::int32_t r = 0; r < info.height; ++r) {
        const std::uint64_t start = blockSize - (static_cast<std::uint64_t>(r) + 1) * width;
        const Bytes source =
            block.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(width));
        std::ranges::copy(source,
                          bmpRow(picture.bmp, kPictureBmp8, info.width, info.height, r).begin());
    }
    return picture;
}

ConvertedPicture convert24(Bytes pcx, const PcxInfo& info) {
    const std::uint64_t rowBytes = 3 * static_cast<std::uint64_t>(info.width);
    const auto height = static_cast<std::uint64_t>(info.height);
    // The bottom row, written first, is the one stored last: check it before making anything.
    if (height > 0) {
        ByteReader(pcx, kPcxHeaderSize + rowBytes * (height - 1)).require(rowBytes);
    }
    ConvertedPicture picture{startBmp(kPictureBmp24, info.width, info.height, {}), info.width,
                             info.height};
    for (std::int32_t r = 0; r < info.height; ++r) {
        const std::uint64_t pcxRow = height - 1 - static_cast<std::uint64_t>(r);
        const Bytes source = ByteReader(pcx, kPcxHeaderSize + rowBytes * pcxRow).bytes(rowBytes);
        std::ranges::copy(source,
                          bmpRow(picture.bmp, kPictureBmp24, info.width, info.height, r).begin());
    }
    return picture;
}

}  // namespace

PcxInfo readPcxInfo(Bytes pcx) {
    ByteReader reader(pcx);
    PcxInfo info;
    info.size = reader.i32();
    info.width = reader.i32();
    info.height = reader.i32();
    if (info.size < 0) {
        throw ResourceError("Damaged picture",
                            "negative pixel block size " + std::to_string(info.size));
    }
    const std::uint64_t blockEnd = kPcxHeaderSize + static_cast<std::uint64_t>(info.size);
    if (pcx.size() < blockEnd) {
        // Neither kind: the pixel block itself runs past the end.
        throw readBeyondEnd(kPcxHeaderSize, static_cast<std::uint64_t>(info.size), pcx.size());
    }
    info.bits = pcx.size() > blockEnd ? 8 : 24;
    return info;
}

ConvertedPicture Conv(Bytes pcx) {
    const PcxInfo info = readPcxInfo(pcx);
    checkPictureSize(info.width, info.height, "picture");
    return info.bits == 8 ? convert8(pcx, info) : convert24(pcx, info);
}

}  // namespace brasvel
