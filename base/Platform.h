// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What differs between the operating systems, in one place. Paths are UTF-8 everywhere in the
// program; on Windows they become UTF-16 only here, at the system's door, with the \\?\ prefix
// when they are longer than the old limit of 260 characters.
//
// Failures set errno to the nearest POSIX value (ENOENT, EACCES, ENOSPC, EEXIST, ...), so that
// fileError() words them the same on every system. Descriptors are C runtime descriptors on both.
//
// On Linux the extraction and the archive writer use the file system's own means beyond this
// (unnamed files, folder descriptors, copies in the kernel); the Windows build goes through the
// path-based calls below.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brasvel::platform {

// A file's place and state: the same file reached by two paths shows the same device and index.
struct FileStatus {
    enum class Kind { Regular, Folder, Link, Other };  // Link: a symbolic link or junction
    Kind kind = Kind::Other;
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool ownedByUser = true;  // Windows: always
    std::uint64_t links = 1;  // the names the file has (hard links)
    // No one may write it by its permissions (mode without a write bit; Windows' read-only
    // attribute), whoever the user is: root too is told.
    bool writeProtected = false;
};

// -1 with errno set when `fd` or `path` cannot be looked at. `path` is not followed when it is a
// link (POSIX); a folder or a device reports its kind.
int statusOf(int fd, FileStatus& status);
int statusOfPath(const std::string& path, FileStatus& status);
// The same for what `path` leads to, its links followed.
int statusOfTarget(const std::string& path, FileStatus& status);
// Whether `a` and `b` lead to one file that exists (the same device and index).
inline bool sameFile(const std::string& a, const std::string& b) {
    FileStatus first;
    FileStatus second;
    return statusOfTarget(a, first) == 0 && statusOfTarget(b, second) == 0 &&
           first.device == second.device && first.index == second.index;
}

// A file opened for reading, never waiting (a FIFO is not waited on); -1 with errno set.
int openForReading(const std::string& path);
// A new file, created exclusively for reading and writing; -1 with errno (EEXIST when taken).
int createExclusive(const std::string& path);
int closeFile(int fd);
// Reads at `offset` without moving a position; -1 with errno, 0 at the end.
std::ptrdiff_t readAt(int fd, void* data, std::size_t count, std::uint64_t offset);
// The whole file mapped read-only, or null with errno set; given back with unmapFile.
const void* mapFile(int fd, std::size_t size);
void unmapFile(const void* mapping, std::size_t size);
// Tells the system that the mapped pages between `begin` and `end` will not be read again soon.
void releaseMappedPages(const void* begin, const void* end);
// Reads on from the position.
std::ptrdiff_t readSome(int fd, void* data, std::size_t count);
// Writes at the position: the default write function of the atomic files.
std::ptrdiff_t writeSome(int fd, const void* data, std::size_t count);
int seekTo(int fd, std::uint64_t position);
// Flushes the file's bytes to the disk (fsync; FlushFileBuffers on Windows).
int syncFile(int fd);
// Puts `from` in place of `to` in one step, replacing a file of that name (rename; MoveFileExW with
// write-through on Windows, over a read-only file too). A folder named `to` is never replaced:
// EISDIR.
int replaceFile(const std::string& from, const std::string& to);
// The same where nothing of the name `to` exists yet; EEXIST when it does.
int moveToNewName(const std::string& from, const std::string& to);
int removeFile(const std::string& path);

// Takes the editors' lock of the file open as `fd` (opened for reading is enough) without waiting,
// held until `fd` is closed: 0 when taken; -1 with errno EWOULDBLOCK when another descriptor
// holds it, in this process or another, or another errno when the file system keeps no locks.
// Advisory on Linux (flock), so readers are never kept out; on Windows a byte far past any
// archive's end is locked (LockFileEx), which keeps no reader out either.
int tryLockForEditing(int fd);
// Whether the calling user may read `path`.
bool readable(const std::string& path);

// The names in a folder, "." and ".." left out; empty when it cannot be listed.
std::vector<std::string> folderNames(const std::string& folder);
// The bytes the user may still write on the file system of `folder`; none when unknown.
std::optional<std::uint64_t> freeSpace(const std::string& folder);

// The folder where programs keep the user's state: $XDG_STATE_HOME, else ~/.local/state (Linux);
// %LOCALAPPDATA% (Windows). Empty when none can be told.
std::string userStateFolder();

// The program's process, and whether another still runs (true when that cannot be told).
long currentProcess();
bool processRuns(long process);

// How many files the process may hold open at once; none when there is no such limit.
std::optional<std::size_t> openFileLimit();

// Ctrl-C, Ctrl-Break and closing the console on Windows; SIGINT and SIGTERM on Linux. `note` is
// called with the signal's number (SIGINT 2, SIGTERM 15 on both), from a signal handler or from
// the console's own thread: it may only set an atomic flag.
using InterruptNote = void (*)(int signal);
void watchInterrupts(InterruptNote note);
void stopWatchingInterrupts();
// For the rest of the process, every interrupt, SIGTERM and SIGHUP (closing the console) is noted,
// none ends the process: an edit stops at its next step and leaves the archive as it was.
void noteEveryInterrupt(InterruptNote note);
// A write to a closed pipe fails with EPIPE instead of ending the process (Windows has no such
// signal).
void ignoreBrokenPipes();

// The character that byte `byte` (0x80 and above) stands for in code page Windows-1250, as UTF-8;
// empty for the bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98). Through
// iconv on Linux, MultiByteToWideChar(1250) on Windows: the same answers for every byte.
std::string windows1250Character(unsigned char byte);

#ifdef _WIN32
// UTF-8 to UTF-16 for a path handed to the system: '/' becomes '\\', and a long path (or any
// absolute path that needs it) gets the \\?\ prefix.
std::wstring systemPath(const std::string& path);
std::wstring wideText(std::string_view utf8);
std::string utf8Text(std::wstring_view wide);
// The nearest errno value for a Windows error code.
int errnoOf(unsigned long windowsError);
#endif

// The program's arguments as UTF-8: on Windows from the UTF-16 command line (argv would hold them
// in the console's code page, losing every letter outside it); elsewhere argv as it is.
std::vector<std::string> programArguments(int argc, char** argv);
// Standard output and error take UTF-8 and bytes as they are: on Windows the console is switched
// to code page 65001 (and back at exit), and the streams to binary, so that a picture written to
// standard output arrives whole and the output is the same bytes as on Linux (lines end in \n).
void prepareStandardStreams();

}  // namespace brasvel::platform
