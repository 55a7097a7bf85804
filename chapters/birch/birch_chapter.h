// The Kepler-motion chapter: the elliptic orbit and its constants, the
// parametric solution through Kepler's equation, and the Fourier series of
// the planet's coordinates whose coefficients are Bessel functions.
#pragma once

#include "chapter.h"

#include <QString>

namespace chapters {

class BirchChapter : public PagedChapter<BirchChapter> {
public:
    BirchChapter();
    static ChapterProfile makeProfile();

    void pic0();
    void pic1();
    void pic2();
    void pic3();
    void pic4();
    void pic5();

    // Recurring symbols, each printed at the pen.
    void dot(const QString& s);  // a letter with a time-derivative dot
    void cos2();                 // cos²
    void sin2();                 // sin²
    void eps2();                 // ε²
    void dsp1_eps2();            // 1 − ε²
    void Sqrt1_eps2();           // √(1 − ε²) with its own stroke and overbar
    void alpha2();               // α a little larger, raised 2 pixels (left raised)

    // The orbit figure of page 1, drawn to the right of the page's text.
    void OrbitFigure();

    // The figure's values as last drawn (single precision, as drawn).
    struct Orbit {
        float cx = 0, cy = 0, a = 0, eps = 0, theta = 0, r = 0, b = 0;
    };
    Orbit orbit;

private:
    // The cancelled dt of du/dt and of the closing dt (pages 4 and 5):
    // fracStart is where du/dt begins, dtStart where the last dt begins.
    void cancelStrokes(float fracStart, float dtStart, float lineY);
    // (1/(nωT)) ∫_0^T f(u) (du/dt) g(nωt) dt with the dt's struck out.
    void partsIntegral(bool sine);
    // √(m a³/α), or √(α/(m a³)) when massOnTop is false.
    void massOverAlpha(bool massOnTop);
    // The blue heading "(k)  f u(t)  をフーリエ級数に展開する."
    void seriesHeading(const QString& number, bool sine);
};

}  // namespace chapters
