// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Shared by the extraction tests: archives built in memory with the entries a list shows, and a
// scratch folder that is removed afterwards.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>

#include "archive/Archive.h"
#include "archive/TypeItems.h"
#include "base/Utf8Path.h"
#include "extract/BatchExtractor.h"
#include "imaging/PcxImage.h"
#include "tests/support/TestPlatform.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel::testing {

inline Bytes bytesOf(const std::string& text) {
    return writers::asBytes(text);
}

inline std::string textOf(Bytes bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

inline std::vector<std::byte> byteVector(const std::string& text) {
    const Bytes bytes = bytesOf(text);
    return {bytes.begin(), bytes.end()};
}

// An archive in memory and the entries a list of it shows, as the window holds them.
struct ListedArchive {
    Archive archive;
    std::vector<std::size_t> view;  // every entry until filtered

    // Narrows the view to the type box item `item` ("*.Txt", ...).
    void filter(std::string_view item) {
        view = viewOfType(archive.entries(), typeItemIndex(item)).entries;
    }
};

inline std::unique_ptr<ListedArchive> listArchive(const ArchiveFormat& format,
                                                  const std::string& bytes) {
    auto listed = std::make_unique<ListedArchive>(
        ListedArchive{Archive::fromBytes(byteVector(bytes), format), {}});
    listed->view = viewOfType(listed->archive.entries(), 0).entries;
    return listed;
}

// Every entry the list shows, in its order.
inline BatchSummary extractView(const ListedArchive& listed, const TargetFolder& folder,
                                const ExtractOptions& options, const EntryReport& report) {
    return extractEntries(listed.archive, listed.view, folder, options, report);
}

// Content that differs from byte to byte, so a cut or shifted copy never passes for it.
inline std::string patterned(std::size_t size, unsigned seed = 1) {
    std::string content(size, '\0');
    unsigned value = seed;
    for (char& c : content) {
        value = value * 1103515245U + 12345U;
        c = static_cast<char>(value >> 16);
    }
    return content;
}

// A game picture of the 8-bit kind: header, width × height pixels, 768 bytes of palette.
inline std::string pcx8(std::int32_t width, std::int32_t height) {
    std::string picture;
    writers::putI32(picture, width * height);
    writers::putI32(picture, width);
    writers::putI32(picture, height);
    picture += patterned(static_cast<std::size_t>(width * height), 7);
    picture += patterned(768, 9);
    return picture;
}

// Whether the picture converter is linked in; until then the picture tests are skipped.
inline bool pictureConverterPresent() {
    try {
        decodePcx(bytesOf(pcx8(4, 2)));
        return true;
    } catch (const ResourceError& error) {
        return error.text() != "Picture conversion not yet available";
    }
}

#define SKIP_WITHOUT_PICTURE_CONVERTER()                              \
    if (!::brasvel::testing::pictureConverterPresent()) {             \
        GTEST_SKIP() << "the picture converter is not linked in yet"; \
    }

}  // namespace brasvel::testing
