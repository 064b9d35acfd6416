#pragma once
// What the surface's picture shows: the mesh coloured as the map over a range of values, the paths
// on it, and the smallest sample of the map.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/methods/comparison.h"
#include "core/minimizer.h"
#include "palette/palette.h"
#include "render/fill.h"
#include "render/plot.h"
#include "render/surfacemesh.h"

namespace metopt::render {

// A point on the surface: z is f(x, y), UndefinedSample where the function is not defined.
struct TSurfacePoint {
    long double x = 0;
    long double y = 0;
    long double z = 0;
};

// A path with its line's colour and its points' fill.
struct TSurfacePath {
    std::int32_t lineColor = 0;
    std::int32_t dotColor = 0;
    std::vector<TSurfacePoint> points;
};

struct TSurfaceScene {
    const TSurfaceMesh* mesh = nullptr;
    // The range the colours and the box's height span.
    long double zLow = 0;
    long double zHigh = 0;
    const palette::TPalette* Palette = nullptr;
    FillMode fill = FillMode::Discrete;
    std::int32_t gradientCount = 0;
    std::vector<TSurfacePath> paths;
    std::optional<TSurfacePoint> minimum;
};

// The start and the trace points of the descent's last run, at f(x, y) of `func`, in the map's
// trace colours.
TSurfacePath DescentSurfacePath(const core::TPlottedFunc& func, const core::TDescent& descent,
                                const palette::TPalette& Palette);
// Each run's path of the comparison, in its method's colour.
std::vector<TSurfacePath> ComparisonSurfacePaths(const core::TPlottedFunc& func,
                                                 const core::TComparison& comparison);

// The range of the map's last scan while it holds for the mesh's function, else the mesh's own;
// and the smallest sample of that scan, or the mesh's lowest node.
TValueRange SurfaceRange(const TPlot& plot, const TSurfaceMesh& mesh);
std::optional<TSurfacePoint> SurfaceMinimum(const TPlot& plot, const TSurfaceMesh& mesh);

}  // namespace metopt::render
