// What the raster canvas and the painter canvas share when they turn a canvas
// operation into QPainter calls, so that a page on paper is drawn exactly as
// the same page on a 96-dpi image.
#pragma once

#include "canvas.h"
#include "font_cache.h"

#include <QPen>

class QPainter;

namespace typeset {


// A canvas that measures text in the real faces on a 96-dpi surface, as
// every canvas that draws with QPainter does, whatever its device.
class MeasuredCanvas : public Canvas {
protected:
    double measureWidthPx(const Font& f, const QString& s) override;
    double measureHeightPx(const Font& f, const QString& s) override;
    QSize glyphExtentPx(const Font& f, const QByteArray& bytes, GlyphFont which) override;
};

namespace painting {

Qt::PenStyle penStyle(DrawStyle s);

// Text in a byte-addressed face is a string of byte codes.
QString displayText(const ResolvedFont& rf, const QString& s);

// The font glyph output uses for a canvas font and a glyph font selection.
const ResolvedFont& glyphFont(const QString& face, double points, bool bold, bool italic,
                              GlyphFont which);

// The font a text or glyph operation is drawn in and the characters it
// shows in that font.
struct ShownText {
    const ResolvedFont& font;
    QString shown;
};
ShownText shownText(const DrawOp& op);

// Draws shown with its cell's top-left at (x, y), turned by angle degrees,
// in the painter's current font and pen, leaning by slant (x per y above the
// baseline) where the device does not slant a face that has no italic.
void cellText(QPainter& p, const ResolvedFont& rf, double x, double y, const QString& shown,
              int angle, double slant = 0);

// Pens of lines, rectangle outlines and circles at a canvas's draw width and style.
QPen linePen(Color c, int width, DrawStyle style);
QPen outlinePen(Color c, int width, DrawStyle style);
QPen curvePen(Color c, int width, DrawStyle style);

// Start and span of an arc in sixteenths of a degree, from the canvas's
// start and end angles in radians.
std::pair<int, int> arcSixteenths(double start, double end);

}  // namespace painting

}  // namespace typeset
