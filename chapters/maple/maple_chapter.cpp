#include "maple/maple_chapter.h"

#include "context.h"
#include "state.h"

#include <cmath>

namespace chapters {

MapleChapter::MapleChapter()
    : PagedChapter(makeProfile(), {&MapleChapter::pic0, &MapleChapter::pic1, &MapleChapter::pic2}) {}

ChapterProfile MapleChapter::makeProfile() {
    ChapterProfile s;
    s.name = QStringLiteral("maple");
    s.title = QStringLiteral("フーリエ級数とギブス現象");
    s.designBoxes = 1;
    s.drawnAtStartup = {0, 1, 2};
    s.buttonBack = RGB(240, 240, 255);

    LibraryVariant& v = s.library;
    v.fraction = LibraryVariant::FractionForm::PiAware;
    v.braceExtension = LibraryVariant::BraceExtension::Always;
    v.ofXGaps = LibraryVariant::OfXGaps::FifthOfA;
    return s;
}

int32_t MapleChapter::px(float x) const {
    const double w = CurPic->pixelWidth();
    return Round(w * (0.05 + 0.9 * (double(x) - GxMin) / (double(GxMax) - GxMin)));
}

int32_t MapleChapter::py(float y) const {
    const double h = CurPic->pixelHeight();
    const int32_t v = Round(h * (0.6 + 0.25 * (1.3 - double(y)) / 2.6));
    return Printing ? Round(v + 1.2 * double(UnitH)) : v;
}

double MapleChapter::factorial(int32_t i) { return i <= 1 ? 1.0 : i * factorial(i - 1); }

double squareWavePartialSum(double x, int terms) {
    double s = 0;
    for (int j = 1; j <= terms; ++j) {
        const int16_t n = int16_t(2 * j - 1);
        s += std::sin(n * x * Pi) / n;
    }
    return 4 * s / Pi;
}

std::array<SeriesRow, 7> overshootSeries() {
    std::array<SeriesRow, 7> rows{};
    double sum = 0;
    for (int32_t i = 0; i < 7; ++i) {
        const int32_t n = 2 * i + 1;
        const double piSquared = std::pow(Pi, 2.0);
        const double term = 2 * std::pow(-piSquared, double(i)) / n / MapleChapter::factorial(n);
        sum += term;
        rows[size_t(i)] = {term, sum};
    }
    return rows;
}

}  // namespace chapters
