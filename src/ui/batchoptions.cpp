#include "ui/batchoptions.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace metopt::ui {

namespace {

// An argument is either free text (typed into a field as it stands) or a whole number in a range.
// Deliberate: see docs/behaviour.md, "Lenient numbers".
struct ArgumentRule {
    bool integer = false;
    long minValue = 0;
    long maxValue = 0;
};

struct OptionInfo {
    std::string_view name;
    std::string_view argNames;  // for the usage text and the error messages
    int argCount;
    ArgumentRule rule;
    std::string_view help;
};

constexpr ArgumentRule Text{};
constexpr ArgumentRule Whole(long lo, long hi) {
    return ArgumentRule{true, lo, hi};
}

// A map needs at least two sampled columns and rows inside the one-pixel frame.
constexpr int MinAreaSide = 4;
constexpr int MaxAreaSide = 10000;

const OptionInfo Options[] = {
    {"batch", "", 0, Text, "required for every option below but --help and --version"},
    {"function", "N", 1, Whole(0, 2), "select item N of the equation list"},
    {"x0", "TEXT", 1, Text, "start point x0"},
    {"y0", "TEXT", 1, Text, "start point y0"},
    {"eps", "TEXT", 1, Text, "accuracy eps"},
    {"step", "TEXT", 1, Text, "scan step h_step"},
    {"radius", "TEXT", 1, Text, "radius Uoo of the domain"},
    {"region", "XB XE YB YE", 4, Text, "the visible region"},
    {"centre", "XC YC", 2, Text, "where the axes cross"},
    {"ticks", "XS YS", 2, Text, "steps of the numbers and of the big grid"},
    {"subgrid", "NX NY", 2, Text, "small-grid segments per big step"},
    {"size", "W H", 2, Whole(MinAreaSide, MaxAreaSide),
     "size of the drawing area in pixels (448 412)"},
    {"fill", "N", 1, Whole(0, 1), "fill method: 0 ten-colour map, 1 gradient"},
    {"colors", "N", 1, Whole(2, 255), "colours of the gradient fill"},
    {"levels", "N", 1, Whole(0, 1), "level-line method: 0 map analysis, 1 threshold"},
    {"level-step", "TEXT", 1, Text, "step of the threshold level lines"},
    {"level-width", "TEXT", 1, Text, "width of the threshold level lines"},
    {"transparent", "", 0, Text, "level lines over the map"},
    {"no-small-grid", "", 0, Text, "leave out the small grid"},
    {"no-big-grid", "", 0, Text, "leave out the big grid"},
    {"no-axes", "", 0, Text, "leave out the axes"},
    {"no-numbers", "", 0, Text, "leave out the numbers"},
    {"palette", "FILE", 1, Text, "load this palette instead of Palitr10.dat"},
    {"map", "", 0, Text, "press \"Отобразить график\""},
    {"level-lines", "", 0, Text, "press \"Построить линии уровня\""},
    {"grid", "", 0, Text, "press \"Натянуть сетку\""},
    {"descent", "", 0, Text, "press \"Начать итерации\" and draw the whole trace"},
    {"picture", "FILE.png", 1, Text, "write the drawing area as last saved"},
    {"report", "FILE", 1, Text, "write the report page's text (- for standard output)"},
    {"trace-csv", "FILE", 1, Text, "write the trace as k,x,y,z (- for standard output)"},
    {"help", "", 0, Text, "print this text"},
    {"version", "", 0, Text, "print the version"},
};

const OptionInfo* FindOption(std::string_view name) {
    for (const auto& option : Options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

std::string Describe(const OptionInfo& option) {
    std::string text = "--" + std::string(option.name);
    if (option.argCount > 0)
        text += " " + std::string(option.argNames);
    return text;
}

bool IsWholeInRange(const std::string& text, const ArgumentRule& rule) {
    if (text.empty() || text.size() > 9)
        return false;
    std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return value >= rule.minValue && value <= rule.maxValue;
}

std::string RuleText(const ArgumentRule& rule) {
    return "a whole number from " + std::to_string(rule.minValue) + " to " +
           std::to_string(rule.maxValue);
}

BatchParse Fail(BatchParse parse, std::string message) {
    parse.error = BatchUsageError{std::move(message)};
    return parse;
}

}  // namespace

BatchParse ParseBatchArguments(const std::vector<std::string>& args) {
    BatchParse parse;
    BatchCommand& command = parse.command;
    std::string firstNeedingBatch;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
            return Fail(std::move(parse),
                        "unexpected argument '" + word + "'; options begin with --");
        }
        std::string name = word.substr(2);
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptionInfo* option = FindOption(name);
        if (option == nullptr)
            return Fail(std::move(parse), "unknown option --" + name);
        if (inlineValue && option->argCount != 1) {
            return Fail(std::move(parse),
                        Describe(*option) + ": '=' is only for options of one value");
        }

        BatchStep step{name, {}};
        if (inlineValue) {
            step.args.push_back(*inlineValue);
        } else {
            if (args.size() - 1 - i < static_cast<std::size_t>(option->argCount)) {
                return Fail(std::move(parse), Describe(*option) + ": takes " +
                                                  std::to_string(option->argCount) + " value" +
                                                  (option->argCount > 1 ? "s" : ""));
            }
            for (int k = 1; k <= option->argCount; ++k)
                step.args.push_back(args[i + k]);
            i += option->argCount;
        }
        if (option->rule.integer) {
            for (const auto& value : step.args) {
                if (!IsWholeInRange(value, option->rule)) {
                    return Fail(std::move(parse), Describe(*option) + ": '" + value + "' is not " +
                                                      RuleText(option->rule));
                }
            }
        }

        if (name == "batch") {
            command.batch = true;
        } else if (name == "help") {
            command.help = true;
        } else if (name == "version") {
            command.version = true;
        } else {
            if (firstNeedingBatch.empty())
                firstNeedingBatch = "--" + name;
            if (name == "palette") {
                command.palette = step.args[0];
            } else {
                command.steps.push_back(std::move(step));
            }
        }
    }
    if (!command.batch && !firstNeedingBatch.empty()) {
        return Fail(std::move(parse), firstNeedingBatch + " needs --batch");
    }
    return parse;
}

std::string BatchUsage() {
    std::string text =
        "Usage: metopt                      the window\n"
        "       metopt --batch [OPTION]...  the same window off-screen: set fields, press "
        "buttons,\n"
        "                                   write files, in the order given, then exit\n\n"
        "Options (a value may also be given as --option=VALUE):\n";
    for (const auto& option : Options) {
        std::string line = "  " + Describe(option);
        line.resize(std::max<std::size_t>(line.size() + 2, 28), ' ');
        text += line + std::string(option.help) + "\n";
    }
    text +=
        "\n--report and --trace-csv take \"-\" for standard output. Errors the window would show "
        "in\n"
        "its box are printed as \"metopt: <text>\". Exit status: 0 when no error was reported, 1\n"
        "when one was, 2 for a bad command line.\n";
    return text;
}

}  // namespace metopt::ui
