#include "backends/recording_canvas.h"

#include <cmath>

namespace typeset {

double RecordingCanvas::defaultWidth(const FontSel& f, const QString& s) {
    double w = 0;
    for (QChar ch : s) w += ch.unicode() < 0x100 ? 0.5 * f.size : f.size;
    return w;
}

double RecordingCanvas::defaultHeight(const FontSel& f, const QString&) { return 1.5 * f.size; }

std::vector<DrawOp> RecordingCanvas::texts() const {
    std::vector<DrawOp> out;
    for (const DrawOp& op : ops)
        if (op.kind == DrawOp::Text || op.kind == DrawOp::Glyph) out.push_back(op);
    return out;
}

double RecordingCanvas::measureWidthPx(const Font& f, const QString& s) {
    return widthMetric({f.face, f.size, f.bold, f.italic}, s);
}

double RecordingCanvas::measureHeightPx(const Font& f, const QString& s) {
    return heightMetric({f.face, f.size, f.bold, f.italic}, s);
}

QSize RecordingCanvas::glyphExtentPx(const Font& f, const QByteArray& bytes, GlyphFont) {
    const QString text = QString::fromLatin1(bytes);
    return QSize(int(std::nearbyint(measureWidthPx(f, text))),
                 int(std::nearbyint(measureHeightPx(f, text))));
}

}  // namespace typeset
