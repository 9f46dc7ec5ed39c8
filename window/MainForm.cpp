// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/MainForm.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <set>
#include <vector>

#include "base/Text.h"
#include "base/Utf8Path.h"
#include "extract/AtomicFile.h"
#include "extract/BatchExtractor.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"
#include "window/PreviewController.h"
#include "window/VideoPreview.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

constexpr int kCountPanel = 0;
constexpr int kSizePanel = 1;
constexpr int kFileNamePanel = 2;
constexpr int kStoredSizePanel = 3;
// The count panel's width, and its width while it also tells how many rows the list shows.
constexpr int kCountPanelWidth = 100;
constexpr int kWideCountPanel = 250;


std::string number(std::int64_t value) { return std::to_string(value); }

// A path made absolute and normal, as the recent archives keep it; as given when it cannot be.
std::string wholePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(platform::fileSystemPath(path), error);
    return error ? path : platform::utf8Path(absolute.lexically_normal());
}

// A folder as the user is told it: a relative one ("." beside an archive opened by a relative
// path) as the absolute path it stands for, ending in a separator on every system.
std::string shownFolder(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path path = platform::fileSystemPath(folder);
    if (path.is_absolute()) {
        return folder;
    }
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? folder : platform::utf8Path((absolute / "").lexically_normal());
}

}  // namespace

// The preview; its video player is the one the window's list and sound handlers close and pause.
struct MainForm::Impl {
    Impl(WindowToolkit& ui, WavePlayer& player, const ArchiveSession& session)
        : preview(ui, player, session), video(preview.video()) {}

    PreviewController preview;
    VideoPreview& video;
};

MainForm::MainForm(WindowToolkit& ui, WavePlayer& player)
    : ui_(ui),
      player_(player),
      ownSettings_(std::make_unique<MemorySettings>()),
      settings_(*ownSettings_),
      impl_(std::make_unique<Impl>(ui, player, session_)) {
    connectToolkit();
}

MainForm::MainForm(WindowToolkit& ui, WavePlayer& player, WindowSettings& settings)
    : ui_(ui), player_(player), settings_(settings),
      impl_(std::make_unique<Impl>(ui, player, session_)) {
    connectToolkit();
    loadSettings();
}

MainForm::~MainForm() {
    if (ui_.events() == this) {
        ui_.setEvents(nullptr);
    }
}

void MainForm::connectToolkit() {
    editing_.chooseOtherPath = [this] { return askSaveAsPath(); };
    ui_.setEvents(this);
    impl_->preview.onDamage = [this](std::size_t index, const std::string& what) {
        noteDamage(index, what);
    };
    refreshCommands();
}

// The message of an error that ended a handler; an entry's failure names the entry.
std::string MainForm::messageOf(const ResourceError& error) const {
    if (error.entry().empty()) {
        return describe(error);
    }
    return texts::fillIn(text(texts::kEntryError), {error.entry(), describe(error)});
}

// The error's text in the window's language, and where it happened as the core says it.
std::string MainForm::describe(const ResourceError& error) const {
    return texts::describeError(error, [this](const char* source) { return text(source); });
}

// --- Remembered settings ---

void MainForm::loadSettings() {
    extractDir_ = settings_.extractFolder();
    list_.setLook(settings_.listLook());
    list_.setOrder(settings_.sortColumn(), settings_.sortAscending());
    ui_.setRecentArchives(settings_.recentArchives());
}

// The archive opened goes first in the recent archives, once.
void MainForm::rememberRecent(const std::string& path) {
    settings_.rememberRecent(wholePath(path));
    ui_.setRecentArchives(settings_.recentArchives());
}

void MainForm::forgetRecent(const std::string& path) {
    settings_.forgetRecent(wholePath(path));
    ui_.setRecentArchives(settings_.recentArchives());
}

// --- Start-up and opening archives ---

void MainForm::FormCreate(const std::string& appPath, const std::string& argument) {
    startDir_ = appPath + "data";
    const int widths[] = {kCountPanelWidth, 100, 300, 100};
    for (int panel = 0; panel < 4; ++panel) {
        ui_.setStatusWidth(panel, widths[panel]);
    }
    session_.nameUnopened(argument);
    if (argument.empty()) {
        return;
    }
    ui_.setStatusText(kFileNamePanel, texts::fillIn(text(texts::kFileName), {argument}));
    ui_.repaintWindow();
    if (const ArchiveFormat* format = formatFromPath(argument, LetterCase::Single)) {
        guarded([&] { readArchive(argument, *format); });
    } else if (formatFromPath(argument) == nullptr) {
        // No kind in its name: its bytes tell, as for a dropped file.
        guarded([&] { openByKind(argument); });
    }
}

