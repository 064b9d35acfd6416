// The grid's number labels: where they stand beside the axes, and where they go when an axis
// lies near an edge of the area or outside it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/canvas.h"
#include "render/coordinates.h"
#include "runtime/numformat.h"
#include "runtime/rounding.h"
#include "support/grid_fixture.h"
#include "support/pixels.h"
#include "support/qt_environment.h"

namespace metopt::render {
namespace {

// Draws the labels the way they are expected, over the lines of `expected`.
struct Label {
    int x, y;
    std::string text;
};

Canvas ExpectedLabels(const std::vector<Label>& labels,
                      Canvas expected = Canvas(W, H, Background)) {
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
constexpr int AxisTick = 6;  // the tick at the centre, 0

// The x labels, centred on the big grid's columns, with their tops at `top`.
void AddXLabels(std::vector<Label>& labels, const Canvas& canvas, int top) {
    const int tw = canvas.TextWidth("0.00");
    for (int k = 0; k < 13; ++k) {
        labels.push_back({ColumnAtTenths(1 + 2 * k) - tw / 2, top, TickTexts[k]});
    }
}

// The y labels, centred on the big grid's rows, with their left edges at `left`; with
// `skipAxisHeight` none at the height of 0, where the default horizontal axis lies.
void AddYLabels(std::vector<Label>& labels, const Canvas& canvas, int left, bool skipAxisHeight) {
    const int th = canvas.TextHeight("0");
    for (int k = 0; k < 13; ++k) {
        if (!skipAxisHeight || k != AxisTick) {
            labels.push_back({left, RowAtTenths(25 - 2 * k) - th / 2, TickTexts[k]});
        }
    }
}

TEST_F(GridTest, DefaultLabelsBelowAndLeftOfTheAxesTheOriginReadsMinusZero) {
    Draw(false, false, false, true);
    const int tw = canvas.TextWidth("0.00");
    std::vector<Label> labels;
    AddXLabels(labels, canvas, 207);  // just below the horizontal axis (row 206)
    // The y labels end just left of the vertical axis (column 224).
    AddYLabels(labels, canvas, 224 - tw - 1, true);
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
    AddXLabels(labels, canvas, (H - 1) - th - 1);
    AddYLabels(labels, canvas, 224 - tw - 1, false);  // |v - 1.27| > 0.05 for every label
    ExpectSamePixels(canvas, ExpectedLabels(labels));
}

TEST_F(GridTest, VerticalAxisNearTheLeftSendsTheYLabelsToTheLeftEdge) {
    fields.Xc = "-1.25";  // column 1 + floor(0.05 * 447 / 2.6) = 9, within tw of Left
    ASSERT_EQ(XToColumn(plot, -1.25L, W), 9);
    Draw(false, false, false, true);
    const int tw = canvas.TextWidth("0.00");
    ASSERT_LE(9 - tw, 1);
    std::vector<Label> labels;
    AddXLabels(labels, canvas, 207);
    AddYLabels(labels, canvas, 2, true);
    ExpectSamePixels(canvas, ExpectedLabels(labels));
}

TEST_F(GridTest, CentreBelowTheRegionPutsTheXLabelsOutsideTheArea) {
    fields.Yc = "-2";
    ASSERT_GT(YToRow(plot, -2.0L, H), H);
    Draw(false, false, true, true);
    const int tw = canvas.TextWidth("0.00");
    // The vertical axis with its arrow head and no horizontal axis, then every y label (none is
    // near -2) and no x label.
    Canvas axis(W, H, Background);
    for (const PixelSet& line : {LinePixels(224, 1, 224, H - 1), LinePixels(224, 1, 210, 26),
                                 LinePixels(224, 1, 238, 26)}) {
        for (const auto& [x, y] : line) {
            axis.SetPixel(x, y, Axes);
        }
    }
    std::vector<Label> labels;
    AddYLabels(labels, canvas, 224 - tw - 1, false);
    ExpectSamePixels(canvas, ExpectedLabels(labels, axis));
}

}  // namespace
}  // namespace metopt::render
