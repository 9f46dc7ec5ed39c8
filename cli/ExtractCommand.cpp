// extract: writes rows of the archive's view into a folder, as the window's extract-all does.
// verify: reads every entry as extraction would, writing nothing, and lists the damaged ones.

#include <fnmatch.h>

#include <iostream>
#include <sstream>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "base/Text.h"
#include "cli/Commands.h"
#include "cli/OpenedArchive.h"
#include "extract/BatchExtractor.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"

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

// A pattern names a row when it equals, or as a shell pattern matches, the entry's file name or
// the name it is written under.
bool patternNames(const std::string& pattern, const std::string& name) {
    return pattern == name || ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

// The rows the patterns name, in row order, each once. Patterns that name no row are collected.
std::vector<std::int32_t> chooseRows(const CatalogueModel& model, ArchiveKind kind, bool convert,
                                     const std::vector<std::string>& patterns,
                                     std::vector<std::string>& unmatched) {
    std::vector<std::int32_t> rows;
    std::vector<bool> matched(patterns.size(), false);
    for (std::int32_t row = 0; row < model.VisibleCount; ++row) {
        const CatalogueEntry& entry = model.entryAtRow(row);
        const std::string entryName = shownText(entryFileName(entry));
        const std::string writtenName = shownText(outputNameBytes(entry, kind, convert));
        bool chosen = patterns.empty();
        for (std::size_t i = 0; i < patterns.size(); ++i) {
            if (patternNames(patterns[i], entryName) || patternNames(patterns[i], writtenName)) {
                matched[i] = true;
                chosen = true;
            }
        }
        if (chosen) {
            rows.push_back(row);
        }
    }
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        if (!matched[i]) {
            unmatched.push_back(patterns[i]);
        }
    }
    return rows;
}

void reportFailure(const std::string& archive, const ResourceError& error) {
    std::cerr << "brasvel-res: " << archive << ": ";
    if (!error.entry().empty()) {
        std::cerr << error.entry() << ": ";
    }
    std::cerr << error.describe() << '\n';
}

}  // namespace

int extractCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"-o", "--kind", "--type", "--threads"}, {"--raw"});
    if (arguments.positional().empty()) {
        throw UsageError("extract takes an archive");
    }
    OpenedArchive archive;
    archive.path = arguments.positional()[0];
    const std::vector<std::string> patterns(arguments.positional().begin() + 1,
                                            arguments.positional().end());
    const ArchiveKind kind = chooseKind(archive.path, arguments.value("--kind"));
    std::optional<int> typeItem;
    if (auto item = arguments.value("--type")) {
        typeItem = chooseTypeItem(*item);
    }
    ExtractOptions options;
    options.convertPictures = !arguments.has("--raw");
    options.threads = chooseThreads(arguments.value("--threads"));
    const std::string folderPath = arguments.value("-o").value_or("");

    std::optional<ReadOnlyFile> file;
    std::optional<TargetFolder> folder;
    try {
        openArchiveView(archive, kind, typeItem, std::cerr);
        file.emplace(archive.path);
    } catch (const ResourceError& error) {
        reportFailure(archive.path, error);
        return kExitUnusable;
    }
    try {
        folder.emplace(folderPath);
        folder->keepIntact(archive.path);
    } catch (const ResourceError& error) {
        std::cerr << "brasvel-res: target folder: " << error.describe() << '\n';
        return kExitUnusable;
    }

    std::vector<std::string> unmatched;
    const std::vector<std::int32_t> rows =
        chooseRows(*archive.model, kind, options.convertPictures, patterns, unmatched);
    if (!unmatched.empty()) {
        for (const std::string& pattern : unmatched) {
            std::cerr << "brasvel-res: " << archive.path << ": " << pattern
                      << ": no entry of the list has this name\n";
        }
        return kExitUnusable;
    }

    const ExtractSource source{file->bytes(), *archive.model, kind, true};
    const BatchSummary summary =
        extractRows(source, rows, *folder, options, [&](const ExtractedRow& row) {
            if (!row.done()) {
                reportFailure(archive.path, *row.error);
            }
            return true;
        });
    std::cout << summary.done << " of " << rows.size() << " entries extracted into "
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
    OpenedArchive archive;
    archive.path = arguments.positional()[0];
    const ArchiveKind kind = chooseKind(archive.path, arguments.value("--kind"));
    std::optional<ReadOnlyFile> file;
    try {
        openArchiveView(archive, kind, std::nullopt, std::cerr);
        file.emplace(archive.path);
    } catch (const ResourceError& error) {
        reportFailure(archive.path, error);
        return kExitUnusable;
    }
    const CatalogueModel& model = *archive.model;
    std::vector<std::byte> buffer;
    int damagedCount = 0;
    std::ostringstream out;
    for (int number = 0; number < archive.report.listed; ++number) {
        const CatalogueEntry& entry = model.Catalogue[static_cast<std::size_t>(number)];
        try {
            entryContent(file->bytes(), entry, kind, buffer);
        } catch (const ResourceError& error) {
            ++damagedCount;
            out << entryLabel(entry, static_cast<std::uint16_t>(number)) << ": " << error.describe()
                << '\n';
        }
        releaseStoredPages(file->bytes(), entry, kind);
    }
    out << archive.report.listed << " entries checked, " << damagedCount << " damaged\n";
    std::cout << out.str();
    return damagedCount > 0 ? kExitEntryFailed : kExitDone;
}

}  // namespace brasvel::cli
