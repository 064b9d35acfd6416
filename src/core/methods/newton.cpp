// Newton's method, with the full step and with the step chosen by the line search.
#include "core/methods/methodrun.h"
#include "runtime/fpu.h"

namespace metopt::core::methods {

namespace {

struct NewtonStep {
    bool singular;
    long double dx;
    long double dy;
};

// d = -H⁻¹·g at p, by Cramer's rule; singular when det H = 0.
NewtonStep NewtonStepAt(const TMethodRun& run, Point p, long double gx, long double gy) {
    long double hxx = 0;
    long double hxy = 0;
    long double hyy = 0;
    run.Hessian(p, hxx, hxy, hyy);
    runtime::ClearFpuFlags();
    const long double det = hxx * hyy - hxy * hxy;
    runtime::CheckFpu();
    if (det == 0)
        return {true, 0, 0};
    runtime::ClearFpuFlags();
    const NewtonStep step{false, (hxy * gy - hyy * gx) / det, (hxy * gx - hxx * gy) / det};
    runtime::CheckFpu();
    return step;
}

}  // namespace

void RunNewton(TMethodRun& run, Point start) {
    StepUntilTheEnd(run, start, [&run](Point x, GradientValue g) -> std::optional<Point> {
        const NewtonStep d = NewtonStepAt(run, x, g.x, g.y);
        if (d.singular) {
            run.StopAt(x, TStopReason::SingularHessian);
            return std::nullopt;
        }
        return Along(x, 1, d.dx, d.dy);
    });
}

// A Newton step that does not descend (g·d >= 0), or none, gives way to the antigradient.
void RunDampedNewton(TMethodRun& run, Point start) {
    StepUntilTheEnd(run, start, [&run](Point x, GradientValue g) -> std::optional<Point> {
        NewtonStep d = NewtonStepAt(run, x, g.x, g.y);
        if (d.singular || !(Dot(g.x, g.y, d.dx, d.dy) < 0))
            d = {false, -g.x, -g.y};
        return run.LineSearch(x, d.dx, d.dy);
    });
}

}  // namespace metopt::core::methods
