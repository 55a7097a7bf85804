#include "page_picture.h"

#include "painting.h"
#include "raster_canvas.h"

#include <cmath>
#include <utility>

PagePicture::PagePicture(const RasterCanvas& start)
    : w_(start.pixelWidth()), h_(start.pixelHeight()), start_(&start) {}

void PagePicture::finish() {
    if (const RasterCanvas* start = std::exchange(start_, nullptr))
        addPixels(start->image(), 0, 0, w_, h_, 0, 0);
}

PagePicture::Op& PagePicture::add(DrawOp::Kind kind, double x1, double y1, double x2, double y2,
                                  Color c) {
    // A page that clears first needs no copy of what the canvas showed.
    if (kind == DrawOp::Clear) start_ = nullptr;
    else finish();
    Op op;
    op.kind = kind;
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
    op.color = c;
    op.drawWidth = DrawWidth;
    op.drawStyle = DrawStyle_;
    op.fillStyle = FillStyle_;
    op.fillColor = FillColor;
    ops_.push_back(std::move(op));
    return ops_.back();
}

void PagePicture::addPixels(const QImage& from, int dx, int dy, int w, int h, int sx, int sy) {
    // The source is drawn on again later (the construction page goes on); keep
    // the pixels as they are now, in the source's own resolution.
    const qreal dpr = from.devicePixelRatio();
    QImage part = from.copy(QRectF(sx * dpr, sy * dpr, w * dpr, h * dpr).toAlignedRect());
    part.setDevicePixelRatio(1.0);
    add(DrawOp::Copy, dx, dy, dx + w, dy + h, 0).pixels = std::move(part);
}

void PagePicture::drawTextPx(const Font& f, double x, double y, const QString& s, Color c,
                             int angle) {
    Op& op = add(DrawOp::Text, x, y, x, y, c);
    op.text = s;
    op.font = f;
    op.angle = angle;
}

QSize PagePicture::glyphsPx(const Font& f, int x, int y, const QByteArray& bytes, bool draw,
                            Color c, int angle, GlyphFont which) {
    const ResolvedFont& rf = painting::glyphFont(f.face, f.size, f.bold, f.italic, which);
    const QSize extent(int(std::nearbyint(rf.advance(decodeBytes(bytes, rf.face.encoding)))),
                       int(std::nearbyint(rf.height)));
    if (draw && !bytes.isEmpty()) {
        Op& op = add(DrawOp::Glyph, x, y, x, y, c);
        op.bytes = bytes;
        op.font = f;
        op.which = which;
        op.angle = angle;
    }
    return extent;
}

void PagePicture::linePx(double x1, double y1, double x2, double y2, Color c) {
    add(DrawOp::Line, x1, y1, x2, y2, c);
}

void PagePicture::boxPx(double x1, double y1, double x2, double y2, Color c, bool filled) {
    add(filled ? DrawOp::FilledRect : DrawOp::Rect, x1, y1, x2, y2, c);
}

void PagePicture::circlePx(double cx, double cy, double rx, double ry, Color c, double start,
                           double end) {
    Op& op = add(DrawOp::Circle, cx, cy, rx, ry, c);
    op.start = start;
    op.end = end;
}

void PagePicture::psetPx(double x, double y, Color c) { add(DrawOp::Point, x, y, x, y, c); }

void PagePicture::clearPx(Color back) {
    // Nothing drawn before a clearing can show.
    ops_.clear();
    add(DrawOp::Clear, 0, 0, w_, h_, back);
}

void PagePicture::copyPx(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) {
    if (auto* r = dynamic_cast<const RasterCanvas*>(&src)) addPixels(r->image(), dx, dy, w, h, sx, sy);
}
