// A page kept as its drawing operations, to be drawn again later on any
// device (a printer, a PDF) by a PainterCanvas. It is a canvas of its own, so
// it can be the mirror of the canvas the page is drawn on.
#pragma once

#include "canvas.h"
#include "painting.h"

#include <QImage>
#include <vector>

class RasterCanvas;

class PagePicture : public MeasuredCanvas {
public:
    // Starts from what the canvas shows now: a page that does not clear it
    // first draws over that. The picture is taken when the first operation
    // comes (as this canvas's mirror, before the canvas draws it), or at
    // finish(); a page that clears first needs none.
    explicit PagePicture(const RasterCanvas& start);
    // Takes the starting picture if no operation has yet. Call before the
    // canvas changes or goes without this as its mirror.
    void finish();

    int pixelWidth() const override { return w_; }
    int pixelHeight() const override { return h_; }

    // One operation with the pen and fill it was made with; pixel copies keep
    // the pixels they copied, as they were at that moment.
    struct Op {
        DrawOp::Kind kind;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // circles: centre, then radii
        double start = 0, end = 0;              // arc angles
        QString text;                           // text as the page gave it
        QByteArray bytes;                       // glyph output
        Font font{};
        GlyphFont which = GlyphFont::Current;
        Color color = 0;
        int angle = 0;
        int drawWidth = 1;
        DrawStyle drawStyle = DrawStyle::Solid;
        FillStyle fillStyle = FillStyle::Transparent;
        Color fillColor = 0;
        QImage pixels;
    };
    const std::vector<Op>& ops() const { return ops_; }

protected:
    void drawTextPx(const Font& f, double x, double y, const QString& s, Color c,
                    int angle) override;
    QSize glyphsPx(const Font& f, int x, int y, const QByteArray& bytes, bool draw, Color c,
                   int angle, GlyphFont which) override;
    void linePx(double x1, double y1, double x2, double y2, Color c) override;
    void boxPx(double x1, double y1, double x2, double y2, Color c, bool filled) override;
    void circlePx(double cx, double cy, double rx, double ry, Color c, double start,
                  double end) override;
    void psetPx(double x, double y, Color c) override;
    void clearPx(Color back) override;
    void copyPx(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) override;

private:
    Op& add(DrawOp::Kind kind, double x1, double y1, double x2, double y2, Color c);
    void addPixels(const QImage& from, int dx, int dy, int w, int h, int sx, int sy);
    int w_, h_;
    const RasterCanvas* start_;  // until its picture is taken, or needs none
    std::vector<Op> ops_;
};
