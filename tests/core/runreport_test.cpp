#include "core/runreport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/builtinfunctions.h"
#include "core/equationitems.h"
#include "core/formula/formula.h"
#include "core/minimizer.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numformat.h"
#include "runtime/numparse.h"
#include "support/expect_error.h"

namespace metopt::core {
namespace {

// The parameter page as the window opens: function 1 from (30, -30).
DescentFields DefaultFields(std::int32_t funcIndex = 1) {
    DescentFields fields;
    fields.funcIndex = funcIndex;
    return fields;
}

const TRegion NoScanYet{};
const TRegion DefaultRegion{-1.3L, 1.3L, -1.3L, 1.3L};

// What follows "Точка минимума: zmin = " and "#k: ".
std::string AfterPrefix(const std::string& line, const std::string& prefix) {
    EXPECT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
    return line.substr(prefix.size());
}

class ReportTest : public ::testing::Test {
  protected:
    void SetUp() override { runtime::SetDecimalSeparator('.'); }
    void TearDown() override { runtime::SetDecimalSeparator('.'); }

    TDescent descent;
};

TEST_F(ReportTest, DefaultRunBeforeAnyScan) {
    const std::vector<std::string> lines = RunDescentAndReport(descent, DefaultFields(), NoScanYet);
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "Видимая область: x = 0 .. 0, y=0 .. 0");
    EXPECT_EQ(lines[2], "Начальная точка: x0 = 30.0, y0 = -30.0");
    EXPECT_EQ(lines[3].rfind("Точка минимума: zmin = z( 0.99999", 0), 0u) << lines[3];
    EXPECT_EQ(lines[4], "Скорейший спуск прошел за 43 итерац.");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "Трасса спуска:");
    EXPECT_EQ(lines[7].rfind("#1: z( ", 0), 0u) << lines[7];
    EXPECT_EQ(lines[48].rfind("#42: z( ", 0), 0u) << lines[48];
    // The last trace line shows the same point and value as the minimum line.
    EXPECT_EQ(AfterPrefix(lines[49], "#43: "), AfterPrefix(lines[3], "Точка минимума: zmin = "));
}

// A line search other than the golden section is named after the start, for a run and for a
// comparison alike.
TEST_F(ReportTest, AnotherLineSearchIsNamed) {
    DescentFields fields = DefaultFields();
    fields.lineSearch = TLineSearch::Brent;
    const std::vector<std::string> lines = RunDescentAndReport(descent, fields, NoScanYet);
    EXPECT_EQ(lines[3], "Одномерный поиск: Метод Брента");
    EXPECT_EQ(lines[4].rfind("Точка минимума: zmin = z( ", 0), 0u) << lines[4];
    EXPECT_EQ(descent.LineSearchMethod, TLineSearch::Brent);
    TComparison comparison;
    const TMethod methods[] = {TMethod::SteepestDescent};
    fields.lineSearch = TLineSearch::Armijo;
    const std::vector<std::string> compared =
        RunComparisonAndReport(descent, comparison, fields, methods, NoScanYet);
    EXPECT_EQ(compared[3], "Одномерный поиск: Армихо (дробление шага)");
}

TEST_F(ReportTest, SetsTheRunParametersFromTheFields) {
    RunDescentAndReport(descent, DefaultFields(2), NoScanYet);
    EXPECT_EQ(descent.EpsValue, runtime::ParseNumber("0.0000001"));
    EXPECT_EQ(descent.EpsValue, 1e-7L);
    EXPECT_EQ(descent.StepValue, 0.99L);
    EXPECT_EQ(descent.DomainRadius, 1000.0L);
    EXPECT_EQ(descent.FuncIndex, 2);
    EXPECT_EQ(descent.TraceCount, 2u);
}

TEST_F(ReportTest, RegionLineAfterAScanOfTheDefaultRegion) {
    const std::vector<std::string> lines =
        RunDescentAndReport(descent, DefaultFields(), DefaultRegion);
    EXPECT_EQ(lines[1], "Видимая область: x = -1.3 .. 1.3, y=-1.3 .. 1.3");
}

struct CountCase {
    const char* name;
    std::int32_t funcIndex;
    const char* countLine;
    std::size_t lineCount;
};

void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportCountTest : public ReportTest, public ::testing::WithParamInterface<CountCase> {};

const CountCase CountCases[] = {
    {"Paraboloid", 0, "Скорейший спуск прошел за 3 итерац.", 10},
    {"TwoValleys", 1, "Скорейший спуск прошел за 43 итерац.", 50},
    {"RadialSinc", 2, "Скорейший спуск прошел за 2 итерац.", 9},
};

