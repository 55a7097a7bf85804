// Device-level glyph output: byte codes drawn at whole pixels in the canvas's
// current font (Symbol and Wingdings pieces, entity text, turned glyphs).
#pragma once

#include "canvas.h"

#include <QByteArray>
#include <QSize>
#include <cstdint>

// Draws count bytes at (x, y) when draw is nonzero; size receives their
// extent in whole pixels either way.
void gdiText(typeset::Canvas& c, int32_t x, int32_t y, const QByteArray& bytes, int32_t count,
             QSize& size, int32_t draw);
// Draws the bytes and advances x by their width.
void gdiTextOut(typeset::Canvas& c, int32_t& x, int32_t y, const QByteArray& bytes, int32_t count);
// One glyph code of the canvas's face at the face's default height, turned by
// angle degrees; x advances by its width.
void dsp_rotFace(typeset::Canvas& c, int32_t& x, int32_t y, uint8_t code, int32_t count, int32_t angle);
// Text turned by angle degrees from (x, y); x advances by its width.
void dsp_rotated(typeset::Canvas& c, float& x, float y, const QString& text, int32_t angle);
