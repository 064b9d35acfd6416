// The page "Поверхность": the function over the map's region as a surface with the paths on it,
// turned by a drag, zoomed by the wheel, back to its first view by a double-click.
#include <QVBoxLayout>

#include "app/surfacepicture.h"
#include "platform/pagecontrol.h"
#include "platform/surfacebox.h"
#include "ui/designcontrols.h"
#include "ui/mainform.h"

namespace metopt::ui {

void TfmMnForm::CreateSurfacePage() {
    tsSurf = Named(pcMnPage->AddPage(QStringLiteral("Поверхность")), "tsSurf");
    auto* layout = new QVBoxLayout(tsSurf);
    layout->setContentsMargins(0, 0, 0, 0);
    sbSurf = Named(new platform::SurfaceBox(tsSurf), "sbSurf");
    sbSurf->setToolTip(
        QStringLiteral("Перетаскивание левой кнопкой поворачивает поверхность, колесо приближает, "
                       "двойной щелчок возвращает исходный вид."));
    layout->addWidget(sbSurf);
    sbSurf->OnPaint = [this](platform::Canvas& canvas) { DrawSurfacePage(canvas); };
    sbSurf->OnTurn = [this](int dx, int dy) {
        ShowSurfaceView(render::RotatedView(session_.SurfaceView, dx, dy));
    };
    sbSurf->OnZoom = [this](int notches) {
        ShowSurfaceView(render::ZoomedView(session_.SurfaceView, notches));
    };
    sbSurf->OnReset = [this] { ShowSurfaceView({}); };
}

void TfmMnForm::UpdateSurfacePage() {
    sbSurf->update();
}

void TfmMnForm::DrawSurfacePage(platform::Canvas& canvas) {
    app::DrawSurfacePicture(canvas, session_,
                            surface_.SceneOf(session_, app::SurfaceStyleOf(Settings())));
}

void TfmMnForm::ShowSurfaceView(const render::TSurfaceView& view) {
    if (view == session_.SurfaceView)
        return;
    session_.SurfaceView = view;
    UpdateSurfacePage();
}

void TfmMnForm::TurnSurface(double azimuth, double elevation) {
    ShowSurfaceView(render::ViewAt(session_.SurfaceView, azimuth, elevation));
}

void TfmMnForm::SizeSurfacePicture(int width, int height) {
    session_.SurfaceWidth = width;
    session_.SurfaceHeight = height;
}

}  // namespace metopt::ui
