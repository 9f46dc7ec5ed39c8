// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/StartupArchive.h"

#include <QSettings>
#include <QVariant>
#include <algorithm>

#include "app/LocalPath.h"

namespace brasvel::app {

std::string installedGameFolder() {
#ifdef _WIN32
    const QString key = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Talgrove\\Brasvel\\1.0");
    for (const QSettings::Format view : {QSettings::Registry32Format, QSettings::Registry64Format}) {
        const QSettings settings(key, view);
        const QVariant value = settings.value(QStringLiteral("AppPath"));
        if (value.isValid()) {
            return localPath(value.toString());
        }
    }
    return {};
#else
    const QSettings settings(QStringLiteral("Talgrove"), QStringLiteral("Brasvel"));
    return localPath(settings.value(QStringLiteral("1.0/AppPath")).toString());
#endif
}

const ArchiveFormat* mixedCaseFormat(const std::string& path) {
    return formatFromPath(path, LetterCase::Single) != nullptr ? nullptr : formatFromPath(path);
}

int filterIndexOf(const ArchiveFormat& format) {
    const auto formats = archiveFormats();
    const auto found = std::find(formats.begin(), formats.end(), &format);
    return static_cast<int>(found - formats.begin()) + 1;
}

}  // namespace brasvel::app
