#pragma once
// The three objective functions z = f(x, y), their analytic gradients and Hessians, and the tables
// through which the rest of the program reaches them. Every routine that takes a point takes x
// before y.
// Evaluations check the floating-point flags and raise EOverflow / EZeroDivide / EInvalidOp.

#include <memory>
#include <utility>

#include "core/objective.h"

namespace metopt::core {

using TObjectiveFunc = long double (*)(long double x, long double y);
using TGradientProc = void (*)(long double x, long double y, long double& gx, long double& gy);
// Writes the second derivatives fxx, fxy (= fyx) and fyy.
using THessianProc = void (*)(long double x, long double y, long double& hxx, long double& hxy,
                              long double& hyy);

constexpr int FunctionCount = 3;

// Items of the equation list, in table order.
extern const char* const FunctionCaptions[FunctionCount];

extern const TObjectiveFunc ObjectiveFuncs[FunctionCount];
// The same values, bit for bit and with the same flags raised, without the flags cleared before
// and checked after: for a caller that clears them once and reads them after many evaluations.
extern const TObjectiveFunc UncheckedObjectiveFuncs[FunctionCount];
extern const TGradientProc GradientProcs[FunctionCount];
extern const THessianProc HessianProcs[FunctionCount];

// A function as the picture samples it: a table entry (Eval), or a typed function (Typed) when
// Eval is null. A pure one depends on x and y alone and touches no shared state, so its values
// may be kept for later passes and computed on several threads at once; any other is evaluated
// on the calling thread, in scan order, every time it is asked.
struct TPlottedFunc {
    TObjectiveFunc Eval = nullptr;
    bool Pure = false;
    std::shared_ptr<const TObjective> Typed;

    long double operator()(long double x, long double y) const {
        return Eval ? Eval(x, y) : Typed->Value(x, y);
    }
    // Whether its map leaves out the points where it cannot be evaluated (a typed function,
    // whose domain may be any part of the plane); a table entry's map stops at the first such
    // point with its error.
    bool MayBeUndefined() const { return Eval == nullptr; }
    bool operator==(const TPlottedFunc&) const = default;
};

// A plotted function's values without the flags' clear and check at each evaluation (a table
// entry's from UncheckedObjectiveFuncs, a typed function's UncheckedValues), or none.
struct TUncheckedValue {
    TObjectiveFunc table = nullptr;
    const TObjective* typed = nullptr;

    explicit operator bool() const { return table != nullptr || typed != nullptr; }
};
// Of the table's entries and of the typed functions that have one; none for any other.
TUncheckedValue UncheckedValueOf(const TPlottedFunc& func);

// Item `index` (0..2) of the equation list as the picture samples it: pure.
inline TPlottedFunc PlottedFunc(int index) {
    return {ObjectiveFuncs[index], true, nullptr};
}

// A typed function as the picture samples it: pure, as every TObjective is.
inline TPlottedFunc PlottedFunc(std::shared_ptr<const TObjective> typed) {
    return {nullptr, true, std::move(typed)};
}

}  // namespace metopt::core
