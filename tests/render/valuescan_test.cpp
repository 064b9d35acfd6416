// The value scan: its range, its smallest sample and its status texts, on one thread and on
// several, which leave the same.
#include "render/valuescan.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/builtinfunctions.h"
#include "core/formula/formula.h"
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/sampling.h"
#include "runtime/exceptions.h"
#include "support/expect_error.h"

namespace metopt::render {
namespace {

using testsupport::Region;
using testsupport::SameBits;

const std::string ScanPrefix = "Расчет значений функции: ";

int g_calls = 0;

long double Sum(long double x, long double y) {
    ++g_calls;
    return x + y;
}
long double AlwaysOne(long double, long double) {
    return 1;
}
long double TwoThousandMillion(long double, long double) {
    return 2e9L;
}
long double MinusThreeThousandMillion(long double, long double) {
    return -3e9L;
}
long double Overflowing(long double, long double) {
    throw runtime::EOverflow();
}

// On the grid x = col - 1, y = 3 - (row - 1): -1 at three points, x + y + 10 elsewhere.
long double ThreeEqualMinima(long double x, long double y) {
    const bool atMinimum = (x == 2 && y == 2) || (x == 4 && y == 2) || (x == 0 && y == 1);
    return atMinimum ? -1 : x + y + 10;
}

// Row 1: 5 5; row 2: 5 -0; row 3: +0 5 (x = 0, 1 and y = 2, 1, 0).
long double SignedZeroes(long double x, long double y) {
    if (y == 1 && x == 1)
        return -0.0L;
    if (y == 0 && x == 0)
        return 0.0L;
    return 5;
}

class ValueScanTest : public testsupport::RenderStateTest {
  protected:
    void SetUp() override {
        RenderStateTest::SetUp();
        g_calls = 0;
        plot.CurrentFunc = Impure(Sum);
        progress.onStatus = [this] { callsAtStatus.push_back(g_calls); };
    }

