// The commands as the application layer runs them, on a workbench (the window runs the same, as
// workbench_test shows): a typed text draws its item's picture, each method under each stop rule
// reports, a classic item runs and animates, the report's counts and separator, and a run before
// any map.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/linereport.h"
#include "app/workbench.h"
#include "core/builtinfunctions.h"
#include "core/methods/method.h"
#include "palette/palette.h"
#include "platform/canvas.h"
#include "render/coordinates.h"
#include "runtime/errorreport.h"
#include "runtime/exceptions.h"
#include "runtime/numformat.h"
#include "support/error_boxes.h"
#include "support/qt_environment.h"

namespace metopt::app {
namespace {

using Button = WindowCommands::Button;

class CommandTest : public testsupport::ErrorBoxesTest {
  protected:
    void TearDown() override {
        runtime::SetDecimalSeparator('.');
        ErrorBoxesTest::TearDown();
    }
    // A workbench as the window starts, with the known palette.
    void Start() { bench = std::make_unique<TWorkbench>(METOPT_DATA_DIR "/Palitr10.dat", 0); }
    void Set(std::string_view option, const std::vector<std::string>& values) {
        bench->SetOptionFields(option, values);
    }
    // The button, with the run it starts awaited.
    void Click(Button button) {
        bench->Press(button);
        bench->AwaitRun([](const std::string&) { return false; });
    }
    QImage Saved() const { return bench->Session().SavedPicture.BackingImage->Image().copy(); }
    const TSession& Session() const { return bench->Session(); }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : std::exchange(boxes, {}))
            texts.push_back(box.second);
        return texts;
    }

    std::unique_ptr<TWorkbench> bench;
};

// --- Pictures: the typed texts of items 0 and 1 draw the items' pictures ---

struct PictureCase {
    int item;
    bool levelLines;  // else the map
    int method;       // of the fill or the level lines
    int width, height;
};

void PrintTo(const PictureCase& c, std::ostream* os) {
    *os << "item " << c.item << (c.levelLines ? " level lines " : " map ") << c.method << ", "
        << c.width << "x" << c.height;
}

class TypedPictureTest : public CommandTest, public ::testing::WithParamInterface<PictureCase> {
  protected:
    QImage Draw(const PictureCase& c, const std::string& typed) {
        Start();
        if (typed.empty())
            Set("function", {std::to_string(c.item)});
        else
            Set("formula", {typed});
        bench->LayoutForDrawingArea(c.width, c.height);
        Set(c.levelLines ? "levels" : "fill", {std::to_string(c.method)});
        Click(c.levelLines ? Button::LevelLines : Button::Map);
        return Saved();
    }
};

const PictureCase PictureCases[] = {
    {0, false, 0, 448, 412}, {0, false, 1, 448, 412}, {0, true, 0, 448, 412},
    {0, true, 1, 448, 412},  {0, false, 0, 301, 257}, {0, true, 1, 301, 257},
    {1, false, 0, 448, 412}, {1, false, 1, 448, 412}, {1, true, 0, 448, 412},
    {1, true, 1, 448, 412},  {1, false, 1, 301, 257}, {1, true, 0, 301, 257},
};

TEST_P(TypedPictureTest, TypedTextDrawsTheItemsPicture) {
    const PictureCase& c = GetParam();
    const QImage item = Draw(c, "");
    const QImage typed = Draw(c, std::string(core::FunctionCaptions[c.item]).substr(1));
    ASSERT_NE(Session().Plot.CurrentFunc.Typed, nullptr);
    EXPECT_EQ(typed, item);
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, TypedPictureTest, ::testing::ValuesIn(PictureCases));

// Item 2's text differs from the built-in only near the origin, where the built-in takes the
// limit 1 below r = 1e-5 and the formula computes sin(r)/r: 0/0 at the origin itself, which the
// typed text's map leaves out.
struct RadialCase {
    int width, height;
    const char* range;       // of x and y
    std::int64_t undefined;  // samples of the typed text's map at the origin
    int mostDiffering;       // pixels of the two maps
};

void PrintTo(const RadialCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height << " over +-" << c.range;
}

class TypedRadialTest : public CommandTest, public ::testing::WithParamInterface<RadialCase> {
  protected:
    QImage Map(const RadialCase& c, const std::string& typed) {
        Start();
        if (typed.empty())
            Set("function", {"2"});
        else
            Set("formula", {typed});
        bench->LayoutForDrawingArea(c.width, c.height);
        const std::string low = std::string("-") + c.range;
        Set("region", {low, c.range, low, c.range});
        Click(Button::Map);
        return Saved();
    }
};

// Where the formula computes 1 - r^2/6 for the built-in's 1, the top of the colour scale moves by
// some 1e-11, and only the pixels that lie that close to a colour boundary change; where it leaves
// the origin out, the top moves to the value next to it, 1 - 1.3e-5, and its pixel keeps the
// background.
const RadialCase RadialCases[] = {
    {448, 412, "1.3", 0, 18},  // no pixel samples the origin
    {301, 257, "1.3", 1, 15},  // pixel (150, 128) does
    {448, 412, "0.00003", 0, 18},
};

