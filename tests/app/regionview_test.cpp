// New views of the region: zoom about a pixel, a drag, a fit to paths, the history of views, and
// the points a tick of a comparison's animation draws.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/gifexport.h"
#include "app/regionview.h"
#include "render/coordinates.h"
#include "runtime/numparse.h"

namespace metopt::app {
namespace {

constexpr int W = 448;
constexpr int H = 412;

render::TPlot MappedPlot(core::TRegion region) {
    render::TPlot plot;
    plot.VisibleRegion = region;
    plot.MapCols = W - 2;
    plot.MapRows = H - 2;
    return plot;
}

long double Number(const std::string& text) {
    return runtime::ParseNumber(text);
}

struct ZoomCase {
    const char* name;
    int x, y;
    double factor;
    const char* xs;  // the step of the numbers after it, from 0.2
};

void PrintTo(const ZoomCase& c, std::ostream* os) {
    *os << c.name;
}

class ZoomTest : public ::testing::TestWithParam<ZoomCase> {};

// The pixel's point stays under the pointer, the width changes by the factor, the bounds are short
// texts within an eighth of a pixel, and the number step follows the width.
TEST_P(ZoomTest, KeepsThePointUnderThePointer) {
    const ZoomCase& c = GetParam();
    const render::TPlot before = MappedPlot({-1.3L, 1.3L, -1.3L, 1.3L});
    const auto view = ZoomedRegion(TSettings{}, before, c.x, c.y, W, H, c.factor);
    ASSERT_TRUE(view);
    const render::TPlot after =
        MappedPlot({Number(view->xb), Number(view->xe), Number(view->yb), Number(view->ye)});
    const long double pixel = 2.6L / c.factor / (W - 2);
    EXPECT_NEAR(static_cast<double>(render::ColumnToX(after, c.x)),
                static_cast<double>(render::ColumnToX(before, c.x)), static_cast<double>(pixel));
    EXPECT_NEAR(static_cast<double>(render::RowToY(after, c.y)),
                static_cast<double>(render::RowToY(before, c.y)), static_cast<double>(pixel));
    EXPECT_NEAR(static_cast<double>(Number(view->xe) - Number(view->xb)), 2.6 / c.factor,
                static_cast<double>(pixel));
    EXPECT_LE(view->xb.size(), 9u) << view->xb;
    EXPECT_EQ(view->xs, c.xs);
    EXPECT_EQ(view->ys, c.xs);
}

const ZoomCase ZoomCases[] = {
    {"InAboutTheCentre", 224, 206, 1.25, "0.2"},
    {"InThreeNotchesAtACorner", 1, 1, 1.25 * 1.25 * 1.25, "0.1"},
    {"OutThreeNotches", 300, 100, 1 / (1.25 * 1.25 * 1.25), "0.5"},
    {"InAThousandfold", 10, 400, 1000, "0.0002"},
};
INSTANTIATE_TEST_SUITE_P(Views, ZoomTest, ::testing::ValuesIn(ZoomCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(RegionViewTest, NoViewBeforeAMap) {
    const render::TPlot none;
    EXPECT_FALSE(ZoomedRegion(TSettings{}, none, 10, 10, W, H, 1.25));
    EXPECT_FALSE(MovedRegion(TSettings{}, none, 10, 10, W, H));
}

TEST(RegionViewTest, ADragMovesByItsPixels) {
    const render::TPlot plot = MappedPlot({-1.3L, 1.3L, -1.3L, 1.3L});
    const auto view = MovedRegion(TSettings{}, plot, -50, 30, W, H);
    ASSERT_TRUE(view);
    const long double xShift = 50 * (render::ColumnToX(plot, 2) - render::ColumnToX(plot, 1));
    const long double yShift = 30 * (render::RowToY(plot, 1) - render::RowToY(plot, 2));
    EXPECT_NEAR(static_cast<double>(Number(view->xb)), static_cast<double>(-1.3L + xShift), 1e-3);
    EXPECT_NEAR(static_cast<double>(Number(view->ye)), static_cast<double>(1.3L + yShift), 1e-3);
    EXPECT_EQ(view->xs, "0.2");
}

// A fit holds every point with a tenth to spare, square in scale; a single point keeps the typed
// scale; no finite point, no view.
TEST(RegionViewTest, FitHoldsThePathsSquareInScale) {
    core::TDescent path;
    path.TraceStart = {-3, 1};
    path.TraceCount = 2;
    path.Trace[1] = {1, 2};
    path.Trace[2] = {5, 2};
    const core::TDescent* paths[] = {&path};
    const auto view = FittedRegion(TSettings{}, paths, W, H);
    ASSERT_TRUE(view);
    const long double width = Number(view->xe) - Number(view->xb);
    const long double height = Number(view->ye) - Number(view->yb);
    EXPECT_NEAR(static_cast<double>(width), 8 * 1.2, 0.01);
    EXPECT_NEAR(static_cast<double>(width / (W - 2)), static_cast<double>(height / (H - 2)), 1e-4);
    EXPECT_NEAR(static_cast<double>(Number(view->xb) + Number(view->xe)), 2, 0.01);

    path.TraceCount = 1;
    path.Trace[1] = path.TraceStart;
    const auto point = FittedRegion(TSettings{}, paths, W, H);
    ASSERT_TRUE(point);
    EXPECT_NEAR(static_cast<double>(Number(point->xe) - Number(point->xb)), 2.6, 0.01);

    path.TraceStart = path.Trace[1] = {NAN, INFINITY};
    EXPECT_FALSE(FittedRegion(TSettings{}, paths, W, H));
}

TEST(RegionViewTest, HistoryKeepsTheLastTwenty) {
    TRegionHistory history;
    for (int i = 0; i < 25; ++i)
        history.Push({std::to_string(i), "", "", "", "", ""});
    for (int i = 24; i >= 5; --i)
        EXPECT_EQ(history.Pop()->xb, std::to_string(i));
    EXPECT_FALSE(history.Pop());
}

// A single run draws a point a tick; a comparison as many as keep it within 20 s.
TEST(RegionViewTest, PointsPerTickKeepAComparisonShort) {
    EXPECT_EQ(PointsPerTick(10000, false, 100), 1);
    EXPECT_EQ(PointsPerTick(200, true, 100), 1);
    EXPECT_EQ(PointsPerTick(201, true, 100), 2);
    EXPECT_EQ(PointsPerTick(10000, true, 100), 50);
    EXPECT_EQ(PointsPerTick(10000, true, 0), 1);
}

}  // namespace
}  // namespace metopt::app
