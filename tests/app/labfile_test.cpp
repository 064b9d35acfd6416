// Lab files: what is saved opens as the same settings; a key left out keeps its default, an
// unknown one is named and ignored; a bad value refuses the whole file with the key named.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "app/labfile.h"
#include "core/equationitems.h"
#include "support/expect_error.h"

namespace metopt::app {
namespace {

// Texts of every kind a field may hold: Cyrillic, quotes, backslashes, controls, blanks.
std::string RandomText(std::mt19937& random, bool lines = false) {
    static const std::vector<std::string> pieces = {
        "0.5",     "-30.0", "1e-7", "x^2+y^2",       " ",  "\"", "\\",    "{", "}", "ё",
        "Задание", "\t",    ",",    "sin(x)/x, r=1", "//", "é",  "\u00a0"};
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, 6)(random);
    for (int i = 0; i < count; ++i) {
        text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        if (lines && random() % 4 == 0)
            text += '\n';
    }
    return text;
}

TLab RandomLab(unsigned seed) {
    std::mt19937 random(seed);
    const auto in = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    TLab lab;
    TSettings& s = lab.settings;
    s.equationItem = in(-1, core::EquationItemCount - 1);
    s.equationText = s.equationItem < 0
                         ? RandomText(random)
                         : core::EquationItems()[static_cast<std::size_t>(s.equationItem)];
    s.method = in(-1, core::MethodCount - 1);
    s.fill = in(-1, 1);
    s.level = in(-1, 1);
    for (std::string TSettings::*text :
         {&TSettings::x0, &TSettings::y0, &TSettings::eps, &TSettings::step, &TSettings::radius,
          &TSettings::levelStep, &TSettings::levelWidth})
        s.*text = RandomText(random);
    for (const auto member : RegionFields)
        s.*member = RandomText(random);
    s.frameTime = in(FrameTimeRange.minValue, FrameTimeRange.maxValue);
    s.gradientColors = in(GradientColorsRange.minValue, GradientColorsRange.maxValue);
    for (bool TSettings::*box :
         {&TSettings::transparent, &TSettings::smallGrid, &TSettings::bigGrid, &TSettings::axes,
          &TSettings::numbers, &TSettings::startMarker})
        s.*box = in(0, 1) == 1;
    // The keys of the methods of machine learning, left at their start (and out of the file) as
    // often as not.
    for (std::string TSettings::*text :
         {&TSettings::learningRate, &TSettings::momentum, &TSettings::decay, &TSettings::beta1,
          &TSettings::beta2, &TSettings::noise, &TSettings::seed}) {
        if (in(0, 1) == 1)
            s.*text = RandomText(random);
    }
    for (bool TSettings::*box : {&TSettings::biasCorrection, &TSettings::stepVectors})
        s.*box = in(0, 1) == 1;
    s.stopRule = static_cast<core::TStopRule>(in(0, 2));
    s.lineSearch = static_cast<core::TLineSearch>(in(0, core::LineSearchCount - 1));
    s.compared.clear();
    for (int method = 0; method < core::MethodCount; ++method) {
        if (in(0, 2) == 0)
            s.compared.push_back(method);
    }
    lab.palette = RandomText(random);
    lab.title = RandomText(random);
    lab.task = RandomText(random, true);
    return lab;
}

TEST(LabFileTest, SavedSettingsOpenAsTheSame) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        const TLab lab = RandomLab(seed);
        const TLabRead read = ReadLab(LabText(lab));
        EXPECT_TRUE(read.lab == lab) << "seed " << seed << "\n" << LabText(lab);
        EXPECT_TRUE(read.unknownKeys.empty()) << "seed " << seed;
    }
}

TEST(LabFileTest, MissingKeysKeepTheDefaultsAndUnknownOnesAreNamed) {
    const TLabRead read = ReadLab(
        R"({"format": "metopt-lab", "version": 1, "method": "bfgs", "zoom": 2, "colour": 1})");
    TSettings expected;
    expected.method = 8;
    EXPECT_TRUE(read.lab.settings == expected);
    EXPECT_EQ(read.unknownKeys, (std::vector<std::string>{"colour", "zoom"}));
    EXPECT_EQ(UnknownKeysText(read.unknownKeys),
              "Файл работы: неизвестные ключи \"colour\", \"zoom\" пропущены");
    EXPECT_EQ(UnknownKeysText({"zoom"}), "Файл работы: неизвестный ключ \"zoom\" пропущен");
    EXPECT_EQ(UnknownKeysText({}), "");
}

struct RefusalCase {
    const char* name;
    const char* body;  // after the format and version, or the whole text when it has them
    const char* message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

const RefusalCase RefusalCases[] = {
    {"SyntaxError", "{\"format\": \"metopt-lab\",\n  \"version\": 1\n  \"задание\": 1}",
     "Файл работы: строка 3, столбец 3: unterminated object"},
    {"NotAnObject", "[1, 2]", "Файл работы: ожидается объект JSON"},
    {"NoFormat", "{\"version\": 1}", "Файл работы: ключ \"format\": ожидается \"metopt-lab\""},
    {"NewerVersion", "{\"format\": \"metopt-lab\", \"version\": 2}",
     "Файл работы: версия 2 не поддерживается (эта программа читает 1)"},
    {"TextAsNumber", "\"eps\": 1e-7", "Файл работы: ключ \"eps\": ожидается текст"},
    {"FrameTimeOutOfRange", "\"frameTime\": 10001",
     "Файл работы: ключ \"frameTime\": число вне диапазона 0..10000"},
    {"FractionalColours", "\"gradientColors\": 2.5",
     "Файл работы: ключ \"gradientColors\": ожидается целое число"},
    {"FunctionPastTheList", "\"function\": 10",
     "Файл работы: ключ \"function\": число вне диапазона 0..9"},
    {"FunctionAndFormula", "\"function\": 1, \"formula\": \"x\"",
     "Файл работы: ключи \"function\" и \"formula\" вместе"},
    {"UnknownMethod", "\"method\": \"gauss\"",
     "Файл работы: ключ \"method\": неизвестное имя \"gauss\""},
    {"UnknownStopRule", "\"stopRule\": null",
     "Файл работы: ключ \"stopRule\": ожидается одно из: step, gradient, value"},
    {"ComparedNotAList", "\"compared\": \"bfgs\"",
     "Файл работы: ключ \"compared\": ожидается список методов"},
    {"ComparedUnknown", "\"compared\": [\"bfgs\", 3]",
     "Файл работы: ключ \"compared\": ожидается одно из: steepest-descent, fixed-step, "
     "step-halving, coordinate-descent, fletcher-reeves, polak-ribiere, newton, "
     "damped-newton, bfgs, dfp, hooke-jeeves, nelder-mead, momentum, nesterov, adagrad, "
     "rmsprop, adam"},
    {"BoxAsText", "\"axes\": \"yes\"", "Файл работы: ключ \"axes\": ожидается true или false"},
};

class LabRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(LabRefusalTest, RefusesTheWholeFileNamingTheKey) {
    const std::string body = GetParam().body;
    const std::string text = body.find("version") != std::string::npos || body[0] == '['
                                 ? body
                                 : "{\"format\": \"metopt-lab\", \"version\": 1, " + body + "}";
    testsupport::ExpectError([&] { ReadLab(text); }, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Files, LabRefusalTest, ::testing::ValuesIn(RefusalCases),
                         [](const ::testing::TestParamInfo<RefusalCase>& row) {
                             return std::string(row.param.name);
                         });

}  // namespace
}  // namespace metopt::app
