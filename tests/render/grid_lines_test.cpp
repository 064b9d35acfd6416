// The grid's lines: the small and the big grid, the axes with their arrow heads, where the first
// line lies, and the default picture for a look.
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <cstdint>
#include <set>

#include "core/minimizer.h"
#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/grid.h"
#include "render/trace.h"
#include "support/grid_fixture.h"
#include "support/pixels.h"
#include "support/qt_environment.h"

namespace metopt::render {
namespace {

TEST_F(GridTest, DefaultsHandCheckedPositions) {
    EXPECT_EQ(ColumnAtTenths(1), 18);    // x = -1.2: 1 + floor(17.19)
    EXPECT_EQ(ColumnAtTenths(13), 224);  // x = 0: 1 + floor(223.5)
    EXPECT_EQ(ColumnAtTenths(25), 430);  // x = 1.2: 1 + floor(429.81)
    EXPECT_EQ(RowAtTenths(1), 16);       // y = 1.2: 1 + floor(15.81)
    EXPECT_EQ(RowAtTenths(13), 206);     // y = 0
    EXPECT_EQ(XToColumn(plot, -1.2L, W), 18);
    EXPECT_EQ(XToColumn(plot, 0, W), 224);
    EXPECT_EQ(YToRow(plot, 0, H), 206);
    EXPECT_EQ(YToRow(plot, -1.2L, H), RowAtTenths(25));
}

TEST_F(GridTest, ReadsTheGraphParamsWithTheAreaAtTheOrigin) {
    fields.Xs = "0.5";
    fields.SgYs = "3";
    Draw(false, false, false, false);
    EXPECT_EQ(plot.GraphParams.Xs, 0.5L);
    EXPECT_EQ(plot.GraphParams.SgYs, 3);
    EXPECT_EQ(plot.GraphParams.Left, 1);
    EXPECT_EQ(plot.GraphParams.Top, 1);
    EXPECT_EQ(plot.GraphParams.Right, W - 1);
    EXPECT_EQ(plot.GraphParams.Bottom, H - 1);
    EXPECT_EQ(PixelsOf(canvas, Background).size(), static_cast<std::size_t>(W * H));
}

TEST_F(GridTest, SmallGridTwentyFiveLinesEachWay) {
    Draw(true, false, false, false);
    const PixelSet pixels = PixelsOf(canvas, SmallGrid);
    ASSERT_EQ(SmallColumns().size(), 25u);
    // A row between two horizontal lines crosses exactly the vertical lines, and the other way.
    ASSERT_EQ(SmallRows().count(100), 0u);
    ASSERT_EQ(SmallColumns().count(100), 0u);
    EXPECT_EQ(ColumnsOf(pixels, 100), SmallColumns());
    EXPECT_EQ(RowsOf(pixels, 100), SmallRows());
    // Vertical lines cover rows 1..H-2 and horizontal lines columns 1..W-2, nothing of the frame.
    EXPECT_EQ(RowsOf(pixels, ColumnAtTenths(1)), Range(1, H - 2));
    EXPECT_EQ(ColumnsOf(pixels, RowAtTenths(1)), Range(1, W - 2));
    EXPECT_EQ(pixels.size(), 25u * (H - 2) + 25u * (W - 2) - 25u * 25u);
}

TEST_F(GridTest, BigGridThirteenLinesEachWayOverTheSmallGrid) {
    Draw(true, true, false, false);
    const PixelSet big = PixelsOf(canvas, BigGrid);
    ASSERT_EQ(BigColumns().size(), 13u);
    EXPECT_EQ(ColumnsOf(big, 100), BigColumns());
    EXPECT_EQ(RowsOf(big, 100), BigRows());
    EXPECT_EQ(big.size(), 13u * (H - 2) + 13u * (W - 2) - 13u * 13u);
    // The small lines between them are still there.
    EXPECT_EQ(canvas.GetPixel(ColumnAtTenths(2), 100), SmallGrid);
    EXPECT_EQ(canvas.GetPixel(ColumnAtTenths(3), 100), BigGrid);
}

TEST_F(GridTest, AxesCrossAtTheCentreWithBothArrowHeads) {
    Draw(false, false, true, false);
    PixelSet expected;
    for (int y = 1; y <= H - 2; ++y) {
        expected.insert({224, y});
    }
    for (int x = 1; x <= W - 2; ++x) {
        expected.insert({x, 206});
    }
    // Top arrow head: 448 div 32 = 14 to each side, 412 div 16 = 25 down.
    expected.merge(LinePixels(224, 1, 210, 26));
    expected.merge(LinePixels(224, 1, 238, 26));
    // Right arrow head: 448 div 16 = 28 back, 412 div 32 = 12 to each side.
    expected.merge(LinePixels(447, 206, 419, 194));
    expected.merge(LinePixels(447, 206, 419, 218));
    EXPECT_EQ(PixelsOf(canvas, Axes), expected);
    // The arrow lines stop one pixel short of their ends.
    EXPECT_EQ(canvas.GetPixel(211, 25), Axes);
    EXPECT_EQ(canvas.GetPixel(210, 26), Background);
    EXPECT_EQ(canvas.GetPixel(237, 25), Axes);
    EXPECT_EQ(canvas.GetPixel(420, 194), Axes);
    EXPECT_EQ(canvas.GetPixel(419, 194), Background);
    EXPECT_EQ(canvas.GetPixel(447, 206), Axes);  // the tip lies on the frame column
}

TEST_F(GridTest, AxesOnTheRegionEdgeOrOutsideAreLeftOut) {
    fields.Xc = "-1.3";  // on Xb: no vertical axis
    fields.Yc = "2";     // above Ye: no horizontal axis
    Draw(false, false, true, false);
    EXPECT_TRUE(PixelsOf(canvas, Axes).empty());
    fields.Xc = "1.3";  // on Xe
    fields.Yc = "0.5";
    Draw(false, false, true, false);
    EXPECT_EQ(RowsOf(PixelsOf(canvas, Axes), 100), std::set<int>{YToRow(plot, 0.5L, H)});
}

TEST_F(GridTest, RegionEmptyAcrossGivesNoVerticalLinesAndNoXLabels) {
    fields.Xb = "1.3";
    fields.Xe = "-1.3";
    Draw(true, true, false, true);
    EXPECT_TRUE(ColumnsOf(PixelsOf(canvas, SmallGrid), 100).empty());
    EXPECT_TRUE(ColumnsOf(PixelsOf(canvas, BigGrid), 100).empty());
    EXPECT_EQ(RowsOf(PixelsOf(canvas, BigGrid), 100), BigRows());
    // No x labels below the horizontal axis: nothing of the labels' colours in those rows
    // right of the y labels.
    for (int x = 230; x < W; ++x) {
        for (int y = 207; y < 207 + canvas.TextHeight("0"); ++y) {
            ASSERT_NE(canvas.GetPixel(x, y), Paper) << x << "," << y;
        }
    }
}

TEST_F(GridTest, ManyLinesBelowTheLimitAreDrawn) {
    fields.Xs = "0.001";  // 2600 lines, all on the area's 446 columns
    Draw(false, true, false, false);
    const std::set<int> columns = ColumnsOf(PixelsOf(canvas, BigGrid), 100);
    const std::set<int> area = Range(1, W - 2);
    EXPECT_TRUE(std::includes(columns.begin(), columns.end(), area.begin(), area.end()));
}

TEST_F(GridTest, PositiveStartNotOnTheStepPutsTheFirstLineLeftOfTheRegion) {
    fields.Xb = "0.25";
    fields.Xe = "1.3";
    plot.VisibleRegion.Xb = 0.25L;
    // TruncInt(0.25 / 0.2) * 0.2 = 0.2, left of Xb: column 1 + floor(-0.05 * 447 / 1.05) = -21.
    ASSERT_EQ(XToColumn(plot, 0.2L, W), -21);
    Draw(false, true, false, false);
    const std::set<int> columns = ColumnsOf(PixelsOf(canvas, BigGrid), 100);
    EXPECT_EQ(columns.count(-21), 0u);
    EXPECT_EQ(*columns.begin(), XToColumn(plot, 0.4L, W));
    EXPECT_EQ(columns.size(), 5u);  // 0.4, 0.6, 0.8, 1.0, 1.2
}

// The default picture as a person sees it: written next to the test for a look.
TEST_F(GridTest, DefaultPictureForViewing) {
    Palette[palette::TracePenColor].Color = 0x0000C0;
    Palette[palette::TraceFillColor].Color = 0x00FFFF;
    canvas.Fill(0xF0FFF0);
    Draw(true, true, true, true);
    const core::TTracePoint points[] = {{-1.0L, 1.1L}, {-0.4L, 0.2L}, {0.3L, 0.5L}, {0.9L, 0.8L}};
    descent.TraceCount = 4;
    for (std::uint32_t n = 1; n <= 4; ++n) {
        descent.Trace[n] = points[n - 1];
        DrawTracePoint(canvas, Drawing(), descent, static_cast<std::int32_t>(n));
    }
    EXPECT_TRUE(canvas.Image().save(QStringLiteral("default_grid.png")));
}

}  // namespace
}  // namespace metopt::render
