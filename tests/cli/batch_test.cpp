// Batch mode: the built executable run as a teacher would run it.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QThread>
#ifndef _WIN32
#include <signal.h>
#endif
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "palette/palette.h"
#include "runtime/numformat.h"
#include "support/gif_decoder.h"
#include "support/tempfolder.h"

namespace {

using metopt::testsupport::TempFolder;

// --- The executable ---

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

class BatchRunTest : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    // Runs the program in the temporary folder under the C locale ('.' as separator). The
    // arguments are split as a shell would split them, quotes ('...' or "...") kept together.
    RunResult Run(const std::string& arguments) const {
        QString line = QString::fromStdString(arguments);
        line.replace(QLatin1Char('\''), QLatin1Char('"'));
        QStringList words = QProcess::splitCommand(line);
        QProcess program;
        program.setWorkingDirectory(QString::fromStdString(dir_));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(METOPT_EXECUTABLE), words);
        RunResult result;
        if (!program.waitForFinished(300000))
            return result;
        result.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        result.out = program.readAllStandardOutput().toStdString();
        result.err = program.readAllStandardError().toStdString();
        return result;
    }

    static std::string Palette() {
        return std::string("--palette '") + METOPT_DEFAULT_PALETTE + "'";
    }

    TempFolder folder_{"metopt-batch"};
    std::string dir_ = folder_.Path();
};

#ifndef _WIN32
// An interrupt stops the run: status 130, nothing more written, and (standard error being no
// terminal) no progress line.
TEST_F(BatchRunTest, AnInterruptStopsTheRunWithStatus130AndNoOutput) {
    QProcess program;
    program.setWorkingDirectory(QString::fromStdString(dir_));
    program.start(QStringLiteral(METOPT_EXECUTABLE),
                  {"--batch", "--palette", METOPT_DEFAULT_PALETTE, "--formula",
                   "0.5+(sin(x^2-y^2)^2-0.5)/(1+0.001*(x^2+y^2))^2", "--x0", "0.01", "--y0", "0.02",
                   "--eps", "1e-9", "--step", "0.001", "--radius", "1000", "--map", "--descent",
                   "--report", "report.txt"});
    ASSERT_TRUE(program.waitForStarted());
    QThread::msleep(700);
    ASSERT_EQ(program.state(), QProcess::Running) << "the long run ended by itself";
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 130);
    EXPECT_EQ(program.readAllStandardError().toStdString(), "");
    EXPECT_FALSE(std::ifstream(Path("report.txt")).good());
}
#endif

TEST_F(BatchRunTest, ReportOfTheDefaultsAfterAMapAndADescent) {
    const RunResult run = Run("--batch " + Palette() + " --map --descent --report -");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto lines = SplitLines(run.out);
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "Видимая область: x = -1.3 .. 1.3, y=-1.3 .. 1.3");
    EXPECT_EQ(lines[2], "Начальная точка: x0 = 30.0, y0 = -30.0");
    EXPECT_EQ(lines[4], "Скорейший спуск прошел за 43 итерац.");
    EXPECT_EQ(lines[6], "Трасса спуска:");
    EXPECT_EQ(lines[49].rfind("#43: z( ", 0), 0u);
}

struct FormulaRunCase {
    const char* name;
    const char* arguments;
    int status;
    const char* err;
    const char* firstReportLines;  // lines 1 and 2, joined by '|'; empty: no report
};

void PrintTo(const FormulaRunCase& c, std::ostream* out) {
    *out << c.name;
}

class BatchFormulaTest : public BatchRunTest,
                         public ::testing::WithParamInterface<FormulaRunCase> {};

const FormulaRunCase FormulaRuns[] = {
    {"TypedParaboloid", "--formula 'x*x+y*y' --map --descent", 0, "",
     "Функция: z = x*x+y*y|Видимая область: x = -1.3 .. 1.3, y=-1.3 .. 1.3"},
    // The item brings its own region and start.
    {"Rosenbrock", "--function 3 --map --descent", 0, "",
     "Функция: z = 100*(y-x*x)^2+(1-x)^2|Видимая область: x = -2 .. 2, y=-1 .. 3"},
    {"BadFormula", "--formula 'x*(y' --map", 1,
     "metopt: Ошибка в формуле, знак 4: ожидается \")\"\n"
     "metopt: Ошибка в формуле, знак 4: ожидается \")\"\n",
     ""},
    {"BuiltInItemsStayBuiltIn", "--function 2 --map --descent", 0, "",
     "Видимая область: x = -1.3 .. 1.3, y=-1.3 .. 1.3|Начальная точка: x0 = 30.0, y0 = -30.0"},
};