void MainForm::ToolButton1Click() { openThroughDialog(); }
void MainForm::LoadResurceFile1Click() { openThroughDialog(); }

void MainForm::openThroughDialog() {
    guarded([&] {
        // Beside the open archive; the game's data folder while none is open.
        std::string folder = startDir_;
        if (!session_.path().empty()) {
            const std::string beside = platform::folderOfPath(session_.path());
            folder = beside.empty() ? std::string(".") : beside;
        }
        const std::optional<OpenChoice> choice = ui_.runOpenDialog(folder, openFilters());
        if (!choice || !settleExternalEdits() || !editing_.settleUnsaved(session_.path())) {
            return;
        }
        // The filter the user chose, not the file's extension, decides how it is read.
        const auto formats = archiveFormats();
        const int filter = choice->filterIndex;
        if (filter >= 1 && static_cast<std::size_t>(filter) <= formats.size()) {
            openAs(choice->path, *formats[static_cast<std::size_t>(filter - 1)]);
        } else {
            closeArchive();
            session_.nameUnopened(choice->path);
            list_.show();
        }
    });
}

void MainForm::openAs(const std::string& path, const ArchiveFormat& format) {
    player_.close();
    // The preview stays as the user set it: shown, it shows the new archive's selected entry.
    closeArchive();
    session_.nameUnopened(path);
    ui_.setStatusText(kFileNamePanel, texts::fillIn(text(texts::kFileName), {path}));
    list_.show();
    ui_.repaintWindow();
    readArchive(path, format);
}

void MainForm::openByKind(const std::string& path) {
    if (!settleExternalEdits() || !editing_.settleUnsaved(session_.path())) {
        return;
    }
    const ArchiveFormat* format = ArchiveSession::kindOf(path);
    if (format == nullptr) {
        throw ResourceError::worded(texts::fillIn(text(texts::kNotAnArchive), {path}));
    }
    openAs(path, *format);
}

void MainForm::openRecent(std::size_t position) {
    guarded([&] {
        if (position >= settings_.recentArchives().size()) {
            return;
        }
        const std::string path = settings_.recentArchives()[position];
        std::error_code error;
        if (!std::filesystem::is_regular_file(platform::fileSystemPath(path), error)) {
            forgetRecent(path);
            ui_.reportError(texts::fillIn(text(texts::kRecentMissing), {path}));
            return;
        }
        // The list keeps only archives that open: one that no longer does leaves it.
        try {
            openByKind(path);
        } catch (const ResourceError&) {
            if (session_.archive() == nullptr || session_.path() != path) {
                forgetRecent(path);
            }
            throw;
        }
    });
}

void MainForm::filesDropped(const std::vector<std::string>& paths) {
    guarded([&] {
        if (paths.size() == 1 && formatFromPath(paths.front()) != nullptr) {
            openByKind(paths.front());
        } else if (session_.archive() != nullptr) {
            addFiles(paths);
        } else if (paths.size() == 1) {
            openByKind(paths.front());
        } else if (!paths.empty()) {
            ui_.reportError(text(texts::kDropOneArchive));
        }
    });
}

// One filter per archive format, in the order of archiveFormats(): filter N opens the file as
// archiveFormats()[N - 1].
std::vector<OpenFilter> MainForm::openFilters() const {
    std::vector<OpenFilter> filters;
    for (const ArchiveFormat* format : archiveFormats()) {
        OpenFilter filter{asciiUpperText(format->name),
                          std::string(windowKindOf(*format).dialogPattern)};
        for (const texts::FilterText& named : texts::kOpenFilters) {
            if (named.format == format->name) {
                filter.text = text(named.text);
            }
        }
        filters.push_back(std::move(filter));
    }
    return filters;
}

void MainForm::forgetListedContent() {
    impl_->preview.listChanged();
    dropListOverlays();
}

void MainForm::closeArchive() {
    impl_->video.close();
    forgetListedContent();
    session_.close();
    list_.clear();
    selection_.reset(0);
    resetFrameScroll();  // the former sprite's frame row goes with it
    ui_.setArchiveTitle("");
    clearPreview(text(texts::kNoSelection));
    ui_.setStatusText(kSizePanel, "");
    ui_.setStatusText(kStoredSizePanel, "");
    totalText_.clear();
    showTypeItemText();
    showEditState();
}

