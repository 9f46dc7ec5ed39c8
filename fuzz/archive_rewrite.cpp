// Fuzz target: the archive writer, with the readers as the oracle. The first byte picks the kind
// and the edits (rename the first entry, remove the last, add one); the rest is an archive. What
// was read is written back with the edits and read again: every entry must come back with its row
// (but the offset) and its stored bytes, and the new one with its content. A save that is refused
// must leave no file.

#include <unistd.h>

#include <string>
#include <vector>

#include "archive/Archive.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const ArchiveFormat& format = *archiveFormats()[control % 3];
    const Bytes input = fuzz::inputBytes(data + 1, size - 1);
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
    ::unlink(path.c_str());
    return 0;
}