TEST_P(TypedRadialTest, DiffersOnlyWhereTheValueDoes) {
    const RadialCase& c = GetParam();
    const QImage item = Map(c, "");
    const QImage typed = Map(c, "(sin(r))/r, r=sqrt(x*x+y*y)");
    EXPECT_TRUE(boxes.empty());
    const render::TPlot& plot = Session().Plot;
    EXPECT_EQ(plot.UndefinedCount, c.undefined);
    if (c.undefined != 0) {
        EXPECT_EQ(platform::FromQRgb(typed.pixel(150, 128)),
                  Session().Palette[palette::BackgroundColor].Color);
    }
    // The samples differ only below the built-in's threshold r = 1e-5 ...
    for (int row = 1; row <= plot.MapRows; ++row) {
        for (int col = 1; col <= plot.MapCols; ++col) {
            const long double x = render::ColumnToX(plot, col);
            const long double y = render::RowToY(plot, row);
            if (std::sqrt(x * x + y * y) >= 1e-5L) {
                ASSERT_EQ(plot.CurrentFunc(x, y), core::ObjectiveFuncs[2](x, y))
                    << col << ", " << row;
            }
        }
    }
    // ... so only the pixels near a colour boundary change.
    int differing = 0;
    for (int row = 0; row < item.height(); ++row) {
        for (int col = 0; col < item.width(); ++col)
            differing += item.pixel(col, row) != typed.pixel(col, row) ? 1 : 0;
    }
    std::cout << c.width << "x" << c.height << " over +-" << c.range << ": " << differing
              << " pixels differ\n";
    EXPECT_LE(differing, c.mostDiffering);
}

INSTANTIATE_TEST_SUITE_P(Table, TypedRadialTest, ::testing::ValuesIn(RadialCases));

// --- Runs ---

// A classic item brings its usual region and start point.
struct ClassicDescentCase {
    int item;
    const char* x0;
    const char* y0;
    const char* functionLine;
    const char* regionLine;
};

void PrintTo(const ClassicDescentCase& c, std::ostream* os) {
    *os << "item " << c.item << " from (" << c.x0 << ", " << c.y0 << ")";
}

class ClassicDescentTest : public CommandTest,
                           public ::testing::WithParamInterface<ClassicDescentCase> {};

const ClassicDescentCase ClassicDescents[] = {
    {3, "-1.2", "1", "Функция: z = 100*(y-x*x)^2+(1-x)^2",
     "Видимая область: x = -2 .. 2, y=-1 .. 3"},
    {4, "0", "0", "Функция: z = (x*x+y-11)^2+(x+y*y-7)^2",
     "Видимая область: x = -5 .. 5, y=-5 .. 5"},
    {9, "10", "1", "Функция: z = x*x+100*y*y", "Видимая область: x = -12 .. 12, y=-1.2 .. 1.2"},
};

TEST_P(ClassicDescentTest, RunsReportsAndAnimates) {
    const ClassicDescentCase& c = GetParam();
    Start();
    Set("function", {std::to_string(c.item)});
    EXPECT_EQ(bench->Settings().x0, c.x0);
    EXPECT_EQ(bench->Settings().y0, c.y0);
    Click(Button::Map);
    Set("frame-time", {"1"});
    Click(Button::Descent);
    const std::vector<std::string> report = bench->ReportLines();
    ASSERT_GE(report.size(), 9u);
    EXPECT_EQ(report[0], "");
    EXPECT_EQ(report[1], c.functionLine);
    EXPECT_EQ(report[2], c.regionLine);
    int ticks = 0;
    while (bench->Animating() && ticks < 20000) {
        bench->TimerTick();
        ++ticks;
    }
    EXPECT_EQ(static_cast<std::uint32_t>(ticks), Session().Descent.TraceCount + 1);
}

INSTANTIATE_TEST_SUITE_P(Table, ClassicDescentTest, ::testing::ValuesIn(ClassicDescents));

