// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "base/Platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The system headers below need windows.h before them.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace brasvel::platform {
namespace {

// Paths longer than this need the \\?\ prefix (MAX_PATH less the terminating NUL, and room for
// the 8.3 name Windows may add to a folder).
constexpr std::size_t kLongestPlainPath = 247;

// Fails with the errno value nearest to the thread's last Windows error.
int failWithLastError() {
    errno = errnoOf(::GetLastError());
    return -1;
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

std::int64_t nanosecondsOf(const FILETIME& time) {
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<std::int64_t>(ticks) * 100;
}

void fill(const BY_HANDLE_FILE_INFORMATION& from, DWORD type, FileStatus& status) {
    if (type != FILE_TYPE_DISK) {
        status.kind = FileStatus::Kind::Other;
    } else if (from.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        status.kind = FileStatus::Kind::Link;  // a symbolic link or a junction
    } else if (from.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        status.kind = FileStatus::Kind::Folder;
    } else {
        status.kind = FileStatus::Kind::Regular;
    }
    status.device = from.dwVolumeSerialNumber;
    status.index = (static_cast<std::uint64_t>(from.nFileIndexHigh) << 32) | from.nFileIndexLow;
    status.size = (static_cast<std::uint64_t>(from.nFileSizeHigh) << 32) | from.nFileSizeLow;
    status.modifiedNs = nanosecondsOf(from.ftLastWriteTime);
    status.ownedByUser = true;
    status.links = from.nNumberOfLinks;
    status.writeProtected = (from.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

int statusOfHandle(HANDLE handle, FileStatus& status) {
    BY_HANDLE_FILE_INFORMATION information{};
    const DWORD type = ::GetFileType(handle);
    if (type != FILE_TYPE_DISK) {
        status = FileStatus{};
        return 0;
    }
    if (!::GetFileInformationByHandle(handle, &information)) {
        return failWithLastError();
    }
    fill(information, type, status);
    return 0;
}

// A C runtime descriptor for `handle`, or -1 (the handle closed) when none can be had.
int descriptorOf(HANDLE handle, int flags) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

InterruptNote interruptNote = nullptr;
bool noteEveryTime = false;

BOOL WINAPI onConsoleEvent(DWORD event) {
    if (interruptNote == nullptr) {
        return FALSE;
    }
    const InterruptNote note = interruptNote;
    if (!noteEveryTime) {
        // The second interrupt takes the default way out, as SA_RESETHAND does on Linux.
        interruptNote = nullptr;
    }
    note(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // Windows ends the process when this returns: give the batch time to stop cleanly.
        ::Sleep(4000);
    }
    return TRUE;
}

UINT consoleOutputPage = 0;

void restoreConsole() {
    if (consoleOutputPage != 0) {
        ::SetConsoleOutputCP(consoleOutputPage);
    }
}

}  // namespace

int errnoOf(unsigned long windowsError) {
    switch (windowsError) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
        case ERROR_CURRENT_DIRECTORY:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return EINVAL;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_DIR_NOT_EMPTY:
            return ENOTEMPTY;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_HANDLE_EOF:
            return 0;
        default:
            return EIO;
    }
}

std::wstring wideText(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          length);
    return wide;
}

std::string utf8Text(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                          length, nullptr, nullptr);
    return utf8;
}

std::wstring systemPath(const std::string& path) {
    std::wstring wide = wideText(path.empty() ? std::string(".") : path);
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    if (wide.size() <= kLongestPlainPath || wide.starts_with(L"\\\\?\\")) {
        return wide;
    }
    // The prefix takes only a full path, with no "." or ".." left in it.
    const DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) {
        return wide;
    }
    std::wstring full(length, L'\0');
    full.resize(::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr));
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

int statusOf(int fd, FileStatus& status) {
    const HANDLE handle = handleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    return statusOfHandle(handle, status);
}

// Opened for its attributes only, a folder too.
int statusOfPath(const std::string& path, FileStatus& status, DWORD links) {
    const HANDLE handle =
        ::CreateFileW(systemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | links, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return failWithLastError();
    }
    const int result = statusOfHandle(handle, status);
    ::CloseHandle(handle);
    return result;
}

int statusOfPath(const std::string& path, FileStatus& status) {
    return statusOfPath(path, status, FILE_FLAG_OPEN_REPARSE_POINT);
}

int statusOfTarget(const std::string& path, FileStatus& status) {
    return statusOfPath(path, status, 0);
}

