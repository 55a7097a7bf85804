#include "backends/painting.h"

#include "color.h"

#include <QPainter>
#include <cmath>

namespace typeset {

double MeasuredCanvas::measureWidthPx(const Font& f, const QString& s) {
    if (s.isEmpty()) return 0;
    const ResolvedFont& rf = resolveFont(f.face, f.size, f.bold, f.italic);
    return rf.advance(painting::displayText(rf, s));
}

double MeasuredCanvas::measureHeightPx(const Font& f, const QString&) {
    return resolveFont(f.face, f.size, f.bold, f.italic).height;
}

QSize MeasuredCanvas::glyphExtentPx(const Font& f, const QByteArray& bytes, GlyphFont which) {
    const ResolvedFont& rf = painting::glyphFont(f.face, f.size, f.bold, f.italic, which);
    return QSize(int(std::nearbyint(rf.advance(decodeBytes(bytes, rf.face.encoding)))),
                 int(std::nearbyint(rf.height)));
}

namespace painting {

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

QString displayText(const ResolvedFont& rf, const QString& s) {
    if (rf.face.encoding == FaceInfo::Text || rf.face.encoding == FaceInfo::SymbolBytes) return s;
    QByteArray bytes;
    for (QChar ch : s) bytes.append(char(ch.unicode() & 0xFF));
    return decodeBytes(bytes, rf.face.encoding);
}

const ResolvedFont& glyphFont(const QString& face, double points, bool bold, bool italic,
                              GlyphFont which) {
    // A font made with a default height asks for the device's default cell.
    constexpr int kDefaultHeight = 16;
    switch (which) {
    case GlyphFont::DeviceDefault:
        return resolveFont(QStringLiteral("Arial"), 0, false, false, kDefaultHeight);
    case GlyphFont::FaceAtDefaultHeight:
        return resolveFont(face, 0, false, false, kDefaultHeight);
    case GlyphFont::Current: break;
    }
    return resolveFont(face, points, bold, italic);
}

ShownText shownText(const DrawOp& op) {
    const FontSpec& f = op.font;
    if (op.kind == DrawOp::Glyph) {
        const ResolvedFont& rf = glyphFont(f.face, f.size, f.bold, f.italic, op.which);
        return {rf, decodeBytes(op.text.toLatin1(), rf.face.encoding)};
    }
    const ResolvedFont& rf = resolveFont(f.face, f.size, f.bold, f.italic);
    return {rf, displayText(rf, op.text)};
}

void cellText(QPainter& p, const ResolvedFont& rf, double x, double y, const QString& shown,
              int angle, double slant) {
    const bool turned = angle || slant;
    if (turned) {
        p.save();
        p.translate(x, y);
        p.rotate(-angle);
        if (slant) {
            // Lean about the baseline, so that it stays where it was.
            p.translate(0, rf.ascent);
            p.shear(-slant, 0);
            p.translate(0, -rf.ascent);
        }
        x = y = 0;
    }
    if (rf.face.doubleByteCells) {
        // Each character at the start of its cell: a narrow substitute glyph
        // (a Greek letter) then keeps clear of what the pages set right after
        // it, as the original's did.
        double cx = x;
        for (QChar ch : shown) {
            p.drawText(QPointF(cx, y + rf.ascent), QString(ch));
            cx += rf.cell(ch);
        }
    } else {
        p.drawText(QPointF(x, y + rf.ascent), shown);
    }
    if (turned) p.restore();
}

QPen linePen(Color c, int width, DrawStyle style) {
    QPen pen(toQColor(c));
    pen.setWidth(width);
    pen.setStyle(width > 1 ? Qt::SolidLine : penStyle(style));
    // At two pixels a round end is a square one; stroking real round caps
    // would cost more than the line.
    pen.setCapStyle(width > 2 ? Qt::RoundCap : Qt::SquareCap);
    return pen;
}

QPen outlinePen(Color c, int width, DrawStyle style) {
    QPen pen(toQColor(c));
    pen.setWidth(width);
    pen.setStyle(penStyle(style));
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPen curvePen(Color c, int width, DrawStyle style) {
    QPen pen(toQColor(c));
    pen.setWidth(width);
    pen.setStyle(penStyle(style));
    return pen;
}

std::pair<int, int> arcSixteenths(double start, double end) {
    const double a0 = std::fabs(start) * 180.0 / M_PI;
    const double a1 = std::fabs(end) * 180.0 / M_PI;
    double span = a1 - a0;
    if (span < 0) span += 360.0;
    return {int(std::nearbyint(a0 * 16)), int(std::nearbyint(span * 16))};
}

}  // namespace painting

}  // namespace typeset
