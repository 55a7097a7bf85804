#include "raster_canvas.h"

#include "font_cache.h"
#include "painting.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

QColor toQColor(Color c) {
    const Color v = resolveColor(c);
    return QColor(int(v & 255), int((v >> 8) & 255), int((v >> 16) & 255));
}

namespace {

// The family the device reports for a resolved font (what was really drawn).
QString usedFamily(const ResolvedFont& rf) { return QFontInfo(rf.font).family(); }

constexpr int dotsPerMeter = 3780;  // 96 dpi

QImage blankImage(int w, int h, qreal dpr, const QColor& fill) {
    QImage i(int(std::ceil(w * dpr)), int(std::ceil(h * dpr)), QImage::Format_RGB32);
    i.setDotsPerMeterX(dotsPerMeter);
    i.setDotsPerMeterY(dotsPerMeter);
    i.setDevicePixelRatio(dpr);
    i.fill(fill);
    return i;
}

}  // namespace

RasterCanvas::RasterCanvas(int w, int h, qreal devicePixelRatio)
    : w_(w), h_(h), dpr_(devicePixelRatio), blank_(toQColor(BackColor)) {}

QImage& RasterCanvas::pixels() const {
    if (image_.isNull()) {
        if (rested_.isEmpty()) {
            image_ = blankImage(w_, h_, dpr_, blank_);
        } else {
            image_ = rested_.image(dotsPerMeter, dpr_);
            rested_ = PixelRuns();
        }
    }
    return image_;
}

void RasterCanvas::rest() {
    flush();
    if (image_.isNull() || image_.format() != QImage::Format_RGB32) return;
    rested_ = PixelRuns(image_);
    image_ = QImage();
}

void RasterCanvas::paintResting(QPainter& p, const QRect& area) const {
    constexpr int band = 32;  // rows: small enough to cost nothing to hold
    const int top = std::max(0, int(std::floor(area.top() * dpr_)));
    const int bottom = std::min(rested_.height(), int(std::ceil((area.bottom() + 1) * dpr_)));
    QImage strip(rested_.width(), band, QImage::Format_RGB32);
    strip.setDevicePixelRatio(dpr_);
    for (int y = top; y < bottom; y += band) {
        const int rows = std::min(band, bottom - y);
        rested_.unpack(y, y + rows, strip);
        p.drawImage(QPointF(0, y / dpr_), strip, QRectF(0, 0, strip.width(), rows));
    }
}

QPainter& RasterCanvas::painter(bool antialiased) {
    linePen_.reset();  // the operation asking may set a pen of its own
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&pixels());
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
        antialiased_ = false;
    }
    // Touch only what differs: every change of painter state makes the
    // engine set up again on the next operation.
    QPainter& p = *painter_;
    if (antialiased != antialiased_) {
        p.setRenderHint(QPainter::Antialiasing, antialiased);
        antialiased_ = antialiased;
    }
    p.setBrush(Qt::NoBrush);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    return p;
}

void RasterCanvas::resize(int w, int h) {
    flush();
    // Without pixels and in one colour, it stays without: only the size changes.
    if (!image_.isNull() || !rested_.isEmpty() || toQColor(BackColor) != blank_) {
        QImage next = blankImage(w, h, dpr_, toQColor(BackColor));
        {
            QPainter p(&next);
            p.drawImage(0, 0, pixels());
        }
        image_ = next;
    }
    w_ = w;
    h_ = h;
}

void RasterCanvas::changed() {
    if (onChange) onChange();
}

void RasterCanvas::drawTextPx(const Font& f, double x, double y, const QString& s, Color c,
                              int angle) {
    const ResolvedFont& rf = resolveFont(f.face, f.size, f.bold, f.italic);
    const QString shown = painting::displayText(rf, s);
    {
        QPainter& p = painter(false);
        p.setFont(rf.font);
        p.setPen(toQColor(c));
        painting::cellText(p, rf, x, y, shown, angle);
    }
    if (log) {
        DrawOp op;
        op.kind = DrawOp::Text;
        op.x1 = x;
        op.y1 = y;
        op.x2 = x + rf.advance(shown);
        op.y2 = y + rf.height;
        op.text = shown;
        op.face = usedFamily(rf);
        op.size = f.size;
        op.bold = f.bold;
        op.italic = f.italic;
        op.color = resolveColor(c);
        op.angle = angle;
        log->push_back(std::move(op));
    }
    changed();
}

