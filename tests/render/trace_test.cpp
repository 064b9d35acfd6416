#include "render/trace.h"
#include "support/pixels.h"
#include "support/qt_environment.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/minimizer.h"
#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/graphparams.h"
#include "render/valuescan.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::render {
namespace {

using platform::Canvas;

constexpr int W = 448;
constexpr int H = 412;
constexpr std::int32_t Background = 0xFFFFFF;
constexpr std::int32_t Pen = 0x0000FF;
constexpr std::int32_t Fill = 0x00FFFF;

using testsupport::PixelSet;
using testsupport::PixelsOf;

bool SamePixels(const Canvas& a, const Canvas& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.Image() == b.Image();
}

// The circle of a trace point around (c, r): 3, 7, 7, 9, 9, 9, 7, 7, 3 pixels across, the outline
// in the pen and the inside in the fill (the canvas's nine-pixel circle).
const std::vector<std::string> Circle{
    "...ooo...",  //
    ".oo###oo.",  //
    ".o#####o.",  //
    "o#######o",  //
    "o#######o",  //
    "o#######o",  //
    ".o#####o.",  //
    ".oo###oo.",  //
    "...ooo...",
};

void PutCircle(PixelSet& pen, PixelSet& fill, int c, int r) {
    for (std::size_t dy = 0; dy < 9; ++dy) {
        for (std::size_t dx = 0; dx < 9; ++dx) {
            const std::pair<int, int> pixel{c - 4 + static_cast<int>(dx),
                                            r - 4 + static_cast<int>(dy)};
            if (Circle[dy][dx] == 'o') {
                pen.insert(pixel);
                fill.erase(pixel);
            } else if (Circle[dy][dx] == '#') {
                fill.insert(pixel);
                pen.erase(pixel);
            }
        }
    }
}

class TraceTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        Palette[palette::TracePenColor].Color = Pen;
        Palette[palette::TraceFillColor].Color = Fill;
        plot.VisibleRegion = core::TRegion{-1.3L, 1.3L, -1.3L, 1.3L};
        plot.MapCols = W - 2;
        plot.MapRows = H - 2;
    }

    void SetTrace(std::vector<core::TTracePoint> points) {
        descent.TraceCount = static_cast<std::uint32_t>(points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            descent.Trace[i + 1] = points[i];
        }
    }

    Canvas canvas{W, H, Background};
};

// (0, 0) lies at column 1 + floor(1.3 * 447 / 2.6) = 224, row 1 + floor(1.3 * 411 / 2.6) = 206;
// (0.5, 0.5) at column 1 + floor(1.8 * 447 / 2.6) = 310, row 1 + floor(0.8 * 411 / 2.6) = 127.
TEST_F(TraceTest, FirstPointIsACircleOnly) {
    SetTrace({{0, 0}, {0.5L, 0.5L}});
    DrawTracePoint(canvas, Drawing(), descent, 1);
    PixelSet pen;
    PixelSet fill;
    PutCircle(pen, fill, 224, 206);
    EXPECT_EQ(PixelsOf(canvas, Pen), pen);
    EXPECT_EQ(PixelsOf(canvas, Fill), fill);
    EXPECT_EQ(statuses, std::vector<std::string>{"Точка трассы #1 из 2"});
}

TEST_F(TraceTest, SecondPointAddsTheSegmentWithBothEndsSet) {
    SetTrace({{0, 0}, {0.5L, 0.5L}});
    DrawTracePoint(canvas, Drawing(), descent, 1);
    DrawTracePoint(canvas, Drawing(), descent, 2);

    PixelSet pen;
    PixelSet fill;
    PutCircle(pen, fill, 224, 206);
    PutCircle(pen, fill, 310, 127);
    // The segment drawn both ways, over both circles.
    Canvas segment(W, H, Background);
    segment.SetPenColor(Pen);
    segment.MoveTo(224, 206);
    segment.LineTo(310, 127);
    segment.LineTo(224, 206);
    for (const auto& pixel : PixelsOf(segment, Pen)) {
        pen.insert(pixel);
        fill.erase(pixel);
    }
    EXPECT_EQ(PixelsOf(canvas, Pen), pen);
    EXPECT_EQ(PixelsOf(canvas, Fill), fill);
    EXPECT_EQ(canvas.GetPixel(224, 206), Pen);  // both centres are on the segment
    EXPECT_EQ(canvas.GetPixel(310, 127), Pen);
    EXPECT_EQ(statuses.back(), "Точка трассы #2 из 2");
}

