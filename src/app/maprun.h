#pragma once
// A map or its level lines drawn apart from the model, so that a long one can compute on the
// worker thread: the value range scanned when it is stale, then the pass, over copies of the plot,
// its samples, the palette and the drawing area's picture; its end hands them back. A stopped one
// leaves the model and the picture as they were.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "app/runworker.h"
#include "app/session.h"
#include "app/settings.h"
#include "platform/canvas.h"
#include "render/progress.h"

namespace metopt::app {

enum class MapPass { Fill, LevelLines };

// The status line's text after a stopped map.
constexpr const char* MapStoppedText = "Прорисовка остановлена";

// The status line's text after a map whose scan found `count` samples where the function is not
// defined (see render::ScanValueRange), or "" when it found none: the map's last status then
// stays the pass's own.
std::string UndefinedPointsText(std::int64_t count);

// The status texts of a map drawn on the worker thread, kept for the window to show; Stop ends it
// at the next row of any of its passes (the scan too) by raising EAbort.
class TMapProgress final : public render::Progress {
  public:
    explicit TMapProgress(const TRunWorker& worker) : worker_(worker) {}
    void ShowStatus(const std::string& text) override;
    // The whole drawing stops by the raise, never one pass of it by this.
    bool StopRequested() const override { return false; }
    // The last text shown, empty before the first.
    std::string Text() const;

  private:
    const TRunWorker& worker_;
    mutable std::mutex mutex_;
    std::string text_;
};

struct TMapRun {
    MapPass pass = MapPass::Fill;
    TSettings settings;
    render::TPlot plot;
    render::TSampleCache samples;
    palette::TPalette palette{};
    // The constraints drawn over the pass (none: nullptr or empty).
    std::shared_ptr<const core::TConstraints> constraints;
    platform::Canvas area{0, 0};
    // Whether the value range was valid when the pass began (scanned by the run or before it).
    bool scanned = false;

    // Scans the range when it is stale, then draws the pass, reporting to progress, and ends
    // with UndefinedPointsText when it is not empty; raises what the scan and the pass raise.
    void Run(render::Progress& progress);
};

// The run of a map command after BeginDrawing, over copies of the model's plot and palette and of
// the drawing area's picture; it takes the model's samples until its end.
std::shared_ptr<TMapRun> PrepareMapRun(TSession& session, const TSettings& settings,
                                       const platform::Canvas& area, MapPass pass);

// The end of a map run. Stopped: nothing changes but the samples given back (false). Otherwise the
// model takes the plot and the samples, made stale again when a field of the region changed or the
// area was resized meanwhile (`settings` are the fields now), and the area the picture; a failure
// is raised, and a completed picture is saved (true).
// Deliberate: see docs/behaviour.md, "No rollback".
bool EndMapRun(TSession& session, const TSettings& settings, platform::Canvas& area, TMapRun& run,
               const TRunEnd& end);

}  // namespace metopt::app
