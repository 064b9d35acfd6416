#include "render/grid.h"
#include "support/pixels.h"
#include "support/qt_environment.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/minimizer.h"
#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/graphparams.h"
#include "render/trace.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numformat.h"
#include "runtime/rounding.h"

namespace metopt::render {
namespace {

using platform::Canvas;

constexpr int W = 448;
constexpr int H = 412;

constexpr std::int32_t Background = 0xFFFFFF;
constexpr std::int32_t SmallGrid = 0xE0E0E0;
constexpr std::int32_t BigGrid = 0xA0A0A0;
constexpr std::int32_t Axes = 0x000080;
constexpr std::int32_t Ink = 0x800000;
constexpr std::int32_t Paper = 0x80FFFF;

using testsupport::PixelSet;
using testsupport::PixelsOf;

std::set<int> ColumnsOf(const PixelSet& pixels, int row) {
    std::set<int> columns;
    for (const auto& [x, y] : pixels) {
        if (y == row) {
            columns.insert(x);
        }
    }
    return columns;
}

std::set<int> RowsOf(const PixelSet& pixels, int column) {
    std::set<int> rows;
    for (const auto& [x, y] : pixels) {
        if (x == column) {
            rows.insert(y);
        }
    }
    return rows;
}

// With the default region (-1.3..1.3 both ways) on 448 x 412: x = -1.3 + t/10 lies at column
// 1 + floor(t * 447 / 26) and y = 1.3 - t/10 at row 1 + floor(t * 411 / 26). None of the
// products below is a multiple of 26, so rounding in the walk cannot move a line.
int ColumnAtTenths(int tenthsFromLeft) {
    return 1 + tenthsFromLeft * 447 / 26;
}
int RowAtTenths(int tenthsFromTop) {
    return 1 + tenthsFromTop * 411 / 26;
}

// Every `every` tenths from -1.2 to 1.2: the small grid (every 1) or the big grid (every 2).
std::set<int> LinesAt(int (*position)(int tenths), int every) {
    std::set<int> positions;
    for (int t = 1; t <= 25; t += every) {
        positions.insert(position(t));
    }
    return positions;
}
std::set<int> SmallColumns() {
    return LinesAt(ColumnAtTenths, 1);
}
std::set<int> SmallRows() {
    return LinesAt(RowAtTenths, 1);
}
std::set<int> BigColumns() {
    return LinesAt(ColumnAtTenths, 2);
}
std::set<int> BigRows() {
    return LinesAt(RowAtTenths, 2);
}

std::set<int> Range(int first, int last) {
    std::set<int> values;
    for (int v = first; v <= last; ++v) {
        values.insert(v);
    }
    return values;
}

class GridTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        Palette[palette::SmallGridColor].Color = SmallGrid;
        Palette[palette::BigGridColor].Color = BigGrid;
        Palette[palette::AxesColor].Color = Axes;
        Palette[palette::NumberTextColor].Color = Ink;
        Palette[palette::NumberBackColor].Color = Paper;
        plot.VisibleRegion = core::TRegion{-1.3L, 1.3L, -1.3L, 1.3L};
        plot.MapCols = W - 2;
        plot.MapRows = H - 2;
    }

    void Draw(bool small, bool big, bool axes, bool numbers) {
        DrawGrid(canvas, plot, Palette, fields, GridLayers{small, big, axes, numbers});
    }

    Canvas canvas{W, H, Background};
    GraphFieldTexts fields;
};

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

// The pixels of a line from (x0, y0) to (x1, y1), end excluded: at step i along the major axis
// the minor offset is i * minor / major rounded to nearest (no halves occur in these cases).
PixelSet LinePixels(int x0, int y0, int x1, int y1) {
    PixelSet pixels;
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const int major = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < major; ++i) {
        const int ox = (2 * i * std::abs(dx) + major) / (2 * major);
        const int oy = (2 * i * std::abs(dy) + major) / (2 * major);
        pixels.insert({x0 + (dx < 0 ? -ox : ox), y0 + (dy < 0 ? -oy : oy)});
    }
    return pixels;
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

// Draws the labels the way they are expected, on a canvas of its own.
struct Label {
    int x, y;
    std::string text;
};

Canvas ExpectedLabels(const std::vector<Label>& labels) {
    Canvas expected(W, H, Background);
    expected.SetFontColor(Ink);
    expected.SetBrushColor(Paper);
    for (const Label& label : labels) {
        expected.TextOut(label.x, label.y, label.text);
    }
    return expected;
}

