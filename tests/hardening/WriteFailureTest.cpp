// Writes that fail half-way: a full disk, a read-only folder, a folder removed while a batch
// runs, a folder where a file should go. After each, a file of the failing entry's name is the
// older one untouched (or the complete new one), no temporary ".NAME.XXXXXX.extracting" is left,
// and the error names the entry.
//
// Failures come through the folder's write function, always, and from real file systems where
// the test may mount a small tmpfs (as root); where it may not, those tests say so and skip.

#include <sys/mount.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/DirectoryReaders.h"
#include "base/Text.h"
#include "extract/BatchExtractor.h"
#include "tests/hardening/HardeningSupport.h"
#include "tests/window/FakeWavePlayer.h"
#include "toolkit/HeadlessToolkit.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/MainForm.h"

namespace brasvel::hardening {
namespace {

using writers::LodWriter;

const std::string kOldContent = "the older file of this name";

std::string textOf(std::size_t length, char seed) {
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = static_cast<char>('a' + (static_cast<std::size_t>(seed) * 7 + i * 13) % 26);
    }
    return text;
}

// Three entries: a small one, a big one (compressed) and a small one after it.
struct ThreeEntries {
    std::string small = textOf(1000, 's');
    std::string big = textOf(256 * 1024, 'b');
    std::string after = textOf(1000, 'a');
    std::string archive = LodWriter()
                              .add("SMALL.TXT", small)
                              .add("BIG.TXT", big, true)
                              .add("AFTER.TXT", after)
                              .build();
};

struct BatchResult {
    std::vector<ExtractedRow> rows;
    const ExtractedRow* row(const std::string& fileName) const {
        for (const ExtractedRow& row : rows) {
            if (shownText(entryFileName(row.entry)) == fileName) {
                return &row;
            }
        }
        return nullptr;
    }
};

BatchResult extractAll(const std::string& archive, const fs::path& folder,
                       WriteFunction write = nullptr, unsigned threads = 2) {
    const auto model = CatalogueModel::create();
    HeadlessToolkit ui;
    readLodDirectory(*model, ui, asBytes(archive));
    const TargetFolder target(folder.string(), write);
    ExtractOptions options;
    options.threads = threads;
    BatchResult result;
    extractView(ExtractSource{asBytes(archive), *model, ArchiveKind::Lod}, target, options,
                [&](const ExtractedRow& row) {
                    result.rows.push_back(row);
                    return true;
                });
    return result;
}

// --- Write functions that fail. Plain functions: the folder takes a function pointer. ---

std::atomic<long> bytesLeftOnDisk{0};

ssize_t writeUntilDiskFull(int fd, const void* data, std::size_t count) {
    const long left = bytesLeftOnDisk.load();
    if (left <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const std::size_t taken = std::min<std::size_t>(count, static_cast<std::size_t>(left));
    const ssize_t written = ::write(fd, data, taken);
    if (written > 0) {
        bytesLeftOnDisk -= written;
    }
    return written;
}

ssize_t writeSevenBytesAtATime(int fd, const void* data, std::size_t count) {
    return ::write(fd, data, std::min<std::size_t>(count, 7));
}

ssize_t writeNothing(int, const void*, std::size_t) {
    return 0;
}

ssize_t writeOnReadOnlyMedium(int, const void*, std::size_t) {
    errno = EROFS;
    return -1;
}

fs::path folderToRemove;
std::atomic<bool> folderRemoved{false};

ssize_t writeAfterRemovingTheFolder(int fd, const void* data, std::size_t count) {
    if (!folderRemoved.exchange(true)) {
        // Another worker may be adding its temporary meanwhile; once the folder itself is gone
        // nothing more can be made in it.
        std::error_code busy;
        while (fs::exists(folderToRemove)) {
            fs::remove_all(folderToRemove, busy);
        }
    }
    return ::write(fd, data, count);
}

// A tmpfs of `size` mounted over a fresh folder for the test's length.
class SmallFileSystem {
public:
    SmallFileSystem(const fs::path& where, const std::string& size) : where_(where) {
        fs::create_directories(where);
        const std::string options = "size=" + size + ",mode=0755";
        if (::mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) == 0) {
            mounted_ = true;
        } else {
            why_ = std::strerror(errno);
        }
    }
    ~SmallFileSystem() {
        if (mounted_) {
            ::umount2(where_.c_str(), MNT_DETACH);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }
    // Makes it read-only; false (and why() says why) when the system refuses.
    bool makeReadOnly() {
        if (::mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            why_ = std::strerror(errno);
            return false;
        }
        return true;
    }

private:
    fs::path where_;
    bool mounted_ = false;
    std::string why_;
};

#define SKIP_UNLESS_MOUNTED(fileSystem)                                     \
    if (!(fileSystem).mounted()) {                                          \
        GTEST_SKIP() << "cannot mount a tmpfs here (" << (fileSystem).why() \
                     << "); the write function's failures cover this case"; \
    }

void expectFailureNamingEntry(const ExtractedRow* row, const std::string& entry,
                              const std::string& text) {
    ASSERT_NE(row, nullptr) << entry << " was reported";
    ASSERT_FALSE(row->done()) << entry << " was written";
    EXPECT_EQ(row->error->text(), text) << row->error->describe();
    EXPECT_EQ(row->error->entry(), entry);
}

// --- A full disk ---

TEST(AFullDisk, LeavesTheOlderFileIntactAndNoTemporaryAndNamesTheEntry) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "BIG.TXT", kOldContent);
    bytesLeftOnDisk = 4096;

