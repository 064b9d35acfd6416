// The map under the mouse: the wheel zooms about the pointer, a drag with the middle button (or
// the left one and Ctrl) moves the region, "Работа" → "Подобрать область" fits it to the last
// paths and "Вернуть область" steps back. Each sets the region's fields as if typed and draws
// again what the picture showed, a long map on the worker thread as its button would.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <cmath>
#include <vector>

#include "app/commands.h"
#include "app/regionview.h"
#include "platform/paintbox.h"
#include "platform/textfield.h"
#include "render/savedpicture.h"
#include "ui/designcontrols.h"
#include "ui/drawingcommand.h"
#include "ui/mainform.h"

namespace metopt::ui {

void TfmMnForm::CreateViewMenu() {
    mmdWkFitR = Named(mmuWork->addAction(QStringLiteral("Подобрать область")), "mmdWkFitR");
    mmdWkBckR = Named(mmuWork->addAction(QStringLiteral("Вернуть область")), "mmdWkBckR");
    mmdWkBckR->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Backspace));
    CreateStepCommand();
}

void TfmMnForm::pbDrawArWheel(int x, int y, int notches) {
    if (Running())
        return;
    const double factor = std::pow(app::WheelZoomFactor, notches);
    ChangeView(app::ZoomedRegion(Settings(), session_.Plot, x, y, pbDrawAr->width(),
                                 pbDrawAr->height(), factor),
               true);
}

void TfmMnForm::pbDrawArDrag(int dx, int dy) {
    // The picture follows the pointer until the button is released.
    if (Running() || !session_.SavedPicture.BackingImage)
        return;
    platform::Canvas& area = pbDrawAr->Surface();
    area.Fill(session_.Palette[palette::BackgroundColor].Color);
    QPainter painter(&area.Image());
    painter.drawImage(dx, dy, session_.SavedPicture.BackingImage->Image());
}

void TfmMnForm::pbDrawArDragEnd(int dx, int dy) {
    if (Running())
        return;
    if (dx == 0 && dy == 0) {
        pbDrawArPaint();
        return;
    }
    ChangeView(
        app::MovedRegion(Settings(), session_.Plot, dx, dy, pbDrawAr->width(), pbDrawAr->height()),
        true);
}

void TfmMnForm::mmdWkFitRClick() {
    std::vector<const core::TDescent*> paths;
    if (session_.ShowsComparison) {
        for (const core::TComparedRun& run : session_.Comparison.runs)
            paths.push_back(&run.descent);
    } else {
        paths.push_back(&session_.Descent);
    }
    ChangeView(app::FittedRegion(Settings(), paths, pbDrawAr->width(), pbDrawAr->height()), true);
}

void TfmMnForm::mmdWkBckRClick() {
    ChangeView(regionHistory_.Pop(), false);
}

void TfmMnForm::ChangeView(const std::optional<app::TRegionFields>& view, bool remember) {
    if (!view || Running()) {
        pbDrawArPaint();
        return;
    }
    const app::TSettings before = Settings();
    if (remember)
        regionHistory_.Push(app::RegionFieldsOf(before));
    app::TSettings after = before;
    app::SetRegionFields(after, *view);
    for (std::string app::TSettings::*member : app::RegionFields)
        ControlOf(app::TextSetting{member})->SetText(after.*member);
    RedrawPicture();
}

void TfmMnForm::RedrawPicture() {
    // The animation under way ends: its trace is drawn whole.
    SetTimerEnabled(false);
    const app::TShownLayers shown = session_.Shown;
    redrawSteps_.clear();
    if (shown.map)
        redrawSteps_.push_back([this] { DrawMap(app::MapPass::Fill); });
    if (shown.levelLines)
        redrawSteps_.push_back([this] { DrawMap(app::MapPass::LevelLines); });
    if (shown.grid)
        redrawSteps_.push_back([this] { bbDrGridClick(); });
    if (shown.trace)
        redrawSteps_.push_back([this] {
            const DrawingCommand command(*this);
            app::RedrawTrace(session_, pbDrawAr->Surface(), progress_);
        });
    ContinueRedraw();
}

void TfmMnForm::ContinueRedraw() {
    // A map that goes on on the worker thread continues the redraw at its end.
    continuingRedraw_ = true;
    while (!redrawSteps_.empty() && !Running()) {
        const std::function<void()> step = std::move(redrawSteps_.front());
        redrawSteps_.erase(redrawSteps_.begin());
        try {
            step();
        } catch (...) {
            redrawSteps_.clear();
            continuingRedraw_ = false;
            throw;
        }
    }
    continuingRedraw_ = false;
}

}  // namespace metopt::ui
