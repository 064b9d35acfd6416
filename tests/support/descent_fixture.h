#pragma once
// A fixture for the minimiser: a fresh descent in the program's floating-point environment, the
// window's run parameters, and one run's result.
#include <gtest/gtest.h>

#include "core/minimizer.h"
#include "runtime/fpu.h"

namespace metopt::testsupport {

// The window's defaults: eps 0.0000001, h_step 0.99, Uoo 1000.0.
constexpr long double DefaultEps = 1e-7L;
constexpr long double DefaultStep = 0.99L;
constexpr long double DefaultRadius = 1000.0L;

struct RunResult {
    long double xmin = 0;
    long double ymin = 0;
    long double zmin = 0;
};

class MinimizerTest : public ::testing::Test {
  protected:
    void SetRun(int funcIndex, long double eps = DefaultEps, long double step = DefaultStep,
                long double radius = DefaultRadius) {
        descent.FuncIndex = funcIndex;
        descent.EpsValue = eps;
        descent.StepValue = step;
        descent.DomainRadius = radius;
    }

    RunResult Descend(long double x0, long double y0) {
        RunResult r;
        r.zmin = core::SteepestDescent(descent, x0, y0, r.xmin, r.ymin);
        return r;
    }

    core::TDescent descent;
};

}  // namespace metopt::testsupport

// The minimiser's tests name the fixture and the defaults without the namespace.
namespace metopt::core {
using testsupport::DefaultEps;
using testsupport::DefaultRadius;
using testsupport::DefaultStep;
using testsupport::MinimizerTest;
using testsupport::RunResult;
}  // namespace metopt::core
