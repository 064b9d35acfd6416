#include "render/fill.h"
#include "support/expect_error.h"
#include "support/qt_environment.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cfloat>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/builtinfunctions.h"
#include "core/formula/formula.h"
#include "palette/palette.h"
#include "render/sampling.h"
#include "render/valuescan.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::render {
namespace {

const std::string FillPrefix = "Прорисовка карты высот: ";

// Map colour k is (10 + 20k, 0, 5); the other roles get colours of their own.
constexpr std::int32_t MapColor(int k) {
    return (10 + 20 * k) + 5 * 65536;
}
constexpr std::int32_t Outline = 1 + 2 * 256 + 3 * 65536;
constexpr std::int32_t Background = 250 + 250 * 256 + 250 * 65536;
constexpr std::int32_t Blank = 0;

int g_evaluations = 0;

long double X(long double x, long double) {
    ++g_evaluations;
    return x;
}
long double AlwaysSeven(long double, long double) {
    return 7;
}

class FillTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        for (int k = 0; k < 10; ++k)
            SetEntry(k, 10 + 20 * k, 0, 5);
        SetEntry(palette::BackgroundColor, 250, 250, 250);
        SetEntry(palette::GradientLowColor, 200, 0, 0);
        SetEntry(palette::GradientHighColor, 0, 0, 200);
        SetEntry(palette::OutlineColor, 1, 2, 3);
        plot.CurrentFunc = Impure(X);
    }

    // An area of W x H whose columns sample x = xb .. xe (every row the same), scanned.
    platform::Canvas ScannedArea(int W, int H, const char* xb, const char* xe) {
        ScanArea(W, H, xb, xe);
        return platform::Canvas(W, H, Blank);
    }
};

void ExpectFrame(const platform::Canvas& canvas) {
    const int W = canvas.Width();
    const int H = canvas.Height();
    for (int x = 0; x < W; ++x) {
        EXPECT_EQ(canvas.GetPixel(x, 0), Outline) << x;
        EXPECT_EQ(canvas.GetPixel(x, H - 1), Outline) << x;
    }
    for (int y = 0; y < H; ++y) {
        EXPECT_EQ(canvas.GetPixel(0, y), Outline) << y;
        EXPECT_EQ(canvas.GetPixel(W - 1, y), Outline) << y;
    }
}

// Every sampled pixel of a row is expected to be the colour given for its column.
void ExpectRows(const platform::Canvas& canvas, int firstRow, int lastRow,
                const std::vector<std::int32_t>& columnColors) {
    for (int row = firstRow; row <= lastRow; ++row) {
        for (std::size_t i = 0; i < columnColors.size(); ++i) {
            const int col = static_cast<int>(i) + 1;
            EXPECT_EQ(canvas.GetPixel(col, row), columnColors[i]) << col << "," << row;
        }
    }
}

TEST_F(FillTest, DiscreteMapGivesEachTenthOfTheRangeItsColour) {
    // Columns sample x = 0, 1, ..., 9: t = x / 9, class FloorInt(x * 1.11) = x.
    platform::Canvas canvas = ScannedArea(12, 5, "0", "9");
    FillSurface(canvas, Drawing(), FillModeOf(0), 30);

    ExpectFrame(canvas);
    std::vector<std::int32_t> expected;
    for (int k = 0; k < 10; ++k)
        expected.push_back(MapColor(k));
    ExpectRows(canvas, 1, 3, expected);
    EXPECT_EQ(canvas.PenColor(), Outline);
    EXPECT_EQ(canvas.BrushColor(), Background);
}

TEST_F(FillTest, DiscreteBandsAreNinePointNineNineWide) {
    // x = 0, 0.1, ..., 1 over 11 columns: class FloorInt(x * 9.99).
    platform::Canvas canvas = ScannedArea(13, 4, "0", "1");
    FillSurface(canvas, Drawing(), FillModeOf(0), 30);
    const int classes[] = {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};  // 0.999 -> 0, 1.998 -> 1, ...
    std::vector<std::int32_t> expected;
    for (const int k : classes)
        expected.push_back(MapColor(k));
    ExpectRows(canvas, 1, 1, expected);
}

