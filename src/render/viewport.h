#pragma once
// The mapping between the visible region and the drawing area, the value scan and its range, the
// graphics parameters and the mouse readout.
#include <cstdint>
#include <string>
#include <vector>

#include "core/region.h"

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

// Everything of this module back to its start value (tests).
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
// error at the first pixel that needs it, as ValueAtPixel would there.
class PixelSampler {
  public:
    PixelSampler();
    void BeginRow(std::int32_t row);
    // The value at (col, row) of the row begun last.
    long double Value(std::int32_t col) const;

  private:
    std::vector<long double> columnX_;
    std::vector<int> columnFaults_;
    bool anyColumnFault_ = false;
    std::int32_t row_ = 0;
    long double rowY_ = 0;
    int rowFaults_ = 0;
};

// Reads VisibleRegion from the fields, samples every pixel, sets ZMin, ZMax, MinCol, MinRow and
// ZRangeValid, with the status texts "Расчет значений функции: P%".
void ScanValueRange(const GraphFieldTexts& fields);

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
