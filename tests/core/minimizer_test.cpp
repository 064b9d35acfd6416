#include "core/minimizer.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <ostream>
#include <string>

#include "core/functions.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::core {
namespace {

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
    void SetUp() override { runtime::InitFpu(); }

    void SetRun(int funcIndex, long double eps = DefaultEps, long double step = DefaultStep,
                long double radius = DefaultRadius) {
        descent.FuncIndex = funcIndex;
        descent.EpsValue = eps;
        descent.StepValue = step;
        descent.DomainRadius = radius;
    }

    RunResult Descend(long double x0, long double y0) {
        RunResult r;
        r.zmin = SteepestDescent(descent, x0, y0, r.xmin, r.ymin);
        return r;
    }

    TDescent descent;
};

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

TEST_F(MinimizerTest, ParaboloidFromDefaultStart) {
    SetRun(0);
    const RunResult r = Descend(30, -30);
    ASSERT_EQ(descent.TraceCount, 3u);
    EXPECT_FALSE(descent.DescentHitLimit);
    EXPECT_LT(std::fabs(r.xmin), 1e-20L);
    EXPECT_LT(std::fabs(r.ymin), 1e-20L);
    EXPECT_EQ(r.xmin, descent.Trace[3].X);
    EXPECT_EQ(r.ymin, descent.Trace[3].Y);
    EXPECT_EQ(r.zmin, ObjectiveFuncs[0](r.xmin, r.ymin));

    // Every iteration brackets [0, 1.98] and finds t within 1e-7 of 0.5.
    const TTracePoint bases[] = {{30, -30}, descent.Trace[1], descent.Trace[2]};
    for (const TTracePoint& p : bases) {
        long double a = -1;
        long double b = -1;
        BracketStep(descent, p.X, p.Y, a, b);
        EXPECT_EQ(a, 0.0L);
        EXPECT_EQ(b, DefaultStep + DefaultStep);
        EXPECT_NEAR(static_cast<double>(LineSearch(descent, p.X, p.Y)), 0.5, 1e-7);
    }
    // The third move is the first shorter than eps.
    EXPECT_GE(Distance(30, -30, descent.Trace[1].X, descent.Trace[1].Y), DefaultEps);
    EXPECT_GE(
        Distance(descent.Trace[1].X, descent.Trace[1].Y, descent.Trace[2].X, descent.Trace[2].Y),
        DefaultEps);
    EXPECT_LT(
        Distance(descent.Trace[2].X, descent.Trace[2].Y, descent.Trace[3].X, descent.Trace[3].Y),
        DefaultEps);
}

TEST_F(MinimizerTest, TwoValleysFromDefaultStart) {
    SetRun(1);
    const RunResult r = Descend(30, -30);
    ASSERT_EQ(descent.TraceCount, 43u);
    EXPECT_FALSE(descent.DescentHitLimit);
    EXPECT_LT(std::fabs(r.xmin - 1), 1e-6L);
    EXPECT_LT(std::fabs(r.ymin - 1), 1e-6L);
    EXPECT_LT(r.zmin, 1e-12L);
    EXPECT_EQ(r.xmin, descent.Trace[43].X);
    EXPECT_EQ(r.ymin, descent.Trace[43].Y);
    EXPECT_EQ(r.zmin, ObjectiveFuncs[1](r.xmin, r.ymin));
    EXPECT_LT(Distance(descent.Trace[42].X, descent.Trace[42].Y, descent.Trace[43].X,
                       descent.Trace[43].Y),
              DefaultEps);
    for (std::uint32_t k = 2; k < 43; ++k) {
        EXPECT_GE(Distance(descent.Trace[k - 1].X, descent.Trace[k - 1].Y, descent.Trace[k].X,
                           descent.Trace[k].Y),
                  DefaultEps)
            << k;
    }
}

TEST_F(MinimizerTest, RadialSincFromDefaultStartStaysOnTheDiagonal) {
    SetRun(2);
    const RunResult r = Descend(30, -30);
    ASSERT_EQ(descent.TraceCount, 2u);
    EXPECT_FALSE(descent.DescentHitLimit);
    for (std::uint32_t k = 1; k <= 2; ++k)
        EXPECT_EQ(descent.Trace[k].X, -descent.Trace[k].Y) << k;
    EXPECT_EQ(r.xmin, -r.ymin);
    EXPECT_NEAR(static_cast<double>(r.xmin), 29.97278, 1e-5);
    EXPECT_NEAR(static_cast<double>(r.zmin), -0.0235851, 1e-7);
    // The ring minimum: r cos r = sin r near r = 42.3879.
    const long double radius = Distance(0, 0, r.xmin, r.ymin);
    EXPECT_NEAR(static_cast<double>(radius), 42.3879, 1e-4);
    EXPECT_NEAR(static_cast<double>(radius * cosl(radius) - sinl(radius)), 0.0, 1e-5);
}

