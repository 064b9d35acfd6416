#include "app/commands.h"

#include <algorithm>

#include "app/gifexport.h"
#include "core/builtinfunctions.h"
#include "core/equationitems.h"
#include "core/formula/constraintformula.h"
#include "core/formula/formula.h"
#include "render/comparisontrace.h"
#include "render/grid.h"
#include "render/savedpicture.h"
#include "render/trace.h"

namespace metopt::app {

namespace {

void SetPlottedFunc(TSession& session, const core::TPlottedFunc& func) {
    if (session.Plot.CurrentFunc == func)
        return;
    session.Plot.CurrentFunc = func;
    session.Plot.ZRangeValid = false;
}

}  // namespace

// --- The equation and the fields ---

void CompileEquation(TSession& session, const TSettings& settings) {
    const int item = EquationItem(settings);
    if (core::IsBuiltinItem(item)) {
        SetPlottedFunc(session, core::PlottedFunc(item));
        return;
    }
    const std::string text = core::EquationFormula(settings.equationText);
    // Deliberate: see docs/behaviour.md, "Run refusals".
    if (core::TrimmedFormula(text).empty())
        return;
    // Compiled as it stands, so that an error names the position as typed.
    if (!session.Formula || session.Formula->Text() != text)
        session.Formula = core::CompileFormula(text);
    SetPlottedFunc(session, core::PlottedFunc(session.Formula));
}

void CompileConstraints(TSession& session, const TSettings& settings) {
    if (session.Constraints && session.ConstraintsText == settings.constraints)
        return;
    session.Constraints = std::make_shared<const core::TConstraints>(
        core::CompileConstraintLines(settings.constraints));
    session.ConstraintsText = settings.constraints;
}

void CompileProblem(TSession& session, const TSettings& settings) {
    CompileEquation(session, settings);
    CompileConstraints(session, settings);
}

void EquationChanged(TSession& session, const TSettings& settings) {
    session.Plot.ZRangeValid = false;
    const int index = settings.equationItem;
    if (core::IsBuiltinItem(index)) {
        session.Plot.CurrentFunc = core::PlottedFunc(index);
    } else if (index >= 0) {
        // A classic item is chosen: as if its text were typed and the field left.
        CompileEquation(session, settings);
    }
}

void RegionChanged(TSession& session) {
    session.Plot.ZRangeValid = false;
}

// Deliberate: see docs/behaviour.md, "Resize".
void DrawingAreaResized(TSession& session, int width, int height) {
    session.Plot.ZRangeValid = false;
    session.Plot.MapCols = width - 2;
    session.Plot.MapRows = height - 2;
}

// --- Drawing ---
// Deliberate: see docs/behaviour.md, "No rollback".

void BeginDrawing(TSession& session) {
    session.StopRequested = false;
    session.Stepping.fields.reset();
}

void BeginStepDrawing(TSession& session) {
    session.StopRequested = false;
}

void DrawGrid(TSession& session, const TSettings& settings, platform::Canvas& area) {
    render::DrawGrid(area, session.Plot, session.Palette, GraphFields(settings), Layers(settings));
    render::SaveBackingImage(session.SavedPicture, area);
    session.Shown.grid = true;
}

// --- Runs ---

core::DescentFields DescentFieldsOf(const TSettings& settings, const TSession& session) {
    core::DescentFields fields;
    fields.x0 = settings.x0;
    fields.y0 = settings.y0;
    fields.eps = settings.eps;
    fields.step = settings.step;
    fields.radius = settings.radius;
    fields.funcIndex = EquationItem(settings);
    fields.method = core::MethodOfItem(settings.method);
    fields.stopRule = settings.stopRule;
    fields.lineSearch = settings.lineSearch;
    fields.stepLimit = settings.stepLimit;
    // The commands compile the constraints before they read the fields.
    if (session.Constraints && session.ConstraintsText == settings.constraints)
        fields.constraints = session.Constraints;
    fields.constraintMethod = static_cast<core::TConstraintMethod>(
        std::clamp(settings.constraintMethod, 0, core::ConstraintMethodCount - 1));
    fields.penaltyStart = settings.penaltyStart;
    fields.penaltyGrowth = settings.penaltyGrowth;
    fields.outerEps = settings.outerEps;
    fields.learningRate = settings.learningRate;
    fields.momentum = settings.momentum;
    fields.decay = settings.decay;
    fields.beta1 = settings.beta1;
    fields.beta2 = settings.beta2;
    fields.biasCorrection = settings.biasCorrection;
    fields.noise = settings.noise;
    fields.seed = settings.seed;
    if (!core::IsBuiltinItem(fields.funcIndex)) {
        const std::string text = core::EquationFormula(settings.equationText);
        fields.formula = core::TrimmedFormula(text);
        // The commands compile the text before they read the fields.
        if (session.Formula && session.Formula->Text() == text && !fields.formula.empty())
            fields.typed = session.Formula;
    }
    return fields;
}

std::shared_ptr<TDescentRun> PrepareRun(TSession& session, const TSettings& settings,
                                        platform::Canvas& area, render::Progress& progress,
                                        bool comparison) {
    render::DrawMinMarker(area, session.Drawing(progress));
    auto run = std::make_shared<TDescentRun>();
    run->descent = session.Descent;
    run->fields = DescentFieldsOf(settings, session);
    run->visible = session.Plot.VisibleRegion;
    run->comparison = comparison;
    run->recordsLines = !comparison;
    if (comparison)
        for (const int item : settings.compared) {
            // The menu has an item for every method, and no other.
            if (const std::optional<core::TMethod> method = core::MethodOfItem(item))
                run->methods.push_back(*method);
        }
    return run;
}

bool EndRun(TSession& session, const TSettings& settings, platform::Canvas& area, TDescentRun& run,
            const TRunEnd& end) {
    if (end.stopped) {
        render::RestoreBackingImage(session.SavedPicture, area, session.Plot.GraphParams,
                                    GraphFields(settings));
        return false;
    }
    session.Descent = std::move(run.descent);
    if (end.error)
        std::rethrow_exception(end.error);
    session.ShowsComparison = run.comparison;
    session.LineRecords = std::move(run.lineRecords);
    session.RunFields = run.fields;
    session.RunVisible = run.visible;
    if (run.comparison)
        session.Comparison = std::move(run.compared);
    else
        session.RunMethod = *run.fields.method;
    render::SaveBackingImage(session.SavedPicture, area);
    KeepTraceStart(session.TraceStart, area, session.Descent, session.Plot, session.Palette,
                   run.comparison ? &session.Comparison : nullptr);
    session.TraceStart.StartMarker = settings.startMarker;
    session.TraceStart.StepVectors = settings.stepVectors;
    session.Shown.trace = true;
    return true;
}

namespace {

// Every trace point at once, the picture saved.
void DrawWholeTrace(TSession& session, platform::Canvas& area, render::Progress& progress) {
    for (std::uint32_t i = 1; i <= TracePoints(session); ++i)
        DrawTraceStep(session, area, progress, static_cast<std::int32_t>(i));
    render::SaveBackingImage(session.SavedPicture, area);
}

}  // namespace

void RedrawTrace(TSession& session, platform::Canvas& area, render::Progress& progress) {
    render::DrawMinMarker(area, session.Drawing(progress));
    render::SaveBackingImage(session.SavedPicture, area);
    // The start marker's choice stays the run's.
    KeepTraceStart(session.TraceStart, area, session.Descent, session.Plot, session.Palette,
                   session.ShowsComparison ? &session.Comparison : nullptr);
    DrawWholeTrace(session, area, progress);
    session.Shown.trace = true;
}

// --- The animation ---

std::uint32_t TracePoints(const TSession& session) {
    return session.ShowsComparison ? render::LongestTrace(session.Comparison)
                                   : session.Descent.TraceCount;
}

void DrawTraceStep(TSession& session, platform::Canvas& area, render::Progress& progress,
                   std::int32_t n) {
    DrawMarkedTracePoint(area, session.Drawing(progress), session.Descent,
                         session.ShowsComparison ? &session.Comparison : nullptr, n,
                         session.TraceStart.StartMarker, session.TraceStart.StepVectors);
}

bool StartTraceAnimation(TSession& session, const TSettings& settings, platform::Canvas& area,
                         render::Progress& progress) {
    if (settings.frameTime <= 0) {
        DrawWholeTrace(session, area, progress);
        return false;
    }
    session.AnimStep = 1;
    session.AnimPointsPerTick =
        PointsPerTick(TracePoints(session), session.ShowsComparison, settings.frameTime);
    return true;
}

bool AnimationTick(TSession& session, platform::Canvas& area, render::Progress& progress) {
    const std::int64_t points = TracePoints(session);
    if (std::int64_t{session.AnimStep} > points)
        return false;
    const std::int64_t last =
        std::min(points, std::int64_t{session.AnimStep} + session.AnimPointsPerTick - 1);
    for (; session.AnimStep <= last; ++session.AnimStep)
        DrawTraceStep(session, area, progress, session.AnimStep);
    render::SaveBackingImage(session.SavedPicture, area);
    return !session.StopRequested;
}

}  // namespace metopt::app
