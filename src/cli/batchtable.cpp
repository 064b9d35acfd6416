// The batch options: name, values, their check, help text and what each does. Parsing, --help
// and running all read this one table; the options that set the window's fields come from the
// window's field table.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/comparisonexports.h"
#include "app/exports.h"
#include "app/fieldtable.h"
#include "app/labfile.h"
#include "app/linereport.h"
#include "app/settings.h"
#include "app/surfacepicture.h"
#include "app/windowcommands.h"
#include "cli/batchoptions.h"
#include "cli/batchprogress.h"
#include "runtime/exceptions.h"

namespace metopt::cli {

namespace {

constexpr ArgumentRule Text{};

// A map needs at least two sampled columns and rows inside the one-pixel frame.
constexpr int MinAreaSide = 4;
constexpr int MaxAreaSide = 10000;

using Button = WindowCommands::Button;

WindowStep Press(Button button) {
    return [button](WindowCommands& window, const auto&) { window.Press(button); };
}

void ResizeDrawingArea(WindowCommands& window, const std::vector<std::string>& values) {
    window.LayoutForDrawingArea(std::stoi(values[0]), std::stoi(values[1]));
}

// Waits for the run that a button started on the worker thread, its progress on the terminal.
void AwaitTheRun(WindowCommands& window) {
    BatchProgress progress;
    window.AwaitRun([&progress](const std::string& text) { return progress.Waiting(text); });
}

// "Сравнить методы" with exactly these methods, then the timer's ticks until the paths are drawn.
void CompareAll(WindowCommands& window, const std::vector<std::string>& values) {
    window.Compare(ListedNumbers(values[0], 0, core::MethodCount - 1));
    AwaitTheRun(window);
    while (!BatchProgress::Interrupted() && window.Animating())
        window.TimerTick();
}

// The button, then the timer's ticks at once, without waiting, until the animation ends (with a
// frame time of 0 the click draws the whole trace itself).
void RunWholeDescent(WindowCommands& window, const std::vector<std::string>&) {
    window.Press(Button::Descent);
    AwaitTheRun(window);
    while (!BatchProgress::Interrupted() && window.Animating())
        window.TimerTick();
}

void ChooseStopRule(WindowCommands& window, const std::vector<std::string>& values) {
    const auto word = std::ranges::find(app::StopRuleWords, std::string_view(values[0]));
    window.ChooseStopRule(static_cast<core::TStopRule>(word - std::begin(app::StopRuleWords)));
}

void ChooseLineSearch(WindowCommands& window, const std::vector<std::string>& values) {
    const auto word = std::ranges::find(core::LineSearchWords, std::string_view(values[0]));
    window.ChooseLineSearch(
        static_cast<core::TLineSearch>(word - std::begin(core::LineSearchWords)));
}

void ChooseConstraintMethod(WindowCommands& window, const std::vector<std::string>& values) {
    const auto word = std::ranges::find(app::ConstraintMethodWords, std::string_view(values[0]));
    window.ChooseConstraintMethod(
        static_cast<core::TConstraintMethod>(word - std::begin(app::ConstraintMethodWords)));
}

// "R0,C": the two fields of the constraint method's coefficient.
void SetPenalty(WindowCommands& window, const std::vector<std::string>& values) {
    const std::string& text = values[0];
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        throw runtime::Exception("--penalty takes R0,C (two numbers separated by a comma)");
    window.SetOptionFields("r0", {text.substr(0, comma)});
    window.SetOptionFields("growth", {text.substr(comma + 1)});
}

void LimitSteps(WindowCommands& window, const std::vector<std::string>& values) {
    window.LimitSteps(static_cast<std::uint32_t>(std::stoul(values[0])));
}

void Comparison(WindowCommands& window, const std::vector<std::string>& values) {
    app::WriteComparisonCsv(window.Session(), values[0]);
}

// A .csv name writes the chart's data, any other its picture.
void Convergence(WindowCommands& window, const std::vector<std::string>& values) {
    const std::string& file = values[0];
    if (WritesCsv(file))
        app::WriteConvergenceCsv(window.Session(), file);
    else
        app::WriteConvergencePicture(window.Session(), app::ConvergenceKind::Value, file);
}

// One number of degrees, with '.' for the decimal point whatever the locale.
bool ReadDegrees(std::string_view text, double& degrees) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), degrees);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(degrees);
}