    std::vector<int> callsAtStatus;
};

TEST_F(ValueScanTest, ScanFindsRangeAndSmallestSampleOfSum) {
    UseDesignSize();
    ScanValueRange(plot, samples, progress, GraphFieldTexts{});
    // x + y is smallest at the bottom-left corner and largest at the top-right one.
    EXPECT_EQ(plot.ZMin, ValueAtPixel(plot, 1, 410));
    EXPECT_EQ(plot.ZMax, ValueAtPixel(plot, 446, 1));
    EXPECT_EQ(plot.MinCol, 1);
    EXPECT_EQ(plot.MinRow, 410);
    EXPECT_TRUE(plot.ZRangeValid);
    EXPECT_EQ(g_calls, 446 * 410 + 2);
}

TEST_F(ValueScanTest, ScanWritesOneStatusBeforeEachRow) {
    UseDesignSize();
    ScanValueRange(plot, samples, progress, GraphFieldTexts{});

    ASSERT_EQ(statuses.size(), 410u);
    EXPECT_EQ(statuses.front(), ScanPrefix + "0%");
    EXPECT_EQ(statuses[204], ScanPrefix + "50%");  // row 205 of 410
    EXPECT_EQ(statuses.back(), ScanPrefix + "100%");
    for (std::size_t i = 0; i < callsAtStatus.size(); ++i) {
        ASSERT_EQ(callsAtStatus[i], static_cast<int>(i) * 446) << "status " << i;
    }
}

// Scans of the design area whose samples are all alike; the smallest sample's pixel is 7, 5
// before each of them.
struct RangeCase {
    const char* name;
    core::TObjectiveFunc function;
    GraphFieldTexts fields;
    long double zMin, zMax;
    std::int32_t minCol, minRow;
};

TEST_F(ValueScanTest, SamplesAllAlikeOrBeyondTheStartLimits) {
    const RangeCase cases[] = {
        // Equal samples widen the range.
        {"EqualSamples", AlwaysOne, Region("0.5", "0.5", "0.5", "0.5"), 1 - 0.0001L, 1 + 0.0001L, 1,
         1},
        // Samples above the start limit leave the minimum and its pixel.
        {"AboveTheStartLimit", TwoThousandMillion, GraphFieldTexts{}, 1e9L, 2e9L, 7, 5},
        // Samples below the start limit leave the maximum.
        {"BelowTheStartLimit", MinusThreeThousandMillion, GraphFieldTexts{}, -3e9L, -1e9L, 1, 1},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        UseDesignSize();
        plot.MinCol = 7;
        plot.MinRow = 5;
        plot.CurrentFunc = Impure(c.function);
        ScanValueRange(plot, samples, progress, c.fields);
        EXPECT_EQ(plot.ZMin, c.zMin);
        EXPECT_EQ(plot.ZMax, c.zMax);
        EXPECT_EQ(plot.MinCol, c.minCol);
        EXPECT_EQ(plot.MinRow, c.minRow);
    }
}

TEST_F(ValueScanTest, NoRowsMeansNoStatusAndTheStartLimits) {
    for (const std::int32_t rows : {0, -2}) {
        FreshPlot();
        statuses.clear();
        plot.MapCols = 446;
        plot.MapRows = rows;
        ScanValueRange(plot, samples, progress, GraphFieldTexts{});
        EXPECT_TRUE(statuses.empty()) << rows;
        EXPECT_EQ(plot.ZMin, 1e9L) << rows;
        EXPECT_EQ(plot.ZMax, -1e9L) << rows;
        EXPECT_TRUE(plot.ZRangeValid) << rows;
        EXPECT_EQ(plot.VisibleRegion.Xe, 1.3L) << rows;
    }
    EXPECT_EQ(g_calls, 0);
}

TEST_F(ValueScanTest, EqualSmallestSamplesGoToTheFirstInScanOrder) {
    plot.MapCols = 5;
    plot.MapRows = 4;
    plot.CurrentFunc = Impure(ThreeEqualMinima);
    ScanValueRange(plot, samples, progress, Region("0", "4", "0", "3"));

    EXPECT_EQ(plot.ZMin, -1);
    EXPECT_EQ(plot.ZMax, 17);  // x = 4, y = 3
    EXPECT_EQ(plot.MinCol, 3);
    EXPECT_EQ(plot.MinRow, 2);
}

TEST_F(ValueScanTest, ZeroesOfEitherSignAreEqualAndTheFirstOneIsTheSmallest) {
    plot.CurrentFunc = Impure(SignedZeroes);
    plot.MapCols = 2;
    plot.MapRows = 3;
    ScanValueRange(plot, samples, progress, Region("0", "1", "0", "2"), 2);
    EXPECT_TRUE(std::signbit(plot.ZMin));
    EXPECT_EQ(plot.MinCol, 2);
    EXPECT_EQ(plot.MinRow, 2);
    EXPECT_EQ(plot.ZMax, 5);
}

TEST_F(ValueScanTest, SingleColumnAreaRaisesAtItsFirstPixel) {
    plot.MapCols = 1;
    plot.MapRows = 3;
    EXPECT_THROW(ScanValueRange(plot, samples, progress, GraphFieldTexts{}),
                 runtime::EInvalidOp);  // (0 * 2.6) / 0
    EXPECT_EQ(statuses, std::vector<std::string>{ScanPrefix + "33%"});
    EXPECT_FALSE(plot.ZRangeValid);
    EXPECT_EQ(plot.ZMin, 1e9L);
    EXPECT_THROW(ColumnToX(plot, 2), runtime::EZeroDivide);
    EXPECT_EQ(g_calls, 0);
}

TEST_F(ValueScanTest, SingleColumnAreaRaisesAtItsFirstPixelForATypedFunctionToo) {
    plot.CurrentFunc = core::PlottedFunc(core::CompileFormula("x+y"));
    plot.MapCols = 1;
    plot.MapRows = 3;
    EXPECT_THROW(ScanValueRange(plot, samples, progress, GraphFieldTexts{}), runtime::EInvalidOp);
    EXPECT_EQ(statuses, std::vector<std::string>{ScanPrefix + "33%"});
    EXPECT_FALSE(plot.ZRangeValid);
}

TEST_F(ValueScanTest, FailingFunctionStopsTheScanWithRangeInvalid) {
    UseDesignSize();
    plot.CurrentFunc = Impure(Overflowing);
    EXPECT_THROW(ScanValueRange(plot, samples, progress, GraphFieldTexts{}), runtime::EOverflow);
    EXPECT_FALSE(plot.ZRangeValid);
    EXPECT_EQ(statuses.size(), 1u);
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

std::ostream& operator<<(std::ostream& out, const ScanCase& c) {
    return out << c.name;
}

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
    // A single column divides by plot.MapCols - 1 = 0: invalid at the first pixel.
    {"SingleColumn", 2, 3, 5, GraphFieldTexts{}},
};

// The table's functions through a pointer of their own, which has no unchecked evaluation: the
// scan checks the flags at every sample.
long double CheckedParaboloid(long double x, long double y) {
    return core::ObjectiveFuncs[0](x, y);
}
long double CheckedTwoValleys(long double x, long double y) {
    return core::ObjectiveFuncs[1](x, y);
}
long double CheckedRadialSinc(long double x, long double y) {
    return core::ObjectiveFuncs[2](x, y);
}
const core::TObjectiveFunc CheckedTwins[core::FunctionCount] = {
    CheckedParaboloid, CheckedTwoValleys, CheckedRadialSinc};

class ThreadedScanTest : public testsupport::RenderStateTest {
  protected:
    // A scan from the start state, on the given number of threads; with `checked`, through the
    // function's checked twin.
    ScanOutcome Scan(const ScanCase& c, unsigned threads, bool checked = false) {
        FreshPlot();
        statuses.clear();
        plot.CurrentFunc = checked ? core::TPlottedFunc{CheckedTwins[c.function], true, nullptr}
                                   : core::PlottedFunc(c.function);
        plot.MapCols = c.width - 2;
        plot.MapRows = c.height - 2;
        ScanOutcome outcome;
        try {
            ScanValueRange(plot, samples, progress, c.fields, threads);
        } catch (const runtime::Exception& e) {
            outcome.error = e.Message();
        }
        outcome.zMin = plot.ZMin;
        outcome.zMax = plot.ZMax;
        outcome.minCol = plot.MinCol;
        outcome.minRow = plot.MinRow;
        outcome.valid = plot.ZRangeValid;
        outcome.statuses = statuses;
        if (const long double* kept = KeptSamples(plot, samples))
            outcome.kept.assign(kept, kept + static_cast<std::size_t>(plot.MapCols) *
                                                 static_cast<std::size_t>(plot.MapRows));
        return outcome;
    }
};

class ThreadedScanCaseTest : public ThreadedScanTest,
                             public ::testing::WithParamInterface<ScanCase> {};

TEST_P(ThreadedScanCaseTest, LeavesWhatTheOneThreadScanLeaves) {
    const ScanOutcome oneThread = Scan(GetParam(), 1);
    ASSERT_EQ(oneThread.statuses.empty(), false);
    for (const unsigned threads : {2u, 3u, 8u}) {
        SCOPED_TRACE(threads);
        ExpectSame(Scan(GetParam(), threads), oneThread);
    }
}

// The flags read once a row leave what reading them at every sample leaves: the samples, the
// range, the texts, and the error of the first failing sample.
TEST_P(ThreadedScanCaseTest, LeavesWhatCheckingEverySampleLeaves) {
    const int function = GetParam().function;
    ASSERT_TRUE(core::UncheckedValueOf(core::PlottedFunc(function)));
    ASSERT_FALSE(core::UncheckedValueOf(core::TPlottedFunc{CheckedTwins[function], true, nullptr}));
    for (const unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(threads);
        ExpectSame(Scan(GetParam(), threads), Scan(GetParam(), threads, true));
    }
}

INSTANTIATE_TEST_SUITE_P(Regions, ThreadedScanCaseTest, ::testing::ValuesIn(ScanCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ThreadedScanTest, TheOverflowCasesFailWhereTheyShould) {
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

// --- A typed function defined in part of the region ---

struct PartlyDefinedCase {
    const char* name;
    const char* formula;
    GraphFieldTexts fields;
    bool partly;  // some sample is undefined
};

void PrintTo(const PartlyDefinedCase& c, std::ostream* out) {
    *out << c.name;
}

const PartlyDefinedCase PartlyDefinedCases[] = {
    {"LogOfY", "x^2+ln(y)", GraphFieldTexts{}, true},  // ln(0) and ln(y < 0)
    {"RootOverTheDisc", "sqrt(1-x*x-y*y)", GraphFieldTexts{}, true},
    {"PoleAtTheOrigin", "1/(x*x+y*y)", GraphFieldTexts{}, true},
    {"OverflowFarOut", "exp(x*y)", Region("-200", "200", "-200", "200"), true},
    {"DefinedEverywhere", "x*x+y*y", GraphFieldTexts{}, false},
};

class PartlyDefinedScanTest : public testsupport::RenderStateTest,
                              public ::testing::WithParamInterface<PartlyDefinedCase> {};

TEST_P(PartlyDefinedScanTest, TakesTheRangeOfTheDefinedSamplesAndCountsTheOthers) {
    const PartlyDefinedCase& c = GetParam();
    plot.CurrentFunc = core::PlottedFunc(core::CompileFormula(c.formula));
    for (const unsigned threads : {1u, 3u}) {
        FreshPlot();
        statuses.clear();
        plot.MapCols = 59;
        plot.MapRows = 45;
        ScanValueRange(plot, samples, progress, c.fields, threads);
        // The scan's strict comparisons over the samples that can be evaluated.
        const long double* kept = KeptSamples(plot, samples);
        ASSERT_NE(kept, nullptr);
        long double lo = 1e9L, hi = -1e9L;
        std::int32_t minCol = 0, minRow = 0;
        for (std::int32_t row = 1; row <= plot.MapRows; ++row) {
            for (std::int32_t col = 1; col <= plot.MapCols; ++col) {
                const long double sample = *kept++;
                if (testsupport::UndefinedAt(plot, col, row)) {
                    ASSERT_TRUE(IsUndefined(sample)) << col << "," << row;
                    continue;
                }
                const long double z = ValueAtPixel(plot, col, row);
                ASSERT_TRUE(SameBits(sample, z)) << col << "," << row;
                hi = z > hi ? z : hi;
                if (z < lo) {
                    lo = z;
                    minCol = col;
                    minRow = row;
                }
            }
        }
        const std::int64_t undefined = testsupport::CountUndefined(plot);
        EXPECT_EQ(undefined > 0, c.partly);
        EXPECT_EQ(plot.UndefinedCount, undefined);
        EXPECT_TRUE(SameBits(plot.ZMin, lo));
        EXPECT_TRUE(SameBits(plot.ZMax, hi));
        EXPECT_EQ(plot.MinCol, minCol);
        EXPECT_EQ(plot.MinRow, minRow);
        EXPECT_TRUE(plot.ZRangeValid);
        EXPECT_EQ(statuses.size(), 45u);
        EXPECT_EQ(statuses.back(), ScanPrefix + "100%");
    }
}

INSTANTIATE_TEST_SUITE_P(Formulas, PartlyDefinedScanTest, ::testing::ValuesIn(PartlyDefinedCases),
                         [](const auto& row) { return std::string(row.param.name); });

// With no sample defined the scan fails as at its first sample, as it always did.
TEST_F(ValueScanTest, NoDefinedSampleFailsWithTheFirstSamplesError) {
    const std::pair<const char*, const char*> cases[] = {
        {"ln(-1-x*x-y*y)", "Invalid floating point operation"},
        {"1/(x*x-x*x+y*y-y*y)", "Floating point division by zero"},
        {"exp(12000+x)", "Floating point overflow"},
    };
    for (const auto& [formula, error] : cases) {
        SCOPED_TRACE(formula);
        plot.CurrentFunc = core::PlottedFunc(core::CompileFormula(formula));
        FreshPlot();
        statuses.clear();
        UseDesignSize();
        testsupport::ExpectError(
            [&] { ScanValueRange(plot, samples, progress, GraphFieldTexts{}, 2); }, error);
        EXPECT_EQ(statuses.back(), ScanPrefix + "0%");
        EXPECT_FALSE(plot.ZRangeValid);
        EXPECT_EQ(plot.ZMin, 1e9L);
        EXPECT_EQ(plot.ZMax, -1e9L);
        EXPECT_EQ(KeptSamples(plot, samples), nullptr);
    }
}

// The items 0..2 stop at their first failing sample; their texts typed leave the samples out.
TEST_F(ValueScanTest, ItemsStopAtTheirFirstFaultWhereTheirTextsLeaveItOut) {
    for (int item = 0; item < core::FunctionCount; ++item) {
        SCOPED_TRACE(item);
        const GraphFieldTexts region = Region("0", "2e2466", "0", "2e2466");
        plot.CurrentFunc = core::PlottedFunc(item);
        FreshPlot();
        UseDesignSize();
        EXPECT_THROW(ScanValueRange(plot, samples, progress, region), runtime::EOverflow);
        EXPECT_FALSE(plot.ZRangeValid);

        const std::string text = std::string(core::FunctionCaptions[item]).substr(1);
        plot.CurrentFunc = core::PlottedFunc(core::CompileFormula(text));
        ScanValueRange(plot, samples, progress, region);
        EXPECT_TRUE(plot.ZRangeValid);
        EXPECT_GT(plot.UndefinedCount, 0);
        EXPECT_EQ(plot.UndefinedCount, testsupport::CountUndefined(plot));
    }
}

}  // namespace
}  // namespace metopt::render
