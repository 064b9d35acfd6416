// The scan on several threads and the samples it keeps: the same range, smallest sample, status
// texts and errors as the one-thread scan, and the same pictures from kept samples as from the
// function.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/functions.h"
#include "palette/palette.h"
#include "platform/canvas.h"
#include "render/fill.h"
#include "render/hooks.h"
#include "render/levellines.h"
#include "render/viewport.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "support/qt_environment.h"
#include "support/render_state.h"

namespace metopt::render {
namespace {

long double Sum(long double x, long double y) {
    return x + y;
}

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;  // the value's ten bytes, not the padding
}

// What a scan leaves behind.
struct ScanOutcome {
    std::optional<std::string> error;
    long double zMin = 0;
    long double zMax = 0;
    std::int32_t minCol = 0;
    std::int32_t minRow = 0;
    bool valid = false;
    std::vector<std::string> statuses;
    std::vector<long double> kept;
};

void ExpectSame(const ScanOutcome& a, const ScanOutcome& b) {
    EXPECT_EQ(a.error, b.error);
    EXPECT_TRUE(SameBits(a.zMin, b.zMin)) << static_cast<double>(a.zMin);
    EXPECT_TRUE(SameBits(a.zMax, b.zMax)) << static_cast<double>(a.zMax);
    EXPECT_EQ(a.minCol, b.minCol);
    EXPECT_EQ(a.minRow, b.minRow);
    EXPECT_EQ(a.valid, b.valid);
    EXPECT_EQ(a.statuses, b.statuses);
    ASSERT_EQ(a.kept.size(), b.kept.size());
    for (std::size_t i = 0; i < a.kept.size(); ++i)
        ASSERT_TRUE(SameBits(a.kept[i], b.kept[i])) << "sample " << i;
}

struct ScanCase {
    const char* name;
    int function;
    int width;
    int height;
    GraphFieldTexts fields;
};

GraphFieldTexts Region(const char* xb, const char* xe, const char* yb, const char* ye) {
    GraphFieldTexts fields;
    fields.Xb = xb;
    fields.Xe = xe;
    fields.Yb = yb;
    fields.Ye = ye;
    return fields;
}

std::ostream& operator<<(std::ostream& out, const ScanCase& c) {
    return out << c.name;
}

class SamplesTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        for (int k = 0; k < palette::MapColorCount; ++k)
            SetEntry(k, 10 + 20 * k, 0, 5);
        SetEntry(palette::BackgroundColor, 250, 250, 250);
        SetEntry(palette::GradientLowColor, 200, 0, 0);
        SetEntry(palette::GradientHighColor, 0, 0, 200);
        SetEntry(palette::OutlineColor, 1, 2, 3);
        SetEntry(palette::LevelLineColor, 0, 255, 255);
    }

    void UseArea(int function, int width, int height) {
        core::CurrentFunc = core::ObjectiveFuncs[function];
        MapCols = width - 2;
        MapRows = height - 2;
    }

    // A scan from the start state of this module, on the given number of threads.
    ScanOutcome Scan(const ScanCase& c, unsigned threads) {
        ResetViewport();
        statuses.clear();
        UseArea(c.function, c.width, c.height);
        ScanOutcome outcome;
        try {
            ScanValueRange(c.fields, threads);
        } catch (const runtime::Exception& e) {
            outcome.error = e.Message();
        }
        outcome.zMin = ZMin;
        outcome.zMax = ZMax;
        outcome.minCol = MinCol;
        outcome.minRow = MinRow;
        outcome.valid = ZRangeValid;
        outcome.statuses = statuses;
        if (const long double* kept = KeptSamples())
            outcome.kept.assign(kept, kept + static_cast<std::size_t>(MapCols) * MapRows);
        return outcome;
    }
};

