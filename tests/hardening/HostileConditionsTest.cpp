// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The command line under hostile conditions: special files where an archive or an output should
// be, outputs that lead back to the archive, names that would steer a terminal, numbers that would
// wrap, an archive cut short while it is read, and signals during an extraction.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <random>
#include <set>
#include <thread>

#include "HardeningSupport.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

extern char** environ;

namespace brasvel::hardening {
namespace {

using writers::LodWriter;
using namespace std::chrono_literals;

// The program started with its output in files of `logs` (or `out` for standard output), waited
// for up to `limit`; a program still running then is killed and reported with exit code -2.
class Started {
public:
    Started(const std::vector<std::string>& arguments, const fs::path& logs,
            const fs::path& out = {}) {
        fs::create_directories(logs);
        outPath_ = out.empty() ? logs / "stdout" : out;
        errorsPath_ = logs / "stderr";
        std::vector<std::string> all = {BRASVEL_RES_PROGRAM};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath_.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errorsPath_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }

    void signal(int number) const { ::kill(pid_, number); }

    // Whether the program has ended; it is left to wait() to collect.
    bool ended() const {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
               info.si_pid != 0;
    }

    // Waits until the program holds `file` open, or has ended. Only the open is certain then: the
    // program may not have looked at the file yet.
    void waitUntilItOpens(const fs::path& file) const {
        const fs::path descriptors = "/proc/" + std::to_string(pid_) + "/fd";
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < deadline) {
            std::error_code error;
            for (const auto& item : fs::directory_iterator(descriptors, error)) {
                std::error_code ignored;
                if (fs::read_symlink(item.path(), ignored) == file) {
                    return;
                }
            }
            if (error) {
                return;  // ended
            }
            std::this_thread::sleep_for(100us);
        }
    }

    ProgramRun wait(std::chrono::milliseconds limit = 20s) {
        ProgramRun run;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                run.exitCode = -2;
                run.errors = "still running after the time limit";
                return run;
            }
            std::this_thread::sleep_for(1ms);
        }
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status) - 100;
        if (fs::is_regular_file(outPath_)) {
            run.out = readFile(outPath_);
        }
        run.errors = readFile(errorsPath_);
        return run;
    }

private:
    pid_t pid_ = -1;
    fs::path outPath_;
    fs::path errorsPath_;
};

// The files an extraction puts in place in `folder`, told by the kernel as each appears: an entry
// appears whole under its name, linked or renamed there, never written under it. Made before the
// program starts, so that it misses none. Waiting for them, not for a time, is what lets a test
// act in the middle of a run however fast or loaded the machine is.
class PlacedFiles {
public:
    explicit PlacedFiles(const fs::path& folder) : fd_(::inotify_init1(IN_CLOEXEC)) {
        if (::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO) < 0) {
            ADD_FAILURE() << "cannot watch " << folder << ": " << std::strerror(errno);
        }
    }
    ~PlacedFiles() { ::close(fd_); }
    PlacedFiles(const PlacedFiles&) = delete;
    PlacedFiles& operator=(const PlacedFiles&) = delete;

    // Waits until at least `count` files are in place, or `program` has ended; returns their names.
    std::vector<std::string> waitFor(std::size_t count, const Started& program) {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (placed_.size() < count && !program.ended() &&
               std::chrono::steady_clock::now() < deadline) {
            pollfd ready{fd_, POLLIN, 0};
            if (::poll(&ready, 1, 10) == 1) {
                takeEvents();
            }
        }
        return placed_;
    }

private:
    void takeEvents() {
        alignas(inotify_event) char buffer[64 * 1024];
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const std::string name = event->len > 0 ? event->name : "";
            if (!name.empty() && !name.ends_with(".extracting")) {
                placed_.push_back(name);
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }

    int fd_;
    std::vector<std::string> placed_;
};

ProgramRun run(const std::vector<std::string>& arguments, const fs::path& logs,
               const fs::path& out = {}) {
    return Started(arguments, logs, out).wait();
}

