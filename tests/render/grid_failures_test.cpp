// The grid's errors: the field that is not an integer, zero and negative steps and counts, and
// too many lines; each keeps the layers drawn before it.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <utility>

#include "render/fieldtexts.h"
#include "render/grid.h"
#include "runtime/exceptions.h"
#include "support/expect_error.h"
#include "support/grid_fixture.h"
#include "support/pixels.h"
#include "support/qt_environment.h"

namespace metopt::render {
namespace {

TEST_F(GridTest, CountFieldNotAnIntegerDrawsNothing) {
    fields.SgYs = "2.5";
    testsupport::ExpectError<runtime::EConvertError>([&] { Draw(true, true, true, true); },
                                                     "'2.5' is not a valid integer value");
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
    testsupport::ExpectError([&] { DrawGrid(canvas, plot, Palette, fields, c.layers); }, c.message);
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

}  // namespace
}  // namespace metopt::render
