#pragma once
// The command line of batch mode: what to set, which buttons to press and what to write, in the
// order given. One table of options gives the parser, the help text and what each option does.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/fieldtable.h"

namespace metopt::app {
class WindowCommands;
}

namespace metopt::cli {

using app::WindowCommands;

// What an option does to the window, with its values.
using WindowStep = std::function<void(WindowCommands&, const std::vector<std::string>&)>;

struct BatchStep {
    std::string option;             // the option's name without the dashes ("x0", "map", ...)
    std::vector<std::string> args;  // its arguments, as given
    WindowStep run;                 // what the option does with them
};

struct BatchCommand {
    bool batch = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> palette;  // --palette FILE: loaded instead of Palitr10.dat
    std::optional<std::string> lab;      // --lab FILE: applied before the other options
    std::vector<BatchStep> steps;        // every other option, in the order given
    // --minimize-1d FORMULA: the one-dimensional lab instead of the window's work.
    std::optional<std::string> minimize1d;
};

using app::ArgumentRule;
using app::OneOf;
using app::OptionGroup;
using app::WholeList;
using app::WholeRange;

// The numbers of a list that WholeList accepts ("all": every number of the range).
std::vector<int> ListedNumbers(const std::string& text, long minValue, long maxValue);

// The option's values go into the window's fields of the same option (see windowfields.h).
struct SetsItsFields {};

// An option sets a switch of the command line, names the palette file, sets the window's fields
// of its name, or does a step of its own on the window.
using OptionEffect = std::variant<bool BatchCommand::*, std::optional<std::string> BatchCommand::*,
                                  SetsItsFields, WindowStep>;

struct BatchOption {
    std::string_view name;
    std::string_view argNames;  // one name per value, for the help text and the error messages
    ArgumentRule rule;
    std::string help;
    OptionEffect effect;

    // As many values as argNames names.
    int ArgCount() const;
};

// Every option, in the order --help lists them.
std::span<const BatchOption> BatchOptions();
// The option of that name, or nullptr.
const BatchOption* FindOption(std::string_view name);
// "--name VALUES", as the help and the errors name an option.
std::string Describe(const BatchOption& option);

// A command line that cannot be run: the message names the option and what it takes.
struct BatchUsageError {
    std::string message;
};

// Parses the arguments after the program name. "--name=value" and "--name value" both give the
// value; a value may begin with '-' ("--x0 -30.0"). Returns the error for an unknown option, a
// missing or malformed argument, or an option given without --batch.
struct BatchParse {
    BatchCommand command;
    std::optional<BatchUsageError> error;
};
BatchParse ParseBatchArguments(const std::vector<std::string>& args);

// Whether --convergence FILE writes the chart's data (a .csv name) rather than its picture.
bool WritesCsv(const std::string& file);

// The text --help prints.
std::string BatchUsage();

}  // namespace metopt::cli
