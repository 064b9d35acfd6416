#include "render/viewport.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/functions.h"
#include "render/hooks.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::render {
namespace {

// The design size of the drawing area.
constexpr int DesignW = 448;
constexpr int DesignH = 412;
const std::string ScanPrefix = "Расчет значений функции: ";

int g_calls = 0;

long double Sum(long double x, long double y) {
    ++g_calls;
    return x + y;
}
long double AlwaysOne(long double, long double) {
    return 1;
}
long double TwoThousandMillion(long double, long double) {
    return 2e9L;
}
long double MinusThreeThousandMillion(long double, long double) {
    return -3e9L;
}
long double Overflowing(long double, long double) {
    throw runtime::EOverflow();
}

// On the grid x = col - 1, y = 3 - (row - 1): -1 at three points, x + y + 10 elsewhere.
long double ThreeEqualMinima(long double x, long double y) {
    const bool atMinimum = (x == 2 && y == 2) || (x == 4 && y == 2) || (x == 0 && y == 1);
    return atMinimum ? -1 : x + y + 10;
}

class ViewportTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        g_calls = 0;
        core::CurrentFunc = Sum;
        SetStatusSink([this](const std::string& text) {
            statuses.push_back(text);
            callsAtStatus.push_back(g_calls);
        });
    }
    void UseDesignSize() {
        MapCols = DesignW - 2;
        MapRows = DesignH - 2;
    }

    std::vector<int> callsAtStatus;
};

