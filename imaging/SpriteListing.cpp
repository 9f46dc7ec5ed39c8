// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "imaging/SpriteListing.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "base/ResourceError.h"

namespace brasvel {
namespace {

constexpr std::string_view kMagic = "brasvel-sprite";
constexpr int kVersion = 1;
constexpr std::size_t kEntriesPerLine = 16;

std::string percentEncoded(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < '!' || byte > '~' || byte == '%') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

[[noreturn]] void damagedListing(std::size_t line, const std::string& what) {
    throw ResourceError(ErrorKind::DamagedSpriteListing,
                        "line " + std::to_string(line) + ": " + what);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(std::string_view text, std::size_t line) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int high = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            damagedListing(line, "a % without two hexadecimal digits");
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

// The words of one line.
class Words {
public:
    Words(std::string_view line, std::size_t number) : number_(number) {
        std::size_t at = 0;
        while (at < line.size()) {
            const std::size_t start = line.find_first_not_of(" \t\r", at);
            if (start == std::string_view::npos)
                break;
            const std::size_t end = line.find_first_of(" \t\r", start);
            words_.push_back(line.substr(start, end - start));
            at = end == std::string_view::npos ? line.size() : end;
        }
    }
    bool empty() const { return words_.empty(); }
    std::size_t size() const { return words_.size(); }
    std::string_view word(std::size_t i) const {
        if (i >= words_.size()) {
            damagedListing(number_, "it ends after " + std::to_string(words_.size()) + " words");
        }
        return words_[i];
    }
    std::int32_t number(std::size_t i) const {
        const std::string_view text = word(i);
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || end != text.data() + text.size()) {
            damagedListing(number_, "'" + std::string(text) + "' is not a number");
        }
        return value;
    }
    // The value after the key `key` at position i.
    std::int32_t keyed(std::size_t i, std::string_view key) const {
        expect(i, key);
        return number(i + 1);
    }
    void expect(std::size_t i, std::string_view key) const {
        if (word(i) != key) {
            damagedListing(number_, "expected '" + std::string(key) + "', found '" +
                                        std::string(word(i)) + "'");
        }
    }
    std::size_t line() const { return number_; }

private:
    std::vector<std::string_view> words_;
    std::size_t number_;
};

void checkPlainFileName(std::string_view name, std::size_t line) {
    const bool plain = !name.empty() && name.front() != '.' &&
                       name.find_first_of("/\\:") == std::string_view::npos &&
                       std::none_of(name.begin(), name.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (!plain) {
        damagedListing(line, "frame file '" + std::string(name) +
                                 "' is not a plain file name in the listing's folder");
    }
}

void readPaletteLine(const Words& words, SpriteListing& listing, std::vector<bool>& seen) {
    const std::int32_t first = words.number(1);
    if (first < 0 || first >= 256 || words.size() < 3 ||
        static_cast<std::size_t>(first) + words.size() - 2 > 256) {
        damagedListing(words.line(), "palette entries beyond 0 to 255");
    }
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string_view hex = words.word(i);
        std::uint32_t rgb = 0;
        const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), rgb, 16);
        if (hex.size() != 6 || error != std::errc{} || end != hex.data() + hex.size()) {
            damagedListing(words.line(), "'" + std::string(hex) + "' is not a colour RRGGBB");
        }
        const std::size_t entry = static_cast<std::size_t>(first) + i - 2;
        listing.palette[entry] = {static_cast<std::uint8_t>(rgb >> 16),
                                  static_cast<std::uint8_t>(rgb >> 8 & 0xFF),
                                  static_cast<std::uint8_t>(rgb & 0xFF)};
        seen[entry] = true;
    }
}

ListedFrame readFrameLine(const Words& words) {
    ListedFrame frame;
    frame.file = std::string(words.word(1));
    checkPlainFileName(frame.file, words.line());
    words.expect(2, "name");
    frame.name = percentDecoded(words.word(3) == "-" ? "" : words.word(3), words.line());
    frame.compression = words.keyed(4, "compression");
    frame.left = words.keyed(6, "left");
    frame.top = words.keyed(8, "top");
    frame.width = words.keyed(10, "width");
    frame.height = words.keyed(12, "height");
    return frame;
}

}  // namespace

