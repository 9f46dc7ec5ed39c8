#pragma once

// Files written whole or not at all. A file is first written under a temporary name in the target
// folder, with one write of its whole content, and only then renamed over its own name: a reader
// sees the old file or the new one, never a part; a failure leaves an older file of the same name
// as it was and takes the temporary away. Files finished before stay. Nothing is synced to disk.
//
// Temporary names are ".NAME.XXXXXX.extracting" (X random), created exclusively, and are longer
// than any name an entry can have, so they never meet an extracted file.

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/ByteReader.h"

namespace brasvel {

// How bytes reach a file: ::write unless a test puts a failing or slow one in its place.
using WriteFunction = ssize_t (*)(int fd, const void* data, std::size_t count);

class PendingFile;

// A folder that files are written into, opened once; every name is taken relative to it.
class TargetFolder {
public:
    // `path` empty means the current directory. Throws ResourceError ("File not found" when the
    // folder is missing or not a folder, "File access denied", ...).
    explicit TargetFolder(const std::string& path, WriteFunction write = nullptr);
    ~TargetFolder();
    TargetFolder(const TargetFolder&) = delete;
    TargetFolder& operator=(const TargetFolder&) = delete;

    // Writes `content` to a temporary file beside `name`, a plain file name that is already
    // checked safe. Throws ResourceError naming the path; nothing is left behind then.
    PendingFile prepare(std::string_view name, Bytes content) const;

    // prepare() then commit(): `name` holds `content` when it returns.
    void writeFile(std::string_view name, Bytes content) const;

    // The file at `path` (the archive being read) is never replaced by a file of this folder,
    // under any name that leads to it: committing over it fails with "File access denied". Does
    // nothing when `path` does not exist.
    void keepIntact(const std::string& path);

    const std::string& path() const { return path_; }
    // The path of `name` in this folder, as shown in messages.
    std::string pathOf(std::string_view name) const;

private:
    friend class PendingFile;
    bool isKeptIntact(const std::string& name) const;

    std::string path_;
    int fd_ = -1;
    WriteFunction write_;
    std::vector<std::pair<dev_t, ino_t>> kept_;  // files never to replace
};

// A file written completely under its temporary name. commit() renames it over its own name; a
// pending file that is destroyed without being committed is removed.
class PendingFile {
public:
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&& other) noexcept;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    // Throws ResourceError when the rename fails (a folder of that name, ...); the temporary is
    // removed then and anything of the name stays as it was.
    void commit();
    // Removes the temporary now.
    void discard() noexcept;

    const std::string& name() const { return name_; }

private:
    friend class TargetFolder;
    PendingFile(const TargetFolder& folder, std::string name, std::string temporary)
        : folder_(&folder), name_(std::move(name)), temporary_(std::move(temporary)) {}

    const TargetFolder* folder_ = nullptr;
    std::string name_;
    std::string temporary_;  // empty once committed or discarded
};

}  // namespace brasvel
