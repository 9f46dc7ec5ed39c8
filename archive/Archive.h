#pragma once

// An open archive: the file, mapped read-only once, its format and its entries, for as long as
// the window or a command works on it. Nothing is ever written to the file.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/Directory.h"
#include "base/ReadOnlyFile.h"

namespace brasvel {

class Archive {
public:
    // Opens `path` and reads its directory. Throws ResourceError when the file cannot be opened;
    // a directory that cannot be read whole keeps the entries read so far and directoryError().
    static Archive open(const std::string& path, const ArchiveFormat& format,
                        const EntryProgress& progress = {});
    // The same over a file already mapped (to look at its bytes before choosing its format).
    static Archive open(std::shared_ptr<const ReadOnlyFile> file, const std::string& path,
                        const ArchiveFormat& format, const EntryProgress& progress = {});
    // An archive held in memory (tests, fuzzing); `path` only names it.
    static Archive fromBytes(std::vector<std::byte> bytes, const ArchiveFormat& format,
                             std::string path = {});

    const std::string& path() const { return path_; }
    const ArchiveFormat& format() const { return *format_; }
    const std::vector<Entry>& entries() const { return directory_.entries; }
    std::int32_t statedCount() const { return directory_.statedCount; }
    const std::optional<ResourceError>& directoryError() const { return directory_.error; }

    // The archive's bytes.
    Bytes bytes() const;
    // Whether bytes() is a read-only file mapping, whose pages may be given back.
    bool isMapped() const { return file_ != nullptr; }
    // The file as it was when opened; nullopt for an archive held in memory.
    std::optional<FileIdentity> identity() const {
        return file_ ? std::optional(file_->identity()) : std::nullopt;
    }

private:
    Archive(std::string path, const ArchiveFormat& format);

    std::string path_;
    const ArchiveFormat* format_;
    std::shared_ptr<const ReadOnlyFile> file_;  // shared: an Archive is cheap to copy
    std::shared_ptr<const std::vector<std::byte>> memory_;
    Directory directory_;
};

}  // namespace brasvel
