#include "render/innerpath.h"

#include <vector>

#include "render/constraintmap.h"
#include "render/pixels.h"
#include "render/trace.h"

namespace metopt::render {

void DrawInnerPath(platform::Canvas& canvas, const TPlot& plot, const core::TDescent& descent,
                   std::uint32_t n, std::int32_t color) {
    if (n < 1 || n > descent.InnerTraces.size())
        return;
    std::vector<TracePixelPosition> pixels;
    for (const core::TTracePoint& point : descent.InnerTraces[n - 1])
        pixels.push_back(TracePixel(canvas, plot, point));
    canvas.SetPenColor(Lighter(color));
    for (std::size_t i = 1; i < pixels.size(); ++i)
        Line(canvas, pixels[i - 1].column, pixels[i - 1].row, pixels[i].column, pixels[i].row);
}

}  // namespace metopt::render
