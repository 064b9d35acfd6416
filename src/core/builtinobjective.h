#pragma once
// The three built-in functions of the equation list as objectives: their tables' function,
// gradient and Hessian.
#include "core/objective.h"

namespace metopt::core {

// Entry `index` (0..2; the caller checks it) of ObjectiveFuncs, GradientProcs and HessianProcs.
const TObjective& BuiltinObjective(int index);

}  // namespace metopt::core
