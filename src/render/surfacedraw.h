#pragma once
// The surface's picture: the box's back panes with their grid, the mesh from the far quads to the
// near ones, each filled with the map's colour of its height, shaded by its slope and edged with
// the mesh's lines, the paths on it (drawn with the quads they lie over, so that a nearer hill
// covers them), the cross at the smallest sample, and the three axes with their round numbers.
#include "platform/canvas.h"
#include "render/surfacescene.h"
#include "render/surfaceview.h"

namespace metopt::render {

// The picture's background and the box's colours, in the Canvas's packed form.
constexpr std::int32_t SurfaceBackground = 0xFFFFFF;
constexpr std::int32_t SurfacePaneColor = 0xF2F2F2;
constexpr std::int32_t SurfacePaneGridColor = 0xD9D9D9;
constexpr std::int32_t SurfaceBoxColor = 0x999999;
constexpr std::int32_t SurfaceTextColor = 0x000000;

// The whole canvas: the background, and the scene when it has a mesh.
void DrawSurface(platform::Canvas& canvas, const TSurfaceScene& scene, const TSurfaceView& view);

// The colour of a quad whose mean height is z, before its shading: the map's for the scene's fill
// (the discrete one for no fill), the first map colour for a range of no width.
std::int32_t SurfaceColor(const TSurfaceScene& scene, long double z);

}  // namespace metopt::render
