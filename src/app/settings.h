#pragma once
// Every field of the window's pages and every choice of its menus as the window shows them: the
// texts as typed, the items chosen, the boxes checked. The commands read what they need of it
// when they run, so the window and batch mode (and a saved lab, one day) hand the same value to
// the same commands. The defaults are the window's at start.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/equationitems.h"
#include "core/methods/comparison.h"
#include "core/methods/method.h"
#include "core/runreport.h"
#include "render/fieldtexts.h"
#include "render/grid.h"
#include "render/levellines.h"

namespace metopt::app {

// The drawing area's size at start (the window's design size).
constexpr int DrawingAreaWidth = 448;
constexpr int DrawingAreaHeight = 412;

// A spin edit's range and start value: the control, the batch option and its help use these.
struct SpinRange {
    int minValue;
    int maxValue;
    int start;
};

constexpr SpinRange FrameTimeRange{0, 10000, 100};
constexpr SpinRange GradientColorsRange{2, 255, 30};

// The stop rules by name (--stop-rule, lab files), in the order of core::TStopRule.
constexpr std::string_view StopRuleWords[] = {"step", "gradient", "value"};

// The methods by name (lab files), in list order.
constexpr std::string_view MethodWords[] = {"steepest-descent",
                                            "fixed-step",
                                            "step-halving",
                                            "coordinate-descent",
                                            "fletcher-reeves",
                                            "polak-ribiere",
                                            "newton",
                                            "damped-newton",
                                            "bfgs",
                                            "dfp",
                                            "hooke-jeeves",
                                            "nelder-mead",
                                            "momentum",
                                            "nesterov",
                                            "adagrad",
                                            "rmsprop",
                                            "adam"};
static_assert(std::size(MethodWords) == core::MethodCount);
// The constraint methods by name (--constraint-method, lab files), in menu order.
constexpr std::string_view ConstraintMethodWords[] = {"none", "penalty", "log-barrier",
                                                      "inverse-barrier", "lagrange"};
static_assert(std::size(ConstraintMethodWords) == core::ConstraintMethodCount);
// The fill and level-line methods by name (lab files), in list order.
constexpr std::string_view FillWords[] = {"discrete", "gradient"};
constexpr std::string_view LevelWords[] = {"analysis", "threshold"};

// The items of the lists whose items are the program's own.
// Deliberate: see docs/behaviour.md, "Label and button texts".
constexpr const char* FillItems[] = {"Дискретная карта (10 цветов)", "Градиентная заливка "};
constexpr const char* LevelItems[] = {"Аназиз карты высот", "Пороговый, с заданным шагом"};

// The items of the menu "Сравнивать методы" checked at start.
std::vector<int> DefaultComparedItems();

struct TSettings {
    // The equation list: the item chosen (-1 when a text was typed) and the text of its field.
    int equationItem = 1;
    std::string equationText = core::EquationItems()[1];
    // The method list, the fill and level-line lists (item indices, -1 for none).
    int method = 0;
    int fill = 0;
    int level = 0;
    // " Начальные параметры ": the texts of x0, y0, eps, h_step and Uoo, and the frame time.
    std::string x0 = core::DescentFields{}.x0;
    std::string y0 = core::DescentFields{}.y0;
    std::string eps = core::DescentFields{}.eps;
    std::string step = core::DescentFields{}.step;
    std::string radius = core::DescentFields{}.radius;
    std::int32_t frameTime = FrameTimeRange.start;
    // The threshold level lines and the colours of the gradient fill.
    std::string levelStep = render::LevelLineOptions{}.stepText;
    std::string levelWidth = render::LevelLineOptions{}.widthText;
    bool transparent = render::LevelLineOptions{}.transparent;
    std::int32_t gradientColors = GradientColorsRange.start;
    // " Графическая область ".
    std::string xb = render::GraphFieldTexts{}.Xb, xe = render::GraphFieldTexts{}.Xe;
    std::string yb = render::GraphFieldTexts{}.Yb, ye = render::GraphFieldTexts{}.Ye;
    std::string xc = render::GraphFieldTexts{}.Xc, yc = render::GraphFieldTexts{}.Yc;
    std::string xs = render::GraphFieldTexts{}.Xs, ys = render::GraphFieldTexts{}.Ys;
    std::string sgxs = render::GraphFieldTexts{}.SgXs, sgys = render::GraphFieldTexts{}.SgYs;
    // " Что рисовать ".
    bool smallGrid = render::GridLayers{}.small;
    bool bigGrid = render::GridLayers{}.big;
    bool axes = render::GridLayers{}.axes;
    bool numbers = render::GridLayers{}.numbers;
    // A run's trace begins with the start's ring.
    bool startMarker = false;
    // The menu "Работа": the stop rule and the methods a comparison runs.
    core::TStopRule stopRule = core::TStopRule::Step;
    std::vector<int> compared = DefaultComparedItems();
    // The menu "Работа" → "Одномерный поиск".
    core::TLineSearch lineSearch = core::TLineSearch::Golden;
    // Batch mode's --step: a run stops after this many iterations (0: no such limit).
    std::uint32_t stepLimit = 0;
    // The field "Ограничения" (one constraint per line), the menu "Работа" → "Учёт ограничений"
    // (its item) and the fields of the outer loop: r0, C and the outer eps.
    std::string constraints;
    int constraintMethod = 0;
    std::string penaltyStart = core::DescentFields{}.penaltyStart;
    std::string penaltyGrowth = core::DescentFields{}.penaltyGrowth;
    std::string outerEps = core::DescentFields{}.outerEps;
    // The infeasible part of the map hatched rather than dimmed.
    bool hatchInfeasible = false;
    // The group of the methods of machine learning on the parameters page: α, β, ρ, β1, β2 and
    // the bias correction; the gradient noise σ and its seed.
    std::string learningRate = core::DescentFields{}.learningRate;
    std::string momentum = core::DescentFields{}.momentum;
    std::string decay = core::DescentFields{}.decay;
    std::string beta1 = core::DescentFields{}.beta1;
    std::string beta2 = core::DescentFields{}.beta2;
    bool biasCorrection = core::DescentFields{}.biasCorrection;
    std::string noise = core::DescentFields{}.noise;
    std::string seed = core::DescentFields{}.seed;
    // The gradient and the step of each iteration of those methods as arrows on the map.
    bool stepVectors = false;

