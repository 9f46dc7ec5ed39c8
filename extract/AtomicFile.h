// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Files written whole or not at all. A file is first written completely without being visible
// under its name, and only then put in place: a reader sees the old file or the new one, never a
// part; a failure leaves an older file of the same name as it was and nothing else behind. Files
// finished before stay. Nothing is synced to disk.
//
// Where the file system allows it, the file is written with no name at all (O_TMPFILE) and linked
// under its name when committed; a name that is taken is replaced by linking the file under a
// temporary name and renaming that over it. Elsewhere the file is written under a temporary name
// from the start. Temporary names are ".NAME.PID-XXXXXX.extracting" (PID the writing process's,
// X random), created exclusively, and are longer than any name an entry can have, so they never
// meet an extracted file. A process killed outright (SIGKILL) may leave one behind;
// removeStaleTemporaries() removes those whose process is gone.
//
// Writing without a name also keeps the folder's lock out of the slow part: the file system finds
// room for a new file while other threads add names to the folder.

#include <sys/types.h>

#include <atomic>
#include <optional>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/ByteReader.h"

namespace brasvel {

// How bytes reach a file: platform::writeSome unless a test puts a failing or slow one in its
// place.
using WriteFunction = ssize_t (*)(int fd, const void* data, std::size_t count);

// How a file's bytes are made to reach the disk: the system's sync (fsync, FlushFileBuffers)
// unless a test puts one in its place that sees when, and what, is synced. 0 on success, else -1
// with errno set.
using SyncFunction = int (*)(int fd);

// How files wait for their commit.
enum class Temporaries {
    Unnamed,  // without a name where the file system allows it, else named
    Named,    // always under a temporary name
};

class PendingFile;

// A folder that files are written into, opened once; every name is taken relative to it.
class TargetFolder {
public:
    // `path` empty means the current directory. Throws ResourceError ("File not found (no such
    // folder: X)", "File not found (X is not a folder)", "File access denied", ...).
    explicit TargetFolder(const std::string& path, WriteFunction write = nullptr,
                          Temporaries temporaries = Temporaries::Unnamed);
    ~TargetFolder();
    TargetFolder(const TargetFolder&) = delete;
    TargetFolder& operator=(const TargetFolder&) = delete;

    // Writes `content` to a file that is not yet visible under `name`, a plain file name that is
    // already checked safe. Throws ResourceError naming the path; nothing is left behind then.
    PendingFile prepare(std::string_view name, Bytes content) const;

    // The same for content made piece by piece: `produce` hands each piece, in order, to the
    // function it is given. Whatever it throws leaves nothing behind and is passed on.
    using PieceWriter = std::function<void(Bytes piece)>;
    PendingFile prepare(std::string_view name,
                        const std::function<void(const PieceWriter&)>& produce) const;

    // prepare() then commit(): `name` holds `content` when it returns.
    void writeFile(std::string_view name, Bytes content) const;

    // The file at `path` (the archive being read) is never replaced by a file of this folder,
    // under any name that leads to it: committing over it fails with "File access denied". Does
    // nothing when `path` does not exist.
    void keepIntact(const std::string& path);
    void keepIntact(std::uint64_t device, std::uint64_t inode);
    // Whether `name` in this folder leads to a file kept intact.
    bool isKeptIntact(const std::string& name) const;

    // The bytes the user may still write to the folder's file system; none when unknown.
    std::optional<std::uint64_t> freeSpace() const;

    // Removes temporaries this program left in the folder when it was killed outright: names of
    // the form above, regular files of this user, whose process no longer runs. The number
    // removed.
    int removeStaleTemporaries() const;

    const std::string& path() const { return path_; }
    // The path of `name` in this folder, as shown in messages.
    std::string pathOf(std::string_view name) const;

private:
    friend class PendingFile;
    // A file with no name in the folder, or -1 when the file system has none to give.
    int openUnnamed() const;
    PendingFile prepareNamed(std::string_view name,
                             const std::function<void(const PieceWriter&)>& produce) const;
    void writeAll(int fd, Bytes content, std::string_view name) const;
    void produceInto(int fd, std::string_view name,
                     const std::function<void(const PieceWriter&)>& produce) const;
    // Links the unnamed file `fd` under a new temporary name, which it returns.
    std::string linkUnderTemporaryName(int fd, std::string_view name) const;
    // Renames `temporary` over `name`; removes the temporary and throws when that fails.
    void renameOver(const std::string& temporary, const std::string& name) const;

    std::string path_;
    int fd_ = -1;
    WriteFunction write_;
    mutable std::atomic<bool> unnamed_;  // cleared once the file system refuses unnamed files
    std::vector<std::pair<std::uint64_t, std::uint64_t>> kept_;  // files never to replace
};

// A file written completely but not yet under its name. commit() puts it there; a pending file
// that is destroyed without being committed is removed.
class PendingFile {
public:
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&& other) noexcept;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    // Throws ResourceError when the file cannot be put in place (a folder of that name, ...); the
    // pending file is removed then and anything of the name stays as it was.
    void commit();
    // Removes the pending file now.
    void discard() noexcept;

    const std::string& name() const { return name_; }

private:
    friend class TargetFolder;
    PendingFile(const TargetFolder& folder, std::string name, std::string temporary, int fd)
        : folder_(&folder), name_(std::move(name)), temporary_(std::move(temporary)), fd_(fd) {}

    const TargetFolder* folder_ = nullptr;
    std::string name_;
    std::string temporary_;  // a named temporary; empty once committed or discarded
    int fd_ = -1;            // an unnamed file, open until it is linked or discarded
};

}  // namespace brasvel
