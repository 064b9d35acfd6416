// The workbench does the window's work off-screen: the same steps on the window and on a
// workbench give the same model, report and picture; a stopped run leaves the workbench as it was.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/workbench.h"
#include "platform/canvas.h"
#include "platform/messagebox.h"
#include "render/savedpicture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::app {
namespace {

using Button = WindowCommands::Button;
using Step = std::function<void(WindowCommands&)>;

Step Set(std::string option, std::vector<std::string> values = {}) {
    return [=](WindowCommands& target) { target.SetOptionFields(option, values); };
}

Step Click(Button button) {
    return [=](WindowCommands& target) {
        target.Press(button);
        target.AwaitRun([](const std::string&) { return false; });
        while (target.Animating())
            target.TimerTick();
    };
}

Step Size(int width, int height) {
    return [=](WindowCommands& target) { target.LayoutForDrawingArea(width, height); };
}

Step LineSearch(core::TLineSearch method) {
    return [=](WindowCommands& target) { target.ChooseLineSearch(method); };
}

Step ConstraintMethod(core::TConstraintMethod method) {
    return [=](WindowCommands& target) { target.ChooseConstraintMethod(method); };
}

Step CompareMethods(std::vector<int> methods) {
    return [=](WindowCommands& target) {
        target.Compare(methods);
        target.AwaitRun([](const std::string&) { return false; });
        while (target.Animating())
            target.TimerTick();
    };
}

struct SameWorkCase {
    const char* name;
    std::vector<Step> steps;
};

void PrintTo(const SameWorkCase& c, std::ostream* os) {
    *os << c.name;
}

const SameWorkCase SameWorkCases[] = {
    {"DefaultsMapLevelLinesGridDescent",
     {Click(Button::Map), Click(Button::LevelLines), Click(Button::Grid), Click(Button::Descent)}},
    {"FunctionTwoGradientAnimated",
     {Set("function", {"2"}), Set("fill", {"1"}), Set("colors", {"12"}), Set("frame-time", {"5"}),
      Click(Button::Map), Click(Button::Descent)}},
    {"TypedFormulaInARegionResized",
     {Set("formula", {"x^2+3*y^2"}), Set("region", {"-2", "2", "-1", "1"}), Size(301, 257),
      Set("x0", {"1.5"}), Set("y0", {"0.5"}), Click(Button::Map), Click(Button::Descent)}},
    {"ClassicItemComparedWithoutNumbers",
     {Set("function", {"3"}), Set("x0", {"-1.2"}), Set("y0", {"1"}), Set("no-numbers"),
      Set("frame-time", {"0"}), Click(Button::Map), Click(Button::Grid),
      CompareMethods({0, 4, 8})}},
    {"BrentThenWolfeLineSearches",
     {Set("function", {"3"}), Set("frame-time", {"0"}), LineSearch(core::TLineSearch::Brent),
      Click(Button::Map), Click(Button::Descent), LineSearch(core::TLineSearch::Wolfe),
      CompareMethods({0, 8})}},
    {"RefusedRunAndBadFormula",
     {Click(Button::Map), Set("eps", {"0"}), Click(Button::Descent), Set("formula", {"x+"}),
      Click(Button::Map)}},
    {"PartlyDefinedFormulaWithLines",
     {Set("formula", {"x^2+ln(y)"}), Set("x0", {"0.5"}), Set("y0", {"1"}), Click(Button::Map),
      Set("levels", {"1"}), Set("transparent"), Click(Button::LevelLines), Click(Button::Grid),
      Click(Button::Descent)}},
    {"NowhereDefinedFormula", {Set("formula", {"ln(-1-y*y)"}), Click(Button::Map)}},
    {"ConstrainedPenaltyThenBarrierCompared",
     {Set("formula", {"(x-2)^2+(y-1)^2"}), Set("region", {"-1", "3", "-1", "3"}),
      Set("constraint", {"x^2 - y <= 0"}), Set("constraint", {"x + y <= 2"}), Set("method", {"8"}),
      Set("x0", {"3"}), Set("y0", {"3"}), Set("frame-time", {"0"}),
      ConstraintMethod(core::TConstraintMethod::Penalty), Click(Button::Map),
      Click(Button::Descent), Set("x0", {"0"}), Set("y0", {"1"}), Set("hatch-infeasible"),
      ConstraintMethod(core::TConstraintMethod::LogBarrier), Set("r0", {"2"}), Click(Button::Map),
      CompareMethods({0, 8, 11})}},
    {"BarrierRefusedOutsideAndABadConstraint",
     {Set("constraint", {"x + y >= 1"}), ConstraintMethod(core::TConstraintMethod::InverseBarrier),
      Click(Button::Map), Click(Button::Descent), Set("constraint", {"x <="}), Click(Button::Map)}},
    {"NoisyAdamWithVectorsThenLearningMethodsCompared",
     {Set("formula", {"x^2+10*y^2"}), Set("region", {"-1.5", "1.5", "-1.5", "1.5"}),
      Set("x0", {"1"}), Set("y0", {"1"}), Set("method", {"16"}), Set("learning-rate", {"0.05"}),
      Set("noise", {"0.5"}), Set("seed", {"3"}), Set("step-vectors"), Set("frame-time", {"0"}),
      Click(Button::Map), Click(Button::Descent), Set("beta", {"1"}), Set("no-bias-correction"),
      CompareMethods({0, 12, 13, 14, 15, 16})}},
};

class WorkbenchTest : public ::testing::TestWithParam<SameWorkCase> {
  protected:
    void SetUp() override {
        platform::SetErrorBoxHandler(
            [this](const std::string&, const std::string& text) { boxes.push_back(text); });
    }
    void TearDown() override { platform::SetErrorBoxHandler(nullptr); }

