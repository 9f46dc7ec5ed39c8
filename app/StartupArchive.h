// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Start-up with an archive named on the command line. MainForm's start-up reads an archive whose
// last three letters are all lower or all upper case only, yet a desktop hands over any name its
// file types match ("Data.Lod" as well as "data.lod"). Such an archive is opened as the open
// dialog opens one: the dialog answers once, in advance, with the archive and its kind's filter.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "archive/ArchiveFormat.h"
#include "toolkit/WindowToolkit.h"
#include "window/MainForm.h"

namespace brasvel::app {

// The game's folder as its installer records it (AppPath; the open dialog starts in its "data"
// folder); empty when it records none. Only read. On Windows the string value AppPath of
// HKEY_LOCAL_MACHINE\Software\Talgrove\Brasvel\1.0, in the 32-bit view first, where a 32-bit
// installer writes it; elsewhere the same key of the user's settings (Talgrove/Brasvel.conf).
std::string installedGameFolder();

// The format of an archive whose last three letters name it in mixed case ("Data.Lod", "x.sNd"),
// which MainForm's start-up leaves unread; null for every other name.
const ArchiveFormat* mixedCaseFormat(const std::string& path);

// The open dialog's filter (from 1) that opens an archive as `format`.
int filterIndexOf(const ArchiveFormat& format);

// A toolkit whose next open dialog can be answered in advance; the answer is given once.
template <typename Toolkit>
class OpenDialogAnsweredOnce : public Toolkit {
public:
    using Toolkit::Toolkit;

    void answerNextOpenDialog(OpenChoice choice) { pendingChoice_ = std::move(choice); }

    std::optional<OpenChoice> runOpenDialog(std::string_view initialDirectory,
                                            std::span<const OpenFilter> filters) override {
        if (pendingChoice_) {
            return std::exchange(pendingChoice_, std::nullopt);
        }
        return Toolkit::runOpenDialog(initialDirectory, filters);
    }

private:
    std::optional<OpenChoice> pendingChoice_;
};

// MainForm's start-up, then the archive of a mixed-case name opened through the dialog's path.
template <typename Toolkit>
void startUp(MainForm& form, OpenDialogAnsweredOnce<Toolkit>& ui, const std::string& appPath,
             const std::string& archive) {
    form.FormCreate(appPath, archive);
    if (const ArchiveFormat* format = mixedCaseFormat(archive)) {
        ui.answerNextOpenDialog({archive, filterIndexOf(*format)});
        form.ToolButton1Click();
    }
}

}  // namespace brasvel::app
