// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ImagingFixtures.h"
#include "imaging/DefEncoder.h"
#include "imaging/DefSprite.h"
#include "imaging/FrameColours.h"
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
        {"one colour off in a rewritten palette",
         [](Folder& f) {
             Picture frame = decodePng(f.at("0-0.png"));
             std::swap(frame.palette[8], frame.palette[9]);
             for (std::uint8_t& index : frame.pixels) {
                 index = index == 8 ? 9 : index == 9 ? 8 : index;
             }
             frame.palette[200].blue ^= 1;
             f["0-0.png"] = encodePng(frame);
         },
         "Palette mismatch"},
        {"other size",
         [](Folder& f) { f["1-0.png"] = encodePng(testing::patternedIndices(70, 41)); },
         "Frame size mismatch"},
        {"rgb frame of other colours",
         [](Folder& f) { f["1-0.png"] = encodePng(testing::patternedRgb(70, 40)); },
         "Palette mismatch"},
        {"rgb frame one row short",
         [](Folder& f) { f["1-0.png"] = encodePng(testing::patternedRgb(70, 39)); },
         "Frame size mismatch"},
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

// The sprite written again from its own frames is the same; one frame replaced changes that frame
// alone, and only frames 1 to the last can be replaced.
TEST(SpriteFiles, ASpriteWrittenAgainWithOneFrameReplacedKeepsTheOthers) {
    const std::string file = writtenSprite(2);
    const DefSprite original = DefSprite::walk(writers::asBytes(file), "x.def");
    const std::vector<std::byte> again = encodeDef(spriteSource(original, "x.def"));
    expectSameFrames(original, DefSprite::walk(again, "x.def"));

    Picture frame = Picture::blank(70, 40, PixelFormat::Indexed8);
    frame.pixels[5 * 70 + 6] = 200;
    const std::uint32_t last = original.frameTotal();
    const std::vector<std::byte> replaced =
        encodeDef(withFrameReplaced(original, "x.def", last, frame));
    const DefSprite copy = DefSprite::walk(replaced, "x.def");
    ASSERT_EQ(copy.frameTotal(), last);
    for (std::uint32_t f = 1; f < last; ++f) {
        EXPECT_EQ(copy.decodeFrame(f), original.decodeFrame(f)) << f;
    }
    frame.palette = original.palette();
    EXPECT_EQ(copy.decodeFrame(last), frame);
    EXPECT_EQ(copy.blocks()[1].frameNames, original.blocks()[1].frameNames);
    for (const std::uint32_t number : {0U, last + 1}) {
        try {
            withFrameReplaced(original, "x.def", number, frame);
            ADD_FAILURE() << "frame " << number << " replaced";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::NoSuchFrame);
        }
    }
}

