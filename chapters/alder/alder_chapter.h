// The continued-fraction chapter: how the incomplete gamma function is
// computed for large arguments by a continued fraction, the recurrence that
// evaluates it, the error estimate, and a traced demonstration of how fast
// it converges.
#pragma once

#include "chapter.h"
#include "replay.h"

#include <QString>
#include <cstdint>

namespace chapters {

class AlderChapter : public PagedChapter<AlderChapter> {
public:
    AlderChapter();
    static ChapterProfile makeProfile();


    void pic0();
    void pic1();
    void pic2();
    void pic3();

    // Pieces of notation drawn at the pen.
    void dsp_nu();       // ν
    void IncompGamma();  // Γ(ν, x)
    // F_(n+1) G_n − F_n G_(n+1), gap pixels after each subscript.
    void Bunsi(int gap = 4);
    void Bunbo();        // F_n F_(n+1)

    // The convergence graph's mapping: u = log10(pass) from 1 to 3 across,
    // v = −log10(error) from 10 to 40 down.
    float px(float u) const;
    float py(float v) const;
    static double alog10(double d);

    // Set once page 1 has been drawn: page 0 then marks the substitution
    // that page 1's proof makes.
    int32_t Pic1Drawn = 0;

    // Geometry of the graph being drawn.
    struct Graph {
        float W = 0, H = 0, L = 0, T = 0;
        double lowerExp = 10, upperExp = 40;
    };
    Graph graph;

private:
    void continuedFractionFormula();
    // Each returns false when a newer drawing of the same page has taken
    // over while this one waited; the caller then stops at once.
    void drawGraph(float nu, Pace& trace);
    void drawCurve(int idx, float nu, Pace& trace);
};

}  // namespace chapters
