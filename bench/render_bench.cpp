// The cost of every drawing command of the program, and of the descent, over the three functions
// and two drawing areas (the design size and a full-HD one), each also given as a ratio to the
// floor: one evaluation of the function at every sampled pixel in a tight loop, on one thread.
// The item texts typed as formulas run the same commands, given as ratios to the items' own; and
// a formula of 200 characters is compiled with its gradient and Hessian. The tables at the end
// give each case's median when the cases are repeated (--benchmark_repetitions), as scripts/bench
// does.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QtGlobal>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/formula/formula.h"
#include "core/builtinfunctions.h"
#include "core/minimizer.h"
#include "core/runreport.h"
#include "palette/palette.h"
#include "platform/canvas.h"
#include "platform/dropdown.h"
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/fill.h"
#include "render/grid.h"
#include "render/levellines.h"
#include "render/progress.h"
#include "render/sampling.h"
#include "render/trace.h"
#include "render/valuescan.h"
#include "runtime/fpu.h"
#include "ui/mainform.h"

namespace {

using namespace metopt;

struct AreaSize {
    int width;
    int height;
};
constexpr AreaSize Sizes[] = {{448, 412}, {1920, 1080}};
constexpr std::int32_t GradientColours = 30;

// The palette every case draws with, loaded once.
palette::TPalette Colours{};

// Functions 0..2 are the equation list's items; 3..5 their texts typed as formulas (without the
// leading blank), compiled once.
constexpr int TypedOffset = 3;
std::shared_ptr<const core::TFormula> Typed[core::FunctionCount];

core::TPlottedFunc FunctionOf(int function) {
    if (function < TypedOffset)
        return core::PlottedFunc(function);
    return core::PlottedFunc(Typed[function - TypedOffset]);
}

// Function k over an area of the given size with the default region, nothing scanned yet.
struct Scene {
    Scene(int function, const AreaSize& size) : canvas(size.width, size.height) {
        runtime::InitFpu();
        plot.CurrentFunc = FunctionOf(function);
        plot.MapCols = size.width - 2;
        plot.MapRows = size.height - 2;
    }
    render::DrawContext Drawing() { return {plot, samples, Colours, progress}; }
    void Scan(unsigned threads = render::SamplingThreads()) {
        render::ScanValueRange(plot, samples, progress, render::GraphFieldTexts{}, threads);
    }
    void Map(render::FillMode mode = render::FillMode::Discrete) {
        render::FillSurface(canvas, Drawing(), mode, GradientColours);
    }
    // Scanned, with the map drawn on the canvas.
    Scene& Mapped() {
        Scan();
        Map();
        return *this;
    }

