#include "render/surfacescene.h"

#include <algorithm>
#include <cmath>

#include "render/comparisontrace.h"
#include "render/coordinates.h"
#include "render/sampling.h"
#include "runtime/exceptions.h"

namespace metopt::render {

namespace {

bool ScanHoldsFor(const TPlot& plot, const TSurfaceMesh& mesh) {
    return plot.ZRangeValid && MeshIsFor(mesh, plot.CurrentFunc, plot.VisibleRegion) &&
           std::isfinite(plot.ZMin) && std::isfinite(plot.ZMax) && plot.ZMin <= plot.ZMax;
}

void AddPoints(TSurfacePath& path, const core::TPlottedFunc& func, const core::TDescent& descent) {
    const std::uint32_t count = std::min(descent.TraceCount, core::TraceCapacity);
    path.points.reserve(count + 1);
    const auto add = [&](const core::TTracePoint& p) {
        path.points.push_back({p.X, p.Y, SurfaceValue(func, p.X, p.Y)});
    };
    if (count == 0)
        return;
    add(descent.TraceStart);
    for (std::uint32_t k = 1; k <= count; ++k)
        add(descent.Trace[k]);
}

}  // namespace

TSurfacePath DescentSurfacePath(const core::TPlottedFunc& func, const core::TDescent& descent,
                                const palette::TPalette& Palette) {
    TSurfacePath path;
    path.lineColor = Palette[palette::TracePenColor].Color;
    path.dotColor = Palette[palette::TraceFillColor].Color;
    AddPoints(path, func, descent);
    return path;
}

std::vector<TSurfacePath> ComparisonSurfacePaths(const core::TPlottedFunc& func,
                                                 const core::TComparison& comparison) {
    std::vector<TSurfacePath> paths;
    for (const core::TComparedRun& run : comparison.runs) {
        TSurfacePath path;
        path.lineColor = ComparisonColor(run.method);
        path.dotColor = path.lineColor;
        AddPoints(path, func, run.descent);
        paths.push_back(std::move(path));
    }
    return paths;
}

TValueRange SurfaceRange(const TPlot& plot, const TSurfaceMesh& mesh) {
    if (ScanHoldsFor(plot, mesh))
        return {plot.ZMin, plot.ZMax};
    return MeshRange(mesh);
}

std::optional<TSurfacePoint> SurfaceMinimum(const TPlot& plot, const TSurfaceMesh& mesh) {
    if (ScanHoldsFor(plot, mesh)) {
        try {
            return TSurfacePoint{ColumnToX(plot, plot.MinCol), RowToY(plot, plot.MinRow),
                                 plot.ZMin};
        } catch (const runtime::Exception&) {
            return std::nullopt;
        }
    }
    std::optional<TSurfacePoint> lowest;
    for (std::int32_t j = 0; j <= mesh.rows && !mesh.heights.empty(); ++j) {
        for (std::int32_t i = 0; i <= mesh.cols; ++i) {
            const long double z = mesh.Height(i, j);
            if (!IsUndefined(z) && (!lowest || z < lowest->z))
                lowest = TSurfacePoint{mesh.X(i), mesh.Y(j), z};
        }
    }
    return lowest;
}

}  // namespace metopt::render
