#include "painter_canvas.h"

#include "page_picture.h"
#include "painting.h"
#include "raster_canvas.h"

#include <QFontInfo>
#include <QPainter>
#include <cmath>

namespace {

// The raster canvas draws lines, outlines and points without antialiasing,
// which covers the pixels right of and below the mathematical line; on a
// vector device the same pixels are covered half a pixel further on.
constexpr double kAliasedShift = 0.5;
// The slant the rasteriser gives a face without an italic (12 degrees).
constexpr double kSyntheticSlant = 0.2126;

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, int w, int h)
    : p_(painter),
      w_(w),
      h_(h),
      fontScale_(painter.device() ? 96.0 / painter.device()->logicalDpiY() : 1.0) {}

void PainterCanvas::replay(const PagePicture& page) {
    for (const PagePicture::Op& op : page.ops()) {
        DrawWidth = op.drawWidth;
        DrawStyle_ = op.drawStyle;
        FillStyle_ = op.fillStyle;
        FillColor = op.fillColor;
        switch (op.kind) {
        case DrawOp::Text: drawTextPx(op.font, op.x1, op.y1, op.text, op.color, op.angle); break;
        case DrawOp::Glyph:
            glyphsPx(op.font, int(op.x1), int(op.y1), op.bytes, true, op.color, op.angle,
                     op.which);
            break;
        case DrawOp::Line: linePx(op.x1, op.y1, op.x2, op.y2, op.color); break;
        case DrawOp::Rect:
        case DrawOp::FilledRect:
            boxPx(op.x1, op.y1, op.x2, op.y2, op.color, op.kind == DrawOp::FilledRect);
            break;
        case DrawOp::Circle:
            circlePx(op.x1, op.y1, op.x2, op.y2, op.color, op.start, op.end);
            break;
        case DrawOp::Point: psetPx(op.x1, op.y1, op.color); break;
        case DrawOp::Clear: clearPx(op.color); break;
        case DrawOp::Copy:
            p_.drawImage(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)), op.pixels);
            break;
        }
    }
}

void PainterCanvas::text(const ResolvedFont& rf, double x, double y, const QString& shown,
                         Color c, int angle) {
    auto it = fonts_.find(&rf);
    if (it == fonts_.end()) {
        // The device's own resolution would make a point larger than on the
        // canvas; a font sized in pixels is already in page units.
        QFont f = rf.font;
        if (f.pixelSize() <= 0) f.setPointSizeF(f.pointSizeF() * fontScale_);
        // The rasteriser slants a face that has no italic; devices differ
        // (the PDF writer leaves some upright), so slant it here on all.
        const bool slanted = rf.font.italic() && !QFontInfo(rf.font).italic();
        if (slanted) f.setItalic(false);
        it = fonts_.insert(&rf, {f, slanted ? kSyntheticSlant : 0.0});
    }
    p_.setFont(it->font);
    p_.setPen(toQColor(c));
    painting::cellText(p_, rf, x, y, shown, angle, it->slant);
}

void PainterCanvas::drawTextPx(const Font& f, double x, double y, const QString& s, Color c,
                               int angle) {
    const ResolvedFont& rf = resolveFont(f.face, f.size, f.bold, f.italic);
    text(rf, x, y, painting::displayText(rf, s), c, angle);
}

QSize PainterCanvas::glyphsPx(const Font& f, int x, int y, const QByteArray& bytes, bool draw,
                              Color c, int angle, GlyphFont which) {
    const ResolvedFont& rf = painting::glyphFont(f.face, f.size, f.bold, f.italic, which);
    const QString shown = decodeBytes(bytes, rf.face.encoding);
    if (draw && !bytes.isEmpty()) text(rf, x, y, shown, c, angle);
    return QSize(int(std::nearbyint(rf.advance(shown))), int(std::nearbyint(rf.height)));
}

void PainterCanvas::linePx(double x1, double y1, double x2, double y2, Color c) {
    p_.setPen(painting::linePen(c, DrawWidth, DrawStyle_));
    const QPointF shift(kAliasedShift, kAliasedShift);
    p_.drawLine(QPointF(x1, y1) + shift, QPointF(x2, y2) + shift);
}

void PainterCanvas::boxPx(double x1, double y1, double x2, double y2, Color c, bool filled) {
    const QRectF r = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    if (filled) {
        p_.fillRect(r.adjusted(0, 0, 1, 1), toQColor(c));
        return;
    }
    p_.setPen(painting::outlinePen(c, DrawWidth, DrawStyle_));
    p_.setBrush(FillStyle_ == FillStyle::Solid ? QBrush(toQColor(FillColor)) : QBrush());
    p_.drawRect(r.translated(kAliasedShift, kAliasedShift));
    p_.setBrush(Qt::NoBrush);
}

void PainterCanvas::circlePx(double cx, double cy, double rx, double ry, Color c, double start,
                             double end) {
    p_.setPen(painting::curvePen(c, DrawWidth, DrawStyle_));
    const QRectF r(cx - rx, cy - ry, 2 * rx, 2 * ry);
    if (start == 0 && end == 0) {
        p_.setBrush(FillStyle_ == FillStyle::Solid ? QBrush(toQColor(FillColor)) : QBrush());
        p_.drawEllipse(r);
        p_.setBrush(Qt::NoBrush);
    } else {
        const auto [from, span] = painting::arcSixteenths(start, end);
        p_.drawArc(r, from, span);
    }
}

void PainterCanvas::psetPx(double x, double y, Color c) {
    // A one-pixel point covers the pixel right of and below it, as on the canvas.
    const double w = std::max(DrawWidth, 1);
    const double h = DrawWidth <= 1 ? 0 : w / 2.0;
    p_.fillRect(QRectF(x - h, y - h, w, w), toQColor(c));
}

void PainterCanvas::clearPx(Color back) { p_.fillRect(QRectF(0, 0, w_, h_), toQColor(back)); }

void PainterCanvas::copyPx(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) {
    if (auto* r = dynamic_cast<const RasterCanvas*>(&src)) {
        const QImage& from = r->image();
        const qreal dpr = from.devicePixelRatio();
        p_.drawImage(QRectF(dx, dy, w, h), from, QRectF(sx * dpr, sy * dpr, w * dpr, h * dpr));
    }
}
