#include "archive/Archive.h"

#include <utility>

namespace brasvel {

Archive::Archive(std::string path, const ArchiveFormat& format)
    : path_(std::move(path)), format_(&format) {}

Archive Archive::open(const std::string& path, const ArchiveFormat& format,
                      const EntryProgress& progress) {
    return open(std::make_shared<const ReadOnlyFile>(path), path, format, progress);
}

Archive Archive::open(std::shared_ptr<const ReadOnlyFile> file, const std::string& path,
                      const ArchiveFormat& format, const EntryProgress& progress) {
    Archive archive(path, format);
    archive.file_ = std::move(file);
    archive.directory_ = readDirectory(format, archive.file_->bytes(), progress);
    return archive;
}

Archive Archive::fromBytes(std::vector<std::byte> bytes, const ArchiveFormat& format,
                           std::string path) {
    Archive archive(std::move(path), format);
    archive.memory_ = std::make_shared<const std::vector<std::byte>>(std::move(bytes));
    archive.directory_ = readDirectory(format, *archive.memory_);
    return archive;
}

Bytes Archive::bytes() const {
    if (file_) {
        return file_->bytes();
    }
    return memory_ ? Bytes(*memory_) : Bytes();
}

}  // namespace brasvel