QSize RasterCanvas::glyphsPx(const Font& f, int x, int y, const QByteArray& bytes, bool draw,
                             Color c, int angle, GlyphFont which) {
    const ResolvedFont& rf = painting::glyphFont(f.face, f.size, f.bold, f.italic, which);
    const QString shown = decodeBytes(bytes, rf.face.encoding);
    const int width = int(std::nearbyint(rf.advance(shown)));
    const int height = int(std::nearbyint(rf.height));
    if (draw && !bytes.isEmpty()) {
        {
            QPainter& p = painter(false);
            p.setFont(rf.font);
            p.setPen(toQColor(c));
            painting::cellText(p, rf, x, y, shown, angle);
        }
        if (log) {
            DrawOp op;
            op.kind = DrawOp::Glyph;
            op.x1 = x;
            op.y1 = y;
            op.x2 = x + width;
            op.y2 = y + height;
            op.text = shown;
            op.face = usedFamily(rf);
            op.size = rf.em * 0.75;
            op.bold = rf.font.bold();
            op.italic = rf.font.italic();
            op.color = resolveColor(c);
            op.angle = angle;
            log->push_back(std::move(op));
        }
        changed();
    }
    return QSize(width, height);
}

void RasterCanvas::linePx(double x1, double y1, double x2, double y2, Color c) {
    {
        const LinePen pen{resolveColor(c), DrawWidth, DrawStyle_};
        const bool held = linePen_ == pen;
        QPainter& p = painter(false);
        if (!held) p.setPen(painting::linePen(c, DrawWidth, DrawStyle_));
        linePen_ = pen;
        p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    if (log) {
        DrawOp op;
        op.kind = DrawOp::Line;
        op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
        op.color = resolveColor(c);
        op.drawWidth = DrawWidth;
        log->push_back(std::move(op));
    }
    changed();
}

void RasterCanvas::boxPx(double x1, double y1, double x2, double y2, Color c, bool filled) {
    {
        QPainter& p = painter(false);
        const QRectF r = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
        if (filled) {
            p.fillRect(r.adjusted(0, 0, 1, 1), toQColor(c));
        } else {
            p.setPen(painting::outlinePen(c, DrawWidth, DrawStyle_));
            if (FillStyle_ == FillStyle::Solid) p.setBrush(toQColor(FillColor));
            p.drawRect(r);
        }
    }
    if (log) {
        DrawOp op;
        op.kind = filled ? DrawOp::FilledRect : DrawOp::Rect;
        op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
        op.color = resolveColor(c);
        op.drawWidth = DrawWidth;
        log->push_back(std::move(op));
    }
    changed();
}

void RasterCanvas::circlePx(double cx, double cy, double rx, double ry, Color c, double start,
                            double end) {
    {
        QPainter& p = painter(true);
        p.setPen(painting::curvePen(c, DrawWidth, DrawStyle_));
        const QRectF r(cx - rx, cy - ry, 2 * rx, 2 * ry);
        if (start == 0 && end == 0) {
            if (FillStyle_ == FillStyle::Solid) p.setBrush(toQColor(FillColor));
            p.drawEllipse(r);
        } else {
            const auto [from, span] = painting::arcSixteenths(start, end);
            p.drawArc(r, from, span);
        }
    }
    if (log) {
        DrawOp op;
        op.kind = DrawOp::Circle;
        op.x1 = cx, op.y1 = cy;
        op.r = rx;
        op.aspect = rx > 0 ? ry / rx : 1;
        op.x2 = start, op.y2 = end;
        op.color = resolveColor(c);
        op.drawWidth = DrawWidth;
        log->push_back(std::move(op));
    }
    changed();
}

void RasterCanvas::psetPx(double x, double y, Color c) {
    {
        QPainter& p = painter(false);
        if (DrawWidth <= 1) {
            p.setPen(toQColor(c));
            p.drawPoint(QPointF(x, y));
        } else {
            const double h = DrawWidth / 2.0;
            p.fillRect(QRectF(x - h, y - h, DrawWidth, DrawWidth), toQColor(c));
        }
    }
    if (log) {
        DrawOp op;
        op.kind = DrawOp::Point;
        op.x1 = x, op.y1 = y;
        op.color = resolveColor(c);
        op.drawWidth = DrawWidth;
        log->push_back(std::move(op));
    }
    changed();
}

void RasterCanvas::clearPx(Color back) {
    flush();
    // A canvas without pixels stays so: clearing it only changes its colour.
    rested_ = PixelRuns();
    if (image_.isNull()) blank_ = toQColor(back);
    else image_.fill(toQColor(back));
    if (log) {
        DrawOp op;
        op.kind = DrawOp::Clear;
        op.x2 = w_, op.y2 = h_;
        op.color = resolveColor(back);
        log->push_back(std::move(op));
    }
    changed();
}

void RasterCanvas::copyPx(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) {
    if (auto* r = dynamic_cast<const RasterCanvas*>(&src)) {
        const QImage& from = r->image();
        QPainter& p = painter(false);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QRectF(dx, dy, w, h), from,
                    QRectF(sx * r->dpr_, sy * r->dpr_, w * r->dpr_, h * r->dpr_));
    }
    if (log) {
        DrawOp op;
        op.kind = DrawOp::Copy;
        op.x1 = dx, op.y1 = dy, op.x2 = dx + w, op.y2 = dy + h;
        log->push_back(std::move(op));
    }
    changed();
}
