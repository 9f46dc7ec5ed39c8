// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// MainForm's "Edycja" commands: edits pending in the ArchiveSession until saved, shown in the
// list, the preview and extraction meanwhile; ArchiveEditing asks for names and saves.

#include <filesystem>
#include <set>

#include "base/Text.h"
#include "base/Utf8Path.h"
#include "extract/EntryContent.h"
#include "edit/StoredContent.h"
#include "extract/SafeName.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"
#include "window/MainForm.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

constexpr int kFileNamePanel = 2;

std::string fileNameOf(const std::string& path) {
    return platform::fileNameOfPath(path);
}

std::string folderOf(const std::string& path) {
    return platform::folderOfPath(path);
}

// A name chosen without an extension gets its kind's ("demo2" → "demo2.lod"): a file without one
// would be hidden by the open dialog's filter and opened as no kind.
std::string withKindSuffix(const std::string& path, const ArchiveFormat& format) {
    const std::string name = fileNameOf(path);
    if (name.empty() || name.find('.', 1) != std::string::npos) {
        return path;
    }
    return path + std::string(format.suffix);
}

// The step of adding `count` files (two or more), in the Polish plural that count takes: 2 to 4
// files, but not 12 to 14, are "pliki", the others "plików".
const char* addedFilesStep(std::size_t count) {
    const std::size_t units = count % 10;
    const std::size_t tens = count % 100;
    const bool few = units >= 2 && units <= 4 && (tens < 12 || tens > 14);
    return few ? texts::kAddFewStep : texts::kAddManyStep;
}

}  // namespace

ArchiveEdit& MainForm::beginEdit() {
    if (session_.folder() != nullptr) {
        throw ResourceError::worded(text(texts::kFolderNotEditable));
    }
    try {
        return session_.edit();
    } catch (const ResourceError& error) {
        throw ResourceError::worded(texts::fillIn(text(texts::kNotEditable), {describe(error)}));
    }
}

std::optional<std::string> MainForm::selectedName() const {
    const Entry* entry = selectedEntry();
    return entry != nullptr ? std::optional(editName(*entry)) : std::nullopt;
}

EditCommandState MainForm::editCommandState() const {
    EditCommandState state;
    state.archiveOpen = session_.archive() != nullptr;
    state.archiveEditable = session_.editable();
    state.folderOpen = session_.folder() != nullptr;
    state.shadowedShown = state.folderOpen && list_.shadowedShown();
    state.folderEntrySelected = state.folderOpen && selectedEntry() != nullptr;
    state.entrySelected = state.archiveEditable && SelectedRow() >= 0;
    state.spritesEditable = state.archiveEditable && isLod();
    const Entry* selected = state.spritesEditable ? selectedEntry() : nullptr;
    state.spriteSelected = selected != nullptr && isSprite(*selected);
    state.changed = session_.hasChanges();
    const EditStep* undo = session_.nextUndo();
    const EditStep* redo = session_.nextRedo();
    state.canUndo = undo != nullptr;
    state.canRedo = redo != nullptr;
    state.undoText = undo != nullptr ? texts::fillIn(text(texts::kUndoStepItem), {undo->label})
                                     : text(texts::kUndoItem);
    state.redoText = redo != nullptr ? texts::fillIn(text(texts::kRedoStepItem), {redo->label})
                                     : text(texts::kRedoItem);
    return state;
}

void MainForm::showEditState() {
    const std::string fileName = session_.folder() != nullptr   ? folderTitle()
                                 : session_.archive() != nullptr ? fileNameOf(session_.path())
                                                                 : std::string();
    ui_.setArchiveTitle(
        session_.hasChanges() ? texts::fillIn(text(texts::kUnsavedTitle), {fileName}) : fileName);
    if (!journalled_.empty() && !session_.hasChanges()) {
        journalEdits();  // saved, reverted, undone to nothing or discarded: the journal goes
    }
}

