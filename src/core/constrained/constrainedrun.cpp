#include "core/constrained/constrainedrun.h"

#include <algorithm>
#include <memory>
#include <string>

#include "core/constrained/auxiliaryfunction.h"
#include "core/methods/methodrun.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::core {

const char* const ConstraintMethodCaptions[ConstraintMethodCount] = {
    "Без ограничений",
    "Внешний квадратичный штраф",
    "Внутренний логарифмический барьер",
    "Внутренний обратный барьер",
    "Модифицированная функция Лагранжа",
};

const char* const ConstraintMethodNames[ConstraintMethodCount] = {
    "none", "penalty", "log-barrier", "inverse-barrier", "lagrange",
};

const char* const BarrierStartMessage =
    "Барьерный метод начинает внутри допустимой области: в начальной точке не выполнено строго "
    "ограничение %";

const char* OuterStopText(TOuterStop stop) {
    switch (stop) {
        case TOuterStop::Converged:
            return "нарушение ограничений и шаг внешнего цикла меньше eps";
        case TOuterStop::OuterLimit:
            return "достигнут предел в 50 внешних итераций";
        default:
            return "выполнено заданное число шагов";
    }
}

namespace {

void CheckSettings(const TConstraintSettings& settings) {
    if (!(settings.r0 > 0))
        throw runtime::Exception("Коэффициент r0 должен быть больше 0");
    if (!(settings.growth >= 1))
        throw runtime::Exception("Рост коэффициента C должен быть не меньше 1");
    if (!(settings.outerEps > 0))
        throw runtime::Exception("eps внешнего цикла должен быть больше 0");
}

void CheckBarrierStart(const TConstraints& constraints, long double x0, long double y0) {
    const std::size_t failing = FirstNotStrictlyInside(constraints, x0, y0);
    if (failing == 0)
        return;
    std::string message = BarrierStartMessage;
    message.replace(message.find('%'), 1, std::to_string(failing));
    throw runtime::Exception(message);
}

// An inner run's parameters: the outer one's, with no watch.
void CopyParameters(const TDescent& outer, TDescent& inner) {
    inner.EpsValue = outer.EpsValue;
    inner.StepValue = outer.StepValue;
    inner.DomainRadius = outer.DomainRadius;
    inner.LineSearchMethod = outer.LineSearchMethod;
    inner.Learning = outer.Learning;
    inner.Noise = outer.Noise;
    inner.FuncIndex = -1;
}

// The start and the first `count` points of an inner run; with `inside`, up to the last one
// strictly inside its inequalities.
std::vector<TTracePoint> PathOf(const TDescent& inner, std::uint32_t count, TTracePoint start,
                                const TConstraints* inside) {
    std::vector<TTracePoint> path{start};
    for (std::uint32_t k = 1; k <= count; ++k) {
        const TTracePoint p = inner.Trace[k];
        if (inside && FirstNotStrictlyInside(*inside, p.X, p.Y) != 0)
            break;
        path.push_back(p);
    }
    return path;
}

// A descent with no watch, for the counts kept outside an inner run (read only, so shared).
const TDescent& Unwatched() {
    static const TDescent unwatched;
    return unwatched;
}

// One outer iteration's minimisation from `start`: its path (the start first), its iterations
// and counts in `iteration`. The counts are taken outside the inner run, so that they survive a
// barrier's inner run that a line search carried over the boundary (a derivative asked there
// raises). A barrier's path ends at its last point inside, where that minimisation stopped.
std::vector<TTracePoint> MinimiseAuxiliary(const TDescent& descent, const TObjective& auxiliary,
                                           const TConstraints& constraints, bool barrier,
                                           TMethod method, TStopRule rule, TTracePoint start,
                                           TOuterIteration& iteration) {
    const methods::TCountingObjective counted(auxiliary, Unwatched());
    TDescent inner;
    CopyParameters(descent, inner);
    inner.Watch = descent.Watch;
    inner.Typed = std::shared_ptr<const TObjective>(&counted, [](const TObjective*) {});
    // A raise leaves the iteration under way unfinished: its trace point is not one to keep.
    std::uint32_t completed = 0;
    try {
        iteration.inner.reason = RunMethod(inner, method, rule, start.X, start.Y).reason;
        completed = inner.TraceCount;
    } catch (const EOutsideBarrier&) {
        iteration.inner.reason = TStopReason::NoDecrease;
        completed = inner.TraceCount > 0 ? inner.TraceCount - 1 : 0;
    }
    std::vector<TTracePoint> path =
        PathOf(inner, completed, start, barrier ? &constraints : nullptr);
    iteration.inner.counts = counted.Counts();
    iteration.innerIterations = static_cast<std::uint32_t>(path.size() - 1);
    return path;
}

void Add(TMethodCounts& total, const TMethodCounts& counts) {
    total.values += counts.values;
    total.gradients += counts.gradients;
    total.hessians += counts.hessians;
}

// The multipliers after an outer iteration that ended at p with coefficient r.
void UpdateMultipliers(std::vector<long double>& multipliers, const TConstraints& constraints,
                       long double r, TTracePoint p) {
    for (std::size_t i = 0; i < constraints.size(); ++i) {
        const long double g = constraints[i].g->Value(p.X, p.Y);
        runtime::ClearFpuFlags();
        const long double next = multipliers[i] + r * g;
        runtime::CheckFpu();
        multipliers[i] = constraints[i].kind == TConstraintKind::Inequality
                             ? std::max<long double>(0, next)
                             : next;
    }
}

// The coefficient of the next outer iteration. The method of multipliers raises it only when
// the violation has not fallen to a quarter of the one before.
long double NextCoefficient(const TConstraintSettings& settings, long double r,
                            long double violation, long double previousViolation) {
    if (settings.method == TConstraintMethod::Lagrange && violation <= previousViolation / 4)
        return r;
    runtime::ClearFpuFlags();
    const long double next = r * settings.growth;
    runtime::CheckFpu();
    return next;
}

std::uint32_t OuterLimitOf(const TDescent& descent) {
    if (descent.StepLimit > 0 && descent.StepLimit < OuterIterationLimit)
        return descent.StepLimit;
    return OuterIterationLimit;
}

}  // namespace

