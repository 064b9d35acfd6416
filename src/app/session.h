#pragma once
// The program's model: what the window's commands work on and what its exports read. The window
// owns one and hands it, by reference, to the routines that use it; everyone else sees it const.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/gifexport.h"
#include "app/stepping.h"
#include "core/formula/formula.h"
#include "core/methods/comparison.h"
#include "core/minimizer.h"
#include "core/runreport.h"
#include "palette/palette.h"
#include "render/drawcontext.h"
#include "render/plot.h"
#include "render/progress.h"
#include "render/savedpicture.h"
#include "render/surfaceview.h"

namespace metopt::app {

// What the picture shows, drawn in this order, so that another region can show the same: the map,
// the level lines (over it when transparent), the grid, and the last run's trace or comparison.
struct TShownLayers {
    bool map = false;
    bool levelLines = false;
    bool grid = false;
    bool trace = false;
    bool operator==(const TShownLayers&) const = default;
};

struct TSession {
    // The run parameters, the trace of the last run and its function.
    core::TDescent Descent;
    // The formula compiled last from the equation list's text (typed, or a classic item's).
    std::shared_ptr<const core::TFormula> Formula;
    // The constraints compiled last from the field "Ограничения", and the text they came from.
    std::shared_ptr<const core::TConstraints> Constraints;
    std::string ConstraintsText;
    // What the picture is drawn from, and the samples its last scan kept.
    render::TPlot Plot;
    render::TSampleCache Samples;
    // The picture as the last command left it; repaints put it back.
    render::TSavedPicture SavedPicture;
    palette::TPalette Palette{};
    // Set by "Стоп", cleared by the other four commands.
    bool StopRequested = false;
    // Index (1-based) of the next trace point the timer draws, and how many a tick draws.
    std::int32_t AnimStep = 0;
    std::int32_t AnimPointsPerTick = 1;
    // What the last completed descent's trace was drawn over, for its animation.
    TTraceStart TraceStart;
    // The method of the last completed single run, and the fields and region it read (none
    // before the first).
    core::TMethod RunMethod = core::TMethod::SteepestDescent;
    std::optional<core::DescentFields> RunFields;
    core::TRegion RunVisible;
    // The last comparison of methods, and whether the last completed run was it (the animation
    // and the convergence chart show the comparison then, else the single run).
    core::TComparison Comparison;
    bool ShowsComparison = false;
    // The line searches of the last completed single run (none after a comparison).
    core::TLineRecorder LineRecords;
    // The run "По шагам" steps through.
    TStepping Stepping;
    // Set by the commands that completed their picture.
    TShownLayers Shown;
    // The view of the page "Поверхность", and the size batch mode writes its picture at.
    render::TSurfaceView SurfaceView;
    int SurfaceWidth = 800;
    int SurfaceHeight = 600;

    // The plot, its samples and the palette, reporting to `progress`, for a drawing pass.
    render::DrawContext Drawing(render::Progress& progress) const {
        return {Plot, Samples, Palette, progress};
    }
};

}  // namespace metopt::app
