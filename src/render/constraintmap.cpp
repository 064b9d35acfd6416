#include "render/constraintmap.h"

#include <algorithm>
#include <vector>

#include "render/coordinates.h"
#include "runtime/exceptions.h"

namespace metopt::render {

namespace {

using platform::Canvas;

constexpr std::int32_t HatchColor = 0x505050;
constexpr std::int32_t LegendFrame = 0x000000;
constexpr std::int32_t LegendBackground = 0xFFFFFF;
constexpr int HatchSpacing = 6;
constexpr int DashLength = 4;
constexpr int LegendRow = 14;
constexpr int LegendMargin = 4;
constexpr int LegendSample = 16;

// Each channel of `color` mixed half with `with`'s.
std::int32_t Mixed(std::int32_t color, int with) {
    std::int32_t mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int channel = (color >> shift) & 0xFF;
        mixed |= ((channel + with) / 2) << shift;
    }
    return mixed;
}

// Which side of a constraint each sampled pixel lies on: +1 where it fails (g > 0), -1 where it
// holds, 0 where it cannot be evaluated; columns 1..MapCols, rows 1..MapRows.
class TSides {
  public:
    TSides(const TPlot& plot, const core::TConstraint& constraint)
        : cols_(plot.MapCols),
          rows_(plot.MapRows),
          sides_(static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_)) {
        for (std::int32_t row = 1; row <= rows_; ++row) {
            int faults = 0;
            const long double y = SampledY(plot, row, faults);
            for (std::int32_t col = 1; col <= cols_; ++col) {
                int colFaults = faults;
                const long double x = SampledX(plot, col, colFaults);
                sides_[Index(col, row)] = colFaults == 0 ? SideAt(constraint, x, y) : 0;
            }
        }
    }

    signed char At(std::int32_t col, std::int32_t row) const {
        if (col < 1 || row < 1 || col > cols_ || row > rows_)
            return 0;
        return sides_[Index(col, row)];
    }

  private:
    static signed char SideAt(const core::TConstraint& constraint, long double x, long double y) {
        try {
            const long double g = constraint.g->Value(x, y);
            return g > 0 ? 1 : g <= 0 ? -1 : 0;
        } catch (const runtime::Exception&) {
            return 0;
        }
    }
    std::size_t Index(std::int32_t col, std::int32_t row) const {
        return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(cols_) +
               static_cast<std::size_t>(col - 1);
    }

    std::int32_t cols_;
    std::int32_t rows_;
    std::vector<signed char> sides_;
};

bool Changes(signed char a, signed char b) {
    return a != 0 && b != 0 && a != b;
}

void Shade(Canvas& area, const TPlot& plot, const std::vector<TSides>& sides,
           const core::TConstraints& constraints, TInfeasibleShade shade) {
    for (std::int32_t row = 1; row <= plot.MapRows; ++row) {
        for (std::int32_t col = 1; col <= plot.MapCols; ++col) {
            bool fails = false;
            for (std::size_t i = 0; i < sides.size(); ++i) {
                fails = fails || (constraints[i].kind == core::TConstraintKind::Inequality &&
                                  sides[i].At(col, row) > 0);
            }
            if (!fails)
                continue;
            if (shade == TInfeasibleShade::Dimmed)
                area.SetPixel(col, row, Dimmed(area.GetPixel(col, row)));
            else if ((col + row) % HatchSpacing == 0)
                area.SetPixel(col, row, HatchColor);
        }
    }
}

// The pixels where the side changes to the right or below, and the neighbour across: two pixels
// wide. A dash counts along the line's longer run: rows where it crosses a row, else columns.
void Boundary(Canvas& area, const TPlot& plot, const TSides& sides, bool dashed,
              std::int32_t color) {
    for (std::int32_t row = 1; row <= plot.MapRows; ++row) {
        for (std::int32_t col = 1; col <= plot.MapCols; ++col) {
            const signed char here = sides.At(col, row);
            const bool across = Changes(here, sides.At(col + 1, row));
            const bool down = Changes(here, sides.At(col, row + 1));
            if (!across && !down)
                continue;
            const std::int32_t along = across ? row : col;
            if (dashed && (along / DashLength) % 2 == 1)
                continue;
            area.SetPixel(col, row, color);
            if (across)
                area.SetPixel(col + 1, row, color);
            if (down)
                area.SetPixel(col, row + 1, color);
        }
    }
}

void Legend(Canvas& area, const core::TConstraints& constraints) {
    int width = 0;
    for (const core::TConstraint& constraint : constraints)
        width = std::max(width, area.TextWidth(constraint.text));
    width += 3 * LegendMargin + LegendSample;
    const int height = static_cast<int>(constraints.size()) * LegendRow + 2 * LegendMargin;
    const int left = LegendMargin;
    const int top = LegendMargin;
    area.SetPenColor(LegendFrame);
    area.SetBrushColor(LegendBackground);
    area.Rectangle(left, top, left + width, top + height);
    area.SetFontColor(LegendFrame);
    for (std::size_t i = 0; i < constraints.size(); ++i) {
        const int row = top + LegendMargin + static_cast<int>(i) * LegendRow + LegendRow / 2;
        const bool dashed = constraints[i].kind == core::TConstraintKind::Equality;
        for (int x = 0; x < LegendSample; ++x) {
            if (dashed && (x / DashLength) % 2 == 1)
                continue;
            area.SetPixel(left + LegendMargin + x, row, ConstraintColor(i));
            area.SetPixel(left + LegendMargin + x, row + 1, ConstraintColor(i));
        }
        const std::string& text = constraints[i].text;
        area.TextOut(left + 2 * LegendMargin + LegendSample, row - area.TextHeight(text) / 2, text);
    }
}

}  // namespace

const std::int32_t ConstraintColors[ConstraintColorCount] = {
    0xFF00FF, 0x0080FF, 0xFFFF00, 0x00C000, 0x0000C0, 0xC00000, 0x008080, 0x800080,
};

std::int32_t ConstraintColor(std::size_t index) {
    return ConstraintColors[index % ConstraintColorCount];
}

std::int32_t Dimmed(std::int32_t color) {
    return Mixed(color, 0x80);
}

std::int32_t Lighter(std::int32_t color) {
    return Mixed(color, 0xFF);
}

void DrawConstraints(Canvas& area, const TPlot& plot, const core::TConstraints& constraints,
                     TInfeasibleShade shade) {
    if (constraints.empty() || plot.MapCols < 1 || plot.MapRows < 1)
        return;
    std::vector<TSides> sides;
    sides.reserve(constraints.size());
    for (const core::TConstraint& constraint : constraints)
        sides.emplace_back(plot, constraint);
    if (shade != TInfeasibleShade::None)
        Shade(area, plot, sides, constraints, shade);
    for (std::size_t i = 0; i < constraints.size(); ++i) {
        Boundary(area, plot, sides[i], constraints[i].kind == core::TConstraintKind::Equality,
                 ConstraintColor(i));
    }
    Legend(area, constraints);
}

}  // namespace metopt::render
