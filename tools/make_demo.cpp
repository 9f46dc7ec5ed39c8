// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Makes the demo archives (demo.lod, demo.snd, demo.vid, and damaged.lod: demo.lod with one
// damaged entry) in the folder given as the argument.
// Everything in them is drawn or synthesised here: pictures, sprite animations in all four
// encodings, texts, sounds, a video clip and placeholders for the other kinds of entry.
//
// The game's video codecs have no encoder, so the demo's playable video, DOLINA.smk, is a test
// clip (FFV1 pictures and PCM sound in AVI): the window plays it when started with --test-videos;
// otherwise it, like the placeholders, says it is not a video.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <numbers>

#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "tools/writers/SoundWriters.h"
#ifdef BRASVEL_VIDEO_WRITERS
#include "tools/writers/VideoWriters.h"
#endif

namespace {

using namespace brasvel::writers;

constexpr double kPi = std::numbers::pi;

void save(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::uint8_t clampByte(double value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
}

struct Rgb {
    double r, g, b;
};

// A palette of 256 (R, G, B) entries, filled by ramps.
class Palette {
public:
    Palette() : bytes_(768, '\0') {}
    void set(int index, Rgb c) {
        bytes_[3 * static_cast<std::size_t>(index)] = static_cast<char>(clampByte(c.r));
        bytes_[3 * static_cast<std::size_t>(index) + 1] = static_cast<char>(clampByte(c.g));
        bytes_[3 * static_cast<std::size_t>(index) + 2] = static_cast<char>(clampByte(c.b));
    }
    // Entries first to last blend from `from` to `to`.
    void ramp(int first, int last, Rgb from, Rgb to) {
        for (int i = first; i <= last; ++i) {
            const double t = last == first ? 0.0 : static_cast<double>(i - first) / (last - first);
            set(i, {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
                    from.b + (to.b - from.b) * t});
        }
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

std::uint8_t rampIndex(int first, int last, double t) {
    return static_cast<std::uint8_t>(first + std::lround(std::clamp(t, 0.0, 1.0) * (last - first)));
}

// --- Pictures ---

constexpr int kSky = 0, kSkyEnd = 63, kFarHill = 64, kFarHillEnd = 95, kHill = 96, kHillEnd = 127,
              kEarth = 128, kEarthEnd = 159, kSun = 192, kSunEnd = 223, kWater = 224,
              kWaterEnd = 255;

Palette landscapePalette() {
    Palette p;
    p.ramp(kSky, kSkyEnd, {25, 45, 125}, {175, 215, 250});
    p.ramp(kFarHill, kFarHillEnd, {60, 95, 120}, {130, 170, 160});
    p.ramp(kHill, kHillEnd, {20, 70, 25}, {120, 200, 90});
    p.ramp(kEarth, kEarthEnd, {70, 45, 20}, {180, 140, 90});
    p.ramp(160, 191, {0, 0, 0}, {255, 255, 255});
    p.ramp(kSun, kSunEnd, {255, 250, 210}, {255, 130, 20});
    p.ramp(kWater, kWaterEnd, {20, 55, 135}, {140, 195, 235});
    return p;
}

PixelGrid landscape(std::int32_t width, std::int32_t height) {
    PixelGrid grid(width, height);
    const double h = height;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const double fx = x, fy = y;
            std::uint8_t index = rampIndex(kSky, kSkyEnd, fy / (0.65 * h));
            const double sun = std::hypot(fx - 0.74 * width, fy - 0.22 * h);
            if (sun < 0.11 * h) {
                index = rampIndex(kSun, kSunEnd, sun / (0.11 * h));
            }
            const double far =
                0.55 * h + 0.07 * h * std::sin(fx / 17.0) + 0.03 * h * std::sin(fx / 5.3);
            if (fy > far) {
                index = rampIndex(kFarHill, kFarHillEnd, (fy - far) / (0.2 * h));
            }
            const double near = 0.7 * h + 0.08 * h * std::sin(fx / 23.0 + 1.0);
            if (fy > near) {
                const double grain = 0.15 * std::sin(fx * 1.7 + fy * 2.3);
                index = rampIndex(kHill, kHillEnd, 1.0 - (fy - near) / (0.35 * h) + grain);
            }
            if (fy > 0.86 * h) {
                index = rampIndex(kEarth, kEarthEnd, 0.5 + 0.4 * std::sin(fx * 0.9) * std::cos(fy));
            }
            const double lake = std::pow((fx - 0.3 * width) / (0.22 * width), 2) +
                                std::pow((fy - 0.83 * h) / (0.07 * h), 2);
            if (lake < 1.0) {
                index = rampIndex(kWater, kWaterEnd, 0.5 + 0.35 * std::sin(fy * 2.1 + fx * 0.3));
            }
            grid.set(x, y, index);
        }
    }
    return grid;
}

PixelGrid checkerboard(std::int32_t width, std::int32_t height) {
    PixelGrid grid(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
            grid.set(x, y,
                     dark ? rampIndex(kEarth, kEarthEnd, y / double(height))
                          : rampIndex(kWater, kWaterEnd, x / double(width)));
        }
    }
    return grid;
}

// 24-bit pictures are stored as blue, green, red.
std::string trueColour(std::int32_t width, std::int32_t height,
                       const std::function<Rgb(double, double)>& colourAt) {
    std::string pixels;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const Rgb c = colourAt(x / double(width), y / double(height));
            pixels += static_cast<char>(clampByte(c.b));
            pixels += static_cast<char>(clampByte(c.g));
            pixels += static_cast<char>(clampByte(c.r));
        }
    }
    return gamePcx24(width, height, pixels);
}

