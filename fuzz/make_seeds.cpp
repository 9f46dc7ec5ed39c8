// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Makes the seed inputs of the fuzz targets with the writers: a handful of well-formed and
// slightly odd archives, pictures and sprites per target, in FOLDER/<target>/.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <iostream>
#include <string>

#include "edit/EditJournal.h"
#include "imaging/Bmp.h"
#include "imaging/DefSprite.h"
#include "imaging/Png.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"
#include "tools/writers/SoundWriters.h"
#include "tools/writers/VideoWriters.h"

namespace {

namespace fs = std::filesystem;
using namespace brasvel::writers;

class SeedFolder {
public:
    SeedFolder(const fs::path& root, const std::string& target) : folder_(root / target) {
        fs::create_directories(folder_);
    }
    void save(const std::string& name, const std::string& bytes) const {
        std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + (folder_ / name).string());
        }
    }

private:
    fs::path folder_;
};

std::string palette() {
    std::string rgb;
    for (int i = 0; i < 256; ++i) {
        rgb += static_cast<char>(i);
        rgb += static_cast<char>(255 - i);
        rgb += static_cast<char>(i * 7);
    }
    return rgb;
}

PixelGrid pattern(std::int32_t width, std::int32_t height, int seed) {
    PixelGrid grid(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            // Runs of low indices with a few literal pixels, as sprites have.
            const int value = (x / 3 + y + seed) % 9 == 0 ? 200 + (x + seed) % 50 : (y + seed) % 7;
            grid.set(x, y, static_cast<std::uint8_t>(value));
        }
    }
    return grid;
}

void lodSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "lod_directory");
    seeds.save("empty", LodWriter().build());
    LodWriter kinds;
    for (const char* name : {"A.def", "B.PCX", "C.h3c", "D.MSK", "E.txt", "F.FNT", "G.pal", "H.xmi",
                             "I.MSG", "J.Pcx", "NODOT", "ABCDEFGH.PCX", ".TXT"}) {
        kinds.add(name, std::string("content of ") + name, name[0] % 2 == 0);
    }
    seeds.save("kinds", kinds.build());
    seeds.save("dots", LodWriter()
                           .add("ABCDEFGHIJ.TXT", "ten")
                           .add("ABCDEFGHIJK.TXT", "eleven")
                           .add("ABCDEFGHIJKL.TXT", "twelve")
                           .add("A.B", "short extension")
                           .add(std::string("NUL\0IN.TXT", 10), "nul")
                           .build());
    seeds.save("damaged", LodWriter()
                              .add("GOOD.TXT", "good", true)
                              .addRaw("NEG.TXT", -1, 10, 0)
                              .addRaw("FAR.TXT", 1 << 30, 10, 20)
                              .addRaw("SIZE.TXT", 92, -5, 0)
                              .statedCount(5)
                              .build());
    seeds.save("type-words", LodWriter()
                                 .add("A.TXT", "a")
                                 .typeWord(-1)
                                 .add("B.DEF", "b", true)
                                 .typeWord(0)
                                 .add("C.PCX", "c")
                                 .typeWord(0x7FFFFFFF)
                                 .build());
    seeds.save("hostile", LodWriter()
                              .add("../UP.TXT", "up")
                              .add("..", "dots")
                              .add("C:.TXT", "drive")
                              .add("CON.TXT", "device")
                              .add("\x01\x7f.TXT", "control")
                              .add("\xa5\xb9\xe6.TXT", "code page")
                              .build());
}

void sndSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "snd_directory");
    seeds.save("empty", SndWriter().build());
    seeds.save("sounds", SndWriter()
                             .add("CHIME", "RIFF....WAVEfmt ")
                             .add("A_NAME_LONGER_THAN_TWELVE", "RIFF")
                             .add(std::string(40, 'X'), "no NUL in the field")
                             .add("", "empty name")
                             .build());
    seeds.save("damaged", SndWriter()
                              .add("GOOD", "RIFF")
                              .addRaw("NEG", -4, 4)
                              .addRaw("FAR", 1 << 30, 4)
                              .addRaw("SIZE", 4, -1)
                              .statedCount(6)
                              .build());
    seeds.save("hostile",
               SndWriter().add("../UP", "RIFF").add("a\\b", "RIFF").add("NUL", "RIFF").build());
}