// Every method under every stop rule: the line of its iterations, and for every run but the
// classic one the lines of the reason and the counts after it.
TEST_F(CommandTest, EachMethodAndStopRuleRunsAndReports) {
    Start();
    Click(Button::Map);
    Set("frame-time", {"0"});
    for (const core::TStopRule rule :
         {core::TStopRule::Step, core::TStopRule::Gradient, core::TStopRule::Value}) {
        bench->ChooseStopRule(rule);
        for (const core::TMethod method : core::AllMethods()) {
            SCOPED_TRACE(std::string(core::MethodCaption(method)) + ", rule " +
                         std::to_string(static_cast<int>(rule)));
            Set("method", {std::to_string(core::ItemOf(method))});
            Click(Button::Descent);
            EXPECT_TRUE(boxes.empty());
            const std::vector<std::string> report = bench->ReportLines();
            const std::uint32_t count = Session().Descent.TraceCount;
            const bool classic = core::IsClassicRun(method, rule, {});
            // The methods of machine learning name their parameters after the start.
            const bool learning = core::IsLearningMethod(method);
            const std::size_t head = learning ? 4 : 3;
            ASSERT_EQ(report.size(), (classic ? 7u : 9u) + count + (learning ? 1 : 0));
            EXPECT_EQ(report[3].rfind("Параметры обучения: α = 0.01", 0) == 0, learning);
            EXPECT_EQ(report[head + 1], std::string(core::MethodReportName(method)) +
                                            " прошел за " + std::to_string(count) + " итерац.");
            EXPECT_EQ(report[head + 2].rfind("Остановка: ", 0) == 0, !classic);
            EXPECT_EQ(report[head + 3].rfind("Вычислено: f — ", 0) == 0, !classic);
            EXPECT_EQ(Session().Descent.Simplices.empty(), method != core::TMethod::NelderMead);
            EXPECT_EQ(Session().Descent.StepVectors.size(), learning ? count : 0u);
        }
    }
}

TEST_F(CommandTest, IterationCountsOfTheThreeFunctions) {
    struct Row {
        int function;
        const char* line;
    };
    const Row rows[] = {{0, "Скорейший спуск прошел за 3 итерац."},
                        {1, "Скорейший спуск прошел за 43 итерац."},
                        {2, "Скорейший спуск прошел за 2 итерац."}};
    Start();
    Set("frame-time", {"0"});
    for (const Row& row : rows) {
        Set("function", {std::to_string(row.function)});
        EXPECT_EQ(Session().Plot.CurrentFunc, core::PlottedFunc(row.function));
        Click(Button::Map);
        Click(Button::Descent);
        const std::vector<std::string> report = bench->ReportLines();
        ASSERT_GE(report.size(), 5u);
        EXPECT_EQ(report[4], row.line) << "function " << row.function;
        EXPECT_EQ(report.size(), 7u + Session().Descent.TraceCount);
    }
}

TEST_F(CommandTest, ReportUsesTheLocalesDecimalSeparator) {
    Start();
    runtime::SetDecimalSeparator(',');
    Click(Button::Map);
    Click(Button::Descent);
    const std::vector<std::string> report = bench->ReportLines();
    ASSERT_GE(report.size(), 3u);
    EXPECT_EQ(report[1], "Видимая область: x = -1,3 .. 1,3, y=-1,3 .. 1,3");
    EXPECT_EQ(report[2], "Начальная точка: x0 = 30.0, y0 = -30.0");
}

TEST_F(CommandTest, IteratingBeforeAnyScanReportsTheZeroRegionAndFailsAtPointOne) {
    Start();
    Set("frame-time", {"0"});
    Click(Button::Descent);
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{runtime::ErrorBoxText("Floating point division by zero")});
    const std::vector<std::string> report = bench->ReportLines();
    ASSERT_EQ(report.size(), 50u);
    EXPECT_EQ(report[1], "Видимая область: x = 0 .. 0, y=0 .. 0");
    // The cross at (0, 0) was drawn and saved before the trace failed.
    const std::int32_t trace = Session().Palette[palette::TracePenColor].Color;
    EXPECT_EQ(bench->Area().GetPixel(0, 0), trace);
    EXPECT_EQ(Session().SavedPicture.BackingImage->GetPixel(0, 0), trace);
}

// The line report runs the last run again: one result per iteration, and each step of the
// golden section keeps 0.618... of the interval before it.
TEST_F(CommandTest, LineReportHasEveryLineSearchOfTheLastRun) {
    Start();
    EXPECT_THROW(LineSearchCsv(Session()), runtime::Exception);
    Set("function", {"0"});
    Set("frame-time", {"0"});
    Click(Button::Map);
    Click(Button::Descent);
    std::istringstream csv(LineSearchCsv(Session()));
    std::string row;
    std::getline(csv, row);
    EXPECT_EQ(row, "method,iteration,kind,n,a,b,t1,phi1,t2,phi2");
    unsigned results = 0;
    long double width = 0;
    int ratios = 0;
    while (std::getline(csv, row)) {
        std::vector<std::string> cells;
        std::stringstream line(row);
        for (std::string cell; std::getline(line, cell, ',');)
            cells.push_back(cell);
        ASSERT_GE(cells.size(), 7u) << row;
        EXPECT_EQ(cells[0], "steepest-descent");
        if (cells[2] == "result") {
            ++results;
            EXPECT_EQ(cells[1], std::to_string(results));
            width = 0;
        } else if (cells[2] == "step") {
            const long double now = std::stold(cells[5]) - std::stold(cells[4]);
            if (width > 0 && results == 0 && ratios < 20) {
                EXPECT_NEAR(static_cast<double>(now / width), 0.6180339887, 1e-6) << row;
                ++ratios;
            }
            width = now;
        }
    }
    EXPECT_EQ(results, Session().Descent.TraceCount);
    EXPECT_EQ(ratios, 20);
}

}  // namespace
}  // namespace metopt::app