TEST_P(ReportCountTest, CountLineAndOneLinePerTracePoint) {
    const CountCase& c = GetParam();
    const std::vector<std::string> lines =
        RunDescentAndReport(descent, DefaultFields(c.funcIndex), NoScanYet);
    ASSERT_EQ(lines.size(), c.lineCount);
    EXPECT_EQ(lines[4], c.countLine);
    for (std::size_t k = 1; k + 7 <= lines.size(); ++k) {
        const std::string prefix = "#" + std::to_string(k) + ": z( ";
        EXPECT_EQ(lines[6 + k].rfind(prefix, 0), 0u) << lines[6 + k];
    }
    EXPECT_EQ(AfterPrefix(lines.back(), "#" + std::to_string(lines.size() - 7) + ": "),
              AfterPrefix(lines[3], "Точка минимума: zmin = "));
}

INSTANTIATE_TEST_SUITE_P(Table, ReportCountTest, ::testing::ValuesIn(CountCases),
                         [](const ::testing::TestParamInfo<CountCase>& row) {
                             return std::string(row.param.name);
                         });

TEST_F(ReportTest, MinimumLineOfTheRadialFunction) {
    // Function 2 moves along x = -y to the ring r cos r = sin r, r = 42.3879, x = 29.97278...
    const std::vector<std::string> lines =
        RunDescentAndReport(descent, DefaultFields(2), NoScanYet);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[3].rfind("Точка минимума: zmin = z( 29.97278", 0), 0u) << lines[3];
    EXPECT_NE(lines[3].find(", -29.97278"), std::string::npos) << lines[3];
    EXPECT_NE(lines[3].find(" ) = -0.02358506"), std::string::npos) << lines[3];
}

TEST_F(ReportTest, CommaSeparatorAppliesToTheNumbersOnly) {
    runtime::SetDecimalSeparator(',');
    const std::vector<std::string> lines =
        RunDescentAndReport(descent, DefaultFields(), DefaultRegion);
    EXPECT_EQ(lines[1], "Видимая область: x = -1,3 .. 1,3, y=-1,3 .. 1,3");
    // The field texts are printed as typed.
    EXPECT_EQ(lines[2], "Начальная точка: x0 = 30.0, y0 = -30.0");
    EXPECT_EQ(lines[3].rfind("Точка минимума: zmin = z( 0,99999", 0), 0u) << lines[3];
    EXPECT_EQ(lines[4], "Скорейший спуск прошел за 43 итерац.");
}

TEST_F(ReportTest, LenientlyReadFieldIsPrintedAsTyped) {
    // "3,5" reads as 3: the run is the one from (3, -30).
    DescentFields typed = DefaultFields(0);
    typed.x0 = "3,5";
    const std::vector<std::string> fromTyped = RunDescentAndReport(descent, typed, NoScanYet);
    DescentFields three = DefaultFields(0);
    three.x0 = "3";
    const std::vector<std::string> fromThree = RunDescentAndReport(descent, three, NoScanYet);

    EXPECT_EQ(fromTyped[2], "Начальная точка: x0 = 3,5, y0 = -30.0");
    EXPECT_EQ(fromThree[2], "Начальная точка: x0 = 3, y0 = -30.0");
    ASSERT_EQ(fromTyped.size(), fromThree.size());
    for (std::size_t i = 3; i < fromTyped.size(); ++i)
        EXPECT_EQ(fromTyped[i], fromThree[i]) << i;
}

TEST_F(ReportTest, UnreadableExponentStopsAtThatField) {
    RunDescentAndReport(descent, DefaultFields(0), NoScanYet);
    ASSERT_EQ(descent.TraceCount, 3u);

    DescentFields fields = DefaultFields(2);
    fields.eps = "0.001";
    fields.step = "1e99999";
    fields.radius = "5";
    EXPECT_THROW(RunDescentAndReport(descent, fields, NoScanYet), runtime::EOverflow);
    EXPECT_EQ(descent.EpsValue, 0.001L);       // read before the failing field
    EXPECT_EQ(descent.StepValue, 0.99L);       // unchanged
    EXPECT_EQ(descent.DomainRadius, 1000.0L);  // unchanged
    EXPECT_EQ(descent.FuncIndex, 0);           // unchanged
    EXPECT_EQ(descent.TraceCount, 3u);
}

TEST_F(ReportTest, RefusedRunKeepsTheParametersReadAndTheTrace) {
    RunDescentAndReport(descent, DefaultFields(0), NoScanYet);
    const TTracePoint first = descent.Trace[1];

    DescentFields fields = DefaultFields(-1);
    fields.eps = "0.5";
    fields.radius = "20";
    testsupport::ExpectError([&] { RunDescentAndReport(descent, fields, NoScanYet); },
                             "Уравнение не выбрано: выберите его из списка");
    EXPECT_EQ(descent.EpsValue, 0.5L);
    EXPECT_EQ(descent.DomainRadius, 20.0L);
    EXPECT_EQ(descent.FuncIndex, -1);
    EXPECT_EQ(descent.TraceCount, 3u);
    EXPECT_EQ(descent.Trace[1].X, first.X);
}