int openForReading(const std::string& path) {
    // Others may go on reading, writing and even renaming the file: ReadOnlyFile tells a change.
    // A folder opens (FILE_FLAG_BACKUP_SEMANTICS) so that it is refused as a folder.
    const HANDLE handle =
        ::CreateFileW(systemPath(path).c_str(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return failWithLastError();
    }
    return descriptorOf(handle, _O_RDONLY);
}

int createExclusive(const std::string& path) {
    // DELETE: a temporary can be removed or renamed while it is open elsewhere in this process.
    const HANDLE handle = ::CreateFileW(
        systemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return failWithLastError();
    }
    return descriptorOf(handle, _O_RDWR);
}

int closeFile(int fd) {
    return ::_close(fd);
}

std::ptrdiff_t readAt(int fd, void* data, std::size_t count, std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::ReadFile(handleOf(fd), data, wanted, &got, &at)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_HANDLE_EOF) {
            return 0;
        }
        errno = errnoOf(error);
        return -1;
    }
    return got;
}

// Windows refuses to replace or remove a file while a view of it is mapped, even one opened to
// allow it: the archive writer could then never put the new archive in its place. The "mapping"
// is a copy read into memory instead, given back by unmapFile.
const void* mapFile(int fd, std::size_t size) {
    void* copy = ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (copy == nullptr) {
        failWithLastError();
        return nullptr;
    }
    std::size_t done = 0;
    while (done < size) {
        const std::ptrdiff_t got = readAt(fd, static_cast<char*>(copy) + done, size - done, done);
        if (got <= 0) {
            const int error = got == 0 ? EIO : errno;
            ::VirtualFree(copy, 0, MEM_RELEASE);
            errno = error;
            return nullptr;
        }
        done += static_cast<std::size_t>(got);
    }
    return copy;
}

void unmapFile(const void* mapping, std::size_t /*size*/) {
    ::VirtualFree(const_cast<void*>(mapping), 0, MEM_RELEASE);
}

// Windows has no way to drop a read-only view's pages short of unmapping it; they stay counted
// in the working set, which the system trims when memory is short.
void releaseMappedPages(const void* /*begin*/, const void* /*end*/) {}

std::ptrdiff_t readSome(int fd, void* data, std::size_t count) {
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::ReadFile(handleOf(fd), data, wanted, &got, nullptr)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) {
            return 0;
        }
        errno = errnoOf(error);
        return -1;
    }
    return got;
}

std::ptrdiff_t writeSome(int fd, const void* data, std::size_t count) {
    DWORD written = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::WriteFile(handleOf(fd), data, wanted, &written, nullptr)) {
        errno = errnoOf(::GetLastError());
        return -1;
    }
    return written;
}

int seekTo(int fd, std::uint64_t position) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(position);
    if (!::SetFilePointerEx(handleOf(fd), to, nullptr, FILE_BEGIN)) {
        return failWithLastError();
    }
    return 0;
}

int syncFile(int fd) {
    if (!::FlushFileBuffers(handleOf(fd))) {
        return failWithLastError();
    }
    return 0;
}

namespace {

// MoveFileExW over `target`, which is not read-only.
int moveOver(const std::wstring& source, const std::wstring& target, DWORD attributes) {
    // Write-through: the rename is on disk when this returns, as the folder's fsync makes it on
    // Linux.
    constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (::MoveFileExW(source.c_str(), target.c_str(), kFlags)) {
        return 0;
    }
    if (::GetLastError() != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES) {
        return failWithLastError();
    }
    // The old file is open (the archive being edited, read by this very process). Windows
    // replaces such a file when every handle allows deleting it, as ours do; wine refuses. Then
    // the old file is moved aside first, the new one takes its name, and the old one goes (it
    // stays readable through the handles open on it). Should the second step fail, the old file
    // gets its name back.
    // Each replacement takes a name of its own: a file moved aside earlier keeps its name until
    // the last handle on it closes (the window holds the archive it shows open), and a second
    // save of the same archive must not stumble on it.
    static std::atomic<unsigned> replacements{0};
    std::wstring aside;
    for (;;) {
        aside = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L"." +
                std::to_wstring(++replacements) + L".replaced";
        if (::MoveFileExW(target.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) {
            break;
        }
        const DWORD error = ::GetLastError();
        if ((error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) ||
            replacements > 1000000) {
            return failWithLastError();
        }
    }
    if (!::MoveFileExW(source.c_str(), target.c_str(), kFlags)) {
        const DWORD error = ::GetLastError();
        ::MoveFileExW(aside.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        errno = errnoOf(error);
        return -1;
    }
    ::DeleteFileW(aside.c_str());
    return 0;
}

}  // namespace

int replaceFile(const std::string& from, const std::string& to) {
    const std::wstring source = systemPath(from);
    const std::wstring target = systemPath(to);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = EISDIR;
        return -1;
    }
    // Windows refuses to move over a read-only file, and would leave the old one behind when it
    // was moved aside, where rename on Linux replaces it: the caller has chosen to replace it, so
    // the attribute goes first and comes back should the move fail.
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !::SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        return failWithLastError();
    }
    const int moved = moveOver(source, target, attributes);
    if (moved != 0 && readOnly) {
        const int error = errno;
        ::SetFileAttributesW(target.c_str(), attributes);
        errno = error;
    }
    return moved;
}

