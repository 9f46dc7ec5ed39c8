// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: the sprite encoder, with the decoder as its oracle. The input makes the sprite:
//
//   0  the type: odd bytes make a full-picture sprite (type 153), even ones an ordinary one
//   1  width - 1 (up to 64)       2  height - 1 (up to 64)
//   3  frame count (0 to 7)       4  block count (0 to 3), frames dealt round the blocks
//   5  the compression of each frame, two bits each from here on (as many bytes as needed)
//   the rest: the frames' indices, frame after frame, repeated when the input runs out
//
// A sprite the encoder accepts must decode to its frames exactly; a refusal must be
// "Cannot write sprite".

#include <string>

#include "base/ResourceError.h"
#include "fuzz/FuzzSupport.h"
#include "imaging/DefEncoder.h"
#include "imaging/DefSprite.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    constexpr std::size_t kHeader = 7;
    if (size < kHeader) {
        return 0;
    }
    DefSource source;
    source.type = (data[0] & 1) != 0 ? kFullPictureType : data[0];
    source.width = 1 + data[1] % 64;
    source.height = 1 + data[2] % 64;
    source.fullPicture = source.type == kFullPictureType;
    const std::size_t frames = data[3] % 8;
    const std::size_t blocks = data[4] % 4;
    const std::uint16_t compressions = static_cast<std::uint16_t>(data[5] | data[6] << 8);
    for (std::size_t i = 0; i < source.palette.size(); ++i) {
        source.palette[i] = {static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(~i)};
    }
    source.blocks.resize(blocks);
    const std::uint8_t* pixels = data + kHeader;
    const std::size_t pixelBytes = size - kHeader;
    std::size_t next = 0;
    for (std::size_t f = 0; f < frames && blocks > 0; ++f) {
        DefFrameSource frame;
        frame.name = "f" + std::to_string(f);
        frame.compression = (compressions >> (2 * f)) & 3;
        frame.picture = Picture::blank(source.width, source.height, PixelFormat::Indexed8);
        frame.picture.palette = source.palette;
        for (std::uint8_t& pixel : frame.picture.pixels) {
            pixel = pixelBytes == 0 ? 0 : pixels[next++ % pixelBytes];
        }
        source.blocks[f % blocks].frames.push_back(std::move(frame));
    }
    std::vector<std::byte> file;
    try {
        file = encodeDef(source);
    } catch (const ResourceError& error) {
        FUZZ_CHECK(error.kind() == ErrorKind::CannotWriteSprite);
        return 0;
    }
    const DefSprite sprite = DefSprite::walk(file, "fuzz.def");
    FUZZ_CHECK(sprite.blocks().size() == blocks);
    FUZZ_CHECK(sprite.palette() == source.palette);
    std::uint32_t number = 1;
    for (const DefBlockSource& block : source.blocks) {
        for (const DefFrameSource& frame : block.frames) {
            FUZZ_CHECK(sprite.decodeFrame(number++) == frame.picture);
        }
    }
    FUZZ_CHECK(number == sprite.frameTotal() + 1);
    return 0;
}
