#pragma once
// Several methods run from one start with the same parameters, side by side, and the convergence
// series of a run: what the comparison's table, paths and chart are made of.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/constrained/constrainedrun.h"
#include "core/methods/method.h"
#include "core/minimizer.h"

namespace metopt::core {

// One method's run of a comparison: its own trace (in `descent`, with the comparison's
// parameters), and its outcome, or the error that ended it (the trace then holds the iterations
// that completed before it).
struct TComparedRun {
    TMethod method = TMethod::SteepestDescent;
    TDescent descent;
    std::optional<TMethodOutcome> outcome;
    std::string error;
    // A run with constraints: its outer iterations (outcome then holds their counts together).
    std::optional<TConstrainedOutcome> constrained;
};

struct TComparison {
    TStopRule rule = TStopRule::Step;
    std::vector<TComparedRun> runs;
};

// Runs every method of `methods` from (x0, y0) with the parameters and function of `parameters`
// (its trace is not touched). A method that raises keeps its error and the trace so far; the
// refusals of the parameters (those of SteepestDescent), then of an empty list of methods, are
// raised before any method runs.
// With `problem`, every method runs under its constraint method (RunConstrained), whose
// refusals come before any method runs too.
TComparison RunComparison(const TDescent& parameters, std::span<const TMethod> methods,
                          TStopRule rule, long double x0, long double y0,
                          const TConstrainedProblem* problem = nullptr);

// Why a compared run that ended stopped: its outer loop's reason for a run with constraints.
const char* ComparedStopText(const TComparedRun& run);

// The methods the comparison item runs at start.
extern const TMethod DefaultComparedMethods[5];
// A method's short name for legends.
const char* MethodShortName(TMethod method);

// The series of a run for the convergence chart, one entry per trace point k = 1..N: the value
// f(x(k)), the gradient's norm |∇f(x(k))| and the step |x(k) − x(k−1)| (x(0) the trace's start). A
// point where an evaluation raises ends the series there.
struct TConvergence {
    std::vector<long double> value;
    std::vector<long double> gradientNorm;
    std::vector<long double> step;
};
TConvergence ConvergenceOf(const TObjective& f, const TDescent& run);

}  // namespace metopt::core