void CheckConstrainedStart(const TConstraints& constraints, const TConstraintSettings& settings,
                           long double x0, long double y0) {
    CheckSettings(settings);
    if (IsBarrier(settings.method))
        CheckBarrierStart(constraints, x0, y0);
}

TConstrainedOutcome RunConstrained(TDescent& descent, TMethod method, TStopRule rule,
                                   const TConstraints& constraints,
                                   const TConstraintSettings& settings, long double x0,
                                   long double y0) {
    CheckRunParameters(descent);
    const TObjective& f = SelectedObjective(descent);
    CheckConstrainedStart(constraints, settings, x0, y0);

    descent.DescentHitLimit = false;
    descent.StoppedAtStepLimit = false;
    descent.Simplices.clear();
    descent.StepVectors.clear();
    descent.TraceCount = 0;
    BeginTrace(descent, x0, y0);

    TConstrainedOutcome outcome;
    const std::uint32_t limit = OuterLimitOf(descent);
    std::vector<long double> multipliers(constraints.size(), 0);
    long double r = settings.r0;
    TTracePoint previous{x0, y0};
    long double previousViolation = LargestViolation(constraints, x0, y0);
    for (std::uint32_t k = 1;; ++k) {
        const TAuxiliaryFunction auxiliary(f, constraints, settings.method, r, multipliers);
        TOuterIteration iteration;
        iteration.r = r;
        std::vector<TTracePoint> path =
            MinimiseAuxiliary(descent, auxiliary, constraints, IsBarrier(settings.method), method,
                              rule, previous, iteration);
        iteration.point = path.back();
        iteration.value = f.Value(iteration.point.X, iteration.point.Y);
        iteration.violation = LargestViolation(constraints, iteration.point.X, iteration.point.Y);
        descent.InnerTraces.push_back(std::move(path));
        descent.OuterViolations.push_back(iteration.violation);
        descent.TraceCount = k;
        descent.Trace[k] = iteration.point;
        Add(outcome.counts, iteration.inner.counts);
        outcome.innerIterations += iteration.innerIterations;
        outcome.outer.push_back(iteration);

        const long double step =
            Distance(previous.X, previous.Y, iteration.point.X, iteration.point.Y);
        if (iteration.violation <= settings.outerEps && step <= settings.outerEps) {
            outcome.stop = TOuterStop::Converged;
            break;
        }
        if (k == limit) {
            outcome.stop =
                limit == OuterIterationLimit ? TOuterStop::OuterLimit : TOuterStop::StepLimit;
            descent.StoppedAtStepLimit = outcome.stop == TOuterStop::StepLimit;
            break;
        }
        if (settings.method == TConstraintMethod::Lagrange)
            UpdateMultipliers(multipliers, constraints, r, iteration.point);
        r = NextCoefficient(settings, r, iteration.violation, previousViolation);
        previous = iteration.point;
        previousViolation = iteration.violation;
    }
    return outcome;
}

}  // namespace metopt::core
