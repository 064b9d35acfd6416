#include "runtime/numparse.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <ostream>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numbertest.h"
#include "runtime/numformat.h"

namespace metopt::runtime {
namespace {

class NumParseTest : public NumberTest {};

// ---- ParseNumber ------------------------------------------------------------------------------

struct ParseCase {
    const char* name;
    const char* text;
    long double value;
};

void PrintTo(const ParseCase& row, std::ostream* os) {
    *os << row.name << ": " << Quoted(row.text) << " gives " << Digits(row.value);
}

class ParseNumberTest : public NumParseTest, public ::testing::WithParamInterface<ParseCase> {};

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
    RowName<ParseCase>);

TEST_F(NumParseTest, ParseNumberKeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(ParseNumber("-0")));
    EXPECT_FALSE(std::signbit(ParseNumber("0")));
}

TEST_F(NumParseTest, ParseNumberGivesADenormalSilently) {
    const long double value = ParseNumber("1e-4940");
    EXPECT_GT(value, 0.0L);
    EXPECT_LT(value, LDBL_MIN);
    EXPECT_NO_THROW(CheckFpu());
}

TEST_F(NumParseTest, ParseNumberRaisesOverflowBeyondTheExtendedRange) {
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

TEST_F(NumParseTest, ParseNumberHandlesLongDigitRuns) {
    const std::string zeros(5000, '0');
    EXPECT_EQ(ParseNumber("0." + zeros + "1e5000"), 0.1L);
    EXPECT_EQ(ParseNumber("0." + zeros + "1"), 0.0L);
    // Digits far below the 64-bit precision change nothing visible.
    EXPECT_NEAR(static_cast<double>(ParseNumber("1" + zeros + "e-5000")), 1.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(ParseNumber("1." + zeros + "1")), 1.0, 1e-12);
}

// ---- HexDigitValue ----------------------------------------------------------------------------

TEST_F(NumParseTest, HexDigitValueReadsEitherCase) {
    const struct {
        char c;
        int value;
    } rows[] = {
        {'0', 0},  {'9', 9},  {'a', 10}, {'f', 15}, {'A', 10}, {'F', 15},
        {'g', -1}, {'G', -1}, {'x', -1}, {' ', -1}, {'$', -1}, {'\0', -1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(HexDigitValue(row.c), row.value) << "'" << row.c << "'";
}

// ---- ParseInteger -----------------------------------------------------------------------------

struct IntegerCase {
    const char* name;
    const char* text;
    std::int32_t value;
};

void PrintTo(const IntegerCase& row, std::ostream* os) {
    *os << row.name << ": " << Quoted(row.text) << " gives " << row.value;
}

class ParseIntegerTest : public NumParseTest, public ::testing::WithParamInterface<IntegerCase> {};

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
    RowName<IntegerCase>);

TEST_F(NumParseTest, ParseIntegerRejectsMalformedText) {
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

TEST_F(NumParseTest, ParseIntegerMessageQuotesTheWholeText) {
    for (const std::string text : {"1,5", " 12 ", ""}) {
        try {
            ParseInteger(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + text + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace metopt::runtime
