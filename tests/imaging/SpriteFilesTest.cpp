// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ImagingFixtures.h"
#include "imaging/DefEncoder.h"
#include "imaging/DefSprite.h"
#include "imaging/Png.h"
#include "imaging/SpriteFiles.h"
#include "imaging/SpriteListing.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel {
namespace {

using writers::DefWriter;
using writers::PixelGrid;

PixelGrid spriteGrid(std::int32_t width, std::int32_t height, int seed) {
    PixelGrid grid(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const int band = (x / 7 + y / 3 + seed) % 4;
            grid.set(x, y,
                     static_cast<std::uint8_t>(band == 0   ? 0
                                               : band == 1 ? 1 + (x + y) % 7
                                                           : 8 + (x * 13 + y * seed) % 240));
        }
    }
    return grid;
}

// A sprite of two blocks made by the writers, every frame in `compression`.
std::string writtenSprite(std::int32_t compression) {
    return DefWriter(0x44, 70, 40, testing::paletteBytes(testing::rampPalette()))
        .block(writers::defBlock({writers::defFrame(compression, spriteGrid(64, 30, 1), 3, 4),
                                  writers::defFrame(compression, spriteGrid(66, 33, 2), 0, 7)},
                                 5))
        .block(writers::defBlock({writers::defFrame(compression, spriteGrid(40, 40, 3))}, 9))
        .build();
}

using Folder = std::map<std::string, std::vector<std::byte>>;

Folder exported(const DefSprite& sprite, bool keepPalette) {
    SpriteExportOptions options;
    options.keepPalette = keepPalette;
    Folder folder;
    for (NamedFile& file : exportSprite(sprite, options)) {
        folder[file.name] = std::move(file.content);
    }
    return folder;
}

FolderReader readerOf(const Folder& folder) {
    return [&folder](const std::string& name) {
        const auto found = folder.find(name);
        if (found == folder.end()) {
            throw ResourceError(ErrorKind::FileNotFound, name);
        }
        return found->second;
    };
}

SpriteListing listingOf(const Folder& folder) {
    const std::vector<std::byte>& text = folder.at(std::string(kSpriteListingName));
    return readSpriteListing({reinterpret_cast<const char*>(text.data()), text.size()});
}

DefSource imported(const Folder& folder, std::optional<std::int32_t> compression = {}) {
    return importSprite(listingOf(folder), readerOf(folder), compression, "x.def");
}

void expectSameFrames(const DefSprite& original, const DefSprite& copy) {
    EXPECT_EQ(copy.type(), original.type());
    EXPECT_EQ(copy.palette(), original.palette());
    ASSERT_EQ(copy.frameTotal(), original.frameTotal());
    for (std::uint32_t f = 1; f <= original.frameTotal(); ++f) {
        EXPECT_EQ(copy.decodeFrame(f), original.decodeFrame(f)) << "frame " << f;
    }
    ASSERT_EQ(copy.blocks().size(), original.blocks().size());
    for (std::size_t b = 0; b < original.blocks().size(); ++b) {
        EXPECT_EQ(copy.blocks()[b].identifier, original.blocks()[b].identifier);
        EXPECT_EQ(copy.blocks()[b].frameNames, original.blocks()[b].frameNames);
    }
}

TEST(SpriteFiles, ExportThenImportGivesBackEveryFrameOfEveryCompression) {
    for (std::int32_t compression : {0, 1, 2, 3}) {
        const std::string file = writtenSprite(compression);
        const DefSprite original = DefSprite::walk(writers::asBytes(file), "x.def");
        for (const bool keepPalette : {true, false}) {
            const Folder folder = exported(original, keepPalette);
            const DefSource source = imported(folder);
            EXPECT_EQ(source.blocks[0].frames[0].compression, compression);
            const std::vector<std::byte> copy = encodeDef(source);
            expectSameFrames(original, DefSprite::walk(copy, "x.def"));
        }
        // Another compression than the source's stores the same frames.
        const std::int32_t other = compression == 1 ? 2 : 1;
        const std::vector<std::byte> converted =
            encodeDef(imported(exported(original, true), other));
        expectSameFrames(original, DefSprite::walk(converted, "x.def"));
    }
}

TEST(SpriteFiles, ExportWritesFramesSheetAnimationsAndListing) {
    const std::string file = writtenSprite(1);
    const DefSprite sprite = DefSprite::walk(writers::asBytes(file), "x.def");
    const Folder folder = exported(sprite, false);
    std::vector<std::string> names;
    for (const auto& [name, content] : folder) {
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"0-0.png", "0-1.png", "1-0.png", "block-0.png",
                                               "block-1.png", "sheet.png", "sprite.txt"}));
    const Picture sheet = decodePng(folder.at("sheet.png"));
    EXPECT_EQ(sheet.width, 2 * 70);
    EXPECT_EQ(sheet.height, 2 * 40);
    const Picture second = sprite.decodeFrame(2);
    EXPECT_EQ(sheet.row(5)[70 + 9], second.row(5)[9]);
    EXPECT_EQ(sheet.row(45)[70 + 9], 0);  // block 1 has one frame: the rest is transparent
    const SpriteListing listing = listingOf(folder);
    EXPECT_EQ(listing.blocks[0].frames[1], (ListedFrame{"0-1.png", "frame1.pcx", 1, 0, 7, 66, 33}));
    EXPECT_EQ(listing.blocks[1].identifier, 9);
}

