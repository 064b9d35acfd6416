#include "platform/spinrule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "runtime/numbertest.h"

namespace metopt::platform {
namespace {

class SpinRuleTest : public runtime::NumberTest {};

TEST_F(SpinRuleTest, SpinEditValueFallsBackToMinimumAndIgnoresMaximum) {
    const struct {
        const char* text;
        std::int32_t minValue;
        std::int32_t maxValue;
        std::int32_t value;
    } rows[] = {
        {"12", 0, 10, 12}, {"-20", 0, 10, -20}, {"abc", 3, 10, 3},
        {"", -5, 5, -5},   {"12 ", 1, 255, 1},  {"$FF", 0, 10, 255},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SpinEditValue(row.text, row.minValue, row.maxValue), row.value) << row.text;
}

// A value set is limited to the bounds unless they are equal, and written back in integer form.
TEST_F(SpinRuleTest, SpinEditClampAndTextLimitUnlessTheBoundsAreEqual) {
    constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();
    const struct {
        std::int64_t value;
        std::int32_t minValue;
        std::int32_t maxValue;
        std::int32_t clamped;
        const char* text;
    } rows[] = {
        {15, 0, 10, 10, "10"},
        {-3, 0, 10, 0, "0"},
        {5, 0, 10, 5, "5"},
        {500, 0, 0, 500, "500"},
        {-500, 7, 7, -500, "-500"},
        {5'000'000'000LL, 0, 0, Int32Max, "2147483647"},
        {-5'000'000'000LL, 0, 0, Int32Min, "-2147483648"},
        {300, 0, 255, 255, "255"},
        {-1, 0, 255, 0, "0"},
        {128, 0, 255, 128, "128"},
        {-42, 0, 0, -42, "-42"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SpinEditClamp(row.value, row.minValue, row.maxValue), row.clamped) << row.value;
        EXPECT_EQ(SpinEditText(row.value, row.minValue, row.maxValue), row.text) << row.value;
    }
}

}  // namespace
}  // namespace metopt::platform
