// A click on the picture gives the start point of its pixel in the fewest digits that keep the
// point on that pixel.
#include "render/pointpick.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "render/coordinates.h"
#include "runtime/numparse.h"

namespace metopt::render {
namespace {

struct AreaCase {
    const char* name;
    int W, H;
    const char* xb;
    const char* xe;
};

void PrintTo(const AreaCase& c, std::ostream* os) {
    *os << c.name;
}

const AreaCase AreaCases[] = {
    {"DesignArea", 448, 412, "-1.3", "1.3"},
    {"WideRegion", 301, 257, "-5000", "5000"},
    {"NarrowRegion", 448, 412, "0.999999", "1.000001"},
};

long double Sum(long double x, long double y) {
    return x + y;
}

class PointPickTest : public testsupport::RenderStateTest,
                      public ::testing::WithParamInterface<AreaCase> {};

TEST_P(PointPickTest, TheFewestDigitsThatStayOnThePixel) {
    const AreaCase& c = GetParam();
    plot.CurrentFunc = Impure(Sum);
    ScanArea(c.W, c.H, c.xb, c.xe);
    for (const auto& [X, Y] : {std::pair{1, 1}, {c.W / 3, c.H / 2}, {c.W - 2, c.H - 2}}) {
        SCOPED_TRACE(std::to_string(X) + ", " + std::to_string(Y));
        const std::optional<PickedPoint> point = PointAtPixel(plot, X, Y, c.W, c.H);
        ASSERT_TRUE(point.has_value());
        const long double x = runtime::ParseNumber(point->x);
        const long double y = runtime::ParseNumber(point->y);
        EXPECT_EQ(XToColumn(plot, x, c.W), XToColumn(plot, ColumnToX(plot, X), c.W));
        EXPECT_EQ(YToRow(plot, y, c.H), YToRow(plot, RowToY(plot, Y), c.H));
        // Written with '.', whatever the locale.
        EXPECT_EQ(point->x.find(','), std::string::npos);
    }
    EXPECT_FALSE(PointAtPixel(plot, 0, 5, c.W, c.H).has_value()) << "the frame";
    EXPECT_FALSE(PointAtPixel(plot, 5, c.H - 1, c.W, c.H).has_value()) << "the frame";
}

INSTANTIATE_TEST_SUITE_P(Areas, PointPickTest, ::testing::ValuesIn(AreaCases),
                         [](const ::testing::TestParamInfo<AreaCase>& row) {
                             return std::string(row.param.name);
                         });

class PointPickCornerTest : public testsupport::RenderStateTest {};

// The design region's first and last sampled pixels are its round edges; before a map there is
// no point to take.
TEST_F(PointPickCornerTest, TheDesignRegionsCornersAreItsRoundEdges) {
    plot.CurrentFunc = Impure(Sum);
    EXPECT_FALSE(PointAtPixel(plot, 5, 5, 448, 412).has_value());
    ScanArea(448, 412, "-1.3", "1.3");
    const std::optional<PickedPoint> first = PointAtPixel(plot, 1, 1, 448, 412);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->x, "-1.3");
    EXPECT_EQ(first->y, "1.3");
    const std::optional<PickedPoint> middle = PointAtPixel(plot, 223, 205, 448, 412);
    ASSERT_TRUE(middle.has_value());
    EXPECT_LE(middle->x.size(), 6u) << middle->x;
}

}  // namespace
}  // namespace metopt::render
