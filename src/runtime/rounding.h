#pragma once
// Reals to whole numbers, as the plotting code places pixels, colour classes and grid lines.
#include <cstdint>

namespace metopt::runtime {

// The nearest whole value, ties to even, kept extended; infinities and NaN come back unchanged.
long double NearestEven(long double x);
// Nearest integer, ties to even. Raises EInvalidOp for NaN, infinities and values beyond int64.
std::int64_t RoundEven(long double x);
// Toward zero. Raises EInvalidOp like RoundEven.
std::int64_t TruncInt(long double x);
// Toward zero, kept extended (-2.7 -> -2).
long double IntPart(long double x);
// x - IntPart(x), of the sign of x; raises EInvalidOp for infinities.
long double FracPart(long double x);
// Toward minus infinity: the low 32 bits of TruncInt(x), minus 1 when FracPart(x) < 0.
std::int32_t FloorInt(long double x);

// The floor of an x with 0 < x < 2^31: one conversion in the rounding mode of the moment, one
// down when it rounded up. The truncating conversion would set the control word and put it back
// around it, which costs more than the rest of a pixel's colour.
inline std::int32_t FloorOfPositive(long double x) {
    std::int32_t rounded = 0;
    asm("fistpl %0" : "=m"(rounded) : "t"(x) : "st");
    return static_cast<long double>(rounded) > x ? rounded - 1 : rounded;
}

}  // namespace metopt::runtime
