#pragma once
// A run with constraints: outer iterations, each minimising the auxiliary function of its
// coefficient r (and multipliers) with one of the twelve methods, from the point the one before
// it found. The outer loop stops when the largest violation and the step between outer points
// are both at most the outer eps, or after OuterIterationLimit iterations.
#include <cstdint>
#include <vector>

#include "core/constrained/constraintmethod.h"
#include "core/constraint.h"
#include "core/methods/method.h"
#include "core/minimizer.h"

namespace metopt::core {

struct TOuterIteration {
    long double r = 0;
    TTracePoint point;          // what its minimisation found
    long double value = 0;      // f there
    long double violation = 0;  // the largest violation there
    std::uint32_t innerIterations = 0;
    TMethodOutcome inner;  // the counts are those of the auxiliary function
};

// StepLimit: the descent's StepLimit, when set, limits the outer iterations.
enum class TOuterStop { Converged, OuterLimit, StepLimit };
// The report's text of an outer stop.
const char* OuterStopText(TOuterStop stop);

struct TConstrainedOutcome {
    std::vector<TOuterIteration> outer;
    TOuterStop stop = TOuterStop::Converged;
    TMethodCounts counts;  // of every outer iteration together
    std::uint32_t innerIterations = 0;
};

// The refusal of a barrier from a start outside its inequalities; "%" stands for the number of
// the first inequality that fails.
extern const char* const BarrierStartMessage;

// A problem's constraints and how a run takes them into account.
struct TConstrainedProblem {
    const TConstraints& constraints;
    TConstraintSettings settings;
};

// Refuses settings that cannot end and, for a barrier, a start (x0, y0) outside its
// inequalities.
void CheckConstrainedStart(const TConstraints& constraints, const TConstraintSettings& settings,
                           long double x0, long double y0);

// Runs `method` under the constraint method of `settings` from (x0, y0): checks the descent's
// parameters as RunMethod does, then the settings and, for a barrier, that the start lies
// strictly inside every inequality (a refused run touches nothing); then writes the outer points
// to Trace[1..K], the inner paths to InnerTraces. Raises what an inner run raises.
TConstrainedOutcome RunConstrained(TDescent& descent, TMethod method, TStopRule rule,
                                   const TConstraints& constraints,
                                   const TConstraintSettings& settings, long double x0,
                                   long double y0);

}  // namespace metopt::core
