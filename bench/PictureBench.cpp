// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Times picture conversion and sprite frame rendering on pictures made by the writers.
// Prints one line per case: the case, the picture size and the time per call.

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "imaging/DefSprite.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace {

using namespace brasvel;
using namespace brasvel::writers;

writers::PixelGrid pattern(std::int32_t width, std::int32_t height) {
    PixelGrid grid(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            // Stretches of shadow, transparent runs and noisy literals, as real sprites have.
            const int band = (x / 24 + y / 16) % 3;
            grid.set(x, y,
                     static_cast<std::uint8_t>(band == 0   ? 0
                                               : band == 1 ? 1 + y % 6
                                                           : 16 + (x * 7 + y * 13) % 200));
        }
    }
    return grid;
}

void time(const std::string& label, int calls, const std::function<void()>& call) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) {
        call();
    }
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;
    std::printf("%-40s %10.1f us per call\n", label.c_str(), elapsed.count() / calls);
}

}  // namespace

int main() {
    const std::string palette(768, '\x40');
    const std::string pcx8 = gamePcx8(pattern(800, 600), palette);
    time("PCX to BMP 8-bit 800 x 600", 50, [&] { encodePicture(decodePcx(asBytes(pcx8)), PictureFormat::Bmp); });
    const std::string pcx24 = gamePcx24(800, 600, std::string(800 * 600 * 3, '\x55'));
    time("PCX to BMP 24-bit 800 x 600", 50, [&] { encodePicture(decodePcx(asBytes(pcx24)), PictureFormat::Bmp); });

    for (std::int32_t compression : {0, 1, 2, 3}) {
        DefFrame frame;
        frame.compression = compression;
        frame.sprite = pattern(256, 256);
        DefBlock block;
        block.frames = {frame};
        const std::string def = DefWriter(0x42, 256, 256, palette).block(block).build();
        time("walk and render type " + std::to_string(compression) + " 256 x 256", 200,
             [&] { encodePicture(DefSprite::walk(asBytes(def), "bench.def").decodeFrame(1),
                                           PictureFormat::Bmp, {.role = PictureRole::SpriteFrame}); });
    }
    return 0;
}
