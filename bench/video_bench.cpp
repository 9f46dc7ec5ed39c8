// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Opening a 640 × 480 clip from memory and decoding its first frame to RGB, the work of showing a
// video entry's first picture; and one frame step further on, the work of playing it. The clip is
// lossless FFV1 in AVI with 22 kHz sound (the game's codecs have no encoder), 30 frames at 15 a
// second.

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
        frame = frame % static_cast<std::uint32_t>(kShape.frames) + 1;  // a restart every 30
    }
}

BENCHMARK(openAndFirstFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(frameStep)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