// With the start marker, point 1 comes after a ring about the start (pixels 5 to 7 from it) and the
// segment from it; without, the start draws nothing; later points never draw it again.
TEST_F(TraceTest, StartMarkerIsARingJoinedToPointOne) {
    SetTrace({{0.5L, 0.5L}, {0, 0}});
    descent.TraceStart = {0, 0};
    DrawTracePoint(canvas, Drawing(), descent, 1, true);
    for (const auto& [dx, dy, on] : {std::tuple{6, 0, true},
                                     {0, -7, true},
                                     {-5, 0, false},
                                     {0, 8, false},
                                     {4, 4, true},
                                     {3, 3, false}})
        EXPECT_EQ(canvas.GetPixel(224 + dx, 206 + dy) == Pen, on) << dx << ", " << dy;
    EXPECT_EQ(canvas.GetPixel(224 + 20, 206 - 18), Pen);  // on the segment to (0.5, 0.5)
    const QImage marked = canvas.Image().copy();
    DrawTracePoint(canvas, Drawing(), descent, 2, true);
    Canvas plain{W, H, Background};
    DrawTracePoint(plain, Drawing(), descent, 1, false);
    EXPECT_EQ(plain.GetPixel(224 + 6, 206), Background);
    EXPECT_NE(marked, plain.Image());
}

// A point with a simplex draws the triangle's three sides, one pixel thin, in the pen under its
// circle: the picture is the point's own, plus exactly those lines.
TEST_F(TraceTest, APointWithASimplexDrawsItsTriangleUnderTheCircle) {
    SetTrace({{0, 0}});
    descent.Simplices = {{core::TTracePoint{0, 0}, {0.5L, 0.5L}, {0.5L, 0}}};
    DrawTracePoint(canvas, Drawing(), descent, 1);

    Canvas expected(W, H, Background);
    expected.SetPenColor(Pen);
    expected.MoveTo(224, 206);
    for (const auto& [c, r] : {std::pair{310, 127}, {310, 206}, {224, 206}})
        expected.LineTo(c, r);
    PixelSet pen = PixelsOf(expected, Pen);
    PixelSet fill;
    PutCircle(pen, fill, 224, 206);
    EXPECT_EQ(PixelsOf(canvas, Pen), pen);
    EXPECT_EQ(PixelsOf(canvas, Fill), fill);
}

TEST_F(TraceTest, PointOutsideTheAreaIsClipped) {
    SetTrace({{-1.3L, 1.3L}});  // column 1, row 1: the circle's top-left part is cut off
    DrawTracePoint(canvas, Drawing(), descent, 1);
    PixelSet pen;
    PixelSet fill;
    PutCircle(pen, fill, 1, 1);
    std::erase_if(pen, [](const auto& p) { return p.first < 0 || p.second < 0; });
    std::erase_if(fill, [](const auto& p) { return p.first < 0 || p.second < 0; });
    EXPECT_EQ(PixelsOf(canvas, Pen), pen);
    EXPECT_EQ(PixelsOf(canvas, Fill), fill);
}

TEST_F(TraceTest, BeforeAnyScanTheConversionFailsAndNothingIsDrawn) {
    plot.VisibleRegion = core::TRegion{};
    SetTrace({{0, 0}, {0.5L, 0.5L}});
    const Canvas before = canvas;
    // (0 - 0) * 447 / (0 - 0) is 0 / 0; (0.5 - 0) * 447 / 0 divides by zero.
    EXPECT_THROW(DrawTracePoint(canvas, Drawing(), descent, 1), runtime::EInvalidOp);
    EXPECT_THROW(DrawTracePoint(canvas, Drawing(), descent, 2), runtime::EZeroDivide);
    EXPECT_TRUE(SamePixels(canvas, before));
    EXPECT_TRUE(statuses.empty());
}

TEST_F(TraceTest, PreviousPointThatCannotBePlacedStopsThePointBeforeItsCircle) {
    SetTrace({{1e30L, 0}, {0.5L, 0.5L}});
    const Canvas before = canvas;
    EXPECT_THROW(DrawTracePoint(canvas, Drawing(), descent, 2), runtime::EInvalidOp);
    EXPECT_TRUE(SamePixels(canvas, before));
}

TEST_F(TraceTest, NumberOutsideTheTraceDrawsNothing) {
    SetTrace({{0, 0}});
    const Canvas before = canvas;
    DrawTracePoint(canvas, Drawing(), descent, 0);
    DrawTracePoint(canvas, Drawing(), descent, 2);
    DrawTracePoint(canvas, Drawing(), descent, -1);
    EXPECT_TRUE(SamePixels(canvas, before));
    EXPECT_TRUE(statuses.empty());
}