TEST_F(FillTest, SmallestAndLargestSamplesOfTheDesignArea) {
    platform::Canvas canvas = ScannedArea(448, 412, "-1.3", "1.3");
    FillSurface(canvas, Drawing(), FillModeOf(0), 30);
    EXPECT_EQ(canvas.GetPixel(1, 1), MapColor(0));
    EXPECT_EQ(canvas.GetPixel(1, 410), MapColor(0));
    EXPECT_EQ(canvas.GetPixel(446, 200), MapColor(9));
    EXPECT_EQ(canvas.GetPixel(223, 200), MapColor(4));  // x = -0.0029: t just below 0.5
    EXPECT_EQ(canvas.GetPixel(224, 200), MapColor(5));  // x = 0.0029: 9.99 t = 5.006
    EXPECT_EQ(canvas.GetPixel(447, 200), Outline);
    EXPECT_EQ(statuses.size(), 410u);
    EXPECT_EQ(statuses.front(), FillPrefix + "0%");
    EXPECT_EQ(statuses.back(), FillPrefix + "100%");

    FillSurface(canvas, Drawing(), FillModeOf(1), 30);
    EXPECT_EQ(canvas.GetPixel(1, 1), Palette[palette::GradientLowColor].Color);
    EXPECT_EQ(canvas.GetPixel(446, 1), Palette[palette::GradientHighColor].Color);
}

TEST_F(FillTest, GradientOfThreeColoursHalfwayBetweenTheEnds) {
    // x = 0, 0.5, 1: k = FloorInt(t * 2.99) = 0, 1, 2.
    platform::Canvas canvas = ScannedArea(5, 4, "0", "1");
    FillSurface(canvas, Drawing(), FillModeOf(1), 3);
    ExpectFrame(canvas);
    ExpectRows(canvas, 1, 1,
               {palette::PackColor(200, 0, 0), palette::PackColor(100, 0, 100),
                palette::PackColor(0, 0, 200)});
}

TEST_F(FillTest, GradientOfTwoColoursTurnsAtOneOverOnePointNineNine) {
    EXPECT_EQ(GradientColor(Palette, 0.99L, 0, 1.99L, 2), palette::PackColor(200, 0, 0));
    EXPECT_EQ(GradientColor(Palette, 1.01L, 0, 1.99L, 2), palette::PackColor(0, 0, 200));
    EXPECT_EQ(GradientColor(Palette, 0, 0, 1, 2), palette::PackColor(200, 0, 0));
    EXPECT_EQ(GradientColor(Palette, 1, 0, 1, 2), palette::PackColor(0, 0, 200));
}

TEST_F(FillTest, FallingComponentStepsDownTruncatingTowardsZero) {
    SetEntry(palette::GradientLowColor, 10, 0, 0);
    SetEntry(palette::GradientHighColor, 0, 10, 0);
    // n = 3: t = 0.4 gives k = FloorInt(0.4 * 3.99) = 1, t = 0.6 gives 2.
    // R: 10 + (-10 div 3) = 7 and 10 + (-20 div 3) = 4; G: 10 div 3 = 3 and 20 div 3 = 6.
    EXPECT_EQ(GradientColor(Palette, 0.4L, 0, 1, 4), palette::PackColor(7, 3, 0));
    EXPECT_EQ(GradientColor(Palette, 0.6L, 0, 1, 4), palette::PackColor(4, 6, 0));
}

TEST_F(FillTest, ValuesOutsideTheRangeTakeTheNearestEnd) {
    EXPECT_EQ(DiscreteColor(Palette, -5, 0, 1), MapColor(0));
    EXPECT_EQ(DiscreteColor(Palette, 1e30L, 0, 1), MapColor(9));
    EXPECT_EQ(GradientColor(Palette, -5, 0, 1, 30), palette::PackColor(200, 0, 0));
    EXPECT_EQ(GradientColor(Palette, 1e30L, 0, 1, 30), palette::PackColor(0, 0, 200));
}

