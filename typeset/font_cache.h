// Real fonts for canvas font selections, built once per selection: creating a
// QFont and its metrics on every printed piece would dominate drawing time.
#pragma once

#include "faces.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

class QPaintDevice;

namespace typeset {

// Every canvas is 96 dpi, so one device measures and lays out text for them all.
QPaintDevice* measureDevice();

struct ResolvedFont {
    QFont font;
    QFontMetricsF metrics;
    FaceInfo face;
    double ascent;  // pixels from the cell's top to the baseline
    double height;  // cell height in pixels
    double em;      // the font's size in pixels

    // Advance of a text; in a face with double-byte cells, the sum of the cells.
    // Pages measure the same short texts over and over ("A" for every script),
    // so measurements are kept.
    double advance(const QString& s) const;
    mutable QHash<QString, double> widths;
    // Width of the cell a character of a double-byte-cell face occupies.
    double cell(QChar ch) const { return ch.unicode() >= 0x100 ? em : em / 2; }
};

// The font for (face, size in points, bold, italic) on a 96-dpi surface.
// pixelHeight > 0 asks for that many pixels instead of the point size.
const ResolvedFont& resolveFont(const QString& face, double points, bool bold, bool italic,
                                int pixelHeight = 0);

}  // namespace typeset
