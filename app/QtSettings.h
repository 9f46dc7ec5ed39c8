// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The window's remembered settings in the program's own QSettings: organisation "Brasvel
// Resource Editor", application "brasvel-resedit" (~/.config/Brasvel Resource Editor/
// brasvel-resedit.conf), never the game's. The window's size and the preview panel's place are
// kept there too, as Qt writes them.

#include <QByteArray>
#include <QSettings>

#include "window/WindowSettings.h"

class QMainWindow;

namespace brasvel::app {

inline constexpr const char* kSettingsOrganisation = "Brasvel Resource Editor";
inline constexpr const char* kSettingsApplication = "brasvel-resedit";

class QtSettings : public WindowSettings {
public:
    QtSettings();
    std::optional<std::string> value(std::string_view key) const override;
    void setValue(std::string_view key, std::string_view value) override;

    // The window's size and state and the preview panel's place, as the window was left. The
    // panel itself stays hidden until the preview is switched on.
    // False when no panel's place was kept.
    bool restoreWindow(QMainWindow& window);
    void saveWindow(const QMainWindow& window);
    bool hasWindow() const;

private:
    QSettings settings_;
};

}  // namespace brasvel::app
