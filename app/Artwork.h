#pragma once

// Every picture of the window is painted here in code: the sixteen 16 x 16 images of ImageList1
// (commands 0 to 3, type icons 4 to 15), the window icon, the player's buttons and the About
// picture. No image files ship with the program.

#include <QIcon>
#include <QPixmap>
#include <QVector>

namespace brasvel::app {

inline constexpr int kImageListSize = 16;
inline constexpr int kImageCount = 16;

// ImageList1, image 0 to 15, each 16 x 16.
const QVector<QPixmap>& imageList1();
// One image of ImageList1 as an icon; an index outside 0 to 15 gives image 0.
QIcon listIcon(int image);

// The 64 x 64 window icon.
QIcon programIcon();

// The player's two buttons.
QIcon playIcon();
QIcon stopIcon();

// The About box picture, 250 x 332.
QPixmap aboutPicture();

}  // namespace brasvel::app
