#include "canvas.h"

#include <cmath>

const char* opKindName(DrawOp::Kind k) {
    switch (k) {
    case DrawOp::Text: return "text";
    case DrawOp::Glyph: return "glyph";
    case DrawOp::Line: return "line";
    case DrawOp::Rect: return "rectangle";
    case DrawOp::FilledRect: return "filled-rectangle";
    case DrawOp::Circle: return "circle";
    case DrawOp::Point: return "point";
    case DrawOp::Clear: return "clear";
    case DrawOp::Copy: return "copy";
    }
    return "?";
}

Color resolveColor(Color c) {
    // System colour references (high bit set): the only one the pages use is
    // the button-text colour, which is black on every desktop theme we target.
    if (c & 0x80000000u) return RGB(0, 0, 0);
    return c & 0xFFFFFFu;
}

template <class Op>
void Canvas::both(Op&& op) {
    // The mirror first: it may keep what this canvas shows before the
    // operation changes it.
    if (mirror) {
        mirror->DrawWidth = DrawWidth;
        mirror->DrawStyle_ = DrawStyle_;
        mirror->FillStyle_ = FillStyle_;
        mirror->FillColor = FillColor;
        op(*mirror);
    }
    op(*this);
}

double Canvas::TextWidth(const QString& s) { return lenX(measureWidthPx(font(), s)); }

double Canvas::TextHeight(const QString& s) { return lenY(measureHeightPx(font(), s)); }

void Canvas::Print(const QString& s) {
    const Font f = font();
    if (!s.isEmpty()) {
        const double x = toPxX(CurrentX), y = toPxY(CurrentY);
        const double w = FontTransparent ? 0 : measureWidthPx(f, s);
        const double h = FontTransparent ? 0 : measureHeightPx(f, s);
        both([&](Canvas& c) {
            if (!FontTransparent) c.boxPx(x, y, x + w, y + h, BackColor, true);
            c.drawTextPx(f, x, y, s, ForeColor, 0);
        });
    }
    CurrentX = float(CurrentX + lenX(measureWidthPx(f, s)));
}

QSize Canvas::glyphs(int x, int y, const QByteArray& bytes, bool draw, int angle,
                     GlyphFont which) {
    if (draw && mirror) mirror->glyphsPx(font(), x, y, bytes, true, ForeColor, angle, which);
    return glyphsPx(font(), x, y, bytes, draw, ForeColor, angle, which);
}

void Canvas::printRotated(const QString& s, int angle) {
    const Font f = font();
    if (!s.isEmpty()) {
        const double x = toPxX(CurrentX), y = toPxY(CurrentY);
        both([&](Canvas& c) { c.drawTextPx(f, x, y, s, ForeColor, angle); });
    }
    CurrentX = float(CurrentX + lenX(measureWidthPx(f, s)));
}

void Canvas::Line(double x1, double y1, double x2, double y2, Color c) {
    both([&](Canvas& on) { on.linePx(toPxX(x1), toPxY(y1), toPxX(x2), toPxY(y2), c); });
    CurrentX = float(x2);
    CurrentY = float(y2);
}

void Canvas::Box(double x1, double y1, double x2, double y2, Color c, bool filled) {
    both([&](Canvas& on) { on.boxPx(toPxX(x1), toPxY(y1), toPxX(x2), toPxY(y2), c, filled); });
    CurrentX = float(x2);
    CurrentY = float(y2);
}

void Canvas::Circle(double cx, double cy, double r, Color c, double start, double end,
                    double aspect) {
    // The radius is measured along the longer axis, as the pages' runtime does.
    double rx = std::fabs(r * sx_), ry = std::fabs(r * sx_);
    if (aspect > 1.0) {
        ry = std::fabs(r * sx_);
        rx = ry / aspect;
    } else {
        ry = rx * aspect;
    }
    both([&](Canvas& on) { on.circlePx(toPxX(cx), toPxY(cy), rx, ry, c, start, end); });
    CurrentX = float(cx);
    CurrentY = float(cy);
}

void Canvas::PSet(double x, double y, Color c) {
    both([&](Canvas& on) { on.psetPx(toPxX(x), toPxY(y), c); });
    CurrentX = float(x);
    CurrentY = float(y);
}

void Canvas::Cls() {
    both([&](Canvas& on) { on.clearPx(BackColor); });
    CurrentX = float(scaleLeft_);
    CurrentY = float(scaleTop_);
}

void Canvas::Scale(double x1, double y1, double x2, double y2) {
    scaleLeft_ = x1;
    scaleTop_ = y1;
    sx_ = pixelWidth() / (x2 - x1);
    sy_ = pixelHeight() / (y2 - y1);
}

void Canvas::scaleReset() {
    scaleLeft_ = scaleTop_ = 0;
    sx_ = sy_ = 1;
}

Canvas::State Canvas::state() const {
    return {FontName,   FontSize,    FontBold,   FontItalic, ForeColor, BackColor,
            FillColor,  FillStyle_,  DrawStyle_, DrawWidth,  FontTransparent,
            CurrentX,   CurrentY,    scaleLeft_, scaleTop_,  sx_,       sy_};
}

void Canvas::setState(const State& s) {
    FontName = s.FontName;
    FontSize = s.FontSize;
    FontBold = s.FontBold;
    FontItalic = s.FontItalic;
    ForeColor = s.ForeColor;
    BackColor = s.BackColor;
    FillColor = s.FillColor;
    FillStyle_ = s.FillStyle_;
    DrawStyle_ = s.DrawStyle_;
    DrawWidth = s.DrawWidth;
    FontTransparent = s.FontTransparent;
    CurrentX = s.CurrentX;
    CurrentY = s.CurrentY;
    scaleLeft_ = s.scaleLeft;
    scaleTop_ = s.scaleTop;
    sx_ = s.sx;
    sy_ = s.sy;
}

void Canvas::copyFrom(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) {
    both([&](Canvas& on) { on.copyPx(src, dx, dy, w, h, sx, sy); });
}
