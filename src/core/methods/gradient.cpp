// The gradient methods: steepest descent (under any stop rule), the fixed step and the step
// halving.
#include "core/methods/methodrun.h"
#include "runtime/fpu.h"

namespace metopt::core::methods {

namespace {

// Halvings of the step tried before the step halving gives up.
constexpr int MaxHalvings = 64;

// The step halving's sufficient decrease: f(x - t·g) <= f(x) - t·|g|²/2.
bool DecreasesEnough(long double fx, long double ft, long double t, long double squaredNorm) {
    runtime::ClearFpuFlags();
    const long double bound = fx - (t * squaredNorm) / 2;
    runtime::CheckFpu();
    return !(ft > bound);
}

}  // namespace

void RunSteepestDescent(TMethodRun& run, Point start) {
    StepUntilTheEnd(run, start, [&run](Point x, GradientValue g) -> std::optional<Point> {
        return run.LineSearch(x, -g.x, -g.y);
    });
}

void RunFixedStep(TMethodRun& run, Point start) {
    StepUntilTheEnd(run, start, [&run](Point x, GradientValue g) -> std::optional<Point> {
        return Along(x, run.Step(), -g.x, -g.y);
    });
}

void RunStepHalving(TMethodRun& run, Point start) {
    StepUntilTheEnd(run, start, [&run](Point x, GradientValue g) -> std::optional<Point> {
        const long double fx = run.Value(x);
        const long double squaredNorm = Dot(g.x, g.y, g.x, g.y);
        long double t = run.Step();
        Point next = Along(x, t, -g.x, -g.y);
        int halvings = 0;
        while (!DecreasesEnough(fx, run.Value(next), t, squaredNorm) && halvings < MaxHalvings) {
            t = t / 2;
            ++halvings;
            next = Along(x, t, -g.x, -g.y);
        }
        if (!DecreasesEnough(fx, run.Value(next), t, squaredNorm)) {
            run.StopAt(x, TStopReason::NoDecrease);
            return std::nullopt;
        }
        return next;
    });
}

}  // namespace metopt::core::methods
