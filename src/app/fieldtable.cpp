#include "app/fieldtable.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "core/equationitems.h"
#include "core/methods/method.h"
#include "runtime/exceptions.h"

namespace metopt::app {

namespace {

constexpr ArgumentRule Text{};

ArgumentRule ListRule(std::size_t items) {
    return WholeRange(0, static_cast<long>(items) - 1);
}

ArgumentRule SpinRule(const SpinRange& range) {
    return WholeRange(range.minValue, range.maxValue);
}

}  // namespace

std::span<const FieldRow> FieldTable() {
    using S = TSettings;
    using G = OptionGroup;
    static const FieldRow rows[] = {
        {"function",
         "N",
         ListRule(core::EquationItemCount),
         "select item N of the equation list (3..9: classic functions)",
         G::Parameters,
         {ListSetting{&S::equationItem}}},
        {"formula",
         "TEXT",
         Text,
         "type a function of x and y into the equation list",
         G::Parameters,
         {TypedEquation{}}},
        {"method",
         "N",
         ListRule(core::MethodCount),
         "select item N of the method list (0 steepest descent; see below)",
         G::Parameters,
         {ListSetting{&S::method}}},
        {"x0", "TEXT", Text, "start point x0", G::Parameters, {TextSetting{&S::x0}}},
        {"y0", "TEXT", Text, "start point y0", G::Parameters, {TextSetting{&S::y0}}},
        {"eps", "TEXT", Text, "accuracy eps", G::Parameters, {TextSetting{&S::eps}}},
        {"step", "TEXT", Text, "scan step h_step", G::Parameters, {TextSetting{&S::step}}},
        {"radius",
         "TEXT",
         Text,
         "radius Uoo of the domain",
         G::Parameters,
         {TextSetting{&S::radius}}},
        {"constraint",
         "TEXT",
         Text,
         "add a constraint: A <= B, A >= B or A = B in the formula language (repeatable)",
         G::Parameters,
         {LinesSetting{&S::constraints}}},
        {"r0",
         "TEXT",
         Text,
         "first coefficient r0 of the constraint method",
         G::Parameters,
         {TextSetting{&S::penaltyStart}}},
        {"growth",
         "TEXT",
         Text,
         "growth C of the coefficient per outer iteration",
         G::Parameters,
         {TextSetting{&S::penaltyGrowth}}},
        {"outer-eps",
         "TEXT",
         Text,
         "accuracy of the constraint method's outer loop",
         G::Parameters,
         {TextSetting{&S::outerEps}}},
        {"region",
         "XB XE YB YE",
         Text,
         "the visible region",
         G::Parameters,
         {TextSetting{&S::xb}, TextSetting{&S::xe}, TextSetting{&S::yb}, TextSetting{&S::ye}}},
        {"centre",
         "XC YC",
         Text,
         "where the axes cross",
         G::Parameters,
         {TextSetting{&S::xc}, TextSetting{&S::yc}}},
        {"ticks",
         "XS YS",
         Text,
         "steps of the numbers and of the big grid",
         G::Parameters,
         {TextSetting{&S::xs}, TextSetting{&S::ys}}},
        {"subgrid",
         "NX NY",
         Text,
         "small-grid segments per big step",
         G::Parameters,
         {TextSetting{&S::sgxs}, TextSetting{&S::sgys}}},
        {"fill",
         "N",
         ListRule(std::size(FillItems)),
         "fill method: 0 ten-colour map, 1 gradient",
         G::Drawing,
         {ListSetting{&S::fill}}},
        {"colors",
         "N",
         SpinRule(GradientColorsRange),
         "colours of the gradient fill",
         G::Drawing,
         {SpinSetting{&S::gradientColors, GradientColorsRange}}},
        {"levels",
         "N",
         ListRule(std::size(LevelItems)),
         "level-line method: 0 map analysis, 1 threshold",
         G::Drawing,
         {ListSetting{&S::level}}},
        {"level-step",
         "TEXT",
         Text,
         "step of the threshold level lines",
         G::Drawing,
         {TextSetting{&S::levelStep}}},
        {"level-width",
         "TEXT",
         Text,
         "width of the threshold level lines",
         G::Drawing,
         {TextSetting{&S::levelWidth}}},
        {"transparent",
         "",
         Text,
         "level lines over the map",
         G::Drawing,
         {CheckSetting{&S::transparent}},
         true},
        {"no-small-grid",
         "",
         Text,
         "leave out the small grid",
         G::Drawing,
         {CheckSetting{&S::smallGrid}}},
        {"no-big-grid",
         "",
         Text,
         "leave out the big grid",
         G::Drawing,
         {CheckSetting{&S::bigGrid}}},
        {"no-axes", "", Text, "leave out the axes", G::Drawing, {CheckSetting{&S::axes}}},
        {"no-numbers", "", Text, "leave out the numbers", G::Drawing, {CheckSetting{&S::numbers}}},
        {"start-marker",
         "",
         Text,
         "a ring at the start point, joined to the trace",
         G::Drawing,
         {CheckSetting{&S::startMarker}},
         true},
        {"hatch-infeasible",
         "",
         Text,
         "hatch the part of the map where an inequality fails instead of dimming it",
         G::Drawing,
         {CheckSetting{&S::hatchInfeasible}},
         true},
        {"frame-time",
         "N",
         SpinRule(FrameTimeRange),
         "frame time of the animation in ms (" + std::to_string(FrameTimeRange.start) + ")",
         G::Animation,
         {SpinSetting{&S::frameTime, FrameTimeRange}}},
    };
    return rows;
}

const FieldRow& FieldRowOf(std::string_view option) {
    const auto rows = FieldTable();
    const auto row = std::ranges::find_if(
        rows, [option](const FieldRow& candidate) { return candidate.name == option; });
    if (row == rows.end())
        throw runtime::Exception("No field option --" + std::string(option));
    return *row;
}

}  // namespace metopt::app