// Every error line names the program first.
void expectErrorLines(const ProgramRun& result) {
    std::istringstream lines(result.errors);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line.starts_with("usage:") || line.starts_with(" ") ||
            line.starts_with("commands:") || line.starts_with("ENTRY") ||
            line.starts_with("The kind") || line.starts_with("Exit codes")) {
            continue;  // the usage text after a usage error
        }
        EXPECT_TRUE(line.starts_with("brasvel-res: ")) << line;
    }
}

std::string pictureArchive() {
    writers::PixelGrid grid(6, 4, 3);
    return LodWriter()
        .add("PIC.PCX", writers::gamePcx8(grid, std::string(768, '\x40')))
        .add("A.TXT", "text")
        .build();
}

TEST(SpecialFiles, AsTheArchiveAreRefusedAtOnceByEveryCommand) {
    const ScratchArea area;
    const fs::path fifo = area.root() / "pipe.lod";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path socketPath = area.root() / "sock.lod";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink("loop2.lod", area.root() / "loop1.lod");
    fs::create_symlink("loop1.lod", area.root() / "loop2.lod");
    fs::create_directory(area.root() / "folder.lod");
    fs::create_symlink("/dev/zero", area.root() / "device.lod");
    const std::pair<fs::path, const char*> archives[] = {
        {fifo, "is not a regular file"},
        {socketPath, "is not a regular file"},
        {area.root() / "device.lod", "is not a regular file"},
        {area.root() / "folder.lod", "is a folder"},
        {area.root() / "loop1.lod", "too many levels of symbolic links"},
    };
    const std::vector<std::vector<std::string>> commands = {
        {"list"}, {"extract", "-o", area.root().string()}, {"verify"}, {"convert"}, {"info"}};
    int number = 0;
    for (const auto& [archive, cause] : archives) {
        for (std::vector<std::string> command : commands) {
            command.insert(command.begin() + 1, archive.string());
            if (command[0] == "convert" || command[0] == "info") {
                command.push_back("PIC.PCX");
            }
            const ProgramRun result = run(command, area.root() / ("logs" + std::to_string(++number)));
            EXPECT_EQ(result.exitCode, 2) << command[0] << " " << archive << ": " << result.errors;
            EXPECT_NE(result.errors.find(cause), std::string::npos) << result.errors;
            EXPECT_EQ(result.errors.find("I/O error"), std::string::npos) << result.errors;
            EXPECT_EQ(result.out, "") << command[0] << " " << archive;
            expectErrorLines(result);
        }
    }
    ::close(sock);
}

TEST(SpecialFiles, AsConvertsOutputAreNeverReplacedAndStandardOutputIsWrittenThrough) {
    const ScratchArea area;
    const fs::path archive = area.root() / "game.lod";
    writeFile(archive, pictureArchive());
    const ProgramRun plain = run({"convert", archive.string(), "PIC.PCX", "-o",
                                  (area.root() / "plain.bmp").string()},
                                 area.root() / "logs-plain");
    ASSERT_EQ(plain.exitCode, 0) << plain.errors;
    const std::string bmp = readFile(area.root() / "plain.bmp");
    ASSERT_TRUE(bmp.starts_with("BM"));

    for (const char* out : {"-", "/dev/stdout"}) {
        const ProgramRun piped = run({"convert", archive.string(), "PIC.PCX", "-o", out},
                                     area.root() / (std::string("logs-") + (out[1] ? "dev" : "dash")));
        EXPECT_EQ(piped.exitCode, 0) << piped.errors;
        EXPECT_EQ(piped.out, bmp) << out;
    }

    const fs::path fifo = area.root() / "pipe.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    writeFile(area.root() / "target.bmp", "the link's target");
    fs::create_symlink("target.bmp", area.root() / "link.bmp");
    fs::create_directory(area.root() / "folder.bmp");
    int number = 0;
    for (const fs::path& out : {fifo, area.root() / "link.bmp", area.root() / "folder.bmp",
                                fs::path("/dev/null")}) {
        const auto before = snapshot(area.root(), {area.root() / "logs-plain"});
        const ProgramRun refused = run({"convert", archive.string(), "PIC.PCX", "-o", out.string()},
                                       area.root() / ("logs" + std::to_string(++number)));
        EXPECT_EQ(refused.exitCode, 2) << out << ": " << refused.errors;
        EXPECT_NE(refused.errors.find(out.string()), std::string::npos) << refused.errors;
        expectErrorLines(refused);
        auto after = snapshot(area.root(), {area.root() / "logs-plain"});
        after.erase("logs" + std::to_string(number));
        after.erase("logs" + std::to_string(number) + "/stdout");
        after.erase("logs" + std::to_string(number) + "/stderr");
        EXPECT_EQ(after, before) << out;
    }
    EXPECT_TRUE(fs::is_symlink(area.root() / "link.bmp"));
    EXPECT_EQ(readFile(area.root() / "target.bmp"), "the link's target");
}