struct StillStart {
    const char* name;
    int funcIndex;
    long double x, y;
};

void PrintTo(const StillStart& c, std::ostream* os) {
    *os << c.name;
}

class ZeroGradientStartTest : public MinimizerTest,
                              public ::testing::WithParamInterface<StillStart> {};

const StillStart StillStarts[] = {
    {"ParaboloidOrigin", 0, 0, 0},  {"TwoValleysSaddle", 1, 0, 0},
    {"TwoValleysMinimum", 1, 1, 1}, {"TwoValleysOtherMinimum", 1, -1, 1},
    {"RadialSincOrigin", 2, 0, 0},  {"RadialSincNearOrigin", 2, 5e-7L, -5e-7L},
};

TEST_P(ZeroGradientStartTest, OneIterationThatDoesNotMove) {
    const StillStart& c = GetParam();
    SetRun(c.funcIndex);
    const RunResult r = Descend(c.x, c.y);
    EXPECT_EQ(descent.TraceCount, 1u);
    EXPECT_EQ(descent.Trace[1].X, c.x);
    EXPECT_EQ(descent.Trace[1].Y, c.y);
    EXPECT_EQ(r.xmin, c.x);
    EXPECT_EQ(r.ymin, c.y);
    EXPECT_EQ(r.zmin, ObjectiveFuncs[c.funcIndex](c.x, c.y));
}

