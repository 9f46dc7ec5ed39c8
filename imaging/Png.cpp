// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/Png.h"

#include <libdeflate.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "imaging/Bmp.h"

// A PNG file is an 8-byte signature and chunks: length (32-bit, big-endian), a four-letter type,
// the data, and a CRC-32 of type and data. An animated PNG adds, after IHDR, an acTL chunk
// (frame count, play count) and, before each frame's data, an fcTL chunk (sequence number, size,
// offset, delay as a fraction of a second, disposal and blending); the first frame's data are the
// IDAT chunks, every later frame's are fdAT chunks (a sequence number, then IDAT's data).

namespace brasvel {
namespace {

constexpr std::string_view kSignature = "\x89PNG\r\n\x1a\n";

ResourceError pngError(ErrorKind kind, const png_image& image) {
    return ResourceError(kind, image.message[0] != '\0' ? image.message : "libpng failed");
}

void checkEncodable(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) {
        throw ResourceError(ErrorKind::EmptyPng, std::to_string(picture.width) + " x " +
                                                     std::to_string(picture.height) + " pixels");
    }
}

struct Chunk {
    std::string_view type;
    Bytes data;
};

// The chunks of a PNG file that libpng wrote.
std::vector<Chunk> chunksOf(Bytes png) {
    std::vector<Chunk> chunks;
    ByteReader reader(png, kSignature.size());
    while (reader.remaining() > 0) {
        const Bytes lengthBytes = reader.bytes(4);
        const std::uint32_t length = static_cast<std::uint32_t>(lengthBytes[0]) << 24 |
                                     static_cast<std::uint32_t>(lengthBytes[1]) << 16 |
                                     static_cast<std::uint32_t>(lengthBytes[2]) << 8 |
                                     static_cast<std::uint32_t>(lengthBytes[3]);
        const Bytes type = reader.bytes(4);
        const Bytes data = reader.bytes(length);
        /* crc = */ reader.u32();
        chunks.push_back({{reinterpret_cast<const char*>(type.data()), 4}, data});
    }
    return chunks;
}

void putBig32(std::vector<std::byte>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::byte>((value >> shift) & 0xFF));
    }
}

void putBig16(std::vector<std::byte>& out, std::uint16_t value) {
    out.push_back(static_cast<std::byte>(value >> 8));
    out.push_back(static_cast<std::byte>(value & 0xFF));
}

void putChunk(std::vector<std::byte>& out, std::string_view type, Bytes data) {
    putBig32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    for (const char letter : type) {
        out.push_back(static_cast<std::byte>(letter));
    }
    out.insert(out.end(), data.begin(), data.end());
    const std::uint32_t crc = libdeflate_crc32(0, out.data() + typeAt, out.size() - typeAt);
    putBig32(out, crc);
}

std::vector<std::byte> frameControl(std::uint32_t sequence, const Picture& frame,
                                    std::uint16_t delayMs) {
    std::vector<std::byte> data;
    putBig32(data, sequence);
    putBig32(data, static_cast<std::uint32_t>(frame.width));
    putBig32(data, static_cast<std::uint32_t>(frame.height));
    putBig32(data, 0);  // x offset
    putBig32(data, 0);  // y offset
    putBig16(data, delayMs);
    putBig16(data, 1000);          // the delay counts thousandths of a second
    data.push_back(std::byte{0});  // dispose: leave the frame as it is
    data.push_back(std::byte{0});  // blend: replace, transparency included
    return data;
}

}  // namespace

std::vector<std::byte> encodePng(const Picture& picture, const PaletteAlpha& alpha) {
    return encodePng(picture, picture.palette, alpha);
}

std::vector<std::byte> encodePng(const Picture& picture, const Palette& palette,
                                 const PaletteAlpha& alpha) {
    checkEncodable(picture);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.flags = PNG_IMAGE_FLAG_FAST;
    std::vector<std::uint8_t> colormap;
    const bool indexed = picture.format == PixelFormat::Indexed8;
    if (indexed) {
        image.format = PNG_FORMAT_RGBA_COLORMAP;
        image.colormap_entries = 256;
        colormap.reserve(4 * 256);
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const Colour& c = palette[i];
            colormap.insert(colormap.end(), {c.red, c.green, c.blue, alpha[i]});
        }
    } else {
        image.format = PNG_FORMAT_RGB;
    }
    const auto stride = static_cast<png_int_32>(picture.rowBytes());
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::vector<std::byte> png(size);
    if (png_image_write_to_memory(&image, png.data(), &size, 0, picture.pixels.data(), stride,
                                  indexed ? colormap.data() : nullptr) == 0) {
        const ResourceError error = pngError(ErrorKind::CannotWritePng, image);
        png_image_free(&image);
        throw error;
    }
    png.resize(size);
    return png;
}

