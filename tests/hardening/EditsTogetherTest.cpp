// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Edits that meet other edits, the archive itself as an input, hard links and write protection,
// and the exit codes of the editing commands. Two editors are made to meet at a known point: the
// first is stopped with its new archive complete, just before it would replace the old one, and
// the second is started there.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "edit/ArchiveEdit.h"
#include "edit/ArchiveLock.h"
#include "tests/hardening/HardeningSupport.h"
#include "tools/writers/ArchiveWriters.h"

namespace brasvel::hardening {
namespace {

using writers::LodWriter;

std::vector<std::byte> contentOf(const std::string& text) {
    const Bytes bytes = asBytes(text);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::string> entryNames(const fs::path& archive) {
    std::vector<std::string> names;
    const Archive opened = Archive::open(archive.string(), kLodFormat);
    for (const Entry& entry : opened.entries()) {
        names.push_back(editName(entry));
    }
    return names;
}

// An archive of one entry and a file to add, in a scratch area.
struct OneArchive {
    ScratchArea area;
    fs::path archive = area.root() / "s.lod";
    fs::path input = area.root() / "NEW.TXT";
    std::string before;
    OneArchive() {
        before = LodWriter().add("OLD.TXT", "old").build();
        writeFile(archive, before);
        writeFile(input, "new");
    }
    ProgramRun run(std::vector<std::string> arguments) const {
        return runProgram(arguments, area.root() / "log");
    }
};

// The first editor of `archive`, adding FIRST.TXT, stopped just before its archive replaces the
// old one until release() is called.
class StoppedEditor {
public:
    explicit StoppedEditor(const fs::path& archive) {
        ArchiveEdit edit(Archive::open(archive.string(), kLodFormat));
        edit.put("FIRST.TXT", contentOf("first"));
        saved_ = std::async(std::launch::async, [this, archive, edit = std::move(edit)] {
            SaveOptions options;
            options.beforeReplacing = [this] {
                stopped_.set_value();
                release_.get_future().wait();
            };
            return edit.save(archive.string(), options);
        });
        stopped_.get_future().wait();
    }
    // Lets it go on; true when it saved.
    bool release() {
        release_.set_value();
        return saved_.get();
    }

private:
    std::promise<void> stopped_;
    std::promise<void> release_;
    std::future<bool> saved_;
};

TEST(TwoEditors, TheSecondIsRefusedWhileTheFirstSavesAndNeitherEditIsLost) {
    const OneArchive one;
    StoppedEditor first(one.archive);

    const ProgramRun second = one.run({"add", one.archive.string(), one.input.string()});
    EXPECT_EQ(second.exitCode, 1) << second.errors;
    EXPECT_NE(second.errors.find("is being changed by another program"), std::string::npos)
        << second.errors;
    EXPECT_EQ(readFile(one.archive), one.before);
    // The window's save takes the same lock.
    ArchiveEdit windowEdit(Archive::open(one.archive.string(), kLodFormat));
    windowEdit.put("WINDOW.TXT", contentOf("window"));
    SaveOptions noWait;
    noWait.lockWait = std::chrono::milliseconds(0);
    EXPECT_THROW(windowEdit.save(one.archive.string(), noWait), ArchiveBusy);
    EXPECT_THROW(ArchiveLock::take(one.archive.string(), std::chrono::milliseconds(0)),
                 ArchiveBusy);

    EXPECT_TRUE(first.release());
    const ProgramRun again = one.run({"add", one.archive.string(), one.input.string()});
    EXPECT_EQ(again.exitCode, 0) << again.errors;
    EXPECT_EQ(entryNames(one.archive),
              (std::vector<std::string>{"FIRST.TXT", "NEW.TXT", "OLD.TXT"}));
    // The window's edit began before the first save: the archive it opened is gone.
    EXPECT_THROW(windowEdit.save(one.archive.string()), ArchiveChangedOnDisk);
}

TEST(TwoEditors, AWaiterOnTheReplacedFileLocksTheNewOne) {
    const OneArchive one;
    auto first = std::make_unique<StoppedEditor>(one.archive);
    // Whether it starts waiting before the first is done or after, it ends on the new file.
    auto waiter = std::async(std::launch::async, [&] {
        return ArchiveLock::take(one.archive.string(), std::chrono::seconds(60));
    });
    EXPECT_TRUE(first->release());
    const ArchiveLock lock = waiter.get();
    ASSERT_TRUE(lock.holdsFile());
    struct stat now {};
    ASSERT_EQ(::stat(one.archive.c_str(), &now), 0);
    EXPECT_EQ(lock.identity()->inode, now.st_ino);
    EXPECT_EQ(lock.identity()->size, static_cast<std::uint64_t>(now.st_size));
}

// Programs that take no lock, changing the archive while the first editor is stopped.
TEST(AnEditorThatTakesNoLock, IsNotOverwrittenByTheSaveItMetJustBeforeReplacing) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> change;
    };
    const std::vector<Case> cases = {
        {"replaced by a rename",
         [](const fs::path& archive) {
             writeFile(archive.string() + ".theirs", LodWriter().add("THEIRS.TXT", "x").build());
             fs::rename(archive.string() + ".theirs", archive);
         }},
        {"appended to in place",
         [](const fs::path& archive) {
             std::ofstream(archive, std::ios::binary | std::ios::app) << "theirs";
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const OneArchive one;
        ArchiveEdit edit(Archive::open(one.archive.string(), kLodFormat));
        edit.put("MINE.TXT", contentOf("mine"));
        SaveOptions options;
        options.beforeReplacing = [&] { test.change(one.archive); };
        EXPECT_THROW(edit.save(one.archive.string(), options), ArchiveChangedOnDisk);
        const std::string theirs = readFile(one.archive);
        EXPECT_NE(theirs, one.before);
        EXPECT_EQ(namesIn(one.area.root()), (std::vector<std::string>{"NEW.TXT", "s.lod"}));
    }
}

TEST(TheArchiveAsItsOwnInput, IsRefusedByEveryNameThatLeadsToItAndChangesNothing) {
    struct Case {
        const char* what;
        std::vector<std::string> arguments;  // {} stands for the archive, {link} for its link
    };
    const OneArchive one;
    const fs::path hardLink = one.area.root() / "LINK.LOD";
    const fs::path symbolic = one.area.root() / "SYM.LOD";
    fs::create_symlink(one.archive.filename(), symbolic);
    const std::string archive = one.archive.string();
    const std::vector<Case> cases = {
        {"create --force over itself", {"create", "--force", archive, archive}},
        {"added to itself", {"add", archive, archive}},
        {"added to itself among others", {"add", archive, one.input.string(), archive}},
        {"added through a symbolic link", {"add", archive, symbolic.string()}},
        {"added through a hard link", {"add", "--force", archive, hardLink.string()}},
        {"created anew from a hard link", {"create", "--force", archive, hardLink.string()}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        fs::remove(hardLink);
        fs::create_hard_link(one.archive, hardLink);
        const ProgramRun run = one.run(test.arguments);
        EXPECT_EQ(run.exitCode, 1) << run.errors;
        EXPECT_NE(run.errors.find("is the archive itself"), std::string::npos) << run.errors;
        EXPECT_EQ(readFile(one.archive), one.before);
    }
    // In a folder it is only left out, as before.
    fs::remove(hardLink);
    fs::remove(symbolic);
    const ProgramRun folder = one.run({"add", archive, one.area.root().string()});
    EXPECT_EQ(folder.exitCode, 0) << folder.errors;
    EXPECT_EQ(entryNames(one.archive), (std::vector<std::string>{"NEW.TXT", "OLD.TXT"}));
}

TEST(AHardLinkedOrWriteProtectedArchive, IsRefusedUnlessForcedAndASymbolicLinkIsFollowed) {
    struct Case {
        const char* what;
        std::function<void(const OneArchive&)> prepare;
        std::string refusal;  // empty: the edit is done without --force
        std::function<void(const OneArchive&)> afterForce;
    };
    const auto otherName = [](const OneArchive& one) { return one.area.root() / "other.lod"; };
    const std::vector<Case> cases = {
        {"one name", [](const OneArchive&) {}, "", {}},
        {"two names",
         [&](const OneArchive& one) { fs::create_hard_link(one.archive, otherName(one)); },
         "has 2 names",
         [&](const OneArchive& one) {
             EXPECT_EQ(readFile(otherName(one)), one.before) << "the other name keeps the old";
         }},
        {"write-protected",
         [](const OneArchive& one) { fs::permissions(one.archive, fs::perms(0444)); },
         "is write-protected",
         [](const OneArchive& one) {
             EXPECT_EQ(fs::status(one.archive).permissions(), fs::perms(0444));
         }},
        {"write-protected for the owner only",
         [](const OneArchive& one) { fs::permissions(one.archive, fs::perms(0464)); },
         "",
         {}},
    };
    for (const Case& test : cases) {
        for (const char* command : {"add", "remove", "rename"}) {
            SCOPED_TRACE(std::string(test.what) + ", " + command);
            const OneArchive one;
            test.prepare(one);
            std::vector<std::string> arguments = {command, one.archive.string()};
            const std::string c = command;
            if (c == "add") {
                arguments.push_back(one.input.string());
            } else if (c == "remove") {
                arguments.push_back("OLD.TXT");
            } else {
                arguments.insert(arguments.end(), {"OLD.TXT", "RENAMED.TXT"});
            }
            const ProgramRun refused = one.run(arguments);
            if (test.refusal.empty()) {
                EXPECT_EQ(refused.exitCode, 0) << refused.errors;
                continue;
            }
            EXPECT_EQ(refused.exitCode, 1) << refused.errors;
            EXPECT_NE(refused.errors.find(test.refusal), std::string::npos) << refused.errors;
            EXPECT_NE(refused.errors.find("--force"), std::string::npos) << refused.errors;
            EXPECT_EQ(readFile(one.archive), one.before);
            arguments.insert(arguments.begin() + 1, "--force");
            const ProgramRun forced = one.run(arguments);
            EXPECT_EQ(forced.exitCode, 0) << forced.errors;
            EXPECT_NE(readFile(one.archive), one.before);
            test.afterForce(one);
        }
    }
    // A symbolic link: its target is replaced and the link stays, as ever.
    const OneArchive one;
    const fs::path link = one.area.root() / "link.lod";
    fs::create_symlink(one.archive.filename(), link);
    const ProgramRun run = one.run({"add", link.string(), one.input.string()});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(entryNames(one.archive), (std::vector<std::string>{"NEW.TXT", "OLD.TXT"}));
}

TEST(TheEditingCommands, ExitWithTheManualsCodesWhateverStageFails) {
    const OneArchive one;
    const std::string archive = one.archive.string();
    const fs::path fifo = one.area.root() / "PIPE.TXT";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // An input that cannot be read is unusable: 2, as a missing one is.
    const ProgramRun special = one.run({"add", archive, fifo.string()});
    EXPECT_EQ(special.exitCode, 2) << special.errors;
    const ProgramRun missing = one.run({"add", archive, (one.area.root() / "NONE.TXT").string()});
    EXPECT_EQ(missing.exitCode, 2) << missing.errors;
    EXPECT_EQ(readFile(one.archive), one.before);

    // Committed, the edit is done however its summary fares.
    const std::string full = quoted(BRASVEL_RES_PROGRAM) + " add " + quoted(archive) + " " +
                             quoted(one.input.string()) + " >/dev/full 2>" +
                             quoted((one.area.root() / "full.log").string());
    const int fullStatus = std::system(full.c_str());
    EXPECT_TRUE(WIFEXITED(fullStatus) && WEXITSTATUS(fullStatus) == 0) << fullStatus;
    EXPECT_NE(readFile(one.area.root() / "full.log").find("the archive was saved"),
              std::string::npos);
    EXPECT_EQ(entryNames(one.archive), (std::vector<std::string>{"NEW.TXT", "OLD.TXT"}));

    // A reader that is gone before anything is printed: no SIGPIPE ends the program.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    writeFile(one.input, "newer");
    const std::string piped = quoted(BRASVEL_RES_PROGRAM) + " add " + quoted(archive) + " " +
                              quoted(one.input.string()) + " >&" + std::to_string(ends[1]) + " 2>" +
                              quoted((one.area.root() / "pipe.log").string());
    const int pipedStatus = std::system(piped.c_str());
    ::close(ends[1]);
    EXPECT_TRUE(WIFEXITED(pipedStatus) && WEXITSTATUS(pipedStatus) == 0) << pipedStatus;
    EXPECT_NE(readFile(one.area.root() / "pipe.log").find("the archive was saved"),
              std::string::npos);
    EXPECT_EQ(Archive::open(archive, kLodFormat).entries().size(), 2u);
}

TEST(TheEditingCommands, ExitWithTwoWhenTheDiskFillsWhileTheArchiveIsWritten) {
    const ScratchArea area;
    const SmallFileSystem small(area.root() / "small", "256k");
    SKIP_UNLESS_MOUNTED(small);
    const fs::path archive = area.root() / "small" / "s.lod";
    const std::string before = LodWriter().add("OLD.TXT", "old").build();
    writeFile(archive, before);
    std::string noise(1 << 20, '\0');
    std::uint32_t state = 1;
    for (char& c : noise) {
        state = state * 1664525U + 1013904223U;
        c = static_cast<char>(state >> 24);
    }
    writeFile(area.root() / "BIG.BIN", noise);
    const ProgramRun run =
        runProgram({"add", "--store", archive.string(), (area.root() / "BIG.BIN").string()},
                   area.root() / "log");
    EXPECT_EQ(run.exitCode, 2) << run.errors;
    EXPECT_NE(run.errors.find("Disk full"), std::string::npos) << run.errors;
    EXPECT_EQ(readFile(archive), before);
    EXPECT_EQ(namesIn(area.root() / "small"), (std::vector<std::string>{"s.lod"}));
}

}  // namespace
}  // namespace brasvel::hardening
