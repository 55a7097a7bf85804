// Large operators from Symbol pieces: the summation sign, the integral sign
// from its two halves, the radical with its rule; limits in markup.
#pragma once

#include "canvas.h"

#include <QString>
#include <functional>

void dsp_bigSigma(typeset::Canvas& c, float& x, float y);
// Note the order of the limits: the sum takes the lower one first, the
// integral the upper one first.
void dsp_sum(typeset::Canvas& c, float& x, float y, const QString& lower, const QString& upper);
// A sum whose upper limit is more than markup can carry: drawUpper sets it
// by hand once the sign is drawn (x then stands after the sign), as the
// sum's upper limit.
void dsp_sum(typeset::Canvas& c, float& x, float y, const QString& lower,
             const std::function<void()>& drawUpper);
void dsp_intSign(typeset::Canvas& c, float& x, float y);
void dsp_integral(typeset::Canvas& c, float& x, float y, const QString& upper, const QString& lower);
void dsp_intInf(typeset::Canvas& c, float& x, float y);
void dsp_sqrt(typeset::Canvas& c, float& x, float y, float width);
void prSumH(const QString& upper, const QString& lower);