std::vector<std::byte> encodeAnimatedPng(std::span<const Picture> frames, const PaletteAlpha& alpha,
                                         std::uint16_t delayMs) {
    if (frames.empty()) {
        throw ResourceError(ErrorKind::AnimationWithoutFrames);
    }
    std::vector<std::byte> out(
        reinterpret_cast<const std::byte*>(kSignature.data()),
        reinterpret_cast<const std::byte*>(kSignature.data()) + kSignature.size());
    std::uint32_t sequence = 0;
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const Picture& frame = frames[f];
        if (frame.width != frames[0].width || frame.height != frames[0].height ||
            frame.format != PixelFormat::Indexed8) {
            throw ResourceError(ErrorKind::UnequalFrames,
                                "frame " + std::to_string(f) + " differs from the first");
        }
        const std::vector<std::byte> png = encodePng(frame, frames[0].palette, alpha);
        bool controlWritten = false;
        for (const Chunk& chunk : chunksOf(png)) {
            if (chunk.type == "IDAT") {
                if (!controlWritten) {
                    putChunk(out, "fcTL", frameControl(sequence++, frame, delayMs));
                    controlWritten = true;
                }
                if (f == 0) {
                    putChunk(out, "IDAT", chunk.data);
                    continue;
                }
                std::vector<std::byte> data;
                putBig32(data, sequence++);
                data.insert(data.end(), chunk.data.begin(), chunk.data.end());
                putChunk(out, "fdAT", data);
            } else if (f == 0 && chunk.type != "IEND") {
                // The first frame's headers (IHDR, colour space, PLTE, tRNS) serve every frame.
                putChunk(out, chunk.type, chunk.data);
                if (chunk.type == "IHDR") {
                    std::vector<std::byte> control;
                    putBig32(control, static_cast<std::uint32_t>(frames.size()));
                    putBig32(control, 0);  // play for ever
                    putChunk(out, "acTL", control);
                }
            }
        }
    }
    putChunk(out, "IEND", {});
    return out;
}

namespace {

// libpng reports errors by a long jump back into the function that set it; these hold what it
// said. Nothing with a destructor lives between a setjmp and the end of its function.
// A PNG being read: libpng's structures, released with it, and the bytes it reads from.
struct PngReading {
    PngReading() = default;
    PngReading(const PngReading&) = delete;
    PngReading& operator=(const PngReading&) = delete;
    ~PngReading() { png_destroy_read_struct(&png, &info, nullptr); }

    png_structp png = nullptr;
    png_infop info = nullptr;
    Bytes file;
    std::size_t at = 0;
    char message[160] = {};
};

void pngFailed(png_structp png, png_const_charp message) {
    auto* reading = static_cast<PngReading*>(png_get_error_ptr(png));
    std::snprintf(reading->message, sizeof reading->message, "%s", message);
    png_longjmp(png, 1);
}

void pngWarned(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep out, png_size_t length) {
    auto* reading = static_cast<PngReading*>(png_get_io_ptr(png));
    if (length > reading->file.size() - reading->at) {
        png_error(png, "the file ends before its last chunk");
    }
    std::memcpy(out, reading->file.data() + reading->at, length);
    reading->at += length;
}

[[noreturn]] void damagedPng(const PngReading& reading) {
    throw ResourceError(ErrorKind::DamagedPng,
                        reading.message[0] != '\0' ? reading.message : "libpng failed");
}

// The header's sides, read before libpng sees the file: libpng would call an empty picture
// damaged, and the size is checked before anything is allocated for the pixels.
void checkHeaderSize(Bytes png) {
    if (png.size() < 24 || std::memcmp(png.data(), kSignature.data(), kSignature.size()) != 0 ||
        std::memcmp(png.data() + 12, "IHDR", 4) != 0) {
        return;  // libpng says what is wrong
    }
    const auto big32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(png[at]) << 24 |
               static_cast<std::uint32_t>(png[at + 1]) << 16 |
               static_cast<std::uint32_t>(png[at + 2]) << 8 |
               static_cast<std::uint32_t>(png[at + 3]);
    };
    // Sides beyond the limit are clamped to just past it, which checkPictureSize refuses.
    const std::uint32_t pastLimit = kMaxPictureSide + 1;
    const auto width = static_cast<std::int32_t>(std::min(big32(16), pastLimit));
    const auto height = static_cast<std::int32_t>(std::min(big32(20), pastLimit));
    checkPictureNotEmpty(width, height);
    checkPictureSize(width, height, ErrorKind::DamagedPicture);
}

// The colour-space chunks, read as unknown ones and dropped: the samples are taken as they are.
void ignoreColourSpace(png_structp png) {
    static const png_byte kChunks[] = {'g', 'A', 'M', 'A', 0, 'c', 'H', 'R', 'M', 0,
                                       'i', 'C', 'C', 'P', 0, 's', 'R', 'G', 'B', 0};
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kChunks, 4);
}

