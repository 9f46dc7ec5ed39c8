// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A file that takes the place of another in one step, or appears whole under a new name, once it
// is complete and on disk. Until commit() nothing but the new file's own bytes exists: the old
// file stays byte for byte as it was, and a failure, a cancel or the end of the process leaves no
// part-file behind.
//
// The new file is written with no name (O_TMPFILE) in the folder of the file it replaces; commit()
// syncs it, gives it the old file's permissions and owner, links it under a temporary name, renames
// that over the old file and syncs the folder. A path that is a symbolic link is replaced at the
// link's target. Where the file system has no unnamed files, the file is written under a temporary
// name from the start: ".NAME.PID.XXXXXX.saving", PID the writing process. Such a temporary left by
// a process that was killed is removed by the next replacement of NAME, which can tell it is its
// own from the name and the process that no longer runs.

#include <functional>
#include <string>

#include "base/ByteReader.h"
#include "extract/AtomicFile.h"

namespace brasvel {

// How an existing file of the name is met.
enum class ExistingFile {
    Replace,  // replaced in one step
    Refuse,   // the file is not written: "File exists"
};

class ReplacementFile {
public:
    // Starts the new file for `path`. Throws ResourceError naming the path when the folder cannot
    // be written or the path is not a file that can be replaced (a folder, ...).
    ReplacementFile(const std::string& path, ExistingFile existing, WriteFunction writeFunction = nullptr,
                    Temporaries temporaries = Temporaries::Unnamed,
                    SyncFunction syncFunction = nullptr);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Appends bytes at the current position. Throws ResourceError naming the path.
    void write(Bytes bytes);
    // Appends `length` bytes of the file open as `source` from `offset`, without passing them
    // through this process where the kernel can (copy_file_range, a reflink on file systems that
    // share blocks). Returns false, having written nothing, when the kernel cannot copy between
    // these files; the caller then writes the bytes itself.
    bool copyFrom(int source, std::uint64_t offset, std::uint64_t length);
    // Moves the position where the next bytes go.
    void seek(std::uint64_t position);
    std::uint64_t position() const { return position_; }

    // Syncs the file, puts it in place and syncs the folder. `beforePlacing`, when given, is
    // called once the file is synced, just before it takes the name: what it throws stops the
    // commit. Throws ResourceError naming the path; the old file is then as it was and the new
    // one gone.
    void commit(const std::function<void()>& beforePlacing = {});

    // The file that is replaced: the path with its symbolic links followed.
    const std::string& target() const { return target_; }

private:
    void discard() noexcept;
    std::string folderPath() const;

    std::string path_;        // as given, for messages
    std::string target_;      // links followed
    std::string name_;        // the target's name in its folder
    ExistingFile existing_;
    WriteFunction write_;
    SyncFunction sync_;  // the new file's, before it takes the name, and then its folder's
    int folder_ = -1;
    int fd_ = -1;
    std::string temporary_;   // a named temporary, while there is one
    bool writeFailed_ = false;
    bool copyWorks_ = true;
    std::uint64_t position_ = 0;
};

// Removes the temporaries ".NAME.PID.XXXXXX.saving" beside `path` that a process which no longer
// runs left behind, and that belong to this user. Returns how many it removed.
int removeStaleTemporaries(const std::string& path);

}  // namespace brasvel
