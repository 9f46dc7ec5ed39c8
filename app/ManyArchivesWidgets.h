// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The preview's side-by-side page: two versions of an entry that a comparison found changed, the
// old one on the left, each a picture or a text under its title.

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QStackedWidget;

namespace brasvel {
struct ComparedView;
}

namespace brasvel::app {

class PictureView;

class SideBySidePage : public QWidget {
    Q_OBJECT
public:
    explicit SideBySidePage(QWidget* parent = nullptr);
    // Throws ResourceError when a side's picture is no BMP file.
    void showSides(const ComparedView& old, const ComparedView& now);

    struct Side {
        QLabel* title = nullptr;
        QStackedWidget* pages = nullptr;
        PictureView* picture = nullptr;
        QPlainTextEdit* text = nullptr;
    };
    Side oldSide;
    Side newSide;

private:
    static Side buildSide(QWidget* parent, const QString& name);
    static void showSide(Side& side, const ComparedView& view);
};

}  // namespace brasvel::app