// The type box shows its item's text again where a sprite's type was shown.
void MainForm::showTypeItemText() {
    const int item = ui_.selectedTypeIndex();
    if (item >= 0 && item < kTypeItemCount) {
        ui_.setTypeBoxText(kTypeItems[static_cast<std::size_t>(item)].text);
    }
}

// Opens the archive at `path` and lists it. The tool bar's progress bar rises as the directory
// is read and goes back to 0 once the list is filled. A directory that ends early keeps the rows
// read so far, and its error is shown after them.
void MainForm::readArchive(const std::string& path, const ArchiveFormat& format) {
    closeArchive();
    ui_.setListVisible(true);
    const WindowKind& shown = windowKindOf(format);
    const auto listingProgress = [this, &shown](std::size_t entriesRead) {
        const std::size_t entry = entriesRead - 1;
        if (entry < kListedEntries && entry % static_cast<std::size_t>(shown.listingEvery) == 0) {
            ui_.setProgressPosition(ProgressBarId::Toolbar,
                                    ui_.progressPosition(ProgressBarId::Toolbar) +
                                        shown.listingStep);
        }
    };
    const auto askOtherKind = [&](const ArchiveFormat& likely) {
        const std::string name = platform::fileNameOfPath(path);
        return ui_.askOkCancel(
            text(texts::kOtherKindCaption),
            texts::fillIn(text(texts::kOtherKindQuestion),
                          {name, asciiUpperText(format.name), asciiUpperText(likely.name)}));
    };
    if (!session_.open(path, format, listingProgress, askOtherKind)) {
        return;
    }
    const Archive& archive = *session_.archive();
    selection_.reset(archive.entries().size());
    rememberRecent(path);
    ui_.setArchiveTitle(platform::fileNameOfPath(path));
    showTotal(archive.statedCount());

    list_.listArchive(archive.format(), kListedEntries);
    list_.show();
    showListedCount();
    selectListedRow(list_.listedEntries().empty() ? -1 : 0);
    if (PreviewOn() && SelectedRow() >= 0) {
        showSelectedRow(SelectedRow());  // the preview left on shows the new archive's entry
    } else if (const Entry* entry = selectedEntry()) {
        showSizes(*entry);  // the panels describe the row highlighted
    }
    showEditState();
    showDamageCount();
    // An error past the entries the list shows lies where the window never reads.
    if (archive.directoryError() && archive.entries().size() < kListedEntries) {
        throw *archive.directoryError();
    }
    ui_.setProgressPosition(ProgressBarId::Toolbar, 0);
    if (archive.statedCount() > static_cast<std::int32_t>(kListedEntries)) {
        ui_.reportNotice(texts::fillIn(text(texts::kListCut),
                                       {number(archive.statedCount()), number(kListedEntries)}));
    }
    if (&archive.format() == &kSndFormat) {
        prepareSound();
    }
}

// "Total Files: N": the count the header states, cut to what the list can show, 0 when negative.
void MainForm::showTotal(std::int32_t statedCount) {
    if (statedCount == 0 && session_.archive()->directoryError()) {
        return;  // the count itself could not be read: the panel keeps what it showed
    }
    const std::int64_t total =
        std::clamp<std::int64_t>(statedCount, 0, static_cast<std::int64_t>(kListedEntries));
    totalText_ = texts::fillIn(text(texts::kTotalFiles), {number(total)});
    showListedCount();
}

// While the type box or the search narrows the list, the count panel adds how many rows of the
// entries the list can show it lists.
void MainForm::showListedCount() {
    if (totalText_.empty()) {
        return;
    }
    const std::size_t listable = std::min(entries().size(), kListedEntries);
    const std::size_t listed = list_.listedEntries().size();
    const bool narrowed = session_.isOpen() &&
                          (ui_.selectedTypeIndex() != 0 || !list_.search().empty() ||
                           (list_.overlay() != nullptr && listed < listable));
    if (narrowed != countWidened_) {
        // The panel widens for the longer text, and narrows again after it.
        countWidened_ = narrowed;
        ui_.setStatusWidth(kCountPanel, narrowed ? kWideCountPanel : kCountPanelWidth);
    }
    ui_.setStatusText(kCountPanel,
                      !narrowed ? totalText_
                                : texts::fillIn(text(texts::kListedCount),
                                                {totalText_,
                                                 number(static_cast<std::int64_t>(listed)),
                                                 number(static_cast<std::int64_t>(listable))}));
}

