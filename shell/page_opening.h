// How pages start: every page routine clears CurPic and sets the pen where
// its text begins, one line lower on paper, where page 0 also carries the
// chapter title.
#pragma once

#include <QString>

// Clears CurPic (back to pixel coordinates); the pen at (TabX1, 0), or at
// (TabX1, UnitH) while printing.
void openPage();

// openPage, the heading in blue, then the pen at the margin 1.5 lines lower.
void openPage(const QString& heading);

// Page 0: cleared, the pen line at UnitH; while printing, first the chapter
// title (prPaperTitle).
void openTitlePage(const QString& title, float titleUnits, float titleSize);

// The chapter title that page 0 carries on paper: at the pen line, units
// layout units from the left, in the given size; then the page size again and
// the pen one and a half lines lower.
void prPaperTitle(const QString& title, float units, float size);
