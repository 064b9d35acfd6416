#pragma once
// The items of the equation list: the three built-in functions, then the course's classic test
// functions written in the formula language (each starting with a blank, as the first three do).
#include <span>

namespace metopt::core {

constexpr int ClassicFunctionCount = 7;
constexpr int EquationItemCount = 3 + ClassicFunctionCount;

// Rosenbrock, Himmelblau, Booth, Matyas, Beale, the three-hump camel and a ravine.
extern const char* const ClassicFunctionCaptions[ClassicFunctionCount];

// The usual view of a classic function, as the fields take it: the region, the step of the axis
// numbers and the start point.
struct ClassicView {
    const char* xb;
    const char* xe;
    const char* yb;
    const char* ye;
    const char* xs;
    const char* ys;
    const char* x0;
    const char* y0;
};
extern const ClassicView ClassicViews[ClassicFunctionCount];

// Every item of the equation list, in order: FunctionCaptions, then ClassicFunctionCaptions.
std::span<const char* const> EquationItems();

// Item `index` is one of the three built-in functions (0..2).
inline bool IsBuiltinItem(int index) {
    return index >= 0 && index < 3;
}

}  // namespace metopt::core
