#include "render/pointpick.h"

#include <cstdint>
#include <functional>

#include "render/coordinates.h"
#include "runtime/exceptions.h"
#include "runtime/shortestdecimal.h"

namespace metopt::render {

namespace {

// The shortest general form of v that `pixel` puts where it puts v.
std::string ShortestOnPixel(long double v, const std::function<std::int32_t(long double)>& pixel) {
    const std::int32_t target = pixel(v);
    return runtime::ShortestDecimal(v, [&](long double parsed) { return pixel(parsed) == target; });
}

}  // namespace

std::optional<PickedPoint> PointAtPixel(const TPlot& plot, int X, int Y, int W, int H) {
    const core::TRegion& r = plot.VisibleRegion;
    if (!IsSampledPixel(X, Y, W, H) || r.Xb == r.Xe || r.Yb == r.Ye || plot.MapCols < 2 ||
        plot.MapRows < 2)
        return std::nullopt;
    try {
        const long double x = ColumnToX(plot, X);
        const long double y = RowToY(plot, Y);
        return PickedPoint{ShortestOnPixel(x, [&](long double v) { return XToColumn(plot, v, W); }),
                           ShortestOnPixel(y, [&](long double v) { return YToRow(plot, v, H); })};
    } catch (const runtime::Exception&) {
        // A region too wide for its pixels: no point to take.
        return std::nullopt;
    }
}

}  // namespace metopt::render
