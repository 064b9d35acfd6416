#include "runtime/numformat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

#include "runtime/numbertest.h"

namespace metopt::runtime {
namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

class NumFormatTest : public NumberTest {
  protected:
    void SetUp() override {
        NumberTest::SetUp();
        SetDecimalSeparator('.');
    }
    void TearDown() override { SetDecimalSeparator('.'); }
};

// ---- FormatGeneral and FormatFixed -----------------------------------------------------------

struct FormatCase {
    const char* name;
    std::string (*format)(long double);
    long double value;
    const char* text;
};

void PrintTo(const FormatCase& row, std::ostream* os) {
    *os << row.name << ": " << Digits(row.value) << " gives " << Quoted(row.text);
}

class FormatTest : public NumFormatTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatTest, GivesTheText) {
    EXPECT_EQ(GetParam().format(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    General, FormatTest,
    ::testing::Values(
        FormatCase{"Integer37", FormatGeneral, 37.0L, "37"},
        FormatCase{"Integer100", FormatGeneral, 100.0L, "100"},
        FormatCase{"MinusTwoAndAHalf", FormatGeneral, -2.5L, "-2.5"},
        FormatCase{"Half", FormatGeneral, 0.5L, "0.5"},
        FormatCase{"PointNinetyNine", FormatGeneral, 0.99L, "0.99"},
        FormatCase{"OneThird", FormatGeneral, 1.0L / 3.0L, "0.333333333333333"},
        FormatCase{"TwoThirds", FormatGeneral, 2.0L / 3.0L, "0.666666666666667"},
        FormatCase{"MinusSevenThirds", FormatGeneral, -7.0L / 3.0L, "-2.33333333333333"},
        FormatCase{"ThousandSevenths", FormatGeneral, 1000.0L / 7.0L, "142.857142857143"},
        FormatCase{"Pi", FormatGeneral, Pi, "3.14159265358979"},
        FormatCase{"PointOnePlusPointTwo", FormatGeneral, 0.1L + 0.2L, "0.3"},
        FormatCase{"TenToMinus4", FormatGeneral, 0.0001L, "0.0001"},
        FormatCase{"MinusTenToMinus3", FormatGeneral, -0.001L, "-0.001"},
        FormatCase{"TenToMinus5", FormatGeneral, 0.00001L, "1E-5"},
        FormatCase{"TenToMinus7", FormatGeneral, 0.0000001L, "1E-7"},
        FormatCase{"OnePointFiveTenToMinus5", FormatGeneral, 0.000015L, "1.5E-5"},
        FormatCase{"OnePointFiveTenToMinus300", FormatGeneral, 1.5e-300L, "1.5E-300"},
        FormatCase{"FifteenDigits", FormatGeneral, 123456789012345.0L, "123456789012345"},
        FormatCase{"RoundsUpToTenTo15", FormatGeneral, 999999999999999.5L, "1E15"},
        FormatCase{"TenTo15", FormatGeneral, 1e15L, "1E15"},
        FormatCase{"SixteenDigits", FormatGeneral, 1234567890123456.0L, "1.23456789012346E15"},
        FormatCase{"TenTo100", FormatGeneral, 1e100L, "1E100"},
        FormatCase{"Zero", FormatGeneral, 0.0L, "0"},
        FormatCase{"NegativeZero", FormatGeneral, -0.0L, "0"},
        // Edge cases.
        FormatCase{"FifteenNines", FormatGeneral, 999999999999999.0L, "999999999999999"},
        FormatCase{"NineTenToMinus5", FormatGeneral, 0.00009L, "9E-5"},
        FormatCase{"IntegerPaddedWithZeros", FormatGeneral, 150000000000000.0L, "150000000000000"},
        FormatCase{"Denormal", FormatGeneral, LDBL_TRUE_MIN, "0"},
        FormatCase{"NegativeDenormal", FormatGeneral, -LDBL_TRUE_MIN, "0"},
        FormatCase{"Largest", FormatGeneral, LDBL_MAX, "1.18973149535723E4932"},
        FormatCase{"SmallestNormal", FormatGeneral, LDBL_MIN, "3.36210314311209E-4932"},
        FormatCase{"Infinity", FormatGeneral, Inf, "INF"},
        FormatCase{"MinusInfinity", FormatGeneral, -Inf, "-INF"},
        FormatCase{"NaN", FormatGeneral, NaN, "NAN"},
        FormatCase{"NegativeNaN", FormatGeneral, -NaN, "NAN"}),
    RowName<FormatCase>);

INSTANTIATE_TEST_SUITE_P(
    Fixed, FormatTest,
    ::testing::Values(FormatCase{"Zero", FormatFixed, 0.0L, "0.00"},
                      FormatCase{"OneAndAHalf", FormatFixed, 1.5L, "1.50"},
                      FormatCase{"MinusOneAndAHalf", FormatFixed, -1.5L, "-1.50"},
                      FormatCase{"HalfAHundredthUp", FormatFixed, 0.005L, "0.01"},
                      FormatCase{"MinusHalfAHundredth", FormatFixed, -0.005L, "-0.01"},
                      FormatCase{"SmallNegativeKeepsSign", FormatFixed, -0.001L, "-0.00"},
                      FormatCase{"TwoThirds", FormatFixed, 2.0L / 3.0L, "0.67"},
                      FormatCase{"TwelvePoint345", FormatFixed, 12.345L, "12.35"},
                      // The 18-digit image of 2.675 and of 1.005 ends in 5000..., so they round up.
                      FormatCase{"TwoPoint675", FormatFixed, 2.675L, "2.68"},
                      FormatCase{"OnePoint005", FormatFixed, 1.005L, "1.01"},
                      FormatCase{"NinePoint95", FormatFixed, 9.95L, "9.95"},
                      FormatCase{"CarryMakesNewDigit", FormatFixed, 9.999L, "10.00"},
                      FormatCase{"Hundred", FormatFixed, 100.0L, "100.00"},
                      FormatCase{"TenTo15", FormatFixed, 1e15L, "1000000000000000.00"},
                      FormatCase{"TenTo20", FormatFixed, 1e20L, "100000000000000000000.00"},
                      FormatCase{"TenTo35", FormatFixed, 1e35L,
                                 "100000000000000000000000000000000000.00"},
                      FormatCase{"OneEighth", FormatFixed, 0.125L, "0.13"},
                      FormatCase{"MinusThousand", FormatFixed, -1000.0L, "-1000.00"},
                      FormatCase{"NegativeZero", FormatFixed, -0.0L, "-0.00"},
                      FormatCase{"TinyNegative", FormatFixed, -1e-10L, "-0.00"},
                      FormatCase{"Denormal", FormatFixed, LDBL_TRUE_MIN, "0.00"},
                      FormatCase{"TenTo36", FormatFixed, 1e36L, " 1.0E+0036"},
                      FormatCase{"OnePoint2TenTo40", FormatFixed, 1.2e40L, " 1.2E+0040"},
                      FormatCase{"MinusOnePoint2TenTo40", FormatFixed, -1.2e40L, "-1.2E+0040"},
                      FormatCase{"ScientificCarry", FormatFixed, 9.96e40L, " 1.0E+0041"},
                      FormatCase{"Largest", FormatFixed, LDBL_MAX, " 1.2E+4932"},
                      FormatCase{"Infinity", FormatFixed, Inf, "+Inf"},
                      FormatCase{"MinusInfinity", FormatFixed, -Inf, "-Inf"},
                      FormatCase{"NaN", FormatFixed, NaN, " Nan"}),
    RowName<FormatCase>);

// ---- The decimal separator -------------------------------------------------------------------

TEST_F(NumFormatTest, FormatGeneralUsesTheDecimalSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(DecimalSeparator(), ',');
    const struct {
        long double value;
        const char* text;
    } rows[] = {
        {0.5L, "0,5"},
        {-7.0L / 3.0L, "-2,33333333333333"},
        {0.000015L, "1,5E-5"},
        {37.0L, "37"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatGeneral(row.value), row.text);
}

TEST_F(NumFormatTest, DecimalSeparatorDefaultsToPoint) {
    EXPECT_EQ(DecimalSeparator(), '.');
    SetDecimalSeparator('\0');
    EXPECT_EQ(DecimalSeparator(), '.');
}

TEST_F(NumFormatTest, FormatFixedIgnoresTheDecimalSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatFixed(0.5L), "0.50");
    EXPECT_EQ(FormatGeneral(0.5L), "0,5");
}

// ---- FormatInteger ---------------------------------------------------------------------------

TEST_F(NumFormatTest, FormatIntegerWritesPlainDecimal) {
    const struct {
        std::int64_t value;
        const char* text;
    } rows[] = {
        {0, "0"},
        {-5, "-5"},
        {1234567, "1234567"},
        {std::numeric_limits<std::int32_t>::min(), "-2147483648"},
        {std::numeric_limits<std::uint32_t>::max(), "4294967295"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatInteger(row.value), row.text);
}

}  // namespace
}  // namespace metopt::runtime
