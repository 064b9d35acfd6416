#include "render/coordinates.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include "core/functions.h"
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
        core::CurrentFunc = Sum;
    }
};

TEST_F(CoordinatesTest, DesignSizeSamplesTheRegionEdgeToEdge) {
    UseDesignSize();
    ScanValueRange(GraphFieldTexts{});

    EXPECT_EQ(MapCols, 446);
    EXPECT_EQ(MapRows, 410);
    EXPECT_EQ(VisibleRegion.Xb, -1.3L);
    EXPECT_EQ(VisibleRegion.Xe, 1.3L);
    EXPECT_EQ(VisibleRegion.Yb, -1.3L);
    EXPECT_EQ(VisibleRegion.Ye, 1.3L);
    EXPECT_EQ(ColumnToX(1), -1.3L);
    EXPECT_EQ(ColumnToX(446), 1.3L);
    EXPECT_EQ(RowToY(1), 1.3L);
    EXPECT_NEAR(static_cast<double>(RowToY(410)), -1.3, 1e-15);
    EXPECT_EQ(XToColumn(1.3L, DesignW), 448);
    EXPECT_EQ(XToColumn(-1.3L, DesignW), 1);
    EXPECT_EQ(YToRow(1.3L, DesignH), 1);
    EXPECT_EQ(YToRow(-1.3L, DesignH), 412);
    EXPECT_EQ(XToColumn(0, DesignW), 224);  // 1.3 * 447 / 2.6 + 1 = 224.5
}

TEST_F(CoordinatesTest, ConversionsBeforeAnyScanRaise) {
    UseDesignSize();
    EXPECT_THROW(XToColumn(0.5L, DesignW), runtime::EZeroDivide);
    EXPECT_THROW(YToRow(0.5L, DesignH), runtime::EZeroDivide);
    EXPECT_THROW(XToColumn(0, DesignW), runtime::EInvalidOp);  // 0 / 0
    try {
        XToColumn(1, DesignW);
        FAIL() << "no error";
    } catch (const runtime::Exception& e) {
        EXPECT_EQ(e.Message(), "Floating point division by zero");
    }
    // The samplers divide by MapCols - 1, which is not zero: all of them sample (0, 0).
    EXPECT_EQ(ColumnToX(200), 0);
    EXPECT_EQ(ValueAtPixel(200, 100), 0);
}

TEST_F(CoordinatesTest, ColumnFarOutsideRaisesInvalidOperation) {
    UseDesignSize();
    ScanValueRange(GraphFieldTexts{});
    EXPECT_THROW(XToColumn(1e30L, DesignW), runtime::EInvalidOp);
    EXPECT_THROW(YToRow(-1e30L, DesignH), runtime::EInvalidOp);
}

TEST_F(CoordinatesTest, RegionTooWideReportsTheOverflowThatCameFirst) {
    UseDesignSize();
    GraphFieldTexts fields;
    fields.Xb = "-1e4932";
    fields.Xe = "1e4932";
    // Xe - Xb overflows before column 1 multiplies the infinite span by 0.
    EXPECT_THROW(ScanValueRange(fields), runtime::EOverflow);
    EXPECT_THROW(ColumnToX(1), runtime::EOverflow);
    EXPECT_THROW(XToColumn(0, DesignW), runtime::EOverflow);
    EXPECT_EQ(RowToY(1), 1.3L);
    EXPECT_EQ(g_calls, 0);
}

TEST_F(CoordinatesTest, SamplersGiveTheConversionsValueAndFirstFaultWithoutRaising) {
    MapCols = 3;
    MapRows = 3;
    VisibleRegion = core::TRegion{0, 2, -1, 1};
    int faults = -1;
    EXPECT_EQ(SampledX(2, faults), 1);
    EXPECT_EQ(faults, 0);
    EXPECT_EQ(SampledY(3, faults), -1);
    EXPECT_EQ(faults, 0);
    VisibleRegion.Xe = 1e4932L;
    VisibleRegion.Xb = -1e4932L;
    SampledX(1, faults);  // the span overflows, then 0 * inf is invalid
    EXPECT_EQ(faults, FE_OVERFLOW);
    EXPECT_THROW(ColumnToX(1), runtime::EOverflow);
    MapRows = 1;
    SampledY(2, faults);  // 1 * -2 / 0
    EXPECT_EQ(faults, FE_DIVBYZERO);
}

}  // namespace
}  // namespace metopt::render
