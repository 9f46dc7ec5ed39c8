// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "toolkit/HeadlessToolkit.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <stdexcept>
#include <thread>
#include <type_traits>
#include <utility>

namespace brasvel {

namespace {

// The next scripted reply of a dialog, taken from the front of `replies`; `unscripted` when the
// test gave none.
template <typename Reply>
Reply takeReply(std::deque<Reply>& replies, std::type_identity_t<Reply> unscripted) {
    if (replies.empty()) {
        return unscripted;
    }
    Reply reply = std::move(replies.front());
    replies.pop_front();
    return reply;
}

}  // namespace
namespace {

HeadlessRow& rowAt(std::vector<HeadlessRow>& rows, int row) {
    if (row < 0 || row >= static_cast<int>(rows.size())) {
        throw std::out_of_range("no list row " + std::to_string(row));
    }
    return rows[static_cast<std::size_t>(row)];
}

int& statusSlot(std::array<int, kStatusPanelCount>& slots, int panel) {
    return slots.at(static_cast<std::size_t>(panel));
}

}  // namespace

void HeadlessToolkit::focusList() {
    if (listVisible) {
        ++focusCount;
    }
}

void HeadlessToolkit::endListUpdate() {
    if (updateDepth > 0) {
        --updateDepth;
    }
    ++finishedUpdates;
}

int HeadlessToolkit::appendRow() {
    rows.emplace_back();
    return static_cast<int>(rows.size()) - 1;
}

void HeadlessToolkit::setRowNote(int row, std::string_view note) {
    rowAt(rows, row).note = note;
}

void HeadlessToolkit::setRowCaption(int row, std::string_view entryBytes) {
    rowAt(rows, row).caption = entryBytes;
}

void HeadlessToolkit::setRowImage(int row, int image) { rowAt(rows, row).image = image; }

void HeadlessToolkit::setCommandState(const CommandState& state) {
    commands = state;
    ++commandStateChanges;
}
void HeadlessToolkit::setRowChanged(int row, bool changed) { rowAt(rows, row).changed = changed; }
void HeadlessToolkit::setRowDamaged(int row, bool damaged) {
    rowAt(rows, row).damaged = damaged;
}
void HeadlessToolkit::setRowDetails(int row, const RowDetails& details) {
    HeadlessRow& shown = rowAt(rows, row);
    shown.type = details.type;
    shown.size = details.size;
    shown.storedSize = details.storedSize;
    shown.offset = details.offset;
    shown.archive = details.archive;
    shown.shadows = details.shadows;
    shown.shadowed = details.shadowed;
}

void HeadlessToolkit::selectRow(int row) {
    selectedRow = row;
    selectedRows.clear();
    if (row >= 0) {
        selectedRows.push_back(row);
    }
}

void HeadlessToolkit::selectRows(std::span<const int> chosen, int current) {
    selectedRows.assign(chosen.begin(), chosen.end());
    selectedRow = current;
}

void HeadlessToolkit::setStatusText(int panel, std::string_view text) {
    noteThread();
    statusTexts.at(static_cast<std::size_t>(panel)) = text;
}

void HeadlessToolkit::setStatusWidth(int panel, int width) {
    statusSlot(statusWidths, panel) = width;
}

int HeadlessToolkit::progressPosition(ProgressBarId bar) const {
    return bar == ProgressBarId::Toolbar ? toolbarProgress : batchProgress;
}

void HeadlessToolkit::setProgressPosition(ProgressBarId bar, int position) {
    noteThread();
    const int shown = std::clamp(position, 0, kProgressMaximum);
    if (bar == ProgressBarId::Toolbar) {
        toolbarProgress = shown;
        toolbarProgressHistory.push_back(shown);
    } else {
        batchProgress = shown;
        batchProgressHistory.push_back(shown);
    }
}

void HeadlessToolkit::setPanelVisible(PanelId panel, bool visible) {
    noteThread();
    (panel == PanelId::Extra ? extraVisible : previewVisible) = visible;
}

bool HeadlessToolkit::isPanelVisible(PanelId panel) const {
    return panel == PanelId::Extra ? extraVisible : previewVisible;
}

void HeadlessToolkit::setPanelHint(PanelId panel, std::string_view entryBytes) {
    if (panel == PanelId::Preview) {
        previewHint = std::string(entryBytes.substr(0, entryBytes.find('\0')));
    }
}

void HeadlessToolkit::showPicture(std::span<const std::byte> bmpFile, PictureKind kind) {
    noteThread();
    picture.assign(bmpFile.begin(), bmpFile.end());
    pictureKind = kind;
    previewMessage.clear();
    drawingFigures.clear();
    previewPage = PreviewPage::Image;
    ++pictureLoads;
}

void HeadlessToolkit::showPreviewMessage(std::string_view text) {
    noteThread();
    picture.clear();
    drawingFigures.clear();
    previewMessage = text;
    previewPage = PreviewPage::Image;
}

void HeadlessToolkit::showPreviewText(std::string_view text, std::string_view note) {
    previewText = text;
    pageNote = note;
    previewPage = PreviewPage::Text;
    picture.clear();
}

void HeadlessToolkit::showSideBySide(const ComparedView& old, const ComparedView& now) {
    noteThread();
    sideOld = old;
    sideNew = now;
    previewPage = PreviewPage::SideBySide;
    picture.clear();
    previewMessage.clear();
}

void HeadlessToolkit::showPalette(std::span<const SwatchColour> colours) {
    paletteShown.assign(colours.begin(), colours.end());
    previewPage = PreviewPage::Colours;
    picture.clear();
}

void HeadlessToolkit::showHexView(std::span<const std::byte> bytes, std::string_view note) {
    hexBytes.assign(bytes.begin(), bytes.end());
    pageNote = note;
    previewPage = PreviewPage::Hex;
    picture.clear();
}

void HeadlessToolkit::showDrawing(std::span<const std::byte> bmpFile, std::string_view figures) {
    noteThread();
    picture.assign(bmpFile.begin(), bmpFile.end());
    pictureKind = PictureKind::Picture;
    previewMessage.clear();
    drawingFigures = figures;
    previewPage = PreviewPage::Image;
    ++pictureLoads;
}

std::optional<std::string> HeadlessToolkit::askSavePath(std::string_view /*caption*/,
                                                        std::string_view suggestedPath) {
    saveSuggestions.emplace_back(suggestedPath);
    return takeReply(saveReplies, std::nullopt);
}

void HeadlessToolkit::frameTimerFires() {
    if (frameTimerInterval > 0 && events() != nullptr) {
        events()->frameTimerTicked();
    }
}

void HeadlessToolkit::showVideoFrame(std::span<const std::uint8_t> rgb, int width, int height) {
    videoFrame.assign(rgb.begin(), rgb.end());
    videoWidth = width;
    videoHeight = height;
    previewPage = PreviewPage::Video;
    ++videoFrameShows;
}

void HeadlessToolkit::setVideoPosition(int frame, int frames, std::string_view text) {
    videoPosition = frame;
    videoFrames = frames;
    videoPositionText = text;
}

void HeadlessToolkit::setVideoPlaying(bool playing, int tickMs) {
    videoPlaying = playing;
    videoTickMs = playing ? tickMs : 0;
}


void HeadlessToolkit::setFrameScrollMinimum(int minimum) {
    scrollMinimum = minimum;
    if (scrollPosition < minimum) {
        setFrameScrollPosition(minimum);
    }
}

void HeadlessToolkit::setFrameScrollMaximum(int maximum) {
    scrollMaximum = maximum;
    if (scrollPosition > maximum) {
        setFrameScrollPosition(maximum);
    }
}

void HeadlessToolkit::setFrameScrollPosition(int position) {
    position = std::clamp(position, scrollMinimum, std::max(scrollMinimum, scrollMaximum));
    if (position == scrollPosition) {
        return;
    }
    scrollPosition = position;
    if (events() != nullptr) {
        events()->frameScrollChanged();
    }
}

void HeadlessToolkit::userMovesFrameScroll(int position) { setFrameScrollPosition(position); }

bool HeadlessToolkit::askOkCancel(std::string_view caption, std::string_view text) {
    questions.push_back({std::string(caption), std::string(text)});
    return takeReply(answers, true);
}

std::size_t HeadlessToolkit::askChoice(std::string_view caption, std::string_view text,
                                       std::span<const std::string> buttons) {
    choiceQuestions.push_back(
        {std::string(caption), std::string(text), {buttons.begin(), buttons.end()}});
    const std::size_t escape = buttons.empty() ? 0 : buttons.size() - 1;
    return std::min(takeReply(choiceAnswers, escape), escape);
}

DamagedAnswer HeadlessToolkit::askDamagedEntries(std::string_view caption, std::string_view text) {
    damagedQuestions.push_back({std::string(caption), std::string(text)});
    return takeReply(damagedAnswers, DamagedAnswer::Cancel);
}

OverwriteAnswer HeadlessToolkit::askOverwrite(std::string_view fileName, std::string_view folder,
                                              bool several) {
    overwriteQuestions.push_back({std::string(fileName), std::string(folder), several});
    return takeReply(overwriteAnswers, OverwriteAnswer::Overwrite);
}

std::string HeadlessToolkit::translate(const char* text) const {
    noteThread();
    const auto found = translations.find(text);
    return found == translations.end() ? std::string(text) : found->second;
}

std::optional<OpenChoice> HeadlessToolkit::runOpenDialog(std::string_view initialDirectory,
                                                         std::span<const OpenFilter> filters) {
    openDialogDirectories.emplace_back(initialDirectory);
    openDialogFilters.assign(filters.begin(), filters.end());
    return takeReply(openReplies, std::nullopt);
}

std::optional<std::string> HeadlessToolkit::chooseFolder(std::string_view caption,
                                                         std::string_view initialDirectory) {
    folderCaptions.emplace_back(caption);
    folderDirectories.emplace_back(initialDirectory);
    return takeReply(folderReplies, std::nullopt);
}

ChangedOnDiskAnswer HeadlessToolkit::askChangedOnDisk(std::string_view caption,
                                                      std::string_view text) {
    changedOnDiskQuestions.push_back({std::string(caption), std::string(text)});
    return takeReply(changedOnDiskAnswers, ChangedOnDiskAnswer::Cancel);
}

SaveAnswer HeadlessToolkit::askSaveChanges(std::string_view caption, std::string_view text) {
    saveQuestions.push_back({std::string(caption), std::string(text)});
    return takeReply(saveAnswers, SaveAnswer::Cancel);
}

std::optional<std::string> HeadlessToolkit::askName(std::string_view caption,
                                                    std::string_view /*label*/,
                                                    std::string_view initial,
                                                    const NameCheck& check) {
    nameDialogs.push_back({std::string(caption), std::string(initial), {}});
    auto reply = takeReply(nameReplies, std::nullopt);
    if (reply) {
        if (std::optional<std::string> reason = check(*reply)) {
            nameDialogs.back().refusals.push_back(std::move(*reason));
            return std::nullopt;
        }
    }
    return reply;
}

std::vector<std::string> HeadlessToolkit::chooseFiles(std::string_view caption,
                                                      std::string_view /*initialDirectory*/,
                                                      bool many) {
    fileCaptions.emplace_back(caption);
    auto reply = takeReply(fileReplies, {});
    if (!many && reply.size() > 1) {
        reply.resize(1);
    }
    return reply;
}

std::optional<std::string> HeadlessToolkit::chooseSavePath(std::string_view /*caption*/,
                                                           std::string_view initialPath,
                                                           const OpenFilter& /*filter*/) {
    savePathStarts.emplace_back(initialPath);
    return takeReply(savePathReplies, std::nullopt);
}

std::optional<std::vector<std::size_t>> HeadlessToolkit::arrangeList(
    std::string_view /*caption*/, std::string_view /*text*/, std::span<const std::string> items) {
    arrangedLists.emplace_back(items.begin(), items.end());
    std::optional<std::vector<std::size_t>> reply;
    if (!arrangeReplies.empty()) {
        reply.swap(arrangeReplies.front());
        arrangeReplies.pop_front();
    }
    return reply;
}

void HeadlessToolkit::noteThread() const {
    if (std::this_thread::get_id() != windowThread_) {
        ++offThreadCalls;
    }
}

void HeadlessToolkit::runJob(const Job& job, BackgroundTask& task) {
    jobDisplays.push_back(job.display);
    if (job.display == JobDisplay::Dialog) {
        backgroundCaptions.push_back(job.caption);
    }
    task.cancel = cancelBackground;
    int filesDone = 0;
    task.onBetweenFiles([this, &filesDone](BackgroundTask& running) {
        ++filesDone;
        if (cancelAfterFiles >= 0 && filesDone > cancelAfterFiles) {
            running.cancel = true;
        }
    });
    WorkThread worker(job.work);
    const std::exception_ptr failure = worker.wait();
    task.onBetweenFiles({});
    if (job.showProgress) {
        job.showProgress();
    }
    backgroundDone = task.done;
    backgroundTotal = task.total;
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace brasvel
