#include "cli/batchoptions.h"

#include <algorithm>
#include <cstdlib>

#include "app/windowcommands.h"
#include "cli/batchminimize1d.h"
#include "core/methods/method.h"

namespace metopt::cli {

int BatchOption::ArgCount() const {
    int count = 0;
    bool inWord = false;
    for (const char c : argNames) {
        count += !inWord && c != ' ' ? 1 : 0;
        inWord = c != ' ';
    }
    return count;
}

const BatchOption* FindOption(std::string_view name) {
    for (const BatchOption& option : BatchOptions()) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

std::string Describe(const BatchOption& option) {
    std::string text = "--" + std::string(option.name);
    if (option.ArgCount() > 0)
        text += " " + std::string(option.argNames);
    return text;
}

namespace {

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

bool IsWholeList(const std::string& text, const ArgumentRule& rule) {
    if (text == "all")
        return true;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        if (!IsWholeInRange(text.substr(from, comma - from), rule))
            return false;
        if (comma == std::string::npos)
            return true;
        from = comma + 1;
    }
}

bool IsOneOf(const std::string& text, const ArgumentRule& rule) {
    return std::ranges::find(rule.words, std::string_view(text)) != rule.words.end();
}

std::string RuleText(const ArgumentRule& rule) {
    if (rule.list) {
        return "whole numbers from " + std::to_string(rule.minValue) + " to " +
               std::to_string(rule.maxValue) + " separated by commas, or all";
    }
    if (!rule.words.empty()) {
        std::string text = "one of";
        for (std::size_t i = 0; i < rule.words.size(); ++i)
            text += (i == 0 ? " " : ", ") + std::string(rule.words[i]);
        return text;
    }
    return "a whole number from " + std::to_string(rule.minValue) + " to " +
           std::to_string(rule.maxValue);
}

// One option word and its values as read from the command line, or what is wrong with them.
struct OptionRead {
    const BatchOption* option = nullptr;
    BatchStep step;
    std::optional<std::string> error;
};

OptionRead Refused(std::string message) {
    OptionRead read;
    read.error = std::move(message);
    return read;
}

// The values of the option at args[i]: after '=' in the word, or the words that follow it (then
// i moves past them).
std::optional<std::string> TakeValues(const std::vector<std::string>& args, std::size_t& i,
                                      const std::optional<std::string>& inlineValue,
                                      OptionRead& read) {
    const BatchOption& option = *read.option;
    const int count = option.ArgCount();
    if (inlineValue && count != 1)
        return Describe(option) + ": '=' is only for options of one value";
    if (inlineValue) {
        read.step.args.push_back(*inlineValue);
        return std::nullopt;
    }
    const auto wanted = static_cast<std::size_t>(count);  // ArgCount() is never negative
    if (args.size() - 1 - i < wanted) {
        return Describe(option) + ": takes " + std::to_string(count) + " value" +
               (count > 1 ? "s" : "");
    }
    for (std::size_t k = 1; k <= wanted; ++k)
        read.step.args.push_back(args[i + k]);
    i += wanted;
    return std::nullopt;
}

std::optional<std::string> CheckValues(const OptionRead& read) {
    const ArgumentRule& rule = read.option->rule;
    if (!rule.integer && rule.words.empty() && !rule.list)
        return std::nullopt;
    for (const auto& value : read.step.args) {
        const bool fits = rule.integer ? IsWholeInRange(value, rule)
                          : rule.list  ? IsWholeList(value, rule)
                                       : IsOneOf(value, rule);
        if (!fits)
            return Describe(*read.option) + ": '" + value + "' is not " + RuleText(rule);
    }
    return std::nullopt;
}

OptionRead ReadOption(const std::vector<std::string>& args, std::size_t& i) {
    const std::string& word = args[i];
    if (word.size() < 3 || word.compare(0, 2, "--") != 0)
        return Refused("unexpected argument '" + word + "'; options begin with --");
    OptionRead read;
    read.step.option = word.substr(2);
    std::optional<std::string> inlineValue;
    if (const auto eq = read.step.option.find('='); eq != std::string::npos) {
        inlineValue = read.step.option.substr(eq + 1);
        read.step.option.resize(eq);
    }
    read.option = FindOption(read.step.option);
    if (read.option == nullptr)
        return Refused("unknown option --" + read.step.option);
    if (auto error = TakeValues(args, i, inlineValue, read))
        return Refused(std::move(*error));
    if (auto error = CheckValues(read))
        return Refused(std::move(*error));
    return read;
}

// What the option does to the command; true when it needs --batch.
bool Apply(const BatchOption& option, BatchStep step, BatchCommand& command) {
    if (const auto* flag = std::get_if<bool BatchCommand::*>(&option.effect)) {
        command.*(*flag) = true;
        return false;
    }
    if (const auto* file =
            std::get_if<std::optional<std::string> BatchCommand::*>(&option.effect)) {
        command.*(*file) = step.args[0];
        return true;
    }
    if (const auto* own = std::get_if<WindowStep>(&option.effect)) {
        step.run = *own;
    } else {
        step.run = [name = option.name](WindowCommands& window, const auto& values) {
            window.SetOptionFields(name, values);
        };
    }
    command.steps.push_back(std::move(step));
    return true;
}

std::string MethodList() {
    std::string text;
    for (int i = 0; i < core::MethodCount; ++i)
        text += (i < 10 ? "   " : "  ") + std::to_string(i) + "  " + core::MethodCaptions[i] + "\n";
    return text;
}

BatchParse Fail(BatchParse parse, std::string message) {
    parse.error = BatchUsageError{std::move(message)};
    return parse;
}

}  // namespace

bool WritesCsv(const std::string& file) {
    return file.size() >= 4 && file.compare(file.size() - 4, 4, ".csv") == 0;
}

std::vector<int> ListedNumbers(const std::string& text, long minValue, long maxValue) {
    std::vector<int> numbers;
    if (text == "all") {
        for (long n = minValue; n <= maxValue; ++n)
            numbers.push_back(static_cast<int>(n));
        return numbers;
    }
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        numbers.push_back(std::stoi(text.substr(from, comma - from)));
        if (comma == std::string::npos)
            return numbers;
        from = comma + 1;
    }
}

