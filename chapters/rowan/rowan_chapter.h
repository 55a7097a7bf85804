// The fast-Fourier-transform chapter: from the Fourier series and transform
// to the discrete Fourier transform, then how the FFT reaches C(k) from f(j)
// in n stages through the butterfly recurrence, drawn as a block diagram and
// proved. Nothing is computed.
#pragma once

#include "chapter.h"

#include <QString>
#include <functional>

namespace chapters {

class RowanChapter : public PagedChapter<RowanChapter> {
public:
    RowanChapter();
    static ChapterProfile makeProfile();

    void pic0();
    void pic1();
    void pic2();
    void pic3();
    void pic4();

    // f(j) at the pen.
    void dsp_fj();

private:
    // Pages 2 to 4 begin alike: cleared, the pen at TabX1 on the first line.
    void openMechanismPage();
};

// Pieces of notation the pages share, drawn at the pen.
namespace rowan {

// The equation number "[n]" at column x, then the pen at TabX2 on the same
// line for the formula.
void eqNumber(const char* n, float x);

// The summation sign with the lower limit j = 0 and an upper limit too
// long for markup, which upper prints at (x - back, row - 22), x the pen x
// after the sign, at 0.85 of the page size. The size is BaseSize afterwards
// and the pen back at (x, row); returns x.
float sumFromZero(float row, float back, const std::function<void()>& upper);

// name(v_sub), the function notation with a subscripted argument.
void funcOfSub(const char* name, const char* v, const char* sub);

// f(2jβ + l), f(jβ + l) and f(2jβ + β + l): lead is "2" or empty.
void fOfJBeta(const char* lead, bool plusBeta);

// ω with the superscript exponent.
void omegaTo(const char* exponent);

// "ω = e^(-2πi/N)".
void omegaDefinition();

// Italic X with a superscript only, as in the chain X^(n) <- ... <- X^(0).
void XSup(const char* sup);

}  // namespace rowan

}  // namespace chapters
