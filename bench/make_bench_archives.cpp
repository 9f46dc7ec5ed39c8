// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Makes the archives the extraction benchmark runs on, in the folder given:
//   big.lod    thousands of entries, sizes log-uniform from 1 KB to 200 KB, sprite-like and
//              text-like content, most of it zlib-compressed
//   big.zip    the same entries from the same deflate streams, for unzip and bsdtar
//   list.lod   15011 small entries, and list.zip with the same names, for the listing benchmark
//   pictures.lod  real pictures (8- and 24-bit) and sprites (two blocks of eight frames, every
//              compression type), for the PNG export benchmark
//
// usage: make-bench-archives FOLDER [ENTRIES] [SEED]
//
// With --many, the archives of the many-archives benchmark instead:
//   lod/N.lod, zip/N.zip  ARCHIVES archives of ENTRIES small entries each (256 B to 8 KB, a
//              third texts, most compressed), the same in both; a text in a hundred holds "needle"
//   diff-a.lod, diff-b.lod  lod/0.lod, and the same but for 10 entries of other content
//
// usage: make-bench-archives --many FOLDER ARCHIVES ENTRIES

#include <libdeflate.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace {

using brasvel::writers::LodWriter;
using brasvel::writers::putU16;
using brasvel::writers::putU32;

// Paletted sprite rows: a transparent background around a figure of runs of a few colours, with
// a shadow band, much like the game's own sprite collections.
std::string spriteLike(std::size_t size, std::mt19937& random) {
    std::string content(size, '\0');
    const std::size_t width = 32 + random() % 96;
    std::uniform_int_distribution<int> colour(16, 255);
    std::size_t i = 0;
    while (i < size) {
        const std::size_t column = i % width;
        const std::size_t row = i / width;
        const std::size_t inset = (row * 7 + random() % 3) % (width / 3 + 1);
        if (column < inset || column > width - inset) {
            ++i;  // background stays index 0
            continue;
        }
        const std::size_t run = 1 + random() % 12;
        const char value = random() % 9 == 0 ? static_cast<char>(1 + random() % 6)
                                             : static_cast<char>(colour(random));
        for (std::size_t k = 0; k < run && i < size; ++k) {
            content[i++] = value;
        }
    }
    return content;
}

// Lines of words drawn from a small vocabulary, like the game's text tables.
std::string textLike(std::size_t size, std::mt19937& random) {
    static const char* const words[] = {
        "rycerz", "smok",   "zamek",  "magia",   "złoto", "armia",  "bohater", "kampania",
        "mapa",   "las",    "rzeka",  "gryf",    "łucznik", "mag",  "wieża",   "kopalnia",
        "drewno", "ruda",   "kryształ", "siarka", "rtęć", "klejnot", "artefakt", "zaklęcie",
        "atak",   "obrona", "moc",    "wiedza",  "morale", "szczęście", "dzień", "tydzień"};
    std::string content;
    content.reserve(size + 16);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(words) - 1);
    while (content.size() < size) {
        content += words[pick(random)];
        content += random() % 11 == 0 ? "\r\n" : (random() % 5 == 0 ? "\t" : " ");
    }
    content.resize(size);
    return content;
}

// The raw deflate data inside a zlib stream: without its 2-byte header and 4-byte checksum.
std::string rawDeflate(const std::string& zlibStream) {
    return zlibStream.substr(2, zlibStream.size() - 6);
}

class ZipWriter {
public:
    // `stored` is raw deflate data (method 8) or the content itself (method 0).
    void add(const std::string& name, const std::string& content, const std::string& stored,
             bool deflated) {
        const auto crc = static_cast<std::uint32_t>(libdeflate_crc32(0, content.data(), content.size()));
        const auto offset = static_cast<std::uint32_t>(data_.size());
        header(data_, 0x04034b50, name, crc, stored.size(), content.size(), deflated, 0, false);
        data_ += stored;
        header(central_, 0x02014b50, name, crc, stored.size(), content.size(), deflated, offset, true);
        ++count_;
    }

