#include "recording_canvas.h"

#include <cmath>

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

void RecordingCanvas::drawTextPx(const Font& f, double x, double y, const QString& s, Color c,
                                 int angle) {
    DrawOp op;
    op.kind = DrawOp::Text;
    op.x1 = x, op.y1 = y;
    op.x2 = x + measureWidthPx(f, s);
    op.y2 = y + measureHeightPx(f, s);
    op.text = s;
    op.face = f.face, op.size = f.size, op.bold = f.bold, op.italic = f.italic;
    op.color = c;
    op.angle = angle;
    ops.push_back(op);
}

QSize RecordingCanvas::glyphsPx(const Font& f, int x, int y, const QByteArray& bytes, bool draw,
                                Color c, int angle, GlyphFont which) {
    // Glyph codes are one byte each, so every glyph counts as narrow. The
    // device's default height is 12 points here.
    Font used = f;
    if (which == GlyphFont::DeviceDefault) used = {QStringLiteral("Arial"), 12, false, false};
    if (which == GlyphFont::FaceAtDefaultHeight) used = {f.face, 12, false, false};
    const QString text = QString::fromLatin1(bytes);
    const QSize size(int(std::nearbyint(measureWidthPx(used, text))),
                     int(std::nearbyint(measureHeightPx(used, text))));
    if (draw && !bytes.isEmpty()) {
        DrawOp op;
        op.kind = DrawOp::Glyph;
        op.x1 = x, op.y1 = y, op.x2 = x + size.width(), op.y2 = y + size.height();
        op.text = text;
        op.face = used.face, op.size = used.size, op.bold = used.bold, op.italic = used.italic;
        op.color = c;
        op.angle = angle;
        ops.push_back(op);
    }
    return size;
}

void RecordingCanvas::linePx(double x1, double y1, double x2, double y2, Color c) {
    DrawOp op;
    op.kind = DrawOp::Line;
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
    op.color = c;
    op.drawWidth = DrawWidth;
    ops.push_back(op);
}

void RecordingCanvas::boxPx(double x1, double y1, double x2, double y2, Color c, bool filled) {
    DrawOp op;
    op.kind = filled ? DrawOp::FilledRect : DrawOp::Rect;
    op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
    op.color = c;
    op.drawWidth = DrawWidth;
    ops.push_back(op);
}

void RecordingCanvas::circlePx(double cx, double cy, double rx, double ry, Color c,
                               double start, double end) {
    DrawOp op;
    op.kind = DrawOp::Circle;
    op.x1 = cx, op.y1 = cy, op.x2 = start, op.y2 = end;
    op.r = rx;
    op.aspect = rx > 0 ? ry / rx : 1;
    op.color = c;
    op.drawWidth = DrawWidth;
    ops.push_back(op);
}

void RecordingCanvas::psetPx(double x, double y, Color c) {
    DrawOp op;
    op.kind = DrawOp::Point;
    op.x1 = x, op.y1 = y;
    op.color = c;
    op.drawWidth = DrawWidth;
    ops.push_back(op);
}

void RecordingCanvas::clearPx(Color back) {
    DrawOp op;
    op.kind = DrawOp::Clear;
    op.x2 = w_, op.y2 = h_;
    op.color = back;
    ops.push_back(op);
}

void RecordingCanvas::copyPx(const Canvas&, int dx, int dy, int w, int h, int sx, int sy) {
    DrawOp op;
    op.kind = DrawOp::Copy;
    op.x1 = dx, op.y1 = dy, op.x2 = dx + w, op.y2 = dy + h;
    op.r = sx, op.aspect = sy;
    ops.push_back(op);
}
