// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: the content of one compressed LOD entry.
//
//   0  Size        i32, the unpacked size the directory states
//   4  PackedSize  i32, the stored size the directory states
//   8  the archive: the entry's stored bytes start at its first byte
//
// The inflate buffer is kept from input to input, as a worker thread keeps it from entry to entry.

#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/Layouts.h"
#include "extract/EntryContent.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    static std::vector<std::byte> buffer;
    if (size < 8) {
        return 0;
    }
    const Bytes input = fuzz::inputBytes(data, size);
    Entry entry;
    entry.nameField = std::string("FUZZ.TXT", 8);
    entry.nameField.resize(layout::kLodNameField, '\0');
    kLodFormat.describe(entry);
    entry.offset = 0;
    entry.size = static_cast<std::int32_t>(loadU32(input.data()));
    entry.packedSize = static_cast<std::int32_t>(loadU32(input.data() + 4));
    const Bytes archive = input.subspan(8);
    try {
        const Bytes content = entryContent(archive, entry, kLodFormat, buffer);
        FUZZ_CHECK(content.size() == static_cast<std::size_t>(entry.size));
        if (entry.packedSize == 0) {
            FUZZ_CHECK(content.data() == archive.data());
        }
    } catch (const ResourceError& error) {
        FUZZ_CHECK(!error.text().empty());
    }
    return 0;
}
