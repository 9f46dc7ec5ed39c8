// extract: writes the entries of the archive (those of --type, those the names pick) into a
// folder, as the window's extract-all does. verify: reads every entry as extraction would,
// writing nothing, and lists the damaged ones.

#include <fnmatch.h>

#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

#include "base/Text.h"
#include "cli/ArchiveArguments.h"
#include "cli/Commands.h"
#include "extract/BatchExtractor.h"
#include "extract/EntryContent.h"

namespace brasvel::cli {
namespace {

constexpr unsigned kMostThreads = 64;

unsigned chooseThreads(const std::optional<std::string>& value) {
    if (!value) {
        return defaultThreadCount();
    }
    unsigned threads = 0;
    std::istringstream in(*value);
    if (!(in >> threads) || !in.eof() || threads < 1 || threads > kMostThreads) {
        throw UsageError("--threads must be a number from 1 to " + std::to_string(kMostThreads) +
                         ", not " + *value);
    }
    return threads;
}

// A pattern names an entry when it equals, or as a shell pattern matches, the entry's file name or
// the name it is written under.
bool patternNames(const std::string& pattern, const std::string& name) {
    return pattern == name || ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

// The entries of `listed` that the patterns name, in directory order, each once; all of them when
// there is no pattern. Patterns that name no entry are collected.
std::vector<std::size_t> chooseEntries(const Archive& archive, const std::vector<std::size_t>& listed,
                                       bool convert, const std::vector<std::string>& patterns,
                                       std::vector<std::string>& unmatched) {
    if (patterns.empty()) {
        return listed;
    }
    std::vector<std::size_t> chosen;
    std::vector<bool> matched(patterns.size(), false);
    for (const std::size_t index : listed) {
        const Entry& entry = archive.entries()[index];
        const std::string entryName = decodeWindows1250(entry.fileName);
        const std::string writtenName = shownText(archive.format().outputName(entry, convert));
        bool named = false;
        for (std::size_t i = 0; i < patterns.size(); ++i) {
            if (patternNames(patterns[i], entryName) || patternNames(patterns[i], writtenName)) {
                matched[i] = true;
                named = true;
            }
        }
        if (named) {
            chosen.push_back(index);
        }
    }
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        if (!matched[i]) {
            unmatched.push_back(patterns[i]);
        }
    }
    return chosen;
}

void reportFailure(const std::string& archive, const ResourceError& error) {
    std::cerr << "brasvel-res: " << archive << ": ";
    if (!error.entry().empty()) {
        std::cerr << error.entry() << ": ";
    }
    std::cerr << error.describe() << '\n';
}

// The archive, its directory read whole; nullopt after reporting why it cannot be used.
std::optional<Archive> openWhole(const std::string& path, const ArchiveFormat& format) {
    try {
        Archive archive = Archive::open(path, format);
        if (const auto& error = archive.directoryError()) {
            reportFailure(path, *error);
            return std::nullopt;
        }
        return archive;
    } catch (const ResourceError& error) {
        reportFailure(path, error);
        return std::nullopt;
    }
}

}  // namespace

int extractCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"-o", "--kind", "--type", "--threads"}, {"--raw"});
    if (arguments.positional().empty()) {
        throw UsageError("extract takes an archive");
    }
    const std::string& path = arguments.positional()[0];
    const std::vector<std::string> patterns(arguments.positional().begin() + 1,
                                            arguments.positional().end());
    const ArchiveFormat& format = chooseFormat(path, arguments.value("--kind"));
    const std::optional<int> typeItem = chooseTypeItem(arguments.value("--type"));
    ExtractOptions options;
    options.convertPictures = !arguments.has("--raw");
    options.threads = chooseThreads(arguments.value("--threads"));
    const std::string folderPath = arguments.value("-o").value_or("");

    const std::optional<Archive> archive = openWhole(path, format);
    if (!archive) {
        return kExitUnusable;
    }
    std::optional<TargetFolder> folder;
    try {
        folder.emplace(folderPath);
        folder->keepIntact(path);
    } catch (const ResourceError& error) {
        std::cerr << "brasvel-res: target folder: " << error.describe() << '\n';
        return kExitUnusable;
    }

    std::vector<std::string> unmatched;
    const std::vector<std::size_t> chosen =
        chooseEntries(*archive, listedEntries(archive->entries(), typeItem).entries,
                      options.convertPictures, patterns, unmatched);
    if (!unmatched.empty()) {
        for (const std::string& pattern : unmatched) {
            std::cerr << "brasvel-res: " << path << ": " << pattern
                      << ": no entry of the list has this name\n";
        }
        return kExitUnusable;
    }

    BatchSummary summary;
    try {
        summary = extractEntries(*archive, chosen, *folder, options,
                                 [&](const ExtractedEntry& outcome) {
                                     if (!outcome.done()) {
                                         reportFailure(path, *outcome.error);
                                     }
                                     return true;
                                 });
    } catch (const ResourceError& error) {
        // The batch as a whole cannot start in this folder.
        std::cerr << "brasvel-res: target folder: " << error.describe() << '\n';
        return kExitUnusable;
    }
    std::cout << summary.done << " of " << chosen.size() << " entries extracted into "
              << (folderPath.empty() ? "." : folderPath);
    if (summary.failed > 0) {
        std::cout << "; " << summary.failed << " failed";
    }
    std::cout << '\n';
    return summary.failed > 0 ? kExitEntryFailed : kExitDone;
}

int verifyCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"--kind"}, {});
    if (arguments.positional().size() != 1) {
        throw UsageError("verify takes one archive");
    }
    const std::string& path = arguments.positional()[0];
    const ArchiveFormat& format = chooseFormat(path, arguments.value("--kind"));
    const std::optional<Archive> archive = openWhole(path, format);
    if (!archive) {
        return kExitUnusable;
    }
    const std::vector<Entry>& entries = archive->entries();
    std::vector<std::byte> buffer;
    int damagedCount = 0;
    std::ostringstream out;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const Entry& entry = entries[index];
        try {
            entryContent(archive->bytes(), entry, format, buffer);
        } catch (const ResourceError& error) {
            ++damagedCount;
            out << entryLabel(entry, index) << ": " << error.describe() << '\n';
        }
        if (archive->isMapped()) {
            releaseStoredPages(archive->bytes(), entry, format);
        }
    }
    out << entries.size() << " entries checked, " << damagedCount << " damaged\n";
    std::cout << out.str();
    return damagedCount > 0 ? kExitEntryFailed : kExitDone;
}

}  // namespace brasvel::cli
