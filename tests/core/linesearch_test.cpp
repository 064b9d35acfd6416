// The one-dimensional methods over textbook functions: each interval method finds the minimiser
// within eps, Fibonacci takes exactly its count of values, and the inexact steps meet their
// conditions along the antigradient of functions 0-2 and Rosenbrock's.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "core/builtinobjective.h"
#include "core/formula/formula.h"
#include "core/linesearch.h"

namespace metopt::core {
namespace {

struct IntervalCase {
    const char* name;
    long double (*search)(const LineFunction1D&, long double, long double, long double,
                          std::vector<TLineStep>*);
};

const IntervalCase IntervalMethods[] = {{"Dichotomy", DichotomySearch},
                                        {"Fibonacci", FibonacciSearch},
                                        {"Parabolic", ParabolicSearch},
                                        {"Brent", BrentSearch}};

void PrintTo(const IntervalCase& c, std::ostream* os) {
    *os << c.name;
}

class IntervalTest : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(IntervalTest, FindsTheMinimiserWithinEps) {
    struct Function {
        LineFunction1D phi;
        long double minimiser;
    };
    const Function functions[] = {
        {[](long double x) { return (x - 2) * (x - 2); }, 2},
        {[](long double x) { return std::fabs(x - 1) + 0.5L; }, 1},
    };
    for (const Function& f : functions) {
        for (const long double eps : {1e-2L, 1e-5L, 1e-9L}) {
            int values = 0;
            const auto counted = [&](long double x) {
                ++values;
                return f.phi(x);
            };
            std::vector<TLineStep> steps;
            const long double t = GetParam().search(counted, 0, 5, eps, &steps);
            // Each step keeps the minimiser in its interval, which ends shorter than eps.
            ASSERT_FALSE(steps.empty());
            for (const TLineStep& step : steps)
                EXPECT_TRUE(step.a <= f.minimiser + eps && f.minimiser - eps <= step.b);
            EXPECT_NEAR(static_cast<double>(t), static_cast<double>(f.minimiser),
                        static_cast<double>(eps))
                << "eps " << static_cast<double>(eps) << ", minimiser "
                << static_cast<double>(f.minimiser);
            EXPECT_LT(values, 400);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, IntervalTest, ::testing::ValuesIn(IntervalMethods),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(LineSearchTest, FibonacciTakesExactlyItsCount) {
    for (const long double eps : {1e-1L, 1e-3L, 1e-7L, 1e-12L}) {
        int values = 0;
        FibonacciSearch(
            [&](long double x) {
                ++values;
                return (x - 2) * (x - 2);
            },
            0, 5, eps);
        const int n = FibonacciCount(5, eps);
        EXPECT_EQ(values, n) << static_cast<double>(eps);
        // F(n) >= 5 / eps > F(n - 1)
        long double f0 = 1;
        long double f1 = 1;
        for (int k = 2; k <= n; ++k) {
            const long double next = f0 + f1;
            f0 = f1;
            f1 = next;
        }
        EXPECT_GE(f1, 5 / eps);
        EXPECT_LT(f0, 5 / eps);
    }
    EXPECT_EQ(FibonacciCount(1, 2), 0);
}

// Along the antigradient from a few points of each function, Armijo's step decreases enough and
// Wolfe's also flattens the slope enough.
TEST(LineSearchTest, InexactStepsMeetTheirConditions) {
    const std::shared_ptr<const TFormula> rosenbrock = CompileFormula("100*(y-x*x)^2+(1-x)^2");
    const TObjective* functions[] = {&BuiltinObjective(0), &BuiltinObjective(1),
                                     &BuiltinObjective(2), rosenbrock.get()};
    const long double starts[][2] = {{0.7L, -0.4L}, {-1.2L, 1}, {3, 2.5L}};
    for (std::size_t i = 0; i < std::size(functions); ++i) {
        const TObjective& f = *functions[i];
        for (const auto& start : starts) {
            long double gx = 0;
            long double gy = 0;
            f.Gradient(start[0], start[1], gx, gy);
            const LineFunction1D phi = [&](long double t) {
                return f.Value(start[0] - t * gx, start[1] - t * gy);
            };
            const LineFunction1D slope = [&](long double t) {
                long double hx = 0;
                long double hy = 0;
                f.Gradient(start[0] - t * gx, start[1] - t * gy, hx, hy);
                return -(hx * gx + hy * gy);
            };
            SCOPED_TRACE("function " + std::to_string(i) + " from " +
                         std::to_string(static_cast<double>(start[0])));
            const long double g0 = slope(0);
            ASSERT_LT(g0, 0);
            const long double armijo = ArmijoStep(phi, slope, 1);
            EXPECT_GT(armijo, 0);
            EXPECT_LE(phi(armijo), phi(0) + ArmijoC1 * armijo * g0);
            const long double wolfe = WolfeStep(phi, slope, 1, 1e6L);
            EXPECT_GT(wolfe, 0);
            EXPECT_LE(phi(wolfe), phi(0) + ArmijoC1 * wolfe * g0);
            EXPECT_LE(std::fabs(slope(wolfe)), -WolfeC2 * g0);
        }
    }
}

}  // namespace
}  // namespace metopt::core