// One archive of each kind, so the check starts from bytes that look like each.
void formatCheckSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "format_check");
    seeds.save("lod", LodWriter().add("A.TXT", "abc").build());
    seeds.save("snd", SndWriter().add("CHIME", "RIFF").add("TWO", "zz").build());
    seeds.save("vid", VidWriter().add("INTRO.SMK", "v").add("B.BIK", "w").build());
}

void vidSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "vid_directory");
    seeds.save("empty", VidWriter().build());
    seeds.save("videos", VidWriter()
                             .add("INTRO.SMK", "SMK2 data")
                             .add("OUTRO.bik", "BIKi data")
                             .add("NODOTNAMEHERE", "plain")
                             .add("ABCDEFGHIJKLMN.SMK", "long")
                             .build());
    seeds.save("offsets", VidWriter()
                              .addRaw("LATE.SMK", 400)
                              .addRaw("EARLY.BIK", 100)
                              .addRaw("SAME.SMK", 100)
                              .addRaw("NEG.SMK", -50)
                              .addRaw("PAST.SMK", 5000)
                              .padTo(1000)
                              .build());
    seeds.save("short", VidWriter().add("A.SMK", "x").statedCount(3).build());
    // Videos are written under their whole stored name, up to 40 bytes.
    seeds.save("long-names", VidWriter()
                                 .add("OPENING_CINEMATIC.SMK", "twenty-one bytes")
                                 .add(std::string(36, 'V') + ".BIK", "no NUL in the field")
                                 .add("ABCDEFGHIJKLMNOP/../X.SMK", "slash past the dot's scan")
                                 .add(std::string("AB\0/../CD.SMK", 13), "NUL inside")
                                 .build());
}

std::string inflateInput(std::int32_t size, std::int32_t packedSize, const std::string& stored) {
    std::string out;
    putI32(out, size);
    putI32(out, packedSize);
    return out + stored;
}

void inflateSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "lod_inflate");
    const std::string text = "A line of text that repeats. A line of text that repeats.\n";
    std::string mixed;
    for (int i = 0; i < 3000; ++i) {
        mixed += static_cast<char>((i * 131) ^ (i >> 3));
    }
    int n = 0;
    for (const std::string& content : {text, std::string(4096, '\0'), mixed, std::string()}) {
        for (int level : {0, 1, 6, 12}) {
            const std::string stream = zlibCompress(content, level);
            const auto size = static_cast<std::int32_t>(content.size());
            const auto packed = static_cast<std::int32_t>(stream.size());
            const std::string tag = std::to_string(n++);
            seeds.save("exact" + tag, inflateInput(size, packed, stream));
            if (level == 6) {
                seeds.save("shorter" + tag, inflateInput(size - 1, packed, stream));
                seeds.save("longer" + tag, inflateInput(size + 1, packed, stream));
                seeds.save("cut" + tag, inflateInput(size, packed / 2, stream));
                seeds.save("trailing" + tag, inflateInput(size, packed + 4, stream + "tail"));
            }
        }
    }
    seeds.save("plain", inflateInput(static_cast<std::int32_t>(text.size()), 0, text));
    seeds.save("bomb", inflateInput(1000, 0, "") + zlibCompress(std::string(1 << 20, '\0'), 9));
}

void pcxSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "pcx_conv");
    seeds.save("one", gamePcx8(pattern(1, 1, 0), palette()));
    seeds.save("odd", gamePcx8(pattern(5, 3, 1), palette()));
    seeds.save("wide", gamePcx8(pattern(33, 2, 2), palette()));
    seeds.save("empty", gamePcx8(PixelGrid(0, 0), palette()));
    seeds.save("trailer", gamePcx8(pattern(4, 4, 3), palette()) + "anything after");
    std::string rgb;
    for (int i = 0; i < 3 * 3 * 2; ++i) {
        rgb += static_cast<char>(i * 13);
    }
    seeds.save("true-colour", gamePcx24(3, 2, rgb));
    seeds.save("big-block", gamePcx(40, 2, 2, std::string(40, '\x07'), std::string(768, '\x01')));
    seeds.save("negative", gamePcx(-1, 2, 2, "", std::string(768, '\x01')));
}

DefFrame frame(std::int32_t compression, PixelGrid sprite, std::int32_t left = 0,
               std::int32_t top = 0) {
    return defFrame(compression, std::move(sprite), left, top);
}

DefBlock blockOf(std::vector<DefFrame> frames, std::int32_t identifier = 0) {
    return defBlock(std::move(frames), identifier);
}

// The file name choice and the frame number come first, as the target reads them.
std::string defInput(std::uint8_t fileName, std::uint16_t frameNumber, const std::string& def) {
    std::string out;
    out += static_cast<char>(fileName);
    putU16(out, frameNumber);
    return out + def;
}

void defSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "def_sprite");
    for (std::int32_t compression = 0; compression <= 3; ++compression) {
        const std::int32_t width = compression == 3 ? 40 : 12;
        const std::string def =
            DefWriter(0x42, width + 4, 10, palette())
                .block(blockOf({frame(compression, pattern(width, 6, compression), 2, 3),
                                frame(compression, pattern(width, 8, compression + 1), 0, 0)},
                               0))
                .build();
        for (std::uint16_t number = 1; number <= 2; ++number) {
            seeds.save("type" + std::to_string(compression) + "-frame" + std::to_string(number),
                       defInput(0, number, def));
        }
    }
    DefBlock padded = blockOf({frame(1, pattern(6, 4, 5), 1, 1)}, 3);
    padded.beforeOffsets = std::string(9, '\xEE');
    const std::string blocks = DefWriter(0x43, 8, 6, palette())
                                   .block(blockOf({frame(2, pattern(8, 6, 2), 0, 0)}, 0))
                                   .block(blockOf({}, 1))
                                   .block(std::move(padded))
                                   .build();
    seeds.save("blocks", defInput(0, 2, blocks));

    DefFrame whole = frame(1, pattern(10, 5, 4), 0, 0);
    whole.firstRowBias = 8;
    const std::string full = DefWriter(0x99, 10, 8, palette()).block(blockOf({whole}, 0)).build();
    seeds.save("full-picture", defInput(0, 1, full));
    const std::string plainType =
        DefWriter(0x40, 10, 8, palette()).block(blockOf({whole}, 0)).build();
    seeds.save("special-a", defInput(1, 1, plainType));
    seeds.save("special-b", defInput(2, 1, plainType));
    std::vector<DefFrame> many;
    for (int i = 0; i < 3; ++i) {
        many.push_back(frame(2, pattern(4, 4, i), 0, 0));
    }
    const std::string cphx =
        DefWriter(0x41, 4, 4, palette()).block(blockOf(many, 0)).statedBlockCount(1).build();
    seeds.save("cphx", defInput(3, 3, cphx + std::string(200, '\0')));
    seeds.save("cphx-path", defInput(4, 1, cphx));
    DefFrame stated = frame(2, pattern(4, 4, 1), 0, 0);
    stated.statedCompression = 7;
    seeds.save(
        "bad-compression",
        defInput(0, 1, DefWriter(0x42, 4, 4, palette()).block(blockOf({stated}, 0)).build()));
}

