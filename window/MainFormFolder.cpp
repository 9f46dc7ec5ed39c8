// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// A game folder's archives in one list: opening it, the order its archives win in, the copies
// shadowed shown or not, and an entry's archive opened alone for editing.

#include <algorithm>

#include "base/Utf8Path.h"
#include "window/FolderSession.h"
#include "window/MainForm.h"
#include "window/PreviewController.h"
#include "window/VideoPreview.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

std::string count(std::size_t value) { return std::to_string(value); }

// `chosen` is an order of `size` items: each position once.
bool isOrderOf(const std::vector<std::size_t>& chosen, std::size_t size) {
    std::vector<std::size_t> sorted = chosen;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (sorted[i] != i) {
            return false;
        }
    }
    return sorted.size() == size;
}

}  // namespace

void MainForm::OpenFolderClick() {
    guarded([&] {
        // The folder open, or the one of the open archive; the game's data folder first.
        std::string start = startDir_;
        if (session_.folder() != nullptr) {
            start = session_.path();
        } else if (!session_.path().empty()) {
            const std::string beside = platform::folderOfPath(session_.path());
            start = beside.empty() ? std::string(".") : beside;
        }
        const std::optional<std::string> chosen =
            ui_.chooseFolder(text(texts::kOpenFolderCaption), start);
        if (!chosen || !settleExternalEdits() || !editing_.settleUnsaved(session_.path())) {
            return;
        }
        openFolder(*chosen);
    });
}

void MainForm::openFolder(const std::string& folder) {
    guarded([&] {
        player_.close();
        closeArchive();
        ui_.setListVisible(true);
        std::vector<std::string> troubles;
        const auto trouble = [&](const SearchTrouble& found) {
            troubles.push_back(platform::fileNameOfPath(found.archive) + ": " +
                               (found.error ? describe(*found.error) : found.text));
        };
        try {
            session_.openFolder(folder, trouble);
        } catch (const ResourceError&) {
            session_.nameUnopened(folder);
            showDamageCount();
            throw;
        }
        if (const auto order = settings_.folderOrder(session_.path())) {
            session_.folder()->arrange(*order);
        }
        showFolder(std::nullopt);
        if (!troubles.empty()) {
            std::string lines;
            for (const std::string& line : troubles) {
                lines += (lines.empty() ? "" : "\n") + line;
            }
            ui_.reportError(texts::fillIn(text(texts::kFolderTroubles), {lines}));
        }
        if (entries().size() > kListedEntries) {
            ui_.reportNotice(texts::fillIn(text(texts::kListCut),
                                           {count(entries().size()), count(kListedEntries)}));
        }
    });
}

void MainForm::showFolder(std::optional<std::size_t> focused) {
    preview().stop();
    forgetListedContent();
    resetFrameScroll();
    const FolderSession& folder = *session_.folder();
    selection_.reset(entries().size());
    if (focused) {
        selection_.mark(*focused, true);
        selection_.focus(focused);
    }
    const std::size_t names = entries().size() - folder.shadowedCount();
    totalText_ =
        texts::fillIn(text(texts::kTotalFiles), {count(std::min(names, kListedEntries))});
    relist();
    if (SelectedRow() < 0) {
        selectListedRow(list_.listedEntries().empty() ? -1 : 0);
    }
    if (SelectedRow() >= 0) {
        showSelectedRow(SelectedRow());
    }
    showEditState();
    showDamageCount();
}

std::string MainForm::folderTitle() const {
    const FolderSession& folder = *session_.folder();
    return texts::fillIn(text(texts::kFolderTitle),
                         {platform::fileNameOfPath(folder.path()), count(folder.archiveCount()),
                          count(entries().size() - folder.shadowedCount())});
}

std::string MainForm::folderStatus() const {
    const FolderSession& folder = *session_.folder();
    return texts::fillIn(text(texts::kFolderStatus),
                         {folder.path(), count(folder.archiveCount()),
                          count(folder.shadowedCount())});
}

const WindowKind& MainForm::shownKind() const {
    return session_.folder() != nullptr ? folderWindowKind()
                                        : windowKindOf(session_.archive()->format());
}

void MainForm::ArchiveOrderClick() {
    guarded([&] {
        FolderSession* folder = session_.folder();
        if (folder == nullptr) {
            return;
        }
        const std::vector<std::string> names = folder->order();
        const std::optional<std::vector<std::size_t>> chosen = ui_.arrangeList(
            text(texts::kArchiveOrderCaption), text(texts::kArchiveOrderText), names);
        if (!chosen || !isOrderOf(*chosen, names.size())) {
            return;
        }
        std::vector<std::string> arranged;
        for (const std::size_t position : *chosen) {
            arranged.push_back(names[position]);
        }
        // The entry focused stays focused, as the copy of the same archive.
        std::optional<std::pair<std::string, std::size_t>> kept;
        if (const std::optional<std::size_t> index = selection_.focused();
            index && *index < entries().size()) {
            kept.emplace(folder->archiveName(*index), folder->entryInArchive(*index));
        }
        folder->arrange(arranged);
        settings_.rememberFolderOrder(folder->path(), arranged);
        showFolder(kept ? folder->indexOf(kept->first, kept->second) : std::nullopt);
    });
}

void MainForm::ShowShadowedClick() {
    guarded([&] {
        list_.setShadowedShown(!list_.shadowedShown());
        if (session_.folder() != nullptr) {
            relist();
        } else {
            showEditState();
        }
    });
}

void MainForm::EditThisArchiveClick() {
    guarded([&] {
        const FolderSession* folder = session_.folder();
        const std::optional<std::size_t> index = selection_.focused();
        if (folder == nullptr || !index || selectedEntry() == nullptr) {
            return;
        }
        const std::string path = folder->archivePath(*index);
        const std::size_t entry = folder->entryInArchive(*index);
        const ArchiveFormat& format = folder->holder(*index).archive()->format();
        openAs(path, format);
        if (session_.archive() == nullptr || session_.path() != path) {
            return;
        }
        const int row = list_.rowOf(entry);
        selectListedRow(row);
        if (row >= 0) {
            showSelectedRow(row);
        }
    });
}

}  // namespace brasvel
