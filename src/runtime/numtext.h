#pragma once
// Number text conversion: every number the program shows or reads passes through here.
// All reals are 80-bit extended (long double on x86-64).
#include <cstdint>
#include <string>
#include <string_view>

namespace metopt::runtime {

// The decimal separator used by FormatGeneral only; '.' by default. The window feeds it from the
// locale (one character, else '.').
void SetDecimalSeparator(char separator);
char DecimalSeparator();

// General format, 15 significant digits, the decimal separator above ("0.333333333333333", "1E-5",
// "1.23456789012346E15", "INF", "NAN").
std::string FormatGeneral(long double x);

// Fixed format, width 4, 2 decimals, always '.' ("0.00", "-0.00", "12.35", " 1.2E+0040").
std::string FormatFixed(long double x);

// Decimal integer text (signed 32-bit values and unsigned 32-bit counts both fit).
std::string FormatInteger(std::int64_t n);

// Lenient text to real ("12.5x" -> 125, "3,5" -> 3); never fails, except that a value beyond the
// extended range (whatever the size of its exponent) raises EOverflow. A value too small for it
// gives 0 or a denormal silently.
long double ParseNumber(std::string_view text);

// The value of a hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// Strict text to 32-bit integer (decimal, or $ / x / 0x hexadecimal); raises EConvertError
// "'<text>' is not a valid integer value".
std::int32_t ParseInteger(std::string_view text);

// Nearest integer, ties to even. Raises EInvalidOp for NaN, infinities and values beyond int64.
std::int64_t RoundEven(long double x);
// Toward zero. Raises EInvalidOp like RoundEven.
std::int64_t TruncInt(long double x);
// Toward zero, kept extended (-2.7 -> -2).
long double IntPart(long double x);
// x - IntPart(x).
long double FracPart(long double x);
// Toward minus infinity: the low 32 bits of TruncInt(x), minus 1 when FracPart(x) < 0.
std::int32_t FloorInt(long double x);

// Spin edit value rule: ParseInteger(text), or minValue when the text is not an integer. The value
// so read is not limited to maxValue.
std::int32_t SpinEditValue(std::string_view text, std::int32_t minValue, std::int32_t maxValue);
// The text a spin edit shows after its value is set: value clamped to minValue..maxValue (unless
// the two are equal), in FormatInteger form.
std::string SpinEditText(std::int64_t value, std::int32_t minValue, std::int32_t maxValue);
std::int32_t SpinEditClamp(std::int64_t value, std::int32_t minValue, std::int32_t maxValue);

}  // namespace metopt::runtime
