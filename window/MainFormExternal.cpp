// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Entries edited in another program: written out, opened, watched by the timer, and each complete
// save offered as one pending step (ExternalEdits.h holds the rules without widgets).

#include "archive/EntryNames.h"
#include "base/Utf8Path.h"
#include "extract/SafeName.h"
#include "window/MainForm.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

// How often the watched files are checked; a save counts once two checks agree.
constexpr int kWatchIntervalMs = 700;

std::string fileNameOf(const std::string& path) {
    return platform::utf8Path(platform::fileSystemPath(path).filename());
}

}  // namespace

void MainForm::EditExternallyClick() {
    guarded([&] {
        const Entry* entry = selectedEntry();
        if (entry == nullptr || !selection_.focused() || !session_.editable()) {
            return;
        }
        const std::string name = editName(*entry);
        const std::string program = settings_.externalProgram();
        for (const ExternalEdit& out : externalEdits_) {
            if (out.entryName == name) {  // already out: its file opened again
                if (!ui_.openExternally(out.path, program)) {
                    ui_.reportError(texts::fillIn(text(texts::kExternalNotOpened), {out.path}));
                }
                return;
            }
        }
        const std::vector<std::byte> content = session_.content(*selection_.focused());
        const std::string fileName =
            outputFileName(*entry, session_.archive()->format(), false);
        if (!workFolder_) {
            workFolder_ = std::make_unique<WorkFolder>();
        }
        ExternalEdit out = writeForEditing(name, fileName,
                                           editFormOf(isPicture(*entry), isSprite(*entry)),
                                           content, workFolder_->newEntryFolder());
        if (!ui_.openExternally(out.path, program)) {
            ui_.reportError(texts::fillIn(text(texts::kExternalNotOpened), {out.path}));
        }
        externalEdits_.push_back(std::move(out));
        ui_.setWatchTimer(kWatchIntervalMs);
    });
}

void MainForm::ExternalWatchTick() {
    guarded([&] {
        // By name, not by reference: the question may outlast the watches (the window closed
        // meanwhile ends them).
        std::vector<std::string> saved;
        for (ExternalEdit& out : externalEdits_) {
            if (out.watch.check(stampOf(out.path))) {
                saved.push_back(out.entryName);
            }
        }
        for (const std::string& name : saved) {
            takeExternalEdit(name);
        }
    });
}

// A complete save of `out`: asked about unless the user said always, converted back (a picture
// or sprite that does not fit says why and changes nothing), and made one step.
void MainForm::takeExternalEdit(const std::string& entryName) {
    const auto outOf = [&]() -> ExternalEdit* {
        for (ExternalEdit& out : externalEdits_) {
            if (out.entryName == entryName) {
                return &out;
            }
        }
        return nullptr;
    };
    ExternalEdit* found = outOf();
    if (found == nullptr) {
        return;
    }
    const std::string file = fileNameOf(found->path);
    if (!found->always) {
        const std::vector<std::string> buttons{text(texts::kYesButton),
                                               text(texts::kYesAlwaysButton),
                                               text(texts::kNoButton)};
        const std::size_t answer = ui_.askChoice(
            text(texts::kExternalCaption),
            texts::fillIn(text(texts::kExternalChangedQuestion), {file}), buttons);
        found = outOf();
        if (answer > 1 || found == nullptr) {
            return;
        }
        found->always = answer == 1;
    }
    std::vector<std::byte> content;
    try {
        content = convertBack(*found);
    } catch (const ResourceError& error) {
        ui_.reportError(texts::fillIn(text(texts::kExternalNotTaken), {file, describe(error)}));
        return;
    }
    if (session_.archive() == nullptr || !session_.editable()) {
        return;
    }
    const std::string name = entryName;
    EditState before = session_.state();
    const std::optional<std::string> previous = selectedName();
    beginEdit().put(name, std::move(content));
    session_.record(std::move(before),
                    {texts::fillIn(text(texts::kExternalStep), {name}), previous, name});
    showEdited(name);
}

bool MainForm::settleExternalEdits() {
    if (externalEdits_.empty()) {
        return true;
    }
    std::string files;
    for (const ExternalEdit& out : externalEdits_) {
        files += (files.empty() ? "" : ", ") + fileNameOf(out.path);
    }
    if (!ui_.askOkCancel(text(texts::kExternalCaption),
                         texts::fillIn(text(texts::kExternalOpenQuestion), {files}))) {
        return false;
    }
    externalEdits_.clear();
    workFolder_.reset();
    ui_.setWatchTimer(0);
    return true;
}

void MainForm::ExternalProgramClick() {
    guarded([&] {
        const std::string current = settings_.externalProgram();
        const std::optional<std::string> program =
            ui_.askName(text(texts::kExternalProgramCaption), text(texts::kExternalProgramLabel),
                        current, [](const std::string&) { return std::optional<std::string>(); });
        if (program) {
            settings_.setExternalProgram(*program);
        }
    });
}

}  // namespace brasvel
