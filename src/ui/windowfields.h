#pragma once
// The window's fields in one table: the parameter each one fills, whether its change makes the
// sampled value range stale, and the batch option that sets it. The copies from the fields into
// the parameters, the fields' change handlers and the batch options that type into fields all
// come from it.
#include <QCheckBox>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/report.h"
#include "render/grid.h"
#include "render/levellines.h"
#include "ui/mainform.h"

namespace metopt::ui {

using TextFieldMember = platform::TextField* TfmMnForm::*;
using SpinEditMember = platform::SpinEdit* TfmMnForm::*;
using DropDownMember = platform::DropDown* TfmMnForm::*;
using CheckBoxMember = QCheckBox* TfmMnForm::*;
using FieldControl = std::variant<TextFieldMember, SpinEditMember, DropDownMember, CheckBoxMember>;

// A text field's text, a list's item index or a check box's state goes into one member of one
// of the parameter structures.
using FieldSlot =
    std::variant<std::monostate, std::string core::DescentFields::*,
                 std::int32_t core::DescentFields::*, std::string render::GraphFieldTexts::*,
                 std::string render::LevelLineOptions::*, bool render::LevelLineOptions::*,
                 bool render::GridLayers::*>;

struct WindowField {
    FieldControl control;
    FieldSlot slot;
    // Its change marks the sampled value range stale (only text fields have such a handler).
    bool invalidatesRange;
    // The batch option that sets it, or empty. A text, spin or list field takes one of the
    // option's values, in table order; a check box takes none and is turned from its start state.
    std::string_view option;
};

std::span<const WindowField> WindowFields();

// The parameters as the window's fields hold them; members no field fills keep their defaults.
core::DescentFields ReadDescentFields(const TfmMnForm& form);
render::GraphFieldTexts ReadGraphFieldTexts(const TfmMnForm& form);
render::LevelLineOptions ReadLevelLineOptions(const TfmMnForm& form);
render::GridLayers ReadGridLayers(const TfmMnForm& form);

// How many values the fields of a batch option take.
int OptionValueCount(std::string_view option);
// Sets the fields of a batch option as a user would: the values typed or chosen in table order.
void SetOptionFields(TfmMnForm& form, std::string_view option,
                     const std::vector<std::string>& values);

}  // namespace metopt::ui
