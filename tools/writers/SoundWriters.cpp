// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "tools/writers/SoundWriters.h"

#include <algorithm>
#include <cmath>

#include "tools/writers/ArchiveWriters.h"

namespace brasvel::writers {

std::string pcmWave(double seconds, std::uint32_t rate,
                    const std::function<double(double)>& sample) {
    const auto count = static_cast<std::uint32_t>(seconds * rate);
    std::string data;
    data.reserve(count * 2);
    for (std::uint32_t i = 0; i < count; ++i) {
        const double value = std::clamp(sample(static_cast<double>(i) / rate), -1.0, 1.0);
        putU16(data,
               static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value * 30000))));
    }
    std::string out = "RIFF";
    putU32(out, static_cast<std::uint32_t>(36 + data.size()));
    out += "WAVEfmt ";
    putU32(out, 16);
    putU16(out, 1);  // PCM
    putU16(out, 1);  // mono
    putU32(out, rate);
    putU32(out, rate * 2);  // bytes a second
    putU16(out, 2);         // bytes a sample
    putU16(out, 16);        // bits a sample
    out += "data";
    putU32(out, static_cast<std::uint32_t>(data.size()));
    return out + data;
}

}  // namespace brasvel::writers