TEST_F(ReportTest, FloatingPointErrorInTheRunRaises) {
    DescentFields fields = DefaultFields(1);
    fields.x0 = "1e2467";
    EXPECT_THROW(RunDescentAndReport(descent, fields, NoScanYet), runtime::EOverflow);
    EXPECT_EQ(descent.FuncIndex, 1);
    EXPECT_EQ(descent.EpsValue, 1e-7L);
    EXPECT_EQ(descent.TraceCount, 1u);
}

TEST_F(ReportTest, RunAtTheIterationLimitEndsWithTheLimitLine) {
    // Function 0 with the bracket [-0.2, 0.2]: the point only shrinks by 0.6 per iteration.
    DescentFields fields;
    fields.x0 = "0.1";
    fields.y0 = "0";
    fields.eps = "1e-3000";
    fields.step = "0.2";
    fields.radius = "0.4";
    fields.funcIndex = 0;
    const std::vector<std::string> lines = RunDescentAndReport(descent, fields, NoScanYet);
    ASSERT_EQ(lines.size(), 7u + 10000u + 1u);
    EXPECT_EQ(lines[4], "Скорейший спуск прошел за 10000 итерац.");
    EXPECT_EQ(lines[lines.size() - 2].rfind("#10000: z( ", 0), 0u);
    EXPECT_EQ(lines.back(), "Спуск остановлен: достигнут предел в 10000 итераций");
    EXPECT_EQ(lines.back(), IterationLimitLine);
}

// --- Typed functions ---

DescentFields TypedFields(const std::string& text, std::int32_t funcIndex = -1) {
    DescentFields fields = DefaultFields(funcIndex);
    fields.typed = CompileFormula(text);
    fields.formula = text;
    return fields;
}

TEST_F(ReportTest, TypedParaboloidReportsAsItemZeroButForTheFunctionLine) {
    const std::vector<std::string> item = RunDescentAndReport(descent, DefaultFields(0), NoScanYet);
    const std::vector<std::string> typed =
        RunDescentAndReport(descent, TypedFields("x*x+y*y"), NoScanYet);
    ASSERT_EQ(typed.size(), item.size() + 1);
    EXPECT_EQ(typed[0], "");
    EXPECT_EQ(typed[1], "Функция: z = x*x+y*y");
    for (std::size_t i = 1; i < item.size(); ++i)
        EXPECT_EQ(typed[i + 1], item[i]) << i;
}

TEST_F(ReportTest, BuiltInItemIgnoresATypedFunction) {
    DescentFields fields = TypedFields("x*x+y*y", 1);
    const std::vector<std::string> lines = RunDescentAndReport(descent, fields, NoScanYet);
    EXPECT_EQ(lines[1].rfind("Видимая область", 0), 0u);
    EXPECT_EQ(lines[4], "Скорейший спуск прошел за 43 итерац.");
}

struct ClassicRunCase {
    int classic;
    const char* x0;
    const char* y0;
};

void PrintTo(const ClassicRunCase& c, std::ostream* os) {
    *os << "classic " << c.classic << " from (" << c.x0 << ", " << c.y0 << ")";
}

class ClassicRunTest : public ReportTest, public ::testing::WithParamInterface<ClassicRunCase> {};

// Rosenbrock from (-1.2, 1) and Himmelblau from (0, 0): the run ends lower than it began.
const ClassicRunCase ClassicRuns[] = {{0, "-1.2", "1"}, {1, "0", "0"}};

TEST_P(ClassicRunTest, RunsAndReports) {
    const ClassicRunCase& c = GetParam();
    const std::string text = ClassicFormulas[c.classic];
    DescentFields fields = TypedFields(text, 3 + c.classic);
    fields.formula = text.substr(1);
    fields.x0 = c.x0;
    fields.y0 = c.y0;
    const std::vector<std::string> lines = RunDescentAndReport(descent, fields, NoScanYet);
    EXPECT_EQ(lines[1], "Функция: z = " + text.substr(1));
    EXPECT_GE(descent.TraceCount, 2u);
    const TTracePoint& last = descent.Trace[descent.TraceCount];
    EXPECT_LT(fields.typed->Value(last.X, last.Y),
              fields.typed->Value(runtime::ParseNumber(c.x0), runtime::ParseNumber(c.y0)));
    EXPECT_EQ(TraceObjective(descent), fields.typed.get());
}

INSTANTIATE_TEST_SUITE_P(Classics, ClassicRunTest, ::testing::ValuesIn(ClassicRuns));

}  // namespace
}  // namespace metopt::core
