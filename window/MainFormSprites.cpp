// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The window's sprite edits: a sprite imported from an export's folder, one frame replaced from a
// picture file. Both read and convert everything before the edit begins, so that a picture that
// does not fit changes nothing.

#include "archive/EntryNames.h"
#include "base/Utf8Path.h"
#include "edit/StoredContent.h"
#include "imaging/DefEncoder.h"
#include "imaging/DefSprite.h"
#include "imaging/PictureFormats.h"
#include "imaging/SpriteFiles.h"
#include "window/MainForm.h"
#include "window/PreviewController.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

std::string fileNameOf(const std::string& path) {
    return platform::utf8Path(platform::fileSystemPath(path).filename());
}

std::string folderOf(const std::string& path) {
    return platform::utf8Path(platform::fileSystemPath(path).parent_path());
}

std::string folderNameOf(const std::string& folder) {
    std::filesystem::path path = platform::fileSystemPath(folder);
    if (!path.has_filename()) {
        path = path.parent_path();
    }
    return platform::utf8Path(path.filename());
}

}  // namespace

void MainForm::ImportSpriteClick() {
    guarded([&] {
        if (session_.archive() == nullptr || !session_.editable() || !isLod()) {
            return;
        }
        // Beside the open archive, where the sprite export puts its folders.
        const std::string beside = platform::folderOfPath(session_.path());
        const std::optional<std::string> folder = ui_.chooseFolder(
            text(texts::kImportSpriteCaption), beside.empty() ? std::string(".") : beside);
        if (!folder || folder->empty()) {
            return;
        }
        const SpriteListing listing = readFolderListing(*folder);
        const Entry* selected = selectedEntry();
        std::optional<std::string> name;
        if (selected != nullptr && isSprite(*selected)) {
            const std::string current = editName(*selected);
            const std::vector<std::string> buttons{
                texts::fillIn(text(texts::kReplaceSpriteButton), {current}),
                text(texts::kAddAsNewButton), text(texts::kCancelChoiceButton)};
            const std::size_t answer = ui_.askChoice(
                text(texts::kImportSpriteCaption),
                texts::fillIn(text(texts::kImportSpriteQuestion), {*folder, current}), buttons);
            if (answer > 1) {
                return;
            }
            if (answer == 0) {
                name = current;
            }
        }
        EditState before = session_.state();
        const std::optional<std::string> previous = selectedName();
        if (!name) {
            // A new entry: the name the sprite had, else the folder's; asked for, with the rules.
            std::string initial = listing.source.empty() ? folderNameOf(*folder) : listing.source;
            if (!initial.ends_with(".def") && !initial.ends_with(".DEF")) {
                initial += ".def";
            }
            name = editing_.askName(text(texts::kAddNameCaption),
                                    texts::fillIn(text(texts::kAddNameLabel), {*folder}), initial,
                                    std::nullopt);
            if (!name) {
                return;
            }
        }
        std::vector<std::byte> def =
            encodeDef(importSpriteFolder(*folder, listing, std::nullopt, *name));
        beginEdit().put(*name, std::move(def));
        session_.record(std::move(before),
                        {texts::fillIn(text(texts::kImportSpriteStep), {*name}), previous, name});
        showEdited(name);
    });
}

void MainForm::ReplaceFrameClick() {
    guarded([&] {
        const Entry* entry = selectedEntry();
        if (entry == nullptr || !isSprite(*entry) || !session_.editable() || !selection_.focused()) {
            return;
        }
        const std::string name = editName(*entry);
        const std::size_t index = *selection_.focused();
        const std::uint32_t frame = preview().shownFrame();
        const std::vector<std::string> files = ui_.chooseFiles(
            texts::fillIn(text(texts::kReplaceFrameCaption), {std::to_string(frame), name}),
            folderOf(session_.path()), false);
        if (files.empty()) {
            return;
        }
        const std::string fileName = fileNameOf(files.front());
        const std::optional<PictureFormat> format = formatOfPath(fileName);
        if (!format) {
            ui_.reportError(texts::fillIn(text(texts::kFrameNotPicture), {fileName}));
            return;
        }
        const std::vector<std::byte> content = session_.content(index);
        const DefSprite sprite = DefSprite::walk(content, name);
        Picture picture = readSpriteFrame(readWholeFile(files.front()), *format, fileName,
                                          sprite.width(), sprite.height(), sprite.palette());
        std::vector<std::byte> def =
            encodeDef(withFrameReplaced(sprite, name, frame, std::move(picture)));
        EditState before = session_.state();
        beginEdit().put(name, std::move(def));
        session_.record(std::move(before),
                        {texts::fillIn(text(texts::kReplaceFrameStep),
                                       {std::to_string(frame), name}),
                         name, name});
        showEdited(name);
    });
}

}  // namespace brasvel
