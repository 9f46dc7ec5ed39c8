// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// MainForm's commands over two archives (comparison, its patch, merge) and the search inside
// entries, straight on the core's comparison, merge and search (extract/ArchiveDiff,
// edit/ArchiveMerge, extract/ArchiveSearch), laid over the list as ListOverlays.

#include <algorithm>
#include <filesystem>

#include "base/Platform.h"
#include "base/Text.h"
#include "base/Utf8Path.h"
#include "edit/ArchiveMerge.h"
#include "window/ArchiveComparison.h"
#include "window/ContentFinding.h"
#include "window/MainForm.h"
#include "window/ManyArchivesTexts.h"
#include "window/PreviewController.h"

namespace brasvel {

struct MainForm::ManyArchives {
    std::unique_ptr<ArchiveComparison> comparison;
    std::unique_ptr<ContentFindings> findings;
    bool contentMode = false;  // "w treści" ticked
    std::string boxText;       // the search box's text while it is
};

namespace {

std::string number(std::int64_t value) {
    return std::to_string(value);
}

// Troubles gathered for one report, a line each.
class TroubleLines {
public:
    TroubleSink sink() {
        return [this](const SearchTrouble& trouble) {
            std::string line = platform::fileNameOfPath(trouble.archive);
            if (!trouble.entry.empty()) {
                line += ": " + trouble.entry;
            }
            lines_.push_back(line + ": " + trouble.text);
        };
    }
    void add(const std::vector<SearchTrouble>& troubles) {
        for (const SearchTrouble& trouble : troubles) {
            sink()(trouble);
        }
    }
    bool empty() const { return lines_.empty(); }
    std::string text() const { return joined(lines_); }
    static std::string joined(const std::vector<std::string>& lines) {
        std::string all;
        for (const std::string& line : lines) {
            all += (all.empty() ? "" : "\n") + line;
        }
        return all;
    }

private:
    std::vector<std::string> lines_;
};

}  // namespace

MainForm::ManyArchives& MainForm::many() {
    if (!many_) {
        many_ = std::make_shared<ManyArchives>();
    }
    return *many_;
}

bool MainForm::comparing() const {
    return many_ && many_->comparison;
}

void MainForm::dropListOverlays() {
    if (!many_ || (!many_->comparison && !many_->findings)) {
        return;
    }
    many_->comparison.reset();
    many_->findings.reset();
    list_.setOverlay(nullptr);
    ui_.showStatusFilter({});
}

std::shared_ptr<const Archive> MainForm::chooseOtherArchive(const char* caption) {
    const std::vector<std::string> files =
        ui_.chooseFiles(text(caption), platform::folderOfPath(session_.path()), false);
    if (files.empty()) {
        return nullptr;
    }
    return openOtherArchive(files.front(), session_.archive()->format(),
                            [this](const char* source) { return text(source); });
}

// --- Comparison ---

void MainForm::CompareWithClick() {
    guarded([&] {
        if (session_.archive() == nullptr) {
            return;
        }
        const std::shared_ptr<const Archive> other = chooseOtherArchive(texts::kCompareCaption);
        if (!other) {
            return;
        }
        std::vector<SearchTrouble> troubles;
        auto comparison = ArchiveComparison::run(
            ui_, texts::fillIn(text(texts::kComparing), {platform::fileNameOfPath(other->path())}),
            session_, other, [this](const char* source) { return text(source); }, troubles);
        if (!comparison) {
            ui_.reportNotice(text(texts::kComparisonCancelled));
            return;
        }
        dropListOverlays();
        many().comparison = std::move(comparison);
        const ArchiveComparison& shown = *many_->comparison;
        list_.setOverlay(&shown);
        const auto item = [&](const char* status, std::size_t count) {
            return texts::fillIn(text(texts::kFilterItem),
                                 {text(status), number(static_cast<std::int64_t>(count))});
        };
        std::vector<std::string> items{
            item(texts::kStatusEvery, entries().size() + shown.count(ComparedStatus::New))};
        const char* const names[] = {texts::kStatusNew, texts::kStatusRemoved,
                                     texts::kStatusChanged, texts::kStatusSame};
        for (std::size_t k = 0; k < std::size(names); ++k) {
            items.push_back(item(names[k], shown.count(kFilteredStatuses[k])));
        }
        ui_.showStatusFilter(items);
        if (list_.look() != ListLook::Details) {
            toggleListLook();  // the status column shows in the details
        }
        relist();
        if (!troubles.empty()) {
            TroubleLines lines;
            lines.add(troubles);
            ui_.reportError(texts::fillIn(text(texts::kUnreadableEntries), {lines.text()}));
        }
    });
}

void MainForm::CloseComparisonClick() {
    guarded([&] {
        if (!comparing()) {
            return;
        }
        dropListOverlays();
        relist();
    });
}

void MainForm::statusFilterChosen(int item) {
    guarded([&] {
        if (!comparing()) {
            return;
        }
        many_->comparison->setFilter(filterOfItem(item));
        relist();
    });
    refreshCommands();
}

bool MainForm::showComparedSides() {
    const std::optional<std::size_t> index = selection_.focused();
    if (!comparing() || !PreviewOn() || !index ||
        many_->comparison->statusOf(*index) != ComparedStatus::Changed) {
        return false;
    }
    std::vector<std::byte> old;
    try {
        old = session_.content(*index);
    } catch (const ResourceError&) {
        return false;  // the usual preview says what is wrong with it
    }
    auto sides = many_->comparison->sideBySide(
        *index, entries()[*index], old,
        texts::fillIn(text(texts::kOldSide), {platform::fileNameOfPath(session_.path())}));
    if (!sides) {
        return false;
    }
    preview().clear({});
    ui_.setPanelHint(PanelId::Preview, entries()[*index].name);
    ui_.showSideBySide(sides->first, sides->second);
    return true;
}

bool MainForm::showNewEntry(int row) {
    const std::size_t listed = list_.listedEntries().size();
    if (!comparing() || !PreviewOn() || row < 0 || static_cast<std::size_t>(row) < listed ||
        static_cast<std::size_t>(row) - listed >= list_.extraRows().size()) {
        return false;
    }
    const std::size_t extra = list_.extraRows()[static_cast<std::size_t>(row) - listed];
    auto sides = many_->comparison->newEntrySides(
        extra, texts::fillIn(text(texts::kOldSide), {platform::fileNameOfPath(session_.path())}),
        text(texts::kAbsentSide));
    if (!sides) {
        return false;
    }
    preview().clear({});
    ui_.setPanelHint(PanelId::Preview, many_->comparison->extraEntries()[extra].name);
    ui_.showSideBySide(sides->first, sides->second);
    return true;
}

// --- The comparison's patch ---

void MainForm::ExportDifferencesClick() {
    guarded([&] {
        if (session_.archive() == nullptr) {
            return;
        }
        std::shared_ptr<const Archive> other;
        ArchiveDifference difference;
        TroubleLines troubles;
        if (comparing()) {
            other = many_->comparison->otherShared();
            difference = many_->comparison->difference();
            // The comparison said which ones it could not read.
            for (std::size_t index = 0; index < entries().size(); ++index) {
                if (many_->comparison->statusOf(index) == ComparedStatus::Unreadable) {
                    troubles.sink()({session_.path(), shownText(entries()[index].fileName),
                                     text(texts::kStatusUnreadable)});
                }
            }
        } else {
            other = chooseOtherArchive(texts::kExportDifferencesCaption);
            if (!other) {
                return;
            }
            std::vector<SearchTrouble> unread;
            const auto compared = ArchiveComparison::run(
                ui_,
                texts::fillIn(text(texts::kComparing), {platform::fileNameOfPath(other->path())}),
                session_, other, [this](const char* source) { return text(source); }, unread);
            if (!compared) {
                ui_.reportNotice(text(texts::kComparisonCancelled));
                return;
            }
            difference = compared->difference();
            troubles.add(unread);
        }
        if (difference.unreadable > 0) {
            ui_.reportError(texts::fillIn(text(texts::kUnreadableEntries), {troubles.text()}));
            return;
        }
        if (!difference.differs()) {
            ui_.reportNotice(text(texts::kNoDifferences));
            return;
        }
        const std::filesystem::path open = platform::fileSystemPath(session_.path());
        const std::string suggested =
            platform::utf8Path(open.parent_path() /
                               platform::fileSystemPath(platform::utf8Path(open.stem()) + "-patch" +
                                                        platform::utf8Path(open.extension())));
        OpenFilter filter{asciiUpperText(session_.archive()->format().name),
                          std::string(windowKindOf(session_.archive()->format()).dialogPattern)};
        const std::optional<std::string> path =
            ui_.chooseSavePath(text(texts::kExportDifferencesCaption), suggested, filter);
        if (!path) {
            return;
        }
        if (platform::sameFile(*path, session_.path()) ||
            platform::sameFile(*path, other->path())) {
            ui_.reportError(
                texts::fillIn(text(texts::kPatchOverCompared), {platform::fileNameOfPath(*path)}));
            return;
        }
        // The new and changed entries read whole, then written, off the window's thread.
        std::optional<ArchiveEdit> patch;
        BackgroundTask task;
        bool saved = false;
        ui_.runInBackground(
            texts::fillIn(text(texts::kWritingPatch), {platform::fileNameOfPath(*path)}), task,
            [&] {
                patch.emplace(patchEdit(other, difference));
                task.total = patch->entries().size();
                saved = patch->save(
                    *path, {},
                    [&task](std::size_t done, std::size_t total) {
                        task.total = total;
                        task.done = done;
                    },
                    &task.cancel);
            });
        if (!saved) {
            ui_.reportNotice(text(texts::kPatchCancelled));
            return;
        }
        std::string summary =
            texts::fillIn(text(texts::kPatchWritten),
                          {platform::fileNameOfPath(*path),
                           number(static_cast<std::int64_t>(patch->entries().size()))});
        if (!difference.onlyInA.empty()) {
            std::vector<std::string> removed;
            for (const std::size_t index : difference.onlyInA) {
                removed.push_back(shownText(entries()[index].fileName));
            }
            summary += "\n" + texts::fillIn(text(texts::kPatchKeepsRemoved),
                                            {TroubleLines::joined(removed)});
        }
        ui_.reportNotice(summary);
    });
}

// --- Merge ---

void MainForm::MergeWithClick() {
    guarded([&] {
        if (!session_.editable()) {
            return;
        }
        const std::shared_ptr<const Archive> other = chooseOtherArchive(texts::kMergeCaption);
        if (!other) {
            return;
        }
        const std::vector<std::shared_ptr<const Archive>> froms{other};
        const std::string otherName = platform::fileNameOfPath(other->path());
        // What the other archive brings, read off the window's thread.
        const std::unique_ptr<ComparedEntries> into = sessionEntries(session_);
        std::vector<SearchTrouble> unread;
        MergePlan plan;
        BackgroundTask task;
        ui_.runInBackground(texts::fillIn(text(texts::kReadingMerged), {otherName}), task, [&] {
            plan = planMerge(*into, froms, MergeWinner::None,
                             [&](const SearchTrouble& trouble) { unread.push_back(trouble); });
        });
        if (task.cancel) {
            ui_.reportNotice(text(texts::kMergeCancelled));
            return;
        }
        TroubleLines troubles;
        troubles.add(unread);
        // Keep all and take all answer the conflicts after them.
        MergeWinner every = MergeWinner::None;
        const std::vector<std::string> buttons{
            text(texts::kKeepButton), text(texts::kTakeButton), text(texts::kKeepAllButton),
            text(texts::kTakeAllButton), text(texts::kCancelChoiceButton)};
        const bool settled =
            plan.unreadable == 0 &&
            settleConflicts(
                plan, froms,
                [&](const MergeStep& conflict) {
                    if (every != MergeWinner::None) {
                        return every;
                    }
                    switch (ui_.askChoice(
                        text(texts::kMergeCaption),
                        texts::fillIn(text(texts::kConflictQuestion), {conflict.name, otherName}),
                        buttons)) {
                        case 0:
                            return MergeWinner::Into;
                        case 1:
                            return MergeWinner::From;
                        case 2:
                            return every = MergeWinner::Into;
                        case 3:
                            return every = MergeWinner::From;
                        default:
                            return MergeWinner::None;
                    }
                },
                troubles.sink());
        if (!troubles.empty()) {
            ui_.reportError(texts::fillIn(text(texts::kUnreadableEntries), {troubles.text()}));
            return;
        }
        if (!settled) {
            return;  // cancelled: nothing changed
        }
        if (!plan.changesInto()) {
            ui_.reportNotice(texts::fillIn(text(texts::kNothingToMerge), {otherName}));
            return;
        }
        EditState before = session_.state();
        const std::optional<std::string> selected = selectedName();
        // Carried out on a copy, so that a name the writer refuses changes nothing.
        ArchiveEdit& edit = beginEdit();
        ArchiveEdit merged = edit;
        applyMerge(merged, froms, plan);
        edit = std::move(merged);
        session_.record(std::move(before),
                        {texts::fillIn(text(texts::kMergeStep), {otherName}), selected, selected});
        showEdited(selected);
        ui_.reportNotice(texts::fillIn(
            text(texts::kMerged),
            {otherName, number(static_cast<std::int64_t>(plan.count(MergeStep::Kind::Add))),
             number(static_cast<std::int64_t>(plan.count(MergeStep::Kind::Replace)))}));
    });
}

// --- Search inside entries ---

void MainForm::contentSearchToggled(bool on) {
    guarded([&] {
        ManyArchives& state = many();
        if (state.contentMode == on) {
            return;
        }
        state.contentMode = on;
        if (on) {
            state.boxText = list_.search();
            list_.setSearch({});  // names no longer narrow the list
            if (!state.boxText.empty()) {
                runContentSearch();
            } else {
                relist();
            }
            return;
        }
        if (state.findings) {
            dropListOverlays();
        }
        list_.setSearch(state.boxText);
        relist();
    });
    refreshCommands();
}

bool MainForm::contentSearchEdited(const std::string& search) {
    if (!many_ || !many_->contentMode) {
        return false;
    }
    many_->boxText = search;
    if (search.empty() && many_->findings) {
        guarded([&] {
            dropListOverlays();
            relist();
        });
    }
    return true;
}

void MainForm::searchSubmitted() {
    guarded([&] {
        if (many_ && many_->contentMode && !many_->boxText.empty()) {
            runContentSearch();
        }
    });
}

void MainForm::runContentSearch() {
    if (!session_.isOpen()) {
        return;
    }
    const std::string wanted = many_->boxText;
    const std::optional<ContentSearch> search = ContentSearch::forText(wanted);
    if (!search) {
        ui_.reportError(texts::fillIn(text(texts::kTextNotInCodePage), {wanted}));
        return;
    }
    const ContentSearchRun run = searchContent(
        ui_, session_, *search, texts::fillIn(text(texts::kSearchingContent), {wanted}));
    dropListOverlays();
    many_->findings = std::make_unique<ContentFindings>(
        run, entries().size(), [this](const char* source) { return text(source); });
    list_.setOverlay(many_->findings.get());
    if (list_.look() != ListLook::Details) {
        toggleListLook();  // the lines found show in the details
    }
    relist();
    if (!run.troubles.empty()) {
        TroubleLines lines;
        for (const SearchTrouble& trouble : run.troubles) {
            lines.sink()(trouble);
        }
        ui_.reportError(texts::fillIn(text(texts::kUnreadableEntries), {lines.text()}));
    }
    if (run.cancelled) {
        ui_.reportNotice(texts::fillIn(text(texts::kSearchCancelled),
                                       {wanted, number(static_cast<std::int64_t>(run.searched)),
                                        number(static_cast<std::int64_t>(run.total))}));
    }
}

}  // namespace brasvel
