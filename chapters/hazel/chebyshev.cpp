#include "chebyshev.h"

#include <stdexcept>
#include <string>

namespace chapters {

void storeExpCoefficients(CoefArray& Coef) {
    Coef[0] = 1.2660590277777777;  // 1 + 1/4 + 1/64 + 1/2304
    Coef[1] = 1.0 + 1.0 / 8.0 + 1.0 / 192.0;
    Coef[2] = 1.0 / 4.0 + 1.0 / 48.0 + 1.0 / 1536.0;
    Coef[3] = 1.0 / 24.0 + 1.0 / 384.0;
    Coef[4] = 0.00546875;              // 1/192 + 1/3840
    Coef[5] = 0.0005208333333333333;   // 1/1920
    Coef[6] = 0.00004340277777777778;  // 1/23040
}

double ChebyshevInterpolation(const CoefArray& Coef, int32_t n, double x) {
    if (n < 0 || size_t(n) >= Coef.size())
        throw std::out_of_range("ChebyshevInterpolation: degree " + std::to_string(n) +
                                " outside the coefficient array");
    if (n == 0) return Coef[0];
    // Backward recurrence with a = b_(k+2), b = b_(k+1); it ends on the full
    // series value rather than the halved-c_0 form.
    double a = Coef[size_t(n)];
    double b = Coef[size_t(n)] * x + Coef[size_t(n - 1)];
    for (int32_t k = n - 2; k >= 0; --k) {
        const double s = (2 * b - Coef[size_t(k + 1)]) * x - a + Coef[size_t(k)];
        a = b;
        b = s;
    }
    return b;
}

double TaylorP5(double x) {
    return 1 + x * (1 + x / 2 * (1 + x / 3 * (1 + x / 4 * (1 + x / 5))));
}

}  // namespace chapters