// Reads the header and sets the transforms: indices one byte each for a paletted file, else
// 8-bit RGB (16-bit samples keep their high byte, grey is repeated, alpha dropped); with `rgba`,
// every file becomes 8-bit RGBA (the palette and tRNS expanded, opaque where there is no alpha).
bool readHeader(PngReading& reading, png_uint_32& width, png_uint_32& height, bool& indexed,
                bool rgba) {
    if (setjmp(png_jmpbuf(reading.png)) != 0) {
        return false;
    }
    png_set_read_fn(reading.png, &reading, pngRead);
    ignoreColourSpace(reading.png);
    png_set_benign_errors(reading.png, 1);
    png_read_info(reading.png, reading.info);
    int bitDepth = 0;
    int colourType = 0;
    png_get_IHDR(reading.png, reading.info, &width, &height, &bitDepth, &colourType, nullptr,
                 nullptr, nullptr);
    indexed = colourType == PNG_COLOR_TYPE_PALETTE && !rgba;
    if (rgba) {
        png_set_expand(reading.png);
        png_set_strip_16(reading.png);
        if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
            png_set_gray_to_rgb(reading.png);
        }
        png_set_add_alpha(reading.png, 0xFF, PNG_FILLER_AFTER);
    } else if (indexed) {
        png_set_packing(reading.png);
    } else {
        png_set_strip_16(reading.png);
        png_set_expand_gray_1_2_4_to_8(reading.png);
        png_set_strip_alpha(reading.png);
        if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
            png_set_gray_to_rgb(reading.png);
        }
    }
    png_set_interlace_handling(reading.png);
    png_read_update_info(reading.png, reading.info);
    return png_get_rowbytes(reading.png, reading.info) ==
           static_cast<png_size_t>(width) * (rgba ? 4 : indexed ? 1 : 3);
}

bool readPixels(PngReading& reading, png_bytepp rows) {
    if (setjmp(png_jmpbuf(reading.png)) != 0) {
        return false;
    }
    png_read_image(reading.png, rows);
    png_read_end(reading.png, nullptr);
    return true;
}

// Creates libpng's reading of `png`; the caller destroys it.
void startReading(PngReading& reading, Bytes png) {
    checkHeaderSize(png);
    reading.file = png;
    reading.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reading, pngFailed, pngWarned);
    if (reading.png == nullptr) {
        throw ResourceError(ErrorKind::CannotReadPng, "libpng could not start");
    }
    reading.info = png_create_info_struct(reading.png);
    if (reading.info == nullptr) {
        throw ResourceError(ErrorKind::CannotReadPng, "libpng could not start");
    }
}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool indexed = false;
};

// Starts reading `png` and reads its header (as RGBA, or as its own pixels); a damaged one throws.
PngHeader startedHeader(PngReading& reading, Bytes png, bool rgba) {
    startReading(reading, png);
    PngHeader header;
    if (!readHeader(reading, header.width, header.height, header.indexed, rgba)) {
        damagedPng(reading);
    }
    return header;
}

}  // namespace

Picture decodePng(Bytes png) {
    PngReading reading;
    const auto [width, height, indexed] = startedHeader(reading, png, false);
    const auto sideWidth = static_cast<std::int32_t>(width);
    const auto sideHeight = static_cast<std::int32_t>(height);
    checkPictureNotEmpty(sideWidth, sideHeight);
    checkPictureSize(sideWidth, sideHeight, ErrorKind::DamagedPicture);
    Picture picture =
        Picture::blank(sideWidth, sideHeight, indexed ? PixelFormat::Indexed8 : PixelFormat::Rgb24);
    std::vector<png_bytep> rows(height);
    for (std::int32_t y = 0; y < sideHeight; ++y) {
        rows[static_cast<std::size_t>(y)] = picture.row(y);
    }
    if (!readPixels(reading, rows.data())) {
        damagedPng(reading);
    }
    if (indexed) {
        png_colorp colours = nullptr;
        int count = 0;
        if (png_get_PLTE(reading.png, reading.info, &colours, &count) != 0) {
            for (int i = 0; i < count && i < 256; ++i) {
                picture.palette[static_cast<std::size_t>(i)] = {colours[i].red, colours[i].green,
                                                                colours[i].blue};
            }
        }
    }
    return picture;
}

RgbaPicture decodePngRgba(Bytes png) {
    PngReading reading;
    const auto [width, height, indexed] = startedHeader(reading, png, true);
    RgbaPicture picture{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), {}};
    checkPictureNotEmpty(picture.width, picture.height);
    checkPictureSize(picture.width, picture.height, ErrorKind::DamagedPicture);
    picture.rgba.resize(static_cast<std::size_t>(width) * height * 4);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = picture.rgba.data() + static_cast<std::size_t>(y) * width * 4;
    }
    if (!readPixels(reading, rows.data())) {
        damagedPng(reading);
    }
    return picture;
}

}  // namespace brasvel
