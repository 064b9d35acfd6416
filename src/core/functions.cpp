#include "core/functions.h"

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

long double Paraboloid(long double x, long double y) {
    runtime::ClearFpuFlags();
    const long double z = x * x + y * y;
    runtime::CheckFpu();
    return z;
}

void ParaboloidGradient(long double x, long double y, long double& gx, long double& gy) {
    runtime::ClearFpuFlags();
    gx = 2 * x;
    gy = 2 * y;
    runtime::CheckFpu();
}

// Two minima of value 0 at (1, 1) and (-1, 1), a stationary point of value 1 at (0, 0).
// Deliberate: see docs/behaviour.md, "Two valleys".
long double TwoValleys(long double x, long double y) {
    runtime::ClearFpuFlags();
    const long double valley = y - x * x;
    const long double wall = 1 - x * x;
    const long double z = valley * valley + wall * wall;
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

long double RadialSinc(long double x, long double y) {
    runtime::ClearFpuFlags();
    const long double r = Radius(x, y);
    const long double z = r < SincValueThreshold ? 1.0L : runtime::Sin(r) / r;
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

}  // namespace

// Deliberate: see docs/behaviour.md, "Label and button texts".
const char* const FunctionCaptions[FunctionCount] = {
    " x*x+y*y",
    " (y-x*x)*(y-x*x) + (1-x*x)*(1-x*x)",
    " (sin(r))/r, r=sqrt(x*x+y*y)",
};

const TObjectiveFunc ObjectiveFuncs[FunctionCount] = {Paraboloid, TwoValleys, RadialSinc};
const TGradientProc GradientProcs[FunctionCount] = {ParaboloidGradient, TwoValleysGradient,
                                                    RadialSincGradient};

}  // namespace metopt::core
