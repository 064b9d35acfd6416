#include "render/fieldtexts.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "runtime/fpu.h"

namespace metopt::render {
namespace {

class FieldTextsTest : public ::testing::Test {
  protected:
};

TEST_F(FieldTextsTest, TheRegionComesFromItsFourFields) {
    GraphFieldTexts fields;
    fields.Xb = "-2";
    fields.Xe = "3";
    fields.Yb = "-0.5";
    fields.Ye = "0.25";
    const core::TRegion region = ReadRegion(fields);
    EXPECT_EQ(region.Xb, -2);
    EXPECT_EQ(region.Xe, 3);
    EXPECT_EQ(region.Yb, -0.5L);
    EXPECT_EQ(region.Ye, 0.25L);

    const core::TRegion defaults = ReadRegion(GraphFieldTexts{});
    EXPECT_EQ(defaults.Xb, -1.3L);
    EXPECT_EQ(defaults.Xe, 1.3L);
    EXPECT_EQ(defaults.Yb, -1.3L);
    EXPECT_EQ(defaults.Ye, 1.3L);
}

TEST_F(FieldTextsTest, RefreshTakesAGoodTextAndKeepsTheLastGoodValueOtherwise) {
    long double real = 7;
    RefreshReal(real, "0.5");
    EXPECT_EQ(real, 0.5L);
    std::int32_t count = 7;
    RefreshCount(count, "4");
    EXPECT_EQ(count, 4);
    for (const char* text : {"abc", "2x", "", "1.5"}) {
        EXPECT_NO_THROW(RefreshCount(count, text)) << text;
        EXPECT_EQ(count, 4) << text;
    }
}

}  // namespace
}  // namespace metopt::render
