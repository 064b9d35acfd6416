// Runs with constraints: the constraints' language, the auxiliary functions' exact derivatives,
// textbook problems solved by every constraint method that applies, and the runs refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/constrained/auxiliaryfunction.h"
#include "core/constrained/constrainedrun.h"
#include "core/formula/constraintformula.h"
#include "core/formula/formula.h"
#include "core/runreport.h"
#include "support/descent_fixture.h"
#include "support/expect_error.h"

namespace metopt::core {
namespace {

using Method = TConstraintMethod;

void ExpectNear(long double actual, long double expected, long double tolerance) {
    EXPECT_LE(std::fabs(actual - expected), tolerance)
        << static_cast<double>(actual) << " instead of " << static_cast<double>(expected);
}

// --- The language ---

struct ConstraintCase {
    const char* text;
    TConstraintKind kind;
    long double x, y, g;  // g at (x, y)
};
std::ostream& operator<<(std::ostream& out, const ConstraintCase& c) {
    return out << '"' << c.text << '"';
}

class ConstraintLanguage : public ::testing::TestWithParam<ConstraintCase> {
  protected:
    void SetUp() override { runtime::InitFpu(); }
};

TEST_P(ConstraintLanguage, CompilesToTheFunctionOfGBelowZero) {
    const ConstraintCase& c = GetParam();
    const TConstraint constraint = CompileConstraint(c.text, 1);
    EXPECT_EQ(constraint.kind, c.kind);
    EXPECT_EQ(constraint.text, TrimmedFormula(c.text));
    EXPECT_EQ(constraint.g->Value(c.x, c.y), c.g);
}

INSTANTIATE_TEST_SUITE_P(
    Relations, ConstraintLanguage,
    ::testing::Values(ConstraintCase{"x+y <= 1", TConstraintKind::Inequality, 2, 3, 4},
                      ConstraintCase{"x^2 >= y", TConstraintKind::Inequality, 2, 5, 1},
                      ConstraintCase{" x = 2*y ", TConstraintKind::Equality, 1, 2, -3},
                      ConstraintCase{"x < 1", TConstraintKind::Inequality, 3, 0, 2},
                      ConstraintCase{"x > y", TConstraintKind::Inequality, 3, 1, -2},
                      ConstraintCase{"r \u2264 2, r = x*x + y*y", TConstraintKind::Inequality, 1, 1,
                                     0},
                      ConstraintCase{"1 \u2265 x", TConstraintKind::Inequality, 4, 0, 3}));

struct RefusedCase {
    const char* text;
    const char* message;
};
std::ostream& operator<<(std::ostream& out, const RefusedCase& c) {
    return out << '"' << c.text << '"';
}

class RefusedConstraint : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedConstraint, NamesTheConstraintAndThePosition) {
    testsupport::ExpectError([&] { CompileConstraintLines(GetParam().text); }, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedConstraint,
    ::testing::Values(
        RefusedCase{"x+y", "Ошибка в ограничении 1, знак 3: ожидается знак сравнения <=, >= или ="},
        RefusedCase{"x <= 1\n\n y >=",
                    "Ошибка в ограничении 2, знак 5: нет выражения после "
                    "знака сравнения"},
        RefusedCase{"x <= 1 <= 2", "Ошибка в ограничении 1, знак 8: недопустимый знак \"<\""},
        RefusedCase{"x <= z", "Ошибка в ограничении 1, знак 6: неизвестное имя \"z\""},
        RefusedCase{"x = 1, a = ",
                    "Ошибка в ограничении 1, знак 10: нет числа или скобки после "
                    "\"=\""}));

TEST(ConstraintLines, SkipBlankLinesAndTakeAtMostSixteen) {
    EXPECT_TRUE(CompileConstraintLines(" \r\n\t\n").empty());
    EXPECT_EQ(CompileConstraintLines("x <= 1\r\n\ny >= 0\n").size(), 2u);
    // The first one too many is named, however many follow.
    for (const int count : {17, 20}) {
        std::string lines;
        for (int i = 0; i < count; ++i)
            lines += "x <= " + std::to_string(i) + "\n";
        testsupport::ExpectError([&] { CompileConstraintLines(lines); },
                                 "Ошибка в ограничении 17: ограничений не больше 16");
    }
}

// --- The auxiliary functions ---

struct AuxiliaryCase {
    Method method;
    long double x, y;
};
std::ostream& operator<<(std::ostream& out, const AuxiliaryCase& c) {
    return out << ConstraintMethodNames[static_cast<int>(c.method)] << " at (" << double(c.x)
               << ", " << double(c.y) << ")";
}

class AuxiliaryDerivatives : public ::testing::TestWithParam<AuxiliaryCase> {
  protected:
    void SetUp() override { runtime::InitFpu(); }
};

// Each derivative against central differences of the one below it.
TEST_P(AuxiliaryDerivatives, AgreeWithDifferences) {
    const auto f = CompileFormula("x^2*y+sin(y)");
    const TConstraints constraints =
        CompileConstraintLines("x^2+y^2 <= 4\nx*y >= -1\nx - y^3 = 0.5");
    const TAuxiliaryFunction a(*f, constraints, GetParam().method, 3, {0.5L, 0.25L, -0.75L});
    const long double x = GetParam().x;
    const long double y = GetParam().y;
    const long double h = 1e-6L;
    long double gx = 0, gy = 0, hxx = 0, hxy = 0, hyy = 0;
    a.Gradient(x, y, gx, gy);
    a.Hessian(x, y, hxx, hxy, hyy);
    ExpectNear(gx, (a.Value(x + h, y) - a.Value(x - h, y)) / (2 * h), 1e-6L);
    ExpectNear(gy, (a.Value(x, y + h) - a.Value(x, y - h)) / (2 * h), 1e-6L);
    long double px = 0, py = 0, mx = 0, my = 0;
    a.Gradient(x + h, y, px, py);
    a.Gradient(x - h, y, mx, my);
    ExpectNear(hxx, (px - mx) / (2 * h), 1e-5L);
    ExpectNear(hxy, (py - my) / (2 * h), 1e-5L);
    a.Gradient(x, y + h, px, py);
    a.Gradient(x, y - h, mx, my);
    ExpectNear(hyy, (py - my) / (2 * h), 1e-5L);
}

INSTANTIATE_TEST_SUITE_P(Methods, AuxiliaryDerivatives,
                         ::testing::Values(AuxiliaryCase{Method::Penalty, 0.5L, 0.3L},
                                           AuxiliaryCase{Method::Penalty, 2.5L,
                                                         -1.5L},  // both inequalities violated
                                           AuxiliaryCase{Method::LogBarrier, 0.5L, 0.3L},
                                           AuxiliaryCase{Method::InverseBarrier, 0.5L, 0.3L},
                                           AuxiliaryCase{Method::Lagrange, 0.5L, 0.3L},
                                           AuxiliaryCase{Method::Lagrange, 2.5L, -1.5L}));

TEST(Barrier, IsAWallRisingOutwardAndRefusesDerivativesOutside) {
    runtime::InitFpu();
    const auto f = CompileFormula("x+y");
    const TConstraints constraints = CompileConstraintLines("x <= 1");
    const TAuxiliaryFunction a(*f, constraints, Method::LogBarrier, 1);
    EXPECT_GE(a.Value(1, 0), 1e4000L);
    EXPECT_GT(a.Value(3, 0), a.Value(2, 0));
    EXPECT_LT(a.Value(0.5L, 0), 10);
    long double gx = 0, gy = 0;
    testsupport::ExpectError([&] { a.Gradient(2, 0, gx, gy); }, OutsideBarrierMessage);
}

// --- Textbook problems ---

struct Problem {
    const char* name;
    const char* f;
    std::vector<std::string> constraints;
    TTracePoint start;  // strictly inside every inequality
    TTracePoint solution;
    long double value;
    bool hasInequalities;
};

const Problem Problems[] = {
    {"circle_line", "x^2+y^2", {"x + y = 1"}, {3, -2}, {0.5L, 0.5L}, 0.5L, false},
    {"parabola_and_line",
     "(x-2)^2+(y-1)^2",
     {"x^2 - y <= 0", "x + y <= 2"},
     {0, 1},
     {1, 1},
     1,
     true},
    {"rosenbrock_in_disc", "(1-x)^2+100*(y-x^2)^2", {"x^2+y^2 <= 2"}, {0, 0}, {1, 1}, 0, true},
    {"linear_over_disc", "x + y", {"x^2+y^2 <= 2"}, {0, 0}, {-1, -1}, -2, true},
    // Hock and Schittkowski's problem 21 with its active bound x >= 2.
    {"hock_schittkowski_21",
     "0.01*x^2+y^2-100",
     {"10*x - y >= 10", "x >= 2"},
     {3, 1},
     {2, 0},
     -99.96L,
     true},
};

struct ProblemCase {
    const Problem* problem;
    Method method;
    TMethod inner;
};
std::ostream& operator<<(std::ostream& out, const ProblemCase& c) {
    return out << c.problem->name << " by " << ConstraintMethodNames[static_cast<int>(c.method)]
               << " over " << MethodCaption(c.inner);
}

std::vector<ProblemCase> ProblemCases() {
    std::vector<ProblemCase> cases;
    for (const Problem& problem : Problems) {
        for (Method method :
             {Method::Penalty, Method::LogBarrier, Method::InverseBarrier, Method::Lagrange}) {
            if (IsBarrier(method) && !problem.hasInequalities)
                continue;
            for (TMethod inner : {TMethod::Bfgs, TMethod::DampedNewton})
                cases.push_back({&problem, method, inner});
        }
    }
    return cases;
}

class ConstrainedRun : public testsupport::MinimizerTest {
  protected:
    void SetUp() override { runtime::InitFpu(); }

