#include "runtime/numformat.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/decimaldigits.h"
#include "runtime/rounding.h"

namespace metopt::runtime {

namespace {

std::atomic<char> decimalSeparator{'.'};

// Adds one to the last digit of a digit string, with carry; returns true when the carry made a
// new leading '1'.
bool IncrementDigits(std::string& digits) {
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
        digits[static_cast<std::size_t>(i)] = '0';
        --i;
    }
    if (i >= 0) {
        ++digits[static_cast<std::size_t>(i)];
        return false;
    }
    digits.insert(digits.begin(), '1');
    return true;
}

// ---- general format ------------------------------------------------------------------------

constexpr int GeneralDigits = 15;
constexpr int GeneralExponentHigh = 15;
constexpr int GeneralExponentLow = -3;

// Significant digits d1d2... and E such that the magnitude is 0.d1d2... x 10^E.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

// A finite non-zero magnitude to 18 significant digits (printf is exact, ties to even).
DecimalDigits PrintedDigits(long double magnitude) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude);
    DecimalDigits result;
    const char* p = buffer;
    // The text is d.ddd...e+XX; the point may be any locale's, so only digits are taken.
    for (; *p != '\0' && *p != 'e' && *p != 'E'; ++p) {
        if (IsDigit(*p))
            result.digits.push_back(*p);
    }
    const int printedExponent = (*p != '\0') ? std::atoi(p + 1) : 0;
    result.exponent = printedExponent + 1;
    return result;
}

// The digits of a finite non-zero magnitude: first to 18 digits, then to 15 by the 16th digit
// alone, trailing zeros dropped.
DecimalDigits SignificantDigits(long double magnitude) {
    DecimalDigits result = PrintedDigits(magnitude);
    std::string& d = result.digits;
    const bool roundUp = d.size() > GeneralDigits && d[GeneralDigits] >= '5';
    d.resize(std::min<std::size_t>(d.size(), GeneralDigits));
    if (roundUp && IncrementDigits(d)) {
        d.resize(GeneralDigits);  // "1" and zeros: a carry out of the first digit
        ++result.exponent;
    }
    while (d.size() > 1 && d.back() == '0')
        d.pop_back();
    return result;
}

std::string ScientificGeneral(const DecimalDigits& dd, char separator) {
    std::string text(1, dd.digits[0]);
    if (dd.digits.size() > 1) {
        text += separator;
        text.append(dd.digits, 1);
    }
    const int shown = dd.exponent - 1;
    text += 'E';
    if (shown < 0)
        text += '-';
    text += std::to_string(shown < 0 ? -shown : shown);
    return text;
}

std::string PositionalGeneral(const DecimalDigits& dd, char separator) {
    const std::string& d = dd.digits;
    if (dd.exponent >= 1) {
        const std::size_t integerDigits = static_cast<std::size_t>(dd.exponent);
        std::string text = d.substr(0, integerDigits);
        if (text.size() < integerDigits)
            text.append(integerDigits - text.size(), '0');
        if (d.size() > integerDigits) {
            text += separator;
            text.append(d, integerDigits);
        }
        return text;
    }
    std::string text = "0";
    text += separator;
    text.append(static_cast<std::size_t>(-dd.exponent), '0');
    return text + d;
}

// ---- fixed format --------------------------------------------------------------------------

constexpr std::size_t FixedWidth = 4;
constexpr int FixedDecimals = 2;
constexpr int FixedImageExponent = 17;  // the image is m x 10^17
constexpr int FixedScientificAbove = 35;

