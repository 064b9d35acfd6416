#include "render/levellines.h"
#include "support/qt_environment.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/builtinfunctions.h"
#include "core/formula/formula.h"
#include "palette/palette.h"
#include "platform/canvas.h"
#include "render/coordinates.h"
#include "render/fill.h"
#include "render/sampling.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::render {
namespace {

const std::string LevelPrefix = "Построение линий уровня: ";

// Pictures as rows of characters: 'o' outline, 'L' level line, '.' background, 'A' 'B' 'C' map
// colours ('0' and '9' the map's first and last).
const std::map<char, std::int32_t> Colors{{'o', 0x030201}, {'L', 0x00FFFF}, {'.', 0xFAFAFA},
                                          {'A', 0x0000A0}, {'B', 0x00B000}, {'C', 0xC00000},
                                          {'0', 0x050A00}, {'9', 0x05000B}};

platform::Canvas Painted(const std::vector<std::string>& rows) {
    platform::Canvas canvas(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            canvas.SetPixel(static_cast<int>(x), static_cast<int>(y), Colors.at(rows[y][x]));
        }
    }
    return canvas;
}

std::vector<std::string> Picture(const platform::Canvas& canvas) {
    std::vector<std::string> rows;
    for (int y = 0; y < canvas.Height(); ++y) {
        std::string row;
        for (int x = 0; x < canvas.Width(); ++x) {
            char symbol = '?';
            for (const auto& [c, color] : Colors) {
                if (canvas.GetPixel(x, y) == color)
                    symbol = c;
            }
            row += symbol;
        }
        rows.push_back(row);
    }
    return rows;
}

long double X(long double x, long double) {
    return x;
}
long double StepAtTwo(long double x, long double) {
    return x >= 2 ? 1 : 0;
}
long double Huge(long double, long double) {
    return 1e4000L;
}

class LevelLinesTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        SetEntry(0, Colors.at('0'));
        SetEntry(9, Colors.at('9'));
        SetEntry(palette::LevelLineColor, Colors.at('L'));
        SetEntry(palette::BackgroundColor, Colors.at('.'));
        SetEntry(palette::OutlineColor, Colors.at('o'));
        plot.CurrentFunc = Impure(X);
    }
};

LevelLineOptions Threshold(const char* step, const char* width, bool transparent = false) {
    LevelLineOptions options;
    options.stepText = step;
    options.widthText = width;
    options.transparent = transparent;
    return options;
}

TEST_F(LevelLinesTest, UniformPictureHasLinesOnlyAgainstTheFrame) {
    platform::Canvas canvas = Painted({"oooooo", "oAAAAo", "oAAAAo", "oAAAAo", "oooooo"});
    plot.MapCols = 4;
    plot.MapRows = 3;
    DrawLevelLines(canvas, Drawing(), LevelLineMethodOf(0), LevelLineOptions{});
    EXPECT_EQ(Picture(canvas),
              (std::vector<std::string>{"oooooo", "o...Lo", "o...Lo", "oLLLLo", "oooooo"}));
    EXPECT_EQ(statuses, (std::vector<std::string>{LevelPrefix + "33%", LevelPrefix + "66%",
                                                  LevelPrefix + "100%"}));
}

TEST_F(LevelLinesTest, TransparentLinesLeaveTheRestOfThePicture) {
    platform::Canvas canvas = Painted({"oooooo", "oAAAAo", "oAAAAo", "oAAAAo", "oooooo"});
    plot.MapCols = 4;
    plot.MapRows = 3;
    LevelLineOptions options;
    options.transparent = true;
    DrawLevelLines(canvas, Drawing(), LevelLineMethodOf(0), options);
    EXPECT_EQ(Picture(canvas),
              (std::vector<std::string>{"oooooo", "oAAALo", "oAAALo", "oLLLLo", "oooooo"}));
}

TEST_F(LevelLinesTest, AnalysisMarksTheUpperAndLeftSideOfEachBorder) {
    platform::Canvas canvas =
        Painted({"oooooooo", "oAAABBBo", "oAAABBBo", "oCCCCCCo", "oCCCCCCo", "oooooooo"});
    plot.MapCols = 6;
    plot.MapRows = 4;
    LevelLinesByAnalysis(canvas, Drawing(), LevelLineOptions{});
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{"oooooooo", "o..L..Lo", "oLLLLLLo",
                                                         "o.....Lo", "oLLLLLLo", "oooooooo"}));
}