std::string frameFileName(std::size_t block, std::size_t frame) {
    return std::to_string(block) + "-" + std::to_string(frame) + ".png";
}

std::string writeSpriteListing(const SpriteListing& listing) {
    std::ostringstream out;
    out << kMagic << ' ' << kVersion << '\n';
    out << "source " << percentEncoded(listing.source.empty() ? "-" : listing.source) << '\n';
    out << "type " << listing.type << '\n';
    out << "size " << listing.width << ' ' << listing.height << '\n';
    out << "colours " << (listing.paletteKept ? "kept" : "transparent") << '\n';
    out << "# The palette is the sprite's own, as stored after its header; frame files are\n"
           "# BLOCK-FRAME.png, both counted from 0.\n";
    for (std::size_t first = 0; first < listing.palette.size(); first += kEntriesPerLine) {
        out << "palette " << first;
        for (std::size_t i = first; i < first + kEntriesPerLine; ++i) {
            char hex[8];
            const Colour& c = listing.palette[i];
            std::snprintf(hex, sizeof hex, " %02X%02X%02X", c.red, c.green, c.blue);
            out << hex;
        }
        out << '\n';
    }
    for (std::size_t b = 0; b < listing.blocks.size(); ++b) {
        const ListedBlock& block = listing.blocks[b];
        out << "block " << b << " identifier " << block.identifier << '\n';
        for (const ListedFrame& frame : block.frames) {
            out << "frame " << frame.file << " name "
                << (frame.name.empty() ? "-" : percentEncoded(frame.name)) << " compression "
                << frame.compression << " left " << frame.left << " top " << frame.top << " width "
                << frame.width << " height " << frame.height << '\n';
        }
    }
    return out.str();
}

SpriteListing readSpriteListing(std::string_view text) {
    SpriteListing listing;
    std::vector<bool> paletteSeen(256, false);
    bool sized = false;
    bool typed = false;
    std::size_t number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const Words words(text.substr(at, end - at), ++number);
        at = end + 1;
        if (words.empty() || words.word(0).front() == '#') {
            continue;
        }
        const std::string_view key = words.word(0);
        if (number == 1 || key == kMagic) {
            if (key != kMagic || words.number(1) != kVersion) {
                damagedListing(number,
                               "not a sprite listing of version " + std::to_string(kVersion));
            }
        } else if (key == "source") {
            listing.source = percentDecoded(words.word(1), number);
        } else if (key == "type") {
            listing.type = words.number(1);
            typed = true;
        } else if (key == "size") {
            listing.width = words.number(1);
            listing.height = words.number(2);
            sized = true;
        } else if (key == "colours") {
            if (words.word(1) != "kept" && words.word(1) != "transparent") {
                damagedListing(number, "colours are 'kept' or 'transparent'");
            }
            listing.paletteKept = words.word(1) == "kept";
        } else if (key == "palette") {
            readPaletteLine(words, listing, paletteSeen);
        } else if (key == "block") {
            if (words.number(1) != static_cast<std::int32_t>(listing.blocks.size())) {
                damagedListing(number, "block " + std::string(words.word(1)) + " out of order");
            }
            listing.blocks.push_back({words.keyed(2, "identifier"), {}});
        } else if (key == "frame") {
            if (listing.blocks.empty()) {
                damagedListing(number, "a frame before any block");
            }
            listing.blocks.back().frames.push_back(readFrameLine(words));
        } else {
            damagedListing(number, "unknown record '" + std::string(key) + "'");
        }
    }
    if (number == 0) {
        damagedListing(0, "the listing is empty");
    }
    if (!sized || !typed) {
        damagedListing(number, "the listing states no " + std::string(sized ? "type" : "size"));
    }
    for (std::size_t i = 0; i < paletteSeen.size(); ++i) {
        if (!paletteSeen[i]) {
            damagedListing(number, "palette entry " + std::to_string(i) + " is missing");
        }
    }
    return listing;
}

}  // namespace brasvel
