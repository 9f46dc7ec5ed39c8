// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// brasvel-render-icons: paints the program's icon into a desktop icon theme at build time.
//
//   brasvel-render-icons THEME_DIR ICON_NAME
//
// writes THEME_DIR/SIZExSIZE/apps/ICON_NAME.png for each size the window's icon holds, from the
// same painting the window uses. Needs no display: it runs on Qt's offscreen platform.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "app/Artwork.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fputs("usage: brasvel-render-icons THEME_DIR ICON_NAME\n", stderr);
        return 2;
    }
    const QString themeDir = QString::fromLocal8Bit(argv[1]);
    const QString iconName = QString::fromLocal8Bit(argv[2]);
    for (const int size : brasvel::app::kProgramIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(themeDir).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, iconName);
        if (!QDir().mkpath(folder) || !brasvel::app::programIconImage(size).save(path)) {
            std::fprintf(stderr, "brasvel-render-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