INSTANTIATE_TEST_SUITE_P(Table, ZeroGradientStartTest, ::testing::ValuesIn(StillStarts),
                         [](const ::testing::TestParamInfo<StillStart>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(MinimizerTest, StartOutsideTheDiscRunsOneIteration) {
    // Function 2 moves from r = 42.43 only to the nearby ring at r = 42.4, still outside r = 10.
    SetRun(2, DefaultEps, DefaultStep, 10);
    const RunResult r = Descend(30, -30);
    EXPECT_EQ(descent.TraceCount, 1u);
    EXPECT_FALSE(InsideDomain(descent, r.xmin, r.ymin));
    EXPECT_EQ(r.xmin, descent.Trace[1].X);
    EXPECT_EQ(r.zmin, ObjectiveFuncs[2](r.xmin, r.ymin));
}

TEST_F(MinimizerTest, StartOutsideTheDiscGoesOnWhenTheFirstMoveEntersIt) {
    SetRun(0, DefaultEps, DefaultStep, 10);
    const RunResult r = Descend(30, -30);
    EXPECT_EQ(descent.TraceCount, 3u);
    EXPECT_TRUE(InsideDomain(descent, r.xmin, r.ymin));
}

TEST_F(MinimizerTest, RunLeavingTheDiscEndsAtTheFirstPointOutside) {
    // Function 2 from r = 3 moves outwards to the ring minimum near r = 4.4934 (tan r = r).
    SetRun(2, DefaultEps, DefaultStep, 4.4L);
    const RunResult r = Descend(3, 0);
    ASSERT_EQ(descent.TraceCount, 2u);
    EXPECT_TRUE(InsideDomain(descent, descent.Trace[1].X, descent.Trace[1].Y));
    EXPECT_GT(descent.Trace[1].X, 4.0L);
    EXPECT_FALSE(InsideDomain(descent, descent.Trace[2].X, descent.Trace[2].Y));
    EXPECT_EQ(r.xmin, descent.Trace[2].X);
    EXPECT_EQ(r.ymin, 0.0L);
    EXPECT_LT(r.xmin, 4.4934L);
    EXPECT_EQ(r.zmin, ObjectiveFuncs[2](r.xmin, r.ymin));

    // With radius 4 the first point is already outside.
    descent.DomainRadius = 4;
    Descend(3, 0);
    EXPECT_EQ(descent.TraceCount, 1u);
    EXPECT_GT(descent.Trace[1].X, 4.0L);
}

TEST_F(MinimizerTest, ShorterRunLeavesHigherEntriesAlone) {
    SetRun(1);
    Descend(30, -30);
    ASSERT_EQ(descent.TraceCount, 43u);
    TTracePoint longRun[44];
    for (std::size_t k = 1; k <= 43; ++k)
        longRun[k] = descent.Trace[k];

    SetRun(0);
    Descend(30, -30);
    ASSERT_EQ(descent.TraceCount, 3u);
    EXPECT_NE(descent.Trace[1].X, longRun[1].X);
    for (std::size_t k = 4; k <= 43; ++k) {
        EXPECT_EQ(descent.Trace[k].X, longRun[k].X) << k;
        EXPECT_EQ(descent.Trace[k].Y, longRun[k].Y) << k;
    }
}

class FailingRunTest : public MinimizerTest {
  protected:
    // Fills Trace[1..3] from an earlier run so that kept entries can be told apart.
    void SetUp() override {
        MinimizerTest::SetUp();
        SetRun(0);
        Descend(30, -30);
        for (std::size_t k = 1; k <= 3; ++k)
            before[k] = descent.Trace[k];
    }
    void ExpectEntryKept(std::size_t k) {
        EXPECT_EQ(descent.Trace[k].X, before[k].X) << k;
        EXPECT_EQ(descent.Trace[k].Y, before[k].Y) << k;
    }
    TTracePoint before[4];
};

TEST_F(FailingRunTest, GradientOverflowInTheFirstIteration) {
    SetRun(1);
    long double xmin = 0;
    long double ymin = 0;
    EXPECT_THROW(SteepestDescent(descent, 1e2467L, 0, xmin, ymin), runtime::EOverflow);
    EXPECT_EQ(descent.TraceCount, 1u);
    ExpectEntryKept(1);
    ExpectEntryKept(2);
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
}

TEST_F(FailingRunTest, FunctionOverflowDuringTheScan) {
    // At (1e600, 0) the gradient is about (8e1800, 0); phi(0.99) lies near x = -8e1800, whose
    // fourth power overflows.
    SetRun(1);
    long double xmin = 0;
    long double ymin = 0;
    EXPECT_THROW(SteepestDescent(descent, 1e600L, 0, xmin, ymin), runtime::EOverflow);
    EXPECT_EQ(descent.TraceCount, 1u);
    ExpectEntryKept(1);
}

TEST_F(FailingRunTest, OverflowInTheSecondIteration) {
    // From (1, 0) function 2 drops to 0 everywhere beyond 2^63, so phi is flat there and the scan
    // runs to its cap: the first move lands near x = 0.3 * 1e1646. The gradient there needs r^3,
    // which overflows, so the second iteration fails.
    SetRun(2, DefaultEps, 1e1641L, 1e1646L);
    long double xmin = 0;
    long double ymin = 0;
    EXPECT_THROW(SteepestDescent(descent, 1, 0, xmin, ymin), runtime::EOverflow);
    EXPECT_EQ(descent.TraceCount, 2u);
    EXPECT_GT(descent.Trace[1].X, 1e1645L);
    EXPECT_EQ(descent.Trace[1].Y, 0.0L);
    ExpectEntryKept(2);
    ExpectEntryKept(3);
}

struct RefusalCase {
    const char* name;
    int funcIndex;
    long double eps, step, radius;
    const char* message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

const char* const NoFunction = "Уравнение не выбрано: выберите его из списка";
const char* const BadEps = "Точность eps должна быть положительным числом";
const char* const BadStep = "Шаг сканирования h_step должен быть положительным числом";
const char* const TooManySteps =
    "Слишком много шагов сканирования: уменьшите Uoo или увеличьте h_step";

const RefusalCase RefusalCases[] = {
    {"NoListItem", -1, DefaultEps, DefaultStep, DefaultRadius, NoFunction},
    {"IndexPastTheTable", 3, DefaultEps, DefaultStep, DefaultRadius, NoFunction},
    {"IndexCheckedFirst", -1, 0, 0, DefaultRadius, NoFunction},
    {"EpsZero", 1, 0, DefaultStep, DefaultRadius, BadEps},
    {"EpsNegative", 1, -1e-7L, DefaultStep, DefaultRadius, BadEps},
    {"EpsCheckedBeforeStep", 1, 0, 0, DefaultRadius, BadEps},
    {"StepZero", 1, DefaultEps, 0, DefaultRadius, BadStep},
    {"StepNegative", 0, DefaultEps, -0.99L, DefaultRadius, BadStep},
    // (1e7 - 0.99) / 0.99 is about 1.01e7 steps.
    {"ScanTooLong", 2, DefaultEps, DefaultStep, 1e7L, TooManySteps},
    // Just past the limit: (1000002 - 1) / 1 = 1000001.
    {"ScanOneStepTooLong", 0, DefaultEps, 1, 1000002, TooManySteps},
    // The step count itself overflows.
    {"ScanCountOverflows", 0, DefaultEps, 1e-4000L, 1e4000L, TooManySteps},
};

class RefusalTest : public MinimizerTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, RefusesBeforeTouchingTheTrace) {
    const RefusalCase& c = GetParam();
    descent.TraceCount = 5;
    descent.Trace[1] = {7, 8};
    SetRun(c.funcIndex, c.eps, c.step, c.radius);
    try {
        long double xmin = 0;
        long double ymin = 0;
        SteepestDescent(descent, 1, 2, xmin, ymin);
        FAIL() << "the run was not refused";
    } catch (const runtime::Exception& e) {
        EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(descent.TraceCount, 5u);
    EXPECT_EQ(descent.Trace[1].X, 7.0L);
    EXPECT_EQ(descent.Trace[1].Y, 8.0L);
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, RefusalTest, ::testing::ValuesIn(RefusalCases),
                         [](const ::testing::TestParamInfo<RefusalCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(MinimizerTest, ScanOfExactlyTheLimitIsAccepted) {
    SetRun(0, DefaultEps, 1, 1000001);  // (1000001 - 1) / 1 = 1000000 steps
    EXPECT_NO_THROW(CheckRunParameters(descent));
    SetRun(0, DefaultEps, 0.5L, 500000.5L);
    EXPECT_NO_THROW(CheckRunParameters(descent));
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

class IterationLimitTest : public MinimizerTest {
  protected:
    // Function 0 with a bracket of [-0.2, 0.2] around the minimum at t = 0.5: each iteration
    // takes t = 0.2 and shrinks the point by the factor 0.6 only, so the moves stay above an
    // eps of 1e-3000 for about 13500 iterations.
    void SetRunThatWouldGoOn(long double eps = 1e-3000L) { SetRun(0, eps, 0.2L, 0.4L); }
    long double Move(std::uint32_t k) const {
        const std::vector<TTracePoint>& trace = descent.Trace;
        return Distance(trace[k - 1].X, trace[k - 1].Y, trace[k].X, trace[k].Y);
    }
};

// One long run serves every check: each takes close to a second.
TEST_F(IterationLimitTest, RunStopsAtTheLimitUnlessItsOwnRuleEndsItThere) {
    SetRunThatWouldGoOn();
    const RunResult r = Descend(0.1L, 0);
    ASSERT_EQ(descent.TraceCount, TraceCapacity);
    EXPECT_TRUE(descent.DescentHitLimit);
    EXPECT_EQ(r.xmin, descent.Trace[TraceCapacity].X);
    EXPECT_EQ(r.ymin, descent.Trace[TraceCapacity].Y);
    EXPECT_EQ(r.zmin, ObjectiveFuncs[0](r.xmin, r.ymin));
    EXPECT_NEAR(static_cast<double>(descent.Trace[1].X), 0.06, 1e-15);
    EXPECT_NEAR(
        static_cast<double>(descent.Trace[TraceCapacity].X / descent.Trace[TraceCapacity - 1].X),
        0.6, 1e-12);
    EXPECT_TRUE(InsideDomain(descent, r.xmin, r.ymin));

    const long double lastMove = Move(TraceCapacity);
    const long double moveBefore = Move(TraceCapacity - 1);
    const long double moveBeforeThat = Move(TraceCapacity - 2);
    ASSERT_GE(lastMove, descent.EpsValue);
    ASSERT_LT(lastMove, moveBefore);
    ASSERT_LT(moveBefore, moveBeforeThat);

    // An eps between the last two moves: the 10000th move is the first one below it, and the
    // run ends there by its own rule.
    SetRunThatWouldGoOn((lastMove + moveBefore) / 2);
    Descend(0.1L, 0);
    EXPECT_EQ(descent.TraceCount, TraceCapacity);
    EXPECT_FALSE(descent.DescentHitLimit);
}

TEST_F(IterationLimitTest, NextRunClearsTheLimitFlag) {
    SetRunThatWouldGoOn();
    Descend(0.1L, 0);
    ASSERT_TRUE(descent.DescentHitLimit);
    SetRun(0);
    Descend(30, -30);
    EXPECT_EQ(descent.TraceCount, 3u);
    EXPECT_FALSE(descent.DescentHitLimit);
}

}  // namespace
}  // namespace metopt::core
