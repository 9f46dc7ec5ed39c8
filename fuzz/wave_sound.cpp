// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: a WAV sound's figures and its waveform, as the preview shows them.

#include "fuzz/FuzzSupport.h"
#include "imaging/WaveSound.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    const Bytes input = fuzz::inputBytes(data, size);
    const std::optional<WaveSound> sound = readWave(input);
    if (!sound) {
        return 0;
    }
    // The samples lie inside the input, in whole frames.
    FUZZ_CHECK(sound->blockAlign != 0 && sound->channels != 0);
    FUZZ_CHECK(sound->data.data() >= input.data() &&
               sound->data.data() + sound->data.size() <= input.data() + input.size());
    FUZZ_CHECK(sound->data.size() % sound->blockAlign == 0);
    const std::vector<WavePeak> peaks = wavePeaks(*sound, 64);
    FUZZ_CHECK(peaks.empty() || peaks.size() == 64);
    for (const WavePeak& peak : peaks) {
        FUZZ_CHECK(peak.low <= peak.high);
    }
    const Picture drawn = waveformPicture(peaks, 32);
    FUZZ_CHECK(drawn.pixels.size() == peaks.size() * 32);
    return 0;
}
