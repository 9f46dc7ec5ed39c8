// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "base/ResourceError.h"

#include <cerrno>
#include <system_error>

namespace brasvel {

ResourceError::ResourceError(std::string text, std::string detail)
    : std::runtime_error(text), text_(std::move(text)), detail_(std::move(detail)) {
    // The failures with words of their own; the system's other words come through fileError().
    for (const FileFailure failure :
         {FileFailure::NotFound, FileFailure::InvalidName, FileFailure::TooManyOpen,
          FileFailure::AccessDenied, FileFailure::DiskFull}) {
        fileFailure_ = fileFailure_ || text_ == fileFailureText(failure);
    }
}

ResourceError& ResourceError::withEntry(std::string entryName) {
    entry_ = std::move(entryName);
    return *this;
}

std::string ResourceError::describe() const {
    if (detail_.empty()) {
        return text_;
    }
    return text_ + " (" + detail_ + ")";
}

std::string fileFailureText(FileFailure failure, int errnoValue) {
    switch (failure) {
        case FileFailure::NotFound:
            return "File not found";
        case FileFailure::InvalidName:
            return "Invalid filename";
        case FileFailure::TooManyOpen:
            return "Too many open files";
        case FileFailure::AccessDenied:
            return "File access denied";
        case FileFailure::ReadBeyondEnd:
            return kReadBeyondEnd;
        case FileFailure::DiskFull:
            return "Disk full";
        case FileFailure::Other:
            break;
    }
    // The system's own words ("Too many levels of symbolic links"), never a bare number.
    return std::generic_category().message(errnoValue);
}

FileFailure fileFailureOf(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
        case ENOTDIR:
            return FileFailure::NotFound;
        case ENAMETOOLONG:
        case EINVAL:
        case EILSEQ:
            return FileFailure::InvalidName;
        case EMFILE:
        case ENFILE:
            return FileFailure::TooManyOpen;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EEXIST:
            return FileFailure::AccessDenied;
        case ENOSPC:
#ifdef EDQUOT  // no quotas in the Windows C runtime
        case EDQUOT:
#endif
        case EFBIG:
            return FileFailure::DiskFull;
        default:
            return FileFailure::Other;
    }
}

std::string fileFailureCause(int errnoValue) {
    switch (errnoValue) {
        case EISDIR:
            return "is a folder";
        case ENOTDIR:
            return "a part of it is not a folder";
        case ELOOP:
            return "too many levels of symbolic links";
        case ENXIO:
            return "is not a regular file";
        case EROFS:
            return "is on a read-only file system";
        default:
            return {};
    }
}

ResourceError fileError(int errnoValue, const std::string& path) {
    const std::string cause = fileFailureCause(errnoValue);
    return ResourceError(fileFailureText(fileFailureOf(errnoValue), errnoValue),
                         cause.empty() ? path : path + ": " + cause)
        .asFileFailure();
}

ResourceError readBeyondEnd(std::uint64_t offset, std::uint64_t wanted, std::uint64_t available) {
    const std::uint64_t found = offset < available ? available - offset : 0;
    return ResourceError(kReadBeyondEnd, "needed " + std::to_string(wanted) + " bytes at offset " +
                                             std::to_string(offset) + ", found " +
                                             std::to_string(found));
}

ResourceError archiveChanged(const std::string& path) {
    return ResourceError(kArchiveChanged, path);
}

ResourceError damaged(std::string what) { return ResourceError("Damaged file", std::move(what)); }

}  // namespace brasvel
