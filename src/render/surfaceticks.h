#pragma once
// Round numbers along an axis of the surface's box, and their labels.
#include <string>
#include <vector>

namespace metopt::render {

// The multiples of one step of 1, 2 or 5 times a power of ten that lie in [lo, hi], about
// `wanted` of them (at least one step; none for a range that is not finite).
std::vector<double> RoundTicks(double lo, double hi, int wanted);
// A tick's text with the digits its step needs and '.' for the decimal point ("0.5", "-2",
// "1.5e+12").
std::string TickText(double value, double step);

}  // namespace metopt::render
