// One drawing operation on a canvas, the record every part of the library
// shares: what the backends draw, what a canvas keeps as its picture, what
// the tests' recording canvas and the page renderer's listing show.
#pragma once

#include "color.h"

#include <QImage>
#include <QString>

namespace typeset {

// Pen styles and fill styles of the canvas (values of the pages' runtime).
enum class DrawStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Transparent = 5 };
enum class FillStyle { Solid = 0, Transparent = 1 };

// The pen and fill an operation is made with.
struct Pen {
    Color color = 0;  // of the text, line, outline or filled area
    int width = 1;
    DrawStyle style = DrawStyle::Solid;
    Color fillColor = 0;  // inside rectangle outlines and circles
    FillStyle fillStyle = FillStyle::Transparent;
    bool operator==(const Pen&) const = default;
};

// A font as the page selects it: face name, size in points, weight, slant.
struct FontSpec {
    QString face;
    double size = 0;
    bool bold = false, italic = false;
};

// Which font glyph output uses: the canvas's current font, the canvas's face
// at the device's default height (regular weight), or the device's default
// face and height.
enum class GlyphFont { Current, FaceAtDefaultHeight, DeviceDefault };

struct DrawOp {
    enum Kind { Text, Glyph, Line, Rect, FilledRect, Circle, Point, Clear, Copy };
    Kind kind = Text;
    // Canvas pixels. Text and glyphs: the cell's top-left and the far corner
    // of their extent; lines: the two ends; rectangles: two corners; points:
    // (x1, y1); clearing: the whole surface; copies: where the pixels land.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // Circles and arcs: centre (x1, y1), the radii across and down, and the
    // arc's angles in radians (both 0 for the whole ellipse).
    double rx = 0, ry = 0, start = 0, end = 0;
    Pen pen;
    // Text and glyphs: the font selected for them (for glyphs, the face and
    // size `which` gives), turned by angle degrees counter-clockwise.
    FontSpec font;
    GlyphFont which = GlyphFont::Current;
    int angle = 0;
    // As the page gave it: the text, or the glyph codes one character each.
    QString text;
    // The Unicode text it shows: a Symbol code as the sign it draws (Γ for
    // "G"), a Wingdings code as its pictograph, glyph codes of a text face
    // read in the Western code page.
    QString meaning;
    QImage pixels;  // copies: what was copied, as it was then
};

const char* opKindName(DrawOp::Kind k);

}  // namespace typeset
