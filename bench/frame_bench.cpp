// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Sprite frames decoded straight from memory, next to inflating the same sprite's stream: both
// report bytes produced per second, so their ratio says whether decoding keeps up with inflating.
// One benchmark also gives the time of one frame step (decode one frame to a BMP) of a large
// sprite, which is what the preview does for every position of the frame scroll bar.

#include <benchmark/benchmark.h>
#include <libdeflate.h>

#include <random>

#include "imaging/DefEncoder.h"
#include "imaging/DefSprite.h"
#include "imaging/PictureFormats.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace {

using namespace brasvel;
using namespace brasvel::writers;

constexpr EncodeOptions kSpriteFrame{PictureRole::SpriteFrame};

constexpr std::int32_t kSide = 320;
constexpr int kFrames = 100;

// A figure of runs of colour on a transparent background, with a shadow band of special indices.
PixelGrid figure(int frame, std::mt19937& random) {
    PixelGrid sprite(kSide - 40, kSide - 40);
    for (std::int32_t y = 0; y < sprite.height; ++y) {
        const std::int32_t inset = std::abs(y - sprite.height / 2) / 2 + frame % 7;
        std::int32_t x = inset;
        while (x < sprite.width - inset) {
            const std::int32_t run = 1 + static_cast<std::int32_t>(random() % 9);
            const auto colour = static_cast<std::uint8_t>(y > sprite.height - 30 ? 1 + random() % 4
                                                                                 : 16 + random() % 200);
            for (std::int32_t k = 0; k < run && x < sprite.width - inset; ++k) {
                sprite.set(x++, y, colour);
            }
        }
    }
    return sprite;
}

struct LargeSprite {
    std::string file;
    std::string stream;

    explicit LargeSprite(std::int32_t compression) {
        std::mt19937 random(7);
        std::string palette;
        for (int i = 0; i < 768; ++i) {
            palette += static_cast<char>(i * 7);
        }
        DefWriter writer(0x42, kSide, kSide, palette);
        for (int b = 0; b < 4; ++b) {
            DefBlock block;
            block.identifier = b;
            for (int f = 0; f < kFrames / 4; ++f) {
                DefFrame frame;
                frame.name = "F" + std::to_string(b) + "_" + std::to_string(f) + ".pcx";
                frame.compression = compression;
                frame.sprite = figure(b * 100 + f, random);
                frame.left = 20;
                frame.top = 20;
                block.frames.push_back(std::move(frame));
            }
            writer.block(std::move(block));
        }
        file = writer.build();
        stream = zlibCompress(file);
    }
};

const LargeSprite& sprite(std::int32_t compression) {
    static const LargeSprite type1(1), type2(2), type3(3);
    return compression == 1 ? type1 : compression == 2 ? type2 : type3;
}

Bytes bytesOf(const std::string& text) { return asBytes(text); }

void inflateSprite(benchmark::State& state) {
    const LargeSprite& input = sprite(static_cast<std::int32_t>(state.range(0)));
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    std::string out(input.file.size(), '\0');
    for (auto _ : state) {
        std::size_t produced = 0;
        libdeflate_zlib_decompress(decompressor, input.stream.data(), input.stream.size(),
                                   out.data(), out.size(), &produced);
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(decompressor);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(input.file.size()));
}

// Every frame of the sprite decoded and written as a BMP; bytes are the sprite file's, as for
// inflating, so the two rates compare the same work unit.
void decodeAllFrames(benchmark::State& state) {
    const LargeSprite& input = sprite(static_cast<std::int32_t>(state.range(0)));
    const DefSprite def = DefSprite::walk(bytesOf(input.file), "BENCH.def");
    for (auto _ : state) {
        for (std::uint32_t frame = 1; frame <= def.frameTotal(); ++frame) {
            benchmark::DoNotOptimize(
                encodePicture(def.decodeFrame(frame), PictureFormat::Bmp, kSpriteFrame).data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(input.file.size()));
}

// One step of the frame scroll bar: one frame of the sprite already in memory, to a BMP.
void frameStep(benchmark::State& state) {
    const LargeSprite& input = sprite(static_cast<std::int32_t>(state.range(0)));
    const DefSprite def = DefSprite::walk(bytesOf(input.file), "BENCH.def");
    std::uint32_t frame = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            encodePicture(def.decodeFrame(frame), PictureFormat::Bmp, kSpriteFrame).data());
        frame = frame % def.frameTotal() + 1;
    }
}

// The sprite written again from its decoded frames (each cropped and encoded as stored); bytes
// are the sprite file's, as for decoding, so the two rates compare.
void encodeSprite(benchmark::State& state) {
    const auto compression = static_cast<std::int32_t>(state.range(0));
    const LargeSprite& input = sprite(compression);
    const DefSprite def = DefSprite::walk(bytesOf(input.file), "BENCH.def");
    DefSource source{def.type(), def.width(), def.height(), def.palette(), {}};
    for (const DefBlockInfo& block : def.blocks()) {
        DefBlockSource& target = source.blocks.emplace_back();
        target.identifier = block.identifier;
        for (std::uint32_t f = 0; f < block.frameNames.size(); ++f) {
            target.frames.push_back(
                {"frame", compression, def.decodeFrame(block.firstFrame + f)});
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(encodeDef(source).data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(input.file.size()));
}

BENCHMARK(inflateSprite)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeAllFrames)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(encodeSprite)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(frameStep)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
