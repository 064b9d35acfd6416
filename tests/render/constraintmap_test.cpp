// The constraints over the map: the part where an inequality fails dimmed or hatched (and
// nothing else touched), each boundary drawn in its colour, an equality's dashed and unshaded,
// a point where a constraint is undefined left alone.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "core/formula/constraintformula.h"
#include "platform/canvas.h"
#include "render/constraintmap.h"
#include "render/coordinates.h"
#include "runtime/fpu.h"
#include "support/qt_environment.h"

namespace metopt::render {
namespace {

constexpr int W = 202;
constexpr int H = 202;
constexpr std::int32_t Ground = 0x336699;
constexpr std::int32_t Hatch = 0x505050;
// Rows below the legend box.
constexpr int FirstRowBelowLegend = 40;

struct ShadeCase {
    const char* constraint;
    TInfeasibleShade shade;
    // Where the constraint fails (x the pixel's), and where it is undefined.
    bool (*fails)(long double x);
    bool (*undefined)(long double x);
};
void PrintTo(const ShadeCase& c, std::ostream* os) {
    *os << '"' << c.constraint << "\" shade " << static_cast<int>(c.shade);
}

bool RightHalf(long double x) {
    return x > 0;
}
bool Nowhere(long double) {
    return false;
}
bool BeyondQuarter(long double x) {
    return x > 0.25L;
}
bool LeftHalf(long double x) {
    return x < 0;
}

class ConstraintMapTest : public ::testing::TestWithParam<ShadeCase> {
  protected:
    void SetUp() override {
        runtime::InitFpu();
        plot.VisibleRegion = {-1, 1, -1, 1};
        plot.MapCols = W - 2;
        plot.MapRows = H - 2;
    }
    long double X(int col) const { return ColumnToX(plot, col); }

    TPlot plot;
    platform::Canvas area{W, H, Ground};
};

// Away from the boundary (two pixels), each sampled pixel below the legend has its expected
// colour.
TEST_P(ConstraintMapTest, ShadesExactlyWhereAnInequalityFails) {
    const ShadeCase& c = GetParam();
    const core::TConstraints constraints = core::CompileConstraintLines(c.constraint);
    DrawConstraints(area, plot, constraints, c.shade);
    const bool inequality = constraints[0].kind == core::TConstraintKind::Inequality;
    for (int row = FirstRowBelowLegend; row <= plot.MapRows; ++row) {
        for (int col = 1; col <= plot.MapCols; ++col) {
            const long double x = X(col);
            if (std::fabs(x) < 0.03L || std::fabs(x - 0.25L) < 0.03L)
                continue;
            std::int32_t expected = Ground;
            if (inequality && !c.undefined(x) && c.fails(x)) {
                if (c.shade == TInfeasibleShade::Dimmed)
                    expected = Dimmed(Ground);
                else if (c.shade == TInfeasibleShade::Hatched && (col + row) % 6 == 0)
                    expected = Hatch;
            }
            ASSERT_EQ(area.GetPixel(col, row), expected) << "col " << col << " row " << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConstraintMapTest,
    ::testing::Values(ShadeCase{"x <= 0", TInfeasibleShade::Dimmed, RightHalf, Nowhere},
                      ShadeCase{"x <= 0", TInfeasibleShade::Hatched, RightHalf, Nowhere},
                      ShadeCase{"x <= 0", TInfeasibleShade::None, RightHalf, Nowhere},
                      ShadeCase{"0 >= x", TInfeasibleShade::Dimmed, RightHalf, Nowhere},
                      ShadeCase{"x = 0", TInfeasibleShade::Dimmed, RightHalf, Nowhere},
                      ShadeCase{"sqrt(x) <= 0.5", TInfeasibleShade::Dimmed, BeyondQuarter,
                                LeftHalf}));

// The boundary x = 0 in the first colour in every row below the legend, two pixels wide; an
// equality's is dashed: some rows have it, some do not.
TEST_F(ConstraintMapTest, DrawsTheBoundaryWholeOrDashed) {
    for (const auto& [text, dashed] : {std::pair{"x <= 0", false}, std::pair{"x = 0", true}}) {
        SCOPED_TRACE(text);
        platform::Canvas fresh(W, H, Ground);
        DrawConstraints(fresh, plot, core::CompileConstraintLines(text), TInfeasibleShade::None);
        int rowsWithLine = 0;
        for (int row = FirstRowBelowLegend; row <= plot.MapRows; ++row) {
            int coloured = 0;
            for (int col = 1; col <= plot.MapCols; ++col)
                coloured += fresh.GetPixel(col, row) == ConstraintColor(0) ? 1 : 0;
            EXPECT_TRUE(coloured == 0 || coloured == 2) << "row " << row;
            rowsWithLine += coloured > 0 ? 1 : 0;
        }
        const int rows = plot.MapRows - FirstRowBelowLegend + 1;
        if (dashed) {
            EXPECT_GT(rowsWithLine, rows / 3);
            EXPECT_LT(rowsWithLine, 2 * rows / 3);
        } else {
            EXPECT_EQ(rowsWithLine, rows);
        }
    }
}

TEST_F(ConstraintMapTest, DrawsNothingWithoutConstraints) {
    DrawConstraints(area, plot, {}, TInfeasibleShade::Dimmed);
    EXPECT_TRUE(area.Image() == platform::Canvas(W, H, Ground).Image());
}

}  // namespace
}  // namespace metopt::render
