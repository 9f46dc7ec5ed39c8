// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Paths between Qt and the core. The core takes a path as the bytes the system's file calls take:
// on Linux a file name's own bytes (QFile::encodeName), on Windows UTF-8, which base/Platform.h
// turns into UTF-16 (the ANSI code page cannot hold every name, Polish letters included).

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace brasvel::app {

inline std::string localPath(const QString& path) {
#ifdef _WIN32
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

inline QString fromLocalPath(std::string_view path) {
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
#ifdef _WIN32
    return QString::fromUtf8(bytes);
#else
    return QFile::decodeName(bytes);
#endif
}

// The program's arguments after its name, as paths the core takes: on Windows from the system's
// UTF-16 command line (argv holds them in the ANSI code page), elsewhere argv's bytes.
inline std::vector<std::string> programArguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) {
        arguments.push_back(all.at(i).toStdString());
    }
    return arguments;
#else
    return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace brasvel::app
