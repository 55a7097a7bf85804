// The abstract drawing surface every printer and page routine draws on.
//
// It mirrors the property-and-method surface of the pages' canvas: font
// properties and colours are plain fields the library sets and restores,
// drawing and measuring go through the virtual operations. Coordinates are in
// the canvas's user scale (pixels unless `scale` was called).
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

using Color = uint32_t;  // 24-bit RGB, red in the lowest byte

constexpr Color RGB(int r, int g, int b) {
    return Color(r & 255) | (Color(g & 255) << 8) | (Color(b & 255) << 16);
}

// The system's button-text colour reference; backends resolve it to black.
constexpr Color colSystemText = 0x80000012u;

// One drawing operation, as kept by the recording canvas and by the raster
// canvas's optional log (pageshot --list).
struct DrawOp {
    enum Kind { Text, Glyph, Line, Rect, FilledRect, Circle, Point, Clear, Copy };
    Kind kind = Text;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // canvas pixels
    QString text;                          // text and glyph ops
    QString face;                          // requested face (recording) or family used (raster)
    double size = 0;                       // points
    bool bold = false, italic = false;
    Color color = 0;
    int drawWidth = 1;
    int angle = 0;     // degrees, rotated text and glyphs
    double r = 0;      // circle radius
    double aspect = 1; // circle aspect
};

const char* opKindName(DrawOp::Kind k);

// Pen styles and fill styles of the canvas (values of the pages' runtime).
enum class DrawStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Transparent = 5 };
enum class FillStyle { Solid = 0, Transparent = 1 };

class Canvas {
public:
    virtual ~Canvas() = default;

    // Font and colour properties; the library changes and restores these.
    QString FontName = QStringLiteral("メイリオ");
    float FontSize = 12.0f;
    bool FontBold = false;
    bool FontItalic = false;
    Color ForeColor = 0;
    Color BackColor = RGB(255, 255, 255);
    Color FillColor = 0;
    FillStyle FillStyle_ = FillStyle::Transparent;
    DrawStyle DrawStyle_ = DrawStyle::Solid;
    int DrawWidth = 1;
    // False: Print fills each text's cell with BackColor first, so text
    // stays legible over lines drawn before it.
    bool FontTransparent = true;
    float CurrentX = 0, CurrentY = 0;

    // Size of the surface in pixels.
    virtual int pixelWidth() const = 0;
    virtual int pixelHeight() const = 0;

    // Extent of a string in the current font, in user units.
    double TextWidth(const QString& s);
    double TextHeight(const QString& s);

    // Draws s with its top-left at (CurrentX, CurrentY); CurrentX advances by
    // its width.
    void Print(const QString& s);

    // Which font glyph output uses: the canvas's current font, the canvas's
    // face at the device's default height (regular weight), or the device's
    // default face and height.
    enum class GlyphFont { Current, FaceAtDefaultHeight, DeviceDefault };
    // Glyph output by byte code at whole pixels, optionally turned by angle
    // degrees (counter-clockwise). Returns the extent of the bytes in whole
    // pixels, as the device reports it.
    QSize glyphs(int x, int y, const QByteArray& bytes, bool draw, int angle = 0,
                 GlyphFont which = GlyphFont::Current);

    // Text turned by angle degrees at (CurrentX, CurrentY) in the given face
    // selection; CurrentX advances by the unturned width.
    void printRotated(const QString& s, int angle);

    void Line(double x1, double y1, double x2, double y2, Color c);
    void Box(double x1, double y1, double x2, double y2, Color c, bool filled);
    // Circle or arc; angles in radians (0 and 0 = full circle), aspect = height/width.
    void Circle(double cx, double cy, double r, Color c, double start = 0, double end = 0,
                double aspect = 1.0);
    void PSet(double x, double y, Color c);
    void Cls();

    // User coordinates: (x1, y1) maps to the top-left pixel, (x2, y2) to the
    // bottom-right. scaleReset returns to pixels.
    void Scale(double x1, double y1, double x2, double y2);
    void scaleReset();

    // Every drawing property at once (fonts, colours, pen and fill, current
    // point, user scale), for a drawing that is interrupted and resumed.
    struct State {
        QString FontName;
        float FontSize;
        bool FontBold, FontItalic;
        Color ForeColor, BackColor, FillColor;
        FillStyle FillStyle_;
        DrawStyle DrawStyle_;
        int DrawWidth;
        bool FontTransparent;
        float CurrentX, CurrentY;
        double scaleLeft, scaleTop, sx, sy;
    };
    State state() const;
    void setState(const State& s);

    // Pixel copy of a region of another canvas (source copy).
    void copyFrom(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy);

    // When set, every drawing operation is made on this canvas too, with this
    // canvas's pen and fill, just before it is made here: a page drawn for
    // paper is kept as operations while it is drawn on its image.
    Canvas* mirror = nullptr;

    // Makes the surface visible on screen (a page box, or the print canvas as
    // a window of its own). Surfaces without a window ignore it.
    virtual void makeVisible() {}

    // Pixel <-> user conversions.
    double toPxX(double x) const { return (x - scaleLeft_) * sx_; }
    double toPxY(double y) const { return (y - scaleTop_) * sy_; }
    double lenX(double px) const { return px / sx_; }
    double lenY(double px) const { return px / sy_; }

protected:
    // Backend operations, all in canvas pixels with the current font state.
    struct Font {
        QString face;
        double size;
        bool bold, italic;
    };
    Font font() const { return {FontName, FontSize, FontBold, FontItalic}; }
    virtual double measureWidthPx(const Font& f, const QString& s) = 0;
    virtual double measureHeightPx(const Font& f, const QString& s) = 0;
    virtual void drawTextPx(const Font& f, double x, double y, const QString& s, Color c,
                            int angle) = 0;
    virtual QSize glyphsPx(const Font& f, int x, int y, const QByteArray& bytes, bool draw,
                           Color c, int angle, GlyphFont which) = 0;
    virtual void linePx(double x1, double y1, double x2, double y2, Color c) = 0;
    virtual void boxPx(double x1, double y1, double x2, double y2, Color c, bool filled) = 0;
    virtual void circlePx(double cx, double cy, double rx, double ry, Color c, double start,
                          double end) = 0;
    virtual void psetPx(double x, double y, Color c) = 0;
    virtual void clearPx(Color back) = 0;
    virtual void copyPx(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) = 0;

private:
    // Runs a drawing operation on this canvas and on the mirror.
    template <class Op>
    void both(Op&& op);
    double scaleLeft_ = 0, scaleTop_ = 0, sx_ = 1, sy_ = 1;
};

// The colour a backend paints for a canvas colour value.
Color resolveColor(Color c);
