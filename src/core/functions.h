#pragma once
// The three objective functions z = f(x, y), their analytic gradients and the tables through which
// the rest of the program reaches them. Every routine that takes a point takes x before y.
// Evaluations check the floating-point flags and raise EOverflow / EZeroDivide / EInvalidOp.

namespace metopt::core {

using TObjectiveFunc = long double (*)(long double x, long double y);
using TGradientProc = void (*)(long double x, long double y, long double& gx, long double& gy);

constexpr int FunctionCount = 3;

// Items of the equation list, in table order.
extern const char* const FunctionCaptions[FunctionCount];

extern const TObjectiveFunc ObjectiveFuncs[FunctionCount];
extern const TGradientProc GradientProcs[FunctionCount];

}  // namespace metopt::core