int moveToNewName(const std::string& from, const std::string& to) {
    if (!::MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
        return failWithLastError();
    }
    return 0;
}

int removeFile(const std::string& path) {
    if (!::DeleteFileW(systemPath(path).c_str())) {
        return failWithLastError();
    }
    return 0;
}

int tryLockForEditing(int fd) {
    // Windows' locks are mandatory: a byte of the file would be kept from every reader. The byte
    // locked lies far past the end of any archive (whose offsets are 32-bit), so none is.
    OVERLAPPED at{};
    at.Offset = 0xFFFFFFFE;
    at.OffsetHigh = 0x7FFFFFFF;
    if (::LockFileEx(handleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                     &at)) {
        return 0;
    }
    const DWORD error = ::GetLastError();
    errno =
        error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EWOULDBLOCK : errnoOf(error);
    return -1;
}

// A folder too: it opens only with backup semantics (no privilege is needed just to open it).
bool readable(const std::string& path) {
    const HANDLE handle = ::CreateFileW(
        systemPath(path).c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        failWithLastError();
        return false;
    }
    ::CloseHandle(handle);
    return true;
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    std::wstring pattern = systemPath(folder.empty() ? "." : folder);
    if (!pattern.ends_with(L'\\')) {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW item{};
    const HANDLE search = ::FindFirstFileW(pattern.c_str(), &item);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring_view name = item.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(utf8Text(name));
        }
    } while (::FindNextFileW(search, &item));
    ::FindClose(search);
    return names;
}

std::optional<std::uint64_t> freeSpace(const std::string& folder) {
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(systemPath(folder.empty() ? "." : folder).c_str(), &available,
                               nullptr, nullptr)) {
        return std::nullopt;
    }
    return available.QuadPart;
}

std::string windows1250Character(unsigned char byte) {
    const char in = static_cast<char>(byte);
    wchar_t out[2] = {};
    const int length = ::MultiByteToWideChar(1250, MB_ERR_INVALID_CHARS, &in, 1, out, 2);
    // An undefined byte fails, or comes back as the C1 control of its own number; no defined
    // byte of the code page stands for a C1 control.
    if (length != 1 || (out[0] >= 0x80 && out[0] <= 0x9F)) {
        return {};
    }
    return utf8Text(std::wstring_view(out, 1));
}

std::string userStateFolder() {
    const wchar_t* folder = _wgetenv(L"LOCALAPPDATA");
    return folder != nullptr && folder[0] != L'\0' ? utf8Text(folder) : std::string();
}

long currentProcess() {
    return static_cast<long>(::GetCurrentProcessId());
}

bool processRuns(long process) {
    const HANDLE handle =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
    if (handle == nullptr) {
        // No such process; one that exists but may not be opened runs.
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(handle, &code) && code == STILL_ACTIVE;
    ::CloseHandle(handle);
    return running;
}

std::optional<std::size_t> openFileLimit() {
    // The C runtime's table of descriptors, which every open file here takes a place in.
    return static_cast<std::size_t>(::_getmaxstdio());
}

void watchInterrupts(InterruptNote note) {
    interruptNote = note;
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void stopWatchingInterrupts() {
    ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    interruptNote = nullptr;
}

void noteEveryInterrupt(InterruptNote note) {
    interruptNote = note;
    noteEveryTime = true;
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void ignoreBrokenPipes() {}

std::vector<std::string> programArguments(int /*argc*/, char** /*argv*/) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return arguments;
    }
    for (int i = 0; i < count; ++i) {
        arguments.push_back(utf8Text(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

void prepareStandardStreams() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    const UINT page = ::GetConsoleOutputCP();
    if (page != 0 && page != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
        consoleOutputPage = page;
        std::atexit(restoreConsole);
    }
}

}  // namespace brasvel::platform
