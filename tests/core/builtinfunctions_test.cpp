#include "core/builtinfunctions.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <ostream>
#include <string>

#include "core/builtinobjective.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::core {
namespace {

class FunctionsTest : public ::testing::Test {
  protected:
};

struct ValueCase {
    const char* name;
    int index;
    long double x, y;
    long double z, gx, gy;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

class FunctionValueTest : public ::testing::TestWithParam<ValueCase> {
  protected:
};

// Values that are exact in binary, worked out by hand from the formulas.
const ValueCase ExactCases[] = {
    {"Paraboloid_3_4", 0, 3, 4, 25, 6, 8},
    {"Paraboloid_origin", 0, 0, 0, 0, 0, 0},
    {"Paraboloid_negative", 0, -1.5L, 0.5L, 2.5L, -3, 1},
    {"TwoValleys_min_1_1", 1, 1, 1, 0, 0, 0},
    {"TwoValleys_min_minus1_1", 1, -1, 1, 0, 0, 0},
    {"TwoValleys_saddle_origin", 1, 0, 0, 1, 0, 0},
    // gx = (-8) * ((0 + 1) - 8) = 56, gy = 2 * (0 - 4) = -8.
    {"TwoValleys_2_0", 1, 2, 0, 25, 56, -8},
    // Not symmetric in x and y.
    {"TwoValleys_0_1", 1, 0, 1, 2, 0, 2},
    {"TwoValleys_1_0", 1, 1, 0, 1, 4, -2},
    {"TwoValleys_0_2", 1, 0, 2, 5, 0, 4},
    {"RadialSinc_origin", 2, 0, 0, 1, 0, 0},
    // r = 5e-7: below both thresholds.
    {"RadialSinc_below_both_thresholds", 2, 5e-7L, 0, 1, 0, 0},
    {"RadialSinc_below_gradient_threshold_diagonal", 2, -3e-7L, 4e-7L, 1, 0, 0},
};

TEST_P(FunctionValueTest, ValueAndGradientAreExact) {
    const ValueCase& c = GetParam();
    EXPECT_EQ(ObjectiveFuncs[c.index](c.x, c.y), c.z);
    long double gx = -99;
    long double gy = -99;
    GradientProcs[c.index](c.x, c.y, gx, gy);
    EXPECT_EQ(gx, c.gx);
    EXPECT_EQ(gy, c.gy);
}

INSTANTIATE_TEST_SUITE_P(Table, FunctionValueTest, ::testing::ValuesIn(ExactCases),
                         CaseName<ValueCase>);

TEST_F(FunctionsTest, RadialSincAtThreeFourIsSinFiveOverFive) {
    const long double z = ObjectiveFuncs[2](3, 4);
    EXPECT_EQ(z, runtime::Sin(5.0L) / 5.0L);
    EXPECT_NEAR(static_cast<double>(z), -0.191785, 1e-6);

    long double gx = 0;
    long double gy = 0;
    GradientProcs[2](3, 4, gx, gy);
    const long double d = (5.0L * runtime::Cos(5.0L) - runtime::Sin(5.0L)) / 125.0L;
    EXPECT_NEAR(static_cast<double>(d), 0.0190179, 1e-7);
    EXPECT_EQ(gx, 3 * d);
    EXPECT_EQ(gy, 4 * d);
    EXPECT_NEAR(static_cast<double>(gx), 0.0570536, 1e-7);
    EXPECT_NEAR(static_cast<double>(gy), 0.0760715, 1e-7);
}

TEST_F(FunctionsTest, RadialSincValueThresholdIsStrict) {
    const long double threshold = 1e-5L;
    EXPECT_EQ(ObjectiveFuncs[2](5e-6L, 0), 1.0L);
    EXPECT_EQ(ObjectiveFuncs[2](nextafterl(threshold, 0), 0), 1.0L);
    // At the threshold itself sin(r)/r is used, which lies just below 1.
    const long double atThreshold = ObjectiveFuncs[2](threshold, 0);
    EXPECT_LT(atThreshold, 1.0L);
    EXPECT_GT(atThreshold, 1.0L - 1e-10L);
}

TEST_F(FunctionsTest, RadialSincGradientBetweenThresholdsIsNotZero) {
    // f is constant 1 here, but the gradient is about -(x, y) / 3.
    long double gx = 0;
    long double gy = 0;
    GradientProcs[2](5e-6L, 0, gx, gy);
    EXPECT_EQ(ObjectiveFuncs[2](5e-6L, 0), 1.0L);
    EXPECT_NEAR(static_cast<double>(gx), -5e-6 / 3, 1e-9);
    EXPECT_EQ(gy, 0.0L);

    GradientProcs[2](nextafterl(1e-6L, 0), 0, gx, gy);
    EXPECT_EQ(gx, 0.0L);
    GradientProcs[2](1e-6L, 0, gx, gy);
    EXPECT_LT(gx, 0.0L);
}

TEST_F(FunctionsTest, RadialSincOfHugeRadiusIsZero) {
    // sin of an argument of 2^63 or more counts as 0.
    const long double twoTo63 = ldexpl(1.0L, 63);
    EXPECT_EQ(ObjectiveFuncs[2](twoTo63, 0), 0.0L);
    long double gx = 1;
    long double gy = 1;
    GradientProcs[2](twoTo63, 0, gx, gy);
    EXPECT_EQ(gx, 0.0L);
    EXPECT_EQ(gy, 0.0L);
}

TEST_F(FunctionsTest, OverflowRaisesFromTheEvaluation) {
    EXPECT_THROW(ObjectiveFuncs[0](1e2500L, 0), runtime::EOverflow);
    EXPECT_THROW(ObjectiveFuncs[1](1e2467L, 0), runtime::EOverflow);
    EXPECT_THROW(ObjectiveFuncs[2](0, 1e2467L), runtime::EOverflow);
    long double gx = 0;
    long double gy = 0;
    EXPECT_THROW(GradientProcs[0](1e4932L, 0, gx, gy), runtime::EOverflow);
    EXPECT_THROW(GradientProcs[1](1e2467L, 0, gx, gy), runtime::EOverflow);
    // r*r*r overflows although sin and cos are 0 this far out.
    EXPECT_THROW(GradientProcs[2](1e1700L, 0, gx, gy), runtime::EOverflow);
    // The flags are cleared again: a following evaluation succeeds.
    EXPECT_EQ(ObjectiveFuncs[0](3, 4), 25.0L);
}

TEST_F(FunctionsTest, EvaluationIgnoresFlagsRaisedBeforeIt) {
    for (int i = 0; i < FunctionCount; ++i) {
        std::feraiseexcept(FE_OVERFLOW | FE_INVALID);
        EXPECT_NO_THROW(ObjectiveFuncs[i](1, 2)) << i;
        std::feraiseexcept(FE_DIVBYZERO);
        long double gx = 0;
        long double gy = 0;
        EXPECT_NO_THROW(GradientProcs[i](1, 2, gx, gy)) << i;
    }
}

// --- Hessians ---

struct HessianCase {
    const char* name;
    int index;
    long double x, y;
    long double hxx, hxy, hyy;
};

void PrintTo(const HessianCase& c, std::ostream* os) {
    *os << c.name;
}

class FunctionHessianTest : public ::testing::TestWithParam<HessianCase> {
  protected:
};

// By hand: f1 has fxx = 24 x^2 - 4 y - 4, fxy = -4 x, fyy = 2; f2 tends to -1/3 on the diagonal.
const HessianCase HessianCases[] = {
    {"Paraboloid_3_4", 0, 3, 4, 2, 0, 2},
    {"Paraboloid_origin", 0, 0, 0, 2, 0, 2},
    {"TwoValleys_2_0", 1, 2, 0, 92, -8, 2},
    {"TwoValleys_1_1", 1, 1, 1, 16, -4, 2},
    {"TwoValleys_origin", 1, 0, 0, -4, 0, 2},
    {"RadialSinc_origin", 2, 0, 0, -1.0L / 3, 0, -1.0L / 3},
    {"RadialSinc_below_threshold", 2, 5e-7L, -5e-7L, -1.0L / 3, 0, -1.0L / 3},
};

TEST_P(FunctionHessianTest, HessianIsExact) {
    const HessianCase& c = GetParam();
    long double hxx = -99, hxy = -99, hyy = -99;
    HessianProcs[c.index](c.x, c.y, hxx, hxy, hyy);
    EXPECT_EQ(hxx, c.hxx);
    EXPECT_EQ(hxy, c.hxy);
    EXPECT_EQ(hyy, c.hyy);
}

INSTANTIATE_TEST_SUITE_P(Table, FunctionHessianTest, ::testing::ValuesIn(HessianCases),
                         CaseName<HessianCase>);

TEST_F(FunctionsTest, RadialSincHessianAtThreeFour) {
    long double hxx = 0, hxy = 0, hyy = 0;
    HessianProcs[2](3, 4, hxx, hxy, hyy);
    // sin(r)/r has f_rr = -sin r / r - 2 cos r / r^2 + 2 sin r / r^3; along (3, 4)/5 the Hessian
    // is f_rr in the radial direction and f_r / r across it.
    const long double r = 5;
    const long double fr = (r * cosl(r) - sinl(r)) / (r * r);
    const long double frr = -sinl(r) / r - 2 * cosl(r) / (r * r) + 2 * sinl(r) / (r * r * r);
    const long double ux = 0.6L, uy = 0.8L;
    EXPECT_NEAR(static_cast<double>(hxx), static_cast<double>(frr * ux * ux + fr / r * uy * uy),
                1e-15);
    EXPECT_NEAR(static_cast<double>(hxy), static_cast<double>((frr - fr / r) * ux * uy), 1e-15);
    EXPECT_NEAR(static_cast<double>(hyy), static_cast<double>(frr * uy * uy + fr / r * ux * ux),
                1e-15);
}

TEST_F(FunctionsTest, HessianOverflowRaises) {
    long double hxx = 0, hxy = 0, hyy = 0;
    EXPECT_THROW(HessianProcs[1](1e2467L, 0, hxx, hxy, hyy), runtime::EOverflow);
    EXPECT_THROW(HessianProcs[2](1e1000L, 0, hxx, hxy, hyy), runtime::EOverflow);
}

TEST_F(FunctionsTest, BuiltinObjectivesAreTheTables) {
    for (int i = 0; i < FunctionCount; ++i) {
        const TObjective& f = BuiltinObjective(i);
        EXPECT_EQ(f.Value(0.3L, -0.7L), ObjectiveFuncs[i](0.3L, -0.7L)) << i;
        long double gx = 0, gy = 0, ex = 1, ey = 1;
        f.Gradient(0.3L, -0.7L, gx, gy);
        GradientProcs[i](0.3L, -0.7L, ex, ey);
        EXPECT_EQ(gx, ex) << i;
        EXPECT_EQ(gy, ey) << i;
        long double h[3] = {}, e[3] = {1, 1, 1};
        f.Hessian(0.3L, -0.7L, h[0], h[1], h[2]);
        HessianProcs[i](0.3L, -0.7L, e[0], e[1], e[2]);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(h[k], e[k]) << i << " " << k;
        // The Hessian is the gradient's derivative: central differences of the gradient.
        const long double step = 1e-6L;
        long double gx1 = 0, gy1 = 0, gx0 = 0, gy0 = 0;
        GradientProcs[i](0.3L + step, -0.7L, gx1, gy1);
        GradientProcs[i](0.3L - step, -0.7L, gx0, gy0);
        EXPECT_NEAR(static_cast<double>((gx1 - gx0) / (2 * step)), static_cast<double>(h[0]), 1e-8);
        EXPECT_NEAR(static_cast<double>((gy1 - gy0) / (2 * step)), static_cast<double>(h[1]), 1e-8);
    }
}

TEST_F(FunctionsTest, CaptionsAreTheEquationListItems) {
    EXPECT_STREQ(FunctionCaptions[0], " x*x+y*y");
    EXPECT_STREQ(FunctionCaptions[1], " (y-x*x)*(y-x*x) + (1-x*x)*(1-x*x)");
    EXPECT_STREQ(FunctionCaptions[2], " (sin(r))/r, r=sqrt(x*x+y*y)");
}

}  // namespace
}  // namespace metopt::core
