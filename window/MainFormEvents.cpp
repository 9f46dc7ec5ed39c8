// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// MainForm as a front end's WindowEvents: each event goes to the handler of the old window's
// name, and every command's state is shown again after it.

#include <array>
#include <utility>

#include "window/MainForm.h"

namespace brasvel {
namespace {

using Handler = void (MainForm::*)();

// In the order of WindowCommand.
constexpr auto kCommandHandlers = std::to_array<std::pair<WindowCommand, Handler>>({
    {WindowCommand::OpenArchive, &MainForm::ToolButton1Click},
    {WindowCommand::OpenArchiveFromMenu, &MainForm::LoadResurceFile1Click},
    {WindowCommand::ExtractSelected, &MainForm::ToolButton2Click},
    {WindowCommand::ExtractSelectedFromMenu, &MainForm::SaveSingleFile1Click},
    {WindowCommand::ExtractShown, &MainForm::ToolButton5Click},
    {WindowCommand::ExtractShownFromMenu, &MainForm::SaveSingleFile2Click},
    {WindowCommand::ExitFromToolbar, &MainForm::ToolButton4Click},
    {WindowCommand::Exit, &MainForm::Exittheprogram1Click},
    {WindowCommand::NewArchive, &MainForm::NewArchiveClick},
    {WindowCommand::AddFiles, &MainForm::AddFiles1Click},
    {WindowCommand::ReplaceEntry, &MainForm::ReplaceEntry1Click},
    {WindowCommand::RemoveEntry, &MainForm::RemoveEntry1Click},
    {WindowCommand::RenameEntry, &MainForm::RenameEntry1Click},
    {WindowCommand::ImportSprite, &MainForm::ImportSpriteClick},
    {WindowCommand::ReplaceFrame, &MainForm::ReplaceFrameClick},
    {WindowCommand::EditExternally, &MainForm::EditExternallyClick},
    {WindowCommand::SaveArchive, &MainForm::SaveArchive1Click},
    {WindowCommand::SaveArchiveAs, &MainForm::SaveArchiveAs1Click},
    {WindowCommand::RevertChanges, &MainForm::RevertChanges1Click},
    {WindowCommand::Undo, &MainForm::UndoEdit1Click},
    {WindowCommand::Redo, &MainForm::RedoEdit1Click},
    {WindowCommand::ChooseExtractFolder, &MainForm::SetPathForExtract1Click},
    {WindowCommand::ChooseExternalProgram, &MainForm::ExternalProgramClick},
    {WindowCommand::Help, &MainForm::GeneralHelp1Click},
    {WindowCommand::About, &MainForm::About2Click},
    {WindowCommand::TogglePreviewFromMenu, &MainForm::QuickView1Click},
    {WindowCommand::TogglePreview, &MainForm::BitBtn3Click},
    {WindowCommand::ToggleListLook, &MainForm::toggleListLook},
    {WindowCommand::ShowInPreview, &MainForm::showRowInPreview},
    {WindowCommand::SavePictureAsPng, &MainForm::SavePictureAsPngClick},
    {WindowCommand::ExportSprite, &MainForm::ExportSpriteClick},
    {WindowCommand::PlayFrames, &MainForm::PlayFramesClick},
    {WindowCommand::VideoPlayPause, &MainForm::videoPlayPause},
    {WindowCommand::OpenFolder, &MainForm::OpenFolderClick},
    {WindowCommand::ArrangeArchives, &MainForm::ArchiveOrderClick},
    {WindowCommand::ToggleShadowed, &MainForm::ShowShadowedClick},
    {WindowCommand::EditThisArchive, &MainForm::EditThisArchiveClick},
    {WindowCommand::CompareWith, &MainForm::CompareWithClick},
    {WindowCommand::CloseComparison, &MainForm::CloseComparisonClick},
    {WindowCommand::ExportDifferences, &MainForm::ExportDifferencesClick},
    {WindowCommand::MergeWith, &MainForm::MergeWithClick},
    {WindowCommand::SearchInContent, &MainForm::searchSubmitted},
});

constexpr bool inCommandOrder() {
    for (std::size_t i = 0; i < kCommandHandlers.size(); ++i) {
        if (static_cast<std::size_t>(kCommandHandlers[i].first) != i) {
            return false;
        }
    }
    return kCommandHandlers.back().first == WindowCommand::SearchInContent;  // the last command
}
static_assert(inCommandOrder(), "one handler per command, in WindowCommand's order");

}  // namespace

void MainForm::commandChosen(WindowCommand command) {
    const auto at = static_cast<std::size_t>(command);
    if (at < kCommandHandlers.size()) {
        (this->*kCommandHandlers[at].second)();
    }
    refreshCommands();
}

void MainForm::sortChosen(ListColumn column, bool ascending) {
    sortList(column, ascending);
    refreshCommands();
}

void MainForm::typeChosen() {
    ViewLod();
    refreshCommands();
}

void MainForm::recentChosen(std::size_t position) {
    openRecent(position);
    refreshCommands();
}

std::vector<std::string> MainForm::entriesDraggedOut(const std::vector<int>& rows,
                                                     const std::string& folder) {
    std::vector<std::string> files = dragOut(rows, folder);
    refreshCommands();
    return files;
}

void MainForm::previewResized(int width, int height) { Panel1Resize(width, height); }

void MainForm::frameScrollChanged() { scbChange(); }

void MainForm::frameSpeedChanged(int framesPerSecond) { FrameSpeedChange(framesPerSecond); }

void MainForm::frameTimerTicked() { FrameTimerTimer(); }

void MainForm::videoStepped(int delta) { videoStep(delta); }

void MainForm::videoSeeked(int frame) { videoSeek(frame); }

void MainForm::videoTicked() { videoTick(); }

void MainForm::playerButtonPressed(PlayerButton button) {
    MediaPlayer1Click(button);
    if (player_.isOpen()) {
        if (button == PlayerButton::Play) {
            playSound();
        } else {
            player_.stop();
        }
    }
    refreshCommands();
}

void MainForm::watchTimerTicked() { ExternalWatchTick(); }

bool MainForm::closeRequested() {
    const bool mayClose = FormCloseQuery();
    refreshCommands();
    return mayClose;
}

void MainForm::closed() { FormClose(); }

}  // namespace brasvel