TEST_F(FillTest, ScaleThatCannotBeComputedRaisesItsFirstFault) {
    EXPECT_THROW(DiscreteColor(Palette, 1, 2, 2), runtime::EZeroDivide);
    EXPECT_THROW(DiscreteColor(Palette, 2, 2, 2), runtime::EInvalidOp);  // 0 / 0
    EXPECT_THROW(GradientColor(Palette, 1, 2, 2, 30), runtime::EZeroDivide);
    // z - lo and hi - lo both overflow before inf / inf.
    EXPECT_THROW(DiscreteColor(Palette, LDBL_MAX, -LDBL_MAX, LDBL_MAX), runtime::EOverflow);
}

TEST_F(FillTest, EqualSamplesEverywhereFallInTheMiddle) {
    plot.CurrentFunc = Impure(AlwaysSeven);
    platform::Canvas canvas = ScannedArea(6, 4, "0", "1");
    FillSurface(canvas, Drawing(), FillModeOf(0), 30);
    ExpectRows(canvas, 1, 2, std::vector<std::int32_t>(4, MapColor(4)));  // FloorInt(4.995)

    // k = FloorInt(0.5 * 29.99) = 14 of 29: 200 - 14 * 200 div 29 = 104, 14 * 200 div 29 = 96.
    FillSurface(canvas, Drawing(), FillModeOf(1), 30);
    ExpectRows(canvas, 1, 2, std::vector<std::int32_t>(4, palette::PackColor(104, 0, 96)));
}

TEST_F(FillTest, ScaleThatCannotBeComputedRaisesAtTheFirstPixel) {
    platform::Canvas canvas = ScannedArea(5, 4, "0", "1");
    plot.ZMin = plot.ZMax = 0.5L;  // (0 - 0.5) / 0 at pixel (1, 1)
    EXPECT_THROW(FillSurface(canvas, Drawing(), FillModeOf(0), 30), runtime::EZeroDivide);
    EXPECT_EQ(statuses, std::vector<std::string>{FillPrefix + "50%"});
    ExpectFrame(canvas);
    ExpectRows(canvas, 1, 2, std::vector<std::int32_t>(3, Background));

    plot.ZMin = -LDBL_MAX;
    plot.ZMax = LDBL_MAX;
    EXPECT_THROW(FillSurface(canvas, Drawing(), FillModeOf(1), 30), runtime::EOverflow);
    EXPECT_THROW(FillSurface(canvas, Drawing(), FillModeOf(1), 1), runtime::EOverflow);
}

TEST_F(FillTest, GradientOfOneColourFailsAtTheFirstPixel) {
    platform::Canvas canvas = ScannedArea(5, 4, "0", "1");
    testsupport::ExpectError<runtime::EDivByZero>(
        [&] { FillSurface(canvas, Drawing(), FillModeOf(1), 1); }, "Division by zero");
    EXPECT_EQ(statuses.size(), 1u);
    ExpectRows(canvas, 1, 2, std::vector<std::int32_t>(3, Background));
}

TEST_F(FillTest, NoSelectionLeavesFrameAndBackgroundButStillReports) {
    platform::Canvas canvas = ScannedArea(7, 6, "0", "1");
    canvas.Fill(MapColor(3));
    g_evaluations = 0;
    FillSurface(canvas, Drawing(), FillModeOf(-1), 30);
    EXPECT_EQ(g_evaluations, 5 * 4);
    ExpectFrame(canvas);
    ExpectRows(canvas, 1, 4, std::vector<std::int32_t>(5, Background));
    EXPECT_EQ(statuses, (std::vector<std::string>{FillPrefix + "25%", FillPrefix + "50%",
                                                  FillPrefix + "75%", FillPrefix + "100%"}));
}

TEST_F(FillTest, StopBeforeARowLeavesTheRestInTheBackground) {
    platform::Canvas canvas = ScannedArea(12, 6, "0", "9");
    progress.onStatus = [this] {
        if (statuses.size() == 2)
            progress.stop = true;  // set while row 2 is drawn
    };
    FillSurface(canvas, Drawing(), FillModeOf(0), 30);

    EXPECT_EQ(statuses.size(), 2u);
    std::vector<std::int32_t> map;
    for (int k = 0; k < 10; ++k)
        map.push_back(MapColor(k));
    ExpectRows(canvas, 1, 2, map);
    ExpectRows(canvas, 3, 4, std::vector<std::int32_t>(10, Background));
    ExpectFrame(canvas);
}