void ExpectSamePixels(const Canvas& actual, const Canvas& expected) {
    int differences = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (actual.GetPixel(x, y) != expected.GetPixel(x, y) && ++differences <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(differences, 0);
}

const char* const TickTexts[] = {"-1.20", "-1.00", "-0.80", "-0.60", "-0.40", "-0.20", "-0.00",
                                 "0.20",  "0.40",  "0.60",  "0.80",  "1.00",  "1.20"};

TEST_F(GridTest, DefaultLabelsBelowAndLeftOfTheAxesTheOriginReadsMinusZero) {
    Draw(false, false, false, true);
    const int tw = canvas.TextWidth("0.00");
    const int th = canvas.TextHeight("0");
    std::vector<Label> labels;
    for (int k = 0; k < 13; ++k) {  // x labels start just below the horizontal axis (row 206)
        labels.push_back({ColumnAtTenths(1 + 2 * k) - tw / 2, 207, TickTexts[k]});
    }
    for (int k = 0; k < 13; ++k) {  // y labels end just left of the vertical axis (column 224)
        if (k != 6) {               // none at the height of the horizontal axis
            labels.push_back({224 - tw - 1, RowAtTenths(25 - 2 * k) - th / 2, TickTexts[k]});
        }
    }
    ExpectSamePixels(canvas, ExpectedLabels(labels));

    // The accumulated origin is a hair below zero, hence the minus sign.
    long double v = runtime::TruncInt(-1.3L / 0.2L) * 0.2L;
    for (int k = 0; k < 6; ++k) {
        v = v + 0.2L;
    }
    EXPECT_LT(v, 0.0L);
    EXPECT_EQ(runtime::FormatFixed(v), "-0.00");
}

TEST_F(GridTest, HorizontalAxisNearTheTopSendsTheXLabelsToTheBottom) {
    fields.Yc = "1.27";  // row 1 + floor(0.03 * 411 / 2.6) = 5, within th of Top
    ASSERT_EQ(YToRow(plot, 1.27L, H), 5);
    Draw(false, false, false, true);
    const int tw = canvas.TextWidth("0.00");
    const int th = canvas.TextHeight("0");
    ASSERT_LE(5 - th, 1);
    std::vector<Label> labels;
    for (int k = 0; k < 13; ++k) {
        labels.push_back({ColumnAtTenths(1 + 2 * k) - tw / 2, (H - 1) - th - 1, TickTexts[k]});
    }
    for (int k = 0; k < 13; ++k) {  // |v - 1.27| > 0.05 for every label
        labels.push_back({224 - tw - 1, RowAtTenths(25 - 2 * k) - th / 2, TickTexts[k]});
    }
    ExpectSamePixels(canvas, ExpectedLabels(labels));
}

TEST_F(GridTest, VerticalAxisNearTheLeftSendsTheYLabelsToTheLeftEdge) {
    fields.Xc = "-1.25";  // column 1 + floor(0.05 * 447 / 2.6) = 9, within tw of Left
    ASSERT_EQ(XToColumn(plot, -1.25L, W), 9);
    Draw(false, false, false, true);
    const int tw = canvas.TextWidth("0.00");
    const int th = canvas.TextHeight("0");
    ASSERT_LE(9 - tw, 1);
    std::vector<Label> labels;
    for (int k = 0; k < 13; ++k) {
        labels.push_back({ColumnAtTenths(1 + 2 * k) - tw / 2, 207, TickTexts[k]});
    }
    for (int k = 0; k < 13; ++k) {
        if (k != 6) {
            labels.push_back({2, RowAtTenths(25 - 2 * k) - th / 2, TickTexts[k]});
        }
    }
    ExpectSamePixels(canvas, ExpectedLabels(labels));
}

TEST_F(GridTest, CentreBelowTheRegionPutsTheXLabelsOutsideTheArea) {
    fields.Yc = "-2";
    ASSERT_GT(YToRow(plot, -2.0L, H), H);
    Draw(false, false, true, true);
    const int tw = canvas.TextWidth("0.00");
    const int th = canvas.TextHeight("0");
    // The vertical axis with its arrow head and no horizontal axis, then every y label (none is
    // near -2) and no x label.
    Canvas expected(W, H, Background);
    for (const PixelSet& line : {LinePixels(224, 1, 224, H - 1), LinePixels(224, 1, 210, 26),
                                 LinePixels(224, 1, 238, 26)}) {
        for (const auto& [x, y] : line) {
            expected.SetPixel(x, y, Axes);
        }
    }
    expected.SetFontColor(Ink);
    expected.SetBrushColor(Paper);
    for (int k = 0; k < 13; ++k) {
        expected.TextOut(224 - tw - 1, RowAtTenths(25 - 2 * k) - th / 2, TickTexts[k]);
    }
    ExpectSamePixels(canvas, expected);
}

TEST_F(GridTest, CountFieldNotAnIntegerDrawsNothing) {
    fields.SgYs = "2.5";
    try {
        Draw(true, true, true, true);
        FAIL() << "no error";
    } catch (const runtime::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'2.5' is not a valid integer value");
    }
    EXPECT_EQ(PixelsOf(canvas, Background).size(), static_cast<std::size_t>(W * H));
}

struct FailureCase {
    const char* name;
    GraphFieldTexts fields;
    GridLayers layers;
    std::string message;
    // What stays drawn: vertical small lines, horizontal small lines, vertical big lines, labels.
    bool smallColumns, smallRows, bigColumns, labels;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

GraphFieldTexts With(std::string GraphFieldTexts::*field, std::string text,
                     std::string GraphFieldTexts::*other = nullptr, std::string otherText = "") {
    GraphFieldTexts fields;
    fields.*field = std::move(text);
    if (other != nullptr) {
        fields.*other = std::move(otherText);
    }
    return fields;
}

const std::string ZeroDivide = "Floating point division by zero";
const std::string Invalid = "Invalid floating point operation";
const std::string Refusal = "Шаг сетки слишком мал или отрицателен";

class GridFailure : public GridTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(GridFailure, RaisesWhereItFailsWithTheLayersBeforeKept) {
    const FailureCase& c = GetParam();
    fields = c.fields;
    try {
        DrawGrid(canvas, plot, Palette, fields, c.layers);
        FAIL() << "no error";
    } catch (const runtime::Exception& e) {
        EXPECT_EQ(e.Message(), c.message);
    }
    const PixelSet small = PixelsOf(canvas, SmallGrid);
    const PixelSet big = PixelsOf(canvas, BigGrid);
    EXPECT_EQ(ColumnsOf(small, 100), c.smallColumns ? SmallColumns() : std::set<int>{});
    EXPECT_EQ(RowsOf(small, 100), c.smallRows ? SmallRows() : std::set<int>{});
    EXPECT_EQ(ColumnsOf(big, 100), c.bigColumns ? BigColumns() : std::set<int>{});
    EXPECT_TRUE(RowsOf(big, 100).empty());
    EXPECT_TRUE(PixelsOf(canvas, Axes).empty());
    EXPECT_EQ(PixelsOf(canvas, Paper).empty(), !c.labels);
}

using F = GraphFieldTexts;
constexpr GridLayers All{true, true, true, true};
constexpr GridLayers BigOnly{false, true, false, false};
constexpr GridLayers NumbersOnly{false, false, false, true};

INSTANTIATE_TEST_SUITE_P(
    Cases, GridFailure,
    ::testing::Values(
        // -1.3 / (0 / 2): the start of the walk divides by the zero step.
        FailureCase{"ZeroStepX", With(&F::Xs, "0"), All, ZeroDivide, false, false, false, false},
        FailureCase{"ZeroStepYAfterTheVerticalLines", With(&F::Ys, "0"), All, ZeroDivide, true,
                    false, false, false},
        FailureCase{"ZeroCountX", With(&F::SgXs, "0"), All, ZeroDivide, false, false, false, false},
        FailureCase{"ZeroStepAndCountIsZeroByZero", With(&F::Xs, "0", &F::SgXs, "0"), All, Invalid,
                    false, false, false, false},
        FailureCase{"ZeroStepFromZeroIsZeroByZero", With(&F::Xb, "0", &F::Xs, "0"), BigOnly,
                    Invalid, false, false, false, false},
        FailureCase{"BigGridZeroStepYKeepsItsVerticalLines", With(&F::Ys, "0"), BigOnly, ZeroDivide,
                    false, false, true, false},
        // The y labels' test against half a small step divides by the count, after the x labels.
        FailureCase{"ZeroCountYInTheLabels", With(&F::SgYs, "0"), NumbersOnly, ZeroDivide, false,
                    false, false, true},
        FailureCase{"StartBeyondTheIntegerRange", With(&F::Xb, "-1e30"), BigOnly, Invalid, false,
                    false, false, false},
        FailureCase{"NegativeStep", With(&F::Xs, "-0.2"), BigOnly, Refusal, false, false, false,
                    false},
        FailureCase{"NegativeStepKeepsTheSmallGrid", With(&F::Xs, "-0.2", &F::SgXs, "-2"), All,
                    Refusal, true, true, false, false},
        FailureCase{"NegativeCount", With(&F::SgXs, "-2"), All, Refusal, false, false, false,
                    false},
        FailureCase{"NegativeCountYKeepsTheVerticalLines", With(&F::SgYs, "-2"), All, Refusal, true,
                    false, false, false},
        FailureCase{"TooManyLines", With(&F::Xs, "0.00002"), BigOnly, Refusal, false, false, false,
                    false},
        FailureCase{"TooManySmallLines", With(&F::SgXs, "10000"), All, Refusal, false, false, false,
                    false},
        FailureCase{"TooManyLabels", With(&F::Xs, "0.00002"), NumbersOnly, Refusal, false, false,
                    false, false}),
    [](const auto& row) { return std::string(row.param.name); });

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
