// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/WindowKinds.h"

#include <algorithm>

namespace brasvel {
namespace {

// n / d rounded to the nearest whole number, a half going to the even neighbour.
int roundHalfEven(int n, int d) {
    const int quotient = n / d;
    const int twiceRemainder = 2 * (n % d);
    if (twiceRemainder > d || (twiceRemainder == d && quotient % 2 != 0)) {
        return quotient + 1;
    }
    return quotient;
}

int everyRow(int /*rows*/) { return 1; }
int tenSteps(int rows) { return std::max(1, roundHalfEven(rows, 10)); }
int hundredSteps(int rows) { return std::max(1, roundHalfEven(rows, 100)); }

const WindowKind kLodWindow{"*.Lod", 50, 2, {tenSteps, 10}, {hundredSteps, 1}};
const WindowKind kSndWindow{"*.SND", 1, 1, {everyRow, 1}, {everyRow, 1}};
const WindowKind kVidWindow{"*.Vid", 1, 10, {everyRow, 7}, {everyRow, 7}};
const WindowKind kFolderWindow{"", 1, 1, {hundredSteps, 1}, {hundredSteps, 1}};

}  // namespace

const WindowKind& windowKindOf(const ArchiveFormat& format) {
    if (&format == &kLodFormat) {
        return kLodWindow;
    }
    return &format == &kSndFormat ? kSndWindow : kVidWindow;
}

const WindowKind& folderWindowKind() { return kFolderWindow; }

}  // namespace brasvel
