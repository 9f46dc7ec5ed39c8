// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: the journal of pending edits, as a crash may leave it on disk. What is read must
// write back to the same bytes; anything else is refused as a damaged file. The checksum is set
// right before reading, so that mutations reach the rows.

#include <vector>

#include "base/ResourceError.h"
#include "edit/EditJournal.h"
#include "fuzz/FuzzSupport.h"

namespace {

std::uint64_t fnv(const std::uint8_t* data, std::size_t size) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    std::vector<std::uint8_t> file(data, data + size);
    if (size >= 8 && (size & 1) == 0) {  // half the inputs keep their own checksum
        const std::uint64_t sum = fnv(file.data(), size - 8);
        for (int i = 0; i < 8; ++i) {
            file[size - 8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(sum >> (8 * i));
        }
    }
    try {
        const EditJournal journal = readJournal(fuzz::inputBytes(file.data(), file.size()));
        const std::vector<std::byte> again = writeJournal(journal);
        FUZZ_CHECK(again.size() == file.size());
        FUZZ_CHECK(std::equal(again.begin(), again.end(),
                              reinterpret_cast<const std::byte*>(file.data())));
    } catch (const ResourceError& error) {
        FUZZ_CHECK(error.kind() == ErrorKind::DamagedFile);
    }
    return 0;
}