TEST_P(BatchFormulaTest, TypesRunsAndReports) {
    const FormulaRunCase& c = GetParam();
    const RunResult run = Run("--batch " + Palette() + " " + c.arguments + " --report -");
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
    const auto lines = SplitLines(run.out);
    if (*c.firstReportLines == 0) {
        EXPECT_TRUE(lines.empty());
        return;
    }
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1] + "|" + lines[2], c.firstReportLines);
}

INSTANTIATE_TEST_SUITE_P(Table, BatchFormulaTest, ::testing::ValuesIn(FormulaRuns),
                         [](const auto& row) { return std::string(row.param.name); });

// --lab applies a lab before the other options wherever it stands, --save-lab writes what stands;
// a refused lab does nothing.
TEST_F(BatchRunTest, LabsAreAppliedFirstAndSavedAsTheyStand) {
    const RunResult base = Run("--batch " + Palette() +
                               " --function 4 --x0 0 --y0 0 --method 8 --save-lab base.metopt");
    ASSERT_EQ(base.status, 0) << base.err;
    const RunResult variant = Run("--batch --x0 3 --lab base.metopt --save-lab v.metopt");
    ASSERT_EQ(variant.status, 0) << variant.err;
    const std::string text = ReadFile(Path("v.metopt"));
    EXPECT_NE(text.find("\"x0\": \"3\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"y0\": \"0\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"method\": \"bfgs\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"function\": 4"), std::string::npos) << text;

    std::ofstream(Path("bad.metopt")) << "{\"format\": \"metopt-lab\", \"version\": 1, \"x0\": 3}";
    const RunResult refused = Run("--batch --lab bad.metopt --map --picture p.png");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "metopt: Файл работы: ключ \"x0\": ожидается текст.\n");
    EXPECT_FALSE(std::ifstream(Path("p.png")).good());
}

// Each CSV row is the report's trace line of the same point: the same k, x, y and z.
void ExpectCsvMatchesReport(const std::vector<std::string>& csv,
                            const std::vector<std::string>& report) {
    ASSERT_EQ(csv[0], "k,x,y,z");
    const auto value = [](const std::string& text) {
        return metopt::runtime::FormatGeneral(std::strtold(text.c_str(), nullptr));
    };
    for (std::size_t k = 1; k < csv.size(); ++k) {
        std::stringstream row(csv[k]);
        std::string field[4];
        for (auto& f : field)
            std::getline(row, f, ',');
        EXPECT_EQ(field[0], std::to_string(k));
        ASSERT_LT(6 + k, report.size());
        EXPECT_EQ(report[6 + k], "#" + field[0] + ": z( " + value(field[1]) + ", " +
                                     value(field[2]) + " ) = " + value(field[3]));
    }
}

TEST_F(BatchRunTest, TraceCsvHoldsTheReportsTracePoints) {
    struct Case {
        const char* name;
        std::string steps;
        std::size_t reportLines, csvLines;
    };
    const Case cases[] = {
        // No scan yet: the first trace point cannot be placed, after the report is written.
        {"DescentBeforeAMap", "--function 0 --descent", 10, 4},
        // The refused second run (eps 0) leaves the first run's trace and report: the CSV still
        // evaluates that trace with the first run's function, not with the one selected since.
        {"RefusedRunAfterAnother", "--map --descent --function 0 --eps 0 --descent", 50, 44},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult run = Run("--batch " + Palette() + " " + c.steps +
                                  " --report report.txt --trace-csv trace.csv");
        EXPECT_EQ(run.status, 1);
        const auto report = SplitLines(ReadFile(Path("report.txt")));
        const auto csv = SplitLines(ReadFile(Path("trace.csv")));
        ASSERT_EQ(report.size(), c.reportLines);
        ASSERT_EQ(csv.size(), c.csvLines);
        ExpectCsvMatchesReport(csv, report);
    }
}

