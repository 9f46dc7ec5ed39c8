// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/About.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/AppTexts.h"
#include "app/Artwork.h"

namespace brasvel::app {
namespace {

QLabel* yellowLabel(QWidget* parent, const QString& text, int pixelSize, bool italic) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(pixelSize > 11);
    font.setItalic(italic);
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 255, 0));
    label->setPalette(palette);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(appText(texts::kAboutTitle));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(247, 252);

    // The picture is drawn unscaled from the top-left corner and cut by the box's edges.
    Image1 = new QLabel(this);
    Image1->setPixmap(aboutPicture());
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setGeometry(0, 0, 247, 252);

    Label2 = yellowLabel(this, appText(texts::kAboutProgram), 19, false);
    Label2->move(8, 8);
    Label2->adjustSize();
    Label3 = yellowLabel(this, appText(texts::kAboutMadeBy), 16, false);
    Label3->setAlignment(Qt::AlignHCenter);
    Label3->setGeometry(24, 32, 200, 22);
    Label1 = yellowLabel(this, appText(texts::kAboutMaker), 16, true);
    Label1->setAlignment(Qt::AlignHCenter);
    Label1->setGeometry(8, 56, 231, 22);
    Label4 = yellowLabel(this, appText(texts::kAboutVersion), 11, false);
    Label4->setWordWrap(true);
    Label4->setGeometry(8, 190, 231, 30);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

    OKButton = new QPushButton(appText(texts::kOk), this);
    OKButton->setGeometry(168, 225, 75, 25);
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    // Centred on the screen, not over the window.
    const QScreen* screen = parent != nullptr ? parent->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen != nullptr) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TAboutBox::reject() {
    accept();
}

}  // namespace brasvel::app
