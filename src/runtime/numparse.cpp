#include "runtime/numparse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/decimaldigits.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::runtime {

namespace {

// ---- reading text --------------------------------------------------------------------------

// The position of the first character at or after i that is not a blank (the space only).
std::size_t SkipBlanks(std::string_view text, std::size_t i) {
    while (i < text.size() && text[i] == ' ')
        ++i;
    return i;
}

// Steps over a '+' or '-' at text[i], if there is one; true when it was '-'.
bool ReadSign(std::string_view text, std::size_t& i) {
    if (i >= text.size() || (text[i] != '+' && text[i] != '-'))
        return false;
    return text[i++] == '-';
}

// ---- lenient real numbers ------------------------------------------------------------------

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

// Adds the run of digits starting at text[i] to digits; returns the position after the run.
std::size_t ReadDigitRun(std::string_view text, std::size_t i, DigitAccumulator& digits,
                         bool inFraction) {
    for (; i < text.size() && IsDigit(text[i]); ++i)
        digits.Add(text[i], inFraction);
    return i;
}

// The exponent after the 'E' or 'e' at text[i]: an optional sign and at least one digit, read
// saturating; i ends after its last digit. Nothing when no digit follows.
std::optional<std::int64_t> ReadExponent(std::string_view text, std::size_t& i) {
    ++i;
    const bool negative = ReadSign(text, i);
    if (i == text.size() || !IsDigit(text[i]))
        return std::nullopt;
    std::int64_t exponent = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        exponent = std::min(exponent * 10 + (text[i] - '0'), ExponentSaturation);
    return negative ? -exponent : exponent;
}

// ---- strict integers -----------------------------------------------------------------------

// The length of the hexadecimal prefix ('$', 'x', 'X', "0x" or "0X") at text[i], or 0.
std::size_t HexPrefixLength(std::string_view text, std::size_t i) {
    const char c = text[i];
    if (c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        return 2;
    return (c == '$' || c == 'x' || c == 'X') ? 1 : 0;
}

// The value of a decimal digit, or -1 for any other character.
int DecimalDigitValue(char c) {
    return IsDigit(c) ? c - '0' : -1;
}

// A run of at least one digit in the base whose digits digitValue reads, of a value up to limit;
// nothing when the run is empty, holds another character or exceeds limit.
std::optional<std::uint32_t> ReadWholeDigits(std::string_view digits, int (*digitValue)(char),
                                             std::uint32_t base, std::uint32_t limit) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = digitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * base + static_cast<std::uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// Hexadecimal digits up to FFFFFFFF; from 80000000 up the value comes out negative.
std::optional<std::int32_t> ReadHexInteger(std::string_view digits) {
    const std::optional<std::uint32_t> value =
        ReadWholeDigits(digits, HexDigitValue, 16, 0xFFFFFFFFu);
    if (!value)
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

// Decimal digits of a value in the 32-bit range, negated when negative.
std::optional<std::int32_t> ReadDecimalInteger(std::string_view digits, bool negative) {
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    const std::optional<std::uint32_t> magnitude =
        ReadWholeDigits(digits, DecimalDigitValue, 10, limit);
    if (!magnitude)
        return std::nullopt;
    const std::int64_t value = negative ? -std::int64_t{*magnitude} : std::int64_t{*magnitude};
    return static_cast<std::int32_t>(value);
}

// The value of an integer text, or nothing when the text is not an integer.
std::optional<std::int32_t> ReadInteger(std::string_view text) {
    std::size_t i = SkipBlanks(text, 0);
    if (i == text.size())
        return std::nullopt;
    if (const std::size_t prefix = HexPrefixLength(text, i); prefix > 0)
        return ReadHexInteger(text.substr(i + prefix));
    const bool negative = ReadSign(text, i);
    return ReadDecimalInteger(text.substr(i), negative);
}

}  // namespace

// Deliberate: see docs/behaviour.md, "Lenient numbers".
long double ParseNumber(std::string_view text) {
    std::size_t i = SkipBlanks(text, 0);
    const std::size_t signPlace = i;
    const bool negative = ReadSign(text, i);
    if (i > signPlace && i == text.size())
        return 0.0L;  // the text ends right after the sign

    DigitAccumulator digits;
    i = ReadDigitRun(text, i, digits, false);
    if (i < text.size() && text[i] == '.')
        i = ReadDigitRun(text, i + 1, digits, true);

    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::optional<std::int64_t> read = ReadExponent(text, i);
        if (!read)
            return digits.Value();  // a missing exponent digit
        exponent = *read;
    }
    // Stopped at another character: the digits so far, no scaling, no sign.
    if (i < text.size())
        return digits.Value();

    const long double magnitude = digits.Value(exponent - digits.FractionDigits());
    return negative ? -magnitude : magnitude;
}

int HexDigitValue(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Deliberate: see docs/behaviour.md, "Strict counts".
std::int32_t ParseInteger(std::string_view text) {
    const std::optional<std::int32_t> value = ReadInteger(text);
    if (!value)
        throw EConvertError::NotAnInteger(std::string(text));
    return *value;
}

}  // namespace metopt::runtime
