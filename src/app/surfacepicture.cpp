#include "app/surfacepicture.h"

#include <QString>
#include <algorithm>
#include <cstddef>
#include <vector>

#include "app/exports.h"
#include "render/surfacedraw.h"
#include "runtime/exceptions.h"

namespace metopt::app {

const char* const SurfaceNeedsMapText =
    "Поверхность строится над областью карты: нажмите «Отобразить график».";

TSurfaceStyle SurfaceStyleOf(const TSettings& settings) {
    return {render::FillModeOf(settings.fill), settings.gradientColors};
}

bool HasSurface(const TSession& session) {
    return render::IsSurfaceRegion(session.Plot.VisibleRegion);
}

std::shared_ptr<const render::TSurfaceMesh> SurfaceMeshFor(
    const TSession& session, std::shared_ptr<const render::TSurfaceMesh> cached) {
    const render::TPlot& plot = session.Plot;
    if (cached && render::MeshIsFor(*cached, plot.CurrentFunc, plot.VisibleRegion))
        return cached;
    return std::make_shared<const render::TSurfaceMesh>(
        render::MakeSurfaceMesh(plot.CurrentFunc, plot.VisibleRegion));
}

namespace {

// The scene without its paths.
void SetSceneOf(render::TSurfaceScene& scene, const TSession& session,
                const render::TSurfaceMesh& mesh, const TSurfaceStyle& style) {
    scene.mesh = &mesh;
    const render::TValueRange range = render::SurfaceRange(session.Plot, mesh);
    scene.zLow = range.lo;
    scene.zHigh = range.hi;
    scene.Palette = &session.Palette;
    scene.fill = style.fill;
    scene.gradientCount = style.gradientCount;
    scene.minimum = render::SurfaceMinimum(session.Plot, mesh);
}

std::vector<render::TSurfacePath> PathsOf(const TSession& session, const core::TPlottedFunc& func) {
    if (session.ShowsComparison)
        return render::ComparisonSurfacePaths(func, session.Comparison);
    return {render::DescentSurfacePath(func, session.Descent, session.Palette)};
}

// FNV-1a over what the paths are made of: the traces' points (their ten value bytes), their
// counts and methods, the trace colours and which paths are shown. Far cheaper than evaluating
// the function at every point again.
class PathsHash {
  public:
    void Add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            hash_ = (hash_ ^ bytes[i]) * 0x100000001b3ULL;
    }
    void Add(const core::TTracePoint& point) {
        Add(&point.X, 10);
        Add(&point.Y, 10);
    }
    void Add(const core::TDescent& descent) {
        const std::uint32_t count = std::min(descent.TraceCount, core::TraceCapacity);
        Add(&count, sizeof count);
        Add(descent.TraceStart);
        for (std::uint32_t k = 1; k <= count; ++k)
            Add(descent.Trace[k]);
    }
    std::uint64_t Value() const { return hash_; }

  private:
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

std::uint64_t PathsKey(const TSession& session) {
    PathsHash hash;
    const bool comparison = session.ShowsComparison;
    hash.Add(&comparison, sizeof comparison);
    if (comparison) {
        for (const core::TComparedRun& run : session.Comparison.runs) {
            hash.Add(&run.method, sizeof run.method);
            hash.Add(run.descent);
        }
    } else {
        hash.Add(&session.Palette[palette::TracePenColor].Color, sizeof(std::int32_t));
        hash.Add(&session.Palette[palette::TraceFillColor].Color, sizeof(std::int32_t));
        hash.Add(session.Descent);
    }
    return hash.Value();
}

}  // namespace

render::TSurfaceScene SurfaceSceneOf(const TSession& session, const render::TSurfaceMesh& mesh,
                                     const TSurfaceStyle& style) {
    render::TSurfaceScene scene;
    SetSceneOf(scene, session, mesh, style);
    scene.paths = PathsOf(session, mesh.func);
    return scene;
}

const render::TSurfaceScene& TSurfaceCache::SceneOf(const TSession& session,
                                                    const TSurfaceStyle& style) {
    if (!HasSurface(session)) {
        scene_ = {};
        return scene_;
    }
    const auto mesh = SurfaceMeshFor(session, mesh_);
    const std::uint64_t key = PathsKey(session);
    if (mesh != mesh_ || !hasPaths_ || key != pathsKey_) {
        scene_.paths = PathsOf(session, mesh->func);
        pathsKey_ = key;
        hasPaths_ = true;
    }
    mesh_ = mesh;
    SetSceneOf(scene_, session, *mesh_, style);
    return scene_;
}

void DrawSurfacePicture(platform::Canvas& canvas, const TSession& session,
                        const render::TSurfaceScene& scene) {
    if (!scene.mesh || scene.mesh->cols < 1) {
        canvas.Fill(render::SurfaceBackground);
        const std::string text = SurfaceNeedsMapText;
        canvas.SetBrushColor(render::SurfaceBackground);
        canvas.SetFontColor(render::SurfaceTextColor);
        canvas.TextOut((canvas.Width() - canvas.TextWidth(text)) / 2,
                       (canvas.Height() - canvas.TextHeight(text)) / 2, text);
        return;
    }
    render::DrawSurface(canvas, scene, session.SurfaceView);
}

void DrawSurfacePicture(platform::Canvas& canvas, const TSession& session,
                        const render::TSurfaceMesh& mesh, const TSurfaceStyle& style) {
    DrawSurfacePicture(
        canvas, session,
        HasSurface(session) ? SurfaceSceneOf(session, mesh, style) : render::TSurfaceScene{});
}

void WriteSurfacePicture(const TSession& session, const TSurfaceStyle& style,
                         const std::string& fileName) {
    if (!HasSurface(session))
        throw runtime::Exception("--surface needs a --map before it");
    const auto mesh = SurfaceMeshFor(session, nullptr);
    platform::Canvas canvas(session.SurfaceWidth, session.SurfaceHeight);
    DrawSurfacePicture(canvas, session, *mesh, style);
    WritePng(canvas.Image(), fileName);
}

}  // namespace metopt::app