TEST_F(LevelLinesTest, AnalysisSeesTheLowerRightNeighbourToo) {
    platform::Canvas canvas = Painted({"oooooo", "oAAAAo", "oAABAo", "oAAAAo", "oAAAAo", "oooooo"});
    plot.MapCols = 4;
    plot.MapRows = 4;
    LevelLinesByAnalysis(canvas, Drawing(), LevelLineOptions{});
    // (2, 1) differs only from its lower-right neighbour (3, 2).
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{"oooooo", "o.LLLo", "o.LLLo", "o...Lo",
                                                         "oLLLLo", "oooooo"}));
}

TEST_F(LevelLinesTest, AnalysisOverTheDiscreteMap) {
    // Columns sample x = 0 .. 4: the map is class 0 left of x = 2 and class 9 from there.
    plot.CurrentFunc = Impure(StepAtTwo);
    ScanArea(7, 5, "0", "4");
    platform::Canvas canvas(7, 5);
    FillSurface(canvas, Drawing(), FillModeOf(0), 30);
    ASSERT_EQ(Picture(canvas),
              (std::vector<std::string>{"ooooooo", "o00999o", "o00999o", "o00999o", "ooooooo"}));
    DrawLevelLines(canvas, Drawing(), LevelLineMethodOf(0), LevelLineOptions{});
    EXPECT_EQ(Picture(canvas),
              (std::vector<std::string>{"ooooooo", "o.L..Lo", "o.L..Lo", "oLLLLLo", "ooooooo"}));
}

TEST_F(LevelLinesTest, AnalysisStopsBeforeARowWhenStopIsSet) {
    platform::Canvas canvas = Painted({"oooooo", "oAAAAo", "oAAAAo", "oAAAAo", "oooooo"});
    plot.MapCols = 4;
    plot.MapRows = 3;
    progress.onStatus = [this] {
        progress.stop = true;  // seen before the second row
    };
    LevelLinesByAnalysis(canvas, Drawing(), LevelLineOptions{});
    EXPECT_EQ(statuses.size(), 1u);
    EXPECT_EQ(Picture(canvas),
              (std::vector<std::string>{"oooooo", "o...Lo", "oAAAAo", "oAAAAo", "oooooo"}));
}

TEST_F(LevelLinesTest, ThresholdMarksValuesNearMultiplesOfTheSpacing) {
    // x = 0, 0.1, ..., 1: with S = 5 the levels lie at every 0.2, D = 0.05 is 0.01 of x.
    ScanArea(13, 4, "0", "1");
    platform::Canvas canvas =
        Painted({"ooooooooooooo", "oAAAAAAAAAAAo", "oAAAAAAAAAAAo", "ooooooooooooo"});
    DrawLevelLines(canvas, Drawing(), LevelLineMethodOf(1), Threshold("5.0", "0.05"));
    EXPECT_EQ(Picture(canvas)[1], "oL.L.L.L.L.Lo");
    EXPECT_EQ(Picture(canvas)[2], "oL.L.L.L.L.Lo");
    EXPECT_EQ(statuses, (std::vector<std::string>{LevelPrefix + "50%", LevelPrefix + "100%"}));
}

struct ThresholdCase {
    const char* name;
    const char* step;
    const char* width;
    const char* row;  // the sampled row for x = 0, 0.5, ..., 4
};

void PrintTo(const ThresholdCase& c, std::ostream* os) {
    *os << c.name;
}

class ThresholdTest : public LevelLinesTest, public ::testing::WithParamInterface<ThresholdCase> {};

const ThresholdCase ThresholdCases[] = {
    {"WidthZeroMarksNothing", "1", "0", "o.........o"},
    {"NegativeWidthMarksNothing", "1", "-1", "o.........o"},
    {"WidthAboveHalfMarksEverything", "1", "0.51", "oLLLLLLLLLo"},
    {"WidthHalfLeavesHalfwayValues", "1", "0.5", "oL.L.L.L.Lo"},
    {"StepZeroMarksEverything", "0", "0.05", "oLLLLLLLLLo"},
    {"StepNotANumberIsZero", "abc", "0.05", "oLLLLLLLLLo"},
    {"TwoLevelsPerUnit", "2", "0.05", "oLLLLLLLLLo"},
    {"HalfLevelPerUnit", "0.5", "0.1", "oL...L...Lo"},
};

TEST_P(ThresholdTest, MarksTheRow) {
    ScanArea(11, 4, "0", "4");
    platform::Canvas canvas = Painted({"ooooooooooo", "oAAAAAAAAAo", "oAAAAAAAAAo", "ooooooooooo"});
    const ThresholdCase& c = GetParam();
    LevelLinesByThreshold(canvas, Drawing(), Threshold(c.step, c.width));
    EXPECT_EQ(Picture(canvas)[1], c.row);
}

