// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// brasvel-render-icons: paints the program's icon at build time, from the same painting the window
// uses, for the desktop or for the Windows program's resources.
//
//   brasvel-render-icons THEME_DIR ICON_NAME   writes THEME_DIR/SIZExSIZE/apps/ICON_NAME.png
//                                              for each size the window's icon holds
//   brasvel-render-icons --ico FILE.ico        writes one Windows icon holding every size
//
// Needs no display: it runs on Qt's offscreen platform (the minimal one in the static Qt for
// Windows, which has no offscreen platform).

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QtEndian>
#include <cstdio>

#include "app/Artwork.h"

namespace {

void appendLittleEndian(QByteArray& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A Windows icon file: a header, one directory row per size, then each size as a PNG image
// (which Windows reads in icons since Vista). A size of 256 is written as 0 in its byte.
bool writeIcon(const QString& path) {
    QList<QByteArray> images;
    for (const int size : brasvel::app::kProgramIconSizes) {
        if (size > 256) {
            continue;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!brasvel::app::programIconImage(size).save(&buffer, "PNG")) {
            return false;
        }
        images.append(png);
    }
    QByteArray file;
    appendLittleEndian(file, 0, 2);  // reserved
    appendLittleEndian(file, 1, 2);  // an icon
    appendLittleEndian(file, static_cast<quint32>(images.size()), 2);
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    int index = 0;
    for (const int size : brasvel::app::kProgramIconSizes) {
        if (size > 256) {
            continue;
        }
        const QByteArray& png = images.at(index++);
        appendLittleEndian(file, size == 256 ? 0 : static_cast<quint32>(size), 1);  // width
        appendLittleEndian(file, size == 256 ? 0 : static_cast<quint32>(size), 1);  // height
        appendLittleEndian(file, 0, 1);   // no palette
        appendLittleEndian(file, 0, 1);   // reserved
        appendLittleEndian(file, 1, 2);   // colour planes
        appendLittleEndian(file, 32, 2);  // bits per pixel
        appendLittleEndian(file, static_cast<quint32>(png.size()), 4);
        appendLittleEndian(file, offset, 4);
        offset += static_cast<quint32>(png.size());
    }
    for (const QByteArray& png : images) {
        file.append(png);
    }
    QSaveFile output(path);
    return output.open(QIODevice::WriteOnly) && output.write(file) == file.size() &&
           output.commit();
}

bool writeTheme(const QString& themeDir, const QString& iconName) {
    for (const int size : brasvel::app::kProgramIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(themeDir).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, iconName);
        if (!QDir().mkpath(folder) || !brasvel::app::programIconImage(size).save(path)) {
            std::fprintf(stderr, "brasvel-render-icons: cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    qputenv("QT_QPA_PLATFORM", "minimal");
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    const QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: brasvel-render-icons THEME_DIR ICON_NAME | --ico FILE.ico\n", stderr);
        return 2;
    }
    if (arguments.at(1) == QStringLiteral("--ico")) {
        if (!writeIcon(arguments.at(2))) {
            std::fprintf(stderr, "brasvel-render-icons: cannot write %s\n",
                         qPrintable(arguments.at(2)));
            return 1;
        }
        return 0;
    }
    return writeTheme(arguments.at(1), arguments.at(2)) ? 0 : 1;
}
