#include "glyphs.h"

#include <algorithm>

using namespace typeset;

void gdiText(Canvas& c, int32_t x, int32_t y, const QByteArray& bytes, int32_t count,
             QSize& size, int32_t draw) {
    // Never read past the bytes handed in, whatever count says.
    const QByteArray used = bytes.left(std::clamp<int32_t>(count, 0, int32_t(bytes.size())));
    size = c.glyphs(x, y, used, draw != 0);
}

void gdiTextOut(Canvas& c, int32_t& x, int32_t y, const QByteArray& bytes, int32_t count) {
    QSize size;
    gdiText(c, x, y, bytes, count, size, 1);
    x += size.width();
}

void dsp_rotFace(Canvas& c, int32_t& x, int32_t y, uint8_t code, int32_t count, int32_t angle) {
    // The code is one byte: a count above one would read beyond it.
    const QByteArray bytes(std::clamp<int32_t>(count, 0, 1), char(code));
    const QSize size = c.glyphs(x, y, bytes, true, angle, Canvas::GlyphFont::FaceAtDefaultHeight);
    x += size.width();
}

void dsp_rotated(Canvas& c, float& x, float y, const QString& text, int32_t angle) {
    c.CurrentX = x;
    c.CurrentY = y;
    c.printRotated(text, angle);
    x = c.CurrentX;
}
