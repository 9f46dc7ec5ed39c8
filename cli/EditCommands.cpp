// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// create, add, remove and rename: the archive's edits, each all or nothing. Every input and name is
// checked before anything is written; the archive is then written beside itself and put in place
// in one step. An interrupt (Ctrl+C, SIGTERM, SIGHUP) stops the save and leaves the archive as it
// was.

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>

#include "archive/NamePattern.h"
#include "base/Platform.h"
#include "base/Text.h"
#include "base/Utf8Path.h"
#include "cli/ArchiveArguments.h"
#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "edit/ArchiveEdit.h"
#include "edit/InputNames.h"
#include "extract/BatchExtractor.h"

namespace brasvel::cli {
namespace {

namespace fs = std::filesystem;

constexpr unsigned kMostEditThreads = 64;

std::atomic<bool> interrupted{false};

void onInterrupt(int /*signal*/) { interrupted.store(true); }

// Interrupts stop the save between entries rather than the process in the middle of a write; one
// noted since the start of main stops it before the first. A reader of the summary that went away
// must not end the process once the archive is replaced.
void catchInterrupts() {
    platform::noteEveryInterrupt(onInterrupt);
    platform::ignoreBrokenPipes();
    if (InterruptWatch::received() != 0) {
        interrupted.store(true);
    }
}

// A refusal of the edit, or an input that cannot be used: nothing was written. Reported with the
// archive's path.
struct EditRefused {
    std::string what;
    int exitCode = kExitEntryFailed;
};

// How the writer's refusal is told: its own words, and what lets it through where something does.
EditRefused refusedBecause(const EditRefusal& refusal) {
    std::string what = refusal.detail().empty() ? refusal.text() : refusal.detail();
    if (dynamic_cast<const ArchiveProtected*>(&refusal) != nullptr) {
        what += " (--force replaces it all the same)";
    }
    return {what};
}

// --damaged keep|drop: what an edit does with the archive's damaged entries; refused without it.
DamagedEntries damagedOption(const Arguments& arguments) {
    const std::optional<std::string> value = arguments.value("--damaged");
    if (!value) {
        return DamagedEntries::Refuse;
    }
    if (*value == "keep") {
        return DamagedEntries::Keep;
    }
    if (*value == "drop") {
        return DamagedEntries::Drop;
    }
    throw UsageError("--damaged takes keep or drop, not '" + *value + "'");
}

SaveOptions saveOptions(const Arguments& arguments) {
    SaveOptions options;
    options.compress = !arguments.has("--store");
    options.level = static_cast<int>(numberOption(arguments, "--level", 1, kMostCompressionLevel)
                                         .value_or(kDefaultCompressionLevel));
    options.threads =
        numberOption(arguments, "--threads", 1, kMostEditThreads).value_or(defaultThreadCount());
    return options;
}

bool sameFile(const fs::path& a, const std::string& b) {
    platform::FileStatus first;
    platform::FileStatus second;
    return platform::statusOfTarget(platform::utf8Path(a), first) == 0 &&
           platform::statusOfTarget(b, second) == 0 && first.device == second.device &&
           first.index == second.index;
}

// The files the paths give: a file itself, a folder the files directly inside it (by name) but
// the archive itself. The archive named as a file is refused by the writer.
std::vector<fs::path> inputFiles(const std::vector<std::string>& paths, const std::string& archive) {
    std::vector<fs::path> files;
    for (const std::string& path : paths) {
        std::error_code error;
        if (fs::is_directory(platform::fileSystemPath(path), error)) {
            std::vector<fs::path> inside;
            for (const auto& item : fs::directory_iterator(platform::fileSystemPath(path), error)) {
                if (item.is_regular_file()) {
                    inside.push_back(item.path());
                }
            }
            if (error) {
                const FileFailure failure = fileFailureOf(error.value());
                throw ResourceError::withText(errorKindOf(failure),
                                              fileFailureText(failure, error.value()), path);
            }
            std::sort(inside.begin(), inside.end());
            std::erase_if(inside, [&](const fs::path& file) { return sameFile(file, archive); });
            files.insert(files.end(), inside.begin(), inside.end());
        } else if (fs::exists(platform::fileSystemPath(path), error)) {
            files.push_back(platform::fileSystemPath(path));
        } else {
            throw fileError(ENOENT, path);
        }
    }
    return files;
}

// Puts every file into the edit under its entry name. Two files of one name are refused.
void putFiles(ArchiveEdit& edit, const std::vector<fs::path>& files) {
    InputNames given;
    for (const fs::path& file : files) {
        const std::string fileName = platform::utf8Path(file.filename());
        const std::optional<std::string> name = entryNameForFile(edit.format(), fileName);
        if (!name) {
            throw EditRefused{platform::utf8Path(file) + ": not a " +
                              std::string(edit.format().writing.fileSuffix) + " file; a " +
                              std::string(edit.format().name) + " entry comes from NAME" +
                              std::string(edit.format().writing.fileSuffix)};
        }
        if (const auto earlier = given.claim(*name, platform::utf8Path(file))) {
            throw EditRefused{platform::utf8Path(file) + " and " + *earlier +
                              " give one entry name: " + *name};
        }
        try {
            edit.putFile(*name, platform::utf8Path(file));
        } catch (const EditRefusal& refusal) {
            throw refusedBecause(refusal);
        } catch (const ResourceError& error) {
            // An input that cannot be read is unusable, now as later while saving.
            throw EditRefused{platform::utf8Path(file) + ": " + error.describe(),
                              error.isFileFailure() ? kExitUnusable : kExitEntryFailed};
        }
    }
}

// The archive, its directory read whole, for editing.
Archive openForEdit(const std::string& path, const ArchiveFormat& format) {
    Archive archive = openArchive(path, format);
    if (const auto& error = archive.directoryError()) {
        throw ResourceError::withText(error->kind(), error->text(),
                                      path + ": " + error->describe() +
                                          "; an archive is edited only when all of its "
                                          "directory can be read");
    }
    return archive;
}

int refusal(const std::string& archive, const EditRefused& refused) {
    std::cerr << "brasvel-res: " << escapedControls(archive) << ": "
              << escapedControls(refused.what) << "; nothing was changed\n";
    return refused.exitCode;
}

// What the save did with damaged entries, said after its summary.
std::string damagedSummary(const ArchiveEdit& edit, const SaveOptions& options) {
    const std::size_t damaged = edit.damagedEntries().size();
    if (damaged == 0) {
        return {};
    }
    const std::string count =
        std::to_string(damaged) + " damaged " + (damaged == 1 ? "entry" : "entries");
    return options.damaged == DamagedEntries::Drop ? "; left out " + count
                                                   : "; kept " + count + " as stored";
}

// Saves under the lock the command holds. A refused edit exits 1; a disk, an input or an archive
// that fails exits 2 whichever stage it fails at; a damaged entry 1. Once the archive is in place
// the edit is done: a summary that cannot be printed is told on stderr, and the exit stays 0.
int saveEdit(const ArchiveEdit& edit, const std::string& path, SaveOptions options,
             const ArchiveLock& lock, const std::string& done) {
    options.lock = &lock;
    try {
        if (!edit.save(path, options, {}, &interrupted)) {
            std::cerr << "brasvel-res: " << escapedControls(path)
                      << ": interrupted; nothing was changed\n";
            return kExitUnusable;
        }
    } catch (const EditRefusal& refused) {
        return refusal(path, refusedBecause(refused));
    } catch (const DamagedEntriesRefused& damaged) {
        return refusal(path, {damaged.describe() +
                              "; --damaged keep keeps their bytes as stored, --damaged drop "
                              "leaves them out"});
    } catch (const ResourceError& error) {
        std::cerr << "brasvel-res: " << escapedControls(path) << ": ";
        if (!error.entry().empty()) {
            std::cerr << escapedControls(error.entry()) << ": ";
        }
        std::cerr << escapedControls(error.describe()) << "; nothing was changed\n";
        return error.entry().empty() || error.isFileFailure() ? kExitUnusable : kExitEntryFailed;
    }
    editCommitted = true;
    std::cout << escapedControls(done) << damagedSummary(edit, options) << '\n';
    return kExitDone;
}

// The archive's lock for the whole command, or the refusal when another editor holds it.
std::optional<ArchiveLock> lockArchive(const std::string& path, int& refusedCode) {
    try {
        return ArchiveLock::take(path);
    } catch (const ArchiveBusy& busy) {
        refusedCode = refusal(path, refusedBecause(busy));
        return std::nullopt;
    }
}

std::string entriesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

// The entry that `name` gives (findEntryOrFile). A name that several entries bear only in other
// cases is refused, naming them.
std::optional<std::size_t> findEntry(const ArchiveEdit& edit, const std::string& name) {
    try {
        return findEntryOrFile(edit.format(), edit.entries(), name);
    } catch (const ResourceError& error) {
        throw EditRefused{error.describe()};
    }
}

bool patternNames(const std::string& pattern, const Entry& entry) {
    for (const std::string& name : {editName(entry), shownText(entry.caption)}) {
        if (pattern == name || matchesPattern(pattern, name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int createCommand(const std::vector<std::string>& args) {
    catchInterrupts();
    const Arguments arguments(args, {"--kind", "--level", "--threads"}, {"--store", "--force"});
    if (arguments.positional().size() < 2) {
        throw UsageError("create takes an archive and the files or folders to put in it");
    }
    const std::string& path = arguments.positional()[0];
    const std::vector<std::string> inputs(arguments.positional().begin() + 1,
                                          arguments.positional().end());
    const ArchiveFormat& format = chooseFormat(path, arguments.value("--kind"));
    SaveOptions options = saveOptions(arguments);
    options.existing = arguments.has("--force") ? ExistingFile::Replace : ExistingFile::Refuse;
    options.replaceProtected = arguments.has("--force");
    platform::FileStatus status;
    if (!arguments.has("--force") && platform::statusOfPath(path, status) == 0) {
        return refusal(path, {"the archive exists; --force replaces it"});
    }
    int refusedCode = kExitEntryFailed;
    const std::optional<ArchiveLock> lock = lockArchive(path, refusedCode);
    if (!lock) {
        return refusedCode;
    }
    ArchiveEdit edit(format);
    try {
        putFiles(edit, inputFiles(inputs, path));
    } catch (const EditRefused& refused) {
        return refusal(path, refused);
    }
    return saveEdit(edit, path, options, *lock,
                    "created " + path + ": " + entriesText(edit.entries().size()));
}

int addCommand(const std::vector<std::string>& args) {
    catchInterrupts();
    const Arguments arguments(args, {"--kind", "--level", "--threads", "--damaged"},
                              {"--store", "--force"});
    if (arguments.positional().size() < 2) {
        throw UsageError("add takes an archive and the files or folders to add");
    }
    const std::string& path = arguments.positional()[0];
    const std::vector<std::string> inputs(arguments.positional().begin() + 1,
                                          arguments.positional().end());
    const ArchiveFormat& format = chooseFormat(path, arguments.value("--kind"));
    SaveOptions options = saveOptions(arguments);
    options.replaceProtected = arguments.has("--force");
    int refusedCode = kExitEntryFailed;
    const std::optional<ArchiveLock> lock = lockArchive(path, refusedCode);
    if (!lock) {
        return refusedCode;
    }
    options.damaged = damagedOption(arguments);
    ArchiveEdit edit(openForEdit(path, format));
    const std::size_t before = edit.entries().size();
    std::vector<fs::path> files;
    try {
        files = inputFiles(inputs, path);
        putFiles(edit, files);
    } catch (const EditRefused& refused) {
        return refusal(path, refused);
    }
    const std::size_t added = edit.entries().size() - before;
    return saveEdit(
        edit, path, options, *lock,
        path + ": added " + entriesText(added) + ", replaced " + entriesText(files.size() - added));
}

int removeCommand(const std::vector<std::string>& args) {
    catchInterrupts();
    const Arguments arguments(args, {"--kind", "--damaged"}, {"--force"});
    if (arguments.positional().size() < 2) {
        throw UsageError("remove takes an archive and the entries to remove");
    }
    const std::string& path = arguments.positional()[0];
    const ArchiveFormat& format = chooseFormat(path, arguments.value("--kind"));
    int refusedCode = kExitEntryFailed;
    const std::optional<ArchiveLock> lock = lockArchive(path, refusedCode);
    if (!lock) {
        return refusedCode;
    }
    ArchiveEdit edit(openForEdit(path, format));
    std::vector<bool> doomed(edit.entries().size(), false);
    for (auto pattern = arguments.positional().begin() + 1; pattern != arguments.positional().end();
         ++pattern) {
        bool named = false;
        std::optional<std::size_t> byName;
        try {
            byName = findEntry(edit, *pattern);
        } catch (const EditRefused& refused) {
            return refusal(path, refused);
        }
        for (std::size_t k = 0; k < edit.entries().size(); ++k) {
            if (patternNames(*pattern, edit.entries()[k]) || byName == k) {
                doomed[k] = true;
                named = true;
            }
        }
        if (!named) {
            return refusal(path, {*pattern + ": " + kNoSuchEntry});
        }
    }
    const auto count = static_cast<std::size_t>(std::count(doomed.begin(), doomed.end(), true));
    for (std::size_t k = doomed.size(); k-- > 0;) {
        if (doomed[k]) {
            edit.remove(k);
        }
    }
    SaveOptions options;
    options.replaceProtected = arguments.has("--force");
    options.damaged = damagedOption(arguments);
    return saveEdit(edit, path, options, *lock, path + ": removed " + entriesText(count));
}

int renameCommand(const std::vector<std::string>& args) {
    catchInterrupts();
    const Arguments arguments(args, {"--kind", "--damaged"}, {"--force"});
    if (arguments.positional().size() != 3) {
        throw UsageError("rename takes an archive, an entry's name and its new name");
    }
    const std::string& path = arguments.positional()[0];
    const std::string& oldName = arguments.positional()[1];
    std::string newName = arguments.positional()[2];
    const ArchiveFormat& format = chooseFormat(path, arguments.value("--kind"));
    int refusedCode = kExitEntryFailed;
    const std::optional<ArchiveLock> lock = lockArchive(path, refusedCode);
    if (!lock) {
        return refusedCode;
    }
    ArchiveEdit edit(openForEdit(path, format));
    std::optional<std::size_t> index;
    try {
        index = findEntry(edit, oldName);
    } catch (const EditRefused& refused) {
        return refusal(path, refused);
    }
    if (!index) {
        return refusal(path, {oldName + ": " + kNoSuchEntry});
    }
    if (!format.writing.fileSuffix.empty()) {
        newName = entryNameForFile(format, newName).value_or(newName);
    }
    try {
        edit.rename(*index, newName);
    } catch (const ResourceError& error) {
        return refusal(path, {newName + ": " + error.describe()});
    }
    SaveOptions options;
    options.replaceProtected = arguments.has("--force");
    options.damaged = damagedOption(arguments);
    return saveEdit(edit, path, options, *lock, path + ": renamed " + oldName + " to " + newName);
}

}  // namespace brasvel::cli
