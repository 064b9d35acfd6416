// The one-dimensional lab: a typed function of x (or t) minimised by each interval method within
// eps, the golden section's ratio, Fibonacci's count, the counts against eps with the theory's,
// and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "core/formula/formula1d.h"
#include "core/formula/formulaerror.h"
#include "core/minimize1d.h"
#include "support/expect_error.h"

namespace metopt::core {

// A method by its batch name in the names of the cases (found by argument-dependent lookup).
void PrintTo(TLineSearch method, std::ostream* os) {
    *os << LineSearchWords[static_cast<int>(method)];
}

namespace {

using testsupport::ErrorOf;

LineFunction1D Of(const char* text) {
    return [f = CompileFormula1D(text)](long double x) { return f->Value(x); };
}

struct Function {
    const char* name;
    const char* text;
    long double minimiser;
};

void PrintTo(const Function& f, std::ostream* os) {
    *os << f.name;
}

const Function Functions[] = {{"Square", "(x-2)^2", 2}, {"Vee", "abs(x - 1) + 0.5", 1}};

using MinimiserCase = std::tuple<TLineSearch, Function, int>;  // eps = 10^-digits

class MinimiserTest : public ::testing::TestWithParam<MinimiserCase> {};

TEST_P(MinimiserTest, FindsItWithinEpsFromTheValuesItRecords) {
    const auto& [method, function, digits] = GetParam();
    const long double eps = std::pow(10.0L, -digits);
    const LineFunction1D f = Of(function.text);
    TMinimum1D result;
    Minimize1D(f, method, {0, 5, eps}, result);
    EXPECT_EQ(result.method, method);
    EXPECT_LE(std::fabs(result.x - function.minimiser), eps);
    EXPECT_EQ(result.value, f(result.x));
    ASSERT_FALSE(result.steps.empty());
    // Every value taken lies in [0, 5] and is f's there.
    for (const TTrial& trial : result.trials) {
        EXPECT_TRUE(trial.x >= 0 && trial.x <= 5) << static_cast<double>(trial.x);
        EXPECT_EQ(trial.value, f(trial.x));
    }
    EXPECT_TRUE(result.error.empty());
}

// "golden_Square_eps1e4".
std::string CaseName(const ::testing::TestParamInfo<MinimiserCase>& test) {
    const TLineSearch method = std::get<0>(test.param);
    return std::string(LineSearchWords[static_cast<int>(method)]) + "_" +
           std::get<1>(test.param).name + "_eps1e" + std::to_string(std::get<2>(test.param));
}

INSTANTIATE_TEST_SUITE_P(Table, MinimiserTest,
                         ::testing::Combine(::testing::ValuesIn(IntervalMethods),
                                            ::testing::ValuesIn(Functions),
                                            ::testing::Values(2, 4, 6)),
                         CaseName);

TEST(Minimize1DTest, GoldenSectionNarrowsBy0618EveryStep) {
    // The mirrored point's rounding grows by 1.618 a step: after the 20 steps of 1e-4 it is still
    // far below 1e-9 of the interval.
    TMinimum1D result;
    Minimize1D(Of("(x-2)^2"), TLineSearch::Golden, {0, 5, 1e-4L}, result);
    const long double ratio = (std::sqrt(5.0L) - 1) / 2;
    long double width = 5;
    for (const TLineStep& step : result.steps) {
        EXPECT_NEAR(static_cast<double>((step.b - step.a) / width), 0.6180339887498949, 1e-9);
        width = step.b - step.a;
    }
    // 2 values leave 5 * 0.618; each further value narrows once, until shorter than eps.
    EXPECT_EQ(result.Evaluations(), result.steps.size() + 1);
    EXPECT_LT(width, 1e-4L);
    EXPECT_GE(width / ratio, 1e-4L);
}

TEST(Minimize1DTest, FibonacciTakesExactlyItsCount) {
    for (const long double eps : {1e-1L, 1e-4L, 1e-9L}) {
        TMinimum1D result;
        Minimize1D(Of("(x-2)^2"), TLineSearch::Fibonacci, {0, 5, eps}, result);
        EXPECT_EQ(result.Evaluations(), static_cast<std::size_t>(FibonacciCount(5, eps)));
        // Each step is the interval its two points leave: narrower than the one before, the
        // last one shorter than eps, a step a value after the first two.
        EXPECT_EQ(result.steps.size() + 1, result.Evaluations());
        long double width = 5;
        for (const TLineStep& step : result.steps) {
            EXPECT_LT(step.b - step.a, width);
            width = step.b - step.a;
        }
        EXPECT_LT(width, 2 * eps);
    }
}

TEST(Minimize1DTest, TheoreticalGoldenCounts) {
    // n = the smallest n >= 2 with length * 0.618^(n-1) < eps, from
    // n - 1 > ln(eps / length) / ln 0.618 = ln(eps / length) / -0.481212:
    // 5, 0.1: 8.13 -> 10; 5, 0.01: 12.91 -> 14; 5, 1e-6: 32.05 -> 34; 1, 0.5: 1.44 -> 3;
    // and 2 when the first two values leave an interval shorter than eps.
    const struct {
        long double length, eps;
        int count;
    } cases[] = {{5, 1e-1L, 10}, {5, 1e-2L, 14}, {5, 1e-6L, 34},
                 {1, 0.5L, 3},   {1, 0.7L, 2},   {1, 2, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(GoldenCount(c.length, c.eps), c.count) << static_cast<double>(c.eps);
}

TEST(Minimize1DTest, CountsAgainstEpsMatchTheTheory) {
    const TLineSearch methods[] = {TLineSearch::Fibonacci, TLineSearch::Golden};
    const std::vector<TCountRow> rows = CountEvaluations(Of("(x-2)^2"), methods, 0, 5);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows.front().eps, 1e-1L);
    EXPECT_EQ(rows.back().eps, 1e-12L);
    // F(9) = 55 >= 5 / 0.1 > F(8) = 34.
    EXPECT_EQ(rows.front().fibonacciTheory, 9);
    // The golden section's rounding makes it narrow less than 0.618 a step below eps 1e-9.
    for (const TCountRow& row : rows) {
        ASSERT_EQ(row.evaluations.size(), 2u);
        EXPECT_EQ(row.evaluations[0], static_cast<std::size_t>(row.fibonacciTheory));
        const auto theory = static_cast<std::size_t>(row.goldenTheory);
        if (row.eps >= 1e-9L)
            EXPECT_EQ(row.evaluations[1], theory) << static_cast<double>(row.eps);
        else
            EXPECT_GE(row.evaluations[1], theory) << static_cast<double>(row.eps);
    }
}

TEST(Minimize1DTest, AMethodWhoseFunctionFailsKeepsItsErrorAndTheOthersRunOn) {
    // 1/0 at the parabola's left end: the first value, at the middle, was taken.
    const TLineSearch methods[] = {TLineSearch::Parabolic, TLineSearch::Golden};
    const std::vector<TMinimum1D> results = MinimizeWithEach(Of("1/x + x"), methods, {0, 5, 1e-3L});
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].error, "Floating point division by zero");
    ASSERT_EQ(results[0].trials.size(), 1u);
    EXPECT_EQ(results[0].trials[0].x, 2.5L);
    EXPECT_TRUE(std::isnan(results[0].x));
    EXPECT_EQ(results[1].error, "");
    EXPECT_NEAR(static_cast<double>(results[1].x), 1, 1e-3);
}

TEST(Minimize1DTest, TIsTheSameVariableAndYHasNoPlace) {
    EXPECT_EQ(CompileFormula1D("(t-2)^2")->Value(5), 9);
    EXPECT_EQ(CompileFormula1D("T*x + t")->Value(3), 12);
    EXPECT_EQ(CompileFormula1D(" t ")->Text(), " t ");
    EXPECT_EQ(CompileFormula1D("sqrt(t), st = 1")->Value(4), 2);
    const struct {
        const char* text;
        const char* message;
    } faults[] = {
        {"2t", "Ошибка в формуле, знак 2: нет знака действия перед \"t\""},
        {"2 T", "Ошибка в формуле, знак 3: нет знака действия перед \"T\""},
        {"x + y*t", "Ошибка в формуле, знак 5: в функции одной переменной нет y: пишите x или t"},
        {"t^2, t = 1", "Ошибка в формуле, знак 6: имя \"t\" нельзя определить"},
        {"(t", "Ошибка в формуле, знак 2: ожидается \")\""},
        {"tt + 1", "Ошибка в формуле, знак 1: неизвестное имя \"tt\""},
    };
    for (const auto& fault : faults) {
        testsupport::ExpectError<EFormulaError>([&] { CompileFormula1D(fault.text); },
                                                fault.message);
    }
}

TEST(Minimize1DTest, RefusesWhatCannotBeNarrowed) {
    const long double inf = INFINITY;
    const struct {
        TInterval1D interval;
        const char* message;
    } cases[] = {
        {{5, 5, 1e-3L}, "Начало отрезка a должно быть меньше его конца b"},
        {{5, 0, 1e-3L}, "Начало отрезка a должно быть меньше его конца b"},
        {{NAN, 5, 1e-3L}, "Концы отрезка a и b должны быть конечными числами"},
        {{0, inf, 1e-3L}, "Концы отрезка a и b должны быть конечными числами"},
        {{-1e4932L, 1e4932L, 1e-3L}, "Отрезок [a, b] слишком длинный"},
        {{0, 5, 0}, "Точность eps должна быть положительным конечным числом"},
        {{0, 5, -1e-3L}, "Точность eps должна быть положительным конечным числом"},
        {{0, 5, inf}, "Точность eps должна быть положительным конечным числом"},
        {{0, 5, NAN}, "Точность eps должна быть положительным конечным числом"},
    };
    for (const auto& c : cases) {
        TMinimum1D result;
        EXPECT_EQ(ErrorOf([&] { Minimize1D(Of("x"), TLineSearch::Golden, c.interval, result); }),
                  c.message);
        EXPECT_TRUE(result.trials.empty());
    }
    TMinimum1D result;
    EXPECT_EQ(ErrorOf([&] {
                  Minimize1D(Of("x"), TLineSearch::Armijo, {0, 5, 1e-3L}, result);
              }),
              "Этот метод не сужает отрезок");
}

}  // namespace
}  // namespace metopt::core
