#include "raster_canvas.h"

#include "font_cache.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <cmath>

QColor toQColor(Color c) {
    const Color v = resolveColor(c);
    return QColor(int(v & 255), int((v >> 8) & 255), int((v >> 16) & 255));
}

namespace {

Qt::PenStyle penStyle(DrawStyle s) {
    switch (s) {
    case DrawStyle::Solid: return Qt::SolidLine;
    case DrawStyle::Dash: return Qt::DashLine;
    case DrawStyle::Dot: return Qt::DotLine;
    case DrawStyle::DashDot: return Qt::DashDotLine;
    case DrawStyle::DashDotDot: return Qt::DashDotDotLine;
    case DrawStyle::Transparent: return Qt::NoPen;
    }
    return Qt::SolidLine;
}


// The family the device reports for a resolved font (what was really drawn).
QString usedFamily(const ResolvedFont& rf) { return QFontInfo(rf.font).family(); }

}  // namespace

RasterCanvas::RasterCanvas(int w, int h, qreal devicePixelRatio)
    : w_(w), h_(h), dpr_(devicePixelRatio) {
    image_ = QImage(int(std::ceil(w * dpr_)), int(std::ceil(h * dpr_)),
                    QImage::Format_RGB32);
    image_.setDotsPerMeterX(3780);
    image_.setDotsPerMeterY(3780);
    image_.setDevicePixelRatio(dpr_);
    image_.fill(toQColor(BackColor));
}

void RasterCanvas::resize(int w, int h) {
    QImage next(int(std::ceil(w * dpr_)), int(std::ceil(h * dpr_)), QImage::Format_RGB32);
    next.setDotsPerMeterX(3780);
    next.setDotsPerMeterY(3780);
    next.setDevicePixelRatio(dpr_);
    next.fill(toQColor(BackColor));
    {
        QPainter p(&next);
        p.drawImage(0, 0, image_);
    }
    image_ = next;
    w_ = w;
    h_ = h;
}

void RasterCanvas::logOp(DrawOp op) {
    if (log) log->push_back(std::move(op));
    if (onChange) onChange();
}

double RasterCanvas::measureWidthPx(const Font& f, const QString& s) {
    if (s.isEmpty()) return 0;
    const ResolvedFont& rf = resolveFont(f.face, f.size, f.bold, f.italic);
    return rf.metrics.horizontalAdvance(s);
}

double RasterCanvas::measureHeightPx(const Font& f, const QString&) {
    return resolveFont(f.face, f.size, f.bold, f.italic).height;
}

void RasterCanvas::drawTextPx(const Font& f, double x, double y, const QString& s, Color c,
                              int angle) {
    const ResolvedFont& rf = resolveFont(f.face, f.size, f.bold, f.italic);
    QString shown = s;
    if (rf.face.encoding != FaceInfo::Text) {
        // Text in a byte-addressed face is a string of byte codes.
        QByteArray bytes;
        for (QChar ch : s) bytes.append(char(ch.unicode() & 0xFF));
        shown = decodeBytes(bytes, rf.face.encoding);
    }
    {
        QPainter p(&image_);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setFont(rf.font);
        p.setPen(toQColor(c));
        p.translate(x, y);
        if (angle) p.rotate(-angle);
        p.drawText(QPointF(0, rf.ascent), shown);
    }
    DrawOp op;
    op.kind = DrawOp::Text;
    op.x1 = x;
    op.y1 = y;
    op.x2 = x + rf.metrics.horizontalAdvance(shown);
    op.y2 = y + rf.height;
    op.text = shown;
    op.face = log ? usedFamily(rf) : QString();
    op.size = f.size;
    op.bold = f.bold;
    op.italic = f.italic;
    op.color = resolveColor(c);
    op.angle = angle;
    logOp(op);
}

QSize RasterCanvas::glyphsPx(const Font& f, int x, int y, const QByteArray& bytes, bool draw,
                             Color c, int angle, GlyphFont which) {
    // A font made with a default height asks for the device's default cell.
    constexpr int kDefaultHeight = 16;
    const ResolvedFont& rf =
        which == GlyphFont::DeviceDefault
            ? resolveFont(QStringLiteral("Arial"), 0, false, false, kDefaultHeight)
        : which == GlyphFont::FaceAtDefaultHeight
            ? resolveFont(f.face, 0, false, false, kDefaultHeight)
            : resolveFont(f.face, f.size, f.bold, f.italic);
    const QString shown = decodeBytes(bytes, rf.face.encoding);
    const int width = int(std::nearbyint(rf.metrics.horizontalAdvance(shown)));
    const int height = int(std::nearbyint(rf.height));
    if (draw && !bytes.isEmpty()) {
        {
            QPainter p(&image_);
            p.setRenderHint(QPainter::TextAntialiasing, true);
            p.setFont(rf.font);
            p.setPen(toQColor(c));
            p.translate(x, y);
            if (angle) p.rotate(-angle);
            p.drawText(QPointF(0, rf.ascent), shown);
        }
        DrawOp op;
        op.kind = DrawOp::Glyph;
        op.x1 = x;
        op.y1 = y;
        op.x2 = x + width;
        op.y2 = y + height;
        op.text = shown;
        op.face = log ? usedFamily(rf) : QString();
        op.size = rf.font.pointSizeF() > 0 ? rf.font.pointSizeF() : kDefaultHeight * 0.75;
        op.bold = rf.font.bold();
        op.italic = rf.font.italic();
        op.color = resolveColor(c);
        op.angle = angle;
        logOp(op);
    }
    return QSize(width, height);
}

