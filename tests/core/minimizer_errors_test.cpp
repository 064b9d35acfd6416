// Runs that fail and runs that are refused: what each leaves in the trace and in the
// floating-point flags, and the limit of the scan.
#include <gtest/gtest.h>

#include <cfenv>
#include <cstddef>
#include <ostream>
#include <string>

#include "core/minimizer.h"
#include "runtime/exceptions.h"
#include "support/descent_fixture.h"
#include "support/expect_error.h"

namespace metopt::core {
namespace {

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
    testsupport::ExpectError(
        [&] {
            long double xmin = 0;
            long double ymin = 0;
            SteepestDescent(descent, 1, 2, xmin, ymin);
        },
        c.message);
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

}  // namespace
}  // namespace metopt::core