void MainForm::showEdited(const std::optional<std::string>& selectName) {
    journalEdits();
    forgetListedContent();
    showTotal(static_cast<std::int32_t>(entries().size()));
    // An edit renumbers the entries: the selection keeps only the entry named.
    selection_.keepOnly(entries().size(), selectName ? session_.find(*selectName) : std::nullopt);
    relist();
    if (SelectedRow() >= 0) {
        numitem(SelectedRow(), true);  // sizes and preview of the content as it now is
    }
    showEditState();
    if (ui_.isListVisible()) {
        ui_.focusList();  // back from the dialog, the keys act on the list again
    }
}

// --- Adding, replacing, removing, renaming ---

void MainForm::AddFiles1Click() {
    guarded([&] {
        if (session_.archive() != nullptr) {
            addFiles(
                ui_.chooseFiles(text(texts::kAddFilesCaption), folderOf(session_.path()), true));
        }
    });
}

// Each file becomes the entry of its name. A name the archive has already replaces that entry's
// content once the user agrees; a name the writer refuses is asked for again, with the reason.
void MainForm::addFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    EditState before = session_.state();
    const std::optional<std::string> selected = selectedName();
    ArchiveEdit& edit = beginEdit();
    std::optional<std::string> added;
    std::size_t changed = 0;
    bool replaced = false;
    for (const std::string& path : paths) {
        // A file that fails is named and the others go on.
        try {
            const std::size_t rows = edit.entries().size();
            if (std::optional<std::string> name = addFile(edit, path)) {
                added = std::move(name);
                ++changed;
                replaced = edit.entries().size() == rows;
            }
        } catch (const ArchiveIsItsOwnInput&) {
            ui_.reportError(texts::fillIn(text(texts::kOwnInput), {fileNameOf(path)}));
        } catch (const ResourceError& error) {
            ui_.reportError(texts::fillIn(text(texts::kEntryError),
                                          {fileNameOf(path), describe(error)}));
        }
    }
    if (changed > 0) {
        // All the files added are one step; one file that replaced an entry is called so.
        const std::string label =
            changed > 1 ? texts::fillIn(text(addedFilesStep(changed)), {std::to_string(changed)})
                        : texts::fillIn(text(replaced ? texts::kReplaceStep : texts::kAddStep),
                                        {*added});
        session_.record(std::move(before), {label, selected, added});
    }
    showEdited(added ? added : selectedName());
}

// Adds the file at `path`; the entry's name, or nothing when the user let it go.
std::optional<std::string> MainForm::addFile(ArchiveEdit& edit, const std::string& path) {
    const std::string fileName = fileNameOf(path);
    std::optional<std::string> name = entryNameForFile(edit.format(), fileName);
    if (!name) {
        ui_.reportError(texts::fillIn(text(texts::kOnlyWavFiles), {fileName}));
        return std::nullopt;
    }
    std::optional<std::vector<std::byte>> picture;
    if (isLod()) {
        OfferedPicture offered = offerPicture(path, *name);
        if (offered.cancelled) {
            return std::nullopt;
        }
        picture = std::move(offered.pcx);
    }
    if (const auto existing = edit.find(*name)) {
        name = editName(edit.entries()[*existing]);
        if (!ui_.askOkCancel(text(texts::kAddFilesCaption),
                             texts::fillIn(text(texts::kReplaceQuestion), {*name}))) {
            return std::nullopt;
        }
    } else if (edit.checkName(*name)) {
        name = editing_.askName(text(texts::kAddNameCaption),
                                texts::fillIn(text(texts::kAddNameLabel), {fileName}), *name,
                                std::nullopt);
        if (!name) {
            return std::nullopt;
        }
    }
    if (picture) {
        edit.put(*name, std::move(*picture));
    } else {
        edit.putFile(*name, path);
    }
    return name;
}

