#include "app/surfacepicture.h"

#include <QString>

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

render::TSurfaceScene SurfaceSceneOf(const TSession& session, const render::TSurfaceMesh& mesh,
                                     const TSurfaceStyle& style) {
    render::TSurfaceScene scene;
    scene.mesh = &mesh;
    const render::TValueRange range = render::SurfaceRange(session.Plot, mesh);
    scene.zLow = range.lo;
    scene.zHigh = range.hi;
    scene.Palette = &session.Palette;
    scene.fill = style.fill;
    scene.gradientCount = style.gradientCount;
    if (session.ShowsComparison)
        scene.paths = render::ComparisonSurfacePaths(mesh.func, session.Comparison);
    else
        scene.paths.push_back(
            render::DescentSurfacePath(mesh.func, session.Descent, session.Palette));
    scene.minimum = render::SurfaceMinimum(session.Plot, mesh);
    return scene;
}

void DrawSurfacePicture(platform::Canvas& canvas, const TSession& session,
                        const render::TSurfaceMesh& mesh, const TSurfaceStyle& style) {
    if (!HasSurface(session) || mesh.cols < 1) {
        canvas.Fill(render::SurfaceBackground);
        const std::string text = SurfaceNeedsMapText;
        canvas.SetBrushColor(render::SurfaceBackground);
        canvas.SetFontColor(render::SurfaceTextColor);
        canvas.TextOut((canvas.Width() - canvas.TextWidth(text)) / 2,
                       (canvas.Height() - canvas.TextHeight(text)) / 2, text);
        return;
    }
    render::DrawSurface(canvas, SurfaceSceneOf(session, mesh, style), session.SurfaceView);
}

void WriteSurfacePicture(const TSession& session, const TSurfaceStyle& style,
                         const std::string& fileName) {
    if (!HasSurface(session))
        throw runtime::Exception("--surface needs a --map before it");
    const auto mesh = SurfaceMeshFor(session, nullptr);
    platform::Canvas canvas(session.SurfaceWidth, session.SurfaceHeight);
    DrawSurfacePicture(canvas, session, *mesh, style);
    WriteCanvasPicture(canvas, fileName);
}

void WriteCanvasPicture(const platform::Canvas& canvas, const std::string& fileName) {
    if (!canvas.Image().save(QString::fromStdString(fileName), "PNG"))
        throw runtime::Exception("Cannot write " + fileName);
}

}  // namespace metopt::app
