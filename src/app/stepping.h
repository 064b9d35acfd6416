#pragma once
// "По шагам": a run stepped through one iteration a press. Press k runs the method from the
// start again, as far as iteration k (a run is the same each time, so its first k points are
// those of the whole run), over the picture as it stood before the first press; its trace is
// drawn and the model takes it, but the report waits for the run's end. The stepping ends when a
// field of the run changes (the next press starts again at iteration 1), when another command
// draws, and when the run ends before the press's limit.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/descentrun.h"
#include "app/runworker.h"
#include "app/settings.h"
#include "core/runreport.h"
#include "platform/canvas.h"
#include "render/progress.h"
#include "render/savedpicture.h"

namespace metopt::app {

struct TSession;

struct TStepping {
    // The fields of the run stepped through (none when no stepping goes on), the iterations
    // stepped, and the picture the steps are drawn over.
    std::optional<core::DescentFields> fields;
    std::uint32_t steps = 0;
    render::TSavedPicture base;
    // Whether the method is the comparison's first checked one (the last run before the first
    // press was a comparison).
    bool fromComparison = false;
};

// How a step's run ended.
enum class StepEnd { Stopped, Stepped, Finished };

// The run of the next press, after CompileEquation: the chosen method (the comparison's first
// checked one when the last run was a comparison), one iteration further than the last press's
// when the fields are those of the stepping, else from iteration 1. Draws the picture of before
// the first press and the minimum marker. Raises what the fields raise, stepping ended.
std::shared_ptr<TDescentRun> PrepareStep(TSession& session, const TSettings& settings,
                                         platform::Canvas& area, render::Progress& progress);
// The end of a step's run. Stopped: the picture of before it, nothing else changed, the stepping
// kept. Stepped: the model takes the partial run, its trace drawn whole and the picture saved.
// Finished: the run ended on its own before the limit, taken as a completed run (EndRun), the
// stepping ended. A failure ends the stepping and is raised.
StepEnd EndStep(TSession& session, const TSettings& settings, platform::Canvas& area,
                render::Progress& progress, TDescentRun& run, const TRunEnd& end);

// The status line after a step: "Итерация k: x = …, y = …, z = …, шаг = …" (the step's length
// from the point before it).
std::string StepStatusText(const TSession& session);

// The last line search of the last iteration of the model's run, when it has one.
const core::TLineSearchRecord* LastLineSearch(const TSession& session);

}  // namespace metopt::app
