// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// find, grep, diff and merge: many archives at once, straight on the core's search, comparison
// and merge. Troubles with one archive or entry are said on stderr and the command goes on; the
// exit code then says 2, whatever was found.

#include <atomic>
#include <iostream>
#include <memory>
#include <sstream>

#include "archive/NamePattern.h"
#include "base/Platform.h"
#include "base/Text.h"
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "edit/ArchiveMerge.h"
#include "extract/ArchiveDiff.h"
#include "extract/ArchiveSearch.h"
#include "extract/BatchExtractor.h"

namespace brasvel::cli {
namespace {

constexpr int kExitMatched = 0;
constexpr int kExitNone = 1;  // nothing matched, the archives differ, a conflict refused

std::atomic<bool> interrupted{false};

void onInterrupt(int /*signal*/) {
    interrupted.store(true);
}

// Output gathered and written a few thousand lines at a time: bounded for any number of lines.
class Lines {
public:
    std::ostream& text() { return buffer_; }
    void lineDone() {
        if (++lines_ % kLinesPerWrite == 0) {
            flush();
        }
    }
    void flush() {
        std::cout << buffer_.str();
        buffer_.str({});
    }

private:
    static constexpr std::size_t kLinesPerWrite = 4096;
    std::ostringstream buffer_;
    std::size_t lines_ = 0;
};

// A path or name as printed: its control bytes written as \xNN, as list shows names.
std::string shown(std::string_view text) {
    return escapedControls(text);
}
std::string entryShown(const Entry& entry) {
    return shown(shownText(entry.fileName));
}

// Says each trouble on stderr (after what was printed so far) and counts it.
class Troubles {
public:
    explicit Troubles(Lines* lines = nullptr) : lines_(lines) {}
    void operator()(const SearchTrouble& trouble) {
        if (lines_ != nullptr) {
            lines_->flush();
        }
        std::cout.flush();
        std::cerr << "brasvel-res: " << shown(trouble.archive) << ": ";
        if (!trouble.entry.empty()) {
            std::cerr << shown(trouble.entry) << ": ";
        }
        std::cerr << trouble.text << '\n';
        ++count_;
    }
    TroubleSink sink() {
        return [this](const SearchTrouble& trouble) { (*this)(trouble); };
    }
    std::size_t count() const { return count_; }

private:
    Lines* lines_;
    std::size_t count_ = 0;
};

int searchExit(const Troubles& troubles, bool matched) {
    return troubles.count() > 0 ? kExitUnusable : matched ? kExitMatched : kExitNone;
}

// `text` (UTF-8) in Windows-1250. Throws UsageError naming `what` when it cannot be written so.
std::string inCodePage(const std::string& text, const std::string& what) {
    std::optional<std::string> bytes = encodeWindows1250(text);
    if (!bytes) {
        throw UsageError(what + " " + text + " has a character that Windows-1250 cannot write");
    }
    return *bytes;
}

std::string entriesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

// The archive at `path`, its directory read whole, for comparing or merging.
std::shared_ptr<const Archive> openWhole(const std::string& path) {
    auto archive = std::make_shared<const Archive>(openArchiveOfAnyKind(path));
    if (const auto& error = archive->directoryError()) {
        throw ResourceError::withText(
            error->kind(), error->text(),
            path + ": " + error->describe() + "; its directory cannot be read whole");
    }
    return archive;
}

// Saves `edit` to `path`; says what went wrong and returns false when it did not.
bool saved(const ArchiveEdit& edit, const std::string& path) {
    platform::noteEveryInterrupt(onInterrupt);
    SaveOptions options;
    options.threads = defaultThreadCount();
    try {
        if (edit.save(path, options, {}, &interrupted)) {
            return true;
        }
        std::cerr << "brasvel-res: " << shown(path) << ": interrupted; nothing was changed\n";
    } catch (const ResourceError& error) {
        std::cerr << "brasvel-res: " << shown(path) << ": ";
        if (!error.entry().empty()) {
            std::cerr << shown(error.entry()) << ": ";
        }
        std::cerr << error.describe() << "; nothing was changed\n";
    }
    return false;
}

void printJsonNames(std::ostream& out, const Archive& archive,
                    const std::vector<std::size_t>& indices) {
    out << '[';
    for (std::size_t k = 0; k < indices.size(); ++k) {
        out << (k == 0 ? "" : ", ")
            << jsonString(shownText(archive.entries()[indices[k]].fileName));
    }
    out << ']';
}

std::vector<std::size_t> changedInA(const ArchiveDifference& difference) {
    std::vector<std::size_t> indices;
    for (const auto& [inA, inB] : difference.changed) {
        indices.push_back(inA);
    }
    return indices;
}

void printDifference(const Archive& a, const Archive& b, const ArchiveDifference& difference,
                     bool json) {
    Lines lines;
    std::ostream& out = lines.text();
    if (json) {
        out << "{\"only_in_a\": ";
        printJsonNames(out, a, difference.onlyInA);
        out << ", \"only_in_b\": ";
        printJsonNames(out, b, difference.onlyInB);
        out << ", \"changed\": ";
        printJsonNames(out, a, changedInA(difference));
        out << ", \"same\": " << difference.same << "}\n";
        lines.flush();
        return;
    }
    const auto print = [&](const std::string& what, const Archive& archive,
                           const std::vector<std::size_t>& indices) {
        for (const std::size_t index : indices) {
            out << what << entryShown(archive.entries()[index]) << '\n';
            lines.lineDone();
        }
    };
    print("only in " + shown(a.path()) + ": ", a, difference.onlyInA);
    print("only in " + shown(b.path()) + ": ", b, difference.onlyInB);
    print("changed: ", a, changedInA(difference));
    lines.flush();
}

// Writes the patch of `difference`; says what it holds and what it cannot carry.
bool exportPatch(const std::shared_ptr<const Archive>& a, const std::shared_ptr<const Archive>& b,
                 const ArchiveDifference& difference, const std::string& patch, bool json) {
    if (platform::sameFile(patch, a->path()) || platform::sameFile(patch, b->path())) {
        std::cerr << "brasvel-res: " << shown(patch)
                  << ": the patch cannot be written over an archive compared\n";
        return false;
    }
    std::optional<ArchiveEdit> edit;
    try {
        edit.emplace(patchEdit(b, difference));
    } catch (const ResourceError& error) {
        std::cerr << "brasvel-res: " << shown(b->path()) << ": " << shown(error.entry()) << ": "
                  << error.describe() << "; no patch was written\n";
        return false;
    }
    if (!saved(*edit, patch)) {
        return false;
    }
    if (!json) {
        std::cout << "exported " << shown(patch) << ": " << entriesText(edit->entries().size())
                  << '\n';
        for (const std::size_t index : difference.onlyInA) {
            std::cout << "not removed by " << shown(patch) << ": "
                      << entryShown(a->entries()[index]) << '\n';
        }
    }
    return true;
}

MergeWinner winnerOf(const Arguments& arguments) {
    const std::optional<std::string> prefer = arguments.value("--prefer");
    if (!prefer) {
        return MergeWinner::None;
    }
    if (*prefer == "into") {
        return MergeWinner::Into;
    }
    if (*prefer == "from") {
        return MergeWinner::From;
    }
    throw UsageError("--prefer must be into or from, not " + *prefer);
}

void printPlan(const MergePlan& plan, const Archive& into,
               const std::vector<std::shared_ptr<const Archive>>& froms) {
    Lines lines;
    std::ostream& out = lines.text();
    for (const MergeStep& step : plan.steps) {
        const std::string name = shown(step.name);
        const std::string from = shown(froms[step.from]->path());
        switch (step.kind) {
            case MergeStep::Kind::Add:
                out << "add: " << name << " (from " << from << ")\n";
                break;
            case MergeStep::Kind::Replace:
                out << "replace: " << name << " (from " << from << ")\n";
                break;
            case MergeStep::Kind::KeepInto:
                out << "keep: " << name << " (" << shown(into.path()) << "'s copy, not " << from
                    << "'s)\n";
                break;
            case MergeStep::Kind::Conflict:
                out << "conflict: " << name << " (" << from << " holds other content)\n";
                break;
        }
        lines.lineDone();
    }
    lines.flush();
}

}  // namespace

int findCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {}, {"--json"});
    if (arguments.positional().size() < 2) {
        throw UsageError("find takes a pattern and the archives or folders to look in");
    }
    const std::string pattern = foldedText(inCodePage(arguments.positional()[0], "the pattern"));
    const std::vector<std::string> paths(arguments.positional().begin() + 1,
                                         arguments.positional().end());
    const bool json = arguments.has("--json");
    Lines lines;
    Troubles troubles(&lines);
    std::size_t found = 0;
    if (json) {
        lines.text() << '[';
    }
    forEachArchive(
        paths,
        [&](const Archive& archive) {
            const auto matches = [&](std::string_view name) {
                return matchesPattern(pattern, name);
            };
            for (const std::size_t index : findEntries(archive, matches)) {
                const Entry& entry = archive.entries()[index];
                if (json) {
                    lines.text() << (found == 0 ? "" : ", ")
                                 << "{\"archive\": " << jsonString(archive.path())
                                 << ", \"entry\": " << jsonString(shownText(entry.fileName))
                                 << ", \"size\": " << entry.size << '}';
                } else {
                    lines.text() << shown(archive.path()) << ": " << entryShown(entry) << '\n';
                }
                ++found;
                lines.lineDone();
            }
        },
        troubles.sink());
    if (json) {
        lines.text() << "]\n";
    }
    lines.flush();
    return searchExit(troubles, found > 0);
}

int grepCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {}, {"--json"});
    if (arguments.positional().size() < 2) {
        throw UsageError("grep takes a text and the archives or folders to look in");
    }
    const std::string& text = arguments.positional()[0];
    if (text.empty()) {
        throw UsageError("grep takes a text that is not empty");
    }
    inCodePage(text, "the text");
    const std::optional<ContentSearch> search = ContentSearch::forText(text);
    const std::vector<std::string> paths(arguments.positional().begin() + 1,
                                         arguments.positional().end());
    const bool json = arguments.has("--json");
    Lines lines;
    Troubles troubles(&lines);
    std::size_t found = 0;
    ContentBuffers buffers;
    if (json) {
        lines.text() << '[';
    }
    forEachArchive(
        paths,
        [&](const Archive& archive) {
            for (const Entry& entry : archive.entries()) {
                const auto print = [&](const ContentSearch::Match& match) {
                    std::ostream& out = lines.text();
                    if (json) {
                        out << (found == 0 ? "" : ", ")
                            << "{\"archive\": " << jsonString(archive.path())
                            << ", \"entry\": " << jsonString(shownText(entry.fileName))
                            << ", \"line\": " << match.line
                            << ", \"text\": " << jsonString(match.text) << '}';
                    } else if (match.line == 0) {
                        out << shown(archive.path()) << ": " << entryShown(entry)
                            << ": binary entry matches\n";
                    } else {
                        out << shown(archive.path()) << ": " << entryShown(entry) << ':'
                            << match.line << ": " << shown(match.text) << '\n';
                    }
                    ++found;
                    lines.lineDone();
                };
                try {
                    search->search(archive, entry, buffers, print);
                } catch (const ResourceError& error) {
                    troubles({archive.path(), shownText(entry.fileName), error.describe()});
                }
            }
        },
        troubles.sink());
    if (json) {
        lines.text() << "]\n";
    }
    lines.flush();
    return searchExit(troubles, found > 0);
}

int diffCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"--export"}, {"--json"});
    if (arguments.positional().size() != 2) {
        throw UsageError("diff takes two archives");
    }
    const auto a = openWhole(arguments.positional()[0]);
    const auto b = openWhole(arguments.positional()[1]);
    if (&a->format() != &b->format()) {
        std::cerr << "brasvel-res: " << shown(a->path()) << " is a " << a->format().name
                  << " archive, " << shown(b->path()) << " a " << b->format().name
                  << " one: only archives of one kind compare\n";
        return kExitUnusable;
    }
    const bool json = arguments.has("--json");
    Troubles troubles;
    const ArchiveDifference difference = compareArchives(*a, *b, troubles.sink());
    printDifference(*a, *b, difference, json);
    if (troubles.count() > 0) {
        if (arguments.value("--export")) {
            std::cerr << "brasvel-res: no patch was written\n";
        }
        return kExitUnusable;
    }
    if (const auto patch = arguments.value("--export");
        patch && !exportPatch(a, b, difference, *patch, json)) {
        return kExitUnusable;
    }
    return difference.differs() ? kExitNone : kExitMatched;
}

int mergeCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"--prefer"}, {"--dry-run"});
    if (arguments.positional().size() < 2) {
        throw UsageError("merge takes an archive to merge into and the archives to merge");
    }
    const MergeWinner winner = winnerOf(arguments);
    const std::string& intoPath = arguments.positional()[0];
    const auto into = openWhole(intoPath);
    std::vector<std::shared_ptr<const Archive>> froms;
    for (auto path = arguments.positional().begin() + 1; path != arguments.positional().end();
         ++path) {
        froms.push_back(openWhole(*path));
    }
    Troubles troubles;
    const MergePlan plan = planMerge(*into, froms, winner, troubles.sink());
    printPlan(plan, *into, froms);
    const std::string into_ = shown(intoPath);
    if (troubles.count() > 0) {
        std::cerr << "brasvel-res: " << into_ << ": nothing was changed\n";
        return kExitUnusable;
    }
    if (const std::size_t conflicts = plan.count(MergeStep::Kind::Conflict); conflicts > 0) {
        std::cerr << "brasvel-res: " << into_ << ": " << conflicts
                  << (conflicts == 1 ? " conflict" : " conflicts")
                  << "; nothing was changed (--prefer into or --prefer from settles them)\n";
        return kExitNone;
    }
    const std::size_t added = plan.count(MergeStep::Kind::Add);
    const std::size_t replaced = plan.count(MergeStep::Kind::Replace);
    if (arguments.has("--dry-run")) {
        std::cout << into_ << ": would add " << entriesText(added) << ", replace "
                  << entriesText(replaced) << "; nothing was written\n";
        return kExitDone;
    }
    if (!plan.changesInto()) {
        std::cout << into_ << ": nothing to merge\n";
        return kExitDone;
    }
    std::optional<ArchiveEdit> edit;
    try {
        edit.emplace(mergeEdit(*into, froms, plan));
    } catch (const ResourceError& error) {
        std::cerr << "brasvel-res: " << into_ << ": " << shown(error.entry()) << ": "
                  << error.describe() << "; nothing was changed\n";
        return kExitEntryFailed;
    }
    if (!saved(*edit, intoPath)) {
        return kExitUnusable;
    }
    std::cout << into_ << ": added " << entriesText(added) << ", replaced " << entriesText(replaced)
              << '\n';
    return kExitDone;
}

}  // namespace brasvel::cli
