// The arrows of the steps of the methods of machine learning, and the colours that tell those
// methods apart in a comparison.
#include "render/stepvectors.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <ostream>
#include <set>

#include "core/methods/method.h"
#include "render/comparisontrace.h"
#include "render/trace.h"

namespace metopt::render {
namespace {

constexpr int W = 448;
constexpr int H = 412;

TPlot PlotOfRegion() {
    TPlot plot;
    plot.VisibleRegion = core::TRegion{-1.3L, 1.3L, -1.3L, 1.3L};
    plot.MapCols = W - 2;
    plot.MapRows = H - 2;
    return plot;
}

struct ArrowCase {
    long double vx, vy;
    std::optional<std::pair<long long, long long>> offset;  // from the arrow's foot
};

void PrintTo(const ArrowCase& c, std::ostream* os) {
    *os << "(" << static_cast<double>(c.vx) << ", " << static_cast<double>(c.vy) << ")";
}

class ArrowEndTest : public ::testing::TestWithParam<ArrowCase> {};

// The region is 2.6 wide and high over 448 × 412 pixels: a world unit is 172.3 pixels across
// and 158.5 down, so (1, 1) points 13.25 right and 12.19 up of 18.
const ArrowCase ArrowCases[] = {
    {1, 0, {{18, 0}}},
    {0, 1, {{0, -18}}},
    {-2, 0, {{-18, 0}}},
    {1, 1, {{13, -12}}},
    {1e-30L, -1e-30L, {{13, 12}}},
    {0, 0, std::nullopt},
    {std::numeric_limits<long double>::infinity(), 0, std::nullopt},
};

TEST_P(ArrowEndTest, IsEighteenPixelsAlongTheVectorAsTheMapShowsIt) {
    const ArrowCase& c = GetParam();
    const platform::Canvas canvas(W, H);
    ArrowEnd end{};
    const bool drawn = ArrowEndOf(canvas, PlotOfRegion(), 100, 200, c.vx, c.vy, end);
    ASSERT_EQ(drawn, c.offset.has_value());
    if (drawn) {
        EXPECT_EQ(end.column - 100, c.offset->first);
        EXPECT_EQ(end.row - 200, c.offset->second);
    }
}

INSTANTIATE_TEST_SUITE_P(Vectors, ArrowEndTest, ::testing::ValuesIn(ArrowCases));

int CountOf(const platform::Canvas& canvas, std::int32_t color) {
    int count = 0;
    for (int row = 0; row < H; ++row)
        for (int col = 0; col < W; ++col)
            count += canvas.GetPixel(col, row) == color ? 1 : 0;
    return count;
}

// Point n shows the vectors of iteration n + 1: none at the last point, none for a run without.
TEST(StepVectorsTest, DrawnAtEveryPointButTheLast) {
    core::TDescent descent;
    descent.TraceCount = 3;
    descent.Trace[1] = {0, 0};
    descent.Trace[2] = {0.5L, 0};
    descent.Trace[3] = {0.5L, 0.5L};
    for (int k = 0; k < 3; ++k)
        descent.StepVectors.push_back({1, 0, 0, 1});
    const TPlot plot = PlotOfRegion();
    for (std::uint32_t n = 1; n <= 3; ++n) {
        SCOPED_TRACE("point " + std::to_string(n));
        platform::Canvas canvas(W, H, 0);
        DrawStepVectors(canvas, plot, descent, n);
        // The antigradient (−1, 0) to the left, the step (0, 1) upwards: 18 pixels and the barbs.
        EXPECT_EQ(CountOf(canvas, AntigradientArrowColor) > 18, n < 3);
        EXPECT_EQ(CountOf(canvas, StepArrowColor) > 18, n < 3);
        const TracePixelPosition at = TracePixel(canvas, plot, descent.Trace[n]);
        if (n < 3) {
            EXPECT_EQ(canvas.GetPixel(static_cast<int>(at.column) - 10, static_cast<int>(at.row)),
                      AntigradientArrowColor);
            EXPECT_EQ(canvas.GetPixel(static_cast<int>(at.column), static_cast<int>(at.row) - 10),
                      StepArrowColor);
        }
    }
    descent.StepVectors.clear();
    platform::Canvas canvas(W, H, 0);
    DrawStepVectors(canvas, plot, descent, 1);
    EXPECT_EQ(CountOf(canvas, 0), W * H);
}

// The methods of machine learning have colours of their own, apart from the classical ones.
TEST(ComparisonColorsTest, TheMethodsOfMachineLearningHaveTheirOwn) {
    std::set<std::int32_t> classical(std::begin(ComparisonColors), std::end(ComparisonColors));
    std::set<std::int32_t> learning;
    for (const core::TMethod method : core::AllMethods()) {
        if (core::IsLearningMethod(method))
            learning.insert(ComparisonColor(method));
        else
            EXPECT_TRUE(classical.count(ComparisonColor(method))) << core::MethodCaption(method);
    }
    EXPECT_EQ(learning.size(), 5u);
    for (const std::int32_t color : learning)
        EXPECT_FALSE(classical.count(color)) << std::hex << color;
}

}  // namespace
}  // namespace metopt::render
