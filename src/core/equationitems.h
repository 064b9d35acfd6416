#pragma once
// The items of the equation list: the three built-in functions, then the course's classic test
// functions, each shown with its name before its formula: " Розенброк: 100*(y-x*x)^2+(1-x)^2"
// (starting with a blank, as the first three do).
#include <span>
#include <string>
#include <string_view>

namespace metopt::core {

constexpr int ClassicFunctionCount = 7;
constexpr int EquationItemCount = 3 + ClassicFunctionCount;

// Rosenbrock, Himmelblau, Booth, Matyas, Beale, the three-hump camel and a ravine: their names,
// and their formulas in the formula language (each starting with a blank).
extern const char* const ClassicFunctionNames[ClassicFunctionCount];
extern const char* const ClassicFormulas[ClassicFunctionCount];

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

// Every item of the equation list, in order: FunctionCaptions, then the classic functions'.
std::span<const char* const> EquationItems();

// The formula an equation text stands for: the text with a classic function's name and colon at
// its start (after blanks) turned into as many blanks, so that an error's position still counts
// the characters as shown; any other text as it is.
std::string EquationFormula(std::string_view text);

// Item `index` is one of the three built-in functions (0..2).
inline bool IsBuiltinItem(int index) {
    return index >= 0 && index < 3;
}

}  // namespace metopt::core
