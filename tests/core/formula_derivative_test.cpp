#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <ostream>
#include <random>
#include <string>

#include "core/equationitems.h"
#include "core/formula/derivative.h"
#include "core/formula/formula.h"
#include "core/formula/graph.h"
#include "core/formula/parser.h"
#include "core/formula/tape.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::core {
namespace {

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// --- Exact gradients and Hessians, worked out by hand ---

struct DerivativeCase {
    const char* text;
    long double x, y;
    long double gx, gy;
    long double hxx, hxy, hyy;
};

void PrintTo(const DerivativeCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class FormulaDerivativeTest : public ::testing::TestWithParam<DerivativeCase> {
  protected:
};

const DerivativeCase DerivativeCases[] = {
    {"x*x+y*y", 3, 4, 6, 8, 2, 0, 2},
    {"x^3*y^2", 2, 3, 108, 48, 108, 72, 16},
    {"x/y", 6, 2, 0.5L, -1.5L, 0, -0.25L, 1.5L},
    {"x^-1", 2, 0, -0.25L, 0, 0.25L, 0, 0},
    {"-x^2+5*y", 3, 1, -6, 5, -2, 0, 0},
    {"abs(x)+abs(y)", -2, 0, -1, 0, 0, 0, 0},  // sign(0) = 0
    {"exp(x*y)", 0, 0, 0, 0, 0, 1, 0},
    {"ln(x)+sqrt(y)", 2, 4, 0.5L, 0.25L, -0.25L, 0, -1.0L / 32},
    {"(y-x*x)*(y-x*x) + (1-x*x)*(1-x*x)", 2, 0, 56, -8, 92, -8, 2},
    {"x^y", 2, 1, 1, 2 * logl(2.0L), 0, 1 + logl(2.0L), 2 * logl(2.0L) * logl(2.0L)},
    {"r*r, r=x+2*y", 1, 1, 6, 12, 2, 4, 8},
    {"7", 1, 1, 0, 0, 0, 0, 0},
};

TEST_P(FormulaDerivativeTest, GradientAndHessianAreExact) {
    const DerivativeCase& c = GetParam();
    const auto f = CompileFormula(c.text);
    long double gx = -99, gy = -99, hxx = -99, hxy = -99, hyy = -99;
    f->Gradient(c.x, c.y, gx, gy);
    f->Hessian(c.x, c.y, hxx, hxy, hyy);
    EXPECT_NEAR(static_cast<double>(gx), static_cast<double>(c.gx), 1e-15);
    EXPECT_NEAR(static_cast<double>(gy), static_cast<double>(c.gy), 1e-15);
    EXPECT_NEAR(static_cast<double>(hxx), static_cast<double>(c.hxx), 1e-15);
    EXPECT_NEAR(static_cast<double>(hxy), static_cast<double>(c.hxy), 1e-15);
    EXPECT_NEAR(static_cast<double>(hyy), static_cast<double>(c.hyy), 1e-15);
}

INSTANTIATE_TEST_SUITE_P(Table, FormulaDerivativeTest, ::testing::ValuesIn(DerivativeCases));

TEST(FormulaGradientTest, ParaboloidGradientIsTwoXToTheLastBit) {
    const auto f = CompileFormula("x*x+y*y");
    for (const long double v : {0.1L, -1.7L, 1e-2000L, 3.3333333333333333L}) {
        long double gx = 0, gy = 0;
        f->Gradient(v, -v / 3, gx, gy);
        EXPECT_TRUE(SameBits(gx, 2 * v));
        EXPECT_TRUE(SameBits(gy, 2 * (-v / 3)));
    }
}

TEST(FormulaGradientTest, FaultsRaiseFromTheGradient) {
    long double gx = 0, gy = 0;
    EXPECT_THROW(CompileFormula("sqrt(x)")->Gradient(0, 0, gx, gy), runtime::EZeroDivide);
    EXPECT_THROW(CompileFormula("x^2")->Gradient(1e4932L, 0, gx, gy), runtime::EOverflow);
}

// --- Against central differences at a hundred points of each classic function ---

long double CentralDifference(const TFormula& f, long double x, long double y, bool byX) {
    const long double h = 1e-6L * std::max(1.0L, std::fabs(byX ? x : y));
    const long double plus = byX ? f.Value(x + h, y) : f.Value(x, y + h);
    const long double minus = byX ? f.Value(x - h, y) : f.Value(x, y - h);
    return (plus - minus) / (2 * h);
}

class ClassicGradientTest : public ::testing::TestWithParam<int> {
  protected:
};

TEST_P(ClassicGradientTest, GradientAgreesWithCentralDifferences) {
    const auto f = CompileFormula(ClassicFormulas[GetParam()]);
    std::mt19937_64 random(static_cast<std::uint64_t>(GetParam()) + 1);
    std::uniform_real_distribution<double> coordinate(-4.0, 4.0);
    for (int i = 0; i < 100; ++i) {
        const long double x = coordinate(random);
        const long double y = coordinate(random);
        long double gx = 0, gy = 0;
        f->Gradient(x, y, gx, gy);
        const long double scale = std::max(1.0L, std::fabs(gx) + std::fabs(gy));
        EXPECT_LE(std::fabs(gx - CentralDifference(*f, x, y, true)) / scale, 1e-8L) << i;
        EXPECT_LE(std::fabs(gy - CentralDifference(*f, x, y, false)) / scale, 1e-8L) << i;
        // The Hessian against differences of the gradient.
        long double hxx = 0, hxy = 0, hyy = 0;
        f->Hessian(x, y, hxx, hxy, hyy);
        const long double h = 1e-6L;
        long double gx1 = 0, gy1 = 0, gx0 = 0, gy0 = 0;
        f->Gradient(x + h, y, gx1, gy1);
        f->Gradient(x - h, y, gx0, gy0);
        const long double hscale = std::max(1.0L, std::fabs(hxx) + std::fabs(hxy));
        EXPECT_LE(std::fabs(hxx - (gx1 - gx0) / (2 * h)) / hscale, 1e-7L) << i;
        EXPECT_LE(std::fabs(hxy - (gy1 - gy0) / (2 * h)) / hscale, 1e-7L) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Classics, ClassicGradientTest, ::testing::Range(0, ClassicFunctionCount));

// --- The compiled programs: the graph's own operations, bit for bit ---

// The node `root` worked out through the graph node by node, as the operations define it.
long double GraphValue(const formula::TGraph& graph, int root, long double x, long double y) {
    using formula::Op;
    const std::function<long double(int)> value = [&](int i) -> long double {
        const formula::TGraphNode& node = graph[i];
        switch (node.op) {
            case Op::X:
                return x;
            case Op::Y:
                return y;
            case Op::Const:
                return node.value;
            case Op::PowWhole:
                return formula::PowerWhole(value(node.a), node.whole);
            default:
                return formula::IsUnary(node.op)
                           ? formula::EvalUnary(node.op, value(node.a))
                           : formula::EvalBinary(node.op, value(node.a), value(node.b));
        }
    };
    return value(root);
}

class TapeTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override { runtime::InitFpu(); }

    // The first root over a row of 150 points (three blocks, the last one short) at height y is
    // RunFirst at each point, with the flags of them all.
    static void ExpectRowAsPoints(const formula::TTape& tape, long double y) {
        std::vector<long double> xs(150);
        for (std::size_t i = 0; i < xs.size(); ++i)
            xs[i] = (static_cast<long double>(i) - 70) / 16;
        std::vector<long double> row(xs.size());
        runtime::ClearFpuFlags();
        tape.RunFirstAlong(xs.data(), y, xs.size(), row.data());
        const int rowFaults = runtime::RaisedFaults();
        int pointFaults = 0;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            runtime::ClearFpuFlags();
            EXPECT_TRUE(SameBits(row[i], tape.RunFirst(xs[i], y))) << xs[i] << ", " << y;
            pointFaults |= runtime::RaisedFaults();
        }
        EXPECT_EQ(rowFaults, pointFaults);
    }
};

// Each program of the formula (value, gradient, Hessian) at each point gives what the graph
// gives, with the same faults raised; the first root alone (RunFirst) is the same value too.
TEST_P(TapeTest, ProgramsGiveTheGraphsValues) {
    formula::TGraph graph;
    const int value = formula::AddTree(graph, formula::ParseFormula(GetParam()));
    formula::TDerivative byX(formula::Op::X);
    formula::TDerivative byY(formula::Op::Y);
    const int gx = byX.Of(graph, value);
    const int gy = byY.Of(graph, value);
    const std::vector<std::vector<int>> programs = {
        {value}, {gx, gy}, {byX.Of(graph, gx), byY.Of(graph, gx), byY.Of(graph, gy)}, {gy, gx, gy}};
    const long double points[][2] = {{0, 0}, {1.5L, -2}, {-0.75L, 3.25L}, {1e300L, -1e-300L}};
    for (const std::vector<int>& roots : programs) {
        const formula::TTape tape(graph, roots);
        for (const auto& point : points) {
            long double outputs[4] = {};
            runtime::ClearFpuFlags();
            tape.Run(point[0], point[1], outputs);
            const int tapeFaults = runtime::RaisedFaults();
            runtime::ClearFpuFlags();
            const long double first = tape.RunFirst(point[0], point[1]);
            EXPECT_TRUE(SameBits(first, outputs[0]));
            EXPECT_EQ(runtime::RaisedFaults(), tapeFaults);
            ExpectRowAsPoints(tape, point[1]);
            int graphFaults = 0;
            for (std::size_t i = 0; i < roots.size(); ++i) {
                runtime::ClearFpuFlags();
                const long double expected = GraphValue(graph, roots[i], point[0], point[1]);
                graphFaults |= runtime::RaisedFaults();
                EXPECT_TRUE(SameBits(outputs[i], expected))
                    << "root " << i << " of " << roots.size() << " at (" << point[0] << ", "
                    << point[1] << "): " << outputs[i] << " against " << expected;
            }
            EXPECT_EQ(tapeFaults, graphFaults) << point[0] << ", " << point[1];
        }
    }
    runtime::ClearFpuFlags();
}

INSTANTIATE_TEST_SUITE_P(Table, TapeTest,
                         ::testing::Values("x", "7", "x*x", "x^2+y^3-x^-2", "(x-y)^2*(x+y)^-2",
                                           "1/0+x", "(y-x*x)*(y-x*x) + (1-x*x)*(1-x*x)",
                                           "(sin(r))/r, r=sqrt(x*x+y*y)",
                                           "a*a*a+a/b-b, a=x-y, b=2-x*y",
                                           "sqrt(x)-ln(y)+abs(x*y)^1.5",
                                           "exp(-x*x)*cos(3*y)+th(x-y)*ch(y/5)+arctg(x*y)",
                                           "(1.5-x+x*y)^2+(2.25-x+x*y^2)^2+(2.625-x+x*y^3)^2",
                                           "-(x+1)*(y-2)/(x*x+1)+x^0.5"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                             return "formula" + std::to_string(param.index);
                         });

}  // namespace
}  // namespace metopt::core