TEST(OutputsThatLeadToTheArchive, AreRefusedByEveryCommandAndTheArchiveStaysAsItWas) {
    const ScratchArea area;
    const std::string bytes = pictureArchive();
    const fs::path archive = area.root() / "game.lod";
    writeFile(archive, bytes);
    fs::create_hard_link(archive, area.root() / "hard.bmp");
    // An archive whose own name is what an entry becomes.
    const fs::path named = area.root() / "PIC.bmp";
    writeFile(named, bytes);
    const fs::path textNamed = area.root() / "A.TXT";
    writeFile(textNamed, bytes);
    const std::vector<std::vector<std::string>> commands = {
        {"convert", archive.string(), "PIC.PCX", "-o", archive.string()},
        {"convert", archive.string(), "PIC.PCX", "-o", (area.root() / "hard.bmp").string()},
        {"convert", archive.string(), "PIC.PCX", "-o",
         (area.root() / "sub" / ".." / "game.lod").string()},
        {"convert", named.string(), "PIC.PCX", "--kind", "lod"},
        {"extract", textNamed.string(), "--kind", "lod", "-o", area.root().string()},
        {"extract", named.string(), "--kind", "lod", "-o", area.root().string()},
    };
    fs::create_directory(area.root() / "sub");
    int number = 0;
    for (const std::vector<std::string>& command : commands) {
        // convert without -o writes beside where it runs: there, the archive's own name.
        const fs::path logs = area.root() / ("logs" + std::to_string(++number));
        fs::create_directories(logs);
        const std::string line = "cd " + quoted(area.root().string()) + " && " +
                                 quoted(BRASVEL_RES_PROGRAM);
        std::string full = line;
        for (const std::string& argument : command) {
            full += " " + quoted(argument);
        }
        full += " >" + quoted((logs / "out").string()) + " 2>" + quoted((logs / "err").string());
        const int status = std::system(full.c_str());
        const std::string errors = readFile(logs / "err");
        EXPECT_EQ(WEXITSTATUS(status), 2) << full << "\n" << errors;
        EXPECT_NE(errors.find("archive"), std::string::npos) << errors;
        EXPECT_EQ(readFile(archive), bytes);
        EXPECT_EQ(readFile(named), bytes);
        EXPECT_EQ(readFile(textNamed), bytes);
    }
    // Standard output appended to the archive itself.
    const std::string appended = "cd " + quoted(area.root().string()) + " && " +
                                 quoted(BRASVEL_RES_PROGRAM) + " convert game.lod PIC.PCX -o - >>" +
                                 quoted(archive.string()) + " 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(appended.c_str())), 2);
    EXPECT_EQ(readFile(archive), bytes);
}

