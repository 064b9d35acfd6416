#include "app/maprun.h"

#include <exception>

#include "app/commands.h"
#include "render/constraintmap.h"
#include "render/fill.h"
#include "render/levellines.h"
#include "render/savedpicture.h"
#include "render/valuescan.h"
#include "runtime/exceptions.h"
#include "runtime/numformat.h"

namespace metopt::app {

void TMapProgress::ShowStatus(const std::string& text) {
    if (worker_.StopAsked())
        throw runtime::EAbort();
    const std::lock_guard<std::mutex> lock(mutex_);
    text_ = text;
}

std::string TMapProgress::Text() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return text_;
}

std::string UndefinedPointsText(std::int64_t count) {
    if (count <= 0)
        return "";
    return "Функция не определена в " + runtime::FormatInteger(count) + " точках области";
}

void TMapRun::Run(render::Progress& progress) {
    if (!plot.ZRangeValid)
        render::ScanValueRange(plot, samples, progress, GraphFields(settings));
    scanned = true;
    const render::DrawContext context{plot, samples, palette, progress};
    if (pass == MapPass::Fill) {
        render::FillSurface(area, context, render::FillModeOf(settings.fill),
                            settings.gradientColors);
    } else {
        render::DrawLevelLines(area, context, render::LevelLineMethodOf(settings.level),
                               LevelLines(settings));
    }
    // Over the map and the level lines; the map's pass shades the part outside, once.
    if (constraints) {
        const render::TInfeasibleShade shade =
            pass != MapPass::Fill      ? render::TInfeasibleShade::None
            : settings.hatchInfeasible ? render::TInfeasibleShade::Hatched
                                       : render::TInfeasibleShade::Dimmed;
        render::DrawConstraints(area, plot, *constraints, shade);
    }
    const std::string undefined = UndefinedPointsText(plot.UndefinedCount);
    if (!undefined.empty())
        progress.ShowStatus(undefined);
}

std::shared_ptr<TMapRun> PrepareMapRun(TSession& session, const TSettings& settings,
                                       const platform::Canvas& area, MapPass pass) {
    auto run = std::make_shared<TMapRun>();
    run->pass = pass;
    run->settings = settings;
    run->plot = session.Plot;
    // Moved: nothing else reads them until the run ends and gives them back.
    run->samples = std::move(session.Samples);
    run->palette = session.Palette;
    run->constraints = session.Constraints;
    run->area = area;
    // A deep copy, so that the worker's writes never detach an image the window shares.
    run->area.Image() = area.Image().copy();
    return run;
}

bool EndMapRun(TSession& session, const TSettings& settings, platform::Canvas& area, TMapRun& run,
               const TRunEnd& end) {
    if (end.stopped) {
        // They serve only the plot they were made for (KeptSamples).
        session.Samples = std::move(run.samples);
        return false;
    }
    session.Plot = std::move(run.plot);
    session.Samples = std::move(run.samples);
    if (!SameRegion(settings, run.settings))
        RegionChanged(session);
    const bool resized = area.Width() != run.area.Width() || area.Height() != run.area.Height();
    if (resized)
        DrawingAreaResized(session, area.Width(), area.Height());
    else
        area = run.area;
    if (end.error)
        std::rethrow_exception(end.error);
    render::SaveBackingImage(session.SavedPicture, run.area);
    if (run.pass == MapPass::Fill)
        session.Shown = TShownLayers{.map = true};
    else if (run.settings.transparent)
        session.Shown.levelLines = true;
    else
        session.Shown = TShownLayers{.levelLines = true};
    // A resized area starts anew in the background and gets the saved picture back.
    if (resized)
        render::RestoreBackingImage(session.SavedPicture, area, session.Plot.GraphParams,
                                    GraphFields(settings));
    return true;
}

}  // namespace metopt::app