    std::string build() const {
        std::string out = data_ + central_;
        putU32(out, 0x06054b50);
        putU16(out, 0);
        putU16(out, 0);
        putU16(out, static_cast<std::uint16_t>(count_));
        putU16(out, static_cast<std::uint16_t>(count_));
        putU32(out, static_cast<std::uint32_t>(central_.size()));
        putU32(out, static_cast<std::uint32_t>(data_.size()));
        putU16(out, 0);
        return out;
    }

private:
    static void header(std::string& out, std::uint32_t signature, const std::string& name,
                       std::uint32_t crc, std::size_t storedSize, std::size_t size, bool deflated,
                       std::uint32_t offset, bool central) {
        putU32(out, signature);
        if (central) {
            putU16(out, 20);  // made by
        }
        putU16(out, 20);  // needed to extract
        putU16(out, 0);   // flags
        putU16(out, deflated ? 8 : 0);
        putU16(out, 0);       // time
        putU16(out, 0x5921);  // date
        putU32(out, crc);
        putU32(out, static_cast<std::uint32_t>(storedSize));
        putU32(out, static_cast<std::uint32_t>(size));
        putU16(out, static_cast<std::uint16_t>(name.size()));
        putU16(out, 0);  // extra field
        if (central) {
            putU16(out, 0);  // comment
            putU16(out, 0);  // disk
            putU16(out, 0);  // internal attributes
            putU32(out, 0100644u << 16);
            putU32(out, offset);
        }
        out += name;
    }

    std::string data_;
    std::string central_;
    std::size_t count_ = 0;
};