const ScanCase ScanCases[] = {
    {"Paraboloid", 0, 61, 47, GraphFieldTexts{}},
    {"TwoValleys", 1, 61, 47, GraphFieldTexts{}},
    {"RadialSinc", 2, 61, 47, GraphFieldTexts{}},
    {"RadialSincDesignSize", 2, 448, 412, GraphFieldTexts{}},
    // Equal samples everywhere: the range is widened and the first pixel is the smallest.
    {"ParaboloidAtOnePoint", 0, 9, 7, Region("0.5", "0.5", "0.5", "0.5")},
    // Overflows at the very first pixel.
    {"TwoValleysOverflowsEverywhere", 1, 61, 47, Region("-1e1300", "1e1300", "-1.3", "1.3")},
    // Rows from the top are sound; further down the scan overflows near the right edge of a row,
    // and rows after it overflow sooner.
    {"TwoValleysOverflowsInALaterRow", 1, 61, 47, Region("0", "7e1232", "-1.2e2466", "0")},
    // A single column divides by MapCols - 1 = 0: invalid at the first pixel.
    {"SingleColumn", 2, 3, 5, GraphFieldTexts{}},
};

class ThreadedScanTest : public SamplesTest, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(ThreadedScanTest, LeavesWhatTheOneThreadScanLeaves) {
    const ScanOutcome oneThread = Scan(GetParam(), 1);
    ASSERT_EQ(oneThread.statuses.empty(), false);
    for (const unsigned threads : {2u, 3u, 8u}) {
        SCOPED_TRACE(threads);
        ExpectSame(Scan(GetParam(), threads), oneThread);
    }
}

