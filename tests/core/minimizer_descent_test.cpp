// Steepest-descent runs: the three functions from the default start, starts that do not move,
// the disc of radius Uoo, what a shorter run leaves in the trace, and the iteration limit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/builtinfunctions.h"
#include "core/minimizer.h"
#include "support/descent_fixture.h"

namespace metopt::core {
namespace {

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
