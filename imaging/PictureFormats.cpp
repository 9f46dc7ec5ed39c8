// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/PictureFormats.h"

#include <array>
#include <string>

#include "base/Text.h"
#include "imaging/Bmp.h"
#include "imaging/Png.h"
#include "imaging/SpriteColours.h"

namespace brasvel {
namespace {

std::vector<std::byte> encodeBmpFile(const Picture& picture, const EncodeOptions& options) {
    if (options.role == PictureRole::SpriteFrame) {
        return encodeBmp(picture, kSpriteBmp);
    }
    return encodeBmp(picture,
                     picture.format == PixelFormat::Indexed8 ? kPictureBmp8 : kPictureBmp24);
}

// A sprite frame's markers become transparency unless the palette is to be kept as it is.
std::vector<std::byte> encodePngFile(const Picture& picture, const EncodeOptions& options) {
    if (options.role != PictureRole::SpriteFrame || options.keepPalette ||
        picture.format != PixelFormat::Indexed8) {
        return encodePng(picture);
    }
    const SpriteColours colours = spriteColours(picture.palette, options.selection);
    return encodePng(picture, colours.palette, colours.alpha);
}

constexpr std::array kFormats{
    PictureFormatInfo{PictureFormat::Bmp, "bmp", ".bmp", encodeBmpFile, decodeBmp},
    PictureFormatInfo{PictureFormat::Png, "png", ".png", encodePngFile, decodePng},
};

}  // namespace

std::span<const PictureFormatInfo> pictureFormats() {
    return kFormats;
}

const PictureFormatInfo& pictureFormatInfo(PictureFormat format) {
    for (const PictureFormatInfo& info : kFormats) {
        if (info.format == format) {
            return info;
        }
    }
    return kFormats.front();  // every enumerator has a row
}

std::optional<PictureFormat> pictureFormatNamed(std::string_view name) {
    for (const PictureFormatInfo& info : kFormats) {
        if (equalIgnoringAsciiCase(info.name, name)) {
            return info.format;
        }
    }
    return std::nullopt;
}

std::optional<PictureFormat> formatOfPath(std::string_view path) {
    for (const PictureFormatInfo& info : kFormats) {
        if (path.size() > info.suffix.size() &&
            equalIgnoringAsciiCase(path.substr(path.size() - info.suffix.size()), info.suffix)) {
            return info.format;
        }
    }
    return std::nullopt;
}

std::vector<std::byte> encodePicture(const Picture& picture, PictureFormat format,
                                     const EncodeOptions& options) {
    return pictureFormatInfo(format).encode(picture, options);
}

Picture decodePicture(Bytes file, PictureFormat format) {
    const PictureFormatInfo& info = pictureFormatInfo(format);
    if (info.decode == nullptr) {
        throw ResourceError(ErrorKind::UnsupportedPictureFormat,
                            std::string(info.name) + " files are written, not read");
    }
    return info.decode(file);
}

}  // namespace brasvel
