#pragma once
// The window's work without the window: the model, the settings, the drawing area's picture and
// the report, driven as a user drives the window (WindowCommands) and running the same commands in
// the same order. Batch mode works on one; it needs a QGuiApplication for pictures and fonts and
// no widget at all.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/descentrun.h"
#include "app/maprun.h"
#include "app/runworker.h"
#include "app/session.h"
#include "app/settings.h"
#include "app/windowcommands.h"
#include "platform/canvas.h"
#include "render/progress.h"

namespace metopt::app {

class TWorkbench final : public WindowCommands {
  public:
    // Starts as the window does: the drawing area at the design size in the window's background
    // colour, its picture saved, the palette loaded from paletteFile (a failure reported as the
    // window reports it).
    TWorkbench(std::string paletteFile, std::int32_t background);

    void Press(Button button) override;
    void SetOptionFields(std::string_view option, const std::vector<std::string>& values) override;
    void ChooseStopRule(core::TStopRule rule) override;
    void ChooseLineSearch(core::TLineSearch method) override;
    void ChooseConstraintMethod(core::TConstraintMethod method) override;
    void LimitSteps(std::uint32_t steps) override;
    void Compare(const std::vector<int>& methods) override;
    void LayoutForDrawingArea(int width, int height) override;
    void TurnSurface(double azimuth, double elevation) override;
    void SizeSurfacePicture(int width, int height) override;
    bool Animating() const override { return animating_; }
    void TimerTick() override;
    std::int32_t FrameTime() const override { return settings_.frameTime; }
    const TSession& Session() const override { return session_; }
    void AwaitRun(const std::function<bool(const std::string& progress)>& waiting) override;
    std::vector<std::string> ReportLines() const override { return report_; }
    void ApplyLab(const TLab& lab) override;
    TLab Lab() const override;

    const TSettings& Settings() const { return settings_; }
    const platform::Canvas& Area() const { return area_; }
    // What the window's status line says after the last map when it is not the passes' own
    // progress (UndefinedPointsText), once: taking it clears it; "" after a failed map.
    std::string TakeMapNote();

  private:
    void DrawMap(MapPass pass);
    void StartRun(bool comparison);
    void FinishRun();

    TSession session_;
    TSettings settings_;
    std::string paletteFile_;
    std::string title_;
    std::string task_;
    platform::Canvas area_;
    std::int32_t background_;
    std::vector<std::string> report_;
    std::string mapNote_;
    bool animating_ = false;
    render::SilentProgress progress_;
    TRunWorker runWorker_;
    std::shared_ptr<TDescentRun> pendingRun_;
    const core::TObjective* runObjective_ = nullptr;
};

}  // namespace metopt::app
