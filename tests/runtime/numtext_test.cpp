#include "runtime/numtext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::runtime {
namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr long double TwoPow63 = 9223372036854775808.0L;
constexpr long double Inf = std::numeric_limits<long double>::infinity();
constexpr long double NaN = std::numeric_limits<long double>::quiet_NaN();

class NumTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitFpu();
        SetDecimalSeparator('.');
    }
    void TearDown() override { SetDecimalSeparator('.'); }
};

// ---- FormatGeneral ----------------------------------------------------------------------------

struct FormatCase {
    const char* name;
    long double value;
    const char* text;
};

std::string CaseName(const ::testing::TestParamInfo<FormatCase>& info) {
    return info.param.name;
}

class FormatGeneralTest : public NumTextTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatGeneralTest, GivesTheGeneralText) {
    EXPECT_EQ(FormatGeneral(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatGeneralTest,
    ::testing::Values(FormatCase{"Integer37", 37.0L, "37"}, FormatCase{"Integer100", 100.0L, "100"},
                      FormatCase{"MinusTwoAndAHalf", -2.5L, "-2.5"},
                      FormatCase{"Half", 0.5L, "0.5"}, FormatCase{"PointNinetyNine", 0.99L, "0.99"},
                      FormatCase{"OneThird", 1.0L / 3.0L, "0.333333333333333"},
                      FormatCase{"TwoThirds", 2.0L / 3.0L, "0.666666666666667"},
                      FormatCase{"MinusSevenThirds", -7.0L / 3.0L, "-2.33333333333333"},
                      FormatCase{"ThousandSevenths", 1000.0L / 7.0L, "142.857142857143"},
                      FormatCase{"Pi", Pi, "3.14159265358979"},
                      FormatCase{"PointOnePlusPointTwo", 0.1L + 0.2L, "0.3"},
                      FormatCase{"TenToMinus4", 0.0001L, "0.0001"},
                      FormatCase{"MinusTenToMinus3", -0.001L, "-0.001"},
                      FormatCase{"TenToMinus5", 0.00001L, "1E-5"},
                      FormatCase{"TenToMinus7", 0.0000001L, "1E-7"},
                      FormatCase{"OnePointFiveTenToMinus5", 0.000015L, "1.5E-5"},
                      FormatCase{"OnePointFiveTenToMinus300", 1.5e-300L, "1.5E-300"},
                      FormatCase{"FifteenDigits", 123456789012345.0L, "123456789012345"},
                      FormatCase{"RoundsUpToTenTo15", 999999999999999.5L, "1E15"},
                      FormatCase{"TenTo15", 1e15L, "1E15"},
                      FormatCase{"SixteenDigits", 1234567890123456.0L, "1.23456789012346E15"},
                      FormatCase{"TenTo100", 1e100L, "1E100"}, FormatCase{"Zero", 0.0L, "0"},
                      FormatCase{"NegativeZero", -0.0L, "0"},
                      // Edge cases.
                      FormatCase{"FifteenNines", 999999999999999.0L, "999999999999999"},
                      FormatCase{"NineTenToMinus5", 0.00009L, "9E-5"},
                      FormatCase{"IntegerPaddedWithZeros", 150000000000000.0L, "150000000000000"},
                      FormatCase{"Denormal", LDBL_TRUE_MIN, "0"},
                      FormatCase{"NegativeDenormal", -LDBL_TRUE_MIN, "0"},
                      FormatCase{"Largest", LDBL_MAX, "1.18973149535723E4932"},
                      FormatCase{"SmallestNormal", LDBL_MIN, "3.36210314311209E-4932"},
                      FormatCase{"Infinity", Inf, "INF"}, FormatCase{"MinusInfinity", -Inf, "-INF"},
                      FormatCase{"NaN", NaN, "NAN"}, FormatCase{"NegativeNaN", -NaN, "NAN"}),
    CaseName);

TEST_F(NumTextTest, FormatGeneralUsesTheDecimalSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(DecimalSeparator(), ',');
    EXPECT_EQ(FormatGeneral(0.5L), "0,5");
    EXPECT_EQ(FormatGeneral(-7.0L / 3.0L), "-2,33333333333333");
    EXPECT_EQ(FormatGeneral(0.000015L), "1,5E-5");
    EXPECT_EQ(FormatGeneral(37.0L), "37");
}

TEST_F(NumTextTest, DecimalSeparatorDefaultsToPoint) {
    EXPECT_EQ(DecimalSeparator(), '.');
    SetDecimalSeparator('\0');
    EXPECT_EQ(DecimalSeparator(), '.');
}

// ---- FormatFixed ------------------------------------------------------------------------------

class FormatFixedTest : public NumTextTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatFixedTest, GivesTheFixedText) {
    EXPECT_EQ(FormatFixed(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatFixedTest,
    ::testing::Values(
        FormatCase{"Zero", 0.0L, "0.00"}, FormatCase{"OneAndAHalf", 1.5L, "1.50"},
        FormatCase{"MinusOneAndAHalf", -1.5L, "-1.50"},
        FormatCase{"HalfAHundredthUp", 0.005L, "0.01"},
        FormatCase{"MinusHalfAHundredth", -0.005L, "-0.01"},
        FormatCase{"SmallNegativeKeepsSign", -0.001L, "-0.00"},
        FormatCase{"TwoThirds", 2.0L / 3.0L, "0.67"},
        FormatCase{"TwelvePoint345", 12.345L, "12.35"},
        // The 18-digit image of 2.675 and of 1.005 ends in 5000..., so they round up.
        FormatCase{"TwoPoint675", 2.675L, "2.68"}, FormatCase{"OnePoint005", 1.005L, "1.01"},
        FormatCase{"NinePoint95", 9.95L, "9.95"}, FormatCase{"CarryMakesNewDigit", 9.999L, "10.00"},
        FormatCase{"Hundred", 100.0L, "100.00"},
        FormatCase{"TenTo15", 1e15L, "1000000000000000.00"},
        FormatCase{"TenTo20", 1e20L, "100000000000000000000.00"},
        FormatCase{"TenTo35", 1e35L, "100000000000000000000000000000000000.00"},
        FormatCase{"OneEighth", 0.125L, "0.13"}, FormatCase{"MinusThousand", -1000.0L, "-1000.00"},
        FormatCase{"NegativeZero", -0.0L, "-0.00"}, FormatCase{"TinyNegative", -1e-10L, "-0.00"},
        FormatCase{"Denormal", LDBL_TRUE_MIN, "0.00"}, FormatCase{"TenTo36", 1e36L, " 1.0E+0036"},
        FormatCase{"OnePoint2TenTo40", 1.2e40L, " 1.2E+0040"},
        FormatCase{"MinusOnePoint2TenTo40", -1.2e40L, "-1.2E+0040"},
        FormatCase{"ScientificCarry", 9.96e40L, " 1.0E+0041"},
        FormatCase{"Largest", LDBL_MAX, " 1.2E+4932"}, FormatCase{"Infinity", Inf, "+Inf"},
        FormatCase{"MinusInfinity", -Inf, "-Inf"}, FormatCase{"NaN", NaN, " Nan"}),
    CaseName);

TEST_F(NumTextTest, FormatFixedIgnoresTheDecimalSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatFixed(0.5L), "0.50");
    EXPECT_EQ(FormatGeneral(0.5L), "0,5");
}

// ---- FormatInteger ----------------------------------------------------------------------------

TEST_F(NumTextTest, FormatIntegerWritesPlainDecimal) {
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(-5), "-5");
    EXPECT_EQ(FormatInteger(1234567), "1234567");
    EXPECT_EQ(FormatInteger(std::numeric_limits<std::int32_t>::min()), "-2147483648");
    EXPECT_EQ(FormatInteger(std::numeric_limits<std::uint32_t>::max()), "4294967295");
}

// ---- ParseNumber ------------------------------------------------------------------------------

struct ParseCase {
    const char* name;
    const char* text;
    long double value;
};

std::string ParseCaseName(const ::testing::TestParamInfo<ParseCase>& info) {
    return info.param.name;
}

class ParseNumberTest : public NumTextTest, public ::testing::WithParamInterface<ParseCase> {};

TEST_P(ParseNumberTest, GivesTheValue) {
    const long double value = ParseNumber(GetParam().text);
    EXPECT_EQ(value, GetParam().value) << FormatGeneral(value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseNumberTest,
    ::testing::Values(
        ParseCase{"OneAndAHalf", "1.5", 1.5L}, ParseCase{"MinusQuarter", "-0.25", -0.25L},
        ParseCase{"Exponent", "1e-3", 0.001L}, ParseCase{"LeadingBlanks", "  7", 7.0L},
        ParseCase{"NoIntegerDigits", ".5", 0.5L}, ParseCase{"NoFractionDigits", "5.", 5.0L},
        ParseCase{"PointOnly", ".", 0.0L}, ParseCase{"Empty", "", 0.0L},
        ParseCase{"SignOnly", "-", 0.0L}, ParseCase{"CommaStops", "3,5", 3.0L},
        ParseCase{"CommaStopsAndDropsSign", "-2,5", 2.0L},
        ParseCase{"TrailingLetter", "12.5x", 125.0L}, ParseCase{"TrailingBlank", "1.5 ", 15.0L},
        ParseCase{"TrailingBlankDropsSign", "-7 ", 7.0L},
        ParseCase{"MissingExponentDigit", "1e", 1.0L}, ParseCase{"Letters", "abc", 0.0L},
        // Edge cases and correctly rounded values.
        ParseCase{"TrailingBlankDropsPoint", "-1.25 ", 125.0L}, ParseCase{"CommaHalf", "0,5", 0.0L},
        ParseCase{"TabIsNotSkipped", "\t5", 0.0L},
        ParseCase{"ExponentSignWithoutDigit", "1e+", 1.0L},
        ParseCase{"StopInsideExponent", "1.5e3x", 15.0L}, ParseCase{"PlusSign", "+2.5", 2.5L},
        ParseCase{"CapitalExponent", "1E3", 1000.0L},
        ParseCase{"NegativeExponentOfFraction", "2.5e-1", 0.25L},
        ParseCase{"OneTenth", "0.1", 0.1L}, ParseCase{"OnePointThree", "1.3", 1.3L},
        ParseCase{"PointNinetyNine", "0.99", 0.99L}, ParseCase{"TenToMinus7", "1e-7", 1e-7L},
        ParseCase{"TenTo300", "1e300", 1e300L}, ParseCase{"TenTo4932", "1e4932", 1e4932L},
        ParseCase{"ScaledIntoRange", "0.1e4933", 1e4932L},
        ParseCase{"ZeroWithHugeExponent", "0e99999", 0.0L}, ParseCase{"Tiny", "1e-5000", 0.0L},
        ParseCase{"ExponentBeyond32Bits", "1e-99999999999", 0.0L}),
    ParseCaseName);

TEST_F(NumTextTest, ParseNumberKeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(ParseNumber("-0")));
    EXPECT_FALSE(std::signbit(ParseNumber("0")));
}

TEST_F(NumTextTest, ParseNumberGivesADenormalSilently) {
    const long double value = ParseNumber("1e-4940");
    EXPECT_GT(value, 0.0L);
    EXPECT_LT(value, LDBL_MIN);
    EXPECT_NO_THROW(CheckFpu());
}

TEST_F(NumTextTest, ParseNumberRaisesOverflowBeyondTheExtendedRange) {
    const std::string manyDigits = "1" + std::string(5000, '0');
    for (const std::string& text : std::initializer_list<std::string>{
             "1e4933", "-1e4933", "1e5000", "1e5119", "1e5120", "1e99999", "1e99999999999",
             "1e999999999999999999999999", manyDigits, manyDigits + "x"}) {
        try {
            ParseNumber(text);
            ADD_FAILURE() << "no overflow for " << text.substr(0, 20);
        } catch (const EOverflow& e) {
            EXPECT_EQ(e.Message(), "Floating point overflow");
        }
        EXPECT_NO_THROW(CheckFpu()) << "flag left raised for " << text.substr(0, 20);
    }
}

TEST_F(NumTextTest, ParseNumberHandlesLongDigitRuns) {
    const std::string zeros(5000, '0');
    EXPECT_EQ(ParseNumber("0." + zeros + "1e5000"), 0.1L);
    EXPECT_EQ(ParseNumber("0." + zeros + "1"), 0.0L);
    // Digits far below the 64-bit precision change nothing visible.
    EXPECT_NEAR(static_cast<double>(ParseNumber("1" + zeros + "e-5000")), 1.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(ParseNumber("1." + zeros + "1")), 1.0, 1e-12);
}

// ---- ParseInteger -----------------------------------------------------------------------------

struct IntegerCase {
    const char* name;
    const char* text;
    std::int32_t value;
};

std::string IntegerCaseName(const ::testing::TestParamInfo<IntegerCase>& info) {
    return info.param.name;
}

class ParseIntegerTest : public NumTextTest, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(ParseIntegerTest, GivesTheValue) {
    EXPECT_EQ(ParseInteger(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Valid, ParseIntegerTest,
    ::testing::Values(
        IntegerCase{"Plain", "12", 12}, IntegerCase{"LeadingBlank", " 12", 12},
        IntegerCase{"Plus", "+7", 7}, IntegerCase{"Minus", "-5", -5}, IntegerCase{"Zero", "0", 0},
        IntegerCase{"LeadingZeros", "007", 7}, IntegerCase{"Largest", "2147483647", 2147483647},
        IntegerCase{"Smallest", "-2147483648", std::numeric_limits<std::int32_t>::min()},
        IntegerCase{"DollarHex", "$FF", 255}, IntegerCase{"LowerCaseHex", "$ff", 255},
        IntegerCase{"ZeroXHex", "0x10", 16}, IntegerCase{"ZeroCapitalXHex", "0X10", 16},
        IntegerCase{"XHex", "x1F", 31}, IntegerCase{"CapitalXHex", "X1f", 31},
        IntegerCase{"HexAllOnes", "$FFFFFFFF", -1},
        IntegerCase{"HexSignBit", "$80000000", std::numeric_limits<std::int32_t>::min()},
        IntegerCase{"HexLargestPositive", "$7FFFFFFF", 2147483647},
        IntegerCase{"HexLeadingZeros", "$0000000001", 1},
        IntegerCase{"HexBlankBefore", " $10", 16}),
    IntegerCaseName);

TEST_F(NumTextTest, ParseIntegerRejectsMalformedText) {
    for (const char* text : {"",
                             " ",
                             "12 ",
                             "-$10",
                             "+$10",
                             "2147483648",
                             "-2147483649",
                             "$",
                             "0x",
                             "x",
                             "$100000000",
                             "$FFFFFFFF0",
                             "1.5",
                             "1,5",
                             "abc",
                             "-",
                             "+",
                             "\t12",
                             "12a",
                             "0x1G",
                             "- 1",
                             "99999999999999999999999999"}) {
        EXPECT_THROW(ParseInteger(text), EConvertError) << "'" << text << "'";
    }
}

TEST_F(NumTextTest, ParseIntegerMessageQuotesTheWholeText) {
    for (const std::string text : {"1,5", " 12 ", ""}) {
        try {
            ParseInteger(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + text + "' is not a valid integer value");
        }
    }
}

// ---- Spin edit --------------------------------------------------------------------------------

TEST_F(NumTextTest, SpinEditValueFallsBackToMinimumAndIgnoresMaximum) {
    EXPECT_EQ(SpinEditValue("12", 0, 10), 12);
    EXPECT_EQ(SpinEditValue("-20", 0, 10), -20);
    EXPECT_EQ(SpinEditValue("abc", 3, 10), 3);
    EXPECT_EQ(SpinEditValue("", -5, 5), -5);
    EXPECT_EQ(SpinEditValue("12 ", 1, 255), 1);
    EXPECT_EQ(SpinEditValue("$FF", 0, 10), 255);
}

TEST_F(NumTextTest, SpinEditClampLimitsUnlessTheBoundsAreEqual) {
    EXPECT_EQ(SpinEditClamp(15, 0, 10), 10);
    EXPECT_EQ(SpinEditClamp(-3, 0, 10), 0);
    EXPECT_EQ(SpinEditClamp(5, 0, 10), 5);
    EXPECT_EQ(SpinEditClamp(500, 0, 0), 500);
    EXPECT_EQ(SpinEditClamp(-500, 7, 7), -500);
    EXPECT_EQ(SpinEditClamp(5'000'000'000LL, 0, 0), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(SpinEditClamp(-5'000'000'000LL, 0, 0), std::numeric_limits<std::int32_t>::min());
}

TEST_F(NumTextTest, SpinEditTextWritesTheClampedValue) {
    EXPECT_EQ(SpinEditText(300, 0, 255), "255");
    EXPECT_EQ(SpinEditText(-1, 0, 255), "0");
    EXPECT_EQ(SpinEditText(128, 0, 255), "128");
    EXPECT_EQ(SpinEditText(-42, 0, 0), "-42");
}

// ---- Rounding operations ----------------------------------------------------------------------

struct RoundCase {
    const char* name;
    long double value;
    std::int64_t result;
};

std::string RoundCaseName(const ::testing::TestParamInfo<RoundCase>& info) {
    return info.param.name;
}

class RoundEvenTest : public NumTextTest, public ::testing::WithParamInterface<RoundCase> {};

TEST_P(RoundEvenTest, RoundsTiesToEven) {
    EXPECT_EQ(RoundEven(GetParam().value), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RoundEvenTest,
    ::testing::Values(
        RoundCase{"TwoAndAHalf", 2.5L, 2}, RoundCase{"ThreeAndAHalf", 3.5L, 4},
        RoundCase{"MinusTwoAndAHalf", -2.5L, -2}, RoundCase{"Half", 0.5L, 0},
        RoundCase{"OneAndAHalf", 1.5L, 2}, RoundCase{"MinusOneAndAHalf", -1.5L, -2},
        RoundCase{"BelowTie", 2.4L, 2}, RoundCase{"AboveTie", -2.6L, -3},
        RoundCase{"LargestInt64", 9223372036854775807.0L, std::numeric_limits<std::int64_t>::max()},
        RoundCase{"SmallestInt64", -TwoPow63, std::numeric_limits<std::int64_t>::min()}),
    RoundCaseName);

class TruncIntTest : public NumTextTest, public ::testing::WithParamInterface<RoundCase> {};

TEST_P(TruncIntTest, TruncatesTowardZero) {
    EXPECT_EQ(TruncInt(GetParam().value), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Table, TruncIntTest,
                         ::testing::Values(RoundCase{"Positive", 2.7L, 2},
                                           RoundCase{"Negative", -2.7L, -2},
                                           RoundCase{"BelowOne", 0.999L, 0},
                                           RoundCase{"AboveMinusOne", -0.999L, 0},
                                           RoundCase{"Large", 1e18L, 1'000'000'000'000'000'000LL},
                                           RoundCase{"LargestInt64", 9223372036854775807.0L,
                                                     std::numeric_limits<std::int64_t>::max()},
                                           RoundCase{"SmallestInt64", -TwoPow63,
                                                     std::numeric_limits<std::int64_t>::min()}),
                         RoundCaseName);

struct FloorCase {
    const char* name;
    long double value;
    std::int32_t result;
};

std::string FloorCaseName(const ::testing::TestParamInfo<FloorCase>& info) {
    return info.param.name;
}

class FloorIntTest : public NumTextTest, public ::testing::WithParamInterface<FloorCase> {};

TEST_P(FloorIntTest, RoundsDown) {
    EXPECT_EQ(FloorInt(GetParam().value), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FloorIntTest,
    ::testing::Values(
        FloorCase{"MinusHalf", -0.5L, -1}, FloorCase{"MinusTwo", -2.0L, -2},
        FloorCase{"TwoPointSeven", 2.7L, 2}, FloorCase{"NegativeZero", -0.0L, 0},
        FloorCase{"MinusTwoAndAHalf", -2.5L, -3}, FloorCase{"Half", 0.5L, 0},
        // The low 32 bits of the 64-bit integer part, wrapping.
        FloorCase{"LowBitsOnly", 4294967299.5L, 3},
        FloorCase{"WrapsToNegative", 2147483648.0L, std::numeric_limits<std::int32_t>::min()},
        FloorCase{"MinusOneWraps", -2147483648.5L, std::numeric_limits<std::int32_t>::max()}),
    FloorCaseName);

TEST_F(NumTextTest, IntPartAndFracPart) {
    EXPECT_EQ(IntPart(-2.7L), -2.0L);
    EXPECT_EQ(IntPart(2.7L), 2.0L);
    EXPECT_EQ(IntPart(1e30L), 1e30L);
    EXPECT_TRUE(std::isnan(IntPart(NaN)));
    EXPECT_EQ(FracPart(2.75L), 0.75L);
    EXPECT_EQ(FracPart(-2.75L), -0.75L);
    EXPECT_EQ(FracPart(5.0L), 0.0L);
    EXPECT_EQ(FracPart(1e30L), 0.0L);
    EXPECT_THROW(FracPart(Inf), EInvalidOp);
}

TEST_F(NumTextTest, IntegerConversionsRejectWhatNoInt64Holds) {
    const long double beyondBelow = -TwoPow63 - 1.0L;  // exactly representable
    for (const long double x : {NaN, Inf, -Inf, TwoPow63, beyondBelow, 1e19L, LDBL_MAX}) {
        EXPECT_THROW(RoundEven(x), EInvalidOp) << FormatGeneral(x);
        EXPECT_THROW(TruncInt(x), EInvalidOp) << FormatGeneral(x);
        EXPECT_THROW(FloorInt(x), EInvalidOp) << FormatGeneral(x);
    }
    try {
        TruncInt(NaN);
        ADD_FAILURE();
    } catch (const EInvalidOp& e) {
        EXPECT_EQ(e.Message(), "Invalid floating point operation");
    }
}

}  // namespace
}  // namespace metopt::runtime