INSTANTIATE_TEST_SUITE_P(Regions, ThreadedScanTest, ::testing::ValuesIn(ScanCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SamplesTest, TheOverflowCasesFailWhereTheyShould) {
    const ScanOutcome everywhere = Scan(ScanCases[5], 2);
    EXPECT_EQ(everywhere.error, "Floating point overflow");
    EXPECT_EQ(everywhere.statuses.size(), 1u);
    EXPECT_EQ(everywhere.zMin, 1e9L);
    EXPECT_FALSE(everywhere.valid);
    EXPECT_TRUE(everywhere.kept.empty());

    // Row r samples y = -1.2e2466 (r - 1) / 44 and the last column x = 7e1232 (x*x = 4.9e2465).
    // (y - x*x)^2 + (1 - x*x)^2 passes the largest extended value (1.19e4932) there once
    // |y| + 4.9e2465 passes 9.74e2465: from row 19 (|y| = 4.91e2465) on, not in row 18 (4.64e2465).
    const ScanOutcome later = Scan(ScanCases[6], 2);
    EXPECT_EQ(later.error, "Floating point overflow");
    EXPECT_EQ(later.statuses.size(), 19u);
    EXPECT_EQ(later.zMin, 1);  // (0 - 0)^2 + (1 - 0)^2 at the top-left pixel
    EXPECT_EQ(later.minCol, 1);
    EXPECT_EQ(later.minRow, 1);
    EXPECT_GT(later.zMax, 1e4900L);
    EXPECT_FALSE(later.valid);
}

TEST_F(SamplesTest, SamplesAreKeptOnlyWhileTheyBelongToThePresentState) {
    UseArea(2, 21, 17);
    ScanValueRange(GraphFieldTexts{}, 2);
    const long double* kept = KeptSamples();
    ASSERT_NE(kept, nullptr);
    for (std::int32_t row = 1; row <= MapRows; ++row) {
        for (std::int32_t col = 1; col <= MapCols; ++col)
            ASSERT_TRUE(SameBits(kept[(row - 1) * MapCols + col - 1], ValueAtPixel(col, row)));
    }

    ZRangeValid = false;
    EXPECT_EQ(KeptSamples(), nullptr);
    ZRangeValid = true;
    core::CurrentFunc = core::ObjectiveFuncs[0];
    EXPECT_EQ(KeptSamples(), nullptr);
    core::CurrentFunc = core::ObjectiveFuncs[2];
    ++MapCols;
    EXPECT_EQ(KeptSamples(), nullptr);
    --MapCols;
    ++MapRows;
    EXPECT_EQ(KeptSamples(), nullptr);
    --MapRows;
    const long double xb = VisibleRegion.Xb;
    VisibleRegion.Xb = -1.3000000000000001L;
    EXPECT_EQ(KeptSamples(), nullptr);
    VisibleRegion.Xb = xb;
    EXPECT_EQ(KeptSamples(), kept);

    // 0 and -0 compare equal but are not the same region.
    GraphFieldTexts zeroLeft;
    zeroLeft.Xb = "0";
    ScanValueRange(zeroLeft, 2);
    ASSERT_NE(KeptSamples(), nullptr);
    VisibleRegion.Xb = -0.0L;
    EXPECT_EQ(KeptSamples(), nullptr);
}

TEST_F(SamplesTest, AFunctionOutsideTheProgramsOwnKeepsNothing) {
    UseArea(2, 21, 17);
    ScanValueRange(GraphFieldTexts{}, 2);
    ASSERT_NE(KeptSamples(), nullptr);
    core::CurrentFunc = Sum;
    EXPECT_FALSE(CurrentFuncIsPure());
    ScanValueRange(GraphFieldTexts{}, 2);
    EXPECT_TRUE(ZRangeValid);
    EXPECT_EQ(KeptSamples(), nullptr);
    EXPECT_EQ(MinCol, 1);
    EXPECT_EQ(MinRow, 15);
    core::CurrentFunc = core::ObjectiveFuncs[2];
    EXPECT_EQ(KeptSamples(), nullptr);  // released when the second scan began
}

TEST_F(SamplesTest, AFailedScanKeepsNothing) {
    UseArea(2, 21, 17);
    ScanValueRange(GraphFieldTexts{}, 2);
    ASSERT_NE(KeptSamples(), nullptr);
    EXPECT_THROW(ScanValueRange(Region("-1e4932", "1e4932", "-1", "1"), 2), runtime::EOverflow);
    ZRangeValid = true;  // as a caller that did not look at the failure would leave it
    EXPECT_EQ(KeptSamples(), nullptr);
}

// Row 1: 5 5; row 2: 5 -0; row 3: +0 5 (x = 0, 1 and y = 2, 1, 0).
long double SignedZeroes(long double x, long double y) {
    if (y == 1 && x == 1)
        return -0.0L;
    if (y == 0 && x == 0)
        return 0.0L;
    return 5;
}

TEST_F(SamplesTest, ZeroesOfEitherSignAreEqualAndTheFirstOneIsTheSmallest) {
    core::CurrentFunc = SignedZeroes;
    MapCols = 2;
    MapRows = 3;
    ScanValueRange(Region("0", "1", "0", "2"), 2);
    EXPECT_TRUE(std::signbit(ZMin));
    EXPECT_EQ(MinCol, 2);
    EXPECT_EQ(MinRow, 2);
    EXPECT_EQ(ZMax, 5);
}

// The colour-analysis rule done in place, pixel by pixel in scan order, as written.
void AnalysisInPlace(platform::Canvas& canvas, std::int32_t cols, std::int32_t rows,
                     bool transparent) {
    const std::int32_t line = palette::Palette[palette::LevelLineColor].Color;
    const std::int32_t background = palette::Palette[palette::BackgroundColor].Color;
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

TEST_F(SamplesTest, AnalysisFollowsTheRuleAtEveryPixelWhateverTheAreaAndCanvasSizes) {
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
            MapCols = cols;
            MapRows = rows;
            platform::Canvas expected = picture;
            AnalysisInPlace(expected, cols, rows, transparent);
            LevelLineOptions options;
            options.transparent = transparent;
            for (const unsigned threads : {1u, 2u}) {
                platform::Canvas canvas = picture;
                LevelLinesByAnalysis(canvas, options, threads);
                EXPECT_TRUE(canvas.Image() == expected.Image()) << threads;
            }
        }
    }
}

// The picture of one command, with its status texts and its error.
struct Picture {
    QImage image;
    std::vector<std::string> statuses;
    std::optional<std::string> error;
};

