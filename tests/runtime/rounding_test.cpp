#include "runtime/rounding.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>

#include "runtime/exceptions.h"
#include "runtime/numbertest.h"
#include "runtime/numformat.h"

namespace metopt::runtime {
namespace {

constexpr long double TwoPow63 = 9223372036854775808.0L;
constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();

class RoundingTest : public NumberTest {};

// ---- RoundEven, TruncInt and FloorInt ---------------------------------------------------------

std::int64_t FloorIntWidened(long double x) {
    return FloorInt(x);
}

struct WholeCase {
    const char* name;
    std::int64_t (*convert)(long double);
    long double value;
    std::int64_t result;
};

void PrintTo(const WholeCase& row, std::ostream* os) {
    *os << row.name << ": " << Digits(row.value) << " gives " << row.result;
}

class WholeNumberTest : public RoundingTest, public ::testing::WithParamInterface<WholeCase> {};

TEST_P(WholeNumberTest, GivesTheInteger) {
    EXPECT_EQ(GetParam().convert(GetParam().value), GetParam().result);
}

// Nearest, ties to even.
INSTANTIATE_TEST_SUITE_P(
    RoundEven, WholeNumberTest,
    ::testing::Values(WholeCase{"TwoAndAHalf", RoundEven, 2.5L, 2},
                      WholeCase{"ThreeAndAHalf", RoundEven, 3.5L, 4},
                      WholeCase{"MinusTwoAndAHalf", RoundEven, -2.5L, -2},
                      WholeCase{"Half", RoundEven, 0.5L, 0},
                      WholeCase{"OneAndAHalf", RoundEven, 1.5L, 2},
                      WholeCase{"MinusOneAndAHalf", RoundEven, -1.5L, -2},
                      WholeCase{"BelowTie", RoundEven, 2.4L, 2},
                      WholeCase{"AboveTie", RoundEven, -2.6L, -3},
                      WholeCase{"LargestInt64", RoundEven, 9223372036854775807.0L, Int64Max},
                      WholeCase{"SmallestInt64", RoundEven, -TwoPow63, Int64Min}),
    RowName<WholeCase>);

// Toward zero.
INSTANTIATE_TEST_SUITE_P(
    TruncInt, WholeNumberTest,
    ::testing::Values(WholeCase{"Positive", TruncInt, 2.7L, 2},
                      WholeCase{"Negative", TruncInt, -2.7L, -2},
                      WholeCase{"BelowOne", TruncInt, 0.999L, 0},
                      WholeCase{"AboveMinusOne", TruncInt, -0.999L, 0},
                      WholeCase{"Large", TruncInt, 1e18L, 1'000'000'000'000'000'000LL},
                      WholeCase{"LargestInt64", TruncInt, 9223372036854775807.0L, Int64Max},
                      WholeCase{"SmallestInt64", TruncInt, -TwoPow63, Int64Min}),
    RowName<WholeCase>);

// Toward minus infinity.
INSTANTIATE_TEST_SUITE_P(
    FloorInt, WholeNumberTest,
    ::testing::Values(WholeCase{"MinusHalf", FloorIntWidened, -0.5L, -1},
                      WholeCase{"MinusTwo", FloorIntWidened, -2.0L, -2},
                      WholeCase{"TwoPointSeven", FloorIntWidened, 2.7L, 2},
                      WholeCase{"NegativeZero", FloorIntWidened, -0.0L, 0},
                      WholeCase{"MinusTwoAndAHalf", FloorIntWidened, -2.5L, -3},
                      WholeCase{"Half", FloorIntWidened, 0.5L, 0},
                      // The low 32 bits of the 64-bit integer part, wrapping.
                      WholeCase{"LowBitsOnly", FloorIntWidened, 4294967299.5L, 3},
                      WholeCase{"WrapsToNegative", FloorIntWidened, 2147483648.0L, Int32Min},
                      WholeCase{"MinusOneWraps", FloorIntWidened, -2147483648.5L, Int32Max}),
    RowName<WholeCase>);

// FloorOfPositive is FloorInt over its range, in every rounding mode (it converts in the mode of
// the moment and corrects).
TEST_F(RoundingTest, FloorOfPositiveIsTheFloorInEveryRoundingMode) {
    const long double justBelowThree = std::nextafter(3.0L, 0.0L);
    const long double values[] = {1e-4000L,       0.5L, 0.999L, 1.0L,   1.5L,       2.5L,
                                  justBelowThree, 3.0L, 9.98L,  29.99L, 1048576.5L, 2147483646.75L};
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        for (const long double x : values)
            EXPECT_EQ(FloorOfPositive(x), FloorInt(x)) << FormatGeneral(x) << ", mode " << mode;
    }
    std::fesetround(FE_TONEAREST);
}

TEST_F(RoundingTest, IntegerConversionsRejectWhatNoInt64Holds) {
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

// ---- IntPart and FracPart ---------------------------------------------------------------------

TEST_F(RoundingTest, IntPartAndFracPart) {
    const struct {
        long double (*part)(long double);
        long double value;
        long double result;
    } rows[] = {
        {IntPart, -2.7L, -2.0L},  {IntPart, 2.7L, 2.0L},      {IntPart, 1e30L, 1e30L},
        {FracPart, 2.75L, 0.75L}, {FracPart, -2.75L, -0.75L}, {FracPart, 5.0L, 0.0L},
        {FracPart, 1e30L, 0.0L},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.part(row.value), row.result) << FormatGeneral(row.value);
    EXPECT_TRUE(std::isnan(IntPart(NaN)));
    EXPECT_THROW(FracPart(Inf), EInvalidOp);
}

}  // namespace
}  // namespace metopt::runtime
