// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "base/ResourceError.h"

#include <cerrno>
#include <system_error>

namespace brasvel {

ResourceError::ResourceError(ErrorKind kind, std::string detail)
    : ResourceError(kind, errorKindText(kind), std::move(detail)) {}

ResourceError::ResourceError(ErrorKind kind, std::string text, std::string detail)
    : std::runtime_error(text),
      kind_(kind),
      scope_(defaultScope(kind)),
      text_(std::move(text)),
      detail_(std::move(detail)) {}

ResourceError ResourceError::withText(ErrorKind kind, std::string text, std::string detail) {
    return ResourceError(kind, std::move(text), std::move(detail));
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

ErrorKind errorKindOf(FileFailure failure) {
    switch (failure) {
        case FileFailure::NotFound:
            return ErrorKind::FileNotFound;
        case FileFailure::InvalidName:
            return ErrorKind::InvalidFileName;
        case FileFailure::TooManyOpen:
            return ErrorKind::TooManyOpenFiles;
        case FileFailure::AccessDenied:
            return ErrorKind::FileAccessDenied;
        case FileFailure::ReadBeyondEnd:
            return ErrorKind::ReadBeyondEnd;
        case FileFailure::DiskFull:
            return ErrorKind::DiskFull;
        case FileFailure::Other:
            break;
    }
    return ErrorKind::FileFailure;
}

std::string fileFailureText(FileFailure failure, int errnoValue) {
    if (failure != FileFailure::Other) {
        return errorKindText(errorKindOf(failure));
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
    const FileFailure failure = fileFailureOf(errnoValue);
    return ResourceError::withText(errorKindOf(failure), fileFailureText(failure, errnoValue),
                                   cause.empty() ? path : path + ": " + cause);
}

ResourceError readBeyondEnd(std::uint64_t offset, std::uint64_t wanted, std::uint64_t available) {
    const std::uint64_t found = offset < available ? available - offset : 0;
    return ResourceError(ErrorKind::ReadBeyondEnd,
                         "needed " + std::to_string(wanted) + " bytes at offset " +
                             std::to_string(offset) + ", found " + std::to_string(found));
}

ResourceError archiveChanged(const std::string& path) {
    return ResourceError(ErrorKind::ArchiveChanged, path);
}

ResourceError damaged(std::string what) {
    return ResourceError(ErrorKind::DamagedFile, std::move(what));
}

}  // namespace brasvel