TEST_F(BatchRunTest, PictureIsTheDrawingAreaWithFrameMapAndTrace) {
    metopt::palette::TPalette palette{};
    metopt::palette::LoadPalette(palette, METOPT_DEFAULT_PALETTE);
    const auto colour = [&palette](int entry) {
        const auto packed = static_cast<unsigned>(palette[static_cast<std::size_t>(entry)].Color);
        return qRgb(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
    };
    const RunResult map = Run("--batch " + Palette() + " --size 300 200 --map --picture map.png");
    ASSERT_EQ(map.status, 0) << map.err;
    QImage picture(QString::fromStdString(Path("map.png")));
    ASSERT_EQ(picture.size(), QSize(300, 200));
    EXPECT_EQ(picture.pixel(0, 0), colour(metopt::palette::OutlineColor));
    EXPECT_EQ(picture.pixel(299, 199), colour(metopt::palette::OutlineColor));
    std::set<QRgb> mapColours;
    for (int i = 0; i < metopt::palette::MapColorCount; ++i)
        mapColours.insert(colour(i));
    std::set<QRgb> seen;
    for (int y = 1; y < 199; ++y) {
        for (int x = 1; x < 299; ++x)
            seen.insert(picture.pixel(x, y));
    }
    for (QRgb c : seen)
        EXPECT_TRUE(mapColours.count(c)) << std::hex << c;
    EXPECT_TRUE(seen.count(colour(0)));
    EXPECT_TRUE(seen.count(colour(9)));

    // Function 0 from its minimum: one trace point at the origin, a circle nine pixels across.
    const RunResult descent = Run("--batch " + Palette() +
                                  " --size 302 302 --function 0 --x0 0 --y0=0.0 --map --descent"
                                  " --picture trace.png");
    ASSERT_EQ(descent.status, 0) << descent.err;
    QImage trace(QString::fromStdString(Path("trace.png")));
    // XToColumn(0) = floor(1.3 * 301 / 2.6 + 1) = floor(151.5) = 151; YToRow(0) likewise.
    const QRgb pen = colour(metopt::palette::TracePenColor);
    const QRgb fill = colour(metopt::palette::TraceFillColor);
    EXPECT_EQ(trace.pixel(151, 151), fill);
    for (const auto& [dx, dy] : {std::pair{-4, 0}, {4, 0}, {0, -4}, {0, 4}}) {
        EXPECT_EQ(trace.pixel(151 + dx, 151 + dy), pen) << dx << "," << dy;
        EXPECT_NE(trace.pixel(151 + dx * 5 / 4, 151 + dy * 5 / 4), pen) << dx << "," << dy;
    }
}

// The frame time set stays what the descent animates with; the last frame is --picture's.
TEST_F(BatchRunTest, AnimationOfTheDescentWithTheFrameTimeGiven) {
    const RunResult run = Run("--batch " + Palette() +
                              " --frame-time 40 --map --descent --picture p.png --animation a.gif");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const metopt::testsupport::Decoded gif = metopt::testsupport::Decode(Path("a.gif"));
    ASSERT_EQ(gif.pictures.size(), 44u);
    std::vector<int> delays(44, 4);
    delays.back() = 200;
    EXPECT_EQ(gif.delays, delays);
    EXPECT_TRUE(gif.loopsForever);
    const QImage picture(QString::fromStdString(Path("p.png")));
    EXPECT_EQ(gif.pictures.back(), picture.convertToFormat(QImage::Format_RGB32));
}

struct AnimationCase {
    const char* name;
    const char* arguments;
    int status;
    const char* err;  // the start of standard error
    bool written;
};

void PrintTo(const AnimationCase& c, std::ostream* out) {
    *out << c.name;
}

class BatchAnimationTest : public BatchRunTest,
                           public ::testing::WithParamInterface<AnimationCase> {};

TEST_P(BatchAnimationTest, WritesOrSaysWhyNot) {
    const AnimationCase& c = GetParam();
    const RunResult run = Run("--batch " + Palette() + " " + c.arguments + " --animation a.gif");
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    ASSERT_EQ(std::ifstream(Path("a.gif")).good(), c.written);
    if (c.written) {
        EXPECT_EQ(metopt::testsupport::Decode(Path("a.gif")).pictures.size(), 44u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchAnimationTest,
    ::testing::Values(AnimationCase{"NoDescent", "--map", 1,
                                    "metopt: --animation needs a --descent before it.\n", false},
                      AnimationCase{"FrameTimeZero", "--frame-time 0 --map --descent", 0, "", true},
                      AnimationCase{
                          "ManyColours",
                          "--fill 1 --colors 255 --levels 1 --transparent --map --level-lines "
                          "--grid --descent",
                          0, "metopt: note: a.gif: the pictures have more than 256 colours", true}),
    [](const auto& row) { return std::string(row.param.name); });

struct SurfaceCase {
    const char* name;
    const char* arguments;
    int status;
    const char* err;    // the start of standard error
    int width, height;  // of the picture written; 0 for none
};

void PrintTo(const SurfaceCase& c, std::ostream* out) {
    *out << c.name;
}

class BatchSurfaceTest : public BatchRunTest, public ::testing::WithParamInterface<SurfaceCase> {};

TEST_P(BatchSurfaceTest, WritesOrSaysWhyNot) {
    const SurfaceCase& c = GetParam();
    const RunResult run = Run("--batch " + Palette() + " " + c.arguments + " --surface s.png");
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    const QImage written(QString::fromStdString(Path("s.png")));
    EXPECT_EQ(written.size(), QSize(c.width, c.height));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchSurfaceTest,
    ::testing::Values(
        SurfaceCase{"NoMap", "", 1, "metopt: --surface needs a --map before it.\n", 0, 0},
        SurfaceCase{"DefaultSize", "--map --descent", 0, "", 800, 600},
        SurfaceCase{"SizeAndView", "--map --surface-size 300 200 --view 45.5,60", 0, "", 300, 200},
        SurfaceCase{"ViewWithoutComma", "--map --view 45", 1, "metopt: --view takes AZ,EL", 800,
                    600},
        SurfaceCase{"ViewNotANumber", "--map --view 45,up", 1, "metopt: --view takes AZ,EL", 800,
                    600},
        SurfaceCase{"ViewInfinite", "--map --view inf,30", 1, "metopt: --view takes AZ,EL", 800,
                    600},
        SurfaceCase{"SizeTooSmall", "--map --surface-size 3 200", 2, "metopt: --surface-size", 0,
                    0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(BatchRunTest, AnErrorIsPrintedAsTheBoxTextAndGivesExitOne) {
    const RunResult run =
        Run("--batch " + Palette() + " --subgrid 2,5 2 --grid --picture grid.png");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "metopt: '2,5' is not a valid integer value.\n");
    EXPECT_TRUE(QImage(QString::fromStdString(Path("grid.png"))).size() == QSize(448, 412));
}

// A typed function's map leaves out the points where it is not defined, in the background, and
// says how many; a map with none defined, and the items', fail as ever.
struct PartlyDefinedMapCase {
    const char* name;
    const char* arguments;
    int status;
    const char* err;
    int firstBackgroundRow;  // of the picture, from which on the samples are left out; 0: none
};

void PrintTo(const PartlyDefinedMapCase& c, std::ostream* out) {
    *out << c.name;
}

class BatchPartlyDefinedTest : public BatchRunTest,
                               public ::testing::WithParamInterface<PartlyDefinedMapCase> {};

const PartlyDefinedMapCase PartlyDefinedMaps[] = {
    // y <= 0 from row 206 on, 205 rows of 446 samples.
    {"LowerHalfLeftOut", "--formula 'x^2+ln(y)' --map", 0,
     "metopt: note: Функция не определена в 91430 точках области\n", 206},
    {"UnderTheLevelLines", "--formula 'x^2+ln(y)' --map --levels 1 --transparent --level-lines", 0,
     "metopt: note: Функция не определена в 91430 точках области\n"
     "metopt: note: Функция не определена в 91430 точках области\n",
     206},
    {"NothingDefined", "--formula 'ln(-1-y*y)' --map", 1,
     "metopt: Invalid floating point operation.\n", 0},
    {"ItemStopsAtItsFault", "--function 1 --region 0 2e2466 0 2e2466 --map", 1,
     "metopt: Floating point overflow.\n", 0},
    {"DefinedEverywhere", "--formula 'x^2+ln(1+y*y)' --map", 0, "", 0},
};

TEST_P(BatchPartlyDefinedTest, LeavesOutWhatIsNotDefined) {
    const PartlyDefinedMapCase& c = GetParam();
    const RunResult run = Run("--batch " + Palette() + " " + c.arguments + " --picture p.png");
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
    if (c.firstBackgroundRow == 0)
        return;
    metopt::palette::TPalette palette{};
    metopt::palette::LoadPalette(palette, METOPT_DEFAULT_PALETTE);
    const auto background = static_cast<unsigned>(palette[metopt::palette::BackgroundColor].Color);
    const QImage picture(QString::fromStdString(Path("p.png")));
    for (int y = 1; y < 411; ++y) {
        for (int x = 1; x < 447; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            const bool inBackground = qRed(pixel) == static_cast<int>(background & 0xFF) &&
                                      qGreen(pixel) == static_cast<int>((background >> 8) & 0xFF) &&
                                      qBlue(pixel) == static_cast<int>(background >> 16);
            ASSERT_EQ(inBackground, y >= c.firstBackgroundRow) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BatchPartlyDefinedTest, ::testing::ValuesIn(PartlyDefinedMaps),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(BatchRunTest, AMissingPaletteIsReportedAndTheRunGoesOn) {
    const RunResult run = Run("--batch --descent --report -");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("metopt: File not found.\n", 0), 0u);
    EXPECT_NE(run.out.find("Скорейший спуск прошел за 43 итерац."), std::string::npos);
}

TEST_F(BatchRunTest, ABadCommandLineGivesExitTwoAndDoesNothing) {
    const RunResult run = Run("--batch " + Palette() + " --report r.txt --fill 7");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--fill N: '7' is not a whole number from 0 to 1"), std::string::npos);
    EXPECT_FALSE(std::ifstream(Path("r.txt")).good());
}

// --- The one-dimensional lab ---

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Two methods at eps 0.01 on [0, 5]: each takes 14 values (the golden section 2 and 12
// narrowings, as 5 * 0.618^13 < 0.01 <= 5 * 0.618^12; Fibonacci F(14) = 610 >= 500 > F(13)), so
// 13 steps; the table is 2 lines and each method's empty line, caption, columns, 13 rows and
// result.
TEST_F(BatchRunTest, Minimize1DWritesItsTableItsCountsAndItsCharts) {
    const RunResult run = Run(
        "--batch --minimize-1d '(x-2)^2' --interval 0 5 --eps 0.01 --methods-1d golden,fibonacci "
        "--report - --count-chart c.csv --picture f.png --count-chart c.png");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto lines = SplitLines(run.out);
    ASSERT_EQ(lines.size(), 36u);
    EXPECT_EQ(lines[0], "Функция: f(x) = (x-2)^2");
    EXPECT_EQ(lines[1], "Отрезок: [0, 5], eps = 0.01");
    EXPECT_EQ(lines[3], "Золотое сечение");
    EXPECT_EQ(lines[4], "n | a | b | t1 | t2 | φ(t1) | φ(t2) | b − a");
    // t1 = 5 (3 - sqrt 5) / 2, t2 = 5 (sqrt 5 - 1) / 2; f(t2) > f(t1) cuts (t2, 5].
    EXPECT_EQ(
        lines[5].rfind("1 | 0 | 3.09016994374947 | 1.90983005625053 | 3.09016994374947 | ", 0), 0u);
    EXPECT_TRUE(EndsWith(lines[18], ", вычислений f: 14")) << lines[18];
    EXPECT_EQ(lines[18].rfind("x* = 2.00", 0), 0u) << lines[18];
    EXPECT_EQ(lines[20], "Фибоначчи");
    // 5 * 233 / 610 and 5 * 377 / 610, the first the lower: [0, 5 * 377 / 610] is left.
    EXPECT_EQ(
        lines[22].rfind("1 | 0 | 3.09016393442623 | 1.90983606557377 | 3.09016393442623 | ", 0),
        0u);
    EXPECT_TRUE(EndsWith(lines[35], ", вычислений f: 14")) << lines[35];

    const auto csv = SplitLines(ReadFile(Path("c.csv")));
    ASSERT_EQ(csv.size(), 13u);
    EXPECT_EQ(csv[0], "eps,golden,fibonacci,golden-theory,fibonacci-theory");
    // 5 * 0.618^9 < 0.1 <= 5 * 0.618^8: 10; F(9) = 55 >= 50 > F(8) = 34: 9.
    EXPECT_EQ(csv[1], "0.1,10,9,10,9");
    EXPECT_EQ(csv[2], "0.01,14,14,14,14");
    // 61 narrowings of 0.618 bring 5 below 1e-12; F(62) = 6.56e12 >= 5e12 > F(61) = 4.05e12.
    EXPECT_EQ(csv[12].rfind("1e-12,", 0), 0u);
    EXPECT_TRUE(EndsWith(csv[12], ",62,62")) << csv[12];
    for (const char* picture : {"f.png", "c.png"})
        EXPECT_EQ(QImage(QString::fromStdString(Path(picture))).size(), QSize(800, 500)) << picture;
}

struct Minimize1DCase {
    const char* name;
    const char* arguments;
    int status;
    const char* err;
    const char* reportLine;  // a line the report holds; nullptr: no report
};

void PrintTo(const Minimize1DCase& c, std::ostream* out) {
    *out << c.name;
}

class BatchMinimize1DTest : public BatchRunTest,
                            public ::testing::WithParamInterface<Minimize1DCase> {};

TEST_P(BatchMinimize1DTest, ReportsOrRefuses) {
    const Minimize1DCase& c = GetParam();
    const RunResult run = Run(std::string("--batch ") + c.arguments + " --report r.txt");
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
    const bool written = std::ifstream(Path("r.txt")).good();
    ASSERT_EQ(written, c.reportLine != nullptr);
    if (written) {
        const auto lines = SplitLines(ReadFile(Path("r.txt")));
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.reportLine), lines.end());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchMinimize1DTest,
    ::testing::Values(
        Minimize1DCase{"TheVariableT",
                       "--minimize-1d 'abs(t-1)+0.5' --interval 0 5 --eps 1e-3 "
                       "--methods-1d brent",
                       0, "", "Метод Брента"},
        // 1/0 at the parabola's left end, after its first value at 2.5; the golden section runs.
        Minimize1DCase{"AMethodFails",
                       "--minimize-1d '1/x + x' --interval 0 5 --methods-1d parabolic,golden", 0,
                       "", "Ошибка: Floating point division by zero, вычислений f: 1"},
        Minimize1DCase{"FormulaOfY", "--minimize-1d 'x+y' --interval 0 1", 1,
                       "metopt: Ошибка в формуле, знак 3: в функции одной переменной нет y: "
                       "пишите x или t.\n",
                       nullptr},
        Minimize1DCase{"EmptyInterval", "--minimize-1d x --interval 5 0", 1,
                       "metopt: Начало отрезка a должно быть меньше его конца b.\n", nullptr},
        Minimize1DCase{"EpsZero", "--minimize-1d x --interval 0 1 --eps 0", 1,
                       "metopt: Точность eps должна быть положительным конечным числом.\n",
                       nullptr},
        Minimize1DCase{"BoundBeyondTheRange", "--minimize-1d x --interval 0 1e99999", 1,
                       "metopt: Floating point overflow.\n", nullptr},
        Minimize1DCase{"WithAMap", "--minimize-1d x --interval 0 1 --map", 2,
                       "metopt: --minimize-1d cannot be combined with --map\n"
                       "Try 'metopt --help'.\n",
                       nullptr}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(BatchRunTest, HelpAndVersion) {
    const RunResult help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--trace-csv FILE"), std::string::npos);
    const RunResult version = Run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("metopt ", 0), 0u);
}

}  // namespace
