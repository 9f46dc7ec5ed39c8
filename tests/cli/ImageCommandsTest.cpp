// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Runs the built brasvel-res's PNG output, sprite export and import, and picture import on
// archives and pictures made by the writers.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "imaging/FrameColours.h"
#include "imaging/Png.h"
#include "tests/support/TestPlatform.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace {

namespace fs = std::filesystem;
using namespace brasvel::writers;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string rampPalette() {
    std::string rgb;
    for (int i = 0; i < 768; ++i) {
        rgb += static_cast<char>(i * 5 + i / 3);
    }
    return rgb;
}

PixelGrid grid(std::int32_t width, std::int32_t height, int seed) {
    PixelGrid g(width, height);
    for (std::size_t i = 0; i < g.pixels.size(); ++i) {
        g.pixels[i] =
            static_cast<std::uint8_t>((i / 5 + static_cast<std::size_t>(seed)) % 3 == 0
                                          ? 0
                                          : (i * 7 + static_cast<std::size_t>(seed)) % 256);
    }
    return g;
}

std::string sprite(std::int32_t compression) {
    return DefWriter(0x43, 40, 36, rampPalette())
        .block(defBlock(
            {defFrame(compression, grid(34, 30, 1), 2, 3), defFrame(compression, grid(40, 36, 2))},
            4))
        .block(defBlock({defFrame(compression, grid(33, 20, 3), 1, 1)}, 6))
        .build();
}

class ImageCommands : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = brasvel::testing::makeScratchFolder("brasvel-image");
        writeFile(archive(), LodWriter()
                                 .add("Hero.def", sprite(3), true)
                                 .add("Map.pcx", gamePcx8(grid(9, 7, 4), rampPalette()))
                                 .add("Sky.pcx", gamePcx24(3, 2, std::string(18, '\x33')))
                                 .build());
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path archive() const { return root_ / "game.lod"; }
    fs::path at(const std::string& name) const { return root_ / name; }

    int run(const std::string& arguments) {
        const std::string command =
            "cd " + root_.string() + " && " + BRASVEL_RES + " " + arguments + " > stdout 2> stderr";
        const int code = brasvel::testing::shellExitCode(command);
        stdout_ = readFile(at("stdout"));
        stderr_ = readFile(at("stderr"));
        return code;
    }

    std::set<std::string> namesIn(const fs::path& folder) const {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator(folder)) {
            names.insert(item.path().filename().string());
        }
        return names;
    }

    fs::path root_;
    std::string stdout_;
    std::string stderr_;
};

TEST_F(ImageCommands, ConvertChoosesTheFormatByTheNameOrTheOption) {
    EXPECT_EQ(run("convert game.lod Hero.def -o hero.png --selection"), 0) << stderr_;
    EXPECT_EQ(readFile(at("hero.png")).substr(1, 3), "PNG");
    EXPECT_EQ(run("convert game.lod Map.pcx --format png"), 0) << stderr_;
    EXPECT_EQ(readFile(at("Map.png")).substr(1, 3), "PNG");
    EXPECT_EQ(run("convert game.lod Map.pcx -o map.out --format PNG"), 0) << stderr_;
    EXPECT_EQ(readFile(at("map.out")).substr(1, 3), "PNG");
    EXPECT_EQ(run("convert game.lod Map.pcx -o map.out"), 0);  // BMP where nothing says PNG
    EXPECT_EQ(readFile(at("map.out")).substr(0, 2), "BM");
    EXPECT_EQ(run("convert game.lod Map.pcx -o map.png --format bmp"), 2);
    EXPECT_NE(stderr_.find("contradicts"), std::string::npos);
    EXPECT_EQ(run("convert game.lod Map.pcx --format gif"), 2);
    EXPECT_EQ(run("convert game.lod Map.pcx --keep-palette -o m.png"), 2);
    EXPECT_FALSE(fs::exists(at("m.png")));
}