    const BatchResult result = extractAll(entries.archive, area.root(), writeUntilDiskFull, 1);

    expectFailureNamingEntry(result.row("BIG.TXT"), "BIG.TXT", "Disk full");
    EXPECT_EQ(readFile(area.root() / "BIG.TXT"), kOldContent);
    EXPECT_EQ(readFile(area.root() / "SMALL.TXT"), entries.small)
        << "written before the disk filled";
    EXPECT_FALSE(holdsTemporary(area.root()));
}

TEST(AFullDisk, OfARealFileSystemFailsOnlyTheEntryThatDoesNotFit) {
    const ScratchArea area;
    SmallFileSystem small(area.root() / "small", "64k");
    SKIP_UNLESS_MOUNTED(small);
    const ThreeEntries entries;
    writeFile(area.root() / "small" / "BIG.TXT", kOldContent);

    const BatchResult result = extractAll(entries.archive, area.root() / "small");

    expectFailureNamingEntry(result.row("BIG.TXT"), "BIG.TXT", "Disk full");
    EXPECT_EQ(readFile(area.root() / "small" / "BIG.TXT"), kOldContent);
    EXPECT_EQ(readFile(area.root() / "small" / "SMALL.TXT"), entries.small);
    EXPECT_EQ(readFile(area.root() / "small" / "AFTER.TXT"), entries.after)
        << "the space of the failed temporary is given back";
    EXPECT_FALSE(holdsTemporary(area.root() / "small"));
}

TEST(AFullDisk, OfARealFileSystemMakesTheExtractCommandNameTheEntryAndFail) {
    const ScratchArea area;
    SmallFileSystem small(area.root() / "small", "64k");
    SKIP_UNLESS_MOUNTED(small);
    const ThreeEntries entries;
    writeFile(area.root() / "full.lod", entries.archive);
    writeFile(area.root() / "small" / "BIG.TXT", kOldContent);

    const ProgramRun run = runProgram(
        {"extract", (area.root() / "full.lod").string(), "-o", (area.root() / "small").string()},
        area.root() / "logs");

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("BIG.TXT: Disk full"), std::string::npos) << run.errors;
    EXPECT_EQ(readFile(area.root() / "small" / "BIG.TXT"), kOldContent);
    EXPECT_FALSE(holdsTemporary(area.root() / "small"));
}

// --- Short writes ---

TEST(ShortWrites, StillWriteTheWholeFile) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "BIG.TXT", kOldContent);

    const BatchResult result = extractAll(entries.archive, area.root(), writeSevenBytesAtATime);

    ASSERT_EQ(result.rows.size(), 3U);
    for (const ExtractedRow& row : result.rows) {
        EXPECT_TRUE(row.done()) << row.error->describe();
    }
    EXPECT_EQ(readFile(area.root() / "BIG.TXT"), entries.big);
    EXPECT_FALSE(holdsTemporary(area.root()));
}

TEST(ShortWrites, ThatWriteNothingAreAFullDiskAndChangeNoFile) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "BIG.TXT", kOldContent);

    const BatchResult result = extractAll(entries.archive, area.root(), writeNothing);

    expectFailureNamingEntry(result.row("BIG.TXT"), "BIG.TXT", "Disk full");
    expectFailureNamingEntry(result.row("SMALL.TXT"), "SMALL.TXT", "Disk full");
    EXPECT_EQ(namesIn(area.root()), std::vector<std::string>{"BIG.TXT"});
    EXPECT_EQ(readFile(area.root() / "BIG.TXT"), kOldContent);
}

// --- A read-only folder ---

TEST(AReadOnlyFolder, RefusesEveryEntryByNameAndKeepsTheOlderFile) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "BIG.TXT", kOldContent);

    const BatchResult result = extractAll(entries.archive, area.root(), writeOnReadOnlyMedium);

    for (const char* name : {"SMALL.TXT", "BIG.TXT", "AFTER.TXT"}) {
        expectFailureNamingEntry(result.row(name), name, "File access denied");
    }
    EXPECT_EQ(namesIn(area.root()), std::vector<std::string>{"BIG.TXT"});
    EXPECT_EQ(readFile(area.root() / "BIG.TXT"), kOldContent);
}

