// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Every picture of the window is painted here in code: the sixteen 16 x 16 images of ImageList1
// (commands 0 to 3, type icons 4 to 15), the program's icon, the player's buttons and the About
// picture. No image files are kept in the sources: the icons installed for the desktop are painted
// by this code at build time (RenderIcons.cpp).

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QVector>

namespace brasvel::app {

inline constexpr int kImageListSize = 16;
inline constexpr int kImageCount = 16;

// ImageList1, image 0 to 15, each 16 x 16.
const QVector<QPixmap>& imageList1();
// One image of ImageList1 as an icon; an index outside 0 to 15 gives image 0.
QIcon listIcon(int image);

// The sizes the program's icon is drawn at: the window icon holds them all, and each is installed
// into the desktop's icon theme.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The program's icon drawn at size x size, from the same painting at every size.
QImage programIconImage(int size);

// The window icon, at each of kProgramIconSizes.
QIcon programIcon();

// The player's two buttons.
QIcon playIcon();
QIcon stopIcon();
// The tool bar's switch to the details list.
QIcon detailsIcon();

// The About box picture, 250 x 332.
QPixmap aboutPicture();

}  // namespace brasvel::app
