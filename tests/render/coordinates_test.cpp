#include "render/coordinates.h"
#include "support/expect_error.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include "core/builtinfunctions.h"
#include "render/fieldtexts.h"
#include "render/valuescan.h"
#include "runtime/exceptions.h"

namespace metopt::render {
namespace {

int g_calls = 0;

long double Sum(long double x, long double y) {
    ++g_calls;
    return x + y;
}

class CoordinatesTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        g_calls = 0;
        plot.CurrentFunc = Impure(Sum);
    }
};

TEST(PlotTest, AFreshPlotPlotsFunctionOne) {
    const TPlot fresh;
    EXPECT_EQ(fresh.CurrentFunc, core::PlottedFunc(1));
    EXPECT_EQ(fresh.CurrentFunc(2, 0), 25.0L);
    EXPECT_FALSE(fresh.ZRangeValid);
}

TEST_F(CoordinatesTest, DesignSizeSamplesTheRegionEdgeToEdge) {
    UseDesignSize();
    ScanValueRange(plot, samples, progress, GraphFieldTexts{});

    EXPECT_EQ(plot.MapCols, 446);
    EXPECT_EQ(plot.MapRows, 410);
    EXPECT_EQ(plot.VisibleRegion.Xb, -1.3L);
    EXPECT_EQ(plot.VisibleRegion.Xe, 1.3L);
    EXPECT_EQ(plot.VisibleRegion.Yb, -1.3L);
    EXPECT_EQ(plot.VisibleRegion.Ye, 1.3L);
    EXPECT_EQ(ColumnToX(plot, 1), -1.3L);
    EXPECT_EQ(ColumnToX(plot, 446), 1.3L);
    EXPECT_EQ(RowToY(plot, 1), 1.3L);
    EXPECT_NEAR(static_cast<double>(RowToY(plot, 410)), -1.3, 1e-15);
    EXPECT_EQ(XToColumn(plot, 1.3L, DesignW), 448);
    EXPECT_EQ(XToColumn(plot, -1.3L, DesignW), 1);
    EXPECT_EQ(YToRow(plot, 1.3L, DesignH), 1);
    EXPECT_EQ(YToRow(plot, -1.3L, DesignH), 412);
    EXPECT_EQ(XToColumn(plot, 0, DesignW), 224);  // 1.3 * 447 / 2.6 + 1 = 224.5
}

TEST_F(CoordinatesTest, ConversionsBeforeAnyScanRaise) {
    UseDesignSize();
    EXPECT_THROW(XToColumn(plot, 0.5L, DesignW), runtime::EZeroDivide);
    EXPECT_THROW(YToRow(plot, 0.5L, DesignH), runtime::EZeroDivide);
    EXPECT_THROW(XToColumn(plot, 0, DesignW), runtime::EInvalidOp);  // 0 / 0
    testsupport::ExpectError([&] { XToColumn(plot, 1, DesignW); },
                             "Floating point division by zero");
    // The samplers divide by plot.MapCols - 1, which is not zero: all of them sample (0, 0).
    EXPECT_EQ(ColumnToX(plot, 200), 0);
    EXPECT_EQ(ValueAtPixel(plot, 200, 100), 0);
}

TEST_F(CoordinatesTest, ColumnFarOutsideRaisesInvalidOperation) {
    UseDesignSize();
    ScanValueRange(plot, samples, progress, GraphFieldTexts{});
    EXPECT_THROW(XToColumn(plot, 1e30L, DesignW), runtime::EInvalidOp);
    EXPECT_THROW(YToRow(plot, -1e30L, DesignH), runtime::EInvalidOp);
}

TEST_F(CoordinatesTest, RegionTooWideReportsTheOverflowThatCameFirst) {
    UseDesignSize();
    GraphFieldTexts fields;
    fields.Xb = "-1e4932";
    fields.Xe = "1e4932";
    // Xe - Xb overflows before column 1 multiplies the infinite span by 0.
    EXPECT_THROW(ScanValueRange(plot, samples, progress, fields), runtime::EOverflow);
    EXPECT_THROW(ColumnToX(plot, 1), runtime::EOverflow);
    EXPECT_THROW(XToColumn(plot, 0, DesignW), runtime::EOverflow);
    EXPECT_EQ(RowToY(plot, 1), 1.3L);
    EXPECT_EQ(g_calls, 0);
}

TEST_F(CoordinatesTest, SamplersGiveTheConversionsValueAndFirstFaultWithoutRaising) {
    plot.MapCols = 3;
    plot.MapRows = 3;
    plot.VisibleRegion = core::TRegion{0, 2, -1, 1};
    int faults = -1;
    EXPECT_EQ(SampledX(plot, 2, faults), 1);
    EXPECT_EQ(faults, 0);
    EXPECT_EQ(SampledY(plot, 3, faults), -1);
    EXPECT_EQ(faults, 0);
    plot.VisibleRegion.Xe = 1e4932L;
    plot.VisibleRegion.Xb = -1e4932L;
    SampledX(plot, 1, faults);  // the span overflows, then 0 * inf is invalid
    EXPECT_EQ(faults, FE_OVERFLOW);
    EXPECT_THROW(ColumnToX(plot, 1), runtime::EOverflow);
    plot.MapRows = 1;
    SampledY(plot, 2, faults);  // 1 * -2 / 0
    EXPECT_EQ(faults, FE_DIVBYZERO);
}

}  // namespace
}  // namespace metopt::render
