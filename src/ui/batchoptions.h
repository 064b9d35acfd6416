#pragma once
// The command line of batch mode: what to set, which buttons to press and what to write, in the
// order given.
#include <optional>
#include <string>
#include <vector>

namespace metopt::ui {

struct BatchStep {
    std::string option;             // the option's name without the dashes ("x0", "map", ...)
    std::vector<std::string> args;  // its arguments, as given
};

struct BatchCommand {
    bool batch = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> palette;  // --palette FILE: loaded instead of Palitr10.dat
    std::vector<BatchStep> steps;        // every other option, in the order given
};

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

// The text --help prints.
std::string BatchUsage();

}  // namespace metopt::ui
