#pragma once
// The commands of the window's buttons and menus over the model and the settings, step by step as
// the window runs them, so that the window and batch mode do the same work in the same order (and
// raise the same errors): the equation list's function, what every drawing command does first, the
// grid, a run's start and end, and the animation of its trace (the map commands run as a map
// run, maprun.h).
#include <cstdint>
#include <memory>

#include "app/descentrun.h"
#include "app/runworker.h"
#include "app/session.h"
#include "app/settings.h"
#include "platform/canvas.h"
#include "render/progress.h"

namespace metopt::app {

// The function the equation list stands for becomes the plotted one (the range made stale when it
// changes): a built-in item's, or the formula of the text, compiled when it changed. A formula
// that does not compile raises its error; an empty text changes nothing.
void CompileEquation(TSession& session, const TSettings& settings);
// The constraints of the field "Ограничения", compiled when its text changed; a constraint that
// does not compile raises its error.
void CompileConstraints(TSession& session, const TSettings& settings);
// Both, before a command that draws or runs: the equation first.
void CompileProblem(TSession& session, const TSettings& settings);
// The equation list changed (an item chosen or a text typed): the range is stale; a built-in
// item's function is plotted at once, a classic item's text compiled.
// Deliberate: see docs/behaviour.md, "Needless rescans".
void EquationChanged(TSession& session, const TSettings& settings);
// A field of " Графическая область " changed: the range is stale.
void RegionChanged(TSession& session);
// The drawing area has a new size: the range is stale and the sampled area follows it.
void DrawingAreaResized(TSession& session, int width, int height);

// What the drawing commands do first, after the equation: Stop is cleared. (The map commands
// scan the value range, when it is stale, as the first step of their map run.)
// Ends a stepping through a run ("По шагам"), whose steps draw over the picture of before it.
void BeginDrawing(TSession& session);
// What a step of "По шагам" does first: Stop is cleared.
void BeginStepDrawing(TSession& session);

// The pass of " Натянуть сетку ", saving the picture at its end.
void DrawGrid(TSession& session, const TSettings& settings, platform::Canvas& area);

// The parameters of a run as the settings hold them, with the formula the model compiled last.
core::DescentFields DescentFieldsOf(const TSettings& settings, const TSession& session);
// The start of "Начать итерации" (or, with `comparison`, of "Сравнить методы") after
// BeginDrawing: the minimum marker is drawn and the run is made, to compute on the worker.
// Deliberate: see docs/behaviour.md, "Stale marker".
std::shared_ptr<TDescentRun> PrepareRun(TSession& session, const TSettings& settings,
                                        platform::Canvas& area, render::Progress& progress,
                                        bool comparison);
// The end of a run the worker has finished. Stopped: the picture goes back to the one saved before
// it and nothing else changes (false). Otherwise the model takes the run's descent, failed or not;
// a failure is raised; a completed run's outcome is kept, its picture saved and kept as the start
// of its animation (true).
// Deliberate: see docs/behaviour.md, "Report kept".
bool EndRun(TSession& session, const TSettings& settings, platform::Canvas& area, TDescentRun& run,
            const TRunEnd& end);

// The last run's trace (or comparison) drawn again whole over the picture as it stands, after the
// minimum marker of its scan, as the start of its animation too; the picture saved.
void RedrawTrace(TSession& session, platform::Canvas& area, render::Progress& progress);

// The trace points the animation draws (the longest path of a comparison), and point n of them.
std::uint32_t TracePoints(const TSession& session);
void DrawTraceStep(TSession& session, platform::Canvas& area, render::Progress& progress,
                   std::int32_t n);
// Frame time 0 or less: the whole trace at once, the picture saved; true when the timer is to
// draw it instead, one point a tick from point 1.
// Deliberate: see docs/behaviour.md, "Spin edit values".
bool StartTraceAnimation(TSession& session, const TSettings& settings, platform::Canvas& area,
                         render::Progress& progress);
// One tick of the animation, its points (PointsPerTick of them): false when the animation has
// ended (before drawing, past the last point, or after drawing, when Stop was pressed).
// Deliberate: see docs/behaviour.md, "Stop".
bool AnimationTick(TSession& session, platform::Canvas& area, render::Progress& progress);

}  // namespace metopt::app
