#include "runtime/fpu.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "runtime/exceptions.h"

namespace metopt::runtime {
namespace {

constexpr long double TwoPow63 = 9223372036854775808.0L;

// Operands the compiler cannot fold, so every operation runs and raises its flags here.
volatile long double zero = 0.0L;
volatile long double one = 1.0L;
volatile long double three = 3.0L;
volatile long double largest = LDBL_MAX;
volatile long double smallest = LDBL_MIN;
volatile double zeroDouble = 0.0;
volatile long double sink = 0.0L;
volatile double sinkDouble = 0.0;

class FpuTest : public ::testing::Test {
  protected:
    void SetUp() override { InitFpu(); }
};

TEST_F(FpuTest, ZeroOverZeroIsAnInvalidOperation) {
    ClearFpuFlags();
    sink = zero / zero;
    try {
        CheckFpu();
        ADD_FAILURE() << "nothing raised";
    } catch (const EInvalidOp& e) {
        EXPECT_EQ(e.Message(), "Invalid floating point operation");
    }
}

TEST_F(FpuTest, OneOverZeroIsADivisionByZero) {
    ClearFpuFlags();
    sink = one / zero;
    try {
        CheckFpu();
        ADD_FAILURE() << "nothing raised";
    } catch (const EZeroDivide& e) {
        EXPECT_EQ(e.Message(), "Floating point division by zero");
    }
}

TEST_F(FpuTest, OverflowingProductIsAnOverflow) {
    ClearFpuFlags();
    sink = largest * largest;
    try {
        CheckFpu();
        ADD_FAILURE() << "nothing raised";
    } catch (const EOverflow& e) {
        EXPECT_EQ(e.Message(), "Floating point overflow");
    }
}

TEST_F(FpuTest, InvalidTakesPrecedence) {
    ClearFpuFlags();
    sink = largest * largest;
    sink = one / zero;
    sink = zero / zero;
    EXPECT_THROW(CheckFpu(), EInvalidOp);
}

TEST_F(FpuTest, UnderflowAndInexactRaiseNothing) {
    ClearFpuFlags();
    sink = smallest * smallest;
    sink = one / three;
    EXPECT_NO_THROW(CheckFpu());
}

TEST_F(FpuTest, FlagsAreClearedAfterARaise) {
    ClearFpuFlags();
    sink = zero / zero;
    EXPECT_THROW(CheckFpu(), EInvalidOp);
    EXPECT_NO_THROW(CheckFpu());
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);
}

TEST_F(FpuTest, ClearFpuFlagsForgetsEarlierErrors) {
    sink = one / zero;
    sink = largest * largest;
    sinkDouble = zeroDouble / zeroDouble;  // raised in the SSE unit
    ClearFpuFlags();
    EXPECT_NO_THROW(CheckFpu());
}

TEST_F(FpuTest, DoubleArithmeticErrorsAreSeenToo) {
    ClearFpuFlags();
    sinkDouble = zeroDouble / zeroDouble;
    EXPECT_THROW(CheckFpu(), EInvalidOp);
    EXPECT_NO_THROW(CheckFpu());
}

TEST_F(FpuTest, ExtendedPrecisionIsInForce) {
    // 1 + 2^-63 is representable only with a 64-bit significand.
    volatile long double tiny = 1.0L / TwoPow63;
    EXPECT_GT(one + tiny, one);
}

TEST_F(FpuTest, SineAndCosineOfHugeArgumentsAreZero) {
    for (const long double x :
         {TwoPow63, -TwoPow63, 1e30L, std::numeric_limits<long double>::infinity()}) {
        EXPECT_EQ(Sin(x), 0.0L);
        EXPECT_EQ(Cos(x), 0.0L);
    }
}

TEST_F(FpuTest, SineAndCosineJustBelowTheLimitAreComputed) {
    const long double below = std::nextafter(TwoPow63, 0.0L);  // 2^63 - 1/2
    EXPECT_EQ(below, TwoPow63 - 0.5L);
    EXPECT_NE(Sin(below), 0.0L);
    EXPECT_NE(Cos(below), 0.0L);
    EXPECT_NEAR(static_cast<double>(Sin(below)), 0.87761801501112711, 1e-15);
    EXPECT_NEAR(static_cast<double>(Cos(-below)), 0.47936063639803496, 1e-15);
}

// The argument is reduced by the x87 unit's 66-bit pi, not by the true pi: the references are
// (-1)^k times sin and cos of x - k * pi66, worked out in 80-digit decimals; the true sine (the
// last column) differs from them beyond the tolerance.
TEST_F(FpuTest, SineAndCosineReduceByTheSixtySixBitPi) {
    struct Case {
        long double x;
        long double sine;
        long double cosine;
        long double trueSine;
    };
    for (const Case& c : {
             Case{1e10L, -0.487506025076270021L, 0.873119622683132225L, -0.487506025087510692L},
             Case{1e4L, -0.305614388888252154L, -0.952155368259014847L, -0.305614388888252141L},
         }) {
        EXPECT_LT(std::fabs(Sin(c.x) - c.sine), 1e-18L) << static_cast<double>(c.x);
        EXPECT_LT(std::fabs(Cos(c.x) - c.cosine), 1e-18L) << static_cast<double>(c.x);
        EXPECT_GT(std::fabs(Sin(c.x) - c.trueSine), 1e-18L) << static_cast<double>(c.x);
    }
}

TEST_F(FpuTest, SineAndCosineOfOrdinaryArguments) {
    EXPECT_EQ(Sin(0.0L), 0.0L);
    EXPECT_EQ(Cos(0.0L), 1.0L);
    EXPECT_NEAR(static_cast<double>(Sin(1.0L)), 0.8414709848078965, 1e-15);
    EXPECT_NEAR(static_cast<double>(Cos(1.0L)), 0.5403023058681398, 1e-15);
}

// The message of the error RaiseFaults gives for these faults, or "" for none.
std::string RaisedMessage(int faults) {
    try {
        RaiseFaults(faults);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

TEST_F(FpuTest, RaiseFaultsGivesCheckFpusErrorAndLeavesTheFlagsClear) {
    const struct {
        int faults;
        const char* message;
    } rows[] = {
        {FE_INVALID, "Invalid floating point operation"},
        {FE_DIVBYZERO, "Floating point division by zero"},
        {FE_OVERFLOW, "Floating point overflow"},
        {FE_OVERFLOW | FE_INVALID, "Invalid floating point operation"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(RaisedMessage(row.faults), row.message) << row.faults;
        EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT & ~FE_INEXACT), 0) << row.faults;
    }
    EXPECT_EQ(Checked(three, 0), 3.0L);
    EXPECT_EQ(RaisedMessage(FE_DIVBYZERO), "Floating point division by zero");
}

TEST_F(FpuTest, FirstFaultKeepsTheFaultOfTheFirstStepThatRaisedOne) {
    int faults = -1;
    {
        FirstFault track;
        const long double fine = track.Step(one + three);
        const long double huge = track.Step(largest * three);  // overflow
        track.Step(huge * zero);                               // then invalid: inf * 0
        EXPECT_EQ(fine, 4.0L);
        faults = track.Faults();
    }
    EXPECT_EQ(faults, FE_OVERFLOW);
    EXPECT_EQ(std::fetestexcept(CheckedFpuFaults), 0);  // cleared when it ends

    FirstFault clean;
    clean.Step(one / three);
    EXPECT_EQ(clean.Faults(), 0);
}

}  // namespace
}  // namespace metopt::runtime
