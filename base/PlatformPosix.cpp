// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/Platform.h"

namespace brasvel::platform {
namespace {

void fill(const struct stat& from, FileStatus& status) {
    status.kind = S_ISREG(from.st_mode)   ? FileStatus::Kind::Regular
                  : S_ISDIR(from.st_mode) ? FileStatus::Kind::Folder
                  : S_ISLNK(from.st_mode) ? FileStatus::Kind::Link
                                          : FileStatus::Kind::Other;
    status.device = from.st_dev;
    status.index = from.st_ino;
    status.size = static_cast<std::uint64_t>(from.st_size);
    status.modifiedNs =
        static_cast<std::int64_t>(from.st_mtim.tv_sec) * 1'000'000'000 + from.st_mtim.tv_nsec;
    status.ownedByUser = from.st_uid == ::geteuid();
    status.links = from.st_nlink;
    status.writeProtected = (from.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};

}  // namespace

int statusOf(int fd, FileStatus& status) {
    struct stat from {};
    if (::fstat(fd, &from) != 0) {
        return -1;
    }
    fill(from, status);
    return 0;
}

int statusOfPath(const std::string& path, FileStatus& status) {
    struct stat from {};
    if (::lstat(path.c_str(), &from) != 0) {
        return -1;
    }
    fill(from, status);
    return 0;
}

int statusOfTarget(const std::string& path, FileStatus& status) {
    struct stat from {};
    if (::stat(path.c_str(), &from) != 0) {
        return -1;
    }
    fill(from, status);
    return 0;
}

int openForReading(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

int createExclusive(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

int closeFile(int fd) {
    return ::close(fd);
}

std::ptrdiff_t readAt(int fd, void* data, std::size_t count, std::uint64_t offset) {
    return ::pread(fd, data, count, static_cast<off_t>(offset));
}

const void* mapFile(int fd, std::size_t size) {
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    return mapping == MAP_FAILED ? nullptr : mapping;
}

void unmapFile(const void* mapping, std::size_t size) {
    ::munmap(const_cast<void*>(mapping), size);
}

void releaseMappedPages(const void* begin, const void* end) {
    static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(begin) & ~(page - 1);
    const std::uintptr_t last = (reinterpret_cast<std::uintptr_t>(end) + page - 1) & ~(page - 1);
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

std::ptrdiff_t readSome(int fd, void* data, std::size_t count) {
    return ::read(fd, data, count);
}

std::ptrdiff_t writeSome(int fd, const void* data, std::size_t count) {
    return ::write(fd, data, count);
}

int seekTo(int fd, std::uint64_t position) {
    return ::lseek(fd, static_cast<off_t>(position), SEEK_SET) < 0 ? -1 : 0;
}

int syncFile(int fd) {
    return ::fsync(fd);
}

int replaceFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str());
}

int moveToNewName(const std::string& from, const std::string& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
}

int removeFile(const std::string& path) {
    return ::unlink(path.c_str());
}

int tryLockForEditing(int fd) {
    // flock, not fcntl's locks: those need a descriptor opened for writing, and a write-protected
    // archive is locked too. flock locks conflict between descriptors of one process as well.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return 0;
}

bool readable(const std::string& path) {
    return ::access(path.c_str(), R_OK) == 0;
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) {
        return names;
    }
    while (const dirent* item = ::readdir(listing)) {
        const std::string_view name = item->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(listing);
    return names;
}

std::optional<std::uint64_t> freeSpace(const std::string& folder) {
    struct statvfs status {};
    if (::statvfs(folder.empty() ? "." : folder.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.f_bavail) * status.f_frsize;
}

std::string windows1250Character(unsigned char byte) {
    // One converter for the process, used under the static's guard only once per byte.
    static const iconv_t converter = iconv_open("UTF-8", "WINDOWS-1250");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return "?";
    }
    char in = static_cast<char>(byte);
    char out[8];
    char* inPointer = &in;
    char* outPointer = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) ==
        static_cast<std::size_t>(-1)) {
        return {};
    }
    return std::string(out, static_cast<std::size_t>(outPointer - out));
}

std::string userStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        return state;
    }
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] == '/' ? std::string(home) + "/.local/state" : std::string();
}

long currentProcess() {
    return ::getpid();
}

bool processRuns(long process) {
    // A process of another user, which kill() may not probe, counts as running.
    if (::kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH) {
        return false;
    }
    // One that has ended but whose parent has not yet collected it (a zombie, "Z" in its stat
    // line after the command's closing parenthesis) runs no more.
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/stat", process);
    std::FILE* stat = std::fopen(path, "re");
    if (stat == nullptr) {
        return true;
    }
    char line[512] = {};
    const std::size_t read = std::fread(line, 1, sizeof line - 1, stat);
    std::fclose(stat);
    const char* end = std::strrchr(line, ')');
    return !(read > 0 && end != nullptr && end[1] == ' ' && end[2] == 'Z');
}

std::optional<std::size_t> openFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(limit.rlim_cur);
}

void watchInterrupts(InterruptNote note) {
    struct sigaction action {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    // Restart interrupted reads and writes; the second signal takes the default way out.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    ::sigaction(SIGINT, &action, &previousInterrupt);
    ::sigaction(SIGTERM, &action, &previousTerminate);
}

void stopWatchingInterrupts() {
    ::sigaction(SIGINT, &previousInterrupt, nullptr);
    ::sigaction(SIGTERM, &previousTerminate, nullptr);
}

void noteEveryInterrupt(InterruptNote note) {
    struct sigaction action {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

void ignoreBrokenPipes() {
    ::signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void prepareStandardStreams() {}

}  // namespace brasvel::platform