INSTANTIATE_TEST_SUITE_P(Cases, ThresholdTest, ::testing::ValuesIn(ThresholdCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(LevelLinesTest, TransparentThresholdLinesLieOverThePicture) {
    ScanArea(11, 4, "0", "4");
    platform::Canvas canvas = Painted({"ooooooooooo", "oAAAAAAAAAo", "oAAAAAAAAAo", "ooooooooooo"});
    LevelLinesByThreshold(canvas, Drawing(), Threshold("1", "0.25", true));
    EXPECT_EQ(Picture(canvas)[1], "oLALALALALo");
}

TEST_F(LevelLinesTest, ThresholdIgnoresStop) {
    ScanArea(11, 4, "0", "4");
    platform::Canvas canvas = Painted({"ooooooooooo", "oAAAAAAAAAo", "oAAAAAAAAAo", "ooooooooooo"});
    progress.stop = true;
    LevelLinesByThreshold(canvas, Drawing(), Threshold("1", "0.25"));
    EXPECT_EQ(Picture(canvas)[1], "oL.L.L.L.Lo");
}

TEST_F(LevelLinesTest, RoundingBeyondTheIntegerRangeRaisesAndKeepsEarlierPixels) {
    ScanArea(13, 4, "0", "1");
    platform::Canvas canvas =
        Painted({"ooooooooooooo", "oAAAAAAAAAAAo", "oAAAAAAAAAAAo", "ooooooooooooo"});
    // x = 0 gives u = 0; x = 0.1 gives u = 1e29, beyond 64 bits.
    EXPECT_THROW(LevelLinesByThreshold(canvas, Drawing(), Threshold("1e30", "0.05")),
                 runtime::EInvalidOp);
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{"ooooooooooooo", "oLAAAAAAAAAAo",
                                                         "oAAAAAAAAAAAo", "ooooooooooooo"}));
    EXPECT_EQ(statuses.size(), 1u);
}

TEST_F(LevelLinesTest, ProductBeyondTheRealRangeRaisesOverflow) {
    plot.CurrentFunc = Impure(Huge);
    ScanArea(5, 4, "0", "1");
    platform::Canvas canvas = Painted({"ooooo", "oAAAo", "oAAAo", "ooooo"});
    EXPECT_THROW(LevelLinesByThreshold(canvas, Drawing(), Threshold("1e4000", "0.05")),
                 runtime::EOverflow);
    EXPECT_EQ(Picture(canvas)[1], "oAAAo");
}

TEST_F(LevelLinesTest, OtherModesDrawNothingAndWriteNoStatus) {
    ScanArea(6, 5, "0", "1");
    for (const std::int32_t mode : {-1, 2}) {
        platform::Canvas canvas = Painted({"oooooo", "oAAAAo", "oAAAAo", "oAAAAo", "oooooo"});
        DrawLevelLines(canvas, Drawing(), LevelLineMethodOf(mode), LevelLineOptions{});
        EXPECT_EQ(Picture(canvas),
                  (std::vector<std::string>{"oooooo", "oAAAAo", "oAAAAo", "oAAAAo", "oooooo"}))
            << mode;
    }
    EXPECT_TRUE(statuses.empty());
}

// The colour-analysis rule done in place, pixel by pixel in scan order, as written.
void AnalysisInPlace(const palette::TPalette& Palette, platform::Canvas& canvas, std::int32_t cols,
                     std::int32_t rows, bool transparent) {
    const std::int32_t line = Palette[palette::LevelLineColor].Color;
    const std::int32_t background = Palette[palette::BackgroundColor].Color;
    for (std::int32_t row = 1; row <= rows; ++row) {
        for (std::int32_t col = 1; col <= cols; ++col) {
            const std::int32_t c = canvas.GetPixel(col, row);
            if (c != canvas.GetPixel(col + 1, row) || c != canvas.GetPixel(col, row + 1) ||
                c != canvas.GetPixel(col + 1, row + 1)) {
                canvas.SetPixel(col, row, line);
            } else if (!transparent) {
                canvas.SetPixel(col, row, background);
            }
        }
    }
}

