// The Chebyshev-interpolation chapter: five pages comparing Taylor and
// Chebyshev approximations of e^x, introducing interpolation by discrete
// orthogonality, its proof, and the recurrence that evaluates the series.
#pragma once

#include "chapter.h"
#include "chebyshev.h"

#include <QString>

namespace chapters {

class HazelChapter : public PagedChapter<HazelChapter> {
public:
    HazelChapter();


    void pic0();
    void pic1();
    void pic2();
    void pic3();
    void pic4();

    // The page's series evaluation on its own coefficients.
    double ChebyshevInterpolation(int32_t n, double x) const {
        return chapters::ChebyshevInterpolation(Coef, n, x);
    }
    // T_k(x) at the pen.
    void T(const QString& k);

    CoefArray Coef{};

private:
    void pageStart(const QString& heading);
    void coefficientTerm(int k);
    void expGraph();
    void errorGraph();
    static ChapterProfile makeProfile();
};

}  // namespace chapters
