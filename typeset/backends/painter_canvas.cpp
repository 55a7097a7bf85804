#include "backends/painter_canvas.h"

#include "font_cache.h"

#include <QFontInfo>
#include <QPainter>
#include <cmath>

namespace typeset {

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

void PainterCanvas::paint(const DrawOp& op) {
    const Pen& pen = op.pen;
    switch (op.kind) {
    case DrawOp::Text:
    case DrawOp::Glyph: {
        const painting::ShownText t = painting::shownText(op);
        text(t.font, op, t.shown);
        break;
    }
    case DrawOp::Line: {
        p_.setPen(painting::linePen(pen.color, pen.width, pen.style));
        const QPointF shift(kAliasedShift, kAliasedShift);
        p_.drawLine(QPointF(op.x1, op.y1) + shift, QPointF(op.x2, op.y2) + shift);
        break;
    }
    case DrawOp::Rect:
    case DrawOp::FilledRect: {
        const QRectF r = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
        if (op.kind == DrawOp::FilledRect) {
            p_.fillRect(r.adjusted(0, 0, 1, 1), toQColor(pen.color));
            break;
        }
        p_.setPen(painting::outlinePen(pen.color, pen.width, pen.style));
        p_.setBrush(pen.fillStyle == FillStyle::Solid ? QBrush(toQColor(pen.fillColor)) : QBrush());
        p_.drawRect(r.translated(kAliasedShift, kAliasedShift));
        p_.setBrush(Qt::NoBrush);
        break;
    }
    case DrawOp::Circle: {
        p_.setPen(painting::curvePen(pen.color, pen.width, pen.style));
        const QRectF r(op.x1 - op.rx, op.y1 - op.ry, 2 * op.rx, 2 * op.ry);
        if (op.start == 0 && op.end == 0) {
            p_.setBrush(pen.fillStyle == FillStyle::Solid ? QBrush(toQColor(pen.fillColor))
                                                          : QBrush());
            p_.drawEllipse(r);
            p_.setBrush(Qt::NoBrush);
        } else {
            const auto [from, span] = painting::arcSixteenths(op.start, op.end);
            p_.drawArc(r, from, span);
        }
        break;
    }
    case DrawOp::Point: {
        // A one-pixel point covers the pixel right of and below it, as on the canvas.
        const double w = std::max<int>(pen.width, 1);
        const double h = pen.width <= 1 ? 0 : w / 2.0;
        p_.fillRect(QRectF(op.x1 - h, op.y1 - h, w, w), toQColor(pen.color));
        break;
    }
    case DrawOp::Clear: p_.fillRect(QRectF(0, 0, w_, h_), toQColor(pen.color)); break;
    case DrawOp::Copy:
        if (op.copied)
            p_.drawImage(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)), op.copied->pixels);
        break;
    }
}

void PainterCanvas::text(const ResolvedFont& rf, const DrawOp& op, const QString& shown) {
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
    p_.setPen(toQColor(op.pen.color));
    painting::cellText(p_, rf, op.x1, op.y1, shown, op.angle, it->slant);
}

}  // namespace typeset