class KeptPicturesTest : public SamplesTest, public ::testing::WithParamInterface<int> {
  protected:
    // The command run on a canvas showing `start`, after a scan of the area of that size.
    template <typename Command>
    Picture Draw(const platform::Canvas& start, Command command) {
        platform::Canvas canvas = start;
        statuses.clear();
        Picture picture;
        try {
            command(canvas);
        } catch (const runtime::Exception& e) {
            picture.error = e.Message();
        }
        picture.image = canvas.Image();
        picture.statuses = statuses;
        return picture;
    }

    // The command on kept samples with 1 and 2 threads, then evaluating with 1 and 3: all four
    // give the same picture, texts and error.
    template <typename Command>
    Picture ExpectSameEveryWay(const platform::Canvas& start, Command command) {
        const Picture kept = Draw(start, [&](platform::Canvas& c) { command(c, 1u); });
        EXPECT_NE(KeptSamples(), nullptr);
        const Picture keptThreads = Draw(start, [&](platform::Canvas& c) { command(c, 2u); });
        const ScanState saved = Save();
        ReleaseKeptSamples();
        const Picture evaluated = Draw(start, [&](platform::Canvas& c) { command(c, 1u); });
        const Picture evaluatedThreads = Draw(start, [&](platform::Canvas& c) { command(c, 3u); });
        Restore(saved);
        for (const Picture* other : {&keptThreads, &evaluated, &evaluatedThreads}) {
            EXPECT_TRUE(other->image == kept.image);
            EXPECT_EQ(other->statuses, kept.statuses);
            EXPECT_EQ(other->error, kept.error);
        }
        return kept;
    }

    struct ScanState {
        long double zMin, zMax;
    };
    ScanState Save() const { return {ZMin, ZMax}; }
    void Restore(const ScanState& s) {
        ZMin = s.zMin;
        ZMax = s.zMax;
        ScanValueRange(GraphFieldTexts{}, 2);  // the samples kept again
        ZMin = s.zMin;
        ZMax = s.zMax;
    }

    platform::Canvas ScannedArea(int width, int height) {
        UseArea(GetParam(), width, height);
        ScanValueRange(GraphFieldTexts{}, 2);
        return platform::Canvas(width, height, 0);
    }

    platform::Canvas Map(const platform::Canvas& area) {
        platform::Canvas map = area;
        FillSurface(map, 0, 30, 1);
        return map;
    }
};

TEST_P(KeptPicturesTest, FillsAreTheSame) {
    const platform::Canvas area = ScannedArea(64, 50);
    for (const std::int32_t mode : {0, 1, -1}) {
        SCOPED_TRACE(mode);
        ExpectSameEveryWay(area, [mode](platform::Canvas& c, unsigned threads) {
            FillSurface(c, mode, 7, threads);
        });
    }
    const Picture map = Draw(area, [](platform::Canvas& c) { FillSurface(c, 0, 30, 2); });
    EXPECT_EQ(map.statuses.size(), 48u);
    EXPECT_EQ(map.statuses.back(), "Прорисовка карты высот: 100%");
    // The smallest sample is in class 0 and the largest in class 9.
    EXPECT_EQ(platform::FromQRgb(map.image.pixel(MinCol, MinRow)), palette::Palette[0].Color);
}

TEST_P(KeptPicturesTest, FillsFailingAtTheFirstPixelAreTheSame) {
    const platform::Canvas area = ScannedArea(40, 30);
    ExpectSameEveryWay(area, [](platform::Canvas& c, unsigned threads) {
        FillSurface(c, 1, 1, threads);  // one gradient colour: division by zero
    });
    ZMin = -LDBL_MAX;
    ZMax = LDBL_MAX;
    ExpectSameEveryWay(area, [](platform::Canvas& c, unsigned threads) {
        FillSurface(c, 0, 30, threads);  // the scale's span overflows
    });
}

TEST_P(KeptPicturesTest, FillsStoppedAfterTheSecondRowAreTheSame) {
    const platform::Canvas area = ScannedArea(40, 30);
    SetStatusSink([this](const std::string& text) {
        statuses.push_back(text);
        if (statuses.size() == 2)
            StopRequested = true;
    });
    const Picture stopped = ExpectSameEveryWay(area, [](platform::Canvas& c, unsigned threads) {
        StopRequested = false;
        FillSurface(c, 0, 30, threads);
    });
    EXPECT_EQ(stopped.statuses.size(), 2u);
    const QRgb background = platform::ToQRgb(palette::Palette[palette::BackgroundColor].Color);
    for (int col = 1; col <= MapCols; ++col) {
        EXPECT_EQ(stopped.image.pixel(col, 3), background) << col;
        EXPECT_EQ(stopped.image.pixel(col, MapRows), background) << col;
    }
}