TEST(TerminalOutput, NamesCannotSteerTheTerminalAndAFullOutputIsAnError) {
    const ScratchArea area;
    const fs::path archive = area.root() / "names.lod";
    writeFile(archive, LodWriter()
                           .add("\x1b]0;x\x07.TXT", "title")
                           .add("\x1b[31mR.TXT", "red")
                           .add("A\nB.TXT", "forged row")
                           .add("\r\x7f.TXT", "carriage return")
                           .build());
    const ProgramRun listed = run({"list", archive.string()}, area.root() / "logs");
    EXPECT_EQ(listed.exitCode, 0) << listed.errors;
    for (char c : listed.out) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(byte >= 0x20 ? byte != 0x7F : c == '\t' || c == '\n') << int(byte);
    }
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 5) << listed.out;
    EXPECT_NE(listed.out.find("\\x1B[31mR.TXT"), std::string::npos) << listed.out;

    for (const char* command : {"list", "verify"}) {
        const ProgramRun full = run({command, archive.string()}, area.root() / "logs-full",
                                    "/dev/full");
        EXPECT_NE(full.exitCode, 0) << command;
        EXPECT_NE(full.errors.find("brasvel-res: standard output: No space left on device"),
                  std::string::npos) << full.errors;
    }
    const ProgramRun missing = run({"list", (area.root() / "missing.lod").string()},
                                   area.root() / "logs-missing");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.out, "") << "no Total Files: 0 for an archive that cannot be read";
    EXPECT_TRUE(missing.errors.starts_with("brasvel-res: ")) << missing.errors;
}

TEST(Arguments, NumbersAreParsedStrictlyAndAnEmptyOutputNamesItself) {
    const ScratchArea area;
    const fs::path archive = area.root() / "game.lod";
    writeFile(archive, pictureArchive());
    int number = 0;
    for (const char* threads : {"-4294967295", "4294967297", "-1", "+2", " 2", "2x", "", "0", "65"}) {
        const ProgramRun result = run({"extract", archive.string(), "--threads", threads, "-o",
                                       area.root().string()},
                                      area.root() / ("logs" + std::to_string(++number)));
        EXPECT_EQ(result.exitCode, 2) << "--threads '" << threads << "'";
        EXPECT_NE(result.errors.find("--threads"), std::string::npos) << result.errors;
    }
    EXPECT_FALSE(fs::exists(area.root() / "A.TXT")) << "nothing was extracted";
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"extract", archive.string(), "-o", ""},
          std::vector<std::string>{"convert", archive.string(), "PIC.PCX", "-o", ""}}) {
        const ProgramRun result = run(command, area.root() / ("logs" + std::to_string(++number)));
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.errors.find("-o ''"), std::string::npos) << result.errors;
    }
    // The same missing folder fails both commands the same way.
    const std::string missing = (area.root() / "no" / "such").string();
    const ProgramRun extracted = run({"extract", archive.string(), "-o", missing},
                                     area.root() / "logs-e");
    const ProgramRun converted = run({"convert", archive.string(), "PIC.PCX", "-o",
                                      missing + "/out.bmp"},
                                     area.root() / "logs-c");
    EXPECT_EQ(extracted.exitCode, 2);
    EXPECT_EQ(converted.exitCode, 2);
    EXPECT_NE(extracted.errors.find("no such folder: " + missing), std::string::npos)
        << extracted.errors;
    EXPECT_NE(converted.errors.find("no such folder: " + missing), std::string::npos)
        << converted.errors;
}

// Entries that differ from one another, so a cut, mixed or shifted file never passes for one.
std::string entryContent(int number, std::size_t size) {
    std::string content(size, '\0');
    std::uint32_t value = static_cast<std::uint32_t>(number) * 2654435761U + 1;
    for (char& c : content) {
        value = value * 1103515245U + 12345U;
        c = static_cast<char>(value >> 16);
    }
    return content;
}

struct ManyEntries {
    std::map<std::string, std::string> contents;
    std::string archive;
    ManyEntries(int count, std::size_t size) {
        LodWriter writer;
        for (int i = 0; i < count; ++i) {
            const std::string name = "E" + std::to_string(i) + ".TXT";
            contents[name] = entryContent(i, size);
            writer.add(name, contents[name], i % 2 == 0);
        }
        archive = writer.build();
    }
};

