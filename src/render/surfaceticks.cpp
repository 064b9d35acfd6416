#include "render/surfaceticks.h"

#include <charconv>
#include <cmath>

namespace metopt::render {

namespace {

constexpr int MaxTicks = 20;
// Labels in fixed notation up to this magnitude, and steps down to this one.
constexpr double FixedLimit = 1e7;
constexpr double FixedSmallestStep = 1e-5;

// The exponent of the largest power of ten at or below x > 0, by steps of ten (the same on every
// system, unlike the C library's logarithm).
int DecimalExponent(double x) {
    int exponent = 0;
    double power = 1;
    while (power * 10 <= x && exponent < 400) {
        power *= 10;
        ++exponent;
    }
    while (power > x && exponent > -400) {
        power /= 10;
        --exponent;
    }
    return exponent;
}

double PowerOfTen(int exponent) {
    double power = 1;
    for (int k = 0; k < exponent; ++k)
        power *= 10;
    for (int k = 0; k > exponent; --k)
        power /= 10;
    return power;
}

double RoundStep(double raw) {
    const double power = PowerOfTen(DecimalExponent(raw));
    const double mantissa = raw / power;
    return power * (mantissa < 1.5 ? 1 : mantissa < 3.5 ? 2 : mantissa < 7.5 ? 5 : 10);
}

}  // namespace

std::vector<double> RoundTicks(double lo, double hi, int wanted) {
    std::vector<double> ticks;
    if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi || !std::isfinite(hi - lo))
        return ticks;
    if (lo == hi || wanted < 1) {
        ticks.push_back(lo);
        return ticks;
    }
    const double step = RoundStep((hi - lo) / wanted);
    const double first = std::ceil(lo / step);
    const double last = std::floor(hi / step);
    for (double k = first; k <= last && ticks.size() < MaxTicks; ++k)
        ticks.push_back(k == 0 ? 0.0 : k * step);
    return ticks;
}

std::string TickText(double value, double step) {
    char buffer[64];
    std::to_chars_result result;
    const double magnitude = std::fabs(value);
    if (magnitude < FixedLimit && step >= FixedSmallestStep) {
        const int exponent = step > 0 ? DecimalExponent(step) : 0;
        const int decimals = exponent < 0 ? -exponent : 0;
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                               decimals);
    } else {
        int digits = 1;
        if (magnitude > 0 && step > 0)
            digits = DecimalExponent(magnitude) - DecimalExponent(step) + 1;
        digits = digits < 1 ? 1 : digits > 17 ? 17 : digits;
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                               digits);
    }
    std::string text(buffer, result.ptr);
    if (text.starts_with("-") && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

}  // namespace metopt::render
