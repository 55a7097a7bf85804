// The ink of one drawing operation: the operation drawn alone on a blank
// raster canvas just large enough for it, so that what it covers is known
// exactly, also beyond the edges of the page it belongs to.
#pragma once

#include "backends/raster_canvas.h"
#include "draw_op.h"
#include "picture.h"

#include <QImage>
#include <QRect>
#include <algorithm>
#include <cmath>

using namespace typeset;

struct Ink {
    QImage mask;    // darkness of the piece alone (255 - its lightest channel), Grayscale8
    QPoint origin;  // page pixel of mask's (0, 0)
    int top = 0, bottom = -1, left = 0, right = -1;  // dark pixels' box; empty when bottom < top
    bool empty() const { return bottom < top; }
    QRect box() const { return empty() ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom)); }
    int darkness(int x, int y) const {
        const QPoint p(x - origin.x(), y - origin.y());
        return mask.rect().contains(p) ? mask.constScanLine(p.y())[p.x()] : 0;
    }
    // Whether the piece covers (x, y) at least at the given darkness.
    bool at(int x, int y, int level = kDark) const { return darkness(x, y) >= level; }
    // A coloured pixel counts by its strongest channel: blue headings and
    // grey rules are ink as much as black text.
    static constexpr int kDark = 112;  // ink
    static constexpr int kFaint = 56;  // the grey edge that still reads as ink
};

// Where an operation can leave ink: its box, widened by what a face may draw
// outside its cell (italic overhang, large signs) or a pen outside its line.
inline QRect reachOf(const DrawOp& op) {
    auto span = [](double a, double b, double pad) {
        return std::pair<int, int>(int(std::floor(std::min(a, b) - pad)),
                                   int(std::ceil(std::max(a, b) + pad)));
    };
    double x1 = op.x1, y1 = op.y1, x2 = op.x2, y2 = op.y2, pad = 4 + op.pen.width;
    switch (op.kind) {
    case DrawOp::Text:
    case DrawOp::Glyph:
        pad = std::max(8.0, 0.5 * std::fabs(op.y2 - op.y1));
        if (op.angle) {  // turned about its top-left: the far corner may land anywhere
            const double r = std::hypot(op.x2 - op.x1, op.y2 - op.y1);
            x1 = op.x1 - r, x2 = op.x1 + r, y1 = op.y1 - r, y2 = op.y1 + r;
        }
        break;
    case DrawOp::Circle:
        x1 = op.x1 - op.rx, x2 = op.x1 + op.rx, y1 = op.y1 - op.ry, y2 = op.y1 + op.ry;
        break;
    case DrawOp::Point: x2 = x1, y2 = y1; break;
    default: break;
    }
    const auto [l, r] = span(x1, x2, pad);
    const auto [t, b] = span(y1, y2, pad);
    return QRect(QPoint(l, t), QPoint(r, b));
}

inline DrawOp shifted(DrawOp op, double dx, double dy) {
    op.x1 += dx, op.x2 += dx, op.y1 += dy, op.y2 += dy;
    return op;
}

// The operation drawn alone, at a scale as the page's picture replayed at
// that scale draws it (device pixels; at 1 page pixels). Clearings and
// copied pixels have no ink of their own here.
inline Ink inkOf(const DrawOp& op, double scale = 1) {
    Ink r;
    if (op.kind == DrawOp::Clear || op.kind == DrawOp::Copy) return r;
    const QRect reach = reachOf(op);
    // Moved by a whole number of device pixels, so that every piece lands
    // on the device pixels it covers in the whole picture.
    const QPoint origin(int(std::floor(reach.left() * scale)), int(std::floor(reach.top() * scale)));
    const int w = reach.width() + 1, h = reach.height() + 1;
    RasterCanvas scratch(w, h, scale);
    Picture one(QSize(w, h));
    one.add(shifted(op, -origin.x() / scale, -origin.y() / scale));
    scratch.replay(one);
    const QImage& img = scratch.image();
    r.origin = origin;
    r.mask = QImage(img.size(), QImage::Format_Grayscale8);
    r.top = origin.y() + img.height(), r.bottom = origin.y() - 1;
    r.left = origin.x() + img.width(), r.right = origin.x() - 1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        uchar* out = r.mask.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = row[x];
            const int d = 255 - std::min({qRed(c), qGreen(c), qBlue(c)});
            out[x] = uchar(d);
            if (d >= Ink::kDark) {
                const int px = x + origin.x(), py = y + origin.y();
                r.top = std::min(r.top, py), r.bottom = std::max(r.bottom, py);
                r.left = std::min(r.left, px), r.right = std::max(r.right, px);
            }
        }
    }
    return r;
}

// Whether two inks touch: a dark pixel of one on or next to a pixel of the
// other at least as dark as `level` (by default a visible grey edge: two
// strokes joined by grey read as one).
inline bool touches(const Ink& a, const Ink& b, int level = Ink::kFaint) {
    if (a.empty() || b.empty() || a.right + 2 < b.left || b.right + 2 < a.left ||
        a.bottom + 2 < b.top || b.bottom + 2 < a.top)
        return false;
    const auto reaches = [level](const Ink& dark, const Ink& other) {
        for (int y = dark.top; y <= dark.bottom; ++y)
            for (int x = dark.left; x <= dark.right; ++x)
                if (dark.at(x, y))
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            if (other.at(x + dx, y + dy, level)) return true;
        return false;
    };
    return reaches(a, b) || reaches(b, a);
}

// The clear pixels between two inks along the line that joins them most
// closely (0 when they touch, -1 when either is empty): a measure for
// reports, not for judging.
inline int gapBetween(const Ink& a, const Ink& b) {
    if (a.empty() || b.empty()) return -1;
    if (touches(a, b)) return 0;
    int best = 1 << 20;
    for (int y = a.top; y <= a.bottom; ++y)
        for (int x = a.left; x <= a.right; ++x) {
            if (!a.at(x, y)) continue;
            for (int v = b.top; v <= b.bottom; ++v)
                for (int u = b.left; u <= b.right; ++u)
                    if (b.at(u, v)) best = std::min(best, std::max(std::abs(u - x), std::abs(v - y)) - 1);
        }
    return best;
}