// "AZ,EL": the surface's azimuth and elevation in degrees.
void TurnSurface(WindowCommands& window, const std::vector<std::string>& values) {
    const std::string_view text = values[0];
    const std::size_t comma = text.find(',');
    double azimuth = 0;
    double elevation = 0;
    if (comma == std::string_view::npos || !ReadDegrees(text.substr(0, comma), azimuth) ||
        !ReadDegrees(text.substr(comma + 1), elevation))
        throw runtime::Exception(
            "--view takes AZ,EL (two numbers of degrees separated by a comma)");
    window.TurnSurface(azimuth, elevation);
}

void SizeSurface(WindowCommands& window, const std::vector<std::string>& values) {
    window.SizeSurfacePicture(std::stoi(values[0]), std::stoi(values[1]));
}

void Surface(WindowCommands& window, const std::vector<std::string>& values) {
    app::WriteSurfacePicture(window.Session(), app::SurfaceStyleOf(window.Lab().settings),
                             values[0]);
}

void Picture(WindowCommands& window, const std::vector<std::string>& values) {
    app::WritePicture(window.Session(), values[0]);
}

void Report(WindowCommands& window, const std::vector<std::string>& values) {
    app::WriteReport(window.ReportLines(), values[0]);
}

void Trace(WindowCommands& window, const std::vector<std::string>& values) {
    app::WriteTraceCsv(window.Session().Descent, values[0]);
}

void LineReport(WindowCommands& window, const std::vector<std::string>& values) {
    app::WriteLineSearchCsv(window.Session(), values[0]);
}

void Animation(WindowCommands& window, const std::vector<std::string>& values) {
    if (!window.Session().TraceStart.Picture)
        throw runtime::Exception("--animation needs a --descent before it");
    if (app::WriteAnimation(window.Session(), window.FrameTime(), values[0])) {
        std::cerr << "metopt: note: " << values[0]
                  << ": the pictures have more than 256 colours; the animation maps them to 256\n";
    }
}

void SaveLabFile(WindowCommands& window, const std::vector<std::string>& values) {
    app::SaveLab(values[0], window.Lab());
}

// The one-dimensional lab reads its options itself (batchminimize1d.h); the parse refuses them
// without --minimize-1d, so that they never come to a window.
void ForTheLabOnly(WindowCommands&, const std::vector<std::string>&) {
    throw runtime::Exception("This option needs --minimize-1d");
}

// The options of one group of the field table, in its order; each sets its fields.
std::vector<BatchOption> FieldOptions(OptionGroup group) {
    std::vector<BatchOption> options;
    for (const app::FieldRow& row : app::FieldTable()) {
        if (row.group == group)
            options.push_back({row.name, row.argNames, row.rule, row.help, SetsItsFields{}});
    }
    return options;
}

