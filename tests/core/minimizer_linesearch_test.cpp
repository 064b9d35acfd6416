// The line search of the minimiser: distance and domain, the function along the antigradient,
// the bracketing scan and the golden section, and their refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "core/builtinfunctions.h"
#include "core/minimizer.h"
#include "runtime/exceptions.h"
#include "support/descent_fixture.h"

namespace metopt::core {
namespace {

TEST_F(MinimizerTest, StartsEmpty) {
    EXPECT_EQ(descent.TraceCount, 0u);
    EXPECT_EQ(descent.Trace[1].X, 0.0L);
    EXPECT_EQ(descent.Trace[TraceCapacity].Y, 0.0L);
    EXPECT_FALSE(descent.DescentHitLimit);
}

TEST_F(MinimizerTest, DistanceAndDomain) {
    EXPECT_EQ(Distance(0, 0, 3, 4), 5.0L);
    EXPECT_EQ(Distance(1, 1, -2, -3), 5.0L);
    descent.DomainRadius = 5;
    EXPECT_TRUE(InsideDomain(descent, 3, 4));  // on the circle counts as inside
    EXPECT_TRUE(InsideDomain(descent, -5, 0));
    EXPECT_FALSE(InsideDomain(descent, nextafterl(5.0L, 6.0L), 0));
    EXPECT_FALSE(InsideDomain(descent, 4, 4));
}

TEST_F(MinimizerTest, LineFunctionMovesAlongTheAntigradient) {
    SetRun(0);
    // Gradient at (1, 2) is (2, 4); t = 0.25 reaches (0.5, 1).
    EXPECT_EQ(LineFunction(descent, 0.25L, 1, 2), 1.25L);
    EXPECT_EQ(LineFunction(descent, 0, 1, 2), 5.0L);
    SetRun(1);
    // Gradient of function 1 at (2, 0) is (56, -8); t = 0.5 reaches (-26, 4).
    EXPECT_EQ(LineFunction(descent, 0.5L, 2, 0), ObjectiveFuncs[1](-26, 4));
}

struct BracketCase {
    const char* name;
    int funcIndex;
    long double x, y, step, radius;
    long double a, b;
};

void PrintTo(const BracketCase& c, std::ostream* os) {
    *os << c.name;
}

class BracketTest : public MinimizerTest, public ::testing::WithParamInterface<BracketCase> {};

// Function 0 from (1, 0): phi(t) = (1 - 2t)^2, lowest at t = 0.5.
const BracketCase BracketCases[] = {
    // phi(1.5) = 4 > phi(0) = 1: a rise at the first step.
    {"RiseAtFirstStep", 0, 1, 0, 1.5L, 1000, 0, 1.5L},
    // phi(1) = phi(0): an equal value goes on scanning; phi(2) = 9 rises.
    {"EqualValueKeepsScanning", 0, 1, 0, 1, 1000, 0, 2},
    // Radius <= 2 * step with phi(step) <= phi(0): the scan never runs.
    {"RadiusTwiceTheStep", 0, 1, 0, 0.4L, 0.8L, -0.4L, 0.4L},
    {"RadiusBelowTwiceTheStep", 0, 1, 0, 0.4L, 0.5L, -0.4L, 0.4L},
    // The cap ends a falling scan at b = 0.5 (b < R - h = 0.5 fails): the last two-step window.
    {"CapEndsFallingScan", 0, 1, 0, 0.125L, 0.625L, 0.25L, 0.5L},
    // The paraboloid's default bracket: phi(0.99) < phi(0), phi(1.98) rises.
    {"ParaboloidDefault", 0, 30, -30, DefaultStep, DefaultRadius, 0, DefaultStep + DefaultStep},
    // Function 1's gradient at (30, -30) is (219480, -1860): the first step already rises.
    {"TwoValleysDefault", 1, 30, -30, DefaultStep, DefaultRadius, 0, DefaultStep},
};

TEST_P(BracketTest, GivesTheInterval) {
    const BracketCase& c = GetParam();
    SetRun(c.funcIndex, DefaultEps, c.step, c.radius);
    long double a = -99;
    long double b = -99;
    BracketStep(descent, c.x, c.y, a, b);
    EXPECT_EQ(a, c.a);
    EXPECT_EQ(b, c.b);
}

INSTANTIATE_TEST_SUITE_P(Table, BracketTest, ::testing::ValuesIn(BracketCases),
                         [](const ::testing::TestParamInfo<BracketCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(MinimizerTest, GoldenSectionFindsTheParaboloidMinimum) {
    SetRun(0);
    long double t = 0;
    const long double value = GoldenSection(descent, 1, 0, 0, 1.98L, t);
    EXPECT_NEAR(static_cast<double>(t), 0.5, 1e-7);
    EXPECT_EQ(value, LineFunction(descent, t, 1, 0));
}

TEST_F(MinimizerTest, GoldenSectionKeepsTheLowSideOnTies) {
    // Zero gradient: phi is constant, every comparison is a tie.
    SetRun(0);
    long double t = -1;
    const long double value = GoldenSection(descent, 0, 0, 0, 1, t);
    EXPECT_GE(t, 0.0L);
    EXPECT_LT(t, DefaultEps);
    EXPECT_EQ(value, 0.0L);
}

TEST_F(MinimizerTest, GoldenSectionEndsWithEpsBelowTheNumberSpacing) {
    SetRun(0);
    for (const long double eps : {1e-4000L, nextafterl(0.0L, 1.0L)}) {
        descent.EpsValue = eps;
        long double t = 0;
        const long double value = GoldenSection(descent, 1, 0, 0, 1.98L, t);
        EXPECT_NEAR(static_cast<double>(t), 0.5, 1e-15);
        EXPECT_EQ(value, LineFunction(descent, t, 1, 0));
        // A reversed interval is no bracket, but the search still ends.
        const long double reversed = GoldenSection(descent, 1, 0, 1.98L, 0, t);
        EXPECT_EQ(reversed, LineFunction(descent, t, 1, 0));
    }
}

TEST_F(MinimizerTest, LineRoutinesRefuseAMissingFunction) {
    SetRun(-1);
    long double a = 0;
    long double b = 0;
    long double t = 0;
    EXPECT_THROW(LineFunction(descent, 0, 1, 1), runtime::Exception);
    EXPECT_THROW(BracketStep(descent, 1, 1, a, b), runtime::Exception);
    EXPECT_THROW(GoldenSection(descent, 1, 1, 0, 1, t), runtime::Exception);
    EXPECT_THROW(LineSearch(descent, 1, 1), runtime::Exception);
    descent.FuncIndex = 3;
    EXPECT_THROW(LineFunction(descent, 0, 1, 1), runtime::Exception);
}

TEST_F(MinimizerTest, BracketRefusesAScanThatCannotEnd) {
    SetRun(0, DefaultEps, 0);
    long double a = 0;
    long double b = 0;
    // A zero gradient makes phi flat: a zero step would scan forever.
    EXPECT_THROW(BracketStep(descent, 0, 0, a, b), runtime::Exception);
    descent.StepValue = 1e-3L;
    descent.DomainRadius = 1e6L;
    EXPECT_THROW(BracketStep(descent, 0, 0, a, b), runtime::Exception);
}

}  // namespace
}  // namespace metopt::core
