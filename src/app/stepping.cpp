#include "app/stepping.h"

#include <algorithm>

#include "app/commands.h"
#include "app/session.h"
#include "render/trace.h"
#include "runtime/exceptions.h"
#include "runtime/numformat.h"

namespace metopt::app {

namespace {

// Every field of a run but its limit of iterations, which the stepping sets.
bool SameRun(core::DescentFields a, const core::DescentFields& b) {
    a.stepLimit = b.stepLimit;
    return a == b;
}

// The method stepped through: the chosen one, or the first checked one of the comparison when the
// last run was a comparison.
core::DescentFields StepFields(const TSession& session, const TSettings& settings) {
    core::DescentFields fields = DescentFieldsOf(settings, session);
    const bool fromComparison =
        session.Stepping.fields ? session.Stepping.fromComparison : session.ShowsComparison;
    if (fromComparison && !settings.compared.empty())
        fields.method = core::MethodOfItem(settings.compared.front());
    return fields;
}

std::unique_ptr<platform::Canvas> CopyOf(const render::TSavedPicture& saved) {
    return saved.BackingImage ? std::make_unique<platform::Canvas>(*saved.BackingImage) : nullptr;
}

}  // namespace

std::shared_ptr<TDescentRun> PrepareStep(TSession& session, const TSettings& settings,
                                         platform::Canvas& area, render::Progress& progress) {
    core::DescentFields fields = StepFields(session, settings);
    TStepping& stepping = session.Stepping;
    if (!stepping.fields || !SameRun(*stepping.fields, fields)) {
        stepping.fromComparison =
            stepping.fields ? stepping.fromComparison : session.ShowsComparison;
        stepping.fields = fields;
        stepping.steps = 0;
        stepping.base.BackingImage = CopyOf(session.SavedPicture);
        stepping.base.BackingRect = session.SavedPicture.BackingRect;
    }
    stepping.steps = std::min(stepping.steps + 1, core::TraceCapacity);
    fields.stepLimit = stepping.steps;
    render::RestoreBackingImage(stepping.base, area, session.Plot.GraphParams,
                                GraphFields(settings));
    render::DrawMinMarker(area, session.Drawing(progress));
    auto run = std::make_shared<TDescentRun>();
    run->descent = session.Descent;
    run->fields = fields;
    run->visible = session.Plot.VisibleRegion;
    run->recordsLines = true;
    return run;
}

StepEnd EndStep(TSession& session, const TSettings& settings, platform::Canvas& area,
                render::Progress& progress, TDescentRun& run, const TRunEnd& end) {
    TStepping& stepping = session.Stepping;
    if (end.stopped) {
        // The next press tries the same iteration again.
        stepping.steps -= 1;
        EndRun(session, settings, area, run, end);
        return StepEnd::Stopped;
    }
    try {
        EndRun(session, settings, area, run, end);
    } catch (...) {
        stepping.fields.reset();
        throw;
    }
    if (!session.Descent.StoppedAtStepLimit) {
        stepping.fields.reset();
        // As the same run without a limit: it ended before it.
        session.RunFields->stepLimit = 0;
        return StepEnd::Finished;
    }
    RedrawTrace(session, area, progress);
    return StepEnd::Stepped;
}

std::string StepStatusText(const TSession& session) {
    const core::TDescent& descent = session.Descent;
    const std::uint32_t k = std::min(descent.TraceCount, core::TraceCapacity);
    if (k == 0)
        return {};
    const core::TTracePoint& point = descent.Trace[k];
    const core::TTracePoint& before = k >= 2 ? descent.Trace[k - 1] : descent.TraceStart;
    std::string text = "Итерация " + runtime::FormatInteger(k) +
                       ": x = " + runtime::FormatGeneral(point.X) +
                       ", y = " + runtime::FormatGeneral(point.Y);
    // A value that cannot be computed is left out.
    const auto add = [&text](const char* name, const auto& value) {
        try {
            text += std::string(", ") + name + " = " + runtime::FormatGeneral(value());
        } catch (const runtime::Exception&) {
        }
    };
    if (const core::TObjective* f = core::TraceObjective(descent))
        add("z", [&] { return f->Value(point.X, point.Y); });
    add("шаг", [&] { return core::Distance(before.X, before.Y, point.X, point.Y); });
    return text;
}

const core::TLineSearchRecord* LastLineSearch(const TSession& session) {
    const std::vector<core::TLineSearchRecord>& records = session.LineRecords.records;
    if (records.empty() || records.back().iteration != session.Descent.TraceCount)
        return nullptr;
    return &records.back();
}

}  // namespace metopt::app
