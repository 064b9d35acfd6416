#include "runtime/numtext.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::runtime {

namespace {

std::atomic<char> decimalSeparator{'.'};

// 2^63: the first magnitude that no 64-bit signed integer holds (-2^63 itself does).
constexpr long double TwoPow63 = 9223372036854775808.0L;

// Powers of ten up to 10^27 are exact in the 64-bit significand (5^27 < 2^64).
constexpr int ExactPowersOfTen = 27;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// 10^n (0 <= n <= 4932) correctly rounded to extended precision.
long double PowerOfTen(int n) {
    if (n <= ExactPowersOfTen) {
        long double p = 1.0L;
        for (int i = 0; i < n; ++i)
            p *= 10.0L;
        return p;
    }
    const std::string text = "1e" + std::to_string(n);
    return std::strtold(text.c_str(), nullptr);
}

// ---- general format ------------------------------------------------------------------------

constexpr int GeneralDigits = 15;
constexpr int GeneralExponentHigh = 15;
constexpr int GeneralExponentLow = -3;

// The significant digits of a finite non-zero magnitude, with E such that the magnitude is
// 0.d1d2... x 10^E: first to 18 digits (printf is exact, ties to even), then to 15 by the 16th
// digit alone, trailing zeros dropped.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

// Adds one to the last digit of a digit string, with carry; returns true when the carry made a
// new leading '1'.
bool IncrementDigits(std::string& digits) {
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[i] == '9') {
        digits[i] = '0';
        --i;
    }
    if (i >= 0) {
        ++digits[i];
        return false;
    }
    digits.insert(digits.begin(), '1');
    return true;
}

DecimalDigits SignificantDigits(long double magnitude) {
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
    const long double rounded = roundevenl(product);
    const auto image = static_cast<unsigned long long>(rounded);
    return image == 0 ? std::string() : std::to_string(image);
}

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

    // digits[i] stands for 10^(highest - i), down to 10^-2; one spare place for a carry.
    const int highest = std::max(top, 0) + 1;
    std::string digits(static_cast<std::size_t>(highest + FixedDecimals + 1), '0');
    auto placeOf = [&](int weight) { return highest - weight; };
    for (int i = 0; i < static_cast<int>(image.size()); ++i) {
        const int weight = top - i;
        if (weight >= -FixedDecimals)
            digits[placeOf(weight)] = image[i];
    }
    const int roundingWeight = -FixedDecimals - 1;
    if (roundingWeight >= bottom && roundingWeight <= top && image[top - roundingWeight] >= '5') {
        IncrementDigits(digits);
    }

    const std::size_t pointPlace = static_cast<std::size_t>(placeOf(0)) + 1;
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    const std::size_t integerStart =
        firstNonZero == std::string::npos ? pointPlace - 1 : std::min(firstNonZero, pointPlace - 1);
    std::string text = negative ? "-" : "";
    text.append(digits, integerStart, pointPlace - integerStart);
    text += '.';
    text.append(digits, pointPlace, FixedDecimals);
    return RightJustified(text, FixedWidth);
}

std::string FormatInteger(std::int64_t n) {
    return std::to_string(n);
}

namespace {

// A decimal mantissa far above 64-bit precision takes no further digits: they would only be
// rounded away, and the accumulator would overflow on a long run of digits. Each digit left out
// is one more power of ten.
constexpr long double MantissaSaturation = 1e4900L;
// Exponents are read saturating here: anything this large is far beyond the extended range, and
// exponent * 10 + 9 still fits 64 bits.
constexpr std::int64_t ExponentSaturation = 100'000'000'000'000'000LL;
// Powers up to 10^4932 are finite and applied in one step; larger ones in steps, so that no
// intermediate overflows or underflows needlessly (the mantissa is at least 1).
constexpr int ScalingStep = 4932;

// mantissa x 10^power, a negative power applied by division. mantissa is 0 or at least 1.
long double ScaleByPowerOfTen(long double mantissa, std::int64_t power) {
    if (mantissa == 0.0L)
        return mantissa;
    while (power > 0 && !std::isinf(mantissa)) {
        const int step = static_cast<int>(std::min<std::int64_t>(power, ScalingStep));
        mantissa *= PowerOfTen(step);
        power -= step;
    }
    while (power < 0 && mantissa != 0.0L) {
        const int step = static_cast<int>(std::min<std::int64_t>(-power, ScalingStep));
        mantissa /= PowerOfTen(step);
        power += step;
    }
    return mantissa;
}

// The digits of a number text accumulated as one extended integer (value * 10 + digit).
class DigitAccumulator {
  public:
    void Add(char digit, bool inFraction) {
        if (inFraction)
            ++fractionDigits_;
        if (mantissa_ >= MantissaSaturation) {
            ++skippedDigits_;
            return;
        }
        mantissa_ = mantissa_ * 10.0L + static_cast<long double>(digit - '0');
    }
    // The accumulated integer times 10^power; EOverflow when that is beyond the extended range.
    long double Value(std::int64_t power = 0) const {
        const long double value = ScaleByPowerOfTen(mantissa_, power + skippedDigits_);
        if (std::isinf(value)) {
            ClearFpuFlags();
            throw EOverflow();
        }
        return value;
    }
    std::int64_t FractionDigits() const { return fractionDigits_; }

