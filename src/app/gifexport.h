#pragma once
// The animation of the last descent: the picture its trace was drawn over, then one frame per
// trace point, each the picture the window holds after that point's timer tick. Replayed
// off-screen from what the run kept, so writing it changes nothing in the window.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/methods/comparison.h"
#include "core/minimizer.h"
#include "palette/palette.h"
#include "platform/canvas.h"
#include "render/drawcontext.h"
#include "render/plot.h"

namespace metopt::app {

// What a completed run leaves for its animation: the picture as saved right before the trace,
// and the descent, plot and palette the trace is drawn with. The window owns one.
struct TTraceStart {
    std::unique_ptr<platform::Canvas> Picture;  // none until a descent has run
    core::TDescent Descent;
    render::TPlot Plot;
    palette::TPalette Palette{};
    // Set when the run was a comparison: its paths are drawn instead of the descent's trace.
    std::optional<core::TComparison> Comparison;
    // Whether the trace begins with the start's ring, and whether the points of the methods of
    // machine learning show the vectors of their steps.
    bool StartMarker = false;
    bool StepVectors = false;
};

// Trace point n of the descent, or of every run of `comparison` when there is one, with the
// start's ring and the step vectors when they are chosen.
void DrawMarkedTracePoint(platform::Canvas& canvas, const render::DrawContext& context,
                          const core::TDescent& descent, const core::TComparison* comparison,
                          std::int32_t n, bool startMarker, bool stepVectors);

// Keeps the picture and the state the trace of the run just completed starts from; with a
// comparison, the paths of its runs.
void KeepTraceStart(TTraceStart& start, const platform::Canvas& picture,
                    const core::TDescent& descent, const render::TPlot& plot,
                    const palette::TPalette& Palette,
                    const core::TComparison* comparison = nullptr);

// A comparison's animation lasts about this long at most: a long one draws several points a tick.
constexpr std::int64_t ComparisonAnimationMs = 20000;
// The trace points a tick (and a frame) of the animation draws: one for a single run's trace, and
// for a comparison's `points` as many as keep it within ComparisonAnimationMs at the frame time.
std::int32_t PointsPerTick(std::uint32_t points, bool comparison, std::int32_t frameTimeMs);

// A frame's delay in GIF's hundredths of a second for a frame time in milliseconds: at least
// 2 (viewers slow shorter delays down); a frame time of 0 or less gives 10.
int FrameDelay(std::int32_t frameTimeMs);
// The last frame holds this long.
constexpr int LastFrameDelay = 200;

// Writes the animation to fileName. Raises the error drawing the trace raises (no value scan
// yet ...), or "Cannot write FILE: why" when the file cannot be written; nothing is left behind
// then. Returns true when a frame had more than 256 colours and was mapped to 256.
bool WriteTraceAnimation(const TTraceStart& start, std::int32_t frameTimeMs,
                         const std::string& fileName);

}  // namespace metopt::app