// A PNG or BMP file added to a LOD may go in as the game's picture: the user chooses, by buttons
// that say what each does. Its PCX file when so, with `name` turned to NAME.pcx; nothing to store
// it as given. A picture of more than 256 colours goes in as 24 bits, and the user is told; one
// that cannot be read fails as a whole.
MainForm::OfferedPicture MainForm::offerPicture(const std::string& path, std::string& name) {
    const std::optional<PictureFormat> format = formatOfPath(path);
    const std::size_t dot = name.rfind('.');
    if (!format || dot == std::string::npos) {
        return {};
    }
    const bool upper = name[dot + 1] >= 'A' && name[dot + 1] <= 'Z';
    const std::string pictureName = name.substr(0, dot) + (upper ? ".PCX" : ".pcx");
    const std::string suffix = asciiLowerText(name.substr(dot));
    const std::vector<std::string> buttons{
        texts::fillIn(text(texts::kAsGamePictureButton), {".pcx"}),
        texts::fillIn(text(texts::kUnchangedButton), {suffix}), text(texts::kCancelChoiceButton)};
    const std::size_t answer =
        ui_.askChoice(text(texts::kAddFilesCaption),
                      texts::fillIn(text(texts::kStoreAsPcxQuestion),
                                    {fileNameOf(path), pictureName}),
                      buttons);
    if (answer != 0) {
        return {answer != 1, std::nullopt};
    }
    const Picture decoded = decodePicture(readWholeFile(path), *format);
    Picture pixels;
    try {
        pixels = pcxPixels(decoded, std::nullopt);  // 8 bits where that is exact
    } catch (const ResourceError& error) {
        if (error.kind() != ErrorKind::TooManyColours) {
            throw;
        }
        pixels = pcxPixels(decoded, 24);
        ui_.reportNotice(
            texts::fillIn(text(texts::kStoredAs24Bits), {fileNameOf(path), pictureName}));
    }
    name = pictureName;
    return {false, encodePcx(pixels)};
}

void MainForm::ReplaceEntry1Click() {
    guarded([&] {
        const std::optional<std::string> name = selectedName();
        if (!name) {
            return;
        }
        const std::vector<std::string> files = ui_.chooseFiles(
            texts::fillIn(text(texts::kReplaceCaption), {*name}), folderOf(session_.path()), false);
        if (files.empty()) {
            return;
        }
        EditState before = session_.state();
        beginEdit().putFile(*name, files.front());
        session_.record(std::move(before),
                        {texts::fillIn(text(texts::kReplaceStep), {*name}), name, name});
        showEdited(name);
    });
}

void MainForm::RemoveEntry1Click() {
    guarded([&] {
        if (!selection_.focused() || selectedEntry() == nullptr) {
            return;
        }
        // The selection moves to the row below, or above at the end of the list.
        const Entry* neighbour = entryAtRow(SelectedRow() + 1);
        if (neighbour == nullptr) {
            neighbour = entryAtRow(SelectedRow() - 1);
        }
        const std::optional<std::string> next =
            neighbour != nullptr ? std::optional(editName(*neighbour)) : std::nullopt;
        const std::size_t index = *selection_.focused();
        const std::optional<std::string> removed = selectedName();
        EditState before = session_.state();
        beginEdit().remove(index);
        session_.record(std::move(before),
                        {texts::fillIn(text(texts::kRemoveStep), {*removed}), removed, next});
        showEdited(next);
    });
}

void MainForm::RenameEntry1Click() {
    guarded([&] {
        const std::optional<std::string> old = selectedName();
        if (!old || !selection_.focused()) {
            return;
        }
        const std::size_t index = *selection_.focused();
        EditState before = session_.state();
        ArchiveEdit& edit = beginEdit();
        const std::optional<std::string> name =
            editing_.askName(text(texts::kRenameCaption),
                             texts::fillIn(text(texts::kRenameLabel), {*old}), *old, index);
        if (!name || *name == *old) {
            return;
        }
        edit.rename(index, *name);
        session_.record(std::move(before),
                        {texts::fillIn(text(texts::kRenameStep), {*old, *name}), old, name});
        showEdited(name);
    });
}

void MainForm::RevertChanges1Click() {
    guarded([&] {
        if (!session_.hasChanges() ||
            !ui_.askOkCancel(text(texts::kRevertCaption),
                             texts::fillIn(text(texts::kRevertQuestion),
                                           {fileNameOf(session_.path())}))) {
            return;
        }
        const std::optional<std::string> name = selectedName();
        session_.revert({text(texts::kRevertStep), name, name});
        showEdited(name);
    });
}

void MainForm::UndoEdit1Click() {
    guarded([&] {
        if (const std::optional<EditStep> step = session_.undo()) {
            showEdited(step->selectUndone);
        }
    });
}