// The writer's seeds: every directory seed behind a control byte that names its kind (the order of
// archiveFormats(): LOD, SND, VID), with no edit and with all three.
void rewriteSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "archive_rewrite");
    const char* const kinds[] = {"lod_directory", "snd_directory", "vid_directory"};
    for (int kind = 0; kind < 3; ++kind) {
        for (const auto& item : fs::directory_iterator(root / kinds[kind])) {
            std::ifstream in(item.path(), std::ios::binary);
            const std::string archive{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
            const std::string name = std::string(kinds[kind]).substr(0, 3) + "-" +
                                     item.path().filename().string();
            seeds.save(name, std::string(1, static_cast<char>(kind)) + archive);
            seeds.save(name + "-edited", std::string(1, static_cast<char>(kind | 0x70)) + archive);
        }
    }
}

brasvel::Picture indexedPicture(std::int32_t width, std::int32_t height, int seed) {
    const PixelGrid grid = pattern(width, height, seed);
    brasvel::Picture picture{width, height, brasvel::PixelFormat::Indexed8, grid.pixels, {}};
    for (std::size_t i = 0; i < picture.palette.size(); ++i) {
        picture.palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                              static_cast<std::uint8_t>(i * 7)};
    }
    return picture;
}

brasvel::Picture rgbPicture(std::int32_t width, std::int32_t height) {
    brasvel::Picture picture = brasvel::Picture::blank(width, height, brasvel::PixelFormat::Rgb24);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] = static_cast<std::uint8_t>(i * 29);
    }
    return picture;
}

std::string textOf(const std::vector<std::byte>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void pngSeeds(const fs::path& root) {
    using namespace brasvel;
    const SeedFolder seeds(root, "png_decode");
    seeds.save("indexed", textOf(encodePng(indexedPicture(9, 5, 1))));
    seeds.save("rgb", textOf(encodePng(rgbPicture(7, 3))));
    PaletteAlpha alpha = kOpaque;
    alpha[0] = 0;
    alpha[4] = 128;
    seeds.save("transparent", textOf(encodePng(indexedPicture(16, 4, 2), alpha)));
    const std::vector<Picture> frames{indexedPicture(6, 6, 1), indexedPicture(6, 6, 2)};
    seeds.save("animated", textOf(encodeAnimatedPng(frames, alpha, 100)));
}

// Journals of pending edits: empty, kept and renamed entries, new content.
void journalSeeds(const fs::path& root) {
    using namespace brasvel;
    const SeedFolder seeds(root, "edit_journal");
    EditJournal journal{"/games/data/H3sprite.lod", "lod", 4242, {12345, 1700000000, 99}, {}};
    seeds.save("empty", textOf(writeJournal(journal)));
    journal.rows = {{"ALPHA.TXT", 0U, {}},
                    {"RENAMED.PCX", 2U, {}},
                    {"NEW.TXT", std::nullopt, {std::byte{'n'}, std::byte{'e'}, std::byte{'w'}}}};
    seeds.save("rows", textOf(writeJournal(journal)));
}

void bmpSeeds(const fs::path& root) {
    using namespace brasvel;
    const SeedFolder seeds(root, "bmp_decode");
    seeds.save("indexed", textOf(encodeBmp(indexedPicture(5, 3, 1), kPictureBmp8)));
    seeds.save("sprite", textOf(encodeBmp(indexedPicture(8, 2, 2), kSpriteBmp)));
    seeds.save("rgb", textOf(encodeBmp(rgbPicture(3, 4), kPictureBmp24)));
    std::vector<std::byte> topDown = encodeBmp(rgbPicture(2, 2), kPictureBmp24);
    topDown[22] = std::byte{0xFE};  // height -2
    for (std::size_t i = 23; i < 26; ++i) {
        topDown[i] = std::byte{0xFF};
    }
    seeds.save("top-down", textOf(topDown));
}

// Type byte, width - 1, height - 1, frame count, block count, two compression bytes, pixels.
void defEncodeSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "def_encode");
    const std::string pixels = [] {
        std::string bytes;
        for (const std::uint8_t index : pattern(40, 12, 3).pixels) {
            bytes += static_cast<char>(index);
        }
        return bytes;
    }();
    seeds.save("each-type", std::string("\x42\x27\x0B\x04\x02\xE4\x00", 7) + pixels);
    seeds.save("full-picture", std::string("\x01\x09\x09\x02\x01\x05\x00", 7) +
                                   std::string(70, '\x09') + std::string(30, '\0'));
    seeds.save("empty-frames", std::string("\x00\x3F\x3F\x03\x03\xFF\x00", 7));
}

}  // namespace

