// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// mime-probe FILE...: prints "FILE<TAB>MIME TYPE" for each file, as Qt's MIME database (which
// reads the shared-mime-info of $XDG_DATA_DIRS) names it from its name and its first bytes, the
// way a desktop's file manager chooses the program that opens it.

#include <QCoreApplication>
#include <QMimeDatabase>
#include <cstdio>

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    const QMimeDatabase database;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        std::printf("%s\t%s\n", argv[i], qPrintable(database.mimeTypeForFile(path).name()));
    }
    return 0;
}
