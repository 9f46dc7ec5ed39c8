// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: an archive read from a file that another process cuts short while it is read.
//
//   0  kind    u8: 0 LOD, 1 SND, 2 VID (modulo 3)
//   1  after   u8: the number of entries read before the file is cut
//   2  cutTo   u32: the length the file is cut to (modulo its length + 1)
//   6  the archive
//
// The archive is a file in memory (memfd), opened by path as a command opens one. Every entry is
// streamed and read whole; after the cut, no entry may come out as if nothing had happened: each
// fails, the ones that reach the file with "The archive changed while it was read". The stored
// ranges are checked for partial overlaps, as extraction does.

#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "archive/Archive.h"
#include "extract/EntryContent.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace brasvel;

// Reads every entry; the file is cut to `cutTo` bytes before entry `after`.
void readEntries(const Archive& archive, int fd, std::size_t after, std::uint64_t cutTo) {
    const std::vector<std::size_t> overlaps = partialOverlaps(archive);
    FUZZ_CHECK(overlaps.size() == archive.entries().size());
    ContentBuffers buffers;
    bool cut = false;
    for (std::size_t index = 0; index < archive.entries().size(); ++index) {
        FUZZ_CHECK(overlaps[index] == kNoOverlap || overlaps[index] < overlaps.size());
        if (index == after && cutTo != archive.size()) {
            FUZZ_CHECK(::ftruncate(fd, static_cast<off_t>(cutTo)) == 0);
            cut = true;
        }
        const Entry& entry = archive.entries()[index];
        try {
            std::uint64_t streamed = 0;
            streamEntryContent(archive, entry, buffers,
                               [&](Bytes piece) { streamed += piece.size(); });
            FUZZ_CHECK(!cut);
            FUZZ_CHECK(streamed == static_cast<std::uint64_t>(entry.size));
            FUZZ_CHECK(entryContent(archive, entry, buffers).size() == streamed);
        } catch (const ResourceError& error) {
            FUZZ_CHECK(!error.text().empty());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) {
        return 0;
    }
    const Bytes input = fuzz::inputBytes(data, size);
    const ArchiveFormat* const formats[] = {&kLodFormat, &kSndFormat, &kVidFormat};
    const ArchiveFormat& format = *formats[data[0] % 3];
    const std::size_t after = data[1];
    const Bytes bytes = input.subspan(6);
    const std::uint64_t cutTo = loadU32(input.data() + 2) % (bytes.size() + 1);

    const int fd = ::memfd_create("fuzz-archive", MFD_CLOEXEC);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    try {
        const Archive archive =
            Archive::open("/proc/self/fd/" + std::to_string(fd), format);
        readEntries(archive, fd, after, cutTo);
    } catch (const ResourceError& error) {
        FUZZ_CHECK(!error.text().empty());
    }
    ::close(fd);
    return 0;
}
