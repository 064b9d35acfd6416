#pragma once
// What a user can do with the main window — press its buttons, type into its fields, size it,
// let the animation's timer tick — and read what it shows and holds, its model as a const view.
// The window does it on the screen; batch mode's workbench does the same off-screen.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/labfile.h"
#include "app/session.h"
#include "core/methods/method.h"

namespace metopt::app {

class WindowCommands {
  public:
    enum class Button { Map, LevelLines, Grid, Descent, Stop };

    virtual ~WindowCommands() = default;

    // Clicks the button, as a user would.
    virtual void Press(Button button) = 0;
    // Sets the fields of a batch option as a user would: the values typed or chosen in the
    // option's order; a check box option takes none and sets its box as the option says.
    virtual void SetOptionFields(std::string_view option,
                                 const std::vector<std::string>& values) = 0;
    // Checks the item of the menu "Работа" → "Остановка" for this stop rule, as a user would.
    virtual void ChooseStopRule(core::TStopRule rule) = 0;
    // Checks the item of "Работа" → "Одномерный поиск" for this method, as a user would.
    virtual void ChooseLineSearch(core::TLineSearch method) = 0;
    // Checks the item of "Работа" → "Учёт ограничений" for this method, as a user would.
    virtual void ChooseConstraintMethod(core::TConstraintMethod method) = 0;
    // The runs after it stop after this many iterations (0: no such limit).
    virtual void LimitSteps(std::uint32_t steps) = 0;
    // Checks exactly these methods in "Работа" → "Сравнивать методы" and chooses "Сравнить
    // методы", as a user would.
    virtual void Compare(const std::vector<int>& methods) = 0;
    // Sizes the window so that the drawing area gets width x height pixels.
    virtual void LayoutForDrawingArea(int width, int height) = 0;
    // Turns the page "Поверхность" to this view (see render::ViewAt), as a drag would.
    virtual void TurnSurface(double azimuth, double elevation) = 0;
    // The size the surface's picture is written at in batch mode.
    virtual void SizeSurfacePicture(int width, int height) = 0;
    // Whether the animation's timer runs, and one of its ticks.
    virtual bool Animating() const = 0;
    virtual void TimerTick() = 0;
    // The frame time field's value in milliseconds.
    virtual std::int32_t FrameTime() const = 0;
    virtual const TSession& Session() const = 0;
    // Waits until the run that the last command started on the worker thread has ended (at once
    // when none computes) and shows its outcome as the window does. Meanwhile `waiting` is called
    // every 0.1 s with the progress text; when it returns true the run is stopped, as by "Стоп".
    virtual void AwaitRun(const std::function<bool(const std::string& progress)>& waiting) = 0;
    // Sets every field and choice of the lab as a user would, and keeps its title and task (its
    // palette is the caller's to load).
    virtual void ApplyLab(const TLab& lab) = 0;
    // The settings as they stand, the palette's name and the title and task kept.
    virtual TLab Lab() const = 0;
    // The report page's lines.
    virtual std::vector<std::string> ReportLines() const = 0;
};

}  // namespace metopt::app
