// The methods of the method list: where each one ends on the course's functions, why it stops,
// the counts of its evaluations, the stop rules and the runs it refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <ostream>
#include <string>

#include "core/builtinfunctions.h"
#include "core/builtinobjective.h"
#include "core/formula/formula.h"
#include "core/methods/method.h"
#include "core/minimizer.h"
#include "core/runreport.h"
#include "runtime/exceptions.h"
#include "support/descent_fixture.h"
#include "support/expect_error.h"

namespace metopt::core {
namespace {

const char* const Rosenbrock = "(1-x)^2+100*(y-x^2)^2";
const char* const Himmelblau = "(x^2+y-11)^2+(x+y^2-7)^2";
const char* const Quadratic = "3*x^2+2*x*y+y^2+x-y";  // minimum at (-0.5, 1)

// The methods by the short names of these tests.
constexpr TMethod Steepest = TMethod::SteepestDescent;
constexpr TMethod Halving = TMethod::StepHalving;
constexpr TMethod Coordinate = TMethod::CoordinateDescent;
constexpr TMethod FixedStep = TMethod::FixedStep;
constexpr TMethod FletcherReeves = TMethod::FletcherReeves;
constexpr TMethod PolakRibiere = TMethod::PolakRibiere;
constexpr TMethod Newton = TMethod::Newton;
constexpr TMethod DampedNewton = TMethod::DampedNewton;
constexpr TMethod Bfgs = TMethod::Bfgs;
constexpr TMethod Dfp = TMethod::Dfp;
constexpr TMethod HookeJeeves = TMethod::HookeJeeves;
constexpr TMethod NelderMead = TMethod::NelderMead;

class MethodsTest : public MinimizerTest {
  protected:
    // A typed function, or a built-in item for a one-digit text.
    void Use(const std::string& function, long double eps, long double step) {
        const bool builtin = function.size() == 1;
        SetRun(builtin ? function[0] - '0' : 99, eps, step);
        descent.Typed = builtin ? nullptr : CompileFormula(function);
    }
    TMethodOutcome Run(TMethod method, long double x0, long double y0,
                       TStopRule rule = TStopRule::Step) {
        return RunMethod(descent, method, rule, x0, y0);
    }
    TTracePoint Last() const { return descent.Trace[descent.TraceCount]; }
};

struct EndCase {
    TMethod method;
    const char* function;
    long double x0, y0, eps, step;
    long double x, y;  // the point it ends near, within `within`
    long double within;
    unsigned maxIterations;
    TStopReason reason;
};

void PrintTo(const EndCase& c, std::ostream* os) {
    *os << MethodCaption(c.method) << " on " << c.function << ": " << StopReasonText(c.reason);
}

class MethodEndTest : public MethodsTest, public ::testing::WithParamInterface<EndCase> {};

constexpr auto StepStop = TStopReason::Step;
const EndCase EndCases[] = {
    // Rosenbrock from (-1.2, 1).
    {Coordinate, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 10, StepStop},
    {FletcherReeves, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 60, StepStop},
    {PolakRibiere, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 60, StepStop},
    {Newton, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 10, StepStop},
    {DampedNewton, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 30, StepStop},
    {Bfgs, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 40, StepStop},
    {Dfp, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 40, StepStop},
    {HookeJeeves, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 100, TStopReason::SearchStep},
    {NelderMead, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 300, TStopReason::Simplex},
    // The gradient steps crawl along the valley to the iteration limit.
    {Steepest, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-3L, 10000,
     TStopReason::IterationLimit},
    {FixedStep, Rosenbrock, -1.2L, 1, 1e-10L, 0.001L, 1, 1, 2e-2L, 10000,
     TStopReason::IterationLimit},
    {Halving, Rosenbrock, -1.2L, 1, 1e-10L, 0.01L, 1, 1, 1e-5L, 10000, TStopReason::IterationLimit},
    // Himmelblau from (0, 0): its minimum (3, 2), or (3.584428, -1.848127) along the axes.
    {Steepest, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 100, StepStop},
    {FixedStep, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 200, StepStop},
    {Halving, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 200, StepStop},
    {Coordinate, Himmelblau, 0, 0, 1e-10L, 0.01L, 3.584428L, -1.848127L, 1e-6L, 100, StepStop},
    {FletcherReeves, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 30, StepStop},
    {PolakRibiere, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 30, StepStop},
    {DampedNewton, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 30, StepStop},
    {Bfgs, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 30, StepStop},
    {Dfp, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 30, StepStop},
    {HookeJeeves, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 100, TStopReason::SearchStep},
    {NelderMead, Himmelblau, 0, 0, 1e-10L, 0.01L, 3, 2, 1e-8L, 300, TStopReason::Simplex},
    // Newton goes to the nearest stationary point: a maximum of Himmelblau, the saddle of
    // function 1.
    {Newton, Himmelblau, 0, 0, 1e-10L, 0.01L, -0.270845L, -0.923039L, 1e-6L, 10, StepStop},
    {Newton, "1", 0.1L, 0.1L, 1e-7L, 0.99L, 0, 0, 1e-12L, 10, StepStop},
    // Newton's full step fails where the Hessian is singular and leaves a linear function at once.
    {Newton, "x+y", 2, 3, 1e-7L, 0.99L, 2, 3, 0, 1, TStopReason::SingularHessian},
    // abs has no decrease at this scale: 64 halvings of 0.99 leave the step far above 1e-30.
    {Halving, "abs(x)", 1e-30L, 0, 1e-7L, 0.99L, 1e-30L, 0, 0, 1, TStopReason::NoDecrease},
    {FixedStep, Rosenbrock, -1.2L, 1, 1e-7L, 0.1L, 0, 0, 1e30L, 10, TStopReason::OutsideDomain},
    // Direct methods that never move keep the start as their one point.
    {HookeJeeves, "0*x", 1, 1, 1e-7L, 0.99L, 1, 1, 0, 1, TStopReason::SearchStep},
};

TEST_P(MethodEndTest, EndsNearItsPointForItsReason) {
    const EndCase& c = GetParam();
    Use(c.function, c.eps, c.step);
    const TMethodOutcome outcome = Run(c.method, c.x0, c.y0);
    EXPECT_EQ(outcome.reason, c.reason) << StopReasonText(outcome.reason);
    EXPECT_LE(descent.TraceCount, c.maxIterations);
    EXPECT_GE(descent.TraceCount, 1u);
    EXPECT_LE(std::fabs(Last().X - c.x), c.within);
    EXPECT_LE(std::fabs(Last().Y - c.y), c.within);
    EXPECT_EQ(descent.DescentHitLimit, c.reason == TStopReason::IterationLimit);
}

INSTANTIATE_TEST_SUITE_P(Table, MethodEndTest, ::testing::ValuesIn(EndCases));

// On a positive-definite quadratic Newton's first step is the minimum; the conjugate-gradient
// and quasi-Newton methods are there after two line searches.
TEST_F(MethodsTest, QuadraticIsSolvedInOneOrTwoIterations) {
    for (const char* function : {Quadratic, "0"}) {
        const long double x = function == Quadratic ? -0.5L : 0;
        const long double y = function == Quadratic ? 1 : 0;
        Use(function, 1e-10L, 0.99L);
        Run(Newton, 3, 4);
        EXPECT_NEAR(static_cast<double>(descent.Trace[1].X), static_cast<double>(x), 1e-15);
        EXPECT_NEAR(static_cast<double>(descent.Trace[1].Y), static_cast<double>(y), 1e-15);
        for (const TMethod method : {FletcherReeves, PolakRibiere, Bfgs, Dfp}) {
            Run(method, 3, 4);
            ASSERT_GE(descent.TraceCount, 2u) << MethodCaption(method);
            EXPECT_LT(Distance(descent.Trace[2].X, descent.Trace[2].Y, x, y), 1e-6L)
                << MethodCaption(method) << " on " << function;
        }
    }
}

// The steepest descent of the method list is the classic run, point for point.
TEST_F(MethodsTest, SteepestDescentWithTheStepRuleIsTheClassicRun) {
    for (const char* function : {"0", "1", "2", Rosenbrock}) {
        Use(function, DefaultEps, DefaultStep);
        long double xmin = 0;
        long double ymin = 0;
        SteepestDescent(descent, 30, -30, xmin, ymin);
        const std::vector<TTracePoint> classic(descent.Trace.begin(),
                                               descent.Trace.begin() + descent.TraceCount + 1);
        Run(Steepest, 30, -30);
        ASSERT_EQ(descent.TraceCount + 1, classic.size()) << function;
        for (std::size_t k = 1; k < classic.size(); ++k) {
            EXPECT_EQ(descent.Trace[k].X, classic[k].X) << function << " #" << k;
            EXPECT_EQ(descent.Trace[k].Y, classic[k].Y) << function << " #" << k;
        }
    }
}

// Each rule holds at the last point and at no point before it.
TEST_F(MethodsTest, EachStopRuleEndsTheRunWhereItFirstHolds) {
    Use("1", 1e-6L, DefaultStep);
    const TObjective& f = BuiltinObjective(1);
    const auto holds = [&](TStopRule rule, TTracePoint p, TTracePoint q) {
        long double gx = 0;
        long double gy = 0;
        f.Gradient(q.X, q.Y, gx, gy);
        switch (rule) {
            case TStopRule::Step:
                return Distance(p.X, p.Y, q.X, q.Y) < 1e-6L;
            case TStopRule::Gradient:
                return Distance(0, 0, gx, gy) < 1e-6L;
            default:
                return std::fabs(f.Value(q.X, q.Y) - f.Value(p.X, p.Y)) < 1e-6L;
        }
    };
    for (const TStopRule rule : {TStopRule::Step, TStopRule::Gradient, TStopRule::Value}) {
        for (const TMethod method : {Steepest, FletcherReeves, Bfgs}) {
            const TMethodOutcome outcome = Run(method, 30, -30, rule);
            EXPECT_EQ(outcome.reason, static_cast<TStopReason>(rule));
            TTracePoint previous{30, -30};
            for (std::uint32_t k = 1; k <= descent.TraceCount; ++k) {
                EXPECT_EQ(holds(rule, previous, descent.Trace[k]), k == descent.TraceCount)
                    << MethodCaption(method) << " #" << k;
                previous = descent.Trace[k];
            }
        }
    }
}

// Counts every call that reaches the function.
class CallCounter final : public TObjective {
  public:
    long double Value(long double x, long double y) const override {
        ++counts.values;
        return f.Value(x, y);
    }
    void Gradient(long double x, long double y, long double& gx, long double& gy) const override {
        ++counts.gradients;
        f.Gradient(x, y, gx, gy);
    }
    void Hessian(long double x, long double y, long double& hxx, long double& hxy,
                 long double& hyy) const override {
        ++counts.hessians;
        f.Hessian(x, y, hxx, hxy, hyy);
    }
    const TObjective& f = BuiltinObjective(1);
    mutable TMethodCounts counts;
};

TEST_F(MethodsTest, CountsAreTheCallsThatReachTheFunction) {
    for (const TMethod method : AllMethods()) {
        for (const TStopRule rule : {TStopRule::Step, TStopRule::Gradient, TStopRule::Value}) {
            const auto counter = std::make_shared<CallCounter>();
            SetRun(99, 1e-6L, 0.1L);
            descent.Typed = counter;
            const TMethodCounts counts = Run(method, 3, -2, rule).counts;
            EXPECT_EQ(counts.values, counter->counts.values) << MethodCaption(method);
            EXPECT_EQ(counts.gradients, counter->counts.gradients) << MethodCaption(method);
            EXPECT_EQ(counts.hessians, counter->counts.hessians) << MethodCaption(method);
            const bool direct = method == HookeJeeves || method == NelderMead;
            EXPECT_EQ(counts.gradients == 0, direct) << MethodCaption(method);
            EXPECT_EQ(counts.hessians != 0, method == Newton || method == DampedNewton);
        }
    }
}

// Nelder–Mead keeps its simplex after every iteration; its trace point is the best vertex.
TEST_F(MethodsTest, NelderMeadKeepsEachIterationsSimplex) {
    Use("1", 1e-7L, DefaultStep);
    Run(NelderMead, 30, -30);
    ASSERT_EQ(descent.Simplices.size(), descent.TraceCount);
    for (std::uint32_t k = 1; k <= descent.TraceCount; ++k) {
        const auto& s = descent.Simplices[k - 1];
        EXPECT_EQ(s[0].X, descent.Trace[k].X);
        EXPECT_EQ(s[0].Y, descent.Trace[k].Y);
        for (const TTracePoint& v : s)
            EXPECT_GE(ObjectiveFuncs[1](v.X, v.Y), ObjectiveFuncs[1](s[0].X, s[0].Y));
    }
    Run(Bfgs, 30, -30);
    EXPECT_TRUE(descent.Simplices.empty());
}

// A refused run touches nothing: no method chosen, or the parameters the classic run refuses.
TEST_F(MethodsTest, RefusedRunsTouchNothing) {
    Use("1", DefaultEps, DefaultStep);
    Run(Bfgs, 30, -30);
    const std::uint32_t count = descent.TraceCount;
    // No method chosen: the report's run refuses it where the method would run.
    const auto refusal = [&](std::optional<TMethod> method) {
        DescentFields fields;
        fields.method = method;
        return testsupport::ErrorOf([&] { RunDescentAndReport(descent, fields, TRegion{}); })
            .value_or("no refusal");
    };
    EXPECT_EQ(refusal(MethodOfItem(-1)), NoMethodMessage);
    EXPECT_EQ(refusal(MethodOfItem(MethodCount)), NoMethodMessage);
    EXPECT_EQ(descent.TraceCount, count);
    descent.EpsValue = 0;
    EXPECT_EQ(testsupport::ErrorOf([&] { Run(HookeJeeves, 1, 1); }),
              "Точность eps должна быть положительным числом");
    EXPECT_EQ(descent.TraceCount, count);
}

// Every method with a line search reaches the quadratic's minimum under each one-dimensional
// method, and the classic run of steepest descent with the step rule too.
TEST_F(MethodsTest, EveryLineSearchReachesTheMinimum) {
    const TMethod searching[] = {Steepest, Coordinate, FletcherReeves, PolakRibiere, DampedNewton,
                                 Bfgs,     Dfp};
    for (int kind = 1; kind < LineSearchCount; ++kind) {
        for (const TMethod method : searching) {
            SCOPED_TRACE(std::string(LineSearchCaptions[kind]) + ", " + MethodCaption(method));
            Use(Quadratic, 1e-10L, 0.01L);
            descent.LineSearchMethod = static_cast<TLineSearch>(kind);
            const TMethodOutcome outcome = Run(method, 2, 2);
            EXPECT_EQ(outcome.reason, TStopReason::Step) << StopReasonText(outcome.reason);
            EXPECT_NEAR(static_cast<double>(Last().X), -0.5, 1e-5);
            EXPECT_NEAR(static_cast<double>(Last().Y), 1, 1e-5);
        }
        long double x = 0;
        long double y = 0;
        Use("0", 1e-7L, 0.99L);
        descent.LineSearchMethod = static_cast<TLineSearch>(kind);
        SteepestDescent(descent, 30, -30, x, y);
        EXPECT_NEAR(static_cast<double>(x), 0, 1e-5) << LineSearchCaptions[kind];
        EXPECT_NEAR(static_cast<double>(y), 0, 1e-5) << LineSearchCaptions[kind];
    }
}

// A run cut after N iterations gives the first N points of the whole run, for every method, the
// classic steepest descent with the step rule too, and says where it stopped.
TEST_F(MethodsTest, AStepLimitGivesTheFirstPointsOfTheWholeRun) {
    for (const TMethod method : AllMethods()) {
        Use(Himmelblau, 1e-10L, 0.01L);
        descent.StepLimit = 0;
        Run(method, 0, 0);
        const std::uint32_t count = descent.TraceCount;
        const std::vector<TTracePoint> whole(descent.Trace.begin() + 1,
                                             descent.Trace.begin() + count + 1);
        for (const std::uint32_t steps : {1u, 3u, 7u}) {
            SCOPED_TRACE(std::string(MethodCaption(method)) + ", " + std::to_string(steps));
            Use(Himmelblau, 1e-10L, 0.01L);
            descent.StepLimit = steps;
            const TMethodOutcome outcome = Run(method, 0, 0);
            const std::uint32_t expected = std::min(steps, count);
            ASSERT_EQ(descent.TraceCount, expected);
            for (std::uint32_t k = 1; k <= expected; ++k) {
                EXPECT_EQ(descent.Trace[k].X, whole[k - 1].X) << k;
                EXPECT_EQ(descent.Trace[k].Y, whole[k - 1].Y) << k;
            }
            EXPECT_EQ(outcome.reason == TStopReason::StepLimit, steps < count);
            EXPECT_EQ(descent.StoppedAtStepLimit, steps < count);
        }
    }
    long double x = 0;
    long double y = 0;
    Use("1", 1e-7L, 0.99L);
    descent.StepLimit = 4;
    SteepestDescent(descent, 30, -30, x, y);
    EXPECT_EQ(descent.TraceCount, 4u);
    EXPECT_TRUE(descent.StoppedAtStepLimit);
}

}  // namespace
}  // namespace metopt::core
