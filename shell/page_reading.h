// What a page box shows as text, as a reader reads it: its own picture, the
// pictures of the figure boxes on it and the captions of the labels on it,
// in reading order. What Ctrl+C copies and what assistive technology reads.
#pragma once

#include <QString>
#include <QStringList>

namespace shell {

class PageBox;

// The lines of the page, top to bottom (see typeset::readingLines); spoken,
// its formulas in Japanese words (see typeset::appendLinearPieces).
QStringList pageLines(PageBox& box, bool spoken = false);
// The lines joined by line breaks.
QString pageText(PageBox& box, bool spoken = false);
// Its section heading; on a page that goes on with a section, that
// section's heading and "(続き)" (continued); else its first line.
QString pageHeading(PageBox& box);

}  // namespace shell
