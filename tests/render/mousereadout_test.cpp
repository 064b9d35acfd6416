#include "render/mousereadout.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>

#include "core/builtinfunctions.h"
#include "core/formula/formula.h"
#include "core/region.h"
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/valuescan.h"
#include "runtime/exceptions.h"

namespace metopt::render {
namespace {

using testsupport::Region;

long double Sum(long double x, long double y) {
    return x + y;
}
long double Overflowing(long double, long double) {
    throw runtime::EOverflow();
}

class MouseReadoutTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        plot.CurrentFunc = Impure(Sum);
    }
};

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

class MouseReadoutCaseTest : public MouseReadoutTest,
                             public ::testing::WithParamInterface<ReadoutCase> {};

// Off the sampled pixels x and y are extrapolated by 2.6 / 445 per pixel.
const ReadoutCase ReadoutCases[] = {
    {"TopLeftSample", 1, 1, "x=-1.3", "y=1.3", "z=0"},
    {"FrameColumnLeft", 0, 1, "x=-1.30584269662921", "y=1.3", "Out of range"},
    {"FrameColumnRight", 447, 1, "x=1.30584269662921", "y=1.3", "Out of range"},
    {"FrameRowTop", 1, 0, "x=-1.3", "y=1.30635696821516", "Out of range"},
    {"FrameRowBottom", 446, 411, "x=1.3", "y=-1.30635696821516", "Out of range"},
    {"LastSampledPixel", 446, 1, "x=1.3", "y=1.3", "z=2.6"},
};

TEST_P(MouseReadoutCaseTest, ShowsTheSampledPointAndItsValue) {
    UseDesignSize();
    ScanValueRange(plot, samples, progress, GraphFieldTexts{});
    const ReadoutCase& c = GetParam();
    const MouseReadout readout = MouseReadoutAt(plot, c.X, c.Y, DesignW, DesignH);
    EXPECT_EQ(readout.x, c.x);
    EXPECT_EQ(readout.y, c.y);
    EXPECT_EQ(readout.z, c.z);
}

INSTANTIATE_TEST_SUITE_P(Pixels, MouseReadoutCaseTest, ::testing::ValuesIn(ReadoutCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(MouseReadoutTest, ReadoutNeverRaises) {
    plot.MapCols = 1;
    plot.MapRows = 1;
    plot.VisibleRegion = core::TRegion{0, 2, 0, 2};
    MouseReadout readout;
    ASSERT_NO_THROW(readout = MouseReadoutAt(plot, 1, 2, 3, 3));
    EXPECT_EQ(readout.x, "x=NAN");   // 0 / 0
    EXPECT_EQ(readout.y, "y=-INF");  // -2 / 0
    EXPECT_EQ(readout.z, "Out of range");
    ASSERT_NO_THROW(readout = MouseReadoutAt(plot, 1, 1, 3, 3));
    EXPECT_EQ(readout.z, "z=Invalid floating point operation");

    UseDesignSize();
    plot.CurrentFunc = Impure(Overflowing);
    ASSERT_NO_THROW(readout = MouseReadoutAt(plot, 5, 5, DesignW, DesignH));
    EXPECT_EQ(readout.z, "z=Floating point overflow");
}

// Over a map that left points out, the readout there shows the error of the value, as ever.
TEST_F(MouseReadoutTest, UndefinedPointsShowTheirErrors) {
    plot.CurrentFunc = core::PlottedFunc(core::CompileFormula("x^2+ln(y)"));
    plot.MapCols = 5;
    plot.MapRows = 5;
    ScanValueRange(plot, samples, progress, Region("-2", "2", "-2", "2"));
    ASSERT_EQ(plot.UndefinedCount, 15);
    // Rows 2, 3 and 4 sample y = 1, 0 and -1; column 1 x = -2.
    const std::pair<int, const char*> rows[] = {{2, "z=4"},
                                                {3, "z=Floating point division by zero"},
                                                {4, "z=Invalid floating point operation"}};
    for (const auto& [Y, z] : rows)
        EXPECT_EQ(MouseReadoutAt(plot, 1, Y, 7, 7).z, z) << Y;
}

}  // namespace
}  // namespace metopt::render
