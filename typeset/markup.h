// The inline formula markup: scripts and tokens with Greek letters spelled
// out ("alpha", "pi", ...), Latin letters as italic variables, digits upright
// and signs in the monospaced face.
#pragma once

#include "canvas.h"

#include <QString>
#include <cstdint>

void dsp_sup(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_sub(typeset::Canvas& c, float& x, float y, const QString& text);
void dsp_limit(typeset::Canvas& c, float& x, float y, const QString& text);
// Estimated printed width of a numerator or denominator on CurPic.
int32_t MarkupWidth(const QString& text);
void prSup(const QString& text);
void prSub(const QString& text);
void prSquare(const QString& v);

bool isLatinLetter(QChar ch);
// Takes prefix (a markup spelling such as "pi") off the front of text when it
// is there.
bool takePrefix(QString& text, const char* prefix);
