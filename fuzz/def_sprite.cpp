// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: a sprite collection's directory walk and one frame's decoding.
//
//   0  the file name the sprite is walked under (the special files have rules of their own)
//   1  u16, the frame to render: as given when it is 0 or just past the last frame, else taken
//      modulo the frame count so that most inputs reach a real frame
//   3  the sprite file

#include <array>
#include <string_view>

#include "base/ResourceError.h"
#include "fuzz/FuzzSupport.h"
#include "imaging/Bmp.h"
#include "imaging/DefSprite.h"
#include "imaging/PictureFormats.h"

namespace {

// Frames of larger pictures are walked and checked but not rendered: they run the same code as
// small ones, only longer, and a run must stay well inside the fuzzer's timeout.
constexpr std::uint64_t kMostRenderedPixels = std::uint64_t{1} << 22;

constexpr std::array<std::string_view, 6> kFileNames = {
    "sprite.def", "SGTWMTA.def", "SGTWMTB.def", "Cphx.def", "data/Cphx.def", "",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    if (size < 3) {
        return 0;
    }
    const std::string_view fileName = kFileNames[data[0] % kFileNames.size()];
    const std::uint32_t chosen = static_cast<std::uint32_t>(data[1] | data[2] << 8);
    const Bytes def = fuzz::inputBytes(data + 3, size - 3);
    try {
        const DefSprite sprite = DefSprite::walk(def, fileName);
        (void)defTypeText(sprite.type());
        const std::uint32_t total = sprite.frameTotal();
        const std::uint32_t frame =
            (chosen == 0 || chosen == total + 1 || total == 0) ? chosen : 1 + chosen % total;
        (void)sprite.frameHeader(frame);
        FUZZ_CHECK(frame >= 1 && frame <= total);
        checkPictureSize(sprite.width(), sprite.height(), ErrorKind::DamagedSprite);
        if (static_cast<std::uint64_t>(sprite.width()) *
                static_cast<std::uint64_t>(sprite.height()) >
            kMostRenderedPixels) {
            return 0;
        }
        const Picture picture = sprite.decodeFrame(frame);
        FUZZ_CHECK(picture.width == sprite.width() && picture.height == sprite.height());
        const std::vector<std::byte> bmp =
            encodePicture(picture, PictureFormat::Bmp, {.role = PictureRole::SpriteFrame});
        const std::uint64_t expected =
            kBmpHeadersSize + kBmpPaletteSize +
            bmpStride(8, picture.width) * static_cast<std::uint64_t>(picture.height);
        FUZZ_CHECK(bmp.size() == expected);
    } catch (const ResourceError& error) {
        FUZZ_CHECK(!error.text().empty());
    }
    return 0;
}
