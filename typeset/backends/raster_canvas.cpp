#include "backends/raster_canvas.h"

#include "font_cache.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace typeset {

namespace {

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
    if (image_.isNull() && deferred_) {
        deferred_ = false;
        image_ = blankImage(w_, h_, dpr_, blank_);
        // Only reading: the canvas is as it was, its pixels made at last.
        auto& self = const_cast<RasterCanvas&>(*this);
        for (const DrawOp& op : picture().ops()) self.paintOp(op);
        flush();
        return image_;
    }
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

void RasterCanvas::defer() {
    if (!keepsPicture()) return;  // no picture to make the pixels from
    flush();
    image_ = QImage();
    rested_ = PixelRuns();
    deferred_ = true;
}

void RasterCanvas::rest() {
    flush();
    compactPicture();
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

void RasterCanvas::toDevice(QPainter& p) const {
    // QPainter takes an image's device pixel ratio as at least one, so on an
    // image smaller than its logical size (a page shown below 100 %) it would
    // draw at full size; the scale down is set by hand.
    if (dpr_ < 1) p.scale(dpr_, dpr_);
}

QPainter& RasterCanvas::painter(bool antialiased) {
    linePen_.reset();  // the operation asking may set a pen of its own
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&pixels());
        toDevice(*painter_);
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
            toDevice(p);
            p.drawImage(0, 0, pixels());
        }
        image_ = next;
    }
    w_ = w;
    h_ = h;
}

QImage RasterCanvas::pixelsOf(const QRect& r) const {
    const QImage& from = image();
    // The whole picture is shared until either side is drawn on again.
    if (r == QRect(0, 0, w_, h_)) return from;
    QImage part = from.copy(QRectF(r.x() * dpr_, r.y() * dpr_, r.width() * dpr_, r.height() * dpr_)
                                .toAlignedRect());
    part.setDevicePixelRatio(dpr_);
    return part;
}

void RasterCanvas::paint(const DrawOp& op) {
    if (deferred_) {
        if (op.kind == DrawOp::Clear) blank_ = toQColor(op.pen.color);
    } else {
        paintOp(op);
    }
    if (onChange) onChange();
}

void RasterCanvas::paintOp(const DrawOp& op) {
    switch (op.kind) {
    case DrawOp::Text:
    case DrawOp::Glyph: {
        const painting::ShownText t = painting::shownText(op);
        text(t.font, op, t.shown);
        break;
    }
    case DrawOp::Line: line(op); break;
    case DrawOp::Rect:
    case DrawOp::FilledRect: box(op); break;
    case DrawOp::Circle: circle(op); break;
    case DrawOp::Point: point(op); break;
    case DrawOp::Clear: clear(op); break;
    case DrawOp::Copy: copy(op); break;
    }
}

void RasterCanvas::text(const ResolvedFont& rf, const DrawOp& op, const QString& shown) {
    QPainter& p = painter(false);
    p.setFont(rf.font);
    p.setPen(toQColor(op.pen.color));
    painting::cellText(p, rf, op.x1, op.y1, shown, op.angle);
}

void RasterCanvas::line(const DrawOp& op) {
    const Pen& pen = op.pen;
    const LinePen held{resolveColor(pen.color), pen.width, pen.style};
    const bool same = linePen_ == held;
    QPainter& p = painter(false);
    if (!same) p.setPen(painting::linePen(pen.color, pen.width, pen.style));
    linePen_ = held;
    const QPointF shift = strokeShift(pen.width);
    p.drawLine(QPointF(op.x1, op.y1) + shift, QPointF(op.x2, op.y2) + shift);
}

QPointF RasterCanvas::strokeShift(int width) const {
    // Without antialiasing a stroke of odd width covers the pixels right of
    // and below its line. Drawn finer than one device pixel to a canvas
    // pixel (a page shown larger), it must cover the same part of the page,
    // so it goes half a canvas pixel right and down; at one pixel to one
    // nothing moves.
    const double d = dpr_ == 1 || width % 2 == 0 ? 0.0 : 0.5;
    return QPointF(d, d);
}

void RasterCanvas::box(const DrawOp& op) {
    QPainter& p = painter(false);
    const QRectF r = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
    if (op.kind == DrawOp::FilledRect) {
        p.fillRect(r.adjusted(0, 0, 1, 1), toQColor(op.pen.color));
    } else {
        p.setPen(painting::outlinePen(op.pen.color, op.pen.width, op.pen.style));
        if (op.pen.fillStyle == FillStyle::Solid) p.setBrush(toQColor(op.pen.fillColor));
        p.drawRect(r.translated(strokeShift(op.pen.width)));
    }
}

void RasterCanvas::circle(const DrawOp& op) {
    QPainter& p = painter(true);
    p.setPen(painting::curvePen(op.pen.color, op.pen.width, op.pen.style));
    const QRectF r(op.x1 - op.rx, op.y1 - op.ry, 2 * op.rx, 2 * op.ry);
    if (op.start == 0 && op.end == 0) {
        if (op.pen.fillStyle == FillStyle::Solid) p.setBrush(toQColor(op.pen.fillColor));
        p.drawEllipse(r);
    } else {
        const auto [from, span] = painting::arcSixteenths(op.start, op.end);
        p.drawArc(r, from, span);
    }
}

void RasterCanvas::point(const DrawOp& op) {
    QPainter& p = painter(false);
    const int width = op.pen.width;
    if (width <= 1 && dpr_ == 1) {
        p.setPen(toQColor(op.pen.color));
        p.drawPoint(QPointF(op.x1, op.y1));
    } else if (width <= 1) {
        // The canvas pixel the point is, however many device pixels it takes.
        p.fillRect(QRectF(op.x1, op.y1, 1, 1), toQColor(op.pen.color));
    } else {
        const double h = width / 2.0;
        p.fillRect(QRectF(op.x1 - h, op.y1 - h, width, width), toQColor(op.pen.color));
    }
}

void RasterCanvas::clear(const DrawOp& op) {
    flush();
    // A canvas without pixels stays so: clearing it only changes its colour.
    rested_ = PixelRuns();
    if (image_.isNull()) blank_ = toQColor(op.pen.color);
    else image_.fill(toQColor(op.pen.color));
}

void RasterCanvas::copy(const DrawOp& op) {
    if (!op.copied) return;
    const QImage& from = op.copied->pixels;
    QPainter& p = painter(false);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // Pixels copied at another resolution (a page shown larger) are
    // enlarged smoothly; at their own they land pixel for pixel.
    const bool scaled = from.devicePixelRatio() != dpr_;
    if (scaled) p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)), from,
                QRectF(0, 0, from.width(), from.height()));
    if (scaled) p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

}  // namespace typeset