bool MainForm::isLod() const {
    return session_.archive() != nullptr && &session_.archive()->format() == &kLodFormat;
}

void MainForm::selectListedRow(int row) {
    selection_.unmarkAll();
    focusRow(markRow(row, true) ? row : -1);
    ui_.selectRow(SelectedRow());
    refreshCommands();
}

bool MainForm::markRow(int row, bool selected) {
    if (entryAtRow(row) == nullptr) {
        return false;
    }
    selection_.mark(*list_.entryAt(row), selected);
    return true;
}

bool MainForm::isMarkedRow(int row) const {
    return entryAtRow(row) != nullptr && selection_.isMarked(*list_.entryAt(row));
}

void MainForm::focusRow(int row) {
    selection_.focus(entryAtRow(row) != nullptr ? list_.entryAt(row) : std::nullopt);
}

std::vector<std::size_t> MainForm::selectedEntries() const {
    return selection_.selectedOf(list_.listedEntries());
}

// --- Sorting and the list's look ---

void MainForm::sortList(ListColumn column, bool ascending) {
    guarded([&] {
        settings_.setSortOrder(column, ascending);
        list_.setOrder(column, ascending);
        if (session_.isOpen()) {
            list_.sort();
            list_.show();
            restoreSelection();
        }
    });
}

void MainForm::toggleListLook() {
    const ListLook look = list_.look() == ListLook::Icons ? ListLook::Details : ListLook::Icons;
    settings_.setListLook(look);
    list_.setLook(look);
}

const Entry* MainForm::entryAtRow(int row) const {
    // Between an edit or a save and the list rebuilt after it, rows may name entries gone.
    const std::optional<std::size_t> index = list_.entryAt(row);
    return session_.isOpen() && index && *index < entries().size()
               ? &entries()[*index]
               : nullptr;
}

// The selected sound, opened in the player ready to play. With no selected row in the new list
// there is nothing to prepare and the player stays closed.
void MainForm::prepareSound() {
    const Entry* entry = selectedEntry();
    if (entry == nullptr) {
        return;
    }
    player_.open(session_.content(*selection_.focused()));
}

void MainForm::ViewLod() { guarded([&] { relist(); }); }

void MainForm::searchEdited(const std::string& search) {
    if (contentSearchEdited(search)) {
        return;
    }
    list_.setSearch(search);
    guarded([&] { relist(); });
}

void MainForm::relist() {
    const int item = ui_.selectedTypeIndex();
    if (session_.isOpen()) {
        list_.listType(item, kListedEntries);
    } else {
        list_.clear();
    }
    list_.show();
    showListedCount();
    restoreSelection();
}

// After the list was rebuilt, the selection follows its entries that the new list shows; the
// others are no longer selected. The preview's entry stays when it is still shown, else there is
// none.
void MainForm::restoreSelection() {
    const std::vector<int> rows = selection_.keepListed(list_.listedEntries());
    const bool kept = selection_.focused().has_value();
    ui_.selectRows(rows, SelectedRow());
    if (!kept) {
        impl_->video.close();
        resetFrameScroll();
        clearPreview(text(texts::kNoSelection));
        ui_.setStatusText(kSizePanel, "");  // the sizes of no entry the list shows
        ui_.setStatusText(kStoredSizePanel, "");
    }
    refreshCommands();
}

// --- Extraction ---

std::string MainForm::targetFolder() const {
    if (!extractDir_.empty()) {
        return extractDir_;
    }
    // With no folder chosen, files go beside the open archive.
    const std::string folder = platform::folderOfPath(session_.path());
    return folder.empty() ? std::string(".") : folder;
}

void MainForm::showPictureSize(std::int32_t width, std::int32_t height) {
    impl_->preview.showPictureSize(width, height);
}

void MainForm::ToolButton2Click() { extractSelected(); }
void MainForm::SaveSingleFile1Click() { extractSelected(); }