// An archive of each kind behind the archive_reads control bytes: kind, entries read before the
// cut, the length cut to.
void archiveReadSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "archive_reads");
    const std::string text = "A line of text that repeats. A line of text that repeats.\n";
    const std::string archives[] = {
        LodWriter().add("A.TXT", text).add("B.TXT", text, true).add("C.TXT", text + text, true).build(),
        SndWriter().add("ONE", text).add("TWO", text + "more").build(),
        VidWriter().add("intro.smk", text).add("outro.bik", text + text).build(),
    };
    for (int kind = 0; kind < 3; ++kind) {
        const std::string& archive = archives[kind];
        for (int after : {0, 1, 2, 255}) {
            for (std::uint32_t cutTo : {0U, static_cast<std::uint32_t>(archive.size() / 2),
                                        static_cast<std::uint32_t>(archive.size())}) {
                std::string input(1, static_cast<char>(kind));
                input += static_cast<char>(after);
                putI32(input, static_cast<std::int32_t>(cutTo));
                seeds.save("k" + std::to_string(kind) + "a" + std::to_string(after) + "c" +
                               std::to_string(cutTo),
                           input + archive);
            }
        }
    }
}

// Test clips behind the control byte (bit 0: the clips' container allowed, bit 1: decode the
// sound, bit 2: jumps read on to key frames), and a few bare signatures of the game's containers.
void videoSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "video_decode");
    seeds.save("clip", "\x01" + losslessClip({16, 12, 3, 15, 0, 1}));
    seeds.save("clip-sound", "\x03" + losslessClip({8, 8, 3, 10, 4000, 2}));
    seeds.save("clip-key-frames", "\x05" + losslessClip({8, 8, 40, 15, 0, 1, 10}));
    seeds.save("clip-refused", "\x00" + losslessClip({8, 8, 2, 15, 0, 1}));
    seeds.save("smacker", std::string("\x02SMK2", 5) + std::string(120, '\0'));
    seeds.save("bink", std::string("\x02"
                                   "BIKi",
                                   5) +
                           std::string(120, '\0'));
}

void fontMaskSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "font_mask");
    std::string font = "FNT\x08\x08";
    for (int i = 0; i < 96 * 8; ++i) {
        font += static_cast<char>(i * 37);
    }
    seeds.save("font", font);
    seeds.save("wide-font", "FNT\x09\x01" + std::string(4, '\x81'));
    seeds.save("mask", std::string("\x02\x02", 2) + std::string(10, '\0'));
    seeds.save("wide-mask", std::string("\x0A\x02", 2) + std::string(8, '\x55'));
}

void waveSeeds(const fs::path& root) {
    const SeedFolder seeds(root, "wave_sound");
    seeds.save("tone", pcmWave(0.01, 8000, [](double t) { return t * 50; }));
    std::string wave = pcmWave(0.005, 11025, [](double t) { return -t * 80; });
    seeds.save("cut", wave.substr(0, wave.size() - 3));
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz-make-seeds FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    try {
        lodSeeds(root);
        sndSeeds(root);
        formatCheckSeeds(root);
        vidSeeds(root);
        inflateSeeds(root);
        pcxSeeds(root);
        defSeeds(root);
        videoSeeds(root);
        pngSeeds(root);
        bmpSeeds(root);
        journalSeeds(root);
        defEncodeSeeds(root);
        rewriteSeeds(root);
        archiveReadSeeds(root);
        fontMaskSeeds(root);
        waveSeeds(root);
    } catch (const std::exception& error) {
        std::cerr << "fuzz-make-seeds: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