    TConstrainedOutcome Run(const char* formula, const TConstraints& constraints, Method method,
                            TMethod inner, TTracePoint start) {
        SetRun(-1);
        descent.Typed = CompileFormula(formula);
        TConstraintSettings settings;
        settings.method = method;
        return RunConstrained(descent, inner, TStopRule::Gradient, constraints, settings, start.X,
                              start.Y);
    }
};

class TextbookProblem : public ConstrainedRun, public ::testing::WithParamInterface<ProblemCase> {};

TEST_P(TextbookProblem, EndsAtTheSolution) {
    const Problem& problem = *GetParam().problem;
    const TConstraints constraints = CompileConstraintList(problem.constraints);
    const TConstrainedOutcome outcome =
        Run(problem.f, constraints, GetParam().method, GetParam().inner, problem.start);
    ASSERT_EQ(outcome.stop, TOuterStop::Converged);
    const TTracePoint end = descent.Trace[descent.TraceCount];
    ExpectNear(end.X, problem.solution.X, 1e-5L);
    ExpectNear(end.Y, problem.solution.Y, 1e-5L);
    ExpectNear(outcome.outer.back().value, problem.value, 1e-5L);
    // One inner path per outer point, each from the point before.
    ASSERT_EQ(descent.InnerTraces.size(), descent.TraceCount);
    EXPECT_EQ(descent.InnerTraces.front().front().X, problem.start.X);
    EXPECT_EQ(descent.InnerTraces.back().back().X, end.X);
    if (IsBarrier(GetParam().method)) {
        for (std::uint32_t k = 1; k <= descent.TraceCount; ++k)
            EXPECT_EQ(FirstNotStrictlyInside(constraints, descent.Trace[k].X, descent.Trace[k].Y),
                      0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Problems, TextbookProblem, ::testing::ValuesIn(ProblemCases()),
                         [](const auto& param) {
                             std::string name = param.param.problem->name;
                             name += "_";
                             name += ConstraintMethodNames[static_cast<int>(param.param.method)];
                             name += param.param.inner == TMethod::Bfgs ? "_bfgs" : "_newton";
                             for (char& c : name)
                                 c = c == '-' ? '_' : c;
                             return name;
                         });

TEST_F(ConstrainedRun, BarrierRefusesAStartOutsideWherePenaltyConverges) {
    const TConstraints constraints = CompileConstraintLines("x^2 - y <= 0\nx + y <= 2");
    for (Method barrier : {Method::LogBarrier, Method::InverseBarrier}) {
        testsupport::ExpectError(
            [&] {
                Run("(x-2)^2+(y-1)^2", constraints, barrier, TMethod::Bfgs, {3, 3});
            },
            "Барьерный метод начинает внутри допустимой области: в начальной точке не выполнено "
            "строго ограничение 1");
        EXPECT_EQ(descent.TraceCount, 0u);
    }
    const TConstrainedOutcome outcome =
        Run("(x-2)^2+(y-1)^2", constraints, Method::Penalty, TMethod::Bfgs, {3, 3});
    EXPECT_EQ(outcome.stop, TOuterStop::Converged);
    ExpectNear(descent.Trace[descent.TraceCount].X, 1, 1e-5L);
}

TEST_F(ConstrainedRun, RefusesSettingsThatCannotEnd) {
    const TConstraints constraints = CompileConstraintLines("x <= 1");
    SetRun(1);
    struct Refused {
        TConstraintSettings settings;
        const char* message;
    } refused[] = {
        {{Method::Penalty, 0, 10, 1e-6L}, "Коэффициент r0 должен быть больше 0"},
        {{Method::Penalty, 1, 0.5L, 1e-6L}, "Рост коэффициента C должен быть не меньше 1"},
        {{Method::Penalty, 1, 10, 0}, "eps внешнего цикла должен быть больше 0"},
    };
    for (const Refused& r : refused) {
        testsupport::ExpectError(
            [&] {
                RunConstrained(descent, TMethod::Bfgs, TStopRule::Step, constraints, r.settings, 0,
                               0);
            },
            r.message);
    }
}

TEST_F(ConstrainedRun, StopsAtTheOuterLimitAndAtTheStepLimit) {
    const TConstraints constraints = CompileConstraintLines("x + y = 1");
    // Growth 1 never sharpens the penalty: the limit ends it.
    SetRun(-1);
    descent.Typed = CompileFormula("x^2+y^2");
    TConstraintSettings settings{Method::Penalty, 1, 1, 1e-6L};
    TConstrainedOutcome outcome =
        RunConstrained(descent, TMethod::Bfgs, TStopRule::Step, constraints, settings, 0, 0);
    EXPECT_EQ(outcome.stop, TOuterStop::OuterLimit);
    EXPECT_EQ(descent.TraceCount, OuterIterationLimit);
    descent.StepLimit = 3;
    outcome = RunConstrained(descent, TMethod::Bfgs, TStopRule::Step, constraints, settings, 0, 0);
    EXPECT_EQ(outcome.stop, TOuterStop::StepLimit);
    EXPECT_EQ(descent.TraceCount, 3u);
    EXPECT_TRUE(descent.StoppedAtStepLimit);
}

}  // namespace
}  // namespace metopt::core

namespace metopt::core {
namespace {

// --- Reports ---

DescentFields ConstrainedFields(TConstraintMethod method) {
    DescentFields fields;
    fields.funcIndex = -1;
    fields.formula = "x^2+y^2";
    fields.typed = CompileFormula(fields.formula);
    fields.x0 = "3";
    fields.y0 = "-2";
    fields.method = TMethod::Bfgs;
    fields.constraints = std::make_shared<const TConstraints>(CompileConstraintLines("x + y = 1"));
    fields.constraintMethod = method;
    return fields;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(ConstrainedReport, IsTodaysWithoutAConstraintMethod) {
    runtime::InitFpu();
    TDescent a;
    TDescent b;
    DescentFields plain = ConstrainedFields(TConstraintMethod::None);
    const std::vector<std::string> withConstraints = RunDescentAndReport(a, plain, {});
    plain.constraints.reset();
    EXPECT_EQ(withConstraints, RunDescentAndReport(b, plain, {}));
    EXPECT_TRUE(a.InnerTraces.empty());
}

TEST(ConstrainedReport, NamesTheConstraintsTheOuterIterationsAndTheInnerTraces) {
    runtime::InitFpu();
    TDescent descent;
    const std::vector<std::string> lines =
        RunDescentAndReport(descent, ConstrainedFields(TConstraintMethod::Penalty), {});
    EXPECT_TRUE(Has(lines, "Ограничения: x + y = 1"));
    EXPECT_TRUE(Has(lines, "Учёт ограничений: Внешний квадратичный штраф, r0 = 1, C = 10"));
    EXPECT_TRUE(Has(lines, "Остановка: нарушение ограничений и шаг внешнего цикла меньше eps"));
    const auto header = std::find(lines.begin(), lines.end(), OuterIterationsHeader);
    ASSERT_NE(header, lines.end());
    EXPECT_EQ((header + 1)->rfind("1 | 1 | ", 0), 0u) << *(header + 1);
    EXPECT_EQ(*(header + descent.TraceCount + 1), "");
    for (std::uint32_t k = 1; k <= descent.TraceCount; ++k)
        EXPECT_TRUE(Has(lines, "Внешняя итерация " + std::to_string(k) + ", r = 1" +
                                   std::string(k - 1, '0') + ":"));
}

TEST(ConstrainedReport, ComparesMethodsUnderTheConstraintMethod) {
    runtime::InitFpu();
    TDescent descent;
    TComparison comparison;
    const TMethod methods[] = {TMethod::Bfgs, TMethod::NelderMead};
    const std::vector<std::string> lines = RunComparisonAndReport(
        descent, comparison, ConstrainedFields(TConstraintMethod::Lagrange), methods, {});
    EXPECT_TRUE(Has(lines, "Учёт ограничений: Модифицированная функция Лагранжа, r0 = 1, C = 10"));
    ASSERT_EQ(comparison.runs.size(), 2u);
    for (const TComparedRun& run : comparison.runs) {
        ASSERT_TRUE(run.constrained) << run.error;
        EXPECT_EQ(run.descent.InnerTraces.size(), run.descent.TraceCount);
        const TTracePoint end = run.descent.Trace[run.descent.TraceCount];
        ExpectNear(end.X + end.Y, 1, 1e-5L);
    }
}

}  // namespace
}  // namespace metopt::core
