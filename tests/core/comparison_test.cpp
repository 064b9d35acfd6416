// A comparison of methods: each row is the method run alone, a failing method keeps its error
// without stopping the others, the refusals, and the convergence series of a run.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "core/builtinobjective.h"
#include "core/formula/formula.h"
#include "core/methods/comparison.h"
#include "runtime/exceptions.h"
#include "support/descent_fixture.h"
#include "support/expect_error.h"

namespace metopt::core {
namespace {

class ComparisonTest : public MinimizerTest {};

TEST_F(ComparisonTest, EachRowIsTheMethodRunAlone) {
    SetRun(1, 1e-6L, 0.1L);
    const auto all = AllMethods();
    for (const TStopRule rule : {TStopRule::Step, TStopRule::Gradient}) {
        const TComparison comparison = RunComparison(descent, all, rule, 3, -2);
        ASSERT_EQ(comparison.runs.size(), all.size());
        for (const TComparedRun& run : comparison.runs) {
            SCOPED_TRACE(MethodCaption(run.method));
            TDescent alone = descent;
            const TMethodOutcome outcome = RunMethod(alone, run.method, rule, 3, -2);
            ASSERT_TRUE(run.outcome.has_value()) << run.error;
            EXPECT_EQ(run.outcome->reason, outcome.reason);
            EXPECT_EQ(run.outcome->counts.values, outcome.counts.values);
            EXPECT_EQ(run.outcome->counts.gradients, outcome.counts.gradients);
            EXPECT_EQ(run.outcome->counts.hessians, outcome.counts.hessians);
            ASSERT_EQ(run.descent.TraceCount, alone.TraceCount);
            for (std::uint32_t k = 1; k <= alone.TraceCount; ++k) {
                EXPECT_EQ(run.descent.Trace[k].X, alone.Trace[k].X);
                EXPECT_EQ(run.descent.Trace[k].Y, alone.Trace[k].Y);
            }
        }
    }
    // The parameters' own trace is not touched.
    EXPECT_EQ(descent.TraceCount, 0u);
}

// ln of a negative number: the line search of Newton's direction scans past x = 0, coordinate
// descent and Hooke–Jeeves stay right of it and reach the minimum (1, 0).
TEST_F(ComparisonTest, AFailingMethodKeepsItsErrorAndTheOthersRun) {
    SetRun(99, 1e-7L, 0.99L);
    descent.Typed = CompileFormula("x-ln(x)+y*y");
    const TMethod methods[] = {TMethod::DampedNewton, TMethod::CoordinateDescent,
                               TMethod::HookeJeeves};
    const TComparison comparison = RunComparison(descent, methods, TStopRule::Step, 3, 1);
    EXPECT_EQ(comparison.runs[0].error, "Invalid floating point operation");
    EXPECT_FALSE(comparison.runs[0].outcome.has_value());
    for (const std::size_t i : {1u, 2u}) {
        EXPECT_TRUE(comparison.runs[i].outcome.has_value()) << comparison.runs[i].error;
        const TTracePoint end =
            comparison.runs[i].descent.Trace[comparison.runs[i].descent.TraceCount];
        EXPECT_NEAR(static_cast<double>(end.X), 1, 1e-6);
    }
}

// The method list's items name the methods in order; -1 (none chosen) and numbers past the list
// name none, so that a run refuses them.
TEST(MethodItemTest, ItemsNameTheMethodsInOrder) {
    EXPECT_EQ(MethodOfItem(-1), std::nullopt);
    EXPECT_EQ(MethodOfItem(MethodCount), std::nullopt);
    EXPECT_EQ(MethodOfItem(0), TMethod::SteepestDescent);
    EXPECT_EQ(MethodOfItem(11), TMethod::NelderMead);
    for (const TMethod method : AllMethods())
        EXPECT_EQ(MethodOfItem(ItemOf(method)), method);
    EXPECT_STREQ(MethodCaption(TMethod::Bfgs), "Квазиньютоновский метод BFGS");
}

TEST_F(ComparisonTest, RefusesNoMethodsAndBadParameters) {
    SetRun(1);
    const auto refusal = [&](std::vector<TMethod> methods) {
        return testsupport::ErrorOf([&] { RunComparison(descent, methods, TStopRule::Step, 1, 1); })
            .value_or("no refusal");
    };
    EXPECT_EQ(refusal({}), "Для сравнения не выбран ни один метод");
    descent.StepValue = 0;
    EXPECT_EQ(refusal({TMethod::SteepestDescent}),
              "Шаг сканирования h_step должен быть положительным числом");
}

TEST_F(ComparisonTest, ConvergenceSeriesFollowTheTrace) {
    SetRun(1);
    RunMethod(descent, TMethod::Bfgs, TStopRule::Step, 30, -30);
    const TObjective& f = BuiltinObjective(1);
    const TConvergence series = ConvergenceOf(f, descent);
    ASSERT_EQ(series.value.size(), descent.TraceCount);
    ASSERT_EQ(series.gradientNorm.size(), descent.TraceCount);
    TTracePoint previous{30, -30};
    for (std::uint32_t k = 1; k <= descent.TraceCount; ++k) {
        const TTracePoint p = descent.Trace[k];
        long double gx = 0;
        long double gy = 0;
        f.Gradient(p.X, p.Y, gx, gy);
        EXPECT_EQ(series.value[k - 1], f.Value(p.X, p.Y));
        EXPECT_EQ(series.gradientNorm[k - 1], Distance(0, 0, gx, gy));
        EXPECT_EQ(series.step[k - 1], Distance(previous.X, previous.Y, p.X, p.Y));
        previous = p;
    }
}

}  // namespace
}  // namespace metopt::core
