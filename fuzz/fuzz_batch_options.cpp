// The batch command line: the fuzz input is split into arguments at NUL bytes, as the program
// receives them. ParseBatchArguments either accepts them or returns a usage error (the program
// then exits with status 2) whose message names what is wrong: an option given on the command
// line, or the stray argument itself. What it accepts needs --batch for any step or palette, and
// every step it returns is an option given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batchoptions.h"
#include "fuzz_check.h"

using metopt::cli::ParseBatchArguments;
using metopt::fuzz::Expect;
using metopt::fuzz::Printable;

namespace {

std::vector<std::string> SplitAtNul(std::string_view input) {
    std::vector<std::string> args;
    if (input.empty())
        return args;
    for (;;) {
        const std::size_t end = input.find('\0');
        args.emplace_back(input.substr(0, end));
        if (end == std::string_view::npos)
            return args;
        input.remove_prefix(end + 1);
    }
}

bool IsOptionWord(const std::string& word) {
    return word.size() >= 3 && word.starts_with("--");
}

// "--name" of an option word ("--x0=1" gives "--x0").
std::string OptionOf(const std::string& word) {
    return word.substr(0, word.find('='));
}

bool StartsWithName(const std::string& message, const std::string& name) {
    if (!message.starts_with(name))
        return false;
    // The name must end there: "--map" does not name "--map-size".
    return message.size() == name.size() || message[name.size()] == ' ' ||
           message[name.size()] == ':';
}

// The message names one of the arguments: "unexpected argument 'W'..." for a word W that is not
// an option, "unknown option --N" for an option word --N, or else it begins with an option name
// given on the command line.
bool NamesAnArgument(const std::string& message, const std::vector<std::string>& args) {
    for (const std::string& word : args) {
        if (!IsOptionWord(word)) {
            if (message.starts_with("unexpected argument '" + word + "'"))
                return true;
            continue;
        }
        const std::string option = OptionOf(word);
        if (message == "unknown option " + option || StartsWithName(message, option))
            return true;
    }
    return false;
}

std::string Shown(const std::vector<std::string>& args) {
    std::string text;
    for (const std::string& word : args)
        text += (text.empty() ? "[" : ", [") + Printable(word, 40) + "]";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> args =
        SplitAtNul(std::string_view(reinterpret_cast<const char*>(data), size));
    const metopt::cli::BatchParse parse = ParseBatchArguments(args);
    if (parse.error) {
        const std::string& message = parse.error->message;
        Expect(NamesAnArgument(message, args),
               "usage error '" + Printable(message) + "' names no argument of " + Shown(args));
        return 0;
    }
    const metopt::cli::BatchCommand& command = parse.command;
    Expect(command.batch || (command.steps.empty() && !command.palette),
           "steps accepted without --batch from " + Shown(args));
    for (const metopt::cli::BatchStep& step : command.steps) {
        bool given = false;
        for (const std::string& word : args)
            given = given || (IsOptionWord(word) && OptionOf(word) == "--" + step.option);
        Expect(given, "step --" + Printable(step.option) + " not given in " + Shown(args));
    }
    return 0;
}
