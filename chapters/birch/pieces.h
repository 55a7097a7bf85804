// Formula pieces the Kepler pages build by hand: fractions whose bar is a run
// of "─" with each part placed by pixel offsets, and radicals whose sign is
// lengthened by a stroke up to an overbar.
#pragma once

#include "canvas.h"
#include "chapter.h"

#include <QString>
#include <functional>

namespace chapters {

namespace birch {

struct Part {
    float dx;  // from the start of the bar
    float dy;  // from the pen line
    std::function<void()> print;  // prints at the pen
};

// A bar of `bars` "─" at the pen, the numerator and denominator placed by
// their offsets; the pen line is kept and the pen ends after the bar.
void barFraction(int bars, const Part& num, const Part& den);

// The radical sign drop pixels below the pen line, a stroke from the foot of
// its (empty) rule by (dx, dy), then an overbar of barUnits layout units.
// Returns the x just after the sign; the pen is left at the top of the stroke.
float radical(float drop, float dx, float dy, float barUnits, Color colour);

// Shorthands for the pages' many small pieces.
inline QString u8(const char* s) { return QString::fromUtf8(s); }
void text(const char* s);
void var(const char* v);
// ωt: a pixel between the body face's ω and the italic t, which have no
// kerning between them and touched.
void omegaT();

}  // namespace birch

}  // namespace chapters
