// The window's fields: each setting of the field table bound to its control, setting the fields of
// an option as a user would, and the settings read from the controls.
#include <QString>

#include <QAction>
#include <QCheckBox>
#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

#include "app/fieldtable.h"
#include "app/settings.h"
#include "core/builtinfunctions.h"
#include "core/equationitems.h"
#include "core/methods/method.h"
#include "core/runreport.h"
#include "platform/dropdown.h"
#include "platform/memo.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "runtime/exceptions.h"
#include "ui/designcontrols.h"
#include "ui/mainform.h"

namespace metopt::ui {

namespace {

// The control of a setting in a binding table of (setting, control) pairs.
template <class Member, class Control>
Control* Bound(std::initializer_list<std::pair<Member, Control*>> bindings, Member member) {
    for (const auto& [bound, control] : bindings) {
        if (bound == member)
            return control;
    }
    throw std::logic_error("a setting without its control");
}

}  // namespace

// The controls of the settings, as the field table names them.
platform::TextField* TfmMnForm::ControlOf(app::TextSetting setting) const {
    using S = app::TSettings;
    return Bound<std::string S::*, platform::TextField>({{&S::x0, meBeg_Xr},
                                                         {&S::y0, meBeg_Yr},
                                                         {&S::eps, meCnsEps},
                                                         {&S::step, meCnsHst},
                                                         {&S::radius, meCnsUoo},
                                                         {&S::xb, meSrXb},
                                                         {&S::xe, meSrXe},
                                                         {&S::yb, meSrYb},
                                                         {&S::ye, meSrYe},
                                                         {&S::xc, meSrXc},
                                                         {&S::yc, meSrYc},
                                                         {&S::xs, meSrXs},
                                                         {&S::ys, meSrYs},
                                                         {&S::sgxs, meSgXs},
                                                         {&S::sgys, meSgYs},
                                                         {&S::levelStep, meStLeLi},
                                                         {&S::levelWidth, meWdLeLi},
                                                         {&S::penaltyStart, meCnR0},
                                                         {&S::penaltyGrowth, meCnGr},
                                                         {&S::outerEps, meCnEps},
                                                         {&S::learningRate, meLrRate},
                                                         {&S::momentum, meLrMom},
                                                         {&S::decay, meLrRho},
                                                         {&S::beta1, meLrB1},
                                                         {&S::beta2, meLrB2},
                                                         {&S::noise, meLrNois},
                                                         {&S::seed, meLrSeed}},
                                                        setting.member);
}

platform::SpinEdit* TfmMnForm::ControlOf(app::SpinSetting setting) const {
    using S = app::TSettings;
    return Bound<std::int32_t S::*, platform::SpinEdit>(
        {{&S::frameTime, seTimFrm}, {&S::gradientColors, seScoGrd}}, setting.member);
}

platform::DropDown* TfmMnForm::ControlOf(app::ListSetting setting) const {
    using S = app::TSettings;
    return Bound<int S::*, platform::DropDown>({{&S::equationItem, coEquat},
                                                {&S::method, coMetOpt},
                                                {&S::fill, coFill},
                                                {&S::level, coLevel}},
                                               setting.member);
}

QCheckBox* TfmMnForm::ControlOf(app::CheckSetting setting) const {
    using S = app::TSettings;
    return Bound<bool S::*, QCheckBox>({{&S::transparent, cbTrnpLL},
                                        {&S::startMarker, cbStMark},
                                        {&S::smallGrid, cbDrSmal},
                                        {&S::bigGrid, cbDrBig},
                                        {&S::axes, cbDrAxis},
                                        {&S::numbers, cbDrNumb},
                                        {&S::hatchInfeasible, cbCnHatch},
                                        {&S::biasCorrection, cbLrBias},
                                        {&S::stepVectors, cbLrVect}},
                                       setting.member);
}

void TfmMnForm::SetOptionFields(std::string_view option, const std::vector<std::string>& values) {
    const app::FieldRow& row = app::FieldRowOf(option);
    std::size_t next = 0;
    const auto value = [&]() -> const std::string& { return values.at(next++); };
    for (const app::SettingRef& setting : row.settings) {
        std::visit(
            app::Overloaded{
                [&](app::TextSetting text) { ControlOf(text)->SetText(value()); },
                [&](app::SpinSetting spin) { ControlOf(spin)->SetText(value()); },
                [&](app::ListSetting list) { ControlOf(list)->ChooseItem(std::stoi(value())); },
                [&](app::CheckSetting box) { ControlOf(box)->setChecked(row.checks); },
                [&](app::TypedEquation) {
                    coEquat->TypeText(value());
                    coEquat->FinishEditing();
                },
                [&](app::LinesSetting) {
                    mmCnList->appendPlainText(QString::fromStdString(value()));
                },
            },
            setting);
    }
    if (next != values.size())
        throw std::out_of_range("--" + std::string(option) + " takes fewer values");
    if (option == "noise")
        ShowLearningGroup();
}

app::TSettings TfmMnForm::Settings() const {
    app::TSettings settings;
    for (const app::FieldRow& row : app::FieldTable()) {
        for (const app::SettingRef& setting : row.settings) {
            std::visit(
                app::Overloaded{
                    [&](app::TextSetting text) { settings.*text.member = ControlOf(text)->Text(); },
                    [&](app::SpinSetting spin) {
                        settings.*spin.member = ControlOf(spin)->Value();
                    },
                    [&](app::ListSetting list) {
                        settings.*list.member = ControlOf(list)->ItemIndex();
                    },
                    [&](app::CheckSetting box) {
                        settings.*box.member = ControlOf(box)->isChecked();
                    },
                    [&](app::TypedEquation) { settings.equationText = coEquat->Text(); },
                    [&](app::LinesSetting) {
                        settings.constraints = mmCnList->toPlainText().toStdString();
                    },
                },
                setting);
        }
    }
    settings.stopRule = StopRule();
    settings.lineSearch = LineSearchMethod();
    settings.constraintMethod = static_cast<int>(ConstraintMethodChoice());
    settings.stepLimit = stepLimit_;
    settings.compared.clear();
    for (std::size_t i = 0; i < mmdWkCmp.size(); ++i) {
        if (mmdWkCmp[i]->isChecked())
            settings.compared.push_back(static_cast<int>(i));
    }
    return settings;
}

core::TStopRule TfmMnForm::StopRule() const {
    if (mmdWkStGr->isChecked())
        return core::TStopRule::Gradient;
    return mmdWkStFn->isChecked() ? core::TStopRule::Value : core::TStopRule::Step;
}

core::TLineSearch TfmMnForm::LineSearchMethod() const {
    return static_cast<core::TLineSearch>(std::max(0, CheckedItem(mmdWkLnSr)));
}

void TfmMnForm::ChooseLineSearch(core::TLineSearch method) {
    mmdWkLnSr[static_cast<std::size_t>(method)]->trigger();
}

void TfmMnForm::ChooseStopRule(core::TStopRule rule) {
    QAction* const actions[] = {mmdWkStSt, mmdWkStGr, mmdWkStFn};
    actions[static_cast<std::size_t>(rule)]->trigger();
}

render::GraphFieldTexts TfmMnForm::GraphFields() const {
    // Read on every repaint: only the region's fields, not every control.
    app::TSettings region;
    for (const auto member : app::RegionFields)
        region.*member = ControlOf(app::TextSetting{member})->Text();
    return app::GraphFields(region);
}

}  // namespace metopt::ui