void RasterCanvas::linePx(double x1, double y1, double x2, double y2, Color c) {
    {
        QPainter p(&image_);
        QPen pen(toQColor(c));
        pen.setWidth(DrawWidth);
        pen.setStyle(DrawWidth > 1 ? Qt::SolidLine : penStyle(DrawStyle_));
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    DrawOp op;
    op.kind = DrawOp::Line;
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
    op.color = resolveColor(c);
    op.drawWidth = DrawWidth;
    logOp(op);
}

void RasterCanvas::boxPx(double x1, double y1, double x2, double y2, Color c, bool filled) {
    {
        QPainter p(&image_);
        const QRectF r = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
        if (filled) {
            p.fillRect(r.adjusted(0, 0, 1, 1), toQColor(c));
        } else {
            QPen pen(toQColor(c));
            pen.setWidth(DrawWidth);
            pen.setStyle(penStyle(DrawStyle_));
            pen.setJoinStyle(Qt::MiterJoin);
            p.setPen(pen);
            if (FillStyle_ == FillStyle::Solid) p.setBrush(toQColor(FillColor));
            p.drawRect(r);
        }
    }
    DrawOp op;
    op.kind = filled ? DrawOp::FilledRect : DrawOp::Rect;
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
    op.color = resolveColor(c);
    op.drawWidth = DrawWidth;
    logOp(op);
}

void RasterCanvas::circlePx(double cx, double cy, double rx, double ry, Color c, double start,
                            double end) {
    {
        QPainter p(&image_);
        p.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(toQColor(c));
        pen.setWidth(DrawWidth);
        pen.setStyle(penStyle(DrawStyle_));
        p.setPen(pen);
        const QRectF r(cx - rx, cy - ry, 2 * rx, 2 * ry);
        if (start == 0 && end == 0) {
            if (FillStyle_ == FillStyle::Solid) p.setBrush(toQColor(FillColor));
            p.drawEllipse(r);
        } else {
            const double a0 = std::fabs(start) * 180.0 / M_PI;
            double a1 = std::fabs(end) * 180.0 / M_PI;
            double span = a1 - a0;
            if (span < 0) span += 360.0;
            p.drawArc(r, int(std::nearbyint(a0 * 16)), int(std::nearbyint(span * 16)));
        }
    }
    DrawOp op;
    op.kind = DrawOp::Circle;
    op.x1 = cx, op.y1 = cy;
    op.r = rx;
    op.aspect = rx > 0 ? ry / rx : 1;
    op.x2 = start, op.y2 = end;
    op.color = resolveColor(c);
    op.drawWidth = DrawWidth;
    logOp(op);
}

void RasterCanvas::psetPx(double x, double y, Color c) {
    {
        QPainter p(&image_);
        if (DrawWidth <= 1) {
            p.setPen(toQColor(c));
            p.drawPoint(QPointF(x, y));
        } else {
            const double h = DrawWidth / 2.0;
            p.fillRect(QRectF(x - h, y - h, DrawWidth, DrawWidth), toQColor(c));
        }
    }
    DrawOp op;
    op.kind = DrawOp::Point;
    op.x1 = x, op.y1 = y;
    op.color = resolveColor(c);
    op.drawWidth = DrawWidth;
    logOp(op);
}

void RasterCanvas::clearPx(Color back) {
    image_.fill(toQColor(back));
    DrawOp op;
    op.kind = DrawOp::Clear;
    op.x2 = w_, op.y2 = h_;
    op.color = resolveColor(back);
    logOp(op);
}

void RasterCanvas::copyPx(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) {
    if (auto* r = dynamic_cast<const RasterCanvas*>(&src)) {
        QPainter p(&image_);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QRectF(dx, dy, w, h), r->image_, QRectF(sx * r->dpr_, sy * r->dpr_,
                                                             w * r->dpr_, h * r->dpr_));
    }
    DrawOp op;
    op.kind = DrawOp::Copy;
    op.x1 = dx, op.y1 = dy, op.x2 = dx + w, op.y2 = dy + h;
    logOp(op);
}
