#pragma once
// The fields that batch options set, one row per option: its name, its values, their check, its
// help text and the settings it sets. The one place where a field's option, range and help live;
// the window binds each setting to its control, batch mode sets the settings themselves.
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/settings.h"

namespace metopt::app {

// An argument is free text (typed into a field as it stands), a whole number in a range, one of
// the given words, or a list of whole numbers in the range separated by commas (or "all").
// Deliberate: see docs/behaviour.md, "Lenient numbers".
struct ArgumentRule {
    bool integer = false;
    long minValue = 0;
    long maxValue = 0;
    std::span<const std::string_view> words{};
    bool list = false;
};

constexpr ArgumentRule WholeRange(long minValue, long maxValue) {
    return ArgumentRule{true, minValue, maxValue, {}};
}

constexpr ArgumentRule OneOf(std::span<const std::string_view> words) {
    return ArgumentRule{false, 0, 0, words, false};
}

constexpr ArgumentRule WholeList(long minValue, long maxValue) {
    return ArgumentRule{false, minValue, maxValue, {}, true};
}

// Where --help lists the options of the fields among the others.
enum class OptionGroup { Parameters, Drawing, Animation };

// The setting a value goes into: a text field's text, a spin edit's value (its text read as the
// window reads it), a list's item, a check box, the equation list's typed text, or a line added
// to a field of several lines.
struct TextSetting {
    std::string TSettings::*member;
};
struct SpinSetting {
    std::int32_t TSettings::*member;
    SpinRange range;
};
struct ListSetting {
    int TSettings::*member;
};
struct CheckSetting {
    bool TSettings::*member;
};
struct TypedEquation {};
// A field of several lines: each value adds a line to its text.
struct LinesSetting {
    std::string TSettings::*member;
};
using SettingRef =
    std::variant<TextSetting, SpinSetting, ListSetting, CheckSetting, TypedEquation, LinesSetting>;

struct FieldRow {
    std::string_view name;
    std::string_view argNames;  // one name per value, for the help text and the error messages
    ArgumentRule rule;
    std::string help;
    OptionGroup group;
    // The settings it sets, in the order of its values; a check box takes no value.
    std::vector<SettingRef> settings;
    // What a check box option sets its box to.
    bool checks = false;
};

// One handler per kind of setting, for std::visit.
template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

// Every row, in the order --help lists them.
std::span<const FieldRow> FieldTable();
// The row of an option; raises for a name that is none.
const FieldRow& FieldRowOf(std::string_view option);

}  // namespace metopt::app