  private:
    long double mantissa_ = 0.0L;
    std::int64_t skippedDigits_ = 0;
    std::int64_t fractionDigits_ = 0;
};

}  // namespace

long double ParseNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;

    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
        if (i == n)
            return 0.0L;  // the text ends right after the sign
    }

    DigitAccumulator digits;
    for (; i < n && IsDigit(text[i]); ++i)
        digits.Add(text[i], false);
    if (i < n && text[i] == '.') {
        for (++i; i < n && IsDigit(text[i]); ++i)
            digits.Add(text[i], true);
    }

    std::int64_t exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            exponentNegative = text[i] == '-';
            ++i;
        }
        if (i == n || !IsDigit(text[i]))
            return digits.Value();  // a missing exponent digit
        for (; i < n && IsDigit(text[i]); ++i) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), ExponentSaturation);
        }
        if (exponentNegative)
            exponent = -exponent;
    }
    // Stopped at another character: the digits so far, no scaling, no sign.
    if (i < n)
        return digits.Value();

    const long double magnitude = digits.Value(exponent - digits.FractionDigits());
    return negative ? -magnitude : magnitude;
}

std::int32_t ParseInteger(std::string_view text) {
    auto fail = [&]() -> std::int32_t { throw EConvertError::NotAnInteger(std::string(text)); };
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    if (i == n)
        return fail();

    const char c = text[i];
    const bool hexPrefix2 = c == '0' && i + 1 < n && (text[i + 1] == 'x' || text[i + 1] == 'X');
    if (c == '$' || c == 'x' || c == 'X' || hexPrefix2) {
        i += hexPrefix2 ? 2 : 1;
        if (i == n)
            return fail();
        std::uint32_t value = 0;
        for (; i < n; ++i) {
            const int digit = HexDigitValue(text[i]);
            if (digit < 0 || value > 0x0FFFFFFFu)
                return fail();
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        return static_cast<std::int32_t>(value);
    }

    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        ++i;
    }
    if (i == n)
        return fail();
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        if (!IsDigit(text[i]))
            return fail();
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            return fail();
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

namespace {

// A whole value as a 64-bit integer; EInvalidOp for NaN, infinities and values beyond the range.
std::int64_t WholeToInt64(long double whole) {
    if (!(whole >= -TwoPow63 && whole < TwoPow63))
        throw EInvalidOp();
    return static_cast<std::int64_t>(whole);
}

}  // namespace

std::int64_t RoundEven(long double x) {
    return WholeToInt64(roundevenl(x));
}

std::int64_t TruncInt(long double x) {
    return WholeToInt64(truncl(x));
}

long double IntPart(long double x) {
    return truncl(x);
}

long double FracPart(long double x) {
    // inf - inf is an invalid operation.
    if (std::isinf(x))
        throw EInvalidOp();
    return x - IntPart(x);
}

std::int32_t FloorInt(long double x) {
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(TruncInt(x)));
    const std::uint32_t floor = FracPart(x) < 0.0L ? low - 1u : low;
    return static_cast<std::int32_t>(floor);
}

std::int32_t SpinEditValue(std::string_view text, std::int32_t minValue,
                           [[maybe_unused]] std::int32_t maxValue) {
    try {
        return ParseInteger(text);
    } catch (const EConvertError&) {
        return minValue;
    }
}

std::int32_t SpinEditClamp(std::int64_t value, std::int32_t minValue, std::int32_t maxValue) {
    if (minValue != maxValue) {
        if (value < minValue)
            return minValue;
        if (value > maxValue)
            return maxValue;
        return static_cast<std::int32_t>(value);
    }
    // No limits: only what a 32-bit value can hold.
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

std::string SpinEditText(std::int64_t value, std::int32_t minValue, std::int32_t maxValue) {
    return FormatInteger(SpinEditClamp(value, minValue, maxValue));
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace metopt::runtime