    render::TPlot plot;
    render::TSampleCache samples;
    core::TDescent descent;
    render::TSavedPicture saved;
    render::SilentProgress progress;
    platform::Canvas canvas;
};

void Floor(benchmark::State& state, int function, AreaSize size) {
    Scene scene(function, size);
    scene.Scan();
    const render::TPlot& plot = scene.plot;
    std::vector<long double> x;
    for (std::int32_t col = 1; col <= plot.MapCols; ++col)
        x.push_back(render::ColumnToX(plot, col));
    std::vector<long double> y;
    for (std::int32_t row = 1; row <= plot.MapRows; ++row)
        y.push_back(render::RowToY(plot, row));
    const core::TPlottedFunc f = plot.CurrentFunc;
    for (auto _ : state) {
        for (const long double rowY : y) {
            for (const long double colX : x) {
                long double z = f(colX, rowY);
                benchmark::DoNotOptimize(z);
            }
        }
    }
}

void Scan(benchmark::State& state, int function, AreaSize size, unsigned threads) {
    Scene scene(function, size);
    for (auto _ : state)
        scene.Scan(threads);
}

// The map command with the range not valid: the scan, then the fill.
void MapFresh(benchmark::State& state, int function, AreaSize size) {
    Scene scene(function, size);
    scene.Mapped();
    for (auto _ : state) {
        scene.plot.ZRangeValid = false;
        scene.Scan();
        scene.Map();
    }
}

// The map command with the range valid: the fill alone, from the scan's samples.
void Fill(benchmark::State& state, int function, AreaSize size, render::FillMode mode) {
    Scene scene(function, size);
    scene.Mapped();
    for (auto _ : state)
        scene.Map(mode);
}

// The same fill with the function evaluated again at every pixel.
void FillEvaluating(benchmark::State& state, int function, AreaSize size) {
    Scene scene(function, size);
    scene.Mapped();
    render::ReleaseKeptSamples(scene.samples);
    for (auto _ : state)
        scene.Map();
}

// Level lines over the map (the map put back before each pass, untimed).
void LevelLines(benchmark::State& state, int function, AreaSize size,
                render::LevelLineMethod method) {
    Scene scene(function, size);
    const platform::Canvas map = scene.Mapped().canvas;
    const render::LevelLineOptions options;
    for (auto _ : state) {
        state.PauseTiming();
        scene.canvas = map;
        scene.canvas.Image().detach();
        state.ResumeTiming();
        render::DrawLevelLines(scene.canvas, scene.Drawing(), method, options);
    }
}

void Grid(benchmark::State& state, int function, AreaSize size) {
    Scene scene(function, size);
    scene.Mapped();
    const render::GridLayers everything;
    for (auto _ : state)
        render::DrawGrid(scene.canvas, scene.plot, Colours, render::GraphFieldTexts{}, everything);
}

core::DescentFields DefaultDescent(int function) {
    core::DescentFields fields;
    fields.funcIndex = function < TypedOffset ? function : -1;
    if (function >= TypedOffset) {
        fields.typed = Typed[function - TypedOffset];
        fields.formula = Typed[function - TypedOffset]->Text();
    }
    return fields;
}

// A formula of 200 characters, compiled with its gradient and Hessian.
const std::string Formula200 =
    "(1.5-x+x*y)^2+(2.25-x+x*y^2)^2+(2.625-x+x*y^3)^2+100*(y-x*x)^2+(1-x)^2"
    "+sin(r)/r+exp(-r*r/4)*cos(3*x)-ln(1+x*x+y*y)+sqrt(1+abs(x*y))+th(x-y)*ch(y/5)"
    "+arctg(x*y)+0.125*x*y, r=sqrt(x*x+y*y+1e-9)+x^-2*0.01";

void CompileFormula(benchmark::State& state) {
    for (auto _ : state) {
        auto formula = core::CompileFormula(Formula200);
        benchmark::DoNotOptimize(formula);
    }
    state.counters["characters"] = static_cast<double>(Formula200.size());
    state.counters["instructions"] =
        static_cast<double>(core::CompileFormula(Formula200)->Instructions());
}

void Descent(benchmark::State& state, int function, AreaSize size) {
    Scene scene(function, size);
    scene.Mapped();
    const core::DescentFields fields = DefaultDescent(function);
    for (auto _ : state) {
        std::vector<std::string> lines =
            core::RunDescentAndReport(scene.descent, fields, scene.plot.VisibleRegion);
        benchmark::DoNotOptimize(lines);
    }
}

// One trace point drawn and the picture saved, as each animation tick does.
void TracePoint(benchmark::State& state, int function, AreaSize size) {
    Scene scene(function, size);
    scene.Mapped();
    core::RunDescentAndReport(scene.descent, DefaultDescent(function), scene.plot.VisibleRegion);
    const auto count = static_cast<std::int32_t>(scene.descent.TraceCount);
    std::int32_t n = 0;
    for (auto _ : state) {
        n = n % count + 1;
        render::DrawTracePoint(scene.canvas, scene.Drawing(), scene.descent, n);
        render::SaveBackingImage(scene.saved, scene.canvas);
    }
}

void SaveAndRestore(benchmark::State& state, int function, AreaSize size) {
    Scene scene(function, size);
    scene.Mapped();
    for (auto _ : state) {
        render::SaveBackingImage(scene.saved, scene.canvas);
        render::RestoreBackingImage(scene.saved, scene.canvas, scene.plot.GraphParams,
                                    render::GraphFieldTexts{});
    }
}

// The map command of the window itself (a fresh scan and the fill), with its status line
// repainted as it goes: against "map, fresh scan", whose status texts go nowhere, it shows what
// the window and its progress texts cost.
std::unique_ptr<ui::TfmMnForm> Window;

void WindowMapFresh(benchmark::State& state, int function, AreaSize size) {
    runtime::InitFpu();
    if (!Window) {
        Window = std::make_unique<ui::TfmMnForm>(nullptr, METOPT_PALETTE_FILE);
        Window->show();
    }
    Window->LayoutForDrawingArea(size.width, size.height);
    QApplication::processEvents();
    Window->SetOptionFields("function", {std::to_string(function)});
    bool typed = false;
    for (auto _ : state) {
        // A changed text in a graphics field makes the range stale, as the user would; the centre
        // "0" is "0.0" and changes nothing else.
        typed = !typed;
        const std::string centre = typed ? "0" : "0.0";
        Window->SetOptionFields("centre", {centre, centre});
        Window->Press(app::WindowCommands::Button::Map);
    }
}

struct Command {
    const char* name;
    void (*run)(benchmark::State&, int, AreaSize);
};

void ScanAllCores(benchmark::State& s, int f, AreaSize a) {
    Scan(s, f, a, render::SamplingThreads());
}
void ScanOneThread(benchmark::State& s, int f, AreaSize a) {
    Scan(s, f, a, 1);
}
void FillDiscrete(benchmark::State& s, int f, AreaSize a) {
    Fill(s, f, a, render::FillMode::Discrete);
}
void FillGradient(benchmark::State& s, int f, AreaSize a) {
    Fill(s, f, a, render::FillMode::Gradient);
}
void LinesByAnalysis(benchmark::State& s, int f, AreaSize a) {
    LevelLines(s, f, a, render::LevelLineMethod::Analysis);
}
void LinesByThreshold(benchmark::State& s, int f, AreaSize a) {
    LevelLines(s, f, a, render::LevelLineMethod::Threshold);
}

const Command Commands[] = {
    {"floor", Floor},
    {"scan", ScanAllCores},
    {"scan, one thread", ScanOneThread},
    {"map, fresh scan", MapFresh},
    {"map, valid range", FillDiscrete},
    {"gradient, valid range", FillGradient},
    {"map, evaluating", FillEvaluating},
    {"lines by analysis", LinesByAnalysis},
    {"lines by threshold", LinesByThreshold},
    {"grid", Grid},
    {"trace point + save", TracePoint},
    {"save + restore", SaveAndRestore},
    {"descent (defaults)", Descent},
    {"window map, status", WindowMapFresh},
};

std::string CaseName(const char* command, int function, const AreaSize& size) {
    const std::string name = function < TypedOffset ? "/f" + std::to_string(function)
                                                    : "/t" + std::to_string(function - TypedOffset);
    return std::string(command) + name + "/" + std::to_string(size.width) + "x" +
           std::to_string(size.height);
}

// The name the library reports a case under (its times are wall-clock times).
std::string ReportedName(const char* command, int function, const AreaSize& size) {
    return CaseName(command, function, size) + "/real_time";
}

// Keeps every case's time per iteration as it is reported, for the table at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    RecordingReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions, the median of a case replaces its single runs (it comes after them).
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median)
                milliseconds[run.run_name.str()] = run.GetAdjustedRealTime();
        }
    }
    // Every case reports in milliseconds.
    std::map<std::string, double> milliseconds;
};