TEST_F(ViewportTest, DesignSizeSamplesTheRegionEdgeToEdge) {
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

TEST_F(ViewportTest, ScanFindsRangeAndSmallestSampleOfSum) {
    UseDesignSize();
    ScanValueRange(GraphFieldTexts{});
    // x + y is smallest at the bottom-left corner and largest at the top-right one.
    EXPECT_EQ(ZMin, ValueAtPixel(1, 410));
    EXPECT_EQ(ZMax, ValueAtPixel(446, 1));
    EXPECT_EQ(MinCol, 1);
    EXPECT_EQ(MinRow, 410);
    EXPECT_TRUE(ZRangeValid);
    EXPECT_EQ(g_calls, 446 * 410 + 2);
}

TEST_F(ViewportTest, ScanWritesOneStatusBeforeEachRow) {
    UseDesignSize();
    ScanValueRange(GraphFieldTexts{});

    ASSERT_EQ(statuses.size(), 410u);
    EXPECT_EQ(statuses.front(), ScanPrefix + "0%");
    EXPECT_EQ(statuses[204], ScanPrefix + "50%");  // row 205 of 410
    EXPECT_EQ(statuses.back(), ScanPrefix + "100%");
    for (std::size_t i = 0; i < callsAtStatus.size(); ++i) {
        ASSERT_EQ(callsAtStatus[i], static_cast<int>(i) * 446) << "status " << i;
    }
}

TEST_F(ViewportTest, EqualSamplesWidenTheRange) {
    UseDesignSize();
    core::CurrentFunc = AlwaysOne;
    GraphFieldTexts fields;
    fields.Xb = fields.Xe = fields.Yb = fields.Ye = "0.5";
    ScanValueRange(fields);

    EXPECT_EQ(ZMin, 1 - 0.0001L);
    EXPECT_EQ(ZMax, 1 + 0.0001L);
    EXPECT_EQ(MinCol, 1);
    EXPECT_EQ(MinRow, 1);
}

TEST_F(ViewportTest, SamplesAboveTheStartLimitLeaveMinimumAndItsPixel) {
    UseDesignSize();
    MinCol = 7;
    MinRow = 5;
    core::CurrentFunc = TwoThousandMillion;
    ScanValueRange(GraphFieldTexts{});

    EXPECT_EQ(ZMin, 1e9L);
    EXPECT_EQ(ZMax, 2e9L);
    EXPECT_EQ(MinCol, 7);
    EXPECT_EQ(MinRow, 5);
}

TEST_F(ViewportTest, SamplesBelowTheStartLimitLeaveMaximum) {
    UseDesignSize();
    core::CurrentFunc = MinusThreeThousandMillion;
    ScanValueRange(GraphFieldTexts{});

    EXPECT_EQ(ZMin, -3e9L);
    EXPECT_EQ(ZMax, -1e9L);
    EXPECT_EQ(MinCol, 1);
    EXPECT_EQ(MinRow, 1);
}

TEST_F(ViewportTest, NoRowsMeansNoStatusAndTheStartLimits) {
    for (const std::int32_t rows : {0, -2}) {
        ResetViewport();
        statuses.clear();
        MapCols = 446;
        MapRows = rows;
        ScanValueRange(GraphFieldTexts{});
        EXPECT_TRUE(statuses.empty()) << rows;
        EXPECT_EQ(ZMin, 1e9L) << rows;
        EXPECT_EQ(ZMax, -1e9L) << rows;
        EXPECT_TRUE(ZRangeValid) << rows;
        EXPECT_EQ(VisibleRegion.Xe, 1.3L) << rows;
    }
    EXPECT_EQ(g_calls, 0);
}

TEST_F(ViewportTest, EqualSmallestSamplesGoToTheFirstInScanOrder) {
    MapCols = 5;
    MapRows = 4;
    core::CurrentFunc = ThreeEqualMinima;
    GraphFieldTexts fields;
    fields.Xb = "0";
    fields.Xe = "4";
    fields.Yb = "0";
    fields.Ye = "3";
    ScanValueRange(fields);

    EXPECT_EQ(ZMin, -1);
    EXPECT_EQ(ZMax, 17);  // x = 4, y = 3
    EXPECT_EQ(MinCol, 3);
    EXPECT_EQ(MinRow, 2);
}

TEST_F(ViewportTest, ConversionsBeforeAnyScanRaise) {
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

TEST_F(ViewportTest, ColumnFarOutsideRaisesInvalidOperation) {
    UseDesignSize();
    ScanValueRange(GraphFieldTexts{});
    EXPECT_THROW(XToColumn(1e30L, DesignW), runtime::EInvalidOp);
    EXPECT_THROW(YToRow(-1e30L, DesignH), runtime::EInvalidOp);
}

TEST_F(ViewportTest, SingleColumnAreaRaisesAtItsFirstPixel) {
    MapCols = 1;
    MapRows = 3;
    EXPECT_THROW(ScanValueRange(GraphFieldTexts{}), runtime::EInvalidOp);  // (0 * 2.6) / 0
    EXPECT_EQ(statuses, std::vector<std::string>{ScanPrefix + "33%"});
    EXPECT_FALSE(ZRangeValid);
    EXPECT_EQ(ZMin, 1e9L);
    EXPECT_THROW(ColumnToX(2), runtime::EZeroDivide);
    EXPECT_EQ(g_calls, 0);
}

TEST_F(ViewportTest, RegionTooWideReportsTheOverflowThatCameFirst) {
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

TEST_F(ViewportTest, FailingFunctionStopsTheScanWithRangeInvalid) {
    UseDesignSize();
    core::CurrentFunc = Overflowing;
    EXPECT_THROW(ScanValueRange(GraphFieldTexts{}), runtime::EOverflow);
    EXPECT_FALSE(ZRangeValid);
    EXPECT_EQ(statuses.size(), 1u);
}

TEST_F(ViewportTest, ReadGraphParamsReadsEveryField) {
    GraphFieldTexts fields;
    fields.Xc = "0.5";
    fields.Ys = "0.25";
    fields.SgYs = "3";
    ReadGraphParams(fields, 0, 0, DesignW, DesignH);

    const TGraphParams& p = GraphParams;
    EXPECT_EQ(p.Xb, -1.3L);
    EXPECT_EQ(p.Yb, -1.3L);
    EXPECT_EQ(p.Xe, 1.3L);
    EXPECT_EQ(p.Ye, 1.3L);
    EXPECT_EQ(p.Xc, 0.5L);
    EXPECT_EQ(p.Yc, 0);
    EXPECT_EQ(p.Xs, 0.2L);
    EXPECT_EQ(p.Ys, 0.25L);
    EXPECT_EQ(p.SgXs, 2);
    EXPECT_EQ(p.SgYs, 3);
    EXPECT_EQ(p.Left, 1);
    EXPECT_EQ(p.Top, 1);
    EXPECT_EQ(p.Right, 447);
    EXPECT_EQ(p.Bottom, 411);
}

TEST_F(ViewportTest, BadCountRaisesWithRealsNewAndCountsAndRectangleOld) {
    ReadGraphParams(GraphFieldTexts{}, 0, 0, DesignW, DesignH);
    GraphFieldTexts fields;
    fields.Xb = "-2";
    fields.Ys = "0.5";
    fields.SgXs = "5";
    fields.SgYs = "2x";
    try {
        ReadGraphParams(fields, 0, 0, 100, 50);
        FAIL() << "no error";
    } catch (const runtime::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'2x' is not a valid integer value");
    }
    EXPECT_EQ(GraphParams.Xb, -2);
    EXPECT_EQ(GraphParams.Ys, 0.5L);
    EXPECT_EQ(GraphParams.SgXs, 2);
    EXPECT_EQ(GraphParams.SgYs, 2);
    EXPECT_EQ(GraphParams.Right, 447);
    EXPECT_EQ(GraphParams.Bottom, 411);
}

TEST_F(ViewportTest, RefreshKeepsLastGoodCountsAndNeverRaises) {
    ReadGraphParams(GraphFieldTexts{}, 0, 0, DesignW, DesignH);
    GraphFieldTexts fields;
    fields.Xb = "-3";
    fields.SgXs = "abc";
    fields.SgYs = "4";
    EXPECT_NO_THROW(RefreshGraphParams(fields, 0, 0, 100, 50));
    EXPECT_NO_THROW(RefreshGraphParams(fields, 0, 0, 100, 50));

    EXPECT_EQ(GraphParams.Xb, -3);
    EXPECT_EQ(GraphParams.SgXs, 2);
    EXPECT_EQ(GraphParams.SgYs, 4);
    EXPECT_EQ(GraphParams.Right, 99);
    EXPECT_EQ(GraphParams.Bottom, 49);
}

struct ReadoutCase {
    const char* name;
    int X, Y;
    const char* x;
    const char* y;
    const char* z;
};

void PrintTo(const ReadoutCase& c, std::ostream* os) {
    *os << c.name;
}

class MouseReadoutTest : public ViewportTest, public ::testing::WithParamInterface<ReadoutCase> {};

// Off the sampled pixels x and y are extrapolated by 2.6 / 445 per pixel.
const ReadoutCase ReadoutCases[] = {
    {"TopLeftSample", 1, 1, "x=-1.3", "y=1.3", "z=0"},
    {"FrameColumnLeft", 0, 1, "x=-1.30584269662921", "y=1.3", "Out of range"},
    {"FrameColumnRight", 447, 1, "x=1.30584269662921", "y=1.3", "Out of range"},
    {"FrameRowTop", 1, 0, "x=-1.3", "y=1.30635696821516", "Out of range"},
    {"FrameRowBottom", 446, 411, "x=1.3", "y=-1.30635696821516", "Out of range"},
    {"LastSampledPixel", 446, 1, "x=1.3", "y=1.3", "z=2.6"},
};

TEST_P(MouseReadoutTest, ShowsTheSampledPointAndItsValue) {
    UseDesignSize();
    ScanValueRange(GraphFieldTexts{});
    const ReadoutCase& c = GetParam();
    const MouseReadout readout = MouseReadoutAt(c.X, c.Y, DesignW, DesignH);
    EXPECT_EQ(readout.x, c.x);
    EXPECT_EQ(readout.y, c.y);
    EXPECT_EQ(readout.z, c.z);
}

INSTANTIATE_TEST_SUITE_P(Pixels, MouseReadoutTest, ::testing::ValuesIn(ReadoutCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewportTest, ReadoutNeverRaises) {
    MapCols = 1;
    MapRows = 1;
    VisibleRegion = core::TRegion{0, 2, 0, 2};
    MouseReadout readout;
    ASSERT_NO_THROW(readout = MouseReadoutAt(1, 2, 3, 3));
    EXPECT_EQ(readout.x, "x=NAN");   // 0 / 0
    EXPECT_EQ(readout.y, "y=-INF");  // -2 / 0
    EXPECT_EQ(readout.z, "Out of range");
    ASSERT_NO_THROW(readout = MouseReadoutAt(1, 1, 3, 3));
    EXPECT_EQ(readout.z, "z=Invalid floating point operation");

    UseDesignSize();
    core::CurrentFunc = Overflowing;
    ASSERT_NO_THROW(readout = MouseReadoutAt(5, 5, DesignW, DesignH));
    EXPECT_EQ(readout.z, "z=Floating point overflow");
}

TEST(RowPercentTest, TruncatedShareOfTheRows) {
    struct Case {
        std::int32_t row, rows;
        const char* text;
    };
    const Case cases[] = {{1, 410, "0"},    {410, 410, "100"}, {1, 3, "33"}, {2, 3, "66"},
                          {205, 410, "50"}, {409, 410, "99"},  {1, 1, "100"}};
    runtime::InitFpu();
    for (const Case& c : cases) {
        EXPECT_EQ(RowPercent(c.row, c.rows), c.text) << c.row << " of " << c.rows;
    }
}

}  // namespace
}  // namespace metopt::render
