#include "runtime/rounding.h"

#include <cmath>
#include <cstdint>

#include "runtime/exceptions.h"

namespace metopt::runtime {

namespace {

// 2^63: the first magnitude that no 64-bit signed integer holds (-2^63 itself does).
constexpr long double TwoPow63 = 9223372036854775808.0L;

// A whole value as a 64-bit integer; EInvalidOp for NaN, infinities and values beyond the range.
std::int64_t WholeToInt64(long double whole) {
    if (!(whole >= -TwoPow63 && whole < TwoPow63))
        throw EInvalidOp();
    return static_cast<std::int64_t>(whole);
}

}  // namespace

// Independent of the rounding mode, and of a C library that may lack roundevenl. Every value of
// magnitude 2^63 or more is whole; below it x - truncl(x) is exact.
long double NearestEven(long double x) {
    if (!(std::fabs(x) < TwoPow63))
        return x;
    const long double whole = truncl(x);
    const long double rest = std::fabs(x - whole);
    const long double away = x < 0 ? whole - 1 : whole + 1;
    if (rest > 0.5L)
        return away;
    if (rest < 0.5L)
        return whole;
    return std::fmod(whole, 2.0L) == 0 ? whole : away;
}

std::int64_t RoundEven(long double x) {
    return WholeToInt64(NearestEven(x));
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

}  // namespace metopt::runtime