TEST_F(ImageCommands, SpriteExportThenImportGivesTheSameFrames) {
    ASSERT_EQ(run("sprite export game.lod Hero.def -o out --keep-palette"), 0) << stderr_;
    EXPECT_EQ(namesIn(at("out")),
              (std::set<std::string>{"0-0.png", "0-1.png", "1-0.png", "block-0.png", "block-1.png",
                                     "sheet.png", "sprite.txt"}));
    ASSERT_EQ(run("sprite import out -o Copy.def"), 0) << stderr_;
    // The copy exports to the same frames, byte for byte.
    writeFile(at("copy.lod"), LodWriter().add("Copy.def", readFile(at("Copy.def"))).build());
    ASSERT_EQ(run("sprite export copy.lod Copy.def -o again --keep-palette"), 0) << stderr_;
    for (const std::string name : {"0-0.png", "0-1.png", "1-0.png", "sheet.png"}) {
        EXPECT_EQ(readFile(at("again") / name), readFile(at("out") / name)) << name;
    }
    EXPECT_EQ(run("sprite import out -o Copy1.def --type 1"), 0) << stderr_;
    EXPECT_EQ(run("sprite import out -o Copy1.def --type 5"), 2);
}

TEST_F(ImageCommands, ExistingFilesAreKeptUnlessForced) {
    fs::create_directory(at("out"));
    writeFile(at("out") / "sheet.png", "mine");
    EXPECT_EQ(run("sprite export game.lod Hero.def -o out"), 1);
    EXPECT_NE(stderr_.find("--force"), std::string::npos) << stderr_;
    EXPECT_EQ(namesIn(at("out")), (std::set<std::string>{"sheet.png"}));  // nothing written
    EXPECT_EQ(run("sprite export game.lod Hero.def -o out --force"), 0) << stderr_;
    EXPECT_NE(readFile(at("out") / "sheet.png"), "mine");

    writeFile(at("taken.def"), "mine");
    EXPECT_EQ(run("sprite import out -o taken.def"), 1);
    EXPECT_EQ(readFile(at("taken.def")), "mine");
}

TEST_F(ImageCommands, ImportRefusalsWriteNothingAndSayWhy) {
    ASSERT_EQ(run("sprite export game.lod Hero.def -o out"), 0) << stderr_;
    fs::remove(at("out") / "0-1.png");
    EXPECT_EQ(run("sprite import out -o Hero.def"), 1);
    EXPECT_NE(stderr_.find("File not found"), std::string::npos) << stderr_;
    EXPECT_NE(stderr_.find("0-1.png"), std::string::npos) << stderr_;
    fs::copy_file(at("out") / "sheet.png", at("out") / "0-1.png");
    EXPECT_EQ(run("sprite import out -o Hero.def"), 1);
    EXPECT_NE(stderr_.find("Frame size mismatch"), std::string::npos) << stderr_;
    EXPECT_FALSE(fs::exists(at("Hero.def")));
}

