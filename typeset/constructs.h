// Two-dimensional formula pieces placed at the pen or at a given point:
// built-up fractions, small and fixed fractions, tall parentheses, column and
// horizontal braces, and the stacked super/subscript on a capital X.
#pragma once

#include "canvas.h"
#include "context.h"
#include "pen.h"

#include <QString>

void Fraction(float scale, const QString& num, const QString& den);
void prFrac(const QString& num, const QString& den);
void prFracS(const QString& num, const QString& den);
void dsp_half(typeset::Canvas& c, float& x, float& y);
void dsp_oneOver(typeset::Canvas& c, float& x, float& y, const QString& d);
void prOverPi();
void prOver2Pi();
void prOver4Pi();
void pr2pi(float& x, float y);
void pr4pi(float& x, float y);
void dsp_bigParen(float& x, float y, int kind);  // kind 1 = left, 2 = right
void prBigLParen(float& x, float y);
void prBigRParen(float& x, float y);
// What inside() prints at the pen, between tall parentheses at the pen's
// line: for a formula with a built-up fraction, which parentheses of the
// text's size stop short of. The right one reaches past its advance, so the
// pen goes on gapAfter pixels later.
template <typename Inside>
void prInTallParens(Inside&& inside, int gapAfter) {
    prBigLParen(PenX, PenY);
    Skip(8);
    inside();
    Skip(2);
    prBigRParen(PenX, PenY);
    Skip(gapAfter);
}
void ColBrace(int index, float lx, float ly, float ht);  // index 0 = left, 1 = right
void Brace_alpha(int index, float lx, float ly);
void brace_beta(float x, float y);
void Xa(const QString& top, const QString& bottom);
void Xp(const QString& bottom);
void Xp1(const QString& bottom);
void dsp_2p();
void dsp_sampleLine(typeset::Canvas& c, float& x, float y, Color colour);