std::string RightJustified(std::string text, std::size_t width) {
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

// m scaled into [1, 16) by powers of ten (when it is 10 or more), and the power taken out.
struct ScaledMagnitude {
    long double m;
    int e;
};

ScaledMagnitude ScaleBelowSixteen(long double m) {
    int e = 0;
    if (m >= 10.0L) {
        for (;;) {
            const int b = ilogbl(m);
            const int k = b * 19728 / 65536;  // b is positive here, so this is floor(b log10 2)
            if (k == 0)
                break;
            m /= PowerOfTen(k);
            e += k;
        }
    }
    return {m, e};
}

// The decimal image I = m x 10^17: the product rounded to extended first, then to an integer
// with ties to even.
std::string DecimalImage(long double m) {
    const long double product = m * 1e17L;
    const long double rounded = NearestEven(product);
    const auto image = static_cast<unsigned long long>(rounded);
    return image == 0 ? std::string() : std::to_string(image);
}

// The digits of a decimal image whose first digit stands for 10^top and last for 10^bottom,
// placed from 10^max(top, 0) down to 10^-2 after one spare place for a carry, and rounded by the
// digit worth 10^-3.
std::string FixedPlaces(const std::string& image, int top, int bottom) {
    const int highest = std::max(top, 0) + 1;  // the weight of the spare place
    std::string places(static_cast<std::size_t>(highest + FixedDecimals + 1), '0');
    for (int i = 0; i < static_cast<int>(image.size()); ++i) {
        const int weight = top - i;
        if (weight >= -FixedDecimals)
            places[static_cast<std::size_t>(highest - weight)] = image[static_cast<std::size_t>(i)];
    }
    const int roundingWeight = -FixedDecimals - 1;
    if (roundingWeight >= bottom && roundingWeight <= top &&
        image[static_cast<std::size_t>(top - roundingWeight)] >= '5') {
        IncrementDigits(places);
    }
    return places;
}

// The sign, the integer digits from the first non-zero one (at least the units), '.' and the
// decimals of the places FixedPlaces gives.
std::string PositionalFixed(const std::string& places, bool negative) {
    const std::size_t pointPlace = places.size() - FixedDecimals;
    const std::size_t firstNonZero = places.find_first_not_of('0');
    const std::size_t integerStart =
        firstNonZero == std::string::npos ? pointPlace - 1 : std::min(firstNonZero, pointPlace - 1);
    std::string text = negative ? "-" : "";
    text.append(places, integerStart, pointPlace - integerStart);
    text += '.';
    text.append(places, pointPlace, FixedDecimals);
    return text;
}

// Blank or '-', one digit, '.', one digit, 'E', the exponent's sign and 4 exponent digits.
std::string ScientificFixed(const std::string& image, int leadingExponent, bool negative) {
    std::string digits = image.substr(0, 2);
    if (digits.size() < 2)
        digits.append(2 - digits.size(), '0');
    if (image.size() > 2 && image[2] >= '5' && IncrementDigits(digits)) {
        digits.pop_back();
        ++leadingExponent;
    }
    std::string exponent = std::to_string(std::abs(leadingExponent));
    if (exponent.size() < 4)
        exponent.insert(0, 4 - exponent.size(), '0');
    std::string text(1, negative ? '-' : ' ');
    text += digits[0];
    text += '.';
    text += digits[1];
    text += 'E';
    text += leadingExponent < 0 ? '-' : '+';
    return text + exponent;
}

}  // namespace

void SetDecimalSeparator(char separator) {
    decimalSeparator = separator == '\0' ? '.' : separator;
}

char DecimalSeparator() {
    return decimalSeparator;
}

// Deliberate: see docs/behaviour.md, "General number form".
std::string FormatGeneral(long double x) {
    switch (std::fpclassify(x)) {
        case FP_ZERO:
        case FP_SUBNORMAL:
            return "0";
        case FP_NAN:
            return "NAN";
        case FP_INFINITE:
            return std::signbit(x) ? "-INF" : "INF";
        default:
            break;
    }
    const DecimalDigits dd = SignificantDigits(std::fabs(x));
    const char separator = DecimalSeparator();
    const bool scientific = dd.exponent > GeneralExponentHigh || dd.exponent < GeneralExponentLow;
    const std::string body =
        scientific ? ScientificGeneral(dd, separator) : PositionalGeneral(dd, separator);
    return std::signbit(x) ? "-" + body : body;
}

// Deliberate: see docs/behaviour.md, "Fixed labels".
std::string FormatFixed(long double x) {
    if (std::isnan(x))
        return RightJustified("Nan", FixedWidth);
    if (std::isinf(x))
        return RightJustified(x < 0 ? "-Inf" : "+Inf", FixedWidth);

    const bool negative = std::signbit(x);
    const ScaledMagnitude scaled = ScaleBelowSixteen(std::fabs(x));
    const std::string image = DecimalImage(scaled.m);
    // The image's first digit stands for 10^top in the value, its last for 10^bottom.
    const int bottom = scaled.e - FixedImageExponent;
    const int top = bottom + static_cast<int>(image.size()) - 1;
    if (!image.empty() && top > FixedScientificAbove)
        return ScientificFixed(image, top, negative);
    return RightJustified(PositionalFixed(FixedPlaces(image, top, bottom), negative), FixedWidth);
}

std::string FormatInteger(std::int64_t n) {
    return std::to_string(n);
}

}  // namespace metopt::runtime
