#pragma once
// Text to numbers: the lenient reading of every real parameter field and the strict reading of
// integers.
#include <cstdint>
#include <string_view>

namespace metopt::runtime {

// Lenient text to real ("12.5x" -> 125, "3,5" -> 3); never fails, except that a value beyond the
// extended range (whatever the size of its exponent) raises EOverflow. A value too small for it
// gives 0 or a denormal silently.
long double ParseNumber(std::string_view text);

// The value of a hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// Strict text to 32-bit integer (decimal, or $ / x / 0x hexadecimal); raises EConvertError
// "'<text>' is not a valid integer value".
std::int32_t ParseInteger(std::string_view text);

}  // namespace metopt::runtime
