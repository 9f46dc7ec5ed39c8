// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "toolkit/CommandState.h"

namespace brasvel {

// The window around the parts: its title, commands' state, recent archives, translation, repaint,
// closing and its two dialogs of its own.
class WindowShell {
public:
    virtual ~WindowShell() = default;

    // Every command enabled or disabled, and the texts of those that name what they act on, as
    // `state` says.
    virtual void setCommandState(const CommandState& state) = 0;

    // A text of window/WindowTexts.h as the user reads it: its translation when one is installed,
    // else the text itself (UTF-8).
    virtual std::string translate(const char* text) const { return text; }

    // The recent archives under "Plik", the latest first.
    virtual void setRecentArchives(std::span<const std::string> paths) = 0;
    // The open archive's file name, for the window's title; empty when none is open.
    virtual void setArchiveTitle(std::string_view fileName) = 0;

    // The window: repaint it now (a long handler uses this to keep its progress visible), close
    // it (which ends the program), and show the two dialogs modally.
    virtual void repaintWindow() = 0;
    virtual void closeWindow() = 0;
    virtual void showAboutBox() = 0;
    virtual void showHelp() = 0;
};

}  // namespace brasvel
