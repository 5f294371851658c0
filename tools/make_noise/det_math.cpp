#include "det_math.h"

#include <cmath>

namespace {

constexpr double kLn2 = 0.69314718055994530942;

// 2^n for a moderate whole n, exactly.
double PowerOfTwo(int n) {
    double result = 1.0;
    const double factor = n < 0 ? 0.5 : 2.0;
    for (int i = n < 0 ? -n : n; i > 0; --i)
        result *= factor;
    return result;
}

// Taylor series of sin and cos on [-pi/4, pi/4].
double SinKernel(double r) {
    const double r2 = r * r;
    double term = r;
    double sum = r;
    for (int n = 1; n <= 10; ++n) {
        term *= -r2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

double CosKernel(double r) {
    const double r2 = r * r;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 10; ++n) {
        term *= -r2 / ((2.0 * n - 1.0) * (2.0 * n));
        sum += term;
    }
    return sum;
}

} // namespace

double DetExp(double x) {
    const double n = std::floor(x / kLn2 + 0.5);
    const double r = x - n * kLn2; // |r| <= ln2 / 2
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 20; ++k) {
        term *= r / k;
        sum += term;
    }
    return sum * PowerOfTwo(static_cast<int>(n));
}

double DetLog(double x) {
    // x = m * 2^e with m in [sqrt(1/2), sqrt(2)); log m = 2 atanh((m - 1) / (m + 1)).
    int e = 0;
    double m = x;
    while (m >= 1.4142135623730951) {
        m *= 0.5;
        ++e;
    }
    while (m < 0.7071067811865476) {
        m *= 2.0;
        --e;
    }
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double power = s;
    double sum = 0.0;
    for (int k = 1; k <= 41; k += 2) {
        sum += power / k;
        power *= s2;
    }
    return 2.0 * sum + e * kLn2;
}

double DetSin(double x) {
    const double q = std::floor(x / (kDetPi / 2.0) + 0.5);
    const double r = x - q * (kDetPi / 2.0);
    const long quadrant = static_cast<long>(q) & 3;
    switch (quadrant) {
    case 0:
        return SinKernel(r);
    case 1:
        return CosKernel(r);
    case 2:
        return -SinKernel(r);
    default:
        return -CosKernel(r);
    }
}

double DetCos(double x) {
    return DetSin(x + kDetPi / 2.0);
}

double DetPow(double base, double exponent) {
    return DetExp(exponent * DetLog(base));
}

double DetSinh(double x) {
    const double e = DetExp(x);
    return (e - 1.0 / e) / 2.0;
}

double DetAsinh(double x) {
    const double a = x < 0 ? -x : x;
    const double result = DetLog(a + std::sqrt(a * a + 1.0));
    return x < 0 ? -result : result;
}

double InverseNormal(double p) {
    // Acklam's rational approximation: relative error below 1.2e-9, far finer
    // than one step of a byte.
    static const double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,
                               -2.759285104469687e+02, 1.383577518672690e+02,
                               -3.066479806614716e+01, 2.506628277459239e+00};
    static const double b[] = {-5.447609879822406e+01, 1.615858368580409e+02,
                               -1.556989798598866e+02, 6.680131188771972e+01,
                               -1.328068155288572e+01};
    static const double c[] = {-7.784894002430293e-03, -3.223964580411365e-01,
                               -2.400758277161838e+00, -2.549732539343734e+00,
                               4.374664141464968e+00,  2.938163982698783e+00};
    static const double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                               3.754408661907416e+00};
    const double low = 0.02425;
    double z;
    if (p < low) {
        const double q = std::sqrt(-2.0 * DetLog(p));
        z = (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
            ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1.0);
    } else if (p > 1.0 - low) {
        const double q = std::sqrt(-2.0 * DetLog(1.0 - p));
        z = -(((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
            ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1.0);
    } else {
        const double q = p - 0.5;
        const double r = q * q;
        z = (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
            (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1.0);
    }
    return z;
}