// A file whose reserved name imposes the full-picture placement keeps its header's own type, and
// its frames come back when the copy has that name too.
TEST(SpriteFiles, AReservedNameKeepsItsHeaderTypeAndPlacement) {
    writers::DefFrame whole = writers::defFrame(1, spriteGrid(10, 5, 4));
    whole.firstRowBias = 8;
    const std::string file = DefWriter(0x40, 10, 8, testing::paletteBytes(testing::rampPalette()))
                                 .block(writers::defBlock({whole}))
                                 .build();
    const DefSprite original = DefSprite::walk(writers::asBytes(file), "SGTWMTA.def");
    ASSERT_EQ(original.type(), kFullPictureType);
    const Folder folder = exported(original, true);
    EXPECT_EQ(listingOf(folder).type, 0x40);
    const std::vector<std::byte> copy =
        encodeDef(importSprite(listingOf(folder), readerOf(folder), std::nullopt, "SGTWMTA.def"));
    const DefSprite walked = DefSprite::walk(copy, "SGTWMTA.def");
    EXPECT_EQ(walked.headerType(), 0x40);
    expectSameFrames(original, walked);
}

// A sheet wider than any picture may be is left out; the frames are all there.
TEST(SpriteFiles, ABlockTooLongForOneSheetRowLeavesTheSheetOut) {
    std::vector<writers::DefFrame> frames;
    for (int f = 0; f < 520; ++f) {
        frames.push_back(writers::defFrame(1, spriteGrid(64, 1, f), 0, 0));
    }
    const std::string file = DefWriter(1, 64, 1, testing::paletteBytes(testing::rampPalette()))
                                 .block(writers::defBlock(std::move(frames)))
                                 .build();
    const Folder folder = exported(DefSprite::walk(writers::asBytes(file), "x.def"), true);
    EXPECT_EQ(folder.count("sheet.png"), 0U);
    EXPECT_EQ(folder.count("0-519.png"), 1U);
    const std::vector<std::byte>& text = folder.at("sprite.txt");
    EXPECT_NE(std::string(reinterpret_cast<const char*>(text.data()), text.size())
                  .find("# sheet.png left out: Picture too large"),
              std::string::npos);
    EXPECT_EQ(listingOf(folder).blocks[0].frames.size(), 520U);
}

TEST(SpriteFiles, ImportRefusesFramesThatDoNotFit) {
    const std::string file = writtenSprite(2);
    const DefSprite sprite = DefSprite::walk(writers::asBytes(file), "x.def");
    const Folder good = exported(sprite, true);
    struct Case {
        std::string what;
        std::function<void(Folder&)> damage;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"missing frame", [](Folder& f) { f.erase("0-1.png"); }, "File not found"},
        {"palette changed",
         [](Folder& f) {
             Picture frame = decodePng(f.at("0-0.png"));
             for (Colour& c : frame.palette) {
                 c.green ^= 0x10;
             }
             f["0-0.png"] = encodePng(frame);
         },
         "Palette mismatch"},
        {"other size",
         [](Folder& f) { f["1-0.png"] = encodePng(testing::patternedIndices(70, 41)); },
         "Frame size mismatch"},
        {"rgb frame", [](Folder& f) { f["1-0.png"] = encodePng(testing::patternedRgb(70, 40)); },
         "Frame is not indexed"},
        {"damaged png", [](Folder& f) { f["1-0.png"].resize(30); }, "Damaged PNG file"},
    };
    for (const Case& c : cases) {
        Folder folder = good;
        c.damage(folder);
        try {
            imported(folder);
            ADD_FAILURE() << c.what << " was imported";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), c.text) << c.what << ": " << error.describe();
        }
    }
}

TEST(SpriteListing, WrittenListingsReadBackAndDamagedOnesNameTheirLine) {
    SpriteListing listing;
    listing.source = "Odd name%.def";
    listing.type = -3;
    listing.width = 12;
    listing.height = 34;
    listing.palette = testing::rampPalette();
    listing.blocks = {{4, {{"0-0.png", "a b\x01%", 2, -1, 2, 3, 4}}}, {5, {}}};
    const std::string text = writeSpriteListing(listing);
    EXPECT_EQ(readSpriteListing(text), listing);

    const std::string head = text.substr(0, text.find("block 0"));
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"", "empty"},
        {"brasvel-sprite 2\n", "version"},
        {head + "frame 0-0.png name x compression 1 left 0 top 0 width 1 height 1\n", "before"},
        {head + "block 0 identifier 1\nframe ../up.png name x compression 1 left 0 top 0 "
                "width 1 height 1\n",
         "plain file name"},
        {head + "block 0 identifier 1\nframe a.png name x compression 1 left 0\n", "ends"},
        {head + "block 0 identifier 1\nframe a\x01.png name x compression 1 left 0 top 0 "
                "width 1 height 1\n",
         "plain file name"},
        {head + "block 0 identifier x\n", "not a number"},
        {head + "block 1 identifier 1\n", "out of order"},
        {head + "palette 250 000000 000000 000000 000000 000000 000000 000000\n", "beyond"},
        {head + "palette 0 00000G\n", "RRGGBB"},
        {head + "frame2 x\n", "unknown record"},
        {text.substr(0, text.find("palette 240")), "palette entry 240"},
        {head + "block 0 identifier 1\nframe a.png name %4 compression 1 left 0 top 0 width 1 "
                "height 1\n",
         "hexadecimal"},
    };
    for (const auto& [bad, part] : damaged) {
        try {
            readSpriteListing(bad);
            ADD_FAILURE() << part << " was read";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), "Damaged sprite listing");
            EXPECT_NE(error.detail().find(part), std::string::npos) << error.detail();
        }
    }
}

}  // namespace
}  // namespace brasvel
