#pragma once
// The items of the equation list: the three built-in functions, then the course's classic test
// functions written in the formula language (each starting with a blank, as the first three do).
#include <span>

namespace metopt::core {

constexpr int ClassicFunctionCount = 7;
constexpr int EquationItemCount = 3 + ClassicFunctionCount;

// Rosenbrock, Himmelblau, Booth, Matyas, Beale, the three-hump camel and a ravine.
extern const char* const ClassicFunctionCaptions[ClassicFunctionCount];

// Every item of the equation list, in order: FunctionCaptions, then ClassicFunctionCaptions.
std::span<const char* const> EquationItems();

// Item `index` is one of the three built-in functions (0..2).
inline bool IsBuiltinItem(int index) {
    return index >= 0 && index < 3;
}

}  // namespace metopt::core
