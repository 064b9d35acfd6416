#pragma once
// One run of the minimiser from the parameter fields, and the report text of that run.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <span>

#include "core/constrained/constraintmethod.h"
#include "core/constraint.h"
#include "core/methods/comparison.h"
#include "core/methods/method.h"
#include "core/minimizer.h"
#include "core/region.h"

namespace metopt::core {

// The texts of the parameter fields and the equation list's item index; by default the texts the
// window opens with.
struct DescentFields {
    std::string x0 = "30.0";        // meBeg_Xr
    std::string y0 = "-30.0";       // meBeg_Yr
    std::string eps = "0.0000001";  // meCnsEps
    std::string step = "0.99";      // meCnsHst
    std::string radius = "1000.0";  // meCnsUoo
    std::int32_t funcIndex = 1;     // item index of coEquat
    // When funcIndex is none of the three built-in items: the typed function and its text as it
    // stands in the list's field, trimmed, for the report's line "Функция: z = ...".
    std::shared_ptr<const TObjective> typed;
    std::string formula;
    // The method chosen in the method list (none: no item chosen) and the stop rule of the menu.
    std::optional<TMethod> method = TMethod::SteepestDescent;
    TStopRule stopRule = TStopRule::Step;
    // The one-dimensional method of the line searches (the report names any but the default).
    TLineSearch lineSearch = TLineSearch::Golden;
    // Stop after this many iterations (0: no such limit).
    std::uint32_t stepLimit = 0;
    // The constraints of the field "Ограничения" (none: nullptr or empty), how a run takes them
    // into account, and the texts of the outer loop's fields: r0, C and the outer eps.
    std::shared_ptr<const TConstraints> constraints;
    TConstraintMethod constraintMethod = TConstraintMethod::None;
    std::string penaltyStart = "1";
    std::string penaltyGrowth = "10";
    std::string outerEps = "0.000001";
    // The fields of the methods of machine learning: α, β (momentum, Nesterov), ρ (RMSProp),
    // Adam's β1, β2 and bias correction; and the gradient noise σ with its seed.
    std::string learningRate = "0.01";
    std::string momentum = "0.9";
    std::string decay = "0.99";
    std::string beta1 = "0.9";
    std::string beta2 = "0.999";
    bool biasCorrection = true;
    std::string noise = "0";
    std::string seed = "1";
    bool operator==(const DescentFields&) const = default;
};

// Whether the fields' run takes constraints into account: a constraint method and at least one
// constraint.
bool IsConstrainedRun(const DescentFields& fields);
// The outer loop's parameters parsed from the fields.
TConstraintSettings ReadConstraintSettings(const DescentFields& fields);

// The extra last line of a run stopped at the iteration limit.
extern const char* const IterationLimitLine;

// Parses the fields, sets the descent's run parameters, runs the method (SteepestDescent for the
// steepest descent with the step rule) and returns the report lines (7 + TraceCount of them, plus
// the line "Функция: z = " + formula after the first for a typed function; for a run with
// constraints the lines of RunConstrained's outcome instead (see ConstrainedReport); for
// SteepestDescent plus IterationLimitLine when the run hit the limit, for any other run plus the
// lines of the stop reason and the counts after the line of the iterations). On an error it raises
// before returning, with the parameters read so far already set; the caller then leaves its report
// untouched. Deliberate: see docs/behaviour.md, "Report kept".
std::vector<std::string> RunDescentAndReport(TDescent& descent, const DescentFields& fields,
                                             const TRegion& visible);

// Parses the start and sets the descent's run parameters from the fields, as a run does (the
// noise's seed only for a positive σ).
TTracePoint ReadRunParameters(TDescent& descent, const DescentFields& fields);
// Parses the fields of the methods of machine learning into the descent's Learning.
void ReadLearningParameters(TDescent& descent, const DescentFields& fields);

// The header line of the table of a constrained run's outer iterations.
extern const char* const OuterIterationsHeader;

// The comparison table's header line.
extern const char* const ComparisonHeader;

// Parses the fields as RunDescentAndReport does, runs every method of `methods` into
// `comparison` (the descent's own trace is not touched) and returns the report: the head of a
// run's report, the line of the stop rule, ComparisonHeader, a row per method (name | iterations
// | stop reason or the error | evaluations of f, of the gradient, of the Hessian | x* | y* | z*),
// then each method's trace under its name. On an error it raises before changing `comparison`.
std::vector<std::string> RunComparisonAndReport(TDescent& descent, TComparison& comparison,
                                                const DescentFields& fields,
                                                std::span<const TMethod> methods,
                                                const TRegion& visible);

}  // namespace metopt::core
