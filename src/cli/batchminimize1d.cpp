#include "cli/batchminimize1d.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "app/minimize1d.h"
#include "app/minimize1dcharts.h"
#include "app/minimize1dreport.h"
#include "core/runreport.h"
#include "platform/eventguard.h"
#include "platform/systemlocale.h"

namespace metopt::cli {

namespace {

// Only the lab takes these; of the others it takes --eps and the writing of its outputs.
constexpr std::array<std::string_view, 4> LabOptions = {"minimize-1d", "interval", "methods-1d",
                                                        "count-chart"};
constexpr std::array<std::string_view, 3> OutputOptions = {"report", "picture", "count-chart"};

bool Among(std::span<const std::string_view> names, const std::string& option) {
    return std::ranges::find(names, std::string_view(option)) != names.end();
}

bool TakenBesideTheLab(const std::string& option) {
    return option == "eps" || IsMinimize1DOption(option) || Among(OutputOptions, option);
}

std::string Named(std::string_view option) {
    return Describe(*FindOption(option));
}

std::optional<core::TLineSearch> IntervalMethodNamed(std::string_view word) {
    for (const core::TLineSearch method : core::IntervalMethods) {
        if (core::LineSearchWords[static_cast<int>(method)] == word)
            return method;
    }
    return std::nullopt;
}

// The methods of a --methods-1d list in its order, or nothing when a word is none of them or
// names one twice.
std::optional<std::vector<core::TLineSearch>> ListedMethods(const std::string& text) {
    if (text == "all")
        return std::vector(std::begin(core::IntervalMethods), std::end(core::IntervalMethods));
    std::vector<core::TLineSearch> methods;
    for (std::size_t from = 0;;) {
        const std::size_t comma = text.find(',', from);
        const auto method = IntervalMethodNamed(std::string_view(text).substr(from, comma - from));
        if (!method || std::ranges::find(methods, *method) != methods.end())
            return std::nullopt;
        methods.push_back(*method);
        if (comma == std::string::npos)
            return methods;
        from = comma + 1;
    }
}

std::size_t DigitsFrom(const std::string& text, std::size_t i) {
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    return i;
}

// A decimal number as a whole: a sign, digits with a point among or after them (or before at
// least one), an exponent with its digits.
bool IsNumber(const std::string& text) {
    std::size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const std::size_t whole = DigitsFrom(text, i);
    std::size_t end = whole;
    if (end < text.size() && text[end] == '.')
        end = DigitsFrom(text, end + 1);
    if (end - i == (end > whole ? 1u : 0u))
        return false;  // no digit
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+'))
            ++exponent;
        end = DigitsFrom(text, exponent);
        if (end == exponent)
            return false;
    }
    return end == text.size();
}

std::optional<std::string> CheckValues(const BatchStep& step) {
    if (step.option == "interval") {
        for (const std::string& value : step.args) {
            if (!IsNumber(value))
                return Named(step.option) + ": '" + value + "' is not a number";
        }
    }
    if (step.option == "methods-1d" && !ListedMethods(step.args[0])) {
        return Named(step.option) + ": '" + step.args[0] +
               "' is not golden, dichotomy, fibonacci, parabolic or brent separated by commas "
               "(each once), or all";
    }
    return std::nullopt;
}

// The last step of the option, or nullptr.
const BatchStep* LastStep(const BatchCommand& command, std::string_view option) {
    const BatchStep* last = nullptr;
    for (const BatchStep& step : command.steps) {
        if (step.option == option)
            last = &step;
    }
    return last;
}

app::TMinimize1DFields FieldsOf(const BatchCommand& command) {
    app::TMinimize1DFields fields;
    fields.formula = *command.minimize1d;
    const BatchStep& interval = *LastStep(command, "interval");
    fields.a = interval.args[0];
    fields.b = interval.args[1];
    const BatchStep* eps = LastStep(command, "eps");
    fields.eps = eps ? eps->args[0] : core::DescentFields{}.eps;
    const BatchStep* methods = LastStep(command, "methods-1d");
    fields.methods = *ListedMethods(methods ? methods->args[0] : "all");
    return fields;
}

void Write(const app::TMinimize1D& lab, const BatchStep& step) {
    const std::string& file = step.args[0];
    if (step.option == "report")
        app::WriteMinimize1DReport(lab, file);
    else if (step.option == "picture")
        app::WriteFunctionPicture(lab, file);
    else if (WritesCsv(file))
        app::WriteCountsCsv(lab, file);
    else
        app::WriteCountsPicture(lab, file);
}

}  // namespace

bool IsMinimize1DOption(const std::string& option) {
    return Among(LabOptions, option);
}

std::optional<std::string> CheckMinimize1D(const BatchCommand& command) {
    if (!command.minimize1d) {
        for (const BatchStep& step : command.steps) {
            if (IsMinimize1DOption(step.option))
                return "--" + step.option + " needs --minimize-1d";
        }
        return std::nullopt;
    }
    const std::string refused = "--minimize-1d cannot be combined with ";
    if (command.palette)
        return refused + "--palette";
    if (command.lab)
        return refused + "--lab";
    for (const BatchStep& step : command.steps) {
        if (!TakenBesideTheLab(step.option))
            return refused + "--" + step.option;
        if (auto error = CheckValues(step))
            return error;
    }
    if (!LastStep(command, "interval"))
        return "--minimize-1d needs " + Named("interval");
    return std::nullopt;
}

bool DrawsMinimize1DChart(const BatchStep& step) {
    return step.option == "picture" || (step.option == "count-chart" && !WritesCsv(step.args[0]));
}

void RunMinimize1D(const BatchCommand& command) {
    // The numbers as the window and the runs' reports write them in this locale.
    platform::ApplySystemDecimalSeparator();
    std::optional<app::TMinimize1D> lab;
    platform::RunEvent([&] { lab = app::RunMinimize1D(FieldsOf(command)); });
    if (!lab)
        return;
    for (const BatchStep& step : command.steps) {
        if (Among(OutputOptions, step.option))
            platform::RunEvent([&] { Write(*lab, step); });
    }
}

}  // namespace metopt::cli
