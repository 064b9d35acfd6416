#include "ui/windowfields.h"

#include <algorithm>
#include <concepts>
#include <stdexcept>
#include <type_traits>

#include "platform/dropdown.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"

namespace metopt::ui {

namespace {

using F = TfmMnForm;
using Descent = core::DescentFields;
using Graph = render::GraphFieldTexts;
using Lines = render::LevelLineOptions;
using Layers = render::GridLayers;

constexpr std::monostate NoSlot{};
constexpr bool Invalidates = true;
constexpr bool Keeps = false;

// clang-format off
constexpr WindowField Fields[] = {
    {&F::coEquat,  &Descent::funcIndex, Keeps,       "function"},
    {&F::meBeg_Xr, &Descent::x0,        Keeps,       "x0"},
    {&F::meBeg_Yr, &Descent::y0,        Keeps,       "y0"},
    {&F::meCnsEps, &Descent::eps,       Keeps,       "eps"},
    {&F::meCnsHst, &Descent::step,      Keeps,       "step"},
    {&F::meCnsUoo, &Descent::radius,    Keeps,       "radius"},
    {&F::meStLeLi, &Lines::stepText,    Keeps,       "level-step"},
    {&F::meWdLeLi, &Lines::widthText,   Keeps,       "level-width"},
    {&F::coFill,   NoSlot,              Keeps,       "fill"},
    {&F::seScoGrd, NoSlot,              Keeps,       "colors"},
    {&F::seTimFrm, NoSlot,              Keeps,       "frame-time"},
    {&F::coLevel,  NoSlot,              Keeps,       "levels"},
    {&F::cbTrnpLL, &Lines::transparent, Keeps,       "transparent"},
    {&F::meSrXb,   &Graph::Xb,          Invalidates, "region"},
    {&F::meSrXe,   &Graph::Xe,          Invalidates, "region"},
    {&F::meSrYb,   &Graph::Yb,          Invalidates, "region"},
    {&F::meSrYe,   &Graph::Ye,          Invalidates, "region"},
    {&F::meSrXc,   &Graph::Xc,          Invalidates, "centre"},
    {&F::meSrYc,   &Graph::Yc,          Invalidates, "centre"},
    {&F::meSrXs,   &Graph::Xs,          Invalidates, "ticks"},
    {&F::meSrYs,   &Graph::Ys,          Invalidates, "ticks"},
    {&F::meSgXs,   &Graph::SgXs,        Invalidates, "subgrid"},
    {&F::meSgYs,   &Graph::SgYs,        Invalidates, "subgrid"},
    {&F::meWkSzX,  NoSlot,              Invalidates, ""},
    {&F::meWkSzY,  NoSlot,              Invalidates, ""},
    {&F::cbDrSmal, &Layers::small,      Keeps,       "no-small-grid"},
    {&F::cbDrBig,  &Layers::big,        Keeps,       "no-big-grid"},
    {&F::cbDrAxis, &Layers::axes,       Keeps,       "no-axes"},
    {&F::cbDrNumb, &Layers::numbers,    Keeps,       "no-numbers"},
};
// clang-format on

template <class Member>
struct MemberTraits {};
template <class Class, class Type>
struct MemberTraits<Type Class::*> {
    using Owner = Class;
    using Value = Type;
};

// What a control gives a parameter: a text, an item index, a state; a spin edit gives none.
template <class Widget>
struct ControlValue {
    using Type = void;
};
template <>
struct ControlValue<platform::TextField> {
    using Type = std::string;
};
template <>
struct ControlValue<platform::DropDown> {
    using Type = std::int32_t;
};
template <>
struct ControlValue<QCheckBox> {
    using Type = bool;
};

template <class Control>
using WidgetOf = std::remove_pointer_t<typename MemberTraits<Control>::Value>;

std::string Read(const platform::TextField* field) {
    return field->Text();
}
std::int32_t Read(const platform::DropDown* list) {
    return list->ItemIndex();
}
bool Read(const QCheckBox* box) {
    return box->isChecked();
}

// Every slot takes the kind of value its control gives, and only text fields mark the range.
constexpr bool RowIsSound(const WindowField& row) {
    const bool slotFits = std::visit(
        [](auto control, auto slot) {
            using Slot = decltype(slot);
            if constexpr (std::same_as<Slot, std::monostate>) {
                return true;
            } else {
                using Given = typename ControlValue<WidgetOf<decltype(control)>>::Type;
                return std::same_as<Given, typename MemberTraits<Slot>::Value>;
            }
        },
        row.control, row.slot);
    const bool isText = std::holds_alternative<TextFieldMember>(row.control);
    return slotFits && (isText || !row.invalidatesRange);
}
static_assert(std::ranges::all_of(Fields, RowIsSound));

template <class Slot, class Params>
concept SlotOf = requires {
    typename MemberTraits<Slot>::Owner;
}
&&std::same_as<typename MemberTraits<Slot>::Owner, Params>;

template <class Params>
Params ReadFields(const TfmMnForm& form) {
    Params params;
    for (const WindowField& row : Fields) {
        std::visit(
            [&](auto control, auto slot) {
                if constexpr (SlotOf<decltype(slot), Params>) {
                    using Given = typename ControlValue<WidgetOf<decltype(control)>>::Type;
                    if constexpr (std::same_as<Given, typename MemberTraits<decltype(slot)>::Value>)
                        params.*slot = Read(form.*control);
                }
            },
            row.control, row.slot);
    }
    return params;
}

template <class Slot>
concept StateSlot = requires {
    typename MemberTraits<Slot>::Value;
}
&&std::same_as<typename MemberTraits<Slot>::Value, bool>;

// A check box's start state: that of the parameter it fills.
bool StartState(const WindowField& row) {
    return std::visit(
        [](auto slot) {
            if constexpr (StateSlot<decltype(slot)>)
                return typename MemberTraits<decltype(slot)>::Owner{}.*slot;
            else
                return false;
        },
        row.slot);
}

bool TakesAValue(const WindowField& row) {
    return !std::holds_alternative<CheckBoxMember>(row.control);
}

void SetField(TfmMnForm& form, const WindowField& row, const std::string& value) {
    std::visit(
        [&](auto control) {
            auto* widget = form.*control;
            if constexpr (std::same_as<decltype(widget), QCheckBox*>)
                widget->setChecked(!StartState(row));
            else if constexpr (std::same_as<decltype(widget), platform::DropDown*>)
                widget->ChooseItem(std::stoi(value));
            else
                widget->SetText(value);
        },
        row.control);
}

}  // namespace

std::span<const WindowField> WindowFields() {
    return Fields;
}

core::DescentFields ReadDescentFields(const TfmMnForm& form) {
    return ReadFields<core::DescentFields>(form);
}

render::GraphFieldTexts ReadGraphFieldTexts(const TfmMnForm& form) {
    return ReadFields<render::GraphFieldTexts>(form);
}

render::LevelLineOptions ReadLevelLineOptions(const TfmMnForm& form) {
    return ReadFields<render::LevelLineOptions>(form);
}

render::GridLayers ReadGridLayers(const TfmMnForm& form) {
    return ReadFields<render::GridLayers>(form);
}

int OptionValueCount(std::string_view option) {
    return static_cast<int>(std::ranges::count_if(Fields, [option](const WindowField& row) {
        return row.option == option && TakesAValue(row);
    }));
}

void SetOptionFields(TfmMnForm& form, std::string_view option,
                     const std::vector<std::string>& values) {
    std::size_t next = 0;
    for (const WindowField& row : Fields) {
        if (row.option != option)
            continue;
        const bool takesValue = TakesAValue(row);
        SetField(form, row, takesValue ? values.at(next) : std::string());
        next += takesValue ? 1 : 0;
    }
}

}  // namespace metopt::ui
