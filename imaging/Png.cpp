#include "imaging/Png.h"

#include <libdeflate.h>
#include <png.h>

#include <algorithm>
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

ResourceError pngError(const std::string& what, const png_image& image) {
    return ResourceError(what, image.message[0] != '\0' ? image.message : "libpng failed");
}

void checkEncodable(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) {
        throw ResourceError(
            "Cannot write an empty picture as PNG",
            std::to_string(picture.width) + " x " + std::to_string(picture.height) + " pixels");
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
        const ResourceError error = pngError("Cannot write PNG", image);
        png_image_free(&image);
        throw error;
    }
    png.resize(size);
    return png;
}

std::vector<std::byte> encodeAnimatedPng(std::span<const Picture> frames, const PaletteAlpha& alpha,
                                         std::uint16_t delayMs) {
    if (frames.empty()) {
        throw ResourceError("Cannot write an animation without frames");
    }
    std::vector<std::byte> out(
        reinterpret_cast<const std::byte*>(kSignature.data()),
        reinterpret_cast<const std::byte*>(kSignature.data()) + kSignature.size());
    std::uint32_t sequence = 0;
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const Picture& frame = frames[f];
        if (frame.width != frames[0].width || frame.height != frames[0].height ||
            frame.format != PixelFormat::Indexed8) {
            throw ResourceError("Cannot write an animation of unequal frames",
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

Picture decodePng(Bytes png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, png.data(), png.size()) == 0) {
        throw pngError("Damaged PNG file", image);
    }
    struct Release {
        png_image* image;
        ~Release() { png_image_free(image); }
    } release{&image};
    // Sides beyond the limit are clamped to just past it, which checkPictureSize refuses.
    const png_uint_32 pastLimit = kMaxPictureSide + 1;
    const auto width = static_cast<std::int32_t>(std::min(image.width, pastLimit));
    const auto height = static_cast<std::int32_t>(std::min(image.height, pastLimit));
    checkPictureSize(width, height, "picture");
    if ((image.format & PNG_FORMAT_FLAG_COLORMAP) != 0) {
        image.format = PNG_FORMAT_RGBA_COLORMAP;
        Picture picture = Picture::blank(width, height, PixelFormat::Indexed8);
        std::vector<std::uint8_t> colormap(4 * 256);
        if (png_image_finish_read(&image, nullptr, picture.pixels.data(),
                                  static_cast<png_int_32>(picture.rowBytes()),
                                  colormap.data()) == 0) {
            throw pngError("Damaged PNG file", image);
        }
        for (std::size_t i = 0; i < image.colormap_entries && i < 256; ++i) {
            picture.palette[i] = {colormap[4 * i], colormap[4 * i + 1], colormap[4 * i + 2]};
        }
        return picture;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(4 * static_cast<std::size_t>(width) *
                                   static_cast<std::size_t>(height));
    if (png_image_finish_read(&image, nullptr, rgba.data(), 4 * width, nullptr) == 0) {
        throw pngError("Damaged PNG file", image);
    }
    Picture picture = Picture::blank(width, height, PixelFormat::Rgb24);
    for (std::size_t p = 0, q = 0; p < rgba.size(); p += 4, q += 3) {
        picture.pixels[q] = rgba[p];
        picture.pixels[q + 1] = rgba[p + 1];
        picture.pixels[q + 2] = rgba[p + 2];
    }
    return picture;
}

}  // namespace brasvel