std::vector<BatchOption> MakeOptions() {
    using C = BatchCommand;
    const auto append = [](std::vector<BatchOption>& to, std::vector<BatchOption> more) {
        to.insert(to.end(), more.begin(), more.end());
    };
    std::vector<BatchOption> options = {
        {"batch", "", Text, "required for every option below but --help and --version", &C::batch},
    };
    append(options, FieldOptions(OptionGroup::Parameters));
    options.push_back({"stop-rule", "RULE", OneOf(app::StopRuleWords),
                       "stop rule of the menu Работа: step, gradient or value (see below)",
                       ChooseStopRule});
    options.push_back({"constraint-method", "NAME", OneOf(app::ConstraintMethodWords),
                       "how runs take the constraints into account: none, penalty, log-barrier, "
                       "inverse-barrier or lagrange (see below)",
                       ChooseConstraintMethod});
    options.push_back({"penalty", "R0,C", Text,
                       "the constraint method's first coefficient and its growth (--r0 and "
                       "--growth at once)",
                       SetPenalty});
    options.push_back({"steps", "N", WholeRange(1, core::TraceCapacity),
                       "runs after it stop after N iterations (their report says so)", LimitSteps});
    options.push_back({"line-search", "NAME", OneOf(core::LineSearchWords),
                       "one-dimensional method of the line searches: golden (the scan and the "
                       "golden section), dichotomy, fibonacci, parabolic, brent, armijo or wolfe",
                       ChooseLineSearch});
    options.push_back({"size", "W H", WholeRange(MinAreaSide, MaxAreaSide),
                       "size of the drawing area in pixels (" +
                           std::to_string(app::DrawingAreaWidth) + " " +
                           std::to_string(app::DrawingAreaHeight) + ")",
                       ResizeDrawingArea});
    append(options, FieldOptions(OptionGroup::Drawing));
    append(options,
           {
               {"palette", "FILE", Text, "load this palette instead of Palitr10.dat", &C::palette},
               {"lab", "FILE.metopt", Text,
                "apply this lab file before the other options (and its palette, unless "
                "--palette)",
                &C::lab},
               {"map", "", Text, "press \"Отобразить график\"", Press(Button::Map)},
               {"level-lines", "", Text, "press \"Построить линии уровня\"",
                Press(Button::LevelLines)},
               {"grid", "", Text, "press \"Натянуть сетку\"", Press(Button::Grid)},
               {"descent", "", Text, "press \"Начать итерации\" and draw the whole trace",
                RunWholeDescent},
               {"compare", "LIST", WholeList(0, core::MethodCount - 1),
                "compare these methods (e.g. 0,4,6 or all) and draw all their paths", CompareAll},
           });
    append(options, FieldOptions(OptionGroup::Animation));
    append(
        options,
        {
            {"picture", "FILE.png", Text, "write the drawing area as last saved", Picture},
            {"report", "FILE", Text, "write the report page's text (- for standard output)",
             Report},
            {"trace-csv", "FILE", Text, "write the trace as k,x,y,z (- for standard output)",
             Trace},
            {"line-report", "FILE.csv", Text,
             "write every line search of the last run as CSV (- for standard output)", LineReport},
            {"animation", "FILE.gif", Text,
             "write the last descent or comparison as an animated GIF (see below)", Animation},
            {"comparison", "FILE", Text,
             "write the comparison's table as CSV (- for standard output)", Comparison},
            {"convergence", "FILE", Text,
             "write the convergence chart: FILE.png 800x500, FILE.csv its data", Convergence},
            {"view", "AZ,EL", Text,
             "the surface's azimuth and elevation in degrees for --surface after it (-60,30; "
             "the elevation held within 5..90)",
             TurnSurface},
            {"surface-size", "W H", WholeRange(MinAreaSide, MaxAreaSide),
             "size of the surface's picture in pixels (800 600)", SizeSurface},
            {"surface", "FILE.png", Text,
             "write the surface of the function over the map's region with the paths on it",
             Surface},
            {"save-lab", "FILE.metopt", Text,
             "write the fields and choices as they stand as a lab file", SaveLabFile},
            {"minimize-1d", "FORMULA", Text,
             "the one-dimensional lab (see below): minimise FORMULA of x (or t) over --interval "
             "by each of --methods-1d down to --eps",
             &C::minimize1d},
            {"interval", "A B", Text, "the interval [a, b] of --minimize-1d", ForTheLabOnly},
            {"methods-1d", "LIST", Text,
             "methods of --minimize-1d: golden, dichotomy, fibonacci, parabolic, brent "
             "separated by commas, or all (the default)",
             ForTheLabOnly},
            {"count-chart", "FILE", Text,
             "write the counts of f of --minimize-1d against eps = 1e-1 .. 1e-12: FILE.png "
             "800x500, FILE.csv its data",
             ForTheLabOnly},
            {"help", "", Text, "print this text", &C::help},
            {"version", "", Text, "print the version", &C::version},
        });
    return options;
}

}  // namespace

std::span<const BatchOption> BatchOptions() {
    static const std::vector<BatchOption> options = MakeOptions();
    return options;
}

}  // namespace metopt::cli
