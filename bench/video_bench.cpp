// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Opening a 640 × 480 clip from memory and decoding its first frame to RGB, the work of showing a
// video entry's first picture; and one frame step further on, the work of playing it. The clip is
// lossless FFV1 in AVI with 22 kHz sound (the game's codecs have no encoder), 30 frames at 15 a
// second. And a jump to a frame far into a longer clip with a key frame every 50, the work of
// the slider, which decodes from the key frame before it.

#include <benchmark/benchmark.h>

#include "tools/writers/VideoWriters.h"
#include "video/VideoClip.h"

namespace {

using namespace brasvel;

const writers::ClipShape kShape{640, 480, 30, 15, 22050, 1};

const std::string& clipFile() {
    static const std::string file = writers::losslessClip(kShape);
    return file;
}

video::VideoOptions clipOptions() {
    video::VideoOptions options;
    options.formats.insert(options.formats.end(), writers::kClipFormats.begin(),
                           writers::kClipFormats.end());
    options.codecs.insert(options.codecs.end(), writers::kClipCodecs.begin(),
                          writers::kClipCodecs.end());
    return options;
}

Bytes clipBytes() {
    return {reinterpret_cast<const std::byte*>(clipFile().data()), clipFile().size()};
}

void openAndFirstFrame(benchmark::State& state) {
    const video::VideoOptions options = clipOptions();
    const Bytes bytes = clipBytes();  // encoded once, before the timing
    for (auto _ : state) {
        video::VideoClip clip = video::VideoClip::open(bytes, "BENCH.smk", options);
        benchmark::DoNotOptimize(clip.frame(1).pixels.data());
    }
    state.counters["clip_bytes"] = static_cast<double>(clipFile().size());
}

void frameStep(benchmark::State& state) {
    video::VideoClip clip = video::VideoClip::open(clipBytes(), "BENCH.smk", clipOptions());
    std::uint32_t frame = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(clip.frame(frame).pixels.data());
        frame = frame % static_cast<std::uint32_t>(kShape.frames) + 1;  // back to 1 every 30
    }
}

// 1000 frames of 320 × 240; the jumps alternate between frames 900 and 120, each from a key
// frame 49 and 19 frames before it. With the container's seek, and by reading the container on
// from the start to the key frame, as with the game's containers, whose seek only rewinds.
void jumpFarIn(benchmark::State& state, bool demuxerSeek) {
    const writers::ClipShape shape{320, 240, 1000, 25, 0, 1, 50};
    const std::string file = writers::losslessClip(shape);
    const Bytes bytes{reinterpret_cast<const std::byte*>(file.data()), file.size()};
    video::VideoOptions options = clipOptions();
    options.demuxerSeek = demuxerSeek;
    video::VideoClip clip = video::VideoClip::open(bytes, "BENCH.smk", options);
    bool far = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(clip.frame(far ? 900 : 120).pixels.data());
        far = !far;
    }
    state.counters["frames_decoded"] =
        static_cast<double>(clip.framesDecoded()) / static_cast<double>(state.iterations());
}

BENCHMARK(openAndFirstFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(frameStep)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(jumpFarIn, seeking, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(jumpFarIn, readingOn, false)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
