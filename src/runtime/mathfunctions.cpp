#include "runtime/mathfunctions.h"

#include <cfloat>
#include <cmath>

#include "runtime/fpu.h"

namespace metopt::runtime {

namespace {

// The special results are computed, not loaded, so that the arithmetic raises their flags.
long double InvalidResult() {
    long double zero = 0;
    Pin(zero);
    return zero / zero;
}

long double PoleResult(long double sign) {
    long double zero = 0;
    Pin(zero);
    return sign / zero;
}

long double OverflowResult(long double sign) {
    long double largest = LDBL_MAX;
    Pin(largest);
    return (sign * largest) * 2;
}

long double OverflowChecked(long double result, long double x) {
    if (std::isinf(result) && std::isfinite(x))
        return OverflowResult(std::signbit(result) ? -1 : 1);
    return result;
}

bool IsOddWhole(long double x) {
    return std::isfinite(x) && x == std::trunc(x) && std::fmod(x, 2.0L) != 0;
}

}  // namespace

long double Ln(long double x) {
    if (x == 0)
        return PoleResult(-1);
    return x < 0 ? InvalidResult() : logl(x);
}

long double Lg(long double x) {
    if (x == 0)
        return PoleResult(-1);
    return x < 0 ? InvalidResult() : log10l(x);
}

long double Sqrt(long double x) {
    return x < 0 ? InvalidResult() : sqrtl(x);
}

long double Exp(long double x) {
    return OverflowChecked(expl(x), x);
}

long double Sinh(long double x) {
    return OverflowChecked(sinhl(x), x);
}

long double Cosh(long double x) {
    return OverflowChecked(coshl(x), x);
}

long double Asin(long double x) {
    return std::fabs(x) > 1 ? InvalidResult() : asinl(x);
}

long double Acos(long double x) {
    return std::fabs(x) > 1 ? InvalidResult() : acosl(x);
}

long double Power(long double base, long double exponent) {
    if (base < 0 && std::isfinite(exponent) && exponent != std::trunc(exponent))
        return InvalidResult();
    if (base == 0 && exponent < 0)
        return PoleResult(std::signbit(base) && IsOddWhole(exponent) ? -1 : 1);
    const long double result = powl(base, exponent);
    if (std::isfinite(base) && base != 0)
        return OverflowChecked(result, exponent);
    return result;
}

}  // namespace metopt::runtime