Rgb hue(double h, double light) {
    const auto channel = [&](double offset) {
        return 255.0 * light * (0.5 + 0.5 * std::cos(2 * kPi * (h - offset)));
    };
    return {channel(0.0), channel(1.0 / 3), channel(2.0 / 3)};
}

// --- Sprites ---

// Index 0 shows through; 1 to 7 are the shadow shades; the rest are colour ramps.
constexpr int kFire = 8, kFireEnd = 39, kBlue = 40, kBlueEnd = 71, kGreen = 72, kGreenEnd = 103,
              kGrey = 104, kGreyEnd = 135, kWood = 136, kWoodEnd = 167, kRed = 168, kRedEnd = 199;

Palette spritePalette() {
    Palette p;
    p.set(0, {0, 255, 255});
    for (int i = 1; i <= 7; ++i) {
        p.set(i, {10.0 + 14 * i, 10.0 + 14 * i, 20.0 + 14 * i});
    }
    p.ramp(kFire, kFireEnd, {215, 35, 0}, {255, 250, 170});
    p.ramp(kBlue, kBlueEnd, {10, 20, 90}, {200, 225, 255});
    p.ramp(kGreen, kGreenEnd, {10, 60, 10}, {170, 240, 120});
    p.ramp(kGrey, kGreyEnd, {60, 60, 60}, {255, 255, 255});
    p.ramp(kWood, kWoodEnd, {60, 35, 15}, {170, 120, 70});
    p.ramp(kRed, kRedEnd, {110, 0, 20}, {240, 60, 70});
    p.ramp(200, 255, {255, 0, 128}, {0, 128, 255});
    return p;
}

// A shadow on the ground: darkest (index 1) in the middle, lightest (7) at the rim.
void drawShadow(PixelGrid& grid, double cx, double cy, double rx, double ry) {
    for (std::int32_t y = 0; y < grid.height; ++y) {
        for (std::int32_t x = 0; x < grid.width; ++x) {
            const double d = std::hypot((x - cx) / rx, (y - cy) / ry);
            if (d < 1.0) {
                grid.set(x, y, static_cast<std::uint8_t>(1 + std::lround(d * 6)));
            }
        }
    }
}

