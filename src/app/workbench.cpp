#include "app/workbench.h"

#include <QString>
#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <variant>

#include "app/commands.h"
#include "app/fieldtable.h"
#include "palette/palette.h"
#include "platform/eventguard.h"
#include "platform/spinrule.h"
#include "platform/systemlocale.h"
#include "render/savedpicture.h"

namespace metopt::app {

namespace {

// The window's single-line fields hold at most this many UTF-16 units of a text set into them.
constexpr qsizetype LineFieldLength = 32767;

std::string AsLineFieldHolds(const std::string& text) {
    const QString held = QString::fromStdString(text);
    if (held.size() <= LineFieldLength)
        return text;
    return held.left(LineFieldLength).toStdString();
}

constexpr std::chrono::milliseconds ProgressInterval(100);

}  // namespace

TWorkbench::TWorkbench(std::string paletteFile, std::int32_t background)
    : paletteFile_(paletteFile),
      area_(DrawingAreaWidth, DrawingAreaHeight, background),
      background_(background) {
    // Numbers are written with the locale's decimal separator, as the window reads it at start.
    platform::ApplySystemDecimalSeparator();
    DrawingAreaResized(session_, area_.Width(), area_.Height());
    render::SaveBackingImage(session_.SavedPicture, area_);
    platform::RunEvent([&] { palette::LoadPalette(session_.Palette, paletteFile); });
}

void TWorkbench::Press(Button button) {
    platform::RunEvent([&] {
        switch (button) {
            case Button::Map:
                DrawMap(MapPass::Fill);
                break;
            case Button::LevelLines:
                DrawMap(MapPass::LevelLines);
                break;
            case Button::Grid:
                BeginDrawing(session_);
                DrawGrid(session_, settings_, area_);
                break;
            case Button::Descent:
                StartRun(false);
                break;
            case Button::Stop:
                // Deliberate: see docs/behaviour.md, "Stop".
                session_.StopRequested = true;
                if (runWorker_.Busy())
                    runWorker_.RequestStop();
                break;
        }
    });
}

void TWorkbench::SetOptionFields(std::string_view option, const std::vector<std::string>& values) {
    const FieldRow& row = FieldRowOf(option);
    std::size_t next = 0;
    const auto value = [&]() -> const std::string& { return values.at(next++); };
    for (const SettingRef& setting : row.settings) {
        std::visit(
            Overloaded{
                [&](TextSetting text) {
                    const std::string held = AsLineFieldHolds(value());
                    if (settings_.*text.member == held)
                        return;
                    settings_.*text.member = held;
                    if (IsRegionField(text.member))
                        RegionChanged(session_);
                },
                [&](SpinSetting spin) {
                    settings_.*spin.member =
                        platform::SpinEditValue(value(), spin.range.minValue, spin.range.maxValue);
                },
                [&](ListSetting list) {
                    settings_.*list.member = std::stoi(value());
                    if (list.member != &TSettings::equationItem)
                        return;
                    settings_.equationText =
                        core::EquationItems()[static_cast<std::size_t>(settings_.equationItem)];
                    if (TakeClassicView(settings_))
                        RegionChanged(session_);
                    platform::RunEvent([&] { EquationChanged(session_, settings_); });
                },
                [&](CheckSetting box) { settings_.*box.member = row.checks; },
                [&](LinesSetting lines) {
                    std::string& text = settings_.*lines.member;
                    text += (text.empty() ? "" : "\n") + value();
                },
                [&](TypedEquation) {
                    settings_.equationItem = -1;
                    settings_.equationText = AsLineFieldHolds(value());
                    platform::RunEvent([&] { EquationChanged(session_, settings_); });
                    // Leaving the field compiles its text.
                    platform::RunEvent([&] { CompileEquation(session_, settings_); });
                },
            },
            setting);
    }
    if (next != values.size())
        throw std::out_of_range("--" + std::string(option) + " takes fewer values");
}

void TWorkbench::ApplyLab(const TLab& lab) {
    const TSettings before = std::exchange(settings_, lab.settings);
    // The fields hold what they can, as when typed.
    settings_.equationText = AsLineFieldHolds(settings_.equationText);
    for (const FieldRow& row : FieldTable()) {
        for (const SettingRef& setting : row.settings) {
            if (const auto* text = std::get_if<TextSetting>(&setting))
                settings_.*text->member = AsLineFieldHolds(settings_.*text->member);
        }
    }
    if (!SameRegion(settings_, before))
        RegionChanged(session_);
    title_ = lab.title;
    task_ = lab.task;
    if (!lab.palette.empty())
        paletteFile_ = lab.palette;
    // As the equation list takes an item chosen, or a text typed and left.
    platform::RunEvent([&] { EquationChanged(session_, settings_); });
    if (settings_.equationItem < 0)
        platform::RunEvent([&] { CompileEquation(session_, settings_); });
}

TLab TWorkbench::Lab() const {
    return {settings_, paletteFile_, title_, task_};
}

void TWorkbench::ChooseStopRule(core::TStopRule rule) {
    settings_.stopRule = rule;
}

void TWorkbench::ChooseLineSearch(core::TLineSearch method) {
    settings_.lineSearch = method;
}

void TWorkbench::ChooseConstraintMethod(core::TConstraintMethod method) {
    settings_.constraintMethod = static_cast<int>(method);
}

void TWorkbench::LimitSteps(std::uint32_t steps) {
    settings_.stepLimit = steps;
}

void TWorkbench::Compare(const std::vector<int>& methods) {
    settings_.compared.clear();
    for (int method = 0; method < core::MethodCount; ++method) {
        if (std::find(methods.begin(), methods.end(), method) != methods.end())
            settings_.compared.push_back(method);
    }
    platform::RunEvent([&] { StartRun(true); });
}

void TWorkbench::LayoutForDrawingArea(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == area_.Width() && height == area_.Height())
        return;
    // A new size starts in the window's background.
    area_.Resize(width, height, background_);
    DrawingAreaResized(session_, width, height);
}

