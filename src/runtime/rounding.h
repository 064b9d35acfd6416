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

}  // namespace metopt::runtime
