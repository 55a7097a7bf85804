// Single symbols set among italic variables (Greek letters at the pen,
// primes, derivative dots) and small notation helpers built on them.
#pragma once

#include "canvas.h"

#include <QString>

void prDelta();
void prTheta();
void prAlpha();
// ω at the pen (the Kepler and lattice chapters call it omega).
void omega();
void prBeta();
void prKappa();
void prEpsln();
void prPrime();
void dsp_prime(typeset::Canvas& c, float& x, float y);
void dsp_sup2(typeset::Canvas& c, float& x, float y);
void prDot(const QString& v);
void prDDot(const QString& v);
void prFunc(const QString& name, const QString& v);
void dsp_of_x(typeset::Canvas& c, float& x, float y);
void dsp_of_t(typeset::Canvas& c, float& x, float y);
void prVarSub(const QString& a, const QString& b);
void prDeriv(const QString& f, const QString& v);
void prThermoVar(typeset::Canvas& c, float& x, float y, const QString& text);
void prTilde(const QString& v);
void prPartial(const QString& num, const QString& den, const QString& fixed);
void prPartialFrac(const QString& num, const QString& den);