TEST_F(LevelLinesTest, AnalysisFollowsTheRuleAtEveryPixelWhateverTheAreaAndCanvasSizes) {
    // Blocks of three colours, with lone pixels, on a 23 x 17 canvas.
    platform::Canvas picture(23, 17, palette::PackColor(9, 9, 9));
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 23; ++x) {
            const int block = (x / 4 + y / 3 + (x * y % 7 == 3 ? 1 : 0)) % 3;
            picture.SetPixel(x, y, palette::PackColor(40 * block, 0, 0));
        }
    }
    const std::pair<std::int32_t, std::int32_t> areas[] = {{21, 15}, {10, 6}, {22, 16}, {30, 25}};
    for (const auto& [cols, rows] : areas) {
        for (const bool transparent : {false, true}) {
            SCOPED_TRACE(std::to_string(cols) + "x" + std::to_string(rows));
            plot.MapCols = cols;
            plot.MapRows = rows;
            platform::Canvas expected = picture;
            AnalysisInPlace(Palette, expected, cols, rows, transparent);
            LevelLineOptions options;
            options.transparent = transparent;
            for (const unsigned threads : {1u, 2u}) {
                platform::Canvas canvas = picture;
                LevelLinesByAnalysis(canvas, Drawing(), options, threads);
                EXPECT_TRUE(canvas.Image() == expected.Image()) << threads;
            }
        }
    }
}

// --- A typed function defined in part of the region ---

// Each formula is the reference where it is defined, and every column's or row's values occur
// where it is, so that their maps share the range.
struct PartlyDefinedLinesCase {
    const char* name;
    const char* formula;
    const char* reference;
    int method;  // of the level-line list
    bool transparent;
};

void PrintTo(const PartlyDefinedLinesCase& c, std::ostream* out) {
    *out << c.name;
}

const PartlyDefinedLinesCase PartlyDefinedLines[] = {
    {"AnalysisLowerHalfLeftOut", "x*x+0*ln(y)", "x*x", 0, false},
    {"AnalysisTransparentDiscLeftOut", "x+0*ln(x*x+y*y-1)", "x", 0, true},
    {"ThresholdLeftHalfLeftOut", "y*y+0*sqrt(x)", "y*y", 1, false},
    {"ThresholdTransparentPoleLeftOut", "x*y+0/(x*x+y*y)", "x*y", 1, true},
};

class PartlyDefinedLinesTest : public LevelLinesTest,
                               public ::testing::WithParamInterface<PartlyDefinedLinesCase> {
  protected:
    // The ten-colour map of a formula over an area of 61 x 47, scanned.
    platform::Canvas Map(const char* formula) {
        for (int k = 1; k < 9; ++k)
            SetEntry(k, 20 * k, 7, 0);
        plot.CurrentFunc = core::PlottedFunc(core::CompileFormula(formula));
        ScanArea(61, 47, "-1.3", "1.3");
        platform::Canvas canvas(61, 47);
        FillSurface(canvas, Drawing(), FillModeOf(0), 30);
        return canvas;
    }
    // The lines over `map` on `threads` threads; `keep` leaves the scan's samples for them.
    platform::Canvas Lines(const platform::Canvas& map, unsigned threads, bool keep) {
        const PartlyDefinedLinesCase& c = GetParam();
        if (!keep)
            ReleaseKeptSamples(samples);
        platform::Canvas canvas = map;
        const LevelLineOptions options = Threshold("5.0", "0.05", c.transparent);
        if (c.method == 0)
            LevelLinesByAnalysis(canvas, Drawing(), options, threads);
        else
            LevelLinesByThreshold(canvas, Drawing(), options, threads);
        return canvas;
    }
};

TEST_P(PartlyDefinedLinesTest, DrawNoLineThroughAnUndefinedSample) {
    const PartlyDefinedLinesCase& c = GetParam();
    const platform::Canvas reference = Lines(Map(c.reference), 1, true);
    for (const auto& [threads, keep] :
         {std::pair{1u, true}, {3u, true}, {1u, false}, {3u, false}}) {
        SCOPED_TRACE(testing::Message() << threads << " threads, kept " << keep);
        const platform::Canvas map = Map(c.formula);
        const platform::Canvas canvas = Lines(map, threads, keep);
        ASSERT_GT(plot.UndefinedCount, 0);
        const auto undefined = [&](std::int32_t col, std::int32_t row) {
            return col <= plot.MapCols && row <= plot.MapRows &&
                   testsupport::UndefinedAt(plot, col, row);
        };
        for (std::int32_t row = 1; row <= plot.MapRows; ++row) {
            for (std::int32_t col = 1; col <= plot.MapCols; ++col) {
                // The threshold looks at the pixel's sample, the analysis at its cell's four.
                const bool off = c.method == 1
                                     ? undefined(col, row)
                                     : undefined(col, row) || undefined(col + 1, row) ||
                                           undefined(col, row + 1) || undefined(col + 1, row + 1);
                const std::int32_t expected = !off            ? reference.GetPixel(col, row)
                                              : c.transparent ? map.GetPixel(col, row)
                                                              : Colors.at('.');
                ASSERT_EQ(canvas.GetPixel(col, row), expected) << col << "," << row;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formulas, PartlyDefinedLinesTest, ::testing::ValuesIn(PartlyDefinedLines),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace metopt::render
