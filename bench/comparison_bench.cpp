// The comparison of all twelve methods on the window's defaults (function 1 from (30, -30),
// eps 1e-7, h_step 0.99, Uoo 1000), without the animation, and the convergence chart of twelve
// runs of 10000 points redrawn (targets: under 100 ms and under 50 ms) and shown anew; and the
// surface of 120 × 120 quads with a path of 10000 points redrawn at 800 × 600 (target: under
// 50 ms), and its mesh made anew.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cmath>
#include <numeric>
#include <vector>

#include "core/methods/comparison.h"
#include "palette/palette.h"
#include "platform/canvas.h"
#include "platform/convergencechart.h"
#include "render/comparisontrace.h"
#include "render/surfacedraw.h"
#include "runtime/fpu.h"

namespace {

using namespace metopt;

core::TDescent DefaultParameters() {
    core::TDescent parameters;
    parameters.FuncIndex = 1;
    parameters.EpsValue = 1e-7L;
    parameters.StepValue = 0.99L;
    parameters.DomainRadius = 1000;
    return parameters;
}

void CompareAllMethods(benchmark::State& state) {
    runtime::InitFpu();
    const core::TDescent parameters = DefaultParameters();
    const auto all = core::AllMethods();
    for (auto _ : state) {
        const core::TComparison comparison =
            core::RunComparison(parameters, all, core::TStopRule::Step, 30, -30);
        benchmark::DoNotOptimize(comparison.runs.data());
    }
}

// Twelve lines of 10000 points each.
std::vector<platform::ConvergenceChart::Line> TwelveLongRuns() {
    std::vector<platform::ConvergenceChart::Line> lines;
    for (int i = 0; i < core::MethodCount; ++i) {
        platform::ConvergenceChart::Line line{
            QString::number(i), render::ComparisonColor(*core::MethodOfItem(i)), {}};
        for (int k = 1; k <= 10000; ++k)
            line.values.push_back(std::pow(0.999, k) * (i + 1));
        lines.push_back(std::move(line));
    }
    return lines;
}

// The chart of twelve long runs drawn again, at the page's size (a repaint).
void RedrawChartOfTwelveLongRuns(benchmark::State& state) {
    platform::ConvergenceChart chart;
    chart.resize(440, 240);
    chart.Show(QStringLiteral("f"), TwelveLongRuns(), 1e-6);
    for (auto _ : state) {
        const QImage picture = chart.Render(QSize(440, 240));
        benchmark::DoNotOptimize(picture.constBits());
    }
}

// The same lines shown anew (another quantity chosen, a new comparison) and drawn.
void ShowAndDrawChartOfTwelveLongRuns(benchmark::State& state) {
    const auto lines = TwelveLongRuns();
    platform::ConvergenceChart chart;
    chart.resize(440, 240);
    for (auto _ : state) {
        chart.Show(QStringLiteral("f"), lines, 1e-6);
        const QImage picture = chart.Render(QSize(440, 240));
        benchmark::DoNotOptimize(picture.constBits());
    }
}

// Function 1 over its default region, with a spiral of 10000 points on it.
struct SurfaceOfFunction1 {
    palette::TPalette Palette{};
    render::TSurfaceMesh mesh =
        render::MakeSurfaceMesh(core::PlottedFunc(1), {-1.2L, 1.2L, -1.2L, 1.2L});
    render::TSurfaceScene scene;

    SurfaceOfFunction1() {
        for (int k = 0; k < palette::MapColorCount; ++k)
            Palette[static_cast<std::size_t>(k)].Color = palette::PackColor(25 * k, 100, 200);
        const render::TValueRange range = render::MeshRange(mesh);
        scene = {&mesh, range.lo, range.hi, &Palette, render::FillMode::Discrete, 0, {}, {}};
        render::TSurfacePath path;
        for (int k = 0; k < 10000; ++k) {
            const long double r = 1.1L * (1 - k / 10000.0L);
            const long double x = r * std::cos(k / 50.0L);
            const long double y = r * std::sin(k / 50.0L);
            path.points.push_back({x, y, render::SurfaceValue(mesh.func, x, y)});
        }
        scene.paths.push_back(std::move(path));
    }
};

// A repaint of the page as a drag turns it: the mesh kept, the whole picture drawn.
void RedrawSurfaceWithALongPath(benchmark::State& state) {
    runtime::InitFpu();
    const SurfaceOfFunction1 surface;
    platform::Canvas canvas(800, 600);
    double azimuth = -60;
    for (auto _ : state) {
        render::DrawSurface(canvas, surface.scene, {azimuth, 30, 1});
        azimuth += 1;
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}

// The mesh made anew: 121 × 121 evaluations (another function or region).
void MakeSurfaceMesh(benchmark::State& state) {
    runtime::InitFpu();
    for (auto _ : state) {
        const render::TSurfaceMesh mesh =
            render::MakeSurfaceMesh(core::PlottedFunc(1), {-1.2L, 1.2L, -1.2L, 1.2L});
        benchmark::DoNotOptimize(mesh.heights.data());
    }
}

}  // namespace

BENCHMARK(RedrawSurfaceWithALongPath)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MakeSurfaceMesh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CompareAllMethods)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RedrawChartOfTwelveLongRuns)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ShowAndDrawChartOfTwelveLongRuns)->Unit(benchmark::kMillisecond)->UseRealTime();
