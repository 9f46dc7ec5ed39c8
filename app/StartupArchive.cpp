#include "app/StartupArchive.h"

#include <algorithm>
#include <cctype>

#include "catalogue/DirectoryReaders.h"

namespace brasvel::app {

ArchiveKind mixedCaseKind(const std::string& path) {
    const ArchiveKind kind = kindFromPath(path);
    if (kind == ArchiveKind::None) {
        return kind;
    }
    const std::string last = path.substr(path.size() - 3);
    const auto isLower = [](unsigned char c) { return std::islower(c) != 0; };
    const auto isUpper = [](unsigned char c) { return std::isupper(c) != 0; };
    const bool oneCase = std::all_of(last.begin(), last.end(), isLower) ||
                         std::all_of(last.begin(), last.end(), isUpper);
    return oneCase ? ArchiveKind::None : kind;
}

}  // namespace brasvel::app