    static std::int32_t Background() {
        return platform::FromQRgb(QGuiApplication::palette().color(QPalette::Window).rgb());
    }

    std::vector<std::string> boxes;
};

TEST_P(WorkbenchTest, DoesTheWindowsWork) {
    const std::string palette = METOPT_DATA_DIR "/Palitr10.dat";
    testsupport::TestWindow window(nullptr, palette);
    for (const Step& step : GetParam().steps)
        step(window);
    const std::vector<std::string> windowBoxes = std::exchange(boxes, {});

    TWorkbench workbench(palette, Background());
    for (const Step& step : GetParam().steps)
        step(workbench);

    EXPECT_EQ(boxes, windowBoxes);
    EXPECT_EQ(workbench.ReportLines(), window.ReportLines());
    const TSession& ours = workbench.Session();
    const TSession& theirs = window.Session();
    EXPECT_EQ(ours.Descent.TraceCount, theirs.Descent.TraceCount);
    EXPECT_EQ(ours.Plot.ZRangeValid, theirs.Plot.ZRangeValid);
    EXPECT_EQ(ours.Plot.MapCols, theirs.Plot.MapCols);
    ASSERT_TRUE(ours.SavedPicture.BackingImage && theirs.SavedPicture.BackingImage);
    EXPECT_TRUE(ours.SavedPicture.BackingImage->Image() ==
                theirs.SavedPicture.BackingImage->Image());
}

INSTANTIATE_TEST_SUITE_P(Steps, WorkbenchTest, ::testing::ValuesIn(SameWorkCases),
                         [](const ::testing::TestParamInfo<SameWorkCase>& row) {
                             return std::string(row.param.name);
                         });

// After a map that left points out, the window's status line counts them, and batch mode's
// workbench gives the same text once; a map of a function defined everywhere leaves the pass's.
TEST(WorkbenchMap, TellsWhatTheWindowsStatusLineSays) {
    const std::string palette = METOPT_DATA_DIR "/Palitr10.dat";
    const std::pair<const char*, const char*> cases[] = {
        {"x^2+ln(y)", "Функция не определена в 91430 точках области"},
        {"x^2+y^2", ""},
    };
    for (const auto& [formula, note] : cases) {
        SCOPED_TRACE(formula);
        testsupport::TestWindow window(nullptr, palette);
        TWorkbench workbench(palette, 0);
        for (WindowCommands* target :
             {static_cast<WindowCommands*>(&window), static_cast<WindowCommands*>(&workbench)}) {
            target->SetOptionFields("formula", {formula});
            target->Press(Button::Map);
        }
        EXPECT_EQ(window.StatusText(), *note ? note : "Прорисовка карты высот: 100%");
        EXPECT_EQ(workbench.TakeMapNote(), note);
        EXPECT_EQ(workbench.TakeMapNote(), "");
    }
}

// A run stopped while it computes leaves the model, the report and the picture as before it.
TEST(WorkbenchRun, AStoppedRunLeavesTheWorkbenchAsItWas) {
    TWorkbench workbench(METOPT_DATA_DIR "/Palitr10.dat", 0);
    workbench.SetOptionFields("formula", {"0.5+(sin(x^2-y^2)^2-0.5)/(1+0.001*(x^2+y^2))^2"});
    for (const auto& [option, value] : {std::pair{"x0", "0.01"},
                                        {"y0", "0.02"},
                                        {"eps", "1e-9"},
                                        {"step", "0.001"},
                                        {"radius", "1000"}})
        workbench.SetOptionFields(option, {value});
    workbench.Press(Button::Map);
    const QImage picture = workbench.Session().SavedPicture.BackingImage->Image().copy();
    workbench.Press(Button::Descent);
    std::vector<std::string> progress;
    workbench.AwaitRun([&](const std::string& text) {
        progress.push_back(text);
        return progress.size() >= 3;
    });
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(progress.back().rfind("Итерация ", 0), 0u) << progress.back();
    EXPECT_TRUE(workbench.ReportLines().empty());
    EXPECT_EQ(workbench.Session().Descent.TraceCount, 0u);
    EXPECT_FALSE(workbench.Animating());
    EXPECT_TRUE(workbench.Area().Image() == picture);
}

}  // namespace
}  // namespace metopt::app