void MainForm::extractSelected() {
    guarded([&] {
        const std::vector<std::size_t> chosen = selectedEntries();
        if (chosen.empty()) {
            return;
        }
        if (chosen.size() > 1) {
            extractBatch(chosen, shownKind().batchProgress);
            return;
        }
        const std::string folderPath = targetFolder();
        std::size_t skipped = 0;
        if (const auto kept = confirmOverwrites(chosen, folderPath, skipped);
            !kept || kept->empty()) {
            return;
        }
        TargetFolder folder(folderPath);
        session_.keepIntact(folder);
        std::set<std::string> written;
        const ExtractedEntry outcome = session_.extract(0, chosen.front(), folder, written);
        if (outcome.picture) {
            showPictureSize(outcome.picture->width, outcome.picture->height);
        }
        if (outcome.error) {
            throw *outcome.error;
        }
    });
    if (ui_.isListVisible()) {
        ui_.focusList();
    }
}

void MainForm::ToolButton5Click() { extractAll(BatchVariant::Toolbar); }
void MainForm::SaveSingleFile2Click() { extractAll(BatchVariant::Menu); }

void MainForm::extractAll(BatchVariant variant) {
    guarded([&] {
        if (!session_.path().empty()) {
            runBatch(variant);
        }
    });
    if (ui_.isListVisible()) {
        ui_.focusList();
    }
}

// Extracts every listed entry. A damaged entry fails alone and the batch goes on; Cancel stops it
// between two files (those finished stay, no part file is left). The progress panel always
// closes, and one summary says what was written and names what failed.
void MainForm::runBatch(BatchVariant variant) {
    const bool toolbar = variant == BatchVariant::Toolbar;
    const char* question = toolbar  ? texts::kToolbarBatchQuestion
                           : isLod() ? texts::kMenuLodBatchQuestion
                                     : texts::kMenuBatchQuestion;
    if (!ui_.askOkCancel(text(texts::kQuestionCaption), text(question))) {
        ui_.setPanelVisible(PanelId::Extra, false);
        return;
    }
    if (!session_.isOpen()) {
        return;  // nothing is listed: nothing to write
    }
    const WindowKind& shown = shownKind();
    extractBatch(list_.view().entries, toolbar ? shown.batchProgress : shown.menuBatchProgress);
}

// Asks about each file of `indices` that is already in `folder`, until an answer for all.
std::optional<std::vector<std::size_t>> MainForm::confirmOverwrites(
    const std::vector<std::size_t>& indices, const std::string& folder, std::size_t& skipped) {
    std::vector<std::size_t> kept;
    kept.reserve(indices.size());
    std::optional<bool> forAll;  // overwrite (true) or skip (false) every later one
    for (const std::size_t index : indices) {
        std::string name;
        try {
            name = outputFileName(entries()[index], session_.formatOf(index), true);
        } catch (const ResourceError&) {
            kept.push_back(index);  // its extraction names the fault
            continue;
        }
        std::error_code error;
        const bool exists =
            std::filesystem::symlink_status(platform::fileSystemPath(platform::joinedPath(folder, name)),
                                            error)
                .type() !=
            std::filesystem::file_type::not_found;
        bool write = true;
        if (exists && !error) {
            if (forAll) {
                write = *forAll;
            } else {
                switch (ui_.askOverwrite(name, folder, indices.size() > 1)) {
                    case OverwriteAnswer::Overwrite:
                        break;
                    case OverwriteAnswer::Skip:
                        write = false;
                        break;
                    case OverwriteAnswer::OverwriteAll:
                        forAll = true;
                        break;
                    case OverwriteAnswer::SkipAll:
                        forAll = false;
                        write = false;
                        break;
                    case OverwriteAnswer::Cancel:
                        return std::nullopt;
                }
            }
        }
        if (write) {
            kept.push_back(index);
        } else {
            ++skipped;
        }
    }
    return kept;
}

