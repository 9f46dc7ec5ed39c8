// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/QtSettings.h"

#include <QDockWidget>
#include <QMainWindow>

namespace brasvel::app {
namespace {

QString keyOf(std::string_view key) {
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kStateKey = QStringLiteral("window/state");

}  // namespace

QtSettings::QtSettings()
    : settings_(QString::fromUtf8(kSettingsOrganisation), QString::fromUtf8(kSettingsApplication)) {
}

std::optional<std::string> QtSettings::value(std::string_view key) const {
    const QVariant stored = settings_.value(keyOf(key));
    if (!stored.isValid()) {
        return std::nullopt;
    }
    return stored.toString().toStdString();
}

void QtSettings::setValue(std::string_view key, std::string_view value) {
    if (value.empty()) {
        settings_.remove(keyOf(key));
    } else {
        settings_.setValue(keyOf(key), QString::fromUtf8(value.data(),
                                                         static_cast<qsizetype>(value.size())));
    }
}

bool QtSettings::hasWindow() const {
    return settings_.contains(kGeometryKey);
}

bool QtSettings::restoreWindow(QMainWindow& window) {
    window.restoreGeometry(settings_.value(kGeometryKey).toByteArray());
    const bool placed = window.restoreState(settings_.value(kStateKey).toByteArray());
    for (QDockWidget* panel : window.findChildren<QDockWidget*>()) {
        panel->hide();
    }
    return placed;
}

void QtSettings::saveWindow(const QMainWindow& window) {
    settings_.setValue(kGeometryKey, window.saveGeometry());
    settings_.setValue(kStateKey, window.saveState());
    settings_.sync();
}

}  // namespace brasvel::app