// What an image editor makes of the exported frames: RGB, RGBA with the markers' transparency, or
// indexed with its palette reordered. Each comes back to the sprite's indices.
TEST(SpriteFiles, ImportMapsFramesSavedInColoursBackToTheirIndices) {
    const std::string file = writtenSprite(1);
    const DefSprite original = DefSprite::walk(writers::asBytes(file), "x.def");
    struct Case {
        std::string what;
        bool keepPalette;
        std::function<std::vector<std::byte>(const std::vector<std::byte>&)> resave;
        bool markersExact;  // false: the markers come back as 0, 1 and 4 only
    };
    const std::vector<Case> cases = {
        {"rgb of the kept palette", true,
         [](const std::vector<std::byte>& png) {
             Picture frame = decodePng(png);
             Picture rgb = Picture::blank(frame.width, frame.height, PixelFormat::Rgb24);
             for (std::size_t i = 0; i < frame.pixels.size(); ++i) {
                 const Colour& c = frame.palette[frame.pixels[i]];
                 rgb.pixels[i * 3] = c.red;
                 rgb.pixels[i * 3 + 1] = c.green;
                 rgb.pixels[i * 3 + 2] = c.blue;
             }
             return encodePng(rgb);
         },
         true},
        {"rgba of the shown markers", false,
         [](const std::vector<std::byte>& png) {
             // The indexed PNG with tRNS, expanded as an editor would save it.
             const RgbaPicture rgba = decodePngRgba(png);
             Picture frame = decodePng(png);
             // Re-encode through a palette of its own whose entries are all distinct colours
             // the editor "rewrote": reversed order, same colours.
             Picture reordered = frame;
             for (std::size_t i = 0; i < 256; ++i) {
                 reordered.palette[i] = frame.palette[255 - i];
             }
             for (std::uint8_t& index : reordered.pixels) {
                 index = static_cast<std::uint8_t>(255 - index);
             }
             EXPECT_EQ(rgba.rgba.size(), frame.pixels.size() * 4);
             PaletteAlpha alpha = kOpaque;
             for (std::size_t i = 0; i < 8; ++i) {
                 alpha[255 - i] = i == 1 || i == 7 ? 64 : i == 4 || i == 6 ? 128 : 0;
             }
             return encodePng(reordered, reordered.palette, alpha);
         },
         false},
    };
    for (const Case& c : cases) {
        Folder folder = exported(original, c.keepPalette);
        for (auto& [name, content] : folder) {
            if (name.find('-') == 1 && name.find("block") == std::string::npos) {
                content = c.resave(content);
            }
        }
        const std::vector<std::byte> written = encodeDef(imported(folder));
        const DefSprite copy = DefSprite::walk(written, "x.def");
        for (std::uint32_t f = 1; f <= original.frameTotal(); ++f) {
            Picture expected = original.decodeFrame(f);
            if (!c.markersExact) {
                for (std::uint8_t& index : expected.pixels) {
                    constexpr std::array<std::uint8_t, 8> kShown{0, 1, 0, 0, 4, 0, 4, 1};
                    index = index < 8 ? kShown[index] : index;
                }
            }
            const Picture got = copy.decodeFrame(f);
            EXPECT_EQ(got.palette, expected.palette) << c.what;
            const auto differ =
                std::mismatch(got.pixels.begin(), got.pixels.end(), expected.pixels.begin());
            EXPECT_EQ(differ.first, got.pixels.end())
                << c.what << ", frame " << f << ": pixel " << (differ.first - got.pixels.begin())
                << " is " << int(*differ.first) << ", not " << int(*differ.second);
        }
    }
}

// The colour rule at its edges: exact colours only, the two shadow opacities only in black.
TEST(FrameColours, EachPixelIsOneOfTheSpritesColoursOrRefusedByPlace) {
    Palette palette = testing::rampPalette();
    palette[9] = palette[20];  // a colour twice: the first index takes it
    struct Case {
        std::array<std::uint8_t, 4> pixel;
        int index;  // -1: refused
        std::string said;
    };
    const Colour c8 = palette[8];
    const Colour c255 = palette[255];
    const Colour c3 = palette[3];
    const std::vector<Case> cases = {
        {{c8.red, c8.green, c8.blue, 255}, 8, ""},
        {{c255.red, c255.green, c255.blue, 255}, 255, ""},
        {{palette[20].red, palette[20].green, palette[20].blue, 255}, 9, ""},
        {{c3.red, c3.green, c3.blue, 255}, 3, ""},  // a marker's own colour, palette kept
        {{c8.red, c8.green, static_cast<std::uint8_t>(c8.blue + 1), 255}, -1,
         "pixel (1, 2) is #38F7"},
        {{1, 2, 3, 0}, 0, ""},
        {{0, 0, 0, 64}, 1, ""},
        {{0, 0, 0, 128}, 4, ""},
        {{0, 0, 0, 63}, -1, "at opacity 63"},
        {{0, 0, 0, 65}, -1, "at opacity 65"},
        {{0, 0, 0, 129}, -1, "at opacity 129"},
        {{0, 0, 1, 128}, -1, "#000001 at opacity 128"},
        {{c8.red, c8.green, c8.blue, 254}, -1, "at opacity 254"},
    };
    for (const Case& c : cases) {
        RgbaPicture frame{3, 4, std::vector<std::uint8_t>(3 * 4 * 4, 0)};
        const std::size_t at = (2 * 3 + 1) * 4;
        std::copy(c.pixel.begin(), c.pixel.end(), frame.rgba.begin() + at);
        try {
            const Picture indices = spriteFrameFromColours(frame, palette, "0-1.png");
            EXPECT_EQ(c.index, indices.pixels[2 * 3 + 1]) << c.said;
            EXPECT_EQ(indices.pixels[0], 0);
            EXPECT_EQ(indices.palette, palette);
        } catch (const ResourceError& error) {
            EXPECT_EQ(c.index, -1) << error.describe();
            EXPECT_EQ(error.kind(), ErrorKind::PaletteMismatch);
            EXPECT_NE(error.describe().find("0-1.png: "), std::string::npos) << error.describe();
            EXPECT_NE(error.describe().find(c.said), std::string::npos) << error.describe();
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