// Frames an image editor saved as RGB come back when every colour is the sprite's; the first
// colour that is not is named with its frame and place, and nothing is written.
TEST_F(ImageCommands, ImportTakesRgbFramesOfTheSpritesColoursOnly) {
    ASSERT_EQ(run("sprite export game.lod Hero.def -o out --keep-palette"), 0) << stderr_;
    const fs::path frame = at("out") / "0-1.png";
    const std::string png = readFile(frame);
    const brasvel::Picture indexed = brasvel::decodePng(
        {reinterpret_cast<const std::byte*>(png.data()), png.size()});
    const brasvel::RgbaPicture rgba = brasvel::rgbaOf(indexed);
    brasvel::Picture rgb = brasvel::Picture::blank(indexed.width, indexed.height,
                                                   brasvel::PixelFormat::Rgb24);
    for (std::size_t i = 0; i < indexed.pixels.size(); ++i) {
        std::copy_n(rgba.rgba.begin() + static_cast<std::ptrdiff_t>(i * 4), 3,
                    rgb.pixels.begin() + static_cast<std::ptrdiff_t>(i * 3));
    }
    const auto write = [&](const brasvel::Picture& picture) {
        const std::vector<std::byte> file = brasvel::encodePng(picture);
        writeFile(frame, std::string(reinterpret_cast<const char*>(file.data()), file.size()));
    };
    write(rgb);
    ASSERT_EQ(run("sprite import out -o Rgb.def"), 0) << stderr_;
    writeFile(at("rgb.lod"), LodWriter().add("Rgb.def", readFile(at("Rgb.def"))).build());
    ASSERT_EQ(run("sprite export rgb.lod Rgb.def -o again --keep-palette"), 0) << stderr_;
    // The same colours (an index whose colour repeats earlier in the palette becomes the first).
    const std::string again = readFile(at("again") / "0-1.png");
    EXPECT_EQ(brasvel::rgbaOf(brasvel::decodePng(
                                  {reinterpret_cast<const std::byte*>(again.data()), again.size()}))
                  .rgba,
              rgba.rgba);

    // The last pixel one step off a palette colour.
    rgb.pixels.back() = static_cast<std::uint8_t>(rgb.pixels.back() ^ 1);
    write(rgb);
    EXPECT_EQ(run("sprite import out -o Off.def"), 1);
    EXPECT_NE(stderr_.find("Palette mismatch"), std::string::npos) << stderr_;
    EXPECT_NE(stderr_.find("0-1.png: pixel (" + std::to_string(rgb.width - 1) + ", " +
                           std::to_string(rgb.height - 1) + ") is #"),
              std::string::npos)
        << stderr_;
    EXPECT_FALSE(fs::exists(at("Off.def")));
}

TEST_F(ImageCommands, PictureImportKeepsPalettesAndNeverQuantises) {
    ASSERT_EQ(run("convert game.lod Map.pcx -o map.png"), 0) << stderr_;
    ASSERT_EQ(run("picture import map.png -o Map.pcx"), 0) << stderr_;
    EXPECT_EQ(readFile(at("Map.pcx")), gamePcx8(grid(9, 7, 4), rampPalette()));
    ASSERT_EQ(run("convert game.lod Sky.pcx -o sky.bmp"), 0) << stderr_;
    ASSERT_EQ(run("picture import sky.bmp -o Sky.pcx --bits 24"), 0) << stderr_;
    EXPECT_EQ(readFile(at("Sky.pcx")), gamePcx24(3, 2, std::string(18, '\x33')));
    ASSERT_EQ(run("picture import sky.bmp -o Sky8.pcx"), 0) << stderr_;
    EXPECT_NE(stdout_.find("8-bit"), std::string::npos);

    // 300 colours in a 24-bit BMP: refused without --bits 24.
    std::string pixels;
    for (int i = 0; i < 300; ++i) {
        pixels += {static_cast<char>(i), static_cast<char>(i >> 8), '\0'};
    }
    writeFile(at("many.pcx"), gamePcx24(300, 1, pixels));
    writeFile(at("many.lod"), LodWriter().add("Many.pcx", readFile(at("many.pcx"))).build());
    ASSERT_EQ(run("convert many.lod Many.pcx -o many.bmp"), 0) << stderr_;
    EXPECT_EQ(run("picture import many.bmp -o Many8.pcx"), 1);
    EXPECT_NE(stderr_.find("300 colours"), std::string::npos) << stderr_;
    EXPECT_FALSE(fs::exists(at("Many8.pcx")));
    EXPECT_EQ(run("picture import many.bmp -o Many24.pcx --bits 24"), 0) << stderr_;
    EXPECT_EQ(readFile(at("Many24.pcx")), readFile(at("many.pcx")));
    EXPECT_EQ(run("picture import many.gif -o x.pcx"), 2);
}

}  // namespace
