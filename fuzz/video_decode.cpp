// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: a video entry opened from memory, frames 1 to 3 decoded, then frame 2 again (back
// through the container's index, where it has one), a jump on to frame 30 and back to 12, and, on
// request, its sound: whole, and read as it is decoded from half a second on.
//
// The first input byte is a control byte: bit 0 also allows the AVI container and the lossless
// codecs the test clips use (so the seeds made by the test writer decode), bit 1 decodes the
// sound, bit 2 keeps the container's own seek out of the jumps (they read on to a key frame).
// The rest is the entry.

#include "base/ResourceError.h"
#include "fuzz/FuzzSupport.h"
#include "tools/writers/VideoWriters.h"
#include "video/VideoClip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    if (size < 1) {
        return 0;
    }
    const std::uint8_t control = data[0];
    video::VideoOptions options;
    options.demuxerSeek = (control & 4) == 0;
    if (control & 1) {
        options.formats.insert(options.formats.end(), writers::kClipFormats.begin(),
                               writers::kClipFormats.end());
        options.codecs.insert(options.codecs.end(), writers::kClipCodecs.begin(),
                              writers::kClipCodecs.end());
    }
    try {
        video::VideoClip clip =
            video::VideoClip::open(fuzz::inputBytes(data + 1, size - 1), "FUZZ.smk", options);
        const video::VideoInfo& info = clip.info();
        FUZZ_CHECK(info.width > 0 && info.width <= video::kMaxVideoSide);
        FUZZ_CHECK(info.height > 0 && info.height <= video::kMaxVideoSide);
        for (const std::uint32_t number : {1u, 2u, 3u, 2u, 30u, 12u}) {
            try {
                const Picture picture = clip.frame(number);
                FUZZ_CHECK(picture.format == PixelFormat::Rgb24);
                FUZZ_CHECK(picture.pixels.size() ==
                           std::size_t(picture.width) * std::size_t(picture.height) * 3);
            } catch (const ResourceError& error) {
                FUZZ_CHECK(error.entry() == "FUZZ.smk");
            }
        }
        if ((control & 2) && info.sound) {
            const video::Pcm pcm = clip.sound();
            FUZZ_CHECK(pcm.channels > 0 && pcm.samples.size() % std::size_t(pcm.channels) == 0);
            FUZZ_CHECK(video::wavFile(pcm).size() == 44 + pcm.samples.size() * 2);
            video::ClipSound sound = clip.soundFrom(0.5);
            FUZZ_CHECK(sound.rate() == pcm.rate && sound.channels() == pcm.channels);
            std::vector<std::int16_t> chunk(999);
            std::size_t read = 0;
            while (const std::size_t count = sound.read(chunk)) {
                FUZZ_CHECK(count <= chunk.size() && count % std::size_t(pcm.channels) == 0);
                read += count;
            }
            FUZZ_CHECK(read <= pcm.samples.size());
        }
    } catch (const ResourceError& error) {
        FUZZ_CHECK(error.entry() == "FUZZ.smk" && !error.text().empty());
    }
    return 0;
}