void MainForm::extractBatch(const std::vector<std::size_t>& indices,
                            const BatchProgress& progress) {
    const std::string folderPath = targetFolder();
    std::size_t skipped = 0;
    const auto kept = confirmOverwrites(indices, folderPath, skipped);
    if (!kept) {
        return;  // cancelled: nothing written
    }
    TargetFolder folder(folderPath);
    session_.keepIntact(folder);
    folder.removeStaleTemporaries();  // left by a run that was killed outright
    // The panel closes on every way out, and before the summary is shown.
    struct PanelShown {
        WindowToolkit& ui;
        bool open = true;
        void close() {
            if (open) {
                ui.setPanelVisible(PanelId::Extra, false);
                ui.setProgressPosition(ProgressBarId::Batch, 0);
                open = false;
            }
        }
        ~PanelShown() { close(); }
    } panel{ui_};
    ui_.setPanelVisible(PanelId::Extra, true);

    // The format says how the batch's bar moves: by `advance` at every `step`-th row.
    const auto step =
        static_cast<std::size_t>(std::max(1, progress.step(static_cast<int>(kept->size()))));

    // The work writes the files off the window's thread and queues what became of each; the
    // window's thread takes them from the queue, in order, and shows them.
    std::mutex finishedMutex;
    std::vector<ExtractedEntry> finished;
    BackgroundTask task;
    task.total = kept->size();
    const auto note = [&](ExtractedEntry outcome) {
        task.setCurrent(outcome.fileName);
        {
            const std::lock_guard lock(finishedMutex);
            finished.push_back(std::move(outcome));
        }
        ++task.done;
        return task.goOn();
    };
    const auto work = [&] { session_.extractEach(*kept, folder, note); };

    std::size_t done = 0;
    std::vector<std::string> failed;
    const auto showFinished = [&] {
        std::vector<ExtractedEntry> taken;
        {
            const std::lock_guard lock(finishedMutex);
            taken.swap(finished);
        }
        for (const ExtractedEntry& outcome : taken) {
            if (outcome.picture) {
                showPictureSize(outcome.picture->width, outcome.picture->height);
            }
            if (outcome.error) {
                failed.push_back(messageOf(*outcome.error));  // the entry and why it failed
            } else {
                ++done;
            }
            if (outcome.position % step == 0) {
                ui_.setProgressPosition(
                    ProgressBarId::Batch,
                    ui_.progressPosition(ProgressBarId::Batch) + progress.advance);
            }
        }
    };
    ui_.runJob(Job{JobDisplay::BatchPanel, {}, work, showFinished}, task);
    const bool cancelled = task.cancel && done + failed.size() < kept->size();
    panel.close();
    const std::string summary =
        batchSummary(done, indices.size(), skipped, shownFolder(folderPath), failed, cancelled);
    if (failed.empty()) {
        ui_.reportNotice(summary);
    } else {
        ui_.reportError(summary);
    }
}

std::string MainForm::batchSummary(std::size_t done, std::size_t chosen, std::size_t skipped,
                                   const std::string& folder,
                                   const std::vector<std::string>& failed, bool cancelled) const {
    constexpr std::size_t kNamedFailures = 10;
    std::string summary = texts::fillIn(
        text(texts::kBatchSummary),
        {number(static_cast<std::int64_t>(done)), number(static_cast<std::int64_t>(chosen)), folder});
    if (!failed.empty()) {
        std::string names;
        for (std::size_t i = 0; i < failed.size() && i < kNamedFailures; ++i) {
            names += (i == 0 ? "" : "\n") + failed[i];
        }
        if (failed.size() > kNamedFailures) {
            names += "\n" + texts::fillIn(text(texts::kBatchMoreFailures),
                                          {number(static_cast<std::int64_t>(failed.size() -
                                                                            kNamedFailures))});
        }
        summary += "\n" + texts::fillIn(text(texts::kBatchFailures),
                                        {number(static_cast<std::int64_t>(failed.size())), names});
    }
    if (skipped > 0) {
        summary += "\n" + texts::fillIn(text(texts::kBatchSkipped),
                                        {number(static_cast<std::int64_t>(skipped))});
    }
    if (cancelled) {
        summary += "\n" + text(texts::kBatchCancelled);
    }
    return summary;
}

void MainForm::SetPathForExtract1Click() {
    guarded([&] {
        // The folder chosen so far, else the one beside the open archive.
        const std::string start = targetFolder();
        extractDir_.clear();
        extractDir_ = ui_.chooseFolder(text(texts::kFolderCaption), start).value_or("");
        if (!extractDir_.empty() && extractDir_.back() != '/') {
            extractDir_ += '/';
        }
        settings_.setExtractFolder(extractDir_);
    });
}

