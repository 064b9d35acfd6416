#pragma once
// The mapping between the visible region and the drawing area, the value scan and its range, the
// graphics parameters and the mouse readout.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/region.h"
#include "platform/canvas.h"

namespace metopt::render {

// The region of the last scan; all conversions and samplers use it.
extern core::TRegion VisibleRegion;
extern long double ZMin;
extern long double ZMax;
extern bool ZRangeValid;
extern std::int32_t MinCol;
extern std::int32_t MinRow;
// Drawing area width - 2 and height - 2: the sampled columns 1..MapCols and rows 1..MapRows.
extern std::int32_t MapCols;
extern std::int32_t MapRows;

struct TGraphParams {
    long double Xb = 0, Yb = 0, Xe = 0, Ye = 0;
    long double Xc = 0, Yc = 0, Xs = 0, Ys = 0;
    std::int32_t SgXs = 0, SgYs = 0;
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};
extern TGraphParams GraphParams;

// The texts of the fields of the group "Графическая область".
struct GraphFieldTexts {
    std::string Xb = "-1.3", Xe = "1.3", Yb = "-1.3", Ye = "1.3";
    std::string Xc = "0.0", Yc = "0.0", Xs = "0.2", Ys = "0.2";
    std::string SgXs = "2", SgYs = "2";
};

// Everything of this module back to its start value, the kept samples released (tests).
void ResetViewport();

// Pixel conversions through VisibleRegion; W and H are the drawing area's width and height.
std::int32_t XToColumn(long double x, int W);
std::int32_t YToRow(long double y, int H);
// CurrentFunc at the world point sampled by pixel (col, row).
long double ValueAtPixel(std::int32_t col, std::int32_t row);
// The world x / y sampled by a column / row (also outside 1..MapCols / 1..MapRows).
long double ColumnToX(std::int32_t col);
long double RowToY(std::int32_t row);

// CurrentFunc over the sampled pixels, row by row, for the VisibleRegion, MapCols and MapRows of
// the moment it is made: the same x and y as ValueAtPixel, bit for bit, with each column's x
// computed once. A conversion that fails (a zero divisor, an overflow) raises its floating-point
// error at the first pixel that needs it, as ValueAtPixel would there. Once made, RowAt and ValueIn
// only read it, so several threads may sample through one sampler.
class PixelSampler {
  public:
    // The y of one row, with the faults its conversion raised.
    struct Row {
        std::int32_t row = 0;
        long double y = 0;
        int faults = 0;
    };

    PixelSampler();
    Row RowAt(std::int32_t row) const;
    // The value at (col, row.row).
    long double ValueIn(const Row& row, std::int32_t col) const;

    void BeginRow(std::int32_t row);
    // The value at (col, row) of the row begun last.
    long double Value(std::int32_t col) const;

  private:
    std::vector<long double> columnX_;
    std::vector<int> columnFaults_;
    bool anyColumnFault_ = false;
    Row row_;
};

// --- Kept samples and work on every core ---

// The threads the scan, the fill and the threshold lines use: the machine's cores, at least 1.
unsigned SamplingThreads();

// Whether CurrentFunc is one of the program's own functions. They are pure (the value depends on
// x and y alone, and they touch no shared state), so their values may be kept and reused, and
// computed on several threads at once. Any other function is evaluated on the calling thread, in
// scan order, every time a sampler asks for it.
bool CurrentFuncIsPure();

// The samples of the last scan, row by row: the value at (col, row) is at
// (row - 1) * MapCols + (col - 1). Given only while they still belong to the present state:
// ZRangeValid, and kept for the same CurrentFunc, the same VisibleRegion (bit for bit) and the
// same MapCols x MapRows. Otherwise nullptr, and the samplers evaluate the function as usual.
const long double* KeptSamples();
// Drops the kept samples and their memory.
void ReleaseKeptSamples();

// The values of the sampled pixels for a pass over the picture: the kept samples of the last scan
// while they are current, otherwise CurrentFunc evaluated through a PixelSampler. Made on the
// calling thread; RowAt and At only read it, so several threads may read through one.
class PixelValues {
  public:
    struct Row {
        const long double* kept = nullptr;  // the row's kept samples, if any
        PixelSampler::Row sampled;
    };

