#pragma once
// Numbers to text: the general form of the report and status line, the fixed form of the grid
// labels, and integers. All reals are 80-bit extended (long double on x86-64).
#include <cstdint>
#include <string>

namespace metopt::runtime {

// Sets the decimal separator FormatGeneral writes; '\0' stands for the default '.'. The window
// feeds it from the locale (one character, else '.').
void SetDecimalSeparator(char separator);
// The decimal separator FormatGeneral writes; '.' until one is set.
char DecimalSeparator();

// General format, 15 significant digits, the decimal separator above ("0.333333333333333", "1E-5",
// "1.23456789012346E15", "INF", "NAN").
std::string FormatGeneral(long double x);

// Fixed format, width 4, 2 decimals, always '.' ("0.00", "-0.00", "12.35", " 1.2E+0040").
std::string FormatFixed(long double x);

// Decimal integer text (signed 32-bit values and unsigned 32-bit counts both fit).
std::string FormatInteger(std::int64_t n);

}  // namespace metopt::runtime