TEST_P(KeptPicturesTest, StoppedFillOnACanvasSmallerThanTheAreaKeepsItsFrame) {
    UseArea(GetParam(), 42, 32);
    ScanValueRange(GraphFieldTexts{}, 2);
    const platform::Canvas small(30, 20, 0);
    SetStatusSink([this](const std::string& text) {
        statuses.push_back(text);
        if (statuses.size() == 2)
            StopRequested = true;
    });
    const Picture stopped = ExpectSameEveryWay(small, [](platform::Canvas& c, unsigned threads) {
        StopRequested = false;
        FillSurface(c, 0, 30, threads);
    });
    const QRgb outline = platform::ToQRgb(palette::Palette[palette::OutlineColor].Color);
    // The frame's right column: drawn over by the map in rows 1 and 2, the frame below them.
    for (int row = 0; row < 20; ++row) {
        const bool drawn = row == 1 || row == 2;
        EXPECT_EQ(stopped.image.pixel(29, row) == outline, !drawn) << row;
    }
}

TEST_P(KeptPicturesTest, ThresholdLinesAreTheSame) {
    const platform::Canvas area = ScannedArea(64, 50);
    const platform::Canvas map = Map(area);
    for (const bool transparent : {false, true}) {
        LevelLineOptions options;
        options.transparent = transparent;
        ExpectSameEveryWay(map, [&options](platform::Canvas& c, unsigned threads) {
            LevelLinesByThreshold(c, options, threads);
        });
    }
}

TEST_P(KeptPicturesTest, ThresholdLinesFailingMidwayAreTheSame) {
    const platform::Canvas area = ScannedArea(64, 50);
    const platform::Canvas map = Map(area);
    // Levels this dense put z * S beyond the 64-bit range wherever z > 0.9.
    LevelLineOptions options;
    options.stepText = "1.0248e19";
    ExpectSameEveryWay(map, [&options](platform::Canvas& c, unsigned threads) {
        LevelLinesByThreshold(c, options, threads);
    });
}

TEST_P(KeptPicturesTest, AnalysisLinesAreTheSame) {
    const platform::Canvas map = Map(ScannedArea(64, 50));
    for (const bool transparent : {false, true}) {
        LevelLineOptions options;
        options.transparent = transparent;
        const Picture one =
            Draw(map, [&](platform::Canvas& c) { LevelLinesByAnalysis(c, options, 1); });
        const Picture three =
            Draw(map, [&](platform::Canvas& c) { LevelLinesByAnalysis(c, options, 3); });
        EXPECT_TRUE(one.image == three.image);
        EXPECT_EQ(one.statuses, three.statuses);
        EXPECT_FALSE(one.image == map.Image());
    }

    SetStatusSink([this](const std::string& text) {
        statuses.push_back(text);
        if (statuses.size() == 3)
            StopRequested = true;
    });
    std::vector<QImage> stopped;
    for (const unsigned threads : {1u, 2u}) {
        StopRequested = false;
        stopped.push_back(Draw(map, [&](platform::Canvas& c) {
                              LevelLinesByAnalysis(c, LevelLineOptions{}, threads);
                          }).image);
        EXPECT_EQ(statuses.size(), 3u);
    }
    EXPECT_TRUE(stopped[0] == stopped[1]);
    // Rows from the fourth down are untouched.
    EXPECT_TRUE(stopped[1].copy(0, 4, 64, 46) == map.Image().copy(0, 4, 64, 46));
}

INSTANTIATE_TEST_SUITE_P(Functions, KeptPicturesTest, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return "f" + std::to_string(info.param); });

}  // namespace
}  // namespace metopt::render
