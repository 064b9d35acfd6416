#include "runtime/fpu.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <limits>

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
    EXPECT_EQ(Sin(below), sinl(below));
    EXPECT_EQ(Cos(-below), cosl(below));
}

TEST_F(FpuTest, SineAndCosineOfOrdinaryArguments) {
    EXPECT_EQ(Sin(0.0L), 0.0L);
    EXPECT_EQ(Cos(0.0L), 1.0L);
    EXPECT_NEAR(static_cast<double>(Sin(1.0L)), 0.8414709848078965, 1e-15);
    EXPECT_NEAR(static_cast<double>(Cos(1.0L)), 0.5403023058681398, 1e-15);
}

}  // namespace
}  // namespace metopt::runtime