void MainForm::RedoEdit1Click() {
    guarded([&] {
        if (const std::optional<EditStep> step = session_.redo()) {
            showEdited(step->selectRedone);
        }
    });
}

// --- Saving ---

void MainForm::SaveArchive1Click() {
    guarded([&] {
        if (session_.hasChanges()) {
            saveTo(session_.path());
        }
    });
}

std::optional<std::string> MainForm::askSaveAsPath() {
    // The open dialog's filter of this archive's kind.
    OpenFilter filter;
    const auto formats = archiveFormats();
    const std::vector<OpenFilter> filters = openFilters();
    for (std::size_t k = 0; k < formats.size(); ++k) {
        if (formats[k] == &session_.archive()->format()) {
            filter = filters[k];
        }
    }
    const std::optional<std::string> chosen =
        ui_.chooseSavePath(text(texts::kSaveAsCaption), session_.path(), filter);
    if (!chosen) {
        return std::nullopt;
    }
    // The dialog asked before replacing the name chosen, not the one with the suffix added.
    std::string path = withKindSuffix(*chosen, session_.archive()->format());
    std::error_code error;
    if (path != *chosen && std::filesystem::exists(platform::fileSystemPath(path), error) &&
        !ui_.askOkCancel(text(texts::kSaveAsCaption),
                         texts::fillIn(text(texts::kReplaceArchiveQuestion), {fileNameOf(path)}))) {
        return std::nullopt;
    }
    return path;
}

void MainForm::NewArchiveClick() {
    guarded([&] {
        if (!settleExternalEdits() || !editing_.settleUnsaved(session_.path())) {
            return;
        }
        const auto formats = archiveFormats();
        const std::vector<OpenFilter> filters = openFilters();
        std::vector<std::string> buttons;
        for (const OpenFilter& filter : filters) {
            buttons.push_back(filter.text);
        }
        buttons.push_back(text(texts::kCancelChoiceButton));
        const std::size_t kind = ui_.askChoice(text(texts::kNewArchiveCaption),
                                               text(texts::kNewArchiveQuestion), buttons);
        if (kind >= formats.size() || kind >= filters.size()) {
            return;
        }
        const ArchiveFormat& format = *formats[kind];
        const std::string folder = session_.path().empty() ? startDir_ : folderOf(session_.path());
        const std::optional<std::string> chosen = ui_.chooseSavePath(
            text(texts::kNewArchiveCaption),
            platform::utf8Path(platform::fileSystemPath(folder) /
                               platform::fileSystemPath("nowe" + std::string(format.suffix))),
            filters[kind]);
        if (!chosen || chosen->empty()) {
            return;
        }
        const std::string path = withKindSuffix(*chosen, format);
        std::error_code error;
        if (std::filesystem::exists(
                std::filesystem::symlink_status(platform::fileSystemPath(path), error))) {
            ui_.reportError(texts::fillIn(text(texts::kNewArchiveExists), {path}));
            return;
        }
        ArchiveEdit(format).save(path);
        openAs(path, format);
    });
}

void MainForm::SaveArchiveAs1Click() {
    guarded([&] {
        if (session_.archive() == nullptr) {
            return;
        }
        const std::optional<std::string> path = askSaveAsPath();
        if (!path) {
            return;
        }
        beginEdit();
        saveTo(*path);
    });
}

void MainForm::saveTo(const std::string& path) {
    const std::optional<std::string> name = selectedName();
    std::string savedTo = path;
    switch (editing_.save(savedTo)) {
        case SaveOutcome::Saved:
            reopenSaved(savedTo, name);
            return;
        case SaveOutcome::Reload:
            // What the window showed of the old archive is read again from the new one.
            reopenSaved(session_.path(), name);
            return;
        case SaveOutcome::NotSaved:
            break;
    }
    showEditState();
}

void MainForm::reopenSaved(const std::string& path, const std::optional<std::string>& selectName) {
    const ArchiveFormat& format = session_.archive()->format();
    ui_.setStatusText(kFileNamePanel, texts::fillIn(text(texts::kFileName), {path}));
    readArchive(path, format);
    if (session_.archive() != nullptr) {
        showEdited(selectName);
    }
}

}  // namespace brasvel
