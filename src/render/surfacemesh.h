#pragma once
// The function sampled for its surface: the heights at the nodes of a grid of quads over a region,
// with the points where it is not defined left as holes.
#include <cstdint>
#include <vector>

#include "core/builtinfunctions.h"
#include "core/region.h"

namespace metopt::render {

// The quads of the mesh across x and across y.
constexpr std::int32_t SurfaceQuads = 120;

struct TSurfaceMesh {
    core::TPlottedFunc func;
    core::TRegion region;
    std::int32_t cols = 0;
    std::int32_t rows = 0;
    // (rows + 1) × (cols + 1) heights, row j (y from Yb up) after row j - 1; UndefinedSample
    // where the function is not defined (see SurfaceValue).
    std::vector<long double> heights;

    long double X(std::int32_t i) const;
    long double Y(std::int32_t j) const;
    long double Height(std::int32_t i, std::int32_t j) const {
        return heights[static_cast<std::size_t>(j) * static_cast<std::size_t>(cols + 1) +
                       static_cast<std::size_t>(i)];
    }
};

// Whether a region can carry a surface: finite, Xb < Xe and Yb < Ye.
bool IsSurfaceRegion(const core::TRegion& region);

// f(x, y), or UndefinedSample where its evaluation raises a floating-point fault or gives no
// finite value: the surface leaves a hole there rather than stopping.
long double SurfaceValue(const core::TPlottedFunc& func, long double x, long double y);

// The mesh of `quads` × `quads` quads over the region (none when it carries no surface).
TSurfaceMesh MakeSurfaceMesh(const core::TPlottedFunc& func, const core::TRegion& region,
                             std::int32_t quads = SurfaceQuads);
// Whether the mesh was made for this function over this region, bit for bit.
bool MeshIsFor(const TSurfaceMesh& mesh, const core::TPlottedFunc& func,
               const core::TRegion& region);

// The smallest and the largest defined height; lo > hi when there is none.
struct TValueRange {
    long double lo = 1;
    long double hi = 0;
};
TValueRange MeshRange(const TSurfaceMesh& mesh);

}  // namespace metopt::render
