#pragma once
// The surface of the plotted function over the map's region, with the last run's path or the
// comparison's paths on it: the page "Поверхность" and its picture file.
#include <cstdint>
#include <memory>
#include <string>

#include "app/session.h"
#include "app/settings.h"
#include "platform/canvas.h"
#include "render/surfacescene.h"

namespace metopt::app {

// The fill of the quads, as the map's fields choose it.
struct TSurfaceStyle {
    render::FillMode fill = render::FillMode::Discrete;
    std::int32_t gradientCount = 0;
};
TSurfaceStyle SurfaceStyleOf(const TSettings& settings);

// The smallest side of a surface's picture.
constexpr int MinSurfaceSide = 4;

// What the page says before any map has given the surface its region.
extern const char* const SurfaceNeedsMapText;

// Whether the session's plot has a region a surface can be made over.
bool HasSurface(const TSession& session);
// The mesh of the plot's function over its region: `cached` while it was made for both, else a
// new one (the function evaluated again only then).
std::shared_ptr<const render::TSurfaceMesh> SurfaceMeshFor(
    const TSession& session, std::shared_ptr<const render::TSurfaceMesh> cached);
// The scene over the mesh: the range and smallest sample of the map's scan, the session's palette,
// and the comparison's paths after a comparison, else the last run's.
render::TSurfaceScene SurfaceSceneOf(const TSession& session, const render::TSurfaceMesh& mesh,
                                     const TSurfaceStyle& style);
// The whole canvas: the scene in the session's view, or SurfaceNeedsMapText without a surface.
void DrawSurfacePicture(platform::Canvas& canvas, const TSession& session,
                        const render::TSurfaceMesh& mesh, const TSurfaceStyle& style);
void DrawSurfacePicture(platform::Canvas& canvas, const TSession& session,
                        const render::TSurfaceScene& scene);

// What the page keeps between its repaints, so that a drag only draws: the mesh, made again for
// another function or region, and the paths on it, evaluated again when the traces or the
// function changed.
class TSurfaceCache {
  public:
    // The session's scene (its mesh kept here), or one without a mesh before any map.
    const render::TSurfaceScene& SceneOf(const TSession& session, const TSurfaceStyle& style);

  private:
    std::shared_ptr<const render::TSurfaceMesh> mesh_;
    render::TSurfaceScene scene_;
    std::uint64_t pathsKey_ = 0;
    bool hasPaths_ = false;
};

// The picture at the session's SurfaceWidth × SurfaceHeight as PNG; raises the program's own error
// before any map and when the file cannot be written.
void WriteSurfacePicture(const TSession& session, const TSurfaceStyle& style,
                         const std::string& fileName);

}  // namespace metopt::app
