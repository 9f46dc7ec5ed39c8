#include "catalogue/ResourceError.h"

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

std::string fileErrorText(int code) {
    switch (code) {
        case 2:
            return "File not found";
        case 3:
            return "Invalid filename";
        case 4:
            return "Too many open files";
        case 5:
            return "File access denied";
        case 100:
            return kReadBeyondEnd;
        case 101:
            return "Disk full";
        default:
            return "I/O error " + std::to_string(code);
    }
}

int fileErrorCode(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
        case ENOTDIR:
            return 2;
        case ENAMETOOLONG:
        case EINVAL:
        case EILSEQ:
            return 3;
        case EMFILE:
        case ENFILE:
            return 4;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EEXIST:
            return 5;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return 101;
        default:
            return errnoValue;
    }
}

ResourceError fileError(int errnoValue, const std::string& path) {
    return ResourceError(fileErrorText(fileErrorCode(errnoValue)), path);
}

ResourceError readBeyondEnd(std::uint64_t offset, std::uint64_t wanted, std::uint64_t available) {
    const std::uint64_t found = offset < available ? available - offset : 0;
    return ResourceError(kReadBeyondEnd, "needed " + std::to_string(wanted) + " bytes at offset " +
                                             std::to_string(offset) + ", found " +
                                             std::to_string(found));
}

ResourceError damaged(std::string what) { return ResourceError("Damaged file", std::move(what)); }

}  // namespace brasvel
