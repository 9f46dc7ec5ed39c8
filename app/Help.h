// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The help window, "Pomoc": three pages of read-only text (about the program, how to use it, its
// history). It opens on the history page every time.

#include <QDialog>

class QPlainTextEdit;
class QTabWidget;

namespace brasvel::app {

class Thelp : public QDialog {
    Q_OBJECT
public:
    explicit Thelp(QWidget* parent = nullptr);

    QTabWidget* TabbedNotebook1 = nullptr;
    QPlainTextEdit* RichEdit1 = nullptr;
    QPlainTextEdit* RichEdit2 = nullptr;
    QPlainTextEdit* RichEdit4 = nullptr;
};

}  // namespace brasvel::app