    bool operator==(const TSettings&) const = default;
};

// The fields of " Графическая область " that the settings hold; a change of any makes the sampled
// range stale.
inline constexpr std::string TSettings::*RegionFields[] = {
    &TSettings::xb, &TSettings::xe, &TSettings::yb, &TSettings::ye,   &TSettings::xc,
    &TSettings::yc, &TSettings::xs, &TSettings::ys, &TSettings::sgxs, &TSettings::sgys};
bool IsRegionField(std::string TSettings::*member);
// Whether two settings hold the same texts in every field of the region.
bool SameRegion(const TSettings& a, const TSettings& b);

// What the commands take of the settings.
render::GraphFieldTexts GraphFields(const TSettings& settings);
render::LevelLineOptions LevelLines(const TSettings& settings);
render::GridLayers Layers(const TSettings& settings);

// When the equation list's chosen item is a classic function, its usual view (region, axis
// number steps, start) goes into the fields; false for the others, which change nothing.
bool TakeClassicView(TSettings& settings);
// The fields a classic view sets.
inline constexpr std::string TSettings::*ClassicViewFields[] = {
    &TSettings::xb, &TSettings::xe, &TSettings::yb, &TSettings::ye,
    &TSettings::xs, &TSettings::ys, &TSettings::x0, &TSettings::y0};

// The item the equation list stands for: the one chosen, or the one whose text the field holds
// exactly; -1 for any other text.
int EquationItem(const TSettings& settings);

}  // namespace metopt::app