TEST_F(TraceTest, MarkerIsACrossNinePixelsEachWay) {
    plot.MinCol = 100;
    plot.MinRow = 50;
    DrawMinMarker(canvas, Drawing());
    PixelSet expected;
    for (int d = -4; d <= 4; ++d) {
        expected.insert({100 + d, 50});
        expected.insert({100, 50 + d});
    }
    EXPECT_EQ(PixelsOf(canvas, Pen), expected);
}

TEST_F(TraceTest, MarkerBeforeAnyScanIsClippedInTheCorner) {
    DrawMinMarker(canvas, Drawing());  // plot.MinCol = plot.MinRow = 0
    PixelSet expected;
    for (int d = 0; d <= 4; ++d) {
        expected.insert({d, 0});
        expected.insert({0, d});
    }
    EXPECT_EQ(PixelsOf(canvas, Pen), expected);
}

TEST_F(TraceTest, RestorePutsBackTheLastSaveAndLosesLaterDrawing) {
    canvas.SetPenColor(0x123456);
    canvas.MoveTo(10, 10);
    canvas.LineTo(200, 300);
    SaveBackingImage(saved, canvas);
    const Canvas picture = canvas;
    EXPECT_EQ(saved.BackingRect.Left, 0);
    EXPECT_EQ(saved.BackingRect.Top, 0);
    EXPECT_EQ(saved.BackingRect.Right, W);
    EXPECT_EQ(saved.BackingRect.Bottom, H);

    SetTrace({{0, 0}});
    DrawTracePoint(canvas, Drawing(), descent, 1);
    ASSERT_FALSE(SamePixels(canvas, picture));
    RestoreBackingImage(saved, canvas, plot.GraphParams, GraphFieldTexts{});
    EXPECT_TRUE(SamePixels(canvas, picture));
}

TEST_F(TraceTest, OneImageAtATimeOfTheLastSavedSize) {
    SaveBackingImage(saved, canvas);
    const Canvas* first = saved.BackingImage.get();
    Canvas smaller(20, 10, 0x0000AA);
    SaveBackingImage(saved, smaller);
    ASSERT_NE(saved.BackingImage, nullptr);
    EXPECT_NE(saved.BackingImage.get(), first);
    EXPECT_EQ(saved.BackingImage->Width(), 20);
    EXPECT_EQ(saved.BackingImage->Height(), 10);
    EXPECT_EQ(saved.BackingRect.Right, 20);
    EXPECT_EQ(saved.BackingRect.Bottom, 10);

    // Put back onto the larger area: the old picture in the top-left corner only.
    RestoreBackingImage(saved, canvas, plot.GraphParams, GraphFieldTexts{});
    EXPECT_EQ(PixelsOf(canvas, 0x0000AA).size(), 200u);
    EXPECT_EQ(canvas.GetPixel(19, 9), 0x0000AA);
    EXPECT_EQ(canvas.GetPixel(20, 9), Background);
}

TEST_F(TraceTest, RestoreRefreshesTheGraphParams) {
    SaveBackingImage(saved, canvas);
    GraphFieldTexts fields;
    fields.Xs = "0.5";
    fields.SgXs = "4";
    RestoreBackingImage(saved, canvas, plot.GraphParams, fields);
    EXPECT_EQ(plot.GraphParams.Xs, 0.5L);
    EXPECT_EQ(plot.GraphParams.SgXs, 4);
    EXPECT_EQ(plot.GraphParams.Right, W - 1);
    EXPECT_EQ(plot.GraphParams.Bottom, H - 1);
}

TEST_F(TraceTest, RestoreNeverRaisesOverABadCountField) {
    SaveBackingImage(saved, canvas);
    RestoreBackingImage(saved, canvas, plot.GraphParams, GraphFieldTexts{});
    GraphFieldTexts fields;
    fields.SgXs = "zwei";
    fields.Ys = "0.25";
    canvas.SetPixel(5, 5, Pen);
    EXPECT_NO_THROW(RestoreBackingImage(saved, canvas, plot.GraphParams, fields));
    EXPECT_EQ(canvas.GetPixel(5, 5), Background);  // the picture is back all the same
    EXPECT_EQ(plot.GraphParams.SgXs, 2);           // the last good count stays
    EXPECT_EQ(plot.GraphParams.Ys, 0.25L);
}

TEST_F(TraceTest, RestoreBeforeAnySaveLeavesTheArea) {
    canvas.SetPixel(3, 3, Pen);
    EXPECT_NO_THROW(RestoreBackingImage(saved, canvas, plot.GraphParams, GraphFieldTexts{}));
    EXPECT_EQ(canvas.GetPixel(3, 3), Pen);
}

}  // namespace
}  // namespace metopt::render
