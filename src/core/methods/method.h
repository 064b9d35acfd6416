#pragma once
// The minimisation methods of the method list, their stop rules, why a run stopped and what it
// evaluated.
#include <cstdint>
#include <string>

#include "core/methods/methodid.h"
#include "core/minimizer.h"

namespace metopt::core {

// The refusal of a run when no item of the method list is chosen.
extern const char* const NoMethodMessage;

// Items of the method list, in order; item 0 is the steepest descent.
extern const char* const MethodCaptions[MethodCount];
// What each method reads of the parameters and how it stops: the items' tool tips.
extern const char* const MethodHints[MethodCount];
// A method's item caption, and its name in the report's line "<name> прошел за N итерац.".
const char* MethodCaption(TMethod method);
const char* MethodReportName(TMethod method);

// The stop rules of the menu "Работа" → "Остановка", in menu order.
enum class TStopRule { Step, Gradient, Value };
constexpr int StopRuleCount = 3;
extern const char* const StopRuleCaptions[StopRuleCount];

enum class TStopReason {
    Step,
    Gradient,
    Value,
    OutsideDomain,
    IterationLimit,
    SingularHessian,
    NoDecrease,
    SearchStep,
    Simplex,
    StepLimit,
};
// The report's text of a reason: "шаг меньше eps", ...
const char* StopReasonText(TStopReason reason);

// The evaluations of f, of its gradient and of its Hessian that a run made.
struct TMethodCounts {
    std::uint64_t values = 0;
    std::uint64_t gradients = 0;
    std::uint64_t hessians = 0;
};

struct TMethodOutcome {
    TStopReason reason = TStopReason::Step;
    TMethodCounts counts;
};

// True for the run that is today's steepest descent with its step rule and no gradient noise,
// which keeps its own code (SteepestDescent) and report.
bool IsClassicRun(TMethod method, TStopRule rule, const TGradientNoise& noise);

// The methods of machine learning: the last five of the list, which read TDescent::Learning and
// keep TDescent::StepVectors.
bool IsLearningMethod(TMethod method);
// Raises the refusal of a run of `method` whose noise or learning parameters (those the method
// reads) are out of range: σ < 0, α <= 0, a decay outside [0, 1).
void CheckLearningParameters(const TDescent& descent, TMethod method);

// Runs method `method` from (x0, y0) with the descent's parameters: checks
// them as SteepestDescent does, then with CheckLearningParameters (a refused run touches
// nothing), then writes Trace[1..TraceCount]
// (at least one point; the last one is the point found) and, for Nelder–Mead, Simplices. A run
// that fails leaves TraceCount at the iteration under way.
TMethodOutcome RunMethod(TDescent& descent, TMethod method, TStopRule rule, long double x0,
                         long double y0);

}  // namespace metopt::core