// A frame of the whole picture cut to the rows and columns that hold something. Type 3 keeps
// whole groups of 32 columns.
DefFrame cropped(const PixelGrid& picture, std::int32_t compression, const std::string& name) {
    std::int32_t left = picture.width, right = -1, top = picture.height, bottom = -1;
    for (std::int32_t y = 0; y < picture.height; ++y) {
        for (std::int32_t x = 0; x < picture.width; ++x) {
            if (picture.at(x, y) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        left = right = top = bottom = 0;
    }
    if (compression == 3 || compression == 0) {
        left = 0;
        right = picture.width - 1;
    }
    DefFrame frame;
    frame.name = name;
    frame.compression = compression;
    frame.left = left;
    frame.top = top;
    frame.sprite = PixelGrid(right - left + 1, bottom - top + 1);
    for (std::int32_t y = top; y <= bottom; ++y) {
        for (std::int32_t x = left; x <= right; ++x) {
            frame.sprite.set(x - left, y - top, picture.at(x, y));
        }
    }
    return frame;
}

DefBlock animation(std::int32_t identifier, int frames, std::int32_t compression,
                   const std::string& stem, const std::function<PixelGrid(int, int)>& draw) {
    DefBlock block;
    block.identifier = identifier;
    for (int i = 0; i < frames; ++i) {
        block.frames.push_back(
            cropped(draw(i, frames), compression, stem + std::to_string(i + 1) + ".pcx"));
    }
    return block;
}

void drawBall(PixelGrid& grid, double cx, double cy, double rx, double ry, double stripe) {
    for (std::int32_t y = 0; y < grid.height; ++y) {
        for (std::int32_t x = 0; x < grid.width; ++x) {
            const double dx = (x - cx) / rx, dy = (y - cy) / ry;
            if (dx * dx + dy * dy >= 1.0) {
                continue;
            }
            const double light = 1.0 - 0.6 * std::hypot(dx + 0.4, dy + 0.4);
            const bool band = std::abs(std::sin(3 * dx + stripe) - dy) < 0.25;
            grid.set(x, y,
                     band ? rampIndex(kRed, kRedEnd, light) : rampIndex(kBlue, kBlueEnd, light));
        }
    }
}

// A ball that bounces, spins and squashes: two-byte segments.
std::string ballSprite(const Palette& palette) {
    constexpr int w = 64, h = 64;
    DefWriter writer(0x42, w, h, palette.bytes());
    writer.block(animation(0, 12, 1, "bounce", [](int i, int n) {
        PixelGrid g(w, h);
        const double lift = std::abs(std::sin(kPi * i / n));
        drawShadow(g, 32, 56, 14 - 6 * lift, 4 - 1.5 * lift);
        drawBall(g, 32, 44 - 30 * lift, 12, 12, 0);
        return g;
    }));
    writer.block(animation(1, 8, 1, "spin", [](int i, int n) {
        PixelGrid g(w, h);
        drawShadow(g, 32, 56, 14, 4);
        drawBall(g, 32, 44, 12, 12, 2 * kPi * i / n);
        return g;
    }));
    writer.block(animation(2, 4, 1, "squash", [](int i, int) {
        PixelGrid g(w, h);
        const double squash = 1.0 + 0.12 * i;
        drawShadow(g, 32, 56, 14 * squash, 4);
        drawBall(g, 32, 56 - 12 / squash, 12 * squash, 12 / squash, 0);
        return g;
    }));
    return writer.build();
}

// A burning torch: segment codes with an offset per 32 columns.
std::string torchSprite(const Palette& palette) {
    constexpr int w = 64, h = 96;
    const auto draw = [](int i, int n, double strength) {
        PixelGrid g(w, h);
        drawShadow(g, 38, 90, 18, 4);
        for (std::int32_t y = 40; y < 90; ++y) {
            for (std::int32_t x = 29; x < 35; ++x) {
                g.set(x, y, rampIndex(kWood, kWoodEnd, 0.3 + 0.1 * (x - 29) + 0.1 * std::sin(y)));
            }
        }
        const double phase = 2 * kPi * i / n;
        for (std::int32_t y = 4; y < 42; ++y) {
            for (std::int32_t x = 12; x < 52; ++x) {
                const double up = (42.0 - y) / 38.0;  // 0 at the torch, 1 at the tip
                const double sway = 4 * up * std::sin(phase + y / 6.0);
                const double width =
                    strength * 16 * std::pow(1 - up, 0.8) * (0.8 + 0.2 * std::sin(phase * 2 + y));
                const double d = std::abs(x - 32 - sway);
                if (d < width) {
                    g.set(x, y, rampIndex(kFire, kFireEnd, 1.0 - d / width * 0.7 - up * 0.4));
                }
            }
        }
        return g;
    };
    DefWriter writer(0x47, w, h, palette.bytes());
    writer.block(animation(0, 10, 3, "burn", [&](int i, int n) { return draw(i, n, 1.0); }));
    writer.block(animation(1, 4, 3, "ember", [&](int i, int n) { return draw(i, n, 0.55); }));
    return writer.build();
}

// A white and red flag waving on its pole: segment codes with an offset per row.
std::string flagSprite(const Palette& palette) {
    constexpr int w = 80, h = 64;
    const auto draw = [](int i, int n, double wind) {
        PixelGrid g(w, h);
        drawShadow(g, 40, 60, 30, 3);
        for (std::int32_t y = 4; y < 61; ++y) {
            g.set(12, y, rampIndex(kWood, kWoodEnd, 0.5));
            g.set(13, y, rampIndex(kWood, kWoodEnd, 0.8));
        }
        const double phase = 2 * kPi * i / n;
        for (std::int32_t x = 14; x < 70; ++x) {
            const double along = (x - 14) / 56.0;
            const double wave = wind * 4 * along * std::sin(phase - along * 6);
            const double shade = 0.75 + 0.25 * std::cos(phase - along * 6);
            for (std::int32_t y = 6; y < 34; ++y) {
                const double fy = y - wave;
                if (fy < 6 || fy >= 34) {
                    continue;
                }
                g.set(
                    x, y,
                    fy < 20 ? rampIndex(kGrey, kGreyEnd, shade) : rampIndex(kRed, kRedEnd, shade));
            }
        }
        return g;
    };
    DefWriter writer(0x49, w, h, palette.bytes());
    writer.block(animation(0, 12, 2, "wave", [&](int i, int n) { return draw(i, n, 1.0); }));
    writer.block(animation(1, 6, 2, "calm", [&](int i, int n) { return draw(i, n, 0.3); }));
    return writer.build();
}

// Animated water tiles: whole pictures.
std::string waterSprite(const Palette& palette) {
    constexpr int w = 32, h = 32;
    DefWriter writer(0x45, w, h, palette.bytes());
    writer.block(animation(0, 8, 0, "water", [](int i, int n) {
        PixelGrid g(w, h);
        const double phase = 2 * kPi * i / n;
        for (std::int32_t y = 0; y < h; ++y) {
            for (std::int32_t x = 0; x < w; ++x) {
                const double v =
                    std::sin(x * 2 * kPi / w + phase) + std::sin(y * 2 * kPi / h * 2 - phase);
                g.set(x, y, rampIndex(kBlue, kBlueEnd, 0.45 + 0.22 * v));
            }
        }
        return g;
    }));
    writer.block(animation(1, 8, 0, "grass", [](int i, int n) {
        PixelGrid g(w, h);
        const double phase = 2 * kPi * i / n;
        for (std::int32_t y = 0; y < h; ++y) {
            for (std::int32_t x = 0; x < w; ++x) {
                const double v = std::sin(x * 1.3 + std::sin(phase + y * 0.2)) * std::cos(y * 0.7);
                g.set(x, y, rampIndex(kGreen, kGreenEnd, 0.5 + 0.3 * v));
            }
        }
        return g;
    }));
    return writer.build();
}

// --- Texts ---

// UTF-8 to Windows-1250 for the Polish letters the demo texts use.
std::string windows1250(std::string_view utf8) {
    static const std::pair<std::string_view, char> kLetters[] = {
        {"ą", '\xB9'}, {"ć", '\xE6'}, {"ę", '\xEA'}, {"ł", '\xB3'}, {"ń", '\xF1'}, {"ó", '\xF3'},
        {"ś", '\x9C'}, {"ź", '\x9F'}, {"ż", '\xBF'}, {"Ą", '\xA5'}, {"Ć", '\xC6'}, {"Ę", '\xCA'},
        {"Ł", '\xA3'}, {"Ń", '\xD1'}, {"Ó", '\xD3'}, {"Ś", '\x8C'}, {"Ź", '\x8F'}, {"Ż", '\xAF'},
        {"—", '\x97'}, {"„", '\x84'}, {"”", '\x94'}};
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        bool matched = false;
        for (const auto& [letter, byte] : kLetters) {
            if (utf8.substr(i, letter.size()) == letter) {
                out += byte;
                i += letter.size();
                matched = true;
                break;
            }
        }
        if (!matched) {
            out += utf8[i++];
        }
    }
    return out;
}

const char* const kPolishText =
    "Witaj w archiwum demonstracyjnym!\r\n"
    "\r\n"
    "Zażółć gęślą jaźń — to zdanie zawiera wszystkie polskie litery.\r\n"
    "Obrazy PCX, duszki DEF, palety, czcionki i dźwięki zostały narysowane\r\n"
    "i wygenerowane przez program, bez żadnych plików z zewnątrz.\r\n"
    "Włącz „Podgląd” i przesuń suwak pod obrazkiem, aby obejrzeć klatki.\r\n";

// A font of 96 glyphs of 8 × 8 bits: a header of the glyph size, then the rows of each glyph.
std::string bitFont() {
    std::string font = "FNT";
    font += '\x08';
    font += '\x08';
    for (int glyph = 0; glyph < 96; ++glyph) {
        for (int row = 0; row < 8; ++row) {
            font += static_cast<char>((glyph * 37 + row * 11) & (row == 0 || row == 7 ? 0 : 0x7E));
        }
    }
    return font;
}

// A music placeholder with the shape of an interchange file: FORM chunks with a few events.
std::string musicPlaceholder() {
    std::string body = "XDIRINFO";
    putU32(body, 2);
    body += "FORM";
    std::string events = "XMIDEVNT";
    for (int note : {60, 64, 67, 72, 67, 64, 60}) {
        events += '\x90';
        events += static_cast<char>(note);
        events += '\x60';
        events += '\x18';
    }
    events += "\xFF\x2F";
    putU32(body, static_cast<std::uint32_t>(events.size()));
    body += events;
    std::string out = "FORM";
    putU32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

// --- Sounds: 16-bit mono PCM at 22050 Hz ---

constexpr int kRate = 22050;

std::string wave(double seconds, const std::function<double(double)>& sample) {
    return pcmWave(seconds, kRate, sample);
}

double tone(double t, double frequency) {
    return std::sin(2 * kPi * frequency * t);
}

std::string chime() {
    return wave(1.2, [](double t) {
        const double decay = std::exp(-3.5 * t);
        return decay * (0.5 * tone(t, 880) + 0.3 * tone(t, 1318.5) + 0.15 * tone(t, 2637));
    });
}

std::string chord() {
    return wave(1.4, [](double t) {
        const double envelope = std::min(1.0, t * 20) * std::exp(-1.8 * t);
        return envelope * 0.3 * (tone(t, 261.63) + tone(t, 329.63) + tone(t, 392.0));
    });
}

std::string sweep() {
    // The frequency rises from 300 Hz by 1200 Hz a second; the end fades out.
    return wave(0.7, [](double t) {
        return 0.6 * std::sin(2 * kPi * (300 * t + 600 * t * t)) * std::min(1.0, (0.7 - t) * 10);
    });
}

std::string fanfare() {
    return wave(1.0, [](double t) {
        const double notes[] = {392.0, 523.25, 659.25, 783.99};
        const int step = std::min(3, static_cast<int>(t / 0.2));
        const double local = t - 0.2 * step;
        const double envelope =
            std::min(1.0, local * 40) * std::exp(-(step == 3 ? 2.5 : 6.0) * local);
        const double f = notes[step];
        return envelope * (0.5 * tone(t, f) + 0.2 * tone(t, 2 * f) + 0.1 * tone(t, 3 * f));
    });
}

// --- Video: the valley from dawn to dusk, the sun crossing the sky over a rising chord ---

#ifdef BRASVEL_VIDEO_WRITERS
std::string valleyClip(const Palette& land) {
    const ClipShape shape{320, 200, 45, 15, 22050, 1};
    const PixelGrid valley = landscape(shape.width, shape.height);
    const auto paint = [&](int index) {
        const double t = index / double(shape.frames - 1);
        const double sunX = shape.width * (0.08 + 0.84 * t);
        const double sunY = shape.height * (0.45 - 0.33 * std::sin(kPi * t));
        const double light = 0.55 + 0.45 * std::sin(kPi * t);
        std::vector<std::uint8_t> rgb;
        rgb.reserve(static_cast<std::size_t>(shape.width) * shape.height * 3);
        for (std::int32_t y = 0; y < shape.height; ++y) {
            for (std::int32_t x = 0; x < shape.width; ++x) {
                int index8 = valley.at(x, y);
                const bool sky = index8 <= kSkyEnd || (index8 >= kSun && index8 <= kSunEnd);
                if (sky) {
                    index8 = rampIndex(kSky, kSkyEnd, y / (0.65 * shape.height));
                    const double sun = std::hypot(x - sunX, y - sunY);
                    if (sun < 0.1 * shape.height) {
                        index8 = rampIndex(kSun, kSunEnd, sun / (0.1 * shape.height));
                    }
                }
                for (int channel = 0; channel < 3; ++channel) {
                    const auto value = static_cast<unsigned char>(
                        land.bytes()[3 * static_cast<std::size_t>(index8) + channel]);
                    rgb.push_back(clampByte(value * (sky ? 1.0 : light)));
                }
            }
        }
        return rgb;
    };
    const std::string sound = wave(3.0, [](double t) {
        const double swell = std::min(1.0, t * 2) * std::min(1.0, (3.0 - t) * 2);
        return swell * 0.2 * (tone(t, 196.0) + tone(t, 246.94 * (1 + t / 60)) + tone(t, 293.66));
    });
    std::vector<std::int16_t> samples;  // the wave's data, after its 44-byte header
    for (std::size_t at = 44; at + 1 < sound.size(); at += 2) {
        samples.push_back(static_cast<std::int16_t>(static_cast<unsigned char>(sound[at]) |
                                                    static_cast<unsigned char>(sound[at + 1]) << 8));
    }
    return losslessClip(shape, paint, samples);
}
#endif

std::string videoPlaceholder(std::string_view signature, std::size_t length) {
    std::string out(signature);
    putU32(out, 320);
    putU32(out, 200);
    while (out.size() < length) {
        out += static_cast<char>(out.size() * 31 % 251);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-demo FOLDER\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);

        const Palette land = landscapePalette();
        const Palette sprites = spritePalette();
        LodWriter lod;
        lod.add("README.TXT",
                "Demo archive of the Brasvel Resource Editor.\r\n"
                "Pictures, sprites, texts and sounds in it are drawn and made by code.\r\n",
                true);
        lod.add("POWITANIE.txt", windows1250(kPolishText), true);
        lod.add(windows1250("ŻÓŁW.txt"),
                windows1250("Żółw idzie powoli, ale zawsze dochodzi.\r\n"));
        lod.add("VALLEY.PCX", gamePcx8(landscape(320, 200), land.bytes()), true);
        lod.add("hills.pcx", gamePcx8(landscape(120, 75), land.bytes()));
        lod.add("Mixed.Pcx", gamePcx8(checkerboard(64, 64), land.bytes()), true);
        lod.add("RAINBOW.PCX",
                trueColour(256, 128, [](double x, double y) { return hue(x, 1.0 - 0.8 * y); }),
                true);
        lod.add("plasma.pcx",
                trueColour(160, 120,
                           [](double x, double y) {
                               const double v = std::sin(x * 9) + std::sin(y * 7 + x * 3) +
                                                std::sin(std::hypot(x - 0.5, y - 0.5) * 18);
                               return hue(v / 6 + 0.5, 0.9);
                           }),
                true);
        lod.add("BALL.DEF", ballSprite(sprites), true);
        lod.add("TORCH.DEF", torchSprite(sprites), true);
        lod.add("flag.def", flagSprite(sprites), true);
        lod.add("TILES.def", waterSprite(sprites));
        lod.add("VALLEY.PAL", land.bytes());
        lod.add("sprites.pal", sprites.bytes(), true);
        lod.add("BALL.MSK", std::string("\x02\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 12));
        lod.add("SMALL.FNT", bitFont(), true);
        lod.add("THEME.XMI", musicPlaceholder());
        lod.add("DEMO.H3C", zlibCompress(windows1250("Kampania demonstracyjna: Dolina Słońca")));
        lod.add("HELLO.MSG", windows1250("Wiadomość: do zobaczenia w dolinie!"), true);
        lod.add("notes.msg", "plain message\r\n");
        save(folder / "demo.lod", lod.build());
        // The same with one damaged entry (its zlib stream is garbage), for batches that go on.
        lod.addStored("BROKEN.PCX", "this is no zlib stream", 4096, 22);
        save(folder / "damaged.lod", lod.build());

        SndWriter snd;
        snd.add(std::string("CHIME\0wav", 9), chime());
        snd.add(std::string("CHORD\0wav", 9), chord());
        snd.add(std::string("SWEEP\0wav", 9), sweep());
        snd.add(std::string("FANFARE\0wav", 11), fanfare());
        save(folder / "demo.snd", snd.build());

        VidWriter vid;
#ifdef BRASVEL_VIDEO_WRITERS
        vid.add("DOLINA.smk", valleyClip(land));
#else
        // Without FFmpeg's encoders (the Windows build) the clip's place keeps a placeholder.
        vid.add("DOLINA.smk", videoPlaceholder("SMK2", 4096));
#endif
        vid.add("INTRO.smk", videoPlaceholder("SMK2", 4096));
        vid.add("VALLEY.bik", videoPlaceholder("BIKi", 6000));
        vid.add("OUTRO.SMK", videoPlaceholder("SMK4", 3000));
        // A video is shown and written under its whole stored name, up to 40 bytes.
        vid.add("CASTLE_SIEGE_CINEMATIC.smk", videoPlaceholder("SMK2", 2000));
        save(folder / "demo.vid", vid.build());
    } catch (const std::exception& error) {
        std::cerr << "make-demo: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