// Files dragged out are written as extract-all writes them; the folder is the drag's own, so
// nothing in it is asked about.
std::vector<std::string> MainForm::dragOut(const std::vector<int>& rows, const std::string& folder) {
    std::vector<std::string> written;
    guarded([&] {
        std::vector<std::size_t> indices;
        for (const int row : rows) {
            if (entryAtRow(row) != nullptr) {
                indices.push_back(*list_.entryAt(row));
            }
        }
        if (indices.empty()) {
            return;
        }
        TargetFolder target(folder);
        session_.keepIntact(target);
        std::vector<std::string> failed;
        const auto report = [&](const ExtractedEntry& outcome) {
            if (outcome.error) {
                failed.push_back(messageOf(*outcome.error));
            } else {
                written.push_back(platform::joinedPath(folder, outcome.fileName));
            }
            return true;
        };
        session_.extractEach(indices, target, report);
        if (!failed.empty()) {
            std::string names;
            for (const std::string& name : failed) {
                names += "\n" + name;
            }
            ui_.reportError(texts::fillIn(text(texts::kDragFailures), {names}));
        }
    });
    return written;
}

// --- Leaving ---

void MainForm::ToolButton4Click() {
    if (FormCloseQuery()) {
        ui_.closeWindow();
    }
}

void MainForm::Exittheprogram1Click() {
    if (FormCloseQuery()) {
        ui_.closeWindow();
    }
}

bool MainForm::FormCloseQuery() {
    bool mayClose = false;
    guarded(
        [&] { mayClose = settleExternalEdits() && editing_.settleUnsaved(session_.path()); });
    return mayClose;
}

void MainForm::FormClose() {
    guarded([&] {
        impl_->preview.stop();
        player_.close();
    });
    impl_->preview.forgetContent();
}

void MainForm::GeneralHelp1Click() { ui_.showHelp(); }
void MainForm::About2Click() { ui_.showAboutBox(); }

// --- Selection and preview ---

// Stops playback, forgets what was drawn, and puts the frame scroll bar back to frame 1, hidden.
void MainForm::resetFrameScroll() { preview().resetFrameScroll(); }

void MainForm::numitem(int row, bool selected) {
    if (!selected) {
        markRow(row, false);
        // The row that gains the selection, if any, is reported next; until then none is.
        if (row == SelectedRow()) {
            selection_.focus(std::nullopt);
        }
        refreshCommands();
        return;
    }
    selection_.unmarkAll();
    markRow(row, true);
    showSelectedRow(row);
}

void MainForm::selectionChanged(const std::vector<int>& deselected,
                                const std::vector<int>& selected, int current) {
    for (const int row : deselected) {
        markRow(row, false);
    }
    for (const int row : selected) {
        markRow(row, true);
    }
    // The focused row when it is selected, else one that just was, else the one shown so far.
    int shown = -1;
    if (isMarkedRow(current)) {
        shown = current;
    } else if (!selected.empty() && isMarkedRow(selected.back())) {
        shown = selected.back();
    } else if (isMarkedRow(SelectedRow())) {
        shown = SelectedRow();
    }
    if (shown < 0) {
        selection_.focus(std::nullopt);
        if (!selected.empty()) {
            showNewEntry(selected.back());
        }
    } else if (shown != SelectedRow()) {
        showSelectedRow(shown);
    }
    refreshCommands();
}

void MainForm::showSelectedRow(int row) {
    guarded([&] {
        impl_->video.close();
        resetFrameScroll();
        focusRow(row);
        refreshCommands();
        const Entry* entry = selectedEntry();
        if (entry == nullptr) {
            if (!showNewEntry(row)) {
                clearPreview(text(texts::kNoSelection));
            }
            return;
        }
        showSizes(*entry);
        if (!showComparedSides()) {
            preview().showSelected();
        }
    });
}

CommandState MainForm::commandState() const {
    CommandState state;
    state.entryCommands = !selection_.empty();
    const std::size_t selected = state.entryCommands ? selectedEntries().size() : 0;
    if (selected > 1) {
        state.extractItemText = texts::fillIn(text(texts::kExtractSelectedItem),
                                              {number(static_cast<std::int64_t>(selected))});
    }
    state.savePicture = impl_->preview.canSavePicture();
    state.exportSprite = impl_->preview.canExportSprite();
    state.playerButtons = player_.isOpen();
    state.comparing = comparing();
    state.edit = editCommandState();
    return state;
}

void MainForm::refreshCommands() {
    preview();  // told the entry selected now, for its commands
    ui_.setCommandState(commandState());
}

void MainForm::showSizes(const Entry& entry) {
    ui_.setStatusText(kSizePanel, texts::fillIn(text(texts::kFileSize), {number(entry.size)}));
    ui_.setStatusText(kStoredSizePanel,
                      texts::fillIn(text(texts::kStoredSize), {number(entry.packedSize)}));
}

