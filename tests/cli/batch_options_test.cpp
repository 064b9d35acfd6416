// Batch mode's command line: the parser, the option table and what each command needs of Qt.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "cli/batch.h"
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
            ASSERT_EQ(command.steps.size(), 1u);
            EXPECT_TRUE(command.steps[0].run);
            EXPECT_EQ(command.steps[0].args.size(), static_cast<std::size_t>(option.ArgCount()));
        }
    }
}

// Only the convergence chart's picture needs Qt's widgets; every other command line runs on a
// QGuiApplication, with no widget made.
TEST(BatchApplication, OnlyTheConvergencePictureNeedsWidgets) {
    const struct {
        std::vector<std::string> args;
        bool widgets;
    } cases[] = {
        {{"--batch", "--map", "--level-lines", "--grid", "--descent", "--picture", "a.png"}, false},
        {{"--batch", "--compare", "all", "--animation", "a.gif", "--comparison", "-"}, false},
        {{"--batch", "--compare", "0,4", "--convergence", "c.csv"}, false},
        {{"--batch", "--compare", "0,4", "--convergence", "c.png"}, true},
        {{"--batch", "--descent", "--convergence", "chart"}, true},
    };
    for (const auto& c : cases) {
        const auto parse = ParseBatchArguments(c.args);
        ASSERT_FALSE(parse.error.has_value());
        EXPECT_EQ(metopt::cli::NeedsWidgets(parse.command), c.widgets) << c.args.back();
    }
}

}  // namespace
