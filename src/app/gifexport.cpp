#include "app/gifexport.h"

#include <algorithm>

#include "platform/gifwriter.h"
#include "render/comparisontrace.h"
#include "render/drawcontext.h"
#include "render/progress.h"
#include "render/stepvectors.h"
#include "render/trace.h"
#include "runtime/exceptions.h"

namespace metopt::app {

namespace {

// Adds a frame, raising the writer's failure as the program's own error.
void AddFrame(platform::GifWriter& writer, const platform::Canvas& frame, int delay,
              const std::string& fileName) {
    if (!writer.AddFrame(frame.Image(), delay))
        throw runtime::Exception("Cannot write " + fileName + ": " + writer.Error());
}

}  // namespace

void DrawMarkedTracePoint(platform::Canvas& canvas, const render::DrawContext& context,
                          const core::TDescent& descent, const core::TComparison* comparison,
                          std::int32_t n, bool startMarker, bool stepVectors) {
    if (comparison)
        render::DrawComparisonPoint(canvas, context, *comparison, n, startMarker);
    else
        render::DrawTracePoint(canvas, context, descent, n, startMarker);
    if (!stepVectors || n < 1)
        return;
    const auto point = static_cast<std::uint32_t>(n);
    if (comparison)
        render::DrawStepVectors(canvas, context.plot, *comparison, point);
    else
        render::DrawStepVectors(canvas, context.plot, descent, point);
}

void KeepTraceStart(TTraceStart& start, const platform::Canvas& picture,
                    const core::TDescent& descent, const render::TPlot& plot,
                    const palette::TPalette& Palette, const core::TComparison* comparison) {
    start.Picture = std::make_unique<platform::Canvas>(picture);
    start.Descent = descent;
    start.Plot = plot;
    start.Palette = Palette;
    start.Comparison.reset();
    if (comparison)
        start.Comparison = *comparison;
}

std::int32_t PointsPerTick(std::uint32_t points, bool comparison, std::int32_t frameTimeMs) {
    if (!comparison || frameTimeMs <= 0)
        return 1;
    const std::int64_t duration = std::int64_t{points} * frameTimeMs;
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(1, (duration + ComparisonAnimationMs - 1) / ComparisonAnimationMs));
}

int FrameDelay(std::int32_t frameTimeMs) {
    if (frameTimeMs <= 0)
        return 10;
    const std::int64_t rounded = (std::int64_t{frameTimeMs} + 5) / 10;
    return static_cast<int>(std::clamp<std::int64_t>(rounded, 2, platform::GifWriter::MaxDelay));
}

bool WriteTraceAnimation(const TTraceStart& start, std::int32_t frameTimeMs,
                         const std::string& fileName) {
    if (!start.Picture)
        throw runtime::Exception("No descent has run yet");
    platform::GifWriter writer;
    if (!writer.Open(fileName))
        throw runtime::Exception("Cannot write " + fileName + ": " + writer.Error());
    // The replay's status texts go nowhere: the status line belongs to the drawing commands.
    render::SilentProgress progress;
    const render::TSampleCache noSamples;  // the trace samples nothing
    const render::DrawContext context{start.Plot, noSamples, start.Palette, progress};
    const auto count = static_cast<std::int32_t>(
        start.Comparison ? render::LongestTrace(*start.Comparison)
                         : std::min<std::uint32_t>(start.Descent.TraceCount, core::TraceCapacity));
    const int delay = FrameDelay(frameTimeMs);
    const std::int32_t stride =
        PointsPerTick(static_cast<std::uint32_t>(count), start.Comparison.has_value(), frameTimeMs);
    platform::Canvas frame = *start.Picture;
    for (std::int32_t n = 1; n <= count; ++n) {
        if ((n - 1) % stride == 0)
            AddFrame(writer, frame, delay, fileName);  // the picture before the tick of point n
        DrawMarkedTracePoint(frame, context, start.Descent,
                             start.Comparison ? &*start.Comparison : nullptr, n, start.StartMarker,
                             start.StepVectors);
    }
    AddFrame(writer, frame, LastFrameDelay, fileName);
    if (!writer.Finish())
        throw runtime::Exception("Cannot write " + fileName + ": " + writer.Error());
    return writer.Quantized();
}

}  // namespace metopt::app