TEST_F(FillTest, LegendBordersOfTheDesignStrip) {
    platform::Canvas legend(177, 17, Blank);
    DrawLegend(legend, Palette);
    const int borders[] = {0, 18, 35, 53, 70, 88, 106, 123, 141, 158, 176};
    for (int b = 0; b < 10; ++b) {
        EXPECT_EQ(legend.GetPixel(borders[b], 8), Outline) << borders[b];
        for (int x = borders[b] + 1; x < borders[b + 1]; ++x) {
            ASSERT_EQ(legend.GetPixel(x, 8), MapColor(b)) << x;
            ASSERT_EQ(legend.GetPixel(x, 0), Outline) << x;
            ASSERT_EQ(legend.GetPixel(x, 16), Outline) << x;
        }
    }
    EXPECT_EQ(legend.GetPixel(176, 8), Outline);
}

// --- A typed function defined in part of the region ---

// Each formula is the reference where it is defined, and every column's or row's values occur
// where it is, so the two share their range.
struct PartlyDefinedFillCase {
    const char* name;
    const char* formula;
    const char* reference;
    int mode;  // of the fill list
};

void PrintTo(const PartlyDefinedFillCase& c, std::ostream* out) {
    *out << c.name;
}

const PartlyDefinedFillCase PartlyDefinedFills[] = {
    {"LowerHalfLeftOut", "x+0*ln(y)", "x", 0},
    {"LeftHalfLeftOut", "y+0*sqrt(x)", "y", 1},
    {"LeftHalfOfTheScaleLeftOut", "-x+0*sqrt(x)", "-abs(x)", 0},
};

class PartlyDefinedFillTest : public FillTest,
                              public ::testing::WithParamInterface<PartlyDefinedFillCase> {
  protected:
    // The map of a formula over an area of 61 x 47 on `threads` threads; `keep` leaves the scan's
    // samples for the fill, otherwise it evaluates the function again.
    platform::Canvas Map(const char* formula, unsigned threads, bool keep) {
        plot.CurrentFunc = core::PlottedFunc(core::CompileFormula(formula));
        ScanArea(61, 47, "-1.3", "1.3");
        if (!keep)
            ReleaseKeptSamples(samples);
        platform::Canvas canvas(61, 47, Blank);
        FillSurface(canvas, Drawing(), FillModeOf(GetParam().mode), 30, threads);
        return canvas;
    }
};

TEST_P(PartlyDefinedFillTest, LeavesTheUndefinedInTheBackgroundAndTheRestAsTheReference) {
    const PartlyDefinedFillCase& c = GetParam();
    const platform::Canvas reference = Map(c.reference, 1, true);
    for (const auto& [threads, keep] :
         {std::pair{1u, true}, {3u, true}, {1u, false}, {3u, false}}) {
        SCOPED_TRACE(testing::Message() << threads << " threads, kept " << keep);
        statuses.clear();
        const platform::Canvas canvas = Map(c.formula, threads, keep);
        ASSERT_GT(plot.UndefinedCount, 0);
        ExpectFrame(canvas);
        for (int row = 1; row <= plot.MapRows; ++row) {
            for (int col = 1; col <= plot.MapCols; ++col) {
                const bool undefined = testsupport::UndefinedAt(plot, col, row);
                ASSERT_EQ(canvas.GetPixel(col, row),
                          undefined ? Background : reference.GetPixel(col, row))
                    << col << "," << row;
            }
        }
        EXPECT_EQ(statuses.size(), 45u);
        EXPECT_EQ(statuses.back(), FillPrefix + "100%");
    }
}

INSTANTIATE_TEST_SUITE_P(Formulas, PartlyDefinedFillTest, ::testing::ValuesIn(PartlyDefinedFills),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace metopt::render
