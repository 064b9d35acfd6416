#include "core/builtinfunctions.h"

#include <cmath>

#include "runtime/fpu.h"

namespace metopt::core {

namespace {

// Below these radii the radial function is taken as its limit 1 and its gradient as zero. The
// function's threshold is the larger one, so between them f is constant while the gradient is not.
// Deliberate: see docs/behaviour.md, "Sinc thresholds".
constexpr long double SincValueThreshold = 1e-5L;
constexpr long double SincGradientThreshold = 1e-6L;

long double Radius(long double x, long double y) {
    return std::sqrt(x * x + y * y);
}

// Each function's value is computed once, in its ...Value, which the checked function and the
// unchecked table share: the same operations, so the same bits and the same flags.
long double ParaboloidValue(long double x, long double y) {
    return x * x + y * y;
}

long double Paraboloid(long double x, long double y) {
    runtime::ClearFpuFlags();
    const long double z = ParaboloidValue(x, y);
    runtime::CheckFpu();
    return z;
}

void ParaboloidHessian(long double, long double, long double& hxx, long double& hxy,
                       long double& hyy) {
    hxx = 2;
    hxy = 0;
    hyy = 2;
}

void ParaboloidGradient(long double x, long double y, long double& gx, long double& gy) {
    runtime::ClearFpuFlags();
    gx = 2 * x;
    gy = 2 * y;
    runtime::CheckFpu();
}

// Two minima of value 0 at (1, 1) and (-1, 1), a stationary point of value 1 at (0, 0).
// Deliberate: see docs/behaviour.md, "Two valleys".
long double TwoValleysValue(long double x, long double y) {
    const long double valley = y - x * x;
    const long double wall = 1 - x * x;
    return valley * valley + wall * wall;
}

long double TwoValleys(long double x, long double y) {
    runtime::ClearFpuFlags();
    const long double z = TwoValleysValue(x, y);
    runtime::CheckFpu();
    return z;
}

// The grouping below is kept as written: it decides the last bits of every descent step.
// Deliberate: see docs/behaviour.md, "Two valleys".
void TwoValleysGradient(long double x, long double y, long double& gx, long double& gy) {
    runtime::ClearFpuFlags();
    const long double minusFourX = -4 * x;
    const long double yPlusOne = y + 1;
    const long double twoXX = (2 * x) * x;
    gx = minusFourX * (yPlusOne - twoXX);
    gy = 2 * (y - x * x);
    runtime::CheckFpu();
}

void TwoValleysHessian(long double x, long double y, long double& hxx, long double& hxy,
                       long double& hyy) {
    runtime::ClearFpuFlags();
    hxx = ((24 * x) * x - 4 * y) - 4;
    hxy = -4 * x;
    hyy = 2;
    runtime::CheckFpu();
}

long double RadialSincValue(long double x, long double y) {
    const long double r = Radius(x, y);
    return r < SincValueThreshold ? 1.0L : runtime::Sin(r) / r;
}

long double RadialSinc(long double x, long double y) {
    runtime::ClearFpuFlags();
    const long double z = RadialSincValue(x, y);
    runtime::CheckFpu();
    return z;
}

void RadialSincGradient(long double x, long double y, long double& gx, long double& gy) {
    runtime::ClearFpuFlags();
    const long double r = Radius(x, y);
    if (r < SincGradientThreshold) {
        gx = 0;
        gy = 0;
    } else {
        const long double d = (r * runtime::Cos(r) - runtime::Sin(r)) / (r * r * r);
        gx = x * d;
        gy = y * d;
    }
    runtime::CheckFpu();
}

// With d = (r cos r - sin r) / r^3 (the gradient's factor) and
// e = (3 sin r - 3 r cos r - r^2 sin r) / r^5: fxx = d + x x e, fxy = x y e, fyy = d + y y e. Below
// the gradient's threshold, the limit at the origin: -1/3 on the diagonal.
void RadialSincHessian(long double x, long double y, long double& hxx, long double& hxy,
                       long double& hyy) {
    runtime::ClearFpuFlags();
    const long double r = Radius(x, y);
    if (r < SincGradientThreshold) {
        hxx = -1.0L / 3;
        hxy = 0;
        hyy = -1.0L / 3;
    } else {
        const long double sinR = runtime::Sin(r);
        const long double rCosR = r * runtime::Cos(r);
        const long double r2 = r * r;
        const long double d = (rCosR - sinR) / (r2 * r);
        const long double e = (3 * sinR - 3 * rCosR - r2 * sinR) / (r2 * r2 * r);
        hxx = d + x * x * e;
        hxy = x * y * e;
        hyy = d + y * y * e;
    }
    runtime::CheckFpu();
}

}  // namespace

// Deliberate: see docs/behaviour.md, "Label and button texts".
const char* const FunctionCaptions[FunctionCount] = {
    " x*x+y*y",
    " (y-x*x)*(y-x*x) + (1-x*x)*(1-x*x)",
    " (sin(r))/r, r=sqrt(x*x+y*y)",
};

const TObjectiveFunc ObjectiveFuncs[FunctionCount] = {Paraboloid, TwoValleys, RadialSinc};
const TObjectiveFunc UncheckedObjectiveFuncs[FunctionCount] = {ParaboloidValue, TwoValleysValue,
                                                               RadialSincValue};
const TGradientProc GradientProcs[FunctionCount] = {ParaboloidGradient, TwoValleysGradient,
                                                    RadialSincGradient};
const THessianProc HessianProcs[FunctionCount] = {ParaboloidHessian, TwoValleysHessian,
                                                  RadialSincHessian};

TUncheckedValue UncheckedValueOf(const TPlottedFunc& func) {
    if (func.Typed)
        return func.Typed->HasUncheckedValues() ? TUncheckedValue{nullptr, func.Typed.get()}
                                                : TUncheckedValue{};
    for (int i = 0; i < FunctionCount; ++i) {
        if (func.Eval == ObjectiveFuncs[i])
            return TUncheckedValue{UncheckedObjectiveFuncs[i], nullptr};
    }
    return TUncheckedValue{};
}

}  // namespace metopt::core
