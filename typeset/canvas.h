// The abstract drawing surface every printer and page routine draws on.
//
// It mirrors the property-and-method surface of the pages' canvas: font
// properties and colours are plain fields the library sets and restores,
// drawing and measuring go through the virtual operations. Coordinates are in
// the canvas's user scale (pixels unless `scale` was called).
#pragma once

#include "color.h"
#include "draw_op.h"
#include "picture.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

namespace typeset {

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

    using GlyphFont = typeset::GlyphFont;
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

    // While held, what is drawn and the groups around it are kept back, in
    // order, neither painted nor in the picture: a paced drawing is recorded
    // at once and shown a mark at a time. Measuring and the properties work
    // as ever. The positions count what has been kept back since the canvas
    // was made; showHeld(n) shows it up to position n as if it were drawn
    // then, release() shows the rest and ends the hold, dropHeld() forgets
    // the rest (the page is about to be drawn afresh).
    void hold();
    bool held() const { return holding_; }
    uint64_t heldPosition() const { return shownPosition_ + (held_.size() - heldNext_); }
    uint64_t shownPosition() const { return shownPosition_; }
    void showHeld(uint64_t position);
    void release();
    void dropHeld();
    // Draws on target what this canvas will show once shown up to position:
    // its picture and the operations held before that position.
    void drawAhead(Canvas& target, uint64_t position) const;

    // Pixel copy of a region of another canvas (source copy). A source that
    // has no pixels (a recording canvas) gives nothing to copy.
    void copyFrom(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy);
    // The pixels of a region, for a copy; null when the canvas keeps none.
    virtual QImage pixelsOf(const QRect&) const { return QImage(); }

    // Pieces drawn until endSign() make one sign (an integral of two halves,
    // a brace of five pieces): the first piece of text means the whole sign,
    // the others nothing more. Signs do not nest; an inner one is part of
    // the outer.
    void beginSign(const QString& meaning);
    void endSign();

    // Operations drawn until the matching endGroup() make one formula
    // construct or part of one in the picture (see Group); they draw as
    // they would without it. False when the canvas keeps no picture.
    bool beginGroup(Group::Kind kind);
    // A group drawn apart from the construct it is part of (see
    // Picture::openGroupIn); parent as newestGroup() gave it.
    bool beginGroupIn(Group::Kind kind, int parent);
    // The index of the group opened last, -1 when the canvas keeps no picture.
    int newestGroup() const;
    // Makes group, drawn before it, a part of parent (see Picture::adopt).
    void adopt(int group, int parent);
    void endGroup();
    // Describes the innermost open group in words (see Picture::describe).
    void describe(const QString& text);

    // What has been drawn since the canvas was last cleared.
    const Picture& picture() const { return picture_; }
    // For a canvas nobody is drawing on: its picture gives back spare room.
    void compactPicture() { picture_.compact(); }
    // Draws a picture's operations here (those from `from` on), as if they
    // were made on this canvas.
    void replay(const Picture& picture, size_t from = 0);
    // A canvas that only shows another's picture (at another scale) need
    // not keep one of its own.
    void keepPicture(bool on) { keepsPicture_ = on; }
    bool keepsPicture() const { return keepsPicture_; }

    // Makes the surface visible on screen (a page box, or the print canvas as
    // a window of its own). Surfaces without a window ignore it.
    virtual void makeVisible() {}

    // Pixel <-> user conversions.
    double toPxX(double x) const { return (x - scaleLeft_) * sx_; }
    double toPxY(double y) const { return (y - scaleTop_) * sy_; }
    double lenX(double px) const { return px / sx_; }
    double lenY(double px) const { return px / sy_; }

protected:
    // What a backend does: measures text in a font, gives the extent of glyph
    // codes in whole pixels, and draws one operation (canvas pixels).
    using Font = FontSpec;
    Font font() const { return {FontName, FontSize, FontBold, FontItalic}; }
    virtual double measureWidthPx(const Font& f, const QString& s) = 0;
    virtual double measureHeightPx(const Font& f, const QString& s) = 0;
    virtual QSize glyphExtentPx(const Font& f, const QByteArray& bytes, GlyphFont which) = 0;
    virtual void paint(const DrawOp& op) = 0;

private:
    // Draws the operation and keeps it in the picture (or keeps it back).
    void draw(DrawOp&& op);
    void commit(DrawOp&& op);
    // What a held canvas keeps back: an operation, or a change of the
    // picture's groups.
    struct Held {
        enum Kind : uint8_t { Op, Open, OpenIn, Adopt, Close, Describe } kind;
        DrawOp op{};
        Group::Kind group = Group::Row;
        int a = -1, b = -1;
        QString text{};
    };
    void apply(Held&& h);
    bool holding_ = false;
    std::vector<Held> held_;
    size_t heldNext_ = 0;  // the first of held_ not yet shown
    uint64_t shownPosition_ = 0;
    int heldGroups_ = 0;  // the picture's groups once all that is held is shown
    Pen pen(Color c) const { return {c, FillColor, int16_t(DrawWidth), DrawStyle_, FillStyle_}; }
    // The font glyph output uses for a selection, as a page would name it.
    Font glyphFontSpec(GlyphFont which) const;
    double scaleLeft_ = 0, scaleTop_ = 0, sx_ = 1, sy_ = 1;
    Picture picture_;
    bool keepsPicture_ = true;
    int signDepth_ = 0;
    QString signMeaning_;  // until the sign's first piece takes it
};

// One sign made of pieces, for as long as it lives (see Canvas::beginSign).
class OneSign {
public:
    OneSign(Canvas& c, const QString& meaning) : c_(c) { c_.beginSign(meaning); }
    ~OneSign() { c_.endSign(); }
    OneSign(const OneSign&) = delete;
    OneSign& operator=(const OneSign&) = delete;

private:
    Canvas& c_;
};

// A group of the canvas's picture around what is drawn while it lives (see
// Canvas::beginGroup).
class Construct {
public:
    Construct(Canvas& c, Group::Kind kind) : c_(c), open_(c.beginGroup(kind)) {}
    ~Construct() {
        if (open_) c_.endGroup();
    }
    Construct(const Construct&) = delete;
    Construct& operator=(const Construct&) = delete;

private:
    Canvas& c_;
    const bool open_;
};

// Draws one part of a construct (a numerator, a limit) as a group of its own.
template <typename Draw>
void drawAs(Canvas& c, Group::Kind kind, Draw&& draw) {
    Construct group(c, kind);
    draw();
}

// Draws a construct whose parts come later (a row of fraction bars first,
// their numerators and denominators after them); returns what drawPartOf
// takes to name it, -1 when the canvas keeps no picture.
template <typename Draw>
int drawConstruct(Canvas& c, Group::Kind kind, Draw&& draw) {
    Construct group(c, kind);
    const int g = c.newestGroup();
    draw();
    return g;
}

// Draws one part of a construct drawn earlier by drawConstruct.
template <typename Draw>
void drawPartOf(Canvas& c, int construct, Group::Kind kind, Draw&& draw) {
    const bool open = construct >= 0 && c.beginGroupIn(kind, construct);
    draw();
    if (open) c.endGroup();
}

}  // namespace typeset
