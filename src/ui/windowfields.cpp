// The window's fields: the field table that batch options come from, setting the fields of an
// option, and the copies from the fields into the parameters of the commands.
#include "ui/windowfields.h"

#include <QAction>
#include <QCheckBox>
#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

#include "core/classicfunctions.h"
#include "core/functions.h"
#include "core/methods/method.h"
#include "core/report.h"
#include "platform/dropdown.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "runtime/exceptions.h"
#include "ui/designcontrols.h"
#include "ui/mainform.h"

namespace metopt::ui {

using TextControl = platform::TextField* TfmMnForm::*;
using SpinControl = platform::SpinEdit* TfmMnForm::*;
using ListControl = platform::DropDown* TfmMnForm::*;
using CheckControl = QCheckBox* TfmMnForm::*;
// A list whose option types its value into the list's text and leaves the text.
struct TypedInto {
    ListControl list;
};
using FieldControl = std::variant<TextControl, SpinControl, ListControl, CheckControl, TypedInto>;

struct TfmMnForm::FieldRow {
    BatchOption option;
    OptionGroup group;
    // The fields it sets, in the order of its values; a check box takes no value.
    std::vector<FieldControl> controls;
    // What a check box option sets its box to.
    bool checks = false;
};

namespace {

constexpr ArgumentRule Text{};
constexpr SetsItsFields Sets{};

ArgumentRule ListRule(std::size_t items) {
    return WholeRange(0, static_cast<long>(items) - 1);
}

ArgumentRule SpinRule(const SpinRange& range) {
    return WholeRange(range.minValue, range.maxValue);
}

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

std::span<const TfmMnForm::FieldRow> TfmMnForm::FieldTable() {
    using F = TfmMnForm;
    using G = OptionGroup;
    static const FieldRow rows[] = {
        {{"function", "N", ListRule(core::EquationItemCount),
          "select item N of the equation list (3..9: classic functions)", Sets},
         G::Parameters,
         {&F::coEquat}},
        {{"formula", "TEXT", Text, "type a function of x and y into the equation list", Sets},
         G::Parameters,
         {TypedInto{&F::coEquat}}},
        {{"method", "N", ListRule(core::MethodCount),
          "select item N of the method list (0 steepest descent; see below)", Sets},
         G::Parameters,
         {&F::coMetOpt}},
        {{"x0", "TEXT", Text, "start point x0", Sets}, G::Parameters, {&F::meBeg_Xr}},
        {{"y0", "TEXT", Text, "start point y0", Sets}, G::Parameters, {&F::meBeg_Yr}},
        {{"eps", "TEXT", Text, "accuracy eps", Sets}, G::Parameters, {&F::meCnsEps}},
        {{"step", "TEXT", Text, "scan step h_step", Sets}, G::Parameters, {&F::meCnsHst}},
        {{"radius", "TEXT", Text, "radius Uoo of the domain", Sets}, G::Parameters, {&F::meCnsUoo}},
        {{"region", "XB XE YB YE", Text, "the visible region", Sets},
         G::Parameters,
         {&F::meSrXb, &F::meSrXe, &F::meSrYb, &F::meSrYe}},
        {{"centre", "XC YC", Text, "where the axes cross", Sets},
         G::Parameters,
         {&F::meSrXc, &F::meSrYc}},
        {{"ticks", "XS YS", Text, "steps of the numbers and of the big grid", Sets},
         G::Parameters,
         {&F::meSrXs, &F::meSrYs}},
        {{"subgrid", "NX NY", Text, "small-grid segments per big step", Sets},
         G::Parameters,
         {&F::meSgXs, &F::meSgYs}},
        {{"fill", "N", ListRule(std::size(FillItems)), "fill method: 0 ten-colour map, 1 gradient",
          Sets},
         G::Drawing,
         {&F::coFill}},
        {{"colors", "N", SpinRule(GradientColorsRange), "colours of the gradient fill", Sets},
         G::Drawing,
         {&F::seScoGrd}},
        {{"levels", "N", ListRule(std::size(LevelItems)),
          "level-line method: 0 map analysis, 1 threshold", Sets},
         G::Drawing,
         {&F::coLevel}},
        {{"level-step", "TEXT", Text, "step of the threshold level lines", Sets},
         G::Drawing,
         {&F::meStLeLi}},
        {{"level-width", "TEXT", Text, "width of the threshold level lines", Sets},
         G::Drawing,
         {&F::meWdLeLi}},
        {{"transparent", "", Text, "level lines over the map", Sets},
         G::Drawing,
         {&F::cbTrnpLL},
         true},
        {{"no-small-grid", "", Text, "leave out the small grid", Sets}, G::Drawing, {&F::cbDrSmal}},
        {{"no-big-grid", "", Text, "leave out the big grid", Sets}, G::Drawing, {&F::cbDrBig}},
        {{"no-axes", "", Text, "leave out the axes", Sets}, G::Drawing, {&F::cbDrAxis}},
        {{"no-numbers", "", Text, "leave out the numbers", Sets}, G::Drawing, {&F::cbDrNumb}},
        {{"frame-time", "N", SpinRule(FrameTimeRange),
          "frame time of the animation in ms (" + std::to_string(FrameTimeRange.start) + ")", Sets},
         G::Animation,
         {&F::seTimFrm}},
    };
    return rows;
}

std::vector<BatchOption> FieldOptions(OptionGroup group) {
    std::vector<BatchOption> options;
    for (const TfmMnForm::FieldRow& row : TfmMnForm::FieldTable()) {
        if (row.group == group)
            options.push_back(row.option);
    }
    return options;
}

void TfmMnForm::SetOptionFields(std::string_view option, const std::vector<std::string>& values) {
    const auto rows = FieldTable();
    const auto row = std::ranges::find_if(
        rows, [option](const FieldRow& candidate) { return candidate.option.name == option; });
    if (row == rows.end())
        throw runtime::Exception("No field option --" + std::string(option));
    std::size_t next = 0;
    const auto value = [&]() -> const std::string& { return values.at(next++); };
    for (const FieldControl& control : row->controls) {
        std::visit(Overloaded{
                       [&](TextControl text) { (this->*text)->SetText(value()); },
                       [&](SpinControl spin) { (this->*spin)->SetText(value()); },
                       [&](ListControl list) { (this->*list)->ChooseItem(std::stoi(value())); },
                       [&](CheckControl box) { (this->*box)->setChecked(row->checks); },
                       [&](TypedInto typed) {
                           platform::DropDown* list = this->*typed.list;
                           list->TypeText(value());
                           list->FinishEditing();
                       },
                   },
                   control);
    }
    if (next != values.size())
        throw std::out_of_range("--" + std::string(option) + " takes fewer values");
}

namespace {

// Copies the texts of the fields into the members beside them.
template <class Params>
void ReadTexts(
    Params& params,
    std::initializer_list<std::pair<const platform::TextField*, std::string Params::*>> texts) {
    for (const auto& [field, member] : texts)
        params.*member = field->Text();
}

}  // namespace

core::DescentFields TfmMnForm::ReadDescentFields() const {
    using P = core::DescentFields;
    P fields;
    ReadTexts<P>(fields, {{meBeg_Xr, &P::x0},
                          {meBeg_Yr, &P::y0},
                          {meCnsEps, &P::eps},
                          {meCnsHst, &P::step},
                          {meCnsUoo, &P::radius}});
    fields.funcIndex = EquationItem();
    fields.method = coMetOpt->ItemIndex();
    fields.stopRule = StopRule();
    if (!core::IsBuiltinItem(fields.funcIndex)) {
        fields.formula = core::TrimmedFormula(coEquat->Text());
        // The commands compile the text before they read the fields.
        if (session_.Formula && session_.Formula->Text() == coEquat->Text() &&
            !fields.formula.empty())
            fields.typed = session_.Formula;
    }
    return fields;
}

core::TStopRule TfmMnForm::StopRule() const {
    if (mmdWkStGr->isChecked())
        return core::TStopRule::Gradient;
    return mmdWkStFn->isChecked() ? core::TStopRule::Value : core::TStopRule::Step;
}

void TfmMnForm::ChooseStopRule(core::TStopRule rule) {
    QAction* const actions[] = {mmdWkStSt, mmdWkStGr, mmdWkStFn};
    actions[static_cast<std::size_t>(rule)]->trigger();
}

render::GraphFieldTexts TfmMnForm::GraphFields() const {
    using P = render::GraphFieldTexts;
    P fields;
    ReadTexts<P>(fields, {{meSrXb, &P::Xb},
                          {meSrXe, &P::Xe},
                          {meSrYb, &P::Yb},
                          {meSrYe, &P::Ye},
                          {meSrXc, &P::Xc},
                          {meSrYc, &P::Yc},
                          {meSrXs, &P::Xs},
                          {meSrYs, &P::Ys},
                          {meSgXs, &P::SgXs},
                          {meSgYs, &P::SgYs}});
    return fields;
}

render::LevelLineOptions TfmMnForm::ReadLevelLineOptions() const {
    using P = render::LevelLineOptions;
    P options;
    ReadTexts<P>(options, {{meStLeLi, &P::stepText}, {meWdLeLi, &P::widthText}});
    options.transparent = cbTrnpLL->isChecked();
    return options;
}

render::GridLayers TfmMnForm::ReadGridLayers() const {
    render::GridLayers layers;
    layers.small = cbDrSmal->isChecked();
    layers.big = cbDrBig->isChecked();
    layers.axes = cbDrAxis->isChecked();
    layers.numbers = cbDrNumb->isChecked();
    return layers;
}

}  // namespace metopt::ui
