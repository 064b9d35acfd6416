// Row writes into the picture, and the rows a pass drew ahead put back after a stop or an error.
#include "render/pixelrows.h"
#include "support/qt_environment.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/canvas.h"
#include "render/rowteam.h"
#include "runtime/fpu.h"

namespace metopt::render {
namespace {

constexpr int W = 12;
constexpr int H = 10;
constexpr std::int32_t Cols = W - 2;
constexpr std::int32_t Rows = H - 2;
constexpr std::int32_t Start = 0x102030;
constexpr std::int32_t Drawn = 0x00FF00;
constexpr std::int32_t Before = 0x0000FF;

class PixelRowsTest : public ::testing::TestWithParam<unsigned> {
  protected:
    // A pass that draws every pixel of its rows, stopping before `stopAt` or raising after the
    // first half of row `failAt`.
    static RowPass Drawing(const PixelRows& pixels, std::int32_t stopAt, std::int32_t failAt) {
        RowPass pass;
        pass.beforeRow = [stopAt](std::int32_t row) { return row != stopAt; };
        pass.work = [&pixels, failAt](std::int32_t row) {
            for (std::int32_t col = 1; col <= Cols; ++col) {
                if (row == failAt && col > Cols / 2)
                    throw std::runtime_error("row " + std::to_string(row));
                pixels.Set(col, row, Drawn);
            }
        };
        return pass;
    }

    static std::int32_t BeforeColor(std::int32_t, std::int32_t) { return Before; }

    // Rows 1..lastDrawn drawn (row `half` only in its first half), the rest as `rest`.
    static void ExpectRows(const platform::Canvas& canvas, std::int32_t lastDrawn,
                           std::int32_t half, std::int32_t rest) {
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const bool inside = x >= 1 && x <= Cols && y >= 1 && y <= Rows;
                std::int32_t want = Start;
                if (inside && (y <= lastDrawn || (y == half && x <= Cols / 2)))
                    want = Drawn;
                else if (inside && y > lastDrawn && y != half)
                    want = rest;
                ASSERT_EQ(canvas.GetPixel(x, y), want) << x << "," << y;
            }
        }
    }
    // What a pass on GetParam() threads leaves in the rows it did not visit.
    static std::int32_t RestColor() { return GetParam() > 1 ? Before : Start; }
};

TEST_P(PixelRowsTest, APassThatEndsDrawsEveryRowAndPutsNothingBack) {
    platform::Canvas canvas(W, H, Start);
    const PixelRows pixels(canvas);
    EXPECT_EQ(RunDrawingPass(Rows, GetParam(), Drawing(pixels, 0, 0), pixels, Cols, BeforeColor),
              0);
    ExpectRows(canvas, Rows, 0, Start);
}

TEST_P(PixelRowsTest, AStopPutsBackTheRowsFromThere) {
    platform::Canvas canvas(W, H, Start);
    const PixelRows pixels(canvas);
    EXPECT_EQ(RunDrawingPass(Rows, GetParam(), Drawing(pixels, 4, 0), pixels, Cols, BeforeColor),
              4);
    ExpectRows(canvas, 3, 0, RestColor());
}

TEST_P(PixelRowsTest, AnErrorKeepsTheFailingRowAndPutsBackTheRowsAfterIt) {
    platform::Canvas canvas(W, H, Start);
    const PixelRows pixels(canvas);
    int afterRows = 0;
    RowPass pass = Drawing(pixels, 0, 3);
    pass.afterRow = [&afterRows](std::int32_t, bool) { ++afterRows; };
    EXPECT_THROW(RunDrawingPass(Rows, GetParam(), pass, pixels, Cols, BeforeColor),
                 std::runtime_error);
    EXPECT_EQ(afterRows, 3);  // the pass's own afterRow still sees every visited row
    ExpectRows(canvas, 2, 3, RestColor());
}

INSTANTIATE_TEST_SUITE_P(Threads, PixelRowsTest, ::testing::Values(1u, 2u, 3u),
                         [](const auto& row) { return std::to_string(row.param) + "threads"; });

TEST(PixelRowsWriteTest, WritesInsideTheCanvasAndIgnoresTheRest) {
    platform::Canvas canvas(4, 3, Start);
    const PixelRows pixels(canvas);
    pixels.Set(0, 0, Drawn);
    pixels.Set(3, 2, Drawn);
    const std::pair<int, int> outside[] = {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {100, 100}};
    for (const auto& [x, y] : outside)
        pixels.Set(x, y, Before);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool set = (x == 0 && y == 0) || (x == 3 && y == 2);
            EXPECT_EQ(canvas.GetPixel(x, y), set ? Drawn : Start) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace metopt::render