BatchParse ParseBatchArguments(const std::vector<std::string>& args) {
    BatchParse parse;
    std::string firstNeedingBatch;
    for (std::size_t i = 0; i < args.size(); ++i) {
        OptionRead read = ReadOption(args, i);
        if (read.error)
            return Fail(std::move(parse), std::move(*read.error));
        const std::string given = "--" + read.step.option;
        if (Apply(*read.option, std::move(read.step), parse.command) && firstNeedingBatch.empty())
            firstNeedingBatch = given;
    }
    if (!parse.command.batch && !firstNeedingBatch.empty())
        return Fail(std::move(parse), firstNeedingBatch + " needs --batch");
    if (auto error = CheckMinimize1D(parse.command))
        return Fail(std::move(parse), std::move(*error));
    return parse;
}

std::string BatchUsage() {
    std::string text =
        "Usage: metopt                      the window\n"
        "       metopt --batch [OPTION]...  the same window off-screen: set fields, press "
        "buttons,\n"
        "                                   write files, in the order given, then exit\n\n"
        "Options (a value may also be given as --option=VALUE):\n";
    for (const BatchOption& option : BatchOptions()) {
        std::string line = "  " + Describe(option);
        line.resize(std::max<std::size_t>(line.size() + 2, 28), ' ');
        text += line + std::string(option.help) + "\n";
    }
    text +=
        "\n--report and --trace-csv take \"-\" for standard output. Errors the window would show "
        "in\n"
        "its box are printed as \"metopt: <text>\". Exit status: 0 when no error was reported, 1\n"
        "when one was, 2 for a bad command line. A map of a typed function that is undefined in\n"
        "part of the region leaves those pixels in the background colour and prints a note.\n"
        "\n--method N chooses item N of the method list:\n" +
        MethodList() +
        "Every method reads eps, h_step and Uoo. --stop-rule step stops a run when\n"
        "|x(k) - x(k-1)| < eps (the rule at start), gradient when |grad f(x(k))| < eps, value "
        "when\n"
        "|f(x(k)) - f(x(k-1))| < eps; Hooke-Jeeves and Nelder-Mead stop by their own size rule.\n"
        "\n--constraint adds a line to the field Ограничения: A <= B, A >= B or A = B (the\n"
        "formula language on both sides, definitions after a comma), at most 16. The map shows\n"
        "each boundary and dims (--hatch-infeasible: hatches) where an inequality fails.\n"
        "--constraint-method takes them into account in the runs: penalty F + r*sum max(0,g)^2 +\n"
        "r*sum h^2, log-barrier F - sum ln(-g)/r and inverse-barrier F - sum 1/(r*g) (the start\n"
        "strictly inside every inequality), lagrange (the method of multipliers); each outer\n"
        "iteration minimises that function with --method from the point before, r = r0*C^(k-1),\n"
        "until the largest violation and the outer step are below --outer-eps, at most 50.\n"
        "--trace-csv of such a run writes outer,k,x,y,z: each outer iteration's inner path.\n"
        "\nMethods 12..16 step with the learning rate --learning-rate: momentum v = beta*v + g,\n"
        "x = x - alpha*v; Nesterov the same with g at x - alpha*beta*v; AdaGrad, RMSProp (--rho)\n"
        "and Adam (--beta1, --beta2, --no-bias-correction) divide each component by the root of\n"
        "its mean square + 1e-8. --noise SIGMA adds N(0, SIGMA^2) to each gradient component that\n"
        "any method evaluates (the values reported are exact), from the generator seeded with\n"
        "--seed, so a run repeats. --step-vectors draws at each of their points an arrow along\n"
        "the antigradient (red) and one along the step (light blue).\n"
        "\n--animation stores pictures of up to 256 colours exactly; one with more (a gradient\n"
        "fill of many colours) is mapped to 256 colours, and a note says so.\n"
        "\n--minimize-1d runs the one-dimensional lab instead of the window: beside it only\n"
        "--interval (required), --methods-1d, --eps and the writing of --report, --picture (the\n"
        "function with every method's trial points, 800x500) and --count-chart are taken.\n";
    return text;
}

}  // namespace metopt::cli
