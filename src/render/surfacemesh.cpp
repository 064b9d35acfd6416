#include "render/surfacemesh.h"

#include <algorithm>
#include <cmath>

#include "render/sampling.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::render {

long double TSurfaceMesh::X(std::int32_t i) const {
    return region.Xb + (region.Xe - region.Xb) * i / cols;
}

long double TSurfaceMesh::Y(std::int32_t j) const {
    return region.Yb + (region.Ye - region.Yb) * j / rows;
}

bool IsSurfaceRegion(const core::TRegion& region) {
    return std::isfinite(region.Xb) && std::isfinite(region.Xe) && std::isfinite(region.Yb) &&
           std::isfinite(region.Ye) && region.Xb < region.Xe && region.Yb < region.Ye &&
           std::isfinite(region.Xe - region.Xb) && std::isfinite(region.Ye - region.Yb);
}

long double SurfaceValue(const core::TPlottedFunc& func, long double x, long double y) {
    try {
        runtime::ClearFpuFlags();
        const long double z = func(x, y);
        runtime::ClearFpuFlags();
        return std::isfinite(z) ? z : UndefinedSample;
    } catch (const runtime::EInvalidOp&) {
    } catch (const runtime::EZeroDivide&) {
    } catch (const runtime::EOverflow&) {
    }
    runtime::ClearFpuFlags();
    return UndefinedSample;
}

TSurfaceMesh MakeSurfaceMesh(const core::TPlottedFunc& func, const core::TRegion& region,
                             std::int32_t quads) {
    TSurfaceMesh mesh;
    mesh.func = func;
    mesh.region = region;
    if (!IsSurfaceRegion(region) || quads < 1)
        return mesh;
    mesh.cols = quads;
    mesh.rows = quads;
    mesh.heights.reserve(static_cast<std::size_t>(quads + 1) * static_cast<std::size_t>(quads + 1));
    for (std::int32_t j = 0; j <= mesh.rows; ++j) {
        const long double y = mesh.Y(j);
        for (std::int32_t i = 0; i <= mesh.cols; ++i)
            mesh.heights.push_back(SurfaceValue(func, mesh.X(i), y));
    }
    return mesh;
}

bool MeshIsFor(const TSurfaceMesh& mesh, const core::TPlottedFunc& func,
               const core::TRegion& region) {
    return mesh.func == func && SameRegion(mesh.region, region);
}

TValueRange MeshRange(const TSurfaceMesh& mesh) {
    TValueRange range;
    bool any = false;
    for (const long double z : mesh.heights) {
        if (IsUndefined(z))
            continue;
        range.lo = any ? std::min(range.lo, z) : z;
        range.hi = any ? std::max(range.hi, z) : z;
        any = true;
    }
    return range;
}

}  // namespace metopt::render
