// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Fuzz target: the archive writer, with the readers as the oracle. The first byte picks the kind
// and the edits (rename the first entry, remove the last, add one); the rest is an archive. What
// was read is written back with the edits and read again: every entry must come back with its row
// (but the offset) and its stored bytes, and the new one with its content. A save that is refused
// must leave no file. The archive written is then edited again where the writer must refuse
// (bits 0x80, 0x08, 0x04): as its own input, hard-linked, and while another editor holds its lock;
// each refusal must leave it byte for byte as it was.

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "archive/FormatCheck.h"
#include "edit/ArchiveEdit.h"
#include "extract/EntryContent.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace brasvel;

const std::string& scratchPath() {
    static const std::string path = [] {
        const char* shm = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(shm) + "/brasvel-fuzz-rewrite-" + std::to_string(::getpid());
    }();
    return path;
}

bool sameBytes(Bytes a, Bytes b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The refusals of an edit of the archive just written at `path`: each leaves it as it was.
void checkRefusals(std::uint8_t control, const std::string& path, const ArchiveFormat& format) {
    const std::string before = fileBytes(path);
    const std::string name = format.writing.fileSuffix.empty() ? "SELF.LOD" : "SELF";
    if (control & 0x80) {
        ArchiveEdit edit(Archive::open(path, format));
        bool refused = false;
        try {
            edit.putFile(name, path);
        } catch (const ArchiveIsItsOwnInput&) {
            refused = true;
        }
        FUZZ_CHECK(refused);
        ArchiveEdit fresh(format);
        fresh.putFile(name, path);
        SaveOptions over;
        over.level = 1;
        refused = false;
        try {
            fresh.save(path, over);
        } catch (const ArchiveIsItsOwnInput&) {
            refused = true;
        }
        FUZZ_CHECK(refused && fileBytes(path) == before);
    }
    if (control & 0x08) {
        const std::string link = path + ".link";
        ::unlink(link.c_str());
        FUZZ_CHECK(::link(path.c_str(), link.c_str()) == 0);
        ArchiveEdit edit(Archive::open(path, format));
        SaveOptions options;
        options.level = 1;
        bool refused = false;
        try {
            edit.save(path, options);
        } catch (const ArchiveProtected& protectedArchive) {
            refused = protectedArchive.why() == ArchiveProtected::Why::HardLinked;
        }
        FUZZ_CHECK(refused && fileBytes(path) == before);
        options.replaceProtected = true;
        FUZZ_CHECK(edit.save(path, options));
        FUZZ_CHECK(fileBytes(link) == before);
        ::unlink(link.c_str());
    }
    if (control & 0x04) {
        const std::string now = fileBytes(path);
        const ArchiveLock other = ArchiveLock::take(path);
        ArchiveEdit edit(Archive::open(path, format));
        SaveOptions options;
        options.level = 1;
        options.lockWait = std::chrono::milliseconds(0);
        bool refused = false;
        try {
            edit.save(path, options);
        } catch (const ArchiveBusy&) {
            refused = true;
        }
        FUZZ_CHECK(refused && fileBytes(path) == now);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const ArchiveFormat& format = *archiveFormats()[control % 3];
    const Bytes input = fuzz::inputBytes(data + 1, size - 1);
    // An edit starts only from what opening accepts as of its kind; the rest opening refuses.
    if (kindProblem(format, input, input.size())) {
        return 0;
    }
    const Archive archive =
        Archive::fromBytes(std::vector<std::byte>(input.begin(), input.end()), format);
    if (archive.directoryError()) {
        return 0;
    }
    ArchiveEdit edit(archive);
    FUZZ_CHECK(edit.entries() == archive.entries());
    const std::string newName = format.writing.fileSuffix.empty() ? "FUZZ.NEW" : "FUZZ";
    std::vector<std::byte> added(input.begin(), input.begin() + std::min<std::size_t>(64, input.size()));
    try {
        if ((control & 0x10) && !edit.entries().empty()) {
            edit.rename(0, format.writing.fileSuffix.empty() ? "RENAMED.TXT" : "RENAMED");
        }
        if ((control & 0x20) && !edit.entries().empty()) {
            edit.remove(edit.entries().size() - 1);
        }
        if (control & 0x40) {
            edit.put(newName, added);
        }
    } catch (const ResourceError&) {
        // A name refused because the archive has it already: the edit is unchanged by it.
    }
    const std::string& path = scratchPath();
    ::unlink(path.c_str());
    SaveOptions options;
    options.level = 1;
    try {
        FUZZ_CHECK(edit.save(path, options));
    } catch (const ResourceError&) {
        FUZZ_CHECK(::access(path.c_str(), F_OK) != 0);
        return 0;
    }
    const Archive back = Archive::open(path, format);
    FUZZ_CHECK(!back.directoryError());
    FUZZ_CHECK(back.entries().size() == edit.entries().size());
    for (std::size_t k = 0; k < back.entries().size(); ++k) {
        const Entry& expected = edit.entries()[k];
        const Entry& got = back.entries()[k];
        FUZZ_CHECK(got.nameField == expected.nameField);
        FUZZ_CHECK(got.caption == expected.caption && got.type == expected.type);
        FUZZ_CHECK(got.size == expected.size);
        if (edit.isNew(k)) {
            const std::vector<std::byte> content = entryContent(back, got);
            FUZZ_CHECK(sameBytes(content, added));
        } else {
            FUZZ_CHECK(got.packedSize == expected.packedSize);
            FUZZ_CHECK(sameBytes(storedBytes(back.bytes(), got, format),
                                 storedBytes(archive.bytes(), expected, format)));
        }
    }
    checkRefusals(control, path, format);
    ::unlink(path.c_str());
    return 0;
}
