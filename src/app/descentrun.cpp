#include "app/descentrun.h"

#include "runtime/exceptions.h"

namespace metopt::app {

namespace {

// Takes the watch and the line searches' recorder out of the descent again however the run ends.
class WatchedScope {
  public:
    WatchedScope(core::TDescent& descent, core::TRunWatch& watch, core::TLineRecorder* records)
        : descent_(descent) {
        descent_.Watch = &watch;
        descent_.LineRecords = records;
    }
    ~WatchedScope() {
        descent_.Watch = nullptr;
        descent_.LineRecords = nullptr;
    }
    WatchedScope(const WatchedScope&) = delete;
    WatchedScope& operator=(const WatchedScope&) = delete;

  private:
    core::TDescent& descent_;
};

}  // namespace

void TDescentRun::Run(core::TRunWatch& watch) {
    lineRecords = {};
    lineRecords.pointLimit = LineRecordPoints;
    const bool records = recordsLines && !comparison;
    const WatchedScope watched(descent, watch, records ? &lineRecords : nullptr);
    if (comparison)
        lines = core::RunComparisonAndReport(descent, compared, fields, methods, visible);
    else
        lines = core::RunDescentAndReport(descent, fields, visible);
}

const core::TObjective* ObjectiveOf(const core::DescentFields& fields) {
    core::TDescent chosen;
    chosen.FuncIndex = fields.funcIndex;
    chosen.Typed = fields.typed;
    try {
        return &core::SelectedObjective(chosen);
    } catch (const runtime::Exception&) {
        return nullptr;
    }
}

}  // namespace metopt::app