TEST(AReadOnlyFolder, OfARealFileSystemRefusesEveryEntryByNameAndKeepsTheOlderFile) {
    const ScratchArea area;
    SmallFileSystem readOnly(area.root() / "ro", "1m");
    SKIP_UNLESS_MOUNTED(readOnly);
    writeFile(area.root() / "ro" / "BIG.TXT", kOldContent);
    if (!readOnly.makeReadOnly()) {
        GTEST_SKIP() << "cannot make the tmpfs read-only (" << readOnly.why() << ")";
    }
    const ThreeEntries entries;
    const auto before = snapshot(area.root() / "ro");

    const BatchResult result = extractAll(entries.archive, area.root() / "ro");

    for (const char* name : {"SMALL.TXT", "BIG.TXT", "AFTER.TXT"}) {
        expectFailureNamingEntry(result.row(name), name, "File access denied");
    }
    EXPECT_EQ(snapshot(area.root() / "ro"), before);
}

// --- A folder removed while the batch runs ---

TEST(AFolderRemovedDuringTheBatch, FailsEveryLaterEntryByNameAndLeavesNothingBehind) {
    const ScratchArea area;
    LodWriter writer;
    for (int i = 0; i < 12; ++i) {
        writer.add("F" + std::to_string(i) + ".TXT", textOf(5000, static_cast<char>(i)), i % 2);
    }
    const std::string archive = writer.build();
    folderToRemove = area.root() / "out";
    fs::create_directories(folderToRemove);
    folderRemoved = false;
    const auto before = snapshot(area.root(), {folderToRemove});

    const BatchResult result = extractAll(archive, folderToRemove, writeAfterRemovingTheFolder);

    ASSERT_EQ(result.rows.size(), 12U);
    for (const ExtractedRow& row : result.rows) {
        const std::string name = shownText(entryFileName(row.entry));
        ASSERT_FALSE(row.done()) << name << " was reported written into a removed folder";
        EXPECT_EQ(row.error->text(), "File not found") << row.error->describe();
        EXPECT_EQ(row.error->entry(), name);
    }
    EXPECT_FALSE(fs::exists(folderToRemove));
    EXPECT_EQ(snapshot(area.root()), before) << "nothing appears outside the removed folder";
}

// --- A folder where the file should go ---

TEST(ATargetNameThatIsAFolder, FailsThatEntryByNameAndKeepsTheFolderAndItsFiles) {
    const ScratchArea area;
    const ThreeEntries entries;
    fs::create_directories(area.root() / "BIG.TXT");
    writeFile(area.root() / "BIG.TXT" / "inside.txt", kOldContent);

    const BatchResult result = extractAll(entries.archive, area.root());

    expectFailureNamingEntry(result.row("BIG.TXT"), "BIG.TXT", "File access denied");
    EXPECT_NE(result.row("BIG.TXT")->error->detail().find("is a folder"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(area.root() / "BIG.TXT"));
    EXPECT_EQ(readFile(area.root() / "BIG.TXT" / "inside.txt"), kOldContent);
    EXPECT_EQ(readFile(area.root() / "AFTER.TXT"), entries.after) << "the batch goes on";
    EXPECT_FALSE(holdsTemporary(area.root()));
}

TEST(ATargetNameThatIsAFolder, FailsEvenWhenTheFolderIsEmpty) {
    const ScratchArea area;
    const ThreeEntries entries;
    fs::create_directories(area.root() / "SMALL.TXT");

    const BatchResult result = extractAll(entries.archive, area.root());

    expectFailureNamingEntry(result.row("SMALL.TXT"), "SMALL.TXT", "File access denied");
    EXPECT_TRUE(fs::is_directory(area.root() / "SMALL.TXT"));
    EXPECT_FALSE(holdsTemporary(area.root()));
}

TEST(ATargetNameThatIsAFolder, StopsTheWindowsBatchWithAnErrorNamingTheEntry) {
    const ScratchArea area;
    const ThreeEntries entries;
    writeFile(area.root() / "three.lod", entries.archive);
    fs::create_directories(area.root() / "out" / "BIG.TXT");
    HeadlessToolkit ui;
    FakeWavePlayer player;
    MainForm form(ui, player);
    ui.openReplies.push_back(OpenChoice{(area.root() / "three.lod").string(), 1});
    form.ToolButton1Click();
    ui.folderReplies.push_back((area.root() / "out").string());
    form.SetPathForExtract1Click();
    ui.answers.push_back(true);

    form.ToolButton5Click();

    ASSERT_EQ(ui.errors.size(), 1U);
    EXPECT_TRUE(ui.errors[0].starts_with("BIG.TXT: File access denied")) << ui.errors[0];
    EXPECT_EQ(namesIn(area.root() / "out"), (std::vector<std::string>{"BIG.TXT", "SMALL.TXT"}))
        << "the window's batch stops at the first failure";
    EXPECT_TRUE(fs::is_directory(area.root() / "out" / "BIG.TXT"));
}

}  // namespace
}  // namespace brasvel::hardening
