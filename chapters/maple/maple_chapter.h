// The Gibbs-phenomenon chapter: the overshoot of a square wave's Fourier
// series at its jumps, derived as a midpoint sum, its limit as the sine
// integral Si(pi), and that integral summed as a power series.
#pragma once

#include "chapter.h"

#include <array>
#include <cstdint>

namespace chapters {

class MapleChapter : public PagedChapter<MapleChapter> {
public:
    MapleChapter();
    static ChapterProfile makeProfile();

    void pic0();
    void pic1();
    void pic2();

    // The graph's mapping onto CurPic: x across the middle 90 % of the width,
    // y from 1.3 down to -1.3 over the band from 60 % to 85 % of the height;
    // on paper the band sits 1.2 lines lower, as the text does.
    int32_t px(float x) const;
    int32_t py(float y) const;
    static double factorial(int32_t i);

    // Graph state, set by page 0 before it draws.
    float GxMin = -1.25f, GxMax = 3.25f;
    Color CurveColor = 0;

    // Remembered pen positions inside one page: an "=" column or formula
    // start, a second x, and the line of a row whose fractions are stacked
    // above and below it.
    float EqCol = 0, EqCol2 = 0, RowY = 0;
    // Page 1: where the bar of each series term starts (1, 3, 5 and 7 used).
    std::array<int32_t, 11> BarX{};

private:
    void graph();
    void seriesTable();
    void limitOfPeak();
    // "(π/2N)", the first peak's x, in tall parentheses at the pen.
    void peakArgument();
};

// The Fourier partial sum of the square wave with `terms` odd harmonics, at
// abscissa x in units of pi: 4/pi times the sum of sin(n pi x)/n, n = 1, 3, ...
double squareWavePartialSum(double x, int terms);

// One row of the overshoot series 2(1 - pi^2/(3!3) + pi^4/(5!5) - ...).
struct SeriesRow {
    double term, sum;
};
std::array<SeriesRow, 7> overshootSeries();

}  // namespace chapters
