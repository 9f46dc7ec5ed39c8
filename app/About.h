// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The About box, "O programie...": a picture with the program's name, its maker, the version
// and the translation credit, closed by its OK button, Enter or Escape.

#include <QDialog>

class QLabel;
class QPushButton;

namespace brasvel::app {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* OKButton = nullptr;

public slots:
    // Escape closes the box with the result OK as well.
    void reject() override;
};

}  // namespace brasvel::app
