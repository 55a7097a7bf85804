// One drawing operation on a canvas, the record every part of the library
// shares: what the backends draw, what a canvas keeps as its picture, what
// the tests' recording canvas and the page renderer's listing show.
#pragma once

#include "color.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace typeset {

struct Copied;

// Pen styles and fill styles of the canvas (values of the pages' runtime).
enum class DrawStyle : uint8_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Transparent = 5 };
enum class FillStyle : uint8_t { Solid = 0, Transparent = 1 };

// The pen and fill an operation is made with.
struct Pen {
    Color color = 0;      // of the text, line, outline or filled area
    Color fillColor = 0;  // inside rectangle outlines and circles
    int16_t width = 1;
    DrawStyle style = DrawStyle::Solid;
    FillStyle fillStyle = FillStyle::Transparent;
    bool operator==(const Pen&) const = default;
};

// A font as the page selects it: face name, size in points, weight, slant.
struct FontSpec {
    QString face;
    float size = 0;  // the canvas's FontSize
    bool bold = false, italic = false;
};

// Which font glyph output uses: the canvas's current font, the canvas's face
// at the device's default height (regular weight), or the device's default
// face and height.
enum class GlyphFont : uint8_t { Current, FaceAtDefaultHeight, DeviceDefault };

// A page keeps thousands of these (a traced graph is a line per step), so
// what only some kinds need is small or shared.
struct DrawOp {
    enum Kind : uint8_t { Text, Glyph, Line, Rect, FilledRect, Circle, Point, Clear, Copy };
    Kind kind = Text;
    GlyphFont which = GlyphFont::Current;  // glyphs: which font they are drawn in
    int16_t angle = 0;  // text and glyphs, degrees counter-clockwise
    Pen pen;
    // Canvas pixels. Text and glyphs: the cell's top-left and the far corner
    // of their extent; lines: the two ends; rectangles: two corners; points:
    // (x1, y1); clearing: the whole surface; copies: where the pixels land.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // Circles and arcs: centre (x1, y1), the radii across and down, and the
    // arc's angles in radians (both 0 for the whole ellipse).
    double rx = 0, ry = 0, start = 0, end = 0;
    // Text and glyphs: the font selected for them (for glyphs, the face and
    // size `which` gives).
    FontSpec font;
    // As the page gave it: the text, or the glyph codes one character each.
    QString text;
    // The Unicode text it shows: a Symbol code as the sign it draws (Γ for
    // "G"), a Wingdings code as its pictograph, glyph codes of a text face
    // read in the Western code page.
    QString meaning;
    std::shared_ptr<const Copied> copied;  // copies: what was copied, as it was then
};

// What a copy copied: the pixels, and the text and glyph operations of the
// source that those pixels show, moved to where they land, so that a copy of
// a page still reads as that page.
struct Copied {
    QImage pixels;
    std::vector<DrawOp> text;
    // The source's operations that drew those pixels, moved likewise, in
    // drawing order, for backends that draw vectors; empty where the pixels
    // are all there is (the source kept no picture, or held copies there).
    std::vector<DrawOp> drawing;
    // What the source says its figure shows (its first described figure),
    // so that the copy is that figure to a reader too.
    QString description;
};

const char* opKindName(DrawOp::Kind k);

}  // namespace typeset