// The commands a typed formula is measured with, against the same command of its item.
const char* const TypedCommands[] = {"floor", "scan", "map, fresh scan", "map, evaluating",
                                     "descent (defaults)"};

void PrintTypedTable(const std::map<std::string, double>& milliseconds) {
    std::printf("\nTyped texts of the items: ms per command, and the ratio to the item's own\n");
    for (const AreaSize& size : Sizes) {
        std::printf("\n%dx%d %27s %20s %20s\n", size.width, size.height, "t0", "t1", "t2");
        for (const char* command : TypedCommands) {
            std::printf("%-24s", command);
            for (int function = 0; function < core::FunctionCount; ++function) {
                const auto typed =
                    milliseconds.find(ReportedName(command, TypedOffset + function, size));
                const auto item = milliseconds.find(ReportedName(command, function, size));
                if (typed == milliseconds.end() || item == milliseconds.end()) {
                    std::printf(" %20s", "-");
                    continue;
                }
                std::printf(" %10.3f (%6.3f x)", typed->second, typed->second / item->second);
            }
            std::printf("\n");
        }
    }
    const auto compile = milliseconds.find("compile a 200-character formula/real_time");
    if (compile != milliseconds.end())
        std::printf("\ncompile a 200-character formula: %.3f ms\n", compile->second);
}

void PrintTable(const std::map<std::string, double>& milliseconds) {
    std::printf(
        "\nms per command, and its ratio to the floor of the same function and area"
        " (cores: %u)\n",
        std::thread::hardware_concurrency());
    for (const AreaSize& size : Sizes) {
        std::printf("\n%dx%d %27s %20s %20s\n", size.width, size.height, "f0", "f1", "f2");
        for (const Command& command : Commands) {
            std::printf("%-24s", command.name);
            for (int function = 0; function < core::FunctionCount; ++function) {
                const auto time = milliseconds.find(ReportedName(command.name, function, size));
                const auto floor = milliseconds.find(ReportedName("floor", function, size));
                if (time == milliseconds.end() || floor == milliseconds.end()) {
                    std::printf(" %20s", "-");
                    continue;
                }
                std::printf(" %10.3f (%6.3f x)", time->second, time->second / floor->second);
            }
            std::printf("\n");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    runtime::InitFpu();
    palette::LoadPalette(Colours, METOPT_PALETTE_FILE);
    for (int i = 0; i < core::FunctionCount; ++i)
        Typed[i] = core::CompileFormula(std::string(core::FunctionCaptions[i]).substr(1));
    for (const AreaSize& size : Sizes) {
        for (const Command& command : Commands) {
            for (int function = 0; function < core::FunctionCount; ++function) {
                benchmark::RegisterBenchmark(CaseName(command.name, function, size).c_str(),
                                             command.run, function, size)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }
        }
    }
    for (const AreaSize& size : Sizes) {
        for (const Command& command : Commands) {
            for (const char* typed : TypedCommands) {
                if (std::string(typed) != command.name)
                    continue;
                for (int function = 0; function < core::FunctionCount; ++function) {
                    benchmark::RegisterBenchmark(
                        CaseName(command.name, TypedOffset + function, size).c_str(), command.run,
                        TypedOffset + function, size)
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime();
                }
            }
        }
    }
    benchmark::RegisterBenchmark("compile a 200-character formula", CompileFormula)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintTable(reporter.milliseconds);
    PrintTypedTable(reporter.milliseconds);
    Window.reset();
    benchmark::Shutdown();
    return 0;
}