void TWorkbench::TurnSurface(double azimuth, double elevation) {
    session_.SurfaceView = render::ViewAt(session_.SurfaceView, azimuth, elevation);
}

void TWorkbench::SizeSurfacePicture(int width, int height) {
    session_.SurfaceWidth = width;
    session_.SurfaceHeight = height;
}

void TWorkbench::TimerTick() {
    // Deliberate: see docs/behaviour.md, "Timer failure".
    platform::RunEvent([this] {
        try {
            if (!AnimationTick(session_, area_, progress_))
                animating_ = false;
        } catch (...) {
            animating_ = false;
            throw;
        }
    });
}

// Here, not on the worker: batch mode's interrupt lets any step but a run finish.
void TWorkbench::DrawMap(MapPass pass) {
    mapNote_.clear();
    CompileProblem(session_, settings_);
    BeginDrawing(session_);
    const std::shared_ptr<TMapRun> run = PrepareMapRun(session_, settings_, area_, pass);
    TRunEnd end;
    try {
        run->Run(progress_);
    } catch (...) {
        end.error = std::current_exception();
    }
    std::string note = UndefinedPointsText(run->plot.UndefinedCount);
    if (EndMapRun(session_, settings_, area_, *run, end))
        mapNote_ = std::move(note);
}

std::string TWorkbench::TakeMapNote() {
    return std::exchange(mapNote_, std::string());
}

void TWorkbench::StartRun(bool comparison) {
    CompileProblem(session_, settings_);
    BeginDrawing(session_);
    pendingRun_ = PrepareRun(session_, settings_, area_, progress_, comparison);
    runObjective_ = ObjectiveOf(pendingRun_->fields);
    const std::shared_ptr<TDescentRun> run = pendingRun_;
    runWorker_.Start([run](core::TRunWatch& watch) { run->Run(watch); }, nullptr);
}

void TWorkbench::AwaitRun(const std::function<bool(const std::string& progress)>& waiting) {
    if (!runWorker_.Busy())
        return;
    runWorker_.Wait(
        [&] {
            if (waiting(ProgressText(runWorker_.Progress(), runObjective_)))
                runWorker_.RequestStop();
        },
        ProgressInterval);
    platform::RunEvent([this] { FinishRun(); });
}

void TWorkbench::FinishRun() {
    const TRunEnd end = runWorker_.Finish();
    const std::shared_ptr<TDescentRun> run = std::move(pendingRun_);
    if (!EndRun(session_, settings_, area_, *run, end))
        return;
    report_ = run->lines;
    animating_ = StartTraceAnimation(session_, settings_, area_, progress_);
}

}  // namespace metopt::app
