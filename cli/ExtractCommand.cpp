// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// extract: writes the entries of the archive (those of --type, those the names pick) into a
// folder, as the window's extract-all does. verify: reads every entry as extraction would,
// writing nothing, and lists the damaged ones.

#include <algorithm>
#include <csignal>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "archive/NamePattern.h"
#include "base/Text.h"
#include "cli/ArchiveArguments.h"
#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "extract/BatchExtractor.h"
#include "extract/EntryCheck.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"

namespace brasvel::cli {
namespace {

constexpr unsigned kMostThreads = 64;

// A pattern names an entry when it equals, or as a shell pattern matches, the entry's caption,
// its file name or the name it is written under (for a sound: "BELL.Wav", "BELL.WAV", "BELL.wav").
bool patternNames(const std::string& pattern, const std::string& name) {
    return pattern == name || matchesPattern(pattern, name);
}

// The entries of `listed` that the patterns name, in directory order, each once; all of them when
// there is no pattern. Patterns that name no entry are collected.
std::vector<std::size_t> chooseEntries(const Archive& archive,
                                       const std::vector<std::size_t>& listed,
                                       const ExtractOptions& options,
                                       const std::vector<std::string>& patterns,
                                       std::vector<std::string>& unmatched) {
    if (patterns.empty()) {
        return listed;
    }
    std::vector<std::size_t> chosen;
    std::vector<bool> matched(patterns.size(), false);
    for (const std::size_t index : listed) {
        const Entry& entry = archive.entries()[index];
        const std::string names[] = {
            decodeWindows1250(entry.caption),
            decodeWindows1250(entry.fileName),
            shownText(extractedName(entry, archive.format(), options)),
        };
        bool named = false;
        for (std::size_t i = 0; i < patterns.size(); ++i) {
            if (std::any_of(std::begin(names), std::end(names), [&](const std::string& name) {
                    return patternNames(patterns[i], name);
                })) {
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
    std::cerr << "brasvel-res: " << escapedControls(archive) << ": ";
    if (!error.entry().empty()) {
        std::cerr << escapedControls(error.entry()) << ": ";
    }
    std::cerr << escapedControls(error.describe()) << '\n';
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

// The first chosen entry whose file would be the archive itself (by any name that leads to it);
// nullopt when none would.
std::optional<std::size_t> entryOverArchive(const Archive& archive,
                                            const std::vector<std::size_t>& chosen,
                                            const TargetFolder& folder,
                                            const ExtractOptions& options) {
    for (const std::size_t index : chosen) {
        try {
            const std::string name =
                extractedFileName(archive.entries()[index], archive.format(), options);
            if (folder.isKeptIntact(name)) {
                return index;
            }
        } catch (const ResourceError&) {
            // an unsafe name fails alone, later
        }
    }
    return std::nullopt;
}

const char* signalName(int signal) { return signal == SIGINT ? "SIGINT" : "SIGTERM"; }

}  // namespace

int extractCommand(const std::vector<std::string>& args) {
    // From the start: a signal before the batch stops it before its first entry.
    const InterruptWatch watch;
    const Arguments arguments(args, {"-o", "--kind", "--type", "--threads"}, {"--raw", "--png"});
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
    if (arguments.has("--png")) {
        if (arguments.has("--raw")) {
            throw UsageError("--png converts pictures and --raw keeps them as stored: give one");
        }
        options.pictureFormat = PictureFormat::Png;
    }
    options.threads =
        numberOption(arguments, "--threads", 1, kMostThreads).value_or(defaultThreadCount());
    const std::string folderPath = arguments.value("-o").value_or("");
    if (arguments.value("-o") && folderPath.empty()) {
        throw UsageError("-o '' names no folder; leave -o out for the current folder");
    }

    const std::optional<Archive> archive = openWhole(path, format);
    if (!archive) {
        return kExitUnusable;
    }
    std::optional<TargetFolder> folder;
    try {
        folder.emplace(folderPath);
        folder->keepIntact(archive->file()->device(), archive->file()->inode());
        folder->removeStaleTemporaries();
    } catch (const ResourceError& error) {
        std::cerr << "brasvel-res: target folder: " << escapedControls(error.describe()) << '\n';
        return kExitUnusable;
    }

    std::vector<std::string> unmatched;
    const std::vector<std::size_t> listed =
        listedEntries(archive->format(), archive->entries(), typeItem).entries;
    const std::vector<std::size_t> chosen =
        chooseEntries(*archive, listed, options, patterns, unmatched);
    if (!unmatched.empty()) {
        for (const std::string& pattern : unmatched) {
            std::cerr << "brasvel-res: " << escapedControls(path) << ": "
                      << escapedControls(pattern) << ": no entry of the list has this name\n";
        }
        return kExitUnusable;
    }

    // No entry is ever written over the archive itself: the whole run is refused before any.
    if (const auto index = entryOverArchive(*archive, chosen, *folder, options)) {
        std::cerr << "brasvel-res: " << escapedControls(path) << ": "
                  << entryLabel(archive->entries()[*index], *index)
                  << " would be written over the archive itself; nothing was extracted\n";
        return kExitUnusable;
    }

    BatchSummary summary;
    int signal = 0;
    try {
        if (InterruptWatch::received() == 0) {
            summary = extractEntries(*archive, chosen, *folder, options,
                                     [&](const ExtractedEntry& outcome) {
                                         if (!outcome.done()) {
                                             reportFailure(path, *outcome.error);
                                         }
                                         return InterruptWatch::received() == 0;
                                     });
        }
        signal = InterruptWatch::received();
    } catch (const ResourceError& error) {
        // The batch as a whole cannot start in this folder.
        std::cerr << "brasvel-res: target folder: " << escapedControls(error.describe()) << '\n';
        return kExitUnusable;
    }
    const std::size_t reached = static_cast<std::size_t>(summary.done + summary.failed);
    std::cout << summary.done << " of " << chosen.size() << " entries extracted into "
              << escapedControls(folderPath.empty() ? "." : folderPath);
    if (summary.failed > 0) {
        std::cout << "; " << summary.failed << " failed";
    }
    std::cout << '\n';
    if (signal != 0) {
        std::cout.flush();
        std::cerr << "brasvel-res: interrupted by " << signalName(signal) << " after " << reached
                  << " of " << chosen.size() << " entries; the rest were not written\n";
        return InterruptWatch::exitCode(signal);
    }
    if (reached < chosen.size()) {
        std::cerr << "brasvel-res: " << escapedControls(path) << ": " << chosen.size() - reached
                  << " entries were not extracted\n";
        return kExitEntryFailed;
    }
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
    // Written as it goes (stdout is buffered).
    const Verification found =
        verifyArchive(*archive, [&](std::size_t index, const std::string& what) {
            std::cout << entryLabel(entries[index], index) << ": " << escapedControls(what) << '\n';
        });
    if (found.failure) {
        std::cout.flush();
        std::cerr << "brasvel-res: " << escapedControls(path) << ": "
                  << escapedControls(found.failure->describe()) << "; "
                  << entries.size() - found.checked << " of " << entries.size()
                  << " entries not checked\n";
        return kExitUnusable;
    }
    std::cout << found.checked << " entries checked, " << found.damaged << " damaged\n";
    return found.damaged > 0 ? kExitEntryFailed : kExitDone;
}

}  // namespace brasvel::cli
