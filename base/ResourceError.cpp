#include "base/ResourceError.h"

#include <cerrno>

namespace brasvel {

ResourceError::ResourceError(std::string text, std::string detail)
    : std::runtime_error(text), text_(std::move(text)), detail_(std::move(detail)) {}

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
    return "I/O error " + std::to_string(errnoValue);
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
        case EDQUOT:
        case EFBIG:
            return FileFailure::DiskFull;
        default:
            return FileFailure::Other;
    }
}

ResourceError fileError(int errnoValue, const std::string& path) {
    return ResourceError(fileFailureText(fileFailureOf(errnoValue), errnoValue), path);
}

ResourceError readBeyondEnd(std::uint64_t offset, std::uint64_t wanted, std::uint64_t available) {
    const std::uint64_t found = offset < available ? available - offset : 0;
    return ResourceError(kReadBeyondEnd, "needed " + std::to_string(wanted) + " bytes at offset " +
                                             std::to_string(offset) + ", found " +
                                             std::to_string(found));
}

ResourceError damaged(std::string what) { return ResourceError("Damaged file", std::move(what)); }

}  // namespace brasvel