    PixelValues();
    // `wanted`, or 1 when the values must be evaluated on the calling thread, in scan order.
    unsigned Threads(unsigned wanted) const;
    Row RowAt(std::int32_t row) const;
    // The value at (col, row.sampled.row).
    long double At(const Row& row, std::int32_t col) const {
        return row.kept ? row.kept[col - 1] : sampler_.ValueIn(row.sampled, col);
    }

  private:
    const long double* kept_;
    PixelSampler sampler_;
};

// Rows 1..rows visited in order on the calling thread while their work is done on `threads`
// worker threads (1: everything on the calling thread, each row's work right after its
// beforeRow). For each row in order, on the calling thread: beforeRow(row), which returns false to
// stop before that row; then, once the row's work is done, afterRow(row, failed), where failed
// says that the work raised. The work of a row that raised is raised again after its afterRow,
// with no later row visited. Workers run with the calling thread's floating-point environment and
// must touch nothing but their own rows' results.
struct RowPass {
    std::function<bool(std::int32_t row)> beforeRow;
    std::function<void(std::int32_t row)> work;
    std::function<void(std::int32_t row, bool failed)> afterRow;
};
// Returns the row before which beforeRow stopped, or 0 when every row was visited.
std::int32_t RunRowPass(std::int32_t rows, unsigned threads, const RowPass& pass);

// Pixel writes into a canvas from several threads at once: each thread writes its own rows. Made
// on the calling thread, which makes the canvas's picture its own first. Writes outside the
// canvas are ignored, as Canvas::SetPixel ignores them.
class PixelRows {
  public:
    explicit PixelRows(platform::Canvas& canvas);
    void Set(int x, int y, std::int32_t color) const;

  private:
    unsigned char* bits_ = nullptr;
    std::ptrdiff_t bytesPerLine_ = 0;
    int width_ = 0;
    int height_ = 0;
};

// Reads VisibleRegion from the fields, samples every pixel, sets ZMin, ZMax, MinCol, MinRow and
// ZRangeValid, with the status texts "Расчет значений функции: P%", and keeps the samples of one
// of the program's own functions (see KeptSamples). The samples are evaluated on `threads` threads
// (SamplingThreads() by default); the range, the smallest sample, the status texts and, should an
// evaluation fail, the error and the state it leaves are those of the one-thread scan.
void ScanValueRange(const GraphFieldTexts& fields);
void ScanValueRange(const GraphFieldTexts& fields, unsigned threads);

// Fills GraphParams; the area is at (left, top) with size W x H. Raises EConvertError for a count
// field that is not an integer (the reals read before it keep their new values).
void ReadGraphParams(const GraphFieldTexts& fields, int left, int top, int W, int H);
// The same, but a count field that is not an integer keeps the last good counts and raises
// nothing (the refresh every repaint performs).
void RefreshGraphParams(const GraphFieldTexts& fields, int left, int top, int W, int H);

// The mouse readout texts for the pointer at (X, Y) over an area of W x H. Never raises: a
// coordinate that cannot be computed shows as INF or NAN, and a value that cannot be computed
// shows the error's message after "z=".
struct MouseReadout {
    std::string x;  // "x=..."
    std::string y;  // "y=..."
    std::string z;  // "z=..." or "Out of range"
};
MouseReadout MouseReadoutAt(int X, int Y, int W, int H);

// The percentage text of row `row` of `rows` ("0", "33", "100").
std::string RowPercent(std::int32_t row, std::int32_t rows);

}  // namespace metopt::render