// Every file of `folder` is one entry's content whole, or `older` for a file that was there
// before; no temporary is left.
void expectWholeFiles(const fs::path& folder, const ManyEntries& entries, const std::string& older) {
    for (const std::string& name : namesIn(folder)) {
        EXPECT_FALSE(name.ends_with(".extracting")) << name;
        const auto found = entries.contents.find(name);
        if (found == entries.contents.end()) {
            continue;
        }
        const std::string content = readFile(folder / name);
        EXPECT_TRUE(content == found->second || content == older) << name << " is cut or mixed";
    }
}

TEST(AnArchiveChangedWhileItIsRead, FailsTheEntriesAfterTheChangeWithoutASignal) {
    const ScratchArea area;
    const ManyEntries entries(1500, 20000);
    std::mt19937 random(7);
    int caught = 0;
    for (int round = 0; round < 6; ++round) {
        const fs::path archive = area.root() / "game.lod";
        writeFile(archive, entries.archive);
        const fs::path out = area.root() / ("out" + std::to_string(round));
        fs::create_directory(out);
        PlacedFiles placed(out);
        Started extraction({"extract", archive.string(), "-o", out.string()},
                           area.root() / ("logs" + std::to_string(round)));
        // Changed once some entries are out: after the program took the file's size and time and
        // read its directory. Changed soon after the open, on a busy machine it came at times
        // before the program had looked at the file, and then nothing can tell it from a file
        // that always was so. Within the first quarter, so that the rewritten middle is read
        // after the change.
        const std::vector<std::string> before =
            placed.waitFor(1 + random() % (entries.contents.size() / 4), extraction);
        // Cut to a quarter, or rewritten in place with other bytes of the same size.
        if (round % 2 == 0) {
            ASSERT_EQ(::truncate(archive.c_str(), static_cast<off_t>(entries.archive.size() / 4)),
                      0);
        } else {
            std::fstream rewrite(archive, std::ios::in | std::ios::out | std::ios::binary);
            rewrite.seekp(static_cast<std::streamoff>(entries.archive.size() / 2));
            rewrite << std::string(100000, 'Z');
        }
        const ProgramRun result = extraction.wait();
        EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.exitCode << result.errors;
        if (result.exitCode != 0) {
            ++caught;
            EXPECT_NE(result.errors.find("The archive changed while it was read (" +
                                         archive.string()),
                      std::string::npos) << result.errors;
        }
        expectErrorLines(result);
        expectWholeFiles(out, entries, "");
        for (const std::string& name : before) {
            EXPECT_TRUE(fs::exists(out / name)) << name << ", out before the change, is gone";
        }
    }
    EXPECT_GT(caught, 0) << "every extraction ended before the change";
}

TEST(ASignalDuringExtraction, LeavesNoTemporaryAndEveryOlderFileWholeAndSaysHowFarItGot) {
    const ScratchArea area;
    const ManyEntries entries(400, 3000);
    const fs::path archive = area.root() / "game.lod";
    writeFile(archive, entries.archive);
    const std::string older = "an older file of the same name";
    std::mt19937 random(11);
    int interrupted = 0;
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        // Older files make every entry replace one: a link under a temporary name, then a
        // rename, the window a signal must never split.
        const fs::path out = area.root() / ("out" + std::to_string(round));
        fs::create_directory(out);
        for (const auto& [name, content] : entries.contents) {
            writeFile(out / name, older);
        }
        const int signal = round % 3 == 2 ? SIGTERM : SIGINT;
        PlacedFiles placed(out);
        Started extraction({"extract", archive.string(), "-o", out.string()},
                           area.root() / ("logs" + std::to_string(round)));
        // Once the archive is open the signal is watched. Sent after a number of entries, not after
        // a time, it comes before the end however fast or busy the machine is; the few
        // microseconds more move it about within an entry.
        extraction.waitUntilItOpens(archive);
        const std::size_t before =
            placed.waitFor(random() % (entries.contents.size() / 2), extraction).size();
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 500));
        extraction.signal(signal);
        const ProgramRun result = extraction.wait();
        if (result.exitCode == 128 + signal) {
            ++interrupted;
            const std::string said = std::string("interrupted by ") +
                                     (signal == SIGINT ? "SIGINT" : "SIGTERM") + " after ";
            const std::size_t at = result.errors.find(said);
            ASSERT_NE(at, std::string::npos) << result.errors;
            EXPECT_GE(std::stoul(result.errors.substr(at + said.size())), before)
                << "entries out before the signal are not counted: " << result.errors;
        } else {
            EXPECT_EQ(result.exitCode, 0) << "round " << round << ": " << result.errors;
        }
        EXPECT_EQ(namesIn(out).size(), entries.contents.size()) << "round " << round;
        expectWholeFiles(out, entries, older);
    }
    EXPECT_GT(interrupted, kRounds / 4) << "the signal came too late to test anything";
}

