#pragma once
// A fixture for the grid: the default region on the design size, with a colour of its own for
// each layer, and where the lines of the default steps lie.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "core/minimizer.h"
#include "palette/palette.h"
#include "platform/canvas.h"
#include "render/fieldtexts.h"
#include "render/grid.h"
#include "support/pixels.h"
#include "support/render_state.h"

namespace metopt::testsupport::grid {

constexpr int W = 448;
constexpr int H = 412;

constexpr std::int32_t Background = 0xFFFFFF;
constexpr std::int32_t SmallGrid = 0xE0E0E0;
constexpr std::int32_t BigGrid = 0xA0A0A0;
constexpr std::int32_t Axes = 0x000080;
constexpr std::int32_t Ink = 0x800000;
constexpr std::int32_t Paper = 0x80FFFF;

inline std::set<int> ColumnsOf(const PixelSet& pixels, int row) {
    std::set<int> columns;
    for (const auto& [x, y] : pixels) {
        if (y == row) {
            columns.insert(x);
        }
    }
    return columns;
}

inline std::set<int> RowsOf(const PixelSet& pixels, int column) {
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
inline int ColumnAtTenths(int tenthsFromLeft) {
    return 1 + tenthsFromLeft * 447 / 26;
}
inline int RowAtTenths(int tenthsFromTop) {
    return 1 + tenthsFromTop * 411 / 26;
}

// Every `every` tenths from -1.2 to 1.2: the small grid (every 1) or the big grid (every 2).
inline std::set<int> LinesAt(int (*position)(int tenths), int every) {
    std::set<int> positions;
    for (int t = 1; t <= 25; t += every) {
        positions.insert(position(t));
    }
    return positions;
}
inline std::set<int> SmallColumns() {
    return LinesAt(ColumnAtTenths, 1);
}
inline std::set<int> SmallRows() {
    return LinesAt(RowAtTenths, 1);
}
inline std::set<int> BigColumns() {
    return LinesAt(ColumnAtTenths, 2);
}
inline std::set<int> BigRows() {
    return LinesAt(RowAtTenths, 2);
}

inline std::set<int> Range(int first, int last) {
    std::set<int> values;
    for (int v = first; v <= last; ++v) {
        values.insert(v);
    }
    return values;
}

// The pixels of a line from (x0, y0) to (x1, y1), end excluded: at step i along the major axis
// the minor offset is i * minor / major rounded to nearest (no halves occur in these cases).
inline PixelSet LinePixels(int x0, int y0, int x1, int y1) {
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

class GridTest : public RenderStateTest {
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
        render::DrawGrid(canvas, plot, Palette, fields,
                         render::GridLayers{small, big, axes, numbers});
    }

    platform::Canvas canvas{W, H, Background};
    render::GraphFieldTexts fields;
};

}  // namespace metopt::testsupport::grid

// The grid's tests name the fixture, its colours and the pixel sets without the namespace.
namespace metopt::render {
using platform::Canvas;
using namespace testsupport::grid;
using testsupport::PixelSet;
using testsupport::PixelsOf;
}  // namespace metopt::render