void MainForm::showRowInPreview() {
    guarded([&] {
        if (selectedEntry() == nullptr) {
            return;
        }
        if (!PreviewOn()) {
            preview().toggle(false);  // shows the selected entry as it opens
        } else {
            preview().showSelected();
        }
    });
}

void MainForm::BitBtn3Click() { guarded([&] { preview().toggle(true); }); }
void MainForm::QuickView1Click() { guarded([&] { preview().toggle(false); }); }

bool MainForm::PreviewOn() const { return impl_->preview.isOn(); }
bool MainForm::Playing() const { return impl_->preview.isPlaying(); }
int MainForm::FramesPerSecond() const { return impl_->preview.framesPerSecond(); }

PreviewController& MainForm::preview() {
    // The entry the list's selected row shows, while it shows one.
    impl_->preview.select(selectedEntry() != nullptr ? selection_.focused() : std::nullopt);
    return impl_->preview;
}

void MainForm::clearPreview(const std::string& message) { preview().clear(message); }

void MainForm::scbChange() {
    guarded([&] { preview().frameScrollChanged(); });
}

void MainForm::noteDamage(std::size_t index, const std::string& what) {
    if (!session_.noteDamage(index, what)) {
        return;  // a file given for new content failed: that is no damage of the archive
    }
    list_.showDamaged(index);
    showDamageCount();
}

void MainForm::showDamageCount() {
    const std::size_t damaged = session_.damagedCount();
    const std::string name = session_.folder() != nullptr
                                 ? folderStatus()
                                 : texts::fillIn(text(texts::kFileName), {session_.path()});
    ui_.setStatusText(kFileNamePanel,
                      damaged == 0
                          ? name
                          : texts::fillIn(text(texts::kDamagedStatus),
                                          {name, number(static_cast<std::int64_t>(damaged))}));
}

void MainForm::Panel1Resize(int /*width*/, int /*height*/) {
    // Nothing to place: the toolkit's picture fills the panel above the frame row by its layout.
}

// --- Sprite playback, saving what the preview shows ---

void MainForm::PlayFramesClick() { guarded([&] { preview().playFrames(); }); }
void MainForm::FrameTimerTimer() { guarded([&] { preview().frameTimerTick(); }); }

void MainForm::FrameSpeedChange(int framesPerSecond) {
    guarded([&] { preview().setFramesPerSecond(framesPerSecond); });
}

void MainForm::SavePictureAsPngClick() {
    guarded([&] { preview().savePictureAsPng(targetFolder()); });
}

void MainForm::ExportSpriteClick() { guarded([&] { preview().exportSprite(); }); }

// --- Sound ---

void MainForm::playSound() {
    guarded([&] {
        if (!player_.isOpen()) {
            return;
        }
        if (!player_.hasOutput()) {
            impl_->preview.noteNoSoundDevice();
            if (!noDeviceSaid_) {
                noDeviceSaid_ = true;
                ui_.reportError(text(texts::kNoSoundDevice));
            }
            return;
        }
        player_.play();
    });
}

void MainForm::MediaPlayer1Click(PlayerButton /*button*/) {
    if (impl_->video.isPlaying()) {
        // The device plays the video's sound: either button stops the video with it.
        guarded([&] { impl_->video.pause(); });
        return;
    }
    guarded([&] {
        // A folder's list opens no sound beforehand, as a sound archive's does.
        if (session_.folder() == nullptr || player_.isOpen()) {
            player_.stop();
        }
        player_.close();
        if (session_.isOpen()) {
            prepareSound();
        }
    });
    if (ui_.isListVisible()) {
        ui_.focusList();
    }
}

// --- Video ---

void MainForm::setVideoOptions(video::VideoOptions options) {
    impl_->video.setOptions(std::move(options));
}

void MainForm::videoPlayPause() { videoHandler([&] { impl_->video.playPause(); }); }
void MainForm::videoStep(int delta) { videoHandler([&] { impl_->video.step(delta); }); }
void MainForm::videoSeek(int frame) { videoHandler([&] { impl_->video.seek(frame); }); }
void MainForm::videoTick() { videoHandler([&] { impl_->video.tick(); }); }

const VideoPreview& MainForm::videoPreview() const { return impl_->video; }

// A failing frame has closed the player; the preview says why, as for any other entry.
template <typename Body>
void MainForm::videoHandler(Body&& body) {
    guarded([&] { preview().previewing(body); });
}

}  // namespace brasvel