TEST(AKilledExtraction, LeavesTemporariesThatTheNextRunIntoTheFolderRemoves) {
    const ScratchArea area;
    const ManyEntries entries(20, 100);
    const fs::path archive = area.root() / "game.lod";
    writeFile(archive, entries.archive);
    const fs::path out = area.root() / "out";
    fs::create_directory(out);
    // What a run killed by SIGKILL between creating and renaming a temporary leaves.
    pid_t gone = 4'000'000;
    while (::kill(gone, 0) == 0 || errno != ESRCH) {
        ++gone;
    }
    const std::string stale = ".E1.TXT." + std::to_string(gone) + "-Ab3dE9.extracting";
    writeFile(out / stale, "half");
    writeFile(out / ".notes.1-abcdef.extracting", "another program's, still running");
    const ProgramRun result = run({"extract", archive.string(), "-o", out.string()},
                                  area.root() / "logs");
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_FALSE(fs::exists(out / stale));
    EXPECT_TRUE(fs::exists(out / ".notes.1-abcdef.extracting"));
}

TEST(SharedAndOverlappingStreams, AreVerifiedInTimeOfTheArchiveAndOverlapsAreNamed) {
    const ScratchArea area;
    // 4000 entries share one 1 MB stream that holds 40 bytes, each stating a gigabyte.
    const std::string stream = writers::zlibCompress(std::string(40, 'q')) +
                               std::string(1 << 20, '\0');
    LodWriter writer;
    const auto packed = static_cast<std::int32_t>(stream.size());
    writer.addStored("FIRST.TXT", stream, 40, packed);
    const std::int32_t at = 92 + 32 * 4002;
    for (int i = 1; i < 4000; ++i) {
        writer.addRaw("S" + std::to_string(i) + ".TXT", at, 1'000'000'000, packed);
    }
    writer.addRaw("PART.TXT", at + 10, 40, 0);      // inside the stream, not the same bytes
    writer.addRaw("OTHER.TXT", at + packed, 0, 0);  // just after: no overlap
    const fs::path archive = area.root() / "shared.lod";
    writeFile(archive, writer.build());
    const auto started = std::chrono::steady_clock::now();
    const ProgramRun verified = run({"verify", archive.string()}, area.root() / "logs");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    EXPECT_EQ(verified.exitCode, 1);
    EXPECT_NE(verified.out.find("S3999.TXT: Damaged entry (inflates to 40 bytes, not 1000000000)"),
              std::string::npos);
    EXPECT_NE(verified.out.find("PART.TXT: Damaged entry (its stored bytes overlap those of "),
              std::string::npos) << verified.out.substr(verified.out.size() - 400);
    EXPECT_NE(verified.out.find("4002 entries checked, 4001 damaged"), std::string::npos)
        << verified.out.substr(verified.out.size() - 400);

    const fs::path out = area.root() / "out";
    fs::create_directory(out);
    const ProgramRun extracted = run({"extract", archive.string(), "-o", out.string(),
                                      "PART.TXT", "FIRST.TXT"},
                                     area.root() / "logs-extract");
    EXPECT_EQ(extracted.exitCode, 1);
    for (const char* name : {"PART.TXT", "FIRST.TXT"}) {
        EXPECT_NE(extracted.errors.find(std::string(name) + ": Damaged entry"), std::string::npos)
            << extracted.errors;
    }
    EXPECT_EQ(namesIn(out), std::vector<std::string>{});
}

}  // namespace
}  // namespace brasvel::hardening
