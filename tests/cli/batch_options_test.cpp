// Batch mode's command line: the parser, the option table and what each command needs of Qt.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "cli/batch.h"
#include "cli/batchminimize1d.h"
#include "cli/batchoptions.h"

namespace {

using metopt::cli::BatchCommand;
using metopt::cli::BatchOption;
using metopt::cli::ParseBatchArguments;

// --- Command line ---

struct ParseCase {
    const char* name;
    std::vector<std::string> args;
    const char* error;  // nullptr: parses
};

void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << c.name;
}

class BatchParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(BatchParseTest, AcceptsOrNamesTheFault) {
    const ParseCase& c = GetParam();
    const auto parse = ParseBatchArguments(c.args);
    if (c.error == nullptr) {
        EXPECT_FALSE(parse.error.has_value()) << parse.error->message;
    } else {
        ASSERT_TRUE(parse.error.has_value());
        EXPECT_EQ(parse.error->message, c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchParseTest,
    ::testing::Values(
        ParseCase{"NegativeValueAfterTheOption", {"--batch", "--x0", "-30.0"}, nullptr},
        ParseCase{"ValueAfterEquals", {"--batch", "--x0=-30.0"}, nullptr},
        ParseCase{"HelpAlone", {"--help"}, nullptr},
        ParseCase{"UnknownOption", {"--batch", "--colour", "3"}, "unknown option --colour"},
        ParseCase{
            "BareWord", {"--batch", "map"}, "unexpected argument 'map'; options begin with --"},
        ParseCase{"MissingValue", {"--batch", "--x0"}, "--x0 TEXT: takes 1 value"},
        ParseCase{"TooFewValues",
                  {"--batch", "--region", "1", "2", "3"},
                  "--region XB XE YB YE: takes 4 values"},
        ParseCase{"FunctionOutOfRange",
                  {"--batch", "--function", "10"},
                  "--function N: '10' is not a whole number from 0 to 9"},
        ParseCase{"ClassicFunction", {"--batch", "--function", "9"}, nullptr},
        ParseCase{"Formula", {"--batch", "--formula", "x^2+y, r=1"}, nullptr},
        ParseCase{"FormulaMissing", {"--batch", "--formula"}, "--formula TEXT: takes 1 value"},
        ParseCase{"SizeNotANumber",
                  {"--batch", "--size", "wide", "100"},
                  "--size W H: 'wide' is not a whole number from 4 to 10000"},
        ParseCase{
            "EqualsOnAFlag", {"--batch", "--map=1"}, "--map: '=' is only for options of one value"},
        ParseCase{"OptionWithoutBatch", {"--map"}, "--map needs --batch"}),
    [](const auto& row) { return std::string(row.param.name); });

// The one-dimensional lab: --minimize-1d with its interval, and nothing of the window's work.
std::vector<std::string> Lab(std::vector<std::string> more) {
    std::vector<std::string> args = {"--batch", "--minimize-1d", "(x-2)^2"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

INSTANTIATE_TEST_SUITE_P(
    Minimize1D, BatchParseTest,
    ::testing::Values(
        ParseCase{"IntervalAlone", Lab({"--interval", "0", "5"}), nullptr},
        ParseCase{"EveryOptionOfTheLab",
                  Lab({"--methods-1d", "brent,golden", "--eps", "1e-3", "--interval", "-5", "+.5e1",
                       "--report", "-", "--picture", "f.png", "--count-chart", "c.csv"}),
                  nullptr},
        ParseCase{
            "IntervalFirst", {"--batch", "--interval", "0", "5.", "--minimize-1d", "t"}, nullptr},
        ParseCase{"NoInterval", Lab({"--report", "-"}), "--minimize-1d needs --interval A B"},
        ParseCase{"IntervalWithoutTheLab",
                  {"--batch", "--interval", "0", "5"},
                  "--interval needs --minimize-1d"},
        ParseCase{"CountChartWithoutTheLab",
                  {"--batch", "--descent", "--count-chart", "c.csv"},
                  "--count-chart needs --minimize-1d"},
        ParseCase{"LabWithoutBatch",
                  {"--minimize-1d", "x", "--interval", "0", "1"},
                  "--minimize-1d needs --batch"},
        ParseCase{"WithADescent", Lab({"--interval", "0", "5", "--descent"}),
                  "--minimize-1d cannot be combined with --descent"},
        ParseCase{"WithAStart", Lab({"--x0", "1", "--interval", "0", "5"}),
                  "--minimize-1d cannot be combined with --x0"},
        ParseCase{"WithAPalette", Lab({"--interval", "0", "5", "--palette", "p.dat"}),
                  "--minimize-1d cannot be combined with --palette"},
        ParseCase{"WithALab", Lab({"--interval", "0", "5", "--lab", "a.metopt"}),
                  "--minimize-1d cannot be combined with --lab"},
        ParseCase{"IntervalOfAWord", Lab({"--interval", "0", "five"}),
                  "--interval A B: 'five' is not a number"},
        ParseCase{"IntervalWithAComma", Lab({"--interval", "0,5", "1"}),
                  "--interval A B: '0,5' is not a number"},
        ParseCase{"IntervalOfAPoint", Lab({"--interval", ".", "1"}),
                  "--interval A B: '.' is not a number"},
        ParseCase{"ExponentWithoutDigits", Lab({"--interval", "0", "1e+"}),
                  "--interval A B: '1e+' is not a number"},
        ParseCase{"IntervalWithABlank", Lab({"--interval", " 0", "1"}),
                  "--interval A B: ' 0' is not a number"},
        ParseCase{"InexactMethod", Lab({"--interval", "0", "1", "--methods-1d", "golden,armijo"}),
                  "--methods-1d LIST: 'golden,armijo' is not golden, dichotomy, fibonacci, "
                  "parabolic or brent "
                  "separated by commas (each once), or all"},
        ParseCase{"MethodTwice", Lab({"--interval", "0", "1", "--methods-1d", "golden,golden"}),
                  "--methods-1d LIST: 'golden,golden' is not golden, dichotomy, fibonacci, "
                  "parabolic or brent "
                  "separated by commas (each once), or all"},
        ParseCase{
            "EmptyMethod", Lab({"--interval", "0", "1", "--methods-1d", "golden,"}),
            "--methods-1d LIST: 'golden,' is not golden, dichotomy, fibonacci, parabolic or brent "
            "separated by commas (each once), or all"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BatchParse, KeepsTheStepsInTheOrderGivenAndThePaletteApart) {
    const auto parse = ParseBatchArguments(
        {"--grid", "--palette", "p.dat", "--batch", "--region", "-2", "2", "-1", "1", "--map"});
    ASSERT_FALSE(parse.error.has_value());
    ASSERT_EQ(parse.command.palette, "p.dat");
    ASSERT_EQ(parse.command.steps.size(), 3u);
    EXPECT_EQ(parse.command.steps[0].option, "grid");
    EXPECT_EQ(parse.command.steps[1].option, "region");
    EXPECT_EQ(parse.command.steps[1].args, (std::vector<std::string>{"-2", "2", "-1", "1"}));
    EXPECT_EQ(parse.command.steps[2].option, "map");
}

// --- The option table ---

// Every option parses with values its check accepts, is listed by --help and does something: sets
// a switch, names the palette or the lab file, sets the window's fields of its name or runs a step
// of its own.
TEST(BatchOptions, EveryOptionParsesIsListedAndActs) {
    const std::string usage = metopt::cli::BatchUsage();
    std::set<std::string> names;
    for (const BatchOption& option : metopt::cli::BatchOptions()) {
        const std::string name(option.name);
        SCOPED_TRACE(name);
        EXPECT_TRUE(names.insert(name).second) << "two options --" << name;
        std::vector<std::string> args = {"--batch", "--" + name};
        for (int k = 0; k < option.ArgCount(); ++k)
            args.push_back(option.rule.integer         ? std::to_string(option.rule.minValue)
                           : option.rule.words.empty() ? "1"
                                                       : std::string(option.rule.words.back()));
        // The lab's options stand beside --minimize-1d and its interval; its list of methods is
        // checked after the parse.
        std::size_t companions = 0;
        if (metopt::cli::IsMinimize1DOption(name)) {
            if (name == "methods-1d")
                args.back() = "all";
            if (name != "minimize-1d")
                args.insert(args.end(), {"--minimize-1d", "x"});
            if (name != "interval")
                args.insert(args.end(), {"--interval", "0", "1"});
            companions = name == "interval" ? 0 : 1;
        }
        const auto parse = ParseBatchArguments(args);
        ASSERT_FALSE(parse.error.has_value()) << parse.error->message;
        EXPECT_NE(usage.find("\n  --" + name + " "), std::string::npos);
        const BatchCommand& command = parse.command;
        if (const auto* flag = std::get_if<bool BatchCommand::*>(&option.effect)) {
            EXPECT_TRUE(command.*(*flag));
        } else if (const auto* file =
                       std::get_if<std::optional<std::string> BatchCommand::*>(&option.effect)) {
            EXPECT_EQ(command.*(*file), "1");
        } else {
            ASSERT_EQ(command.steps.size(), 1u + companions);
            EXPECT_EQ(command.steps[0].option, name);
            EXPECT_TRUE(command.steps[0].run);
            EXPECT_EQ(command.steps[0].args.size(), static_cast<std::size_t>(option.ArgCount()));
        }
    }
}

// Only the pictures of the charts need Qt's widgets; every other command line runs on a
// QGuiApplication, with no widget made.
TEST(BatchApplication, OnlyTheChartsPicturesNeedWidgets) {
    const struct {
        std::vector<std::string> args;
        bool widgets;
    } cases[] = {
        {{"--batch", "--map", "--level-lines", "--grid", "--descent", "--picture", "a.png"}, false},
        {{"--batch", "--compare", "all", "--animation", "a.gif", "--comparison", "-"}, false},
        {{"--batch", "--compare", "0,4", "--convergence", "c.csv"}, false},
        {{"--batch", "--compare", "0,4", "--convergence", "c.png"}, true},
        {{"--batch", "--descent", "--convergence", "chart"}, true},
        // The one-dimensional lab's charts are widgets too; its CSV and table are not.
        {Lab({"--interval", "0", "1", "--report", "-", "--count-chart", "c.csv"}), false},
        {Lab({"--interval", "0", "1", "--count-chart", "c.png"}), true},
        {Lab({"--interval", "0", "1", "--picture", "f.png"}), true},
    };
    for (const auto& c : cases) {
        const auto parse = ParseBatchArguments(c.args);
        ASSERT_FALSE(parse.error.has_value());
        EXPECT_EQ(metopt::cli::NeedsWidgets(parse.command), c.widgets) << c.args.back();
    }
}

}  // namespace
