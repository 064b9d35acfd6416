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
    Point x = start;
    for (;;) {
        run.Begin();
        long double gx = 0;
        long double gy = 0;
        run.Gradient(x, gx, gy);
        const Point next = run.LineSearch(x, -gx, -gy);
        if (run.End(x, next))
            return;
        x = next;
    }
}

void RunFixedStep(TMethodRun& run, Point start) {
    Point x = start;
    for (;;) {
        run.Begin();
        long double gx = 0;
        long double gy = 0;
        run.Gradient(x, gx, gy);
        const Point next = Along(x, run.Step(), -gx, -gy);
        if (run.End(x, next))
            return;
        x = next;
    }
}

void RunStepHalving(TMethodRun& run, Point start) {
    Point x = start;
    for (;;) {
        run.Begin();
        long double gx = 0;
        long double gy = 0;
        run.Gradient(x, gx, gy);
        const long double fx = run.Value(x);
        const long double squaredNorm = Dot(gx, gy, gx, gy);
        long double t = run.Step();
        Point next = Along(x, t, -gx, -gy);
        int halvings = 0;
        while (!DecreasesEnough(fx, run.Value(next), t, squaredNorm) && halvings < MaxHalvings) {
            t = t / 2;
            ++halvings;
            next = Along(x, t, -gx, -gy);
        }
        if (!DecreasesEnough(fx, run.Value(next), t, squaredNorm)) {
            run.StopAt(x, TStopReason::NoDecrease);
            return;
        }
        if (run.End(x, next))
            return;
        x = next;
    }
}

}  // namespace metopt::core::methods