void save(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void makeExtractionSet(const std::filesystem::path& folder, int entries, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> logSize(std::log(1024.0), std::log(200.0 * 1024));
    LodWriter lod;
    ZipWriter zip;
    std::uint64_t contentBytes = 0;
    std::uint64_t storedBytes = 0;
    static const char* const spriteKinds[] = {"DEF", "MSK", "def"};
    static const char* const textKinds[] = {"TXT", "txt", "H3C"};
    for (int i = 0; i < entries; ++i) {
        const auto size = static_cast<std::size_t>(std::exp(logSize(random)));
        const bool sprite = random() % 3 != 0;
        const std::string content = sprite ? spriteLike(size, random) : textLike(size, random);
        const std::string ext = sprite ? spriteKinds[i % 3] : textKinds[i % 3];
        const std::string name = "E" + std::to_string(100000 + i).substr(1) + "." + ext;
        const bool compressed = random() % 10 != 0;
        if (compressed) {
            const std::string stream = brasvel::writers::zlibCompress(content);
            lod.addStored(name, stream, static_cast<std::int32_t>(content.size()),
                          static_cast<std::int32_t>(stream.size()));
            zip.add(name, content, rawDeflate(stream), true);
            storedBytes += stream.size();
        } else {
            lod.add(name, content);
            zip.add(name, content, content, false);
            storedBytes += content.size();
        }
        contentBytes += content.size();
    }
    save(folder / "big.lod", lod.build());
    save(folder / "big.zip", zip.build());
    std::cout << "big.lod: " << entries << " entries, " << contentBytes / 1000000 << " MB of content, "
              << storedBytes / 1000000 << " MB stored\n";
}

void makeListingSet(const std::filesystem::path& folder) {
    LodWriter lod;
    ZipWriter zip;
    for (int i = 0; i < 15011; ++i) {
        const std::string name = "L" + std::to_string(100000 + i).substr(1) + ".DEF";
        const std::string content = "entry " + std::to_string(i);
        lod.add(name, content);
        zip.add(name, content, content, false);
    }
    save(folder / "list.lod", lod.build());
    save(folder / "list.zip", zip.build());
}

// A figure of runs of colour with a band of shadow indices, on a transparent background.
brasvel::writers::PixelGrid figureGrid(std::int32_t width, std::int32_t height, std::mt19937& random) {
    brasvel::writers::PixelGrid grid(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::int32_t inset = std::abs(y - height / 2) / 3 + static_cast<std::int32_t>(random() % 4);
        for (std::int32_t x = inset; x < width - inset;) {
            const auto run = 1 + static_cast<std::int32_t>(random() % 10);
            const auto colour = static_cast<std::uint8_t>(y > height - height / 6 ? 1 + random() % 6
                                                                                  : 16 + random() % 200);
            for (std::int32_t k = 0; k < run && x < width - inset; ++k) {
                grid.set(x++, y, colour);
            }
        }
    }
    return grid;
}

void makePictureSet(const std::filesystem::path& folder, unsigned seed) {
    using namespace brasvel::writers;
    std::mt19937 random(seed);
    std::string palette;
    for (int i = 0; i < 768; ++i) {
        palette += static_cast<char>(i * 7 + i / 5);
    }
    LodWriter lod;
    for (int i = 0; i < 12; ++i) {
        lod.add("PIC" + std::to_string(i) + ".pcx", gamePcx8(figureGrid(640, 480, random), palette),
                true);
        std::string rgb(320 * 240 * 3, '\0');
        for (std::size_t p = 0; p < rgb.size(); ++p) {
            rgb[p] = static_cast<char>((p / 3 % 320) / 2 + (p % 3) * 40 + random() % 4);
        }
        lod.add("RGB" + std::to_string(i) + ".pcx", gamePcx24(320, 240, rgb), true);
    }
    for (int s = 0; s < 15; ++s) {
        DefWriter writer(0x42, 128, 128, palette);
        for (int b = 0; b < 2; ++b) {
            std::vector<DefFrame> frames;
            for (int f = 0; f < 8; ++f) {
                frames.push_back(defFrame(1 + s % 3, figureGrid(112, 120, random), 8, 4));
            }
            writer.block(defBlock(std::move(frames), b));
        }
        lod.add("SPR" + std::to_string(s) + ".def", writer.build(), true);
    }
    save(folder / "pictures.lod", lod.build());
    std::cout << "pictures.lod: 24 pictures, 15 sprites of 16 frames\n";
}

// One archive of the many-archives set: the same entries as a LOD and as a zip. `changed` entries
// (from the first) get other content of the same kind.
std::pair<std::string, std::string> manyArchive(int archive, int entries, int changed) {
    std::mt19937 random(static_cast<unsigned>(7919 * archive + 1));
    std::uniform_real_distribution<double> logSize(std::log(256.0), std::log(8.0 * 1024));
    LodWriter lod;
    ZipWriter zip;
    for (int i = 0; i < entries; ++i) {
        const auto size = static_cast<std::size_t>(std::exp(logSize(random)));
        const bool text = i % 3 == 0;
        std::string content = text ? textLike(size, random) : spriteLike(size, random);
        if (text && i % 100 == 0) {
            content.insert(content.size() / 2, " needle ");
        }
        if (i < changed) {
            content += text ? " zmienione" : "\x01\x02";
        }
        const std::string name = "A" + std::to_string(archive) + "E" +
                                 std::to_string(100000 + i).substr(1) + (text ? ".TXT" : ".DEF");
        if (random() % 10 != 0) {
            const std::string stream = brasvel::writers::zlibCompress(content);
            lod.addStored(name, stream, static_cast<std::int32_t>(content.size()),
                          static_cast<std::int32_t>(stream.size()));
            zip.add(name, content, rawDeflate(stream), true);
        } else {
            lod.add(name, content);
            zip.add(name, content, content, false);
        }
    }
    return {lod.build(), zip.build()};
}

void makeManySet(const std::filesystem::path& folder, int archives, int entries) {
    std::filesystem::create_directories(folder / "lod");
    std::filesystem::create_directories(folder / "zip");
    for (int k = 0; k < archives; ++k) {
        auto [lod, zip] = manyArchive(k, entries, 0);
        save(folder / "lod" / (std::to_string(k) + ".lod"), lod);
        save(folder / "zip" / (std::to_string(k) + ".zip"), zip);
        if (k == 0) {
            save(folder / "diff-a.lod", lod);
        }
    }
    save(folder / "diff-b.lod", manyArchive(0, entries, 10).first);
    std::cout << "many: " << archives << " archives of " << entries << " entries\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--many") {
        makeManySet(argv[2], std::stoi(argv[3]), std::stoi(argv[4]));
        return 0;
    }
    if (argc < 2) {
        std::cerr << "usage: make-bench-archives FOLDER [ENTRIES] [SEED]\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int entries = argc > 2 ? std::stoi(argv[2]) : 4000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::stoul(argv[3])) : 1990;
    std::filesystem::create_directories(folder);
    makeExtractionSet(folder, entries, seed);
    makeListingSet(folder);
    makePictureSet(folder, seed);
    return 0;
}
